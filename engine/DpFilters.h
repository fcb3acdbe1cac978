// Don't-process filters: blank lines, the comment rules of the DP options,
// the string-only filters (Dps) and the Dln conditions. A line taken out is
// marked NotProcessed; a comment that takes part of a line is blanked out of
// the compare text and the line is marked PartDp.
#pragma once

#include "app/Controls.h"
#include "engine/CompareTypes.h"

#include <string_view>
#include <vector>

namespace quorlin {

struct TCompareRun;

/// Length of the compare text of an entry: ColLen with compare columns, else TextLen.
inline int CompareTextLen(const TCompareCtl& ctl, const TLineEntry& e) {
  return ctl.CcolActive ? e.ColLen : e.TextLen;
}

/// Blanks the compare text from start (0-based) to its end and classifies the
/// line: NotProcessed when nothing but blanks is left, else PartDp.
void MarkComment(const TCompareCtl& ctl, TLineEntry& e, int start);
/// Blanks the compare text from start up to, not including, end and
/// classifies the line as MarkComment does.
void MarkBlock(const TCompareCtl& ctl, TLineEntry& e, int start, int end);

/// The blank-line rule and the comment rule of the selected DP option for one
/// line of file f. The rule reads and updates the comment carry flags of f.
void ApplyDpOption(const TCompareCtl& ctl, TCompareFile& f, TLineEntry& e);
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
