#include "app/FileSelect.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(FileSelect, EnteringTheTab) {
  TTempDir dir;
  const std::string a = dir.Write("a.txt", "x\n"), b = dir.Write("b.txt", "y\n");
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
  TTempDir dir;
  const std::string a = dir.Write("a.txt", "x\n"), b = dir.Write("b.txt", "y\n"), c = dir.Write("c.txt", "z\n");
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
