// Fuzz target: a batch plan as gateway-cli reads it. The CSV reader must
// take any bytes; what it reads must be written back and read again field
// for field; and a plan it finds no fault in must be one that can run: a
// port or a MAC address on every row, every value within its rule, no IP
// address twice.

#include "fuzzcheck.h"
#include "plan.h"
#include "portnames.h"

#include <QByteArray>
#include <QSet>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    const csv::Table table = csv::read(bytes);
    if (table.fault.isEmpty()) {
        QString again;
        int line = 0;
        for (const csv::Record &r : table.records) {
            FUZZ_CHECK(r.line > line, "records start on later lines, one after the other");
            line = r.line;
            QStringList fields;
            for (const QString &f : r.fields)
                fields << csv::field(f);
            again += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
        const csv::Table reread = csv::read(again.toUtf8());
        FUZZ_CHECK(reread.fault.isEmpty(), "what was written back reads again");
        FUZZ_CHECK(reread.records.size() == table.records.size(), "as many records read again");
        for (int i = 0; i < reread.records.size(); ++i)
            FUZZ_CHECK(reread.records[i].fields == table.records[i].fields, "the same fields read again");
    } else {
        FUZZ_CHECK(table.faultLine >= 1, "a fault names its line");
    }

    // No settings file is found in an empty folder: the plan's own cells only.
    static QTemporaryDir folder;
    const plan::Plan p = plan::read(bytes, folder.path(), false);
    if (!p.faults.isEmpty())
        return 0;
    FUZZ_CHECK(!p.rows.isEmpty(), "a plan without a fault has rows");
    QSet<QString> ips;
    for (const plan::Row &row : p.rows) {
        FUZZ_CHECK(!row.port.isEmpty() || !cli::macKey(row.mac).isEmpty(), "every row names its module");
        FUZZ_CHECK(!row.values.isEmpty(), "every row writes something");
        for (const proto::Param param : row.values.params())
            FUZZ_CHECK(proto::valueFault(param, row.values.value(param)).isEmpty(), "every value keeps its rule");
        if (row.values.has(proto::Param::Ip)) {
            FUZZ_CHECK(!ips.contains(row.values.value(proto::Param::Ip)), "no IP address twice");
            ips.insert(row.values.value(proto::Param::Ip));
        }
    }
    return 0;
}
