// The simulated gateway module's logic: parameters, value checks, replies
// and persistence. It knows nothing of terminals or timing; the terminal loop
// (ptyloop.*) feeds it one command line at a time.
//
// Every protocol text (query keywords, change prefixes, choice words,
// action commands, acknowledgement words), the factory values and the
// parameters' names come from the parameter table (parameters.h) and
// protocoltables.h.
#pragma once

#include "protocoltables.h"

#include <array>
#include <set>
#include <string>

class GatewayModule
{
public:
    enum class Action {
        None,         // nothing beyond the reply
        Reboot,       // "reset" / "RESET": restart with the stored values
        FactoryReset, // "LOAD SETTING:DEFAULT": factory values stored, restart
    };

    // What one command line is, as the module understood it.
    enum class LineKind { Query, Change, Action, Unknown };

    struct Result {
        std::string reply;            // bytes to send back (may be empty)
        Action action = Action::None;
        LineKind kind = LineKind::Unknown;
        const proto::Parameter *change = nullptr; // the parameter changed, for LineKind::Change
        bool accepted = false;        // change taken (LineKind::Change only)
    };

    struct Options {
        char separator = ' ';                // between echoed query text and value
        std::string ack = proto::AckOk;      // acknowledgement of a taken change
        std::set<proto::Param> refused;      // changes always refused with "?"
        std::string statePath;               // key=value state file, empty: none
        std::string mac;                     // the MAC address reported, empty: the factory one
    };

    GatewayModule();
    explicit GatewayModule(Options options);

    // Handles one received command line (exactly the bytes that arrived).
    Result handle(const std::string &line);

    // Current (stored) value of a parameter, as a query replies it.
    std::string value(proto::Param p) const;
    // Checks a change value the way the module does; on success stores the
    // reply form of the value (e.g. "SERVER" -> "server", "1" -> "odd") and
    // saves the state file. Does not look at the refused set.
    bool change(proto::Param p, const std::string &wireValue);
    // Back to the factory values (and saves the state file).
    void factoryReset();

    // State file: key=value lines, keys from paramKey(). Loading a missing
    // file leaves the factory values; invalid lines are skipped.
    bool load();
    bool save() const; // atomic: temp file + rename
    const Options &options() const { return opts; }
    Options &options() { return opts; }

    // Checks a change value and gives its stored (reply) form.
    static bool validate(proto::Param p, const std::string &wireValue, std::string *stored);
    static std::string factoryValue(proto::Param p);
    // Name of a parameter in the state file and for --refuse ("ip", "port_tcp", ...).
    static const char *paramKey(proto::Param p);
    // --refuse KEY: a parameter key (case-insensitive), a change prefix
    // ("CHANGE IP:") or a change prefix without its colon.
    static bool paramFromRefuseKey(const std::string &key, proto::Param *p);
    // The firmware version and MAC reported (read only).
    static const char *macAddress();
    static const char *firmwareVersion();

private:
    // Every value as the factory set it, the MAC address as the options give it.
    void setFactoryValues();

    Options opts;
    std::array<std::string, proto::ParamCount> values;
};
