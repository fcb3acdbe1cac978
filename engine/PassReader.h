// The read and preparation phases of a pass: lines of both files into the line
// tables, then each line into its compare key and hash. Also the compare
// columns (Ccol) and the part-compare skip (Pcmp).
#pragma once

#include "engine/CompareRun.h"

namespace quorlin {

/// Moves both files to the start of what is read next: FileOffset during the
/// engine's read phase (ReadingInput set), PassStartOffset for the listing
/// generator's re-read of a pass.
void RepositionFiles(TCompareRun& run);

/// Reads up to MaxPassLines lines of each file into NewLines and OldLines,
/// alternating between the files, applies the read-time filters (Dcob, Dln)
/// and the compare columns, sets FilesDiffer when the pass is not identical
/// line by line, writes the sentinels and sets LastPass when both files are
/// exhausted.
void ReadPass(TCompareRun& run);

/// Turns every line of the pass that is not a don't-process line into its
/// compare key (comment rules, string-only filters, Icas, blanks squeezed out)
/// and its hash.
void PreparePass(TCompareRun& run);

/// Makes the compare key of the line just read into f's LineBuf as a pass
/// makes it (the read-time filters, the compare columns, the comment rule
/// with f's carry flags, the string-only filters, Icas and the blanks), but
/// not its Hash. e is cleared first; the key is made in LineBuf itself, or
/// with compare columns in scratch (MaxLineLen + 4 bytes). Nothing is counted
/// in the run's statistics: for lines read ahead of the passes.
void KeyLineRead(const TCompareRun& run, TCompareFile& f, TLineEntry& e, char* scratch);

/// Moves every byte of text[0, length) that is not a blank to the front,
/// keeping their order. Returns the key length: the count, rounded up to an
/// even number by a zero byte; an empty key is two zero bytes of length 1.
/// text must have room for length + 2 bytes. kept, when given, receives the
/// count of bytes kept (before the padding).
int SqueezeBlanks(char* text, int length, int* kept = nullptr);

/// Turns the compare text of a processed line into its compare key: lower
/// case with Icas, blanks squeezed out; sets KeyLen, KeyPadded, Hash and
/// KeyIsText.
void PrepareKey(const TCompareCtl& ctl, TLineEntry& e);
/// PrepareKey without the Hash.
void MakeKey(const TCompareCtl& ctl, TLineEntry& e);

/// Hash of a key of keyLen bytes: the sum modulo 65536 of its first
/// (keyLen + 1) / 2 16-bit words, low byte first; 0 becomes 65535.
uint16_t KeyHash(const char* key, int keyLen);

/// Reads the compare-column edits into both file records. Sets CcolActive, or
/// CcolBad and RunResult 1 when the ranges are rejected.
void SetupColumns(TCompareRun& run);

/// Copies the compare columns of the line just read (LineBuf) into Text of
/// entry k and sets its ColLen (ColShort and the short-line counter for a line
/// shorter than the first column).
void ExtractColumnsNew(TCompareRun& run, TLineEntry& entry);
void ExtractColumnsOld(TCompareRun& run, TLineEntry& entry);

/// True when the NEW and OLD lines just read into ne and oe (still in the
/// files' LineBuf) are not identical for the compare: a don't-process line on
/// one side only, different raw texts, or with compare columns different
/// columns.
bool ReadPairDiffers(const TCompareRun& run, const TLineEntry& ne, const TLineEntry& oe);
/// ReadPairDiffers for two stored entries, judged by their texts as the read
/// left them (the raw line, or the compare columns) rather than by the lines
/// just read: for files read apart from each other.
bool StoredPairDiffers(const TCompareCtl& ctl, const TLineEntry& ne, const TLineEntry& oe);

/// The part-compare skip: reads and drops lines before line first, counting
/// them in LinesDone.
void SkipPartCompareLines(TCompareFile& f, const TCompareCtl& ctl, int first);

/// Reads an integer as the options do: blanks around it allowed, 0 for
/// anything that is not a number.
int IntOrZero(std::string_view text);
/// True when the three characters after the first ':' of text are the
/// three-letter word (lower case) in any letter case: "1:EOL" with "eol".
bool ColonWord(std::string_view text, const char* word);

} // namespace quorlin
