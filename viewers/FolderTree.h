// The folder window's tree of a folder compare: a row for every pair shown
// and for every folder that holds one, in path order, and the colour of a
// pair's row.
#pragma once

#include "app/FolderCompare.h"
#include "viewers/LineModel.h"

#include <string>
#include <vector>

namespace quorlin {

/// One row of the tree: a folder, or a pair of the result.
struct TFolderRow {
  std::string Name;          ///< the last part of the path
  int Parent = -1;           ///< the folder row above; -1 at the top
  int Pair = -1;             ///< index in the result's pairs; -1 for a folder
  int Index = 0;             ///< place (0-based) among the rows of its folder, or among the top rows
  std::vector<int> Children; ///< the rows of a folder, in path order
};

struct TFolderTree {
  std::vector<TFolderRow> Rows;
  std::vector<int> Top; ///< the rows at the top, in path order
  /// The rows of folder row parent (-1: the top rows).
  const std::vector<int>& RowsIn(int parent) const { return parent < 0 ? Top : Rows[static_cast<size_t>(parent)].Children; }
  /// The row of pair, or -1 when it is not shown.
  int RowOfPair(int pair) const;
};

/// The tree of the pairs of result; with hideIdentical the identical pairs
/// (text and binary) and folders left empty are not shown.
TFolderTree BuildFolderTree(const TFolderResult& result, bool hideIdentical);

/// The colour of a pair's row, as the viewers colour changed lines: a file
/// only in NEW as an inserted line (blue), only in OLD as a deleted line
/// (red), a pair that differs as a reformatted NEW line (teal), an error as
/// a program error (green); the rest in the normal colour.
TLineColour PairColour(TPairStatus status);

} // namespace quorlin
