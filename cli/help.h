#pragma once

#include <QString>

namespace cli {

// The text of --help: the program's (an empty command) or a command's.
// Empty for a command that does not exist.
QString helpText(const QString &command);

} // namespace cli
