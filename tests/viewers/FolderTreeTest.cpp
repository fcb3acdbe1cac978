// The folder window's tree: folder rows from the pairs' paths, hidden
// identical pairs, and where a pair's row is.
#include "viewers/FolderTree.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

/// The tree as indented lines: two blanks a level, "name" or "name=status".
std::vector<std::string> Lines(const TFolderTree& tree, const TFolderResult& result, int parent = -1, int depth = 0) {
  std::vector<std::string> lines;
  for (size_t k = 0; k < tree.RowsIn(parent).size(); ++k) {
    const int r = tree.RowsIn(parent)[k];
    const TFolderRow& row = tree.Rows[static_cast<size_t>(r)];
    EXPECT_EQ(row.Index, static_cast<int>(k)) << row.Name;
    EXPECT_EQ(row.Parent, parent) << row.Name;
    std::string line = std::string(2 * static_cast<size_t>(depth), ' ') + row.Name;
    if (row.Pair >= 0) line += std::string("=") + PairStatusName(result.Pairs[static_cast<size_t>(row.Pair)].Status);
    lines.push_back(line);
    for (const std::string& below : Lines(tree, result, r, depth + 1)) lines.push_back(below);
  }
  return lines;
}

TEST(FolderTree, RowsFromPaths) {
  TFolderResult result;
  using S = TPairStatus;
  for (const auto& [path, status] : std::vector<std::pair<std::string, S>>{{"Makefile", S::Differs},
                                                                          {"a/b/c.txt", S::Identical},
                                                                          {"a/b/d.txt", S::OnlyInNew},
                                                                          {"a/e.txt", S::Identical},
                                                                          {"a/f/g.bin", S::BinaryIdentical},
                                                                          {"a-b", S::OnlyInOld},
                                                                          {"z/y/x", S::Error}})
    result.Pairs.push_back({path, status, {}, nullptr});
  const TFolderTree all = BuildFolderTree(result, false);
  EXPECT_EQ(Lines(all, result), (std::vector<std::string>{"Makefile=differs", "a", "  b", "    c.txt=identical",
                                                          "    d.txt=only in NEW", "  e.txt=identical", "  f",
                                                          "    g.bin=binary identical", "a-b=only in OLD", "z", "  y",
                                                          "    x=error"}));
  const TFolderTree changed = BuildFolderTree(result, true);
  EXPECT_EQ(Lines(changed, result), (std::vector<std::string>{"Makefile=differs", "a", "  b", "    d.txt=only in NEW",
                                                              "a-b=only in OLD", "z", "  y", "    x=error"}));
  EXPECT_EQ(changed.Rows[static_cast<size_t>(changed.RowOfPair(2))].Name, "d.txt");
  EXPECT_EQ(changed.RowOfPair(1), -1) << "a hidden pair has no row";
  EXPECT_TRUE(BuildFolderTree(TFolderResult{}, false).Top.empty());
}

TEST(FolderTree, Colours) {
  using S = TPairStatus;
  const std::pair<S, TLineColour> cases[] = {{S::OnlyInNew, TLineColour::Blue},   {S::OnlyInOld, TLineColour::Red},
                                             {S::Differs, TLineColour::Teal},     {S::BinaryDiffers, TLineColour::Teal},
                                             {S::Error, TLineColour::Green},      {S::Identical, TLineColour::Normal},
                                             {S::Equivalent, TLineColour::Normal}};
  for (const auto& [status, colour] : cases) EXPECT_EQ(PairColour(status), colour) << PairStatusName(status);
}

} // namespace
} // namespace quorlin::test
