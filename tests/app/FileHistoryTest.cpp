#include "app/FileHistory.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(FileHistory, AddToHistory) {
  test::TTempDir dir;
  for (const char* name : {"a.txt", "b.txt", "c.txt", "A.txt"}) dir.Write(name, "x\n");
  std::filesystem::create_directory(dir.PathOf("sub"));
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
    const char* Name;
    const char *New, *Old, *NewOnEntry, *OldOnEntry;
    std::string Expected;
  } cases[] = {
      {"both unchanged", "/d/n.txt", "/d/o.txt", "/d/n.txt", "/d/o.txt",
       "The New and Old File Input File Names - \"/d/n.txt\" and \"/d/o.txt\" remain" + tail},
      {"New unchanged", "/d/n.txt", "/d/p.txt", "/d/n.txt", "/d/o.txt",
       "The New File Input File Name - \"/d/n.txt\" remains" + tail},
      {"Old unchanged", "/d/m.txt", "/d/o.txt", "/d/n.txt", "/d/o.txt",
       "The Old File Input File Name - \"/d/o.txt\" remains" + tail},
      {"both changed", "/d/m.txt", "/d/p.txt", "/d/n.txt", "/d/o.txt", ""},
      {"a change of case is a change", "/d/N.txt", "/d/O.txt", "/d/n.txt", "/d/o.txt", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReturnQuestion(c.New, c.Old, c.NewOnEntry, c.OldOnEntry), c.Expected) << c.Name;
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
      {"one below the Old combo", {"/D/One.TXT"}, 300, std::nullopt, "/D/One.TXT"},
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

} // namespace
} // namespace quorlin
