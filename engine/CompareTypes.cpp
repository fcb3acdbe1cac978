#include "engine/CompareTypes.h"

#include <algorithm>
#include <cstring>

namespace quorlin {

char* TTextPool::Alloc(size_t n) {
  // Keep 8-byte alignment so that word reads of keys stay aligned.
  n = (n + 7) & ~size_t(7);
  while (Current < Blocks.size()) {
    if (Used + n <= Sizes[Current]) {
      char* p = Blocks[Current].get() + Used;
      Used += n;
      return p;
    }
    ++Current;
    Used = 0;
  }
  size_t size = std::max(BlockSize, n);
  Blocks.push_back(std::unique_ptr<char[]>(new char[size]));
  Sizes.push_back(size);
  Reserved += size;
  Current = Blocks.size() - 1;
  Used = n;
  return Blocks.back().get();
}

void TTextPool::Reset() {
  // Keep what an ordinary pass needs; a pass of unusually long lines gives
  // the rest back instead of holding it for the rest of the run.
  constexpr size_t KeepBytes = 4 * 1024 * 1024;
  while (Blocks.size() > 1 && Reserved > KeepBytes) {
    Reserved -= Sizes.back();
    Blocks.pop_back();
    Sizes.pop_back();
  }
  Current = 0;
  Used = 0;
}

void TLineTable::Clear() {
  std::fill(Entries.begin(), Entries.end(), TLineEntry{});
  Pool.Reset();
}

void TLineTable::ReleaseTexts(int count) {
  for (int k = 1; k <= count + 1 && k < static_cast<int>(Entries.size()); ++k) {
    Entries[static_cast<size_t>(k)].Text = nullptr;
    Entries[static_cast<size_t>(k)].OrigText = nullptr;
  }
  Pool.Reset();
}

} // namespace quorlin
