#include "viewers/Reports.h"

#include "app/CompareFlow.h"
#include "viewers/HtmlWriter.h"
#include "listing/Listing.h"
#include "platform/OutputFile.h"
#include "platform/Text.h"

#include <algorithm>

namespace quorlin {

namespace {

constexpr const char* Product = "Quorlin";
constexpr int EventsEvery = 50;

/// A line of count blanks with text written from column (1-based), cut to width.
void Place(std::string& line, size_t column, std::string_view text, size_t width) {
  text = text.substr(0, width);
  if (line.size() < column - 1 + text.size()) line.resize(column - 1 + text.size(), ' ');
  line.replace(column - 1, text.size(), text);
}

/// A numbered listing line with its reference columns aligned (AppendAligned),
/// as the panels show it; with Fscl as it is.
std::string Aligned(const TResultView& view, std::string_view line) {
  if (view.Fscl) return std::string(line);
  std::string out;
  AppendAligned(out, line);
  return out;
}

/// Appends text to line as a cell width characters wide: cut to width
/// characters, then blanks up to the width.
void AppendCell(std::string& line, std::string_view text, size_t width) {
  const std::string_view shown = ShownPrefix(text, width);
  line.append(shown);
  line.append(width - ShownLength(shown), ' ');
}

/// The changed characters of a numbered row as the report writes it, after
/// a prefix of the given length; none unless options ask for them.
TCharRanges Marked(TRowMarks& marks, const TColouredOptions& options, TPanelRule rule, long i, bool numbered,
                   size_t prefix) {
  if (!options.MarkChanges || !numbered) return {};
  TCharRanges ranges = marks.Marks(rule, i);
  for (TCharRange& r : ranges) r.From += prefix, r.To += prefix;
  return ranges;
}

/// Builds coloured documents and splits them into print jobs.
class TColouredBuilder {
public:
  TColouredBuilder(const TColouredOptions& options, TColouredReport& report)
      : Options(options), Report(report) {
    NewDocument();
  }
  bool Print() const { return Options.Mode == TReportMode::Print; }
  void Append(std::string text, TLineColour colour, TCharRanges marks = {}) {
    Doc().Lines.push_back({std::move(text), colour, std::move(marks)});
    if (Options.Send && !Print() && Current.Lines.size() >= SavePieceLines) {
      Options.Send(Current);
      Current.Lines.clear();
    }
  }
  /// Sends the document as a print job named name and starts a new one.
  void SendJob(const std::string& name) {
    Doc().Name = name;
    Hand();
    NewDocument();
  }
  /// Delivers the document being built (the last job, or the document to
  /// save). A halted print sends no job after the halt.
  void Deliver(const std::string& name) {
    if (Print() && Report.Halted) return;
    if (Print()) Doc().Name = name;
    Current.Final = true;
    Hand();
  }
  /// After each line of a panel: events every 50 lines; true when the user halted.
  bool Counted(int panel, int count) {
    if (count % EventsEvery == 0 && Options.Tick) Options.Tick(panel, count);
    if (Options.Halted && Options.Halted()) Report.Halted = true;
    return Report.Halted;
  }
  TColouredDocument& Doc() { return Current; }

private:
  const TColouredOptions& Options;
  TColouredReport& Report;
  TColouredDocument Current;
  /// The document goes to Send, or into the report.
  void Hand() {
    if (Options.Send)
      Options.Send(Current);
    else
      Report.Jobs.push_back(std::move(Current));
  }
  void NewDocument() {
    Current = {};
    Current.FontSize = Print() ? Options.PrintFontSize : 8;
  }
};

std::string Continuation(int n, const std::string& stamp) {
  return std::string(Product) + " Continuation Job# - " + std::to_string(n) + " -- " + stamp;
}

} // namespace

std::string DualViewerCaption(const std::string& runStamp) {
  return std::string(VersionString) + " Line Compare - Dual Panel Display of Comparison Report  " + runStamp;
}

std::string SingleViewerCaption(const std::string& runStamp) {
  return std::string(VersionString) + " Line Compare - New Source + Inserts and Deletes  " + runStamp;
}

std::string ViewerHeader(const TResultView& view, TPanelRule rule) {
  static constexpr std::string_view Tail = "2----+----3----+----4----+----5----+----6----+----7----+----8";
  static constexpr std::string_view Ruler =
      "----+----9----+----10---+----11---+----12---+----13---+----14---+----15---+----16---+----17---+"
      "----18---+----19---+----2";
  std::string header = rule == TPanelRule::Single   ? " Ref# ID  ----+----1----+----" + std::string(Tail)
                       : rule == TPanelRule::NewSide ? " Ref# ID  Matches/Inserts ---" + std::string(Tail)
                                                     : " Ref# ID  Matches/Deletes ---" + std::string(Tail);
  if (view.Fscl) {
    const int w = std::min(128, std::max(view.NewLongest, view.OldLongest));
    if (w > 80) header += Ruler.substr(0, static_cast<size_t>(w - 80));
  } else if (view.Clnc) {
    header += rule == TPanelRule::OldSide ? " O-REF# CHG-TYPE N-MAT/O-DUP" : " N-REF# CHG-TYPE O-MAT/N-DUP";
  } else {
    header += " N-REF# CHNG-TYPE   O-REF# LEN";
  }
  return header;
}

TSplitWidths SplitWidths(const TResultView& view) {
  TSplitWidths w;
  if (view.Fscl && (view.NewLongest > 80 || view.OldLongest > 80)) {
    w.W1 = std::max(80, std::min(view.NewLongest, 128)) + 10;
    w.W2 = std::max(80, std::min(view.OldLongest, 128)) + 10;
  }
  return w;
}

std::string StackedLengthCaption(const TSplitWidths& widths) {
  return Printf("Output save line length = %d", widths.Stacked());
}

std::string SideBySideLengthCaption(const TSplitWidths& widths) {
  return "(Output save line length = " + std::to_string(widths.SideBySide()) + ")";
}

void WriteSingleTextReport(const TResultView& view, const std::string& caption, const TReportLines& out) {
  out(" ");
  out(caption);
  std::string line;
  for (size_t i = 0; i < view.Panel1->size(); ++i) {
    DisplayText(view, TPanelRule::Single, static_cast<long>(i), line);
    out(line);
  }
}

void WriteTwoPanelTextReport(const TResultView& view, TSplitLayout layout, const std::string& title,
                             const TReportLines& out) {
  if (!title.empty()) out(title);
  const long stats = view.StatsFirstLine;
  const long count1 = static_cast<long>(view.Panel1->size());
  const long count2 = static_cast<long>(view.Panel2->size());
  std::string text;
  auto display = [&](TPanelRule rule, long i) -> const std::string& {
    DisplayText(view, rule, i, text);
    return text;
  };
  if (layout == TSplitLayout::Stacked) {
    out(std::string(Product) + " Double-Stacked Compare Report  " + view.RunStamp);
    out(" Panel 1 -- New Source Matches + Inserts");
    for (long i = 0; i < std::max(1L, stats); ++i) out(display(TPanelRule::NewSide, i));
    out(" ");
    out(" Panel 2 -- New Source Matches + Deletes");
    for (long i = 0; i < std::max(1L, count2); ++i) out(display(TPanelRule::OldSide, i));
  } else {
    const TSplitWidths w = SplitWidths(view);
    const size_t width = static_cast<size_t>(w.SideBySide());
    const size_t right = static_cast<size_t>(w.W1) + 2;
    out(std::string(Product) + " Insert and Delete Side-By-Side Report  " + view.RunStamp);
    std::string heading(width, ' ');
    Place(heading, 1, " Panel 1 -- New Source Matches + Inserts", 40);
    Place(heading, right, " Panel 2 -- New Source Matches + Deletes", 40);
    out(heading);
    // Clnc panels are not padded to each other, so OLD-only lines may run on
    // below the last NEW body line; the rows go on while either panel has one.
    // The cells are cut and padded by characters, so that the right panel
    // stands in one column whatever the bytes of the left one.
    std::string line;
    for (long i = 0; i < std::max(stats, count2); ++i) {
      line.clear();
      AppendCell(line, i < stats ? display(TPanelRule::NewSide, i) : std::string(), size_t(w.W1));
      line.push_back(' ');
      AppendCell(line, i < count2 ? display(TPanelRule::OldSide, i) : std::string(), size_t(w.W2));
      line.push_back(' ');
      out(line);
    }
  }
  for (long i = stats; i < count1; ++i) out(display(TPanelRule::NewSide, i));
}

std::string SaveTextReport(const std::string& path, bool append, const std::function<void(const TReportLines&)>& report) {
  TWholeFile file;
  if (std::string error = file.Open(path, append); !error.empty()) return error;
  report([&](std::string_view line) {
    file.Write(line);
    file.Write("\n");
  });
  return file.Commit();
}

TSavePlan PlanSave(const std::string& chosen, int filter, bool appendBox,
                   const std::function<bool(const std::string&)>& exists, const std::string& newFile,
                   const std::string& oldFile) {
  TSavePlan plan;
  plan.Path = chosen;
  // The viewer asks itself when the dialog did not (append box) or when it
  // added the extension to the name.
  bool checkSelf = appendBox;
  const size_t slash = chosen.find_last_of('/');
  const size_t dot = chosen.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    plan.Path += filter == FilterRtf ? ".Rtf" : filter == FilterHtml ? ".html" : ".Txt";
    checkSelf = true;
  }
  const size_t ext = plan.Path.find_last_of('.');
  plan.Rtf = LowerAscii(plan.Path.substr(ext)) == ".rtf";
  plan.Html = HtmlName(plan.Path);
  plan.Refusal = OutputIsInputMessage(plan.Path, newFile, oldFile);
  const bool there = exists(plan.Path);
  plan.Append = !plan.Rtf && !plan.Html && appendBox && there;
  if (checkSelf && there && !plan.Append)
    plan.Question = " " + plan.Path + " already exists. Do you wish to replace it.";
  return plan;
}

TColouredReport BuildTwoPanelColoured(const TResultView& view, const TColouredOptions& options) {
  TColouredReport report;
  TColouredBuilder b(options, report);
  TRowMarks marks(view);
  const bool noRef = b.Print() && options.NoRefNumbers;
  const int lead = HeadingLead(view, TPanelRule::NewSide);
  int job = 0;

  b.Append(std::string(Product) + " File Compare Report - " + view.RunStamp, TLineColour::Blue);
  b.Append(" ", TLineColour::Blue);
  b.Append("Panel 1 Report -- New Source Matches + Inserts", TLineColour::Red);

  // One panel's lines with their reference numbers; print jobs every 600 lines.
  auto panel = [&](TPanelRule rule, long count, const char* jobName, int number) {
    const TStringList& list = PanelList(view, rule);
    count = std::min(count, static_cast<long>(list.size()));
    TLineColour colour = TLineColour::Red;
    for (long i = 0, lines = 0; i < count; ++i) {
      colour = LineColour(view, rule, i);
      const std::string_view line = list[static_cast<size_t>(i)];
      const std::string prefix = i > lead && !noRef ? Printf("%4ld ", i - lead) : std::string();
      std::string s = prefix + (i > lead ? Aligned(view, line) : std::string(line));
      if (i == lead && noRef) s.erase(0, std::min<size_t>(5, s.size()));
      b.Append(std::move(s), colour, Marked(marks, options, rule, i, i > lead, prefix.size()));
      ++lines;
      if (b.Print() && lines % LinesPerPrintJob == 0) {
        b.SendJob(jobName + std::to_string(lines));
        b.Append(Continuation(++job, view.RunStamp), colour);
        b.Append(" ", colour);
      }
      if (b.Counted(number, static_cast<int>(lines))) return;
    }
  };

  panel(TPanelRule::NewSide, view.StatsFirstLine, "RichEdit Text", 1);
  if (report.Halted) return report; // nothing more is saved or printed
  if (b.Print())
    b.SendJob("RichEdit Section1" + std::to_string(0));
  else
    b.Append(" ", TLineColour::Red);
  b.Append("Panel 2 Report -- Old Source Matches + Deletes", TLineColour::Red);
  b.Append(" ", TLineColour::Red);
  panel(TPanelRule::OldSide, static_cast<long>(view.Panel2->size()), "RichEdit Section2", 2);
  if (!report.Halted)
    for (long i = std::max(0, view.StatsFirstLine); i < static_cast<long>(view.Panel1->size()); ++i)
      b.Append(" " + std::string((*view.Panel1)[static_cast<size_t>(i)]), LineColour(view, TPanelRule::NewSide, i));
  b.Deliver("RichEdit Text End");
  return report;
}

TColouredReport BuildSingleColoured(const TResultView& view, const std::string& caption,
                                    const TColouredOptions& options) {
  TColouredReport report;
  TColouredBuilder b(options, report);
  TRowMarks marks(view);
  const bool noRef = b.Print() && options.NoRefNumbers;
  b.Append(caption, TLineColour::Red);
  b.Append(" ", TLineColour::Red);
  int count = 2, job = 0;
  for (long i = 0; i < static_cast<long>(view.Panel1->size()); ++i) {
    const TLineColour colour = LineColour(view, TPanelRule::Single, i);
    const std::string_view line = (*view.Panel1)[static_cast<size_t>(i)];
    const bool numbered = i > 2 && i < view.StatsFirstLine;
    const std::string prefix = numbered && !noRef ? Printf("%4ld  ", i - 2) : std::string();
    std::string s = prefix + (numbered ? Aligned(view, line) : std::string(line));
    if (i == 2) {
      s.erase(0, std::min<size_t>(5, s.size()));
      if (!noRef) s = "Ref#  " + s;
    }
    b.Append(std::move(s), colour, Marked(marks, options, TPanelRule::Single, i, numbered, prefix.size()));
    ++count;
    if (b.Print() && count % LinesPerPrintJob == 0) {
      b.SendJob("RichEdit Text" + std::to_string(count));
      b.Append(" " + Continuation(++job, view.RunStamp), TLineColour::Red);
      b.Append(" ", TLineColour::Red);
    }
    if (b.Counted(1, count)) break;
  }
  b.Deliver("Quorlin RichEdit Text");
  return report;
}

const std::vector<TLegendRow>& ChangeFlagLegend() {
  static const std::vector<TLegendRow> rows = {
      {"   ", TLineColour::Black,
       "Blank :\n  \"Matched\" with both new and old file lines compared as equal, \n "
       "\"Not Processed\",  \"Comment\", or \"Reformat Overridden\" lines."},
      {"I -", TLineColour::Blue, ": Inserted line in new file.  Absent (sequentially) from old file."},
      {"D -", TLineColour::Red, ": Deleted line from old file.  Absent (sequentially ) from new file."},
      {"IM-", TLineColour::Blue, ": Inserted new file moved line.  Matched but out of sequence."},
      {"DM-", TLineColour::Red, ": Deleted old file moved line.  Matched but out of sequence."},
      {"RN-", TLineColour::Blue, ": Reformatted new file line.  Same data content as old line."},
      {"RO-", TLineColour::Red, ": Reformatted old file line.  Same data content as new line."},
      {"XN-", TLineColour::Blue, ": Duplicate New Line Match using Clnc (Unordered Compare)."},
      {"XO-", TLineColour::Red, ": Duplicate Old Line Match using Clnc (Unordered Compare)."},
      {"XR-", TLineColour::Blue, ": Duplicate Refm New/Old Line using Clnc preference."},
  };
  return rows;
}

} // namespace quorlin
