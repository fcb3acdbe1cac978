#include "app/FileHistory.h"

#include "platform/AppDir.h"

#include <algorithm>

namespace quorlin {

void AddToHistory(std::vector<std::string>& items, std::string& text, const std::string& name) {
  if (!FileExists(name)) return;
  if (!items.empty() && items.front() == name) return;
  std::erase(items, name);
  items.insert(items.begin(), name);
  text = name;
}

std::string ReturnQuestion(const std::string& newName, const std::string& oldName,
                           const std::string& newOnEntry, const std::string& oldOnEntry) {
  const bool newSame = newName == newOnEntry;
  const bool oldSame = oldName == oldOnEntry;
  std::string question;
  if (newSame && oldSame)
    question = "The New and Old File Input File Names - \"" + newName + "\" and \"" + oldName +
               "\" remain";
  else if (newSame)
    question = "The New File Input File Name - \"" + newName + "\" remains";
  else if (oldSame)
    question = "The Old File Input File Name - \"" + oldName + "\" remains";
  else
    return {};
  return question + " the same as upon entry.  Exit anyway?";
}

TDropTarget DropFiles(const std::vector<std::string>& files, int dropY, int oldComboTop) {
  TDropTarget target;
  if (files.size() >= 2) {
    target.NewName = files[0];
    target.OldName = files[1];
  } else if (files.size() == 1) {
    (dropY >= oldComboTop ? target.OldName : target.NewName) = files[0];
  }
  return target;
}

} // namespace quorlin
