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

std::string DataDirectory() {
  if (const char* home = std::getenv("QUORLIN_HOME"); home && *home) return home;
  std::string program = ProgramDirectory();
  if (::access(program.c_str(), W_OK) == 0) return program;
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* user = std::getenv("HOME"); user && *user)
    base = fs::path(user) / ".config";
  else
    base = fs::temp_directory_path();
  fs::path dir = base / "quorlin";
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir.string();
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace quorlin
