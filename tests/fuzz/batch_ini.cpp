// Fuzz target: the batch ini decoder and step loop. The input is an ini file
// run through IniBatchRun, as "quorlin-cli inif=" runs one.
//
// Input: one mode byte (bit 0: a second thread for the compares), then the
// ini text. In the text "%N", "%O", "%S", "%E" and "%L" stand for a NEW
// file, an OLD file, a file with the NEW bytes, an empty file and a listing
// file, all in the scratch folder, which is also the current folder. A slash
// is kept only where it starts a line's text or stands beside another slash
// ("/job" lines and "//" comments); every other slash becomes "_", so the
// files a batch writes ("outf=") stay in the scratch folder.
//
// Invariants: no crash, the exit status is 0, 1 or 2, the batch log exists
// and starts with the batch's heading line, and the final status says how the
// batch ended ("... Exit Batch.").
#include "FuzzSupport.h"

#include "app/BatchJob.h"
#include "platform/FrontEnd.h"

#include <filesystem>
#include <unistd.h>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

namespace fs = std::filesystem;

/// Empties the scratch folder, makes the files the placeholders name and
/// makes it the current folder.
void FreshFolder() {
  const std::string& dir = WorkDir();
  for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
  fs::create_directory(dir + "/log");
  const char* newText = "alpha\nbeta\ngamma\n  delta\n/* note */ x = 1;\n";
  WriteWorkFile("new.txt", newText);
  WriteWorkFile("same.txt", newText);
  WriteWorkFile("old.txt", "alpha\ngamma\nbeta\ndelta\nx = 2; // note\n");
  WriteWorkFile("empty.txt", "");
  if (::chdir(dir.c_str()) != 0) Fail("chdir", dir);
}

/// The ini text of an input: slashes made harmless, then the placeholders.
std::string IniText(std::string_view raw) {
  std::string text;
  bool lineStart = true;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '/') {
      const bool pair = (i > 0 && raw[i - 1] == '/') || (i + 1 < raw.size() && raw[i + 1] == '/');
      text += lineStart || pair ? '/' : '_';
    } else {
      text += c;
    }
    if (c == '\n') lineStart = true;
    else if (c != ' ' && c != '\t' && c != '\r') lineStart = false;
  }
  const std::string& dir = WorkDir();
  const std::pair<const char*, std::string> names[] = {{"%N", dir + "/new.txt"},   {"%O", dir + "/old.txt"},
                                                       {"%S", dir + "/same.txt"},  {"%E", dir + "/empty.txt"},
                                                       {"%L", dir + "/out.lst"}};
  for (const auto& [token, path] : names)
    for (size_t at = 0; (at = text.find(token, at)) != std::string::npos; at += path.size())
      text.replace(at, 2, path);
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TOptionBytes bytes(data, size);
  const uint8_t mode = bytes.Byte();
  FreshFolder();
  const std::string ini = WriteWorkFile("batch.ini", IniText(bytes.Rest));
  const std::string logDir = WorkDir() + "/log";

  TSilentFrontEnd ui;
  TAppState app(ui);
  app.ProgressOn = false;
  app.WorkerThreads = mode & 1;
  app.RunStamp = RunStamp;
  const TBatchResult result = IniBatchRun(app, ini, logDir);

  const std::string detail = "exit " + std::to_string(result.ExitStatus) + ", final status: " + result.FinalStatus;
  FUZZ_CHECK(result.ExitStatus >= 0 && result.ExitStatus <= 2, detail);
  FUZZ_CHECK(result.LogPath == logDir + "/" + BatchLogName, detail + "\nlog " + result.LogPath);
  FUZZ_CHECK(fs::is_regular_file(result.LogPath), detail + "\nno batch log");
  const std::vector<std::string> log = PeekLogLines(result.LogPath);
  FUZZ_CHECK(!log.empty() && log[0] == std::string(73, '*'), detail + "\nlog starts: " + log[0]);
  FUZZ_CHECK(result.FinalStatus.ends_with("Exit Batch."), detail);
  return 0;
}
