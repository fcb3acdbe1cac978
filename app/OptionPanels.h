// The toolkit-free logic of the main window's tabs and the option panels:
// Reset, the Subc entry check, the controls kept on entering an option tab
// for its Cancel, the cancel mark and the tab-change rules that rebuild the
// options summary.
#pragma once

#include "state/Controls.h"

#include <array>
#include <string>
#include <string_view>

namespace quorlin {

/// Tabs of the main window's notebook, in order.
enum TMainTab : int { TabMain, TabFileSelect, TabPreferences, TabDpOptions, TabAbout, TabOverView };

/// What happens when the user asks for another tab.
enum class TTabAction {
  Refused,       ///< not allowed (batch mode): the tab stays
  Changed,       ///< the new tab is shown
  ShowHelp,      ///< OverView: show the user guide; the tab stays
  PrepareFiles,  ///< File Select: prepare the tab from the file names, then show it
};

/// State of the tab rules, kept by the main window.
struct TTabState {
  int Current = TabMain;
  bool CancelMark = false; ///< set by Cancel; the next tab change clears it
  TOptionControls Entry;   ///< the controls when Preferences or Dp Options was entered
};

/// PrButReset: unchecks every check box of the Preferences panel; entries
/// (ranges, Subc, Xtab width) keep their texts.
void PrButReset(TOptionControls& controls);

/// The Subc entry check when PrEdSubC loses the focus: the entry must hold
/// one character between double quotes. Returns the corrected text.
std::string CheckSubcText(std::string_view text);

/// The tab-change rules: batch mode allows only Main Panel, About and
/// OverView; entering Preferences or Dp Options keeps the controls for
/// Cancel; leaving Preferences rebuilds the options summary; leaving Dp
/// Options rebuilds it unless the cancel mark is set; the mark is cleared by
/// the change that sees it.
TTabAction ChangeTab(TAppState& app, TTabState& tabs, int newTab);

/// Cancel on Preferences or Dp Options: puts back every control the tab
/// held when it was entered (and the summary of then), sets the cancel mark
/// and goes to the Main Panel.
void CancelOptions(TAppState& app, TTabState& tabs);

} // namespace quorlin
