// gateway-cli ports and find: the ports of this computer, and which have a module.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QSerialPortInfo>

#include "console.h"
#include "discovery.h"
#include "exitcode.h"
#include "messages.h"
#include "options.h"
#include "portnames.h"
#include "serialcommands.h"
#include "words.h"

namespace cli {

namespace {

int ports(const Options &o)
{
    // Plan: the stable names of the USB adapters, by the device they stand for.
    QHash<QString, QString> byId;
#ifdef Q_OS_LINUX
    const QDir dir(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(link.canonicalFilePath(), link.absoluteFilePath());
#endif
    // Run: the system's list, each port with what is known of it.
    QJsonArray list;
    QString text;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString name = portArgument(info);
        QJsonObject port{{key::port(), name}, {key::location(), info.systemLocation()}};
        QStringList fields{name};
        const auto add = [&](const QString &key, const QString &value) {
            if (value.isEmpty())
                return;
            port.insert(key, value);
            fields << value;
        };
        add(key::description(), info.description());
        add(key::manufacturer(), info.manufacturer());
        add(key::serialNumber(), info.serialNumber());
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            add(key::usb(), QStringLiteral("%1:%2")
                                .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                .arg(info.productIdentifier(), 4, 16, QLatin1Char('0')));
        add(key::byId(), byId.value(QFileInfo(info.systemLocation()).canonicalFilePath()));
        list << port;
        text += fields.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    // Render.
    if (o.common.json)
        printJson({{key::ports(), list}});
    else if (list.isEmpty())
        message(tr("the system lists no serial ports"));
    else
        console::out(text);
    return Done;
}

int find(const Options &o)
{
    // Parse and plan: the ports given, each once, or every listed one.
    const QStringList ports = o.positional.isEmpty() ? listedPorts() : o.positional;
    QStringList faults;
    if (!o.positional.isEmpty())
        checkPorts(ports, o.command.name, &faults);
    if (!faults.isEmpty())
        return refuse(faults);
    // Run.
    const QList<Found> all = discover(ports, o.common);
    // Render.
    int found = 0;
    QJsonArray list;
    for (const Found &f : all) {
        const bool ok = f.outcome == Commissioning::Outcome::Ok;
        QJsonObject entry = resultJson(f.port, f.outcome, f.detail);
        entry.insert(key::found(), ok);
        if (ok) {
            ++found;
            entry.insert(key::mac(), f.mac);
            entry.insert(key::version(), f.version);
            if (!o.common.json)
                console::out(QStringLiteral("%1  %2  %3\n").arg(f.port, f.mac, f.version));
        }
        list << entry;
    }
    if (o.common.json)
        printJson({{key::ports(), list}, {key::found(), found}});
    else
        message(tr("%1 of %n ports have a module", nullptr, int(ports.size())).arg(found));
    if (interrupted(all))
        return Interrupted;
    return found > 0 ? Done : NoModule;
}

} // namespace

const Command portsCommand{
    "ports", "",
    "[--json]",
    0, 0, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "the serial ports of this computer"),
    QT_TRANSLATE_NOOP("cli",
                      "Lists the serial ports that the system reports, with their description,\n"
                      "manufacturer, serial number and USB vendor:product where known, and on\n"
                      "Linux the stable name under /dev/serial/by-id where there is one.\n"
                      "Pseudo-terminals and some device paths are not listed; any command takes\n"
                      "them all the same."),
    noOptions,
    nullptr,
    {},
    ports};

const Command findCommand{
    "find", "[PORT]...",
    "[PORT]... [--json]",
    0, -1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "which ports have a module (all listed ports by default)"),
    QT_TRANSLATE_NOOP("cli",
                      "Asks every listed port, or the ports given, all at once, whether a module\n"
                      "is there (its MAC address and firmware version, at 9600 baud 8N1), and\n"
                      "prints those that answer. With --json, the ports that cannot be opened or\n"
                      "stay silent are listed too, with why. Exit status 0 when a module was\n"
                      "found, 3 when none was."),
    noOptions,
    nullptr,
    {},
    find};

} // namespace cli
