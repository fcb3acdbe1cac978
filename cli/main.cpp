// quorlin-cli: the headless front end. Compares two files and writes the
// listing that a one-step batch job writes to its listing file.
#include "app/BatchJob.h"
#include "app/CompareFlow.h"
#include "app/FolderCompare.h"
#include "app/JsonReport.h"
#include "app/OptionsSummary.h"
#include "engine/CompareRun.h"
#include "listing/Listing.h"
#include "platform/AppDir.h"
#include "platform/Clock.h"
#include "platform/InputSpool.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "state/Tokenizer.h"
#include "viewers/ChangedChars.h"
#include "viewers/HtmlWriter.h"
#include "viewers/LineModel.h"
#include "viewers/Reports.h"
#include "viewers/RtfWriter.h"

#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef QUORLIN_VERSION
#define QUORLIN_VERSION "0"
#endif

using namespace quorlin;

namespace {

constexpr const char* Usage =
    "usage: quorlin-cli [-t TYPE] [-p OPERAND]... [-d OPERAND]... [-o FILE]\n"
    "                   [--json FILE [--json-lines]] [--label-new NAME]\n"
    "                   [--label-old NAME] [--] NEW OLD\n"
    "       quorlin-cli [-t TYPE] [-p OPERAND]... [-d OPERAND]... -r REPORT\n"
    "                   [--layout stacked|side-by-side] NEW OLD\n"
    "       quorlin-cli [-t TYPE] [-p OPERAND]... [-d OPERAND]... [-o FILE]\n"
    "                   [--json FILE] [--include GLOB]... [--exclude GLOB]...\n"
    "                   [--listings DIR] [--threads N] NEWDIR OLDDIR\n"
    "       quorlin-cli inif=BATCH.INI\n"
    "\n"
    "Compares the NEW and the OLD version of a text file line by line and writes\n"
    "the compare listing (lines end in CR LF) to standard output or to FILE.\n"
    "NEW or OLD may be - (standard input), /dev/null (an empty file), a pipe or\n"
    "a FIFO; these are read once into a temporary file that is compared.\n"
    "\n"
    "  -t TYPE     listing type: Chng (default), Delta, Long or Ovsum\n"
    "  -p OPERAND  a preference, as the operand of a batch \"pref=\" statement:\n"
    "              icas rovr fmvl xdpl fscl ieof lorl noss clnc nslg apnd,\n"
    "              \"ccol 10:20\" (NEW ranges; a second -p ccol sets the OLD ranges),\n"
    "              \"pcmp 1:100 1:eod\"\n"
    "  -d OPERAND  a don't-process option, as the operand of a batch \"dpop=\"\n"
    "              statement: none dsem drem dblk ddlc ddl2 dcpp dvbc dhtm dcob\n"
    "              dudc dud2, \"dps1 STRING\" to \"dps3 STRING\", \"dpln STRING [RANGE]\"\n"
    "  -o FILE     write the listing to FILE (with -p apnd: append to it)\n"
    "  -r REPORT   compare as the desktop program does and save its viewer report:\n"
    "              coloured rich text when REPORT ends in .rtf, else a text report\n"
    "              (-p sbsl or -p clnc give the two-panel report, stacked unless\n"
    "              --layout side-by-side)\n"
    "  --json FILE write the result as JSON to FILE (- for standard output, with\n"
    "              -o for the listing): exit status, result message,\n"
    "              both files, every count of the statistics section, passes and\n"
    "              options (see the user guide for the keys)\n"
    "  --json-lines  with --json: also one record per listed change (Long, Chng\n"
    "              or Delta): its ID, its kind and its NEW and OLD line numbers\n"
    "  --label-new NAME, --label-old NAME\n"
    "              show NAME in the listing instead of the file's name\n"
    "  --          the arguments after it are file names, even if they begin with -\n"
    "  --include GLOB, --exclude GLOB\n"
    "              two folders: compare only the files whose relative path or\n"
    "              name matches an include; leave out the files and folders that\n"
    "              match an exclude\n"
    "  --listings DIR  two folders: write the listing (-t) of every pair that\n"
    "              differs to DIR/<relative path>.lst\n"
    "  --threads N two folders: compare N pairs at a time (default: one a processor)\n"
    "  --help      show this text\n"
    "  --version   show the program version\n"
    "\n"
    "The result message and the listing's warnings also go to standard error\n"
    "(not a second time when the listing is shown on the same terminal).\n"
    "While a long compare runs with standard error on a terminal and the\n"
    "listing going elsewhere, a progress line shows there. No output may be\n"
    "one of the two input files. Exit status: 0 when the files compare as\n"
    "equivalent, 1 when they differ, 2 on any error (a bad option or operand,\n"
    "a file that cannot be read or written, a halted run).\n"
    "\n"
    "With two folders, every file of the two trees is paired by its relative\n"
    "path and compared; the summary (a line a pair: status, inserted, deleted,\n"
    "reformatted and moved lines, path; then the totals) goes to standard output\n"
    "or FILE, and --json writes it as JSON. Symbolic links to folders are not\n"
    "followed. Exit status 0 when every pair is identical or equivalent and no\n"
    "file stands alone, 1 otherwise, 2 when a pair could not be compared.\n"
    "\n"
    "With inif= the job steps of a batch ini file run (statements newf=, oldf=,\n"
    "outf=, ltyp=, dpop=, pref=, separated by /job lines); the batch log\n"
    "Quorln32.log is written to $QUORLIN_HOME when set, else beside a portable\n"
    "copy of the program (one with a Quorln32.ini beside it), else to\n"
    "$XDG_CONFIG_HOME/quorlin (~/.config/quorlin). The final status line is\n"
    "printed; exit status 0 when\n"
    "every step compared equivalent, 1 when some differ, 2 on any error.\n";

/// The signal that asked the program to stop (SIGINT, SIGTERM, SIGHUP, or
/// SIGPIPE when the reader of standard output went away); 0 while none did.
volatile std::sig_atomic_t StopSignal = 0;

extern "C" void OnStopSignal(int signal) { StopSignal = signal; }

/// A stop signal halts the run as Halt does, so that temporary copies of
/// the inputs are removed and the listing ends cleanly; a second SIGINT,
/// SIGTERM or SIGHUP ends the program at once. Blocking reads are
/// interrupted rather than restarted.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
  action.sa_flags = 0;
  ::sigaction(SIGPIPE, &action, nullptr);
}

/// True when standard output and standard error are the same terminal, so
/// that a listing written to standard output is seen where the messages are.
bool OutputOnErrorTerminal() {
  if (::isatty(STDOUT_FILENO) != 1 || ::isatty(STDERR_FILENO) != 1) return false;
  struct stat out {}, err {};
  return ::fstat(STDOUT_FILENO, &out) == 0 && ::fstat(STDERR_FILENO, &err) == 0 && out.st_rdev == err.st_rdev;
}

/// Messages go to standard error. When standard error is a terminal that
/// the listing does not go to, and a compare has run for a while (a second,
/// or QUORLIN_PROGRESS_AFTER_MS), a progress line shows the pass, the lines
/// and the share of the bytes read; it is cleared before anything else is
/// written there. A stop signal halts the run.
class TCliFrontEnd final : public IFrontEnd {
public:
  TCliFrontEnd() : Start(Clock::now()) {
    if (const char* after = std::getenv("QUORLIN_PROGRESS_AFTER_MS")) After = std::chrono::milliseconds(std::atol(after));
  }
  /// Follows the run of app; progress shows when showProgress is set and
  /// standard error is a terminal: the pass and the lines, or with
  /// showText the progress text itself (a folder compare counts files).
  void Watch(TAppState& app, bool showProgress, bool showText = false) {
    App = &app;
    Terminal = showProgress && ::isatty(STDERR_FILENO) == 1;
    ShowText = showText;
  }
  void SetStatusText(std::string_view text) override {
    if (!Terminal || !App) return;
    const auto now = Clock::now();
    if (now - Start < After || (Shown && now - Last < std::chrono::milliseconds(100))) return;
    Last = now;
    const auto& p = App->RunProgress;
    const int percent = p.Total > 0 ? static_cast<int>(100 * std::min(p.Done, p.Total) / p.Total) : 0;
    if (ShowText)
      std::fprintf(stderr, "\rquorlin-cli: %.*s   ", static_cast<int>(text.size()), text.data());
    else
      std::fprintf(stderr, "\rquorlin-cli: pass %d, %ld lines, %d%%   ", p.Pass, p.NewLines, percent);
    std::fflush(stderr);
    Shown = true;
  }
  void ProcessPendingEvents() override {
    if (StopSignal && App) App->UserStop = true;
  }
  void ShowMessage(std::string_view text) override {
    Clear();
    std::fprintf(stderr, "quorlin-cli: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  /// Removes the progress line, if one is shown.
  void Clear() {
    if (Shown) std::fputs("\r\033[K", stderr);
    Shown = false;
  }

private:
  using Clock = std::chrono::steady_clock;
  bool Terminal = false, ShowText = false;
  const Clock::time_point Start;
  Clock::time_point Last;
  std::chrono::milliseconds After{1000};
  bool Shown = false;
  TAppState* App = nullptr;
};

int Fail(const std::string& text) {
  std::fprintf(stderr, "quorlin-cli: %s\n", text.c_str());
  return 2;
}

/// After a run: the result message and the warnings of the listing on
/// standard error, unless the listing was just shown on that terminal with
/// them in it; then what stopped an input from being read.
void ReportResult(const TAppState& app, bool listingOnTerminal) {
  const bool listedWarnings = listingOnTerminal && app.CompareCtl && !app.CompareCtl->OptNoss;
  if (app.CompareCtl && !listedWarnings)
    for (const std::string& line : RunWarnings(*app.CompareCtl)) Fail(line);
  if (!listingOnTerminal) std::fprintf(stderr, "%s\n", app.StatusText.c_str());
  if (!app.InputErrorDetail.empty()) Fail(app.InputErrorDetail);
}

/// An interactive compare (the panel lists the viewers show), then the report
/// that the viewer's Save As writes.
int WriteViewerReport(TAppState& app, const std::string& path, TSplitLayout layout) {
  app.BatchMode = false;
  // The options summary as Start rebuilds it, without the batch-only words.
  RunStartCompare(app);
  ReportResult(app, false);
  int status = CompareExitStatus(app);
  if (status == 2) return 2;
  const TResultView view = MakeResultView(app);
  const bool dual = app.CompareCtl->OptSbsl && !app.Panel2Lines.empty();
  std::string ext = path.size() >= 4 ? LowerAscii(path.substr(path.size() - 4)) : std::string();
  std::string error;
  if (HtmlName(path)) {
    error = SaveHtmlReport(path, view, {dual, layout, SingleViewerCaption(view.RunStamp), true});
  } else if (ext == ".rtf") {
    // Written as it is built; a stop signal halts the build and saves nothing.
    TColouredOptions options;
    options.Halted = [] { return StopSignal != 0; };
    bool halted = false;
    error = SaveColouredReport(
        path, options,
        [&](const TColouredOptions& o) {
          return dual ? BuildTwoPanelColoured(view, o) : BuildSingleColoured(view, SingleViewerCaption(view.RunStamp), o);
        },
        halted);
    if (halted) return Fail(MsgColouredHalted);
  } else {
    error = SaveTextReport(path, false, [&](const TReportLines& out) {
      if (dual)
        WriteTwoPanelTextReport(view, layout, {}, out);
      else
        WriteSingleTextReport(view, SingleViewerCaption(view.RunStamp), out);
    });
  }
  if (!error.empty()) return Fail(error);
  return status;
}

/// True when path names something other than a regular file (standard
/// output, a device, a pipe): the JSON is then written straight into it,
/// as there is nothing to rename a finished file over.
bool WrittenInPlace(const std::string& path) {
  struct stat st {};
  return path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
}

/// Makes a new empty file from pattern (ending in XXXXXX) and returns its
/// descriptor, or -1 with errno set.
int NewTempFile(std::string& pattern) {
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return -1;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  return fd;
}

/// Where the change records wait while the compare runs: beside the JSON
/// file, or in the temporary folder when the JSON is written in place.
std::string ChangesPattern(const std::string& jsonPath) {
  if (!WrittenInPlace(jsonPath)) return jsonPath + ".changes-XXXXXX";
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/quorlin-changes-XXXXXX";
}

/// Writes the JSON result to path: a regular file through a new file
/// renamed over it when complete, anything else in place. changes, when
/// given, holds the change records, copied in in pieces and removed
/// afterwards.
bool WriteJson(const TAppState& app, int status, const std::string& path, TOutputFile* changes,
               const std::string& changesPath) {
  if (changes && !changes->Close()) {
    std::remove(changesPath.c_str());
    return Fail("cannot write " + changesPath + ": " + changes->ErrorText()), false;
  }
  const bool inPlace = WrittenInPlace(path);
  std::string temp;
  int tempFd = -1;
  TOutputFile out;
  if (path == "-") {
    out.AttachDescriptor(STDOUT_FILENO, "standard output");
  } else if (inPlace) {
    if (!out.Open(path, false)) return Fail("cannot write " + path + ": " + out.ErrorText()), false;
  } else {
    temp = LinkTarget(path) + ".XXXXXX";
    tempFd = NewTempFile(temp);
    if (tempFd < 0) return Fail("cannot write " + path + ": " + std::strerror(errno)), false;
    out.AttachDescriptor(tempFd, temp);
  }
  out.Write(JsonRunSummary(app, status));
  if (changes) {
    out.Write(",\n  \"changes\": [");
    bool any = false;
    if (std::FILE* in = std::fopen(changesPath.c_str(), "rb")) {
      char buf[1 << 16];
      for (size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;) {
        out.Write(std::string_view(buf, n));
        any = true;
      }
      std::fclose(in);
    }
    std::remove(changesPath.c_str());
    out.Write(any ? "\n  ]" : "]");
  }
  out.Write("\n}\n");
  std::string why = out.Close() ? "" : out.ErrorText();
  if (tempFd >= 0) {
    if (::close(tempFd) != 0 && why.empty()) why = std::strerror(errno);
    if (why.empty() && std::rename(temp.c_str(), LinkTarget(path).c_str()) != 0) why = std::strerror(errno);
    if (!why.empty()) std::remove(temp.c_str());
  }
  if (why.empty()) return true;
  return Fail("cannot write " + (path == "-" ? std::string("the JSON result") : path) + ": " + why), false;
}

/// Writes bytes to path ("-": standard output), or with append adds them
/// to its end. Returns false after saying why it failed.
bool WriteOutput(const std::string& path, const std::string& bytes, bool append) {
  TOutputFile out;
  if (path == "-")
    out.AttachDescriptor(STDOUT_FILENO, "standard output");
  else if (!out.Open(path, append))
    return Fail("cannot open " + path + ": " + out.ErrorText()), false;
  out.Write(bytes);
  return out.Close() || (Fail("cannot write " + out.Path() + ": " + out.ErrorText()), false);
}

/// quorlin-cli NEWDIR OLDDIR: the summary of the folder compare to standard
/// output or outPath, the JSON to jsonPath. No output may lie in either
/// folder, so that what is compared stays as it was.
int CompareFolderTrees(TAppState& app, TCliFrontEnd& ui, TFolderOptions& options, const std::string& outPath,
                       const std::string& jsonPath) {
  struct stat out {};
  const bool stdoutFile = outPath.empty() && ::fstat(STDOUT_FILENO, &out) == 0 && S_ISREG(out.st_mode);
  const std::pair<std::string, std::string> outputs[] = {{outPath, ""},
                                                         {jsonPath == "-" ? "" : jsonPath, ""},
                                                         {options.ListingDir, ""},
                                                         {stdoutFile ? "/proc/self/fd/1" : "", "standard output"}};
  for (const auto& [output, shown] : outputs)
    if (!output.empty())
      if (std::string clash = OutputInFoldersMessage(output, options.NewRoot, options.OldRoot, shown); !clash.empty())
        return Fail(clash);
  if (!options.ListingDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.ListingDir, ec);
    if (ec) return Fail("cannot make the listing folder " + options.ListingDir + ": " + ec.message());
  }
  const bool summaryOnTerminal = outPath.empty() && OutputOnErrorTerminal();
  ui.Watch(app, !summaryOnTerminal, true);
  const TFolderResult result = CompareFolders(app, options);
  ui.Clear();
  std::string summary;
  for (const std::string& line : FolderSummary(result)) summary.append(line).append("\n");
  bool written = WriteOutput(outPath.empty() ? "-" : outPath, summary, app.AppendOpt);
  if (StopSignal == SIGPIPE) {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
  }
  if (!summaryOnTerminal) std::fprintf(stderr, "%s\n", app.StatusText.c_str());
  if (!jsonPath.empty()) written = WriteOutput(jsonPath, JsonFolderResult(result), false) && written;
  return written ? result.ExitStatus() : 2;
}

/// A dpop= operand that names a Dln filter ("dpln ...").
bool IsDlnOperand(std::string_view operand) {
  const std::vector<std::string> tokens = ParseParmTokens(operand);
  return !tokens.empty() && LowerAscii(tokens[0]) == "dpln";
}

} // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  CatchStopSignals();
  CleanStaleStores(); // text stores a crashed run left behind
  TCliFrontEnd ui;
  TAppState app(ui);
  TBatchState batch;
  TInputSpool spool; // temporary copies of inputs that cannot be read twice; removed on every return
  app.BatchMode = true;
  std::string outPath, reportPath, jsonPath;
  std::string labels[2]; // --label-new, --label-old
  bool jsonLines = false, fileNamesOnly = false;
  TSplitLayout layout = TSplitLayout::Stacked;
  bool sideBySide = false;
  std::vector<std::string> files;
  TFolderOptions folders;
  std::string folderOnly; // an option that only a compare of two folders takes

  std::vector<std::string> args(argv + 1, argv + argc);
  app.RunStamp = NowText();
  if (args.size() == 1 && args[0].size() > 5 && LowerAscii(args[0].substr(0, 5)) == "inif=") {
    ui.Watch(app, false);
    TBatchResult result = IniBatchRun(app, args[0].substr(5), DataDirectory(true));
    std::printf("%s\n", result.FinalStatus.c_str());
    return result.ExitStatus;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (fileNamesOnly) {
      files.push_back(a);
      continue;
    }
    if (a == "--") {
      fileNamesOnly = true;
      continue;
    }
    if (a == "--json-lines") {
      jsonLines = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (a == "--version") {
      std::printf("quorlin-cli %s (%s%s)\n", QUORLIN_VERSION, VersionString, ReleaseDate);
      return 0;
    }
    if (a == "-t" || a == "-p" || a == "-d" || a == "-o" || a == "-r" || a == "--layout" || a == "--json" ||
        a == "--label-new" || a == "--label-old" || a == "--include" || a == "--exclude" || a == "--listings" ||
        a == "--threads") {
      if (i + 1 >= args.size()) return Fail("option " + a + " needs an operand\n" + Usage);
      const std::string& op = args[++i];
      if (a == "--include" || a == "--exclude" || a == "--listings" || a == "--threads") folderOnly = a;
      if (a == "--include" || a == "--exclude") {
        (a == "--include" ? folders.Include : folders.Exclude).push_back(op);
      } else if (a == "--listings") {
        folders.ListingDir = op;
      } else if (a == "--threads") {
        char* end = nullptr;
        const long n = std::strtol(op.c_str(), &end, 10);
        if (op.empty() || *end != '\0' || n < 1 || n > 64) return Fail("--threads needs a number from 1 to 64");
        folders.Threads = static_cast<int>(n);
      } else if (a == "--json") {
        jsonPath = op;
      } else if (a == "-o") {
        outPath = op;
      } else if (a == "-r") {
        reportPath = op;
      } else if (a == "--label-new" || a == "--label-old") {
        labels[a == "--label-new" ? 0 : 1] = op;
      } else if (a == "--layout") {
        if (op != "stacked" && op != "side-by-side")
          return Fail("unknown layout \"" + op + "\" (use stacked or side-by-side)");
        layout = op == "stacked" ? TSplitLayout::Stacked : TSplitLayout::SideBySide;
      } else if (a == "-t") {
        std::string type = ListTypeText(op);
        if (!KnownListType(type)) return Fail("unknown listing type \"" + op + "\" (use Chng, Delta, Long or Ovsum)");
        app.Controls.MnCbListType = type;
      } else {
        // Statement operands are taken in lower case, as in a batch ini file.
        const std::string text = LowerAscii(op);
        std::string error;
        try {
          // A bad Dln filter would only be noted in the statistics; here it is refused.
          if (a == "-d" && IsDlnOperand(text)) error = CheckDlnOperand(app.Controls, text);
          if (error.empty()) error = a == "-p" ? DecodePref(app, batch, text) : DecodeDpop(app, text);
        } catch (const TParmException&) {
          error = a == "-p" ? ErrInvalidPref : ErrInvalidDpop;
        }
        if (!error.empty()) return Fail(error + " \"" + op + "\"");
        // In a batch "sbsl" changes nothing; for a viewer report it asks for two panels.
        if (a == "-p" && text == "sbsl") sideBySide = true;
      }
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return Fail("unknown option " + a + "\n" + Usage);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return Fail(std::string("two file names are needed, NEW and OLD\n") + Usage);
  if (jsonLines && jsonPath.empty()) return Fail("--json-lines needs --json FILE");
  if (jsonPath == "-" && outPath.empty() && reportPath.empty())
    return Fail("--json - writes to standard output; send the listing elsewhere with -o FILE");
  if (!reportPath.empty() && !outPath.empty()) return Fail("-o and -r cannot be used together");
  if (!reportPath.empty() && !jsonPath.empty()) return Fail("--json and -r cannot be used together");
  if (files[0] == "-" && files[1] == "-") return Fail("standard input (-) can be only one of NEW and OLD");
  if (IsFolder(files[0]) && IsFolder(files[1])) {
    if (!reportPath.empty() || jsonLines || !labels[0].empty() || !labels[1].empty())
      return Fail("-r, --json-lines, --label-new and --label-old compare two files, not two folders");
    folders.NewRoot = files[0];
    folders.OldRoot = files[1];
    return CompareFolderTrees(app, ui, folders, outPath, jsonPath);
  }
  for (int side = 0; side < 2; ++side)
    if (IsFolder(files[side]))
      return Fail("\"" + files[side] + "\" is a directory and \"" + files[1 - side] +
                  "\" is not: give two files or two folders");
  if (!folderOnly.empty()) return Fail(folderOnly + " compares two folders, not two files");

  // The names the listing shows, and the files read: a label names a file
  // in the listing, and an input that cannot be read twice is compared
  // through a copy.
  for (int side = 0; side < 2; ++side) {
    const std::string& name = files[side];
    std::string& shown = side == 0 ? app.Controls.MnCbNewFileNm : app.Controls.MnCbOldFileNm;
    std::string& read = side == 0 ? app.NewReadPath : app.OldReadPath;
    shown = !labels[side].empty() ? labels[side] : name == "-" ? "(standard input)" : name;
    std::string why;
    read = spool.Readable(name, MaxInputSize, why, &StopSignal);
    if (!why.empty()) return Fail(why);
    if (read == shown) read.clear();
  }
  // No output may overwrite an input, under any of its names.
  const bool toStdout = outPath.empty() && reportPath.empty();
  for (const std::string& output : {outPath, reportPath, jsonPath == "-" ? std::string() : jsonPath})
    if (!output.empty())
      if (std::string clash = OutputIsInputMessage(output, app.InputPath(true), app.InputPath(false));
          !clash.empty())
        return Fail(clash);
  if (toStdout || jsonPath == "-")
    if (std::string clash =
            OutputIsInputMessage("/dev/stdout", app.InputPath(true), app.InputPath(false), "standard output");
        !clash.empty())
      return Fail(clash);

  if (!reportPath.empty()) {
    app.Controls.Pref(TagSbsl).Checked = sideBySide;
    ui.Watch(app, true);
    return WriteViewerReport(app, reportPath, layout);
  }

  TOutputFile listing;
  if (outPath.empty()) {
    listing.AttachDescriptor(STDOUT_FILENO, "standard output");
    app.OutFileNm = "(standard output)";
  } else {
    if (!listing.Open(outPath, app.AppendOpt))
      return Fail("cannot open " + outPath + ": " + listing.ErrorText());
    app.OutFileNm = outPath;
  }
  if (app.WorkerThreads) listing.WriteInBackground();
  // The change records wait in a file of their own until the counts that
  // come before them in the JSON are known.
  TOutputFile changes;
  std::string changesPath;
  std::unique_ptr<TChangeRecordPairs> pairs;
  if (jsonLines) {
    changesPath = ChangesPattern(jsonPath);
    const int fd = NewTempFile(changesPath);
    if (fd < 0) return Fail("cannot make a temporary file " + changesPath + ": " + std::strerror(errno));
    ::close(fd);
    if (!changes.Open(changesPath, false)) return Fail("cannot open " + changesPath + ": " + changes.ErrorText());
    bool first = true;
    // A record of a line with a partner says which of its bytes changed.
    pairs = std::make_unique<TChangeRecordPairs>(TMarkRules{}, [&](const TChangeRecordPairs::TRecord& r) {
      std::string record = JsonChange(r.Id, r.NewLine, r.OldLine);
      if (r.Paired) {
        record.pop_back();
        record += ", \"changed_ranges\": [";
        for (const TCharRange& range : r.Ranges)
          record += (record.back() == '[' ? "[" : ", [") + std::to_string(range.From) + ", " + std::to_string(range.To) + "]";
        record += "]}";
      }
      changes.Write(first ? "\n    " : ",\n    ");
      changes.Write(record);
      first = false;
    });
    app.ChangeSink = [&](std::string_view id, long newLine, long oldLine, std::string_view text) {
      const TCompareCtl& ctl = *app.CompareCtl;
      pairs->SetRules({ctl.OptIcas, ctl.NewColumns, ctl.OldColumns});
      // The text as the listing lists it: the text field of its line.
      pairs->Add(id, newLine, oldLine, text.substr(0, ctl.OptFscl ? 128 : 80));
    };
  }
  StartOneStepJob(app);
  // A listing shown on the terminal where the messages go gets no progress
  // line written over it, and its result message is not repeated.
  const bool listingOnTerminal = toStdout && OutputOnErrorTerminal();
  ui.Watch(app, !listingOnTerminal);
  RunBatchCompare(app, listing);
  if (pairs) pairs->Finish();
  ui.Clear();
  int status = CompareExitStatus(app);
  const bool written = listing.Close();
  if (StopSignal == SIGPIPE) {
    // The reader of the listing went away: end quietly, as other filters do.
    if (jsonLines) std::remove(changesPath.c_str());
    spool.Remove();
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
  }
  ReportResult(app, listingOnTerminal);
  if (!written) return Fail("cannot write " + listing.Path() + ": " + listing.ErrorText());
  if (!jsonPath.empty() && !WriteJson(app, status, jsonPath, jsonLines ? &changes : nullptr, changesPath))
    return 2;
  return status;
}
