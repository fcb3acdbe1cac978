// Read-only memory maps of input files, and a guard for reading them: a file
// that another program truncates while it is mapped makes the kernel raise
// SIGBUS on the lost pages, which the guard turns into a failed read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorlin {

class TMappedFile {
public:
  TMappedFile() = default;
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;
  ~TMappedFile();
  /// Maps the first size bytes of the open file fd, read ahead into memory.
  /// Returns false when the system refuses (the caller reads the file instead).
  bool Map(int fd, int64_t size);
  const char* Data() const { return Bytes; }
  int64_t Size() const { return Length; }

private:
  const char* Bytes = nullptr;
  int64_t Length = 0;
};

/// Runs read, which reads mapped files, on this thread. Returns false when a
/// mapped page could not be read (SIGBUS) and read was cut short.
bool GuardedRead(const std::function<void()>& read);

} // namespace quorlin
