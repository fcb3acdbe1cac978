#include "TestSupport.h"
#include "viewers/PrintLayout.h"
#include "viewers/Reports.h"
#include "viewers/RtfWriter.h"
#include "platform/OutputFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace quorlin::test {
namespace {

// The reports and print pages as lists, as the viewers make them one by one.
std::vector<std::string> SingleTextReport(const TResultView& view, const std::string& caption) {
  std::vector<std::string> lines;
  WriteSingleTextReport(view, caption, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}
std::vector<std::string> TwoPanelTextReport(const TResultView& view, TSplitLayout layout, const std::string& title = {}) {
  std::vector<std::string> lines;
  WriteTwoPanelTextReport(view, layout, title, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}
template <class Layout> std::vector<TPrintPage> Pages(Layout layout, const TResultView& view, const std::string& caption,
                                                      bool noRef, const TFontMetrics& m) {
  std::vector<TPrintPage> pages;
  layout(view, caption, noRef, m, [&](const TPrintPage& page) { pages.push_back(page); });
  return pages;
}

TViewFixture SmallListing() {
  return TViewFixture({"New File = new.txt  d", "Old File = old.txt  d", "ID  ----+----1 ruler", "    same",
                       "I - added", "RN- ref orm", " ", "     3 Number Of Line Matches", "INFORM: done"},
                      {"New File = new.txt  d", "Old File = old.txt  d", "ID  ----+----1 ruler", "    same",
                       "D - removed", " "},
                      6);
}

TEST(TextReports, StackedLayout) {
  TViewFixture fx = SmallListing();
  // Both panels with their headings and reference numbers, then the statistics.
  const std::vector<std::string> expected = {
      "My title", "Quorlin Double-Stacked Compare Report  12/06/26 10:00:00",
      " Panel 1 -- New Source Matches + Inserts", " New File = new.txt  d", " Old File = old.txt  d",
      " ID  ----+----1 ruler", "   1      same", "   2  I - added", "   3  RN- ref orm", " ",
      " Panel 2 -- New Source Matches + Deletes", " New File = new.txt  d", " Old File = old.txt  d",
      " ID  ----+----1 ruler", "   1      same", "   2  D - removed", "   3   ",
      "  ", "      3 Number Of Line Matches", " INFORM: done"};
  EXPECT_EQ(TwoPanelTextReport(fx.View, TSplitLayout::Stacked, "My title"), expected);
}

TEST(TextReports, SideBySideLayout) {
  TViewFixture fx = SmallListing();
  std::vector<std::string> lines = TwoPanelTextReport(fx.View, TSplitLayout::SideBySide);
  ASSERT_EQ(lines.size(), 1u + 1u + 6u + 3u);
  EXPECT_EQ(lines[0], "Quorlin Insert and Delete Side-By-Side Report  12/06/26 10:00:00");
  for (size_t k = 1; k <= 7; ++k) EXPECT_EQ(lines[k].size(), 182u) << k;
  EXPECT_EQ(lines[1].substr(0, 40), " Panel 1 -- New Source Matches + Inserts");
  EXPECT_EQ(lines[1].substr(91, 40), " Panel 2 -- New Source Matches + Deletes");
  EXPECT_EQ(lines[6].substr(0, 15), "   2  I - added");
  EXPECT_EQ(lines[6].substr(91, 17), "   2  D - removed");
  EXPECT_EQ(lines[9], "      3 Number Of Line Matches");

  // A left line longer than w1 is cut; the right part starts at column w1 + 2.
  TViewFixture wide({"h", "h", "h", "I - " + std::string(120, 'x'), " "}, {"h", "h", "h", "D - y"}, 4);
  lines = TwoPanelTextReport(wide.View, TSplitLayout::SideBySide);
  EXPECT_EQ(lines[5].substr(0, 101), "   1  I - " + std::string(80, 'x') + "    1  D - ");

  // Wide characters on the left keep the right panel in its column.
  TViewFixture utf8({"h", "h", "h", "I - " + std::string(40, 'x') + "\xC3\xBC" + std::string(39, 'x') + "00001",
                     " "},
                    {"h", "h", "h", "D - y"}, 4);
  lines = TwoPanelTextReport(utf8.View, TSplitLayout::SideBySide);
  EXPECT_EQ(ShownLength(lines[5].substr(0, lines[5].find("1  D - y"))), 94u) << lines[5];

  // Clnc panels are not padded: OLD-only lines below the last NEW body line
  // get rows with a blank left part, and the statistics follow them.
  TViewFixture clnc({"h", "h", "h", "h", "    a", "stat"}, {"h", "h", "h", "h", "    a", "D - b", "D - c"}, 5,
                    true);
  lines = TwoPanelTextReport(clnc.View, TSplitLayout::SideBySide);
  ASSERT_EQ(lines.size(), 2u + 7u + 1u);
  EXPECT_EQ(lines[7].find_first_not_of(' '), lines[8].find_first_not_of(' '));
  EXPECT_EQ(lines[8].substr(lines[8].find_first_not_of(' '), 5), "D - c");
  EXPECT_EQ(lines[9], " stat");
}

TEST(TextReports, CaptionsAndWidths) {
  TViewFixture fx = SmallListing();
  const std::string tail = "2----+----3----+----4----+----5----+----6----+----7----+----8";
  EXPECT_EQ(ViewerHeader(fx.View, TPanelRule::Single),
            " Ref# ID  ----+----1----+----" + tail + " N-REF# CHNG-TYPE   O-REF# LEN") << "ID over the rows' IDs";
  fx.View.Clnc = true;
  EXPECT_EQ(ViewerHeader(fx.View, TPanelRule::OldSide),
            " Ref# ID  Matches/Deletes ---" + tail + " O-REF# CHG-TYPE N-MAT/O-DUP");
  fx.View.Fscl = true;
  fx.View.OldLongest = 95;
  EXPECT_EQ(ViewerHeader(fx.View, TPanelRule::NewSide),
            " Ref# ID  Matches/Inserts ---" + tail + "----+----9----+");
  fx.View.NewLongest = 500;
  EXPECT_EQ(ViewerHeader(fx.View, TPanelRule::NewSide).size(), 90u + 48u) << "the ruler stops at 128";
  fx.View.Clnc = fx.View.Fscl = false;
  fx.View.NewLongest = fx.View.OldLongest = 0;
  TSplitWidths w = SplitWidths(fx.View);
  EXPECT_EQ(StackedLengthCaption(w), "Output save line length = 90");
  EXPECT_EQ(SideBySideLengthCaption(w), "(Output save line length = 182)");
  fx.View.Fscl = true;
  fx.View.NewLongest = 150;
  fx.View.OldLongest = 60;
  w = SplitWidths(fx.View);
  EXPECT_EQ(std::pair(w.W1, w.W2), std::pair(138, 90));
  std::vector<std::string> single = SingleTextReport(fx.View, "Caption");
  EXPECT_EQ(single[0] + "|" + single[1] + "|" + single[6], " |Caption|   2  I - added");
}

TEST(TextReports, SaveAsPlans) {
  auto exists = [](const std::string& p) { return p.find("old") != std::string::npos; };
  struct Case {
    const char* Name;
    std::string Chosen;
    bool RtfFilter, AppendBox;
    std::string Plan; ///< the path, then "rtf", "append" and "ask" where they apply
  } cases[] = {
      {"no extension, RTF filter, file there", "/d/old", true, false, "/d/old.Rtf rtf ask"},
      {"no extension, text filter, new file", "/d/new", false, false, "/d/new.Txt"},
      {"dot in a folder name only", "/d.x/new", false, false, "/d.x/new.Txt"},
      {"text report appended without a question", "/d/old.txt", false, true, "/d/old.txt append"},
      {"an existing rtf still asks with the append box", "/d/old.RTF", false, true, "/d/old.RTF rtf ask"},
      {"the dialog already asked", "/d/old.txt", false, false, "/d/old.txt"},
  };
  for (const auto& c : cases) {
    const TSavePlan plan = PlanSave(c.Chosen, c.RtfFilter ? FilterRtf : FilterAny, c.AppendBox, exists);
    EXPECT_EQ(plan.Path + (plan.Rtf ? " rtf" : "") + (plan.Append ? " append" : "") +
                  (plan.Question.empty() ? "" : " ask"),
              c.Plan)
        << c.Name;
  }
  EXPECT_EQ(PlanSave("/d/new", FilterHtml, false, exists).Path, "/d/new.html");
  EXPECT_TRUE(PlanSave("/d/r.HTM", FilterAny, true, exists).Html);
  EXPECT_EQ(PlanSave("/d/old", FilterRtf, false, exists).Question,
            " /d/old.Rtf already exists. Do you wish to replace it.");
}

TEST(TextReports, SavedWholeOrNotAtAll) {
  TTempDir dir;
  const std::string path = dir.Write("r.txt", "earlier report\n");
  EXPECT_EQ(SaveWholeFile(path, "new\n", false), "");
  EXPECT_EQ(ReadBytes(path), "new\n");
  EXPECT_EQ(SaveWholeFile(path, "more\n", true), "");
  EXPECT_EQ(ReadBytes(path), "new\nmore\n");
  const std::string missing = dir.PathOf("no/such/folder/r.txt");
  EXPECT_NE(SaveWholeFile(missing, "x", false).find("Cannot save \"" + missing + "\": No such file"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path), {}), 1) << "no temporary file is left";
  std::filesystem::create_symlink("r.txt", dir.PathOf("link.txt"));
  EXPECT_EQ(SaveWholeFile(dir.PathOf("link.txt"), "through the link\n", false), "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.PathOf("link.txt"))) << "the link stays a link";
  EXPECT_EQ(ReadBytes(path), "through the link\n");
  if (FILE* full = std::fopen("/dev/full", "w")) {
    std::fclose(full);
    EXPECT_NE(SaveWholeFile("/dev/full", "x", false).find("No space left on device"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full")) << "a device is written in place";
  }
}

TViewFixture LongTwoPanel(int leftLines) {
  std::vector<std::string> left = {"New File = a", "Old File = b", "ID  ----+----1"}, right = left;
  for (int i = 0; i < leftLines - 3; ++i) left.push_back("I - line " + std::to_string(i));
  for (int i = 0; i < 100; ++i) right.push_back("D - old " + std::to_string(i));
  const int stats = static_cast<int>(left.size());
  left.push_back(" ");
  left.push_back("LISTING-TYPE = Long");
  return TViewFixture(left, right, stats);
}

TEST(ColouredReports, PrintJobsEvery600Lines) {
  TViewFixture fx = LongTwoPanel(1300);
  int ticks = 0;
  TColouredReport r = BuildTwoPanelColoured(
      fx.View, {.Mode = TReportMode::Print, .PrintFontSize = 10, .Halted = {}, .Tick = [&](int, int) { ++ticks; }, .Send = {}});
  std::vector<std::string> names;
  for (const auto& job : r.Jobs) names.push_back(job.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"RichEdit Text600", "RichEdit Text1200", "RichEdit Section10",
                                             "RichEdit Text End"}));
  EXPECT_EQ(r.Jobs[1].Lines[0].Text, "Quorlin Continuation Job# - 1 -- 12/06/26 10:00:00");
  EXPECT_EQ(r.Jobs[0].FontSize, 10);
  EXPECT_EQ(r.Jobs[0].Lines[0].Colour, TLineColour::Blue);
  EXPECT_EQ(r.Jobs.back().Lines[0].Text, "Panel 2 Report -- Old Source Matches + Deletes");
  EXPECT_EQ(r.Jobs.back().Lines.back().Text, " LISTING-TYPE = Long");
  EXPECT_GT(ticks, 20);
  EXPECT_FALSE(r.Halted);
}

TEST(ColouredReports, StatisticsStartBeyondAShorterList) {
  // A halted run keeps the statistics start of an earlier, longer run.
  TViewFixture fx({"h1", "h2", "h3", "I - a"}, {"h1", "h2", "h3", " "}, 4000);
  TColouredReport r = BuildTwoPanelColoured(fx.View, TColouredOptions{});
  ASSERT_EQ(r.Jobs.size(), 1u);
  EXPECT_EQ(r.Jobs[0].Lines[6].Text, "   1 I - a");
}

TEST(ColouredReports, ReferenceNumbersAndHalt) {
  TViewFixture fx = SmallListing();
  TColouredOptions save;
  TColouredReport r = BuildTwoPanelColoured(fx.View, save);
  ASSERT_EQ(r.Jobs.size(), 1u);
  const auto& lines = r.Jobs[0].Lines;
  EXPECT_EQ(lines[5].Text, "ID  ----+----1 ruler");
  EXPECT_EQ(lines[7].Text, "   2 I - added") << "four columns and one blank";
  EXPECT_EQ(lines[7].Colour, TLineColour::Blue);
  EXPECT_EQ(lines[8].Colour, TLineColour::Teal);

  r = BuildTwoPanelColoured(fx.View, {.Mode = TReportMode::Print, .NoRefNumbers = true, .Halted = {}, .Tick = {}, .Send = {}});
  EXPECT_EQ(r.Jobs[0].Lines[5].Text, "---+----1 ruler") << "the heading loses five characters";
  EXPECT_EQ(r.Jobs[0].Lines[7].Text, "I - added");

  TViewFixture big = LongTwoPanel(1300);
  int built = 0;
  save.Halted = [&] { return ++built > 100; };
  r = BuildTwoPanelColoured(big.View, save);
  EXPECT_TRUE(r.Halted);
  EXPECT_TRUE(r.Jobs.empty()) << "a halt in the first panel saves nothing";

  r = BuildSingleColoured(fx.View, "Caption", {.Halted = [] { return true; }, .Tick = {}, .Send = {}});
  ASSERT_EQ(r.Jobs.size(), 1u) << "the single builder still saves what it built";
  EXPECT_EQ(r.Jobs[0].Lines[2].Text, "New File = new.txt  d");
}

TEST(ColouredReports, SentAsBuilt) {
  // Print jobs go out one by one as they are built; a save is written in
  // pieces to the same bytes as the whole document, or not at all.
  TViewFixture fx = LongTwoPanel(2600);
  std::vector<std::string> sent;
  TColouredReport r = BuildTwoPanelColoured(
      fx.View, {.Mode = TReportMode::Print, .Halted = {}, .Tick = {}, .Send = [&](TColouredDocument& job) {
                  sent.push_back(job.Name + (job.Final ? " final" : ""));
                }});
  EXPECT_TRUE(r.Jobs.empty());
  ASSERT_EQ(sent.size(), 6u); // four of panel 1, its section end, the last
  EXPECT_EQ(sent.front(), "RichEdit Text600");
  EXPECT_EQ(sent.back(), "RichEdit Text End final");

  TTempDir dir;
  const std::string path = dir.Write("r.rtf", "earlier report\n");
  const std::string whole = WriteRtf(BuildTwoPanelColoured(fx.View, {}).Jobs.back());
  bool halted = true;
  auto build = [&](const TColouredOptions& o) { return BuildTwoPanelColoured(fx.View, o); };
  EXPECT_EQ(SaveColouredReport(path, {}, build, halted), "");
  EXPECT_FALSE(halted);
  EXPECT_EQ(ReadBytes(path), whole);
  size_t pars = 0;
  for (size_t at = 0; (at = whole.find("\\par", at)) != std::string::npos; ++at) ++pars;
  EXPECT_GT(pars, SavePieceLines) << "more than one piece";

  dir.Write("r.rtf", "earlier report\n");
  int lines = 0;
  EXPECT_EQ(SaveColouredReport(path, {.Halted = [&] { return ++lines > 2500; }, .Tick = {}, .Send = {}}, build, halted), "");
  EXPECT_TRUE(halted);
  EXPECT_EQ(ReadBytes(path), "earlier report\n") << "a halt in the first panel leaves the earlier file";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path), {}), 1) << "no new file left beside it";
}

/// "x,y text" of placed text, "x,y bold text" when bold.
std::string Placed(const TPlacedText& t) {
  return std::to_string(t.X) + "," + std::to_string(t.Y) + (t.Bold ? " bold " : " ") + t.Text;
}

TEST(PrintLayout, ThreePagesOfASinglePrint) {
  std::vector<std::string> lines = {"New File = a", "Old File = b", "ID  ----+----1"};
  for (int i = 0; i < 120; ++i) lines.push_back("    line " + std::to_string(i));
  TViewFixture fx(lines, {}, static_cast<int>(lines.size()));
  const TFontMetrics m{10, 9, 20, 600, 1000}; // 60 characters a line, 50 - 4 = 46 lines a page
  std::string caption = "A caption that is much too long to fit on the heading line of the page";
  auto pages = Pages(LayoutSinglePrint, fx.View, caption, false, m);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(Placed(pages[0][0]), "27,40 bold " + caption.substr(0, 40) + " . . .");
  EXPECT_EQ(Placed(pages[2][1]), "510,40 bold Page   3");
  EXPECT_EQ(Placed(pages[0][2]), "27,80   New File = a") << "body lines start on line 4";
  EXPECT_EQ(pages[0].size(), 2u + 42u) << "rows 4 to 45 of 46";
  EXPECT_EQ(pages[0][5].Text, "    1      line 0");
  auto noRef = Pages(LayoutSinglePrint, fx.View, "t", true, m);
  EXPECT_EQ(noRef[0][5].Text, "      line 0");
  size_t total = 0;
  for (auto& p : pages) total += p.size() - 2;
  EXPECT_EQ(total, lines.size());

  // A listing that ends exactly on the last row of a page prints no empty page.
  lines.resize(42 * 2);
  TViewFixture exact(lines, {}, static_cast<int>(lines.size()));
  pages = Pages(LayoutSinglePrint, exact.View, "t", false, m);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[1].size(), 2u + 42u);
}

TEST(PrintLayout, TwoPanelPrintHeadings) {
  TViewFixture fx = SmallListing();
  TFontMetrics m{10, 10, 10, 800, 400}; // 80 characters, 36 lines a page
  auto pages = Pages(LayoutTwoPanelPrint, fx.View, "Caption", false, m);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(Placed(pages[0][2]), "30,30 bold  Panel 1 - New Source Matches and Inserts");
  auto panel2 = std::find_if(pages[0].begin(), pages[0].end(),
                             [](const TPlacedText& t) { return t.Text.find("Panel 2") != std::string::npos; });
  ASSERT_NE(panel2, pages[0].end());
  EXPECT_EQ(panel2->Y, (4 + 6 + 1) * 10) << "one blank row after panel 1";
  EXPECT_EQ(pages[0].back().Text, " INFORM: done");

  // Without reference numbers the headings stay whole.
  pages = Pages(LayoutTwoPanelPrint, fx.View, "Caption", true, m);
  EXPECT_EQ(pages[0][3].Text, " New File = new.txt  d");
  EXPECT_EQ(pages[0][6].Text, "      same") << "the number column is gone";
}

} // namespace
} // namespace quorlin::test
