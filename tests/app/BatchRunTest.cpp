// Batch jobs: the operand decoders, and whole batch runs from ini text with
// their listing file, log and final status.
#include "TestSupport.h"
#include "app/BatchJob.h"
#include "platform/AppDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <unistd.h>

namespace quorlin::test {
namespace {

struct TDecoder {
  TSilentFrontEnd Ui;
  TAppState App{Ui};
  TBatchState Batch;
  std::string Pref(std::string_view op) { return DecodePref(App, Batch, op); }
  std::string Dpop(std::string_view op) { return DecodeDpop(App, op); }
};

TEST(BatchDecoder, KeywordsAndForms) {
  // The options of the golden listings and the batch runs below use the
  // other keywords and forms (ccol twice, pcmp, dpln, dudc, dud2, ...).
  TDecoder d;
  EXPECT_EQ(d.Pref("sbsl"), "") << "taken and ignored";
  EXPECT_FALSE(d.App.Controls.Checked(TagSbsl));
  for (const char* bad : {"xtab", "subc", "ccol", "pcmp", "icas rovr", "", "bogus", "pcmp 1:100", "pcmp 1 5:eod"})
    EXPECT_EQ(d.Pref(bad), ErrInvalidPref) << bad;
  EXPECT_FALSE(d.App.Controls.Checked(TagPcmp));
  EXPECT_EQ(d.Pref("ccol 10:20 30:eol"), "");
  EXPECT_EQ(d.App.Controls.PrEdCcolOd[0], "1:eol") << "the OLD ranges until a second ccol";
  EXPECT_EQ(d.Pref("ccol 1:2 3:4 5:6 7:8 9:10"), ErrInvalidPref);
  EXPECT_EQ(d.Pref("xtab 8"), "");
  EXPECT_EQ(d.Pref("subc #"), "");
  EXPECT_EQ(d.App.Controls.PrCbXTab, " 4") << "the operand is ignored";

  for (int index = 0; index < DpCount; ++index) {
    std::string name = DpNames[static_cast<size_t>(index)];
    EXPECT_EQ(d.Dpop(name), "") << name;
    EXPECT_EQ(d.App.Controls.DpRadioGroup1, index) << name;
  }
  EXPECT_EQ(d.Dpop("DCPP"), "");
  EXPECT_EQ(d.App.Controls.DpRadioGroup1, DpDcpp);
  EXPECT_EQ(d.Dpop("dps2 \"END IF\""), "");
  EXPECT_TRUE(d.App.Controls.DpCkDpS[1]);
  EXPECT_EQ(d.App.Controls.DpEdS[1], "END IF");
  for (const char* bad : {"", "dxyz", "1", "dudc ;; maybe"}) EXPECT_EQ(d.Dpop(bad), ErrInvalidDpop) << bad;
}

struct TCountingWindow final : IBatchWindow {
  int Shown = 0;
  void ShowDuringBatch() override { ++Shown; }
};

/// The statements of one complete job step: a.txt against b.txt into out.lst.
const std::string Files = "newf=@a.txt\noldf=@b.txt\noutf=@out.lst\n";

struct TBatchFixture : TAppFixture {
  TCountingWindow Window;
  TBatchResult Result;

  TBatchFixture() {
    Dir.Write("a.txt", "alpha\nbeta\n");
    Dir.Write("b.txt", "alpha\ngamma\n");
  }
  std::string P(const std::string& name) const { return Dir.PathOf(name); }

  /// Runs a batch from ini text in which "@" stands for the temporary directory.
  TBatchResult Run(std::string ini) {
    for (size_t at; (at = ini.find('@')) != std::string::npos;) ini.replace(at, 1, P(""));
    Dir.Write("job.ini", ini);
    return RunFile(P("job.ini"));
  }
  TBatchResult RunFile(const std::string& path) {
    App.RunStamp = "12/06/26 10:00:00";
    return Result = IniBatchRun(App, path, Dir.Path.string(), &Window);
  }
  std::string Listing() const { return ReadBytes(P("out.lst")); }
  /// The batch log, one line each, with times and the directory masked.
  std::vector<std::string> Log() const {
    static const std::regex time(R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d)");
    const std::string bytes = ReadBytes(P(BatchLogName));
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << "every log line ends in CR LF";
    std::vector<std::string> lines = SplitCrLf(Relative(bytes));
    for (auto& line : lines) line = std::regex_replace(line, time, "<time>");
    return lines;
  }
  bool LogHas(const std::string& line) const { return Contains(Log(), line); }
};

const std::string Flushed = "ERROR: Ini file error. One or more job steps flushed.";
const std::string CheckLog = "  Check Quorln32.log. Exit Batch.";

TEST(Batch, OneStepWithoutJobLine) {
  TBatchFixture fx;
  fx.Run(Files);
  std::vector<std::string> log = fx.Log();
  ASSERT_GE(log.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6),
            (std::vector<std::string>{std::string(73, '*'), "*** Quorlin V5.7b -  June 30, 2001  Time=<time>",
                                      "*** Batch Activity using Ini File=job.ini ",
                                      "*** /Job#1 Statement Inserted - Job Started Time=<time>",
                                      "*** Job#1  Started Time=<time>", "Batch Compare Totals And Statistics Section"}));
  EXPECT_EQ(log[log.size() - 2], MsgDiffer);
  EXPECT_EQ(log.back(), "*** Job#1      Ended  Time = <time>");
  EXPECT_EQ(fx.Result.FinalStatus, "INFORM: The processed files have differences.  Exit Batch.");
  EXPECT_EQ(fx.Result.ExitStatus, 1);
  std::string listing = fx.Listing();
  EXPECT_EQ(listing.rfind("Quorlin V5.7b -  Win98/NT/2000 Line Compare Program - Job#1 Batch OutPut  ", 0), 0u);
  EXPECT_NE(listing.find("INFORM: The processed files have differences.\r\n\r\n"), std::string::npos);
}

TEST(Batch, StatementForms) {
  TBatchFixture fx;
  fx.Dir.Write("New Data.TXT", "alpha\nbeta\n");
  fx.Run("/job\nNEWF = @New Data.TXT\n  oldf=@a.txt   // the old one\noutf=@out.lst\ndpop=dps1 \"a//b\"\n"
         "ltyp=LONG\n");
  EXPECT_FALSE(fx.LogHas("*** /Job#1 Statement Inserted - Job Started Time=<time>"));
  EXPECT_EQ(fx.App.Controls.MnCbNewFileNm, fx.P("New Data.TXT")) << "file names keep their case";
  EXPECT_EQ(fx.App.Controls.DpEdS[0], "a//b");
  EXPECT_EQ(fx.App.Controls.MnCbListType, "Long");
  EXPECT_EQ(fx.Result.ExitStatus, 0);
  EXPECT_EQ(fx.Result.FinalStatus, "INFORM: The processed files compare as equivalent filtered files.  Exit Batch.");
}

TEST(Batch, FlushedSteps) {
  const std::string aborted = "*** Job#1 execution aborted due to option error";
  const std::string missing = "Valid file names must be specified. ";
  auto flush = [](const std::string& what, int job) {
    return what + " from Batch Ini File. Flush job#" + std::to_string(job) + " step.";
  };
  auto clash = [](const char* output, const char* side, const char* input, int job) {
    return std::string("The output file \"") + output + "\" is the " + side + " File \"" + input +
           "\": it was not written, so that the input stays as it was. Flush job#" + std::to_string(job) + " step.";
  };
  struct Case {
    const char* Name;
    std::string Ini;
    std::vector<std::string> Log;            ///< lines the log holds; "!x": x is not in it
    std::string Final = Flushed;             ///< the final status (logged too), without CheckLog
    std::optional<std::string> Listing = {}; ///< a text the listing file holds; none: no listing file
  } cases[] = {
      {"two keywords in one pref", Files + "pref=icas rovr\n",
       {flush("Invalid Pref=Keyword or Keyword Operand Value(s) \"icas rovr\"", 1), aborted}},
      {"unknown keyword", Files + "colr=blue\n", {flush("Invalid Keyword \"blue\"", 1), aborted}},
      {"no equals sign", Files + "newfile\n", {flush("Invalid Statement \"newfile\"", 1), aborted}},
      {"bad dpop", Files + "dpop=dfoo\n", {flush("Invalid DpOpt Option Arguments \"dfoo\"", 1), aborted}},
      {"unknown listing type", Files + "ltyp=sidew\n", {flush("Invalid LTyp= Listing Type \"sidew\"", 1), aborted}},
      {"outf= is the old file", "newf=@a.txt\noldf=@b.txt\noutf=@b.txt\npref=apnd\n",
       {clash("b.txt", "Old", "b.txt", 1)}},
      {"newf= of step 2 is the listing file", Files + "/job\nnewf=@out.lst\noldf=@a.txt\n",
       {clash("out.lst", "New", "out.lst", 2)}, "ERROR: Multi-batch error. One or more job steps flushed.", "Job#1"},
      {"missing new file: the name keeps its case", Files + "newf=/no/such/File.txt\n",
       {flush("Invalid New File Name \"/no/such/File.txt\"", 1), aborted}},
      {"output file that cannot be opened: the name keeps its case",
       "newf=@a.txt\noldf=@b.txt\noutf=/no/such/Dir/Out.LST\n",
       {flush("Invalid OutF= file name \"/no/such/Dir/Out.LST\"", 1), "!*** Job#0      Ended  Time = <time>"}},
      {"outf= in step 2 is an invalid keyword",
       Files + "/job\nnewf=@a.txt\noldf=@a.txt\noutf=x.lst\n/job\nnewf=@a.txt\noldf=@a.txt\n",
       {flush("Invalid Keyword \"x.lst\"", 2), "*** Job#3  Started Time=<time>"},
       "ERROR: Multi-batch error. One or more job steps flushed.", ""},
      {"step 1 without outf=", "newf=@a.txt\noldf=@b.txt\n",
       {missing + "\" OutF= \" missing. Job#1 execution aborted"}},
      // Decoding goes on after a flushed step once a step has run.
      {"step 2 without files, then without the old file", Files + "/job\nltyp=long\n/job\nnewf=@a.txt\n",
       {missing + "\"NewF=, OldF=\" missing. Job#2 execution aborted",
        missing + "\" OldF=\" missing. Job#2 execution aborted"}, Flushed, missing + "\"NewF=, OldF=\" missing."},
      {"step 2 without the old file, then without files", Files + "/job\nnewf=@a.txt\n/job\nltyp=long\n",
       {missing + "\" OldF=\" missing. Job#2 execution aborted", "!*** Job#2  Started Time=<time>"}, Flushed, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TBatchFixture fx;
    fx.Run(c.Ini);
    for (const auto& line : c.Log)
      if (line[0] == '!') EXPECT_FALSE(fx.LogHas(line.substr(1))) << line;
      else EXPECT_TRUE(fx.LogHas(line)) << line;
    EXPECT_EQ(fx.Result.FinalStatus, c.Final + CheckLog);
    EXPECT_TRUE(fx.LogHas(c.Final));
    EXPECT_EQ(fx.Result.ExitStatus, 2);
    EXPECT_EQ(FileExists(fx.P("out.lst")), c.Listing.has_value());
    EXPECT_EQ(ReadBytes(fx.P("b.txt")), "alpha\ngamma\n") << "an input is never written";
    EXPECT_TRUE(!c.Listing || fx.Listing().find(*c.Listing) != std::string::npos) << c.Listing.value_or("");
  }
}

TEST(Batch, OptionsOfGoodBatches) {
  const std::string differ = "INFORM: The processed files have differences.  Exit Batch.";
  const std::string multi = "INFORM: Multi-part compare was successful.  Exit Batch.";
  struct Case {
    const char* Name;
    std::string Ini, Final;
    int Shown; ///< how often the batch window was shown
    /// Texts the listing holds in this order, and lines the log holds; "!x": x is nowhere in it.
    std::vector<std::string> Listing, Log;
    bool NoWait = false;
  } cases[] = {
      {"an option of step 1 holds in step 2", Files + "pref=icas\n/job\nnewf=@a.txt\noldf=@a.txt\n", multi, 2,
       {"Job#2 Batch OutPut", "OPTIONS = Icas"}, {" "}},
      {"clnc in both steps", Files + "pref=clnc\n/job\nnewf=@a.txt\noldf=@b.txt\n", multi, 2,
       {"Batch Compare Results - Clnc Preference New File Output Section",
        "Batch Clnc Preference Compare Totals And Statistics Section", "!Batch OutPut"}, {}},
      {"nslg: the short title, no statistics in the log", Files + "pref=nslg\n", differ, 1,
       {"\r\nQuorlin V5.7b - \r\n", "OPTIONS = Nbts "},
       {"!Batch Compare Totals And Statistics Section", "!Number Of Line Matches"}},
      {"nosw", Files + "pref=nosw\n", differ, 0, {}, {}, true},
      {"nowt", Files + "pref=nowt\n", differ, 1, {}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TBatchFixture fx;
    fx.Run(c.Ini);
    EXPECT_EQ(fx.Result.FinalStatus, c.Final);
    EXPECT_EQ(fx.Result.ExitStatus, 1); // step 1 differs
    EXPECT_EQ(fx.Window.Shown, c.Shown);
    EXPECT_EQ(fx.Result.NoWait, c.NoWait);
    const std::string listing = fx.Listing(), log = JoinLines(fx.Log());
    size_t at = 0;
    for (const auto& text : c.Listing)
      if (text[0] == '!') EXPECT_EQ(listing.find(text.substr(1)), std::string::npos) << text;
      else EXPECT_NE(at = listing.find(text, at), std::string::npos) << text;
    for (const auto& text : c.Log)
      if (text[0] == '!') EXPECT_EQ(log.find(text.substr(1)), std::string::npos) << text;
      else EXPECT_TRUE(fx.LogHas(text)) << text;
  }
}

TEST(Batch, FifthDplnAndDpsWithoutString) {
  TBatchFixture fx;
  fx.Run(Files + "dpop=dpln word1\ndpop=dpln word2\ndpop=dpln word3\ndpop=dpln word4\ndpop=dpln word5\n");
  EXPECT_EQ(fx.Result.ExitStatus, 1);
  EXPECT_EQ(fx.App.Controls.DpEdDpDln[3], "word4");
  fx.Run(Files + "dpop=dps1\n");
  EXPECT_EQ(fx.Result.FinalStatus, "ERROR: Exception failure during Batch parm processing.   Program "
                                   "Terminated.  Check Quorln32.log. Exit Batch.");
  EXPECT_EQ(fx.Result.ExitStatus, 2);
}

TEST(Batch, BadIniFiles) {
  // Random bytes as ini text: the fuzz target batch_ini.
  std::string longIni;
  for (int i = 0; i < 99990; ++i) longIni += "// comment line " + std::to_string(i) + "\n";
  const std::string noOpen = "ERROR: Failed to open Batch Ini File.   Program Terminated.";
  struct Case {
    const char* Name;
    std::string Ini; ///< the ini text, or with Path the name of the ini file
    bool Path;
    int Exit;
    std::string LogLine; ///< a line the log must hold
  } cases[] = {
      {"missing ini file", "@nothere.ini", true, 2, noOpen},
      {"the ini names a directory", "@", true, 2, ""},
      {"empty", "", false, 2, "ERROR: Batch Ini File holds no job step."},
      {"100,000 lines", longIni + Files, false, 1, ""},
      {"a statement of 10,000 characters", "pref=" + std::string(10000, 'x') + "\n" + Files, false, 2,
       "*** Job#1 execution aborted due to option error"},
      {"a file name with blanks and quotes", "newf=@my \"odd\" file.txt\noldf=@a.txt\noutf=@out.lst\n", false, 0, ""},
  };
  for (const auto& c : cases) {
    TBatchFixture fx;
    fx.Dir.Write("my \"odd\" file.txt", "alpha\nbeta\n");
    c.Path ? fx.RunFile(fx.P(c.Ini.substr(1))) : fx.Run(c.Ini);
    EXPECT_EQ(fx.Result.ExitStatus, c.Exit) << c.Name;
    EXPECT_FALSE(fx.Log().empty()) << c.Name;
    EXPECT_TRUE(c.LogLine.empty() || fx.LogHas(c.LogLine)) << c.Name;
  }
  TBatchFixture fx;
  fx.RunFile(fx.P("nothere.ini"));
  EXPECT_EQ(fx.Result.FinalStatus, noOpen + CheckLog);
}

TEST(Batch, AppendAndNewLogAcrossBatches) {
  TBatchFixture fx;
  fx.Run(Files);
  fx.Run(Files + "pref=apnd\n");
  std::string listing = fx.Listing();
  size_t listings = 0;
  for (size_t p = 0; (p = listing.find("Batch OutPut", p)) != std::string::npos; ++p) ++listings;
  EXPECT_EQ(listings, 2u);
  const auto logBanners = [&] { return std::ranges::count(fx.Log(), std::string(73, '*')); };
  EXPECT_EQ(logBanners(), 2) << "the log is appended to";
  fx.Run(Files + "pref=nwlg\n");
  EXPECT_EQ(logBanners(), 1) << "nwlg starts the log anew";
}

TEST(Batch, ListingWriteFailureEndsTheBatch) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP();
  TBatchFixture fx;
  fx.Dir.Write("big.txt", NumberedLines(40000));
  fx.Run("newf=@big.txt\noldf=@b.txt\noutf=/dev/full\nltyp=long\n/job\n" + Files);
  EXPECT_EQ(fx.Result.ExitStatus, 2);
  EXPECT_EQ(fx.Result.FinalStatus,
            "ERROR: Failed writing the OutF= listing file.   Program Terminated.  Check Quorln32.log. Exit Batch.");
  EXPECT_TRUE(std::ranges::any_of(fx.Log(), [](const std::string& l) {
    return l.starts_with("ERROR: Writing the listing file \"/dev/full\" failed");
  }));
  EXPECT_FALSE(fx.LogHas("*** Job#2  Started Time=<time>"));
}

TEST(Batch, PeekLog) {
  TBatchFixture fx;
  EXPECT_EQ(PeekLogLines(fx.P(BatchLogName)), std::vector<std::string>{"No data to be shown."});
  fx.Run(Files);
  EXPECT_EQ(PeekLogLines(fx.P(BatchLogName)).front(), std::string(73, '*'));
}

} // namespace
} // namespace quorlin::test
