// The listing generator: turns each matched pass into listing lines (line IDs,
// texts, reference columns, headings, the Chng context rule), routes them to
// the panel lists (interactive) or the listing file (batch), and writes the
// summary and statistics section.
#pragma once

#include "state/Controls.h"
#include "engine/CompareRun.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

/// Line IDs by kind: 0 matched or DP line, 1 reformat NEW, 2 reformat OLD,
/// 3 insert, 4 delete, 5 moved delete, 6 moved insert.
enum TLineKind : int { KindMatch, KindReformNew, KindReformOld, KindInsert, KindDelete,
                       KindMovedDelete, KindMovedInsert };
extern const std::array<const char*, 7> LineIdTable;

/// Longest heading, separator or statistics line (ReportLineBuf).
inline constexpr size_t ReportLineMax = 140;
/// Longest formatted body line (BodyLineBuf).
inline constexpr size_t BodyLineMax = 132;
/// Width of the text field without Fscl, and its limit with Fscl.
inline constexpr size_t TextField = 80;
inline constexpr size_t FullTextField = 128;

/// Version string of the program, as the listing and the log print it.
inline constexpr const char* VersionString = "Quorlin V5.7b - ";
inline constexpr const char* ReleaseDate = "June 30, 2001";

inline constexpr const char* MsgBadDln = "ERROR: A bad DpLn was encountered and ignored.";

/// The WARN lines that close the statistics section of a finished run
/// (after KeepFileWarnings): lines short of the compare columns, an embedded
/// end-of-file byte in either file, split lines.
std::vector<std::string> WarningLines(const TCompareCtl& ctl);
/// Everything the statistics section of a finished run warns of: the bad
/// Dln line, then the WARN lines. Written whether or not the listing has a
/// statistics section, for front ends that pass warnings on.
std::vector<std::string> RunWarnings(const TCompareCtl& ctl);

/// The listing generator of one run. Created by the caller of a run and
/// handed to the run as its pass report.
class TListing final : public IPassReport {
public:
  explicit TListing(TAppState& app) : App(app) {}

  /// Report driver: called once per pass of an ordered compare.
  void ReportPass(TCompareRun& run) override;

  // Output operations. Every listing line leaves through one of these.
  void EmitReportLine(std::string_view line);
  void EmitBodyLine(std::string_view line);
  void EmitRawLine(int kind, std::string_view text);
  /// Arms the heading on the first call of a run, writes it later when due.
  void WriteListingHeading();
  /// The Chng context rule for one formatted body line.
  void ChngContextFilter(std::string_view line);
  /// The same rule in raw mode, for the text of a line entry.
  void ChngContextFilterRaw(int kind, std::string_view text);
  /// Appends one blank to the shorter panel until both have the same length.
  void PadPanels();

private:
  TAppState& App;
  TCompareRun* Run = nullptr; ///< the run of the current report call
  TCompareCtl& Ctl() { return Run->Ctl; }

  // Run flags set at each report call.
  bool LogReportLines = false; ///< batch: report lines also go into the batch log
  bool RawListing = false;     ///< batch mode with Fscl
  bool StatsRouting = false;   ///< the statistics section is being written
  bool ClncNewSection = false; ///< Clnc: the NEW section is being written

  /// Lines held back by the Chng context rule (HeldLines), a ring of seven
  /// starting at HeldFirst; in raw mode the kind of each held line is kept
  /// with its text.
  std::array<std::string, 7> HeldLines;
  std::array<int, 7> HeldKinds{};
  int HeldFirst = 0;
  std::string& Held(int k) { return HeldLines[static_cast<size_t>((HeldFirst + k) % 7)]; }
  int& HeldKind(int k) { return HeldKinds[static_cast<size_t>((HeldFirst + k) % 7)]; }
  /// A held matched line of the current pass is kept as its indices and
  /// formatted only if it is written: most are dropped unseen. Its kind is
  /// HeldMatchLater.
  static constexpr int HeldMatchLater = -2;
  struct THeldMatch {
    int NewIndex = 0, OldIndex = 0, Pos = 0;
  };
  std::array<THeldMatch, 7> HeldMatches{};
  THeldMatch& HeldMatch(int k) { return HeldMatches[static_cast<size_t>((HeldFirst + k) % 7)]; }
  /// Writes held line k, formatting it first when it was held as indices.
  void EmitHeld(int k);
  /// The Chng rule once a line has been held: a change writes what is held,
  /// a seventh unchanged line drops or writes the oldest.
  void AfterHold(bool change);
  /// Turns the held matched lines of this pass into text, before its lines go.
  void FormatHeldMatches();
  std::string BodyLine; ///< formatting buffer of body lines (BodyLineBuf)
  std::string Refs;     ///< reference columns of the body line being formatted

  // Output sinks.
  void AppendPanel(TStringList& panel, std::string_view line);
  void WriteListingFile(std::string_view line);
  std::string TreatText(std::string_view line) const;
  /// Whether TreatText changes line (it holds a control character or TAB).
  bool NeedsTreatment(std::string_view line) const;
  void RouteBodyLine(std::string_view line);
  void WriteNotShownLine();
  void CloseChngContext();
  void CountReportLine(int every);

  // Ordered listing body (OrderedListing.cpp).
  void PrepareIdenticalPass();
  void WriteOrderedBody();
  void PreparePassForListing();
  void RereadLine(TCompareFile& f, TLineEntry& e, int& partDpCount);
  /// Whether the raw texts of two lines with equal compare keys are the same
  /// line for the listing: equal over the shorter length, or over their
  /// compare columns; in lower case with Icas (on copies, so the texts keep
  /// their case).
  bool SameText(const TLineEntry& a, const TColumns& colA, const TLineEntry& b,
                const TColumns& colB) const;
  /// A matched pair is an exact match, not a reformat (always with Rovr).
  bool ExactMatch(const TLineEntry& n, const TLineEntry& o) const;
  void WalkLongChng();
  void WalkDeltaOvsum();
  void WriteDpLine(int i);
  void WriteDpLinesAt(int& i);
  void WriteMatch(int i, int j, int pos);
  /// WriteMatch's line in BodyLine (Refs are built on the way).
  void FormatMatch(int i, int j, int pos);
  void WriteReform(int i, int j, int pos);
  void WriteReformOld(int j, int pos);
  void WriteInsert(int i, int pos);
  void WriteDelete(int j, int pos);
  void WriteDeltaSeparator(int unchanged, int ins, int del, int refm, int firstNew, int firstOld);
  /// BodyLine = id + the text field (80 characters blank-filled, then Refs;
  /// with Fscl up to 128 characters and no references).
  void FormatBodyLine(const char* id, std::string_view text);
  /// FormatBodyLine's work, appended to out; it touches nothing else, so
  /// two threads may format lines at once.
  static void AppendBodyLine(bool fscl, const char* id, std::string_view text, std::string_view refs,
                             std::string& out);
  /// Formats a body line of the given kind from the entry's text and the
  /// reference columns in Refs, and hands it on.
  void Body(int kind, const TLineEntry& e);
  /// Append the file line number of NEW entry i or OLD entry j to Refs.
  void NewNo(int i);
  void OldNo(int j);

  // Clnc listing (UnorderedListing.cpp).
  void WriteClncListing();
  void ClncClassify();
  void ClncSectionHeading(bool isNew);
  void ClncLongSection(bool isNew);
  /// Hands every change line of both lists to App.ChangeSink.
  void ReportClncChanges();
  /// The Clnc body line of entry k of a list, appended to out; refs is scratch.
  static void AppendClncLine(const TCompareCtl& ctl, const TLineEntry& e, bool isNew, int k, std::string& refs,
                             std::string& out);
  /// ClncLongSection of a batch listing with a worker: blocks of lines
  /// formatted half here, half on the worker, then written in order.
  void ClncLongSectionBlocks(bool isNew);
  void ClncDeltaSection(bool isNew);
  void ClncChngSection(bool isNew);
  /// Writes entry k of a Clnc list by its kind.
  void WriteClncEntry(bool isNew, int k);
  void ClncStatus(const char* report, bool isNew, int k);
  std::string Ruler(const char* references);

  // Statistics section (Statistics.cpp).
  void WriteStatistics();
};

} // namespace quorlin
