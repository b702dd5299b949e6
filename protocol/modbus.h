// Modbus facts that gateway-cli's network check and the simulated module's
// network side both rely on: plain C++, so that the simulator (which frames
// Modbus TCP by hand) and gateway-cli (which uses Qt SerialBus) take their
// limits from one place.
#pragma once

#include <cstddef>

namespace modbus {

// The function codes of the four reads.
enum Function : unsigned char {
    ReadCoils = 0x01,
    ReadDiscreteInputs = 0x02,
    ReadHoldingRegisters = 0x03,
    ReadInputRegisters = 0x04,
};

// The exception codes a reply can carry (the function code with 0x80 set,
// then one of these).
enum Exception : unsigned char {
    IllegalFunction = 0x01,
    IllegalDataAddress = 0x02,
    IllegalDataValue = 0x03,
    ServerDeviceFailure = 0x04,
    Acknowledge = 0x05,
    ServerDeviceBusy = 0x06,
    MemoryParityError = 0x08,
    GatewayPathUnavailable = 0x0A,
    GatewayTargetNoResponse = 0x0B,
};
inline constexpr unsigned char ExceptionFlag = 0x80;

// Whether an exception comes from the device itself (it was reached: the
// read was wrong for it, or it was busy or failing), not from the gateway
// (0x0A, 0x0B) or from no one known.
constexpr bool isDeviceException(int code)
{
    return (code >= IllegalFunction && code <= ServerDeviceBusy) || code == MemoryParityError;
}

// The four tables of a device, each with the word that names it on
// gateway-cli's command line and in both programs' logs, the function that
// reads it and those that write it (0: none).
struct Table {
    const char *word;
    unsigned char read;
    bool bits;
    unsigned char writeOne;
    unsigned char writeMany;
};
inline constexpr Table tables[] = {
    {"hr", ReadHoldingRegisters, false, 0x06, 0x10},
    {"ir", ReadInputRegisters, false, 0, 0},
    {"coil", ReadCoils, true, 0x05, 0x0F},
    {"di", ReadDiscreteInputs, true, 0, 0},
};
// The table a function reads or writes; nullptr for any other function.
constexpr const Table *tableOf(unsigned char function)
{
    for (const Table &t : tables)
        if (function && (t.read == function || t.writeOne == function || t.writeMany == function))
            return &t;
    return nullptr;
}

// How many registers, or bits, one read may ask for.
inline constexpr int MaxReadRegisters = 125;
inline constexpr int MaxReadBits = 2000;
inline constexpr int MaxAddress = 65535;

// The unit addresses of devices on an RTU line (0 is the broadcast).
inline constexpr int MinUnit = 1;
inline constexpr int MaxUnit = 247;

// Modbus TCP: the port, and the MBAP header before the unit's PDU
// (transaction 2 bytes, protocol 2, length 2, unit 1).
inline constexpr int DefaultTcpPort = 502;
inline constexpr int MbapHeaderSize = 7;
inline constexpr int MaxPduSize = 253;

// An MBAP header. `length` counts the unit and the PDU after it.
struct MbapHeader {
    unsigned transaction = 0;
    unsigned protocol = 0; // 0: Modbus
    unsigned length = 0;
    unsigned char unit = 0;
};
// The header at the start of `bytes`, once `size` holds it whole.
inline bool readMbapHeader(const unsigned char *bytes, std::size_t size, MbapHeader *header)
{
    if (size < std::size_t(MbapHeaderSize))
        return false;
    header->transaction = unsigned(bytes[0]) << 8 | bytes[1];
    header->protocol = unsigned(bytes[2]) << 8 | bytes[3];
    header->length = unsigned(bytes[4]) << 8 | bytes[5];
    header->unit = bytes[6];
    return true;
}
// Whether a header can begin a Modbus frame: protocol aside, a length that
// holds the unit and a function code and no more than the largest PDU.
// Beyond one that cannot, the stream has no frames left to find.
constexpr bool mbapLengthFits(const MbapHeader &header)
{
    return header.length >= 2 && header.length <= unsigned(MaxPduSize) + 1;
}
// The whole frame's size, header and PDU.
constexpr std::size_t mbapFrameSize(const MbapHeader &header)
{
    return std::size_t(MbapHeaderSize) - 1 + header.length;
}

// A character on an RTU line takes 11 bits (start, 8 data, parity or a
// second stop bit, stop); an RTU frame is the unit, the PDU and a CRC of 2.
inline constexpr int BitsPerCharacter = 11;
inline constexpr int RtuFrameOverhead = 3;

} // namespace modbus
