#include "platform/OutputFile.h"

#include "platform/Worker.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
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

std::string TOutputFile::WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::strerror(errno);
    }
    done += static_cast<size_t>(n);
  }
  return {};
}

void TOutputFile::WriteInBackground() {
  if (!Writer) Writer = std::make_unique<TWorker>();
}

void TOutputFile::WaitForWriter() {
  if (!Writer) return;
  Writer->Wait();
  if (!WriterError.empty() && Error.empty()) Error = WriterError;
  WriterError.clear();
}

void TOutputFile::Flush() {
  if (Fd < 0) return;
  WaitForWriter();
  if (Failed()) {
    Buffer.clear();
    return;
  }
  if (Writer) {
    Writing.swap(Buffer);
    Buffer.clear();
    if (!Writing.empty()) Writer->Start([this] { WriterError = WriteAll(Fd, Writing); });
    return;
  }
  const std::string error = WriteAll(Fd, Buffer);
  if (!error.empty()) Error = error;
  Buffer.clear();
}

bool TOutputFile::Close() {
  if (Fd < 0) return !Failed();
  Flush();
  WaitForWriter();
  if (OwnsFd && ::close(Fd) != 0 && !Failed()) Error = std::strerror(errno);
  Fd = -1;
  OwnsFd = true;
  return !Failed();
}

std::string LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path p = path;
  // A bounded number of steps, as a loop of links never ends.
  for (int step = 0; step < 40 && fs::is_symlink(p, error); ++step) {
    const fs::path next = fs::read_symlink(p, error);
    if (error) break;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return p.string();
}

std::string TWholeFile::Open(const std::string& shownPath, bool append) {
  Abandon();
  Quoted = "\"" + shownPath + "\"";
  Path = LinkTarget(shownPath);
  struct stat old {};
  Existed = ::stat(Path.c_str(), &old) == 0;
  Mode = Existed ? (old.st_mode & 07777) : 0;
  if (append || (Existed && !S_ISREG(old.st_mode))) {
    // Appending, or a device or pipe: write in place; there is nothing to rename over.
    if (!Out.Open(Path, append)) return "Cannot open " + Quoted + ": " + Out.ErrorText() + ".";
    return {};
  }
  Temp = Path + ".XXXXXX";
  Fd = ::mkstemp(Temp.data());
  if (Fd < 0) {
    Temp.clear();
    return "Cannot save " + Quoted + ": " + std::strerror(errno) + ".";
  }
  // Keep the permissions that a file created in the ordinary way would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(Fd, Existed ? Mode : (0666 & ~mask));
  Out.AttachDescriptor(Fd, Temp);
  return {};
}

TWholeFile::TWholeFile() = default;
TWholeFile::~TWholeFile() { Abandon(); }

void TWholeFile::Write(std::string_view bytes) { Out.Write(bytes); }

std::string TWholeFile::Commit() {
  if (Temp.empty()) {
    if (!Out.Close())
      return "Writing " + Quoted + " failed: " + Out.ErrorText() + ". The file keeps what was written before the error.";
    return {};
  }
  std::string error = Out.Close() ? "" : Out.ErrorText();
  if (error.empty() && ::fsync(Fd) != 0) error = std::strerror(errno);
  if (::close(Fd) != 0 && error.empty()) error = std::strerror(errno);
  Fd = -1;
  if (error.empty() && ::rename(Temp.c_str(), Path.c_str()) != 0) error = std::strerror(errno);
  if (!error.empty()) ::unlink(Temp.c_str());
  Temp.clear();
  if (error.empty()) return {};
  return "Saving " + Quoted + " failed: " + error + ". Nothing was written.";
}

void TWholeFile::Abandon() {
  Out.Close();
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  if (!Temp.empty()) ::unlink(Temp.c_str());
  Temp.clear();
}

std::string SaveWholeFile(const std::string& shownPath, std::string_view bytes, bool append) {
  TWholeFile file;
  if (std::string error = file.Open(shownPath, append); !error.empty()) return error;
  file.Write(bytes);
  return file.Commit();
}

} // namespace quorlin
