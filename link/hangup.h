#pragma once

#include <QtGlobal>

namespace link {

// Whether the device behind an open descriptor has hung up: the other end
// of a pseudo-terminal closed, or a USB adapter was pulled. The serial
// library reports such an end of file as read errors, not as a lost device.
// The handle is the port's: a descriptor on Unix, a HANDLE on Windows (where
// the serial library reports a lost device itself, and this says no).
bool deviceHungUp(qintptr handle);

} // namespace link
