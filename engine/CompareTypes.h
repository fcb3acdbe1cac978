// Records of the compare engine: its constants, the per-file record, the line
// entry and the two line tables of a pass. The compare control record that
// the callers of a run create lives one layer down, beside the controls.
#pragma once

#include "state/CompareCtl.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <string>
#include <vector>

namespace quorlin {

/// Lines of one file held in one pass.
inline constexpr int MaxPassLines = 8000;
/// Bytes requested from a file per read.
inline constexpr int ReadBufSize = 32768;
/// Longest line kept as one line; longer lines are split into pieces of this size.
inline constexpr int MaxLineLen = 2048;
/// Hash chain heads of the matcher; a line's bucket is its Hash AND (HashBuckets - 1).
inline constexpr int HashBuckets = 8192;

/// One compare-column range of a file: columns First..Last, 1-based and
/// inclusive, or First to the end of the line with ToEol. A range with ToEol
/// ends the list.
struct TColRange {
  bool On = false;
  int First = 0;
  int Last = 0;
  bool ToEol = false;
};

/// The compare-column ranges of one file.
using TColumns = std::array<TColRange, 4>;

/// Per-file record, one for NEW and one for OLD, created by the set-up step and
/// released by the finish step.
struct TCompareFile {
  bool IsNew = false;
  bool AtEof = false;       ///< the file is exhausted for this pass
  bool EmbeddedEof = false; ///< a 0x1A byte was met with data after it
  bool EofPending = false;  ///< a 0x1A ended the last line; the next read reports end of file
  bool LineSplit = false;   ///< a line was cut at MaxLineLen
  bool ReadFailed = false;  ///< the operating system reported a read error

  /// Compare columns: Col[0] is range 1 (Col1On, Col1First, Col1Last,
  /// Col1ToEol), Col[1] to Col[3] are ranges 2 to 4.
  TColumns Col{};
  bool ColTooShort = false; ///< some line was shorter than the first compare column
  int LongestKey = 0;       ///< greatest ColLen met

  // Comment carry flags of the don't-process rules.
  bool InString = false, InCBlock = false, InParenComment = false, InBraceComment = false;
  bool InHtmlComment = false;

  std::string FileName; ///< as given, at most 255 characters kept for display
  int Stream = -1;      ///< open descriptor, read-only; -1 when closed
  int64_t Size = 0;     ///< bytes in the file when it was opened

  int64_t FileOffset = 0;      ///< byte offset just after the last line read; resume point
  int64_t PassStartOffset = 0; ///< FileOffset when the current pass's read phase began
  int64_t PcmpStartOffset = 0; ///< FileOffset after the part-compare skip of the first pass
  int64_t DataEndOffset = 0;   ///< Clnc: offset just after the last line read

  std::unique_ptr<char[]> ReadBuf; ///< ReadBufSize + 4 bytes
  const char* BufData = nullptr;   ///< the bytes being read: ReadBuf, or the mapped file
  int BufCount = 0;                ///< bytes still unread in BufData
  int BufPos = 0;                  ///< index of the next unread byte
  /// A memory map of the whole file to read from instead of the descriptor
  /// (owned by the run; none when the file is read with read()).
  const char* Mapped = nullptr;
  int64_t MappedSize = 0;
  int64_t MapPos = 0; ///< offset of the next byte to hand out from the map
  std::unique_ptr<char[]> LineBuf; ///< MaxLineLen + 4 bytes: the line last read
  int LineLen = 0;

  int LinesRead = 0;   ///< lines read so far, all passes and skipped lines included
  int LongestLine = 0; ///< greatest LineLen met

  int PassLines = 0;      ///< lines held in the current pass
  int PassLinesLimit = 0; ///< same, lowered with PassLines when a pass is cut
  int LinesDone = 0;      ///< lines consumed by earlier passes and the part-compare skip
  int PassFirstLine = 0;  ///< LinesDone when the pass began; entry k is file line PassFirstLine + k
};

/// One line of a pass. Text and OrigText point into the owning table's text
/// pool and stay valid until the pass's lines are released.
struct TLineEntry {
  bool Matched : 1 = false;      ///< paired with a line of the other file
  bool NoMatch : 1 = false;      ///< NEW: an insertion (no equal OLD line, or passed over in a set)
  bool NotProcessed : 1 = false; ///< don't-process line: excluded from matching
  bool PartDp : 1 = false;       ///< only part of the line was excluded by a comment rule
  bool Reformatted : 1 = false;  ///< listing: matched, but the raw texts differ
  bool SetStart : 1 = false;     ///< first line of a match set (true in the sentinel); Clnc: a dupe
  bool Moved : 1 = false;        ///< set by moved-line detection
  bool ColShort : 1 = false;     ///< shorter than the first compare column
  bool BlankLine : 1 = false;    ///< Clnc: blank and not processed
  bool KeyIsText : 1 = false;    ///< the key is the line's own text (no blanks, no folding, no columns)
  bool KeyPadded : 1 = false;    ///< the key's last byte is the zero that evens its length, not a byte of the line
  uint8_t CarryIn : 5 = 0;       ///< comment carry flags of the file before this line was prepared
  uint16_t Hash = 0;             ///< hash of the compare key; never 0 once prepared
  int16_t TextLen = 0;           ///< length of the stored text
  int16_t KeyLen = 0;            ///< length of the compare key
  int16_t ColLen = 0;            ///< length of the text after compare-column extraction
  uint16_t BlockLen = 0;         ///< owned by the listing generator
  int32_t Partner = 0;           ///< index of the paired (or moved) entry in the other table
  int32_t ChainLink = 0;         ///< working link of the matcher
  uint32_t FileOffset = 0;       ///< the file's FileOffset just after this line was read (files are below 2 GB)
  char* Text = nullptr;          ///< TextLen + 4 bytes; rewritten in place into the compare key
  /// The line as read (TextLen bytes), kept apart from the key: in a Clnc
  /// list always, in a pass while the listing will take it instead of
  /// reading the file again; after that re-read, only for DP lines (the
  /// listing shows them as read).
  char* OrigText = nullptr;
};
// Five lines to a cache line and then some: the carry flags share the bytes
// of the other flags.
static_assert(sizeof(TLineEntry) == 40);

/// Frees memory from AllocateBlock.
struct TBlockDeleter {
  void operator()(void* p) const;
};
using TBlockPtr = std::unique_ptr<char[], TBlockDeleter>;
/// Uninitialised memory for a large block. Blocks of 2 MB or more are aligned
/// to 2 MB and ask for transparent huge pages, so that filling them costs few
/// page faults.
TBlockPtr AllocateBlock(size_t bytes);

/// Bump allocator for the texts of one pass. Reset() frees everything at once;
/// the first block is kept so that later passes allocate nothing.
class TTextPool {
public:
  explicit TTextPool(size_t blockSize = 256 * 1024) : BlockSize(blockSize) {}
  char* Alloc(size_t n);
  void Reset();
  size_t BytesReserved() const { return Reserved; }

private:
  size_t BlockSize;
  std::vector<TBlockPtr> Blocks;
  std::vector<size_t> Sizes;
  size_t Current = 0; ///< index of the block being filled
  size_t Used = 0;    ///< bytes used in that block
  size_t Reserved = 0;
};

/// A growing array of entries in blocks of 2^BlockBits: elements never move,
/// growth copies nothing, and indexing costs a shift and a mask.
template <typename T, int BlockBits = 15>
class TChunkedVector {
  static_assert(std::is_trivially_destructible_v<T>, "blocks are freed without destructors");

public:
  T& emplace_back() {
    if ((Count & Mask) == 0) Blocks.push_back(AllocateBlock(BlockSize * sizeof(T)));
    T* item = new (Slot(Count)) T();
    ++Count;
    return *item;
  }
  T& operator[](size_t k) { return *Slot(k); }
  const T& operator[](size_t k) const { return *const_cast<TChunkedVector*>(this)->Slot(k); }
  size_t size() const { return Count; }

private:
  static constexpr size_t BlockSize = size_t(1) << BlockBits;
  static constexpr size_t Mask = BlockSize - 1;
  T* Slot(size_t k) { return reinterpret_cast<T*>(Blocks[k >> BlockBits].get()) + (k & Mask); }
  std::vector<TBlockPtr> Blocks;
  size_t Count = 0;
};

/// A line table: entries 1 to MaxPassLines + 1 (entry 0 is unused, the entry
/// after the last line of a pass is its sentinel) and the pool of their texts.
class TLineTable {
public:
  TLineTable();
  ~TLineTable();
  TLineTable(const TLineTable&) = delete;
  TLineTable& operator=(const TLineTable&) = delete;
  TLineEntry& operator[](int k) { return Entries[static_cast<size_t>(k)]; }
  const TLineEntry& operator[](int k) const { return Entries[static_cast<size_t>(k)]; }
  /// Clears every entry to zero and releases all texts.
  void Clear();
  /// Notes that entry k may have been written since the last Clear, so that
  /// Clear and ReleaseTexts need not touch entries outside the range noted,
  /// which are still zero.
  void Touch(int k) {
    LowWater = std::min(LowWater, k);
    HighWater = std::max(HighWater, k);
  }
  /// Releases the texts of entries 1 to count + 1 (setting them to none) and
  /// gives their memory back to the pool.
  void ReleaseTexts(int count);
  /// A text buffer of n + 4 bytes owned by this table until Clear().
  char* NewText(int n) { return Pool.Alloc(static_cast<size_t>(n) + 4); }
  size_t BytesReserved() const { return Pool.BytesReserved(); }

private:
  static constexpr int Size = MaxPassLines + 2;
  TLineEntry* Entries; ///< Size entries, mapped zero-filled
  TTextPool Pool;
  int LowWater = 0, HighWater = 0; ///< the entries that may be non-zero
};

} // namespace quorlin
