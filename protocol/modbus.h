// Modbus facts that gateway-cli's network check and the simulated module's
// network side both rely on: plain C++, so that the simulator (which frames
// Modbus TCP by hand) and gateway-cli (which uses Qt SerialBus) take their
// limits from one place.
#pragma once

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

// A character on an RTU line takes 11 bits (start, 8 data, parity or a
// second stop bit, stop); an RTU frame is the unit, the PDU and a CRC of 2.
inline constexpr int BitsPerCharacter = 11;
inline constexpr int RtuFrameOverhead = 3;

} // namespace modbus
