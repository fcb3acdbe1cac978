// Helpers shared by the core tests: temporary files, a front end that records
// what a run shows, a pass report that keeps a copy of every pass, and run
// environments for the engine and for the listing, and result views for
// the viewers. The fuzz targets (tests/fuzz) use the file helpers too.
#pragma once

#include "state/Controls.h"
#include "app/CompareFlow.h"
#include "engine/CompareRun.h"
#include "viewers/LineModel.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quorlin::test {

/// A directory that lives as long as the object.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  /// Writes bytes to a file in the directory and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string PathOf(const std::string& name) const { return (Path / name).string(); }
  std::filesystem::path Path;
};

/// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
/// The lines of bytes that end in CR LF (a last line without one is dropped).
std::vector<std::string> SplitCrLf(const std::string& bytes);
/// Sets a file's access and modification times to FixedTime.
void SetFixedTime(const std::string& path);

/// Records status texts and message boxes; OnStatus may react to a status
/// text (for example press Halt).
class TRecordingFrontEnd final : public IFrontEnd {
public:
  void SetStatusText(std::string_view text) override;
  void ProcessPendingEvents() override {}
  void ShowMessage(std::string_view text) override { Messages.emplace_back(text); }
  std::vector<std::string> Status;
  std::vector<std::string> Messages;
  std::function<void(std::string_view)> OnStatus;
};

/// One line of a pass as the matcher left it.
struct TLineCopy {
  int FileLine = 0; ///< 1-based line number in its file
  bool Matched = false, NoMatch = false, NotProcessed = false, Moved = false;
  int Partner = 0;
  std::string Key; ///< compare key (KeyLen bytes) of a prepared pass; empty for don't-process lines
};

struct TPassCopy {
  int NewFirstLine = 0, OldFirstLine = 0; ///< PassFirstLine of both files
  bool Prepared = false;                  ///< preparation and matching ran
  std::vector<TLineCopy> New, Old;        ///< index 0 is line 1 of the pass
};

/// Keeps a copy of every pass of a run.
class TPassRecorder final : public IPassReport {
public:
  void ReportPass(TCompareRun& run) override;
  std::vector<TPassCopy> Passes;
};

/// Option controls, run state, a front end that records, and a temporary
/// directory for the input files.
struct TAppFixture {
  TRecordingFrontEnd Ui;
  TAppState App{Ui};
  TTempDir Dir;

  /// Writes the two files (with fixed times) and names them in the file boxes.
  void SetFiles(const std::string& newBytes, const std::string& oldBytes);
  TCompareCtl& Ctl() { return *App.CompareCtl; }
  void Check(int tag, bool on = true) { App.Controls.Pref(tag).Checked = on; }
  /// Removes the temporary directory from file names in text.
  std::string Relative(std::string text) const;
  /// Presses Halt when a status text holding part is shown.
  void HaltOn(const std::string& part);
};

/// Runs the engine alone, with the recorder as pass report.
struct TRunFixture : TAppFixture {
  TPassRecorder Recorder;
  /// Runs an ordered compare of the files named.
  int Run();
  /// Writes the files and runs.
  int Run(const std::string& newBytes, const std::string& oldBytes);
};

/// Runs compares with the real listing generator. File names in the output
/// are shown relative to the temporary directory ("new.txt"), and the files'
/// times and the run stamp are fixed, so listings are repeatable.
struct TListingFixture : TAppFixture {
  /// A one-step batch compare; returns the listing file's bytes.
  std::string RunBatch();
  /// An interactive compare into the panel lists.
  void RunInteractive();
};

/// The fixed time stamp of listing tests: file times and the run stamp.
inline constexpr std::time_t FixedTime = 1780000000; // 2026-05-28 20:26:40 UTC

/// A pair of files made by a random edit script: OLD is source-like text
/// with frequent duplicate lines; NEW is OLD with blocks inserted, deleted,
/// changed, reformatted (blanks only), moved and upper-cased.
struct TScript {
  std::vector<std::string> Old, New;
};
TScript RandomScript(std::mt19937& rng, int size);

/// Two panel lists built from literal lines and a result view of them, for
/// the viewer tests.
struct TViewFixture {
  TStringList Panel1, Panel2;
  TResultView View;
  TViewFixture(const std::vector<std::string>& left, const std::vector<std::string>& right, int statsFirst,
               bool clnc = false) {
    for (const auto& l : left) Panel1.push_back(l);
    for (const auto& r : right) Panel2.push_back(r);
    View.Panel1 = &Panel1;
    View.Panel2 = &Panel2;
    View.StatsFirstLine = statsFirst;
    View.Clnc = clnc;
    View.ListChng = true;
    View.RunStamp = "12/06/26 10:00:00";
  }
};

/// "prefix1\nprefix2\n..." with count lines.
std::string NumberedLines(int count, const std::string& prefix = "line ");
/// Joins lines, each followed by LF.
std::string JoinLines(const std::vector<std::string>& lines);
/// Whether lines hold line.
bool Contains(const std::vector<std::string>& lines, const std::string& line);

} // namespace quorlin::test
