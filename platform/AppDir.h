// Where the program keeps its files: the user settings ini Quorln32.ini and
// the batch log Quorln32.log.
#pragma once

#include <string>

namespace quorlin {

/// The directory of the running program (AppDir), without a trailing slash.
std::string ProgramDirectory();

/// The directory for the settings ini and the batch log: $QUORLIN_HOME when
/// set; else the program directory when it is writable; else
/// $XDG_CONFIG_HOME/quorlin (default ~/.config/quorlin), created when missing.
std::string DataDirectory();

/// True when path names an existing regular file.
bool FileExists(const std::string& path);

} // namespace quorlin
