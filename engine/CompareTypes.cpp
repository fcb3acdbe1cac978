#include "engine/CompareTypes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace quorlin {

void TBlockDeleter::operator()(void* p) const { std::free(p); }

TBlockPtr AllocateBlock(size_t bytes) {
  constexpr size_t HugePage = 2 * 1024 * 1024;
  void* p = nullptr;
  if (bytes >= HugePage) {
    if (::posix_memalign(&p, HugePage, bytes) != 0) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
  } else {
    p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
  }
  return TBlockPtr(static_cast<char*>(p));
}

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
  Blocks.push_back(AllocateBlock(size));
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

// The entries are mapped from the system zero-filled (a zero TLineEntry is
// all zero bytes), and a page costs only when an entry on it is first
// written: a run of a small file pays for the few pages it uses, not for
// clearing the whole table. Folder compares run many such runs.
TLineTable::TLineTable() {
  static_assert(std::is_trivially_destructible_v<TLineEntry> && std::is_trivially_copyable_v<TLineEntry>);
  void* p = ::mmap(nullptr, Size * sizeof(TLineEntry), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  Entries = static_cast<TLineEntry*>(p);
}

TLineTable::~TLineTable() { ::munmap(Entries, Size * sizeof(TLineEntry)); }

void TLineTable::Clear() {
  const int end = std::min(Size - 1, HighWater);
  for (int k = LowWater; k <= end; ++k) Entries[static_cast<size_t>(k)] = TLineEntry{};
  LowWater = Size;
  HighWater = 0;
  Pool.Reset();
}

void TLineTable::ReleaseTexts(int count) {
  const int end = std::min({count + 1, HighWater, Size - 1});
  for (int k = std::max(1, LowWater); k <= end; ++k) {
    Entries[static_cast<size_t>(k)].Text = nullptr;
    Entries[static_cast<size_t>(k)].OrigText = nullptr;
  }
  Pool.Reset();
}

} // namespace quorlin
