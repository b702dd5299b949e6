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
    QVector<checkargs::Read> reads;
    for (const int unit : ask.units) {
        checkargs::Read r = ask.read;
        r.unit = unit;
        reads << r;
    }
    current = std::make_unique<ModbusCheck>(ask.host, ask.port, reads, ask.timeoutMs);
    connect(current.get(), &ModbusCheck::connected, this, [this] {
        connectedAt = clock.nsecsElapsed();
        emit connected();
    });
    connect(current.get(), &ModbusCheck::sent, this, [this](int index) {
        sentCount = qMax(sentCount, index + 1);
        emit sent(index);
    });
    connect(current.get(), &ModbusCheck::answered, this, &Survey::answered);
    connect(current.get(), &ModbusCheck::traffic, this, &Survey::traffic);
    connect(current.get(), &ModbusCheck::finished, this, &Survey::onCheckFinished);
    current->start();
}

void Survey::onCheckFinished()
{
    const ModbusCheck::Result &r = current->result();
    const bool again = !r.connected && !stopped && r.failure != ModbusCheck::Failure::HostNotFound
                       && clock.elapsed() + RetryMs < ask.connectForMs;
    if (again) {
        retry.start();
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
    if (retry.isActive()) {
        retry.stop();
        done = true;
        endedAt = clock.nsecsElapsed();
        emit finished();
        return;
    }
    if (current)
        current->stop();
}

QVector<int> Survey::found() const
{
    QVector<int> out;
    if (!current)
        return out;
    const QVector<ModbusCheck::Answer> &answers = current->result().answers;
    for (int i = 0; i < answers.size(); ++i)
        if (answers[i].proves())
            out << i;
    return out;
}

QVector<int> Survey::noPath() const
{
    QVector<int> out;
    if (!current)
        return out;
    for (const ModbusCheck::Answer &a : current->result().answers)
        if (a.outcome == ModbusCheck::Outcome::Exception && a.exception == modbus::GatewayPathUnavailable)
            out << a.read.unit;
    return out;
}

bool Survey::complete() const
{
    if (!current)
        return false;
    for (const ModbusCheck::Answer &a : current->result().answers)
        if (a.outcome == ModbusCheck::Outcome::NotSent || a.outcome == ModbusCheck::Outcome::Closed
            || a.outcome == ModbusCheck::Outcome::Interrupted)
            return false;
    return true;
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
