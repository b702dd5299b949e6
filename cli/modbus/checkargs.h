#pragma once

#include <QModbusDataUnit>
#include <QString>
#include <QStringList>
#include <QVector>

#include "modbus.h"

// What a network check asks for, parsed from the command line or a plan's
// cell: the reads (`KIND:ADDRESS[:COUNT]`, `UNIT:KIND:ADDRESS[:COUNT]`),
// the host and port, the unit. Each refusal says which part is wrong.
namespace checkargs {

// The four tables a read takes from, each by the function code that reads
// it (its word and width: modbus::tables).
enum class Kind : unsigned char {
    HoldingRegisters = modbus::ReadHoldingRegisters,
    InputRegisters = modbus::ReadInputRegisters,
    Coils = modbus::ReadCoils,
    DiscreteInputs = modbus::ReadDiscreteInputs,
};

struct Read {
    int unit = 1;
    Kind kind = Kind::HoldingRegisters;
    int address = 0;
    int count = 1;
};

// The word of a kind as the command line writes it: hr, ir, coil, di.
QString kindWord(Kind kind);
// Whether a kind reads bits (coils, discrete inputs) or registers.
bool isBits(Kind kind);
// The table of a kind as Qt SerialBus names it.
QModbusDataUnit::RegisterType registerType(Kind kind);
// "hr:0:2", as the command line writes it.
QString readText(const Read &read);

// `KIND:ADDRESS[:COUNT]` for the unit given, KIND in any case. False with
// `fault` set.
bool parseRead(const QString &text, int unit, Read *read, QString *fault);
// Several `UNIT:KIND:ADDRESS[:COUNT]`, separated by blanks (a plan's check
// cell). False with one line in `faults` for each bad one.
bool parseUnitReads(const QString &text, QVector<Read> *reads, QStringList *faults);
// `HOST[:PORT]`, the port 502 when not given, blanks around it ignored;
// HOST an IPv4 address or a host name (a module has no IPv6 address).
// False with `fault` set.
bool parseHostPort(const QString &text, QString *host, int *port, QString *fault);
// A unit address 1-247. False with `fault` set.
bool parseUnit(const QString &text, int *unit, QString *fault);
// Unit addresses as a list and ranges ("1-32", "1,5,10-20"), each 1-247,
// in the order given, each once. False with `fault` set.
bool parseUnits(const QString &text, QVector<int> *units, QString *fault);

} // namespace checkargs
