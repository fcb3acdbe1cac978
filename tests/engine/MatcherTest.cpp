#include "TestSupport.h"
#include "engine/Matcher.h"

#include <gtest/gtest.h>

#include <random>

namespace quorlin::test {
namespace {

std::vector<std::string> Block(const std::string& name, int count) {
  std::vector<std::string> out;
  for (int i = 1; i <= count; ++i) out.push_back(name + " " + std::to_string(i));
  return out;
}

using TPairs = std::vector<std::pair<int, int>>;

/// NEW line numbers (1-based) paired with OLD line numbers, over all passes.
TPairs Pairs(const TRunFixture& fx, bool moved = false) {
  TPairs out;
  for (const auto& p : fx.Recorder.Passes)
    for (const auto& l : p.New)
      if (moved ? l.Moved : l.Matched)
        out.emplace_back(l.FileLine, p.OldFirstLine + l.Partner);
  return out;
}

/// NEW lines first to last paired with OLD lines shift below them.
TPairs Span(int first, int last, int shift = 0) {
  TPairs out;
  for (int i = first; i <= last; ++i) out.emplace_back(i, i - shift);
  return out;
}
TPairs operator+(TPairs a, const TPairs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(Matcher, PairsInSmallFiles) {
  const auto filler = Block("filler", 200), lines = Block("line", 100);
  auto inserted = lines;
  inserted.insert(inserted.begin() + 50, "inserted line");
  // Two 20-line blocks form the first-round sets; the 3-line block between
  // them (behind changes too wide to bridge) is paired in a later round, or
  // found as a move when it crosses a set.
  const std::string a = NumberedLines(20, "alpha "), b = NumberedLines(20, "beta "), x = NumberedLines(3, "x ");
  auto gap = [&](const std::string& c) { return a + NumberedLines(3, c + "1 ") + x + NumberedLines(3, c + "2 ") + b; };
  struct Case {
    const char* Name;
    std::string New, Old;
    int Tag, Dp; ///< a preference checked (-1: none), the comment rule
    TPairs Expected;
    const char* Status;
    int Sets = -1; ///< match sets of the first round; -1: not checked
    TPairs Moved = {};
  } cases[] = {
      {"one inserted line is bridged into one set", JoinLines(inserted), JoinLines(lines), -1, DpNone,
       Span(1, 50) + Span(52, 101, 1), MsgDiffer, 1},
      {"a short run is paired inside the gap between sets", gap("new"), gap("old"), -1, DpNone,
       Span(1, 20) + Span(24, 26) + Span(30, 49), MsgDiffer, 3},
      {"duplicates pair with the longest run", "a\nb\nc\n", "a\nb\nx\na\nb\nc\n", -1, DpNone, Span(1, 3, -3),
       MsgDiffer},
      {"ties go to the first run", "a\nb\n", "a\nb\nz\na\nb\n", -1, DpNone, Span(1, 2), MsgDiffer},
      {"reformatted lines pair by key", "int  x = 1;\nRETURN x;\n", "int x=1;\nreturn x;\n", -1, DpNone,
       {{1, 1}}, MsgDiffer},
      {"case changes pair with Icas", "int  x = 1;\nRETURN x;\n", "int x=1;\nreturn x;\n", TagIcas, DpNone,
       Span(1, 2), MsgEquivFiltered},
      // The OLD key is the NEW key followed by two words that add up to 65536,
      // so both keys have the same hash.
      {"equal hashes with keys of different length", "ab\n", "ab\x01\x80\xff\x7f\n", -1, DpNone, {}, MsgDiffer},
      {"a line ending in a zero byte is not its padded twin", "a\nb\n", std::string("a\0\nb\n", 5), -1, DpNone,
       {{2, 2}}, MsgDiffer},
      {"a small file against a large one", JoinLines({filler.begin() + 94, filler.begin() + 104}),
       JoinLines(filler), -1, DpNone, Span(1, 10, -94), MsgDiffer},
      {"don't-process lines are stepped over", "a\n\nb\nc\n", "a\nb\n\n\nc\n", -1, DpDblk,
       {{1, 1}, {3, 2}, {4, 5}}, MsgEquivFiltered},
      // The golden listing fmvl_long_batch shows the same move in short blocks.
      {"a block that crosses a set is not a move without Fmvl", x + a + b, a + x + b, -1, DpNone,
       Span(4, 23, 3) + Span(24, 43), MsgDiffer},
      {"but is one with Fmvl", x + a + b, a + x + b, TagFmvl, DpNone, Span(4, 23, 3) + Span(24, 43), MsgDiffer, -1,
       Span(1, 3, -20)},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    if (c.Tag >= 0) fx.Check(c.Tag);
    fx.App.Controls.DpRadioGroup1 = c.Dp;
    fx.Run(c.New, c.Old);
    EXPECT_EQ(Pairs(fx), c.Expected) << c.Name;
    EXPECT_EQ(Pairs(fx, true), c.Moved) << c.Name;
    EXPECT_EQ(fx.App.StatusText, c.Status) << c.Name;
    EXPECT_TRUE(c.Sets < 0 || fx.Ctl().SetCount == c.Sets) << c.Name << ": " << fx.Ctl().SetCount << " sets";
  }
}

TEST(Matcher, PassIsCutAfterTheLastFirstRoundSetAndTheTailReadAgain) {
  // A change too wide to bridge just before a block comment (lines 7990 to
  // 8010): pass 1 reads into the comment, is cut before the change, and pass
  // 2 reads the tail again. It must start outside the comment, as pass 1 did.
  auto old = Block("code", 9000);
  for (int i = 7990; i <= 8010; ++i) old[static_cast<size_t>(i - 1)] = "   comment text " + std::to_string(i);
  old[7989] = "/* block comment begins";
  old[8009] = "   block comment ends */";
  auto nw = old;
  for (int i = 7985; i <= 7988; ++i) nw[static_cast<size_t>(i - 1)] = "changed " + std::to_string(i);
  TRunFixture fx;
  fx.App.Controls.DpRadioGroup1 = DpDcpp;
  fx.Run(JoinLines(nw), JoinLines(old));
  ASSERT_EQ(fx.Recorder.Passes.size(), 2u);
  const TPassCopy& first = fx.Recorder.Passes[0];
  EXPECT_EQ(std::make_pair(first.New.size(), first.Old.size()), std::make_pair(size_t(7984), size_t(7984)));
  EXPECT_EQ(std::make_pair(fx.Recorder.Passes[1].NewFirstLine, fx.Recorder.Passes[1].OldFirstLine),
            std::make_pair(7984, 7984));
  for (const TPassCopy& p : fx.Recorder.Passes)
    for (const auto* side : {&p.New, &p.Old})
      for (const TLineCopy& l : *side)
        EXPECT_EQ(l.NotProcessed, l.FileLine >= 7990 && l.FileLine <= 8010) << "line " << l.FileLine;
  EXPECT_EQ(std::make_pair(fx.Ctl().InsertCount, fx.Ctl().DeleteCount), std::make_pair(4, 4));
  EXPECT_EQ(Pairs(fx).size(), 9000u - 4u - 21u);
}

// ---------------------------------------------------------------------------
// Property test: random edit scripts on files of a few lines to 30,000 lines.

/// Runs a random edit script and checks what must hold for every run: passes
/// follow each other, partner links are mutual between lines of equal keys
/// that are processed, and matched (not moved) pairs rise.
void RunProperty(unsigned seed, int size, TRunFixture& fx) {
  std::mt19937 rng(seed);
  const TScript s = RandomScript(rng, size);
  fx.Check(TagFmvl, rng() % 2 == 0);
  fx.Check(TagIcas, rng() % 4 == 0);
  fx.App.Controls.DpRadioGroup1 = (rng() % 4 == 0) ? DpDblk : DpNone;
  fx.Run(JoinLines(s.New), JoinLines(s.Old));
  SCOPED_TRACE("seed " + std::to_string(seed) + " size " + std::to_string(size));
  ASSERT_EQ(fx.Ctl().RunResult, 0);
  int newDone = 0, oldDone = 0;
  for (const TPassCopy& p : fx.Recorder.Passes) {
    ASSERT_EQ(std::make_pair(p.NewFirstLine, p.OldFirstLine), std::make_pair(newDone, oldDone));
    newDone += static_cast<int>(p.New.size());
    oldDone += static_cast<int>(p.Old.size());
    for (bool isNew : {true, false}) {
      const auto &side = isNew ? p.New : p.Old, &other = isNew ? p.Old : p.New;
      int lastPartner = 0;
      for (size_t i = 0; i < side.size(); ++i) {
        const TLineCopy& l = side[i];
        if (!l.Matched && !l.Moved) continue;
        ASSERT_FALSE(l.Matched && l.Moved);
        ASSERT_TRUE(l.Partner >= 1 && l.Partner <= static_cast<int>(other.size())) << "line " << l.FileLine;
        const TLineCopy& o = other[static_cast<size_t>(l.Partner - 1)];
        ASSERT_EQ(o.Partner, static_cast<int>(i) + 1) << "partner links are not mutual at " << l.FileLine;
        ASSERT_EQ(std::make_pair(o.Matched, o.Moved), std::make_pair(l.Matched, l.Moved));
        ASSERT_EQ(l.Key, o.Key) << "paired lines with different keys at " << l.FileLine;
        ASSERT_FALSE(l.NotProcessed || o.NotProcessed);
        if (!l.Matched) continue;
        ASSERT_GT(l.Partner, lastPartner) << "pairs do not rise at " << l.FileLine;
        lastPartner = l.Partner;
      }
    }
  }
  EXPECT_EQ(std::make_pair(newDone, oldDone), std::make_pair(int(s.New.size()), int(s.Old.size())));
}

TEST(MatcherProperty, RandomEditScripts) {
  // 3000 small files, then 24 of 7000 to 30,000 lines across passes; one
  // fixture for all the runs.
  TRunFixture fx;
  for (unsigned seed = 1; seed <= 3000 && !HasFatalFailure(); ++seed)
    RunProperty(seed, 1 + static_cast<int>(seed * 7919u % 300u), fx);
  for (unsigned seed = 1; seed <= 24 && !HasFatalFailure(); ++seed)
    RunProperty(100000 + seed, 7000 + static_cast<int>(seed * 104729u % 23000u), fx);
}

} // namespace
} // namespace quorlin::test
