#pragma once

#include <QString>

#include "checkargs.h"
#include "modbuscheck.h"
#include "modulevalues.h"

// The words of a network check for a person, all in this one place: each
// exception's name, what it means at a gateway and what to look at, and the
// same for a connection that failed. Each text is a whole sentence or more
// with %1 arguments, taken through QCoreApplication::translate (context
// "checkwords"), so that a translation can replace it whole.
//
// `module` holds what is known of the module's settings (after a write, or
// from its settings file), or nothing: the texts then name the settings
// without their values.
namespace checkwords {

// The exception's name in English, as the JSON gives it ("Gateway target
// device failed to respond"); "Unknown exception" for a code not listed.
QString exceptionName(int code);
// The same name for a person (translatable).
QString exceptionNameText(int code);
// A function code's name for a person ("Read holding registers"), an
// empty text for one not listed.
QString functionName(int function);
// What an exception to `read` means at a gateway and what to look at.
QString exceptionHint(int code, const checkargs::Read &read, const ModuleValues &module);
// A read that got no reply at all within `timeoutMs`.
QString noAnswerHint(int timeoutMs, const ModuleValues &module);
// The gateway closed the connection during the check.
QString closedHint();
// A reply that did not match its request.
QString invalidHint();
// A reply no frame could be read from: the check closed the connection.
QString gaveUpHint();
// No connection: what decides it, with the module's settings where known.
QString connectHint(ModbusCheck::Failure failure, const QString &host, int port, int timeoutMs,
                    const ModuleValues &module);

} // namespace checkwords
