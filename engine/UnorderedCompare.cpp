#include "engine/UnorderedCompare.h"

#include "engine/DpFilters.h"
#include "engine/LineReader.h"
#include "engine/Matcher.h"
#include "engine/PassReader.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

namespace quorlin {

namespace {

constexpr int ClncProgressEvery = 2000;

/// Appends the line just read to list as a new item: OrigText holds the raw
/// line, and so does Text, which shares its buffer until the key would
/// change it (compare columns take a copy at once, ClncPrepare the others);
/// Dln, the blank-line rule and the compare columns follow.
void StoreClncLine(TCompareRun& run, bool isNew) {
  TCompareFile& f = run.File(isNew);
  TClncList& list = isNew ? *run.NewList : *run.OldList;
  const TCompareCtl& ctl = run.Ctl;
  TLineEntry& e = list.Items.emplace_back();
  const size_t len = static_cast<size_t>(f.LineLen);
  e.FileOffset = static_cast<uint32_t>(f.FileOffset);
  e.TextLen = static_cast<int16_t>(f.LineLen);
  e.OrigText = list.NewText(f.LineLen);
  std::memcpy(e.OrigText, f.LineBuf.get(), len);
  e.Text = e.OrigText;
  if (ctl.CcolActive) {
    e.Text = list.NewText(f.LineLen);
    std::memcpy(e.Text, f.LineBuf.get(), len);
  }
  if (ctl.DlnActive) ApplyDln(run.App.DlnConditions, e, ctl.OptIcas);
  if (e.NotProcessed) return;
  if (std::string_view(e.Text, len).find_first_not_of(' ') == std::string_view::npos) {
    e.BlankLine = true;
    e.NotProcessed = true;
  } else if (ctl.CcolActive) {
    if (isNew)
      ExtractColumnsNew(run, e);
    else
      ExtractColumnsOld(run, e);
  }
}

/// Whether making the key rewrites any of the line's bytes: blanks are
/// squeezed out, and Icas folds capitals. (The padding byte of an odd key
/// goes after the line's bytes.)
bool KeyChangesText(const TCompareCtl& ctl, const TLineEntry& e) {
  const std::string_view text(e.Text, static_cast<size_t>(e.TextLen));
  if (text.find(' ') != std::string_view::npos) return true;
  if (!ctl.OptIcas) return false;
  for (char ch : text)
    if (ch >= 'A' && ch <= 'Z') return true;
  return false;
}

/// A full hash of the key bytes, so that chains stay short however many
/// lines the lists hold.
inline size_t KeyHash64(const TLineEntry& e) {
  return std::hash<std::string_view>{}(std::string_view(e.Text, static_cast<size_t>(e.KeyLen)));
}

/// Makes the key of line k of list (Dps first) and returns its full hash;
/// 0 for a line that is not processed.
uint64_t PrepareClncLine(const TCompareCtl& ctl, TClncList& list, int k) {
  TLineEntry& e = list[k];
  if (ctl.DpsActive && !e.NotProcessed) ApplyDps(ctl, e);
  if (e.NotProcessed) return 0;
  if (e.Text == e.OrigText && KeyChangesText(ctl, e)) {
    e.Text = list.NewText(e.TextLen);
    std::memcpy(e.Text, e.OrigText, static_cast<size_t>(e.TextLen));
  }
  PrepareKey(ctl, e);
  return KeyHash64(e);
}

/// Reads the whole of one file into its list, with prepare making each
/// line's key while it is at hand; progress (and the stop
/// request) only when progress is set, as only that thread may show it.
int ClncReadFile(TCompareRun& run, bool isNew, bool progress, bool prepare) {
  const TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& f = run.File(isNew);
  TClncList& list = isNew ? *run.NewList : *run.OldList;
  list.Prepared = prepare;
  if (prepare) list.KeyHashes.assign(1, 0);
  const int last = isNew ? ctl.PcmpNewLast : ctl.PcmpOldLast;
  int c = 0;
  while (!f.AtEof) {
    if (ctl.PcmpActive && last > 0 && f.LinesDone + c >= last) {
      f.AtEof = true;
      break;
    }
    ReadLine(f, ctl);
    if (f.AtEof) break;
    ++c;
    StoreClncLine(run, isNew);
    if (prepare) list.KeyHashes.push_back(PrepareClncLine(ctl, list, c));
    if (progress) {
      if ((c == 1 || c % ClncProgressEvery == 0) && app.ProgressOn) {
        app.RunProgress = {1, c, f.FileOffset, f.Size};
        app.Progress("Read Input Processing " + Printf("Line = %d.", f.LinesRead));
      }
      if (app.UserStop) break;
    }
  }
  return c;
}

/// Whether two lines of the lists differ as the read phase sees them: by
/// their texts as read, or with compare columns by their columns. A line's
/// key may already be made in Text; the text as read stays in OrigText.
bool ClncPairDiffers(const TCompareCtl& ctl, const TLineEntry& n, const TLineEntry& o) {
  if (ctl.CcolActive) return StoredPairDiffers(ctl, n, o);
  return n.NotProcessed != o.NotProcessed || n.TextLen != o.TextLen ||
         std::memcmp(n.OrigText, o.OrigText, static_cast<size_t>(n.TextLen)) != 0;
}

/// ClncPrepare for one list.
void ClncPrepareList(TCompareRun& run, bool isNew, bool progress) {
  const TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TClncList& list = isNew ? *run.NewList : *run.OldList;
  const int count = list.Count();
  list.KeyHashes.resize(static_cast<size_t>(count) + 2, 0);
  list.KeyHashes.shrink_to_fit(); // grown while reading, up to twice the lines
  if (list.Prepared) return;
  for (int k = 1; k <= count; ++k) {
    if (progress) {
      if (app.UserStop) return;
      if ((k == 1 || k % ClncProgressEvery == 0) && app.ProgressOn)
        app.Progress("Processing Data " +
                     Printf(isNew ? "New File Line = %d  UpTo Line = %d ." : "Old File Line = %d  UpTo Line = %d .",
                            k, count));
    }
    list.KeyHashes[static_cast<size_t>(k)] = PrepareClncLine(ctl, list, k);
  }
}

} // namespace

void ClncRead(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  run.NewList = std::make_unique<TClncList>();
  run.OldList = std::make_unique<TClncList>();
  TClncList& nl = *run.NewList;
  TClncList& ol = *run.OldList;

  ctl.ReadingInput = true;
  RepositionFiles(run);
  if (ctl.PcmpActive) {
    SkipPartCompareLines(nf, ctl, ctl.PcmpNewFirst);
    SkipPartCompareLines(of, ctl, ctl.PcmpOldFirst);
    nf.PassFirstLine = nf.LinesDone;
    of.PassFirstLine = of.LinesDone;
  }
  for (TCompareFile* f : {&nf, &of}) f->PcmpStartOffset = f->PassStartOffset = f->FileOffset;
  nl.Items.emplace_back();
  ol.Items.emplace_back();

  int c = 0, d = 0;
  if (run.Worker) {
    // The two files side by side: OLD on the worker, NEW here. Each line's
    // key is made as it is read, but not with compare columns: the check
    // below compares the columns, which making the key squeezes in place.
    const bool prepare = !ctl.CcolActive;
    run.Worker->Start([&] { d = ClncReadFile(run, false, false, prepare); });
    c = ClncReadFile(run, true, true, prepare);
    run.Worker->Wait();
    for (int k = 1; k <= std::min(c, d) && !ctl.FilesDiffer; ++k)
      if (ClncPairDiffers(ctl, nl[k], ol[k])) ctl.FilesDiffer = true;
  }
  while (!run.Worker && !(nf.AtEof && of.AtEof) && !app.UserStop) {
    if (ctl.PcmpActive && ctl.PcmpNewLast > 0 && nf.LinesDone + c >= ctl.PcmpNewLast) nf.AtEof = true;
    if (!nf.AtEof) {
      ReadLine(nf, ctl);
      if (!nf.AtEof) {
        ++c;
        StoreClncLine(run, true);
        if ((c == 1 || c % ClncProgressEvery == 0) && app.ProgressOn)
          app.Progress("Read Input Processing " + Printf("Line = %d.", nf.LinesRead));
      }
    }
    if (app.UserStop) break;
    if (ctl.PcmpActive && ctl.PcmpOldLast > 0 && of.LinesDone + d >= ctl.PcmpOldLast) of.AtEof = true;
    if (!of.AtEof) {
      ReadLine(of, ctl);
      if (!of.AtEof) {
        ++d;
        StoreClncLine(run, false);
        if (nf.AtEof && d % ClncProgressEvery == 0 && app.ProgressOn)
          app.Progress("Read Input Processing " + Printf(" Line = %d", of.LinesRead));
        if (!ctl.FilesDiffer && (c != d || ReadPairDiffers(run, nl[c], ol[d])))
          ctl.FilesDiffer = true;
      }
    }
  }

  nf.PassLines = nf.PassLinesLimit = c;
  of.PassLines = of.PassLinesLimit = d;
  ctl.NewPassLines = c;
  ctl.OldPassLines = d;
  nf.DataEndOffset = nf.FileOffset;
  of.DataEndOffset = of.FileOffset;
  nl.Items.emplace_back().SetStart = true;
  ol.Items.emplace_back().SetStart = true;
  if (c != d) ctl.FilesDiffer = true;
  if (nf.AtEof && of.AtEof) ctl.LastPass = true;
  ctl.ReadingInput = false;
}

void ClncPrepare(TCompareRun& run) {
  // A stop request during the NEW list ends the OLD one at its first line.
  run.ForBothFiles([&](bool isNew, bool progress) { ClncPrepareList(run, isNew, progress); });
}

void ClncMatch(TCompareRun& run) {
  TAppState& app = run.App;
  TClncList& nl = *run.NewList;
  TClncList& ol = *run.OldList;
  const int newCount = nl.Count(), oldCount = ol.Count();
  const int newEnd = newCount + 1, oldEnd = oldCount + 1;

  // Chain heads: at least HashBuckets, and about one per OLD line. A line's
  // full key hash picks its bucket with its low bits; its high bits are a
  // fingerprint that the chain walks compare before they touch a line.
  size_t buckets = HashBuckets;
  while (buckets < static_cast<size_t>(oldCount)) buckets *= 2;
  const size_t mask = buckets - 1;
  std::vector<int32_t> heads(buckets, oldEnd);
  std::vector<int32_t> next(static_cast<size_t>(oldEnd) + 1, oldEnd);
  const std::vector<uint64_t>& oldHash = ol.KeyHashes;
  const std::vector<uint64_t>& newHash = nl.KeyHashes;
  auto bucketOf = [mask](uint64_t h) { return static_cast<size_t>(h & mask); };
  auto printOf = [](uint64_t h) { return static_cast<uint32_t>(h >> 32); };
  for (int k = oldCount; k >= 1; --k) {
    if (k > 16 && !ol[k - 16].NotProcessed) __builtin_prefetch(&heads[bucketOf(oldHash[static_cast<size_t>(k - 16)])], 1);
    if (ol[k].NotProcessed) continue;
    const size_t b = bucketOf(oldHash[static_cast<size_t>(k)]);
    next[static_cast<size_t>(k)] = heads[b];
    ol[k].ChainLink = 0;
    heads[b] = k;
  }

  // Each NEW line's first equal OLD line (its Partner, or NoMatch). The
  // lookups jump around the OLD list, each prefetched a few lines ahead;
  // they only read it, so the worker takes the second half of the NEW lines.
  auto headOf = [&](int j) { return heads[bucketOf(newHash[static_cast<size_t>(j)])]; };
  constexpr int Ahead = 8;
  auto findPartners = [&](int from, int to, bool progress) {
    for (int j = from; j <= to; ++j) {
      if (progress) {
        if (app.UserStop) return;
        if ((j == 1 || j % ClncProgressEvery == 0) && app.ProgressOn)
          app.Progress("Finding Matching Lines " + Printf("New Line = %d UpTo Line = %d .", j, newCount));
      }
      if (j + 2 * Ahead <= to) __builtin_prefetch(&heads[bucketOf(newHash[static_cast<size_t>(j + 2 * Ahead)])]);
      if (j + Ahead <= to) {
        const int ahead = headOf(j + Ahead);
        if (ahead < oldEnd) {
          __builtin_prefetch(&oldHash[static_cast<size_t>(ahead)]);
          __builtin_prefetch(&next[static_cast<size_t>(ahead)]);
        }
      }
      if (j + Ahead / 2 <= to) {
        const int ahead = headOf(j + Ahead / 2);
        if (ahead < oldEnd) __builtin_prefetch(&ol[ahead]);
      }
      if (j + 2 <= to) {
        const int ahead = headOf(j + 2);
        if (ahead < oldEnd) __builtin_prefetch(ol[ahead].Text);
      }
      TLineEntry& n = nl[j];
      if (n.NotProcessed) continue;
      const uint32_t print = printOf(newHash[static_cast<size_t>(j)]);
      int o = headOf(j);
      while (o < oldEnd && (printOf(oldHash[static_cast<size_t>(o)]) != print || !LinesEqual(n, ol[o])))
        o = next[static_cast<size_t>(o)];
      n.Partner = o;
      if (o >= oldEnd) n.NoMatch = true;
    }
  };
  const int half = run.Worker && newCount >= 4096 ? newCount / 2 : newCount;
  if (half < newCount) run.Worker->Start([&] { findPartners(half + 1, newCount, false); });
  findPartners(1, half, true);
  if (half < newCount) run.Worker->Wait();
  if (app.UserStop) return;

  // Link the class of OLD lines equal to each partner, in rising order.
  for (int j = 1; j <= newCount; ++j) {
    const TLineEntry& n = nl[j];
    if (n.NotProcessed || n.NoMatch) continue;
    const int o = n.Partner;
    if (ol[o].ChainLink != 0) continue;
    const uint32_t print = printOf(oldHash[static_cast<size_t>(o)]);
    int prev = o;
    for (int x = next[static_cast<size_t>(o)]; x < oldEnd; x = next[static_cast<size_t>(x)]) {
      if (printOf(oldHash[static_cast<size_t>(x)]) == print && LinesEqual(ol[o], ol[x])) {
        ol[prev].ChainLink = x;
        prev = x;
      }
    }
    ol[prev].ChainLink = oldEnd;
  }
  nl[newEnd].Partner = newEnd;
  ol[oldEnd].Partner = oldEnd;
  for (int k = 1; k <= oldCount; ++k)
    if (!ol[k].NotProcessed && ol[k].ChainLink == 0) ol[k].ChainLink = oldEnd;

  for (int j = 1; j <= newCount; ++j) {
    if (j + Ahead <= newCount && nl[j + Ahead].Partner < oldEnd) __builtin_prefetch(&ol[nl[j + Ahead].Partner]);
    TLineEntry& n = nl[j];
    if (n.NotProcessed || n.NoMatch || n.SetStart) continue;
    const int o = n.Partner;
    if (o >= oldEnd) {
      n.NoMatch = true;
    } else if (!ol[o].Matched) {
      n.Matched = ol[o].Matched = true;
      ol[o].Partner = j;
      for (int x = ol[o].ChainLink; x < oldEnd; x = ol[x].ChainLink) {
        ol[x].SetStart = true;
        ol[x].Partner = o;
      }
    } else {
      n.SetStart = true;
      n.Partner = ol[o].Partner;
    }
  }
}

void ClncPassDriver(TCompareRun& run, IPassReport& report) {
  TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  ctl.LastPass = false;
  ctl.HeadingArmed = false;
  ctl.ListingStop = false;
  run.PassCt = 1;
  if (app.WorkerThreads) run.Worker = std::make_unique<TWorker>();
  nf.PassFirstLine = nf.LinesDone;
  of.PassFirstLine = of.LinesDone;

  app.Progress("Start Reading Data File" + Printf("Start Line = %d", nf.PassFirstLine + 1));
  ClncRead(run);
  ctl.NewLongest = nf.LongestLine;
  ctl.OldLongest = of.LongestLine;
  if (ReadFailed(run)) return;

  if (!ctl.FilesDiffer && !ctl.DpsActive && !ctl.DlnActive && !ctl.CcolActive) {
    // Identical line by line: each line pairs with the line of its index.
    for (int k = 1; k <= run.NewList->Count(); ++k) {
      TLineEntry& n = (*run.NewList)[k];
      TLineEntry& o = (*run.OldList)[k];
      n.Partner = o.Partner = k;
      if (!n.NotProcessed) n.Matched = o.Matched = true;
    }
  } else {
    ClncPrepare(run);
    if (!app.UserStop) ClncMatch(run);
  }

  app.Progress("Generating Report " + Printf("(%d) - Start Line = %d UpTo Line = %d .", run.PassCt,
                                             nf.PassFirstLine + 1, nf.PassFirstLine + nf.PassLinesLimit));
  if (!app.UserStop) report.ReportPass(run);
}

void ClncEnd(TCompareRun& run) {
  run.NewList.reset();
  run.OldList.reset();
}

int RunUnorderedCompare(TAppState& app, IPassReport& report) {
  return RunCompareFrame(app, [&](TCompareRun& run) {
    ClncPassDriver(run, report);
    ClncEnd(run);
  });
}

} // namespace quorlin
