// Viewer logic without a toolkit: panels kept in step, To Top and To Btm,
// Find and change-span navigation of the side-by-side, horizontal split and
// single-panel viewers. The desktop program feeds the platform's scroll and
// click events in and draws the resulting state.
#pragma once

#include "viewers/LineModel.h"

#include <string>
#include <string_view>

namespace quorlin {

inline constexpr const char* MsgTextNotFound = "Text Not Found";
inline constexpr const char* MsgNoForwardSpans = "No more forward change spans found.";
inline constexpr const char* MsgNoBackwardSpansClnc = "No more backward change spans found.";
/// The single viewer's backward message (without the padding of the other viewers).
inline constexpr const char* MsgNoBackwardSpansSingle = "No more backward change sequences found";
/// "No more forward change sequences found" between 28 and 26 blanks, with a full stop.
std::string MsgNoForwardSequences();
/// "No more backward change sequences found" between 28 and 26 blanks, with a full stop.
std::string MsgNoBackwardSequences();
/// The longest search text.
inline constexpr size_t MaxFindText = 128;

/// Go to line: a line of the NEW or the OLD file, as the user asks for it:
/// "123" or "n123" for NEW line 123, "o45" for OLD line 45 (blanks and case
/// do not matter).
struct TFileLine {
  bool Old = false;
  long Number = 0;
};
/// The line asked for by text, or Number 0 when text asks for none.
TFileLine ParseFileLine(std::string_view text);
/// The first row of the panel whose reference columns list line of its
/// file, or when that line is not listed (Chng, Delta) the first row of a
/// later one; -1 when there is none (also with Fscl, which lists no
/// reference columns).
int RowOfFileLine(const TResultView& view, TPanelRule rule, TFileLine line);
inline constexpr const char* MsgLineNotListed = "No listed line at or after that line number.";
inline constexpr const char* GoToLinePrompt = "Go to line: a NEW line number, or o and an OLD line number (o45)";

/// One panel: its selection (-1 none), its top visible line, how many rows it
/// shows, and how many lines its list holds.
struct TPanelState {
  int Selection = -1;
  int TopLine = 0;
  int Rows = 20;
  int Count = 0;
};

/// Two panels kept in step: the side-by-side viewer (left, right) or the
/// horizontal split viewer (upper, lower). First shows Panel1Lines with the
/// new-side rule, Second Panel2Lines with the old-side rule.
class TTwoPanelModel {
public:
  enum class TLayout { SideBySide, Horizontal };
  TTwoPanelModel(const TResultView& view, TLayout layout);

  TPanelState First, Second;
  bool SyncSuppressed = false; ///< set while To Btm (or a correction) moves both panels

  // Events of the platform's panels. A moved top line of one panel may move
  // the other; every rule is applied once per event and never recurses.
  void FirstScrolled(int top);
  void SecondScrolled(int top);
  void FirstClicked(int index);
  void SecondClicked(int index);

  void ToTop();
  void ToBtm();
  /// Opening the find dialog: a panel without a selection selects line 0.
  void OpenFind();
  /// Find next: returns an empty string on a hit (both selections moved),
  /// else "Text Not Found". The text is trimmed, lower-cased and cut to 128
  /// characters; both panels' display texts are searched; no wrap-around.
  std::string Find(std::string_view text, bool down);
  /// Change-span navigation; returns the message to show, empty when a line
  /// was selected.
  std::string NextSpan();
  std::string PrevSpan();
  /// Go to line: selects the row that lists line (RowOfFileLine) in the
  /// panel of its file, centred; both panels unless the run was Clnc. Returns
  /// the message to show, empty when a row was selected.
  std::string GoToLine(TFileLine line);
  /// The panels scroll sideways together, except in a Clnc run.
  bool SidewaysInStep() const { return !View.Clnc; }

private:
  const TResultView& View;
  TLayout Layout;
  int Depth = 0; ///< event nesting, to keep rules from recursing

  void SetTop(TPanelState& panel, int top, bool report);
  /// Selects index; a jump (centre) brings a target out of view to the
  /// middle of the panel, other moves scroll it just into view.
  void Select(TPanelState& panel, int index, bool centre = false);
  /// A jump of Find or a change span: the same row in both panels, centred.
  void Jump(int index);
  std::string SbsScan(bool down);
  std::string HsNext();
  std::string HsPrev();
  std::string ClncSpan(bool down);
};

/// The single-panel viewer: Panel1Lines with the single colour rule.
class TSinglePanelModel {
public:
  explicit TSinglePanelModel(const TResultView& view);
  TPanelState Panel;

  void ToTop();
  void ToBtm();
  void OpenFind();
  /// Find next: the text lower-cased (not trimmed or cut); empty on a hit,
  /// else "Text Not Found".
  std::string Find(std::string_view text, bool down);
  std::string NextSpan();
  std::string PrevSpan();
  /// Go to line: selects the row that lists line, centred; the message to
  /// show, empty when a row was selected.
  std::string GoToLine(TFileLine line);

private:
  const TResultView& View;
  /// Selects index; a jump (centre) brings a target out of view to the
  /// middle of the panel.
  void Select(int index, bool centre = false);
};

} // namespace quorlin
