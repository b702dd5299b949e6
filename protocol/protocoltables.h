// The module's configuration protocol as data.
//
// Everything the configurator and the simulated module need to know about the
// command lines and the replies lives in the tables of this header: the query
// keywords with the length of the value in their replies, the
// change prefixes, the choice words and the step tables of the scan and write
// sequences. The sequences, the reply handler and the simulator all read these
// tables, so a keyword is spelled in exactly one place.
#pragma once

#include <cstddef>

namespace proto {

// The module parameters as the form shows them.
enum class Param {
    Mode,            // TCP operating mode: server or client
    Version,         // firmware version (read only)
    Mac,             // MAC address (read only)
    Ip,
    Mask,
    Gateway,
    PortTcp,
    Parity,
    Speed,           // RS-485 bit rate
    StopBits,
    TimeoutResponse, // response time-out, ms
    IpServerTcp,
    TimeoutTcp,      // TCP time-out, s
    RtuVirtualId,    // address in the RTU network
    TcpSlaveId,      // TCP server address or "off"
};
constexpr int ParamCount = 15;

// How a parameter's value is written and read.
enum class Kind {
    Text,    // free text of a line edit
    Choice,  // a word chosen by the index of a combo box
    SlaveId, // text, or the word "off" while the "off" box is ticked
};

// One word of a choice list: the combo box index and the word on the wire.
struct ChoiceWord {
    int index;
    const char *word;
};

struct ChoiceList {
    const ChoiceWord *words;
    std::size_t count;
};

// The combo box index of a word, or -1 when no word of the list is exactly
// these `len` bytes.
int choiceIndex(ChoiceList list, const char *word, std::size_t len);
// The word at a combo box index, or nullptr.
const char *choiceWordAt(ChoiceList list, int index);

// Reply words of the module (what a query answers with).
ChoiceList replyChoices(Param p);
// Words sent by the universal write sequence.
ChoiceList universalWriteChoices(Param p);
// Words sent by the per-variant write sequences (parity as a digit).
ChoiceList variantWriteChoices(Param p);

// A query: "MAC", "ip", ... The reply is the query's text, one separator
// and the value, which is at most `length` characters long.
struct Query {
    Param param;
    const char *command;
    int length;
};
// Where the value of a query's reply starts: after the echoed text and its
// separator.
int valuePosition(const Query &query);

// Rejection text of a failed write acknowledgement.
enum class FailText { A, B };

// A change: prefix + value. Steps of the universal write whose
// acknowledgement is strict end the write on any reply other than "ok";
// the others end it only on "?" and ignore other words.
struct Change {
    Param param;
    const char *prefix;
    FailText failText;
    bool strictAck;
};

// All fifteen queries, in the order of the universal scan (step n = row n-1).
extern const Query queries[ParamCount];
// All thirteen changes, in the order of the universal write (step 2n+1 = row n).
constexpr int ChangeCount = 13;
extern const Change changes[ChangeCount];

const Query *queryFor(Param p);
const Change *changeFor(Param p);
// Looks a received line up: exact query text, or change prefix at the start.
const Query *findQuery(const char *line, std::size_t len);
const Change *findChange(const char *line, std::size_t len);

// Action commands.
constexpr const char RebootUniversal[] = "reset";   // end of the universal write
constexpr const char Reboot[] = "RESET";            // reboot button, per-variant writes
constexpr const char FactoryReset[] = "LOAD SETTING:DEFAULT";

// Acknowledgements.
constexpr const char AckOk[] = "ok";
constexpr const char AckRefused[] = "?";
// The TCP server address switched off.
constexpr const char SlaveIdOff[] = "off";

// ---- The sequences -------------------------------------------------------

// Universal scan: one query per step 1..15, step 16 ends the scan.
constexpr int ScanAllSteps = 15;
constexpr int ScanAllEndStep = 16;
// The step at which a silent module is detected (nothing sent before it).
constexpr int ScanCheckStep = 2;
// Query of a universal scan step, or nullptr.
const Query *scanAllQuery(int step);

// Universal write: change n at step 2n+1 (1..25), wait at the even steps,
// the connection check at step 4, "reset" at step 27.
constexpr int WriteAllEndStep = 27;
constexpr int WriteCheckStep = 4;
// Change sent at a universal write step (odd steps only), or nullptr.
const Change *writeAllChange(int step);
// Change acknowledged under a universal write step (odd step and the wait
// step after it), or nullptr.
const Change *writeAllAcknowledged(int step);

// The two module kinds that have shorter sequences of their own.
enum class Variant { RtuTcp, TcpRtu };

// Per-variant scan: the queries in step order; the step after the last one
// ends the scan.
struct ParamList {
    const Param *params;
    int count;
};
ParamList variantScan(Variant v);
// Per-variant write: change n at step 2n+1, check at step 4, "RESET" at the
// step after the last change's wait step.
ParamList variantWrite(Variant v);

} // namespace proto
