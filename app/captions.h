#pragma once

#include <QString>

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
