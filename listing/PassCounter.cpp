#include "listing/PassCounter.h"

namespace quorlin {

void TPassCounter::ReportPass(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  ctl.ListingReread = true;
  ctl.HeadingArmed = true;
  ++Passes;
  const int nCount = run.New->PassLines;
  const int oCount = run.Old->PassLines;
  NewLines += nCount;
  OldLines += oCount;
  const bool identical = !ctl.FilesDiffer && !(ctl.DpActive && !ctl.DpDcob) && !ctl.DpsActive;
  if (identical) {
    for (int k = 1; k <= nCount; ++k) {
      if (run.NewLines[k].NotProcessed) {
        ++NewNotProcessed;
        ++OldNotProcessed;
      } else {
        ++Matched;
      }
    }
    return;
  }
  for (int k = 1; k <= nCount; ++k) {
    const TLineEntry& e = run.NewLines[k];
    if (e.NotProcessed) ++NewNotProcessed;
    else if (e.Matched) ++Matched;
    else {
      ++Inserted;
      ++ctl.InsertCount;
      if (e.Moved) ++MovedNew;
    }
  }
  for (int k = 1; k <= oCount; ++k) {
    const TLineEntry& e = run.OldLines[k];
    if (e.NotProcessed) ++OldNotProcessed;
    else if (!e.Matched) {
      ++Deleted;
      ++ctl.DeleteCount;
      if (e.Moved) ++MovedOld;
    }
  }
}

} // namespace quorlin
