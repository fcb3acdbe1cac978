// The characters that changed inside a changed line: which listed lines pair
// (a reformatted pair, the j-th inserted and j-th deleted line of a change
// group when they are alike, a moved line and its partner), and which of their
// bytes differ, token by token. Computed for the rows a viewer paints or a
// report writes, never for a whole listing ahead.
#pragma once

#include "viewers/LineModel.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorlin {

/// Changed bytes of a text: [From, To), 0-based, To exclusive.
struct TCharRange {
  size_t From = 0, To = 0;
  bool operator==(const TCharRange&) const = default;
};
using TCharRanges = std::vector<TCharRange>;

/// What decides a change: case (Icas makes it none) and the compared columns
/// of each file (1-based first and last; last 0 up to the end of the line;
/// none set: the whole line).
struct TMarkRules {
  bool IgnoreCase = false;
  std::array<std::pair<int, int>, 4> NewColumns{}, OldColumns{};
};

/// The marks of a pair of texts: the texts split into tokens (runs of
/// letters, digits and underscores; runs of blanks; any other character
/// alone), the tokens outside their longest common subsequence marked on
/// each side, marks separated by a single blank run joined. Empty when the
/// texts are not alike enough to be worth marking (less than half of the
/// longer text's characters in common tokens) unless reformatted is set (a
/// reformatted pair: its changed blank runs are what is marked).
struct TPairMarks {
  TCharRanges New, Old;
};
TPairMarks MarkChanges(std::string_view newText, std::string_view oldText, const TMarkRules& rules,
                       bool reformatted = false);

/// The marks of the rows of a result view, found on demand: the partner of a
/// row and the marks of its listed text (the text field after the
/// four-character ID, trailing blanks of the field not counted; offsets into
/// the listing line). Moved lines find their partners through an index built
/// the first time one is asked for.
class TRowMarks {
public:
  explicit TRowMarks(const TResultView& view)
      : View(view), Rules{view.Icas, view.NewColumns, view.OldColumns} {}
  /// The marks of row i of the panel, as byte offsets into the listing line.
  TCharRanges Marks(TPanelRule rule, long i);
  /// The same marks as byte offsets into DisplayText of the row (after the
  /// row's number).
  TCharRanges DisplayMarks(TPanelRule rule, long i);
  /// The same marks as character offsets into ShownText of the row.
  TCharRanges ShownMarks(TPanelRule rule, long i);

private:
  const TResultView& View;
  TMarkRules Rules;
  struct TRow {
    TPanelRule Rule;
    long Index;
  };
  std::optional<TRow> Partner(TPanelRule rule, long i);
  std::optional<TRow> GroupPartner(TPanelRule rule, long i);
  std::optional<TRow> MovedPartner(TPanelRule rule, long i);
  bool MovedIndexed = false;
  std::unordered_map<long, TRow> MovedNew, MovedOld; ///< moved rows by their NEW and OLD line numbers
};

/// The change records of a listing, as it reports them line by line (Long,
/// Chng, Delta), paired as the viewers pair rows: a reformatted pair, the
/// j-th inserted and j-th deleted line of a change group (a run of inserts
/// with rising NEW numbers, then of deletes with rising OLD numbers), a moved
/// line and its partner (the same two numbers). Each record is handed on in
/// its order as soon as its partner is known, with the marks of its text.
class TChangeRecordPairs {
public:
  struct TRecord {
    std::string Id;
    long NewLine = 0, OldLine = 0;
    bool Paired = false;  ///< the line has a partner (Ranges may still be empty)
    TCharRanges Ranges;   ///< changed bytes of its text, as listed
  };
  TChangeRecordPairs(TMarkRules rules, std::function<void(const TRecord&)> out)
      : Rules(std::move(rules)), Out(std::move(out)) {}
  /// The rules of the run (known once its set-up has run).
  void SetRules(const TMarkRules& rules) { Rules = rules; }
  /// The next change line: its ID, line numbers and text.
  void Add(std::string_view id, long newLine, long oldLine, std::string_view text);
  /// Hands on every record still held.
  void Finish();

private:
  struct THeld {
    TRecord Record;
    std::string Text;
    bool Done = false;
  };
  TMarkRules Rules;
  std::function<void(const TRecord&)> Out;
  std::deque<THeld> Held;
  long Base = 0; ///< the number of records already handed on (index of Held.front())
  std::vector<long> Inserts, Deletes; ///< the open change group, by record number
  long RunNew = -1, RunOld = -1;      ///< the last NEW and OLD numbers of its insert and delete runs
  bool InDeletes = false;             ///< its delete run has begun
  std::map<std::pair<long, long>, long> Moved; ///< moved records waiting for their partner
  long Reform = -1;                            ///< an RN- record waiting for its RO-
  THeld& At(long n) { return Held[static_cast<size_t>(n - Base)]; }
  void Pair(long a, long b, bool reformatted);
  void CloseGroup();
  void Release();
};

/// The listed text of a listing line: the field after the ID, without the
/// padding blanks of an 80-byte field (with fscl, the rest of the line).
std::string_view ListedText(std::string_view line, bool fscl);

} // namespace quorlin
