#include "app/CompareFlow.h"

#include "app/OptionsSummary.h"
#include "engine/CompareRun.h"
#include "listing/Listing.h"
#include "platform/AppDir.h"
#include "platform/Text.h"

namespace quorlin {

int RunCompare(TAppState& app) {
  app.NewCompareCtl();
  app.DlnConditions.clear();
  TListing listing(app);
  if (app.Controls.Checked(TagClnc)) return RunUnorderedCompare(app, listing);
  return RunOrderedCompare(app, listing);
}

int RunStartCompare(TAppState& app) {
  BuildOptsSummary(app);
  return RunCompare(app);
}

int RunBatchCompare(TAppState& app, TOutputFile& listing) {
  app.ListingFile = &listing;
  BuildOptsSummary(app);
  int result = RunCompare(app);
  app.ListingFile = nullptr;
  return result;
}

void StartOneStepJob(TAppState& app) {
  app.JobLabel = "Job#1 ";
  app.Panel1Lines.push_back("*** Job#1  Started Time=" + app.RunStamp);
}

TStartCheck CheckStartNames(TOptionControls& controls) {
  // A name that names a file as typed is kept: file names may begin or end
  // with a blank.
  for (std::string* name : {&controls.MnCbNewFileNm, &controls.MnCbOldFileNm})
    if (!FileExists(*name)) *name = TrimBlanks(*name);
  TStartCheck check;
  std::string bad;
  if (!FileExists(controls.MnCbNewFileNm)) {
    bad = controls.MnCbNewFileNm;
    check.Focus = TNameField::New;
  } else if (!FileExists(controls.MnCbOldFileNm)) {
    bad = controls.MnCbOldFileNm;
    check.Focus = TNameField::Old;
  }
  if (check.Focus != TNameField::None)
    check.Message = "\" " + bad.substr(0, 80) + " \" is an invalid input file name." +
                    " Reenter or us the \"Browse Button\" for assistance.";
  return check;
}

bool ViewerOpensAfterRun(const TAppState& app, bool viewOnDemand) {
  if (app.UserStop || viewOnDemand || app.InputIoError || app.FileTooBig || !app.CompareCtl) return false;
  return !app.CompareCtl->CcolBad && !app.CompareCtl->PcmpBad;
}

bool DualViewerResult(const TAppState& app) {
  return app.CompareCtl && app.CompareCtl->OptSbsl && !app.Panel2Lines.empty();
}

std::string ViewLatestResultsCheck(const TAppState& app, bool& disable) {
  disable = false;
  if (!app.CompareCtl) return MsgNoResultsYet;
  const TCompareCtl& last = *app.CompareCtl;
  const TOptionControls& now = app.Controls;
  if ((last.OptSbsl && !now.Checked(TagSbsl) && !now.Checked(TagClnc)) ||
      (last.OptFscl && !now.Checked(TagFscl))) {
    disable = true;
    return MsgPrefsChanged;
  }
  return {};
}

std::string OutputIsInputMessage(const std::string& output, const std::string& newFile, const std::string& oldFile,
                                 const std::string& shown) {
  for (const std::string* input : {&newFile, &oldFile}) {
    if (!SameFile(output, *input)) continue;
    return "The output file \"" + (shown.empty() ? output : shown) + "\" is the " +
           (input == &newFile ? "New" : "Old") + " File \"" + *input +
           "\": it was not written, so that the input stays as it was.";
  }
  return {};
}

int CompareExitStatus(const TAppState& app) {
  if (!app.CompareCtl || app.CompareCtl->RunResult != 0 || app.UserStop || app.RunFault ||
      app.InputIoError || app.FileTooBig)
    return 2;
  return app.StatusText == MsgDiffer ? 1 : 0;
}

} // namespace quorlin
