// A compare case of the compare targets: options decoded from the leading
// bytes of an input, the NEW and OLD bytes after them, and runs of the case
// through the program's own entry points (a batch step into a listing file,
// an interactive run into the panel lists).
#pragma once

#include "FuzzSupport.h"

#include "state/Controls.h"

#include <string>
#include <vector>

namespace quorlin::fuzz {

/// Between the NEW and the OLD bytes; without it the rest is cut in half.
inline constexpr std::string_view FileSeparator = "@@@@";

struct TCompareCase {
  TOptionControls Controls; ///< list type, preferences and filters of the run
  std::string NewBytes, OldBytes;
  bool Identical = false; ///< OLD holds the NEW bytes
  /// What the options are, for messages.
  std::string Describe() const;

  bool Pref(int tag) const { return Controls.Checked(tag); }
  /// The two files hold the same bytes, and the same lines and columns of
  /// them are compared.
  bool SameParts(const TCompareCtl& ctl) const {
    return Identical &&
           (!ctl.PcmpActive || (ctl.PcmpNewFirst == ctl.PcmpOldFirst && ctl.PcmpNewLast == ctl.PcmpOldLast)) &&
           (!ctl.CcolActive || Controls.PrEdCcolNw == Controls.PrEdCcolOd);
  }
};

/// Decodes an input: option bytes, then NEW, the separator and OLD. With
/// clnc the case compares unordered lists (Clnc is checked); else Clnc is
/// never checked.
TCompareCase DecodeCase(const uint8_t* data, size_t size, bool clnc);

/// What a run left: the result, the counters, and its listing.
struct TOutcome {
  int Result = 0;
  std::string Status;
  TCompareCtl Ctl;
  std::string Listing;                     ///< batch: the listing file's bytes
  std::vector<std::string> Panel1, Panel2; ///< interactive: the panel lists
};

/// Writes the case's two files into the scratch directory (once per input).
void WriteCaseFiles(const TCompareCase& c);
/// A one-step batch compare into a listing file. threads sets both
/// WorkerThreads and CountIdentical (and lets the listing file be written
/// by a second thread).
TOutcome RunBatchCase(const TCompareCase& c, bool threads);
/// An interactive compare into the panel lists.
TOutcome RunInteractiveCase(const TCompareCase& c, bool threads);

/// Requires that two runs of the same case agree: result, message, counters
/// and listing.
void RequireSameOutcome(const TOutcome& a, const TOutcome& b, const std::string& what);

/// The body lines of a batch listing: after the first ruler line (the line
/// beginning "ID  ----+") at or after line from, the lines up to the first
/// one that does not begin with one of ids. end is set to the index after
/// them. No ruler: no body lines.
std::vector<std::string> BodyLines(const std::vector<std::string>& lines, size_t from,
                                   const std::vector<std::string>& ids, size_t& end);

/// The first 80 characters of a text, blank-filled to 80: the text field of
/// a formatted listing line.
std::string TextField(std::string_view text);

} // namespace quorlin::fuzz
