// A plain driver for the fuzz targets, for builds without libFuzzer: replays
// every file of the corpus folders (and files) given, then, when asked, runs a
// seeded random mutation loop over them for a number of seconds or inputs.
//
//   fuzz_TARGET [--seconds S] [--runs N] [--seed K] [--max-len L] [--save DIR] PATH...
//
// Without --seconds and --runs only the corpus is replayed (the CTest
// regression run). An input that fails (an abort or a crash) is written to
// DIR/crash-TARGET (DIR defaults to the current folder) before the process
// dies, so that it can be replayed.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The input being run, where to save it and what to say then, for the
// failure handler.
const std::string* Current = nullptr;
char SavePath[4096], SaveNote[4200];

/// Writes the current input to SavePath. Only async-signal-safe calls.
void SaveCurrent(int signal) {
  const int fd = Current ? ::open(SavePath, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
  if (fd >= 0) {
    if (::write(fd, Current->data(), Current->size()) == static_cast<ssize_t>(Current->size()))
      (void)!::write(2, SaveNote, std::strlen(SaveNote));
    ::close(fd);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Run(const std::string& input) {
  Current = &input;
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  Current = nullptr;
}

/// Bytes that mean something to the targets: line ends, the end-of-file byte,
/// TAB, blank, quotes, comment starts, the file separator and ini syntax.
constexpr char Interesting[] = {'\n', '\r', 0x1A, '\t', ' ', '"', '/', '*', '#', '{', '}', ';',
                                '=',  '@',  ':',  '[',  ']', '\\', 0,  '\xFF', '\x80', '\xC3', 'A', 'a'};

/// A mutant of an input of the pool: one to four steps of byte changes,
/// inserts, deletes, copies and repeats of ranges, and splices with others.
std::string Mutate(std::mt19937& rng, const std::vector<std::string>& pool, size_t maxLen) {
  auto below = [&](size_t n) { return n == 0 ? 0 : rng() % n; };
  auto anyByte = [&] { return below(3) == 0 ? Interesting[below(sizeof Interesting)] : static_cast<char>(rng()); };
  std::string x = pool[below(pool.size())];
  for (size_t steps = 1 + below(4); steps > 0; --steps) {
    const std::string other = below(2) ? x : pool[below(pool.size())];
    const size_t at = below(x.size() + 1);
    switch (below(6)) {
    case 0: // flip a bit
      if (!x.empty()) x[below(x.size())] ^= static_cast<char>(1u << below(8));
      break;
    case 1: // change a byte
      if (!x.empty()) x[below(x.size())] = anyByte();
      break;
    case 2: // insert a few bytes
      for (size_t n = 1 + below(8); n > 0; --n) x.insert(at, 1, anyByte());
      break;
    case 3: // delete a range
      x.erase(at, 1 + below(16));
      break;
    case 4: { // insert a range of this input or another, often several times over
      const std::string chunk = other.substr(below(other.size()), 1 + below(128));
      for (size_t n = below(2) ? 1 : 1 + below(20); n > 0; --n) x.insert(at, chunk);
      break;
    }
    default: // splice: this input's head, another's tail
      x = x.substr(0, at) + other.substr(below(other.size() + 1));
      break;
    }
  }
  if (x.size() > maxLen) x.resize(maxLen);
  return x;
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--seconds S] [--runs N] [--seed K] [--max-len L] [--save DIR] PATH...\n",
               program);
  return 2;
}

/// Adds a file, or the files of a folder; false when there is neither.
bool AddInputs(const fs::path& path, std::vector<fs::path>& files) {
  if (!fs::is_directory(path)) {
    files.push_back(path);
    return fs::is_regular_file(path);
  }
  for (const auto& entry : fs::directory_iterator(path))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return true;
}

} // namespace

int main(int argc, char** argv) {
  double seconds = 0;
  long runs = 0;
  uint32_t seed = 1;
  size_t maxLen = 4096;
  std::string saveDir = ".";
  std::vector<fs::path> paths, files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--seconds" && hasValue) seconds = std::atof(argv[++i]);
    else if (a == "--runs" && hasValue) runs = std::atol(argv[++i]);
    else if (a == "--seed" && hasValue) seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--max-len" && hasValue) maxLen = static_cast<size_t>(std::atol(argv[++i]));
    else if (a == "--save" && hasValue) saveDir = argv[++i];
    else if (a.rfind("--", 0) == 0) return Usage(argv[0]);
    else paths.emplace_back(a);
  }
  if (paths.empty()) return Usage(argv[0]);
  const std::string target = fs::path(argv[0]).filename().string();
  for (const fs::path& p : paths)
    if (!AddInputs(p, files)) {
      std::fprintf(stderr, "%s: no such file or folder: %s\n", target.c_str(), p.c_str());
      return 2;
    }
  std::snprintf(SavePath, sizeof SavePath, "%s/crash-%s", saveDir.c_str(), target.c_str());
  std::snprintf(SaveNote, sizeof SaveNote, "\n*** failing input written to %s\n", SavePath);
  for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, SaveCurrent);

  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  std::sort(files.begin(), files.end());
  std::vector<std::string> pool;
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    Run(pool.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  const size_t replayed = pool.size();
  if (pool.empty()) pool.emplace_back();

  // Some mutants join the pool beside the whole corpus, so that later inputs
  // wander further from the seeds.
  const size_t kept = std::max<size_t>(512, pool.size() + 64);
  std::mt19937 rng(seed);
  long mutated = 0;
  while ((runs > 0 || seconds > 0) && (runs <= 0 || mutated < runs) && (seconds <= 0 || elapsed() < seconds)) {
    std::string x = Mutate(rng, pool, maxLen);
    Run(x);
    if (++mutated % 8 != 0) continue;
    if (pool.size() < kept) pool.push_back(std::move(x));
    else pool[replayed + static_cast<size_t>(mutated / 8) % (kept - replayed)] = std::move(x);
  }
  std::printf("%s: %zu corpus inputs replayed, %ld mutated inputs run, seed %u, %.1f s\n", target.c_str(), replayed,
              mutated, seed, elapsed());
  std::printf("executions: %ld\n", static_cast<long>(replayed) + mutated);
  return 0;
}
