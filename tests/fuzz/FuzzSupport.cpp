#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quorlin::fuzz {

namespace {
/// Longest line the reader keeps whole.
constexpr size_t LineLimit = 2048;

char Lower(char c, bool icas) { return icas && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

void Fail(const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\n*** Invariant failed: %s\n*** %s\n", condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

const std::string& WorkDir() {
  static const test::TTempDir dir;
  static const std::string path = dir.Path.string();
  return path;
}

std::string WriteWorkFile(const std::string& name, std::string_view bytes) {
  const std::string path = WorkDir() + "/" + name;
  if (!std::ofstream(path, std::ios::binary | std::ios::trunc)
           .write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    Fail("write", "cannot write " + path);
  test::SetFixedTime(path);
  return path;
}

std::vector<std::string> ReferenceLines(std::string_view bytes, const TReadRules& rules) {
  std::vector<std::string> lines;
  std::string line;
  auto end = [&] {
    lines.push_back(line.empty() ? " " : line);
    line.clear();
  };
  for (size_t i = 0; i < bytes.size();) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      end();
      i += c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
    } else if (c == 0x1A && (i + 1 == bytes.size() || !rules.Ieof)) {
      break; // the end of the data
    } else if (line.size() == LineLimit) {
      end(); // a long line is cut; this byte starts the next piece
    } else {
      line += c == '\t' && !rules.KeepTabs ? ' ' : c;
      ++i;
    }
  }
  if (!line.empty()) end();
  return lines;
}

std::string ReferenceKey(std::string_view line, bool icas) {
  std::string key;
  for (char c : line)
    if (c != ' ' && c != '\t') key += Lower(c, icas);
  return key;
}

bool SameOverShorter(std::string_view a, std::string_view b, bool icas) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (Lower(a[i], icas) != Lower(b[i], icas)) return false;
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
  std::istringstream in{std::string(text)};
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

int WordNumber(const std::string& word) {
  if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::atoi(word.c_str());
}

std::string Show(const std::vector<std::string>& lines) {
  std::string out = "[";
  for (size_t k = 0; k < lines.size() && k < 12; ++k) out += (k > 0 ? "|" : "") + lines[k].substr(0, 40);
  if (lines.size() > 12) out += "|... " + std::to_string(lines.size()) + " lines";
  return out + "]";
}

} // namespace quorlin::fuzz
