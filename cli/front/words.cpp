#include "words.h"

namespace cli {

QString resultWord(Commissioning::Outcome outcome)
{
    switch (outcome) {
    case Commissioning::Outcome::Ok:
        return QStringLiteral("ok");
    case Commissioning::Outcome::Refused:
        return QStringLiteral("refused");
    case Commissioning::Outcome::Mismatch:
    case Commissioning::Outcome::BadValue: // what was read is not what it should be
        return QStringLiteral("mismatch");
    case Commissioning::Outcome::Garbled:
        return QStringLiteral("garbled");
    case Commissioning::Outcome::Invalid:
        return QStringLiteral("invalid");
    case Commissioning::Outcome::Silent:
        return QStringLiteral("silent");
    case Commissioning::Outcome::Lost:
    case Commissioning::Outcome::NotBack: // gone with its reboot and not back
        return QStringLiteral("lost");
    case Commissioning::Outcome::NoPort:
        return QStringLiteral("no-port");
    case Commissioning::Outcome::NotSerial:
        return QStringLiteral("not-serial");
    case Commissioning::Outcome::Busy:
        return QStringLiteral("busy");
    case Commissioning::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    }
    return QString();
}

} // namespace cli
