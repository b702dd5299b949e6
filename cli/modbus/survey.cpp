#include "survey.h"

#include "modbus.h"

namespace {

// Between two attempts at a connection.
constexpr int RetryMs = 500;

} // namespace

Survey::Survey(const Asked &asked, QObject *parent)
    : QObject(parent)
    , ask(asked)
{
    for (const int unit : ask.units) {
        ModbusCheck::Answer a;
        a.read = ask.read;
        a.read.unit = unit;
        answers << a;
    }
    // Started here too: a survey stopped before its start has its time.
    clock.start();
    retry.setSingleShot(true);
    retry.setInterval(RetryMs);
    connect(&retry, &QTimer::timeout, this, &Survey::attempt);
}

Survey::~Survey() = default;

void Survey::start()
{
    clock.start();
    attempt();
}

void Survey::attempt()
{
    if (stopped)
        return;
    QVector<checkargs::Read> reads;
    for (int i = first; i < answers.size(); ++i)
        reads << answers[i].read;
    current = std::make_unique<ModbusCheck>(ask.host, ask.port, reads, ask.timeoutMs);
    connect(current.get(), &ModbusCheck::connected, this, [this] {
        if (connectedAt >= 0)
            return;
        connectedAt = clock.nsecsElapsed();
        emit connected();
    });
    connect(current.get(), &ModbusCheck::sent, this, [this](int index) {
        sentCount = qMax(sentCount, first + index + 1);
        emit sent(first + index);
    });
    connect(current.get(), &ModbusCheck::answered, this, [this](int index) {
        const ModbusCheck::Answer &a = current->result().answers[index];
        // A unit the connection's closing left unanswered is not settled.
        if (a.outcome == ModbusCheck::Outcome::Closed)
            return;
        answers[first + index] = a;
        emit answered(first + index);
    });
    connect(current.get(), &ModbusCheck::traffic, this, &Survey::traffic);
    connect(current.get(), &ModbusCheck::finished, this, &Survey::onCheckFinished);
    current->start();
}

void Survey::onCheckFinished()
{
    const ModbusCheck::Result &r = current->result();
    const bool again = !r.connected && !stopped && r.failure != ModbusCheck::Failure::HostNotFound
                       && connectedAt < 0 && clock.elapsed() + RetryMs < ask.connectForMs;
    if (again) {
        retry.start();
        return;
    }
    if (takeAnswers()) {
        ++reopened;
        // Out of the check's own signal: attempt() replaces it.
        QTimer::singleShot(0, this, &Survey::attempt);
        return;
    }
    done = true;
    endedAt = clock.nsecsElapsed();
    emit finished();
}

void Survey::stop()
{
    if (done)
        return;
    stopped = true;
    // A connection under way ends through its check's finished().
    if (current && !current->isFinished()) {
        current->stop();
        return;
    }
    // Before the first connection, or between two.
    retry.stop();
    done = true;
    endedAt = clock.nsecsElapsed();
    emit finished();
}

QVector<int> Survey::found() const
{
    QVector<int> out;
    for (int i = 0; i < answers.size(); ++i)
        if (answers[i].proves())
            out << i;
    return out;
}

QVector<int> Survey::noPath() const
{
    QVector<int> out;
    for (const ModbusCheck::Answer &a : answers)
        if (a.outcome == ModbusCheck::Outcome::Exception && a.exception == modbus::GatewayPathUnavailable)
            out << a.read.unit;
    return out;
}

bool Survey::complete() const
{
    for (const ModbusCheck::Answer &a : answers)
        if (a.outcome == ModbusCheck::Outcome::NotSent || a.outcome == ModbusCheck::Outcome::Closed
            || a.outcome == ModbusCheck::Outcome::Interrupted)
            return false;
    return true;
}

// The first unit the connection left unsettled; another connection for it
// and those after it when the gateway closed this one and it got some unit
// answered (a gateway that closes each connection at once is not asked
// forever).
bool Survey::takeAnswers()
{
    const ModbusCheck::Result &r = current->result();
    int settled = 0;
    while (settled < r.answers.size() && r.answers[settled].outcome != ModbusCheck::Outcome::Closed
           && r.answers[settled].outcome != ModbusCheck::Outcome::NotSent)
        ++settled;
    const bool progress = settled > 0;
    first += settled;
    return r.connected && r.closedByGateway && !stopped && progress && first < answers.size();
}

Survey::Status Survey::status() const
{
    if (!isConnected() || (!complete() && !stopped))
        return NoConnection;
    return found().isEmpty() ? NoneFound : Found;
}

double Survey::elapsedMs() const
{
    return double(endedAt >= 0 ? endedAt : clock.nsecsElapsed()) / 1e6;
}

double Survey::surveyMs() const
{
    if (connectedAt < 0)
        return 0;
    return double((endedAt >= 0 ? endedAt : clock.nsecsElapsed()) - connectedAt) / 1e6;
}
