// The compare of two folders: the statuses of tree shapes, the same results
// on one and on two worker threads, Halt between pairs, listings of the
// pairs that differ, and outputs refused inside the folders.
#include "TestSupport.h"
#include "app/FolderCompare.h"
#include "app/JsonReport.h"
#include "platform/Text.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin::test {
namespace {

using namespace std::string_literals;

/// A file of a tree: its path and bytes. A path ending in '/' is an empty
/// folder; bytes "->TARGET" make a symbolic link, "|" a FIFO.
using TFiles = std::vector<std::pair<std::string, std::string>>;

void MakeTree(const std::filesystem::path& root, const TFiles& files) {
  std::filesystem::create_directories(root);
  for (const auto& [path, bytes] : files) {
    const std::filesystem::path p = root / path;
    std::filesystem::create_directories(path.back() == '/' ? p : p.parent_path());
    if (path.back() == '/') continue;
    if (bytes.rfind("->", 0) == 0)
      std::filesystem::create_symlink(bytes.substr(2), p);
    else if (bytes == "|")
      ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
    else
      std::ofstream(p, std::ios::binary) << bytes;
  }
}

/// Two trees in a temporary folder, compared with the options of app.
struct TFolderFixture : TAppFixture {
  TFolderOptions Options;
  TFolderFixture(const TFiles& newFiles, const TFiles& oldFiles) {
    Options.NewRoot = Dir.PathOf("new");
    Options.OldRoot = Dir.PathOf("old");
    MakeTree(Options.NewRoot, newFiles);
    MakeTree(Options.OldRoot, oldFiles);
  }
  TFolderResult Run(int threads) {
    Options.Threads = threads;
    App.UserStop = false;
    return CompareFolders(App, Options);
  }
};

/// "status path" of every pair, with the counts of a line compare.
std::vector<std::string> Statuses(const TFolderResult& result) {
  std::vector<std::string> lines;
  for (const TFolderPair& pair : result.Pairs) {
    std::string line = std::string(PairStatusName(pair.Status)) + " " + pair.Path;
    if (pair.Ctl) line += Printf(" +%d -%d", pair.Ctl->InsertCount, pair.Ctl->DeleteCount);
    lines.push_back(line);
  }
  return lines;
}

TEST(FolderCompare, TreeShapes) {
  const std::string textAfterProbe = std::string(9000, 'x') + '\0' + "\n";
  struct Case {
    const char* Name;
    TFiles New, Old;
    std::vector<std::string> Expected;
    int Exit;
    std::string Note = {}; ///< a text that one note holds; empty: no notes
    std::vector<std::string> Include = {}, Exclude = {};
    int Pref = -1;         ///< a preference checked for the line compares
  } cases[] = {
      {"added, removed, changed, identical",
       {{"a.txt", "x\n"}, {"b.txt", "1\n2\n"}, {"n.txt", "n\n"}, {"sub/c.txt", "c\n"}},
       {{"a.txt", "x\n"}, {"b.txt", "1\n3\n"}, {"o.txt", "o\n"}, {"sub/c.txt", "c\n"}},
       {"identical a.txt", "differs b.txt +1 -1", "only in NEW n.txt", "only in OLD o.txt", "identical sub/c.txt"},
       1},
      {"other bytes that compare as equivalent: CR LF, trailing blank",
       {{"crlf.txt", "a\r\nb\r\n"}, {"blank.txt", "a \n"}},
       {{"crlf.txt", "a\nb\n"}, {"blank.txt", "a\n"}},
       {"equivalent blank.txt +0 -0", "equivalent crlf.txt +0 -0"},
       0},
      {"equivalent under Icas", {{"a.txt", "Hello\n"}}, {{"a.txt", "hello\n"}}, {"equivalent a.txt +0 -0"}, 0, "",
       {}, {}, TagIcas},
      {"binary by a NUL in the first 8 KiB only",
       {{"diff.bin", "a\0b"s}, {"same.bin", "\0\0"s}, {"late.txt", textAfterProbe + "new\n"}},
       {{"diff.bin", "a\0c"s}, {"same.bin", "\0\0"s}, {"late.txt", textAfterProbe}},
       {"binary differs diff.bin", "differs late.txt +1 -0", "binary identical same.bin"},
       1},
      {"unreadable: a link that leads nowhere in both trees",
       {{"gone", "->nowhere"}, {"ok.txt", "x\n"}},
       {{"gone", "->nowhere"}, {"ok.txt", "x\n"}},
       {"error gone", "identical ok.txt"},
       2},
      {"empty folders and empty files", {{"empty/", ""}, {"zero", ""}}, {{"zero", ""}, {"other/", ""}},
       {"identical zero"}, 0},
      {"a link loop is not followed",
       {{"sub/up", "->.."}, {"sub/f", "x\n"}},
       {{"sub/f", "x\n"}},
       {"identical sub/f"},
       0,
       "sub/up (in NEW): a symbolic link to a folder, not followed"},
      {"a FIFO is not read", {{"pipe", "|"}}, {{"pipe", "|"}}, {}, 0, "pipe (in NEW and OLD): not a regular file"},
      {"names with blanks and letters beyond ASCII, in byte order",
       {{"with blank/\xc3\xbc \xc3\x9f.txt", "a\n"}, {"na\xc3\xafve.txt", "b\n"}, {"Z.txt", "z\n"}},
       {{"with blank/\xc3\xbc \xc3\x9f.txt", "a\n"}, {"na\xc3\xafve.txt", "c\n"}, {"Z.txt", "z\n"}},
       {"identical Z.txt", "differs na\xc3\xafve.txt +1 -1", "identical with blank/\xc3\xbc \xc3\x9f.txt"},
       1},
      {"include and exclude, on the path and on the name",
       {{"a.c", "1\n"}, {"a.h", "1\n"}, {"doc/x.c", "1\n"}, {"build/y.c", "1\n"}, {"src/build", "1\n"}},
       {{"a.c", "2\n"}, {"a.h", "2\n"}, {"doc/x.c", "1\n"}, {"build/y.c", "2\n"}},
       {"differs a.c +1 -1", "identical doc/x.c"},
       1,
       "",
       {"*.c"},
       {"build", "src/*"}},
      {"a file against a folder",
       {{"x", "file\n"}},
       {{"x/y", "f\n"}},
       {"only in NEW x", "only in OLD x/y"},
       1,
       "x: a file in NEW and a folder in OLD"},
  };
  for (const Case& c : cases) {
    TFolderFixture fx(c.New, c.Old);
    fx.Options.Include = c.Include;
    fx.Options.Exclude = c.Exclude;
    if (c.Pref >= 0) fx.Check(c.Pref);
    const TFolderResult one = fx.Run(1);
    EXPECT_EQ(Statuses(one), c.Expected) << c.Name;
    EXPECT_EQ(one.ExitStatus(), c.Exit) << c.Name;
    EXPECT_EQ(one.Notes.empty(), c.Note.empty()) << c.Name;
    if (!c.Note.empty() && !one.Notes.empty()) {
      EXPECT_NE(one.Notes[0].find(c.Note), std::string::npos) << c.Name;
    }
    const TFolderResult two = fx.Run(2);
    EXPECT_EQ(Statuses(two), Statuses(one)) << c.Name << ": two threads";
    EXPECT_EQ(JsonFolderResult(two), JsonFolderResult(one)) << c.Name << ": two threads";
  }
}

TEST(FolderCompare, ErrorsSayWhy) {
  // A text file of 2 GB (its first 8 KiB hold text) against an empty one.
  TFolderFixture fx({{"gone", "->nowhere"}, {"big", NumberedLines(1000)}}, {{"gone", "x"}, {"big", ""}});
  ::truncate((fx.Options.NewRoot + "/big").c_str(), MaxInputSize);
  const TFolderResult result = fx.Run(2);
  ASSERT_EQ(Statuses(result), (std::vector<std::string>{"error big", "error gone"}));
  EXPECT_NE(result.Pairs[0].Message.find("2 GB or larger"), std::string::npos) << result.Pairs[0].Message;
  EXPECT_NE(result.Pairs[1].Message.find(MsgInputIoError), std::string::npos) << result.Pairs[1].Message;
  EXPECT_NE(result.Pairs[1].Message.find("No such file"), std::string::npos) << result.Pairs[1].Message;
  EXPECT_EQ(fx.App.StatusText, "ERROR: 2 of 2 files could not be compared.");
}

TEST(FolderCompare, TotalsAndSummary) {
  TFolderFixture fx({{"a", "1\n2\n"}, {"b", "x\n"}, {"n", ""}}, {{"a", "1\n3\n4\n"}, {"b", "x\n"}});
  fx.Check(TagFmvl);
  const TFolderResult result = fx.Run(2);
  EXPECT_EQ(FolderTotalsLine(result.Totals()),
            "3 files: 1 identical, 1 differ, 1 only in NEW; lines 1 inserted, 2 deleted, 0 reformatted, 0 moved");
  const std::vector<std::string> summary = FolderSummary(result);
  EXPECT_TRUE(Contains(summary, "differs                  1         2         0         0  a")) << summary[4];
  EXPECT_TRUE(Contains(summary, "only in NEW                                               n"));
  EXPECT_EQ(summary.back(), "INFORM: The folders have differences (3 files).");
}

TEST(FolderCompare, HaltStopsBetweenPairs) {
  TFiles newFiles, oldFiles;
  // Pairs that each take the line compare a while, so that the first
  // progress text (after 100 ms) comes while they are compared.
  const std::string lines = NumberedLines(5000);
  for (int k = 0; k < 300; ++k) {
    const std::string name = Printf("f%04d", k);
    newFiles.push_back({name, lines + "new\n"});
    oldFiles.push_back({name, lines});
  }
  TFolderFixture fx(newFiles, oldFiles);
  fx.Ui.OnStatus = [&](std::string_view) { fx.App.UserStop = true; };
  const TFolderResult result = fx.Run(1);
  if (fx.Ui.Status.empty()) GTEST_SKIP() << "the compare ended before its first progress text";
  EXPECT_TRUE(result.Halted);
  EXPECT_EQ(result.Found, 300u);
  EXPECT_LT(result.Pairs.size(), 300u);
  for (size_t k = 0; k < result.Pairs.size(); ++k)
    EXPECT_EQ(Statuses(result)[k], Printf("differs f%04zu +1 -0", k)) << "the pairs done are the first ones";
  EXPECT_EQ(result.ExitStatus(), 2);
  EXPECT_EQ(fx.App.StatusText.rfind(MsgUserStop, 0), 0u) << fx.App.StatusText;
}

TEST(FolderCompare, ListingsOfPairsThatDiffer) {
  TFolderFixture fx({{"d/a.txt", "1\n2\n"}, {"same", "x\n"}, {"eq", "a \n"}}, {{"d/a.txt", "1\n3\n"}, {"same", "x\n"}, {"eq", "a\n"}});
  fx.Options.ListingDir = fx.Dir.PathOf("lst");
  fx.App.Controls.MnCbListType = "Long";
  fx.Run(2);
  const std::string listing = ReadBytes(fx.Dir.PathOf("lst/d/a.txt.lst"));
  EXPECT_NE(listing.find("I - 2"), std::string::npos) << listing;
  EXPECT_NE(listing.find("Out File = " + fx.Dir.PathOf("lst/d/a.txt.lst")), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(fx.Dir.PathOf("lst/same.lst")));
  EXPECT_FALSE(std::filesystem::exists(fx.Dir.PathOf("lst/eq.lst"))) << "an equivalent pair keeps no listing";
}

TEST(FolderCompare, OutputsInsideTheFoldersAreRefused) {
  TFolderFixture fx({{"a", "x"}}, {{"a", "x"}});
  const std::string n = fx.Options.NewRoot, o = fx.Options.OldRoot;
  std::filesystem::create_symlink(n, fx.Dir.PathOf("link"));
  struct Case {
    const char* Name;
    std::string Output;
    bool Refused;
  } cases[] = {
      {"a new file in NEW", n + "/summary.txt", true},
      {"an input of OLD", o + "/a", true},
      {"the OLD folder itself", o, true},
      {"a folder that holds both", fx.Dir.Path.string(), true},
      {"through a link to NEW", fx.Dir.PathOf("link/x/y.lst"), true},
      {"beside the folders", fx.Dir.PathOf("summary.txt"), false},
      {"a folder beside them named like one", n + "-listings", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OutputInFoldersMessage(c.Output, n, o).empty(), !c.Refused) << c.Name;
}

} // namespace
} // namespace quorlin::test
