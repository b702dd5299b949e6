#include "mbap.h"

#include "modbus.h"

#include <cstdio>

MbapTake takeMbapFrame(std::string &buffer, MbapFrame *frame)
{
    modbus::MbapHeader header;
    if (!modbus::readMbapHeader(reinterpret_cast<const unsigned char *>(buffer.data()), buffer.size(), &header))
        return MbapTake::NeedMore;
    // Told as soon as the header is in: no later byte can make it a frame.
    if (header.protocol != 0 || !modbus::mbapLengthFits(header))
        return MbapTake::NotModbus;
    const std::size_t size = modbus::mbapFrameSize(header);
    if (buffer.size() < size)
        return MbapTake::NeedMore;
    frame->transaction = header.transaction;
    frame->unit = header.unit;
    frame->pdu = buffer.substr(modbus::MbapHeaderSize, size - modbus::MbapHeaderSize);
    buffer.erase(0, size);
    return MbapTake::Frame;
}

std::string mbapFrame(unsigned transaction, int unit, const std::string &pdu)
{
    const unsigned length = unsigned(pdu.size()) + 1; // the unit and the PDU
    const std::string header{char(transaction >> 8), char(transaction & 0xff), 0, 0,
                             char(length >> 8),      char(length & 0xff),      char(unit)};
    return header + pdu;
}

std::string hexBytes(const std::string &bytes)
{
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, out.empty() ? "%02x" : " %02x", c);
        out += b;
    }
    return out;
}

std::string frameText(unsigned transaction, int unit, const std::string &pdu)
{
    return "tid " + std::to_string(transaction) + " unit " + std::to_string(unit) + " pdu " + hexBytes(pdu);
}
