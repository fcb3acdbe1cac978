// The result of a compare as JSON, for scripts: the result message and exit
// status, both files, every count of the statistics section by a stable key,
// and optionally one record per listed change.
#pragma once

#include "state/Controls.h"

#include <string>
#include <string_view>

namespace quorlin {

struct TFolderResult;

/// text as a JSON string literal: control characters and bytes that are not
/// UTF-8 escaped (the latter as the Latin-1 characters of their values).
std::string JsonString(std::string_view text);

/// One change record: {"id": "I -", "kind": "insert", "new_line": 12, "old_line": null}.
std::string JsonChange(std::string_view id, long newLine, long oldLine);

/// The counts of a run as the statistics section shows them, by stable
/// keys; a count that this kind of compare does not print is null.
std::string JsonCounts(const TCompareCtl& ctl);

/// The JSON object of the last compare in app, without its closing brace,
/// so that a caller may add a "changes" member: exit status, result
/// message, listing type, options, passes, "new_file" and "old_file" (name,
/// size, lines, compared bytes, longest line) and "counts".
std::string JsonRunSummary(const TAppState& app, int exitStatus);

/// The result of a folder compare: exit status, result message, both
/// folders, "pairs" (path, status, the counts of the line compare or null
/// when none ran, message or null) in path order, "totals" (files, pairs of
/// each status, lines inserted, deleted, reformatted and moved), "halted"
/// and "notes".
std::string JsonFolderResult(const TFolderResult& result);

} // namespace quorlin
