#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorlin::test {
namespace {

TEST(CompareRun, IdenticalFilesAreReadInPassesOf8000Lines) {
  struct Case {
    const char* Name;
    int Lines;
    std::vector<size_t> PassLines;
    int Longest;
  } cases[] = {
      {"two empty files", 0, {0}, 0},
      {"exactly one pass: the last pass is empty", MaxPassLines, {8000, 0}, 9},
      {"three passes", 20000, {8000, 8000, 4000}, 10},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.Check(TagFmvl);
    std::string text = NumberedLines(c.Lines);
    EXPECT_EQ(fx.Run(text, text), 0) << c.Name;
    std::vector<size_t> sizes;
    for (const auto& p : fx.Recorder.Passes) {
      EXPECT_EQ(p.NewFirstLine, 8000 * static_cast<int>(sizes.size())) << c.Name;
      EXPECT_FALSE(p.Prepared) << c.Name;
      sizes.push_back(p.New.size());
    }
    EXPECT_EQ(sizes, c.PassLines) << c.Name;
    EXPECT_TRUE(fx.Ctl().LastPass) << c.Name;
    EXPECT_EQ(fx.Ctl().MovedSubOptimal, sizes.size() > 1) << c.Name << ": Fmvl over more than one pass";
    EXPECT_EQ(fx.Ctl().NewLongest, c.Longest) << c.Name;
    EXPECT_EQ(fx.App.StatusText, "INFORM: The processed files compare as equivalent files.") << c.Name;
    EXPECT_EQ(fx.App.Panel1Lines.back(), fx.App.StatusText) << c.Name;
  }
}

TEST(CompareRun, DifferencesOnceMetAreMatchedInEveryLaterPass) {
  TRunFixture fx;
  std::string common = NumberedLines(20000);
  fx.Run("changed\n" + common, "original\n" + common);
  EXPECT_TRUE(fx.Ctl().FilesDiffer);
  for (const auto& p : fx.Recorder.Passes) EXPECT_TRUE(p.Prepared);
  EXPECT_EQ(fx.Ctl().InsertCount, 1);
  EXPECT_EQ(fx.Ctl().DeleteCount, 1);
  EXPECT_EQ(fx.App.StatusText, MsgDiffer);
}

TEST(CompareRun, InputFilesThatCannotBeCompared) {
  const std::string openFailed = "ERROR: Quorlin encountered an I/O problem opening an Input File.";
  struct Case {
    const char* Name;
    bool Batch, Old; ///< Old: the OLD name is bad, else the NEW name
    std::string File; ///< the bad name in the directory
    std::string Status, Box; ///< Box: the message, with @ for the bad name; none in batch
  } cases[] = {
      {"missing NEW file", false, false, "no-such-file.txt", openFailed,
       "Error while trying to open valid New Input File \"@\""},
      {"OLD directory", false, true, "", openFailed, "Error while trying to open valid Old Input File \"@\""},
      {"batch: no dialog", true, false, "no-such-file.txt", openFailed, ""},
      {"a file of 2 GB", false, true, "big.txt", "ERROR: File GT 2 GB. Use Sarnvik for partial 2GB compare",
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
    EXPECT_EQ(fx.App.InputIoError, c.Status == openFailed);
    EXPECT_EQ(fx.App.FileTooBig, c.Status != openFailed);
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

TEST(CompareRun, RovrMakesEquivalentFiltered) {
  // Icas does too (the golden listing icas_long_batch); Fmvl does not (above).
  TRunFixture fx;
  fx.Check(TagRovr);
  fx.Run("Alpha\nBeta\n", "Alpha\nBeta\n");
  EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered);
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
}

TEST(CompareRun, BadEntriesEndTheRunWithTheFaultMessage) {
  struct Case {
    const char* Name;
    int Tag;
    std::string SubC, Tab;
  } cases[] = {
      {"non-numeric tab width", TagXtab, "\".\"", "x"},
      {"zero tab width", TagXtab, "\".\"", "0"},
      {"substitute text too short", TagSubc, ".", " 4"},
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.Check(c.Tag);
    fx.App.Controls.PrEdSubC = c.SubC;
    fx.App.Controls.PrCbXTab = c.Tab;
    EXPECT_EQ(fx.Run("a\n", "a\n"), 4) << c.Name;
    EXPECT_TRUE(fx.App.RunFault) << c.Name;
    EXPECT_EQ(fx.App.StatusText, MsgRunFault) << c.Name;
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

TEST(CompareRun, ManyRunsInOneProcessAreIndependent) {
  TRunFixture fx;
  for (int i = 0; i < 50; ++i) {
    bool same = i % 2 == 0;
    fx.Run("a\nb\n", same ? "a\nb\n" : "a\nc\n");
    EXPECT_EQ(fx.App.StatusText, same ? MsgEquivalent : MsgDiffer) << i;
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
