// The compare control record: the options of one run as its set-up reads
// them from the controls, the run state, and the counters that the listing,
// the statistics and the result handling read after the run.
#pragma once

#include <array>
#include <string>
#include <utility>

namespace quorlin {

/// Compare control record: one per run, created value-initialised (all flags
/// false, all numbers 0) by the caller just before the run and kept after it,
/// since the listing, the statistics and the result handling read it.
struct TCompareCtl {
  // Listing type, from the list-type box; exactly one is set for a known name.
  bool ListOvsum = false, ListDelta = false, ListChng = false, ListLong = false;
  std::string ListTypeName; ///< text of the list-type box, cut to 5 characters

  // Preferences, each set when the check box of that caption is checked.
  bool OptIcas = false, OptRovr = false, OptFmvl = false, OptXdpl = false;
  bool OptLorl = false, OptFscl = false, OptNoss = false, OptIeof = false;
  bool OptSubc = false, OptXtab = false, OptClnc = false;
  bool OptSbsl = false; ///< also set by Clnc
  char SubcChar = '.';  ///< replacement for control characters, with Subc
  int TabWidth = 0;     ///< tab stop distance, with Xtab

  // Don't-process selection.
  bool DpActive = false;  ///< a DP option other than "none" is selected
  bool DpsActive = false; ///< at least one of Dps1 to Dps3 is on
  bool DlnActive = false; ///< at least one Dln condition was accepted
  bool DpDsem = false, DpDrem = false, DpDblk = false, DpDdlc = false, DpDcpp = false;
  bool DpDvbc = false, DpDdl2 = false, DpDhtm = false, DpDudc = false, DpDud2 = false;
  bool DpDcob = false;
  bool Dps1On = false, Dps2On = false, Dps3On = false;
  int Dps1Len = 0, Dps2Len = 0, Dps3Len = 0;
  std::string Dps1Text, Dps2Text, Dps3Text; ///< lower case
  // Comment strings of Dudc and Dud2, in lower case, taken at set-up.
  std::string UdcText;  ///< Dudc: comment start string
  bool UdcNo = false;   ///< Dudc: a string after other text is no part comment ("No")
  std::string Udc2Text; ///< Dud2: comment line start string
  std::string Udc3Text; ///< Dud2: embedded part-comment string

  /// The files compared, named as the file boxes named them when the run
  /// began (the viewers show these, whatever the boxes hold since).
  std::string NewFileName, OldFileName;

  // Run state.
  bool LastPass = false;        ///< both files are exhausted after the current read
  bool FilesDiffer = false;     ///< some read phase of this run met a difference; never cleared
  bool ListingReread = false;   ///< the listing generator has started re-reading passes
  bool ReadingInput = false;    ///< the engine's read phase is running (not the listing re-read)
  bool HeadingArmed = false;    ///< the listing heading was armed (first pass report done)
  bool HeadingDue = false;      ///< the heading is written before the next listing line
  bool ListingStop = false;     ///< the listing output failed; ends the pass loop
  bool MovedSubOptimal = false; ///< moved-line detection spanned more than one pass

  // Option texts rejected by the set-up.
  bool CcolBad = false, PcmpBad = false, DlnBad = false;

  // Part compare and compare columns.
  bool CcolActive = false;
  bool PcmpActive = false;
  int PcmpNewFirst = 0, PcmpOldFirst = 0; ///< 1-based first lines
  int PcmpNewLast = 0, PcmpOldLast = 0;   ///< 1-based last lines; 0 means to the end of the data

  /// 0 run completed, 1 the part-compare or compare-column ranges were
  /// rejected, 4 an input file could not be used or the run failed.
  int RunResult = 0;

  int NewPassLines = 0, OldPassLines = 0; ///< lines stored by the current read phase
  int NewLongest = 0, OldLongest = 0;     ///< copies of the files' LongestLine
  // Kept by the finish step for those who read the run afterwards.
  long long NewFileSize = 0, OldFileSize = 0;   ///< bytes in the files when they were opened
  long long NewTotalBytes = 0, OldTotalBytes = 0; ///< bytes compared (the statistics' Total Bytes)
  int Passes = 0;                               ///< passes run
  // What the listing warns of, kept from the file records (KeepFileWarnings).
  bool NewEmbeddedEof = false, OldEmbeddedEof = false; ///< a 0x1A byte with data after it
  bool LinesSplit = false;  ///< a line of either file was cut at MaxLineLen
  bool ColTooShort = false; ///< a line of either file was shorter than its first compare column
  /// The compared columns of each file, with Ccol (1-based first, last; last
  /// 0 up to the end of the line; first 0 where no range is set).
  std::array<std::pair<int, int>, 4> NewColumns{}, OldColumns{};

  // Engine counters.
  int NewColShortCount = 0, OldColShortCount = 0; ///< lines shorter than the first compare column
  int SetCount = 0;                               ///< match sets fixed

  // Statistics counters kept by the listing generator; the finish step reads
  // the first five to choose the result message.
  int ReformCount = 0, InsertCount = 0, DeleteCount = 0;
  int NewBlankCount = 0, OldBlankCount = 0;
  int MatchCount = 0, MovedCount = 0, PairedCount = 0;
  int NewNotProcCount = 0, OldNotProcCount = 0, NewPartDpCount = 0, OldPartDpCount = 0;
  int NewDupeCount = 0, OldDupeCount = 0;
  int NewLinesTotal = 0, OldLinesTotal = 0;

  // Listing state kept across passes.
  bool AfterChange = false, LeadContext = false;
  int HeldCount = 0, SkippedCount = 0, DeltaCarry = 0;
};

} // namespace quorlin
