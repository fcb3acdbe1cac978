#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace quorlin::test {

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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
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
    TLineTable& table = run.Lines(isNew);
    auto& lines = isNew ? pass.New : pass.Old;
    for (int k = 1; k <= f.PassLines; ++k) {
      const TLineEntry& e = table[k];
      TLineCopy c;
      c.FileLine = f.PassFirstLine + k;
      c.Matched = e.Matched;
      c.NoMatch = e.NoMatch;
      c.NotProcessed = e.NotProcessed;
      c.PartDp = e.PartDp;
      c.Moved = e.Moved;
      c.SetStart = e.SetStart;
      c.Partner = e.Partner;
      if (pass.Prepared && !e.NotProcessed && e.Text) c.Key.assign(e.Text, e.KeyLen);
      if (!pass.Prepared && e.Text) c.Text.assign(e.Text, e.TextLen);
      lines.push_back(std::move(c));
    }
    // Count what the listing would count, so that the result message is right.
    if (pass.Prepared)
      for (const TLineCopy& c : lines)
        if (!c.Matched && !c.NotProcessed) ++(isNew ? ctl.InsertCount : ctl.DeleteCount);
  }
  Passes.push_back(std::move(pass));
  if (OnPass) OnPass(run);
}

void TRunFixture::SetFiles(const std::string& newBytes, const std::string& oldBytes) {
  App.Controls.MnCbNewFileNm = Dir.Write("new.txt", newBytes);
  App.Controls.MnCbOldFileNm = Dir.Write("old.txt", oldBytes);
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

namespace {
/// A source-like line: mostly unique statements, some frequent duplicates.
std::string RandomLine(std::mt19937& rng, int& serial) {
  static const char* common[] = {"}", "{", "", "    return 0;", "    break;", "  }", "else",
                                 "    i++;"};
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
  s.New = s.Old;
  int edits = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::max(2, size / 20)));
  for (int e = 0; e < edits && !s.New.empty(); ++e) {
    size_t at = rng() % s.New.size();
    switch (rng() % 6) {
    case 0: { // insert a block
      int n = 1 + static_cast<int>(rng() % 6);
      for (int i = 0; i < n; ++i)
        s.New.insert(s.New.begin() + static_cast<long>(at), RandomLine(rng, serial));
      break;
    }
    case 1: { // delete a block
      size_t n = std::min<size_t>(1 + rng() % 6, s.New.size() - at);
      s.New.erase(s.New.begin() + static_cast<long>(at), s.New.begin() + static_cast<long>(at + n));
      break;
    }
    case 2: // change a line
      s.New[at] = RandomLine(rng, serial);
      break;
    case 3: // reformat: blanks only
      s.New[at] = "  " + s.New[at] + " ";
      break;
    case 4: { // move a block
      size_t n = std::min<size_t>(1 + rng() % 8, s.New.size() - at);
      std::vector<std::string> block(s.New.begin() + static_cast<long>(at),
                                     s.New.begin() + static_cast<long>(at + n));
      s.New.erase(s.New.begin() + static_cast<long>(at), s.New.begin() + static_cast<long>(at + n));
      size_t to = s.New.empty() ? 0 : rng() % (s.New.size() + 1);
      s.New.insert(s.New.begin() + static_cast<long>(to), block.begin(), block.end());
      break;
    }
    default: // case change
      for (char& c : s.New[at]) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      break;
    }
  }
  return s;
}

std::string NumberedLines(int count, const std::string& prefix, int from) {
  std::string out;
  for (int i = 0; i < count; ++i) out += prefix + std::to_string(from + i) + "\n";
  return out;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

} // namespace quorlin::test

#include "app/CompareFlow.h"
#include "platform/Clock.h"

#include <cstdlib>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>

namespace quorlin::test {

namespace {
// Listing tests print local times: make them the same on every machine.
const bool TimeZoneFixed = [] {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  return true;
}();
} // namespace

TListingFixture::TListingFixture() { (void)TimeZoneFixed; }

void TListingFixture::SetFiles(const std::string& newBytes, const std::string& oldBytes) {
  App.Controls.MnCbNewFileNm = Dir.Write("new.txt", newBytes);
  App.Controls.MnCbOldFileNm = Dir.Write("old.txt", oldBytes);
  for (const auto& path : {App.Controls.MnCbNewFileNm, App.Controls.MnCbOldFileNm}) {
    struct timespec times[2] = {{FixedTime, 0}, {FixedTime, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
}

std::string TListingFixture::Relative(std::string text) const {
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
  std::string path = Dir.PathOf("listing.lst");
  App.OutFileNm = "listing.lst";
  TOutputFile out;
  EXPECT_TRUE(out.Open(path, false));
  RunBatchCompare(App, out);
  EXPECT_TRUE(out.Close());
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return Relative(bytes.str());
}

void TListingFixture::RunInteractive() {
  App.BatchMode = false;
  App.JobLabel.clear();
  App.Panel1Lines.clear();
  App.Panel2Lines.clear();
  App.UserStop = false;
  RunCompare(App);
}

std::vector<std::string> TListingFixture::Panel1() const {
  std::vector<std::string> out;
  for (auto line : App.Panel1Lines) out.push_back(Relative(std::string(line)));
  return out;
}

std::vector<std::string> TListingFixture::Panel2() const {
  std::vector<std::string> out;
  for (auto line : App.Panel2Lines) out.push_back(Relative(std::string(line)));
  return out;
}

} // namespace quorlin::test
