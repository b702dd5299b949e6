#pragma once

// Building command lines and reading replies: small pure functions over the
// protocol tables, used by the window's sequences and reply handler.

#include <QByteArray>
#include <QString>

#include "protocoltables.h"

namespace proto {

// The word of a choice list for a combo box index; empty for the blank
// entry and for any index without a word.
QByteArray choiceWord(ChoiceList words, int index);

// A change line: the prefix directly followed by the value. Text values go
// through toLatin1() unchanged; a choice sends its word (or nothing); the
// TCP slave id sends "off" while `off` is set, else its text.
QByteArray changeLine(const Parameter &row, ChoiceList words, const QString &text, int index, bool off);

// One reply as text: UTF-8 up to the first zero byte, every CR and LF
// removed, everything else kept.
QString cleanReply(const QByteArray &bytes);

// Bytes as readable text, whatever they are: printable ASCII as it is,
// \r \n \t \\ \" and \xHH for every other byte, so that a reply that is
// no text is never shown raw.
QString shownBytes(const QByteArray &bytes);

// The value of a query's reply: at most `length` characters from its value position.
QString cutValue(const QString &reply, const Parameter &row);

// The combo box index of a reply word, or -1 when no word matches exactly.
int matchChoice(const QString &value, ChoiceList words);

} // namespace proto
