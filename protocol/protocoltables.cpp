#include "protocoltables.h"

#include <cstring>

namespace proto {

namespace {

const ChoiceWord modeReply[] = {{1, "server"}, {2, "client"}};
const ChoiceWord modeWrite[] = {{1, "SERVER"}, {2, "CLIENT"}};
const ChoiceWord parityWords[] = {{1, "none"}, {2, "odd"}, {3, "even"}};
const ChoiceWord parityDigits[] = {{1, "0"}, {2, "1"}, {3, "2"}};
const ChoiceWord speedWords[] = {{1, "1200"},   {2, "2400"},   {3, "4800"},  {4, "9600"},
                                 {5, "19200"},  {6, "38400"},  {7, "57600"}, {8, "115200"},
                                 {9, "128000"}, {10, "256000"}};
const ChoiceWord stopBitWords[] = {{1, "1"}, {2, "2"}};

template <std::size_t N>
constexpr ChoiceList list(const ChoiceWord (&w)[N])
{
    return {w, N};
}

ChoiceList commonChoices(Param p)
{
    switch (p) {
    case Param::Speed: return list(speedWords);
    case Param::StopBits: return list(stopBitWords);
    default: return {nullptr, 0};
    }
}

const Param rtuTcpScan[] = {Param::Mac,    Param::Ip,    Param::Mask,     Param::Gateway,     Param::PortTcp,
                            Param::Parity, Param::Speed, Param::StopBits, Param::IpServerTcp, Param::TimeoutTcp};
const Param tcpRtuScan[] = {Param::Mac,     Param::Ip,     Param::Mask,  Param::Gateway,
                            Param::PortTcp, Param::Parity, Param::Speed, Param::StopBits};
const Param rtuTcpWrite[] = {Param::Ip,    Param::Mask,     Param::Gateway,     Param::PortTcp, Param::Parity,
                             Param::Speed, Param::StopBits, Param::IpServerTcp, Param::TimeoutTcp};
const Param tcpRtuWrite[] = {Param::Ip,     Param::Mask,  Param::Gateway, Param::PortTcp,
                             Param::Parity, Param::Speed, Param::StopBits};

} // namespace

ChoiceList replyChoices(Param p)
{
    switch (p) {
    case Param::Mode: return list(modeReply);
    case Param::Parity: return list(parityWords);
    default: return commonChoices(p);
    }
}

ChoiceList universalWriteChoices(Param p)
{
    switch (p) {
    case Param::Mode: return list(modeWrite);
    case Param::Parity: return list(parityWords);
    default: return commonChoices(p);
    }
}

ChoiceList variantWriteChoices(Param p)
{
    switch (p) {
    case Param::Mode: return list(modeWrite);
    case Param::Parity: return list(parityDigits);
    default: return commonChoices(p);
    }
}

const Query queries[ParamCount] = {
    {Param::Mode, "MODE TCP", 6},
    {Param::Version, "version", 10},
    {Param::Mac, "MAC", 18},
    {Param::Ip, "ip", 15},
    {Param::Mask, "MASK", 16},
    {Param::Gateway, "GATEWAY", 15},
    {Param::PortTcp, "PORT TCP", 6},
    {Param::Parity, "parity", 4},
    {Param::Speed, "SPEED RS485", 7},
    {Param::StopBits, "STOP BIT", 3},
    {Param::TimeoutResponse, "timeout response", 5},
    {Param::IpServerTcp, "IP SERVER TCP", 16},
    {Param::TimeoutTcp, "TIMEOUT TCP", 5},
    {Param::RtuVirtualId, "rtu virtual id", 3},
    {Param::TcpSlaveId, "tcp slave id", 3},
};

const Change changes[ChangeCount] = {
    {Param::Mode, "CHANGE MODE TCP:", FailText::A, true},
    {Param::Ip, "CHANGE IP:", FailText::A, true},
    {Param::Mask, "CHANGE MASK:", FailText::A, true},
    {Param::Gateway, "CHANGE GATEWAY:", FailText::A, true},
    {Param::PortTcp, "CHANGE PORT TCP:", FailText::B, true},
    {Param::Parity, "CHANGE PARITY:", FailText::A, true},
    {Param::Speed, "CHANGE SPEED RS485:", FailText::A, true},
    {Param::StopBits, "CHANGE STOP BIT:", FailText::B, true},
    {Param::TimeoutResponse, "change timeout response:", FailText::A, false},
    {Param::IpServerTcp, "CHANGE IP SERVER TCP:", FailText::A, false},
    {Param::TimeoutTcp, "CHANGE TIMEOUT TCP:", FailText::A, false},
    {Param::RtuVirtualId, "change rtu virtual id:", FailText::A, false},
    {Param::TcpSlaveId, "change tcp slave id:", FailText::A, false},
};

int choiceIndex(ChoiceList list, const char *word, std::size_t len)
{
    for (std::size_t i = 0; i < list.count; ++i)
        if (std::strlen(list.words[i].word) == len && std::memcmp(list.words[i].word, word, len) == 0)
            return list.words[i].index;
    return -1;
}

const char *choiceWordAt(ChoiceList list, int index)
{
    for (std::size_t i = 0; i < list.count; ++i)
        if (list.words[i].index == index)
            return list.words[i].word;
    return nullptr;
}

int valuePosition(const Query &query)
{
    return int(std::strlen(query.command)) + 1;
}

const Query *queryFor(Param p)
{
    for (const Query &q : queries)
        if (q.param == p)
            return &q;
    return nullptr;
}

const Change *changeFor(Param p)
{
    for (const Change &c : changes)
        if (c.param == p)
            return &c;
    return nullptr;
}

const Query *findQuery(const char *line, std::size_t len)
{
    for (const Query &q : queries)
        if (std::strlen(q.command) == len && std::memcmp(q.command, line, len) == 0)
            return &q;
    return nullptr;
}

const Change *findChange(const char *line, std::size_t len)
{
    for (const Change &c : changes) {
        const std::size_t n = std::strlen(c.prefix);
        if (len >= n && std::memcmp(c.prefix, line, n) == 0)
            return &c;
    }
    return nullptr;
}

const Query *scanAllQuery(int step)
{
    if (step < 1 || step > ScanAllSteps)
        return nullptr;
    return &queries[step - 1];
}

const Change *writeAllChange(int step)
{
    if (step < 1 || step >= WriteAllEndStep || step % 2 == 0)
        return nullptr;
    return &changes[(step - 1) / 2];
}

const Change *writeAllAcknowledged(int step)
{
    if (step < 1 || step > 2 * ChangeCount)
        return nullptr;
    return &changes[(step - 1) / 2];
}

ParamList variantScan(Variant v)
{
    if (v == Variant::RtuTcp)
        return {rtuTcpScan, int(sizeof rtuTcpScan / sizeof *rtuTcpScan)};
    return {tcpRtuScan, int(sizeof tcpRtuScan / sizeof *tcpRtuScan)};
}

ParamList variantWrite(Variant v)
{
    if (v == Variant::RtuTcp)
        return {rtuTcpWrite, int(sizeof rtuTcpWrite / sizeof *rtuTcpWrite)};
    return {tcpRtuWrite, int(sizeof tcpRtuWrite / sizeof *tcpRtuWrite)};
}

} // namespace proto
