#include "app/FolderCompare.h"

#include "app/CompareFlow.h"
#include "app/OptionsSummary.h"
#include "engine/CompareRun.h"
#include "platform/Text.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace quorlin {

namespace {

struct TStatusText {
  const char* Key;    ///< JSON
  const char* Name;   ///< summary table and folder window
  const char* Totals; ///< totals line, after the count
};
constexpr std::array<TStatusText, PairStatusCount> StatusTexts = {{
    {"identical", "identical", "identical"},
    {"equivalent", "equivalent", "equivalent"},
    {"differs", "differs", "differ"},
    {"only_in_new", "only in NEW", "only in NEW"},
    {"only_in_old", "only in OLD", "only in OLD"},
    {"binary_identical", "binary identical", "binary identical"},
    {"binary_differs", "binary differs", "binary differ"},
    {"error", "error", "could not be compared"},
}};

const TStatusText& TextOf(TPairStatus status) { return StatusTexts[static_cast<size_t>(status)]; }

/// Bytes at the start of a file that are searched for a NUL byte.
constexpr size_t BinaryProbe = 8192;
/// Bytes of each file read at a time by the byte compare.
constexpr size_t ChunkSize = 64 * 1024;

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

// ---- The walk --------------------------------------------------------------

enum class TKind { File, Folder, FolderLink, Other };

struct TEntry {
  std::string Name;
  TKind Kind;
};

TKind KindOfMode(mode_t mode) {
  return S_ISREG(mode) ? TKind::File : S_ISDIR(mode) ? TKind::Folder : TKind::Other;
}

/// What entry e of the open folder dirFd is. A symbolic link to a folder is
/// not followed; a link to a file stands for the file; a link that leads
/// nowhere (or into a loop) counts as a file, whose compare then says why it
/// cannot be read.
TKind KindOf(int dirFd, const dirent& e) {
  struct stat st {};
  switch (e.d_type) {
  case DT_REG: return TKind::File;
  case DT_DIR: return TKind::Folder;
  case DT_LNK: break;
  case DT_UNKNOWN:
    if (::fstatat(dirFd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return TKind::File;
    if (!S_ISLNK(st.st_mode)) return KindOfMode(st.st_mode);
    break;
  default: return TKind::Other;
  }
  if (::fstatat(dirFd, e.d_name, &st, 0) != 0) return TKind::File;
  return S_ISDIR(st.st_mode) ? TKind::FolderLink : KindOfMode(st.st_mode);
}

/// The entries of folder path in byte order of their names; false with why
/// set when the folder cannot be read.
bool ReadFolder(const std::string& path, std::vector<TEntry>& entries, std::string& why) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) {
    why = std::strerror(errno);
    return false;
  }
  errno = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
      entries.push_back({e->d_name, KindOf(::dirfd(dir), *e)});
    errno = 0;
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) {
    why = std::strerror(error);
    return false;
  }
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
  return true;
}

bool AnyMatch(const std::vector<std::string>& patterns, const std::string& path, const std::string& name) {
  for (const std::string& p : patterns)
    if (::fnmatch(p.c_str(), path.c_str(), 0) == 0 || ::fnmatch(p.c_str(), name.c_str(), 0) == 0) return true;
  return false;
}

/// Walks both trees at once, folder by folder, names in byte order, so that
/// the pairs come out in sorted path order. Found takes each pair as it is
/// found; Going is asked before each folder and ends the walk with false.
class TWalker {
public:
  TWalker(const TFolderOptions& options, std::vector<std::string>& notes,
          std::function<void(TFolderPair&&)> found, std::function<bool()> going)
      : Options(options), Notes(notes), Found(std::move(found)), Going(std::move(going)) {}

  /// Pairs the files of folder rel (relative to both roots) that is in the
  /// NEW tree (inNew) and in the OLD tree (inOld).
  void Walk(const std::string& rel, bool inNew, bool inOld) {
    if (!Going()) return;
    std::vector<TEntry> side[2];
    for (int s = 0; s < 2; ++s) {
      if (!(s == 0 ? inNew : inOld)) continue;
      const std::string path = Join(s == 0 ? Options.NewRoot : Options.OldRoot, rel);
      std::string why;
      if (!ReadFolder(path, side[s], why)) {
        // Its files could be neither paired nor said to stand alone.
        Found({rel.empty() ? "." : rel, TPairStatus::Error,
               std::string(s == 0 ? "The New" : "The Old") + " folder \"" + path + "\" could not be read: " + why,
               nullptr});
        return;
      }
    }
    const std::vector<TEntry>& n = side[0];
    const std::vector<TEntry>& o = side[1];
    for (size_t i = 0, j = 0; i < n.size() || j < o.size();) {
      const int order = i == n.size() ? 1 : j == o.size() ? -1 : n[i].Name.compare(o[j].Name);
      Visit(rel, order <= 0 ? &n[i] : nullptr, order >= 0 ? &o[j] : nullptr);
      if (order <= 0) ++i;
      if (order >= 0) ++j;
    }
  }

private:
  const TFolderOptions& Options;
  std::vector<std::string>& Notes;
  std::function<void(TFolderPair&&)> Found;
  std::function<bool()> Going;

  static bool Is(const TEntry* e, TKind kind) { return e && e->Kind == kind; }

  /// "in NEW", "in OLD" or "in NEW and OLD": where entries of kind are.
  static std::string Where(const TEntry* a, const TEntry* b, TKind kind) {
    return Is(a, kind) && Is(b, kind) ? "in NEW and OLD" : Is(a, kind) ? "in NEW" : "in OLD";
  }

  /// One name of folder rel: a (NEW) and b (OLD), either may be missing.
  void Visit(const std::string& rel, const TEntry* a, const TEntry* b) {
    const std::string& name = (a ? a : b)->Name;
    const std::string path = Join(rel, name);
    if (AnyMatch(Options.Exclude, path, name)) return;
    if (Is(a, TKind::FolderLink) || Is(b, TKind::FolderLink))
      Notes.push_back(path + " (" + Where(a, b, TKind::FolderLink) + "): a symbolic link to a folder, not followed");
    if (Is(a, TKind::Other) || Is(b, TKind::Other))
      Notes.push_back(path + " (" + Where(a, b, TKind::Other) + "): not a regular file, not compared");
    const bool fileA = Is(a, TKind::File), fileB = Is(b, TKind::File);
    const bool dirA = Is(a, TKind::Folder), dirB = Is(b, TKind::Folder);
    if ((fileA && dirB) || (dirA && fileB))
      Notes.push_back(path + ": a file in " + (fileA ? "NEW" : "OLD") + " and a folder in " + (fileA ? "OLD" : "NEW"));
    if ((fileA || fileB) && (Options.Include.empty() || AnyMatch(Options.Include, path, name)))
      Found({path,
             fileA && fileB ? TPairStatus::Identical
             : fileA        ? TPairStatus::OnlyInNew
                            : TPairStatus::OnlyInOld,
             {}, nullptr});
    if (dirA || dirB) Walk(path, dirA, dirB);
  }
};

// ---- One pair ----------------------------------------------------------------

/// An open file, closed on every path.
struct TOpenFile {
  int Fd = -1;
  struct stat St {};
  explicit TOpenFile(const std::string& path) {
    // Not blocking: a name that became a FIFO since the walk must not hang the compare.
    Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd >= 0 && (::fstat(Fd, &St) != 0 || !S_ISREG(St.st_mode))) {
      ::close(Fd);
      Fd = -1;
    }
  }
  ~TOpenFile() {
    if (Fd >= 0) ::close(Fd);
  }
  TOpenFile(const TOpenFile&) = delete;
  TOpenFile& operator=(const TOpenFile&) = delete;
};

/// Reads up to count bytes, fewer only at the end of the file; -1 on an error.
ssize_t ReadFull(int fd, char* buf, size_t count) {
  size_t got = 0;
  while (got < count) {
    const ssize_t n = ::read(fd, buf + got, count - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool HasNul(const char* buf, ssize_t n) {
  return std::memchr(buf, 0, std::min(static_cast<size_t>(n), BinaryProbe)) != nullptr;
}

/// What the bytes of a pair decide: the same bytes, other bytes, or nothing
/// (a file could not be opened or read, and the line compare is to say why).
enum class TBytes { Same, Differ, Unread };

/// Compares the bytes of the two files; binary is set when either holds a
/// NUL byte in its first BinaryProbe bytes. buf holds two chunks.
TBytes CompareBytes(const std::string& newPath, const std::string& oldPath, std::vector<char>& buf, bool& binary) {
  binary = false;
  TOpenFile a(newPath), b(oldPath);
  if (a.Fd < 0 || b.Fd < 0) return TBytes::Unread;
  buf.resize(2 * ChunkSize);
  char* bufA = buf.data();
  char* bufB = bufA + ChunkSize;
  if (a.St.st_size != b.St.st_size) {
    const ssize_t na = ReadFull(a.Fd, bufA, BinaryProbe), nb = ReadFull(b.Fd, bufB, BinaryProbe);
    if (na < 0 || nb < 0) return TBytes::Unread;
    binary = HasNul(bufA, na) || HasNul(bufB, nb);
    return TBytes::Differ;
  }
  // The size is known, so no read is spent on finding the end of a file.
  for (off_t left = a.St.st_size, done = 0; left > 0;) {
    const size_t want = static_cast<size_t>(std::min<off_t>(left, ChunkSize));
    const ssize_t na = ReadFull(a.Fd, bufA, want), nb = ReadFull(b.Fd, bufB, want);
    if (na < 0 || nb < 0) return TBytes::Unread;
    const bool same = na == nb && std::memcmp(bufA, bufB, static_cast<size_t>(na)) == 0;
    // Where the two chunks are the same, one of them tells whether both hold a NUL.
    if (done == 0) binary = HasNul(bufA, na) || (!same && HasNul(bufB, nb));
    if (!same) return TBytes::Differ;
    if (static_cast<size_t>(na) < want) break; // both files shrank alike since they were opened
    left -= na;
    done += na;
  }
  return TBytes::Same;
}

/// What the workers share: the options of every line compare, taken from
/// the caller's state before the workers start (the caller's controls may
/// change while they run), and the stop request.
struct TPairContext {
  TOptionControls Controls;
  bool NslgOpt = false, CountIdentical = true;
  std::string RunStamp;
  const TFolderOptions& Options;
  std::atomic<bool>& Stop;
};

/// The front end of a line compare on a worker: shows nothing, and halts the
/// compare when the folder compare is stopped.
class TPairFrontEnd final : public IFrontEnd {
public:
  explicit TPairFrontEnd(const std::atomic<bool>& stop) : Stop(stop) {}
  TAppState* App = nullptr;
  void SetStatusText(std::string_view) override {}
  void ProcessPendingEvents() override {
    if (Stop && App) App->UserStop = true;
  }
  void ShowMessage(std::string_view) override {}

private:
  const std::atomic<bool>& Stop;
};

/// The line compare of a pair whose text differs in its bytes, as a one-step
/// batch job runs it; with a listing folder its listing is kept when the
/// pair differs. Returns false when the compare was halted.
bool LineCompare(const TPairContext& ctx, const std::string& newPath, const std::string& oldPath,
                 TFolderPair& pair) {
  TPairFrontEnd ui(ctx.Stop);
  TAppState app(ui);
  ui.App = &app;
  app.Controls = ctx.Controls;
  app.Controls.MnCbNewFileNm = newPath;
  app.Controls.MnCbOldFileNm = oldPath;
  app.NslgOpt = ctx.NslgOpt;
  app.CountIdentical = ctx.CountIdentical;
  // The pairs run side by side already: a second thread within a pair
  // would only wait for the first.
  app.WorkerThreads = false;
  app.RunStamp = ctx.RunStamp;
  app.BatchMode = true;
  StartOneStepJob(app);
  TOutputFile listing;
  if (!ctx.Options.ListingDir.empty()) {
    app.OutFileNm = ctx.Options.ListingDir + "/" + pair.Path + ".lst";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(app.OutFileNm).parent_path(), ec);
    std::string error = OutputIsInputMessage(app.OutFileNm, newPath, oldPath);
    if (error.empty() && !listing.Open(app.OutFileNm, false))
      error = "cannot write " + app.OutFileNm + ": " + listing.ErrorText();
    if (!error.empty()) {
      pair.Status = TPairStatus::Error;
      pair.Message = error;
      return true;
    }
    app.ListingFile = &listing;
  }
  BuildOptsSummary(app);
  RunCompare(app);
  app.ListingFile = nullptr;
  const bool written = listing.Close();
  if (app.UserStop) {
    if (!app.OutFileNm.empty()) std::remove(app.OutFileNm.c_str());
    return false;
  }
  const int status = CompareExitStatus(app);
  pair.Status = status == 2 ? TPairStatus::Error : status == 1 ? TPairStatus::Differs : TPairStatus::Equivalent;
  pair.Message = app.StatusText;
  if (!app.InputErrorDetail.empty()) pair.Message += " " + app.InputErrorDetail;
  if (status != 2) pair.Ctl = std::move(app.CompareCtl);
  if (!app.OutFileNm.empty()) {
    if (!written) {
      pair.Status = TPairStatus::Error;
      pair.Message = "cannot write " + app.OutFileNm + ": " + listing.ErrorText();
    } else if (pair.Status != TPairStatus::Differs) {
      std::remove(app.OutFileNm.c_str());
    }
  }
  return true;
}

/// Decides the status of a pair that is in both trees. Returns false when
/// the compare was halted before the pair's status was known.
bool ComparePair(const TPairContext& ctx, TFolderPair& pair, std::vector<char>& buf) {
  const std::string newPath = Join(ctx.Options.NewRoot, pair.Path);
  const std::string oldPath = Join(ctx.Options.OldRoot, pair.Path);
  try {
    bool binary = false;
    const TBytes bytes = CompareBytes(newPath, oldPath, buf, binary);
    if (bytes == TBytes::Same) {
      pair.Status = binary ? TPairStatus::BinaryIdentical : TPairStatus::Identical;
      return true;
    }
    if (bytes == TBytes::Differ && binary) {
      pair.Status = TPairStatus::BinaryDiffers;
      return true;
    }
    return LineCompare(ctx, newPath, oldPath, pair);
  } catch (const std::exception&) {
    pair.Status = TPairStatus::Error;
    pair.Message = MsgRunFault;
    return true;
  }
}

/// The canonical form of path, which need not exist yet; empty when it
/// cannot be made.
std::filesystem::path Canonical(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return ec ? std::filesystem::path() : p;
}

/// True when inner is outer or lies below it (both canonical).
bool Within(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  if (inner.empty() || outer.empty()) return false;
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i)
    if (i == inner.end() || *i != *o) return false;
  return true;
}

} // namespace

const char* PairStatusKey(TPairStatus status) { return TextOf(status).Key; }
const char* PairStatusName(TPairStatus status) { return TextOf(status).Name; }

TFolderTotals TFolderResult::Totals() const {
  TFolderTotals totals;
  for (const TFolderPair& pair : Pairs) {
    ++totals.Pairs[static_cast<size_t>(pair.Status)];
    if (!pair.Ctl) continue;
    totals.Inserted += pair.Ctl->InsertCount;
    totals.Deleted += pair.Ctl->DeleteCount;
    totals.Reformatted += pair.Ctl->ReformCount;
    if (pair.Ctl->OptFmvl && !pair.Ctl->OptClnc) {
      totals.Moved += pair.Ctl->MovedCount;
      totals.MovedCounted = true;
    }
  }
  return totals;
}

int TFolderResult::ExitStatus() const {
  const TFolderTotals t = Totals();
  if (Halted || t.Of(TPairStatus::Error) > 0) return 2;
  return t.Of(TPairStatus::Identical) + t.Of(TPairStatus::Equivalent) + t.Of(TPairStatus::BinaryIdentical) ==
                 static_cast<int>(Pairs.size())
             ? 0
             : 1;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderNames(TOptionControls& controls) {
  controls.MnCbNewFileNm = TrimBlanks(controls.MnCbNewFileNm);
  controls.MnCbOldFileNm = TrimBlanks(controls.MnCbOldFileNm);
  return IsFolder(controls.MnCbNewFileNm) && IsFolder(controls.MnCbOldFileNm);
}

TFolderResult CompareFolders(TAppState& app, const TFolderOptions& options) {
  std::atomic<bool> stop{false};
  const int threads = options.Threads > 0 ? options.Threads
                                          : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  const TPairContext ctx{app.Controls, app.NslgOpt, app.CountIdentical, app.RunStamp, options, stop};
  // The pairs as the walk finds them, shared with the workers under lock;
  // the pairs in both trees wait in Jobs, in path order, for a worker.
  std::mutex lock;
  std::condition_variable changed;
  std::deque<TFolderPair> pairs;
  std::vector<char> done;   ///< per pair: its status is known
  std::vector<size_t> jobs; ///< indexes in pairs
  size_t nextJob = 0, finished = 0;
  bool walked = false;
  int running = 0;
  auto work = [&] {
    std::vector<char> buf;
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
      changed.wait(hold, [&] { return stop || nextJob < jobs.size() || walked; });
      if (stop || nextJob == jobs.size()) break;
      const size_t k = jobs[nextJob++];
      // The walk's push_back moves no element, so the pair is this
      // worker's alone until the workers are joined.
      TFolderPair& pair = pairs[k];
      hold.unlock();
      const bool completed = ComparePair(ctx, pair, buf);
      hold.lock();
      done[k] = completed;
      ++finished;
    }
    --running;
    changed.notify_all();
  };
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    std::lock_guard<std::mutex> hold(lock);
    ++running;
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      --running;
      break;
    }
  }
  // This thread walks the trees, then waits for the workers; meanwhile it
  // shows how far they are and passes a stop request on.
  auto shown = std::chrono::steady_clock::now();
  auto going = [&] {
    if (std::chrono::steady_clock::now() - shown >= std::chrono::milliseconds(100)) {
      shown = std::chrono::steady_clock::now();
      size_t at, of;
      {
        std::lock_guard<std::mutex> hold(lock);
        at = finished;
        of = jobs.size();
      }
      app.Progress(Printf("Comparing files: %zu of %zu", at, of));
      if (app.UserStop) stop = true;
    }
    return !stop;
  };
  TFolderResult result;
  result.NewRoot = options.NewRoot;
  result.OldRoot = options.OldRoot;
  TWalker walker(options, result.Notes, [&](TFolderPair&& pair) {
    std::lock_guard<std::mutex> hold(lock);
    const bool pending = pair.Status == TPairStatus::Identical;
    if (pending) jobs.push_back(pairs.size());
    done.push_back(!pending);
    pairs.push_back(std::move(pair));
    changed.notify_one();
  }, going);
  walker.Walk("", true, true);
  {
    std::lock_guard<std::mutex> hold(lock);
    walked = true;
    changed.notify_all();
  }
  if (workers.empty()) {
    running = 1;
    work();
  }
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(lock);
      if (changed.wait_for(hold, std::chrono::milliseconds(100), [&] { return running == 0; })) break;
    }
    going();
  }
  for (std::thread& w : workers) w.join();
  // After a halt only the pairs whose compare completed stay.
  result.Halted = stop;
  result.Found = pairs.size();
  for (size_t k = 0; k < pairs.size(); ++k)
    if (done[k]) result.Pairs.push_back(std::move(pairs[k]));
  app.StatusText = FolderStatusText(result);
  return result;
}

std::string OutputInFoldersMessage(const std::string& output, const std::string& newRoot,
                                   const std::string& oldRoot, const std::string& shown) {
  const std::filesystem::path out = Canonical(output);
  for (const std::string* root : {&newRoot, &oldRoot}) {
    const std::filesystem::path r = Canonical(*root);
    if (!Within(out, r) && !Within(r, out)) continue;
    return "The output \"" + (shown.empty() ? output : shown) + "\" is in the " +
           (root == &newRoot ? "New" : "Old") + " folder \"" + *root +
           "\" or holds it: it was not written, so that the folders stay as they were.";
  }
  return {};
}

std::string FolderStatusText(const TFolderResult& result) {
  const TFolderTotals t = result.Totals();
  if (result.Halted)
    return Printf("%s %zu of %zu files compared.", MsgUserStop, result.Pairs.size(), result.Found);
  if (t.Of(TPairStatus::Error) > 0)
    return Printf("ERROR: %d of %zu files could not be compared.", t.Of(TPairStatus::Error), result.Pairs.size());
  const char* files = result.Pairs.size() == 1 ? "file" : "files";
  if (result.ExitStatus() == 1) return Printf("INFORM: The folders have differences (%zu %s).", result.Pairs.size(), files);
  return Printf("INFORM: The folders compare as equivalent (%zu %s).", result.Pairs.size(), files);
}

std::string FolderTotalsLine(const TFolderTotals& totals) {
  int files = 0;
  std::string parts;
  for (int s = 0; s < PairStatusCount; ++s) {
    const int n = totals.Pairs[static_cast<size_t>(s)];
    files += n;
    if (n > 0) parts += Printf(", %d %s", n, TextOf(static_cast<TPairStatus>(s)).Totals);
  }
  std::string line = Printf("%d file%s", files, files == 1 ? "" : "s");
  if (!parts.empty()) line += ":" + parts.substr(1);
  if (totals.Of(TPairStatus::Equivalent) + totals.Of(TPairStatus::Differs) > 0) {
    line += Printf("; lines %lld inserted, %lld deleted, %lld reformatted", totals.Inserted, totals.Deleted,
                   totals.Reformatted);
    if (totals.MovedCounted) line += Printf(", %lld moved", totals.Moved);
  }
  return line;
}

std::vector<std::string> FolderSummary(const TFolderResult& result) {
  std::vector<std::string> lines = {"New Folder = " + result.NewRoot, "Old Folder = " + result.OldRoot, "",
                                    Printf("%-16s %9s %9s %9s %9s  %s", "Status", "Inserted", "Deleted",
                                           "Reformed", "Moved", "Path")};
  for (const TFolderPair& pair : result.Pairs) {
    std::string counts;
    if (const TCompareCtl* c = pair.Ctl.get())
      counts = Printf("%9d %9d %9d %9s", c->InsertCount, c->DeleteCount, c->ReformCount,
                      c->OptFmvl && !c->OptClnc ? std::to_string(c->MovedCount).c_str() : "-");
    std::string line = Printf("%-16s %39s  ", PairStatusName(pair.Status), counts.c_str()) + pair.Path;
    if (pair.Status == TPairStatus::Error) line += "  " + pair.Message;
    lines.push_back(line);
  }
  lines.push_back("");
  lines.push_back(FolderTotalsLine(result.Totals()));
  for (const std::string& note : result.Notes) lines.push_back("Note: " + note);
  lines.push_back(FolderStatusText(result));
  return lines;
}

} // namespace quorlin
