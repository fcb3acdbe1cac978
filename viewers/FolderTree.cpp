#include "viewers/FolderTree.h"

namespace quorlin {

int TFolderTree::RowOfPair(int pair) const {
  for (size_t r = 0; r < Rows.size(); ++r)
    if (Rows[r].Pair == pair) return static_cast<int>(r);
  return -1;
}

TFolderTree BuildFolderTree(const TFolderResult& result, bool hideIdentical) {
  TFolderTree tree;
  std::vector<int> open; // the folder rows of the path of the last pair shown, from the top
  auto add = [&](std::string name, int pair) {
    const int parent = open.empty() ? -1 : open.back();
    const int row = static_cast<int>(tree.Rows.size());
    const int index = static_cast<int>(tree.RowsIn(parent).size());
    tree.Rows.push_back({std::move(name), parent, pair, index, {}});
    // After the push: it may have moved the rows.
    (parent < 0 ? tree.Top : tree.Rows[static_cast<size_t>(parent)].Children).push_back(row);
    return row;
  };
  for (size_t p = 0; p < result.Pairs.size(); ++p) {
    const TFolderPair& pair = result.Pairs[p];
    if (hideIdentical && (pair.Status == TPairStatus::Identical || pair.Status == TPairStatus::BinaryIdentical))
      continue;
    std::vector<std::string> parts;
    for (size_t start = 0, slash; start <= pair.Path.size(); start = slash + 1) {
      slash = pair.Path.find('/', start);
      if (slash == std::string::npos) slash = pair.Path.size();
      parts.push_back(pair.Path.substr(start, slash - start));
    }
    // Pairs come in path order, so the folders they share with the pair
    // before are the open ones they begin with.
    size_t same = 0;
    while (same < open.size() && same + 1 < parts.size() && tree.Rows[static_cast<size_t>(open[same])].Name == parts[same])
      ++same;
    open.resize(same);
    for (size_t k = same; k + 1 < parts.size(); ++k) open.push_back(add(parts[k], -1));
    add(parts.back(), static_cast<int>(p));
  }
  return tree;
}

TLineColour PairColour(TPairStatus status) {
  switch (status) {
  case TPairStatus::OnlyInNew: return TLineColour::Blue;
  case TPairStatus::OnlyInOld: return TLineColour::Red;
  case TPairStatus::Differs:
  case TPairStatus::BinaryDiffers: return TLineColour::Teal;
  case TPairStatus::Error: return TLineColour::Green;
  default: return TLineColour::Normal;
  }
}

} // namespace quorlin
