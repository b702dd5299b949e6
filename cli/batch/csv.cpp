#include "csv.h"

#include <QRegularExpression>

#include "command.h"

namespace csv {

namespace {

QChar separatorOf(const QString &text)
{
    const QChar candidates[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    int counts[3] = {};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        for (int i = 0; i < 3; ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    int most = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[most])
            most = i;
    return candidates[most];
}

} // namespace

Table read(const QByteArray &data)
{
    Table table;
    const TextBytes::Decoded decoded = TextBytes::decode(data);
    table.encoding = decoded.encoding;
    const QString &text = decoded.text;
    const QChar sep = separatorOf(text);
    table.separator = sep;

    int line = 1;
    Record record{line, {}};
    QString cell;
    bool quoted = false;     // inside quotes
    bool wasQuoted = false;  // the cell began with a quote and it closed
    const auto endCell = [&] {
        record.fields << (wasQuoted ? cell : cell.trimmed());
        cell.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endCell();
        // A row of separators only is how a spreadsheet saves an empty row.
        bool blank = true;
        for (const QString &f : record.fields)
            blank = blank && f.isEmpty();
        if (!blank)
            table.records << record;
        record = Record{line, {}};
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && (i + 1 >= text.size() || text[i + 1] != QLatin1Char('\n'))))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cell.trimmed().isEmpty() && !wasQuoted) {
            cell.clear();
            quoted = true;
        } else if (c == sep) {
            endCell();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++line;
            endRecord();
        } else if (wasQuoted) {
            if (!c.isSpace()) {
                table.fault = cli::tr("text after a closing quote");
                table.faultLine = line;
                return table;
            }
        } else {
            cell += c;
        }
    }
    if (quoted) {
        table.fault = cli::tr("a quote that is never closed");
        table.faultLine = record.line;
        return table;
    }
    endRecord();
    return table;
}

QString field(const QString &text)
{
    // Either separator is quoted, so that a reader that takes the other one
    // splits no field; blanks at either end, which a reader drops from a
    // field without quotes; and a byte order mark at the start, which a
    // reader takes for UTF-8's and drops at the start of a file.
    static const QRegularExpression special(QStringLiteral("[,;\"\r\n]"));
    if (!text.contains(special) && text == text.trimmed() && !text.startsWith(QChar(0xfeff)))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace csv
