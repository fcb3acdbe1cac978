#include "app/FileSelect.h"

#include "app/FileHistory.h"
#include "platform/AppDir.h"

#include <filesystem>

namespace quorlin {

namespace {

/// name made absolute when it names an existing file by a relative path.
std::string Expanded(const std::string& name) {
  if (name.empty() || name.front() == '/' || !FileExists(name)) return name;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(name, error);
  return error ? name : full.lexically_normal().string();
}

} // namespace

TNameSide NewSide(TOptionControls& c) {
  return {c.MnCbNewFileNm, c.MnCbNewFileNmItems, c.FsTcNewFileNm, c.FsTcNewFileNmItems};
}

TNameSide OldSide(TOptionControls& c) {
  return {c.MnCbOldFileNm, c.MnCbOldFileNmItems, c.FsTcOldFileNm, c.FsTcOldFileNmItems};
}

TFileSelectEntry EnterFileSelect(TOptionControls& c) {
  TFileSelectEntry entry;
  c.MnCbNewFileNm = Expanded(c.MnCbNewFileNm);
  c.MnCbOldFileNm = Expanded(c.MnCbOldFileNm);
  entry.NewOnEntry = c.MnCbNewFileNm;
  entry.OldOnEntry = c.MnCbOldFileNm;
  const bool newThere = FileExists(c.MnCbNewFileNm);
  const bool oldThere = FileExists(c.MnCbOldFileNm);
  if (newThere) {
    AddToHistory(c.FsTcNewFileNmItems, c.FsTcNewFileNm, c.FsTcNewFileNm);
    entry.PointAt = c.MnCbNewFileNm;
  }
  if (oldThere) {
    AddToHistory(c.FsTcOldFileNmItems, c.FsTcOldFileNm, c.FsTcOldFileNm);
    if (!newThere) entry.PointAt = c.MnCbOldFileNm;
  }
  c.FsTcNewFileNm = c.MnCbNewFileNm;
  c.FsTcOldFileNm = c.MnCbOldFileNm;
  return entry;
}

void UseSelectedName(TNameSide side, const std::string& selected) {
  AddToHistory(side.MainItems, side.MainText, side.MainText);
  AddToHistory(side.TabItems, side.TabText, side.TabText);
  side.MainText = selected;
  side.TabText = selected;
}

void DropSelectedName(TNameSide side, const std::string& selected) {
  AddToHistory(side.TabItems, side.TabText, side.TabText);
  AddToHistory(side.TabItems, side.TabText, selected);
  AddToHistory(side.MainItems, side.MainText, side.MainText);
  side.TabText = selected;
  side.MainText = selected;
}

bool TabNameChanged(TNameSide side, const std::string& name) {
  if (!FileExists(name)) return false;
  AddToHistory(side.TabItems, side.TabText, name);
  AddToHistory(side.MainItems, side.MainText, side.MainText);
  side.MainText = name;
  return true;
}

} // namespace quorlin
