// The module's parameters as data: for each one the form field that shows
// it, the key it is kept under in a settings file, and the value the module
// holds after a factory reset. The window (field lookup, highlighting, the
// clearing at scan start, saving and loading) and the simulated module read
// this table.
#pragma once

#include "protocoltables.h"

namespace proto {

struct Parameter {
    Param param;
    const char *field; // object name of the form widget
    Kind kind;
    // Position among the highlighted fields, in the order their highlights
    // are cleared; -1 for the version, which is not one of them.
    int highlight;
    // Section (ClientSection, nullptr: the general one) and key in a
    // settings file; no key: not kept in files.
    const char *section;
    const char *key;
    // The factory value, as a query replies it: the text, or for a list the
    // combo box index of its reply word. A settings file gets it for an
    // empty field or a list on its blank entry.
    const char *factoryText;
    int factoryIndex;
    // The simulated module's name for it (state file, --refuse).
    const char *name;
    // Starting a scan empties the field but leaves its style.
    bool scanKeepsStyle;
};

// The settings file's section of the TCP client's parameters.
constexpr char ClientSection[] = "Client_TCP";

// In the order of a settings file's rows; the two read-only parameters,
// which no file keeps, come last.
constexpr int FileParamCount = 13;
extern const Parameter parameters[ParamCount];

const Parameter &parameter(Param p);
inline Kind kindOf(Param p) { return parameter(p).kind; }
// The factory value as a query replies it.
const char *factoryValue(Param p);

} // namespace proto
