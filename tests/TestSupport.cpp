#include "TestSupport.h"

#include "platform/Clock.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin::test {

namespace {
// Listing tests print local times: make them the same on every machine.
const bool TimeZoneFixed = [] {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  return true;
}();
} // namespace

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  Path = std::filesystem::temp_directory_path() /
         ("quorlin-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(Path);
  std::filesystem::create_directories(Path);
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(Path, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
  std::string path = PathOf(name);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(bytes.substr(start, at - start));
  return lines;
}

void SetFixedTime(const std::string& path) {
  (void)TimeZoneFixed;
  struct timespec times[2] = {{FixedTime, 0}, {FixedTime, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void TRecordingFrontEnd::SetStatusText(std::string_view text) {
  Status.emplace_back(text);
  if (OnStatus) OnStatus(text);
}

void TPassRecorder::ReportPass(TCompareRun& run) {
  TCompareCtl& ctl = run.Ctl;
  ctl.ListingReread = true;
  ctl.HeadingArmed = true;
  TPassCopy pass;
  pass.NewFirstLine = run.New->PassFirstLine;
  pass.OldFirstLine = run.Old->PassFirstLine;
  pass.Prepared = ctl.FilesDiffer || (ctl.DpActive && !ctl.DpDcob) || ctl.DpsActive;
  for (bool isNew : {true, false}) {
    const TCompareFile& f = run.File(isNew);
    auto& lines = isNew ? pass.New : pass.Old;
    for (int k = 1; k <= f.PassLines; ++k) {
      const TLineEntry& e = run.Lines(isNew)[k];
      TLineCopy c{f.PassFirstLine + k, e.Matched, e.NoMatch, e.NotProcessed, e.Moved, e.Partner, {}};
      if (pass.Prepared && !e.NotProcessed && e.Text) c.Key.assign(e.Text, e.KeyLen);
      // Count what the listing would count, so that the result message is right.
      if (pass.Prepared && !c.Matched && !c.NotProcessed) ++(isNew ? ctl.InsertCount : ctl.DeleteCount);
      lines.push_back(std::move(c));
    }
  }
  Passes.push_back(std::move(pass));
}

void TAppFixture::SetFiles(const std::string& newBytes, const std::string& oldBytes) {
  SetFixedTime(App.Controls.MnCbNewFileNm = Dir.Write("new.txt", newBytes));
  SetFixedTime(App.Controls.MnCbOldFileNm = Dir.Write("old.txt", oldBytes));
}

void TAppFixture::HaltOn(const std::string& part) {
  Ui.OnStatus = [this, part](std::string_view text) {
    if (text.find(part) != std::string_view::npos) App.UserStop = true;
  };
}

int TRunFixture::Run() {
  Recorder.Passes.clear();
  App.Panel1Lines.clear();
  App.UserStop = false;
  App.DlnConditions.clear();
  App.NewCompareCtl();
  return RunOrderedCompare(App, Recorder);
}

int TRunFixture::Run(const std::string& newBytes, const std::string& oldBytes) {
  SetFiles(newBytes, oldBytes);
  return Run();
}

std::string TAppFixture::Relative(std::string text) const {
  const std::string prefix = Dir.Path.string() + "/";
  for (size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
  return text;
}

std::string TListingFixture::RunBatch() {
  App.BatchMode = true;
  App.JobLabel = "Job#1 ";
  App.RunStamp = FormatDateTime(FixedTime);
  App.Panel1Lines.clear();
  App.Panel1Lines.push_back("*** Job#1  Started Time=" + App.RunStamp);
  App.UserStop = false;
  App.OutFileNm = "listing.lst";
  // No gtest here (the fuzz targets link this file): a listing file that
  // cannot be written throws, which fails the test.
  TOutputFile out;
  if (!out.Open(Dir.PathOf("listing.lst"), false)) throw std::runtime_error("cannot open listing.lst");
  RunBatchCompare(App, out);
  if (!out.Close()) throw std::runtime_error("cannot write listing.lst: " + out.ErrorText());
  return Relative(ReadBytes(Dir.PathOf("listing.lst")));
}

void TListingFixture::RunInteractive() {
  App.BatchMode = false;
  App.JobLabel.clear();
  App.Panel1Lines.clear();
  App.Panel2Lines.clear();
  App.UserStop = false;
  RunCompare(App);
}

namespace {
/// A source-like line: mostly unique statements, some frequent duplicates.
std::string RandomLine(std::mt19937& rng, int& serial) {
  static const char* common[] = {"}", "{", "", "    return 0;", "    break;", "  }", "else", "    i++;"};
  int k = static_cast<int>(rng() % 100);
  if (k < 25) return common[rng() % 8];
  if (k < 30) return "    x = " + std::to_string(rng() % 5) + ";";
  return "    stmt_" + std::to_string(serial++) + "(a, b);";
}
} // namespace

TScript RandomScript(std::mt19937& rng, int size) {
  TScript s;
  int serial = 0;
  for (int i = 0; i < size; ++i) s.Old.push_back(RandomLine(rng, serial));
  auto& v = s.New = s.Old;
  int edits = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::max(2, size / 20)));
  for (int e = 0; e < edits && !v.empty(); ++e) {
    auto at = v.begin() + static_cast<long>(rng() % v.size());
    auto blockEnd = [&](unsigned most) { return at + std::min<long>(1 + rng() % most, v.end() - at); };
    switch (rng() % 6) {
    case 0: // insert a block
      for (int n = 1 + static_cast<int>(rng() % 6), i = 0; i < n; ++i) at = v.insert(at, RandomLine(rng, serial));
      break;
    case 1: // delete a block
      v.erase(at, blockEnd(6));
      break;
    case 2: // change a line
      *at = RandomLine(rng, serial);
      break;
    case 3: // reformat: blanks only
      *at = "  " + *at + " ";
      break;
    case 4: { // move a block
      auto end = blockEnd(8);
      std::vector<std::string> block(at, end);
      v.erase(at, end);
      v.insert(v.begin() + static_cast<long>(v.empty() ? 0 : rng() % (v.size() + 1)), block.begin(), block.end());
      break;
    }
    default: // case change
      for (char& c : *at) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      break;
    }
  }
  return s;
}

std::string NumberedLines(int count, const std::string& prefix) {
  std::string out;
  for (int i = 1; i <= count; ++i) out += prefix + std::to_string(i) + "\n";
  return out;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace quorlin::test
