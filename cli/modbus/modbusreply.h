#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "checkargs.h"

// One read on a Modbus TCP connection, as the master sends it and as it
// judges what comes back: a reply counts only when it answers that very
// request (transaction, protocol 0, unit, function or its exception form,
// the byte count that the asked count needs, and that many bytes).
namespace modbusreply {

// The request's frame: MBAP header and PDU.
QByteArray request(quint16 transaction, const checkargs::Read &read);

// What did not match in a malformed reply: what the reply says against
// what the request needs.
struct Mismatch {
    enum class What {
        None,
        Protocol,  // MBAP protocol id (0 is Modbus)
        Unit,      // the unit the reply names
        Function,  // another function code
        ByteCount, // a byte count other than the asked count needs
        Length,    // fewer or more bytes than the byte count (or than an exception has)
        Transaction,
        Framing,   // a header whose length no Modbus frame has: nothing after it can be read
    };
    What what = What::None;
    int got = 0;
    int wanted = 0;
};

struct Verdict {
    enum class Kind {
        Data,
        Exception,
        Invalid,
    };
    Kind kind = Kind::Invalid;
    QVector<quint16> values; // Data: exactly the asked count
    int exception = 0;       // Exception: its code
    Mismatch mismatch;       // Invalid: what did not match
};

// Judges one whole frame (header and PDU) against the read it answers; the
// transaction is matched before.
Verdict judge(const QByteArray &frame, const checkargs::Read &read);

// What did not match, for a person (translated) or, under
// language::SourceTexts, in English.
QString mismatchText(const Mismatch &mismatch);

// A function or exception code as the texts give it: 0x0B.
QString hexCode(int code);

} // namespace modbusreply
