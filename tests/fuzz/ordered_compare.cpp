// Fuzz target: the ordered compare of two arbitrary files with random
// options, don't-process filters and listing types. Input: six option bytes,
// the NEW bytes, "@@@@", the OLD bytes (DecodeCase). A few inputs become
// pairs of many passes: repeated copies, or a text with a block longer than
// a pass inserted, deleted or replaced (two more bytes give its shape).
//
// Invariants, besides the agreement of the four runs (RunCase) and the
// totals and message (CheckVerdict):
// - the counters add up (CheckCounters);
// - without filters or compare columns the files compare as equivalent
//   exactly when each pair of lines has equal compare keys and (but with
//   Rovr) the same text over the shorter length;
// - a Long listing without filters or compare columns lists every NEW and
//   every OLD line once, in order, with its text (CheckLongListing).
#include "CompareCase.h"

#include "engine/CompareRun.h"

#include <algorithm>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

const std::vector<std::string> OrderedIds = {"    ", "RN- ", "RO- ", "I - ", "D - ", "DM- ", "IM- "};

// The listing counts every line of the compared parts once: a NEW line as
// matched, reformatted, inserted (a moved line too) or not processed, an OLD
// line as matched or reformatted (counted once per pair), deleted (a moved
// line too) or not processed. So the statistics' "Lines Processed" are
//   NewLinesTotal - NewNotProcCount = MatchCount + ReformCount + InsertCount
//   OldLinesTotal - OldNotProcCount = MatchCount + ReformCount + DeleteCount
// MovedCount counts the moved OLD lines, each also a delete with a moved
// NEW partner that is an insert; PairedCount counts insert and delete pairs.
void CheckCounters(const TCompareCase& c, const TOutcome& run, const TParts& read, const TParts& shown) {
  const TCompareCtl& k = run.Ctl;
  const std::string detail = run.Detail(c);
  const bool changes = CheckVerdict(c, run, read);
  FUZZ_CHECK(k.NewLinesTotal == k.MatchCount + k.ReformCount + k.InsertCount + k.NewNotProcCount, detail);
  FUZZ_CHECK(k.OldLinesTotal == k.MatchCount + k.ReformCount + k.DeleteCount + k.OldNotProcCount, detail);
  FUZZ_CHECK(k.MovedCount <= std::min(k.InsertCount, k.DeleteCount), detail);
  FUZZ_CHECK(k.OptFmvl || k.MovedCount == 0, detail);
  FUZZ_CHECK(k.PairedCount >= 0 && k.PairedCount <= std::min(k.InsertCount, k.DeleteCount), detail);
  FUZZ_CHECK(AnyFilter(k) || k.NewNotProcCount + k.OldNotProcCount == 0, detail);
  if (!AnyFilter(k) && !k.CcolActive) {
    // Equal lines find each other, and a difference is found. The listing
    // judges exactness on the texts it shows: with Xtab a TAB against a
    // blank is a reformat.
    const auto& n = read.New;
    const auto& o = read.Old;
    bool equal = n.size() == o.size();
    for (size_t i = 0; equal && i < n.size(); ++i)
      equal = ReferenceKey(n[i], k.OptIcas) == ReferenceKey(o[i], k.OptIcas) &&
              (k.OptRovr || SameOverShorter(shown.New[i], shown.Old[i], k.OptIcas));
    FUZZ_CHECK(equal == !changes, detail + "\nNEW " + Show(n) + "\nOLD " + Show(o));
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
// with Lorl a reformat is followed by "RO- " with its OLD line. A match shows
// the NEW text; the two lines of a match or reformat have equal compare keys,
// and the same shown text over the shorter length just when listed as a
// match (or with Rovr). The raw form (batch with Fscl) has whole texts and no
// numbers; the formatted form 80 characters of text and the line numbers.
void CheckLongListing(const TCompareCase& c, const TOutcome& run, const TParts& read, const TParts& shown) {
  const TCompareCtl& k = run.Ctl;
  const bool raw = k.OptFscl, icas = k.OptIcas;
  const std::string detail = c.Describe() + "\n" + CounterText(k);
  size_t end = 0, n = 0, o = 0; // n, o: the next NEW and OLD line of the parts
  for (const std::string& l : BodyLines(SplitCrLf(run.Listing), 0, OrderedIds, end)) {
    FUZZ_CHECK(raw || l.size() >= 84, detail + "\nshort body line: " + l);
    const std::string id = l.substr(0, 4), text = raw ? l.substr(4) : l.substr(4, 80);
    const TRefs r = raw ? TRefs{} : RefsOf(id, Words(l.substr(84)));
    // Whether the line shows line `at` of a part and (formatted) its number.
    auto shows = [&](const std::vector<std::string>& part, size_t at) {
      return at < part.size() && text == (raw ? part[at] : TextField(part[at]));
    };
    auto numbered = [&](int ref, int first, size_t at) { return raw || ref == first + static_cast<int>(at); };
    const bool newSide = id == "    " || id == "RN- " || id == "I - " || id == "IM- ";
    const bool oldSide = id == "    " || id == "RN- " || id == "D - " || id == "DM- ";
    auto where = [&] { return " (NEW line " + std::to_string(n + 1) + ", OLD line " + std::to_string(o + 1) + "): " + l; };
    if (newSide) FUZZ_CHECK(shows(shown.New, n) && numbered(r.New, shown.NewFirst, n), detail + "\nNEW" + where());
    if (oldSide) FUZZ_CHECK(o < shown.Old.size() && numbered(r.Old, shown.OldFirst, o), detail + "\nOLD" + where());
    if (id == "D - " || id == "DM- ") FUZZ_CHECK(shows(shown.Old, o), detail + "\nOLD text" + where());
    if (id == "RO- ")
      FUZZ_CHECK(o > 0 && shows(shown.Old, o - 1) && numbered(r.Old, shown.OldFirst, o - 1),
                 detail + "\nthe reformat's OLD line" + where());
    if (id == "    " || id == "RN- ") {
      FUZZ_CHECK(ReferenceKey(read.New[n], icas) == ReferenceKey(read.Old[o], icas), detail + "\nmatched" + where());
      // With Rovr a reformat is listed as a match.
      FUZZ_CHECK(k.OptRovr ? id == "    " : SameOverShorter(shown.New[n], shown.Old[o], icas) == (id == "    "),
                 detail + "\nmatch or reformat" + where());
    }
    n += newSide;
    o += oldSide;
  }
  FUZZ_CHECK(n == shown.New.size() && o == shown.Old.size(),
             detail + "\nlisted " + std::to_string(n) + " NEW and " + std::to_string(o) + " OLD lines of " +
                 std::to_string(shown.New.size()) + " and " + std::to_string(shown.Old.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TCompareCase c = DecodeCase(data, size, false);
  const TOutcome batch = RunCase(c);
  if (batch.Result != 0) return 0;
  const TCompareCtl& k = batch.Ctl;
  // The parts as the compare reads them (a TAB is a blank) and as the
  // listing shows them (with Xtab the listing reads TABs as TABs).
  const TParts read = ComparedParts(c, k, false), shown = ComparedParts(c, k, c.Pref(TagXtab));
  CheckCounters(c, batch, read, shown);
  if (k.ListLong && !AnyFilter(k) && !k.CcolActive) CheckLongListing(c, batch, read, shown);
  return 0;
}
