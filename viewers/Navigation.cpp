#include "viewers/Navigation.h"

#include "platform/Text.h"

#include <algorithm>
#include <cstring>

namespace quorlin {

namespace {

constexpr std::string_view Beyond = "xxx"; ///< the flag of a line past the end of a list
constexpr std::string_view ProductName = "Quorlin";

std::string_view FlagAt(const TStringList& list, long k) {
  return k >= 0 && static_cast<size_t>(k) < list.size() ? ChangeFlag(list[static_cast<size_t>(k)]) : Beyond;
}

bool Blank(std::string_view flag) { return !flag.empty() && flag[0] == ' '; }
bool OneOf(std::string_view flag, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), flag) != set.end();
}

/// Case-insensitive search of needle (already lower case) in text, with no
/// copy of the text: Find scans every row of a listing.
bool Contains(std::string_view text, std::string_view needle) {
  if (needle.empty()) return true;
  if (text.size() < needle.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
  const char first = needle[0];
  const char firstUpper = first >= 'a' && first <= 'z' ? static_cast<char>(first - ('a' - 'A')) : first;
  const char* const begin = text.data();
  const char* const end = begin + (text.size() - needle.size() + 1); // last start, exclusive
  for (const char* at = begin; at < end; ++at) {
    // The next place where the first character stands, in either case.
    const char* a = static_cast<const char*>(std::memchr(at, first, static_cast<size_t>(end - at)));
    const char* b = firstUpper == first ? nullptr : static_cast<const char*>(std::memchr(at, firstUpper, static_cast<size_t>(end - at)));
    at = !a ? b : !b ? a : std::min(a, b);
    if (!at) return false;
    size_t k = 1;
    while (k < needle.size() && lower(at[k]) == needle[k]) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

} // namespace

TFileLine ParseFileLine(std::string_view asked) {
  TFileLine line;
  std::string text = TrimBlanks(asked);
  if (!text.empty() && (text[0] == 'o' || text[0] == 'O' || text[0] == 'n' || text[0] == 'N')) {
    line.Old = text[0] == 'o' || text[0] == 'O';
    text = TrimBlanks(std::string_view(text).substr(1));
  }
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {};
  for (char c : text) line.Number = line.Number * 10 + (c - '0');
  return line;
}

namespace {

/// The line of the NEW (oldFile false) or OLD file that a listing line's
/// reference columns name (Number 0 for none). A reformatted OLD line names
/// its OLD line in both places; a Clnc line names a line of its own panel's
/// file first.
TFileLine RefNumber(std::string_view s, bool oldFile, bool clnc) {
  const TRefNumbers refs = RefNumbers(s);
  if (clnc) return {oldFile, refs.First};
  if (ChangeFlag(s) == "RO-") return {true, refs.Second};
  return {oldFile, oldFile ? refs.Second : refs.First};
}

} // namespace

int RowOfFileLine(const TResultView& view, TPanelRule rule, TFileLine line) {
  if (view.Fscl || line.Number <= 0) return -1;
  const TStringList& list = PanelList(view, rule);
  const int last = std::min(view.StatsFirstLine, static_cast<int>(list.size()));
  int best = -1;
  long bestNumber = 0;
  for (int k = HeadingLead(view, rule) + 1; k < last; ++k) {
    const TFileLine ref = RefNumber(list[static_cast<size_t>(k)], line.Old, view.Clnc && rule != TPanelRule::Single);
    if (ref.Old != line.Old || ref.Number < line.Number) continue;
    if (ref.Number == line.Number) return k;
    if (best < 0 || ref.Number < bestNumber) best = k, bestNumber = ref.Number;
  }
  return best;
}

std::string MsgNoForwardSequences() {
  return std::string(28, ' ') + "No more forward change sequences found" + std::string(26, ' ') + ".";
}

std::string MsgNoBackwardSequences() {
  return std::string(28, ' ') + "No more backward change sequences found" + std::string(26, ' ') + ".";
}

// --- Two panels ----------------------------------------------------------------

TTwoPanelModel::TTwoPanelModel(const TResultView& view, TLayout layout) : View(view), Layout(layout) {
  First.Count = static_cast<int>(view.Panel1->size());
  Second.Count = static_cast<int>(view.Panel2->size());
  First.Selection = First.Count > 0 ? 0 : -1;
  Second.Selection = Second.Count > 0 ? 0 : -1;
}

// Moves a panel's top line as the platform's list would (never past the
// list) and, when it moved and report is set, delivers the scroll event.
void TTwoPanelModel::SetTop(TPanelState& panel, int top, bool report) {
  top = std::clamp(top, 0, std::max(0, panel.Count - 1));
  if (top == panel.TopLine) return;
  panel.TopLine = top;
  if (!report || Depth > 2) return;
  if (&panel == &First)
    FirstScrolled(top);
  else
    SecondScrolled(top);
}

// Selects a line and scrolls it into view, as the platform's list does.
/// The top line that brings a jump's target out of view to the middle of
/// the panel; the top line as it is when the target is in view.
int CentredTop(const TPanelState& panel, int index) {
  if (index >= panel.TopLine && index < panel.TopLine + panel.Rows) return panel.TopLine;
  return std::max(0, index - panel.Rows / 2);
}

void TTwoPanelModel::Select(TPanelState& panel, int index, bool centre) {
  if (panel.Count == 0) return;
  index = std::clamp(index, 0, panel.Count - 1);
  panel.Selection = index;
  if (centre && CentredTop(panel, index) != panel.TopLine)
    SetTop(panel, CentredTop(panel, index), true);
  else if (index < panel.TopLine)
    SetTop(panel, index, true);
  else if (index >= panel.TopLine + panel.Rows)
    SetTop(panel, index - panel.Rows + 1, true);
}

void TTwoPanelModel::Jump(int index) {
  Select(First, index, true);
  Select(Second, index, true);
}

void TTwoPanelModel::FirstScrolled(int top) {
  ++Depth;
  First.TopLine = top;
  if (!View.Clnc) {
    if (Layout == TLayout::SideBySide || top <= Second.Count - 1) {
      SetTop(Second, top, true);
    } else {
      // The lower list is shorter: it stays at its end, the upper where the user put it.
      SetTop(Second, Second.Count - 1, false);
      const bool suppressed = SyncSuppressed;
      SyncSuppressed = true;
      First.TopLine = top;
      SyncSuppressed = suppressed;
    }
  }
  --Depth;
}

void TTwoPanelModel::SecondScrolled(int top) {
  ++Depth;
  Second.TopLine = top;
  if (!View.Clnc && !SyncSuppressed) SetTop(First, top, true);
  --Depth;
}

void TTwoPanelModel::FirstClicked(int index) {
  if (First.Count == 0) return;
  First.Selection = std::clamp(index, 0, First.Count - 1);
  SetTop(Second, First.TopLine, false);
  if (Second.Count > 0) Second.Selection = std::min(First.Selection, Second.Count - 1);
}

void TTwoPanelModel::SecondClicked(int index) {
  if (Second.Count == 0) return;
  Second.Selection = std::clamp(index, 0, Second.Count - 1);
  if (SyncSuppressed) return;
  SetTop(First, Second.TopLine, false);
  if (First.Count > 0) First.Selection = std::min(Second.Selection, First.Count - 1);
}

void TTwoPanelModel::ToTop() {
  TPanelState* order[2] = {&Second, &First};
  if (Layout == TLayout::Horizontal) std::swap(order[0], order[1]);
  for (TPanelState* panel : order) {
    if (panel->Count == 0) continue;
    Select(*panel, panel->Selection + 1);
    Select(*panel, 0);
  }
}

void TTwoPanelModel::ToBtm() {
  if (First.Count == 0 && Layout == TLayout::SideBySide) return;
  SyncSuppressed = true;
  if (First.Count > 0 && First.Selection != First.Count - 1) Select(First, First.Count - 1);
  if (Second.Count > 0 && Second.Selection != Second.Count - 1) Select(Second, Second.Count - 1);
  SyncSuppressed = false;
}

void TTwoPanelModel::OpenFind() {
  if (First.Selection < 0 && First.Count > 0) First.Selection = 0;
}

std::string TTwoPanelModel::Find(std::string_view text, bool down) {
  if (First.Count == 0) return MsgTextNotFound;
  std::string needle = LowerAscii(TrimBlanks(text)).substr(0, MaxFindText);
  const int step = down ? 1 : -1;
  std::string line;
  for (int k = First.Selection + step; k >= 0 && k <= First.Count - 1; k += step) {
    DisplayText(View, TPanelRule::NewSide, k, line);
    bool hit = Contains(line, needle);
    if (!hit) {
      DisplayText(View, TPanelRule::OldSide, k, line);
      hit = Contains(line, needle);
    }
    if (hit) {
      Jump(k);
      return {};
    }
  }
  return MsgTextNotFound;
}

std::string TTwoPanelModel::GoToLine(TFileLine line) {
  const bool old = line.Old;
  const int row = RowOfFileLine(View, old ? TPanelRule::OldSide : TPanelRule::NewSide, line);
  if (row < 0) return MsgLineNotListed;
  if (View.Clnc)
    Select(old ? Second : First, row, true);
  else
    Jump(row);
  return {};
}

std::string TTwoPanelModel::NextSpan() {
  if (Layout == TLayout::SideBySide) return SbsScan(true);
  return View.Clnc ? ClncSpan(true) : HsNext();
}

std::string TTwoPanelModel::PrevSpan() {
  if (Layout == TLayout::SideBySide) return SbsScan(false);
  return View.Clnc ? ClncSpan(false) : HsPrev();
}

// Side-by-side spans: runs of changed lines of one kind (old side, new side,
// both sides); unchanged lines end a run. Lines 0 to 2 are never visited.
// Down stops on the first line of the next run, up on the last line of the
// run above.
std::string TTwoPanelModel::SbsScan(bool down) {
  const TStringList& p1 = *View.Panel1;
  const TStringList& p2 = *View.Panel2;
  auto L = [&](int k) { return FlagAt(p1, k); };
  auto R = [&](int k) { return FlagAt(p2, k); };
  auto New = [&](int k) { return InNewSideTags(L(k)); };
  auto Old = [&](int k) { return InOldSideTags(R(k)); };
  auto Plain = [&](int k) { return Blank(L(k)) && (Blank(R(k)) || R(k) == Beyond); };
  enum { None, OldSpan, NewSpan, Both };

  // The span state of the selected line; going up it is judged by the
  // insert, moved and reformat flags alone.
  const int c = First.Selection;
  int state = None;
  int k = down ? 3 : static_cast<int>(p1.size()) - 1;
  if (down && c >= 3) {
    if (New(c))
      state = Old(c) || R(c) == Beyond ? Both : NewSpan;
    else if (Old(c))
      state = OldSpan;
    k = c + 1;
  } else if (!down && c >= 0) {
    if (OneOf(L(c), {"I -", "IM-", "RN-"}))
      state = Old(c) ? Both : NewSpan;
    else if (OneOf(R(c), {"D -", "DM-", "RO-"}))
      state = OldSpan;
    k = c - 1;
  }
  const int step = down ? 1 : -1;
  for (;; k += step) {
    if (down && k > static_cast<int>(p1.size()) - 1) return MsgNoForwardSequences();
    if (!down && k < 3) return MsgNoBackwardSequences();
    if (Plain(k)) {
      state = None;
      continue;
    }
    if (state == NewSpan && New(k)) {
      if (Old(k)) state = Both;
      continue;
    }
    if (state == OldSpan && Old(k)) {
      if (New(k)) state = Both;
      continue;
    }
    if ((state == None && (New(k) || Old(k))) || (state == OldSpan && New(k)) ||
        (state == NewSpan && Old(k)))
      break;
    if (state == Both) {
      if (!Blank(L(k)) && !Blank(R(k)) && R(k) != Beyond) continue;
      if (!New(k)) {
        state = OldSpan;
        continue;
      }
      state = NewSpan;
    }
  }
  Jump(k);
  return {};
}

// Horizontal split spans: a change line is an insert, delete, moved or
// reformatted line on either side; a span is a run of one change kind.
std::string TTwoPanelModel::HsNext() {
  const TStringList& p1 = *View.Panel1;
  const TStringList& p2 = *View.Panel2;
  enum TKind { None, InsDel, Moved, Reform };
  auto kindOf = [&](int k) {
    std::string_view l = FlagAt(p1, k), r = FlagAt(p2, k);
    if (l == "I -" || r == "D -") return InsDel;
    if (l == "IM-" || r == "DM-") return Moved;
    if (l == "RN-" || r == "RO-") return Reform;
    return None;
  };
  const int last2 = static_cast<int>(p2.size()) - 1;
  int k = std::min(First.Selection, Second.Selection);
  if (k >= last2 || k < 3) k = 2;
  TKind current = kindOf(k);
  for (++k; k <= last2; ++k) {
    TKind kind = kindOf(k);
    if (kind == None) {
      current = None;
    } else if (kind != current) {
      Jump(k);
      return {};
    }
  }
  return MsgNoForwardSpans;
}

std::string TTwoPanelModel::HsPrev() {
  const TStringList& p1 = *View.Panel1;
  const TStringList& p2 = *View.Panel2;
  auto L = [&](int k) { return FlagAt(p1, k); };
  auto R = [&](int k) { return FlagAt(p2, k); };
  auto change = [&](int k) {
    return OneOf(L(k), {"I -", "IM-", "RN-"}) || OneOf(R(k), {"D -", "DM-", "RO-"});
  };
  enum TState { None, New, Old, Marker };
  TState state = None;
  int k = static_cast<int>(p1.size()) - 1;
  if (First.Selection >= 0) {
    const int k0 = First.Selection;
    if (OneOf(L(k0), {"I -", "IM-", "RN-"}))
      state = New;
    else if (OneOf(R(k0), {"D -", "DM-", "RO-"}))
      state = Old;
    else if (L(k0) == "*  ")
      state = Marker;
    k = k0 - 1;
  }
  const std::string headingT = "T" + std::string(ProductName.substr(0, 2));
  for (; k >= 3; --k) {
    std::string_view l = L(k);
    if (Blank(l) || l == "New" || l == "Old" || l == "ID " || l == headingT) {
      state = None;
    } else if (state == Old && change(k)) {
      // still in the old-side run
    } else if ((state == None || state == Old) && (change(k) || l == "*  ")) {
      Jump(k);
      return {};
    }
  }
  return MsgNoBackwardSequences();
}

// Horizontal split spans of a Clnc run: the two sections are not aligned, so
// each panel is scanned in its own list and only its selection moves. Every
// flag is a kind of its own; an unflagged line ends a run.
std::string TTwoPanelModel::ClncSpan(bool down) {
  const int lead = HeadingLead(View, TPanelRule::NewSide); // 3: the sections' heading lines
  bool moved = false;
  for (bool upper : {true, false}) {
    const TStringList& list = upper ? *View.Panel1 : *View.Panel2;
    TPanelState& panel = upper ? First : Second;
    static const std::vector<std::string_view> upperNext = {"I -", "XN-", "XR-"};
    static const std::vector<std::string_view> lowerNext = {"D -", "XO-", "XR-"};
    static const std::vector<std::string_view> upperPrev = {"I -", "RN-", "XN-", "XR-"};
    static const std::vector<std::string_view> lowerPrev = {"D -", "RO-", "XO-", "XR-"};
    const std::vector<std::string_view>& flags =
        down ? (upper ? upperNext : lowerNext) : (upper ? upperPrev : lowerPrev);
    auto flagOf = [&](int k) {
      std::string_view f = FlagAt(list, k);
      return std::find(flags.begin(), flags.end(), f) != flags.end() ? f : std::string_view();
    };
    const int last = static_cast<int>(list.size()) - 1;
    int k;
    std::string_view current;
    if (down) {
      const bool fromTop = panel.Selection <= lead || panel.Selection >= last;
      k = fromTop ? lead + 1 : panel.Selection + 1;
      if (!fromTop) current = flagOf(panel.Selection);
      for (; k <= last; ++k) {
        std::string_view f = flagOf(k);
        if (f.empty()) current = {};
        else if (f != current) break;
      }
      if (k > last) continue;
    } else {
      const bool fromBottom = panel.Selection <= lead;
      k = fromBottom ? last : panel.Selection - 1;
      if (!fromBottom) current = flagOf(panel.Selection);
      for (; k > lead; --k) {
        std::string_view f = flagOf(k);
        if (f.empty()) current = {};
        else if (f != current) break;
      }
      if (k <= lead) continue;
    }
    Select(panel, k, true);
    moved = true;
  }
  if (moved) return {};
  return down ? MsgNoForwardSpans : MsgNoBackwardSpansClnc;
}

// --- Single panel --------------------------------------------------------------

TSinglePanelModel::TSinglePanelModel(const TResultView& view) : View(view) {
  Panel.Count = static_cast<int>(view.Panel1->size());
  Panel.Selection = Panel.Count > 0 ? 0 : -1;
}

void TSinglePanelModel::Select(int index, bool centre) {
  Panel.Selection = index;
  if (centre)
    Panel.TopLine = CentredTop(Panel, index);
  else if (index < Panel.TopLine)
    Panel.TopLine = index;
  else if (index >= Panel.TopLine + Panel.Rows)
    Panel.TopLine = index - Panel.Rows + 1;
}

void TSinglePanelModel::ToTop() {
  if (Panel.Count > 0 && Panel.Selection != 0) Select(0);
}

void TSinglePanelModel::ToBtm() {
  if (Panel.Count > 0 && Panel.Selection != Panel.Count - 1) Select(Panel.Count - 1);
}

std::string TSinglePanelModel::GoToLine(TFileLine line) {
  const int row = RowOfFileLine(View, TPanelRule::Single, line);
  if (row < 0) return MsgLineNotListed;
  Select(row, true);
  return {};
}

void TSinglePanelModel::OpenFind() {
  if (Panel.Selection < 0 && Panel.Count > 0) Panel.Selection = 0;
}

std::string TSinglePanelModel::Find(std::string_view text, bool down) {
  if (Panel.Count == 0) return MsgTextNotFound;
  const std::string needle = LowerAscii(text);
  std::string line;
  if (down) {
    for (int k = Panel.Selection + 1; k <= Panel.Count - 1; ++k) {
      DisplayText(View, TPanelRule::Single, k, line);
      if (Contains(line, needle)) {
        Select(k, true);
        return {};
      }
    }
  } else {
    if (Panel.Selection < 0) Panel.Selection = 1;
    for (int k = Panel.Selection - 1; k >= 0; --k) {
      DisplayText(View, TPanelRule::Single, k, line);
      if (Contains(line, needle)) {
        Select(k, true);
        return {};
      }
    }
  }
  return MsgTextNotFound;
}

namespace {
bool SingleChange(const TStringList& list, int k) {
  return OneOf(FlagAt(list, k), {"I -", "IM-", "RN-", "D -", "DM-", "RO-"});
}
} // namespace

// A span is a run of consecutive change lines of any kind. Next stops on the
// first line of the following span, Previous on the last line of the span above.
std::string TSinglePanelModel::NextSpan() {
  const TStringList& list = *View.Panel1;
  bool inside = true;
  int k = 2;
  if (Panel.Selection >= 3) {
    inside = SingleChange(list, Panel.Selection);
    k = Panel.Selection + 1;
  }
  for (; k <= Panel.Count - 1; ++k) {
    if (!SingleChange(list, k)) {
      inside = false;
    } else if (!inside) {
      Select(k, true);
      return {};
    }
  }
  return MsgNoForwardSpans;
}

std::string TSinglePanelModel::PrevSpan() {
  const TStringList& list = *View.Panel1;
  bool inside = true;
  int k = Panel.Count - 1;
  if (Panel.Selection >= 0) {
    inside = SingleChange(list, Panel.Selection);
    k = Panel.Selection - 1;
  }
  for (; k >= 3; --k) {
    if (!SingleChange(list, k)) {
      inside = false;
    } else if (!inside) {
      Select(k, true);
      return {};
    }
  }
  return MsgNoBackwardSpansSingle;
}

} // namespace quorlin
