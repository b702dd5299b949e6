#pragma once
// What the tests expect of the window and the module, written out here once
// and independently of the program's own constants (a test that compared a
// caption with the program's constant could not catch a typo in it): the
// captions, the boxes, the styles, the field names, the protocol lines and
// the parameter values.
#include <QByteArrayList>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace support {

// ---- captions of the state buttons ----
inline const QString captionDisconnected = QStringLiteral("Cоединиться"); // Latin C
inline const QString captionConnected = QStringLiteral("Отсоединиться");
inline const QString captionScan = QStringLiteral("Сканировать");
inline const QString captionStopScan = QStringLiteral("Стоп сканирования");
inline const QString captionWrite = QStringLiteral("Запись параметры");
inline const QString captionStopWrite = QStringLiteral("Остановить запись");

// ---- status bar ----
inline const QString statusConnected = QStringLiteral("Connected");
inline const QString statusDisconnected = QStringLiteral("Disconnected");

// ---- message boxes: titles and texts ----
// The silent module's title; the text of the lost device, the failed open
// and the empty reply.
inline const QString boxConnectionError = QStringLiteral("Ошибка соединения");
inline const QString boxNoModule = QStringLiteral("нет соединения с модулем Modbus universal");
inline const QString boxLost = QStringLiteral("Critical Error");
inline const QString boxEmptyReply = QStringLiteral("нет соединения с модуля");
inline const QString boxWriteResult = QStringLiteral("Результы изменения");
inline const QString boxWriteDone =
    QStringLiteral("<FONT COLOR='#008000'>Изменение параметров Modbus universal было успешно</FONT>");
inline const QString boxError = QStringLiteral("Ошибка");
// The two texts of a failed change: with and without the leading blank.
inline const QString boxWriteFailA = QStringLiteral("<FONT COLOR='#800000'> Ошибка записи </FONT>");
inline const QString boxWriteFailB = QStringLiteral("<FONT COLOR='#800000'>Ошибка записи </FONT>");
inline const QString boxFactoryReset = QStringLiteral("Сброс");
inline const QString boxAccessDenied = QStringLiteral("Отказано в доступе");
inline const QString answerYes = QStringLiteral("Да");
inline const QString answerNo = QStringLiteral("Нет");

// ---- the settings menu ----
inline const QString dialogSettings = QStringLiteral("Настройки");
inline const QString settingsFilter = QStringLiteral("TCP_RTU settings (*.TRset);");
inline const QString boxNoFile = QStringLiteral("Файл конфигурации не выбран");
inline const QString actionCurrentFile = QStringLiteral("Текущий файл");

// ---- highlight styles of the fields ----
inline const QString styleOk = QStringLiteral("background-color:  #90ee90;");
inline const QString styleError = QStringLiteral("background-color: #FF2400");
inline const QString styleInactive = QStringLiteral("background-color:  #f5edff;");
// The same lavender as the settings-file load writes it (one blank).
inline const QString styleInactiveFile = QStringLiteral("background-color: #f5edff;");

// ---- the module's words ----
inline const QByteArray ackOk = "ok";
inline const QByteArray ackRefused = "?";
inline const QString moduleVersion = QStringLiteral("2.0.1");
inline const QString moduleMac = QStringLiteral("02:00:00:00:00:01");

// ---- field names ----
// The parameter fields in the order the highlights are cleared.
inline const QStringList paramFields = {"lineEdit_ip",      "lineEdit_ipservertcp", "comboBox",
                                        "comboBox_2",       "comboBox_speed",       "lineEdit_mask",
                                        "lineEdit_portTCP", "lineEdit_timeout",     "lineEdit_MAC",
                                        "lineEdit_gateway", "comboBox_mode",        "lineEdit_rtu_virtual_id",
                                        "lineEdit_tcp_id",  "lineEdit_timewait"};
// The fields that each step of the scan fills, in step order.
inline constexpr const char *scanFields[] = {
    "comboBox_mode",    "lineEdit_version",  "lineEdit_MAC",         "lineEdit_ip",
    "lineEdit_mask",    "lineEdit_gateway",  "lineEdit_portTCP",     "comboBox",
    "comboBox_speed",   "comboBox_2",        "lineEdit_timewait",    "lineEdit_ipservertcp",
    "lineEdit_timeout", "lineEdit_rtu_virtual_id", "lineEdit_tcp_id"};
// The line edits of values that the user types (the slave id aside).
inline constexpr const char *valueEdits[] = {"lineEdit_ip",       "lineEdit_mask",    "lineEdit_gateway",
                                             "lineEdit_portTCP",  "lineEdit_timewait", "lineEdit_ipservertcp",
                                             "lineEdit_timeout",  "lineEdit_rtu_virtual_id"};
inline constexpr const char *choiceLists[] = {"comboBox_mode", "comboBox", "comboBox_speed", "comboBox_2"};
// The buttons that need a connection.
inline constexpr const char *connectionButtons[] = {"scan_parameters", "applyButton", "Reset",
                                                    "reset_allparameters"};
inline constexpr const char *sequenceTimers[] = {"scanAllTimer", "writeAllTimer", "scanTimer", "writeTimer"};

// ---- the protocol lines ----
// The queries of a scan, in order.
inline const QByteArrayList &scanLines()
{
    static const QByteArrayList lines = {"MODE TCP",    "version",          "MAC",           "ip",
                                         "MASK",        "GATEWAY",          "PORT TCP",      "parity",
                                         "SPEED RS485", "STOP BIT",         "timeout response",
                                         "IP SERVER TCP", "TIMEOUT TCP",    "rtu virtual id",
                                         "tcp slave id"};
    return lines;
}

// The change lines that a write of the filled form (fillForm) sends,
// "reset" last.
inline const QByteArrayList &filledWriteLines()
{
    static const QByteArrayList lines = {
        "CHANGE MODE TCP:CLIENT",        "CHANGE IP:10.0.0.2",      "CHANGE MASK:255.0.0.0",
        "CHANGE GATEWAY:10.0.0.1",       "CHANGE PORT TCP:10502",   "CHANGE PARITY:odd",
        "CHANGE SPEED RS485:115200",     "CHANGE STOP BIT:2",       "change timeout response:2500",
        "CHANGE IP SERVER TCP:10.0.0.9", "CHANGE TIMEOUT TCP:120",  "change rtu virtual id:17",
        "change tcp slave id:5",         "reset"};
    return lines;
}

// ---- the ticks that send them ----
// "tick: line" for each line and the tick of its sequence's timer that
// sends it (counted from 1, the first tick after the start).
inline QStringList atTicks(const QList<int> &ticks, const QByteArrayList &lines)
{
    QStringList out;
    for (int i = 0; i < lines.size(); ++i)
        out << QStringLiteral("%1: %2").arg(ticks.value(i)).arg(QString::fromLatin1(lines[i]));
    return out;
}
// A scan sends its fifteen queries at its first fifteen ticks (the
// sixteenth ends it).
inline QList<int> scanTicks()
{
    QList<int> ticks;
    for (int t = 1; t <= 15; ++t)
        ticks << t;
    return ticks;
}
// A write sends its thirteen changes on the odd ticks (each waits a tick
// for its acknowledgement) and "reset" at the 27th.
inline QList<int> writeTicks()
{
    QList<int> ticks;
    for (int t = 1; t <= 25; t += 2)
        ticks << t;
    return ticks << 27;
}

// ---- the parameters ----
// One parameter of the form as the scan fills it and the write sends it:
// the value written by the tests and the module's factory value, both in
// the module's reply form.
struct Param {
    const char *field;
    const char *stateKey; // in the simulated module's state file
    bool choice;
    QString written;
    QString factory;
    int writtenIndex; // choice lists: the form's index of `written`
    int factoryIndex;
};

// In the order of the write sequence (the mode first).
inline const QList<Param> &params()
{
    static const QList<Param> list = {
        {"comboBox_mode", "mode", true, "client", "server", 2, 1},
        {"lineEdit_ip", "ip", false, "10.0.0.2", "192.168.0.1", -1, -1},
        {"lineEdit_mask", "mask", false, "255.0.0.0", "255.255.255.0", -1, -1},
        {"lineEdit_gateway", "gateway", false, "10.0.0.1", "0.0.0.0", -1, -1},
        {"lineEdit_portTCP", "port_tcp", false, "10502", "502", -1, -1},
        {"comboBox", "parity", true, "odd", "none", 2, 1},
        {"comboBox_speed", "speed", true, "115200", "9600", 8, 4},
        {"comboBox_2", "stop_bits", true, "2", "1", 2, 1},
        {"lineEdit_timewait", "timeout_response", false, "2500", "1000", -1, -1},
        {"lineEdit_ipservertcp", "ip_server_tcp", false, "10.0.0.9", "192.168.0.10", -1, -1},
        {"lineEdit_timeout", "timeout_tcp", false, "120", "180", -1, -1},
        {"lineEdit_rtu_virtual_id", "rtu_virtual_id", false, "17", "1", -1, -1},
        {"lineEdit_tcp_id", "tcp_slave_id", false, "5", "off", -1, -1},
    };
    return list;
}

// For each parameter of params(): whether it holds the written value, the
// first `n` of them yes.
inline QVector<bool> firstWritten(int n)
{
    QVector<bool> v(params().size(), false);
    for (int i = 0; i < n && i < v.size(); ++i)
        v[i] = true;
    return v;
}

// The module's factory values as its queries reply them, in scan order:
// the mode, the version and the MAC, then the parameters of params() from
// the IP on.
inline const QList<QPair<QByteArray, QString>> &factoryReplies()
{
    static const QList<QPair<QByteArray, QString>> list = [] {
        const QByteArrayList &queries = scanLines();
        QList<QPair<QByteArray, QString>> out{
            {queries[0], params()[0].factory}, {queries[1], moduleVersion}, {queries[2], moduleMac}};
        for (int i = 1; i < params().size(); ++i)
            out.append({queries[i + 2], params()[i].factory});
        return out;
    }();
    return list;
}
// The factory value of the query `command`; a query not in scanLines() is
// reported.
inline QString factoryValue(const QByteArray &command)
{
    for (const auto &r : factoryReplies())
        if (r.first == command)
            return r.second;
    qWarning("no query %s", command.constData());
    return QStringLiteral("(no query)");
}

} // namespace support
