#pragma once
// gateway-cli as the tests run it: a process of its own, its exit status,
// stdout and stderr.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace support {

struct CliRun {
    int status = -1; // the exit status; -1 when it did not end normally
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// Runs GATEWAY_CLI_PATH with `args` and waits for it to end; in `workingDir`
// and `env`, when given.
inline CliRun runCli(const QStringList &args, int timeoutMs = 120000, const QString &workingDir = QString(),
                     const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
#ifdef GATEWAY_CLI_PATH
    p.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
#endif
    p.setArguments(args);
    p.start();
    CliRun run;
    if (!p.waitForStarted(10000) || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        run.err = "gateway-cli did not run to its end: " + p.errorString().toUtf8();
        return run;
    }
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    if (p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    return run;
}

} // namespace support
