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

// Replies come in pieces, as the adapter delivers them. The module ends a
// reply to a query with its line end (LF or CR LF) and puts none inside it,
// so pending bytes that end with an LF are a whole reply; the
// acknowledgements ("ok", "?") have no line end and are whole once the line
// has been silent for ReplyGapMs, as is a reply that lost its line end. A
// device that never falls silent (noise on the line) must not grow a reply
// without end: MaxReplyBytes are taken at once.
constexpr int ReplyGapMs = 50;
constexpr qint64 MaxReplyBytes = 64 * 1024;
// Whether pending bytes are a whole reply without waiting for the gap.
inline bool replyComplete(const QByteArray &pending)
{
    return pending.size() >= MaxReplyBytes || pending.endsWith('\n');
}

// One reply as text: UTF-8 up to the first zero byte, every CR and LF
// removed, everything else kept.
QString cleanReply(const QByteArray &bytes);

// The value of a query's reply: at most `length` characters from its value position.
QString cutValue(const QString &reply, const Parameter &row);

// The combo box index of a reply word, or -1 when no word matches exactly.
int matchChoice(const QString &value, ChoiceList words);

} // namespace proto
