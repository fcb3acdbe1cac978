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

std::vector<std::string> Cat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
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
  // them (behind changes too wide to bridge) is paired in a later round.
  const auto a = Block("alpha", 20), b = Block("beta", 20), x = Block("x", 3);
  struct Case {
    const char* Name;
    std::string New, Old;
    int Tag, Dp; ///< a preference checked (-1: none), the comment rule
    TPairs Expected;
    const char* Status;
    int Sets = -1; ///< match sets of the first round; -1: not checked
  } cases[] = {
      {"one inserted line is bridged into one set", JoinLines(inserted), JoinLines(lines), -1, DpNone,
       Span(1, 50) + Span(52, 101, 1), MsgDiffer, 1},
      {"a short run is paired inside the gap between sets", JoinLines(Cat({a, Block("p", 3), x, Block("q", 3), b})),
       JoinLines(Cat({a, Block("r", 3), x, Block("s", 3), b})), -1, DpNone, Span(1, 20) + Span(24, 26) + Span(30, 49),
       MsgDiffer, 3},
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
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    if (c.Tag >= 0) fx.Check(c.Tag);
    fx.App.Controls.DpRadioGroup1 = c.Dp;
    fx.Run(c.New, c.Old);
    EXPECT_EQ(Pairs(fx), c.Expected) << c.Name;
    EXPECT_EQ(fx.App.StatusText, c.Status) << c.Name;
    if (c.Sets >= 0) EXPECT_EQ(fx.Ctl().SetCount, c.Sets) << c.Name;
  }
}

TEST(Matcher, BlockThatCrossesASetIsFoundAsAMove) {
  auto a = Block("alpha", 20), b = Block("beta", 20), x = Block("moved", 3);
  for (bool fmvl : {false, true}) {
    TRunFixture fx;
    fx.Check(TagFmvl, fmvl);
    fx.Run(JoinLines(Cat({x, a, b})), JoinLines(Cat({a, x, b})));
    EXPECT_EQ(Pairs(fx, true), fmvl ? Span(1, 3, -20) : TPairs{}) << fmvl;
    EXPECT_EQ(Pairs(fx), Span(4, 23, 3) + Span(24, 43)) << fmvl;
    for (int i = 20; i < 23; ++i) { // OLD lines 21 to 23: moved, and linked back to NEW lines 1 to 3
      const TLineCopy& o = fx.Recorder.Passes[0].Old[static_cast<size_t>(i)];
      EXPECT_EQ(std::make_pair(o.Moved, o.Moved ? o.Partner : 0), std::make_pair(fmvl, fmvl ? i - 19 : 0)) << i + 1;
    }
    EXPECT_FALSE(fx.Ctl().MovedSubOptimal);
  }
}

TEST(Matcher, PassIsCutAfterTheLastFirstRoundSetAndTheTailReadAgain) {
  TRunFixture fx;
  auto old = Block("row", 9000);
  auto nw = old;
  for (int i = 7994; i < 8005; ++i) nw[static_cast<size_t>(i)] = "changed " + std::to_string(i);
  fx.Run(JoinLines(nw), JoinLines(old));
  ASSERT_EQ(fx.Recorder.Passes.size(), 2u);
  EXPECT_EQ(fx.Recorder.Passes[0].New.size(), 7994u);
  EXPECT_EQ(fx.Recorder.Passes[0].Old.size(), 7994u);
  EXPECT_EQ(fx.Recorder.Passes[1].NewFirstLine, 7994);
  EXPECT_EQ(fx.Recorder.Passes[1].OldFirstLine, 7994);
  EXPECT_EQ(fx.Ctl().InsertCount, 11);
  EXPECT_EQ(fx.Ctl().DeleteCount, 11);
  EXPECT_EQ(Pairs(fx).size(), 9000u - 11u);
}

// ---------------------------------------------------------------------------
// Property test: random edit scripts on files of a few lines to 30,000 lines.

/// Checks what must hold for every run, whatever the input.
void CheckInvariants(const TRunFixture& fx, const TScript& s, const std::string& name) {
  int newDone = 0, oldDone = 0;
  for (size_t pi = 0; pi < fx.Recorder.Passes.size(); ++pi) {
    const TPassCopy& p = fx.Recorder.Passes[pi];
    SCOPED_TRACE(name + " pass " + std::to_string(pi + 1));
    ASSERT_EQ(p.NewFirstLine, newDone);
    ASSERT_EQ(p.OldFirstLine, oldDone);
    newDone += static_cast<int>(p.New.size());
    oldDone += static_cast<int>(p.Old.size());
    int lastPartner = 0;
    const int oldCount = static_cast<int>(p.Old.size());
    for (size_t i = 0; i < p.New.size(); ++i) {
      const TLineCopy& n = p.New[i];
      const int self = static_cast<int>(i) + 1;
      if (n.Matched || n.Moved) {
        ASSERT_FALSE(n.Matched && n.Moved);
        ASSERT_GE(n.Partner, 1);
        ASSERT_LE(n.Partner, oldCount);
        const TLineCopy& o = p.Old[static_cast<size_t>(n.Partner - 1)];
        ASSERT_EQ(o.Partner, self) << "partner links are not mutual";
        ASSERT_EQ(o.Matched, n.Matched);
        ASSERT_EQ(o.Moved, n.Moved);
        ASSERT_EQ(n.Key, o.Key) << "paired lines with different keys at NEW " << n.FileLine;
        ASSERT_FALSE(n.NotProcessed || o.NotProcessed);
      }
      if (n.Matched) {
        ASSERT_GT(n.Partner, lastPartner) << "pairs do not rise at NEW " << n.FileLine;
        lastPartner = n.Partner;
      }
    }
    for (size_t i = 0; i < p.Old.size(); ++i) {
      const TLineCopy& o = p.Old[i];
      if (!o.Matched && !o.Moved) continue;
      const TLineCopy& n = p.New[static_cast<size_t>(o.Partner - 1)];
      ASSERT_EQ(n.Partner, static_cast<int>(i) + 1);
    }
  }
  EXPECT_EQ(newDone, static_cast<int>(s.New.size())) << name;
  EXPECT_EQ(oldDone, static_cast<int>(s.Old.size())) << name;
}

void RunProperty(unsigned seed, int size, TRunFixture& fx) {
  std::mt19937 rng(seed);
  TScript s = RandomScript(rng, size);
  fx.Check(TagFmvl, rng() % 2 == 0);
  fx.Check(TagIcas, rng() % 4 == 0);
  fx.App.Controls.DpRadioGroup1 = (rng() % 4 == 0) ? DpDblk : DpNone;
  fx.Run(JoinLines(s.New), JoinLines(s.Old));
  ASSERT_EQ(fx.Ctl().RunResult, 0);
  CheckInvariants(fx, s, "seed " + std::to_string(seed) + " size " + std::to_string(size));
}

TEST(MatcherProperty, SmallRandomEditScripts) {
  TRunFixture fx;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    int size = 1 + static_cast<int>(seed * 7919u % 300u);
    RunProperty(seed, size, fx);
    if (HasFatalFailure()) return;
  }
}

TEST(MatcherProperty, LargeRandomEditScriptsAcrossPasses) {
  TRunFixture fx;
  for (unsigned seed = 1; seed <= 24; ++seed) {
    int size = 7000 + static_cast<int>(seed * 104729u % 23000u);
    RunProperty(100000 + seed, size, fx);
    if (HasFatalFailure()) return;
  }
}

} // namespace
} // namespace quorlin::test
