#include "app/OptionsSummary.h"

namespace quorlin {

void BuildOptsSummary(TAppState& app) {
  const TOptionControls& c = app.Controls;
  std::string text;
  for (const TCheckBox& box : c.PrPanPreferences)
    if (box.Checked) text += std::string(PrefNames[static_cast<size_t>(box.Tag)]) + " ";
  for (size_t i = 0; i < c.DpCkDpS.size(); ++i)
    if (c.DpCkDpS[i]) text += "Dps" + std::to_string(i + 1) + " ";
  for (bool checked : c.DpCkDpDln)
    if (checked) {
      text += "Dpln ";
      break;
    }
  if (app.BatchMode) {
    if (app.NewLogOpt) text += "Nwlg ";
    if (app.NoWaitOpt) text += "NoWt ";
    if (app.NoShowOpt) text += "NoSh ";
    if (app.NslgOpt) text += "Nbts ";
    if (app.AppendOpt) text += "Apnd ";
  }
  if (c.DpRadioGroup1 > 0 && c.DpRadioGroup1 < DpCount)
    text += std::string(DpNames[static_cast<size_t>(c.DpRadioGroup1)]) + " ";
  if (text.empty()) text = "None";
  app.Controls.MnlblOptsUsed = text.substr(0, 255);
}

} // namespace quorlin
