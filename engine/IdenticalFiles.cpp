#include "engine/IdenticalFiles.h"

#include "engine/LineReader.h"
#include "platform/MappedFile.h"

#include <atomic>
#include <cstring>
#include <sys/stat.h>
#include <thread>

namespace quorlin {

namespace {

int64_t SizeOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

/// Whether the two maps hold the same size bytes; false when a page was lost.
bool SameBytes(const char* a, const char* b, int64_t size, const std::atomic<bool>& cancel) {
  constexpr int64_t Slice = 8 << 20;
  bool same = true;
  const bool read = GuardedRead([&] {
    for (int64_t at = 0; at < size && same && !cancel.load(std::memory_order_relaxed); at += Slice)
      same = std::memcmp(a + at, b + at, static_cast<size_t>(std::min(Slice, size - at))) == 0;
  });
  return read && same;
}

/// Counts the passes of nf, read from its map, as the read phases would.
bool CountPasses(TCompareFile& nf, const TCompareCtl& ctl, std::vector<TCountedPass>& passes,
                 const std::atomic<bool>& cancel) {
  passes.clear();
  return GuardedRead([&] {
    RepositionFile(nf, 0);
    for (;;) {
      const int lines = SkipLines(nf, ctl, MaxPassLines);
      passes.push_back({lines, nf.FileOffset, nf.LinesRead, nf.LongestLine, nf.LineLen, nf.AtEof, nf.EofPending,
                        nf.EmbeddedEof, nf.LineSplit});
      // The pass after a short one reads nothing and ends the run.
      if (lines < MaxPassLines || cancel.load(std::memory_order_relaxed)) break;
      RepositionFile(nf, nf.FileOffset);
    }
  });
}

} // namespace

bool CountIdenticalFiles(TCompareFile& nf, const TCompareFile& of, const TCompareCtl& ctl, bool threads,
                         std::vector<TCountedPass>& passes) {
  const int64_t size = nf.Size;
  if (nf.Stream < 0 || of.Stream < 0 || size <= 0 || of.Size != size || SizeOf(nf.Stream) != size ||
      SizeOf(of.Stream) != size)
    return false;
  TMappedFile newMap;
  if (!newMap.Map(nf.Stream, size)) return false;

  // The reading fields of nf are borrowed for the counting and given back.
  const TCountedPass saved{0, nf.FileOffset, nf.LinesRead, nf.LongestLine, nf.LineLen,
                           nf.AtEof, nf.EofPending, nf.EmbeddedEof, nf.LineSplit};
  nf.Mapped = newMap.Data();
  nf.MappedSize = size;

  std::atomic<bool> cancel{false};
  bool same = false;
  auto check = [&] {
    // The OLD map is made and given back on the checking thread.
    TMappedFile oldMap;
    same = oldMap.Map(of.Stream, size) && SameBytes(newMap.Data(), oldMap.Data(), size, cancel);
    if (!same) cancel = true;
  };
  bool counted = false;
  if (threads) {
    std::thread worker(check);
    counted = CountPasses(nf, ctl, passes, cancel);
    if (!counted) cancel = true;
    worker.join();
  } else {
    check();
    counted = same && CountPasses(nf, ctl, passes, cancel);
  }

  nf.Mapped = nullptr;
  nf.MappedSize = 0;
  nf.MapPos = 0;
  nf.BufCount = 0;
  nf.BufPos = 0;
  nf.BufData = nf.ReadBuf.get();
  ApplyCountedPass(nf, saved);
  // The files must still be as long as they were: a file that grew or
  // shrank meanwhile is compared line by line.
  return same && counted && SizeOf(nf.Stream) == size && SizeOf(of.Stream) == size;
}

void ApplyCountedPass(TCompareFile& nf, const TCountedPass& pass) {
  nf.FileOffset = pass.FileOffset;
  nf.LinesRead = pass.LinesRead;
  nf.LongestLine = pass.LongestLine;
  nf.LineLen = pass.LineLen;
  nf.AtEof = pass.AtEof;
  nf.EofPending = pass.EofPending;
  nf.EmbeddedEof = pass.EmbeddedEof;
  nf.LineSplit = pass.LineSplit;
}

} // namespace quorlin
