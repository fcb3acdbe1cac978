// An ordered list of strings that only grows until it is cleared: the result
// lists of a compare (Panel1Lines, Panel2Lines). Texts are packed into large
// blocks, so a listing of millions of lines costs one small record per line
// and no allocation per line.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

class TStringList {
public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string_view> lines) {
    for (auto l : lines) push_back(l);
  }
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;
  TStringList(TStringList&&) = default;
  TStringList& operator=(TStringList&&) = default;

  void push_back(std::string_view text);
  /// Line i, 0-based; valid until the list is cleared.
  std::string_view operator[](size_t i) const { return Lines[i]; }
  std::string_view back() const { return Lines.back(); }
  size_t size() const { return Lines.size(); }
  bool empty() const { return Lines.empty(); }
  void clear();
  /// Copies of all lines, for tests and reports.
  std::vector<std::string> ToVector() const { return {Lines.begin(), Lines.end()}; }

  using const_iterator = std::vector<std::string_view>::const_iterator;
  const_iterator begin() const { return Lines.begin(); }
  const_iterator end() const { return Lines.end(); }

private:
  static constexpr size_t BlockSize = 1 << 20;
  std::vector<std::string_view> Lines;
  std::vector<std::unique_ptr<char[]>> Blocks;
  std::vector<std::unique_ptr<char[]>> LongBlocks;
  size_t Used = BlockSize; ///< bytes used in the last block
};

} // namespace quorlin
