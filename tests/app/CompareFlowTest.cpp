#include "TestSupport.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(StartFlow, FileNameCheck) {
  TTempDir dir;
  const std::string a = dir.Write("A.txt", "x\n"), b = dir.Write("b.txt", "y\n");
  const std::string invalid = " \" is an invalid input file name. Reenter or us the \"Browse Button\" for assistance.";
  struct Case {
    const char* Name;
    std::string New, Old;
    TNameField Focus;
    std::string Quoted; ///< the name the message quotes
  } cases[] = {
      {"both exist, blanks trimmed, case kept", "  " + a + " ", b + "  ", TNameField::None, ""},
      {"missing New", dir.PathOf("none.txt"), b, TNameField::New, dir.PathOf("none.txt")},
      {"empty New", "   ", b, TNameField::New, ""},
      {"missing Old", a, dir.PathOf("gone"), TNameField::Old, dir.PathOf("gone")},
      {"a directory is no input file", a, dir.Path.string(), TNameField::Old, dir.Path.string()},
      {"long name cut to 80", std::string(100, 'q'), b, TNameField::New, std::string(80, 'q')},
  };
  for (const auto& c : cases) {
    TOptionControls controls;
    controls.MnCbNewFileNm = c.New;
    controls.MnCbOldFileNm = c.Old;
    TStartCheck check = CheckStartNames(controls);
    EXPECT_EQ(check.Focus, c.Focus) << c.Name;
    EXPECT_EQ(check.Message, c.Focus == TNameField::None ? "" : "\" " + c.Quoted + invalid) << c.Name;
    EXPECT_EQ(controls.MnCbNewFileNm, TrimBlanks(c.New)) << c.Name;
  }
}

TEST(StartFlow, ViewerChoiceAndViewLatestResults) {
  TRunFixture fx;
  bool disable = true;
  EXPECT_EQ(ViewLatestResultsCheck(fx.App, disable), MsgNoResultsYet);
  EXPECT_FALSE(disable) << "before any run the button stays enabled";

  fx.SetFiles("a\nb\n", "a\nc\n");
  fx.Check(TagSbsl);
  RunCompare(fx.App);
  EXPECT_TRUE(DualViewerResult(fx.App));
  EXPECT_TRUE(ViewerOpensAfterRun(fx.App, false));
  EXPECT_FALSE(ViewerOpensAfterRun(fx.App, true)) << "view results only on demand";
  EXPECT_EQ(ViewLatestResultsCheck(fx.App, disable), "");
  fx.Check(TagSbsl, false);
  fx.Check(TagClnc);
  EXPECT_EQ(ViewLatestResultsCheck(fx.App, disable), "") << "Clnc still gives two panels";
  fx.Check(TagClnc, false);
  EXPECT_EQ(ViewLatestResultsCheck(fx.App, disable), MsgPrefsChanged);
  EXPECT_TRUE(disable);

  fx.App.Controls.PrEdNewLmt = "0:5";
  fx.Check(TagPcmp);
  RunCompare(fx.App);
  EXPECT_FALSE(DualViewerResult(fx.App));
  EXPECT_FALSE(ViewerOpensAfterRun(fx.App, false)) << "rejected part-compare ranges";
}

} // namespace
} // namespace quorlin::test
