// Fuzz target: loading a settings file. The input is written as a file and
// loaded with setting_module::LoadNTSetting (QSettings, INI format); whatever
// was loaded must then be saved and load back unchanged.

#include "fuzzcheck.h"
#include "setting_module.h"

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace {

struct Values {
    QString ip, mask, gateway, port, timeoutResponse, serverIp, timeoutTcp, rtuId, slaveId;
    int speed, stopBits, parity, mode;

    explicit Values(const setting_module &s)
        : ip(s.ipAddress), mask(s.netMask), gateway(s.gateway), port(s.tcpPort),
          timeoutResponse(s.responseTimeout), serverIp(s.serverIp), timeoutTcp(s.tcpTimeout),
          rtuId(s.rtuVirtualId), slaveId(s.tcpSlaveId), speed(s.rs485Speed), stopBits(s.stopBits),
          parity(s.parity), mode(s.tcpMode)
    {
    }
    bool operator==(const Values &o) const
    {
        return ip == o.ip && mask == o.mask && gateway == o.gateway && port == o.port
            && timeoutResponse == o.timeoutResponse && serverIp == o.serverIp && timeoutTcp == o.timeoutTcp
            && rtuId == o.rtuId && slaveId == o.slaveId && speed == o.speed && stopBits == o.stopBits
            && parity == o.parity && mode == o.mode;
    }
};

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid(), "a temporary directory can be made");
    return dir;
}

// QSettings keeps parsed files by name and does not parse a file again
// whose size and time look unchanged, so every input gets names of its own.
QString freshName(const char *what)
{
    static int counter = 0;
    return workDir().filePath(QStringLiteral("%1-%2.TRset").arg(QLatin1String(what)).arg(++counter));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = freshName("input");
    {
        QFile f(input);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly), "the input file can be written");
        FUZZ_CHECK(f.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
                   "the input file is written whole");
    }

    setting_module loaded;
    loaded.LoadNTSetting(input);
    FUZZ_CHECK(loaded.store != nullptr, "a load opens a store");
    FUZZ_CHECK(loaded.store->fileName() == input, "the store is the loaded file");
    FUZZ_CHECK(QFile(input).size() == qint64(size), "a load leaves the file as it is");
    const Values first(loaded);

    // What was loaded, saved to a new file, loads back the same.
    const QString saved = freshName("saved");
    loaded.SaveNTSetting(saved);
    FUZZ_CHECK(loaded.store != nullptr && loaded.store->status() == QSettings::NoError, "a save to a new file works");
    setting_module again;
    again.LoadNTSetting(saved);
    FUZZ_CHECK(Values(again) == first, "saved settings load back unchanged");
    FUZZ_CHECK(settingsfile::check(saved) == settingsfile::Check::Ok, "a saved file passes the file check");

    delete loaded.store;
    loaded.store = nullptr;
    delete again.store;
    again.store = nullptr;
    QFile::remove(input);
    QFile::remove(saved);
    return 0;
}
