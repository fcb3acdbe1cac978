// Batch jobs: an ini file of job statements runs one or more compare steps
// into one listing file and records its activity in the batch log. The
// decoder of "dpop=" and "pref=" operands is shared with quorlin-cli.
#pragma once

#include "state/Controls.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// Statement error texts; the batch adds the flush suffix to them.
inline constexpr const char* ErrInvalidDpop = "Invalid DpOpt Option Arguments";
inline constexpr const char* ErrInvalidPref = "Invalid Pref=Keyword or Keyword Operand Value(s)";
inline constexpr const char* ErrInvalidKeyword = "Invalid Keyword";
inline constexpr const char* ErrInvalidStatement = "Invalid Statement";
inline constexpr const char* ErrInvalidLtyp = "Invalid LTyp= Listing Type";

/// Decoder state that lives for a whole batch.
struct TBatchState {
  bool CcolSeen = false;    ///< a "ccol" statement set the New ranges; later ones set the Old ranges
  bool FsclBuffers = false; ///< "fscl" was given: full-source output buffers exist
};

/// Name of the batch log in the data directory.
inline constexpr const char* BatchLogName = "Quorln32.log";

/// What a batch front end is asked to do while a batch runs. Every method has
/// a default that does nothing, which is right for a batch without a window.
class IBatchWindow {
public:
  virtual ~IBatchWindow() = default;
  /// A step is about to run: the main window is shown unless "nosw" was given.
  virtual void ShowDuringBatch() {}
};

/// The result of a whole batch.
struct TBatchResult {
  std::string FinalStatus; ///< the last text of the status line
  int ExitStatus = 0;      ///< 0 all steps equivalent, 1 some differ, 2 any error
  bool NoWait = false;     ///< "nowt" or "nosw": the program ends by itself
  std::string LogPath;     ///< the batch log written
};

/// Runs the batch ini file iniPath (IniBatchRun): decodes its job steps, runs
/// each compare into the listing file named by the first "outf=", and writes
/// the batch log (Quorln32.log in logDirectory). app is put in batch mode.
TBatchResult IniBatchRun(TAppState& app, const std::string& iniPath, const std::string& logDirectory,
                         IBatchWindow* window = nullptr);

/// The lines of the batch log for Peek Log; "No data to be shown." when the
/// log cannot be read.
std::vector<std::string> PeekLogLines(const std::string& logPath);

/// Thrown when an operand cannot be decoded at all (a "dps" filter without
/// its string); the batch ends with its parameter-exception message.
class TParmException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// Applies the operand of a "dpop=" statement to the option controls.
/// Returns an empty string, or the error text.
std::string DecodeDpop(TAppState& app, std::string_view operand);

/// Applies the operand of a "pref=" statement to the option controls and the
/// batch options. Returns an empty string, or the error text.
std::string DecodePref(TAppState& app, TBatchState& batch, std::string_view operand);

/// The listing type of an "ltyp=" operand: lower case with its first letter
/// in upper case ("long" gives "Long").
std::string ListTypeText(std::string_view operand);

/// True for the four listing types: "Chng", "Delta", "Long", "Ovsum".
bool KnownListType(std::string_view type);

/// The filter text of a "dpln" operand: what follows the word "dpln".
std::string_view DlnOperandText(std::string_view operand);

/// Checks a "dpln" operand before DecodeDpop takes it, as a front end that
/// can refuse it does (the batch takes it, and the run ignores a bad one
/// with a line in the statistics): an empty string when its conditions parse
/// and one of the four Dln boxes is free, else the error text.
std::string CheckDlnOperand(const TOptionControls& controls, std::string_view operand);

} // namespace quorlin
