// One compare as the Start button or a batch step runs it.
#pragma once

#include "state/Controls.h"

namespace quorlin {

/// Creates a fresh control record, clears the result flags and runs the
/// compare of the two files named in the file boxes with a listing into the
/// panel lists (interactive) or the listing file (batch). Returns RunResult;
/// the result message is in app.StatusText.
int RunCompare(TAppState& app);

/// A compare in batch mode: rebuilds the options summary and runs the
/// compare with its listing written to listing (CR LF lines). The caller
/// has set the job label, the run stamp and the batch log lines.
int RunBatchCompare(TAppState& app, TOutputFile& listing);

/// Exit status of a finished compare for a program: 0 the files compare as
/// equivalent, 1 they differ, 2 the compare did not complete.
int CompareExitStatus(const TAppState& app);

} // namespace quorlin
