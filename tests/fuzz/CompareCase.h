// A compare case of the compare targets: options decoded from the leading
// bytes of an input, the NEW and OLD bytes after them, runs of the case
// through the program's own entry points (a batch step into a listing file,
// an interactive run into the panel lists), and the checks both compare
// targets make.
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
  /// The options, counters and message, for messages.
  std::string Detail(const TCompareCase& c) const { return c.Describe() + "\n" + CounterText(Ctl) + "\n" + Status; }
};

/// Runs the case as a batch step into a listing file and interactively into
/// the panel lists, each on one thread and on two (with CountIdentical and
/// the listing file written by a second thread), and requires that one
/// thread and two give the same listing, panels, counters and message, and
/// that the batch step and the interactive run count the same. A run that
/// does not start must be one with rejected ranges. Returns the batch step
/// on one thread.
TOutcome RunCase(const TCompareCase& c);

/// The compared parts of the case's files as the reader splits them, and
/// the file line number of each part's first line.
struct TParts {
  std::vector<std::string> New, Old;
  int NewFirst = 1, OldFirst = 1;
};
/// keepTabs reads them as the listing re-reads them with Xtab.
TParts ComparedParts(const TCompareCase& c, const TCompareCtl& ctl, bool keepTabs);

/// The checks both compares share: the totals are the lines of the parts,
/// the files differ exactly when those lines do (compare columns aside),
/// the message says "differ" exactly when there are changes, and two files
/// of the same bytes are equivalent, "filtered" when a filter, Icas, Rovr,
/// compare columns, a part compare or (unordered) blank lines left out
/// shaped the result. Returns whether there are changes.
bool CheckVerdict(const TCompareCase& c, const TOutcome& run, const TParts& read);

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
