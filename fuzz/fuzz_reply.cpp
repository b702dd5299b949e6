// Fuzz target: the configurator's reading of replies. Arbitrary bytes, as
// they may arrive from the serial line, go through the reply clean-up, are
// cut as the value of every query and matched against the choice words of
// the choice parameters; the same bytes also serve as the text of every
// change line.

#include "fuzzcheck.h"
#include "lines.h"
#include "protocoltables.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>

namespace {

void checkCut(const QString &text, const proto::Parameter &q)
{
    const QString value = proto::cutValue(text, q);
    FUZZ_CHECK(value.size() <= q.length, "a cut value is no longer than the query's length");
    const int position = proto::valuePosition(q);
    const int available = text.size() > position ? text.size() - position : 0;
    FUZZ_CHECK(value.size() == qMin(available, q.length), "a cut value takes all the text it can");
    FUZZ_CHECK(QStringView(text).mid(position).startsWith(value), "a cut value is the text at the query's position");
    FUZZ_CHECK(!value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n')),
               "a cut value has no line ends");

    // A reply in the module's format ("<query> <value>") gives the value's
    // start, whatever followed.
    const QString echo = QLatin1String(q.query) + QLatin1Char(' ');
    if (text.startsWith(echo))
        FUZZ_CHECK(value == text.mid(echo.size(), q.length), "the value starts right after the echoed query");

    if (proto::kindOf(q.param) != proto::Kind::Choice)
        return;
    const proto::ChoiceList words = proto::replyChoices(q.param);
    const int index = proto::matchChoice(value, words);
    if (index >= 0) {
        FUZZ_CHECK(QString::fromLatin1(proto::choiceWord(words, index)) == value,
                   "a matched value is the word of its index");
    } else {
        for (std::size_t i = 0; i < words.count; ++i)
            FUZZ_CHECK(value != QLatin1String(words.words[i].word), "an unmatched value is no choice word");
    }
    // Every reply word fits the cut, or the module's answer could never match.
    for (std::size_t i = 0; i < words.count; ++i)
        FUZZ_CHECK(int(std::strlen(words.words[i].word)) <= q.length, "each reply word fits the query's length");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QString text = proto::cleanReply(bytes);

    const int zero = bytes.indexOf('\0');
    const int before = zero < 0 ? bytes.size() : zero;
    FUZZ_CHECK(!text.contains(QLatin1Char('\r')), "no CR in a cleaned reply");
    FUZZ_CHECK(!text.contains(QLatin1Char('\n')), "no LF in a cleaned reply");
    FUZZ_CHECK(!text.contains(QChar(0)), "nothing from the first zero byte on");
    FUZZ_CHECK(text.size() <= before, "a cleaned reply is no longer than its bytes before the zero");
    FUZZ_CHECK(proto::cleanReply(text.toUtf8()) == text, "cleaning a cleaned reply changes nothing");
    // Bytes without CR, LF, NUL and valid as UTF-8 come through unchanged.
    const QByteArray head = bytes.left(before);
    if (!head.contains('\r') && !head.contains('\n') && QString::fromUtf8(head).toUtf8() == head)
        FUZZ_CHECK(text.toUtf8() == head, "clean bytes are kept as they are");

    for (const proto::Parameter &q : proto::parameters)
        checkCut(text, q);

    // The input as the text of every change line.
    for (const proto::Param p : proto::order::write) {
        const proto::Parameter &c = proto::parameter(p);
        const proto::ChoiceList words = proto::universalWriteChoices(c.param);
        const int index = size > 0 ? int(data[0] % 12) - 1 : 0;
        const QByteArray line = proto::changeLine(c, words, text, index, size > 1 && (data[1] & 1));
        FUZZ_CHECK(line.startsWith(c.change), "a change line starts with its prefix");
        const QByteArray value = line.mid(int(std::strlen(c.change)));
        switch (proto::kindOf(c.param)) {
        case proto::Kind::Text:
            FUZZ_CHECK(value == text.toLatin1(), "a text change sends the text");
            break;
        case proto::Kind::Choice:
            FUZZ_CHECK(value == proto::choiceWord(words, index), "a choice change sends the word of its index");
            FUZZ_CHECK(value.isEmpty() || proto::matchChoice(QString::fromLatin1(value), words) == index,
                       "a sent choice word maps back to its index");
            break;
        case proto::Kind::SlaveId:
            FUZZ_CHECK(value == ((size > 1 && (data[1] & 1)) ? QByteArray(proto::SlaveIdOff) : text.toLatin1()),
                       "the slave id sends \"off\" or the text");
            break;
        }
    }
    return 0;
}
