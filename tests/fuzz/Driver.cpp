// A plain driver for the fuzz targets, for builds without libFuzzer: replays
// every file of the corpus folders (and files) given, then, when asked, runs a
// seeded random mutation loop over them for a number of seconds or inputs.
//
//   fuzz_TARGET [--seconds S] [--runs N] [--seed K] [--max-len L] [--save DIR] PATH...
//
// Without --seconds and --runs only the corpus is replayed (the CTest
// regression run). An input that fails (an abort or a crash) is written to
// DIR/crash-TARGET-HASH (DIR defaults to the current folder) before the
// process dies, so that it can be replayed.
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
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;
using TInput = std::vector<uint8_t>;

// The input being run, for the failure handler.
const uint8_t* CurrentData = nullptr;
size_t CurrentSize = 0;
char SavePrefix[4096] = "./crash-";

/// Writes the current input to SavePrefix + hash. Only async-signal-safe calls.
void SaveCurrent(int signal) {
  uint64_t hash = 1469598103934665603ull;
  for (size_t i = 0; i < CurrentSize; ++i) hash = (hash ^ CurrentData[i]) * 1099511628211ull;
  char path[4200];
  size_t n = std::strlen(SavePrefix);
  std::memcpy(path, SavePrefix, n);
  for (int shift = 60; shift >= 0; shift -= 4) path[n++] = "0123456789abcdef"[(hash >> shift) & 15];
  path[n] = '\0';
  int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) {
    for (size_t done = 0; done < CurrentSize;) {
      ssize_t w = ::write(fd, CurrentData + done, CurrentSize - done);
      if (w <= 0) break;
      done += static_cast<size_t>(w);
    }
    ::close(fd);
    const char* note = "\n*** failing input written to ";
    (void)!::write(2, note, std::strlen(note));
    (void)!::write(2, path, n);
    (void)!::write(2, "\n", 1);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Run(const TInput& input) {
  CurrentData = input.data();
  CurrentSize = input.size();
  LLVMFuzzerTestOneInput(input.data(), input.size());
  CurrentData = nullptr;
  CurrentSize = 0;
}

TInput ReadInput(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string s = bytes.str();
  return TInput(s.begin(), s.end());
}

/// Bytes that mean something to the targets: line ends, the end-of-file byte,
/// TAB, blank, quotes, comment starts, the file separator and ini syntax.
constexpr uint8_t Interesting[] = {'\n', '\r', 0x1A, '\t', ' ',  '"', '/', '*', '#', '{', '}', ';',
                                   '=',  '@',  ':',  '[', ']',  '\\', 0,   0xFF, 0x80, 0xC3, 'A', 'a'};

class TMutator {
public:
  TMutator(uint32_t seed, size_t maxLen) : Rng(seed), MaxLen(maxLen) {}

  TInput Mutate(const std::vector<TInput>& pool) {
    TInput x = pool[Below(pool.size())];
    for (int n = 1 + static_cast<int>(Below(4)); n > 0; --n) Step(x, pool);
    if (x.size() > MaxLen) x.resize(MaxLen);
    return x;
  }

private:
  std::mt19937 Rng;
  size_t MaxLen;

  size_t Below(size_t n) { return n == 0 ? 0 : Rng() % n; }
  uint8_t AnyByte() { return Below(3) == 0 ? Interesting[Below(sizeof Interesting)] : static_cast<uint8_t>(Rng()); }

  void Step(TInput& x, const std::vector<TInput>& pool) {
    const TInput& other = pool[Below(pool.size())];
    switch (Below(8)) {
    case 0: // flip a bit
      if (!x.empty()) x[Below(x.size())] ^= static_cast<uint8_t>(1u << Below(8));
      break;
    case 1: // change a byte
      if (!x.empty()) x[Below(x.size())] = AnyByte();
      break;
    case 2: { // insert a few bytes
      size_t at = Below(x.size() + 1), n = 1 + Below(8);
      for (size_t k = 0; k < n; ++k) x.insert(x.begin() + static_cast<long>(at), AnyByte());
      break;
    }
    case 3: { // delete a range
      if (x.empty()) break;
      size_t at = Below(x.size()), n = std::min(x.size() - at, 1 + Below(16));
      x.erase(x.begin() + static_cast<long>(at), x.begin() + static_cast<long>(at + n));
      break;
    }
    case 4: { // copy a range of the input to another place
      if (x.empty()) break;
      size_t from = Below(x.size()), n = std::min(x.size() - from, 1 + Below(64));
      TInput chunk(x.begin() + static_cast<long>(from), x.begin() + static_cast<long>(from + n));
      x.insert(x.begin() + static_cast<long>(Below(x.size() + 1)), chunk.begin(), chunk.end());
      break;
    }
    case 5: { // splice: this input's head, another's tail
      size_t head = Below(x.size() + 1), tail = Below(other.size() + 1);
      x.resize(head);
      x.insert(x.end(), other.begin() + static_cast<long>(tail), other.end());
      break;
    }
    case 6: { // insert a range of another input
      if (other.empty()) break;
      size_t from = Below(other.size()), n = std::min(other.size() - from, 1 + Below(128));
      x.insert(x.begin() + static_cast<long>(Below(x.size() + 1)), other.begin() + static_cast<long>(from),
               other.begin() + static_cast<long>(from + n));
      break;
    }
    default: { // repeat a short range several times
      if (x.empty()) break;
      size_t from = Below(x.size()), n = std::min(x.size() - from, 1 + Below(12));
      TInput chunk(x.begin() + static_cast<long>(from), x.begin() + static_cast<long>(from + n));
      for (size_t k = 1 + Below(20); k > 0; --k) x.insert(x.begin() + static_cast<long>(from), chunk.begin(), chunk.end());
      break;
    }
    }
  }
};

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--seconds S] [--runs N] [--seed K] [--max-len L] [--save DIR] PATH...\n",
               program);
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  double seconds = 0;
  long runs = 0;
  uint32_t seed = 1;
  size_t maxLen = 4096;
  std::string saveDir = ".";
  std::vector<fs::path> paths;
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
  std::snprintf(SavePrefix, sizeof SavePrefix, "%s/crash-%s-", saveDir.c_str(), target.c_str());
  for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, SaveCurrent);

  std::vector<fs::path> files;
  for (const fs::path& p : paths) {
    if (fs::is_directory(p)) {
      for (const auto& entry : fs::directory_iterator(p))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else if (fs::is_regular_file(p)) {
      files.push_back(p);
    } else {
      std::fprintf(stderr, "%s: no such file or folder: %s\n", target.c_str(), p.c_str());
      return 2;
    }
  }
  std::sort(files.begin(), files.end());

  const auto start = std::chrono::steady_clock::now();
  std::vector<TInput> pool;
  for (const fs::path& f : files) {
    pool.push_back(ReadInput(f));
    Run(pool.back());
  }
  const size_t replayed = pool.size();
  if (pool.empty()) pool.emplace_back();

  long mutated = 0;
  const size_t kept = std::max<size_t>(512, pool.size() + 64); // the corpus and some mutants
  if (runs > 0 || seconds > 0) {
    TMutator mutator(seed, maxLen);
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    while ((runs <= 0 || mutated < runs) && (seconds <= 0 || elapsed() < seconds)) {
      TInput x = mutator.Mutate(pool);
      Run(x);
      ++mutated;
      // Keep some mutants, so that later inputs wander further from the seeds.
      if (mutated % 8 == 0) {
        if (pool.size() < kept) pool.push_back(std::move(x));
        else pool[replayed + static_cast<size_t>(mutated / 8) % (kept - replayed)] = std::move(x);
      }
    }
  }
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %zu corpus inputs replayed, %ld mutated inputs run, seed %u, %.1f s\n", target.c_str(), replayed,
              mutated, seed, took);
  std::printf("executions: %ld\n", static_cast<long>(replayed) + mutated);
  return 0;
}
