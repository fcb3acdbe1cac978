#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorlin::test {
namespace {

TEST(CompareRun, PassesOf8000LinesAndTheResult) {
  // Identical files are counted pass by pass, never prepared; once a
  // difference is met every later pass is prepared and matched too. One
  // fixture runs all the cases: a run leaves nothing behind for the next.
  struct Case {
    const char* Name;
    int Lines, Tag;
    bool Differ; ///< NEW and OLD get a different first line
    std::vector<size_t> PassLines;
    int Longest;
    const char* Status;
  } cases[] = {
      {"two empty files", 0, TagFmvl, false, {0}, 0, MsgEquivalent},
      {"a difference in pass 1", 20000, TagFmvl, true, {8000, 8000, 4001}, 10, MsgDiffer},
      {"exactly one pass: the last pass is empty", MaxPassLines, TagFmvl, false, {8000, 0}, 9, MsgEquivalent},
      {"three passes", 20000, TagFmvl, false, {8000, 8000, 4000}, 10, MsgEquivalent},
      // Icas does too (the golden listing icas_long_batch); Fmvl does not.
      {"Rovr makes equal files filtered", 2, TagRovr, false, {2}, 6, MsgEquivFiltered},
  };
  TRunFixture fx;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    fx.Check(TagFmvl, c.Tag == TagFmvl);
    fx.Check(TagRovr, c.Tag == TagRovr);
    std::string text = NumberedLines(c.Lines);
    EXPECT_EQ(fx.Run((c.Differ ? "changed\n" : "") + text, (c.Differ ? "original\n" : "") + text), 0);
    std::vector<size_t> sizes;
    int at = 0;
    for (const auto& p : fx.Recorder.Passes) {
      EXPECT_EQ(p.NewFirstLine, at);
      EXPECT_EQ(p.Prepared, c.Differ);
      sizes.push_back(p.New.size());
      at += static_cast<int>(p.New.size());
    }
    EXPECT_EQ(sizes, c.PassLines);
    EXPECT_EQ(fx.Ctl().MovedSubOptimal, c.Tag == TagFmvl && sizes.size() > 1) << "Fmvl over more than one pass";
    EXPECT_EQ(fx.Ctl().NewLongest, c.Longest);
    EXPECT_EQ(std::make_pair(fx.Ctl().InsertCount, fx.Ctl().DeleteCount), std::make_pair(+c.Differ, +c.Differ));
    EXPECT_EQ(fx.App.StatusText, c.Status);
  }
}

TEST(CompareRun, InputFilesThatCannotBeCompared) {
  struct Case {
    const char* Name;
    bool Batch, Old;         ///< Old: the OLD name is bad, else the NEW name
    std::string File;        ///< the bad name in the directory; "": the directory itself
    std::string Status, Box; ///< Box: the message, with @ for the bad name; none in batch
  } cases[] = {
      {"missing NEW file", false, false, "no-such-file.txt", MsgInputIoError,
       "Error while trying to open valid New Input File \"@\": No such file or directory"},
      {"OLD directory", false, true, "", MsgInputIoError,
       "Error while trying to open valid Old Input File \"@\": is a directory"},
      {"batch: no dialog", true, false, "no-such-file.txt", MsgInputIoError, ""},
      {"a file of 2 GB", false, true, "big.txt", MsgFileTooBig,
       "The Old Input File \"@\" is GT 2 GB which can not be processed. Compare Terminated."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRunFixture fx;
    fx.App.BatchMode = c.Batch;
    fx.SetFiles("a\n", "a\n");
    const std::string bad = c.File.empty() ? fx.Dir.Path.string() : fx.Dir.PathOf(c.File);
    if (c.File == "big.txt") std::filesystem::resize_file(fx.Dir.Write("big.txt", ""), uintmax_t(1) << 31); // sparse
    (c.Old ? fx.App.Controls.MnCbOldFileNm : fx.App.Controls.MnCbNewFileNm) = bad;
    EXPECT_EQ(fx.Run(), 4);
    EXPECT_EQ(fx.App.InputIoError, c.Status == MsgInputIoError);
    EXPECT_EQ(fx.App.FileTooBig, c.Status == MsgFileTooBig);
    EXPECT_TRUE(fx.Recorder.Passes.empty());
    EXPECT_EQ(fx.App.StatusText, c.Status);
    std::string box = c.Box;
    if (!box.empty()) box.replace(box.find('@'), 1, bad);
    EXPECT_EQ(fx.Ui.Messages, box.empty() ? std::vector<std::string>{} : std::vector<std::string>{box});
    EXPECT_EQ(fx.App.InputErrorDetail.find("is a directory") != std::string::npos, c.File.empty());
  }
}

TEST(CompareRun, PartCompareRanges) {
  struct Case {
    const char* Name;
    std::string NewRange, OldRange;
    int Lines; ///< of each file
    bool Bad, Active;
    int NewFirst, OldFirst; ///< PassFirstLine of pass 1
    int NewLines, OldLines; ///< lines compared over all passes
    const char* Status;
  } cases[] = {
      {"zero first line", "0:20", "1:eod", 30, true, false, 0, 0, 0, 0, nullptr},
      {"no colon", "5", "1:eod", 30, true, false, 0, 0, 0, 0, nullptr},
      {"last line neither number nor eod", "1:", "1:eod", 30, true, false, 0, 0, 0, 0, nullptr},
      {"last below first: whole files", "10:5", "1:eod", 30, false, false, 0, 0, 30, 30, MsgEquivalent},
      {"each file skips and stops on its own", "3:12", "5:EOD", 30, false, true, 2, 4, 10, 26, MsgDiffer},
      {"equal parts over three passes", "101:17100", "101:17100", 20000, false, true, 100, 100, 17000, 17000,
       MsgEquivFiltered},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRunFixture fx;
    fx.Check(TagPcmp);
    fx.App.Controls.PrEdNewLmt = c.NewRange;
    fx.App.Controls.PrEdOldlmt = c.OldRange;
    fx.Run(NumberedLines(c.Lines), NumberedLines(c.Lines));
    EXPECT_EQ(fx.Ctl().PcmpBad, c.Bad);
    EXPECT_EQ(fx.Ctl().PcmpActive, c.Active);
    if (c.Bad) {
      EXPECT_EQ(fx.Ctl().RunResult, 1);
      EXPECT_EQ(fx.App.StatusText, "ERROR: User error. Bad Part Compare specified.");
      EXPECT_TRUE(fx.Recorder.Passes.empty());
      continue;
    }
    ASSERT_FALSE(fx.Recorder.Passes.empty());
    EXPECT_EQ(fx.Recorder.Passes[0].New[0].FileLine, c.NewFirst + 1);
    int newAt = c.NewFirst, oldAt = c.OldFirst; // each pass starts where the last one ended
    for (const TPassCopy& p : fx.Recorder.Passes) {
      EXPECT_EQ(std::make_pair(p.NewFirstLine, p.OldFirstLine), std::make_pair(newAt, oldAt));
      newAt += static_cast<int>(p.New.size());
      oldAt += static_cast<int>(p.Old.size());
    }
    EXPECT_EQ(std::make_pair(newAt - c.NewFirst, oldAt - c.OldFirst), std::make_pair(c.NewLines, c.OldLines));
    EXPECT_EQ(fx.App.StatusText, c.Status);
  }
}

TEST(CompareRun, OptionControlsBecomeControlFlags) {
  // The golden listings show the flag of every option; these are the
  // conversions they do not show.
  TRunFixture fx;
  fx.Check(TagClnc);
  fx.Check(TagXtab);
  fx.App.Controls.PrCbXTab = " 6";
  fx.App.Controls.MnCbListType = "chng"; // names are case-sensitive
  fx.App.Controls.DpRadioGroup1 = -1;    // no selection means None
  fx.App.Controls.DpCkDpS[1] = true;
  fx.App.Controls.DpEdS[1] = "END";
  fx.Run("a\n", "a\n");
  const TCompareCtl& c = fx.Ctl();
  EXPECT_TRUE(c.OptClnc && c.OptSbsl) << "Clnc lists side by side";
  EXPECT_EQ(c.TabWidth, 6);
  EXPECT_FALSE(c.ListChng || c.ListDelta || c.ListLong || c.ListOvsum);
  EXPECT_FALSE(c.DpActive);
  EXPECT_EQ(fx.App.Controls.DpRadioGroup1, 0);
  EXPECT_TRUE(c.DpsActive && c.Dps2On && !c.Dps1On);
  EXPECT_EQ(c.Dps2Text, "end");

  // Bad entries end the run with the fault message.
  for (auto [tag, subc, tab] : {std::tuple{TagXtab, "\".\"", "x"}, {TagXtab, "\".\"", "0"}, {TagSubc, ".", " 4"}}) {
    TRunFixture bad;
    bad.Check(tag);
    bad.App.Controls.PrEdSubC = subc;
    bad.App.Controls.PrCbXTab = tab;
    EXPECT_EQ(bad.Run("a\n", "a\n"), 4) << subc << tab;
    EXPECT_TRUE(bad.App.RunFault) << subc << tab;
    EXPECT_EQ(bad.App.StatusText, MsgRunFault) << subc << tab;
  }
}

TEST(CompareRun, DlnConditionsAreParsedAtSetUp) {
  TRunFixture fx;
  fx.App.Controls.DpCkDpDln[0] = true;
  fx.App.Controls.DpEdDpDln[0] = "DEBUG";
  fx.App.Controls.DpCkDpDln[2] = true;
  fx.App.Controls.DpEdDpDln[2] = "bad 0:5";
  fx.App.Controls.MnlblOptsUsed = "Icas Dpln ";
  fx.Run("x\nDEBUG a\ny\n", "x\ny\n");
  EXPECT_TRUE(fx.Ctl().DlnActive);
  EXPECT_TRUE(fx.Ctl().DlnBad);
  EXPECT_FALSE(fx.App.Controls.DpCkDpDln[2]);
  EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered);

  // When no condition survives, "Dpln" leaves the options summary.
  fx.App.Controls.DpCkDpDln[0] = false;
  fx.App.Controls.DpCkDpDln[2] = true;
  fx.Run();
  EXPECT_FALSE(fx.Ctl().DlnActive);
  EXPECT_EQ(fx.App.Controls.MnlblOptsUsed, "Icas");
}

TEST(CompareRun, StopRequestWhileReadingTheFirstPass) {
  for (bool batch : {false, true}) {
    TRunFixture fx;
    fx.App.BatchMode = batch;
    fx.HaltOn("Read Input Processing");
    fx.Run(NumberedLines(30000), NumberedLines(30000) + "x\n"); // not identical: read line by line
    ASSERT_EQ(fx.Recorder.Passes.size(), 1u);
    EXPECT_LT(fx.Recorder.Passes[0].New.size(), 1000u);
    EXPECT_EQ(fx.App.StatusText, batch ? MsgUserStopBatch : MsgUserStop);
  }
}

TEST(CompareRun, ProgressTextsNameThePass) {
  TRunFixture fx;
  fx.App.JobLabel = "Job#2 ";
  fx.Run("a\n", "b\n");
  for (const char* text : {"Reading Data FileJob#2 PassCt=1  Start Line = 1",
                           "Processing Data Job#2 PassCt=1  Start Line = 1 UpTo Line = 1.",
                           "Finding Matching LinesJob#2 PassCt=1  Start Line = 1 UpTo Line = 1 .",
                           "Generating Report Job#2 PassCt=1  Start Line = 1 UpTo Line = 1 ."})
    EXPECT_TRUE(Contains(fx.Ui.Status, text)) << text;
  fx.App.ProgressOn = false;
  fx.Ui.Status.clear();
  fx.Run();
  EXPECT_TRUE(fx.Ui.Status.empty());
}

} // namespace
} // namespace quorlin::test
