// An ordered list of strings that only grows until it is cleared: the result
// lists of a compare (Panel1Lines, Panel2Lines), which a viewer shows whole
// however large the listing is. The list keeps one 8-byte end offset per
// line; the texts follow one another without separators, the first megabyte
// in a heap block, the rest in a text store: a nameless temporary file mapped
// into memory, of which only the parts read or written last stay resident.
// A listing of tens of millions of lines so costs its offsets and a bounded
// window of its text.
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

/// The text space of a large list beyond its first megabyte: a range of
/// address space reserved once (so that texts never move), filled chunk by
/// chunk from a temporary file, or with memory where no file can be made.
/// A chunk is written in memory and goes to the file when it is full; chunks
/// read long ago are handed back to the system, and read again from the
/// file when they are next needed.
class TTextStore {
public:
  /// Reserves the address space; nullptr when the system refuses.
  static std::unique_ptr<TTextStore> Create();
  ~TTextStore();
  TTextStore(const TTextStore&) = delete;
  TTextStore& operator=(const TTextStore&) = delete;

  /// Room for n more bytes at the end: returns where they go and counts them
  /// as used. Throws std::bad_alloc when neither file nor memory is left.
  char* Append(size_t n);
  /// The bytes [from, to) of the store, which must be used.
  const char* Read(uint64_t from, uint64_t to) const {
    const uint64_t chunk = from / ChunkBytes;
    if (chunk != LastChunk.load(std::memory_order_relaxed)) Touch(chunk, to);
    return Base + from;
  }
  /// Bytes used.
  uint64_t Size() const { return Used; }

  static constexpr uint64_t ChunkBytes = 16u << 20;
  /// Chunks that stay resident at most (the ones touched last).
  static constexpr size_t ResidentChunks = 4;

private:
  TTextStore() = default;
  void MapChunk(uint64_t chunk);
  void FileChunk(uint64_t chunk);
  void Touch(uint64_t chunk, uint64_t to) const;

  char* Base = nullptr;
  uint64_t Reserved = 0, Mapped = 0, Used = 0;
  uint64_t Filed = 0; ///< chunks before it are full and went to the file
  int Fd = -1;
  std::unique_ptr<std::atomic<bool>[]> InFile; ///< per chunk: file pages, not memory
  std::unique_ptr<class TWorker> Writer;     ///< files full chunks
  std::atomic<bool> FileFailed{false};       ///< a write failed: later chunks stay in memory
  std::atomic<bool> Lost{false};             ///< a chunk could be neither filed nor kept
  mutable std::atomic<uint64_t> LastChunk{UINT64_MAX}; ///< the chunk touched last
  mutable std::vector<uint64_t> Resident;    ///< chunks touched last, oldest first
  mutable std::mutex Lock;                   ///< over Resident, for readers on two threads
};

/// Where the text stores of this process keep their files: $TMPDIR, else /tmp.
std::string TextStoreDirectory();
/// Removes store files of programs that are no longer running (a crashed
/// run may leave one behind) from dir; returns how many were removed.
int CleanStaleStores(const std::string& dir = TextStoreDirectory());

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
  std::string_view operator[](size_t i) const {
    uint64_t from = i ? Ends[i - 1] : 0;
    const uint64_t to = Ends[i];
    if (to <= HeapLimit) return {Heap.get() + from, static_cast<size_t>(to - from)};
    // A line that did not fit in the rest of the heap block starts the store.
    if (from < HeapLimit) from = HeapLimit;
    return {Store->Read(from - HeapLimit, to - HeapLimit), static_cast<size_t>(to - from)};
  }
  std::string_view back() const { return (*this)[Ends.size() - 1]; }
  size_t size() const { return Ends.size(); }
  bool empty() const { return Ends.empty(); }
  void clear();
  /// Copies of all lines, for tests and reports.
  std::vector<std::string> ToVector() const { return {begin(), end()}; }
  /// Whether part of the text lives in a text store.
  bool Stored() const { return Store != nullptr; }
  /// Sends every text of an empty list to the text store, the first too.
  void KeepInStore() {
    if (empty()) HeapLimit = 0;
  }

  class const_iterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const TStringList* list, size_t at) : List(list), At(at) {}
    std::string_view operator*() const { return (*List)[At]; }
    const_iterator& operator++() { return ++At, *this; }
    const_iterator operator++(int) { return {List, At++}; }
    bool operator==(const const_iterator& o) const { return At == o.At; }

  private:
    const TStringList* List = nullptr;
    size_t At = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, Ends.size()}; }

  static constexpr uint64_t HeapBytes = 1 << 20;

private:
  uint64_t HeapLimit = HeapBytes; ///< the texts below it are in the heap block
  std::vector<uint64_t> Ends; ///< end of each line's text in the list's text space
  std::unique_ptr<char[]> Heap;
  std::unique_ptr<TTextStore> Store;
};

} // namespace quorlin
