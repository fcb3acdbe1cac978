#include "TestSupport.h"
#include "engine/UnorderedCompare.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

/// Keeps both Clnc lists when the run reports, one word a line: "m3" matched
/// with line 3 of the other file, "d1" a dupe of line 1 of its own file, "b" a
/// blank line (not processed), "-" no partner; "!" marks flags that disagree.
struct TClncRecorder final : IPassReport {
  std::vector<std::string> New, Old;
  bool Reported = false;
  void ReportPass(TCompareRun& run) override {
    Reported = true;
    run.Ctl.ListingReread = run.Ctl.HeadingArmed = true;
    for (bool isNew : {true, false}) {
      TClncList& list = isNew ? *run.NewList : *run.OldList;
      for (int k = 1; k <= list.Count(); ++k) {
        const TLineEntry& e = list[k];
        std::string word = e.Matched ? "m" : e.SetStart ? "d" : e.BlankLine ? "b" : "-";
        if (word == "m" || word == "d") word += std::to_string(e.Partner);
        if ((e.Matched && e.SetStart) || e.NotProcessed != e.BlankLine || (isNew && word == "-" && !e.NoMatch))
          word += "!";
        (isNew ? New : Old).push_back(word);
      }
    }
  }
};

struct TClncFixture : TAppFixture {
  TClncRecorder Recorder;
  int Run(const std::string& nw, const std::string& old) {
    SetFiles(nw, old);
    Check(TagClnc);
    App.NewCompareCtl();
    return RunUnorderedCompare(App, Recorder);
  }
};

using TWords = std::vector<std::string>;

TEST(Clnc, ListsAsTheMatcherLeavesThem) {
  struct Case {
    const char* Name;
    std::string New, Old;
    TWords NewWords, OldWords;
    bool Differ;
  } cases[] = {
      // The golden listings clnc_* show lines in another order, blank lines
      // and identical files.
      {"duplicates point at the first line of their file", "x\ny\nx\n", "y\nx\nz\nx\nx\n", {"m2", "m1", "d1"},
       {"m2", "m1", "-", "d2", "d2"}, true},
      // OLD has a blank line where NEW has text: the lists are not identical
      // and must not be paired by index.
      {"lists differing only at a blank OLD line", "a\nb\nc\n", "a\n\nc\n", {"m1", "-", "m3"},
       {"m1", "b", "m3"}, true},
  };
  for (const auto& c : cases) {
    TClncFixture fx;
    fx.Run(c.New, c.Old);
    EXPECT_EQ(fx.Recorder.New, c.NewWords) << c.Name;
    EXPECT_EQ(fx.Recorder.Old, c.OldWords) << c.Name;
    EXPECT_EQ(fx.Ctl().FilesDiffer, c.Differ) << c.Name;
  }
}

TEST(Clnc, StopWhileReadingWritesNoListing) {
  TClncFixture fx;
  fx.HaltOn("Read Input Processing");
  fx.Run(NumberedLines(5000), NumberedLines(5000));
  EXPECT_FALSE(fx.Recorder.Reported);
  EXPECT_EQ(fx.App.StatusText, MsgUserStop);
}

// --- Results through the listing -------------------------------------------

TEST(ClncListing, LinesOfTheListing) {
  struct Case {
    const char* Name;
    int Tag; ///< a preference checked, or -1
    const char* Type;
    std::string New, Old;
    std::vector<std::string> Has, HasNot;
  } cases[] = {
      {"Icas matches and keeps the case", TagIcas, "Long", "Apple\nBANANA\n", "banana\napple\n",
       {"    BANANA ", "    banana ", "      2 Number Of Line Matches", MsgEquivFiltered}, {}},
      // NEW 1 "a b" pairs with OLD "ab" but differs in blanks: a reformat. NEW 2
      // "ab" is a dupe of NEW 1 whose text differs from it; NEW 3 likewise.
      {"reformatted dupes are listed as XR", -1, "Long", "a b\nab\na  b\n", "ab\n",
       {"RN- a b", "XR- ab  ", "00002 Refm-Dupe       00001", "RO- ab  ", "      1 Reformatted Lines"}, {}},
      {"Xdpl hides DP lines and dupes in Long", TagXdpl, "Long", "a\n\na\nnew\n", "a\n", {}, {"Np-Blank-Ln", "XN- a"}},
      {"but not dupes in Delta", TagXdpl, "Delta", "a\n\na\nnew\n", "a\n", {"XN- a"}, {"Np-Blank-Ln"}},
      {"same lines in another order and dupes are equivalent", -1, "Ovsum", "c\na\nb\nb\n", "a\nb\nc\nc\nc\n",
       {"      3 Number Of Line Matches", "      1 New File Line Match Dupes", "      2 Old File Line Match Dupes",
        MsgEquivalent}, {}},
      {"blank lines make it filtered", -1, "Ovsum", "a\n\nb\n", "b\na\n\n\n",
       {"      1 New File Lines Blank            2 Old File Lines Blank", MsgEquivFiltered}, {}},
  };
  for (const auto& c : cases) {
    TListingFixture fx;
    fx.Check(TagClnc);
    if (c.Tag >= 0) fx.Check(c.Tag);
    fx.App.Controls.MnCbListType = c.Type;
    fx.SetFiles(c.New, c.Old);
    const std::string listing = fx.RunBatch();
    for (const auto& text : c.Has) EXPECT_NE(listing.find(text), std::string::npos) << c.Name << ": " << text;
    for (const auto& text : c.HasNot) EXPECT_EQ(listing.find(text), std::string::npos) << c.Name << ": " << text;
  }
}

} // namespace
} // namespace quorlin::test
