#include "TestSupport.h"
#include "viewers/ChangedChars.h"
#include "viewers/Navigation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace quorlin::test {
namespace {

/// TMPDIR set to dir for the life of the object.
class TStoreDirectory {
public:
  explicit TStoreDirectory(const std::string& dir) {
    if (const char* old = std::getenv("TMPDIR")) Saved = old, HadOld = true;
    ::setenv("TMPDIR", dir.c_str(), 1);
  }
  ~TStoreDirectory() { HadOld ? ::setenv("TMPDIR", Saved.c_str(), 1) : ::unsetenv("TMPDIR"); }

private:
  std::string Saved;
  bool HadOld = false;
};

int OpenFiles() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator{}));
}

/// Everything a viewer shows or does with a listing, written out: every
/// row's display text, colour and changed characters under each panel
/// rule, Find of texts taken from the rows, and span navigation.
std::string Viewed(const TResultView& view, std::mt19937 rng) {
  std::string out;
  TRowMarks marks(view);
  for (TPanelRule rule : {TPanelRule::Single, TPanelRule::NewSide, TPanelRule::OldSide}) {
    const long count = static_cast<long>(PanelList(view, rule).size());
    for (long i = 0; i < count; ++i) {
      out += DisplayText(view, rule, i) + "|" + ColourName(LineColour(view, rule, i));
      for (const TCharRange& r : marks.DisplayMarks(rule, i)) out += " " + std::to_string(r.From) + "-" + std::to_string(r.To);
      out += "\n";
    }
  }
  TSinglePanelModel single(view);
  TTwoPanelModel dual(view, TTwoPanelModel::TLayout::SideBySide);
  const size_t rows = view.Panel1->size();
  for (int k = 0; k < 12 && rows > 0; ++k) {
    const std::string_view row = (*view.Panel1)[rng() % rows];
    const std::string needle(row.substr(row.size() / 3, 7));
    out += "find " + needle + ": " + single.Find(needle, k % 2 == 0) + std::to_string(single.Panel.Selection);
    out += " " + dual.Find(needle, k % 3 != 0) + std::to_string(dual.First.Selection) + "\n";
  }
  single.ToTop();
  for (int k = 0; k < 8; ++k) out += single.NextSpan() + std::to_string(single.Panel.Selection) + " ";
  for (int k = 0; k < 8; ++k) out += dual.NextSpan() + std::to_string(dual.First.Selection) + " ";
  for (int k = 0; k < 4; ++k) out += dual.PrevSpan() + std::to_string(dual.Second.Selection) + " ";
  return out;
}

TEST(StoredList, ViewersShowTheSameFromTheStoreAsFromMemory) {
  // Random pairs and options: the listing as the compare left it (small
  // lists stay in memory) and a copy held wholly in the text store.
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    TScript s = RandomScript(rng, 10 + static_cast<int>(seed * 37 % 300));
    TListingFixture fx;
    fx.SetFiles(JoinLines(s.New), JoinLines(s.Old));
    static const char* types[] = {"Long", "Chng", "Delta"};
    fx.App.Controls.MnCbListType = types[rng() % 3];
    fx.Check(TagSbsl, rng() % 2);
    fx.Check(TagClnc, rng() % 4 == 0);
    fx.Check(TagLorl, rng() % 2);
    fx.Check(TagIcas, rng() % 3 == 0);
    fx.Check(TagFmvl, rng() % 2);
    fx.RunInteractive();
    const TResultView memory = MakeResultView(fx.App);
    ASSERT_FALSE(fx.App.Panel1Lines.Stored());
    TStringList p1, p2;
    p1.KeepInStore();
    p2.KeepInStore();
    for (std::string_view l : fx.App.Panel1Lines) p1.push_back(l);
    for (std::string_view l : fx.App.Panel2Lines) p2.push_back(l);
    ASSERT_TRUE(p1.Stored());
    TResultView stored = memory;
    stored.Panel1 = &p1;
    stored.Panel2 = &p2;
    ASSERT_EQ(Viewed(stored, std::mt19937(seed)), Viewed(memory, std::mt19937(seed))) << "seed " << seed;
  }
}

TEST(StoredList, LargeListsKeepEveryTextAndLeaveNoFileBehind) {
  TTempDir dir;
  const int filesBefore = OpenFiles();
  for (bool fileDir : {true, false}) {
    // Without a usable directory the store holds the texts in memory.
    TStoreDirectory env(fileDir ? dir.Path.string() : dir.Path.string() + "/missing");
    TStringList list;
    auto line = [](size_t i) { return "line " + std::to_string(i) + std::string(i % 157, 'x') + (i % 50000 ? "" : std::string(300000, 'y')); };
    // Far more text than stays resident, with lines larger than the heap
    // block's rest and one line larger than a chunk.
    const size_t count = 300'000;
    for (size_t i = 0; i < count; ++i) list.push_back(line(i));
    list.push_back(std::string(TTextStore::ChunkBytes + 5, 'z'));
    ASSERT_TRUE(list.Stored());
    ASSERT_EQ(list.size(), count + 1);
    for (int pass = 0; pass < 2; ++pass)
      for (size_t i = pass ? 0 : count - 1; i < count; i += pass ? 1 : -1) ASSERT_EQ(list[i], line(i)) << i;
    EXPECT_EQ(list.back(), std::string(TTextStore::ChunkBytes + 5, 'z'));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path)) << "the store has no name";
    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back("again");
    EXPECT_EQ(list[0], "again");
  }
  EXPECT_EQ(OpenFiles(), filesBefore) << "the store's file is closed with its list";
}

TEST(StoredList, StaleStoresOfEndedRunsAreCleanedAtStart) {
  TTempDir dir;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = "quorlin-store-" + std::to_string(child) + "-0";
  const std::string mine = "quorlin-store-" + std::to_string(::getpid()) + "-1";
  for (const std::string& name : {dead, mine, std::string("notes.txt")}) std::ofstream(dir.Path / name) << "x";
  EXPECT_EQ(CleanStaleStores(dir.Path.string()), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.Path / dead));
  EXPECT_TRUE(std::filesystem::exists(dir.Path / mine));
  EXPECT_TRUE(std::filesystem::exists(dir.Path / "notes.txt"));
}

} // namespace
} // namespace quorlin::test
