// gateway-sim's options (README.md) into its configuration.
#pragma once

#include "ptyloop.h"

#include <string>
#include <vector>

// The options after the program's name (args[0]) into `config`; `help`
// set when the usage is asked for. False, with `fault` set, when one is
// unknown or its argument is missing or wrong.
bool parseOptions(const std::vector<std::string> &args, SimConfig *config, bool *help, std::string *fault);
