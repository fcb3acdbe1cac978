#include "engine/LineReader.h"

#include <array>
#include <cstdint>
#if defined(__SSE2__)
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
inline int FirstControl(const char* buf, int p, int end) {
#if defined(__SSE2__)
  const __m128i limit = _mm_set1_epi8(0x1F);
  for (; p < end; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + p));
    // A byte is at most 0x1F exactly when its unsigned minimum with 0x1F is itself.
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, limit), v)));
    if (mask != 0) return std::min(end, p + __builtin_ctz(mask));
  }
  return end;
#else
  while (p < end && static_cast<unsigned char>(buf[p]) >= 0x20) ++p;
  return p;
#endif
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
  file.LineBuf.reset(new char[MaxLineLen + 4]);
  file.BufCount = 0;
  file.BufPos = 0;
}

void ReadLine(TCompareFile& f, const TCompareCtl& ctl) {
  if (f.EofPending) {
    f.AtEof = true;
    f.LineLen = 0;
    return;
  }
  // The listing re-read keeps TABs for its own expansion; the compare always
  // sees a TAB as a blank, whichever pass the line is in.
  const bool keepTabs = ctl.OptXtab && ctl.ListingReread && !ctl.ReadingInput;
  char* line = f.LineBuf.get();
  int n = 0;
  for (;;) {
    if (f.BufCount <= 0 && !FillBuffer(f)) {
      if (n == 0) f.AtEof = true;
      break;
    }
    const char* buf = f.ReadBuf.get();
    // Copy the run of ordinary bytes in one go: up to the next control
    // character that is special.
    int pos = f.BufPos;
    int end = pos + std::min(f.BufCount, MaxLineLen - n);
    int p = FirstControl(buf, pos, end);
    while (p < end && !SpecialBytes[static_cast<unsigned char>(buf[p])]) p = FirstControl(buf, p + 1, end);
    if (p > pos) {
      std::memcpy(line + n, buf + pos, static_cast<size_t>(p - pos));
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
      if (f.BufCount > 0 && f.ReadBuf[f.BufPos] == '\n') {
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
          // Keep the byte: put it back in front of the refilled data.
          std::memmove(f.ReadBuf.get() + 1, f.ReadBuf.get(), static_cast<size_t>(f.BufCount));
          f.ReadBuf[0] = 0x1A;
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
          line[n++] = static_cast<char>(ch);
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
    line[n++] = (ch == '\t' && !keepTabs) ? ' ' : static_cast<char>(ch);
    Consume(f);
  }
  f.FileOffset += n;
  if (n > f.LongestLine) f.LongestLine = n;
  if (f.AtEof) {
    f.LineLen = 0;
    return;
  }
  if (n == 0) {
    line[0] = ' ';
    n = 1;
  }
  f.LineLen = n;
  ++f.LinesRead;
}

void RepositionFile(TCompareFile& f, int64_t offset) {
  f.AtEof = false;
  f.EofPending = false;
  f.BufCount = 0;
  f.BufPos = 0;
  if (f.Stream >= 0 && !f.ReadFailed) {
    if (::lseek(f.Stream, static_cast<off_t>(offset), SEEK_SET) < 0) f.ReadFailed = true;
  }
  FillBuffer(f);
}

} // namespace quorlin
