// The shortcuts of a run give the listing the slow way gives: identical
// files counted instead of read, and the two files of a pass read and
// prepared on two threads.
#include "TestSupport.h"

#include <gtest/gtest.h>

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
  const std::string base = NumberedLines(20000);
  const size_t lineLen = std::string("line 10000\n").size(); // lines 10000..20000 are this long
  struct Case {
    const char* Name;
    size_t At;
  } cases[] = {
      {"first byte", 0},
      {"middle of the first pass", base.size() / 4},
      {"last line of the first pass", base.find("line 8000\n")},
      {"first line of the second pass", base.find("line 8001\n")},
      {"last byte before the final line end", base.size() - 2},
      {"in the last line", base.size() - lineLen + 2},
  };
  for (const Case& c : cases) {
    std::string changed = base;
    changed[c.At] = changed[c.At] == '7' ? '8' : '7';
    const std::string fast = Listing(changed, base, true);
    EXPECT_EQ(fast, Listing(changed, base, false)) << c.Name;
    EXPECT_NE(fast.find(MsgDiffer), std::string::npos) << c.Name;
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

} // namespace
} // namespace quorlin::test
