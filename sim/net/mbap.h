// Modbus TCP frames on the simulated module's sockets, read and written by
// hand on protocol/modbus.h's MBAP header: one reader and one writer for
// the server side and the client side alike.
#pragma once

#include <string>

struct MbapFrame {
    unsigned transaction = 0;
    int unit = 0;
    std::string pdu;
};

enum class MbapTake {
    Frame,     // a whole frame taken off the buffer
    NeedMore,  // the buffer holds no whole frame yet
    NotModbus, // the buffer starts with a header no Modbus TCP frame has
};

// Takes the frame at the front of `buffer` into `frame`. With NeedMore and
// NotModbus the buffer is left as it was.
MbapTake takeMbapFrame(std::string &buffer, MbapFrame *frame);
// The frame of `pdu` for `unit`, with transaction `transaction`.
std::string mbapFrame(unsigned transaction, int unit, const std::string &pdu);
// Bytes in hex as the log writes them: "03 00 00 00 02".
std::string hexBytes(const std::string &bytes);
// A frame as the log tells it: "tid T unit U pdu 03 00 00 00 02".
std::string frameText(unsigned transaction, int unit, const std::string &pdu);
