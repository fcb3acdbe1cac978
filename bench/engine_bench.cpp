// Engine benchmark: set-up, passes and matching of an ordered compare, with
// no listing. Prints throughput (MB/s of both inputs) and peak memory.
//
//   engine_bench NEW OLD [--fmvl] [--max-rss-mb N]
//   engine_bench --gen SIZE [--rates 0.001,0.05] [--max-rss-mb N]
//
// --gen makes seeded source-like pairs with the shared corpus generator (the
// script named by $QUORLIN_GEN_CORPUS, else ../shared/bench/gen_corpus.py
// beside the source tree). With --max-rss-mb the program fails when the peak
// resident memory exceeds the bound.
#include "state/Controls.h"
#include "engine/CompareRun.h"
#include "listing/PassCounter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

#ifndef QUORLIN_SOURCE_DIR
#define QUORLIN_SOURCE_DIR "."
#endif

using namespace quorlin;
namespace fs = std::filesystem;

namespace {

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct TResult {
  double Seconds = 0;
  double Megabytes = 0;
  TPassCounter Counter;
  std::string Status;
};

TResult CompareOnce(const std::string& newPath, const std::string& oldPath, bool fmvl) {
  TSilentFrontEnd ui;
  TAppState app(ui);
  app.Controls.MnCbNewFileNm = newPath;
  app.Controls.MnCbOldFileNm = oldPath;
  app.Controls.Pref(TagFmvl).Checked = fmvl;
  app.NewCompareCtl();
  TResult r;
  auto start = std::chrono::steady_clock::now();
  RunOrderedCompare(app, r.Counter);
  r.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.Megabytes = static_cast<double>(fs::file_size(newPath) + fs::file_size(oldPath)) / 1e6;
  r.Status = app.StatusText;
  return r;
}

void Print(const std::string& label, const TResult& r) {
  const auto& c = r.Counter;
  std::printf("%-28s %8.1f MB %7.2f s %8.1f MB/s  passes %d  matched %ld  ins %ld  del %ld  "
              "moved %ld\n  %s\n",
              label.c_str(), r.Megabytes, r.Seconds, r.Megabytes / r.Seconds, c.Passes, c.Matched,
              c.Inserted, c.Deleted, c.MovedNew, r.Status.c_str());
}

std::string CorpusScript() {
  if (const char* env = std::getenv("QUORLIN_GEN_CORPUS")) return env;
  return (fs::path(QUORLIN_SOURCE_DIR) / ".." / "shared" / "bench" / "gen_corpus.py").string();
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string gen, rates = "0.001,0.05";
  long maxRssMb = 0;
  bool fmvl = false;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--gen" && i + 1 < args.size()) gen = args[++i];
    else if (args[i] == "--rates" && i + 1 < args.size()) rates = args[++i];
    else if (args[i] == "--max-rss-mb" && i + 1 < args.size()) maxRssMb = std::atol(args[++i].c_str());
    else if (args[i] == "--fmvl") fmvl = true;
    else files.push_back(args[i]);
  }

  if (gen.empty()) {
    if (files.size() != 2) {
      std::fprintf(stderr, "usage: engine_bench NEW OLD [--fmvl] [--max-rss-mb N]\n"
                           "       engine_bench --gen SIZE [--rates R1,R2] [--max-rss-mb N]\n");
      return 2;
    }
    Print(fs::path(files[0]).filename().string(), CompareOnce(files[0], files[1], fmvl));
  } else {
    fs::path dir = fs::temp_directory_path() / ("quorlin-bench-ordered-" + gen);
    size_t start = 0;
    while (start <= rates.size()) {
      size_t comma = rates.find(',', start);
      std::string rate = rates.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      start = comma == std::string::npos ? rates.size() + 1 : comma + 1;
      fs::path out = dir / rate;
      if (!fs::exists(out / "new.txt")) {
        std::string cmd = "python3 '" + CorpusScript() + "' ordered " + gen + " '" + out.string() +
                          "' --rate " + rate + " --seed 1 2>/dev/null";
        if (std::system(cmd.c_str()) != 0) {
          std::fprintf(stderr, "engine_bench: corpus generation failed: %s\n", cmd.c_str());
          return 2;
        }
      }
      Print(gen + " rate " + rate, CompareOnce((out / "new.txt").string(), (out / "old.txt").string(), fmvl));
    }
  }
  long peakMb = PeakRssKb() / 1024;
  std::printf("peak resident memory: %ld MB\n", peakMb);
  if (maxRssMb > 0 && peakMb > maxRssMb) {
    std::fprintf(stderr, "engine_bench: peak memory %ld MB exceeds %ld MB\n", peakMb, maxRssMb);
    return 1;
  }
  return 0;
}
