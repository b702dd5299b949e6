#pragma once

#include <QtGlobal>

namespace link {

// Whether the device behind an open descriptor has hung up: the other end
// of a pseudo-terminal closed, or a USB adapter was pulled. The serial
// library reports such a loss as the failure of a read or a write (on
// Windows as whatever the driver's error maps to), not as a lost device.
// The handle is the port's: a descriptor on Unix, a HANDLE on Windows.
bool deviceHungUp(qintptr handle);

} // namespace link
