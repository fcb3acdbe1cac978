// File-name histories of the combo boxes, the File Select tab's Return
// question and the rules for files dropped on the main window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorlin {

/// Adds name to a combo's history (AddToHistory): only when it names an
/// existing file; nothing changes when it is already first; otherwise it is
/// put first and an older occurrence removed. The combo's text becomes name.
/// Names are compared exactly (file names here are case-sensitive).
void AddToHistory(std::vector<std::string>& items, std::string& text, const std::string& name);

/// The question asked when the File Select tab is left with Return while one
/// or both file names are as they were on entry; empty when both changed.
std::string ReturnQuestion(const std::string& newName, const std::string& oldName,
                           const std::string& newOnEntry, const std::string& oldOnEntry);

/// Where files dropped on the main window go.
struct TDropTarget {
  std::optional<std::string> NewName, OldName;
};

/// Two or more files: the first is the New name, the second the Old name, the
/// rest are ignored. One file: the Old name when dropped at or below the top
/// edge of the Old combo (dropY >= oldComboTop), else the New name.
TDropTarget DropFiles(const std::vector<std::string>& files, int dropY, int oldComboTop);

} // namespace quorlin
