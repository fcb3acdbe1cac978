#include "engine/LineReader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

namespace {

/// Bytes that need a decision of their own while a line is read.
constexpr std::array<bool, 256> SpecialBytes = [] {
  std::array<bool, 256> t{};
  t['\r'] = t['\n'] = t[0x1A] = t['\t'] = true;
  return t;
}();

/// Refills ReadBuf from the file position; returns false at the end of the
/// file. A read error is remembered in ReadFailed and ends the data.
bool FillBuffer(TCompareFile& f) {
  f.BufPos = 0;
  f.BufCount = 0;
  if (f.Mapped) {
    // The rest of the map is one buffer: no line is ever cut by a refill.
    const int64_t left = std::min<int64_t>(f.MappedSize - f.MapPos, INT32_MAX);
    f.BufData = f.Mapped + f.MapPos;
    f.BufCount = static_cast<int>(std::max<int64_t>(left, 0));
    f.MapPos += f.BufCount;
    return f.BufCount > 0;
  }
  f.BufData = f.ReadBuf.get();
  if (f.Stream < 0 || f.ReadFailed) return false;
  ssize_t got;
  do {
    got = ::read(f.Stream, f.ReadBuf.get(), ReadBufSize);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    f.ReadFailed = true;
    return false;
  }
  f.BufCount = static_cast<int>(got);
  return got > 0;
}

inline void Consume(TCompareFile& f) {
  ++f.BufPos;
  --f.BufCount;
}

/// Bytes past the end of ReadBuf that a 16-byte load may touch; they are
/// never taken as data.
constexpr int ScanSlack = 16;

/// The first index in [p, end) whose byte is a control character (below
/// 0x20), or end. Every special byte is one; most control bytes are not.
/// Bytes up to valid may be read (a mapped file has nothing beyond its end;
/// ReadBuf has ScanSlack bytes of room).
inline int FirstControl(const char* buf, int p, int end, int valid) {
#if defined(__SSE2__)
  const __m128i top = _mm_set1_epi8(0x1F);
  for (; p < end && p + 16 <= valid; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + p));
    // A byte is at most 0x1F exactly when its unsigned minimum with 0x1F is itself.
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, top), v)));
    if (mask != 0) return std::min(end, p + __builtin_ctz(mask));
  }
#endif
  while (p < end && static_cast<unsigned char>(buf[p]) >= 0x20) ++p;
  // A block without a control byte may step past end.
  return std::min(p, end);
}

} // namespace

bool OpenInputFile(TCompareFile& file, const std::string& path, int64_t& size, std::string& why) {
  size = 0;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = std::strerror(errno);
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    why = S_ISDIR(st.st_mode) ? "is a directory" : "is not a regular file";
    ::close(fd);
    return false;
  }
  file.Stream = fd;
  size = static_cast<int64_t>(st.st_size);
  return true;
}

void CloseInputFile(TCompareFile& file) {
  if (file.Stream >= 0) ::close(file.Stream);
  file.Stream = -1;
}

void AllocateBuffers(TCompareFile& file) {
  file.ReadBuf.reset(new char[ReadBufSize + 4 + ScanSlack]());
  file.BufData = file.ReadBuf.get();
  file.LineBuf.reset(new char[MaxLineLen + 4]);
  file.BufCount = 0;
  file.BufPos = 0;
}

namespace {

/// ReadLine with Store clear is SkipLine: the same line ends, counts, offsets
/// and flags, without copying the bytes into LineBuf.
template <bool Store> void ReadOrSkipLine(TCompareFile& f, const TCompareCtl& ctl) {
  if (f.EofPending) {
    f.AtEof = true;
    f.LineLen = 0;
    return;
  }
  // The listing re-read keeps TABs for its own expansion; the compare always
  // sees a TAB as a blank, whichever pass the line is in.
  [[maybe_unused]] const bool keepTabs = ctl.OptXtab && ctl.ListingReread && !ctl.ReadingInput;
  [[maybe_unused]] char* line = f.LineBuf.get();
  int n = 0;
  for (;;) {
    if (f.BufCount <= 0 && !FillBuffer(f)) {
      if (n == 0) f.AtEof = true;
      break;
    }
    const char* buf = f.BufData;
    // Copy the run of ordinary bytes in one go: up to the next control
    // character that is special.
    int pos = f.BufPos;
    int end = pos + std::min(f.BufCount, MaxLineLen - n);
    // ReadBuf may be read past its data; a map only up to its end.
    const int valid = f.Mapped ? pos + f.BufCount : pos + f.BufCount + ScanSlack;
    int p = FirstControl(buf, pos, end, valid);
    while (p < end && !SpecialBytes[static_cast<unsigned char>(buf[p])]) p = FirstControl(buf, p + 1, end, valid);
    if (p > pos) {
      if constexpr (Store) std::memcpy(line + n, buf + pos, static_cast<size_t>(p - pos));
      n += p - pos;
      f.BufPos = p;
      f.BufCount -= p - pos;
      if (f.BufCount <= 0) continue;
    }
    unsigned char ch = static_cast<unsigned char>(buf[f.BufPos]);
    if (ch == '\r') {
      Consume(f);
      ++f.FileOffset;
      if (f.BufCount <= 0) FillBuffer(f);
      if (f.BufCount > 0 && f.BufData[f.BufPos] == '\n') {
        Consume(f);
        ++f.FileOffset;
      }
      break;
    }
    if (ch == '\n') {
      Consume(f);
      ++f.FileOffset;
      break;
    }
    if (ch == 0x1A) {
      // Whether data follows decides between an embedded end-of-file byte
      // and the conventional one at the very end.
      bool moreData = f.BufCount > 1;
      if (!moreData) {
        Consume(f);
        moreData = FillBuffer(f);
        if (moreData && ctl.OptIeof) {
          // Keep the byte: put it back in front of the refilled data. (A
          // mapped file is one buffer, so it never comes here.)
          std::memmove(f.ReadBuf.get() + 1, f.ReadBuf.get(), static_cast<size_t>(f.BufCount));
          f.ReadBuf[0] = 0x1A;
          f.BufData = f.ReadBuf.get();
          ++f.BufCount;
        }
      } else if (!ctl.OptIeof) {
        Consume(f);
      }
      if (moreData) {
        f.EmbeddedEof = true;
        if (ctl.OptIeof) {
          if (n == MaxLineLen) {
            f.LineSplit = true;
            break;
          }
          if constexpr (Store) line[n] = static_cast<char>(ch);
          ++n;
          Consume(f);
          continue;
        }
      }
      // The byte ends the file. At the start of a line there is no line
      // left: report the end at once instead of an empty line.
      if (n == 0)
        f.AtEof = true;
      else
        f.EofPending = true;
      break;
    }
    if (n == MaxLineLen) {
      // A longer line is cut here; the rest is read by the next call. A line
      // of exactly MaxLineLen bytes is not split: its line end is read above.
      f.LineSplit = true;
      break;
    }
    if constexpr (Store) line[n] = (ch == '\t' && !keepTabs) ? ' ' : static_cast<char>(ch);
    ++n;
    Consume(f);
  }
  f.FileOffset += n;
  if (n > f.LongestLine) f.LongestLine = n;
  if (f.AtEof) {
    f.LineLen = 0;
    return;
  }
  if (n == 0) {
    if constexpr (Store) line[0] = ' ';
    n = 1;
  }
  f.LineLen = n;
  ++f.LinesRead;
}

} // namespace

void ReadLine(TCompareFile& f, const TCompareCtl& ctl) { ReadOrSkipLine<true>(f, ctl); }

void SkipLine(TCompareFile& f, const TCompareCtl& ctl) { ReadOrSkipLine<false>(f, ctl); }

namespace {

/// The first index in [p, limit) holding LF, CR or 0x1A, or limit.
inline int NextLineEnd(const char* data, int p, int limit) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), eof = _mm_set1_epi8(0x1A);
  for (; p + 16 <= limit; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, eof));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (mask != 0) return p + __builtin_ctz(mask);
  }
#endif
  for (; p < limit; ++p) {
    const char ch = data[p];
    if (ch == '\n' || ch == '\r' || ch == 0x1A) return p;
  }
  return limit;
}

} // namespace

namespace {

/// Counts plain lines of data[start, limit): lines that end in LF and are no
/// longer than MaxLineLen, at most count of them. Stops before the first
/// line that is not plain (a CR, a 0x1A, a long line, or no LF before limit).
/// Returns the lines counted; lineStart ends just after the last one, last
/// holds its length and longest the greatest length seen.
struct TPlainLines {
  int Lines = 0, LineStart = 0, Last = -1, Longest = 0;
};

#if defined(__x86_64__)
__attribute__((target("avx2"))) TPlainLines CountPlainAvx2(const char* data, int start, int limit, int count,
                                                            int longest) {
  TPlainLines r{0, start, -1, longest};
  const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r'), eof = _mm256_set1_epi8(0x1A);
  // Every line end in a 32-byte block is handled from one load's masks.
  for (int p = start; p + 32 <= limit && r.Lines < count; p += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
    uint32_t ends = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf)));
    const uint32_t odd = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, eof))));
    // Only LFs before the first CR or 0x1A of the block can be taken.
    if (odd) ends &= (1u << __builtin_ctz(odd)) - 1;
    while (ends && r.Lines < count) {
      const int end = p + __builtin_ctz(ends);
      const int length = end - r.LineStart;
      if (length > MaxLineLen) return r;
      r.Last = length;
      r.Longest = std::max(r.Longest, length);
      ++r.Lines;
      r.LineStart = end + 1;
      ends &= ends - 1;
    }
    if (odd || p + 32 - r.LineStart > MaxLineLen) return r;
  }
  return r;
}
const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif

TPlainLines CountPlain(const char* data, int start, int limit, int count, int longest) {
#if defined(__x86_64__)
  if (HasAvx2) {
    TPlainLines r = CountPlainAvx2(data, start, limit, count, longest);
    if (r.Lines > 0) return r;
  }
#endif
  TPlainLines r{0, start, -1, longest};
  while (r.Lines < count) {
    const int end = NextLineEnd(data, r.LineStart, std::min(limit, r.LineStart + MaxLineLen + 1));
    if (end >= limit || data[end] != '\n' || end - r.LineStart > MaxLineLen) break;
    r.Last = end - r.LineStart;
    r.Longest = std::max(r.Longest, r.Last);
    ++r.Lines;
    r.LineStart = end + 1;
  }
  return r;
}

} // namespace

int SkipLines(TCompareFile& f, const TCompareCtl& ctl, int count) {
  int done = 0;
  while (done < count) {
    if (!f.EofPending && f.BufCount > 0) {
      // Plain lines are counted in bulk; anything else is left to SkipLine.
      const int start = f.BufPos, limit = f.BufPos + f.BufCount;
      const TPlainLines r = CountPlain(f.BufData, start, limit, count - done, f.LongestLine);
      if (r.Lines > 0) {
        f.BufPos = r.LineStart;
        f.BufCount = limit - r.LineStart;
        f.FileOffset += r.LineStart - start;
        f.LinesRead += r.Lines;
        f.LongestLine = r.Longest;
        f.LineLen = r.Last == 0 ? 1 : r.Last;
        done += r.Lines;
        continue;
      }
    }
    SkipLine(f, ctl);
    if (f.AtEof) break;
    ++done;
  }
  return done;
}

void RepositionFile(TCompareFile& f, int64_t offset) {
  f.AtEof = false;
  f.EofPending = false;
  f.BufCount = 0;
  f.BufPos = 0;
  if (f.Mapped) {
    f.MapPos = std::clamp<int64_t>(offset, 0, f.MappedSize);
  } else if (f.Stream >= 0 && !f.ReadFailed) {
    if (::lseek(f.Stream, static_cast<off_t>(offset), SEEK_SET) < 0) f.ReadFailed = true;
  }
  FillBuffer(f);
}

} // namespace quorlin
