#include "platform/AppDir.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

namespace fs = std::filesystem;

std::string ProgramDirectory() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec).string();
  return exe.parent_path().string();
}

std::string DataDirectory(bool create) {
  if (const char* home = std::getenv("QUORLIN_HOME"); home && *home) return home;
  std::string program = ProgramDirectory();
  if (FileExists(program + "/Quorln32.ini")) return program;
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* user = std::getenv("HOME"); user && *user)
    base = fs::path(user) / ".config";
  else
    base = fs::temp_directory_path();
  fs::path dir = base / "quorlin";
  std::error_code ec;
  if (create) fs::create_directories(dir, ec);
  return dir.string();
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

} // namespace quorlin
