#include "TestSupport.h"
#include "app/BatchJob.h"
#include "platform/AppDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace quorlin::test {
namespace {

struct TCountingWindow final : IBatchWindow {
  int Shown = 0;
  void ShowDuringBatch() override { ++Shown; }
};

struct TBatchFixture {
  TRecordingFrontEnd Ui;
  TAppState App{Ui};
  TTempDir Dir;
  TCountingWindow Window;
  TBatchResult Result;

  TBatchFixture() {
    Dir.Write("a.txt", "alpha\nbeta\n");
    Dir.Write("b.txt", "alpha\ngamma\n");
  }
  std::string P(const std::string& name) const { return Dir.PathOf(name); }

  TBatchResult Run(const std::string& ini) {
    Dir.Write("job.ini", ini);
    return RunFile(P("job.ini"));
  }
  TBatchResult RunFile(const std::string& path) {
    App.RunStamp = "12/06/26 10:00:00";
    Result = IniBatchRun(App, path, Dir.Path.string(), &Window);
    return Result;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  /// The batch log, one line each, with times and the directory masked.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::string bytes = Read(P(BatchLogName));
    static const std::regex time(R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d)");
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2) {
      std::string line = std::regex_replace(bytes.substr(start, at - start), time, "<time>");
      for (size_t p; (p = line.find(Dir.Path.string() + "/")) != std::string::npos;)
        line.erase(p, Dir.Path.string().size() + 1);
      lines.push_back(line);
    }
    EXPECT_EQ(start, bytes.size()) << "every log line ends in CR LF";
    return lines;
  }
  bool LogHas(const std::string& line) const {
    for (const auto& l : Log())
      if (l == line) return true;
    return false;
  }
  std::string Files(const std::string& out = "out.lst") const {
    return "newf=" + P("a.txt") + "\noldf=" + P("b.txt") + "\noutf=" + P(out) + "\n";
  }
};

TEST(Batch, OneStepWithoutJobLine) {
  TBatchFixture fx;
  fx.Run(fx.Files());
  std::vector<std::string> log = fx.Log();
  ASSERT_GE(log.size(), 8u);
  EXPECT_EQ(log[0], std::string(73, '*'));
  EXPECT_EQ(log[1], "*** Quorlin V5.7b -  June 30, 2001  Time=<time>");
  EXPECT_EQ(log[2], "*** Batch Activity using Ini File=job.ini ");
  EXPECT_EQ(log[3], "*** /Job#1 Statement Inserted - Job Started Time=<time>");
  EXPECT_EQ(log[4], "*** Job#1  Started Time=<time>");
  EXPECT_EQ(log[5], "Batch Compare Totals And Statistics Section");
  EXPECT_EQ(log[log.size() - 2], "INFORM: The processed files have differences.");
  EXPECT_EQ(log.back(), "*** Job#1      Ended  Time = <time>");
  EXPECT_EQ(fx.Result.FinalStatus, "INFORM: The processed files have differences.  Exit Batch.");
  EXPECT_EQ(fx.Result.ExitStatus, 1);
  std::string listing = fx.Read(fx.P("out.lst"));
  EXPECT_EQ(listing.rfind("Quorlin V5.7b -  Win98/NT/2000 Line Compare Program - Job#1 Batch OutPut  ", 0), 0u);
  EXPECT_NE(listing.find("INFORM: The processed files have differences.\r\n\r\n"), std::string::npos);
}

TEST(Batch, StatementForms) {
  TBatchFixture fx;
  fx.Dir.Write("New Data.TXT", "alpha\nbeta\n");
  fx.Run("/job\n"
         "NEWF = " + fx.P("New Data.TXT") + "\n"
         "  oldf=" + fx.P("a.txt") + "   // the old one\n"
         "outf=" + fx.P("out.lst") + "\n"
         "dpop=dps1 \"a//b\"\n"
         "ltyp=LONG\n");
  EXPECT_FALSE(fx.LogHas("*** /Job#1 Statement Inserted - Job Started Time=<time>"));
  EXPECT_EQ(fx.App.Controls.MnCbNewFileNm, fx.P("New Data.TXT")) << "file names keep their case";
  EXPECT_EQ(fx.App.Controls.DpEdS[0], "a//b");
  EXPECT_EQ(fx.App.Controls.MnCbListType, "Long");
  EXPECT_EQ(fx.Result.ExitStatus, 0);
  EXPECT_EQ(fx.Result.FinalStatus, "INFORM: The processed files compare as equivalent filtered files.  Exit Batch.");
}

TEST(Batch, StatementErrors) {
  struct Case {
    const char* Name;
    std::string Line;
    std::string Message;
  } cases[] = {
      {"two keywords in one pref", "pref=icas rovr",
       "Invalid Pref=Keyword or Keyword Operand Value(s) \"icas rovr\" from Batch Ini File. Flush job#1 step."},
      {"unknown keyword", "colr=blue", "Invalid Keyword \"blue\" from Batch Ini File. Flush job#1 step."},
      {"no equals sign", "newfile", "Invalid Statement \"newfile\" from Batch Ini File. Flush job#1 step."},
      {"bad dpop", "dpop=dfoo", "Invalid DpOpt Option Arguments \"dfoo\" from Batch Ini File. Flush job#1 step."},
      {"missing new file", "newf=/no/such/File.txt",
       "Invalid New File Name \"/no/such/File.txt\" from Batch Ini File. Flush job#1 step."},
  };
  for (const auto& c : cases) {
    TBatchFixture fx;
    fx.Run(c.Line + "\n" + fx.Files());
    EXPECT_TRUE(fx.LogHas(c.Message)) << c.Name;
    EXPECT_TRUE(fx.LogHas("*** Job#1 execution aborted due to option error")) << c.Name;
    EXPECT_TRUE(fx.LogHas("ERROR: Ini file error. One or more job steps flushed.")) << c.Name;
    EXPECT_EQ(fx.Result.FinalStatus,
              "ERROR: Ini file error. One or more job steps flushed.  Check Quorln32.log. Exit Batch.")
        << c.Name;
    EXPECT_EQ(fx.Result.ExitStatus, 2) << c.Name;
    EXPECT_FALSE(FileExists(fx.P("out.lst"))) << c.Name;
  }
}

TEST(Batch, OutfInStepTwoIsAnInvalidKeyword) {
  TBatchFixture fx;
  fx.Run(fx.Files() + "/job\nnewf=" + fx.P("a.txt") + "\noldf=" + fx.P("a.txt") + "\noutf=x.lst\n/job\n" +
         "newf=" + fx.P("a.txt") + "\noldf=" + fx.P("a.txt") + "\n");
  EXPECT_TRUE(fx.LogHas("Invalid Keyword \"x.lst\" from Batch Ini File. Flush job#2 step."));
  EXPECT_TRUE(fx.LogHas("ERROR: Multi-batch error. One or more job steps flushed."));
  EXPECT_TRUE(fx.LogHas("*** Job#3  Started Time=<time>"));
  EXPECT_EQ(fx.Result.ExitStatus, 2);
}

TEST(Batch, MissingStatements) {
  {
    TBatchFixture fx; // step 1 without outf=
    fx.Run("newf=" + fx.P("a.txt") + "\noldf=" + fx.P("b.txt") + "\n");
    EXPECT_TRUE(fx.LogHas("Valid file names must be specified. \" OutF= \" missing. Job#1 execution aborted"));
    EXPECT_EQ(fx.Result.ExitStatus, 2);
  }
  {
    TBatchFixture fx; // step 2 without files, then without the old file
    fx.Run(fx.Files() + "/job\nltyp=long\n/job\nnewf=" + fx.P("a.txt") + "\n");
    EXPECT_TRUE(fx.LogHas("Valid file names must be specified. \"NewF=, OldF=\" missing. Job#2 execution aborted"));
    // Decoding goes on after a flushed step once a step has run.
    EXPECT_TRUE(fx.LogHas("Valid file names must be specified. \" OldF=\" missing. Job#2 execution aborted"));
    EXPECT_EQ(fx.Result.FinalStatus,
              "ERROR: Ini file error. One or more job steps flushed.  Check Quorln32.log. Exit Batch.");
    std::string listing = fx.Read(fx.P("out.lst"));
    EXPECT_NE(listing.find("Valid file names must be specified. \"NewF=, OldF=\" missing."), std::string::npos);
  }
  {
    TBatchFixture fx;
    fx.Run(fx.Files() + "/job\nnewf=" + fx.P("a.txt") + "\n/job\nltyp=long\n");
    EXPECT_TRUE(fx.LogHas("Valid file names must be specified. \" OldF=\" missing. Job#2 execution aborted"));
    EXPECT_TRUE(fx.LogHas("Statements flushed=\"ltyp=long\".") || !fx.LogHas("*** Job#2  Started Time=<time>"));
  }
}

TEST(Batch, TwoGoodStepsAndOptionCarryOver) {
  TBatchFixture fx;
  fx.Run(fx.Files() + "pref=icas\n/job\nnewf=" + fx.P("a.txt") + "\noldf=" + fx.P("a.txt") + "\n");
  EXPECT_EQ(fx.Result.FinalStatus, "INFORM: Multi-part compare was successful.  Exit Batch.");
  EXPECT_EQ(fx.Result.ExitStatus, 1); // step 1 differs
  // Icas set in step 1 is still set in step 2.
  std::string listing = fx.Read(fx.P("out.lst"));
  size_t second = listing.find("Job#2 Batch OutPut");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(listing.find("OPTIONS = Icas", second), std::string::npos);
  EXPECT_TRUE(fx.LogHas(" "));
  EXPECT_EQ(fx.Window.Shown, 2);
}

TEST(Batch, WindowAndWaitOptions) {
  {
    TBatchFixture fx;
    fx.Run(fx.Files() + "pref=nosw\n");
    EXPECT_EQ(fx.Window.Shown, 0);
    EXPECT_TRUE(fx.Result.NoWait);
  }
  {
    TBatchFixture fx;
    fx.Run(fx.Files() + "pref=nowt\n");
    EXPECT_EQ(fx.Window.Shown, 1);
    EXPECT_TRUE(fx.Result.NoWait);
  }
}

TEST(Batch, FifthDplnAndDpsWithoutString) {
  {
    TBatchFixture fx;
    std::string ini = fx.Files();
    for (int k = 1; k <= 5; ++k) ini += "dpop=dpln word" + std::to_string(k) + "\n";
    fx.Run(ini);
    EXPECT_EQ(fx.Result.ExitStatus, 1);
    EXPECT_EQ(fx.App.Controls.DpEdDpDln[3], "word4");
  }
  {
    TBatchFixture fx;
    fx.Run(fx.Files() + "dpop=dps1\n");
    EXPECT_EQ(fx.Result.FinalStatus, "ERROR: Exception failure during Batch parm processing.   Program "
                                     "Terminated.  Check Quorln32.log. Exit Batch.");
    EXPECT_EQ(fx.Result.ExitStatus, 2);
  }
}

TEST(Batch, MissingIniFile) {
  TBatchFixture fx;
  fx.RunFile(fx.P("nothere.ini"));
  EXPECT_EQ(fx.Result.FinalStatus,
            "ERROR: Failed to open Batch Ini File.   Program Terminated.  Check Quorln32.log. Exit Batch.");
  EXPECT_TRUE(fx.LogHas("ERROR: Failed to open Batch Ini File.   Program Terminated."));
  EXPECT_EQ(fx.Result.ExitStatus, 2);
}

TEST(Batch, ClncAndOrderedStepsShareTheListingFile) {
  TBatchFixture fx;
  fx.Run(fx.Files() + "pref=clnc\n/job\nnewf=" + fx.P("a.txt") + "\noldf=" + fx.P("b.txt") + "\n");
  std::string listing = fx.Read(fx.P("out.lst"));
  EXPECT_NE(listing.find("Batch Compare Results - Clnc Preference New File Output Section"), std::string::npos);
  EXPECT_NE(listing.find("Batch Clnc Preference Compare Totals And Statistics Section"), std::string::npos);
  // The Clnc option carries over to step 2 as well.
  EXPECT_EQ(listing.find("Batch OutPut"), std::string::npos);
}

TEST(Batch, AppendAndNewLogAcrossBatches) {
  TBatchFixture fx;
  fx.Run(fx.Files());
  fx.Run(fx.Files() + "pref=apnd\n");
  std::string listing = fx.Read(fx.P("out.lst"));
  size_t banners = 0;
  for (size_t p = 0; (p = listing.find("Batch OutPut", p)) != std::string::npos; ++p) ++banners;
  EXPECT_EQ(banners, 2u);
  auto count = [&](const std::string& line) {
    size_t n = 0;
    for (const auto& l : fx.Log())
      if (l == line) ++n;
    return n;
  };
  EXPECT_EQ(count(std::string(73, '*')), 2u) << "the log is appended to";
  fx.Run(fx.Files() + "pref=nwlg\n");
  EXPECT_EQ(count(std::string(73, '*')), 1u) << "nwlg starts the log anew";
}

TEST(Batch, NslgKeepsTheStatisticsOutOfTheLog) {
  TBatchFixture fx;
  fx.Run(fx.Files() + "pref=nslg\n");
  EXPECT_FALSE(fx.LogHas("Batch Compare Totals And Statistics Section"));
  for (const auto& l : fx.Log()) EXPECT_EQ(l.find("Number Of Line Matches"), std::string::npos);
  std::string listing = fx.Read(fx.P("out.lst"));
  EXPECT_NE(listing.find("\r\nQuorlin V5.7b - \r\n"), std::string::npos) << "the short title";
  EXPECT_NE(listing.find("OPTIONS = Nbts "), std::string::npos);
}

TEST(Batch, ListingWriteFailureEndsTheBatch) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP();
  TBatchFixture fx;
  fx.Dir.Write("big.txt", NumberedLines(40000));
  fx.Run("newf=" + fx.P("big.txt") + "\noldf=" + fx.P("b.txt") + "\noutf=/dev/full\nltyp=long\n/job\n" +
         fx.Files());
  EXPECT_EQ(fx.Result.ExitStatus, 2);
  EXPECT_EQ(fx.Result.FinalStatus,
            "ERROR: Failed writing the OutF= listing file.   Program Terminated.  Check Quorln32.log. Exit Batch.");
  bool reported = false;
  for (const auto& l : fx.Log()) reported = reported || l.rfind("ERROR: Writing the listing file \"/dev/full\" failed", 0) == 0;
  EXPECT_TRUE(reported);
  EXPECT_FALSE(fx.LogHas("*** Job#2  Started Time=<time>"));
}

TEST(Batch, BadIniFiles) {
  {
    TBatchFixture fx;
    fx.Run("");
    EXPECT_EQ(fx.Result.ExitStatus, 2);
    EXPECT_TRUE(fx.LogHas("ERROR: Batch Ini File holds no job step."));
  }
  {
    TBatchFixture fx;
    std::mt19937 rng(3);
    std::string binary;
    for (int i = 0; i < 20000; ++i) binary += static_cast<char>(rng() % 256);
    fx.Run(binary);
    EXPECT_EQ(fx.Result.ExitStatus, 2);
    EXPECT_FALSE(fx.Log().empty());
  }
  {
    TBatchFixture fx; // 100,000 lines
    std::string ini;
    for (int i = 0; i < 99990; ++i) ini += "// comment line " + std::to_string(i) + "\n";
    fx.Run(ini + fx.Files());
    EXPECT_EQ(fx.Result.ExitStatus, 1);
  }
  {
    TBatchFixture fx; // a statement of 10,000 characters
    fx.Run("pref=" + std::string(10000, 'x') + "\n" + fx.Files());
    EXPECT_EQ(fx.Result.ExitStatus, 2);
    EXPECT_TRUE(fx.LogHas("*** Job#1 execution aborted due to option error"));
  }
  {
    TBatchFixture fx; // a file name with blanks and quotes
    fx.Dir.Write("my \"odd\" file.txt", "alpha\nbeta\n");
    fx.Run("newf=" + fx.P("my \"odd\" file.txt") + "\noldf=" + fx.P("a.txt") + "\noutf=" + fx.P("out.lst") + "\n");
    EXPECT_EQ(fx.Result.ExitStatus, 0);
  }
  {
    TBatchFixture fx; // the ini names a directory
    fx.RunFile(fx.Dir.Path.string());
    EXPECT_EQ(fx.Result.ExitStatus, 2);
  }
}

TEST(Batch, OutputFileThatCannotBeOpened) {
  TBatchFixture fx;
  fx.Run("newf=" + fx.P("a.txt") + "\noldf=" + fx.P("b.txt") + "\noutf=/no/such/Dir/Out.LST\n");
  EXPECT_TRUE(fx.LogHas("Invalid OutF= file name \"/no/such/Dir/Out.LST\" from Batch Ini File. Flush job#1 step."))
      << "the file name keeps its case";
  EXPECT_EQ(fx.Result.ExitStatus, 2);
}

TEST(Batch, PeekLog) {
  TBatchFixture fx;
  EXPECT_EQ(PeekLogLines(fx.P(BatchLogName)), std::vector<std::string>{"No data to be shown."});
  fx.Run(fx.Files());
  std::vector<std::string> lines = PeekLogLines(fx.P(BatchLogName));
  EXPECT_EQ(lines.front(), std::string(73, '*'));
}

} // namespace
} // namespace quorlin::test
