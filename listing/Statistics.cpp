// The summary and statistics section that closes every listing.
#include "listing/Listing.h"

#include "platform/Clock.h"

#include <cstdio>

namespace quorlin {

namespace {

std::string Format(const char* format, long a, long b = 0) {
  char buf[ReportLineMax + 1];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

/// The compare-columns line of one file: "NEW-COMPARE-COLUMNS (1:5)+(7:eol)  MAX-NEW-COMP-LEN = 12".
std::string ColumnsLine(const char* side, const TCompareFile& f) {
  std::string line = std::string(side) + "-COMPARE-COLUMNS ";
  for (size_t r = 0; r < f.Col.size(); ++r) {
    const TColRange& c = f.Col[r];
    if (!c.On) break;
    if (r > 0) line += "+";
    line += "(" + std::to_string(c.First) + ":" + (c.ToEol ? "eol" : std::to_string(c.Last)) + ")";
  }
  return line + "  MAX-" + side + "-COMP-LEN = " + std::to_string(f.LongestKey);
}

} // namespace

std::vector<std::string> WarningLines(const TCompareCtl& ctl) {
  std::vector<std::string> lines;
  if (ctl.ColTooShort) {
    char buf[ReportLineMax + 64];
    std::snprintf(buf, sizeof buf,
                  "WARN: \"Ccol\" start compare value GT. some line lengths. Total New-Lines = %d + "
                  "Old-Lines = %d treated as null blank lines.",
                  ctl.NewColShortCount, ctl.OldColShortCount);
    lines.emplace_back(buf);
  }
  for (const bool isNew : {true, false}) {
    if (!(isNew ? ctl.NewEmbeddedEof : ctl.OldEmbeddedEof)) continue;
    const char* side = isNew ? "New" : "Old";
    if (ctl.OptIeof)
      lines.push_back(std::string("WARN: \"Ieof\" opt allowed premature ") + side +
                      " file EOF char(26) to be ignored.");
    else
      lines.push_back(std::string("WARN: ") + side + " file EOF char(26) prematurely terminated text input.");
  }
  if (ctl.LinesSplit)
    lines.emplace_back("WARN: Lines GT. 2048 characters were split off into separate lines before being processed.");
  return lines;
}

std::vector<std::string> RunWarnings(const TCompareCtl& ctl) {
  std::vector<std::string> lines = WarningLines(ctl);
  if (ctl.DlnBad) lines.insert(lines.begin(), MsgBadDln);
  return lines;
}

void TListing::WriteStatistics() {
  TCompareCtl& ctl = Ctl();
  TCompareRun& run = *Run;
  const TCompareFile& nf = *run.New;
  const TCompareFile& of = *run.Old;
  const TOptionControls& controls = App.Controls;

  App.StatsStarted = true;
  App.StatsFirstLine = static_cast<int>(App.Panel1Lines.size());
  if (!App.Panel1Lines.empty()) EmitReportLine(" ");
  ctl.HeadingDue = false;
  StatsRouting = true;

  std::string title = VersionString;
  if (App.BatchMode && !App.NslgOpt) {
    title = "Batch";
    LogReportLines = true;
  }
  if (ctl.OptClnc) title += " Clnc Preference";
  if (!(App.BatchMode && App.NslgOpt)) title += " Compare Totals And Statistics Section";
  EmitReportLine(title);

  EmitReportLine("New File = " + nf.FileName + "  " + FileTimeText(App.InputPath(true)));
  EmitReportLine("Old File = " + of.FileName + "  " + FileTimeText(App.InputPath(false)));
  if (App.BatchMode) {
    if (App.NslgOpt) LogReportLines = false;
    EmitReportLine("Out File = " + App.OutFileNm);
  }
  EmitReportLine(" ");

  if (ctl.OptClnc) {
    EmitReportLine(Format("%7ld Number Of Line Matches    %7ld Reformatted Lines", ctl.MatchCount,
                          ctl.ReformCount));
    EmitReportLine(Format("%7ld New File Line Insertions  %7ld New File Line Match Dupes",
                          ctl.InsertCount, ctl.NewDupeCount));
    EmitReportLine(Format("%7ld Old File Line Deletions   %7ld Old File Line Match Dupes",
                          ctl.DeleteCount, ctl.OldDupeCount));
    if (ctl.NewBlankCount + ctl.OldBlankCount > 0)
      EmitReportLine(Format("%7ld New File Lines Blank      %7ld Old File Lines Blank",
                            ctl.NewBlankCount, ctl.OldBlankCount));
  } else {
    const long changes = long(ctl.ReformCount) + ctl.InsertCount + ctl.DeleteCount - ctl.PairedCount;
    EmitReportLine(Format("%7ld Number Of Line Matches    %7ld Total Changes (Paired+NonPaired Chg) ",
                          ctl.MatchCount, changes));
    EmitReportLine(Format("%7ld Reformatted Lines         %7ld Paired Changes (Refm+Paired Ins/Del)",
                          ctl.ReformCount, long(ctl.ReformCount) + ctl.PairedCount));
    EmitReportLine(Format("%7ld New File Line Insertions  %7ld Non-Paired Inserts (Ins Paired-Chg)",
                          ctl.InsertCount, long(ctl.InsertCount) - ctl.PairedCount));
    EmitReportLine(Format("%7ld Old File Line Deletions   %7ld Non-Paired Deletes (Del Paired-Chg)",
                          ctl.DeleteCount, long(ctl.DeleteCount) - ctl.PairedCount));
  }
  EmitReportLine(Format("%7ld New File Lines Processed  %7ld Old File Lines Processed",
                        long(ctl.NewLinesTotal) - ctl.NewNotProcCount,
                        long(ctl.OldLinesTotal) - ctl.OldNotProcCount));
  if (AnyFilter(ctl)) {
    EmitReportLine(Format("%7ld New Not-Proc Dp/Cmt Lines %7ld Old Not-Proc Dp/Cmt Lines",
                          ctl.NewNotProcCount, ctl.OldNotProcCount));
    if (ctl.NewPartDpCount > 0 || ctl.OldPartDpCount > 0)
      EmitReportLine(Format("%7ld New Part Dp/Cmts Lines    %7ld Old Part Dp/Cmts Lines",
                            ctl.NewPartDpCount, ctl.OldPartDpCount));
  }
  if (ctl.OptFmvl && !ctl.OptClnc) {
    EmitReportLine(Format("%7ld Number of Moved lines detected", ctl.MovedCount));
    if (ctl.MovedSubOptimal)
      EmitReportLine("Moved Line detection sub optimal due to compare set size.");
  }
  auto totalBytes = [&](const TCompareFile& f) { return static_cast<long>(ComparedBytes(run, f)); };
  EmitReportLine(Format("%7ld New File Total Bytes      %7ld Old File Total Bytes", totalBytes(nf),
                        totalBytes(of)));
  char buf[ReportLineMax + 64];
  std::snprintf(buf, sizeof buf, "LISTING-TYPE = %s  OPTIONS = %s  LONGEST-LINE = (%d/%d) PASSES = %d",
                ctl.ListTypeName.c_str(), controls.MnlblOptsUsed.c_str(), nf.LongestLine,
                of.LongestLine, run.PassCt);
  EmitReportLine(buf);
  if (ctl.CcolActive) {
    EmitReportLine(ColumnsLine("NEW", nf));
    EmitReportLine(ColumnsLine("OLD", of));
  }
  if (ctl.DlnActive)
    for (size_t k = 0; k < controls.DpCkDpDln.size(); ++k)
      if (controls.DpCkDpDln[k])
        EmitReportLine("USING-FILTER-DPL" + std::to_string(k + 1) + " = " + controls.DpEdDpDln[k]);
  if (ctl.DlnBad) EmitReportLine(MsgBadDln);
  if (ctl.DpDudc)
    EmitReportLine("DUDC-DP-OPTION-LEADING-COMMENT-TEXT = \"" + controls.DpEdUdc +
                   "\". EMBEDDED-USE = \"" + controls.DpCbUdcYN + "\".");
  if (ctl.DpDud2)
    EmitReportLine("DUD2-DP-OPTION-LEADING-COMMENT-TEXT = \"" + controls.DpEdUdc2 +
                   "\". EMBEDDED-USE = \"" + controls.DpEdUdc3 + "\".");
  if (ctl.PcmpActive) {
    auto last = [](int n) { return n == 0 ? std::string("eod") : std::to_string(n); };
    EmitReportLine("PART-FILE NEW COMPARE LINES (" + std::to_string(ctl.PcmpNewFirst) + ":" +
                   last(ctl.PcmpNewLast) + ")  PART-FILE OLD COMPARE-LINES (" +
                   std::to_string(ctl.PcmpOldFirst) + ":" + last(ctl.PcmpOldLast) + ")");
  }
  if (ctl.OptClnc && ctl.DpActive)
    EmitReportLine("INFORM: Don't Process Options ignored for \"Compare Unordered list for Content "
                   "Preference\".");
  KeepFileWarnings(run);
  for (const std::string& line : WarningLines(ctl)) EmitReportLine(line);
  StatsRouting = false;
}

} // namespace quorlin
