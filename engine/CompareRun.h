// A compare run: the run's working records, the set-up step, the pass loop of
// the ordered compare and the finish step that publishes the result message.
#pragma once

#include "state/Controls.h"
#include "engine/CompareTypes.h"
#include "engine/IdenticalFiles.h"
#include "engine/LookAhead.h"
#include "platform/Worker.h"

#include <functional>
#include <string>
#include <vector>

namespace quorlin {

struct TCompareRun;

/// A Clnc line list: item 0 is empty, items 1 to Count() are the lines of the
/// file in order, the item after them is a sentinel with no text. The list
/// grows with the file; its texts live in its own pool.
struct TClncList {
  TChunkedVector<TLineEntry> Items;
  TTextPool Pool{2 * 1024 * 1024};
  /// A full hash of each prepared line's key (index as Items; 0 for lines
  /// not prepared), made while the key is at hand, for the matching.
  std::vector<uint64_t> KeyHashes;
  bool Prepared = false; ///< every line's key was made as it was read
  TLineEntry& operator[](int k) { return Items[static_cast<size_t>(k)]; }
  const TLineEntry& operator[](int k) const { return Items[static_cast<size_t>(k)]; }
  /// Lines in the list, the empty item and the sentinel not counted.
  int Count() const { return Items.size() < 2 ? 0 : static_cast<int>(Items.size()) - 2; }
  char* NewText(int n) { return Pool.Alloc(static_cast<size_t>(n) + 4); }
};

/// The listing generator's side of a run: called once per pass of an ordered
/// compare (after matching) and once for a whole Clnc run. It writes the
/// listing lines of the pass from the line tables and may set ListingStop.
class IPassReport {
public:
  virtual ~IPassReport() = default;
  virtual void ReportPass(TCompareRun& run) = 0;
};

/// The engine's working records from set-up to finish: the two file records
/// with their buffers and streams, the two line tables of the current pass and
/// the pass number. The control record and the application state belong to the
/// caller and outlive the run.
struct TCompareRun {
  TCompareRun(TAppState& app, TCompareCtl& ctl) : App(app), Ctl(ctl) {}
  TCompareRun(const TCompareRun&) = delete;
  TCompareRun& operator=(const TCompareRun&) = delete;

  TAppState& App;
  TCompareCtl& Ctl;
  std::unique_ptr<TCompareFile> New, Old; ///< present from SetupRun to FinishRun
  TLineTable NewLines, OldLines;
  /// Clnc: the whole files as line lists (NewList, OldList), from set-up to
  /// the Clnc end step.
  std::unique_ptr<TClncList> NewList, OldList;
  int PassCt = 0; ///< number of the current pass, from 1
  bool BuffersAllocated = false;
  /// The two files hold the same bytes and nothing but counts is needed of
  /// their lines: the read phase counts NEW lines and mirrors them for OLD.
  bool CountOnly = false;
  /// With CountOnly: the NEW file's state after each pass's read phase.
  std::vector<TCountedPass> CountedPasses;
  /// Every line of the current pass keeps its text as read (OrigText): the
  /// listing takes it from there instead of reading the files again. Not
  /// with Xtab, whose re-read keeps TABs that the read phase turns to blanks.
  bool RawKept = false;
  /// The second thread that reads and prepares the OLD lines of a pass while
  /// this one does the NEW lines (none when the run is single-threaded).
  std::unique_ptr<TWorker> Worker;
  /// Lines read ahead of the passes after a pass with no matched line.
  std::unique_ptr<TLookAhead> Ahead;

  TCompareFile& File(bool isNew) { return isNew ? *New : *Old; }
  TLineTable& Lines(bool isNew) { return isNew ? NewLines : OldLines; }
  const TLineTable& Lines(bool isNew) const { return isNew ? NewLines : OldLines; }

  /// Runs work(isNew, progress) for both files: side by side when the run
  /// has a worker (OLD on it, NEW on this thread), else NEW then OLD.
  /// progress is set only on this thread, the one that may show progress
  /// and read the stop request.
  template <class F> void ForBothFiles(F&& work) {
    if (Worker) {
      Worker->Start([&] { work(false, false); });
      work(true, true);
      Worker->Wait();
      return;
    }
    work(true, true);
    work(false, true);
  }
};

/// Input files of this size or larger are refused: sizes must fit a signed
/// 32-bit number (2 GB).
inline constexpr int64_t MaxInputSize = int64_t(1) << 31;

// Result messages of a run.
inline constexpr const char* MsgRunFault =
    "ERROR: Quorlin files/options/code fault failure. Notify Developer.";
inline constexpr const char* MsgInputIoError =
    "ERROR: Quorlin encountered an I/O problem opening an Input File.";
inline constexpr const char* MsgFileTooBig =
    "ERROR: File GT 2 GB. Use Sarnvik for partial 2GB compare";
inline constexpr const char* MsgUserStop = "INFORM: The User requested a premature program stop.";
inline constexpr const char* MsgUserStopBatch =
    "INFORM: User requested a premature program stop. Exit Batch.";
inline constexpr const char* MsgBadSpec = "ERROR: User error. Bad ";
inline constexpr const char* MsgDiffer = "INFORM: The processed files have differences.";
inline constexpr const char* MsgEquivFiltered =
    "INFORM: The processed files compare as equivalent filtered files.";
inline constexpr const char* MsgEquivalent =
    "INFORM: The processed files compare as equivalent files.";

/// Ordered compare of the files named in MnCbNewFileNm and MnCbOldFileNm with
/// the options of the controls. The caller has created a fresh control record
/// (app.NewCompareCtl()). Returns RunResult: 0 completed, 1 the part-compare
/// or compare-column ranges were rejected, 4 an input file could not be used
/// or the run failed. The
/// result message is left in app.StatusText and appended to Panel1Lines.
int RunOrderedCompare(TAppState& app, IPassReport& report);

/// The frame of every run: a fresh run record, SetupRun, then passes(run)
/// when set-up accepted the options, and FinishRun on every path. An
/// exception sets RunFault. Returns RunResult.
int RunCompareFrame(TAppState& app, const std::function<void(TCompareRun&)>& passes);

/// Unordered (Clnc) compare of the two files: the same frame as
/// RunOrderedCompare with the Clnc pass driver in place of the pass loop.
int RunUnorderedCompare(TAppState& app, IPassReport& report);

/// Copies what the listing warns of (an embedded end-of-file byte, split
/// lines, lines short of the compare columns) from the file records into
/// the control record, which outlives them.
void KeepFileWarnings(TCompareRun& run);

/// The steps of a run, in the order RunOrderedCompare calls them.
void SetupRun(TCompareRun& run);
void PassLoop(TCompareRun& run, IPassReport& report);
void FinishRun(TCompareRun& run);
/// After a read: when the system failed to read either file, sets the I/O
/// error of the run and returns true.
bool ReadFailed(TCompareRun& run);
/// Releases Text and OrigText of the lines of the current pass.
void FreePassLines(TCompareRun& run);
/// The bytes of file f that the run compared: from the start of the compare
/// (after a part-compare skip) to just after the last line taken.
int64_t ComparedBytes(const TCompareRun& run, const TCompareFile& f);

/// Chooses the result message from the run flags and counters.
std::string ResultMessage(const TAppState& app, const TCompareCtl& ctl);

// Index functions that step over don't-process lines. Without a filter on
// (none of DpActive, DpsActive, DlnActive) each returns k itself, except that
// NextProcessedNew returns the NEW sentinel for k beyond PassLinesLimit.
int NextProcessedNew(const TCompareRun& run, int k);
int NextProcessedOld(const TCompareRun& run, int k);
int PrevProcessedNew(const TCompareRun& run, int k);
int PrevProcessedOld(const TCompareRun& run, int k);
inline bool AnyFilter(const TCompareCtl& ctl) {
  return ctl.DpActive || ctl.DpsActive || ctl.DlnActive;
}

/// Turns 'A'..'Z' of the first count bytes into 'a'..'z' in place; every other
/// byte is kept (no locale).
void LowerCaseBytes(char* buffer, int count);
/// Copies count bytes from source to target.
void CopyBytes(const char* source, char* target, int count);

} // namespace quorlin
