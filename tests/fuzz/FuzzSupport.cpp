#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin::fuzz {

namespace {

/// File times in the listings are the same for every run of an input.
constexpr std::time_t FixedTime = 1780000000;

/// Longest line the reader keeps whole.
constexpr size_t LineLimit = 2048;

std::string Scratch;

void RemoveScratch() {
  if (Scratch.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(Scratch, ec);
}

} // namespace

void Fail(const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\n*** Invariant failed: %s\n*** %s\n", condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

const std::string& WorkDir() {
  if (Scratch.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("mkdtemp", "cannot make a scratch directory");
    Scratch = pattern;
    std::atexit(RemoveScratch);
  }
  return Scratch;
}

std::string WriteWorkFile(const std::string& name, std::string_view bytes) {
  const std::string path = WorkDir() + "/" + name;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail("write", "cannot write " + path);
  }
  struct timespec times[2] = {{FixedTime, 0}, {FixedTime, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(bytes.substr(start, at - start));
  return lines;
}

std::vector<std::string> ReferenceLines(std::string_view bytes, const TReadRules& rules) {
  std::vector<std::string> lines;
  std::string line;
  auto end = [&] {
    lines.push_back(line.empty() ? " " : line);
    line.clear();
  };
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r') {
      end();
      ++i;
      if (i < bytes.size() && bytes[i] == '\n') ++i;
      continue;
    }
    if (c == '\n') {
      end();
      ++i;
      continue;
    }
    if (c == 0x1A && (i + 1 == bytes.size() || !rules.Ieof)) {
      // The end of the data; at the start of a line there is no line left.
      if (!line.empty()) end();
      return lines;
    }
    if (line.size() == LineLimit) {
      end(); // a long line is cut; this byte starts the next piece
      continue;
    }
    line += c == '\t' && !rules.KeepTabs ? ' ' : c;
    ++i;
  }
  if (!line.empty()) end();
  return lines;
}

std::vector<std::string> PartOf(const std::vector<std::string>& lines, int first, int last) {
  std::vector<std::string> part;
  for (int n = first; n <= static_cast<int>(lines.size()) && (last == 0 || n <= last); ++n)
    part.push_back(lines[static_cast<size_t>(n - 1)]);
  return part;
}

std::string ReferenceKey(std::string_view line, bool icas) {
  std::string key;
  for (char c : line) {
    if (c == ' ' || c == '\t') continue;
    if (icas && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    key += c;
  }
  return key;
}

bool SameOverShorter(std::string_view a, std::string_view b, bool icas) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (icas && x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (icas && y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool BlankOnly(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string CounterText(const TCompareCtl& c) {
  char buf[512];
  std::snprintf(buf, sizeof buf,
                "result=%d match=%d reform=%d insert=%d delete=%d moved=%d paired=%d notproc=%d/%d "
                "partdp=%d/%d blank=%d/%d dupe=%d/%d total=%d/%d differ=%d",
                c.RunResult, c.MatchCount, c.ReformCount, c.InsertCount, c.DeleteCount, c.MovedCount,
                c.PairedCount, c.NewNotProcCount, c.OldNotProcCount, c.NewPartDpCount, c.OldPartDpCount,
                c.NewBlankCount, c.OldBlankCount, c.NewDupeCount, c.OldDupeCount, c.NewLinesTotal,
                c.OldLinesTotal, c.FilesDiffer ? 1 : 0);
  return buf;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    size_t start = text.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    size_t stop = text.find(' ', start);
    if (stop == std::string_view::npos) stop = text.size();
    words.emplace_back(text.substr(start, stop - start));
    at = stop;
  }
  return words;
}

int WordNumber(const std::string& word) {
  if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::atoi(word.c_str());
}

std::string Show(const std::vector<std::string>& lines) {
  std::string out = "[";
  for (size_t k = 0; k < lines.size() && k < 12; ++k) {
    if (k > 0) out += "|";
    out += lines[k].substr(0, 40);
  }
  if (lines.size() > 12) out += "|... " + std::to_string(lines.size()) + " lines";
  return out + "]";
}

} // namespace quorlin::fuzz
