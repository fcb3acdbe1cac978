// One compare as the Start button or a batch step runs it.
#pragma once

#include "state/Controls.h"

#include <string>

namespace quorlin {

/// Creates a fresh control record, clears the result flags and runs the
/// compare of the two files named in the file boxes with a listing into the
/// panel lists (interactive) or the listing file (batch). Returns RunResult;
/// the result message is in app.StatusText.
int RunCompare(TAppState& app);

/// The Start button's compare (and a viewer report of quorlin-cli): the
/// options summary is rebuilt from the controls first, so that the listing's
/// OPTIONS line names the options the run uses, then RunCompare.
int RunStartCompare(TAppState& app);

/// A compare in batch mode: rebuilds the options summary and runs the
/// compare with its listing written to listing (CR LF lines). The caller
/// has set the job label, the run stamp and the batch log lines.
int RunBatchCompare(TAppState& app, TOutputFile& listing);

/// Makes app the one step of a batch job, as quorlin-cli runs a compare:
/// the job label "Job#1 " and the step's start line in the batch message
/// list (so its listing reads as a batch listing of one step).
void StartOneStepJob(TAppState& app);

/// The file-name combo that a failed Start check points at.
enum class TNameField { None, New, Old };

/// The outcome of the Start button's file-name check.
struct TStartCheck {
  std::string Message;                   ///< empty when both names are usable
  TNameField Focus = TNameField::None;   ///< the combo that gets the focus
};

/// The Start button's check of the two file names: trims blanks from both
/// ends of each name that names no file as typed (case kept) and writes
/// them back into the controls.
/// The New name is checked first; a name that is empty or names no regular
/// file fails, and the message quotes it (cut to 80 characters).
TStartCheck CheckStartNames(TOptionControls& controls);

/// After an interactive run: whether the viewer opens by itself. Not after a
/// halt, with "View results only on demand", or when the run was refused
/// (bad ranges, an input file that could not be used).
bool ViewerOpensAfterRun(const TAppState& app, bool viewOnDemand);

/// The side-by-side viewer shows the last run (Sbsl, which Clnc forces, and
/// a second list); otherwise the single-panel viewer.
bool DualViewerResult(const TAppState& app);

/// View Latest Results: an empty text when the viewer may open; else the
/// message to show. When disable is set the button is disabled afterwards
/// (the preferences changed since the last run).
std::string ViewLatestResultsCheck(const TAppState& app, bool& disable);

inline constexpr const char* MsgPrefsChanged =
    "Previous report and current preferences have changed. Rerun compare with newest preferences.";
inline constexpr const char* MsgNoResultsYet =
    "No compare has run yet. Enter the New and Old file names and press Start.";
inline constexpr const char* MsgUserTerminated = "Quorlin has been prematurely terminated due to User Request";

/// When output reaches newFile or oldFile, the two files a run reads (see
/// SameFile), the message that refuses to write it, so that the input stays
/// as it was; else an empty string. Every output of the programs (listing,
/// report, JSON, batch listing, Save As) is checked before it is opened.
/// shown, when given, names the output in the message instead of its path.
std::string OutputIsInputMessage(const std::string& output, const std::string& newFile, const std::string& oldFile,
                                 const std::string& shown = {});

/// Exit status of a finished compare for a program: 0 the files compare as
/// equivalent, 1 they differ, 2 the compare did not complete.
int CompareExitStatus(const TAppState& app);

} // namespace quorlin
