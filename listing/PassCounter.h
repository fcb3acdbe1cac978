// A pass report that writes no listing: it classifies and counts the lines of
// each pass from the matcher's flags. Used where only the verdict and the
// counts matter (engine benchmarks, tests of the engine alone).
#pragma once

#include "engine/CompareRun.h"

namespace quorlin {

class TPassCounter final : public IPassReport {
public:
  void ReportPass(TCompareRun& run) override;

  int Passes = 0;
  long NewLines = 0, OldLines = 0; ///< lines of the passes, sentinels not counted
  long Matched = 0;                ///< matched pairs (identical passes included)
  long Inserted = 0, Deleted = 0;  ///< unpaired processed lines
  long MovedNew = 0, MovedOld = 0; ///< lines flagged as moved
  long NewNotProcessed = 0, OldNotProcessed = 0;
};

} // namespace quorlin
