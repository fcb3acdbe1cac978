#include "app/OptionPanels.h"

#include "app/OptionsSummary.h"

namespace quorlin {

void PrButReset(TOptionControls& controls) {
  for (TCheckBox& box : controls.PrPanPreferences) box.Checked = false;
}

std::string CheckSubcText(std::string_view text) {
  if (text.empty()) return "\".\"";
  // A proper entry is one character between two double quotes.
  if (text.size() == 3 && text.front() == '"' && text.back() == '"') return std::string(text);
  char chosen = text.front() == '"' ? (text.size() > 1 ? text[1] : '.') : text.front();
  return std::string("\"") + chosen + "\"";
}

TTabAction ChangeTab(TAppState& app, TTabState& tabs, int newTab) {
  if (newTab == tabs.Current) return TTabAction::Changed;
  if (app.BatchMode && newTab != TabMain && newTab != TabAbout && newTab != TabOverView)
    return TTabAction::Refused;
  if (newTab == TabOverView) return TTabAction::ShowHelp;

  const int leaving = tabs.Current;
  if (leaving == TabPreferences) BuildOptsSummary(app);
  if (leaving == TabDpOptions && !tabs.CancelMark) BuildOptsSummary(app);
  tabs.CancelMark = false;
  if (newTab == TabPreferences)
    for (size_t k = 0; k < tabs.Snapshot.size(); ++k)
      tabs.Snapshot[k] = app.Controls.PrPanPreferences[k].Checked;
  tabs.Current = newTab;
  return newTab == TabFileSelect ? TTabAction::PrepareFiles : TTabAction::Changed;
}

void CancelOptions(TAppState& app, TTabState& tabs) {
  tabs.CancelMark = true;
  ChangeTab(app, tabs, TabMain);
}

void RestoreSnapshot(TOptionControls& controls, const TTabState& tabs) {
  for (size_t k = 0; k < tabs.Snapshot.size(); ++k)
    controls.PrPanPreferences[k].Checked = tabs.Snapshot[k];
}

} // namespace quorlin
