// The module's parameters as data: one row per parameter holds everything
// about it. The window (fields, highlighting, the scan and write sequences,
// replies, settings files) and the simulated module read these rows; the
// orders in which the sequences, the files and the highlighting take them
// are in protocoltables.h.
#pragma once

#include <cstddef>

namespace proto {

// How a parameter's value is written and read.
enum class Kind {
    Text,    // free text of a line edit
    Choice,  // a word chosen by the index of a combo box
    SlaveId, // text, or the word "off" while the "off" box is ticked
};

// How the universal write takes a reply to a change other than "ok".
enum class Ack {
    OkOnly,      // any other reply fails the write
    RefusalOnly, // only the refusal "?" fails it; other words are ignored
    None,        // read only: never changed
};

// The text of the box that reports a failed change: the words with a blank
// before them, or without one.
enum class FailText { LeadingBlank, NoLeadingBlank };

// What a value written to the module must be, as the form's labels state
// it: an IPv4 address, a whole number in a range (or one other number), or
// a word of the parameter's choices. Numbers are written plainly: digits,
// no sign, no blank, no leading zero.
enum class Format { Choice, Ipv4, Number };

struct ValueRule {
    Format format;
    long min = 0;
    long max = 0;
    long also = -1; // one number allowed outside the range, -1: none
};

namespace rules {
inline constexpr ValueRule choice{Format::Choice};
inline constexpr ValueRule ipv4{Format::Ipv4};
inline constexpr ValueRule tcpPort{Format::Number, 10000, 65535, 502};
inline constexpr ValueRule responseTimeout{Format::Number, 100, 60000};
inline constexpr ValueRule tcpTimeout{Format::Number, 5, 240};
inline constexpr ValueRule rtuId{Format::Number, 1, 247};
// The TCP server address may also be "off" (Kind::SlaveId).
inline constexpr ValueRule slaveId{Format::Number, 1, 255};
} // namespace rules

// One word of a choice list: the combo box index and the word on the wire.
struct ChoiceWord {
    int index;
    const char *word;
};

struct ChoiceList {
    const ChoiceWord *words = nullptr;
    std::size_t count = 0;
};

// The words of a choice parameter: what a query replies, what the
// universal write sends and what the per-variant writes send.
struct Choices {
    ChoiceList reply;
    ChoiceList write;
    ChoiceList variantWrite;
};

namespace words {
inline constexpr ChoiceWord modeReply[] = {{1, "server"}, {2, "client"}};
inline constexpr ChoiceWord modeWrite[] = {{1, "SERVER"}, {2, "CLIENT"}};
inline constexpr ChoiceWord parity[] = {{1, "none"}, {2, "odd"}, {3, "even"}};
inline constexpr ChoiceWord parityDigits[] = {{1, "0"}, {2, "1"}, {3, "2"}};
inline constexpr ChoiceWord speed[] = {{1, "1200"},  {2, "2400"},  {3, "4800"},   {4, "9600"},   {5, "19200"},
                                {6, "38400"}, {7, "57600"}, {8, "115200"}, {9, "128000"}, {10, "256000"}};
inline constexpr ChoiceWord stopBits[] = {{1, "1"}, {2, "2"}};

template <std::size_t N>
constexpr ChoiceList list(const ChoiceWord (&w)[N])
{
    return {w, N};
}

inline constexpr Choices modeChoices{list(modeReply), list(modeWrite), list(modeWrite)};
inline constexpr Choices parityChoices{list(parity), list(parity), list(parityDigits)};
inline constexpr Choices speedChoices{list(speed), list(speed), list(speed)};
inline constexpr Choices stopBitChoices{list(stopBits), list(stopBits), list(stopBits)};
} // namespace words

// The settings file's section of the TCP client's parameters; the others
// are in the general one.
inline constexpr char ClientSection[] = "Client_TCP";
// The TCP server address switched off.
inline constexpr char SlaveIdOff[] = "off";

// The rows. A parameter kept in settings files is a FILE row, which also
// names the member of `setting_module` that holds it; the two that only the
// module supplies are READ_ONLY rows, never changed and kept in no file. The
// Param enumeration is made from the rows, in their order.
//
//   name: the Param enumerator
//   member: the setting_module member (FILE rows)
//   field: object name of the form widget
//   kind: Kind
//   query, length: the query; its reply is the query's text, one separator
//       and the value, of which at most `length` characters are taken
//   change, ack, failText: the change prefix; how the universal write judges
//       its acknowledgement, and the text of a failure
//   choices: the words of a Choice parameter, nullptr otherwise
//   rule: what a value written to the module must be
//   section, key: where a settings file keeps it (section nullptr: general)
//   factory: the value after a factory reset, as a query replies it; a
//       settings file also gets it for an empty field or a list on its blank
//       entry
//   simName: the simulated module's name for it (state file, --refuse)
//   scanKeepsStyle: starting a scan empties the field but leaves its style
//
// clang-format off
#define GATEWAY_PARAMETERS(FILE, READ_ONLY)                                                                                                                                                                                                                                                                       \
    /*   name             member           field                      kind     query               length change prefix               ack          failText        choices                 rule                     section        key                 factory              simName             scanKeepsStyle */ \
    FILE(Mode,            tcpMode,         "comboBox_mode",           Choice,  "MODE TCP",         6,     "CHANGE MODE TCP:",         OkOnly,      LeadingBlank,   &words::modeChoices,    &rules::choice,          nullptr,       "MODE_TCP",         "server",            "mode",             false)            \
    READ_ONLY(Version,                     "lineEdit_version",                 "version",          10,                                                                                                                                                 "2.0.1",             "version")                            \
    READ_ONLY(Mac,                         "lineEdit_MAC",                     "MAC",              18,                                                                                                                                                 "02:00:00:00:00:01", "mac")                                \
    FILE(Ip,              ipAddress,       "lineEdit_ip",             Text,    "ip",               15,    "CHANGE IP:",               OkOnly,      LeadingBlank,   nullptr,                &rules::ipv4,            nullptr,       "IP_ADRESS",        "192.168.0.1",       "ip",               false)            \
    FILE(Mask,            netMask,         "lineEdit_mask",           Text,    "MASK",             16,    "CHANGE MASK:",             OkOnly,      LeadingBlank,   nullptr,                &rules::ipv4,            nullptr,       "MASK",             "255.255.255.0",     "mask",             false)            \
    FILE(Gateway,         gateway,         "lineEdit_gateway",        Text,    "GATEWAY",          15,    "CHANGE GATEWAY:",          OkOnly,      LeadingBlank,   nullptr,                &rules::ipv4,            nullptr,       "GATEWAY",          "0.0.0.0",           "gateway",          false)            \
    FILE(PortTcp,         tcpPort,         "lineEdit_portTCP",        Text,    "PORT TCP",         6,     "CHANGE PORT TCP:",         OkOnly,      NoLeadingBlank, nullptr,                &rules::tcpPort,         nullptr,       "PORT_TCP",         "502",               "port_tcp",         false)            \
    FILE(Parity,          parity,          "comboBox",                Choice,  "parity",           4,     "CHANGE PARITY:",           OkOnly,      LeadingBlank,   &words::parityChoices,  &rules::choice,          nullptr,       "PARITY",           "none",              "parity",           false)            \
    FILE(Speed,           rs485Speed,      "comboBox_speed",          Choice,  "SPEED RS485",      7,     "CHANGE SPEED RS485:",      OkOnly,      LeadingBlank,   &words::speedChoices,   &rules::choice,          nullptr,       "SPEED_RS485",      "9600",              "speed",            false)            \
    FILE(StopBits,        stopBits,        "comboBox_2",              Choice,  "STOP BIT",         3,     "CHANGE STOP BIT:",         OkOnly,      NoLeadingBlank, &words::stopBitChoices, &rules::choice,          nullptr,       "STOP_BIT",         "1",                 "stop_bits",        false)            \
    FILE(TimeoutResponse, responseTimeout, "lineEdit_timewait",       Text,    "timeout response", 5,     "change timeout response:", RefusalOnly, LeadingBlank,   nullptr,                &rules::responseTimeout, nullptr,       "TIMEOUT_RESPONSE", "1000",              "timeout_response", true)             \
    FILE(IpServerTcp,     serverIp,        "lineEdit_ipservertcp",    Text,    "IP SERVER TCP",    16,    "CHANGE IP SERVER TCP:",    RefusalOnly, LeadingBlank,   nullptr,                &rules::ipv4,            ClientSection, "IP_SERVER_TCP",    "192.168.0.10",      "ip_server_tcp",    false)            \
    FILE(TimeoutTcp,      tcpTimeout,      "lineEdit_timeout",        Text,    "TIMEOUT TCP",      5,     "CHANGE TIMEOUT TCP:",      RefusalOnly, LeadingBlank,   nullptr,                &rules::tcpTimeout,      ClientSection, "TIMEOUT_TCP",      "180",               "timeout_tcp",      false)            \
    FILE(RtuVirtualId,    rtuVirtualId,    "lineEdit_rtu_virtual_id", Text,    "rtu virtual id",   3,     "change rtu virtual id:",   RefusalOnly, LeadingBlank,   nullptr,                &rules::rtuId,           ClientSection, "RTU_VIRTUAL_ID",   "1",                 "rtu_virtual_id",   true)             \
    FILE(TcpSlaveId,      tcpSlaveId,      "lineEdit_tcp_id",         SlaveId, "tcp slave id",     3,     "change tcp slave id:",     RefusalOnly, LeadingBlank,   nullptr,                &rules::slaveId,         ClientSection, "TCP_SLAVE_ID",     SlaveIdOff,          "tcp_slave_id",     true)
// clang-format on

#define GATEWAY_PARAM_NAME(name, ...) name,
enum class Param { GATEWAY_PARAMETERS(GATEWAY_PARAM_NAME, GATEWAY_PARAM_NAME) };
#undef GATEWAY_PARAM_NAME

struct Parameter {
    Param param;
    const char *field;
    Kind kind;
    const char *query;
    int length;
    const char *change; // nullptr: read only
    Ack ack;
    FailText failText;
    const Choices *choices;
    const ValueRule *rule; // nullptr: read only
    const char *section;
    const char *key; // nullptr: not kept in settings files
    const char *factory;
    const char *simName;
    bool scanKeepsStyle;
};

#define GATEWAY_FILE_ROW(name, member, field, kind, query, length, change, ack, failText, choices, rule, section,   \
                         key, factory, simName, scanKeepsStyle)                                                      \
    Parameter{Param::name, field, Kind::kind, query, length, change, Ack::ack, FailText::failText, choices, rule,     \
              section, key, factory, simName, scanKeepsStyle},
#define GATEWAY_READ_ONLY_ROW(name, field, query, length, factory, simName)                                         \
    Parameter{Param::name, field, Kind::Text, query, length, nullptr, Ack::None, FailText::LeadingBlank, nullptr,      \
              nullptr, nullptr, nullptr, factory, simName, false},
inline constexpr Parameter parameters[] = {GATEWAY_PARAMETERS(GATEWAY_FILE_ROW, GATEWAY_READ_ONLY_ROW)};
#undef GATEWAY_FILE_ROW
#undef GATEWAY_READ_ONLY_ROW

constexpr int ParamCount = int(sizeof parameters / sizeof *parameters);

// The row of a parameter: the rows stand in the enumeration's order.
constexpr const Parameter &parameter(Param p)
{
    return parameters[int(p)];
}

constexpr bool rowsInParamOrder()
{
    for (int i = 0; i < ParamCount; ++i)
        if (int(parameters[i].param) != i)
            return false;
    return true;
}
static_assert(rowsInParamOrder(), "the rows stand in the order of the Param enumeration");

inline Kind kindOf(Param p) { return parameter(p).kind; }

} // namespace proto
