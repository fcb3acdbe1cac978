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

/// NEW line numbers (1-based) paired with OLD line numbers, over all passes.
std::vector<std::pair<int, int>> Pairs(const TRunFixture& fx, bool moved = false) {
  std::vector<std::pair<int, int>> out;
  for (const auto& p : fx.Recorder.Passes)
    for (const auto& l : p.New)
      if (moved ? l.Moved : l.Matched)
        out.emplace_back(l.FileLine, p.OldFirstLine + l.Partner);
  return out;
}

TEST(Matcher, OneInsertedLineIsBridgedIntoOneMatchSet) {
  TRunFixture fx;
  auto old = Block("line", 100);
  auto nw = old;
  nw.insert(nw.begin() + 50, "inserted line");
  fx.Run(JoinLines(nw), JoinLines(old));
  ASSERT_EQ(fx.Recorder.Passes.size(), 1u);
  const TPassCopy& p = fx.Recorder.Passes[0];
  EXPECT_EQ(fx.Ctl().SetCount, 1);
  EXPECT_TRUE(p.New[50].NoMatch);
  EXPECT_FALSE(p.New[50].Matched);
  for (const auto& l : p.Old) EXPECT_TRUE(l.Matched) << l.FileLine;
  EXPECT_EQ(p.New[51].Partner, 51);
  EXPECT_EQ(fx.Ctl().InsertCount, 1);
  EXPECT_EQ(fx.Ctl().DeleteCount, 0);
}

TEST(Matcher, ShortRunIsPairedInsideTheGapBetweenSets) {
  // Two 20-line blocks form the first-round sets; the 3-line block between
  // them (behind changes too wide to bridge) is paired in a later round.
  TRunFixture fx;
  auto a = Block("alpha", 20), b = Block("beta", 20), x = Block("x", 3);
  auto nw = Cat({a, Block("p", 3), x, Block("q", 3), b});
  auto old = Cat({a, Block("r", 3), x, Block("s", 3), b});
  fx.Run(JoinLines(nw), JoinLines(old));
  const TPassCopy& p = fx.Recorder.Passes[0];
  for (int i = 23; i < 26; ++i) {
    EXPECT_TRUE(p.New[i].Matched) << i;
    EXPECT_EQ(p.New[i].Partner, i + 1);
  }
  for (int i = 20; i < 23; ++i) EXPECT_FALSE(p.New[i].Matched) << i;
  EXPECT_EQ(fx.Ctl().SetCount, 3);
}

TEST(Matcher, BlockThatCrossesASetIsFoundAsAMove) {
  auto a = Block("alpha", 20), b = Block("beta", 20), x = Block("moved", 3);
  std::string nw = JoinLines(Cat({x, a, b}));
  std::string old = JoinLines(Cat({a, x, b}));
  {
    TRunFixture fx;
    fx.Run(nw, old);
    EXPECT_TRUE(Pairs(fx, true).empty());
    EXPECT_EQ(fx.Ctl().InsertCount, 3);
    EXPECT_EQ(fx.Ctl().DeleteCount, 3);
  }
  TRunFixture fx;
  fx.Check(TagFmvl);
  fx.Run(nw, old);
  EXPECT_EQ(Pairs(fx, true), (std::vector<std::pair<int, int>>{{1, 21}, {2, 22}, {3, 23}}));
  const TPassCopy& p = fx.Recorder.Passes[0];
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(p.New[i].NoMatch);
    EXPECT_TRUE(p.Old[20 + i].Moved);
    EXPECT_EQ(p.Old[20 + i].Partner, i + 1);
  }
  EXPECT_FALSE(fx.Ctl().MovedSubOptimal);
}

TEST(Matcher, SmallFileAgainstALargeOne) {
  TRunFixture fx;
  auto old = Block("filler", 200);
  std::vector<std::string> nw(old.begin() + 94, old.begin() + 104);
  fx.Run(JoinLines(nw), JoinLines(old));
  std::vector<std::pair<int, int>> expected;
  for (int i = 1; i <= 10; ++i) expected.emplace_back(i, 94 + i);
  EXPECT_EQ(Pairs(fx), expected);
  EXPECT_EQ(fx.Ctl().DeleteCount, 190);
}

TEST(Matcher, DuplicateLinesPairWithTheLongestRunAndTiesGoToTheFirst) {
  {
    TRunFixture fx;
    fx.Run("a\nb\nc\n", "a\nb\nx\na\nb\nc\n");
    EXPECT_EQ(Pairs(fx), (std::vector<std::pair<int, int>>{{1, 4}, {2, 5}, {3, 6}}));
  }
  {
    TRunFixture fx;
    fx.Run("a\nb\n", "a\nb\nz\na\nb\n");
    EXPECT_EQ(Pairs(fx), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
  }
}

TEST(Matcher, ReformattedAndCaseChangedLinesPairByKey) {
  TRunFixture fx;
  fx.Run("int  x = 1;\nRETURN x;\n", "int x=1;\nreturn x;\n");
  EXPECT_EQ(Pairs(fx).size(), 1u);
  fx.Check(TagIcas);
  fx.Run();
  EXPECT_EQ(Pairs(fx).size(), 2u);
}

TEST(Matcher, EqualHashesWithKeysOfDifferentLengthDoNotPair) {
  // The OLD key is the NEW key followed by two words that add up to 65536,
  // so both keys have the same hash.
  TRunFixture fx;
  fx.Run("ab\n", "ab\x01\x80\xff\x7f\n");
  EXPECT_TRUE(Pairs(fx).empty());
  EXPECT_EQ(fx.Ctl().InsertCount, 1);
  EXPECT_EQ(fx.Ctl().DeleteCount, 1);
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

TEST(Matcher, DontProcessLinesAreSteppedOver) {
  TRunFixture fx;
  fx.App.Controls.DpRadioGroup1 = DpDblk;
  fx.Run("a\n\nb\nc\n", "a\nb\n\n\nc\n");
  EXPECT_EQ(Pairs(fx), (std::vector<std::pair<int, int>>{{1, 1}, {3, 2}, {4, 5}}));
  EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered);
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
