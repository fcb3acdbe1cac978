#include "TestSupport.h"

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
