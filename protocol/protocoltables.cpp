#include "protocoltables.h"

#include <cstring>

namespace proto {

namespace {

// A number plainly written: digits only, no sign, no blank, no leading zero
// (except "0" itself), at most 9 digits.
bool parseNumber(const char *s, std::size_t len, long *out)
{
    if (len == 0 || len > 9 || (len > 1 && s[0] == '0'))
        return false;
    long v = 0;
    for (std::size_t i = 0; i < len; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
    }
    *out = v;
    return true;
}

bool inRange(const char *s, std::size_t len, long min, long max)
{
    long v = 0;
    return parseNumber(s, len, &v) && v >= min && v <= max;
}

// Four plainly written numbers 0-255 separated by dots, nothing else.
bool isIpv4(const char *s, std::size_t len)
{
    int parts = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= len; ++i) {
        if (i < len && s[i] != '.')
            continue;
        if (!inRange(s + start, i - start, 0, 255))
            return false;
        ++parts;
        start = i + 1;
    }
    return parts == 4;
}

} // namespace

bool valueAllowed(Param p, const char *value, std::size_t len)
{
    const Parameter &row = parameter(p);
    if (!row.rule)
        return false;
    switch (row.rule->format) {
    case Format::Choice:
        return false;
    case Format::Ipv4:
        return isIpv4(value, len);
    case Format::Number: {
        if (row.kind == Kind::SlaveId && len == std::strlen(SlaveIdOff) && std::memcmp(value, SlaveIdOff, len) == 0)
            return true;
        long v = 0;
        return parseNumber(value, len, &v) && ((v >= row.rule->min && v <= row.rule->max) || v == row.rule->also);
    }
    }
    return false;
}

const Parameter *findName(const char *name, std::size_t len)
{
    for (const Parameter &row : parameters)
        if (std::strlen(row.simName) == len && std::memcmp(row.simName, name, len) == 0)
            return &row;
    return nullptr;
}

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

int factoryIndex(Param p)
{
    const char *word = parameter(p).factory;
    return choiceIndex(replyChoices(p), word, std::strlen(word));
}

int valuePosition(const Parameter &row)
{
    return int(std::strlen(row.query)) + 1;
}

const Parameter *findQuery(const char *line, std::size_t len)
{
    for (const Parameter &row : parameters)
        if (std::strlen(row.query) == len && std::memcmp(row.query, line, len) == 0)
            return &row;
    return nullptr;
}

const Parameter *findChange(const char *line, std::size_t len)
{
    for (const Parameter &row : parameters) {
        if (!row.change)
            continue;
        const std::size_t n = std::strlen(row.change);
        if (len >= n && std::memcmp(row.change, line, n) == 0)
            return &row;
    }
    return nullptr;
}

const Parameter *queryAt(ParamList queries, int step)
{
    const int n = step - queryStep(0);
    return n >= 0 && n < queries.count ? &parameter(queries[n]) : nullptr;
}

const Parameter *changeAt(ParamList changes, int step)
{
    return step % 2 == 1 ? acknowledgedAt(changes, step) : nullptr;
}

const Parameter *acknowledgedAt(ParamList changes, int step)
{
    const int n = (step - changeStep(0)) / 2;
    return step >= changeStep(0) && n < changes.count ? &parameter(changes[n]) : nullptr;
}

ParamList variantScan(Variant v)
{
    return v == Variant::RtuTcp ? listOf(order::rtuTcpScan) : listOf(order::tcpRtuScan);
}

ParamList variantWrite(Variant v)
{
    return v == Variant::RtuTcp ? listOf(order::rtuTcpWrite) : listOf(order::tcpRtuWrite);
}

} // namespace proto
