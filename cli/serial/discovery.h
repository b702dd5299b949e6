#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "commissioning.h"
#include "options.h"

namespace cli {

// What one port said when asked who is there.
struct Found {
    QString port;
    Commissioning::Outcome outcome = Commissioning::Outcome::Ok; // Ok: a module answered
    QString detail;
    QString mac;
    QString version;
};

// Asks the ports, all at once, which module each has (its MAC address and
// firmware version): every port's answer, in the order given.
QList<Found> discover(const QStringList &ports, const Common &common);
// Whether Ctrl+C stopped the asking.
bool interrupted(const QList<Found> &found);

} // namespace cli
