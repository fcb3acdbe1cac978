#include "TestSupport.h"
#include "listing/Listing.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(ListingRoundTrip, EveryNewLineOnceWithRandomFilters) {
  // With Xdpl off every NEW line appears exactly once in a Long listing: as
  // a matched, reformatted, inserted, moved or DP line. (Without filters the
  // ordered_compare fuzz target rebuilds both files from the listing.)
  for (unsigned seed = 1; seed <= 120; ++seed) {
    std::mt19937 rng(seed);
    TScript s = RandomScript(rng, 5 + static_cast<int>(seed * 53 % 500));
    // Comments of several languages in half the lines.
    static const char *before[] = {"", "/* ", "", "; ", "# ", ""}, *after[] = {" // note", "", " */", "", "", " { x }"};
    for (auto* side : {&s.New, &s.Old})
      for (auto& line : *side)
        if (unsigned k = rng() % 12; k < 6) line = before[k] + line + after[k];
    TListingFixture fx;
    fx.SetFiles(JoinLines(s.New), JoinLines(s.Old));
    fx.App.Controls.MnCbListType = "Long";
    fx.App.Controls.DpRadioGroup1 = static_cast<int>(rng() % DpCount);
    fx.Check(TagFmvl, rng() % 2);
    fx.Check(TagIcas, rng() % 3 == 0);
    fx.Check(TagLorl, rng() % 2);
    if (rng() % 3 == 0) {
      fx.App.Controls.DpCkDpS[0] = true;
      fx.App.Controls.DpEdS[0] = "}";
    }
    if (rng() % 3 == 0) {
      fx.App.Controls.DpCkDpDln[0] = true;
      fx.App.Controls.DpEdDpDln[0] = "x = 1 1:eol break 1:20";
    }
    std::vector<std::string> lines = SplitCrLf(fx.RunBatch());
    std::vector<int> seen(s.New.size() + 1, 0);
    for (const std::string& l : lines) {
      std::string id = l.substr(0, 4);
      if (l.size() < 90 || !(id == "    " || id == "RN- " || id == "I - " || id == "IM- ")) continue;
      if (l.rfind("    ", 0) == 0 && l.find("Ref# ID") != std::string::npos) continue;
      int number = std::stoi(l.substr(85, 6));
      ASSERT_GE(number, 1);
      ASSERT_LE(number, static_cast<int>(s.New.size()));
      ++seen[static_cast<size_t>(number)];
    }
    for (size_t n = 1; n < seen.size(); ++n)
      ASSERT_EQ(seen[n], 1) << "seed " << seed << " NEW line " << n << " option "
                            << DpNames[static_cast<size_t>(fx.App.Controls.DpRadioGroup1)];
  }
}

TEST(ListingSideBySide, PanelsLineUpAfterEveryMatchedLine) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    TScript s = RandomScript(rng, 20 + static_cast<int>(seed * 13 % 200));
    TListingFixture fx;
    fx.SetFiles(JoinLines(s.New), JoinLines(s.Old));
    fx.App.Controls.MnCbListType = seed % 2 ? "Long" : "Chng";
    fx.Check(TagSbsl);
    fx.Check(TagLorl, seed % 3 == 0);
    fx.RunInteractive();
    const auto& p1 = fx.App.Panel1Lines;
    const auto& p2 = fx.App.Panel2Lines;
    size_t stats = static_cast<size_t>(fx.App.StatsFirstLine);
    ASSERT_LE(stats, p1.size());
    EXPECT_EQ(p2.size(), stats) << "panels padded to the same length before the statistics";
    for (size_t k = 3; k < std::min(stats, p2.size()); ++k) {
      std::string_view tag = p1[k].substr(0, 3);
      if (tag == "   ") {
        EXPECT_EQ(p1[k], p2[k]) << "seed " << seed << " line " << k;
      } else if (tag == "RN-") {
        EXPECT_EQ(p2[k].substr(0, 3), fx.Ctl().OptLorl ? "RO-" : " ") << "seed " << seed;
      }
      EXPECT_TRUE(p2[k].substr(0, 3) != "I -" && p1[k].substr(0, 3) != "D -");
    }
    if (HasFailure()) return;
  }
}

TEST(ListingNumbers, LineNumbersPast99999TakeSixDigits) {
  TListingFixture fx;
  std::string common = NumberedLines(100003, "row ");
  fx.SetFiles(common + "new tail\n", common + "old tail\n");
  std::vector<std::string> lines = SplitCrLf(fx.RunBatch());
  auto find = [&](const std::string& prefix) {
    for (const auto& l : lines)
      if (l.rfind(prefix, 0) == 0) return l;
    return std::string(90, '?');
  };
  EXPECT_EQ(find("I - new tail").substr(84), " 100004 INSERT(NEW)          1    ");
  EXPECT_EQ(find("    row 100003").substr(84), " 100003              100003");
  EXPECT_EQ(find("D - old tail").substr(84), "       DELETED(OLD) 100004   1    ");
}

TEST(ListingOutput, TotalBytesWhenTheLastPassIsEmpty) {
  // Files of exactly one pass: the last pass reads no line at all.
  TListingFixture fx;
  std::string text = NumberedLines(MaxPassLines);
  fx.SetFiles(text, text);
  char expected[96];
  std::snprintf(expected, sizeof expected, "%7zu New File Total Bytes      %7zu Old File Total Bytes", text.size(),
                text.size());
  EXPECT_NE(fx.RunBatch().find(expected), std::string::npos);
}

TEST(ListingOutput, FullPanelSuspendsTheListing) {
  TListingFixture fx;
  fx.App.MaxPanelLines = 10;
  fx.App.Controls.MnCbListType = "Long";
  fx.SetFiles(NumberedLines(50), NumberedLines(50));
  fx.RunInteractive();
  EXPECT_TRUE(fx.Ctl().ListingStop);
  EXPECT_EQ(fx.Ui.Messages, std::vector<std::string>{"Results exceeded StingList maximum number of \" 10 \".\n"
                                                     "Output results prematurely suspended."});
  // No statistics; the result message still closes the list.
  EXPECT_EQ(fx.App.Panel1Lines.size(), 11u);
  EXPECT_EQ(fx.App.Panel1Lines.back(), MsgEquivalent);
}

TEST(ListingOutput, StopRequestDropsBodyLines) {
  TListingFixture fx;
  fx.App.Controls.MnCbListType = "Long";
  fx.HaltOn("Generating Report");
  fx.SetFiles(NumberedLines(100), NumberedLines(100, "x "));
  fx.RunInteractive();
  // Heading and statistics lines are report lines; no body line is written.
  for (auto line : fx.App.Panel1Lines) EXPECT_TRUE(line.substr(0, 4) != "I - " && line.substr(0, 4) != "D - ") << line;
  EXPECT_EQ(fx.App.Panel1Lines.back(), MsgUserStop);
}

} // namespace
} // namespace quorlin::test
