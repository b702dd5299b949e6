#include "responder.h"

#include "window.h"

Responder::Responder(Script s, QObject *parent)
    : QObject(parent)
    , script(s ? std::move(s) : Script(&Responder::goodModule))
{
    clock.start();
    timer.setInterval(2);
    connect(&timer, &QTimer::timeout, this, &Responder::poll);
    timer.start();
}

void Responder::poll()
{
    const QByteArray got = device.drain();
    if (!got.isEmpty()) {
        pending += got;
        lastByteAt = clock.elapsed();
        return;
    }
    if (pending.isEmpty() || clock.elapsed() - lastByteAt < 15)
        return;
    const QByteArray command = pending;
    pending.clear();
    commands << command;
    int delay = 0;
    for (const Chunk &chunk : script(command)) {
        delay += chunk.delayMs;
        QTimer::singleShot(delay, this, [this, bytes = chunk.bytes] { device.send(bytes); });
    }
}

const QList<QPair<QByteArray, QByteArray>> &Responder::values()
{
    static const QList<QPair<QByteArray, QByteArray>> list = {
        {"MODE TCP", "client"},        {"version", "2.0.1"},       {"MAC", "02:00:00:00:00:01"},
        {"ip", "192.168.1.20"},        {"MASK", "255.255.0.0"},    {"GATEWAY", "192.168.1.1"},
        {"PORT TCP", "10502"},         {"parity", "even"},         {"SPEED RS485", "19200"},
        {"STOP BIT", "2"},             {"timeout response", "2500"}, {"IP SERVER TCP", "192.168.1.30"},
        {"TIMEOUT TCP", "120"},        {"rtu virtual id", "17"},   {"tcp slave id", "off"}};
    return list;
}

QList<Responder::Chunk> Responder::goodModule(const QByteArray &command)
{
    for (const auto &v : values())
        if (command == v.first)
            return {{5, v.first + ' ' + v.second + "\r\n"}};
    if (command.contains(':') && command != "LOAD SETTING:DEFAULT")
        return {{5, "ok"}};
    return {};
}

Responder::Script Responder::goodModuleExcept(const QList<QPair<QByteArray, QList<Chunk>>> &replies)
{
    return [replies](const QByteArray &command) {
        for (const auto &r : replies)
            if (command.startsWith(r.first))
                return r.second;
        return goodModule(command);
    };
}

bool support::connectTo(MainWindow &w, Responder &module)
{
    return connectTo(w, module.device.slavePath());
}
