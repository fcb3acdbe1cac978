#include "engine/LookAhead.h"

#include "engine/CompareRun.h"
#include "engine/DpFilters.h"
#include "engine/LineReader.h"
#include "engine/Matcher.h"
#include "engine/PassReader.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <string_view>

namespace quorlin {

namespace {

/// The filter of a triple set: 2^FilterBits bits (16 KB), about one in
/// sixteen set for a full table.
constexpr int FilterBits = 17;
constexpr size_t FilterWords = (size_t(1) << FilterBits) / 64;

/// The fingerprint of a prepared line's compare key: equal keys have equal
/// fingerprints; different keys have equal ones only by a 64-bit chance.
uint64_t KeyFingerprint(const TLineEntry& e) {
  const uint64_t h = std::hash<std::string_view>{}(std::string_view(e.Text, static_cast<size_t>(e.KeyLen)));
  // A padded key and the same bytes ending in a real zero are different lines.
  return e.KeyPadded ? h ^ 0x9E3779B97F4A7C15ull : h;
}

/// The fingerprint of three consecutive processed lines; never 0 (an empty
/// slot of a triple set).
uint64_t TripleKey(uint64_t a, uint64_t b, uint64_t c) {
  uint64_t h = a * 0x9E3779B97F4A7C15ull;
  h = (h ^ (h >> 29) ^ b) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 32) ^ c) * 0x94D049BB133111EBull;
  h ^= h >> 31;
  return h == 0 ? 1 : h;
}

} // namespace

void TTripleSet::Clear(size_t count) {
  size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  Keys.assign(slots, 0);
  Entries.assign(slots, 0);
  Filter.assign(FilterWords, 0);
  Mask = slots - 1;
}

void TTripleSet::Add(uint64_t key, int k) {
  size_t s = key & Mask;
  while (Keys[s] != 0 && Keys[s] != key) s = (s + 1) & Mask;
  if (Keys[s] != 0) return;
  Keys[s] = key;
  Entries[s] = k;
  const uint64_t bit = key >> (64 - FilterBits);
  Filter[bit / 64] |= uint64_t(1) << (bit % 64);
}

int TTripleSet::Find(uint64_t key) const {
  const uint64_t bit = key >> (64 - FilterBits);
  if (!(Filter[bit / 64] >> (bit % 64) & 1)) return 0;
  for (size_t s = key & Mask; Keys[s] != 0; s = (s + 1) & Mask)
    if (Keys[s] == key) return Entries[s];
  return 0;
}

namespace {

/// Appends a processed line to the ring and completes the triple of the line
/// two before it.
void Push(TAheadFile& a, uint64_t key, int line) {
  const size_t s = a.Slot(a.Count++);
  a.Keys[s] = key;
  a.Triples[s] = 0;
  a.Lines[s] = line;
  if (a.Count >= 3) {
    const size_t s0 = a.Slot(a.Count - 3);
    a.Triples[s0] = TripleKey(a.Keys[s0], a.Keys[a.Slot(a.Count - 2)], key);
  }
}

/// Starts the reader of one file after the current table (whose last line is
/// end), in the comment state the pass left the file in.
void StartReader(TCompareRun& run, bool isNew, TAheadFile& a, int end) {
  const TCompareFile& f = run.File(isNew);
  TCompareFile& r = a.Reader;
  if (!r.ReadBuf) {
    AllocateBuffers(r);
    a.Text.resize(MaxLineLen + 4);
    a.Keys.resize(AheadRingSize);
    a.Triples.resize(AheadRingSize);
    a.Lines.resize(AheadRingSize);
  }
  r.IsNew = isNew;
  r.Stream = f.Stream;
  r.Col = f.Col;
  r.ReadFailed = false;
  RestoreCarry(r, SaveCarry(f));
  r.FileOffset = f.PassLines > 0 ? run.Lines(isNew)[f.PassLines].FileOffset : f.PassStartOffset;
  a.Head = a.Count = 0;
  a.FirstLine = a.NextLine = end + 1;
}

/// Brings the look-ahead of one file up to LookAheadLines processed lines
/// past the end of the current table and makes the table's triples. Lines
/// read ahead by earlier passes are kept when the table ends inside them or
/// just before them; otherwise the reader starts again after the table.
void ReadAhead(TCompareRun& run, bool isNew, TAheadFile& a) {
  const TCompareCtl& ctl = run.Ctl;
  const TCompareFile& f = run.File(isNew);
  const int first = f.PassFirstLine, end = first + f.PassLines;
  if (a.NextLine == 0 || end + 1 < a.FirstLine || end + 1 > a.NextLine) StartReader(run, isNew, a, end);
  while (a.Count > 0 && a.Lines[a.Slot(0)] <= first) { // before the table: done with
    a.Head = a.Slot(1);
    --a.Count;
  }
  a.InTable = 0;
  while (a.InTable < a.Count && a.Lines[a.Slot(a.InTable)] <= end) ++a.InTable;

  const int last = !ctl.PcmpActive ? 0 : isNew ? ctl.PcmpNewLast : ctl.PcmpOldLast;
  auto more = [&] {
    return a.Count - a.InTable < static_cast<size_t>(LookAheadLines) && (last == 0 || a.NextLine <= last);
  };
  if (more()) {
    TCompareFile& r = a.Reader;
    RepositionFile(r, r.FileOffset);
    TLineEntry e;
    while (more()) {
      ReadLine(r, ctl);
      if (r.AtEof) break;
      KeyLineRead(run, r, e, a.Text.data());
      if (!e.NotProcessed) Push(a, KeyFingerprint(e), a.NextLine);
      ++a.NextLine;
    }
  }

  // The triples that start in the table; the last two run on into the lines
  // read ahead. When the reader read the whole table, the ring holds them.
  TTripleSet& set = a.TableTriples;
  set.Clear(static_cast<size_t>(f.PassLines));
  if (a.FirstLine <= first + 1) {
    for (size_t i = 0; i < a.InTable && a.Triples[a.Slot(i)] != 0; ++i)
      set.Add(a.Triples[a.Slot(i)], a.Lines[a.Slot(i)] - first);
    return;
  }
  const TLineTable& table = run.Lines(isNew);
  std::vector<std::pair<uint64_t, int>> lines; // fingerprint and entry; entry 0 past the table
  for (int k = 1; k <= f.PassLines; ++k)
    if (!table[k].NotProcessed) lines.emplace_back(KeyFingerprint(table[k]), k);
  for (size_t i = a.InTable; i < a.InTable + 2 && i < a.Count; ++i) lines.emplace_back(a.Keys[a.Slot(i)], 0);
  for (size_t i = 0; i + 2 < lines.size() && lines[i].second != 0; ++i)
    set.Add(TripleKey(lines[i].first, lines[i + 1].first, lines[i + 2].first), lines[i].second);
}

/// A meeting point: NEW and OLD entries in the pass's numbering, and a + b.
struct TMeeting {
  int New = 0, Old = 0;
  int Sum = INT_MAX;
};

/// The nearest meeting of the lines read ahead of one file with the triples
/// of the other file's table. firstLine is the PassFirstLine of the file
/// read ahead.
TMeeting Probe(const TAheadFile& ahead, int firstLine, const TTripleSet& other, bool aheadIsNew) {
  TMeeting best;
  for (size_t i = ahead.InTable; i < ahead.Count; ++i) {
    const size_t s = ahead.Slot(i);
    const int at = ahead.Lines[s] - firstLine;
    // Every later point lies farther; the last two lines start no triple.
    if (ahead.Triples[s] == 0 || at + 1 >= best.Sum) break;
    const int entry = other.Find(ahead.Triples[s]);
    if (entry == 0 || at + entry >= best.Sum) continue;
    best = aheadIsNew ? TMeeting{at, entry, at + entry} : TMeeting{entry, at, at + entry};
  }
  return best;
}

} // namespace

bool LookAhead(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  const TCompareFile& nf = *run.New;
  const TCompareFile& of = *run.Old;
  if (ctl.LastPass || run.App.UserStop || nf.PassLines == 0 || of.PassLines == 0) return false;
  for (int k = 1; k <= nf.PassLines; ++k)
    if (run.NewLines[k].Matched) return false;

  if (!run.Ahead) run.Ahead = std::make_unique<TLookAhead>();
  TLookAhead& ahead = *run.Ahead;
  // The lines are read as the read phase reads them (a TAB is a blank).
  ctl.ReadingInput = true;
  run.ForBothFiles([&](bool isNew, bool) { ReadAhead(run, isNew, ahead.File(isNew)); });
  ctl.ReadingInput = false;

  // Both tables hold lines and no equal pair: a meeting point lies past the
  // end of at least one of them. Each file's lines read ahead are looked for
  // in the other file's table.
  TMeeting found[2];
  run.ForBothFiles([&](bool isNew, bool) {
    const TAheadFile& mine = ahead.File(isNew);
    found[isNew] = Probe(mine, run.File(isNew).PassFirstLine, ahead.File(!isNew).TableTriples, isNew);
  });
  const TMeeting& best = found[1].Sum <= found[0].Sum ? found[1] : found[0];
  if (best.Sum == INT_MAX) return false;
  return CutPass(run, std::min(best.New - 1, nf.PassLines), std::min(best.Old - 1, of.PassLines));
}

} // namespace quorlin
