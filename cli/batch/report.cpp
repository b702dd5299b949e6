#include "report.h"

#include <QJsonArray>

#include <functional>

#include "outputfile.h"
#include "plan.h"
#include "protocoltables.h"
#include "words.h"

namespace report {

namespace {

using proto::Param;

QStringList namesOf(const QList<Param> &params)
{
    QStringList names;
    for (const Param p : params)
        names << proto::nameOf(p);
    return names;
}

// One column: its name and its cell of a row.
struct Column {
    QString name;
    std::function<QString(const Row &, const Origin &)> cell;
};

// The report's columns, in their order: a column is added here, and only
// here.
QList<Column> table()
{
    using namespace cli;
    QList<Column> out{
        {key::line(), [](const Row &r, const Origin &) { return QString::number(r.line); }},
        {key::port(), [](const Row &r, const Origin &) { return r.port; }},
        {key::mac(), [](const Row &r, const Origin &) { return r.mac; }},
        {key::version(), [](const Row &r, const Origin &) { return r.version; }},
        // A failed network check is the row's result (its module was written).
        {key::result(), [](const Row &r, const Origin &) { return r.checkFailure.isEmpty() ? resultWord(r.outcome) : r.checkFailure; }},
        {key::detail(), [](const Row &r, const Origin &) { return r.detail; }},
        {key::written(), [](const Row &r, const Origin &) { return namesOf(r.written).join(QLatin1Char(' ')); }},
        {key::started(), [](const Row &r, const Origin &) { return isoTime(r.started); }},
        {key::finished(), [](const Row &r, const Origin &) { return isoTime(r.finished); }},
        {key::plan(), [](const Row &, const Origin &o) { return o.plan; }},
        {key::tool(), [](const Row &, const Origin &o) { return o.tool; }},
        {key::host(), [](const Row &, const Origin &o) { return o.host; }},
    };
    for (const Param p : proto::order::write)
        out << Column{proto::nameOf(p), [p](const Row &r, const Origin &) { return r.after.value(p); }};
    for (const Param p : proto::order::write)
        out << Column{proto::nameOf(p) + key::askedSuffix(),
                      [p](const Row &r, const Origin &) { return r.asked.value(p); }};
    for (const Param p : proto::order::write)
        out << Column{proto::nameOf(p) + key::beforeSuffix(),
                      [p](const Row &r, const Origin &) { return r.before.value(p); }};
    out << Column{key::check(), [](const Row &r, const Origin &) { return r.check; }}
        << Column{key::checkResult(), [](const Row &r, const Origin &) { return r.checkResult; }}
        << Column{key::checkMs(), [](const Row &r, const Origin &) { return r.checkMs; }};
    return out;
}

} // namespace

Dialect csvDialect()
{
    return {QLatin1Char(','), false};
}

Dialect excelDialect()
{
    return {QLatin1Char(';'), true};
}

Dialect dialectOf(QChar separator, TextBytes::Encoding encoding)
{
    return {separator, encoding != TextBytes::Encoding::Utf8};
}

QStringList columns()
{
    QStringList names;
    for (const Column &c : table())
        names << c.name;
    return names;
}

QString isoTime(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QString csv(const QList<Row> &rows, const Origin &origin, const Dialect &dialect)
{
    const QList<Column> all = table();
    QString text;
    if (dialect.bom)
        text += QChar(0xfeff);
    const auto line = [&](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << csv::field(f);
        text += quoted.join(dialect.separator) + QStringLiteral("\r\n");
    };
    line(columns());
    for (const Row &row : rows) {
        QStringList cells;
        for (const Column &c : all)
            cells << c.cell(row, origin);
        line(cells);
    }
    return text;
}

QJsonObject json(const QList<Row> &rows, const Origin &origin)
{
    const QList<Column> all = table();
    QJsonArray list;
    for (const Row &row : rows) {
        QJsonObject object;
        for (const Column &c : all)
            object.insert(c.name, c.cell(row, origin));
        object.insert(cli::key::line(), row.line);
        object.insert(cli::key::written(), QJsonArray::fromStringList(namesOf(row.written)));
        list << object;
    }
    return {{cli::key::rows(), list}};
}

bool save(const QString &path, const QList<Row> &rows, const Origin &origin, const Dialect &dialect, QString *error)
{
    return OutputFile::write(path, csv(rows, origin, dialect).toUtf8(), error);
}

} // namespace report
