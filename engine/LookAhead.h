// The look-ahead after a pass with no matched line. An inserted or deleted
// block longer than a pass fills one table with lines that the other table
// does not hold; without help the passes would then go on side by side and
// the files would never line up again. The look-ahead reads on in both files
// for the nearest point where they meet again and ends the pass there, so
// that the lines before that point are listed as inserted (or deleted) and
// the next passes start together at it.
#pragma once

#include "engine/CompareTypes.h"

#include <cstdint>
#include <vector>

namespace quorlin {

struct TCompareRun;

/// Processed lines of each file that the look-ahead reads past the end of a
/// table: the farthest a meeting point can lie beyond it. With the table's
/// own lines they fit the ring of AheadRingSize.
inline constexpr int LookAheadLines = 7 * MaxPassLines;
inline constexpr size_t AheadRingSize = 65536;
static_assert(LookAheadLines + MaxPassLines <= static_cast<int>(AheadRingSize));

/// Triples of consecutive processed lines of one pass table, by fingerprint
/// (see TAheadFile::Triples):
/// open addressing, each triple with the first table entry that starts it,
/// behind a bit filter that answers most look-ups for triples not held.
class TTripleSet {
public:
  /// Empties the set for up to count triples.
  void Clear(size_t count);
  /// Adds a triple started by table entry k, unless an earlier entry started it.
  void Add(uint64_t key, int k);
  /// The table entry that starts the triple, or 0.
  int Find(uint64_t key) const;

private:
  std::vector<uint64_t> Keys; ///< 0: empty slot
  std::vector<int32_t> Entries;
  std::vector<uint64_t> Filter; ///< one bit per value of a key's top FilterBits bits
  size_t Mask = 0;
};

/// The look-ahead of one file: a reader of its own on the file's descriptor
/// (every pass and the listing reposition the file before they read, so the
/// two readers never disturb each other) and a ring of the processed lines it
/// has read. The lines are kept from pass to pass while the passes stay
/// inside them, so a line is read ahead once however many passes look past
/// it, and the table's own lines among them give the table's fingerprints.
struct TAheadFile {
  TCompareFile Reader; ///< own buffers and comment carry; Stream is the run's, not owned
  // The ring: line i (0 = oldest) in slot (Head + i) % AheadRingSize.
  std::vector<uint64_t> Keys;    ///< fingerprint of the line's compare key
  std::vector<uint64_t> Triples; ///< TripleKey of the line and the two after it; 0 until they are read
  std::vector<int32_t> Lines;    ///< the line's number in its file (1-based)
  size_t Head = 0, Count = 0;
  size_t InTable = 0;     ///< the oldest lines of the ring that lie in the current table
  int FirstLine = 0;      ///< file line number the reader started at; 0 before the first start
  int NextLine = 0;       ///< file line number of the next line the reader gives
  std::vector<char> Text; ///< the line being keyed: MaxLineLen + 4 bytes
  TTripleSet TableTriples; ///< the triples that start in this file's current table

  size_t Slot(size_t i) const { return (Head + i) & (AheadRingSize - 1); }
};

/// The look-ahead records of a run, made at the first pass that needs them.
struct TLookAhead {
  TAheadFile New, Old;
  TAheadFile& File(bool isNew) { return isNew ? New : Old; }
};

/// After matching a pass whose tables both hold lines and hold no matched
/// line, and which is not the last: looks up to LookAheadLines processed
/// lines past each table for the nearest meeting point, that is the NEW
/// entry a and OLD entry b (in the pass's numbering, one of them past its
/// table) with the least a + b at which three consecutive processed lines of
/// both files have equal compare keys, and cuts the pass before it: the
/// lines of the pass before the point stay (all unmatched), the others are
/// read again by the next pass. Returns whether the pass was cut; without a
/// meeting point the pass is left as it is.
bool LookAhead(TCompareRun& run);

} // namespace quorlin
