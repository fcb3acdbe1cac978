// The user settings ini: section "Quorln32" of an ini file keeps the file
// names and histories, the options and the viewers' state between runs.
#pragma once

#include "state/Controls.h"

#include <string>

namespace quorlin {

/// Name of the default user settings file in the data directory.
inline constexpr const char* UserIniName = "Quorln32.ini";
/// Status text after a user settings file was loaded.
inline constexpr const char* MsgEnterFileNames =
    "    Enter file names, set options, then press Start Compare Button";
/// Error of the Sv User Ini and Load User Ini dialogs.
inline constexpr const char* MsgIniExtension = "Must specify a file with an .ini extension";

/// SaveUserIni: rewrites section "Quorln32" of app.Settings.FileName with the
/// current values, in the fixed key order; other sections of the file and
/// the lines before the first section are kept, and the section takes the
/// place of the old one (matched without regard to case). Lines end in CR LF.
/// A value that reading would alter (blanks at either end, enclosing double
/// quotes) is written between double quotes; a value holding a line break
/// or another control character is left out. The file is replaced through a new file beside it, so a failed
/// save leaves the old file as it was. Returns false (with a reason in error)
/// when no file name is known, when an existing file cannot be read, or when
/// the file cannot be written.
bool SaveUserIni(TAppState& app, std::string& error);

/// LoadUserIni: reads section "Quorln32" of app.Settings.FileName into the
/// option controls and settings, then normalises them (histories of existing
/// files only, the options summary restored from "OptsUsed", the Subc entry,
/// New compare range 1). A line that cannot be used (no "=", an unknown key,
/// control characters, more than 8,192 characters, an unusable value) is
/// skipped. Returns false when the file cannot be read; a file without the
/// section changes nothing. The front end then shows or hides the hints as
/// "Turn off All Panel Hints" says, disables View Latest Results and shows
/// MsgEnterFileNames.
bool LoadUserIni(TAppState& app);

/// The reset before Load User Ini: every preference, Dln and Dps box and the
/// Main Panel check boxes unchecked, entries back to their defaults, DP option
/// None, summary "None". File names, user-defined comment strings, listing
/// type and the File Select no-warn box keep their values.
void ResetBeforeLoad(TAppState& app);

} // namespace quorlin
