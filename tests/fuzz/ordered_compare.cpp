// Fuzz target: the ordered compare of two arbitrary files with random
// options, don't-process filters and listing types, run as a batch step and
// interactively, each on one thread and on two.
//
// Input: six option bytes (see DecodeCase), the NEW bytes, "@@@@", the OLD
// bytes.
//
// Invariants:
// - one thread and two give the same listing, panels, counters and message;
//   a batch step and an interactive run count the same;
// - the counters add up (CheckCounters) and the totals are the lines of the
//   compared parts as the reader splits them;
// - without filters or compare columns the files compare as equivalent
//   exactly when each pair of lines has equal compare keys and (but with
//   Rovr) the same text over the shorter length, and two files of the same
//   bytes are always equivalent (filtered or not);
// - a Long listing without filters or compare columns lists every NEW and
//   every OLD line once, in order, with its text (CheckLongListing).
#include "CompareCase.h"

#include "engine/CompareRun.h"

#include <algorithm>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

const std::vector<std::string> OrderedIds = {"    ", "RN- ", "RO- ", "I - ", "D - ", "DM- ", "IM- "};

/// The compared parts of the two files as the reader splits them: as the
/// compare sees them (a TAB is a blank) and as the listing shows them (with
/// Xtab the listing reads TABs as TABs).
struct TExpected {
  std::vector<std::string> NewRead, OldRead, NewShown, OldShown;
  int NewFirst = 1, OldFirst = 1; ///< file line number of the first line of each part
};

TExpected Expect(const TCompareCase& c, const TCompareCtl& ctl) {
  TExpected e;
  const TReadRules read{c.Pref(TagIeof), false}, shown{c.Pref(TagIeof), c.Pref(TagXtab)};
  int newLast = 0, oldLast = 0;
  if (ctl.PcmpActive) {
    e.NewFirst = ctl.PcmpNewFirst;
    e.OldFirst = ctl.PcmpOldFirst;
    newLast = ctl.PcmpNewLast;
    oldLast = ctl.PcmpOldLast;
  }
  e.NewRead = PartOf(ReferenceLines(c.NewBytes, read), e.NewFirst, newLast);
  e.OldRead = PartOf(ReferenceLines(c.OldBytes, read), e.OldFirst, oldLast);
  e.NewShown = PartOf(ReferenceLines(c.NewBytes, shown), e.NewFirst, newLast);
  e.OldShown = PartOf(ReferenceLines(c.OldBytes, shown), e.OldFirst, oldLast);
  return e;
}

/// A matched pair (equal compare keys) that the listing shows as an exact
/// match rather than a reformat. The listing judges the texts it shows: with
/// Xtab those keep their TABs, so a TAB against a blank is a reformat there.
bool ExactPair(const TExpected& e, size_t n, size_t o, bool icas) {
  return SameOverShorter(e.NewShown[n], e.OldShown[o], icas);
}

// The listing counts every line of the compared parts once: a NEW line as
// matched, reformatted, inserted (a moved line too) or not processed, an OLD
// line as matched or reformatted (counted once per pair), deleted (a moved
// line too) or not processed. So the statistics' "Lines Processed" are
//   NewLinesTotal - NewNotProcCount = MatchCount + ReformCount + InsertCount
//   OldLinesTotal - OldNotProcCount = MatchCount + ReformCount + DeleteCount
// MovedCount counts the moved OLD lines, each also a delete with a moved
// NEW partner that is an insert; PairedCount counts insert and delete pairs.
void CheckCounters(const TCompareCase& c, const TOutcome& run, const TExpected& e) {
  const TCompareCtl& k = run.Ctl;
  const std::string detail = c.Describe() + "\n" + CounterText(k) + "\n" + run.Status;
  FUZZ_CHECK(k.NewLinesTotal == static_cast<int>(e.NewRead.size()),
             detail + "\nexpected NEW lines " + std::to_string(e.NewRead.size()) + " " + Show(e.NewRead));
  FUZZ_CHECK(k.OldLinesTotal == static_cast<int>(e.OldRead.size()),
             detail + "\nexpected OLD lines " + std::to_string(e.OldRead.size()) + " " + Show(e.OldRead));
  // The read phase finds the files different exactly when their lines are
  // (compare columns compare only the columns).
  FUZZ_CHECK(k.CcolActive || k.FilesDiffer == (e.NewRead != e.OldRead), detail);
  FUZZ_CHECK(k.NewLinesTotal == k.MatchCount + k.ReformCount + k.InsertCount + k.NewNotProcCount, detail);
  FUZZ_CHECK(k.OldLinesTotal == k.MatchCount + k.ReformCount + k.DeleteCount + k.OldNotProcCount, detail);
  FUZZ_CHECK(k.MovedCount <= std::min(k.InsertCount, k.DeleteCount), detail);
  FUZZ_CHECK(k.OptFmvl || k.MovedCount == 0, detail);
  FUZZ_CHECK(k.PairedCount >= 0 && k.PairedCount <= std::min(k.InsertCount, k.DeleteCount), detail);
  FUZZ_CHECK(AnyFilter(k) || k.NewNotProcCount + k.OldNotProcCount == 0, detail);

  const bool changes = k.ReformCount + k.InsertCount + k.DeleteCount > 0;
  FUZZ_CHECK(changes == (run.Status == MsgDiffer), detail);
  const bool filtered = k.DpActive || k.DpsActive || k.OptIcas || k.OptRovr || k.CcolActive || k.DlnActive ||
                        k.PcmpActive;
  if (c.SameParts(k)) {
    FUZZ_CHECK(!changes, detail + "\nthe same bytes differ");
    FUZZ_CHECK(run.Status == (filtered ? MsgEquivFiltered : MsgEquivalent), detail);
  }
  if (!AnyFilter(k) && !k.CcolActive) {
    // Equal lines find each other, and a difference is found.
    bool equal = e.NewRead.size() == e.OldRead.size();
    for (size_t i = 0; equal && i < e.NewRead.size(); ++i)
      equal = ReferenceKey(e.NewRead[i], k.OptIcas) == ReferenceKey(e.OldRead[i], k.OptIcas) &&
              (k.OptRovr || ExactPair(e, i, i, k.OptIcas));
    FUZZ_CHECK(equal == !changes, detail + "\nNEW " + Show(e.NewRead) + "\nOLD " + Show(e.OldRead));
  }
}

/// The line numbers in the reference columns of a formatted body line.
struct TRefs {
  int New = -1, Old = -1;
};

TRefs RefsOf(const std::string& id, const std::vector<std::string>& words) {
  TRefs r;
  auto at = [&](size_t k) { return k < words.size() ? WordNumber(words[k]) : -1; };
  if (id == "    ") r = {at(0), at(1)};
  else if (id == "RN- ") r = {at(0), at(2)};
  else if (id == "RO- ") r = {-1, at(0)};
  else if (id == "I - " || id == "IM- ") r = {at(0), -1};
  else if (id == "D - ") r = {-1, at(1)};
  else if (id == "DM- ") r = {-1, words.empty() ? -1 : at(words.size() - 1)};
  return r;
}

// A Long listing without filters or compare columns lists every line of the
// compared parts once and in order: a NEW line as a match ("    "), reformat
// ("RN- "), insert or moved insert ("I - ", "IM- "); an OLD line as the
// partner of a match or reformat, a delete or moved delete ("D - ", "DM- ");
// "RO- " repeats the OLD line of a reformat with Lorl. A match shows the
// NEW text. The raw form (batch with Fscl) has whole texts and no numbers;
// the formatted form 80 characters of text and the line numbers.
void CheckLongListing(const TCompareCase& c, const TOutcome& run, const TExpected& e) {
  const TCompareCtl& k = run.Ctl;
  const std::string detail = c.Describe() + "\n" + CounterText(k);
  const std::vector<std::string> lines = SplitCrLf(run.Listing);
  size_t end = 0;
  const std::vector<std::string> body = BodyLines(lines, 0, OrderedIds, end);
  const bool icas = k.OptIcas;

  if (k.OptFscl) {
    std::vector<std::string> newSide;
    struct TOldEntry {
      std::string Text;
      int NewIndex; ///< the NEW line listed for it, or -1 for an OLD text
    };
    std::vector<TOldEntry> oldSide;
    for (const std::string& l : body) {
      const std::string id = l.substr(0, 4), text = l.substr(4);
      const bool newText = id == "    " || id == "RN- " || id == "I - " || id == "IM- ";
      if (newText) newSide.push_back(text);
      if (id == "    " || (id == "RN- " && !k.OptLorl))
        oldSide.push_back({text, static_cast<int>(newSide.size()) - 1});
      if (id == "RO- " || id == "D - " || id == "DM- ") oldSide.push_back({text, -1});
    }
    FUZZ_CHECK(newSide == e.NewShown, detail + "\nlisted " + Show(newSide) + "\nNEW    " + Show(e.NewShown));
    FUZZ_CHECK(oldSide.size() == e.OldShown.size(),
               detail + "\nOLD lines listed " + std::to_string(oldSide.size()) + " " + Show(e.OldShown));
    for (size_t j = 0; j < oldSide.size(); ++j) {
      const TOldEntry& o = oldSide[j];
      if (o.NewIndex < 0) {
        FUZZ_CHECK(o.Text == e.OldShown[j], detail + "\nOLD line " + std::to_string(j + 1));
      } else {
        const std::string& n = e.NewRead[static_cast<size_t>(o.NewIndex)];
        FUZZ_CHECK(ReferenceKey(n, icas) == ReferenceKey(e.OldRead[j], icas),
                   detail + "\nmatched lines with different keys: '" + n + "' '" + e.OldRead[j] + "'");
      }
    }
    return;
  }

  std::vector<int> newNumbers, oldNumbers;
  for (const std::string& l : body) {
    FUZZ_CHECK(l.size() >= 84, detail + "\nshort body line: " + l);
    const std::string id = l.substr(0, 4), field = l.substr(4, 80);
    const TRefs r = RefsOf(id, Words(l.substr(84)));
    const bool newSide = id == "    " || id == "RN- " || id == "I - " || id == "IM- ";
    const bool oldSide = id == "    " || id == "RN- " || id == "D - " || id == "DM- ";
    const int n = r.New - e.NewFirst, o = r.Old - e.OldFirst; // 0-based in the parts
    if (newSide) {
      FUZZ_CHECK(n >= 0 && n < static_cast<int>(e.NewShown.size()), detail + "\nNEW number in: " + l);
      FUZZ_CHECK(field == TextField(e.NewShown[static_cast<size_t>(n)]), detail + "\nNEW text in: " + l);
      newNumbers.push_back(r.New);
    }
    if (oldSide || id == "RO- ") {
      FUZZ_CHECK(o >= 0 && o < static_cast<int>(e.OldShown.size()), detail + "\nOLD number in: " + l);
      if (oldSide) oldNumbers.push_back(r.Old);
    }
    if (id == "D - " || id == "DM- " || id == "RO- ")
      FUZZ_CHECK(field == TextField(e.OldShown[static_cast<size_t>(o)]), detail + "\nOLD text in: " + l);
    if (id == "    " || id == "RN- ") {
      const std::string& nt = e.NewRead[static_cast<size_t>(n)];
      const std::string& ot = e.OldRead[static_cast<size_t>(o)];
      FUZZ_CHECK(ReferenceKey(nt, icas) == ReferenceKey(ot, icas), detail + "\nmatched: " + l);
      FUZZ_CHECK(ExactPair(e, static_cast<size_t>(n), static_cast<size_t>(o), icas) == (id == "    " || k.OptRovr),
                 detail + "\nmatch or reformat: " + l);
    }
  }
  for (size_t i = 0; i < newNumbers.size(); ++i)
    FUZZ_CHECK(newNumbers[i] == e.NewFirst + static_cast<int>(i), detail + "\nNEW numbers out of order");
  for (size_t j = 0; j < oldNumbers.size(); ++j)
    FUZZ_CHECK(oldNumbers[j] == e.OldFirst + static_cast<int>(j), detail + "\nOLD numbers out of order");
  FUZZ_CHECK(newNumbers.size() == e.NewShown.size(), detail + "\nNEW lines missing");
  FUZZ_CHECK(oldNumbers.size() == e.OldShown.size(), detail + "\nOLD lines missing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TCompareCase c = DecodeCase(data, size, false);
  WriteCaseFiles(c);
  const TOutcome batch = RunBatchCase(c, false);
  RequireSameOutcome(batch, RunBatchCase(c, true), "batch step on one thread and on two\n" + c.Describe());
  const TOutcome shown = RunInteractiveCase(c, false);
  RequireSameOutcome(shown, RunInteractiveCase(c, true), "interactive run on one thread and on two\n" + c.Describe());
  FUZZ_CHECK(CounterText(batch.Ctl) == CounterText(shown.Ctl) && batch.Status == shown.Status,
             "batch and interactive\n" + c.Describe() + "\n" + CounterText(batch.Ctl) + "\n" + CounterText(shown.Ctl));

  const TCompareCtl& k = batch.Ctl;
  if (batch.Result != 0) {
    // Only rejected ranges stop a run before it starts.
    FUZZ_CHECK(k.CcolBad || k.PcmpBad, c.Describe() + "\n" + batch.Status);
    FUZZ_CHECK(batch.Status.rfind(MsgBadSpec, 0) == 0, c.Describe() + "\n" + batch.Status);
    return 0;
  }
  const TExpected e = Expect(c, k);
  CheckCounters(c, batch, e);
  if (k.ListLong && !AnyFilter(k) && !k.CcolActive) CheckLongListing(c, batch, e);
  return 0;
}
