#include "viewers/ChangedChars.h"

#include <algorithm>
#include <cstdint>

namespace quorlin {

namespace {

enum class TTokenKind : uint8_t { Word, Blank, Other };

struct TToken {
  size_t From, To;
  TTokenKind Kind;
};

TTokenKind KindOf(unsigned char c) {
  if (c == ' ' || c == '\t') return TTokenKind::Blank;
  // Bytes of UTF-8 characters count as letters, so a word stays one token.
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80)
    return TTokenKind::Word;
  return TTokenKind::Other;
}

std::vector<TToken> Tokens(std::string_view text) {
  std::vector<TToken> tokens;
  for (size_t at = 0; at < text.size();) {
    const TTokenKind kind = KindOf(static_cast<unsigned char>(text[at]));
    size_t end = at + 1;
    if (kind != TTokenKind::Other)
      while (end < text.size() && KindOf(static_cast<unsigned char>(text[end])) == kind) ++end;
    tokens.push_back({at, end, kind});
    at = end;
  }
  return tokens;
}

bool SameText(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (!ignoreCase) return a == b;
  for (size_t k = 0; k < a.size(); ++k) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[k]) != lower(b[k])) return false;
  }
  return true;
}

/// The bytes of [from, to) that lie in the compared columns (none set: all).
size_t InColumnsLength(size_t from, size_t to, const std::array<std::pair<int, int>, 4>& columns) {
  if (columns[0].first <= 0) return to - from;
  size_t length = 0;
  for (const auto& [first, last] : columns) {
    if (first <= 0) break;
    const size_t a = std::max(from, static_cast<size_t>(first - 1));
    const size_t b = last <= 0 ? to : std::min(to, static_cast<size_t>(last));
    if (a < b) length += b - a;
  }
  return length;
}

/// Keeps of ranges only what lies in the compared columns (none set: all).
TCharRanges InColumns(const TCharRanges& ranges, const std::array<std::pair<int, int>, 4>& columns) {
  if (columns[0].first <= 0) return ranges;
  TCharRanges kept;
  for (const TCharRange& r : ranges)
    for (const auto& [first, last] : columns) {
      if (first <= 0) break;
      const size_t from = std::max(r.From, static_cast<size_t>(first - 1));
      const size_t to = last <= 0 ? r.To : std::min(r.To, static_cast<size_t>(last));
      if (from < to) kept.push_back({from, to});
    }
  std::sort(kept.begin(), kept.end(), [](const TCharRange& a, const TCharRange& b) { return a.From < b.From; });
  return kept;
}

/// Marks of the tokens of one side not in the common subsequence, joined
/// where a single blank run parts them.
TCharRanges MarkTokens(const std::vector<TToken>& tokens, const std::vector<bool>& common) {
  TCharRanges marks;
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (common[k]) continue;
    if (!marks.empty() && (marks.back().To == tokens[k].From ||
                           (k >= 2 && !common[k - 2] && tokens[k - 1].Kind == TTokenKind::Blank &&
                            marks.back().To == tokens[k - 1].From)))
      marks.back().To = tokens[k].To;
    else
      marks.push_back({tokens[k].From, tokens[k].To});
  }
  return marks;
}

} // namespace

TPairMarks MarkChanges(std::string_view newText, std::string_view oldText, const TMarkRules& rules,
                       bool reformatted) {
  const std::vector<TToken> a = Tokens(newText), b = Tokens(oldText);
  auto same = [&](size_t i, size_t j) {
    return a[i].Kind == b[j].Kind && SameText(newText.substr(a[i].From, a[i].To - a[i].From),
                                              oldText.substr(b[j].From, b[j].To - b[j].From), rules.IgnoreCase);
  };
  std::vector<bool> commonA(a.size(), false), commonB(b.size(), false);
  // The common start and end need no table; the middle gets the longest
  // common subsequence, unless it is too large to be worth it.
  size_t head = 0;
  while (head < a.size() && head < b.size() && same(head, head)) commonA[head] = commonB[head] = true, ++head;
  size_t tailA = a.size(), tailB = b.size();
  while (tailA > head && tailB > head && same(tailA - 1, tailB - 1)) commonA[--tailA] = commonB[--tailB] = true;
  const size_t n = tailA - head, m = tailB - head;
  if (n > 0 && m > 0 && n * m <= 1'000'000) {
    std::vector<uint16_t> table((n + 1) * (m + 1), 0); // longest common run of a[i..] and b[j..]
    auto at = [&](size_t i, size_t j) -> uint16_t& { return table[i * (m + 1) + j]; };
    for (size_t i = n; i-- > 0;)
      for (size_t j = m; j-- > 0;)
        at(i, j) = same(head + i, head + j) ? static_cast<uint16_t>(at(i + 1, j + 1) + 1) : std::max(at(i + 1, j), at(i, j + 1));
    for (size_t i = 0, j = 0; i < n && j < m;) {
      if (same(head + i, head + j)) {
        commonA[head + i++] = commonB[head + j++] = true;
      } else if (at(i + 1, j) >= at(i, j + 1)) {
        ++i;
      } else {
        ++j;
      }
    }
  }
  if (!reformatted) {
    // Alike enough: half of the longer text (as far as it is compared) lies
    // in common tokens.
    size_t shared = 0;
    for (size_t i = 0; i < a.size(); ++i)
      if (commonA[i]) shared += InColumnsLength(a[i].From, a[i].To, rules.NewColumns);
    if (2 * shared < std::max(InColumnsLength(0, newText.size(), rules.NewColumns),
                              InColumnsLength(0, oldText.size(), rules.OldColumns)))
      return {};
  }
  return {InColumns(MarkTokens(a, commonA), rules.NewColumns), InColumns(MarkTokens(b, commonB), rules.OldColumns)};
}

void TChangeRecordPairs::Pair(long a, long b, bool reformatted) {
  THeld& x = At(a);
  THeld& y = At(b);
  const bool xNew = InNewSideTags(x.Record.Id);
  const TPairMarks marks = xNew ? MarkChanges(x.Text, y.Text, Rules, reformatted)
                                : MarkChanges(y.Text, x.Text, Rules, reformatted);
  x.Record.Ranges = xNew ? marks.New : marks.Old;
  y.Record.Ranges = xNew ? marks.Old : marks.New;
  x.Record.Paired = y.Record.Paired = x.Done = y.Done = true;
}

void TChangeRecordPairs::CloseGroup() {
  for (size_t j = 0; j < Inserts.size() && j < Deletes.size(); ++j) Pair(Inserts[j], Deletes[j], false);
  for (const std::vector<long>* side : {&Inserts, &Deletes})
    for (long n : *side) At(n).Done = true;
  Inserts.clear();
  Deletes.clear();
  RunNew = RunOld = -1;
  InDeletes = false;
  if (Reform >= 0) At(Reform).Done = true;
  Reform = -1;
  Release();
}

void TChangeRecordPairs::Release() {
  while (!Held.empty() && Held.front().Done) {
    Out(Held.front().Record);
    Held.pop_front();
    ++Base;
  }
}

void TChangeRecordPairs::Add(std::string_view id, long newLine, long oldLine, std::string_view text) {
  const std::string flag(id.substr(0, 3));
  const bool insert = flag == "I -", remove = flag == "D -";
  // A new change group: anything but the next insert of this one's inserts
  // or the next delete of its deletes (moved lines among them keep the run).
  const bool newSide = insert || flag == "IM-", oldSide = remove || flag == "DM-";
  const bool nextInsert = newSide && !InDeletes && (RunNew < 0 || RunNew + 1 == newLine);
  const bool nextDelete = oldSide && (RunOld < 0 || RunOld + 1 == oldLine);
  const bool reformOld = flag == "RO-" && Reform >= 0 && At(Reform).Record.NewLine == newLine &&
                         At(Reform).Record.OldLine == oldLine;
  if (!nextInsert && !nextDelete && !reformOld) CloseGroup();
  const long n = Base + static_cast<long>(Held.size());
  Held.push_back({{flag, newLine, oldLine, false, {}}, std::string(text), false});
  if (newSide) RunNew = newLine;
  if (oldSide) RunOld = oldLine, InDeletes = true;
  if (insert) {
    Inserts.push_back(n);
  } else if (remove) {
    Deletes.push_back(n);
  } else if (reformOld) {
    Pair(Reform, n, true);
    Reform = -1;
  } else if (flag == "RN-") {
    Reform = n;
  } else if (flag == "IM-" || flag == "DM-") {
    const auto key = std::pair(newLine, oldLine);
    if (const auto partner = Moved.find(key); partner != Moved.end()) {
      Pair(partner->second, n, false);
      Moved.erase(partner);
    } else {
      Moved.emplace(key, n);
    }
  } else {
    At(n).Done = true; // Clnc lines have no partner here
  }
  Release();
}

void TChangeRecordPairs::Finish() {
  CloseGroup();
  for (THeld& held : Held) held.Done = true;
  Release();
}

std::string_view ListedText(std::string_view line, bool fscl) {
  constexpr size_t FieldStart = 4, FieldBytes = 80;
  if (line.size() <= FieldStart) return {};
  std::string_view text = line.substr(FieldStart, fscl ? std::string_view::npos : FieldBytes);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

namespace {

constexpr long GroupReach = 4000; ///< rows a change group is searched for each way

bool ChangeRow(std::string_view flag) {
  return flag == "I -" || flag == "D -" || flag == "RN-" || flag == "RO-" || flag == "IM-" || flag == "DM-";
}

std::string_view Flag(const TStringList& list, long i) {
  return i >= 0 && static_cast<size_t>(i) < list.size() ? ChangeFlag(list[static_cast<size_t>(i)]) : std::string_view();
}

} // namespace

std::optional<TRowMarks::TRow> TRowMarks::Partner(TPanelRule rule, long i) {
  if (View.Clnc) return std::nullopt;
  const std::string_view flag = Flag(PanelList(View, rule), i);
  if (flag == "IM-" || flag == "DM-") return MovedPartner(rule, i);
  if (flag == "I -" || flag == "D -") return GroupPartner(rule, i);
  if (rule == TPanelRule::Single) {
    // With Lorl the OLD line of a reformatted pair follows its NEW line.
    if (flag == "RN-" && Flag(*View.Panel1, i + 1) == "RO-") return TRow{rule, i + 1};
    if (flag == "RO-" && Flag(*View.Panel1, i - 1) == "RN-") return TRow{rule, i - 1};
    return std::nullopt;
  }
  // The two panels list a reformatted pair on one row.
  if (flag == "RN-" && Flag(*View.Panel2, i) == "RO-") return TRow{TPanelRule::OldSide, i};
  if (flag == "RO-" && Flag(*View.Panel1, i) == "RN-") return TRow{TPanelRule::NewSide, i};
  return std::nullopt;
}

std::optional<TRowMarks::TRow> TRowMarks::GroupPartner(TPanelRule rule, long i) {
  // The rows of the change group around i: in one panel, or row by row in
  // both panels of the two-panel viewers.
  const bool single = rule == TPanelRule::Single;
  auto inGroup = [&](long k) {
    return ChangeRow(Flag(*View.Panel1, k)) || (!single && ChangeRow(Flag(*View.Panel2, k)));
  };
  long first = i, last = i;
  while (first > 0 && i - first < GroupReach && inGroup(first - 1)) --first;
  while (last + 1 - i < GroupReach && inGroup(last + 1)) ++last;
  const TStringList& inserts = *View.Panel1;
  const TStringList& deletes = single ? *View.Panel1 : *View.Panel2;
  std::vector<long> ins, del;
  for (long k = first; k <= last; ++k) {
    if (Flag(inserts, k) == "I -") ins.push_back(k);
    if (Flag(deletes, k) == "D -") del.push_back(k);
  }
  const bool insert = Flag(PanelList(View, rule), i) == "I -";
  const std::vector<long>& own = insert ? ins : del;
  const std::vector<long>& other = insert ? del : ins;
  const size_t j = static_cast<size_t>(std::find(own.begin(), own.end(), i) - own.begin());
  if (j >= other.size()) return std::nullopt;
  return TRow{single ? rule : insert ? TPanelRule::OldSide : TPanelRule::NewSide, other[j]};
}

std::optional<TRowMarks::TRow> TRowMarks::MovedPartner(TPanelRule rule, long i) {
  const bool single = rule == TPanelRule::Single;
  if (!MovedIndexed) {
    // Moved rows by their own line number: IM- by NEW, DM- by OLD.
    MovedIndexed = true;
    for (const bool second : {false, true}) {
      if (single && second) break;
      const TStringList& list = second ? *View.Panel2 : *View.Panel1;
      const TPanelRule own = single ? TPanelRule::Single : second ? TPanelRule::OldSide : TPanelRule::NewSide;
      for (size_t k = 0; k < list.size(); ++k) {
        const std::string_view flag = ChangeFlag(list[k]);
        if (flag == "IM-") MovedNew.emplace(RefNumbers(list[k]).First, TRow{own, static_cast<long>(k)});
        if (flag == "DM-") MovedOld.emplace(RefNumbers(list[k]).Second, TRow{own, static_cast<long>(k)});
      }
    }
  }
  const std::string_view line = PanelList(View, rule)[static_cast<size_t>(i)];
  const TRefNumbers refs = RefNumbers(line);
  const bool insert = ChangeFlag(line) == "IM-";
  const auto& index = insert ? MovedOld : MovedNew;
  const auto found = index.find(insert ? refs.Second : refs.First);
  if (found == index.end()) return std::nullopt;
  return found->second;
}

TCharRanges TRowMarks::Marks(TPanelRule rule, long i) {
  const TStringList& list = PanelList(View, rule);
  if (i < 0 || static_cast<size_t>(i) >= list.size()) return {};
  const std::optional<TRow> partner = Partner(rule, i);
  if (!partner) return {};
  const std::string_view line = list[static_cast<size_t>(i)];
  const std::string_view other = PanelList(View, partner->Rule)[static_cast<size_t>(partner->Index)];
  const bool isNew = InNewSideTags(ChangeFlag(line));
  const std::string_view text = ListedText(line, View.Fscl), otherText = ListedText(other, View.Fscl);
  const bool reformatted = ChangeFlag(line) == "RN-" || ChangeFlag(line) == "RO-";
  const TPairMarks pair =
      isNew ? MarkChanges(text, otherText, Rules, reformatted) : MarkChanges(otherText, text, Rules, reformatted);
  TCharRanges marks = isNew ? pair.New : pair.Old;
  for (TCharRange& r : marks) r.From += 4, r.To += 4; // after the line ID
  return marks;
}

TCharRanges TRowMarks::DisplayMarks(TPanelRule rule, long i) {
  TCharRanges marks = Marks(rule, i);
  // The row's number before the line: four columns or more, two blanks.
  // (Aligned rows grow only after the field, where no mark lies.)
  const size_t lead = std::max<size_t>(4, std::to_string(i - HeadingLead(View, rule)).size()) + 2;
  for (TCharRange& r : marks) r.From += lead, r.To += lead;
  return marks;
}

TCharRanges TRowMarks::ShownMarks(TPanelRule rule, long i) {
  TCharRanges marks = DisplayMarks(rule, i);
  if (marks.empty()) return marks;
  std::string display;
  DisplayText(View, rule, i, display);
  for (TCharRange& r : marks) {
    r.From = ShownLength(std::string_view(display).substr(0, std::min(display.size(), r.From)));
    r.To = ShownLength(std::string_view(display).substr(0, std::min(display.size(), r.To)));
  }
  return marks;
}

} // namespace quorlin
