// The Clnc listing: classification and counts of the two line lists, then a
// NEW file section and an OLD file section in Long, Delta or Chng form.
#include "listing/Listing.h"

#include "platform/Clock.h"
#include "platform/Text.h"

#include <algorithm>
#include <deque>

namespace quorlin {

namespace {

constexpr int ClncStatusEvery = 2000;

// Clnc uses SetStart as its duplicate mark and BlankLine for blank lines.
inline bool IsDupe(const TLineEntry& e) { return e.SetStart; }

} // namespace

void TListing::ClncStatus(const char* report, bool isNew, int k) {
  const int count = isNew ? Run->NewList->Count() : Run->OldList->Count();
  App.Progress(App.JobLabel + Printf("%s - %s File Line %d up to Line %d.", report,
                                     isNew ? "New" : "Old", k, count));
}

// Counts the lines and decides the reformats before anything is written.
void TListing::ClncClassify() {
  TCompareCtl& ctl = Ctl();
  TClncList& nl = *Run->NewList;
  TClncList& ol = *Run->OldList;
  const int newCount = nl.Count(), oldCount = ol.Count();

  for (int k = 1; k <= newCount && !App.UserStop; ++k) {
    if (k == 1 || k % ClncStatusEvery == 0)
      App.Progress(App.JobLabel + Printf("Processing New File Line %d up to Line %d.", k, newCount));
    TLineEntry& e = nl[k];
    e.Text = e.OrigText;
    if (e.Matched) continue;
    if (IsDupe(e))
      ++ctl.NewDupeCount;
    else if (e.BlankLine)
      ++ctl.NewBlankCount;
    else if (e.NotProcessed)
      ++ctl.NewNotProcCount;
    else
      ++ctl.InsertCount;
  }
  for (int k = 1; k <= oldCount && !App.UserStop; ++k) {
    if (k == 1 || k % ClncStatusEvery == 0)
      App.Progress(App.JobLabel + Printf("Processing Old File Line %d up to Line %d.", k, oldCount));
    // Partners lie anywhere in the NEW list: fetch them a few lines ahead.
    if (k + 8 <= oldCount && ol[k + 8].Matched) __builtin_prefetch(&nl[ol[k + 8].Partner]);
    TLineEntry& e = ol[k];
    e.Text = e.OrigText;
    if (e.Matched && !ctl.OptRovr) {
      TLineEntry& partner = nl[e.Partner];
      partner.Text = partner.OrigText;
      if (!ExactMatch(partner, e)) {
        e.Matched = false;
        e.Reformatted = true;
        if (!IsDupe(e)) ++ctl.ReformCount;
      }
    }
    if (IsDupe(e))
      ++ctl.OldDupeCount;
    else if (e.Matched)
      ++ctl.MatchCount;
    else if (e.BlankLine)
      ++ctl.OldBlankCount;
    else if (e.NotProcessed)
      ++ctl.OldNotProcCount;
    else if (!e.Reformatted)
      ++ctl.DeleteCount;
  }
  if (ctl.OptRovr || App.UserStop) return;
  for (int k = 1; k <= newCount; ++k) {
    if (k + 8 <= newCount && nl[k + 8].Matched) __builtin_prefetch(&ol[nl[k + 8].Partner]);
    TLineEntry& e = nl[k];
    if (e.Matched && !ExactMatch(e, ol[e.Partner])) {
      e.Matched = false;
      e.Reformatted = true;
    }
  }
  // A duplicate whose text differs from the line it repeats is a reformatted dupe.
  auto markDupes = [&](TClncList& list, int count, const TColumns& cols) {
    for (int k = 1; k <= count; ++k) {
      TLineEntry& e = list[k];
      if (IsDupe(e) && !SameText(e, cols, list[e.Partner], cols)) e.Reformatted = true;
    }
  };
  if (ctl.NewDupeCount > 0) markDupes(nl, newCount, Run->New->Col);
  if (ctl.OldDupeCount > 0) markDupes(ol, oldCount, Run->Old->Col);
}

void TListing::WriteClncListing() {
  TCompareCtl& ctl = Ctl();
  ClncClassify();
  if (App.UserStop || ctl.ListOvsum) return;
  if (App.ChangeSink) ReportClncChanges();
  const int changes = ctl.InsertCount + ctl.DeleteCount + ctl.ReformCount;
  const bool headings = ctl.FilesDiffer || ctl.ListLong;
  for (bool isNew : {true, false}) {
    ClncNewSection = isNew;
    if (ctl.ListLong) {
      if (headings) ClncSectionHeading(isNew);
      ClncLongSection(isNew);
    } else if (ctl.ListDelta && changes > 0) {
      if (headings) ClncSectionHeading(isNew);
      ClncDeltaSection(isNew);
    } else if (ctl.ListChng && changes + ctl.NewDupeCount + ctl.OldDupeCount > 0) {
      if (headings) ClncSectionHeading(isNew);
      const int own = ctl.ReformCount + ctl.NewDupeCount + ctl.OldDupeCount +
                      (isNew ? ctl.InsertCount : ctl.DeleteCount);
      if (own > 0) ClncChngSection(isNew);
    }
    if (App.UserStop) break;
  }
  ClncNewSection = false;
}

void TListing::ReportClncChanges() {
  const TCompareCtl& ctl = Ctl();
  for (bool isNew : {true, false}) {
    const TClncList& list = isNew ? *Run->NewList : *Run->OldList;
    for (int k = 1; k <= list.Count(); ++k) {
      const TLineEntry& e = list[k];
      if (e.Matched || e.NotProcessed || (ctl.OptXdpl && IsDupe(e))) continue;
      const char* id = IsDupe(e) ? (e.Reformatted ? "XR-" : isNew ? "XN-" : "XO-")
                       : e.Reformatted ? (isNew ? "RN-" : "RO-")
                                       : (isNew ? "I -" : "D -");
      // A reformatted line names its partner in the other list.
      const long partner = e.Reformatted && !IsDupe(e) ? e.Partner : 0;
      App.ChangeSink(id, isNew ? k : partner, isNew ? partner : k, {});
    }
  }
}

void TListing::ClncSectionHeading(bool isNew) {
  const TCompareCtl& ctl = Ctl();
  const std::string newFile = "New File = " + Run->New->FileName + "  " + FileTimeText(App.InputPath(true));
  const std::string oldFile = "Old File = " + Run->Old->FileName + "  " + FileTimeText(App.InputPath(false));
  if (App.BatchMode) {
    if (!isNew) EmitReportLine(" ");
    EmitReportLine(std::string(VersionString) + "Batch Compare Results - " +
                   (ctl.OptClnc ? "Clnc Preference " : "") + (isNew ? "New " : "Old ") +
                   "File Output Section");
    EmitReportLine(newFile);
    EmitReportLine(oldFile);
  } else if (isNew) {
    // Heading lines are cut at the report line width, as every report line is.
    auto heading = [&](TStringList& panel, const std::string& line) {
      AppendPanel(panel, std::string_view(line).substr(0, ReportLineMax));
    };
    const std::string title = std::string(VersionString) + (ctl.OptClnc ? " Clnc Preference " : " ");
    heading(App.Panel1Lines, title + "Compare Results - New File Output Section");
    heading(App.Panel2Lines, title + "Compare Results - Old File Output Section");
    for (TStringList* panel : {&App.Panel1Lines, &App.Panel2Lines}) {
      heading(*panel, newFile);
      heading(*panel, oldFile);
    }
  }
  const std::string ruler = Ruler(isNew ? " N-REF# CHG-TYPE O-MAT/N-DUP" : " O-REF# CHG-TYPE N-MAT/O-DUP");
  if (App.BatchMode)
    EmitReportLine(ruler);
  else
    AppendPanel(isNew ? App.Panel1Lines : App.Panel2Lines, std::string_view(ruler).substr(0, ReportLineMax));
}

void TListing::AppendClncLine(const TCompareCtl& ctl, const TLineEntry& e, bool isNew, int k, std::string& refs,
                              std::string& out) {
  const char* id;
  refs.assign(" ");
  auto number = [&](int n) { AppendLineNumber(refs, n); };
  number(k);
  if (e.Matched) {
    id = "    ";
    refs += "           ";
    number(e.Partner);
  } else if (e.NotProcessed) {
    id = "    ";
    refs += e.BlankLine ? " Np-Blank-Ln" : " Dp-Line";
  } else if (IsDupe(e)) {
    if (e.Reformatted) {
      id = "XR- ";
      refs += isNew ? " Refm-Dupe       " : " Refm-Dup        ";
    } else {
      id = isNew ? "XN- " : "XO- ";
      refs += isNew ? " New-Dupe        " : " Old-Dupe        ";
    }
    number(e.Partner);
  } else if (e.Reformatted) {
    id = isNew ? "RN- " : "RO- ";
    refs += isNew ? " New-Refm  " : " Old-Refm  ";
    number(e.Partner);
  } else {
    id = isNew ? "I - " : "D - ";
    refs += isNew ? " Insert" : " Delete";
  }
  AppendBodyLine(ctl.OptFscl, id, std::string_view(e.Text, static_cast<size_t>(e.TextLen)), refs, out);
}

void TListing::WriteClncEntry(bool isNew, int k) {
  const TLineEntry& e = isNew ? (*Run->NewList)[k] : (*Run->OldList)[k];
  BodyLine.clear();
  AppendClncLine(Ctl(), e, isNew, k, Refs, BodyLine);
  EmitBodyLine(BodyLine);
}

void TListing::ClncLongSection(bool isNew) {
  const TCompareCtl& ctl = Ctl();
  if (Run->Worker && App.BatchMode && App.ListingFile && !RawListing) {
    ClncLongSectionBlocks(isNew);
    return;
  }
  TClncList& list = isNew ? *Run->NewList : *Run->OldList;
  const int count = list.Count();
  for (int k = 1; k <= count && !App.UserStop; ++k) {
    if (k == 1 || k % ClncStatusEvery == 0) ClncStatus("Generating Long Report", isNew, k);
    const TLineEntry& e = list[k];
    if (ctl.OptXdpl && !e.Matched && (e.NotProcessed || IsDupe(e))) continue;
    WriteClncEntry(isNew, k);
  }
}

void TListing::ClncLongSectionBlocks(bool isNew) {
  TCompareCtl& ctl = Ctl();
  const TClncList& list = isNew ? *Run->NewList : *Run->OldList;
  const int count = list.Count();
  constexpr int Block = 16384;
  std::string ours, theirs, ourRefs, theirRefs;
  // Lines from..to (inclusive) of the list into out, each ended by CR LF.
  auto format = [&](int from, int to, std::string& refs, std::string& out, int& lines) {
    out.clear();
    lines = 0;
    for (int k = from; k <= to; ++k) {
      const TLineEntry& e = list[k];
      if (ctl.OptXdpl && !e.Matched && (e.NotProcessed || IsDupe(e))) continue;
      AppendClncLine(ctl, e, isNew, k, refs, out);
      out.append("\r\n");
      ++lines;
    }
  };
  for (int from = 1; from <= count && !App.UserStop && !ctl.ListingStop; from += Block) {
    const int to = std::min(count, from + Block - 1), mid = from + (to - from) / 2;
    for (int k = from; k <= to; ++k)
      if (k == 1 || k % ClncStatusEvery == 0) ClncStatus("Generating Long Report", isNew, k);
    int ourLines = 0, theirLines = 0;
    Run->Worker->Start([&] { format(mid + 1, to, theirRefs, theirs, theirLines); });
    format(from, mid, ourRefs, ours, ourLines);
    Run->Worker->Wait();
    if (ourLines + theirLines == 0) continue;
    if (ctl.HeadingDue) WriteListingHeading();
    if (ctl.ListingStop || App.UserStop) break;
    App.ListingFile->Write(ours);
    App.ListingFile->Write(theirs);
    App.ReportLineCount += ourLines + theirLines;
    if (App.ListingFile->Failed()) ctl.ListingStop = true;
  }
}

void TListing::ClncDeltaSection(bool isNew) {
  const TCompareCtl& ctl = Ctl();
  TClncList& list = isNew ? *Run->NewList : *Run->OldList;
  const int count = list.Count();
  const int longest = std::max(Run->New->LongestLine, Run->Old->LongestLine);
  int k = 1;
  while (k <= count && !App.UserStop) {
    if (k == 1 || k % ClncStatusEvery == 0) ClncStatus("Generating Delta Report", isNew, k);
    int matched = 0, dp = 0;
    for (; k <= count && (list[k].Matched || list[k].NotProcessed); ++k)
      ++(list[k].Matched ? matched : dp);
    const int first = k;
    int dupes = 0, reforms = 0, rest = 0;
    for (; k <= count && !list[k].Matched && !list[k].NotProcessed; ++k) {
      const TLineEntry& e = list[k];
      ++(IsDupe(e) ? dupes : (e.Reformatted ? reforms : rest));
    }
    if (k == first) continue;
    std::string separator;
    if (!ctl.OptFscl) {
      separator = std::string(88, ' ') +
                  Printf(isNew ? "Mat/Ins/Rfm/Dup/Blk=(%d,%d,%d,%d,%d)" : "Mat/Del/Rfm/Dup/Blk=(%d,%d,%d,%d,%d)",
                         matched, rest, reforms, dupes, dp);
    } else {
      const int blanks = std::max(16, std::min(128, longest) + 4) - 11;
      separator = std::string(static_cast<size_t>(blanks), ' ') +
                  Printf(isNew ? "LRef#=%-.5d " : "RRef#=%-.5d ", first);
    }
    EmitReportLine(separator);
    for (int c = first; c < k && !App.UserStop; ++c) WriteClncEntry(isNew, c);
  }
}

// Chng form: each run of changes with up to 6 unchanged lines before and
// after it; longer unchanged runs are counted in a "not shown" line.
void TListing::ClncChngSection(bool isNew) {
  const TCompareCtl& ctl = Ctl();
  TClncList& list = isNew ? *Run->NewList : *Run->OldList;
  const int count = list.Count();
  std::deque<int> held; // ClncHeldIndexes: at most 6
  bool trailing = false;
  auto writeHeld = [&] {
    for (int h : held) WriteClncEntry(isNew, h);
    held.clear();
  };
  int k = 1;
  while (k <= count && !App.UserStop) {
    int run = 0;
    for (; k <= count && (list[k].Matched || list[k].NotProcessed); ++k) {
      if (k % ClncStatusEvery == 0) ClncStatus("Generating Chng Report", isNew, k);
      if (ctl.OptXdpl && list[k].NotProcessed) continue;
      ++run;
      if (trailing && held.size() == 6) {
        writeHeld();
        trailing = false;
        run = 1;
      }
      held.push_back(k);
      if (held.size() > 6) held.pop_front();
    }
    if (held.size() == 6 && run >= 7) {
      char line[ReportLineMax + 1];
      if (k <= count) {
        std::snprintf(line, sizeof line,
                      "   ************* %d Unchanged New File Lines Not Shown *****************************",
                      run - 6);
        EmitReportLine(line);
      } else {
        std::snprintf(line, sizeof line,
                      "   ************* %d Unchanged New File Lines Not Shown *****************************",
                      run);
        EmitReportLine(line);
        EmitReportLine(" ");
        held.clear();
      }
    }
    writeHeld();
    for (; k <= count && !list[k].Matched && !list[k].NotProcessed && !App.UserStop; ++k) {
      if (k % ClncStatusEvery == 0) ClncStatus("Generating Chng Report", isNew, k);
      WriteClncEntry(isNew, k);
      trailing = true;
    }
  }
}

} // namespace quorlin
