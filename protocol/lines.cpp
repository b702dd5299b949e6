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

QString shownBytes(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        switch (c) {
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        default:
            if (c >= 0x20 && c < 0x7f)
                out += QLatin1Char(c);
            else
                out += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
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
