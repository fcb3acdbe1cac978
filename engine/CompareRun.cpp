#include "engine/CompareRun.h"


#include "engine/DpFilters.h"
#include "engine/LineReader.h"
#include "engine/LookAhead.h"
#include "engine/Matcher.h"
#include "engine/PassReader.h"
#include "platform/Text.h"

#include <cstdio>
#include <functional>
#include <stdexcept>

namespace quorlin {

namespace {

constexpr size_t MaxFileNameLen = 255;

/// Integer value of an entry that must hold a number (blanks around it
/// allowed); anything else is a fault of the run.
int StrictInt(const std::string& text, const char* what) {
  std::string t = TrimBlanks(text);
  size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(t, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (t.empty() || used != t.size()) throw std::invalid_argument(std::string("bad ") + what);
  return value;
}

/// Opens one input file of the run. Returns false and sets the result flags
/// (and shows a dialog outside batch mode) when it cannot be used.
bool OpenOne(TCompareRun& run, TCompareFile& f, bool isNew) {
  TAppState& app = run.App;
  const std::string& name = isNew ? app.Controls.MnCbNewFileNm : app.Controls.MnCbOldFileNm;
  f.FileName = name.substr(0, MaxFileNameLen);
  const char* kind = isNew ? "New" : "Old";
  int64_t size = 0;
  std::string why;
  const bool opened = OpenInputFile(f, app.InputPath(isNew), size, why);
  f.Size = size;
  if (!opened) {
    if (!app.BatchMode)
      app.FrontEnd->ShowMessage(std::string("Error while trying to open valid ") + kind +
                                " Input File \"" + f.FileName + "\": " + why);
    app.InputErrorDetail = std::string(kind) + " Input File \"" + name + "\": " + why;
    run.Ctl.RunResult = 4;
    app.InputIoError = true;
    return false;
  }
  if (size >= MaxInputSize) {
    if (!app.BatchMode)
      app.FrontEnd->ShowMessage(std::string("The ") + kind + " Input File \"" + f.FileName +
                                "\" is GT 2 GB which can not be processed. Compare Terminated.");
    app.InputErrorDetail = std::string(kind) + " Input File \"" + name + "\": 2 GB or larger";
    run.Ctl.RunResult = 4;
    app.FileTooBig = true;
    return false;
  }
  return true;
}

void SetupDpOption(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  TOptionControls& controls = run.App.Controls;
  if (controls.DpRadioGroup1 < 0) controls.DpRadioGroup1 = 0;
  const int index = controls.DpRadioGroup1;
  if (index >= DpCount) throw std::out_of_range("DP option index");
  ctl.DpActive = index != DpNone;
  bool* flags[DpCount] = {nullptr,      &ctl.DpDsem, &ctl.DpDrem, &ctl.DpDblk,
                          &ctl.DpDdlc,  &ctl.DpDdl2, &ctl.DpDcpp, &ctl.DpDvbc,
                          &ctl.DpDhtm,  &ctl.DpDcob, &ctl.DpDudc, &ctl.DpDud2};
  if (flags[index]) *flags[index] = true;
  ctl.UdcText = LowerAscii(controls.DpEdUdc);
  ctl.UdcNo = controls.DpCbUdcYN == "No";
  ctl.Udc2Text = LowerAscii(controls.DpEdUdc2);
  ctl.Udc3Text = LowerAscii(controls.DpEdUdc3);
}

void SetupDln(TCompareRun& run) {
  TAppState& app = run.App;
  TOptionControls& controls = app.Controls;
  bool any = false;
  for (bool checked : controls.DpCkDpDln) any = any || checked;
  if (!any) return;
  for (size_t i = 0; i < controls.DpCkDpDln.size(); ++i) {
    if (!controls.DpCkDpDln[i]) continue;
    if (!ParseDlnSpec(controls.DpEdDpDln[i], app.DlnConditions)) {
      controls.DpCkDpDln[i] = false;
      run.Ctl.DlnBad = true;
    }
  }
  bool still = false;
  for (bool checked : controls.DpCkDpDln) still = still || checked;
  if (still) {
    run.Ctl.DlnActive = true;
    return;
  }
  std::string& summary = controls.MnlblOptsUsed;
  size_t at = summary.find("Dpln");
  if (at != std::string::npos) summary.erase(at, 4);
  summary = TrimBlanks(summary);
  if (summary.empty()) summary = "None";
}

void SetupDps(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  const TOptionControls& controls = run.App.Controls;
  struct {
    bool& On;
    int& Len;
    std::string& Text;
  } dps[3] = {{ctl.Dps1On, ctl.Dps1Len, ctl.Dps1Text},
              {ctl.Dps2On, ctl.Dps2Len, ctl.Dps2Text},
              {ctl.Dps3On, ctl.Dps3Len, ctl.Dps3Text}};
  for (size_t i = 0; i < 3; ++i) {
    if (!controls.DpCkDpS[i]) continue;
    ctl.DpsActive = true;
    dps[i].On = true;
    dps[i].Len = static_cast<int>(controls.DpEdS[i].size());
    dps[i].Text = LowerAscii(controls.DpEdS[i]);
  }
}

void SetupListType(TCompareCtl& ctl, const std::string& text) {
  ctl.ListTypeName = text.substr(0, 5);
  const std::string& t = ctl.ListTypeName;
  ctl.ListOvsum = t == "Ovsum";
  ctl.ListDelta = t == "Delta";
  ctl.ListChng = t == "Chng";
  ctl.ListLong = t == "Long";
}

void SetupPartCompare(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  const TOptionControls& controls = run.App.Controls;
  const std::string& nt = controls.PrEdNewLmt;
  const std::string& ot = controls.PrEdOldlmt;
  auto reject = [&] {
    ctl.PcmpBad = true;
    ctl.RunResult = 1;
  };
  if (nt.find(':') == std::string::npos || ot.find(':') == std::string::npos) return reject();
  auto first = [](const std::string& t) { return IntOrZero(std::string_view(t).substr(0, t.find(':'))); };
  auto last = [](const std::string& t) { return IntOrZero(std::string_view(t).substr(t.find(':') + 1)); };
  ctl.PcmpNewFirst = first(nt);
  ctl.PcmpNewLast = last(nt);
  ctl.PcmpOldFirst = first(ot);
  ctl.PcmpOldLast = last(ot);
  // A first line must be a line number; a last line a number or "eod".
  if (ctl.PcmpNewFirst < 1 || ctl.PcmpOldFirst < 1) return reject();
  if ((ctl.PcmpNewLast == 0 && !ColonWord(nt, "eod")) ||
      (ctl.PcmpOldLast == 0 && !ColonWord(ot, "eod")))
    return reject();
  bool newOk = ctl.PcmpNewLast == 0 || ctl.PcmpNewLast >= ctl.PcmpNewFirst;
  bool oldOk = ctl.PcmpOldLast == 0 || ctl.PcmpOldLast >= ctl.PcmpOldFirst;
  ctl.PcmpActive = newOk && oldOk;
}

void SetupPreferences(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  const TOptionControls& controls = run.App.Controls;
  for (const TCheckBox& box : controls.PrPanPreferences) {
    if (!box.Checked) continue;
    const std::string caption = std::string(box.Caption).substr(0, 10);
    if (caption == "Icas") ctl.OptIcas = true;
    else if (caption == "Rovr") ctl.OptRovr = true;
    else if (caption == "Fmvl") ctl.OptFmvl = true;
    else if (caption == "Xdpl") ctl.OptXdpl = true;
    else if (caption == "Fscl") ctl.OptFscl = true;
    else if (caption == "Sbsl") ctl.OptSbsl = true;
    else if (caption == "Lorl") ctl.OptLorl = true;
    else if (caption == "Noss") ctl.OptNoss = true;
    else if (caption == "Ieof") ctl.OptIeof = true;
    else if (caption == "Subc") {
      ctl.OptSubc = true;
      ctl.SubcChar = controls.PrEdSubC.at(1);
    } else if (caption == "Xtab") {
      ctl.OptXtab = true;
      ctl.TabWidth = StrictInt(controls.PrCbXTab, "tab width");
      if (ctl.TabWidth < 1 || ctl.TabWidth > 16) throw std::out_of_range("tab width");
    } else if (caption == "Ccol") {
      SetupColumns(run);
    } else if (caption == "Clnc") {
      ctl.OptClnc = true;
      ctl.OptSbsl = true;
    } else if (caption == "Pcmp") {
      SetupPartCompare(run);
    }
  }
}

} // namespace

void SetupRun(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  run.BuffersAllocated = false;
  run.New = std::make_unique<TCompareFile>();
  run.Old = std::make_unique<TCompareFile>();
  run.New->IsNew = true;
  run.NewLines.Clear();
  run.OldLines.Clear();

  ctl.LastPass = true;
  ctl.RunResult = 0;
  ctl.NewFileName = app.Controls.MnCbNewFileNm;
  ctl.OldFileName = app.Controls.MnCbOldFileNm;

  AllocateBuffers(*run.New);
  AllocateBuffers(*run.Old);
  run.BuffersAllocated = true;

  if (!OpenOne(run, *run.New, true)) return;
  if (!OpenOne(run, *run.Old, false)) return;

  SetupDpOption(run);
  SetupDln(run);
  SetupDps(run);
  SetupListType(ctl, app.Controls.MnCbListType);
  SetupPreferences(run);
  // The compared columns, for those who mark changed characters.
  if (ctl.CcolActive)
    for (size_t r = 0; r < run.New->Col.size(); ++r) {
      auto range = [](const TColRange& c) { return c.On ? std::pair(c.First, c.ToEol ? 0 : c.Last) : std::pair(0, 0); };
      ctl.NewColumns[r] = range(run.New->Col[r]);
      ctl.OldColumns[r] = range(run.Old->Col[r]);
    }
}

bool ReadFailed(TCompareRun& run) {
  const TCompareFile* bad = run.New->ReadFailed ? run.New.get() : run.Old->ReadFailed ? run.Old.get() : nullptr;
  if (!bad) return false;
  run.App.InputIoError = true;
  run.App.InputErrorDetail =
      std::string(bad->IsNew ? "New" : "Old") + " Input File \"" + bad->FileName + "\": read error";
  run.Ctl.RunResult = 4;
  return true;
}

void PassLoop(TCompareRun& run, IPassReport& report) {
  TCompareCtl& ctl = run.Ctl;
  TAppState& app = run.App;
  TCompareFile& nf = *run.New;
  TCompareFile& of = *run.Old;
  ctl.LastPass = false;
  ctl.HeadingArmed = false;
  ctl.HeadingDue = false;
  ctl.ListingStop = false;
  run.PassCt = 0;
  // Identical files: every pass pairs each line with itself and, without
  // Long, filters, columns or part compare, the listing needs only counts.
  run.CountOnly = app.CountIdentical && !ctl.ListLong && !AnyFilter(ctl) && !ctl.CcolActive && !ctl.PcmpActive && !ctl.OptClnc &&
                  CountIdenticalFiles(nf, of, ctl, app.WorkerThreads, run.CountedPasses);
  if (app.WorkerThreads && !run.CountOnly) run.Worker = std::make_unique<TWorker>();

  while (!ctl.LastPass && !app.UserStop && !ctl.ListingStop) {
    nf.PassFirstLine = nf.LinesDone;
    of.PassFirstLine = of.LinesDone;
    ++run.PassCt;
    app.RunProgress = {run.PassCt, nf.LinesDone, nf.FileOffset + of.FileOffset, nf.Size + of.Size};
    app.Progress("Reading Data File" + app.JobLabel +
                 Printf("PassCt=%d  Start Line = %d", run.PassCt, nf.PassFirstLine + 1));
    ReadPass(run);
    ctl.NewLongest = nf.LongestLine;
    ctl.OldLongest = of.LongestLine;
    if (ReadFailed(run)) break;

    if (ctl.FilesDiffer || (ctl.DpActive && !ctl.DpDcob) || ctl.DpsActive) {
      const int first = nf.PassFirstLine + 1;
      app.Progress("Processing Data " + app.JobLabel +
                   Printf("PassCt=%d  Start Line = %d UpTo Line = %d.", run.PassCt, first,
                       nf.PassFirstLine + nf.PassLinesLimit));
      PreparePass(run);
      app.Progress("Finding Matching Lines" + app.JobLabel +
                   Printf("PassCt=%d  Start Line = %d UpTo Line = %d .", run.PassCt, first,
                       nf.PassFirstLine + nf.PassLinesLimit));
      FindMatches(run);
      LookAhead(run);
    }

    app.Progress("Generating Report " + app.JobLabel +
                 Printf("PassCt=%d  Start Line = %d UpTo Line = %d .", run.PassCt,
                     nf.PassFirstLine + 1, nf.PassFirstLine + nf.PassLinesLimit));
    report.ReportPass(run);

    if (!ctl.LastPass && app.Controls.Checked(TagFmvl)) ctl.MovedSubOptimal = true;

    for (TCompareFile* f : {&nf, &of}) {
      f->LinesDone += f->PassLines;
      if (f->PassLines > 0) f->FileOffset = run.Lines(f->IsNew)[f->PassLines].FileOffset;
    }
    FreePassLines(run);
  }
}

std::string ResultMessage(const TAppState& app, const TCompareCtl& ctl) {
  if (app.RunFault) return MsgRunFault;
  if (app.InputIoError) return MsgInputIoError;
  if (app.FileTooBig) return MsgFileTooBig;
  if (app.UserStop) return app.BatchMode ? MsgUserStopBatch : MsgUserStop;
  if (ctl.CcolBad || ctl.PcmpBad)
    return std::string(MsgBadSpec) + (ctl.CcolBad ? "CCol specified." : "Part Compare specified.");
  if (ctl.ReformCount + ctl.InsertCount + ctl.DeleteCount > 0) return MsgDiffer;
  if (ctl.DpActive || ctl.DpsActive || ctl.OptIcas || ctl.OptRovr || ctl.CcolActive ||
      ctl.DlnActive || ctl.PcmpActive ||
      (ctl.OptClnc && ctl.NewBlankCount + ctl.OldBlankCount > 0))
    return MsgEquivFiltered;
  return MsgEquivalent;
}

int64_t ComparedBytes(const TCompareRun& run, const TCompareFile& f) {
  // (The Clnc reader keeps the end of the data it read in the file record.)
  int64_t end = f.DataEndOffset;
  if (!run.Ctl.OptClnc)
    end = f.PassLinesLimit > 0 ? run.Lines(f.IsNew)[f.PassLinesLimit].FileOffset : f.PassStartOffset;
  return end - f.PcmpStartOffset;
}

void KeepFileWarnings(TCompareRun& run) {
  if (!run.New || !run.Old) return;
  TCompareCtl& ctl = run.Ctl;
  ctl.NewEmbeddedEof = run.New->EmbeddedEof;
  ctl.OldEmbeddedEof = run.Old->EmbeddedEof;
  ctl.LinesSplit = run.New->LineSplit || run.Old->LineSplit;
  ctl.ColTooShort = run.New->ColTooShort || run.Old->ColTooShort;
}

void FinishRun(TCompareRun& run) {
  TAppState& app = run.App;
  TCompareCtl& ctl = run.Ctl;
  KeepFileWarnings(run);
  if (run.New && run.Old) {
    ctl.NewFileSize = run.New->Size;
    ctl.OldFileSize = run.Old->Size;
    ctl.NewTotalBytes = ComparedBytes(run, *run.New);
    ctl.OldTotalBytes = ComparedBytes(run, *run.Old);
  }
  ctl.Passes = run.PassCt;
  const std::string message = ResultMessage(app, run.Ctl);
  app.Panel1Lines.push_back(message);
  if (app.BatchMode && app.ListingFile) app.ListingFile->Write(message + "\r\n\r\n");
  if (run.BuffersAllocated) {
    for (auto* f : {run.New.get(), run.Old.get()}) {
      if (!f) continue;
      CloseInputFile(*f);
      f->ReadBuf.reset();
      f->LineBuf.reset();
    }
    run.New.reset();
    run.Old.reset();
    run.BuffersAllocated = false;
  }
  app.StatusText = message;
}

void FreePassLines(TCompareRun& run) {
  run.NewLines.ReleaseTexts(run.Ctl.NewPassLines);
  run.OldLines.ReleaseTexts(run.Ctl.OldPassLines);
}

int RunCompareFrame(TAppState& app, const std::function<void(TCompareRun&)>& passes) {
  if (!app.CompareCtl) app.NewCompareCtl();
  TCompareCtl& ctl = *app.CompareCtl;
  TCompareRun run(app, ctl);
  try {
    SetupRun(run);
    if (ctl.RunResult == 0) passes(run);
  } catch (...) {
    // Any failure inside the run ends it with the fault message; the files
    // are still released by the finish step.
    app.RunFault = true;
  }
  run.NewList.reset();
  run.OldList.reset();
  FinishRun(run);
  if (app.RunFault) ctl.RunResult = 4;
  return ctl.RunResult;
}

int RunOrderedCompare(TAppState& app, IPassReport& report) {
  return RunCompareFrame(app, [&](TCompareRun& run) { PassLoop(run, report); });
}

int NextProcessedNew(const TCompareRun& run, int k) {
  const TCompareFile& f = *run.New;
  if (k > f.PassLinesLimit) return f.PassLines + 1;
  if (!AnyFilter(run.Ctl)) return k;
  while (k <= f.PassLines && run.NewLines[k].NotProcessed) ++k;
  return k;
}

int NextProcessedOld(const TCompareRun& run, int k) {
  const TCompareFile& f = *run.Old;
  if (k > f.PassLines) return f.PassLines + 1;
  if (!AnyFilter(run.Ctl)) return k;
  while (k <= f.PassLines && run.OldLines[k].NotProcessed) ++k;
  return k;
}

int PrevProcessedNew(const TCompareRun& run, int k) {
  if (!AnyFilter(run.Ctl)) return k;
  while (k > 1 && run.NewLines[k].NotProcessed) --k;
  return k;
}

int PrevProcessedOld(const TCompareRun& run, int k) {
  if (!AnyFilter(run.Ctl)) return k;
  while (k > 1 && run.OldLines[k].NotProcessed) --k;
  return k;
}

void LowerCaseBytes(char* buffer, int count) {
  for (int i = 0; i < count; ++i)
    if (buffer[i] >= 'A' && buffer[i] <= 'Z') buffer[i] = static_cast<char>(buffer[i] - 'A' + 'a');
}

void CopyBytes(const char* source, char* target, int count) {
  for (int i = 0; i < count; ++i) target[i] = source[i];
}

} // namespace quorlin
