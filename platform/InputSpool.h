// Inputs that cannot be read twice: standard input, pipes, FIFOs and
// devices such as /dev/null. A compare reads each file more than once (its
// passes, then the listing's re-read), so such an input is first copied once
// into a temporary file, which is compared in its place and removed again.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlin {

class TInputSpool {
public:
  TInputSpool() = default;
  TInputSpool(const TInputSpool&) = delete;
  TInputSpool& operator=(const TInputSpool&) = delete;
  /// Removes the copies.
  ~TInputSpool() { Remove(); }

  /// The file to read for name: name itself when it is a regular file, a
  /// directory or nothing at all (the compare reports those); else a new
  /// temporary copy of what name gives, "-" being standard input. At most
  /// limit bytes are copied, enough for the compare to refuse a larger
  /// input. stop, when given, is polled while the copy waits for its input.
  /// Returns an empty string, with why set, when the copy fails or stop is
  /// set.
  std::string Readable(const std::string& name, int64_t limit, std::string& why,
                       const volatile std::sig_atomic_t* stop = nullptr);
  /// True when the file for name must be copied first.
  static bool NeedsCopy(const std::string& name);
  /// Removes the copies made so far.
  void Remove();

private:
  std::vector<std::string> Copies; ///< paths of the temporary copies, removed by Remove()
};

} // namespace quorlin
