// The batch step loop: decoding job steps from the ini file, running each
// compare into the shared listing file, the final status and the batch log.
#include "app/BatchJob.h"

#include "app/CompareFlow.h"
#include "engine/CompareRun.h"
#include "listing/Listing.h"
#include "platform/AppDir.h"
#include "platform/Clock.h"
#include "platform/Text.h"

#include <fstream>

namespace quorlin {

namespace {

constexpr const char* FlushSuffix = " \"%s\" from Batch Ini File. Flush job#%d step.";

// Final status messages, in the order they are chosen.
constexpr const char* FinalUserStop = "INFORM: User requested a premature program stop.";
constexpr const char* FinalInputIo = "ERROR: Quorlin encountered an I/O problem opening an Input File.";
constexpr const char* FinalTooBig = "ERROR: File GT 2 GB. Use Sarnvik for partial 2GB compare.";
constexpr const char* FinalIniOpen = "ERROR: Failed to open Batch Ini File.   Program Terminated.";
constexpr const char* FinalParm =
    "ERROR: Exception failure during Batch parm processing.   Program Terminated.";
constexpr const char* FinalRun =
    "ERROR: Unrecoverable exception failure processing files, options, or code.   Program Terminated.";
constexpr const char* FinalWrite = "ERROR: Failed writing the OutF= listing file.   Program Terminated.";
constexpr const char* FinalIniError = "ERROR: Ini file error. One or more job steps flushed.";
constexpr const char* FinalMulti = "ERROR: Multi-batch error. One or more job steps flushed.";
constexpr const char* FinalNoStep = "ERROR: Batch Ini File holds no job step.";

std::string LeftTrimBlanks(std::string_view text) {
  size_t b = text.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(text.substr(b));
}

class TBatchRunner {
public:
  TBatchRunner(TAppState& app, std::string iniPath, std::string logDir, IBatchWindow* window)
      : App(app), IniFileNm(std::move(iniPath)), LogFileNm(logDir + "/" + BatchLogName),
        Window(window) {}

  TBatchResult Run();

private:
  TAppState& App;
  std::string IniFileNm;
  std::string LogFileNm;
  IBatchWindow* Window;
  TBatchState Decoder;
  std::vector<std::string> BatchLines;
  size_t NextLineIx = 0;
  int JobCt = 0;
  std::string LastJobLine;
  TOutputFile ListingFile;
  std::string LastOperand; ///< operand of the last statement read

  bool StepReady = false, JobSeen = false, StmtSeen = false, OutFileGiven = false;
  bool OutFileOpen = false, NewGiven = false, OldGiven = false, StepError = false;
  bool IniOpenFailed = false, IniError = false, MultiBatchError = false;
  bool ParmException = false, RunException = false, WriteError = false;
  bool InputIoError = false, FileTooBig = false;
  bool AnyDiffer = false, StepFailed = false;
  bool OutFileFailed = false; ///< the listing file of step 1 could not be opened

  void AddMsg(std::string_view text) { App.Panel1Lines.push_back(text); }
  std::string Flush(const char* error, const std::string& operand) const {
    return error + Printf(FlushSuffix, operand.c_str(), JobCt + 1);
  }
  bool ReadIni();
  void ResetOptions();
  void Statement(const std::string& line);
  void DecodeParmIni();
  bool OpenOutputFile();
  void ReportMissing();
  void RunStep();
  void StartBatchRun();
  bool AnyError() const {
    return App.UserStop || IniOpenFailed || ParmException || RunException || IniError ||
           MultiBatchError || InputIoError || FileTooBig || WriteError;
  }
};

bool TBatchRunner::ReadIni() {
  if (!FileExists(IniFileNm)) return false;
  std::ifstream in(IniFileNm, std::ios::binary);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    BatchLines.push_back(std::move(line));
  }
  return !in.bad();
}

// Before anything is decoded: options back to their defaults. Later steps
// keep what earlier steps set; the Dln boxes are never reset.
void TBatchRunner::ResetOptions() {
  TOptionControls& c = App.Controls;
  c.DpRadioGroup1 = DpNone;
  c.DpCkDpS = {};
  for (TCheckBox& box : c.PrPanPreferences) box.Checked = false;
  c.MnCbListType = "Chng";
  MultiBatchError = false;
  OutFileGiven = false;
  Decoder.CcolSeen = false;
}

// One statement line (already known not to be empty, a comment or "/job").
void TBatchRunner::Statement(const std::string& normalised) {
  const std::string lower = LowerAscii(normalised);
  if (lower.find('=') == std::string::npos || lower.size() < 6) {
    AddMsg(Flush(ErrInvalidStatement, lower));
    StepError = true;
    return;
  }
  // The text keeps its case here: file names are taken as written.
  std::string text = normalised;
  if (size_t c = text.find("//"); c != std::string::npos) {
    bool quoteBefore = text.find('"') < c;
    bool quoteAfter = text.find('"', c + 2) != std::string::npos;
    if (!(quoteBefore && quoteAfter)) text.erase(c);
  }
  text = TrimBlanks(text);
  if (size_t eq = text.find('='); eq != std::string::npos &&
                                 ((eq > 0 && text[eq - 1] == ' ') || (eq + 1 < text.size() && text[eq + 1] == ' '))) {
    std::string left = text.substr(0, eq), right = text.substr(eq + 1);
    while (!left.empty() && left.back() == ' ') left.pop_back();
    text = left + "=" + LeftTrimBlanks(right);
  }
  if (text.size() < 6) return;
  const std::string keyword = LowerAscii(text.substr(0, 5));
  const std::string operandAsWritten = TrimBlanks(text.substr(5));
  const std::string operand = LowerAscii(operandAsWritten);
  const bool fileName = keyword == "newf=" || keyword == "oldf=" || keyword == "outf=";
  LastOperand = fileName ? operandAsWritten : operand;

  std::string error;
  if (keyword == "newf=" || keyword == "oldf=") {
    const bool isNew = keyword == "newf=";
    if (!FileExists(operandAsWritten)) {
      error = Printf(isNew ? "Invalid New File Name \"%s\" from Batch Ini File. Flush job#%d step."
                           : "Invalid Old File Name \"%s\" from Batch Ini File. Flush job#%d step.",
                     operandAsWritten.c_str(), JobCt + 1);
    } else if (isNew) {
      App.Controls.MnCbNewFileNm = operandAsWritten;
      NewGiven = true;
    } else {
      App.Controls.MnCbOldFileNm = operandAsWritten;
      OldGiven = true;
    }
  } else if (keyword == "outf=" && JobCt == 0 && !OutFileOpen) {
    App.OutFileNm = operandAsWritten;
    OutFileGiven = true;
  } else if (keyword == "ltyp=") {
    const std::string type = ListTypeText(operand);
    if (KnownListType(type))
      App.Controls.MnCbListType = type;
    else
      error = Flush(ErrInvalidLtyp, operand);
  } else if (keyword == "dpop=") {
    if (std::string e = DecodeDpop(App, operand); !e.empty()) error = Flush(e.c_str(), operand);
  } else if (keyword == "pref=") {
    if (std::string e = DecodePref(App, Decoder, operand); !e.empty()) error = Flush(e.c_str(), operand);
  } else {
    error = Flush(ErrInvalidKeyword, LastOperand);
  }
  if (!error.empty()) {
    AddMsg(error);
    StepError = true;
  }
}

bool TBatchRunner::OpenOutputFile() {
  const bool append = App.AppendOpt && FileExists(App.OutFileNm);
  if (!append) App.AppendOpt = false;
  if (!ListingFile.Open(App.OutFileNm, append)) return false;
  if (App.WorkerThreads) ListingFile.WriteInBackground();
  OutFileOpen = true;
  return true;
}

// A step without its files (or, in step 1, without "outf="): reported, and
// its statements flushed up to the next "/job".
void TBatchRunner::ReportMissing() {
  if (NextLineIx < BatchLines.size() && NextLineIx > 0) --NextLineIx;
  std::string missing = " ";
  if (!NewGiven) missing = "NewF=, ";
  if (!OldGiven) missing += "OldF=, ";
  if (JobCt == 0 && !OutFileGiven)
    missing += "OutF= ";
  else
    missing.erase(missing.size() >= 2 ? missing.size() - 2 : 0);
  const std::string message = "Valid file names must be specified." +
                              Printf(" \"%s\" missing. Job#%d execution aborted", missing.c_str(), JobCt + 1);
  AddMsg(message);
  IniError = true;
  if (OutFileOpen) {
    ListingFile.WriteLine(message);
    ListingFile.Write("\r\n");
  }
  while (NextLineIx < BatchLines.size()) {
    const std::string line = LeftTrimBlanks(BatchLines[NextLineIx++]);
    if (LowerAscii(line.substr(0, 4)) == "/job") {
      LastJobLine = line;
      break;
    }
    AddMsg("Statements flushed=\"" + LowerAscii(line) + "\".");
  }
}

void TBatchRunner::DecodeParmIni() {
  StepReady = false;
  while (!StepReady && NextLineIx < BatchLines.size() && !(IniError && JobCt == 0)) {
    App.JobLabel = Printf("Job#%d ", JobCt + 1);
    NewGiven = OldGiven = StepError = StmtSeen = false;
    if (JobCt == 0 && !JobSeen) ResetOptions();

    while (NextLineIx < BatchLines.size() && !StepError) {
      const std::string line = LeftTrimBlanks(BatchLines[NextLineIx++]);
      const std::string lower = LowerAscii(line);
      if (lower.empty() || lower.rfind("//", 0) == 0) continue;
      if (lower.rfind("/job", 0) == 0) {
        if (JobCt == 0 && !JobSeen) {
          JobSeen = true;
          continue;
        }
        LastJobLine = line;
        break;
      }
      if (!JobSeen) {
        JobSeen = true;
        AddMsg("*** /Job#1 Statement Inserted -" + std::string(" Job Started Time=") + App.RunStamp);
      }
      StmtSeen = true;
      Statement(line);
    }

    if (StepError) {
      if (JobCt == 0) {
        AddMsg("*** Job#1 execution aborted due to option error");
        IniError = true;
      } else {
        ++JobCt;
        MultiBatchError = true;
      }
    } else if (!StmtSeen) {
      // Nothing in this attempt: go on with the next lines.
    } else if (NewGiven && OldGiven && (JobCt > 0 || OutFileGiven)) {
      // A listing file that is one of the step's input files would be
      // destroyed (step 1 creates it) or read while it is written.
      if (std::string clash = OutputIsInputMessage(App.OutFileNm, App.InputPath(true), App.InputPath(false)); !clash.empty()) {
        AddMsg(clash + Printf(" Flush job#%d step.", JobCt + 1));
        if (JobCt == 0) {
          StepFailed = OutFileFailed = true;
        } else {
          ++JobCt;
          MultiBatchError = true;
        }
        continue;
      }
      if (JobCt == 0 && !OpenOutputFile()) {
        AddMsg(Flush("Invalid OutF= file name", LastOperand));
        StepFailed = OutFileFailed = true; // the step was flushed
        continue;
      }
      StepReady = true;
      ++JobCt;
      if (JobCt > 1) AddMsg(" ");
      App.RunStamp = NowText();
      AddMsg(Printf("*** Job#%d  Started Time=%s", JobCt, App.RunStamp.c_str()));
      return;
    } else {
      ReportMissing();
    }
  }
}

void TBatchRunner::RunStep() {
  App.FrontEnd->SetStatusText(App.JobLabel + "Starting Batch Compare Operation");
  App.FrontEnd->ProcessPendingEvents();
  App.UserStop = false;
  RunBatchCompare(App, ListingFile);
  App.FrontEnd->SetStatusText(App.StatusText.substr(0, 128));
  if (App.InputIoError) InputIoError = true;
  if (App.FileTooBig) FileTooBig = true;
  if (CompareExitStatus(App) == 2) StepFailed = true;
  if (App.StatusText == MsgDiffer) AnyDiffer = true;
  ListingFile.Flush();
  if (ListingFile.Failed()) {
    WriteError = true;
    AddMsg("ERROR: Writing the listing file \"" + App.OutFileNm + "\" failed: " + ListingFile.ErrorText() + ".");
  }
}

void TBatchRunner::StartBatchRun() {
  LastJobLine = "Job#1 ";
  JobSeen = false;
  JobCt = 0;
  if (IniOpenFailed) return;
  try {
    while (NextLineIx < BatchLines.size() && !App.UserStop && !ParmException && !RunException &&
           !IniError && !WriteError && !InputIoError && !FileTooBig) {
      try {
        DecodeParmIni();
      } catch (const std::exception&) {
        ParmException = true;
        break;
      }
      if (!App.NoShowOpt && Window) Window->ShowDuringBatch();
      if (StepReady) RunStep();
      App.FrontEnd->ProcessPendingEvents();
      if (!ParmException && !RunException && !IniOpenFailed && !IniError) {
        if (!StmtSeen) break;
        App.RunStamp = NowText();
        // No end line for a step that never started (its output file failed).
        if (JobCt > 0) AddMsg(Printf("*** Job#%d      Ended  Time = %s", JobCt, App.RunStamp.c_str()));
      }
    }
  } catch (const std::exception&) {
    RunException = true;
  }
}

TBatchResult TBatchRunner::Run() {
  TBatchResult result;
  result.LogPath = LogFileNm;
  App.BatchMode = true;
  App.Panel1Lines.clear();
  AddMsg(std::string(73, '*'));
  AddMsg(Printf("*** %s %s  Time=%s", VersionString, ReleaseDate, App.RunStamp.c_str()));
  AddMsg(Printf("*** Batch Activity using Ini File=%s ", IniFileNm.c_str()));
  IniOpenFailed = !ReadIni();
  StartBatchRun();

  // The final status.
  std::string status = App.StatusText.substr(0, 128);
  const bool noStep = !AnyError() && JobCt == 0;
  if (!AnyError() && !noStep) {
    if (JobCt > 1 && StmtSeen) status = "INFORM: Multi-part compare was successful.";
    status += "  Exit Batch.";
  } else {
    const char* message = App.UserStop ? FinalUserStop
                          : InputIoError ? FinalInputIo
                          : FileTooBig ? FinalTooBig
                          : IniOpenFailed ? FinalIniOpen
                          : ParmException ? FinalParm
                          : RunException ? FinalRun
                          : WriteError ? FinalWrite
                          : IniError ? FinalIniError
                          : MultiBatchError ? FinalMulti
                          : OutFileFailed ? FinalIniError
                                            : FinalNoStep;
    AddMsg(message);
    status = std::string(message) + "  Check Quorln32.log. Exit Batch.";
  }
  App.FrontEnd->SetStatusText(status);

  // The log: appended to unless "nwlg" was given.
  TOutputFile log;
  bool logged = log.Open(LogFileNm, !App.NewLogOpt && FileExists(LogFileNm));
  if (logged) {
    for (std::string_view line : App.Panel1Lines) log.WriteLine(line);
    logged = log.Close();
  }
  if (!logged)
    App.FrontEnd->ShowMessage("Writing the batch log \"" + LogFileNm + "\" failed: " + log.ErrorText());
  if (OutFileOpen && !ListingFile.Close() && !WriteError)
    App.FrontEnd->ShowMessage("Writing the listing file \"" + App.OutFileNm + "\" failed: " +
                              ListingFile.ErrorText());

  result.FinalStatus = status;
  result.NoWait = App.NoWaitOpt;
  if (AnyError() || noStep || StepFailed || !logged || ListingFile.Failed())
    result.ExitStatus = 2;
  else
    result.ExitStatus = AnyDiffer ? 1 : 0;
  return result;
}

} // namespace

TBatchResult IniBatchRun(TAppState& app, const std::string& iniPath, const std::string& logDirectory,
                         IBatchWindow* window) {
  TBatchRunner runner(app, iniPath, logDirectory, window);
  return runner.Run();
}

std::vector<std::string> PeekLogLines(const std::string& logPath) {
  std::vector<std::string> lines;
  std::ifstream in(logPath, std::ios::binary);
  if (in) {
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
    }
  }
  if (lines.empty()) lines.emplace_back("No data to be shown.");
  return lines;
}

} // namespace quorlin
