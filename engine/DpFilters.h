// Don't-process filters: blank lines, the comment rules of the DP options,
// the string-only filters (Dps) and the Dln conditions. A line taken out is
// marked NotProcessed; a comment that takes part of a line is blanked out of
// the compare text and the line is marked PartDp.
#pragma once

#include "state/Controls.h"
#include "engine/CompareTypes.h"

#include <string_view>
#include <vector>

namespace quorlin {

struct TCompareRun;

/// Length of the compare text of an entry: ColLen with compare columns, else TextLen.
inline int CompareTextLen(const TCompareCtl& ctl, const TLineEntry& e) {
  return ctl.CcolActive ? e.ColLen : e.TextLen;
}

/// Blanks the text of e from start (0-based) to n, the length of the text the
/// rules work on, and classifies the line: NotProcessed when nothing but
/// blanks is left, else PartDp.
void MarkComment(TLineEntry& e, int start, int n);
/// Blanks the text of e from start up to, not including, end and classifies
/// the line as MarkComment does.
void MarkBlock(TLineEntry& e, int start, int end, int n);

/// The blank-line rule and the comment rule of the selected DP option for one
/// line of file f, on the first n bytes of its text (the compare text during
/// preparation, the whole line when the listing restores a line). The rule
/// reads and updates the comment carry flags of f.
void ApplyDpOption(const TCompareCtl& ctl, TCompareFile& f, TLineEntry& e, int n);
/// The string-only filters Dps1 to Dps3; the text is left unchanged.
void ApplyDps(const TCompareCtl& ctl, TLineEntry& e);
/// The Dln conditions on the raw stored line.
void ApplyDln(const std::vector<DlnCondition>& conditions, TLineEntry& e, bool icas);

/// Parses one Dln text (string and column range pairs) and appends a
/// condition to conditions. Returns true when at least one pair was accepted.
bool ParseDlnSpec(std::string_view text, std::vector<DlnCondition>& conditions);

/// The comment carry flags of a file packed into one byte, and back.
uint8_t SaveCarry(const TCompareFile& f);
void RestoreCarry(TCompareFile& f, uint8_t carry);

} // namespace quorlin
