// What the fuzz targets share: the invariant check, option bytes, the
// process's scratch directory, and a reference reading of a file's lines
// written from the line reader's documented rules, so that a listing can be
// checked against the input it came from. The file helpers of the core tests
// (ReadBytes, SplitCrLf, FixedTime) serve here too.
#pragma once

#include "TestSupport.h"

#include "state/CompareCtl.h"
#include "state/Controls.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin::fuzz {

using test::ReadBytes;
using test::SplitCrLf;

/// Reports a broken invariant and aborts: libFuzzer and the plain driver both
/// take the abort as a failure and keep the input that caused it.
[[noreturn]] void Fail(const char* condition, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                                                                     \
  do {                                                                                                    \
    if (!(condition)) ::quorlin::fuzz::Fail(#condition, (detail));                                        \
  } while (0)

/// Takes option bytes from the front of an input; zero once it runs out.
struct TOptionBytes {
  TOptionBytes(const uint8_t* data, size_t size) : Rest(reinterpret_cast<const char*>(data), size) {}
  uint8_t Byte() {
    if (Rest.empty()) return 0;
    Rest.remove_prefix(1);
    return static_cast<uint8_t>(Rest.data()[-1]);
  }
  std::string_view Rest; ///< the bytes not taken yet
};

/// The run stamp of the targets' listings and logs.
inline constexpr const char* RunStamp = "05/28/26 20:26:40";

/// The scratch directory of this process: made on first use, reused by every
/// input, removed at exit.
const std::string& WorkDir();
/// Writes bytes to a file in the scratch directory, with a fixed modification
/// time, and returns its path.
std::string WriteWorkFile(const std::string& name, std::string_view bytes);

/// How a file is read: Ieof keeps a 0x1A byte that has data after it as
/// data; KeepTabs is the listing's re-read with Xtab, which keeps TABs.
struct TReadRules {
  bool Ieof = false;
  bool KeepTabs = false;
};

/// The lines of a file as the line reader gives them: CR LF, CR and LF end a
/// line; 0x1A ends the data (unless Ieof and data follows it); a TAB is a
/// blank; a line longer than 2048 bytes is cut into pieces of 2048; an empty
/// line is one blank; a last line without an end is still a line.
std::vector<std::string> ReferenceLines(std::string_view bytes, const TReadRules& rules);

/// A line's compare key without compare columns or filters: every blank (and
/// TAB) left out, letters in lower case with Icas.
std::string ReferenceKey(std::string_view line, bool icas);
/// Whether two lines are the same over the shorter one's length (letter case
/// aside with Icas): how the listing tells an exact match from a reformat
/// once the compare keys are equal.
bool SameOverShorter(std::string_view a, std::string_view b, bool icas);
/// Whether a line holds nothing but blanks and TABs.
bool BlankOnly(std::string_view line);

/// The counters of a control record as one line of text, for messages and
/// for comparing two runs.
std::string CounterText(const TCompareCtl& ctl);

/// Blank-separated words of text.
std::vector<std::string> Words(std::string_view text);
/// The number a word holds, or -1 when it is not all digits.
int WordNumber(const std::string& word);

/// "[a|b|c]" of a list of lines, shortened, for messages.
std::string Show(const std::vector<std::string>& lines);

} // namespace quorlin::fuzz
