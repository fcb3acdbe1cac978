// The File Select tab's rules: entering the tab from the Main Panel names,
// the To Main buttons, a file dragged from the tab's file list onto a name,
// and a name typed into one of the tab's combos. Each works on one side
// (New or Old): the Main Panel combo and the tab's combo with their histories.
#pragma once

#include "state/Controls.h"

#include <string>

namespace quorlin {

/// One side of the names: the Main Panel combo and the File Select combo.
struct TNameSide {
  std::string& MainText;
  std::vector<std::string>& MainItems;
  std::string& TabText;
  std::vector<std::string>& TabItems;
};
TNameSide NewSide(TOptionControls& controls);
TNameSide OldSide(TOptionControls& controls);

/// What entering the File Select tab decided.
struct TFileSelectEntry {
  std::string NewOnEntry, OldOnEntry; ///< the names as Return and Cancel compare and restore them
  std::string PointAt; ///< the file the file list shows; empty: the program's own folder and its first file
};

/// Entering the File Select tab: names of existing files that are relative
/// are made absolute in the Main Panel combos (and kept as the names on
/// entry, since the user did not change them); the list points at the New
/// file, else at the Old file; the tab's histories take their combos' texts
/// on the way; the tab's combos then show the Main Panel names.
TFileSelectEntry EnterFileSelect(TOptionControls& controls);

/// To Main New (or Old) Filename: both combos' texts go into their
/// histories, then both combos show selected.
void UseSelectedName(TNameSide side, const std::string& selected);

/// A file dragged from the tab's file list and dropped on the tab's combo or
/// its To Main button: the tab combo's text and then selected go into the
/// tab's history, the Main Panel text into its history, and both combos
/// show selected.
void DropSelectedName(TNameSide side, const std::string& selected);

/// The text of one of the tab's combos changed to name: when it names an
/// existing file it goes into the tab's history, the Main Panel text into
/// its history, and the Main Panel combo shows name. Returns whether name
/// named an existing file (the file list then points at it).
bool TabNameChanged(TNameSide side, const std::string& name);

} // namespace quorlin
