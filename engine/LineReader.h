// The line reader: turns the bytes of an input file into lines. Used by the
// read phase of a pass, the Clnc read and the listing generator's re-read.
#pragma once

#include "engine/CompareTypes.h"

#include <string>

namespace quorlin {

/// Opens path read-only for a compare (other programs may keep reading and
/// writing it) and stores the descriptor in file.Stream and the size in size.
/// Returns false, with a reason in why, when the file cannot be opened or is
/// not a regular file (a directory, a device or a pipe cannot be re-read).
bool OpenInputFile(TCompareFile& file, const std::string& path, int64_t& size, std::string& why);
/// Closes file.Stream if it is open.
void CloseInputFile(TCompareFile& file);
/// Allocates ReadBuf and LineBuf of the file record.
void AllocateBuffers(TCompareFile& file);

/// Reads the next line of the file into LineBuf and LineLen and updates
/// FileOffset, LinesRead, LongestLine and the flags. CR LF, CR and LF each end
/// a line; 0x1A ends the file (with data after it only without Ieof); a TAB is
/// read as a blank except when the listing re-reads a pass with Xtab on; a
/// line of more than MaxLineLen bytes is split. An empty line is returned as
/// one blank. At the end of the file AtEof is set and LineLen is 0.
void ReadLine(TCompareFile& file, const TCompareCtl& ctl);

/// ReadLine without the bytes: the same line ends, LineLen, FileOffset,
/// LinesRead, LongestLine and flags, but LineBuf is left as it was. For files
/// whose lines need counting only.
void SkipLine(TCompareFile& file, const TCompareCtl& ctl);

/// SkipLine up to count times, stopping at the end of the file; returns the
/// lines skipped. Plain lines (LF-ended, not too long) are counted in bulk.
int SkipLines(TCompareFile& file, const TCompareCtl& ctl, int count);

/// Prepares the file for reading from offset: clears AtEof and EofPending,
/// moves the file position and fills ReadBuf.
void RepositionFile(TCompareFile& file, int64_t offset);

} // namespace quorlin
