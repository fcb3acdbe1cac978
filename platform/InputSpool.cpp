#include "platform/InputSpool.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

namespace {

/// Writes all of bytes to fd; false with errno set on failure.
bool WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

} // namespace

bool TInputSpool::NeedsCopy(const std::string& name) {
  if (name == "-") return true;
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

std::string TInputSpool::Readable(const std::string& name, int64_t limit, std::string& why,
                                  const volatile std::sig_atomic_t* stop) {
  if (!NeedsCopy(name)) return name;
  const bool standardInput = name == "-";
  const std::string what = standardInput ? "standard input" : "\"" + name + "\"";
  const int in = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    why = "cannot read " + what + ": " + std::strerror(errno);
    return {};
  }
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/quorlin-input-XXXXXX";
  const int out = ::mkstemp(path.data());
  if (out < 0) {
    why = "cannot make a temporary copy of " + what + " in " + path + ": " + std::strerror(errno);
    if (!standardInput) ::close(in);
    return {};
  }
  Copies.push_back(path);
  static constexpr size_t Chunk = 1 << 16;
  char buf[Chunk];
  int64_t copied = 0;
  while (why.empty() && copied < limit) {
    if (stop && *stop) {
      why = "stopped while reading " + what;
      break;
    }
    const ssize_t n = ::read(in, buf, static_cast<size_t>(std::min<int64_t>(Chunk, limit - copied)));
    if (n == 0) break;
    if (n < 0) {
      if (errno != EINTR) why = "cannot read " + what + ": " + std::strerror(errno);
      continue;
    }
    if (!WriteAll(out, buf, static_cast<size_t>(n)))
      why = "cannot copy " + what + " to " + path + ": " + std::strerror(errno);
    copied += n;
  }
  if (::close(out) != 0 && why.empty()) why = "cannot copy " + what + " to " + path + ": " + std::strerror(errno);
  if (!standardInput) ::close(in);
  return why.empty() ? path : std::string();
}

void TInputSpool::Remove() {
  for (const std::string& path : Copies) std::remove(path.c_str());
  Copies.clear();
}

} // namespace quorlin
