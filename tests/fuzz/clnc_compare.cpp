// Fuzz target: the unordered compare (Clnc) of two arbitrary line lists with
// random options. Input: six option bytes, the NEW bytes, "@@@@", the OLD
// bytes (DecodeCase; Clnc is always checked).
//
// Invariants, besides the agreement of the four runs (RunCase) and the
// totals and message (CheckVerdict):
// - the counters add up (CheckCounters);
// - without string filters, Dln conditions or compare columns the counts
//   are those of the two lists as multisets of compare keys (CheckModel);
// - a Long listing lists every line of each list once, in order, with its
//   text, and a partner named in it has the line's compare key.
#include "CompareCase.h"

#include "engine/CompareRun.h"

#include <algorithm>
#include <array>
#include <map>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

const std::vector<std::string> ClncIds = {"    ", "I - ", "D - ", "RN- ", "RO- ", "XN- ", "XO- ", "XR- "};

// Every line of each list is counted once: a NEW line as a dupe, a blank
// line, a don't-process line, an insert, or as matched (counted with its OLD
// partner as a match or a reformat); an OLD line as a dupe, a match, a
// reformat, a blank line, a don't-process line or a delete:
//   NewLinesTotal = MatchCount + ReformCount + NewDupeCount + NewBlankCount + NewNotProcCount + InsertCount
//   OldLinesTotal = MatchCount + ReformCount + OldDupeCount + OldBlankCount + OldNotProcCount + DeleteCount
// (the statistics' "Lines Processed" are the totals less the not-processed
// lines; blank lines are among the processed ones there).
void CheckCounters(const TCompareCase& c, const TOutcome& run, const TParts& l, const std::string& detail) {
  const TCompareCtl& k = run.Ctl;
  CheckVerdict(c, run, l);
  FUZZ_CHECK(k.NewLinesTotal ==
                 k.MatchCount + k.ReformCount + k.NewDupeCount + k.NewBlankCount + k.NewNotProcCount + k.InsertCount,
             detail);
  FUZZ_CHECK(k.OldLinesTotal ==
                 k.MatchCount + k.ReformCount + k.OldDupeCount + k.OldBlankCount + k.OldNotProcCount + k.DeleteCount,
             detail);
  FUZZ_CHECK(!k.OptRovr || k.ReformCount == 0, detail);
}

// Without filters or compare columns the lists compare as multisets of
// compare keys. A blank line is not processed. For each key held by both
// lists the first NEW line pairs with the first OLD line (a match, or a
// reformat unless their texts agree over the shorter length) and the
// other lines holding it are dupes; a key held by one list only makes its
// lines inserts or deletes. Two lists of the same lines are the exception:
// each line pairs with the line of its own index, so repeated lines are
// matches there, not dupes.
void CheckModel(const TOutcome& run, const TParts& l, const std::string& detail) {
  const TCompareCtl& k = run.Ctl;
  if (!k.FilesDiffer) {
    int blank = 0;
    for (const std::string& line : l.New) blank += BlankOnly(line);
    const int match = static_cast<int>(l.New.size()) - blank;
    FUZZ_CHECK(k.MatchCount == match && k.NewBlankCount == blank && k.OldBlankCount == blank &&
                   k.ReformCount + k.InsertCount + k.DeleteCount + k.NewDupeCount + k.OldDupeCount == 0,
               detail + "\nthe same lines: expected " + std::to_string(match) + " matches");
    return;
  }
  // The lines of each compare key: [0] of NEW, [1] of OLD.
  std::map<std::string, std::array<std::vector<size_t>, 2>> classes;
  int blank[2] = {0, 0};
  for (size_t side = 0; side < 2; ++side) {
    const std::vector<std::string>& lines = side == 0 ? l.New : l.Old;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (BlankOnly(lines[i])) ++blank[side];
      else classes[ReferenceKey(lines[i], k.OptIcas)][side].push_back(i);
    }
  }
  const int newBlank = blank[0], oldBlank = blank[1];
  int insert = 0, del = 0, newDupe = 0, oldDupe = 0, match = 0, reform = 0;
  for (const auto& [key, cl] : classes) {
    const int n = static_cast<int>(cl[0].size()), o = static_cast<int>(cl[1].size());
    if (o == 0) insert += n;
    if (n == 0) del += o;
    if (n == 0 || o == 0) continue;
    newDupe += n - 1;
    oldDupe += o - 1;
    if (!k.OptRovr && !SameOverShorter(l.New[cl[0][0]], l.Old[cl[1][0]], k.OptIcas)) ++reform;
    else ++match;
  }
  char expected[256];
  std::snprintf(expected, sizeof expected,
                "expected match=%d reform=%d insert=%d delete=%d blank=%d/%d dupe=%d/%d", match, reform, insert,
                del, newBlank, oldBlank, newDupe, oldDupe);
  FUZZ_CHECK(k.MatchCount == match && k.ReformCount == reform && k.InsertCount == insert && k.DeleteCount == del &&
                 k.NewBlankCount == newBlank && k.OldBlankCount == oldBlank && k.NewDupeCount == newDupe &&
                 k.OldDupeCount == oldDupe && k.NewNotProcCount == 0 && k.OldNotProcCount == 0,
             detail + "\n" + expected + "\nNEW " + Show(l.New) + "\nOLD " + Show(l.Old));
}

/// Checks one section of a Long listing (Xdpl off): every line of its list
/// once, in order, with its text; the IDs counted; partners of the same key.
void CheckSection(const TOutcome& run, const TParts& l, bool isNew, const std::vector<std::string>& body,
                  const std::string& detail) {
  const TCompareCtl& k = run.Ctl;
  const std::vector<std::string>& own = isNew ? l.New : l.Old;
  const std::string side = isNew ? "NEW section" : "OLD section";
  FUZZ_CHECK(body.size() == own.size(), detail + "\n" + side + " lists " + std::to_string(body.size()) + " lines");
  std::map<std::string, int> ids;
  for (size_t i = 0; i < body.size(); ++i) {
    const std::string& line = body[i];
    const std::string id = line.substr(0, 4);
    ++ids[id];
    if (k.OptFscl) {
      FUZZ_CHECK(line.substr(4) == own[i].substr(0, 128), detail + "\n" + side + " text: " + line);
      continue;
    }
    FUZZ_CHECK(line.size() >= 84 && line.substr(4, 80) == TextField(own[i]), detail + "\n" + side + " text: " + line);
    const std::vector<std::string> words = Words(line.substr(84));
    FUZZ_CHECK(!words.empty() && WordNumber(words[0]) == static_cast<int>(i + 1),
               detail + "\n" + side + " number: " + line);
    if (words.size() < 2 || k.CcolActive) continue;
    // The partner: the other list's line for a match or reformat, a line of
    // the same list for a dupe.
    const int partner = WordNumber(words.back());
    if (partner < 0) continue; // "Insert", "Delete", a blank or don't-process line
    const bool sameList = id == "XN- " || id == "XO- " || id == "XR- ";
    const std::vector<std::string>& other = sameList ? own : (isNew ? l.Old : l.New);
    FUZZ_CHECK(partner >= 1 && partner <= static_cast<int>(other.size()), detail + "\n" + side + " partner: " + line);
    FUZZ_CHECK(ReferenceKey(own[i], k.OptIcas) == ReferenceKey(other[static_cast<size_t>(partner - 1)], k.OptIcas),
               detail + "\n" + side + " partner key: " + line);
  }
  const int dupes = ids["XR- "] + ids[isNew ? "XN- " : "XO- "];
  FUZZ_CHECK(ids[isNew ? "I - " : "D - "] == (isNew ? k.InsertCount : k.DeleteCount), detail + "\n" + side + " changes");
  FUZZ_CHECK(ids[isNew ? "RN- " : "RO- "] == k.ReformCount, detail + "\n" + side + " reformats");
  FUZZ_CHECK(dupes == (isNew ? k.NewDupeCount : k.OldDupeCount), detail + "\n" + side + " dupes");
  FUZZ_CHECK(ids[isNew ? "XO- " : "XN- "] == 0 && ids[isNew ? "D - " : "I - "] == 0 &&
                 ids[isNew ? "RO- " : "RN- "] == 0,
             detail + "\n" + side + " holds an ID of the other list");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TCompareCase c = DecodeCase(data, size, true);
  const TOutcome batch = RunCase(c);
  if (batch.Result != 0) return 0;
  const TCompareCtl& k = batch.Ctl;
  const std::string detail = batch.Detail(c);
  const TParts l = ComparedParts(c, k, false); // a TAB is a blank
  CheckCounters(c, batch, l, detail);
  if (!k.DpsActive && !k.DlnActive && !k.CcolActive) CheckModel(batch, l, detail);
  if (k.ListLong && !k.OptXdpl) {
    const std::vector<std::string> lines = SplitCrLf(batch.Listing);
    size_t end = 0;
    const std::vector<std::string> newBody = BodyLines(lines, 0, ClncIds, end);
    CheckSection(batch, l, true, newBody, detail);
    CheckSection(batch, l, false, BodyLines(lines, end, ClncIds, end), detail);
  }
  return 0;
}
