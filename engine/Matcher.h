// Ordered line matching of one pass: pairs NEW lines with equal OLD lines,
// keeping the order of both files, and with Fmvl finds moved blocks among the
// lines left unpaired.
#pragma once

#include "engine/CompareRun.h"

namespace quorlin {

/// Shortest run accepted in the first round of a large pass.
inline constexpr int MinFirstRun = 4;
/// Both tables must hold at least this many lines for the first-round rules.
inline constexpr int LargePassLines = 16;
/// Longest runs kept per search round.
inline constexpr int CandidateSlots = 9;
/// Skip patterns tried by Resync, and the equal pairs that confirm a point.
inline constexpr int ResyncPatterns = 8;
inline constexpr int ResyncConfirm = 3;
/// Resync is tried only when both indices are at least this far from the end.
inline constexpr int ResyncMargin = 6;

/// Matches the prepared lines of the current pass. Leaves Matched and Partner
/// on paired lines, NoMatch on NEW lines that are insertions, SetStart on the
/// first pair of each match set, and with Fmvl Moved and Partner on moved
/// lines. On a large pass that is not the last, the pass is cut after the last
/// match set of the first round (PassLines lowered) so that the unmatched tail
/// is read again by the next pass.
void FindMatches(TCompareRun& run);

/// Ends the pass after NEW entry newKeep and OLD entry oldKeep (0: no line of
/// that file): entries after them are released, the entry after the last
/// kept is the sentinel, and the pass loop resumes each file after its last
/// kept line, so the lines cut are read again by the next pass. Returns
/// false when neither table held more lines than kept.
bool CutPass(TCompareRun& run, int newKeep, int oldKeep);

/// True when NEW entry n and OLD entry o have equal compare keys.
bool LinesEqual(const TLineEntry& n, const TLineEntry& o);

} // namespace quorlin
