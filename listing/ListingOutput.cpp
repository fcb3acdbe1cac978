// Output operations, headings, the Chng context rule and the report driver.
#include "listing/Listing.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quorlin {

const std::array<const char*, 7> LineIdTable = {"    ", "RN- ", "RO- ", "I - ",
                                                "D - ", "DM- ", "IM- "};

namespace {

constexpr const char* RulerBase =
    "Ref# ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8";
constexpr const char* RulerWide =
    "----+----9----+----10---+----11---+----12---+----13---+----14---+----15---+----16---+----17---+"
    "----18---+----19---+----2";
constexpr const char* NotShownFormat =
    "   ************* %d Unchanged New File Lines Not Shown *****************************";

} // namespace

void TListing::ReportPass(TCompareRun& run) {
  Run = &run;
  TCompareCtl& ctl = run.Ctl;
  App.StatsStarted = false;
  RawListing = false;
  StatsRouting = false;
  ClncNewSection = false;
  if (App.BatchMode) {
    LogReportLines = false;
    RawListing = ctl.OptFscl;
  }
  ctl.ListingReread = true;

  const bool anyFilter = AnyFilter(ctl);
  if (!ctl.FilesDiffer && !ctl.OptClnc) {
    if (!ctl.ListLong && !anyFilter) {
      ctl.MatchCount += run.New->PassLinesLimit;
      if (ctl.ListDelta && !ctl.LastPass) ctl.DeltaCarry += run.New->PassLinesLimit;
    } else {
      PrepareIdenticalPass();
    }
  }
  ctl.NewLinesTotal += run.New->PassLinesLimit;
  ctl.OldLinesTotal += run.Old->PassLinesLimit;
  if (!ctl.HeadingArmed) WriteListingHeading();

  if (ctl.OptClnc) {
    WriteClncListing();
  } else if (ctl.FilesDiffer || ctl.ListLong || ctl.DpActive) {
    WriteOrderedBody();
    if (ctl.ListChng && ctl.LastPass && ctl.InsertCount + ctl.DeleteCount + ctl.ReformCount > 0)
      CloseChngContext();
    FormatHeldMatches();
  }
  if (ctl.OptSbsl && !ctl.OptClnc) PadPanels();
  if (!ctl.OptNoss && (ctl.LastPass || ctl.OptClnc)) WriteStatistics();
}

void TListing::CloseChngContext() {
  TCompareCtl& ctl = Ctl();
  if (ctl.AfterChange) {
    for (int k = 0; k < ctl.HeldCount; ++k) {
      if (RawListing)
        EmitRawLine(KindMatch, Held(k));
      else
        EmitHeld(k);
    }
    ctl.HeldCount = 0;
  } else if (ctl.LeadContext) {
    ctl.SkippedCount += ctl.HeldCount;
    ctl.HeldCount = 0;
    WriteNotShownLine();
  }
}

void TListing::WriteListingHeading() {
  TCompareCtl& ctl = Ctl();
  if (!ctl.HeadingArmed) {
    ctl.HeadingArmed = true;
    ctl.HeadingDue = true;
    ctl.LeadContext = true;
    return;
  }
  ctl.HeadingDue = false;
  if (App.BatchMode && !ctl.OptClnc)
    EmitReportLine(std::string(VersionString) + " Win98/NT/2000 Line Compare Program - " +
                   App.JobLabel + "Batch OutPut  " + App.RunStamp);
  ctl.LeadContext = true;
  if (!ctl.OptClnc && ((ctl.FilesDiffer && !ctl.ListOvsum) || ctl.ListLong ||
                       (ctl.ListDelta && !ctl.LastPass))) {
    const TCompareFile& nf = *Run->New;
    const TCompareFile& of = *Run->Old;
    EmitReportLine("New File = " + nf.FileName + "  " + FileTimeText(App.InputPath(true)));
    EmitReportLine("Old File = " + of.FileName + "  " + FileTimeText(App.InputPath(false)));
    EmitReportLine(Ruler(" N-REF# CHNG-TYPE   O-REF# LEN"));
  }
}

// The ruler line: in batch mode from its sixth character; with Fscl extended
// to the longest line (at most 128), else followed by the reference titles.
std::string TListing::Ruler(const char* references) {
  const TCompareCtl& ctl = Ctl();
  std::string ruler = RulerBase;
  if (App.BatchMode) ruler.erase(0, 5);
  if (ctl.OptFscl) {
    int longest = std::min(128, std::max(Run->New->LongestLine, Run->Old->LongestLine));
    if (longest > 80) ruler.append(RulerWide, static_cast<size_t>(longest - 80));
  } else {
    ruler += references;
  }
  return ruler;
}

void TListing::AppendPanel(TStringList& panel, std::string_view line) {
  TCompareCtl& ctl = Ctl();
  if (ctl.ListingStop) return;
  if (panel.size() >= App.MaxPanelLines) {
    ctl.ListingStop = true;
    char buf[160];
    std::snprintf(buf, sizeof buf, "Results exceeded StingList maximum number of \" %zu \".\n%s",
                  App.Panel1Lines.size(), "Output results prematurely suspended.");
    App.FrontEnd->ShowMessage(std::string(buf).substr(0, 120));
    return;
  }
  panel.push_back(line);
}

void TListing::WriteListingFile(std::string_view line) {
  if (!App.ListingFile) return;
  App.ListingFile->Write(line);
  App.ListingFile->Write("\r\n");
  if (App.ListingFile->Failed()) Ctl().ListingStop = true;
}

void TListing::EmitReportLine(std::string_view line) {
  TCompareCtl& ctl = Ctl();
  std::string kept(line.substr(0, ReportLineMax));
  if (ctl.HeadingDue) WriteListingHeading();
  if (ctl.ListingStop) return;
  if (App.BatchMode) {
    if (LogReportLines) App.Panel1Lines.push_back(kept);
    WriteListingFile(kept);
  } else if (!ctl.OptClnc || StatsRouting) {
    AppendPanel(App.Panel1Lines, kept);
    if (ctl.OptSbsl && !App.StatsStarted) AppendPanel(App.Panel2Lines, kept);
  } else {
    AppendPanel(ClncNewSection ? App.Panel1Lines : App.Panel2Lines, kept);
  }
}

bool TListing::NeedsTreatment(std::string_view line) const {
  if (line.size() <= 4) return false;
  const std::string_view text = line.substr(4);
  const std::string_view field = !Run->Ctl.OptFscl && text.size() >= TextField ? text.substr(0, TextField) : text;
  // Without a control character the treated line is the line itself. Eight
  // bytes at a time: a byte below 32 keeps its high bit after 32 is taken
  // from it, which no byte of 32 to 127 does (bytes of 128 and up are
  // checked apart).
  constexpr uint64_t Ones = 0x0101010101010101u, Highs = 0x8080808080808080u;
  size_t k = 0;
  for (; k + 8 <= field.size(); k += 8) {
    uint64_t word;
    std::memcpy(&word, field.data() + k, 8);
    if (((word - 32 * Ones) & ~word & Highs) != 0) return true;
  }
  for (; k < field.size(); ++k)
    if (static_cast<unsigned char>(field[k]) < 32) return true;
  return false;
}

std::string TListing::TreatText(std::string_view line) const {
  const TCompareCtl& ctl = Run->Ctl;
  std::string out(line.substr(0, std::min<size_t>(line.size(), 4)));
  if (line.size() <= 4) return out;
  std::string_view text = line.substr(4);
  // Without Fscl the text field has a fixed width, so that the reference
  // columns after it stay in place when tabs are expanded.
  const bool fixedField = !ctl.OptFscl && text.size() >= TextField;
  std::string_view field = fixedField ? text.substr(0, TextField) : text;
  std::string treated;
  for (char ch : field) {
    if (ch == '\t' && ctl.OptXtab && ctl.TabWidth > 0) {
      // Tab stops every TabWidth columns counted from column 1 of the line.
      size_t column = 4 + treated.size() + 1;
      size_t next = ((column - 1) / static_cast<size_t>(ctl.TabWidth) + 1) *
                        static_cast<size_t>(ctl.TabWidth) + 1;
      treated.append(next - column, ' ');
    } else if (static_cast<unsigned char>(ch) < 32) {
      treated += ctl.OptSubc ? ctl.SubcChar : '.';
    } else {
      treated += ch;
    }
  }
  if (fixedField) {
    treated.resize(TextField, ' ');
    treated.append(text.substr(TextField));
  }
  out += treated;
  // Expanded tabs must not make the line longer than a body line may be.
  if (out.size() > std::max(BodyLineMax, line.size())) out.resize(std::max(BodyLineMax, line.size()));
  return out;
}

void TListing::RouteBodyLine(std::string_view line) {
  const TCompareCtl& ctl = Ctl();
  if (!ctl.OptSbsl) {
    AppendPanel(App.Panel1Lines, line);
    return;
  }
  std::string_view tag = line.substr(0, 3);
  if (!ctl.OptClnc) {
    if (tag == "   ") {
      PadPanels();
      AppendPanel(App.Panel1Lines, line);
      AppendPanel(App.Panel2Lines, line);
    } else if (tag == "RN-") {
      PadPanels();
      AppendPanel(App.Panel1Lines, line);
      if (!ctl.OptLorl) AppendPanel(App.Panel2Lines, " ");
    } else if (tag == "RO-" || tag == "D -" || tag == "DM-" || tag == "XO-" || tag == "XR-") {
      AppendPanel(App.Panel2Lines, line);
    } else if (tag == "I -" || tag == "IM-" || tag == "XN-") {
      AppendPanel(App.Panel1Lines, line);
    }
    return;
  }
  if (tag == "   " || tag == "XR-") {
    AppendPanel(ClncNewSection ? App.Panel1Lines : App.Panel2Lines, line);
  } else if (tag == "RN-" || tag == "I -" || tag == "IM-" || tag == "XN-") {
    AppendPanel(App.Panel1Lines, line);
  } else if (tag == "RO-" || tag == "D -" || tag == "DM-" || tag == "XO-") {
    AppendPanel(App.Panel2Lines, line);
  }
}

void TListing::CountReportLine(int every) {
  ++App.ReportLineCount;
  if (!Ctl().OptClnc && App.ReportLineCount % every == 0) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "PassCt= %d  Writing Report lines %d", Run->PassCt,
                  App.ReportLineCount);
    App.Progress(App.JobLabel + buf);
  }
}

void TListing::EmitBodyLine(std::string_view line) {
  TCompareCtl& ctl = Ctl();
  if (ctl.HeadingDue) WriteListingHeading();
  if (!ctl.ListingStop && !App.UserStop) {
    if (App.BatchMode)
      WriteListingFile(line);
    else if (NeedsTreatment(line))
      RouteBodyLine(TreatText(line));
    else
      RouteBodyLine(line);
  }
  CountReportLine(2000);
}

void TListing::EmitRawLine(int kind, std::string_view text) {
  TCompareCtl& ctl = Ctl();
  if (ctl.HeadingDue) WriteListingHeading();
  if (!ctl.ListingStop && !App.UserStop && App.ListingFile) {
    App.ListingFile->Write(LineIdTable[static_cast<size_t>(kind)]);
    WriteListingFile(text);
  }
  CountReportLine(1000);
}

void TListing::WriteNotShownLine() {
  TCompareCtl& ctl = Ctl();
  ctl.LeadContext = false;
  char buf[ReportLineMax + 1];
  std::snprintf(buf, sizeof buf, NotShownFormat, ctl.SkippedCount);
  if (RawListing) {
    if (ctl.HeadingDue) WriteListingHeading();
    if (!ctl.ListingStop) WriteListingFile(buf);
  } else {
    EmitReportLine(buf);
  }
}

void TListing::ChngContextFilter(std::string_view line) {
  TCompareCtl& ctl = Ctl();
  if (!ctl.ListChng) {
    EmitBodyLine(line);
    return;
  }
  ChngContextFilterRaw(-1, line);
}

// The Chng rule: every change with up to 6 unchanged lines before and after
// it. Seven lines are held: the seventh tells whether a trailing context of 6
// is complete. kind is -1 for formatted lines, else the raw line kind.
void TListing::ChngContextFilterRaw(int kind, std::string_view text) {
  TCompareCtl& ctl = Ctl();
  if (kind >= 0 && !ctl.ListChng) {
    EmitRawLine(kind, text);
    return;
  }
  Held(ctl.HeldCount).assign(text);
  HeldKind(ctl.HeldCount) = kind;
  ++ctl.HeldCount;
  AfterHold(kind >= 0 ? kind != KindMatch : (!text.empty() && text[0] != ' '));
}

void TListing::AfterHold(bool change) {
  TCompareCtl& ctl = Ctl();
  if (change) {
    if (ctl.LeadContext && ctl.SkippedCount > 0) WriteNotShownLine();
    for (int k = 0; k < ctl.HeldCount; ++k) EmitHeld(k);
    ctl.HeldCount = 0;
    ctl.AfterChange = true;
    ctl.LeadContext = false;
    ctl.SkippedCount = 0;
  } else if (ctl.HeldCount == 7) {
    if (!ctl.AfterChange) {
      HeldFirst = (HeldFirst + 1) % 7; // drop the oldest
      ctl.HeldCount = 6;
      ++ctl.SkippedCount;
    } else {
      for (int k = 0; k < 6; ++k) EmitHeld(k);
      HeldFirst = (HeldFirst + 6) % 7; // the seventh stays, now the first
      ctl.HeldCount = 1;
      ctl.AfterChange = false;
      ctl.LeadContext = true;
    }
  }
}

void TListing::EmitHeld(int k) {
  const int kind = HeldKind(k);
  if (kind == HeldMatchLater) {
    const THeldMatch& m = HeldMatch(k);
    FormatMatch(m.NewIndex, m.OldIndex, m.Pos);
    EmitBodyLine(BodyLine);
  } else if (kind >= 0) {
    EmitRawLine(kind, Held(k));
  } else {
    EmitBodyLine(Held(k));
  }
}

void TListing::FormatHeldMatches() {
  for (int k = 0; k < Ctl().HeldCount; ++k) {
    if (HeldKind(k) != HeldMatchLater) continue;
    const THeldMatch& m = HeldMatch(k);
    FormatMatch(m.NewIndex, m.OldIndex, m.Pos);
    Held(k) = BodyLine;
    HeldKind(k) = -1;
  }
}

void TListing::PadPanels() {
  while (App.Panel1Lines.size() != App.Panel2Lines.size() && !Ctl().ListingStop) {
    if (App.Panel1Lines.size() < App.Panel2Lines.size())
      AppendPanel(App.Panel1Lines, " ");
    else
      AppendPanel(App.Panel2Lines, " ");
  }
}

} // namespace quorlin
