// The compare flow around the files: the names checked at Start, their
// histories, the File Select tab and dropped files, and which viewer a run
// opens.
#include "TestSupport.h"
#include "app/FileHistory.h"
#include "app/FileSelect.h"
#include "platform/AppDir.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

/// A directory with the files a.txt, b.txt, c.txt and A.txt and the folder sub.
struct TNames : TTempDir {
  const std::string A = Write("a.txt", "x\n"), B = Write("b.txt", "y\n"), C = Write("c.txt", "z\n"),
                    UpperA = Write("A.txt", "x\n"), Blank = Write(" blank.txt ", "x\n");
  TNames() { std::filesystem::create_directory(PathOf("sub")); }
};

TEST(StartFlow, FileNameCheck) {
  TNames dir;
  const std::string &a = dir.UpperA, &b = dir.B;
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
      {"a name with blanks at its ends that exists is kept", dir.Blank, b, TNameField::None, ""},
  };
  for (const auto& c : cases) {
    TOptionControls controls;
    controls.MnCbNewFileNm = c.New;
    controls.MnCbOldFileNm = c.Old;
    TStartCheck check = CheckStartNames(controls);
    EXPECT_EQ(check.Focus, c.Focus) << c.Name;
    EXPECT_EQ(check.Message, c.Focus == TNameField::None ? "" : "\" " + c.Quoted + invalid) << c.Name;
    EXPECT_EQ(controls.MnCbNewFileNm, FileExists(c.New) ? c.New : TrimBlanks(c.New)) << c.Name;
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

TEST(FileHistory, AddToHistory) {
  TNames dir;
  auto paths = [&](std::vector<std::string> names) {
    for (std::string& name : names)
      if (!name.empty()) name = dir.PathOf(name);
    return names;
  };
  struct Case {
    const char* Name;
    std::vector<std::string> Items;
    std::string Add;
    std::vector<std::string> Expected;
    std::string Text; ///< the combo text afterwards; "" stands for unchanged
  } cases[] = {
      {"already first", {"a.txt", "b.txt"}, "a.txt", {"a.txt", "b.txt"}, ""},
      {"further down moves up", {"a.txt", "b.txt", "c.txt"}, "c.txt", {"c.txt", "a.txt", "b.txt"}, "c.txt"},
      {"new name goes first", {"a.txt"}, "b.txt", {"b.txt", "a.txt"}, "b.txt"},
      {"empty history", {}, "a.txt", {"a.txt"}, "a.txt"},
      {"missing file", {"a.txt"}, "none.txt", {"a.txt"}, ""},
      {"directory", {"a.txt"}, "sub", {"a.txt"}, ""},
      {"empty name", {"a.txt"}, "", {"a.txt"}, ""},
      {"case differs", {"a.txt"}, "A.txt", {"A.txt", "a.txt"}, "A.txt"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> items = paths(c.Items);
    std::string text = "typed";
    AddToHistory(items, text, c.Add.empty() ? "" : dir.PathOf(c.Add));
    EXPECT_EQ(items, paths(c.Expected)) << c.Name;
    EXPECT_EQ(text, c.Text.empty() ? "typed" : dir.PathOf(c.Text)) << c.Name;
  }
}

TEST(FileHistory, ReturnQuestion) {
  const std::string tail = " the same as upon entry.  Exit anyway?";
  struct Case {
    const char *New, *Old; ///< the names now; on entry they were "n" and "o"
    std::string Expected;
  } cases[] = {
      {"n", "o", "The New and Old File Input File Names - \"n\" and \"o\" remain" + tail},
      {"n", "p", "The New File Input File Name - \"n\" remains" + tail},
      {"m", "o", "The Old File Input File Name - \"o\" remains" + tail},
      {"m", "p", ""},
      {"N", "O", ""}, // a change of case is a change
  };
  for (const Case& c : cases) EXPECT_EQ(ReturnQuestion(c.New, c.Old, "n", "o"), c.Expected) << c.New << c.Old;
}

TEST(FileHistory, DropFiles) {
  const int oldTop = 120;
  struct Case {
    const char* Name;
    std::vector<std::string> Files;
    int DropY;
    std::optional<std::string> New, Old;
  } cases[] = {
      {"one above the Old combo", {"/D/One.TXT"}, 119, "/D/One.TXT", std::nullopt},
      {"one on the Old combo's top edge", {"/D/One.TXT"}, 120, std::nullopt, "/D/One.TXT"},
      {"two", {"/d/a", "/d/b"}, 300, "/d/a", "/d/b"},
      {"three: the third is ignored", {"/d/a", "/d/b", "/d/c"}, 0, "/d/a", "/d/b"},
      {"none", {}, 0, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    TDropTarget target = DropFiles(c.Files, c.DropY, oldTop);
    EXPECT_EQ(target.NewName, c.New) << c.Name;
    EXPECT_EQ(target.OldName, c.Old) << c.Name;
  }
}

TEST(FileSelect, EnteringTheTab) {
  TNames dir;
  const std::string &a = dir.A, &b = dir.B;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path);
  struct Case {
    const char* Name;
    std::string New, Old;
    std::string PointAt, NewAfter;
  } cases[] = {
      {"both there: the New file", a, b, a, a},
      {"a relative name is made absolute", "a.txt", b, a, a},
      {"only the Old file is there", dir.PathOf("gone.txt"), "b.txt", b, dir.PathOf("gone.txt")},
      {"neither: the program's folder", "", "nowhere", "", ""},
  };
  for (const Case& c : cases) {
    TOptionControls controls;
    controls.MnCbNewFileNm = c.New;
    controls.MnCbOldFileNm = c.Old;
    controls.FsTcNewFileNm = b; // the tab's last text goes into its history on the way
    const TFileSelectEntry entry = EnterFileSelect(controls);
    EXPECT_EQ(entry.PointAt, c.PointAt) << c.Name;
    EXPECT_EQ(controls.MnCbNewFileNm, c.NewAfter) << c.Name;
    EXPECT_EQ(entry.NewOnEntry, controls.MnCbNewFileNm) << c.Name;
    EXPECT_EQ(controls.FsTcNewFileNm, controls.MnCbNewFileNm) << c.Name;
    EXPECT_EQ(controls.FsTcNewFileNmItems, c.PointAt == a ? std::vector<std::string>{b} : std::vector<std::string>{})
        << c.Name;
  }
  std::filesystem::current_path(before);
}

TEST(FileSelect, NamesReachBothCombos) {
  TNames dir;
  const std::string &a = dir.A, &b = dir.B, &c = dir.C;
  TOptionControls controls;
  controls.MnCbNewFileNm = a;
  controls.FsTcNewFileNm = b;
  UseSelectedName(NewSide(controls), c);
  EXPECT_EQ(controls.MnCbNewFileNmItems, std::vector<std::string>{a});
  EXPECT_EQ(controls.FsTcNewFileNmItems, std::vector<std::string>{b});
  EXPECT_EQ(controls.MnCbNewFileNm, c);
  EXPECT_EQ(controls.FsTcNewFileNm, c);

  DropSelectedName(OldSide(controls), b);
  EXPECT_EQ(controls.FsTcOldFileNmItems, std::vector<std::string>{b}) << "the dropped name enters the tab's history";
  EXPECT_EQ(controls.MnCbOldFileNm, b);

  EXPECT_FALSE(TabNameChanged(NewSide(controls), dir.PathOf("gone.txt")));
  EXPECT_EQ(controls.MnCbNewFileNm, c);
  EXPECT_TRUE(TabNameChanged(NewSide(controls), a));
  EXPECT_EQ(controls.MnCbNewFileNm, a);
  EXPECT_EQ(controls.MnCbNewFileNmItems, (std::vector<std::string>{c, a}));
  EXPECT_EQ(controls.FsTcNewFileNmItems, (std::vector<std::string>{a, b}));
}

} // namespace
} // namespace quorlin::test
