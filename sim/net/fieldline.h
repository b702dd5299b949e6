// The simulated module's RS-485 line and the field devices on it: which
// device answers a request for a unit, what it answers, and how long the
// transaction keeps the line. Plain C++, no sockets and no clock: the
// network side (netbridge.*) asks and schedules.
//
// A device has addresses 0-999 in each of its four tables, with values
// that are a function of its unit U and the address A:
//   holding register A = (1000 x U + A) mod 65536   (unit 1: hr:0 is 1000)
//   input register A   = (1000 x U + A + 500) mod 65536
//   coil A             = 1 when U + A is odd, else 0
//   discrete input A   = 1 when U + A is even, else 0
// It answers reads (functions 1-4) only: another function gets exception
// 0x01, an address beyond 999 0x02, a count of 0 or more than 125
// registers or 2000 bits 0x03.
#pragma once

#include <string>
#include <vector>

struct FieldDevice {
    int unit = 1;
    int speed = 9600;
    std::string parity = "none"; // none, odd or even, as the module's parity is written
    std::string stopBits = "1";
};

class FieldLine
{
public:
    // The module's side of the line, from its parameters.
    struct Settings {
        int speed = 9600;
        std::string parity = "none";
        std::string stopBits = "1";
        int timeoutResponseMs = 1000;
    };
    // What the module gets for a request: the reply PDU and how long the
    // line was busy with it, in microseconds.
    struct Transaction {
        std::string pdu;
        long long lineUs = 0;
        bool deviceAnswered = false;
    };

    static constexpr int DeviceAddresses = 1000;

    // --field UNIT@SPEED/PARITY/STOP; false with `fault` set.
    static bool parseDevice(const std::string &text, FieldDevice *device, std::string *fault);
    void add(const FieldDevice &device) { devices.push_back(device); }
    bool empty() const { return devices.empty(); }

    // A request for `unit` sent on the line at the module's settings. A
    // device of that unit with the same speed, parity and stop bits
    // answers, after the frame time of the request and the reply; otherwise
    // the module answers 0x0B once its response time-out has passed. A unit
    // outside 1-247 gets 0x0A at once: the module has no path to it.
    Transaction transact(int unit, const std::string &pdu, const Settings &line) const;

    // A device's reply PDU to a request PDU.
    static std::string deviceReply(int unit, const std::string &pdu);
    // The time that `bytes` characters take on the line at `speed` baud.
    static long long frameUs(int bytes, int speed);
    static std::string exception(unsigned char function, unsigned char code);

private:
    std::vector<FieldDevice> devices;
};
