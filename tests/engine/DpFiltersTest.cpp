// Don't-process filters: the comment rules line by line, Dln conditions, and
// the filters inside whole runs (read-time rules, the counts of the listing;
// the matcher test carries a comment across a cut pass). The golden listings
// dcpp_*, dcob_*, dps_*, dln_*, dudc_* and dud2_* pin more lines of each rule.
#include "TestSupport.h"
#include "engine/DpFilters.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

/// A line entry over buf (the line and four bytes of padding).
TLineEntry Entry(std::string& buf, size_t length) {
  TLineEntry e;
  e.Text = buf.data();
  e.TextLen = static_cast<int16_t>(length);
  return e;
}

/// Runs the comment rule of ctl over consecutive lines of one file. For each
/// line it gives the class, a colon and the compare text (trailing blanks
/// dropped); the class is 'N' not processed, 'P' part DP, '-' neither.
std::vector<std::string> Filter(const TCompareCtl& ctl, const std::vector<std::string>& lines) {
  TCompareFile f;
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    std::string buf = line + "    ";
    TLineEntry e = Entry(buf, line.size());
    ApplyDpOption(ctl, f, e, e.TextLen);
    std::string text(e.Text, static_cast<size_t>(e.TextLen));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out.push_back((e.NotProcessed ? "N:" : e.PartDp ? "P:" : "-:") + text);
  }
  return out;
}

TCompareCtl Option(bool TCompareCtl::*flag) {
  TCompareCtl ctl;
  ctl.DpActive = true;
  ctl.*flag = true;
  return ctl;
}

struct TRuleCase {
  const char* Name;
  std::vector<std::string> Lines, Expected;
};

void RunCases(const TCompareCtl& ctl, const std::vector<TRuleCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Filter(ctl, c.Lines), c.Expected) << c.Name;
}

TEST(DpRules, CommentRulesLineByLine) {
  for (auto flag : {&TCompareCtl::DpDblk, &TCompareCtl::DpDsem, &TCompareCtl::DpDcpp,
                    &TCompareCtl::DpDhtm, &TCompareCtl::DpDudc})
    EXPECT_EQ(Filter(Option(flag), {" ", "     ", "x"}), (std::vector<std::string>{"N:", "N:", "-:x"})) << "blank";
  RunCases(Option(&TCompareCtl::DpDcpp), {
    {"comment line", {"    // whole comment"}, {"N:"}},
    {"// inside a string", {"printf(\"http://x\"); // call"}, {"P:printf(\"http://x\");"}},
    {"/* inside a string", {"s = \"/* not a comment */\";"}, {"-:s = \"/* not a comment */\";"}},
    {"inline block", {"a = 1; /* inline */ b = 2;"}, {"P:a = 1;              b = 2;"}},
    {"block over lines", {"/* start of block", "   inside: see http://example.com", " \"odd quote", "end */ int y;",
     "int z;"}, {"N:", "N:", "N:", "P:       int y;", "-:int z;"}},
    {"code then a block opening", {"f(); /* opens", "closes */"}, {"P:f();", "N:"}},
    {"character literal holding a double quote", {"c = '\"'; // quote"}, {"P:c = '\"';"}},
    {"JavaScript string in apostrophes", {"x = 'a \"b'; // c"}, {"P:x = 'a \"b';"}},
    {"escaped quote in a string", {"x = \"a\\\"b // c\"; y = 2;"}, {"-:x = \"a\\\"b // c\"; y = 2;"}},
    {"string continued on the next line", {"s = \"open \\", "still // in string\"; z = 1; // real"},
     {"-:s = \"open \\", "P:still // in string\"; z = 1;"}},
  });
  RunCases(Option(&TCompareCtl::DpDdlc), {
    {"brace comment after code", {"x := 1; { comment }"}, {"P:x := 1;"}},
    {"compiler directive", {"{$IFDEF DEBUG}"}, {"-:{$IFDEF DEBUG}"}},
    {"paren-star block over lines", {"(* block", "   inside", "*) y := 2;"}, {"N:", "N:", "P:   y := 2;"}},
    {"(* inside a string", {"s := '(* not a comment *)';"}, {"-:s := '(* not a comment *)';"}},
    {"apostrophe inside a comment", {"{ don't panic }", "z := 3;"}, {"N:", "-:z := 3;"}},
    {"brace inside a string", {"writeln('a { b'); { real }"}, {"P:writeln('a { b');"}},
    {"brace comment over lines", {"{ multi", "line }", "z := 3;"}, {"N:", "N:", "-:z := 3;"}},
  });
  RunCases(Option(&TCompareCtl::DpDdl2), {
    {"line comment", {"x := 1; // note"}, {"P:x := 1;"}},
    {"directive ends the scan", {"{$R *.res} // keep"}, {"-:{$R *.res} // keep"}},
    {"// inside a string", {"s := 'a // b';"}, {"-:s := 'a // b';"}},
    {"brace comment before code", {"{ c } y := 1;"}, {"P:      y := 1;"}},
  });
  RunCases(Option(&TCompareCtl::DpDvbc), {
    {"apostrophe comment", {"x = 1 ' comment"}, {"P:x = 1"}},
    {"comment line", {"' whole"}, {"N:"}},
    {"apostrophe inside a string", {"MsgBox \"Don't\" ' real"}, {"P:MsgBox \"Don't\""}},
    {"Rem statement", {"  Rem a remark"}, {"N:"}},
    {"Rem after a colon", {"x = 1: Rem note"}, {"P:x = 1"}},
    {"a word that begins with Rem", {"Remark = 5"}, {"-:Remark = 5"}},
    {"backslash", {"y = a \\ b"}, {"P:y = a"}},
  });
  RunCases(Option(&TCompareCtl::DpDhtm), {
    {"comment after markup", {"<p>text</p> <!-- note -->"}, {"P:<p>text</p>"}},
    {"comment line", {"<!-- whole -->"}, {"N:"}},
    {"comment over lines", {"<!-- start", "middle", "end --> <b>x</b>"}, {"N:", "N:", "P:        <b>x</b>"}},
    {"opener and closer share dashes", {"<!--> x", "k", "<!---> y"}, {"P:      x", "-:k", "P:       y"}},
  });
  RunCases(Option(&TCompareCtl::DpDsem), {
    {"ini comment", {"; comment"}, {"N:"}},
    {"indented", {"   ; indented"}, {"N:"}},
    {"semicolon after text", {"key=value ; note"}, {"-:key=value ; note"}},
  });
  RunCases(Option(&TCompareCtl::DpDrem), {
    {"rem line", {"rem note"}, {"N:"}},
    {"indented rem", {"   rem note"}, {"N:"}},
    {"@rem", {"@rem note"}, {"N:"}},
    {"rem needs one more character", {"rem"}, {"-:rem"}},
    {"upper case REM is code", {"REM upper"}, {"-:REM upper"}},
    {"rem after a command", {"echo rem"}, {"-:echo rem"}},
  });
  TCompareCtl udc = Option(&TCompareCtl::DpDudc);
  udc.UdcText = "#";
  udc.UdcNo = true;
  RunCases(udc, {{"after code with No", {"x = 1 # note"}, {"-:x = 1"}}});
  udc.UdcNo = false;
  udc.UdcText = "rem";
  RunCases(udc, {{"compared in lower case", {"x REM y"}, {"P:x"}}});
  udc.UdcText = "";
  RunCases(udc, {{"an empty string takes nothing out", {"x # y"}, {"-:x # y"}}});

  TCompareCtl ud2 = Option(&TCompareCtl::DpDud2);
  ud2.Udc2Text = "#";
  ud2.Udc3Text = "&&";
  RunCases(ud2, {{"line start string after code", {"x # c"}, {"-:x"}}});
}

TEST(DlnConditions, Parsing) {
  struct Case {
    const char* Name;
    std::string Text;
    bool Accepted;
    std::vector<std::tuple<std::string, int, int>> Alternatives;
  } cases[] = {
      {"single word", "abc", true, {{"abc", 1, 0}}},
      {"word and range", "abc 1:5", true, {{"abc", 1, 5}}},
      {"two alternatives, one quoted", "abc  1:5   \"bcd e\"   20:eol", true, {{"abc", 1, 5}, {"bcd e", 20, 0}}},
      {"odd token count ignores the last", "abc 1:5 xyz", true, {{"abc", 1, 5}}},
      {"range without colon stops parsing", "abc 15 def 1:5", false, {}},
      {"first column 0", "abc 0:5", false, {}},
      {"last before first", "abc 9:5", false, {}},
      {"last not a number", "abc 1:x", false, {}},
      {"nothing after the colon", "abc 1:", false, {}},
      {"bad pair skipped, good one kept", "abc 0:5 def 2:EOL", true, {{"def", 2, 0}}},
      {"empty string", "\"\" 1:eol", false, {}},
      {"empty text", "", false, {}},
  };
  for (const auto& c : cases) {
    std::vector<DlnCondition> conditions;
    EXPECT_EQ(ParseDlnSpec(c.Text, conditions), c.Accepted) << c.Name;
    std::vector<std::tuple<std::string, int, int>> got;
    for (const auto& cond : conditions)
      for (const auto& alt : cond) got.emplace_back(alt.Text, alt.First, alt.Last);
    EXPECT_EQ(got, c.Alternatives) << c.Name;
    EXPECT_LE(conditions.size(), 1u) << c.Name;
  }
}

TEST(DlnConditions, MatchingWithinColumnLimits) {
  std::vector<DlnCondition> conditions;
  ASSERT_TRUE(ParseDlnSpec("abc 1:5", conditions));
  ASSERT_TRUE(ParseDlnSpec("zz 10:eol", conditions));
  const std::tuple<std::string, bool, bool> cases[] = { // line, Icas, taken out
      {"abc at column 1", false, true}, {"....abc starts in column 5", false, true},
      {".....abc starts in column 6", false, false}, {"ABC upper case", false, false},
      {"ABC upper case", true, true}, {"zz before column 10", false, false},
      {"123456789zz", false, true}, {"ab", false, false},
  };
  for (auto [line, icas, taken] : cases) {
    std::string buf = line + "    ";
    TLineEntry e = Entry(buf, line.size());
    ApplyDln(conditions, e, icas);
    EXPECT_EQ(e.NotProcessed, taken) << line << icas;
    EXPECT_EQ(buf.substr(0, line.size()), line) << "the text is left unchanged";
  }
}

// --- Filters inside whole runs ---------------------------------------------

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
    const TCompareCtl& k = fx.Ctl();
    EXPECT_EQ((std::vector<int>{k.MatchCount, k.NewNotProcCount, k.OldNotProcCount, k.NewPartDpCount}),
              (std::vector<int>{2, 1, 1, dp == DpDcpp})) << type << dln;
    EXPECT_EQ(fx.App.StatusText, MsgEquivFiltered) << type << dln;
  }
}

TEST(DpRun, CobolCommentsAreTakenOutAtReadTime) {
  // A '*' in column 7 makes a comment line. The identity check of a pass sees
  // the pairs of lines as read, comment lines included.
  struct Case {
    const char* Name;
    std::string New, Old, Dln, NewNp, OldNp; ///< Np: NotProcessed of each line
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
  auto notProcessed = [](const std::vector<TLineCopy>& lines) { // 'N' or '.' a line
    std::string out;
    for (const TLineCopy& l : lines) out += l.NotProcessed ? 'N' : '.';
    return out;
  };
  for (const auto& c : cases) {
    TRunFixture fx;
    fx.App.Controls.DpRadioGroup1 = DpDcob;
    fx.App.Controls.DpCkDpDln[0] = !c.Dln.empty();
    fx.App.Controls.DpEdDpDln[0] = c.Dln;
    fx.Run(c.New, c.Old);
    ASSERT_EQ(fx.Recorder.Passes.size(), 1u) << c.Name;
    EXPECT_EQ(notProcessed(fx.Recorder.Passes[0].New), c.NewNp) << c.Name;
    EXPECT_EQ(notProcessed(fx.Recorder.Passes[0].Old), c.OldNp) << c.Name;
    EXPECT_EQ(fx.Ctl().FilesDiffer, c.Differ) << c.Name;
    EXPECT_EQ(fx.App.StatusText, c.Status) << c.Name;
  }
}

} // namespace
} // namespace quorlin::test
