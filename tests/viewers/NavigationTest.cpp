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

TEST(SideBySideNavigation, SpansOfEachKind) {
  auto lines = WithHead({"I - a", "I - b", "D - c", "D - d", "    e", "    f", "RN- g", "    h"});
  TViewFixture fx(lines, lines, static_cast<int>(lines.size()));
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::SideBySide);
  m.First.Selection = 1;
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 3) << "a selection on line 1 starts the scan at line 3";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 5) << "the delete run is a span of its own";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 9);
  EXPECT_EQ(m.NextSpan(), MsgNoForwardSequences());
  EXPECT_EQ(m.First.Selection, 9) << "the selection stays on the last change";
  EXPECT_EQ(m.PrevSpan(), "");
  EXPECT_EQ(m.First.Selection, 6) << "up stops on the last line of the span above";
  EXPECT_EQ(m.PrevSpan(), "");
  EXPECT_EQ(m.First.Selection, 4);
  EXPECT_EQ(m.PrevSpan(), MsgNoBackwardSequences());
  EXPECT_EQ(MsgNoForwardSequences(), std::string(28, ' ') + "No more forward change sequences found" +
                                         std::string(26, ' ') + ".");
}

TEST(SideBySideNavigation, CouplingAndToBtm) {
  std::vector<std::string> left = Head, right = Head;
  for (int i = 0; i < 100; ++i) left.push_back("    x");
  for (int i = 0; i < 40; ++i) right.push_back("    x");
  TViewFixture fx(left, right, static_cast<int>(left.size()));
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
  EXPECT_EQ(m.First.Selection, 0);
  EXPECT_EQ(m.Second.Selection, 0);
  EXPECT_EQ(m.First.TopLine, 0);
}

TEST(SideBySideNavigation, ClncPanelsScrollApartButClicksLineUp) {
  std::vector<std::string> left = Head, right = Head;
  for (int i = 0; i < 60; ++i) left.push_back("    x"), right.push_back("    y");
  TViewFixture fx(left, right, static_cast<int>(left.size()), true);
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
  EXPECT_EQ(m.Find("  12 ", true), "");
  EXPECT_EQ(m.First.Selection, 14) << "the reference number 12 is part of the display text";
  EXPECT_EQ(m.Second.Selection, 14);
  EXPECT_EQ(m.Find("deleted WORD", true), "");
  EXPECT_EQ(m.First.Selection, 17) << "a hit in the right panel moves both";
  EXPECT_EQ(m.Find("deleted word", true), MsgTextNotFound) << "no wrap-around";
  EXPECT_EQ(m.Find("New File", false), "");
  EXPECT_EQ(m.First.Selection, 0);
}

TEST(HorizontalNavigation, ChangeKindsAndCoupling) {
  auto left = WithHead({"I - a", "I - b", "    c", "IM- d", "RN- e", "    f", "I - g", "    h", "    i"});
  auto right = WithHead({"D - a", "D - b", "    c", "DM- d", "RO- e", "    f", " ", "    h", "    i"});
  TViewFixture fx(left, right, static_cast<int>(left.size()));
  TTwoPanelModel m(fx.View, TTwoPanelModel::TLayout::Horizontal);
  m.First.Selection = m.Second.Selection = 3;
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 6) << "inserts and deletes passed, stops on the moved line";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 7) << "another kind";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 9) << "the first change after an unchanged line";
  EXPECT_EQ(m.NextSpan(), MsgNoForwardSpans);
  m.First.Selection = m.Second.Selection = 1;
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 3) << "selections below 3 start the scan at line 3";
  m.First.Selection = 9;
  EXPECT_EQ(m.PrevSpan(), "");
  EXPECT_EQ(m.First.Selection, 7);

  std::vector<std::string> upper = Head, lower = Head;
  for (int i = 0; i < 80; ++i) upper.push_back("    x");
  for (int i = 0; i < 20; ++i) lower.push_back("    x");
  TViewFixture big(upper, lower, static_cast<int>(upper.size()));
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
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 5);
  EXPECT_EQ(m.Second.Selection, 4);
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 7) << "XN- is a kind of its own";
  EXPECT_EQ(m.Second.Selection, 4) << "no more flagged lines below: the lower panel stays";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 9);
  EXPECT_EQ(m.PrevSpan(), "");
  EXPECT_EQ(m.First.Selection, 7);
  m.First.Selection = 9;
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.First.Selection, 5) << "from the last line the scan starts again at the top";
  m.First.Selection = 5;
  m.Second.Selection = 4;
  EXPECT_EQ(m.PrevSpan(), MsgNoBackwardSpansClnc);
}

TEST(SinglePanelNavigation, SpansAndFind) {
  auto lines = WithHead({"I - a", "D - b", "    c", "    d", "XN- e", "XO- f", "RO- g", "    h", "IM- Last"});
  TViewFixture fx(lines, {}, static_cast<int>(lines.size()));
  TSinglePanelModel m(fx.View);
  m.Panel.Selection = 4; // inside the first span
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.Panel.Selection, 9) << "Clnc flags are not changes for this viewer";
  EXPECT_EQ(m.NextSpan(), "");
  EXPECT_EQ(m.Panel.Selection, 11) << "a span on the very last line";
  EXPECT_EQ(m.NextSpan(), MsgNoForwardSpans);
  m.Panel.Selection = 6; // an unchanged line
  EXPECT_EQ(m.PrevSpan(), "");
  EXPECT_EQ(m.Panel.Selection, 4);
  EXPECT_EQ(m.PrevSpan(), MsgNoBackwardSpansSingle);

  m.Panel.Selection = 11;
  EXPECT_EQ(m.Find("LAST", false), MsgTextNotFound) << "searching up starts above the selection";
  m.Panel.Selection = -1;
  m.OpenFind();
  EXPECT_EQ(m.Find("last", true), "");
  EXPECT_EQ(m.Panel.Selection, 11);
  EXPECT_EQ(m.Find("new FILE", false), "") << "search up with a capitalised word in any case";
  EXPECT_EQ(m.Panel.Selection, 0);
  m.ToBtm();
  EXPECT_EQ(m.Panel.Selection, 11);
  m.ToTop();
  EXPECT_EQ(m.Panel.Selection, 0);

  TViewFixture clnc(WithHead({"XN- a", "XO- b"}), {}, 5);
  TSinglePanelModel c(clnc.View);
  EXPECT_EQ(c.NextSpan(), MsgNoForwardSpans);
  EXPECT_EQ(c.PrevSpan(), MsgNoBackwardSpansSingle);
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
    for (int k = 3; k < static_cast<int>(lines.size()); ++k) {
      if (change(k) && !change(k - 1)) firsts.push_back(k);
      if (change(k) && (k + 1 == static_cast<int>(lines.size()) || !change(k + 1))) lasts.push_back(k);
    }
    TSinglePanelModel m(fx.View);
    std::vector<int> visited;
    while (m.NextSpan().empty()) visited.push_back(m.Panel.Selection);
    ASSERT_EQ(visited, firsts) << "seed " << seed;
    m.Panel.Selection = -1;
    visited.clear();
    while (m.PrevSpan().empty()) visited.push_back(m.Panel.Selection);
    std::reverse(lasts.begin(), lasts.end());
    ASSERT_EQ(visited, lasts) << "seed " << seed;
  }
}

} // namespace
} // namespace quorlin::test
