#include "app/CompareFlow.h"

#include "app/OptionsSummary.h"
#include "engine/CompareRun.h"
#include "listing/Listing.h"

namespace quorlin {

int RunCompare(TAppState& app) {
  app.NewCompareCtl();
  app.DlnConditions.clear();
  TListing listing(app);
  if (app.Controls.Checked(TagClnc)) return RunUnorderedCompare(app, listing);
  return RunOrderedCompare(app, listing);
}

int RunBatchCompare(TAppState& app, TOutputFile& listing) {
  app.ListingFile = &listing;
  BuildOptsSummary(app);
  int result = RunCompare(app);
  app.ListingFile = nullptr;
  return result;
}

int CompareExitStatus(const TAppState& app) {
  if (!app.CompareCtl || app.CompareCtl->RunResult != 0 || app.UserStop || app.RunFault ||
      app.InputIoError || app.FileTooBig)
    return 2;
  return app.StatusText == MsgDiffer ? 1 : 0;
}

} // namespace quorlin
