// The compare of two folders: both trees are walked, their files are paired
// by the path relative to the two roots, and every pair gets a status. A pair
// whose bytes differ is compared as an ordinary run with the options of the
// controls; the pairs are handed to worker threads in sorted path order and
// the results come back in that order whatever the number of threads.
#pragma once

#include "state/Controls.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace quorlin {

/// What the compare of two folders found for one path.
enum class TPairStatus : int {
  Identical,       ///< the two files hold the same bytes
  Equivalent,      ///< other bytes, but the line compare finds them equivalent (filters, Icas, columns)
  Differs,         ///< the line compare found changes
  OnlyInNew,       ///< the file is in the NEW folder only
  OnlyInOld,       ///< the file is in the OLD folder only
  BinaryIdentical, ///< binary (a NUL byte in the first 8 KiB of either file), the same bytes
  BinaryDiffers,   ///< binary, other bytes; binary files are compared by bytes only
  Error,           ///< the pair could not be compared; the message says why
};
inline constexpr int PairStatusCount = 8;

/// The status as the JSON writes it: "identical", ..., "only_in_new", ...
const char* PairStatusKey(TPairStatus status);
/// The status as the summary and the folder window show it: "only in NEW", ...
const char* PairStatusName(TPairStatus status);

/// One path of the two trees.
struct TFolderPair {
  std::string Path; ///< relative to both roots, its folders joined by '/'
  TPairStatus Status = TPairStatus::Identical;
  /// Equivalent and Differs: the line compare's result message; Error: what
  /// the file compare said, or why the folder could not be read; else empty.
  std::string Message;
  /// Equivalent and Differs: the control record of the line compare (its
  /// counts); else none.
  std::shared_ptr<const TCompareCtl> Ctl;
};

/// The lines the line compares of a result inserted, deleted, reformatted
/// and moved, and the pairs of each status.
struct TFolderTotals {
  std::array<int, PairStatusCount> Pairs{}; ///< indexed by TPairStatus
  long long Inserted = 0, Deleted = 0, Reformatted = 0, Moved = 0;
  bool MovedCounted = false; ///< some line compare looked for moved lines (Fmvl)
  int Of(TPairStatus status) const { return Pairs[static_cast<size_t>(status)]; }
};

/// Which folders to compare, which files to take, and how.
struct TFolderOptions {
  std::string NewRoot, OldRoot;
  /// fnmatch patterns, each matched on a file's relative path and on its
  /// name ('*' also matches '/'). With includes, only files that match one
  /// are taken; a file or a folder that matches an exclude is left out
  /// (with everything in it).
  std::vector<std::string> Include, Exclude;
  int Threads = 0; ///< worker threads that compare pairs; 0: one a processor (at most 8)
  /// When set, the listing of every pair that differs is written to
  /// ListingDir/<relative path>.lst, as a one-step batch job writes it.
  std::string ListingDir;
};

struct TFolderResult {
  std::string NewRoot, OldRoot;
  /// The pairs compared, in sorted path order (folder by folder, names in
  /// byte order). After a halt only the pairs whose compare completed.
  std::vector<TFolderPair> Pairs;
  /// What the walk left out and why: symbolic links to folders, files that
  /// are not regular files, a name that is a file on one side and a folder
  /// on the other.
  std::vector<std::string> Notes;
  size_t Found = 0;    ///< pairs the walk found
  bool Halted = false; ///< Halt (or a stop signal) ended the compare early

  TFolderTotals Totals() const;
  /// 0 every pair is identical or equivalent and no file stands alone; 1
  /// otherwise; 2 when a pair had an error or the compare was halted.
  int ExitStatus() const;
};

/// True when path names a folder (symbolic links followed).
bool IsFolder(const std::string& path);

/// The Start button's folder test: trims blanks from both names in the
/// controls (writing them back) and returns true when both name folders.
bool FolderNames(TOptionControls& controls);

/// Compares the folders of options with the options of app.Controls. The
/// calling thread walks both trees while the workers compare the pairs in
/// both (a folder that cannot be read is an Error pair of its own); it
/// shows the files done through app.Progress and ends the compare, between
/// pairs, when app.UserStop is set. The result message goes to
/// app.StatusText.
TFolderResult CompareFolders(TAppState& app, const TFolderOptions& options);

/// When output lies in one of the two folders (or is one of them), the
/// message that refuses to write it; else an empty string.
std::string OutputInFoldersMessage(const std::string& output, const std::string& newRoot,
                                   const std::string& oldRoot, const std::string& shown = {});

/// The result message of a folder compare: halted, errors, differences or
/// equivalent, with the count of files.
std::string FolderStatusText(const TFolderResult& result);
/// "12 files: 9 identical, 2 differ, 1 only in NEW; 5 lines inserted, ..."
/// (statuses without pairs are left out).
std::string FolderTotalsLine(const TFolderTotals& totals);
/// The summary of the command line: a heading, one line a pair (status,
/// inserted, deleted, reformatted and moved lines, relative path), the
/// totals line, the notes and the result message.
std::vector<std::string> FolderSummary(const TFolderResult& result);

} // namespace quorlin
