#pragma once

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

#include "anyunitserver.h"
#include "options.h"

namespace cli {

// What gateway-cli serve shows as it goes: each connection, each request
// served and each close, with the seconds since it began listening, for a
// person on stdout (with --json on stderr, beside the document that comes
// at the end); and that document's connections and requests.
class ServeView : public QObject
{
    Q_OBJECT

public:
    ServeView(AnyUnitServer &server, const Common &common);

    int served() const { return int(requests.size()); }
    int connections() const { return int(peers.size()); }
    // {"connections": [{"peer", "at_s"}], "requests": [{"peer", "unit",
    //  "function", "address", "count", "exception", "at_s"}], "served"}
    QJsonObject json() const;

private:
    // Seconds since listening began: for JSON, and (shownStamp) for a person.
    QString stamp() const;
    QString shownStamp() const;
    void live(const QString &line) const;
    void onServed(const AnyUnitServer::Served &s);

    const bool toStderr;
    QElapsedTimer clock;
    QJsonArray peers;
    QJsonArray requests;
};

} // namespace cli
