#pragma once

#include <QString>

#include "protocoltables.h"

// The captions of the three state buttons. Each caption is its button's
// state: the handlers compare them exactly.
namespace caption {
// `connect`: disconnected (its first letter is a Latin C) and connected.
inline QString disconnected() { return QStringLiteral("Cоединиться"); }
inline QString connected() { return QStringLiteral("Отсоединиться"); }
// `scan_parameters`: idle and scanning.
inline QString scan() { return QStringLiteral("Сканировать"); }
inline QString stopScan() { return QStringLiteral("Стоп сканирования"); }
// `applyButton`: idle and writing.
inline QString write() { return QStringLiteral("Запись параметры"); }
inline QString stopWrite() { return QStringLiteral("Остановить запись"); }
} // namespace caption

// Texts of the message boxes that several paths show.
namespace boxtext {
inline QString error() { return QStringLiteral("Ошибка"); }
// The text of the lost-connection boxes, and the title of the one that
// reports a module that did not answer.
inline QString connectionError() { return QStringLiteral("Ошибка соединения"); }
inline QString writeResults() { return QStringLiteral("Результы изменения"); }
} // namespace boxtext

// The module kinds as the messages of the sequences name them.
namespace modulekind {
inline QString universal() { return QStringLiteral("Modbus universal"); }
inline QString of(proto::Variant v)
{
    return v == proto::Variant::RtuTcp ? QStringLiteral("Modbus RTU-TCP") : QStringLiteral("Modbus TCP-RTU");
}
} // namespace modulekind
