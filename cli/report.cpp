#include "report.h"

#include <QJsonArray>
#include <QSaveFile>

#include "plan.h"
#include "protocoltables.h"
#include "words.h"

namespace report {

namespace {

// The values of one row, in the order of columns().
QStringList cells(const Row &row)
{
    QStringList out{QString::number(row.line),     row.port,   row.mac,
                    row.version,
                    row.checkFailure.isEmpty() ? cli::resultWord(row.outcome) : row.checkFailure,
                    row.detail,
                    isoTime(row.started),          isoTime(row.finished)};
    for (const proto::Param p : proto::order::write)
        out << row.after.value(p);
    for (const proto::Param p : proto::order::write)
        out << row.before.value(p);
    out << row.check << row.checkResult << row.checkMs;
    return out;
}

} // namespace

QStringList columns()
{
    using namespace cli;
    QStringList out{key::line(),    key::port(),   key::mac(),     key::version(),
                    key::result(),  key::detail(), key::started(), key::finished()};
    for (const proto::Param p : proto::order::write)
        out << proto::nameOf(p);
    for (const proto::Param p : proto::order::write)
        out << proto::nameOf(p) + key::beforeSuffix();
    out << key::check() << key::checkResult() << key::checkMs();
    return out;
}

QString isoTime(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QString csv(const QList<Row> &rows)
{
    QString text;
    const auto line = [&text](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << csv::field(f);
        text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    line(columns());
    for (const Row &row : rows)
        line(cells(row));
    return text;
}

QJsonObject json(const QList<Row> &rows)
{
    const QStringList names = columns();
    QJsonArray list;
    for (const Row &row : rows) {
        const QStringList values = cells(row);
        QJsonObject object;
        for (int i = 0; i < names.size(); ++i)
            object.insert(names[i], values[i]);
        object.insert(cli::key::line(), row.line);
        list << object;
    }
    return {{cli::key::rows(), list}};
}

bool save(const QString &path, const QList<Row> &rows, QString *error)
{
    QSaveFile file(path);
    const QByteArray bytes = csv(rows).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace report
