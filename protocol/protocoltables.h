// The module's configuration protocol as data: the orders in which the
// sequences, the settings files and the highlighting take the parameters
// (whose rows are in parameters.h), the step numbers of the sequences, the
// action commands and acknowledgements, and the lookups that the window's
// sequences and reply handler and the simulated module share. A keyword is
// spelled in exactly one place.
#pragma once

#include <cstddef>
#include <iterator>

#include "parameters.h"

namespace proto {

// Parameters in the order in which something takes them.
struct ParamList {
    const Param *params = nullptr;
    int count = 0;
    constexpr const Param *begin() const { return params; }
    constexpr const Param *end() const { return params + count; }
    constexpr Param operator[](int i) const { return params[i]; }
};

template <std::size_t N>
constexpr ParamList listOf(const Param (&params)[N])
{
    return {params, int(N)};
}

namespace order {
using P = Param;
// The universal scan's queries: all fifteen.
inline constexpr Param scan[] = {P::Mode,     P::Version,         P::Mac,         P::Ip,         P::Mask,
                                 P::Gateway,  P::PortTcp,         P::Parity,      P::Speed,      P::StopBits,
                                 P::TimeoutResponse, P::IpServerTcp, P::TimeoutTcp, P::RtuVirtualId, P::TcpSlaveId};
// The universal write's changes: the thirteen that can be changed.
inline constexpr Param write[] = {P::Mode,     P::Ip,       P::Mask,            P::Gateway,     P::PortTcp,
                                  P::Parity,   P::Speed,    P::StopBits,        P::TimeoutResponse,
                                  P::IpServerTcp, P::TimeoutTcp, P::RtuVirtualId, P::TcpSlaveId};
// The rows of a settings file, in the order they are written.
inline constexpr Param file[] = {P::Ip,     P::Mask,     P::Gateway, P::PortTcp,         P::Speed,
                                 P::StopBits, P::Parity, P::Mode,    P::TimeoutResponse, P::IpServerTcp,
                                 P::TimeoutTcp, P::RtuVirtualId, P::TcpSlaveId};
// The highlighted fields (all but the version), in the order their
// highlights are cleared.
inline constexpr Param highlight[] = {P::Ip,       P::IpServerTcp, P::Parity,  P::StopBits,     P::Speed,
                                      P::Mask,     P::PortTcp,     P::TimeoutTcp, P::Mac,       P::Gateway,
                                      P::Mode,     P::RtuVirtualId, P::TcpSlaveId, P::TimeoutResponse};
// The sequences of the two module kinds that have shorter ones.
inline constexpr Param rtuTcpScan[] = {P::Mac,    P::Ip,    P::Mask,     P::Gateway,     P::PortTcp,
                                       P::Parity, P::Speed, P::StopBits, P::IpServerTcp, P::TimeoutTcp};
inline constexpr Param tcpRtuScan[] = {P::Mac,     P::Ip,     P::Mask,  P::Gateway,
                                       P::PortTcp, P::Parity, P::Speed, P::StopBits};
inline constexpr Param rtuTcpWrite[] = {P::Ip,    P::Mask,     P::Gateway,     P::PortTcp,   P::Parity,
                                        P::Speed, P::StopBits, P::IpServerTcp, P::TimeoutTcp};
inline constexpr Param tcpRtuWrite[] = {P::Ip,     P::Mask,  P::Gateway, P::PortTcp,
                                        P::Parity, P::Speed, P::StopBits};
} // namespace order

// The per-variant sequences end by clearing the highlights of their own
// fields: those of the clearing order up to the gateway.
constexpr int variantHighlightCount()
{
    int n = 0;
    while (order::highlight[n++] != Param::Gateway) {
    }
    return n;
}
inline constexpr ParamList variantHighlights{order::highlight, variantHighlightCount()};

// ---- Lookups -------------------------------------------------------------

// The combo box index of a word, or -1 when no word of the list is exactly
// these `len` bytes.
int choiceIndex(ChoiceList list, const char *word, std::size_t len);
// The word at a combo box index, or nullptr.
const char *choiceWordAt(ChoiceList list, int index);

// The words of a parameter (none for a parameter that is not a choice):
// what a query replies, what the universal write and what the per-variant
// writes send (parity as a digit there).
inline ChoiceList replyChoices(Param p)
{
    const Choices *c = parameter(p).choices;
    return c ? c->reply : ChoiceList{};
}
inline ChoiceList universalWriteChoices(Param p)
{
    const Choices *c = parameter(p).choices;
    return c ? c->write : ChoiceList{};
}
inline ChoiceList variantWriteChoices(Param p)
{
    const Choices *c = parameter(p).choices;
    return c ? c->variantWrite : ChoiceList{};
}

// The combo box index of a choice parameter's factory value.
int factoryIndex(Param p);

// Where the value of a query's reply starts: after the echoed text and its
// separator.
int valuePosition(const Parameter &row);

// Whether a value written to a parameter keeps its rule: for an address or
// a number rule the text itself (a number plainly written, the TCP server
// address also "off"); a choice is the caller's, whose words differ.
bool valueAllowed(Param p, const char *value, std::size_t len);

// The parameter of a name ("ip", "port_tcp", ...: the simulated module's
// names, which the console program takes as keys too), or nullptr.
const Parameter *findName(const char *name, std::size_t len);

// Looks a received line up: exact query text, or change prefix at the start.
const Parameter *findQuery(const char *line, std::size_t len);
const Parameter *findChange(const char *line, std::size_t len);

// Action commands.
constexpr const char RebootUniversal[] = "reset";   // end of the universal write
constexpr const char Reboot[] = "RESET";            // reboot button, per-variant writes
constexpr const char FactoryReset[] = "LOAD SETTING:DEFAULT";

// Acknowledgements.
constexpr const char AckOk[] = "ok";
constexpr const char AckRefused[] = "?";

// ---- The sequences -------------------------------------------------------
// The module takes one command a second: the pace of every sequence.
constexpr int PaceMs = 1000;

// Each tick of a sequence's timer first advances its step and then acts on
// the new one, so a reply is taken under the step of the command it answers.

// Scans: query n (counted from 0) at step n + 1; the step after the last
// query ends the scan.
constexpr int queryStep(int n) { return n + 1; }
constexpr int scanEndStep(ParamList queries) { return queryStep(queries.count); }
// The step at which a module that did not answer the first query is taken
// to be silent (nothing is sent at it in the per-variant scans' check).
constexpr int ScanCheckStep = queryStep(1);
constexpr int ScanAllEndStep = queryStep(int(std::size(order::scan)));

// Writes: change n (counted from 0) at step 2n + 1, its acknowledgement
// awaited up to the step after it; the step after the last change's wait
// sends the reboot and ends the write.
constexpr int changeStep(int n) { return 2 * n + 1; }
constexpr int writeEndStep(ParamList changes) { return changeStep(changes.count); }
// The wait step of the second change: a module that acknowledged neither of
// the first two changes is taken to be silent.
constexpr int WriteCheckStep = changeStep(1) + 1;
constexpr int WriteAllEndStep = changeStep(int(std::size(order::write)));

// The universal sequences, which the scan and write buttons run.
inline constexpr ParamList universalScan = listOf(order::scan);
inline constexpr ParamList universalWrite = listOf(order::write);

// The parameter queried at a scan step, or nullptr.
const Parameter *queryAt(ParamList queries, int step);
// The parameter changed at a write step (odd steps only), or nullptr.
const Parameter *changeAt(ParamList changes, int step);
// The parameter whose acknowledgement a write step takes (a change's step
// and the wait step after it), or nullptr.
const Parameter *acknowledgedAt(ParamList changes, int step);

// The two module kinds that have shorter sequences of their own.
enum class Variant { RtuTcp, TcpRtu };
ParamList variantScan(Variant v);
ParamList variantWrite(Variant v);

} // namespace proto
