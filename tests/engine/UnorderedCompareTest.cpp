#include "TestSupport.h"
#include "engine/UnorderedCompare.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace quorlin::test {
namespace {

/// One Clnc line as the matcher left it.
struct TItem {
  bool Matched, NoMatch, Dupe, Blank, NotProcessed;
  int Partner;
};

/// Keeps a copy of both Clnc lists when the run reports.
struct TClncRecorder final : IPassReport {
  std::vector<TItem> New, Old;
  bool Reported = false;
  void ReportPass(TCompareRun& run) override {
    Reported = true;
    run.Ctl.ListingReread = run.Ctl.HeadingArmed = true;
    for (bool isNew : {true, false}) {
      TClncList& list = isNew ? *run.NewList : *run.OldList;
      auto& out = isNew ? New : Old;
      for (int k = 1; k <= list.Count(); ++k) {
        const TLineEntry& e = list[k];
        out.push_back({e.Matched, e.NoMatch, e.SetStart, e.BlankLine, e.NotProcessed, e.Partner});
      }
    }
  }
};

struct TClncFixture {
  TRecordingFrontEnd Ui;
  TAppState App{Ui};
  TTempDir Dir;
  TClncRecorder Recorder;
  int Run(const std::string& nw, const std::string& old) {
    App.Controls.MnCbNewFileNm = Dir.Write("new.txt", nw);
    App.Controls.MnCbOldFileNm = Dir.Write("old.txt", old);
    App.Controls.Pref(TagClnc).Checked = true;
    App.NewCompareCtl();
    return RunUnorderedCompare(App, Recorder);
  }
};

TEST(Clnc, SameLinesInAnotherOrderAllMatch) {
  TClncFixture fx;
  fx.Run("c\na\nb\n", "a\nb\nc\n");
  for (const auto& i : fx.Recorder.New) EXPECT_TRUE(i.Matched);
  EXPECT_EQ(fx.Recorder.New[0].Partner, 3);
  EXPECT_EQ(fx.Recorder.Old[2].Partner, 1);
}

TEST(Clnc, DuplicatesPointAtTheFirstLineOfTheirFile) {
  TClncFixture fx;
  fx.Run("x\ny\nx\n", "y\nx\nz\nx\nx\n");
  // NEW: x paired with OLD 2; the second x is a NEW dupe of NEW 1.
  EXPECT_TRUE(fx.Recorder.New[0].Matched);
  EXPECT_EQ(fx.Recorder.New[0].Partner, 2);
  EXPECT_TRUE(fx.Recorder.New[2].Dupe);
  EXPECT_EQ(fx.Recorder.New[2].Partner, 1);
  // OLD: the later x lines are OLD dupes of OLD 2; z has no partner.
  EXPECT_TRUE(fx.Recorder.Old[3].Dupe && fx.Recorder.Old[4].Dupe);
  EXPECT_EQ(fx.Recorder.Old[3].Partner, 2);
  EXPECT_FALSE(fx.Recorder.Old[2].Matched || fx.Recorder.Old[2].Dupe);
}

TEST(Clnc, BlankLinesAreNeverMatched) {
  TClncFixture fx;
  fx.Run("a\n\nb\n", "b\n   \na\n");
  EXPECT_TRUE(fx.Recorder.New[1].Blank && fx.Recorder.New[1].NotProcessed);
  EXPECT_FALSE(fx.Recorder.New[1].Matched);
  EXPECT_TRUE(fx.Recorder.Old[1].Blank);
}

TEST(Clnc, IdenticalFilesPairByIndex) {
  TClncFixture fx;
  fx.Run("a\nb\na\n", "a\nb\na\n");
  EXPECT_FALSE(fx.App.CompareCtl->FilesDiffer);
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(fx.Recorder.New[static_cast<size_t>(k)].Matched);
    EXPECT_EQ(fx.Recorder.New[static_cast<size_t>(k)].Partner, k + 1);
    EXPECT_FALSE(fx.Recorder.New[static_cast<size_t>(k)].Dupe);
  }
}

TEST(Clnc, ListsDifferingOnlyAtABlankOldLineAreNotIdentical) {
  // OLD has a blank line where NEW has text: the lists are not identical and
  // must not be paired by index.
  TClncFixture fx;
  fx.Run("a\nb\nc\n", "a\n\nc\n");
  EXPECT_TRUE(fx.App.CompareCtl->FilesDiffer);
  EXPECT_FALSE(fx.Recorder.New[1].Matched);
  EXPECT_TRUE(fx.Recorder.New[1].NoMatch);
  EXPECT_FALSE(fx.Recorder.Old[1].Matched);
}

TEST(Clnc, StopWhileReadingWritesNoListing) {
  TClncFixture fx;
  fx.Ui.OnStatus = [&](std::string_view t) {
    if (t.find("Read Input Processing") != std::string_view::npos) fx.App.UserStop = true;
  };
  fx.Run(NumberedLines(5000), NumberedLines(5000));
  EXPECT_FALSE(fx.Recorder.Reported);
  EXPECT_EQ(fx.App.StatusText, MsgUserStop);
}

// --- Results through the listing -------------------------------------------

struct TClncListing : TListingFixture {
  TClncListing() { Check(TagClnc); }
};

TEST(ClncListing, ResultsAndCounts) {
  struct Case {
    const char* Name;
    std::string New, Old;
    const char* Status;
    int Match, Ins, Del, NewDupe, OldDupe, NewBlank, OldBlank;
  } cases[] = {
      {"same lines, other order", "c\na\nb\n", "a\nb\nc\n", MsgEquivalent, 3, 0, 0, 0, 0, 0, 0},
      {"twice in NEW, once in OLD", "x\nx\n", "x\n", MsgEquivalent, 1, 0, 0, 1, 0, 0, 0},
      {"once in NEW, three times in OLD", "x\n", "x\nx\nx\n", MsgEquivalent, 1, 0, 0, 0, 2, 0, 0},
      {"blank lines make it filtered", "a\n\nb\n", "b\na\n\n\n", MsgEquivFiltered, 2, 0, 0, 0, 0, 1, 2},
      {"differences", "a\nnew\n", "old\na\n", MsgDiffer, 1, 1, 1, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TClncListing fx;
    fx.SetFiles(c.New, c.Old);
    fx.RunBatch();
    const TCompareCtl& ctl = fx.Ctl();
    EXPECT_EQ(fx.App.StatusText, c.Status) << c.Name;
    EXPECT_EQ(ctl.MatchCount, c.Match) << c.Name;
    EXPECT_EQ(ctl.InsertCount, c.Ins) << c.Name;
    EXPECT_EQ(ctl.DeleteCount, c.Del) << c.Name;
    EXPECT_EQ(ctl.NewDupeCount, c.NewDupe) << c.Name;
    EXPECT_EQ(ctl.OldDupeCount, c.OldDupe) << c.Name;
    EXPECT_EQ(ctl.NewBlankCount, c.NewBlank) << c.Name;
    EXPECT_EQ(ctl.OldBlankCount, c.OldBlank) << c.Name;
  }
}

TEST(ClncListing, IcasMatchesAndKeepsTheCase) {
  TClncListing fx;
  fx.Check(TagIcas);
  fx.App.Controls.MnCbListType = "Long";
  fx.SetFiles("Apple\nBANANA\n", "banana\napple\n");
  std::string listing = fx.RunBatch();
  EXPECT_EQ(fx.Ctl().MatchCount, 2);
  EXPECT_NE(listing.find("    BANANA "), std::string::npos);
  EXPECT_NE(listing.find("    banana "), std::string::npos);
  EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered);
}

TEST(ClncListing, ReformattedDupesAreListedAsXR) {
  TClncListing fx;
  fx.App.Controls.MnCbListType = "Long";
  fx.SetFiles("a b\nab\na  b\n", "ab\n");
  std::string listing = fx.RunBatch();
  // NEW 1 "a b" pairs with OLD "ab" but differs in blanks: a reformat. NEW 2
  // "ab" is a dupe of NEW 1 whose text differs from it; NEW 3 likewise.
  EXPECT_NE(listing.find("RN- a b"), std::string::npos) << listing;
  EXPECT_NE(listing.find("XR- ab  "), std::string::npos) << listing;
  EXPECT_NE(listing.find("00002 Refm-Dupe       00001"), std::string::npos) << listing;
  EXPECT_NE(listing.find("RO- ab  "), std::string::npos) << listing;
  EXPECT_EQ(fx.Ctl().ReformCount, 1);
}

TEST(ClncListing, XdplHidesDpLinesAndDupesInLongButNotInDelta) {
  for (const char* type : {"Long", "Delta"}) {
    TClncListing fx;
    fx.Check(TagXdpl);
    fx.App.Controls.MnCbListType = type;
    fx.SetFiles("a\n\na\nnew\n", "a\n");
    std::string listing = fx.RunBatch();
    bool delta = std::string(type) == "Delta";
    EXPECT_EQ(listing.find("Np-Blank-Ln"), std::string::npos) << type;
    EXPECT_EQ(listing.find("XN- a") != std::string::npos, delta) << type;
  }
}

/// Counts of a Clnc compare computed independently: keys shared by both files
/// pair their first occurrences, later occurrences of a shared key are dupes,
/// the other lines are inserts or deletes.
TEST(ClncProperty, CountsOfRandomListsAgreeWithAnIndependentCount) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    auto randomList = [&](int n) {
      std::vector<std::string> v;
      for (int i = 0; i < n; ++i) v.push_back("item" + std::to_string(rng() % static_cast<unsigned>(n)));
      return v;
    };
    int n = 10 + static_cast<int>(rng() % 400);
    std::vector<std::string> nw = randomList(n), old = randomList(n + static_cast<int>(rng() % 50));
    std::map<std::string, int> inNew, inOld;
    for (auto& s : nw) ++inNew[s];
    for (auto& s : old) ++inOld[s];
    int match = 0, ins = 0, del = 0, newDupe = 0, oldDupe = 0;
    for (auto& [key, count] : inNew) {
      if (inOld.count(key)) {
        ++match;
        newDupe += count - 1;
      } else {
        ins += count;
      }
    }
    for (auto& [key, count] : inOld) {
      if (inNew.count(key))
        oldDupe += count - 1;
      else
        del += count;
    }
    TClncListing fx;
    fx.App.Controls.MnCbListType = "Ovsum";
    fx.SetFiles(JoinLines(nw), JoinLines(old));
    fx.RunBatch();
    const TCompareCtl& ctl = fx.Ctl();
    ASSERT_EQ(ctl.MatchCount, match) << "seed " << seed;
    ASSERT_EQ(ctl.InsertCount, ins) << "seed " << seed;
    ASSERT_EQ(ctl.DeleteCount, del) << "seed " << seed;
    ASSERT_EQ(ctl.NewDupeCount, newDupe) << "seed " << seed;
    ASSERT_EQ(ctl.OldDupeCount, oldDupe) << "seed " << seed;
  }
}

} // namespace
} // namespace quorlin::test
