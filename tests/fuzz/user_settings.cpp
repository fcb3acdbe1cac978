// Fuzz target: the user settings ini. The input is a settings file.
//
// Invariants: LoadUserIni reads any bytes without a crash; SaveUserIni
// then writes the loaded settings back into the same file, and loading that
// file into a fresh state gives the same settings: every field of the option
// controls and the user settings that the file keeps. What it does not keep:
// the File Select tab's current names, "Bypass Ini Update On Exit", and of
// each history only entries 0 to 9 come back. Saving the reloaded settings
// again writes the same bytes.
//
// The scratch folder is the current folder and holds files "a", "b" and
// "c.txt", so that histories of existing files can be loaded.
#include "FuzzSupport.h"

#include "app/UserSettings.h"
#include "platform/FrontEnd.h"
#include "platform/Text.h"

#include <array>
#include <unistd.h>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

/// Items joined with a separator that no ini value holds; of a history the
/// first `most` entries.
template <class TItems>
std::string Joined(const TItems& items, size_t most = 99) {
  std::string out;
  for (size_t k = 0; k < items.size() && k < most; ++k) out += items[k] + "\x1f";
  return out;
}

std::string Flags(const TOptionControls& c) {
  std::string out;
  for (const TCheckBox& box : c.PrPanPreferences) out += box.Checked ? '1' : '0';
  out += '|';
  for (bool on : c.DpCkDpS) out += on ? '1' : '0';
  out += '|';
  for (bool on : c.DpCkDpDln) out += on ? '1' : '0';
  return out + "|" + std::to_string(c.DpRadioGroup1);
}

std::string Geometry(const TViewerGeometry& g) { return Joined(std::array{g.Top, g.Left, g.Height, g.Width}); }

/// The fields of a state that the file keeps, each as a name and a text; of
/// each history the first `most` entries.
std::vector<std::pair<const char*, std::string>> KeptFields(const TAppState& a, size_t most) {
  const TOptionControls& x = a.Controls;
  const TUserSettings& s = a.Settings;
  return {
      {"NewFileNm", x.MnCbNewFileNm},
      {"OldFileNm", x.MnCbOldFileNm},
      {"NFCombo", Joined(x.MnCbNewFileNmItems, most)},
      {"OFCombo", Joined(x.MnCbOldFileNmItems, most)},
      {"FsNFCombo", Joined(x.FsTcNewFileNmItems, most)},
      {"FsOFCombo", Joined(x.FsTcOldFileNmItems, most)},
      {"ListType", x.MnCbListType},
      {"SubC", x.PrEdSubC},
      // The combo's items carry a blank before the digit; the file keeps the digit.
      {"XTab", TrimBlanks(x.PrCbXTab)},
      {"OptsUsed", x.MnlblOptsUsed},
      {"boxes and DP option", Flags(x)},
      {"DpEdUdc", Joined(std::array{x.DpEdUdc, x.DpEdUdc2, x.DpEdUdc3, x.DpCbUdcYN})},
      {"Dps", Joined(x.DpEdS)},
      {"DpEdDpDLn", Joined(x.DpEdDpDln)},
      {"CmpStCol", Joined(x.PrEdCcolNw)},
      {"CmpOStCol", Joined(x.PrEdCcolOd)},
      {"PartLmt", Joined(std::array{x.PrEdNewLmt, x.PrEdOldlmt})},
      {"Top/Left", Joined(std::array{s.Top, s.Left})},
      {"boxes", std::to_string(s.MnCkViewResults) + std::to_string(s.MnCkTurnOffHint) +
                    std::to_string(s.FsCkNoWarnNoFileChg)},
      {"VL1", Geometry(s.Single)},
      {"VL2", Geometry(s.Dual)},
      {"VH2", Geometry(s.Horizontal)},
      {"SpSplit", Joined(std::array{s.SpSplit, s.SpSplit2})},
      {"font sizes", Joined(std::array{s.LBx1FontSz, s.Pr1FontSz, s.LBx2FontSz, s.Pr2FontSz})},
      {"OutFn", s.OutFn},
      {"SbsRp", std::to_string(s.SbsRp)},
  };
}

bool HistoriesFit(const TOptionControls& c) {
  return c.MnCbNewFileNmItems.size() <= 10 && c.MnCbOldFileNmItems.size() <= 10 &&
         c.FsTcNewFileNmItems.size() <= 10 && c.FsTcOldFileNmItems.size() <= 10;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    for (const char* name : {"a", "b", "c.txt"}) WriteWorkFile(name, "x\n");
    if (::chdir(WorkDir().c_str()) != 0) Fail("chdir", WorkDir());
    return true;
  }();
  (void)ready;
  const std::string path =
      WriteWorkFile("settings.ini", std::string_view(reinterpret_cast<const char*>(data), size));

  TSilentFrontEnd ui;
  TAppState first(ui);
  first.Settings.FileName = path;
  FUZZ_CHECK(LoadUserIni(first), "a readable file could not be loaded");
  std::string error;
  FUZZ_CHECK(SaveUserIni(first, error), "save: " + error);
  const std::string saved = ReadBytes(path);

  TAppState second(ui);
  second.Settings.FileName = path;
  FUZZ_CHECK(LoadUserIni(second), "the saved file could not be loaded");
  const auto a = KeptFields(first, 10), b = KeptFields(second, 99);
  for (size_t k = 0; k < a.size(); ++k)
    FUZZ_CHECK(a[k].second == b[k].second,
               std::string(a[k].first) + " changed by a save and a load:\n'" + a[k].second + "'\n'" + b[k].second + "'");

  if (HistoriesFit(first.Controls)) {
    FUZZ_CHECK(SaveUserIni(second, error), "second save: " + error);
    const std::string again = ReadBytes(path);
    FUZZ_CHECK(again == saved, "a second save wrote other bytes:\n" + saved + "\n----\n" + again);
  }
  return 0;
}
