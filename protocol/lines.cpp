#include "lines.h"

namespace proto {

QByteArray choiceWord(ChoiceList words, int index)
{
    return QByteArray(choiceWordAt(words, index));
}

QByteArray changeLine(const Parameter &row, ChoiceList words, const QString &text, int index, bool off)
{
    QByteArray line(row.change);
    switch (row.kind) {
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

QString cutValue(const QString &reply, const Parameter &row)
{
    return reply.mid(valuePosition(row), row.length);
}

int matchChoice(const QString &value, ChoiceList words)
{
    const QByteArray bytes = value.toUtf8();
    return choiceIndex(words, bytes.constData(), std::size_t(bytes.size()));
}

} // namespace proto
