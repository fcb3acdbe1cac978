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

#include <unistd.h>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

/// One kept field of two states: its name and whether the two agree.
struct TField {
  const char* Name;
  std::string A, B;
};

std::string Joined(const std::vector<std::string>& items, size_t most) {
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

std::string Geometry(const TViewerGeometry& g) { return g.Top + "," + g.Left + "," + g.Height + "," + g.Width; }

std::vector<TField> KeptFields(const TAppState& a, const TAppState& b) {
  const TOptionControls &x = a.Controls, &y = b.Controls;
  const TUserSettings &s = a.Settings, &t = b.Settings;
  std::vector<TField> f = {
      {"NewFileNm", x.MnCbNewFileNm, y.MnCbNewFileNm},
      {"OldFileNm", x.MnCbOldFileNm, y.MnCbOldFileNm},
      {"NFCombo", Joined(x.MnCbNewFileNmItems, 10), Joined(y.MnCbNewFileNmItems, 99)},
      {"OFCombo", Joined(x.MnCbOldFileNmItems, 10), Joined(y.MnCbOldFileNmItems, 99)},
      {"FsNFCombo", Joined(x.FsTcNewFileNmItems, 10), Joined(y.FsTcNewFileNmItems, 99)},
      {"FsOFCombo", Joined(x.FsTcOldFileNmItems, 10), Joined(y.FsTcOldFileNmItems, 99)},
      {"ListType", x.MnCbListType, y.MnCbListType},
      {"SubC", x.PrEdSubC, y.PrEdSubC},
      // The combo's items carry a blank before the digit; the file keeps the digit.
      {"XTab", TrimBlanks(x.PrCbXTab), TrimBlanks(y.PrCbXTab)},
      {"OptsUsed", x.MnlblOptsUsed, y.MnlblOptsUsed},
      {"boxes and DP option", Flags(x), Flags(y)},
      {"DpEdUdc", x.DpEdUdc + "\x1f" + x.DpEdUdc2 + "\x1f" + x.DpEdUdc3 + "\x1f" + x.DpCbUdcYN,
       y.DpEdUdc + "\x1f" + y.DpEdUdc2 + "\x1f" + y.DpEdUdc3 + "\x1f" + y.DpCbUdcYN},
      {"Dps", Joined({x.DpEdS.begin(), x.DpEdS.end()}, 9), Joined({y.DpEdS.begin(), y.DpEdS.end()}, 9)},
      {"DpEdDpDLn", Joined({x.DpEdDpDln.begin(), x.DpEdDpDln.end()}, 9),
       Joined({y.DpEdDpDln.begin(), y.DpEdDpDln.end()}, 9)},
      {"CmpStCol", Joined({x.PrEdCcolNw.begin(), x.PrEdCcolNw.end()}, 9),
       Joined({y.PrEdCcolNw.begin(), y.PrEdCcolNw.end()}, 9)},
      {"CmpOStCol", Joined({x.PrEdCcolOd.begin(), x.PrEdCcolOd.end()}, 9),
       Joined({y.PrEdCcolOd.begin(), y.PrEdCcolOd.end()}, 9)},
      {"PartLmt", x.PrEdNewLmt + "\x1f" + x.PrEdOldlmt, y.PrEdNewLmt + "\x1f" + y.PrEdOldlmt},
      {"Top/Left", s.Top + "," + s.Left, t.Top + "," + t.Left},
      {"boxes", std::to_string(s.MnCkViewResults) + std::to_string(s.MnCkTurnOffHint) +
                    std::to_string(s.FsCkNoWarnNoFileChg),
       std::to_string(t.MnCkViewResults) + std::to_string(t.MnCkTurnOffHint) + std::to_string(t.FsCkNoWarnNoFileChg)},
      {"VL1", Geometry(s.Single), Geometry(t.Single)},
      {"VL2", Geometry(s.Dual), Geometry(t.Dual)},
      {"VH2", Geometry(s.Horizontal), Geometry(t.Horizontal)},
      {"SpSplit", s.SpSplit + "," + s.SpSplit2, t.SpSplit + "," + t.SpSplit2},
      {"font sizes", s.LBx1FontSz + "," + s.Pr1FontSz + "," + s.LBx2FontSz + "," + s.Pr2FontSz,
       t.LBx1FontSz + "," + t.Pr1FontSz + "," + t.LBx2FontSz + "," + t.Pr2FontSz},
      {"OutFn", s.OutFn, t.OutFn},
      {"SbsRp", std::to_string(s.SbsRp), std::to_string(t.SbsRp)},
  };
  return f;
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
  const std::string saved = ReadWholeFile(path);

  TAppState second(ui);
  second.Settings.FileName = path;
  FUZZ_CHECK(LoadUserIni(second), "the saved file could not be loaded");
  for (const TField& f : KeptFields(first, second))
    FUZZ_CHECK(f.A == f.B, std::string(f.Name) + " changed by a save and a load:\n'" + f.A + "'\n'" + f.B + "'");

  if (HistoriesFit(first.Controls)) {
    FUZZ_CHECK(SaveUserIni(second, error), "second save: " + error);
    const std::string again = ReadWholeFile(path);
    FUZZ_CHECK(again == saved, "a second save wrote other bytes:\n" + saved + "\n----\n" + again);
  }
  return 0;
}
