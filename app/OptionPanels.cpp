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
  if (newTab == TabPreferences || newTab == TabDpOptions) tabs.Entry = app.Controls;
  tabs.Current = newTab;
  return newTab == TabFileSelect ? TTabAction::PrepareFiles : TTabAction::Changed;
}

void CancelOptions(TAppState& app, TTabState& tabs) {
  if (tabs.Current == TabPreferences || tabs.Current == TabDpOptions) app.Controls = tabs.Entry;
  tabs.CancelMark = true;
  ChangeTab(app, tabs, TabMain);
}

} // namespace quorlin
