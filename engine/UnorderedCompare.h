// Unordered (Clnc) compare: both files are read whole into line lists and
// every line is looked up in the other file regardless of order.
#pragma once

#include "engine/CompareRun.h"

namespace quorlin {

/// The one pass of a Clnc compare: read, prepare, match, report.
void ClncPassDriver(TCompareRun& run, IPassReport& report);
/// Reads both files whole into NewList and OldList.
void ClncRead(TCompareRun& run);
/// String-only filters and compare keys of every line.
void ClncPrepare(TCompareRun& run);
/// Pairs the first line of each key in NEW with its first equal OLD line;
/// later equal lines of either file become duplicates of the first one.
void ClncMatch(TCompareRun& run);
/// Releases the lists.
void ClncEnd(TCompareRun& run);

} // namespace quorlin
