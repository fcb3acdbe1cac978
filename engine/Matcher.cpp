#include "engine/Matcher.h"

#include "engine/DpFilters.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quorlin {

bool LinesEqual(const TLineEntry& n, const TLineEntry& o) {
  // The key lengths must agree too: a NEW key that is a prefix of a longer
  // OLD key with the same hash is a different line. So must the padding: "a"
  // padded to "a\0" is not the line "a\0".
  if (n.Hash != o.Hash || n.KeyLen != o.KeyLen || n.KeyPadded != o.KeyPadded) return false;
  // Keys are short: compare them eight bytes at a time without a call.
  const int len = n.KeyLen;
  int i = 0;
  for (; i + 8 <= len; i += 8) {
    uint64_t a, b;
    std::memcpy(&a, n.Text + i, 8);
    std::memcpy(&b, o.Text + i, 8);
    if (a != b) return false;
  }
  for (; i < len; ++i)
    if (n.Text[i] != o.Text[i]) return false;
  return true;
}

namespace {

/// A candidate run: Len equal pairs from (NewFirst, OldFirst) to (NewLast,
/// OldLast), both inclusive; Len 0 marks an empty slot.
struct TCandidate {
  int Len = 0;
  int NewFirst = 0, OldFirst = 0, NewLast = 0, OldLast = 0;
};

class TMatcher {
public:
  explicit TMatcher(TCompareRun& run)
      : Run(run), Ctl(run.Ctl), N(run.NewLines), O(run.OldLines), NewFile(*run.New),
        OldFile(*run.Old), Filter(AnyFilter(run.Ctl)) {}

  void Match();

private:
  TCompareRun& Run;
  TCompareCtl& Ctl;
  TLineTable& N;
  TLineTable& O;
  TCompareFile& NewFile;
  TCompareFile& OldFile;
  const bool Filter;

  int NewCount = 0, OldCount = 0;
  int NewFrom = 0, OldFrom = 0, NewTo = 0, OldTo = 0;
  bool FirstRound = false, LastPassNow = false;
  int Floor = 0;
  int CutNew = 0, CutOld = 0;
  TCandidate Slots[CandidateSlots + 1]; // slots 1..9
  int CandidateCount = 0;
  std::vector<int32_t> Heads;      // bucket -> first OLD line of the bucket
  std::vector<int32_t> BucketNext; // OLD line -> next OLD line of its bucket
  // Equality classes, so that matching compares two integers instead of two
  // keys: a NEW line's class is its first equal OLD line, an OLD line's the
  // first OLD line equal to it (set for every OLD line that some NEW line
  // equals). Lines without a key (don't-process lines, sentinels) are all
  // class NoKey, as LinesEqual finds them equal; a NEW line without an equal
  // OLD line and an OLD line without an equal NEW line get classes that
  // nothing else has.
  static constexpr int32_t NoKey = -1, NoOldEqual = -2, NoNewEqual = -3;
  std::vector<int32_t> NewClass, OldClass;

  // Index helpers: the sentinel bounds every step forward.
  int NextN(int k) const {
    if (k > NewCount) return NewCount + 1;
    if (Filter)
      while (k <= NewCount && N[k].NotProcessed) ++k;
    return k;
  }
  int NextO(int k) const {
    if (k > OldCount) return OldCount + 1;
    if (Filter)
      while (k <= OldCount && O[k].NotProcessed) ++k;
    return k;
  }
  int PrevN(int k) const {
    if (Filter)
      while (k > 1 && N[k].NotProcessed) --k;
    return k;
  }
  int PrevO(int k) const {
    if (Filter)
      while (k > 1 && O[k].NotProcessed) --k;
    return k;
  }
  bool Equal(int n, int o) const {
    return NewClass[static_cast<size_t>(n)] == OldClass[static_cast<size_t>(o)];
  }
  bool EqualOld(int a, int b) const { return LinesEqual(O[a], O[b]); }

  void BuildChains(bool movesOnly);
  int EffectiveFloor() const {
    return CandidateCount == CandidateSlots ? Slots[CandidateSlots].Len : Floor;
  }
  void ClearCandidates() {
    for (auto& s : Slots) s = {};
    CandidateCount = 0;
  }
  bool Insert(const TCandidate& c);
  void ScanRegion();
  int TryOccurrences(int j, int o, int& bestLen);
  bool Resync(int& n, int& o) const;
  void SelectMatchSets();
  void Boundary(int newFirst, int& bn, int& bo) const;
  void Anchor(int newFirst, int& an, int& ao) const;
  void TrimHead(int s, int bn, int bo);
  void TrimTail(int s, int an, int ao);
  void MoveDown(int s);
  bool SetMatchSet(int s);
  void Advance();
  void TruncatePass(int cn, int co);
  void FindMovedLines();
  bool FixMove(const TCandidate& c, bool check);
};

void TMatcher::Match() {
  NewCount = NewFile.PassLines;
  OldCount = OldFile.PassLines;
  NewFrom = NextN(1);
  OldFrom = NextO(1);
  NewTo = NewCount + 1;
  OldTo = OldCount + 1;
  LastPassNow = Ctl.LastPass;

  Heads.assign(HashBuckets, 0);
  BucketNext.assign(static_cast<size_t>(OldCount) + 2, 0);
  BuildChains(false);
  if (NewCount == 0 || OldCount == 0) return;

  CutNew = NextN(1);
  CutOld = NextO(1);
  FirstRound = NewCount >= LargePassLines && OldCount >= LargePassLines;
  Floor = FirstRound ? 3 : 0;

  // Every round fixes at least one pair or moves the region on; the bound
  // only guards against a loop that would never end.
  long rounds = 0;
  const long maxRounds = 4L * (NewCount + OldCount) + 16;
  while (NewFrom <= NewCount && OldFrom <= OldCount && ++rounds <= maxRounds) {
    ClearCandidates();
    ScanRegion();
    if (FirstRound && CandidateCount == 0) {
      FirstRound = false;
      Floor = 0;
      ClearCandidates();
      ScanRegion();
    }
    if (CandidateCount > 0) {
      SelectMatchSets();
      if (FirstRound && !LastPassNow) TruncatePass(CutNew, CutOld);
    } else {
      NewFrom = NewTo;
      OldFrom = OldTo;
    }
    Advance();
    FirstRound = false;
    Floor = 0;
  }

  if (Ctl.OptFmvl) FindMovedLines();
}

// Hash chains of the OLD lines and, for each NEW line, its first equal OLD
// line (Partner) with the class of equal OLD lines linked through ChainLink in
// rising order. With movesOnly only NEW lines that are neither don't-process
// nor matched are linked, and their NoMatch is decided afresh.
void TMatcher::BuildChains(bool movesOnly) {
  const int oldEnd = OldCount + 1;
  if (!movesOnly) {
    NewClass.assign(static_cast<size_t>(NewCount) + 2, NoOldEqual);
    OldClass.assign(static_cast<size_t>(OldCount) + 2, NoNewEqual);
    for (int j = 0; j <= NewCount + 1; ++j)
      if (N[j].Hash == 0) NewClass[static_cast<size_t>(j)] = NoKey;
    for (int k = 0; k <= OldCount + 1; ++k)
      if (O[k].Hash == 0) OldClass[static_cast<size_t>(k)] = NoKey;
  }
  std::fill(Heads.begin(), Heads.end(), oldEnd);
  for (int k = OldCount; k >= 1; --k) {
    TLineEntry& e = O[k];
    if (e.NotProcessed) continue;
    int b = e.Hash & (HashBuckets - 1);
    BucketNext[static_cast<size_t>(k)] = Heads[static_cast<size_t>(b)];
    e.ChainLink = 0;
    Heads[static_cast<size_t>(b)] = k;
  }
  for (int j = 1; j <= NewCount; ++j) {
    TLineEntry& e = N[j];
    if (e.NotProcessed) continue;
    if (movesOnly) {
      if (e.Matched) continue;
      e.NoMatch = false;
    }
    int o = Heads[static_cast<size_t>(e.Hash & (HashBuckets - 1))];
    while (o < oldEnd && !LinesEqual(e, O[o])) o = BucketNext[static_cast<size_t>(o)];
    if (o >= oldEnd) {
      e.NoMatch = true;
      e.Partner = oldEnd;
      continue;
    }
    e.Partner = o;
    if (!movesOnly) NewClass[static_cast<size_t>(j)] = o;
    if (O[o].ChainLink == 0) {
      int prev = o;
      if (!movesOnly) OldClass[static_cast<size_t>(o)] = o;
      for (int x = BucketNext[static_cast<size_t>(o)]; x < oldEnd;
           x = BucketNext[static_cast<size_t>(x)]) {
        if (EqualOld(o, x)) {
          O[prev].ChainLink = x;
          prev = x;
          if (!movesOnly) OldClass[static_cast<size_t>(x)] = o;
        }
      }
      O[prev].ChainLink = oldEnd;
    }
  }
  if (!movesOnly) {
    N[NewCount + 1].Partner = oldEnd;
    O[OldCount + 1].Partner = NewCount + 1;
  }
  for (int k = 1; k <= OldCount; ++k)
    if (!O[k].NotProcessed && O[k].ChainLink == 0) O[k].ChainLink = oldEnd;
}

// Inserts a run into the candidate table, in order of falling length; among
// equal lengths the run found first stays first. Returns false when the run
// is not longer than the floor.
bool TMatcher::Insert(const TCandidate& c) {
  if (c.Len <= EffectiveFloor()) return false;
  int pos = 1;
  while (pos <= CandidateCount && Slots[pos].Len >= c.Len) ++pos;
  if (pos > CandidateSlots) return false;
  int last = std::min(CandidateCount + 1, CandidateSlots);
  for (int s = last; s > pos; --s) Slots[s] = Slots[s - 1];
  Slots[pos] = c;
  CandidateCount = last;
  return true;
}

// Searches the region (NewFrom..NewTo, OldFrom..OldTo, ends exclusive) for the
// longest runs of equal lines.
void TMatcher::ScanRegion() {
  int j = NewFrom;
  while (j < NewTo) {
    const int resume = NextN(j + 1);
    int end = resume;
    int o = N[j].Partner;
    while (o != 0 && o < OldFrom) {
      o = O[o].ChainLink;
      N[j].Partner = o;
    }
    if (o == 0 || o >= OldTo) {
      N[j].NoMatch = true;
    } else {
      int bestLen = 0;
      int bestEnd = TryOccurrences(j, o, bestLen);
      if (bestLen > 0) end = std::max(end, bestEnd);
    }
    j = end;
    while (j < NewTo && N[j].NoMatch) j = NextN(j + 1);
  }
}

// Tries the runs that start with NEW line j at OLD occurrence o and the
// following occurrences along ChainLink. Records candidates and returns the
// NEW index just after the longest run recorded (bestLen is its length).
int TMatcher::TryOccurrences(int j, int o, int& bestLen) {
  int bestEnd = 0;
  while (o < OldTo) {
    int len = 1;
    int n = NextN(j + 1), m = NextO(o + 1);
    while (n < NewTo && m < OldTo && Equal(n, m)) {
      ++len;
      n = NextN(n + 1);
      m = NextO(m + 1);
    }
    const int forwardLen = len;
    if (FirstRound && forwardLen == 1) break;

    // Extend backwards; the lines at NewFrom and OldFrom are never taken.
    int sj = j, so = o, back = 0;
    for (;;) {
      if (sj - 1 < 1 || so - 1 < 1) break;
      int pj = PrevN(sj - 1), po = PrevO(so - 1);
      if (pj <= NewFrom || po <= OldFrom || !Equal(pj, po)) break;
      sj = pj;
      so = po;
      ++back;
    }

    // Bridge small gaps in the first round: a run of MinFirstRun lines goes
    // on past a resynchronisation point.
    if (FirstRound && len + back >= MinFirstRun) {
      int rn = n, rm = m;
      while (rn <= NewCount && rm <= OldCount && Resync(rn, rm)) {
        len += ResyncConfirm;
        n = rn;
        m = rm;
        for (int i = 0; i < ResyncConfirm; ++i) {
          n = NextN(n + 1);
          m = NextO(m + 1);
        }
        while (n < NewTo && m < OldTo && Equal(n, m)) {
          ++len;
          n = NextN(n + 1);
          m = NextO(m + 1);
        }
        rn = n;
        rm = m;
      }
    }

    len += back;
    TCandidate c{len, sj, so, PrevN(n - 1), PrevO(m - 1)};
    if (Insert(c)) {
      if (len > bestLen) {
        bestLen = len;
        bestEnd = n;
      }
      if (back > 0) {
        // Go on with the occurrences of the run's first pair.
        j = sj;
        o = so;
      }
    }
    if (forwardLen == 1) break;
    o = O[o].ChainLink;
  }
  return bestEnd;
}

// Looks for a resynchronisation point after the mismatch at (n, o): skip
// patterns (NEW lines, OLD lines) in a fixed order; a point is accepted when
// it and the next two pairs are equal.
bool TMatcher::Resync(int& n, int& o) const {
  static constexpr int Patterns[ResyncPatterns][2] = {{1, 1}, {1, 0}, {0, 1}, {2, 2},
                                                      {2, 0}, {0, 2}, {2, 1}, {1, 2}};
  if (n + ResyncMargin > NewFile.PassLines || o + ResyncMargin > OldFile.PassLines) return false;
  for (const auto& p : Patterns) {
    int cn = n, co = o;
    for (int i = 0; i < p[0]; ++i) cn = NextN(cn + 1);
    for (int i = 0; i < p[1]; ++i) co = NextO(co + 1);
    int tn = cn, to = co;
    bool ok = true;
    for (int i = 0; i < ResyncConfirm && ok; ++i) {
      if (tn > NewCount || to > OldCount || !Equal(tn, to)) ok = false;
      tn = NextN(tn + 1);
      to = NextO(to + 1);
    }
    if (ok) {
      n = cn;
      o = co;
      return true;
    }
  }
  return false;
}

// The pair that bounds a candidate from above: the nearest matched NEW line
// before newFirst (0, 0 when there is none), or, when newFirst lies in a
// block of matched and inserted lines, the end of that block.
void TMatcher::Boundary(int newFirst, int& bn, int& bo) const {
  auto nearestBefore = [&](int k) {
    for (k = PrevN(k); k >= 1; k = PrevN(k - 1)) {
      if (N[k].Matched) {
        bn = k;
        bo = N[k].Partner;
        return;
      }
      if (k == 1) break;
    }
    bn = 0;
    bo = 0;
  };
  const TLineEntry& e = N[newFirst];
  if (!e.Matched && !e.NoMatch) {
    nearestBefore(newFirst - 1);
    return;
  }
  int last = newFirst, lastMatched = 0;
  for (int k = newFirst; k <= NewCount && (N[k].Matched || N[k].NoMatch); k = NextN(k + 1)) {
    last = k;
    if (N[k].Matched) lastMatched = k;
  }
  if (lastMatched > 0) {
    bn = last;
    bo = N[lastMatched].Partner;
  } else {
    nearestBefore(newFirst - 1);
    bn = last;
  }
}

// The next anchor from newFirst on: the first NEW line that starts a match
// set (the sentinel at the latest) and its partner.
void TMatcher::Anchor(int newFirst, int& an, int& ao) const {
  int k = newFirst;
  while (k <= NewCount && !N[k].SetStart) ++k;
  if (k > NewCount) {
    an = NewCount + 1;
    ao = OldCount + 1;
  } else {
    an = k;
    ao = N[k].Partner;
  }
}

void TMatcher::MoveDown(int s) {
  const TCandidate c = Slots[s];
  int last = s;
  for (int p = s + 1; p <= CandidateCount; ++p)
    if (Slots[p].Len >= c.Len) last = p;
  for (int p = s; p < last; ++p) Slots[p] = Slots[p + 1];
  Slots[last] = c;
}

void TMatcher::TrimHead(int s, int bn, int bo) {
  TCandidate& c = Slots[s];
  while (c.Len > 0 && !(c.NewFirst > bn && c.OldFirst > bo)) {
    if (c.NewFirst > NewCount || c.OldFirst > OldCount) {
      c.Len = 0;
    } else if (Equal(c.NewFirst, c.OldFirst)) {
      c.NewFirst = NextN(c.NewFirst + 1);
      c.OldFirst = NextO(c.OldFirst + 1);
      --c.Len;
    } else if (!Resync(c.NewFirst, c.OldFirst)) {
      c.Len = 0;
    }
  }
  if (c.Len > 0 && (c.NewFirst > NewCount || c.OldFirst > OldCount)) c.Len = 0;
  if (c.Len > 0 && !Equal(c.NewFirst, c.OldFirst) && !Resync(c.NewFirst, c.OldFirst)) c.Len = 0;
  if (c.Len > Floor)
    MoveDown(s);
  else
    c = {};
}

void TMatcher::TrimTail(int s, int an, int ao) {
  TCandidate& c = Slots[s];
  int n = c.NewFirst, m = c.OldFirst, count = 0;
  int lastN = n, lastM = m;
  while (count < c.Len && n < an && m < ao && n <= NewCount && m <= OldCount) {
    if (Equal(n, m)) {
      ++count;
      lastN = n;
      lastM = m;
      n = NextN(n + 1);
      m = NextO(m + 1);
    } else if (!Resync(n, m)) {
      break;
    }
  }
  c.Len = count;
  c.NewLast = lastN;
  c.OldLast = lastM;
  if (c.Len > Floor)
    MoveDown(s);
  else
    c = {};
}

// Fixes the longest candidate, then each further one that fits between the
// sets already fixed, trimming those that overlap.
void TMatcher::SelectMatchSets() {
  NewTo = NewCount;
  OldTo = OldCount;
  int lastNewFirst = Slots[1].NewFirst, lastNewLast = Slots[1].NewLast;
  SetMatchSet(1);
  int s = 2;
  int guard = 0;
  while (s <= CandidateCount && ++guard < 64 * CandidateSlots) {
    TCandidate& c = Slots[s];
    if (c.Len == 0) {
      ++s;
      continue;
    }
    if (c.NewFirst >= lastNewFirst && c.NewLast <= lastNewLast) {
      c = {};
      ++s;
      continue;
    }
    int bn, bo;
    Boundary(c.NewFirst, bn, bo);
    if (c.NewLast <= bn || c.OldLast <= bo) {
      c = {};
      ++s;
      continue;
    }
    if (c.NewFirst > bn && c.OldFirst > bo) {
      int an, ao;
      Anchor(c.NewFirst, an, ao);
      if (c.OldFirst >= ao) {
        c = {};
        ++s;
      } else if (c.NewLast < an && c.OldLast < ao) {
        lastNewFirst = c.NewFirst;
        lastNewLast = c.NewLast;
        SetMatchSet(s);
        ++s;
      } else {
        TrimTail(s, an, ao);
      }
    } else {
      TrimHead(s, bn, bo);
    }
  }
}

// Pairs the lines of a candidate. An unequal pair is passed with Resync, the
// NEW lines stepped over becoming insertions. The walk never leaves the gap
// between the matched lines around the candidate, so pairs never cross.
bool TMatcher::SetMatchSet(int s) {
  TCandidate& c = Slots[s];
  if (FirstRound && !LastPassNow && c.NewLast > CutNew) {
    CutNew = c.NewLast;
    CutOld = c.OldLast;
  }
  // The matched pairs around the start.
  int gbo = 0;
  for (int k = PrevN(c.NewFirst - 1); k >= 1; k = PrevN(k - 1)) {
    if (N[k].Matched) {
      gbo = N[k].Partner;
      break;
    }
    if (k == 1) break;
  }
  int gan = c.NewFirst, gao = OldCount + 1;
  while (gan <= NewCount && !N[gan].Matched) ++gan;
  if (gan <= NewCount) gao = N[gan].Partner;

  int n = c.NewFirst, m = c.OldFirst, paired = 0;
  int firstN = 0, firstM = 0;
  while (paired < c.Len && n < gan && m < gao && m > gbo && n <= NewCount && m <= OldCount) {
    if (Equal(n, m)) {
      if (N[n].Matched || O[m].Matched) break;
      N[n].Matched = O[m].Matched = true;
      N[n].Partner = m;
      O[m].Partner = n;
      N[n].NoMatch = false;
      if (paired == 0) {
        firstN = n;
        firstM = m;
      }
      ++paired;
      n = NextN(n + 1);
      m = NextO(m + 1);
    } else {
      int rn = n, rm = m;
      if (!Resync(rn, rm) || rn >= gan || rm >= gao) break;
      if (paired > 0)
        for (int k = n; k < rn; k = NextN(k + 1)) N[k].NoMatch = true;
      n = rn;
      m = rm;
    }
  }
  if (paired == 0) return false;
  N[firstN].SetStart = true;
  O[firstM].SetStart = true;
  if (firstN < NewTo) {
    NewTo = firstN;
    OldTo = firstM;
  }
  ++Ctl.SetCount;
  if (Run.App.ProgressOn && Ctl.SetCount % 2 == 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Set Count  = %d", c.Len);
    Run.App.Progress(std::string("Setting File Match Sets") + buf);
  }
  return true;
}

// Moves the region on to the next gap between match sets.
void TMatcher::Advance() {
  bool passed = false;
  while (NewFrom <= NewCount) {
    const TLineEntry& e = N[NewFrom];
    if (e.Matched) {
      passed = true;
      OldFrom = NextO(e.Partner + 1);
      while (OldFrom <= OldCount && O[OldFrom].Matched) {
        NewFrom = O[OldFrom].Partner;
        OldFrom = NextO(OldFrom + 1);
      }
      NewFrom = NextN(NewFrom + 1);
    } else if (e.NoMatch) {
      NewFrom = NextN(NewFrom + 1);
    } else {
      break;
    }
  }
  if (passed) {
    int k = NewFrom;
    while (k <= NewCount && !N[k].SetStart) ++k;
    NewTo = std::min(k, NewCount + 1);
    OldTo = N[NewTo].Partner;
  }
}

// Ends the pass after NEW line cn and OLD line co; the lines after them are
// read again by the next pass.
void TMatcher::TruncatePass(int cn, int co) {
  if (!CutPass(Run, cn, co)) return;
  NewCount = NewFile.PassLines;
  OldCount = OldFile.PassLines;
  NewTo = std::min(NewTo, NewCount + 1);
  OldTo = std::min(OldTo, OldCount + 1);
}

bool TMatcher::FixMove(const TCandidate& c, bool check) {
  if (check) {
    int n = c.NewFirst, m = c.OldFirst;
    for (int i = 0; i < c.Len; ++i) {
      if (n > NewCount || m > OldCount) return false;
      const TLineEntry& ne = N[n];
      const TLineEntry& oe = O[m];
      if (oe.Moved || oe.Matched || ne.NoMatch || ne.NotProcessed || ne.Matched || !Equal(n, m))
        return false;
      n = NextN(n + 1);
      m = NextO(m + 1);
    }
  }
  int n = c.NewFirst, m = c.OldFirst;
  for (int i = 0; i < c.Len; ++i) {
    N[n].Partner = m;
    O[m].Partner = n;
    N[n].Moved = O[m].Moved = true;
    N[n].NoMatch = true;
    n = NextN(n + 1);
    m = NextO(m + 1);
  }
  return true;
}

// Moved blocks: runs of equal lines among the lines left unpaired, longest
// first, each line moved at most once.
void TMatcher::FindMovedLines() {
  BuildChains(true);
  Heads.clear();
  Heads.shrink_to_fit();
  const int oldEnd = OldCount + 1;
  auto freeNew = [&](int k) { return !N[k].Matched && !N[k].NoMatch && !N[k].NotProcessed; };
  auto freeOld = [&](int k) { return !O[k].Matched && !O[k].Moved && !O[k].NotProcessed; };

  long iterations = 0;
  const long maxIterations = NewCount + 16;
  while (++iterations <= maxIterations) {
    int oldFrom = 1;
    while (oldFrom <= OldCount && (O[oldFrom].Matched || O[oldFrom].Moved)) ++oldFrom;
    int newFrom = 1;
    while (newFrom <= NewCount && (N[newFrom].Matched || N[newFrom].NoMatch)) ++newFrom;
    if (newFrom > NewCount || oldFrom > OldCount) break;
    ClearCandidates();
    Floor = 0;
    int j = newFrom;
    while (j <= NewCount) {
      if (!freeNew(j)) {
        ++j;
        continue;
      }
      int bestLen = 0, bestEnd = j + 1;
      for (int o = N[j].Partner; o > 0 && o < oldEnd; o = O[o].ChainLink) {
        if (o < oldFrom || !freeOld(o)) continue;
        int len = 1;
        int n = NextN(j + 1), m = NextO(o + 1);
        while (n <= NewCount && m <= OldCount && freeNew(n) && freeOld(m) && Equal(n, m)) {
          ++len;
          n = NextN(n + 1);
          m = NextO(m + 1);
        }
        int sj = j, so = o;
        while (sj > 2 && so > 2) {
          int pj = PrevN(sj - 1), po = PrevO(so - 1);
          if (pj < 2 || po < 2 || !freeNew(pj) || !freeOld(po) || !Equal(pj, po)) break;
          sj = pj;
          so = po;
          ++len;
        }
        if (Insert({len, sj, so, PrevN(n - 1), PrevO(m - 1)}) && len > bestLen) {
          bestLen = len;
          bestEnd = n;
        }
      }
      j = std::max(j + 1, bestEnd);
    }
    if (CandidateCount == 0) break;
    FixMove(Slots[1], false);
    for (int s = 2; s <= CandidateCount; ++s)
      if (Slots[s].Len > 0) FixMove(Slots[s], true);
  }
}

} // namespace

bool CutPass(TCompareRun& run, int newKeep, int oldKeep) {
  auto cut = [&](TLineTable& t, TCompareFile& f, int keep, int partner) {
    if (keep >= f.PassLinesLimit) return false;
    // The comment rules start the re-read lines in the state they had then.
    if (run.Ctl.DpActive) RestoreCarry(f, t[keep + 1].CarryIn);
    for (int k = keep + 1; k <= f.PassLinesLimit + 1; ++k) {
      t[k].Text = nullptr;
      t[k].OrigText = nullptr;
    }
    f.PassLines = f.PassLinesLimit = keep;
    // With no line kept the next pass starts where this one did.
    if (keep == 0) f.FileOffset = f.PassStartOffset;
    TLineEntry& s = t[keep + 1];
    s.Matched = s.NoMatch = s.NotProcessed = s.PartDp = s.Reformatted = s.Moved = false;
    s.SetStart = true;
    s.Partner = partner;
    return true;
  };
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  const bool cutNew = cut(run.NewLines, nf, newKeep, oldKeep + 1);
  const bool cutOld = cut(run.OldLines, of, oldKeep, newKeep + 1);
  if (!cutNew && !cutOld) return false;
  // Keep the sentinels' partners right even when only one table was cut.
  run.NewLines[nf.PassLines + 1].Partner = of.PassLines + 1;
  run.OldLines[of.PassLines + 1].Partner = nf.PassLines + 1;
  return true;
}

void FindMatches(TCompareRun& run) {
  TMatcher matcher(run);
  matcher.Match();
}

} // namespace quorlin
