// Golden listings: tests/data/listing/<case>/ holds new.txt, old.txt,
// options.txt and the expected listing (expected.lst for a batch run,
// panel1.txt and panel2.txt for an interactive one). A mismatch writes the
// actual result beside the expected one (.actual); QUORLIN_REGEN_GOLDEN=1
// rewrites the expected files for review.
#include "TestSupport.h"
#include "app/BatchJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorlin::test {
namespace {

namespace fs = std::filesystem;

/// Applies one line of options.txt: "interactive", "-t TYPE", "-p OPERAND",
/// "-d OPERAND", "check CAPTION" or "set CONTROL VALUE".
void ApplyOption(TListingFixture& fx, TBatchState& batch, const std::string& line, bool& interactive) {
  std::istringstream words(line);
  std::string key, value, text;
  words >> key >> value >> std::ws;
  std::getline(words, text);
  if (key == "interactive") {
    interactive = true;
  } else if (key == "-t") {
    fx.App.Controls.MnCbListType = ListTypeText(value);
  } else if (key == "-p" || key == "-d") {
    value += text.empty() ? "" : " " + text;
    ASSERT_EQ(key == "-p" ? DecodePref(fx.App, batch, value) : DecodeDpop(fx.App, value), "") << line;
  } else if (key == "check") {
    for (auto& box : fx.App.Controls.PrPanPreferences) box.Checked |= value == box.Caption;
  } else if (key == "set") {
    (value == "PrEdSubC" ? fx.App.Controls.PrEdSubC : fx.App.Controls.PrCbXTab) = text;
  } else if (!key.empty()) {
    FAIL() << "unknown option line: " << line;
  }
}

void Compare(const fs::path& expectedPath, const std::string& actual) {
  const fs::path actualPath = fs::path(expectedPath) += ".actual";
  fs::remove(actualPath);
  if (std::getenv("QUORLIN_REGEN_GOLDEN")) {
    std::ofstream(expectedPath, std::ios::binary | std::ios::trunc) << actual;
    return;
  }
  ASSERT_TRUE(fs::exists(expectedPath)) << "missing " << expectedPath;
  const std::string expected = ReadBytes(expectedPath);
  EXPECT_EQ(expected, actual) << expectedPath << " differs (actual written to " << actualPath << ")";
  if (expected != actual) std::ofstream(actualPath, std::ios::binary) << actual;
}

class GoldenListing : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenListing, MatchesExpected) {
  const fs::path dir = fs::path(QUORLIN_TEST_DATA) / "listing" / GetParam();
  TListingFixture fx;
  fx.SetFiles(ReadBytes(dir / "new.txt"), ReadBytes(dir / "old.txt"));
  TBatchState batch;
  bool interactive = false;
  std::istringstream options(ReadBytes(dir / "options.txt"));
  for (std::string line; std::getline(options, line);) ApplyOption(fx, batch, line, interactive);
  if (interactive) {
    fx.RunInteractive();
    Compare(dir / "panel1.txt", fx.Relative(JoinLines(fx.App.Panel1Lines.ToVector())));
    Compare(dir / "panel2.txt", fx.Relative(JoinLines(fx.App.Panel2Lines.ToVector())));
  } else {
    Compare(dir / "expected.lst", fx.RunBatch());
  }
}

std::vector<std::string> Cases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(QUORLIN_TEST_DATA) / "listing"))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenListing, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace quorlin::test
