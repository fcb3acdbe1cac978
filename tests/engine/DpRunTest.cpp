// Don't-process filters inside whole runs: read-time rules, comment state
// carried across passes, and the counts of the listing.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(DpRun, BlockCommentAcrossACutPassBoundary) {
  // A block comment from line 7990 to 8010 and a change too wide to bridge
  // just before it: pass 1 is cut before the change and pass 2 reads the
  // lines again. They must start outside the comment, as they did in pass 1.
  std::vector<std::string> old;
  for (int i = 1; i <= 9000; ++i) old.push_back("code(" + std::to_string(i) + ");");
  for (int i = 7990; i <= 8010; ++i) old[static_cast<size_t>(i - 1)] = "   comment text " + std::to_string(i);
  old[7989] = "/* block comment begins";
  old[8009] = "   block comment ends */";
  std::vector<std::string> nw = old;
  for (int i = 7985; i <= 7988; ++i) nw[static_cast<size_t>(i - 1)] = "changed(" + std::to_string(i) + ");";

  TRunFixture fx;
  fx.App.Controls.DpRadioGroup1 = DpDcpp;
  fx.Run(JoinLines(nw), JoinLines(old));
  ASSERT_GE(fx.Recorder.Passes.size(), 2u);
  const TPassCopy& first = fx.Recorder.Passes[0];
  ASSERT_LT(first.New.size(), 7990u) << "pass 1 should be cut before the comment";
  for (const TPassCopy& p : fx.Recorder.Passes) {
    for (const auto* side : {&p.New, &p.Old})
      for (const TLineCopy& l : *side) {
        bool inComment = l.FileLine >= 7990 && l.FileLine <= 8010;
        EXPECT_EQ(l.NotProcessed, inComment) << "line " << l.FileLine;
      }
  }
  EXPECT_EQ(fx.Ctl().InsertCount, 4);
  EXPECT_EQ(fx.Ctl().DeleteCount, 4);
}

TEST(DpRun, IdenticalPassWithACommentIsCountedOnce) {
  // The comment rule works while the body is written; a Dln condition takes
  // its line out at read time, and no body is written for the identical pass.
  const std::tuple<const char*, int, const char*> cases[] = {
      {"Chng", DpDcpp, ""}, {"Long", DpDcpp, ""}, {"Delta", DpDcpp, ""},
      {"Ovsum", DpDcpp, ""}, {"Chng", DpNone, "note"}};
  for (auto [type, dp, dln] : cases) {
    TListingFixture fx;
    fx.App.Controls.DpRadioGroup1 = dp;
    fx.App.Controls.MnCbListType = type;
    fx.App.Controls.DpCkDpDln[0] = *dln;
    fx.App.Controls.DpEdDpDln[0] = dln;
    const std::string text = "int a;\n// note\nint b; // part\n";
    fx.SetFiles(text, text);
    fx.RunBatch();
    EXPECT_EQ(fx.Ctl().MatchCount, 2) << type << dln;
    EXPECT_EQ(fx.Ctl().NewNotProcCount, 1) << type << dln;
    EXPECT_EQ(fx.Ctl().OldNotProcCount, 1) << type << dln;
    EXPECT_EQ(fx.Ctl().NewPartDpCount, dp == DpDcpp) << type << dln;
    EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered) << type << dln;
  }
}

/// Per line of a pass: 'N' when the line is not processed, '.' when it is.
std::string NotProcessed(const std::vector<TLineCopy>& lines) {
  std::string out;
  for (const TLineCopy& l : lines) out += l.NotProcessed ? 'N' : '.';
  return out;
}

TEST(DpRun, CobolCommentsAreTakenOutAtReadTime) {
  // A '*' in column 7 makes a comment line. The identity check of a pass sees
  // the pairs of lines as read, comment lines included.
  struct Case {
    const char* Name;
    std::string New, Old, Dln;
    std::string NewNp, OldNp;
    bool Differ;
    const char* Status;
  } cases[] = {
      {"a line shorter than 7 characters is never a comment",
       "000100 MOVE A TO B.\n000150*NEW NOTE\n12345*\n000200 STOP RUN.\n",
       "000100 MOVE A TO B.\n12345*\n000200 STOP RUN.\n", "", ".N..", "...", true, MsgEquivFiltered},
      {"identical comment lines keep the pass identical", "000100 MOVE A TO B.\n000200*NOTE\n",
       "000100 MOVE A TO B.\n000200*NOTE\n", "", ".N", ".N", false, MsgEquivFiltered},
      {"a code NEW line against a comment OLD line", "000100 MOVE A TO B.\n000200 ADD 1 TO X.\n",
       "000100 MOVE A TO B.\n000200*OLD NOTE\n", "", "..", ".N", true, MsgDiffer},
      {"Dcob wins over Dln", "000100 MOVE A.\n000200*MOVE B.\n000300 ADD.\n", "000300 ADD.\n", "MOVE", "NN.",
       ".", true, MsgEquivFiltered},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.App.Controls.DpRadioGroup1 = DpDcob;
    fx.App.Controls.DpCkDpDln[0] = !c.Dln.empty();
    fx.App.Controls.DpEdDpDln[0] = c.Dln;
    fx.Run(c.New, c.Old);
    ASSERT_EQ(fx.Recorder.Passes.size(), 1u) << c.Name;
    EXPECT_EQ(NotProcessed(fx.Recorder.Passes[0].New), c.NewNp) << c.Name;
    EXPECT_EQ(NotProcessed(fx.Recorder.Passes[0].Old), c.OldNp) << c.Name;
    EXPECT_EQ(fx.Ctl().FilesDiffer, c.Differ) << c.Name;
    EXPECT_EQ(fx.App.StatusText, c.Status) << c.Name;
  }
}

} // namespace
} // namespace quorlin::test
