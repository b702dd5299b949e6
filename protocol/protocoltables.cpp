#include "protocoltables.h"

#include <cstring>

namespace proto {

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
