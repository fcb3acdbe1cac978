#include "platform/Clock.h"

#include <sys/stat.h>

namespace quorlin {

std::string FormatDateTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char buf[128];
  size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
  return std::string(buf, n);
}

std::string NowText() { return FormatDateTime(std::time(nullptr)); }

std::string FileTimeText(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return FormatDateTime(st.st_mtime);
}

} // namespace quorlin
