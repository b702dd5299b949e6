#include "parameters.h"

namespace proto {

const Parameter parameters[ParamCount] = {
    // param, field, kind, highlight, section, key, factory text and index, name, scan keeps style
    {Param::Ip, "lineEdit_ip", Kind::Text, 0, nullptr, "IP_ADRESS", "192.168.0.1", 0, "ip", false},
    {Param::Mask, "lineEdit_mask", Kind::Text, 5, nullptr, "MASK", "255.255.255.0", 0, "mask", false},
    {Param::Gateway, "lineEdit_gateway", Kind::Text, 9, nullptr, "GATEWAY", "0.0.0.0", 0, "gateway", false},
    {Param::PortTcp, "lineEdit_portTCP", Kind::Text, 6, nullptr, "PORT_TCP", "502", 0, "port_tcp", false},
    {Param::Speed, "comboBox_speed", Kind::Choice, 4, nullptr, "SPEED_RS485", nullptr, 4, "speed", false},
    {Param::StopBits, "comboBox_2", Kind::Choice, 3, nullptr, "STOP_BIT", nullptr, 1, "stop_bits", false},
    {Param::Parity, "comboBox", Kind::Choice, 2, nullptr, "PARITY", nullptr, 1, "parity", false},
    {Param::Mode, "comboBox_mode", Kind::Choice, 10, nullptr, "MODE_TCP", nullptr, 1, "mode", false},
    {Param::TimeoutResponse, "lineEdit_timewait", Kind::Text, 13, nullptr, "TIMEOUT_RESPONSE", "1000", 0,
     "timeout_response", true},
    {Param::IpServerTcp, "lineEdit_ipservertcp", Kind::Text, 1, ClientSection, "IP_SERVER_TCP", "192.168.0.10", 0,
     "ip_server_tcp", false},
    {Param::TimeoutTcp, "lineEdit_timeout", Kind::Text, 7, ClientSection, "TIMEOUT_TCP", "180", 0, "timeout_tcp",
     false},
    {Param::RtuVirtualId, "lineEdit_rtu_virtual_id", Kind::Text, 11, ClientSection, "RTU_VIRTUAL_ID", "1", 0,
     "rtu_virtual_id", true},
    {Param::TcpSlaveId, "lineEdit_tcp_id", Kind::SlaveId, 12, ClientSection, "TCP_SLAVE_ID", SlaveIdOff, 0,
     "tcp_slave_id", true},
    {Param::Version, "lineEdit_version", Kind::Text, -1, nullptr, nullptr, "2.0.1", 0, "version", false},
    {Param::Mac, "lineEdit_MAC", Kind::Text, 8, nullptr, nullptr, "02:00:00:00:00:01", 0, "mac", false},
};

const Parameter &parameter(Param p)
{
    for (const Parameter &row : parameters)
        if (row.param == p)
            return row;
    return parameters[0]; // not reached: every parameter has its row
}

const char *factoryValue(Param p)
{
    const Parameter &row = parameter(p);
    return row.kind == Kind::Choice ? choiceWordAt(replyChoices(p), row.factoryIndex) : row.factoryText;
}

} // namespace proto
