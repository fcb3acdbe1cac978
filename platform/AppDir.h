// Where the program keeps its files: the user settings ini Quorln32.ini and
// the batch log Quorln32.log.
#pragma once

#include <string>

namespace quorlin {

/// The directory of the running program (AppDir), without a trailing slash.
std::string ProgramDirectory();

/// The directory for the settings ini and the batch log: $QUORLIN_HOME when
/// set; else the program directory for a portable copy (one with a
/// Quorln32.ini already beside the program); else $XDG_CONFIG_HOME/quorlin
/// (default ~/.config/quorlin). An installed program never writes into its
/// bin folder. With create set (before a write) a missing directory is
/// created.
std::string DataDirectory(bool create = false);

/// True when path names an existing regular file.
bool FileExists(const std::string& path);

/// True when both names reach the same existing file (the same device and
/// inode): symbolic links, hard links and other spellings of a name count.
bool SameFile(const std::string& a, const std::string& b);

} // namespace quorlin
