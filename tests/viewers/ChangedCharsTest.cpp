#include "TestSupport.h"
#include "viewers/ChangedChars.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

/// The marked parts of text, joined by "|".
std::string Marked(std::string_view text, const TCharRanges& ranges) {
  std::string out;
  for (const TCharRange& r : ranges) out += (out.empty() ? "" : "|") + std::string(text.substr(r.From, r.To - r.From));
  return out;
}

TEST(ChangedChars, PairsOfLines) {
  const std::string longA = std::string(2040, 'a') + " x=1;", longB = std::string(2040, 'a') + " x=2;";
  TMarkRules icas, ccol;
  icas.IgnoreCase = true;
  ccol.NewColumns[0] = ccol.OldColumns[0] = {1, 7};
  struct Case {
    const char* Name;
    std::string New, Old;
    std::string NewMarks, OldMarks;
    TMarkRules Rules = {};
    bool Reformatted = false;
  } cases[] = {
      {"a changed number", "total = price * 12;", "total = price * 10;", "12", "10"},
      {"a renamed identifier", "if (count > max) return;", "if (total > max) return;", "count", "total"},
      {"an inserted word", "static const int size = 4;", "static int size = 4;", "const ", ""},
      {"marks parted by one blank run are joined", "print(old value);", "print(new number);", "old value", "new number"},
      {"a changed indent in a reformatted pair", "    x = 1;", "  x  = 1;", "    | ", "  |  ", {}, true},
      {"case does not count with Icas", "Total = A;", "TOTAL = b;", "A", "b", icas},
      {"only the compared columns", "abc def XYZ", "abc dex xyz", "def", "dex", ccol},
      {"lines too different to mark", "for (i = 0; i < n; ++i)", "return result;", "", ""},
      {"lines of 2048 bytes", longA, longB, "1", "2"},
  };
  for (const auto& c : cases) {
    const TPairMarks m = MarkChanges(c.New, c.Old, c.Rules, c.Reformatted);
    EXPECT_EQ(Marked(c.New, m.New) + " / " + Marked(c.Old, m.Old), c.NewMarks + " / " + c.OldMarks) << c.Name;
  }
}

TEST(ChangedChars, RowsThatPair) {
  // A Long listing's rows: a reformatted pair listed with Lorl, a change
  // group of two inserts and two deletes, a moved line and its partner.
  auto row = [](const char* id, const std::string& text, const std::string& refs) {
    std::string line = id + text;
    line.resize(84, ' ');
    return line + refs;
  };
  std::vector<std::string> lines = {"New File = a", "Old File = b", "ID  ruler",
                                    row("RN- ", "  x = 1;", " 00001 REFORM(NEW)  00001   1"),
                                    row("RO- ", "x = 1;", " 00001 REFORM(OLD)  00001"),
                                    row("I - ", "int alpha = 1;", " 00002 INSERT(NEW)          2"),
                                    row("I - ", "int beta = 2;", " 00003 INSERT"),
                                    row("D - ", "int alpha = 9;", "       DELETED(OLD) 00002   2"),
                                    row("D - ", "something else entirely", "       DELETED      00003"),
                                    row("    ", "same", " 00004              00004   1"),
                                    row("IM- ", "moved(1);", " 00005 MOVE(N TO O) 00009"),
                                    row("DM- ", "moved(2);", " 00005 MOVE(O TO N) 00009"),
                                    " "};
  TViewFixture fx(lines, {}, static_cast<int>(lines.size()) - 1);
  TRowMarks marks(fx.View);
  auto marked = [&](long i) { return Marked(fx.View.Panel1->operator[](size_t(i)), marks.Marks(TPanelRule::Single, i)); };
  EXPECT_EQ(marked(3), "  ") << "the changed indent";
  EXPECT_EQ(marked(5), "1") << "the first insert pairs with the first delete";
  EXPECT_EQ(marked(7), "9");
  EXPECT_EQ(marked(6), "") << "the second pair is not alike";
  EXPECT_EQ(marked(9), "");
  EXPECT_EQ(marked(10), "1") << "a moved line and its partner";
  EXPECT_EQ(marked(11), "2");
  // In the shown row the mark moves by the row number before the line.
  const TCharRanges shown = marks.ShownMarks(TPanelRule::Single, 5);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(DisplayText(fx.View, TPanelRule::Single, 5).substr(shown[0].From, 1), "1");
}

TEST(ChangedChars, ChangeRecordsPairAsTheyCome) {
  // Records leave in their order, each once its partner is known: a
  // reformatted pair, a change group of two inserts and one delete, a moved
  // line whose partner comes later, an insert of another group.
  std::vector<std::string> out;
  TChangeRecordPairs pairs({}, [&](const TChangeRecordPairs::TRecord& r) {
    std::string ranges;
    for (const TCharRange& c : r.Ranges) ranges += " " + std::to_string(c.From) + "-" + std::to_string(c.To);
    out.push_back(r.Id + std::to_string(r.NewLine) + "/" + std::to_string(r.OldLine) + (r.Paired ? " paired" : "") + ranges);
  });
  pairs.Add("RN-", 1, 1, "  x = 1;");
  pairs.Add("RO-", 1, 1, "x = 1;");
  pairs.Add("I -", 2, 0, "int a = 1;");
  pairs.Add("IM-", 3, 9, "moved(1);");
  EXPECT_EQ(out.size(), 2u) << "the group and the moved line wait";
  pairs.Add("I -", 4, 0, "int b = 2;");
  pairs.Add("D -", 0, 2, "int a = 7;");
  pairs.Add("DM-", 3, 9, "moved(2);");
  pairs.Add("I -", 7, 0, "int c = 1;");
  pairs.Add("I -", 8, 0, "int d = 1;");
  pairs.Add("D -", 0, 5, "int c = 3;");
  pairs.Finish();
  EXPECT_EQ(out, (std::vector<std::string>{"RN-1/1 paired 0-2", "RO-1/1 paired", "I -2/0 paired 8-9", "IM-3/9 paired 6-7",
                                           "I -4/0", "D -0/2 paired 8-9", "DM-3/9 paired 6-7", "I -7/0 paired 8-9", "I -8/0",
                                           "D -0/5 paired 8-9"}));
}

} // namespace
} // namespace quorlin::test
