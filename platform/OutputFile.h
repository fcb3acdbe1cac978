// A byte file written through a buffer: the batch listing file and the batch
// log. A write error is remembered and reported, never ignored.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quorlin {

class TOutputFile {
public:
  TOutputFile() = default;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile(TOutputFile&&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  ~TOutputFile();

  /// Creates the file anew, or with append opens it at its end (creating it
  /// when missing). Returns false with Error() set when it cannot be opened.
  bool Open(const std::string& path, bool append);
  /// Writes to an open descriptor (standard output) instead of a named file;
  /// Close() flushes but does not close it.
  void AttachDescriptor(int fd, const std::string& name);
  bool IsOpen() const { return Fd >= 0; }
  /// Lets a second thread write the full buffers while the next one fills.
  /// A write error then shows at the next Flush or Close.
  void WriteInBackground();
  /// Writes bytes; after a failure further writes are dropped.
  void Write(std::string_view bytes);
  /// Writes text followed by CR LF.
  void WriteLine(std::string_view text);
  /// Writes the buffer out and closes the file. Returns false when any write
  /// of this file failed.
  bool Close();
  /// Writes the buffer out now, so that a write error shows at once.
  void Flush();
  bool Failed() const { return !Error.empty(); }
  /// Why the file could not be opened or written; empty when all went well.
  const std::string& ErrorText() const { return Error; }
  const std::string& Path() const { return FilePath; }

private:
  int Fd = -1;
  bool OwnsFd = true;
  std::string FilePath;
  std::string Buffer;
  std::string Error;
  std::unique_ptr<class TWorker> Writer; ///< with WriteInBackground
  std::string Writing;                   ///< the buffer the writer has in hand
  std::string WriterError;               ///< set by the writer, read after it finished
  /// Writes bytes to fd on this thread; returns the error text or "".
  static std::string WriteAll(int fd, const std::string& bytes);
  /// Waits for the writer and takes over its error.
  void WaitForWriter();
};

/// A file written whole or not at all, in pieces: a new file is written
/// beside the path and renamed over it by Commit, so that a failed or
/// abandoned save leaves no half-written file and an earlier file as it was.
/// Appending, or writing to a device or pipe, writes in place.
class TWholeFile {
public:
  TWholeFile();
  TWholeFile(const TWholeFile&) = delete;
  TWholeFile& operator=(const TWholeFile&) = delete;
  /// Abandons a file that was not committed.
  ~TWholeFile();
  /// Opens the file that shownPath names (through links) for new contents,
  /// or with append at its end. Returns an empty string, or the message.
  std::string Open(const std::string& shownPath, bool append = false);
  /// Writes bytes (buffered); the first error is kept for Commit.
  void Write(std::string_view bytes);
  /// Completes the file. Returns an empty string, or the message.
  std::string Commit();
  /// Drops the new file; an append or a write in place keeps what it wrote.
  void Abandon();

private:
  std::string Quoted;   ///< the name as the messages quote it
  std::string Path;     ///< the file written, links followed
  std::string Temp;     ///< the new file beside Path; empty when writing in place
  int Fd = -1;          ///< descriptor of Temp (Out writes through it)
  bool Existed = false; ///< Path was there before, with Mode
  unsigned Mode = 0;
  TOutputFile Out;
};

/// Writes a whole file: bytes appended to path when append is set (the file
/// is created when missing), else a new file. A new file is written beside
/// path and renamed over it only when it is complete, so a failed save
/// leaves no half-written file and an earlier file as it was; an append that
/// fails leaves what was written before the error. Returns an empty string,
/// or the message that says what failed and why.
std::string SaveWholeFile(const std::string& path, std::string_view bytes, bool append);

/// The file that path names once symbolic links are followed, so that a file
/// saved through a link updates the file it points to and the link stays.
std::string LinkTarget(const std::string& path);

} // namespace quorlin
