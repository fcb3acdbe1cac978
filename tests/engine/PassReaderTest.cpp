#include "TestSupport.h"
#include "engine/PassReader.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

std::string Key(std::string text, bool icas = false) {
  text.resize(text.size() + 4, '?');
  int len = static_cast<int>(text.size()) - 4;
  if (icas) LowerCaseBytes(text.data(), len);
  int keyLen = SqueezeBlanks(text.data(), len);
  return text.substr(0, static_cast<size_t>(keyLen));
}

uint16_t HashOf(const std::string& text) {
  std::string k = Key(text);
  return KeyHash(k.data(), static_cast<int>(k.size()));
}

TEST(LineKeys, IcasAndAHashThatWouldBeZero) {
  EXPECT_NE(Key("Abc"), Key("abc"));
  EXPECT_EQ(Key("Abc", true), Key("abc"));
  EXPECT_EQ(Key("x \tY", true), std::string("x\ty\0", 4)) << "blanks go, a TAB stays, padded to even";
  EXPECT_EQ(Key("    "), Key("")) << "blank lines of any width";
  EXPECT_EQ(Key("@AZaz09\xC4\xD6[", true), "@azaz09\xC4\xD6[") << "Icas folds ASCII letters only";
  // Two words that add up to 65536 would give a sum of 0: the hash is never 0.
  EXPECT_EQ(HashOf("\x01\x80\xff\x7f"), 65535);
}

TEST(CompareColumns, RangesAcceptedAndRejected) {
  // Accepted: also the ranges of the golden listings ccol_*.
  const struct {
    const char* Name;
    std::array<std::string, 4> Ranges;
    bool Accepted;
  } cases[] = {
      {"upper case EOL", {"3:EOL", "", "", ""}, true},
      {"one column", {"20:20", "", "", ""}, true},
      {"range 2 of one column", {"1:5", "20:20", "", ""}, false},
      {"range 2 not after range 1", {"1:10", "5:20", "", ""}, false},
      {"range 3 not after range 2", {"1:2", "4:6", "5:9", ""}, false},
      {"first column 0", {"0:10", "", "", ""}, false},
      {"first after last", {"10:5", "", "", ""}, false},
      {"no colon", {"1-10", "", "", ""}, false},
      {"range 2 without colon is not read", {"1:5", "x", "", ""}, true},
      {"range 2 with first column 0 is not read", {"1:5", "0:20", "", ""}, true},
      {"range 3 without colon is not read", {"1:5", "7:9", "x", ""}, true},
      {"range 3 ignored after range 2 to the end of line", {"1:5", "7:eol", "2:1", ""}, true},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.App.Controls.PrEdCcolNw = c.Ranges;
    fx.App.Controls.PrEdCcolOd = {"1:eol", "", "", ""};
    fx.Check(TagCcol);
    fx.Run("abc\n", "abc\n");
    EXPECT_EQ(std::make_pair(fx.Ctl().CcolActive, fx.Ctl().CcolBad), std::make_pair(c.Accepted, !c.Accepted)) << c.Name;
    EXPECT_EQ(fx.App.StatusText == "ERROR: User error. Bad CCol specified.", !c.Accepted) << c.Name;
    EXPECT_EQ(fx.Recorder.Passes.empty(), !c.Accepted) << c.Name;
  }
}

TEST(CompareColumns, OnlyTheColumnsAreComparedAndShortLinesAreOneBlank) {
  struct Case {
    const char* Name;
    std::array<std::string, 4> Ranges;
    std::string New, Old;
    int NewShort, OldShort;
  } cases[] = {
      // Columns 1-2 and 6-8 differ; 3-5 and 9- agree.
      {"two ranges", {"3:5", "9:eol", "", ""}, "XXabcYYYtail\nshort\n", "ZZabcQQQtail\nshort\n", 0, 0},
      {"lines shorter than the first column", {"10:20", "", "", ""}, "12345\n123456789abcdef\nxy\n",
       "abc\n123456789abcdef\n\n", 2, 2},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.App.Controls.PrEdCcolNw = fx.App.Controls.PrEdCcolOd = c.Ranges;
    fx.Check(TagCcol);
    fx.Run(c.New, c.Old);
    ASSERT_EQ(fx.Recorder.Passes.size(), 1u) << c.Name;
    EXPECT_FALSE(fx.Ctl().FilesDiffer) << c.Name;
    const TCompareCtl& k = fx.Ctl();
    EXPECT_EQ(std::make_pair(k.NewColShortCount, k.OldColShortCount), std::make_pair(c.NewShort, c.OldShort)) << c.Name;
    EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered) << c.Name;
  }
}

TEST(ReadPass, TabComparesAsABlankInEveryPass) {
  // The tab line sits in the second pass, after the listing re-read of the
  // first pass has begun: it still pairs with its blank twin.
  TRunFixture fx;
  fx.Check(TagXtab);
  std::string common = NumberedLines(9000);
  fx.Run(common + "x\ty\n", common + "x y\n");
  ASSERT_GE(fx.Recorder.Passes.size(), 2u);
  EXPECT_FALSE(fx.Ctl().FilesDiffer);
  EXPECT_EQ(fx.App.StatusText, MsgEquivalent);
}

} // namespace
} // namespace quorlin::test
