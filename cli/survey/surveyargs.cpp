#include "surveyargs.h"

#include "command.h"
#include "modbus.h"
#include "netoptions.h"
#include "options.h"

namespace cli {
namespace surveyargs {

QCommandLineOption unitsOption()
{
    return {QStringLiteral("units"),
            cli::tr("the units asked, in this order: numbers and ranges separated by commas, each 1-247 (default "
                    "1-247; for example 1-32 or 1,5,10-20)"),
            QStringLiteral("LIST")};
}

bool parse(const Options &o, Survey::Asked *asked, QStringList *faults)
{
    const int before = faults->size();
    QString fault;
    asked->units.clear();
    for (int unit = modbus::MinUnit; unit <= modbus::MaxUnit; ++unit)
        asked->units << unit;
    if (o.isSet(unitsOption()) && !checkargs::parseUnits(o.value(unitsOption()), &asked->units, &fault))
        *faults << QStringLiteral("--units %1").arg(fault);
    const QString read = o.isSet(option::read()) ? o.value(option::read()) : QStringLiteral("hr:0:1");
    if (!checkargs::parseRead(read, modbus::MinUnit, &asked->read, &fault))
        *faults << QStringLiteral("--read %1").arg(fault);
    return faults->size() == before;
}

} // namespace surveyargs
} // namespace cli
