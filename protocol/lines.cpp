#include "lines.h"

namespace proto {

QByteArray choiceWord(ChoiceList words, int index)
{
    for (std::size_t i = 0; i < words.count; ++i)
        if (words.words[i].index == index)
            return QByteArray(words.words[i].word);
    return QByteArray();
}

QByteArray changeLine(const Change &change, ChoiceList words, const QString &text, int index, bool off)
{
    QByteArray line(change.prefix);
    switch (change.kind) {
    case Kind::Text:
        line += text.toLatin1();
        break;
    case Kind::Choice:
        line += choiceWord(words, index);
        break;
    case Kind::SlaveId:
        line += off ? QByteArray(SlaveIdOff) : text.toLatin1();
        break;
    }
    return line;
}

QString cleanReply(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    QString text = QString::fromUtf8(bytes.constData(), zero < 0 ? bytes.size() : zero);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

QString cutValue(const QString &reply, const Query &query)
{
    return reply.mid(query.position, query.length);
}

int matchChoice(const QString &value, ChoiceList words)
{
    for (std::size_t i = 0; i < words.count; ++i)
        if (value == QLatin1String(words.words[i].word))
            return words.words[i].index;
    return -1;
}

} // namespace proto
