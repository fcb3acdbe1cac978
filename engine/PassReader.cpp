#include "engine/PassReader.h"

#include "engine/DpFilters.h"
#include "engine/LineReader.h"
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <cstdio>
#include <cstring>

namespace quorlin {

namespace {

/// Stores the line just read into entry k of its table; with keepRaw a
/// second copy stays as read for the listing.
void StoreLine(TLineTable& table, const TCompareFile& f, int k, bool keepRaw) {
  TLineEntry& e = table[k];
  e.FileOffset = f.FileOffset;
  e.TextLen = static_cast<int16_t>(f.LineLen);
  e.Text = table.NewText(f.LineLen);
  std::memcpy(e.Text, f.LineBuf.get(), static_cast<size_t>(f.LineLen));
  if (keepRaw) {
    e.OrigText = table.NewText(f.LineLen);
    std::memcpy(e.OrigText, f.LineBuf.get(), static_cast<size_t>(f.LineLen));
  }
}

void ExtractColumns(TCompareFile& f, TLineEntry& e, int& shortCount);

/// Read-time filters and compare columns of a freshly stored line of file f
/// (the line still in f's LineBuf); a line shorter than the first compare
/// column is counted in shortCount.
void ClassifyLine(const TCompareRun& run, TCompareFile& f, TLineEntry& e, int& shortCount) {
  const TCompareCtl& ctl = run.Ctl;
  if (ctl.DpDcob && e.TextLen >= 7 && e.Text[6] == '*')
    e.NotProcessed = true;
  else if (ctl.DlnActive)
    ApplyDln(run.App.DlnConditions, e, ctl.OptIcas);
  if (ctl.CcolActive && !e.NotProcessed) ExtractColumns(f, e, shortCount);
}

void ClassifyStoredLine(TCompareRun& run, bool isNew, TLineEntry& e) {
  ClassifyLine(run, run.File(isNew), e, isNew ? run.Ctl.NewColShortCount : run.Ctl.OldColShortCount);
}

/// The preparation of one classified line of file f: the comment rule (with
/// f's carry flags), the string-only filters and the compare key, with its
/// hash when hash is set.
void PrepareLine(const TCompareCtl& ctl, TCompareFile& f, TLineEntry& e, bool hash) {
  if (ctl.DpActive) {
    e.CarryIn = SaveCarry(f);
    if (!e.NotProcessed) ApplyDpOption(ctl, f, e, CompareTextLen(ctl, e));
  }
  if (ctl.DpsActive && !e.NotProcessed) ApplyDps(ctl, e);
  if (!e.NotProcessed) MakeKey(ctl, e);
  if (!e.NotProcessed && hash) e.Hash = KeyHash(e.Text, e.KeyLen);
}

} // namespace

void KeyLineRead(const TCompareRun& run, TCompareFile& f, TLineEntry& e, char* scratch) {
  e = TLineEntry{};
  e.TextLen = static_cast<int16_t>(f.LineLen);
  // The compare columns are copied out of the line; anything else works on
  // the line in place.
  e.Text = run.Ctl.CcolActive ? scratch : f.LineBuf.get();
  int shortCount = 0; // lines read ahead are counted when their pass reads them
  ClassifyLine(run, f, e, shortCount);
  PrepareLine(run.Ctl, f, e, false);
}

bool ReadPairDiffers(const TCompareRun& run, const TLineEntry& ne, const TLineEntry& oe) {
  const TCompareFile& nf = *run.New;
  const TCompareFile& of = *run.Old;
  if (nf.AtEof) return true;
  // A don't-process line on one side only is a difference; a pair of them is
  // identical only when the lines themselves are.
  if (ne.NotProcessed != oe.NotProcessed) return true;
  if (!run.Ctl.CcolActive || ne.NotProcessed) {
    return nf.LineLen != of.LineLen || nf.LineLen == 0 ||
           std::memcmp(nf.LineBuf.get(), of.LineBuf.get(), static_cast<size_t>(nf.LineLen)) != 0;
  }
  return ne.ColLen != oe.ColLen ||
         std::memcmp(ne.Text, oe.Text, static_cast<size_t>(ne.ColLen)) != 0;
}

namespace {

/// Reads up to MaxPassLines lines of one file into its table (the read phase
/// of one file on its own). Progress is shown only when progress is set;
/// the stop request is polled only then, as only that thread may read it.
int ReadFileLines(TCompareRun& run, bool isNew, bool progress) {
  const TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& f = run.File(isNew);
  TLineTable& table = run.Lines(isNew);
  const int last = isNew ? ctl.PcmpNewLast : ctl.PcmpOldLast;
  int c = 0;
  while (!f.AtEof) {
    if (ctl.PcmpActive && last > 0 && f.LinesDone + c >= last) {
      f.AtEof = true;
      break;
    }
    if (c >= MaxPassLines) break;
    ReadLine(f, ctl);
    if (f.AtEof) break;
    ++c;
    StoreLine(table, f, c, run.RawKept);
    ClassifyStoredLine(run, isNew, table[c]);
    if (progress) {
      if (c % 500 == 0 && app.ProgressOn)
        app.Progress("Read Input Processing " + app.JobLabel + Printf("PassCt=%d  Line = %d", run.PassCt, f.LinesRead));
      if (app.UserStop) break;
    }
  }
  return c;
}

} // namespace

bool StoredPairDiffers(const TCompareCtl& ctl, const TLineEntry& ne, const TLineEntry& oe) {
  if (ne.NotProcessed != oe.NotProcessed) return true;
  if (!ctl.CcolActive || ne.NotProcessed)
    return ne.TextLen != oe.TextLen || std::memcmp(ne.Text, oe.Text, static_cast<size_t>(ne.TextLen)) != 0;
  return ne.ColLen != oe.ColLen || std::memcmp(ne.Text, oe.Text, static_cast<size_t>(ne.ColLen)) != 0;
}

void SkipPartCompareLines(TCompareFile& f, const TCompareCtl& ctl, int first) {
  for (int dropped = 0; dropped < first - 1; ++dropped) {
    ReadLine(f, ctl);
    if (f.AtEof) break;
    ++f.LinesDone;
  }
}

namespace {

void ExtractColumns(TCompareFile& f, TLineEntry& e, int& shortCount) {
  const int len = f.LineLen;
  const char* line = f.LineBuf.get();
  const auto& col = f.Col;
  if (len < col[0].First) {
    f.ColTooShort = true;
    e.ColShort = true;
    e.ColLen = 1;
    e.Text[0] = ' ';
    ++shortCount;
    return;
  }
  int n = 0;
  auto copy = [&](int first, int last) { // 1-based, inclusive
    int count = last - first + 1;
    if (count > 0) {
      std::memcpy(e.Text + n, line + first - 1, static_cast<size_t>(count));
      n += count;
    }
  };
  if (col[0].ToEol) {
    copy(col[0].First, len);
  } else {
    copy(col[0].First, std::min(len, col[0].Last));
    for (size_t r = 1; r < col.size(); ++r) {
      if (!col[r].On || col[r].First > len) break;
      copy(col[r].First, col[r].ToEol ? len : std::min(len, col[r].Last));
      if (col[r].ToEol) break;
    }
  }
  e.ColLen = static_cast<int16_t>(n);
  if (n > f.LongestKey) f.LongestKey = n;
}

} // namespace

bool ColonWord(std::string_view text, const char* word) {
  size_t colon = text.find(':');
  if (colon == std::string_view::npos || text.size() < colon + 4) return false;
  for (size_t i = 0; i < 3; ++i) {
    char ch = text[colon + 1 + i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != word[i]) return false;
  }
  return true;
}

int IntOrZero(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return 0;
  return value;
}

void RepositionFiles(TCompareRun& run) {
  for (TCompareFile* f : {run.New.get(), run.Old.get()})
    RepositionFile(*f, run.Ctl.ReadingInput ? f->FileOffset : f->PassStartOffset);
}

namespace {

/// The read phase proper: up to MaxPassLines lines of each file into the
/// line tables (c NEW lines, d OLD lines), noting whether the pass differs.
void ReadPassLines(TCompareRun& run, int& c, int& d) {
  TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  while (!(nf.AtEof && of.AtEof) && !app.UserStop) {
    if (ctl.PcmpActive && ctl.PcmpNewLast > 0 && nf.LinesDone + c >= ctl.PcmpNewLast)
      nf.AtEof = true;
    else if (c >= MaxPassLines)
      break;
    if (!nf.AtEof) {
      ReadLine(nf, ctl);
      if (!nf.AtEof) {
        ++c;
        StoreLine(run.NewLines, nf, c, run.RawKept);
        ClassifyStoredLine(run, true, run.NewLines[c]);
        if (c % 500 == 0 && app.ProgressOn)
          app.Progress("Read Input Processing " + app.JobLabel +
                       Printf("PassCt=%d  Line = %d", run.PassCt, nf.LinesRead));
      }
    }
    if (app.UserStop) break;

    if (ctl.PcmpActive && ctl.PcmpOldLast > 0 && of.LinesDone + d >= ctl.PcmpOldLast)
      of.AtEof = true;
    else if (d >= MaxPassLines)
      break;
    if (!of.AtEof) {
      ReadLine(of, ctl);
      if (!of.AtEof) {
        ++d;
        StoreLine(run.OldLines, of, d, run.RawKept);
        ClassifyStoredLine(run, false, run.OldLines[d]);
        if (nf.AtEof && d % 500 == 0 && app.ProgressOn)
          app.Progress("Read Input Processing " + app.JobLabel +
                       Printf("PassCt=%d  Line = %d ", run.PassCt, of.LinesRead));
        if (!ctl.FilesDiffer && (c != d || ReadPairDiffers(run, run.NewLines[c], run.OldLines[d])))
          ctl.FilesDiffer = true;
      }
    }
  }
}

/// The read phase of two identical files: the NEW file is left where the
/// counting found this pass to end, and the OLD file, whose bytes are the
/// same, where the NEW file is. Only the last line's entry is filled: the
/// pass loop resumes from its offset and the statistics read it. Returns the
/// lines of the pass.
int CountPassLines(TCompareRun& run) {
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  const size_t pass = static_cast<size_t>(run.PassCt - 1);
  const TCountedPass none{0, nf.FileOffset, nf.LinesRead, nf.LongestLine, 0, true, false, nf.EmbeddedEof, nf.LineSplit};
  const TCountedPass& counted = pass < run.CountedPasses.size() ? run.CountedPasses[pass] : none;
  ApplyCountedPass(nf, counted);
  ApplyCountedPass(of, counted);
  run.NewLines[counted.Lines].FileOffset = nf.FileOffset;
  run.OldLines[counted.Lines].FileOffset = of.FileOffset;
  return counted.Lines;
}

} // namespace

void ReadPass(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;

  ctl.ReadingInput = true;
  // A count-only pass takes its files' state from the counting.
  if (!run.CountOnly) RepositionFiles(run);
  const bool firstPass = run.PassCt <= 1;
  if (ctl.PcmpActive && firstPass) {
    SkipPartCompareLines(nf, ctl, ctl.PcmpNewFirst);
    SkipPartCompareLines(of, ctl, ctl.PcmpOldFirst);
    nf.PassFirstLine = nf.LinesDone;
    of.PassFirstLine = of.LinesDone;
  }
  if (firstPass) {
    nf.PcmpStartOffset = nf.FileOffset;
    of.PcmpStartOffset = of.FileOffset;
  }
  nf.PassStartOffset = nf.FileOffset;
  of.PassStartOffset = of.FileOffset;
  run.NewLines.Clear();
  run.OldLines.Clear();

  int c = 0, d = 0;
  run.RawKept = !ctl.OptXtab && !run.CountOnly;
  if (run.CountOnly) {
    c = d = CountPassLines(run);
  } else if (run.Worker) {
    // The two files side by side: OLD on the worker, NEW here.
    run.Worker->Start([&] { d = ReadFileLines(run, false, false); });
    c = ReadFileLines(run, true, true);
    run.Worker->Wait();
    for (int k = 1; k <= std::min(c, d) && !ctl.FilesDiffer; ++k)
      if (StoredPairDiffers(ctl, run.NewLines[k], run.OldLines[k])) ctl.FilesDiffer = true;
  } else {
    ReadPassLines(run, c, d);
  }
  // Entries written: 1 to c and the sentinel (a count-only pass writes
  // only the last line's entry).
  for (TLineTable* table : {&run.NewLines, &run.OldLines}) {
    table->Touch(run.CountOnly ? c : 1);
    table->Touch((table == &run.NewLines ? c : d) + 1);
  }

  nf.PassLines = nf.PassLinesLimit = c;
  of.PassLines = of.PassLinesLimit = d;
  ctl.NewPassLines = c;
  ctl.OldPassLines = d;
  TLineEntry& ns = run.NewLines[c + 1];
  ns.SetStart = true;
  ns.Partner = d + 1;
  TLineEntry& os = run.OldLines[d + 1];
  os.SetStart = true;
  os.Partner = c + 1;
  if (c != d) ctl.FilesDiffer = true;
  if (nf.AtEof && of.AtEof) ctl.LastPass = true;
  ctl.ReadingInput = false;
}

namespace {

/// SqueezeBlanks without the final padding: moves the non-blanks of
/// text[i, length) down to text[n, ...) and returns the new n.
int SqueezeTail(char* text, int i, int n, int length) {
  for (; i < length; ++i) {
    const char c = text[i];
    text[n] = c; // n never passes i, so no unread byte is overwritten
    n += c != ' ';
  }
  return n;
}

#if defined(__x86_64__) || defined(__i386__)
/// For each mask of blanks among eight bytes (bit k: byte k is a blank), the
/// shuffle that moves the other bytes to the front in order.
struct TCompressTable {
  alignas(16) uint8_t Shuffle[256][8];
  uint8_t Kept[256];
  TCompressTable() {
    for (int m = 0; m < 256; ++m) {
      int k = 0;
      for (int b = 0; b < 8; ++b)
        if (!(m & (1 << b))) Shuffle[m][k++] = static_cast<uint8_t>(b);
      Kept[m] = static_cast<uint8_t>(k);
      for (; k < 8; ++k) Shuffle[m][k] = 0x80;
    }
  }
};
const TCompressTable CompressTable;

__attribute__((target("ssse3"))) int SqueezeSsse3(char* text, int length) {
  const __m128i blanks = _mm_set1_epi8(' ');
  const __m128i eight = _mm_set1_epi8(8);
  int n = 0, i = 0;
  for (; i + 16 <= length; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, blanks)));
    if (mask == 0xFFFF) continue;
    if (mask == 0) { // stores stay below i + 16: every byte there is already loaded
      _mm_storeu_si128(reinterpret_cast<__m128i*>(text + n), v);
      n += 16;
      continue;
    }
    const unsigned lo = mask & 0xFF, hi = mask >> 8;
    __m128i lowShuffle = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(CompressTable.Shuffle[lo]));
    __m128i highShuffle = _mm_add_epi8(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(CompressTable.Shuffle[hi])), eight);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(text + n), _mm_shuffle_epi8(v, lowShuffle));
    n += CompressTable.Kept[lo];
    _mm_storel_epi64(reinterpret_cast<__m128i*>(text + n), _mm_shuffle_epi8(v, highShuffle));
    n += CompressTable.Kept[hi];
  }
  return SqueezeTail(text, i, n, length);
}

const bool HasSsse3 = __builtin_cpu_supports("ssse3");
#endif

} // namespace

int SqueezeBlanks(char* text, int length, int* kept) {
#if defined(__x86_64__) || defined(__i386__)
  int n = HasSsse3 ? SqueezeSsse3(text, length) : SqueezeTail(text, 0, 0, length);
#else
  int n = SqueezeTail(text, 0, 0, length);
#endif
  if (kept) *kept = n;
  if (n == 0) {
    text[0] = 0;
    text[1] = 0;
    return 1;
  }
  if (n & 1) text[n++] = 0;
  return n;
}

uint16_t KeyHash(const char* key, int keyLen) {
  const auto* p = reinterpret_cast<const unsigned char*>(key);
  const int words = (keyLen + 1) / 2;
  // Four 16-bit words at a time, summed in two 32-bit lanes each; a key of at
  // most 2048 bytes cannot overflow a lane.
  uint64_t even = 0, odd = 0;
  int w = 0;
  for (; w + 4 <= words; w += 4) {
    uint64_t v;
    std::memcpy(&v, p + 2 * w, 8);
    even += v & 0x0000FFFF0000FFFFull;
    odd += (v >> 16) & 0x0000FFFF0000FFFFull;
  }
  uint32_t sum = static_cast<uint32_t>(even) + static_cast<uint32_t>(even >> 32) +
                 static_cast<uint32_t>(odd) + static_cast<uint32_t>(odd >> 32);
  for (; w < words; ++w) sum += p[2 * w] + 256u * p[2 * w + 1];
  auto hash = static_cast<uint16_t>(sum & 0xFFFF);
  return hash == 0 ? 65535 : hash;
}

namespace {

/// PreparePass for one file; progress is shown only when progress is set.
void PrepareFileLines(TCompareRun& run, bool isNew, bool progress) {
  const TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& f = run.File(isNew);
  TLineTable& table = run.Lines(isNew);
  for (int k = 1; k <= f.PassLines; ++k) {
    if (progress && k % 400 == 0 && app.ProgressOn)
      app.Progress(app.JobLabel + Printf(isNew ? "PassCt=%d Processing New File Line = %d up to Line = %d"
                                               : "PassCt=%d  Processing Old File Line = %d up to Line = %d",
                                         run.PassCt, f.LinesRead, f.PassFirstLine + k));
    PrepareLine(ctl, f, table[k], true);
  }
}

} // namespace

void PreparePass(TCompareRun& run) {
  run.ForBothFiles([&](bool isNew, bool progress) { PrepareFileLines(run, isNew, progress); });
}

void PrepareKey(const TCompareCtl& ctl, TLineEntry& e) {
  MakeKey(ctl, e);
  e.Hash = KeyHash(e.Text, e.KeyLen);
}

void MakeKey(const TCompareCtl& ctl, TLineEntry& e) {
  if (ctl.OptIcas) LowerCaseBytes(e.Text, e.TextLen);
  int kept = 0;
  e.KeyLen = static_cast<int16_t>(SqueezeBlanks(e.Text, ctl.CcolActive ? e.ColLen : e.TextLen, &kept));
  e.KeyPadded = kept % 2 == 1;
  e.KeyIsText = !ctl.OptIcas && !ctl.CcolActive && !e.PartDp && kept == e.TextLen;
}

void ExtractColumnsNew(TCompareRun& run, TLineEntry& entry) {
  ExtractColumns(*run.New, entry, run.Ctl.NewColShortCount);
}

void ExtractColumnsOld(TCompareRun& run, TLineEntry& entry) {
  ExtractColumns(*run.Old, entry, run.Ctl.OldColShortCount);
}

namespace {

bool IsEmptyText(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

/// Reads the ranges of one file. Returns false when a given range is invalid.
bool ReadRanges(const std::array<std::string, 4>& texts, std::array<TColRange, 4>& col) {
  col = {};
  const std::string& t1 = texts[0];
  size_t colon = t1.find(':');
  int first = IntOrZero(std::string_view(t1).substr(0, colon));
  int last = IntOrZero(std::string_view(t1).substr(colon + 1));
  if (first <= 0) return true; // range 1 not on: rejected by the caller
  if (ColonWord(t1, "eol")) {
    col[0] = {true, first, 0, true};
    return true;
  }
  if (first > last) return true;
  col[0] = {true, first, last, false};

  // Further ranges, each only after a range that ended at a last column. A
  // range 2 is read when its text has a ":" and a first column above 0,
  // ranges 3 and 4 when their text has a ":"; a range read must then be
  // valid. The first range not read ends the list.
  for (size_t r = 1; r < 4; ++r) {
    const std::string& t = texts[r];
    const size_t c = t.find(':');
    if (IsEmptyText(t) || c == std::string::npos) break;
    const int f = IntOrZero(std::string_view(t).substr(0, c));
    if (r == 1 && f <= 0) break;
    const int prevLast = col[r - 1].Last;
    if (f <= prevLast) return false;
    if (ColonWord(t, "eol")) {
      col[r] = {true, f, 0, true};
      break;
    }
    const int l = IntOrZero(std::string_view(t).substr(c + 1));
    // Range 2 must span at least two columns; ranges 3 and 4 may be one column.
    const bool ok = r == 1 ? f < l : l >= f;
    if (!ok) return false;
    col[r] = {true, f, l, false};
  }
  return true;
}

} // namespace

void SetupColumns(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  const TOptionControls& controls = run.App.Controls;
  bool bad = controls.PrEdCcolNw[0].find(':') == std::string::npos ||
             controls.PrEdCcolOd[0].find(':') == std::string::npos;
  if (!bad) bad = !ReadRanges(controls.PrEdCcolNw, run.New->Col);
  if (!bad) bad = !ReadRanges(controls.PrEdCcolOd, run.Old->Col);
  if (!bad) bad = !run.New->Col[0].On || !run.Old->Col[0].On;
  if (bad) {
    ctl.CcolBad = true;
    ctl.RunResult = 1;
    return;
  }
  ctl.CcolActive = true;
}

} // namespace quorlin
