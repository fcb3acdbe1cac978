// Toolkit-free model of the option controls that a compare run reads, and of
// the main window's run state. Batch steps, the user-settings ini, the tests
// and the desktop panels all write into these records; the compare set-up
// reads them at the start of every run.
#pragma once

#include "state/CompareCtl.h"
#include "platform/FrontEnd.h"
#include "platform/OutputFile.h"
#include "platform/StringList.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorlin {

/// Index of each preference in the option name table; also the tag of its
/// check box on the Preferences panel.
enum TPrefTag : int {
  TagIcas, TagRovr, TagFmvl, TagXdpl, TagFscl, TagIeof, TagLorl,
  TagSubc, TagNoss, TagXtab, TagSbsl, TagClnc, TagPcmp, TagCcol,
  PrefCount
};

/// Index of each DP option in the radio group and the DP name table.
enum TDpIndex : int {
  DpNone, DpDsem, DpDrem, DpDblk, DpDdlc, DpDdl2, DpDcpp, DpDvbc, DpDhtm, DpDcob, DpDudc, DpDud2,
  DpCount
};

/// Option names in tag order ("Icas" to "Ccol").
extern const std::array<const char*, PrefCount> PrefNames;
/// DP option names in radio-group order ("None" to "Dud2").
extern const std::array<const char*, DpCount> DpNames;

struct TCheckBox {
  const char* Name;    ///< control name, e.g. "PrCkIcas"
  const char* Caption; ///< option name the compare set-up recognises
  const char* Label;   ///< explanation shown beside the box
  int Tag;             ///< index in the option name table
  bool Checked = false;
};

/// The option controls of the Preferences and Dp Options panels and the
/// Main Panel boxes that the compare set-up reads, with their defaults.
struct TOptionControls {
  TOptionControls();

  /// Check boxes of PrPanPreferences in control (tag) order.
  std::array<TCheckBox, PrefCount> PrPanPreferences;
  std::string PrEdSubC = "\".\""; ///< Subc character between double quotes
  std::string PrCbXTab = " 4";    ///< Xtab width, items " 1" to " 8"
  std::string PrEdNewLmt = "1:eod", PrEdOldlmt = "1:eod";
  /// PrEdCcolNw1..4 and PrEdCcolOd1..4: compare-column ranges of NEW and OLD.
  std::array<std::string, 4> PrEdCcolNw{"1:eol", "", "", ""};
  std::array<std::string, 4> PrEdCcolOd{"1:eol", "", "", ""};

  /// Item index of DpRadioGroup1 (0 None .. 11 Dud2); -1 means no selection.
  int DpRadioGroup1 = 0;
  std::string DpEdUdc = "#";
  std::string DpCbUdcYN = "No";
  std::string DpEdUdc2 = "#";
  std::string DpEdUdc3 = "&&";
  /// DpCkDpS1..3 with DpEdS1..3: string-only filters.
  std::array<bool, 3> DpCkDpS{};
  std::array<std::string, 3> DpEdS;
  /// DpCkDpDLn1..4 with DpEdDpDln1..4: Dln conditions.
  std::array<bool, 4> DpCkDpDln{};
  std::array<std::string, 4> DpEdDpDln;

  std::string MnCbNewFileNm, MnCbOldFileNm;
  /// History lists of the two file-name combos, most recent first.
  std::vector<std::string> MnCbNewFileNmItems, MnCbOldFileNmItems;
  /// File Select tab: its own New and Old name combos with their histories.
  std::string FsTcNewFileNm, FsTcOldFileNm;
  std::vector<std::string> FsTcNewFileNmItems, FsTcOldFileNmItems;
  std::string MnCbListType = "Chng";
  std::string MnlblOptsUsed = "None";

  TCheckBox& Pref(int tag) { return PrPanPreferences[static_cast<size_t>(tag)]; }
  const TCheckBox& Pref(int tag) const { return PrPanPreferences[static_cast<size_t>(tag)]; }
  bool Checked(int tag) const { return Pref(tag).Checked; }
};

/// One alternative of a Dln condition: the string must start in a column from
/// First (1-based) up to Last (0: anywhere to the end of the line).
struct DlnAlternative {
  int First = 1;
  int Last = 0;
  std::string Text;
};
/// One accepted Dln text: a line matching any alternative is not processed.
using DlnCondition = std::vector<DlnAlternative>;

/// Position and size of a viewer window, each a text of at most 4 digits,
/// empty when never stored.
struct TViewerGeometry {
  std::string Top, Left, Height, Width;
};

/// What the user settings ini keeps besides the option controls: the Main
/// Panel check boxes, the main window position and the viewers' geometry,
/// font sizes and save choices.
struct TUserSettings {
  std::string FileName; ///< the current user settings file; empty until one is known
  std::string Top, Left; ///< main window position; empty when never stored
  std::string Width, Height; ///< main window size; empty when never stored
  bool MnCkViewResults = false;     ///< "View results only on demand"
  bool MnCkTurnOffHint = false;     ///< "Turn off All Panel Hints"
  bool MnCkOmitIniSv = false;       ///< "Bypass Ini Update On Exit"
  bool FsCkNoWarnNoFileChg = false; ///< "No Warn on return with Input FN not changed"
  TViewerGeometry Single;     ///< single-panel viewer (VLTop1, VLLeft1, VLHt1, VLWide1)
  TViewerGeometry Dual;       ///< side-by-side viewer (VLTop2, ...)
  TViewerGeometry Horizontal; ///< horizontal split viewer (VHTop2, ...)
  std::string SpSplit;        ///< left panel width of the side-by-side viewer
  std::string SpSplit2;       ///< upper panel height of the horizontal viewer
  std::string LBx1FontSz = "8", Pr1FontSz; ///< single viewer: display and print font sizes
  std::string LBx2FontSz, Pr2FontSz;       ///< split viewers: display and print font sizes
  std::string OutFn;  ///< LastSavePath: the file of the last report saved, at most 149 characters
  int SbsRp = 0;      ///< SplitSaveStyle: 1 stacked, 0 side by side
  bool ShowChgChars = true; ///< the viewers mark the changed characters of changed lines ("Chg Chars")
};

/// The main window's run state and the lists a run fills: everything a run
/// reads or leaves behind outside its own records.
struct TAppState {
  explicit TAppState(IFrontEnd& frontEnd) : FrontEnd(&frontEnd) {}

  TOptionControls Controls;
  TUserSettings Settings;
  IFrontEnd* FrontEnd;

  bool ProgressOn = true; ///< show progress and process pending events during runs
  /// Let a run use a second thread where its results stay the same (the
  /// identity check of two files, reading and preparing the two files of a
  /// pass side by side). Off, every run is single-threaded.
  bool WorkerThreads = true;
  /// Let a compare of two files with the same bytes count their lines
  /// instead of reading them (the listing is the same).
  bool CountIdentical = true;
  bool UserStop = false;  ///< set by Halt; polled by the run
  bool BatchMode = false;
  std::string JobLabel; ///< "Job#%d " in batch mode, else empty
  bool RunFault = false, InputIoError = false, FileTooBig = false;
  std::string StatusText; ///< result message of the last run
  /// Why an input file could not be opened or read, for front ends that can
  /// show more than the result message ("New Input File \"x\": is a directory").
  std::string InputErrorDetail;
  std::string RunStamp;   ///< date and time of program start or job start
  /// The files a run reads when they are not the files the file boxes name
  /// (quorlin-cli: a copy of standard input or of a pipe, or a file shown
  /// under a label of its own); empty means the file box's name.
  std::string NewReadPath, OldReadPath;
  /// The file a run reads for the NEW (isNew) or the OLD side.
  const std::string& InputPath(bool isNew) const;

  TStringList Panel1Lines, Panel2Lines;
  /// Most lines a panel list may hold; a listing that needs more is
  /// suspended. A line costs the list 8 bytes (its text is in the list's
  /// file), and the viewers count rows in an int.
  size_t MaxPanelLines = 200'000'000;
  /// Batch mode: the listing file of the current job step (owned by the step).
  TOutputFile* ListingFile = nullptr;
  int StatsFirstLine = 0;
  bool StatsStarted = false;
  int ReportLineCount = 0; ///< listing lines written since program start

  // Batch job state that the listing reads.
  std::string OutFileNm; ///< operand of "outf="
  bool NslgOpt = false;  ///< keep the statistics section out of the batch log
  bool NewLogOpt = false, NoWaitOpt = false, NoShowOpt = false, AppendOpt = false;

  /// When set, the listing reports each change line it writes (Long, Chng,
  /// Delta): its ID ("I -", "D -", "RN-", "RO-", "IM-", "DM-", and in Clnc
  /// "XN-", "XO-", "XR-"), and the NEW and OLD line numbers it names (0 for
  /// none). For scripts that want the changes rather than the listing.
  /// text is the line's text (empty for the lines of a Clnc compare).
  std::function<void(std::string_view id, long newLine, long oldLine, std::string_view text)> ChangeSink;

  /// How far the current run has got, for a front end that shows more than
  /// the status text: the pass, the NEW lines read and the bytes of both
  /// files read so far out of their sizes.
  struct TRunProgress {
    int Pass = 0;
    long NewLines = 0;
    long long Done = 0, Total = 0;
  } RunProgress;

  /// Dln conditions of the current run, built by its set-up.
  std::vector<DlnCondition> DlnConditions;

  /// Control record of the last run; replaced by NewCompareCtl().
  std::unique_ptr<TCompareCtl> CompareCtl;

  /// Releases the previous control record and creates a fresh one; clears
  /// the stop request and the result flags.
  TCompareCtl& NewCompareCtl();
  /// Shows a progress text when ProgressOn is set and lets pending events be
  /// processed.
  void Progress(std::string_view text);
};

} // namespace quorlin
