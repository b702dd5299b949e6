#include "modbusreply.h"

#include <QCoreApplication>

#include "modbus.h"

namespace modbusreply {

namespace {

int word(const QByteArray &bytes, int at)
{
    return int(quint8(bytes.at(at))) << 8 | quint8(bytes.at(at + 1));
}

Verdict invalid(Mismatch::What what, int got, int wanted)
{
    Verdict v;
    v.mismatch = {what, got, wanted};
    return v;
}

} // namespace

QByteArray request(quint16 transaction, const checkargs::Read &read)
{
    const quint8 function = quint8(read.kind);
    const char frame[] = {char(transaction >> 8), char(transaction & 0xff), 0, 0, 0, 6, char(read.unit),
                          char(function),         char(read.address >> 8),  char(read.address & 0xff),
                          char(read.count >> 8),  char(read.count & 0xff)};
    return QByteArray(frame, int(sizeof frame));
}

Verdict judge(const QByteArray &frame, const checkargs::Read &read)
{
    using What = Mismatch::What;
    modbus::MbapHeader header;
    if (!modbus::readMbapHeader(reinterpret_cast<const unsigned char *>(frame.constData()), std::size_t(frame.size()),
                                &header)
        || frame.size() <= modbus::MbapHeaderSize)
        return invalid(What::Length, int(frame.size()), modbus::MbapHeaderSize + 1);
    if (header.protocol != 0)
        return invalid(What::Protocol, int(header.protocol), 0);
    if (header.unit != read.unit)
        return invalid(What::Unit, header.unit, read.unit);
    const QByteArray pdu = frame.mid(modbus::MbapHeaderSize);
    const int function = quint8(pdu.at(0));
    const int asked = quint8(read.kind);
    if (function == (asked | modbus::ExceptionFlag)) {
        if (pdu.size() != 2)
            return invalid(What::Length, int(pdu.size()) - 1, 1);
        Verdict v;
        v.kind = Verdict::Kind::Exception;
        v.exception = quint8(pdu.at(1));
        return v;
    }
    if (function != asked)
        return invalid(What::Function, function, asked);
    const bool bits = checkargs::isBits(read.kind);
    const int due = bits ? (read.count + 7) / 8 : read.count * 2;
    if (pdu.size() < 2)
        return invalid(What::Length, 0, due);
    const int byteCount = quint8(pdu.at(1));
    if (byteCount != due)
        return invalid(What::ByteCount, byteCount, due);
    if (pdu.size() - 2 != byteCount)
        return invalid(What::Length, int(pdu.size()) - 2, byteCount);
    Verdict v;
    v.kind = Verdict::Kind::Data;
    v.values.reserve(read.count);
    for (int i = 0; i < read.count; ++i)
        v.values << quint16(bits ? (quint8(pdu.at(2 + i / 8)) >> (i % 8)) & 1 : word(pdu, 2 + 2 * i));
    return v;
}

QString mismatchText(const Mismatch &m)
{
    using What = Mismatch::What;
    switch (m.what) {
    case What::None:
        return QString();
    case What::Protocol:
        return QCoreApplication::translate("modbusreply", "its MBAP header has protocol id %1, not 0 (Modbus)")
            .arg(m.got);
    case What::Unit:
        return QCoreApplication::translate("modbusreply", "it names unit %1, the request unit %2").arg(m.got).arg(m.wanted);
    case What::Function:
        return QCoreApplication::translate("modbusreply", "it has function code %1, the request %2")
            .arg(hexCode(m.got), hexCode(m.wanted));
    case What::ByteCount:
        return QCoreApplication::translate("modbusreply", "its byte count is %1, the count asked needs %2")
            .arg(m.got)
            .arg(m.wanted);
    case What::Length:
        return QCoreApplication::translate("modbusreply", "it carries %1 bytes of data where it should carry %2")
            .arg(m.got)
            .arg(m.wanted);
    case What::Transaction:
        return QCoreApplication::translate("modbusreply", "it has transaction id %1, the request %2")
            .arg(m.got)
            .arg(m.wanted);
    case What::Framing:
        return QCoreApplication::translate("modbusreply",
                                           "its MBAP header gives a length of %1, which no Modbus frame has")
            .arg(m.got);
    }
    return QString();
}

QString hexCode(int code)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace modbusreply
