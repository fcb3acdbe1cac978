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

uint64_t KeyFingerprint(const TLineEntry& e) {
  const uint64_t h = std::hash<std::string_view>{}(std::string_view(e.Text, static_cast<size_t>(e.KeyLen)));
  // A padded key and the same bytes ending in a real zero are different lines.
  return e.KeyPadded ? h ^ 0x9E3779B97F4A7C15ull : h;
}

uint64_t TripleKey(uint64_t a, uint64_t b, uint64_t c) {
  uint64_t h = a * 0x9E3779B97F4A7C15ull;
  h = (h ^ (h >> 29) ^ b) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 32) ^ c) * 0x94D049BB133111EBull;
  h ^= h >> 31;
  return h == 0 ? 1 : h;
}

void TTripleSet::Build(const TLineTable& table, int count, const std::deque<TAheadLine>& ahead) {
  Sequence.clear();
  for (int k = 1; k <= count; ++k)
    if (!table[k].NotProcessed) Sequence.emplace_back(KeyFingerprint(table[k]), k);
  for (size_t i = 0; i < 2 && i < ahead.size(); ++i) Sequence.emplace_back(ahead[i].Key, 0);
  size_t slots = 16;
  while (slots < 2 * Sequence.size()) slots *= 2;
  Keys.assign(slots, 0);
  Entries.assign(slots, 0);
  Mask = slots - 1;
  // Entry 0 marks a line read ahead: a triple starts in the table.
  for (size_t i = 0; i + 2 < Sequence.size() && Sequence[i].second != 0; ++i) {
    const uint64_t key = TripleKey(Sequence[i].first, Sequence[i + 1].first, Sequence[i + 2].first);
    size_t s = key & Mask;
    while (Keys[s] != 0 && Keys[s] != key) s = (s + 1) & Mask;
    if (Keys[s] == 0) { // the first entry that starts the triple stays
      Keys[s] = key;
      Entries[s] = Sequence[i].second;
    }
  }
}

int TTripleSet::Find(uint64_t key) const {
  for (size_t s = key & Mask; Keys[s] != 0; s = (s + 1) & Mask)
    if (Keys[s] == key) return Entries[s];
  return 0;
}

namespace {

/// Brings the look-ahead of one file up to LookAheadLines processed lines
/// past the end of the current pass's table. Lines read ahead by earlier
/// passes are kept when the table ends inside or just before them; otherwise
/// the reader starts again after the table, in the comment state the pass
/// left the file in.
void ReadAhead(TCompareRun& run, bool isNew, TAheadFile& ahead) {
  const TCompareCtl& ctl = run.Ctl;
  const TCompareFile& f = run.File(isNew);
  TCompareFile& r = ahead.Reader;
  const int end = f.PassFirstLine + f.PassLines; // the table's last line
  if (ahead.NextLine == 0 || end + 1 < ahead.FirstLine || end + 1 > ahead.NextLine) {
    if (!r.ReadBuf) {
      AllocateBuffers(r);
      ahead.Text.resize(MaxLineLen + 4);
    }
    r.IsNew = isNew;
    r.Stream = f.Stream;
    r.Col = f.Col;
    r.ReadFailed = false;
    RestoreCarry(r, SaveCarry(f));
    r.FileOffset = f.PassLines > 0 ? run.Lines(isNew)[f.PassLines].FileOffset : f.PassStartOffset;
    ahead.Lines.clear();
    ahead.FirstLine = ahead.NextLine = end + 1;
  }
  while (!ahead.Lines.empty() && ahead.Lines.front().Line <= end) ahead.Lines.pop_front();
  const int last = !ctl.PcmpActive ? 0 : isNew ? ctl.PcmpNewLast : ctl.PcmpOldLast;
  if (ahead.Lines.size() >= static_cast<size_t>(LookAheadLines) || (last > 0 && ahead.NextLine > last)) return;
  RepositionFile(r, r.FileOffset);
  TLineEntry e;
  e.Text = ahead.Text.data();
  while (ahead.Lines.size() < static_cast<size_t>(LookAheadLines) && (last == 0 || ahead.NextLine <= last)) {
    ReadLine(r, ctl);
    if (r.AtEof) break;
    KeyLineRead(run, r, e);
    if (!e.NotProcessed) ahead.Lines.push_back({KeyFingerprint(e), ahead.NextLine});
    ++ahead.NextLine;
  }
}

/// A meeting point: NEW and OLD entries in the pass's numbering.
struct TMeeting {
  int New = 0, Old = 0;
};

/// Looks for the lines read ahead of one file among the triples of the other
/// file's table; keeps in best the meeting with the least a + b (bestSum).
/// firstLine is the PassFirstLine of the file read ahead.
void Probe(const TAheadFile& ahead, int firstLine, const TTripleSet& other, bool aheadIsNew, TMeeting& best,
           int& bestSum) {
  const std::deque<TAheadLine>& lines = ahead.Lines;
  for (size_t i = 0; i + 2 < lines.size(); ++i) {
    const int at = lines[i].Line - firstLine;
    if (at + 1 >= bestSum) break; // every later point lies farther
    const int entry = other.Find(TripleKey(lines[i].Key, lines[i + 1].Key, lines[i + 2].Key));
    if (entry == 0 || at + entry >= bestSum) continue;
    bestSum = at + entry;
    best = aheadIsNew ? TMeeting{at, entry} : TMeeting{entry, at};
  }
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
  // end of at least one of them.
  ahead.NewTriples.Build(run.NewLines, nf.PassLines, ahead.New.Lines);
  ahead.OldTriples.Build(run.OldLines, of.PassLines, ahead.Old.Lines);
  TMeeting best;
  int bestSum = INT_MAX;
  Probe(ahead.New, nf.PassFirstLine, ahead.OldTriples, true, best, bestSum);
  Probe(ahead.Old, of.PassFirstLine, ahead.NewTriples, false, best, bestSum);
  if (bestSum == INT_MAX) return false;
  return CutPass(run, std::min(best.New - 1, nf.PassLines), std::min(best.Old - 1, of.PassLines));
}

} // namespace quorlin
