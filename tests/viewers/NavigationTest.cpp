#include "TestSupport.h"
#include "viewers/Navigation.h"

#include <gtest/gtest.h>

#include <random>

namespace quorlin::test {
namespace {

const std::vector<std::string> Head = {"New File = a.txt  date", "Old File = b.txt  date", "ID  ----+----1"};

std::vector<std::string> WithHead(std::initializer_list<std::string> body) {
  std::vector<std::string> v = Head;
  v.insert(v.end(), body);
  return v;
}

/// The heading, then count times line.
std::vector<std::string> Repeated(int count, const std::string& line = "    x") {
  std::vector<std::string> v = Head;
  v.insert(v.end(), static_cast<size_t>(count), line);
  return v;
}

/// The selection of the single or the first panel, with both "first/second".
template <class M> std::string Sel(const M& m, bool both) {
  if constexpr (std::is_same_v<M, TSinglePanelModel>) return std::to_string(m.Panel.Selection);
  else return std::to_string(m.First.Selection) + (both ? "/" + std::to_string(m.Second.Selection) : "");
}

/// Presses Next ('n') and Previous ('p') in turn. For each press the message
/// shown (empty when a line was selected), then the selection; the presses
/// joined by blanks.
template <class M> std::string Presses(M& m, std::string_view keys, bool both = false) {
  std::string out;
  for (char k : keys) {
    out += (out.empty() ? "" : " ") + (k == 'n' ? m.NextSpan() : m.PrevSpan());
    out += Sel(m, both);
  }
  return out;
}

/// Find next: the message (empty on a hit), then the selection.
template <class M> std::string Found(M& m, std::string_view text, bool down, bool both = false) {
  const std::string message = m.Find(text, down);
  return message + Sel(m, both);
}

TEST(SideBySideNavigation, SpansOfEachKind) {
  auto lines = WithHead({"I - a", "I - b", "D - c", "D - d", "    e", "    f", "RN- g", "    h"});
  TViewFixture fx(lines, lines, static_cast<int>(lines.size()));
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::SideBySide);
  m.First.Selection = 1;
  // A selection on line 1 starts the scan at line 3; the delete run is a span
  // of its own; at the end the selection stays on the last change; up stops
  // on the last line of the span above.
  EXPECT_EQ(Presses(m, "nnnn"), "3 5 9 " + MsgNoForwardSequences() + "9");
  EXPECT_EQ(Presses(m, "ppp"), "6 4 " + MsgNoBackwardSequences() + "4");
  EXPECT_EQ(MsgNoForwardSequences(), std::string(28, ' ') + "No more forward change sequences found" +
                                         std::string(26, ' ') + ".");
}

TEST(SideBySideNavigation, CouplingAndToBtm) {
  TViewFixture fx(Repeated(100), Repeated(40), 103);
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::SideBySide);
  m.First.Rows = m.Second.Rows = 10;
  m.FirstScrolled(20);
  EXPECT_EQ(m.Second.TopLine, 20);
  m.SecondScrolled(25);
  EXPECT_EQ(m.First.TopLine, 25);
  m.FirstClicked(30);
  EXPECT_EQ(m.Second.Selection, 30);

  m.ToBtm();
  EXPECT_EQ(m.First.Selection, 102);
  EXPECT_EQ(m.Second.Selection, 42);
  EXPECT_EQ(m.First.TopLine, 93) << "the shorter right list does not drag the left panel up";
  EXPECT_FALSE(m.SyncSuppressed);
  m.ToTop();
  EXPECT_EQ((std::vector<int>{m.First.Selection, m.Second.Selection, m.First.TopLine}), (std::vector<int>{0, 0, 0}));
}

TEST(SideBySideNavigation, ClncPanelsScrollApartButClicksLineUp) {
  TViewFixture fx(Repeated(60), Repeated(60, "    y"), 63, true);
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::SideBySide);
  m.FirstScrolled(15);
  EXPECT_EQ(m.Second.TopLine, 0);
  m.SecondScrolled(9);
  EXPECT_EQ(m.First.TopLine, 15);
  m.FirstClicked(17);
  EXPECT_EQ(m.Second.Selection, 17);
  EXPECT_EQ(m.Second.TopLine, 15);
}

TEST(SideBySideNavigation, Find) {
  std::vector<std::string> left = Head, right = Head;
  for (int i = 1; i <= 20; ++i) {
    left.push_back("    line " + std::string(1, static_cast<char>('a' + i)));
    right.push_back(i == 15 ? "D - Deleted Word" : "    line");
  }
  TViewFixture fx(left, right, static_cast<int>(left.size()));
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::SideBySide);
  m.First.Selection = -1;
  m.OpenFind();
  EXPECT_EQ(m.First.Selection, 0);
  EXPECT_EQ(Found(m, "  12 ", true, true), "14/14") << "the reference number 12 is part of the display text";
  EXPECT_EQ(Found(m, "deleted WORD", true, true), "17/17") << "a hit in the right panel moves both";
  EXPECT_EQ(Found(m, "deleted word", true), MsgTextNotFound + std::string("17")) << "no wrap-around";
  EXPECT_EQ(Found(m, "New File", false), "0");
}

TEST(HorizontalNavigation, ChangeKindsAndCoupling) {
  auto left = WithHead({"I - a", "I - b", "    c", "IM- d", "RN- e", "    f", "I - g", "    h", "    i"});
  auto right = WithHead({"D - a", "D - b", "    c", "DM- d", "RO- e", "    f", " ", "    h", "    i"});
  TViewFixture fx(left, right, static_cast<int>(left.size()));
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::Horizontal);
  m.First.Selection = m.Second.Selection = 3;
  // Inserts and deletes passed, it stops on the moved line, then on another
  // kind, then on the first change after an unchanged line.
  EXPECT_EQ(Presses(m, "nnnn"), "6 7 9 " + std::string(MsgNoForwardSpans) + "9");
  m.First.Selection = m.Second.Selection = 1;
  EXPECT_EQ(Presses(m, "n"), "3") << "selections below 3 start the scan at line 3";
  m.First.Selection = 9;
  EXPECT_EQ(Presses(m, "p"), "7");

  TViewFixture big(Repeated(80), Repeated(20), 83);
  TTwoPanelModel h(big.View, TTwoPanelModel::TLayout::Horizontal);
  h.FirstScrolled(50);
  EXPECT_EQ(h.Second.TopLine, 22) << "the lower panel stays at its last line";
  EXPECT_EQ(h.First.TopLine, 50) << "the upper panel stays where the user put it";
}

TEST(HorizontalNavigation, ClncPanelsNavigateOnTheirOwn) {
  std::vector<std::string> upper = {"title", "New File = a", "Old File = b", "ruler", "    m", "I - x",
                                    "I - y", "XN- z", "    m", "XR- w"};
  std::vector<std::string> lower = {"title", "New File = a", "Old File = b", "ruler", "D - p", "    m"};
  TViewFixture fx(upper, lower, static_cast<int>(upper.size()), true);
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::Horizontal);
  // XN- is a kind of its own; with no more flagged lines below the lower
  // panel stays.
  EXPECT_EQ(Presses(m, "nnnp", true), "5/4 7/4 9/4 7/4");
  m.First.Selection = 9;
  EXPECT_EQ(Presses(m, "n", true), "5/4") << "from the last line the scan starts again at the top";
  EXPECT_EQ(Presses(m, "p", true), MsgNoBackwardSpansClnc + std::string("5/4"));
}

TEST(Navigation, JumpsCentreTheirTarget) {
  // A span or Find target out of view comes to the middle of the panel, in
  // both panels of the side-by-side viewer; one in view does not scroll.
  std::vector<std::string> lines = Repeated(200);
  lines[150] = "I - far";
  lines[12] = "I - near";
  TViewFixture fx(lines, lines, static_cast<int>(lines.size()));
  TTwoPanelModel two(fx.View, TTwoPanelModel::TLayout::SideBySide);
  two.First.Count = two.Second.Count = static_cast<int>(lines.size());
  two.First.Rows = two.Second.Rows = 20;
  two.First.Selection = two.Second.Selection = 3;
  EXPECT_EQ(two.NextSpan(), "");
  EXPECT_EQ(std::to_string(two.First.TopLine) + " " + Sel(two, true), "0 12/12") << "in view";
  EXPECT_EQ(two.NextSpan(), "");
  EXPECT_EQ(std::to_string(two.First.TopLine) + "/" + std::to_string(two.Second.TopLine) + " " + Sel(two, true),
            "140/140 150/150");
  TSinglePanelModel one(fx.View);
  one.Panel = {3, 0, 20, static_cast<int>(lines.size())};
  EXPECT_EQ(one.Find("far", true), "");
  EXPECT_EQ(one.Panel.TopLine, 140);
}

TEST(Navigation, GoToLine) {
  // Rows as the ordered listing writes them: the 80-byte text field, then
  // the NEW number, the change type and the OLD number.
  auto row = [](const char* id, const std::string& refs) { return id + std::string(80, 'x') + refs; };
  const std::vector<std::string> lines = WithHead({
      row("    ", " 00001              00001   1"), row("I - ", " 00002 INSERT(NEW)          1"),
      row("D - ", "       DELETED(OLD) 00002   1"), row("RN- ", " 00003 REFORM(NEW)  00003   1"),
      row("RO- ", " 00003 REFORM(OLD)  00003"), row("    ", " 123456              00009   1"),
      "   ************* 12 Unchanged New File Lines Not Shown " + std::string(40, '*')});
  TViewFixture fx(lines, lines, static_cast<int>(lines.size()));
  struct Case {
    const char* Ask;
    int Row;
  } cases[] = {{"1", 3}, {"n2", 4}, {" O2 ", 5}, {"3", 6}, {"o3", 6}, {"7", 8}, {"o4", 8}, {"123457", -1}, {"x", -1}};
  for (const auto& c : cases)
    EXPECT_EQ(RowOfFileLine(fx.View, TPanelRule::Single, ParseFileLine(c.Ask)), c.Row) << c.Ask;
  TTwoPanelModel two(fx.View, TTwoPanelModel::TLayout::SideBySide);
  two.First.Count = two.Second.Count = static_cast<int>(lines.size());
  EXPECT_EQ(two.GoToLine(ParseFileLine("o2")), "");
  EXPECT_EQ(Sel(two, true), "5/5");
  EXPECT_EQ(two.GoToLine(ParseFileLine("o99")), MsgLineNotListed);
  fx.View.Fscl = true;
  EXPECT_EQ(RowOfFileLine(fx.View, TPanelRule::Single, ParseFileLine("1")), -1) << "Fscl lists no numbers";
}

TEST(SinglePanelNavigation, SpansAndFind) {
  auto lines = WithHead({"I - a", "D - b", "    c", "    d", "XN- e", "XO- f", "RO- g", "    h", "IM- Last"});
  TViewFixture fx(lines, {}, static_cast<int>(lines.size()));
  TSinglePanelModel m(fx.View);
  m.Panel.Selection = 4; // inside the first span
  // Clnc flags are not changes for this viewer; a span on the very last line.
  EXPECT_EQ(Presses(m, "nnn"), "9 11 " + std::string(MsgNoForwardSpans) + "11");
  m.Panel.Selection = 6; // an unchanged line
  EXPECT_EQ(Presses(m, "pp"), "4 " + std::string(MsgNoBackwardSpansSingle) + "4");

  m.Panel.Selection = 11;
  EXPECT_EQ(m.Find("LAST", false), MsgTextNotFound) << "searching up starts above the selection";
  m.Panel.Selection = -1;
  m.OpenFind();
  EXPECT_EQ(Found(m, "last", true), "11");
  EXPECT_EQ(Found(m, "new FILE", false), "0") << "search up with a capitalised word in any case";
  m.ToBtm();
  EXPECT_EQ(m.Panel.Selection, 11);
  m.ToTop();
  EXPECT_EQ(m.Panel.Selection, 0);

  TViewFixture clnc(WithHead({"XN- a", "XO- b"}), {}, 5);
  TSinglePanelModel c(clnc.View);
  EXPECT_EQ(Presses(c, "np"), MsgNoForwardSpans + std::string("0 ") + MsgNoBackwardSpansSingle + "0");
}

TEST(SinglePanelNavigation, NextAndPreviousVisitEverySpanOnce) {
  const char* flags[] = {"    ", "    ", "I - ", "D - ", "RN- ", "RO- ", "IM- ", "DM- ", "XN- "};
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines = Head;
    int n = 1 + static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) lines.push_back(std::string(flags[rng() % 9]) + "text");
    lines.push_back(" ");
    lines.push_back("INFORM: result");
    TViewFixture fx(lines, {}, static_cast<int>(lines.size()) - 2);
    auto change = [&](int k) {
      std::string f = lines[static_cast<size_t>(k)].substr(0, 3);
      return f == "I -" || f == "D -" || f == "RN-" || f == "RO-" || f == "IM-" || f == "DM-";
    };
    std::vector<int> firsts, lasts;
    for (int k = static_cast<int>(lines.size()) - 1; k >= 3; --k) {
      if (change(k) && !change(k - 1)) firsts.insert(firsts.begin(), k);
      if (change(k) && (k + 1 == static_cast<int>(lines.size()) || !change(k + 1))) lasts.push_back(k);
    }
    TSinglePanelModel m(fx.View);
    for (bool down : {true, false}) {
      std::vector<int> visited;
      m.Panel.Selection = down ? 0 : -1;
      while ((down ? m.NextSpan() : m.PrevSpan()).empty()) visited.push_back(m.Panel.Selection);
      ASSERT_EQ(visited, down ? firsts : lasts) << "seed " << seed << (down ? " down" : " up");
    }
  }
}

} // namespace
} // namespace quorlin::test
