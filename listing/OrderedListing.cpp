// The body of an ordered compare listing: restores the raw lines of a pass,
// tells reformatted lines from exact matches, forms the blocks, and writes the
// lines the listing type asks for.
#include "listing/Listing.h"

#include "engine/DpFilters.h"
#include "engine/LineReader.h"
#include "engine/PassReader.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quorlin {

namespace {

/// Appends n as "%-5d" does: left-aligned in five columns.
void AppendLeft5(std::string& out, int n) {
  size_t start = out.size();
  out += std::to_string(n);
  if (out.size() - start < 5) out.append(5 - (out.size() - start), ' ');
}

inline char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualBytes(const char* a, const char* b, int n, bool fold) {
  if (!fold) return std::memcmp(a, b, static_cast<size_t>(n)) == 0;
  for (int i = 0; i < n; ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

/// The compare columns of a text, joined.
std::string Columns(const char* text, int len, const TColumns& col) {
  std::string out;
  for (size_t r = 0; r < col.size(); ++r) {
    if (!col[r].On || col[r].First > len) break;
    int last = col[r].ToEol ? len : std::min(len, col[r].Last);
    if (last >= col[r].First)
      out.append(text + col[r].First - 1, static_cast<size_t>(last - col[r].First + 1));
    if (col[r].ToEol) break;
  }
  return out;
}

} // namespace

void TListing::NewNo(int i) { AppendLineNumber(Refs, Run->New->PassFirstLine + i); }
void TListing::OldNo(int j) { AppendLineNumber(Refs, Run->Old->PassFirstLine + j); }

void TListing::PrepareIdenticalPass() {
  TCompareCtl& ctl = Ctl();
  TCompareRun& run = *Run;
  const int count = run.New->PassLinesLimit;
  // The raw texts are restored by the body writer, which re-reads every
  // pass it writes. It also counts the lines of such a pass; count here only
  // when it will not write this one.
  const bool countHere = !ctl.ListLong && !ctl.DpActive;
  const bool filter = AnyFilter(ctl);
  for (int k = 1; k <= count; ++k) {
    TLineEntry& n = run.NewLines[k];
    TLineEntry& o = run.OldLines[k];
    if (filter) {
      if (n.PartDp) {
        o.PartDp = true;
        if (countHere) {
          ++ctl.NewPartDpCount;
          ++ctl.OldPartDpCount;
        }
      } else if (n.NotProcessed) {
        o.NotProcessed = true;
        if (countHere) {
          ++ctl.NewNotProcCount;
          ++ctl.OldNotProcCount;
        }
      }
    }
    n.Moved = o.Moved = n.NoMatch = false;
    if (!n.NotProcessed) {
      n.Matched = o.Matched = true;
      n.Partner = o.Partner = k;
      if (countHere) ++ctl.MatchCount;
    }
  }
}

void TListing::WriteOrderedBody() {
  PreparePassForListing();
  const TCompareCtl& ctl = Ctl();
  if (ctl.ListLong || ctl.ListChng)
    WalkLongChng();
  else
    WalkDeltaOvsum();
}

// Reads line e of the pass again from its file, so that the listing shows
// the file's own text; for a don't-process line the raw text is kept in
// OrigText and the comment rule is applied again to Text.
void TListing::RereadLine(TCompareFile& f, TLineEntry& e, int& partDpCount) {
  TCompareCtl& ctl = Ctl();
  TLineTable& table = Run->Lines(f.IsNew);
  if (Run->RawKept && e.OrigText) {
    // The text as the read phase read it: what reading it again gives.
    e.Text = e.OrigText;
    ++f.LinesRead;
  } else {
    ReadLine(f, ctl);
    int len = f.AtEof ? 1 : f.LineLen; // the file may have shrunk since its read phase
    const char* src = f.AtEof ? " " : f.LineBuf.get();
    if (!e.Text || len > e.TextLen) e.Text = table.NewText(len);
    std::memcpy(e.Text, src, static_cast<size_t>(len));
    e.TextLen = static_cast<int16_t>(len);
  }
  const int len = e.TextLen;
  e.OrigText = nullptr;
  if (!e.PartDp && !e.NotProcessed) return;
  if (!ctl.OptXdpl) {
    e.OrigText = table.NewText(len);
    std::memcpy(e.OrigText, e.Text, static_cast<size_t>(len));
  }
  if (e.PartDp) ++partDpCount;
  if (!e.ColShort && ctl.DpActive) {
    // Blank the comment out of the listed text with the carry state the
    // line had when it was prepared; the line keeps its classification.
    const uint8_t carryAfter = SaveCarry(f);
    const bool notProcessed = e.NotProcessed, partDp = e.PartDp;
    RestoreCarry(f, e.CarryIn);
    ApplyDpOption(ctl, f, e, e.TextLen);
    e.NotProcessed = notProcessed;
    e.PartDp = partDp;
    RestoreCarry(f, carryAfter);
  }
}

bool TListing::SameText(const TLineEntry& a, const TColumns& colA, const TLineEntry& b,
                        const TColumns& colB) const {
  const TCompareCtl& ctl = Run->Ctl;
  // Both keys are the lines' own texts and the keys are equal: so are the texts.
  if (a.KeyIsText && b.KeyIsText) return true;
  if (!ctl.CcolActive)
    return EqualBytes(a.Text, b.Text, std::min(a.TextLen, b.TextLen), ctl.OptIcas);
  if (a.ColShort || b.ColShort) return true;
  std::string x = Columns(a.Text, a.TextLen, colA);
  std::string y = Columns(b.Text, b.TextLen, colB);
  int len = std::min({static_cast<int>(a.ColLen), static_cast<int>(b.ColLen),
                      static_cast<int>(x.size()), static_cast<int>(y.size())});
  return EqualBytes(x.data(), y.data(), len, ctl.OptIcas);
}

bool TListing::ExactMatch(const TLineEntry& n, const TLineEntry& o) const {
  return Run->Ctl.OptRovr || SameText(n, Run->New->Col, o, Run->Old->Col);
}

void TListing::PreparePassForListing() {
  TCompareCtl& ctl = Ctl();
  TCompareRun& run = *Run;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  TLineTable& N = run.NewLines;
  TLineTable& O = run.OldLines;
  ctl.ReadingInput = false;
  if (!run.RawKept) RepositionFiles(run);

  // The OLD lines are read again when the listing needs their own text. With
  // Xtab that is always so: the NEW lines come back with the TABs that the
  // compare read as blanks, and OLD lines left in the compare's form would
  // then differ from them.
  if (ctl.FilesDiffer || ctl.DpActive || ctl.DpsActive || ctl.DlnActive || ctl.CcolActive || ctl.OptXtab) {
    int blockStart = 0;
    for (int k = 1; k <= of.PassLinesLimit; ++k) {
      TLineEntry& e = O[k];
      RereadLine(of, e, ctl.OldPartDpCount);
      e.BlockLen = 0;
      if (e.Matched) {
        blockStart = 0;
      } else if (e.NotProcessed) {
        ++ctl.OldNotProcCount;
      } else {
        if (blockStart == 0) blockStart = k;
        ++O[blockStart].BlockLen;
        ++ctl.DeleteCount;
        if (e.Moved) ++ctl.MovedCount;
      }
    }
  }

  int insertStart = 0, runStart = 0, reformStart = 0;
  int runPartner = 0, reformPartner = 0; // partners of the last pair of each run
  for (int k = 1; k <= nf.PassLinesLimit; ++k) {
    TLineEntry& e = N[k];
    RereadLine(nf, e, ctl.NewPartDpCount);
    e.BlockLen = 0;
    if (!e.Matched) {
      if (e.NotProcessed) {
        ++ctl.NewNotProcCount;
        continue;
      }
      if (insertStart == 0) insertStart = k;
      ++N[insertStart].BlockLen;
      ++ctl.InsertCount;
      runStart = reformStart = 0;
      continue;
    }
    insertStart = 0;
    const int p = e.Partner;
    TLineEntry& partner = O[p];
    if (!ExactMatch(e, partner)) {
      e.Reformatted = partner.Reformatted = true;
      ++ctl.ReformCount;
      e.BlockLen = 1;
      runStart = 0;
      if (reformStart != 0 && p == NextProcessedOld(run, reformPartner + 1))
        ++N[reformStart].BlockLen;
      else
        reformStart = k;
      reformPartner = p;
    } else {
      reformStart = 0;
      ++ctl.MatchCount;
      if (runStart == 0 || p != NextProcessedOld(run, runPartner + 1)) runStart = k;
      ++N[runStart].BlockLen;
      runPartner = p;
    }
    if (!ctl.OptXdpl) {
      if (e.OrigText) e.Text = e.OrigText;
      if (ctl.OptLorl && partner.OrigText) partner.Text = partner.OrigText;
    }
  }
}

// --- Line writers ------------------------------------------------------------

void TListing::FormatBodyLine(const char* id, std::string_view text) {
  BodyLine.clear();
  AppendBodyLine(Ctl().OptFscl, id, text, Refs, BodyLine);
}

void TListing::AppendBodyLine(bool fscl, const char* id, std::string_view text, std::string_view refs,
                              std::string& out) {
  out.append(id);
  if (fscl) {
    out.append(text.substr(0, FullTextField));
  } else {
    const std::string_view field = text.substr(0, TextField);
    out.append(field);
    out.append(TextField - field.size(), ' ');
    out.append(refs);
  }
}

void TListing::Body(int kind, const TLineEntry& e) {
  const TCompareCtl& ctl = Ctl();
  std::string_view text(e.Text, static_cast<size_t>(e.TextLen));
  if (RawListing) {
    ChngContextFilterRaw(kind, text);
    return;
  }
  FormatBodyLine(LineIdTable[static_cast<size_t>(kind)], text);
  if (ctl.ListDelta)
    EmitBodyLine(BodyLine);
  else
    ChngContextFilter(BodyLine);
}

void TListing::WriteDpLine(int i) {
  TLineEntry& e = Run->NewLines[i];
  if (e.OrigText) e.Text = e.OrigText;
  if (!RawListing) {
    Refs.assign(1, ' ');
    NewNo(i);
    Refs += " DP-LINE(NEW) ";
  }
  Body(KindMatch, e);
}

void TListing::WriteDpLinesAt(int& i) {
  const TCompareCtl& ctl = Ctl();
  const int count = Run->New->PassLinesLimit;
  while (i <= count && Run->NewLines[i].NotProcessed) {
    if (!ctl.OptXdpl) WriteDpLine(i);
    ++i;
  }
}

// The reference columns are built only for formatted lines: raw lines carry
// no numbers.

namespace {
/// The text of a pass line, as change records carry it.
std::string_view EntryText(const TLineEntry& e) { return {e.Text, static_cast<size_t>(e.TextLen)}; }
} // namespace

void TListing::WriteMatch(int i, int j, int pos) {
  TCompareCtl& ctl = Ctl();
  if (!RawListing && ctl.ListChng) {
    // Held as indices: the Chng rule drops most matched lines unwritten.
    HeldKind(ctl.HeldCount) = HeldMatchLater;
    HeldMatch(ctl.HeldCount) = {i, j, pos};
    ++ctl.HeldCount;
    AfterHold(false);
    return;
  }
  if (RawListing) {
    Body(KindMatch, Run->NewLines[i]);
    return;
  }
  FormatMatch(i, j, pos);
  if (ctl.ListDelta)
    EmitBodyLine(BodyLine);
  else
    ChngContextFilter(BodyLine);
}

void TListing::FormatMatch(int i, int j, int pos) {
  const TLineEntry& e = Run->NewLines[i];
  Refs.assign(1, ' ');
  NewNo(i);
  Refs += "              ";
  OldNo(j);
  if (pos == 0) {
    Refs += "   ";
    AppendLeft5(Refs, e.BlockLen);
  }
  FormatBodyLine(LineIdTable[static_cast<size_t>(KindMatch)], std::string_view(e.Text, static_cast<size_t>(e.TextLen)));
}

void TListing::WriteReform(int i, int j, int pos) {
  const TLineEntry& e = Run->NewLines[i];
  if (!RawListing) {
    Refs.assign(1, ' ');
    NewNo(i);
    Refs += pos == 0 ? " REFORM(NEW)  " : " REFORM       ";
    OldNo(j);
    if (pos == 0) {
      Refs += "   ";
      AppendLeft5(Refs, e.BlockLen);
    }
  }
  if (App.ChangeSink) App.ChangeSink("RN-", Run->New->PassFirstLine + i, Run->Old->PassFirstLine + j, EntryText(e));
  Body(KindReformNew, e);
}

void TListing::WriteReformOld(int j, int pos) {
  if (!RawListing) {
    Refs.assign(1, ' ');
    OldNo(j);
    Refs += pos == 0 ? " REFORM(OLD)  " : " REFORM       ";
    OldNo(j);
  }
  if (App.ChangeSink)
    App.ChangeSink("RO-", Run->New->PassFirstLine + Run->OldLines[j].Partner, Run->Old->PassFirstLine + j,
                   EntryText(Run->OldLines[j]));
  Body(KindReformOld, Run->OldLines[j]);
}

void TListing::WriteInsert(int i, int pos) {
  const TLineEntry& e = Run->NewLines[i];
  if (!RawListing) {
    Refs.assign(1, ' ');
    NewNo(i);
    if (e.Moved) {
      Refs += " MOVE(N TO O) ";
      OldNo(e.Partner);
    } else {
      Refs += " INSERT";
      if (pos == 0) {
        Refs += "(NEW)          ";
        AppendLeft5(Refs, e.BlockLen);
      }
    }
  }
  if (App.ChangeSink)
    App.ChangeSink(e.Moved ? "IM-" : "I -", Run->New->PassFirstLine + i,
                   e.Moved ? Run->Old->PassFirstLine + e.Partner : 0, EntryText(e));
  Body(e.Moved ? KindMovedInsert : KindInsert, e);
}

void TListing::WriteDelete(int j, int pos) {
  const TLineEntry& e = Run->OldLines[j];
  if (!RawListing) {
    if (e.Moved) {
      Refs.assign(1, ' ');
      NewNo(e.Partner);
      Refs += " MOVE(O TO N) ";
      OldNo(j);
    } else {
      Refs.assign("       DELETED");
      Refs += pos == 0 ? "(OLD) " : "      ";
      OldNo(j);
      if (pos == 0) {
        Refs += "   ";
        AppendLeft5(Refs, e.BlockLen);
      }
    }
  }
  if (App.ChangeSink)
    App.ChangeSink(e.Moved ? "DM-" : "D -", e.Moved ? Run->New->PassFirstLine + e.Partner : 0,
                   Run->Old->PassFirstLine + j, EntryText(e));
  Body(e.Moved ? KindMovedDelete : KindDelete, e);
}

void TListing::WriteDeltaSeparator(int unchanged, int ins, int del, int refm, int firstNew,
                                   int firstOld) {
  const TCompareCtl& ctl = Ctl();
  if (ctl.OptSbsl) PadPanels();
  char buf[ReportLineMax + 1];
  std::string line;
  if (!ctl.OptFscl) {
    std::snprintf(buf, sizeof buf, "Mat/Ins/Del/Rfm=(%d,%d,%d,%d)", unchanged, ins, del, refm);
    line = std::string(88, ' ') + buf;
  } else {
    line = std::string(85, ' ');
    if (ins > 0 || refm > 0) {
      std::snprintf(buf, sizeof buf, "LRef#=%-.5d ", Run->New->PassFirstLine + firstNew);
      line += buf;
    } else {
      line += std::string(12, ' ');
    }
    if (del > 0 || refm > 0) {
      std::snprintf(buf, sizeof buf, "RRef#=%-.5d", Run->Old->PassFirstLine + firstOld);
      line += buf;
    }
  }
  EmitReportLine(line);
}

// --- Walks ---------------------------------------------------------------------

// Long and Chng: every line of the pass in file order; equal insert and
// delete blocks interleaved, other inserts before the deletes that follow.
void TListing::WalkLongChng() {
  TCompareCtl& ctl = Ctl();
  TCompareRun& run = *Run;
  TLineTable& N = run.NewLines;
  TLineTable& O = run.OldLines;
  const int nc = run.New->PassLinesLimit;
  const int oc = run.Old->PassLinesLimit;
  const bool filter = AnyFilter(ctl);
  auto insertAt = [&](int i) { return i <= nc && !N[i].Matched && !N[i].NotProcessed; };
  auto deleteAt = [&](int j) { return j <= oc && !O[j].Matched; };
  auto dpLines = [&](int& i) {
    if (filter) WriteDpLinesAt(i);
  };

  int i = 1, j = NextProcessedOld(run, 1);
  while ((i <= nc || j <= oc) && !App.UserStop && !ctl.ListingStop) {
    const int startI = i, startJ = j;
    dpLines(i);
    if (insertAt(i) && deleteAt(j) && N[i].BlockLen >= 1 && N[i].BlockLen == O[j].BlockLen) {
      const int len = N[i].BlockLen;
      ctl.PairedCount += len;
      for (int pos = 0; pos < len; ++pos) {
        if (pos > 0) dpLines(i);
        if (!insertAt(i) || !deleteAt(j)) break;
        WriteInsert(i++, pos);
        WriteDelete(j, pos);
        j = NextProcessedOld(run, j + 1);
      }
      continue;
    }
    if (insertAt(i)) {
      if (deleteAt(j)) ctl.PairedCount += std::min<int>(N[i].BlockLen, O[j].BlockLen);
      const int len = N[i].BlockLen;
      for (int pos = 0; pos < len; ++pos) {
        if (pos > 0) dpLines(i);
        if (!insertAt(i)) break;
        WriteInsert(i++, pos);
      }
    }
    if (deleteAt(j)) {
      const int len = O[j].BlockLen;
      for (int pos = 0; pos < len && deleteAt(j); ++pos) {
        WriteDelete(j, pos);
        j = NextProcessedOld(run, j + 1);
      }
    }
    dpLines(i);
    while (i <= nc && j <= oc && N[i].Matched && O[j].Matched && !App.UserStop) {
      const bool reform = N[i].Reformatted;
      const int len = N[i].BlockLen;
      for (int pos = 0; pos < len; ++pos) {
        if (pos > 0) dpLines(i);
        if (i > nc || !N[i].Matched || N[i].Reformatted != reform) break;
        const int p = N[i].Partner;
        if (reform) {
          WriteReform(i, p, pos);
          if (ctl.OptLorl) WriteReformOld(p, pos);
        } else {
          WriteMatch(i, p, pos);
        }
        ++i;
        j = NextProcessedOld(run, p + 1);
      }
      dpLines(i);
    }
    if (i == startI && j == startJ) break; // nothing could be listed: the flags disagree
  }
}

// Delta and Ovsum: the pass as change groups (unchanged run, reformats,
// inserts, deletes); Delta writes a separator and the changed lines of each.
void TListing::WalkDeltaOvsum() {
  TCompareCtl& ctl = Ctl();
  TCompareRun& run = *Run;
  TLineTable& N = run.NewLines;
  TLineTable& O = run.OldLines;
  const int nc = run.New->PassLinesLimit;
  const int oc = run.Old->PassLinesLimit;
  auto nextN = [&](int k) { return NextProcessedNew(run, k); };
  auto nextO = [&](int k) { return NextProcessedOld(run, k); };

  int i = nextN(1), j = nextO(1);
  while ((i <= nc || j <= oc) && !App.UserStop && !ctl.ListingStop) {
    int unchanged = 0, refm = 0, ins = 0, del = 0;
    int refI = 0, refJ = 0, insI = 0, delJ = 0;
    if (i <= nc && j <= oc && N[i].Matched && O[j].Matched && !N[i].Reformatted) {
      unchanged = N[i].BlockLen;
      for (int k = 0; k < unchanged && i <= nc && N[i].Matched; ++k) {
        j = nextO(N[i].Partner + 1);
        i = nextN(i + 1);
      }
    }
    if (i <= nc && j <= oc && N[i].Reformatted && O[j].Reformatted) {
      refm = N[i].BlockLen;
      refI = i;
      refJ = j;
      for (int k = 0; k < refm && i <= nc && N[i].Reformatted; ++k) {
        j = nextO(N[i].Partner + 1);
        i = nextN(i + 1);
      }
    }
    if (i <= nc && !N[i].Matched && N[i].BlockLen >= 1) {
      ins = N[i].BlockLen;
      insI = i;
      for (int k = 0; k < ins && i <= nc && !N[i].Matched; ++k) i = nextN(i + 1);
    }
    if (j <= oc && !O[j].Matched && O[j].BlockLen > 0) {
      del = O[j].BlockLen;
      delJ = j;
      for (int k = 0; k < del && j <= oc && !O[j].Matched; ++k) j = nextO(j + 1);
    }
    if (unchanged + refm + ins + del == 0) break; // the flags disagree: stop rather than loop
    ctl.PairedCount += std::min(ins, del);
    if (!ctl.ListDelta) continue;
    if (refm + ins + del == 0 && !ctl.LastPass) {
      ctl.DeltaCarry += unchanged;
      continue;
    }
    WriteDeltaSeparator(unchanged + ctl.DeltaCarry, ins, del, refm, refm ? refI : insI,
                        refm ? refJ : delJ);
    ctl.DeltaCarry = 0;
    for (int k = 0, ri = refI; k < refm; ++k, ri = nextN(ri + 1)) {
      WriteReform(ri, N[ri].Partner, k);
      if (ctl.OptLorl) WriteReformOld(N[ri].Partner, k);
    }
    int ii = insI, jj = delJ;
    if (ins == del) {
      for (int k = 0; k < ins; ++k, ii = nextN(ii + 1), jj = nextO(jj + 1)) {
        WriteInsert(ii, k);
        WriteDelete(jj, k);
      }
    } else {
      for (int k = 0; k < ins; ++k, ii = nextN(ii + 1)) WriteInsert(ii, k);
      for (int k = 0; k < del; ++k, jj = nextO(jj + 1)) WriteDelete(jj, k);
    }
  }
  // Unchanged lines carried into an empty last pass still get their separator.
  if (ctl.ListDelta && ctl.LastPass && ctl.DeltaCarry > 0 && !App.UserStop) {
    WriteDeltaSeparator(ctl.DeltaCarry, 0, 0, 0, 0, 0);
    ctl.DeltaCarry = 0;
  }
}

} // namespace quorlin
