// Two input files that hold the same bytes. A compare of identical files
// needs no line texts: every pass pairs each line with itself, so the passes
// need only their lines counted. The check and the counting run side by side
// on the files' memory maps.
#pragma once

#include "engine/CompareTypes.h"

#include <cstdint>
#include <vector>

namespace quorlin {

/// The NEW file's reading state after one pass of counted lines: what the
/// read phase leaves in the file record for that pass.
struct TCountedPass {
  int Lines = 0;
  int64_t FileOffset = 0;
  int LinesRead = 0, LongestLine = 0, LineLen = 0;
  bool AtEof = false, EofPending = false, EmbeddedEof = false, LineSplit = false;
};

/// When the open files nf and of hold the same nf.Size bytes, returns true
/// with passes filled as the read phases of the run would leave NEW: each
/// pass repositions to where the one before ended and reads up to
/// MaxPassLines lines. With threads the byte check runs on a second thread
/// while the lines are counted. A file that cannot be mapped, changes size
/// or loses a page meanwhile gives false. The reading fields of nf are left
/// as they were.
bool CountIdenticalFiles(TCompareFile& nf, const TCompareFile& of, const TCompareCtl& ctl, bool threads,
                         std::vector<TCountedPass>& passes);

/// Leaves nf as the read phase of pass p (from 0) would leave it.
void ApplyCountedPass(TCompareFile& nf, const TCountedPass& pass);

} // namespace quorlin
