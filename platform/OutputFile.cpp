#include "platform/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quorlin {

namespace {
constexpr size_t FlushSize = 256 * 1024;
}

TOutputFile::~TOutputFile() { Close(); }

bool TOutputFile::Open(const std::string& path, bool append) {
  Close();
  Error.clear();
  FilePath = path;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  Fd = ::open(path.c_str(), flags, 0644);
  OwnsFd = true;
  if (Fd < 0) {
    Error = std::strerror(errno);
    return false;
  }
  return true;
}

void TOutputFile::AttachDescriptor(int fd, const std::string& name) {
  Close();
  Error.clear();
  FilePath = name;
  Fd = fd;
  OwnsFd = false;
}

void TOutputFile::Write(std::string_view bytes) {
  if (Fd < 0 || Failed()) return;
  Buffer.append(bytes);
  if (Buffer.size() >= FlushSize) Flush();
}

void TOutputFile::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void TOutputFile::Flush() {
  if (Fd < 0) return;
  size_t done = 0;
  while (done < Buffer.size() && !Failed()) {
    ssize_t n = ::write(Fd, Buffer.data() + done, Buffer.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Error = std::strerror(errno);
    } else {
      done += static_cast<size_t>(n);
    }
  }
  Buffer.clear();
}

bool TOutputFile::Close() {
  if (Fd < 0) return !Failed();
  Flush();
  if (OwnsFd && ::close(Fd) != 0 && !Failed()) Error = std::strerror(errno);
  Fd = -1;
  OwnsFd = true;
  return !Failed();
}

} // namespace quorlin
