#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

namespace quorlin::test {
namespace {

using TLines = std::vector<std::string>;

/// count distinct lines "<tag> <n>", n from first on.
TLines Lines(const std::string& tag, int first, int count) {
  TLines out;
  for (int n = first; n < first + count; ++n) out.push_back(tag + " " + std::to_string(n));
  return out;
}
/// Lines first to last of the OLD file of the tables below.
TLines Old(int first, int last) { return Lines("old", first, last - first + 1); }
TLines operator+(TLines a, const TLines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
TLines Each(TLines lines, std::string (*change)(const std::string&)) {
  for (auto& l : lines) l = change(l);
  return lines;
}

/// The NEW and OLD lines that a raw Long listing (batch with Fscl) lists: a
/// matched line for both files, an inserted line for NEW, a deleted one for OLD.
std::pair<TLines, TLines> Rebuild(const std::string& listing) {
  const TLines lines = SplitCrLf(listing);
  size_t k = 0;
  while (k < lines.size() && lines[k].rfind("ID  ----+", 0) != 0) ++k;
  TLines n, o;
  for (++k; k < lines.size() && lines[k].size() >= 4; ++k) {
    const std::string id = lines[k].substr(0, 4), text = lines[k].substr(4);
    if (id == "    " || id == "I - ") n.push_back(text);
    if (id == "    " || id == "D - ") o.push_back(text);
  }
  return {n, o};
}

constexpr int Base = 30000; ///< lines of the OLD file

TEST(LookAhead, BlocksLongerThanAPassAreFoundAgain) {
  // Pairs of distinct lines, so diff's count is the lines inserted plus the
  // lines deleted; the listing must come within 1 % of it and list both
  // files whole and in order.
  const TLines old = Old(1, Base);
  struct Case {
    const char* Name;
    TLines New;
    int Diff;
  } cases[] = {
      {"8,000 lines inserted", Old(1, 5000) + Lines("ins", 1, 8000) + Old(5001, Base), 8000},
      {"12,000 lines inserted", Old(1, 5000) + Lines("ins", 1, 12000) + Old(5001, Base), 12000},
      {"50,000 lines inserted", Old(1, 5000) + Lines("ins", 1, 50000) + Old(5001, Base), 50000},
      {"9,000 lines deleted", Old(1, 5000) + Old(14001, Base), 9000},
      // Pass 2 is cut after the changed lines, and pass 3 (deleted lines
      // only) looks ahead again from inside the lines pass 2 read ahead.
      {"16,000 lines deleted after 5 changed", Old(1, 5000) + Lines("chg", 1, 5) + Old(21006, Base), 16010},
      {"two blocks: 10,000 inserted, 9,000 deleted",
       Old(1, 3000) + Lines("ins", 1, 10000) + Old(3001, 12000) + Old(21001, Base), 19000},
      {"10,000 lines replaced by 10,000 others", Old(1, 5000) + Lines("new", 1, 10000) + Old(15001, Base), 20000},
      {"a block at the start", Lines("ins", 1, 12000) + old, 12000},
      {"a block at a pass boundary", Old(1, 8000) + Lines("ins", 1, 12000) + Old(8001, Base), 12000},
      {"a block at the end", old + Lines("ins", 1, 12000), 12000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TListingFixture fx;
    fx.SetFiles(JoinLines(c.New), JoinLines(old));
    fx.App.Controls.MnCbListType = "Long";
    fx.Check(TagFscl);
    const auto [n, o] = Rebuild(fx.RunBatch());
    EXPECT_TRUE(n == c.New) << "the listing's NEW lines (" << n.size() << ") are not the NEW file";
    EXPECT_TRUE(o == old) << "the listing's OLD lines (" << o.size() << ") are not the OLD file";
    const int changed = fx.Ctl().InsertCount + fx.Ctl().DeleteCount;
    EXPECT_LE(std::abs(changed - c.Diff), c.Diff / 100) << changed << " lines listed as changed against " << c.Diff;
  }
}

TEST(LookAhead, ReadsLinesAsAPassDoes) {
  // 12,000 lines inserted after line 5,000; NEW's other lines equal OLD's
  // only by the keys that the options make, and the look-ahead must key
  // them the same way. Without a meeting point the passes stay as they were.
  const auto spaced = [](const std::string& l) { return "  " + l + "   "; };
  const auto upper = [](const std::string& l) {
    std::string u = l;
    for (char& ch : u) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return u;
  };
  const auto commented = [](const std::string& l) { return l + " // note"; };
  const auto padded = [](const std::string& l) { return l + std::string(12 - l.size(), ' ') + "column 13 on"; };
  const auto blankAfter = [](const TLines& lines) {
    TLines out;
    for (const auto& l : lines) out.insert(out.end(), {l, ""});
    return out;
  };
  const auto block = [](TLines lines) { return TLines(lines.begin(), lines.begin() + 5000) + Lines("ins", 1, 12000) +
                                                TLines(lines.begin() + 5000, lines.end()); };
  const TLines old = Old(1, Base);
  struct Case {
    const char* Name;
    TLines New, Old;
    std::function<void(TListingFixture&)> Options;
    int Changed, Passes = 0; ///< inserted + deleted lines; passes (0: not checked)
  } cases[] = {
      {"blanks", block(Each(old, +spaced)), old, [](auto&) {}, 12000},
      {"Icas", block(Each(old, +upper)), old, [](auto& fx) { fx.Check(TagIcas); }, 12000},
      {"Dcpp comments", block(Each(old, +commented)), old,
       [](auto& fx) { fx.App.Controls.DpRadioGroup1 = DpDcpp; }, 12000},
      {"Dblk blank lines stepped over", block(blankAfter(old)), old,
       [](auto& fx) { fx.App.Controls.DpRadioGroup1 = DpDblk; }, 12000},
      {"compare columns", block(Each(old, +padded)), old,
       [](auto& fx) {
         fx.Check(TagCcol);
         fx.App.Controls.PrEdCcolNw[0] = fx.App.Controls.PrEdCcolOd[0] = "1:12";
       },
       12000},
      // The meeting point lies past NEW's last compared line: none is taken,
      // so every OLD line after line 5,000 is deleted.
      {"part compare", block(old), old,
       [](auto& fx) {
         fx.Check(TagPcmp);
         fx.App.Controls.PrEdNewLmt = "1:17000";
         fx.App.Controls.PrEdOldlmt = "1:eod";
       },
       12000 + Base - 5000},
      {"entirely different files", Lines("new", 1, 20000), Lines("old", 1, 20000), [](auto&) {}, 40000, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TListingFixture fx;
    fx.SetFiles(JoinLines(c.New), JoinLines(c.Old));
    fx.App.Controls.MnCbListType = "Ovsum";
    c.Options(fx);
    fx.RunBatch();
    EXPECT_EQ(fx.Ctl().InsertCount + fx.Ctl().DeleteCount, c.Changed);
    EXPECT_TRUE(c.Passes == 0 || fx.Ctl().Passes == c.Passes) << fx.Ctl().Passes << " passes";
  }
}

} // namespace
} // namespace quorlin::test
