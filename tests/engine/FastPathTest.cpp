// The shortcuts of a run give the listing the slow way gives: identical
// files counted instead of read, and the two files of a pass read and
// prepared on two threads.
#include "TestSupport.h"
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

namespace quorlin::test {
namespace {

/// The batch listing of a pair, then the interactive panels, with the
/// shortcuts on or off.
std::string Listing(const std::string& newBytes, const std::string& oldBytes, bool fast,
                    const std::function<void(TListingFixture&)>& options = {}) {
  TListingFixture fx;
  fx.App.WorkerThreads = fast;
  fx.App.CountIdentical = fast;
  if (options) options(fx);
  fx.SetFiles(newBytes, oldBytes);
  std::string out = fx.RunBatch() + fx.App.StatusText + "\n";
  fx.RunInteractive();
  for (const TStringList* panel : {&fx.App.Panel1Lines, &fx.App.Panel2Lines})
    for (std::string_view line : *panel) out.append(fx.Relative(std::string(line))).append("\n");
  return out;
}

std::string Repeat(const std::string& line, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += line;
  return out;
}

TEST(FastPaths, IdenticalFilesCountedAsRead) {
  const std::string lines = NumberedLines(8000);
  struct Case {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"passes of 8000 lines and a short one", NumberedLines(20000)},
      {"exactly one full pass", lines},
      {"no line end at the end", lines + "tail"},
      {"CR LF and lone CR", Repeat("crlf line\r\n", 9000) + "cr\rcr\r\n\r\nend"},
      {"long lines split and a line of exactly 2048 bytes",
       std::string(5000, 'x') + "\n" + std::string(2048, 'y') + "\n" + std::string(2049, 'z') + "\n"},
      {"empty lines, blanks and TABs", Repeat("\n \n\t\tx\t\n", 4000)},
      {"0x1A inside ends the file", NumberedLines(100) + "ab\x1A" "cd\nmore\n"},
      {"0x1A at the very end", NumberedLines(100) + "\x1A"},
      {"0x1A at a line start", NumberedLines(8000) + "\x1A" "more\n"},
      {"control bytes", Repeat(std::string("a\x01\x02 b\x7f\n"), 100)},
  };
  for (const Case& c : cases)
    for (bool ieof : {false, true})
      for (const char* type : {"Chng", "Delta", "Ovsum"}) {
        auto options = [&](TListingFixture& fx) {
          fx.Check(TagIeof, ieof);
          fx.App.Controls.MnCbListType = type;
        };
        EXPECT_EQ(Listing(c.Bytes, c.Bytes, true, options), Listing(c.Bytes, c.Bytes, false, options))
            << c.Name << (ieof ? ", Ieof, " : ", ") << type;
      }
}

TEST(FastPaths, OneChangedByteIsFound) {
  std::string crlf;
  for (int i = 1; i <= 20000; ++i) crlf += "line " + std::to_string(i) + "\r\n";
  const std::tuple<const char*, std::string, bool> bases[] = { // name, bytes, Ieof
      {"LF", NumberedLines(20000), false},
      {"CR LF", crlf, false},
      {"0x1A inside, Ieof", NumberedLines(9000) + "a\x1A" "b\n" + NumberedLines(11000), true},
  };
  for (const auto& [name, base, ieof] : bases) {
    // The first byte, the last line of pass 1 and the first of pass 2, and bytes inside.
    for (size_t pos : {size_t(0), base.size() / 4, base.find("line 8000"), base.find("line 8001"), base.size() / 2,
                       base.size() - 3}) {
      std::string changed = base;
      changed[pos] = changed[pos] == '7' ? '8' : '7';
      auto options = [&](TListingFixture& fx) { fx.Check(TagIeof, ieof); };
      const std::string fast = Listing(changed, base, true, options);
      EXPECT_EQ(fast, Listing(changed, base, false, options)) << name << ", byte " << pos;
      EXPECT_NE(fast.find(MsgDiffer), std::string::npos) << name << ", byte " << pos;
    }
  }
}

TEST(FastPaths, TwoThreadsListAsOne) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 32; ++round) {
    const TScript s = RandomScript(rng, 3000 + static_cast<int>(rng() % 12000));
    const unsigned pick = rng();
    auto options = [&](TListingFixture& fx) {
      static const char* types[] = {"Chng", "Long", "Delta", "Ovsum"};
      fx.App.Controls.MnCbListType = types[pick % 4];
      fx.Check(TagIcas, pick & 4);
      fx.Check(TagFmvl, pick & 8);
      fx.Check(TagRovr, pick & 16);
      fx.Check(TagXtab, pick & 32);
      fx.Check(TagSbsl, pick & 64);
      fx.App.Controls.DpRadioGroup1 = (pick & 128) ? DpDcpp : DpNone;
      if (pick & 256) {
        fx.App.Controls.DpCkDpS[0] = true;
        fx.App.Controls.DpEdS[0] = "}";
      }
      if (pick & 512) {
        fx.Check(TagCcol);
        fx.App.Controls.PrEdCcolNw[0] = fx.App.Controls.PrEdCcolOd[0] = "3:eol";
      }
      fx.Check(TagClnc, pick & 1024);
    };
    const std::string newBytes = JoinLines(s.New), oldBytes = JoinLines(s.Old);
    EXPECT_EQ(Listing(newBytes, oldBytes, true, options), Listing(newBytes, oldBytes, false, options))
        << "round " << round << ", options " << (pick & 2047);
  }
}

TEST(FastPaths, FilesChangedWhileCompared) {
  // A page of a map lost to a file cut short is a failed read, not a crash.
  TTempDir dir;
  const std::string path = dir.Write("cut.txt", std::string(1 << 20, 'x'));
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  {
    TMappedFile map;
    ASSERT_TRUE(map.Map(fd, 1 << 20));
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);
    volatile char last = 0;
    EXPECT_FALSE(GuardedRead([&] { last = map.Data()[(1 << 20) - 1]; }));
    EXPECT_TRUE(GuardedRead([&] { last = map.Data()[10]; }));
  }
  ::close(fd);

  // Files cut short or grown while a compare reads them end it cleanly.
  for (bool threads : {false, true})
    for (bool grow : {false, true}) {
      TListingFixture fx;
      fx.App.WorkerThreads = threads;
      fx.SetFiles(NumberedLines(30000), NumberedLines(30000, "old "));
      fx.Ui.OnStatus = [&](std::string_view text) {
        if (text.find("Read Input Processing") == std::string_view::npos) return;
        if (grow) std::ofstream(fx.Dir.PathOf("new.txt"), std::ios::app) << NumberedLines(5000, "more ");
        else EXPECT_EQ(::truncate(fx.Dir.PathOf("new.txt").c_str(), 1000), 0);
        fx.Ui.OnStatus = nullptr;
      };
      const std::string listing = fx.RunBatch();
      EXPECT_NE(listing.find(fx.App.StatusText), std::string::npos) << threads << grow;
      EXPECT_TRUE(fx.App.StatusText == MsgDiffer || fx.App.StatusText == MsgInputIoError) << fx.App.StatusText;
    }
}

} // namespace
} // namespace quorlin::test
