#include "TestSupport.h"
#include "engine/LineReader.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

struct TReadResult {
  std::vector<std::string> Lines;
  std::vector<int64_t> Offsets; ///< FileOffset after each line
  std::vector<std::string> Again; ///< the lines read again after a reposition
  TCompareFile File;
};

/// Reads every line of bytes with the given control flags; with resumeAfter,
/// then repositions to the offset after that line (0-based) and reads again.
TReadResult ReadAll(const std::string& bytes, const TCompareCtl& ctl = {}, int resumeAfter = -1) {
  TTempDir dir;
  TReadResult r;
  int64_t size = 0;
  std::string why;
  EXPECT_TRUE(OpenInputFile(r.File, dir.Write("in.txt", bytes), size, why)) << why;
  AllocateBuffers(r.File);
  auto readFrom = [&](int64_t offset, std::vector<std::string>& lines, bool keepOffsets) {
    r.File.FileOffset = offset;
    RepositionFile(r.File, offset);
    for (int guard = 0; guard < 100000; ++guard) {
      ReadLine(r.File, ctl);
      if (r.File.AtEof) break;
      lines.emplace_back(r.File.LineBuf.get(), r.File.LineLen);
      if (keepOffsets) r.Offsets.push_back(r.File.FileOffset);
    }
  };
  readFrom(0, r.Lines, true);
  if (resumeAfter >= 0) readFrom(r.Offsets[static_cast<size_t>(resumeAfter)], r.Again, false);
  CloseInputFile(r.File);
  return r;
}

using Lines = std::vector<std::string>;

TEST(LineReader, LineEndsTheEndOfFileByteAndLongLines) {
  std::string data("a\0b", 3); // control and high bytes are data
  for (int c = 0x80; c <= 0xFF; ++c) data += static_cast<char>(c);
  const std::string a2048(2048, 'a');
  struct Case {
    const char* Name;
    std::string Bytes;
    Lines Expected;
    bool Ieof = false, Embedded = false, Split = false;
  } cases[] = {
      {"CR LF, CR, LF and no line end", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"CR at the end of the file", "a\rb\r", {"a", "b"}},
      {"CR LF at the end of the file", "a\nb\r\n", {"a", "b"}},
      {"LF CR gives an empty line for the CR", "a\n\rb\n", {"a", " ", "b"}},
      {"empty file", "", {}},
      {"only a line end", "\n", {" "}},
      {"empty and blank lines", "\n   \n\r\nx\n", {" ", "   ", " ", "x"}},
      {"control and high bytes", data + "\n", {data}},
      {"0x1A after the last line end", "a\nb\n\x1A", {"a", "b"}},
      {"0x1A ending the last line", "a\nb\x1A", {"a", "b"}},
      {"0x1A mid-line ends the file", "ab\x1A" "cd\nef\n", {"ab"}, false, true},
      {"0x1A at a line start ends the file without an extra line", "a\n\x1A" "b\nc\n", {"a"}, false, true},
      {"Ieof keeps a mid-line 0x1A as data", "ab\x1A" "cd\nef\n", {"ab\x1A" "cd", "ef"}, true, true},
      {"Ieof keeps 0x1A at a line start", "a\n\x1A" "b\n", {"a", "\x1A" "b"}, true, true},
      {"Ieof still ends on a final 0x1A", "a\n\x1A", {"a"}, true, false},
      {"2048 bytes are one line", a2048 + "\nb\n", {a2048, "b"}},
      {"2048 bytes without a line end", a2048, {a2048}},
      {"2049 bytes are split", a2048 + "a\n", {a2048, "a"}, false, false, true},
      {"5000 bytes in three pieces", std::string(5000, 'a') + "\r\n", {a2048, a2048, std::string(904, 'a')},
       false, false, true},
  };
  for (const auto& c : cases) {
    TCompareCtl ctl;
    ctl.OptIeof = c.Ieof;
    auto r = ReadAll(c.Bytes, ctl);
    EXPECT_EQ(r.Lines, c.Expected) << c.Name;
    EXPECT_EQ(r.File.EmbeddedEof, c.Embedded) << c.Name;
    EXPECT_EQ(r.File.LineSplit, c.Split) << c.Name;
  }
}

TEST(LineReader, FileOffsetIsTheResumePointAfterEachLine) {
  auto r = ReadAll("ab\r\ncd\nef\rg");
  EXPECT_EQ(r.Offsets, (std::vector<int64_t>{4, 7, 10, 11}));
  EXPECT_EQ(r.File.LinesRead, 4);
  EXPECT_EQ(r.File.LongestLine, 2);
  EXPECT_EQ(ReadAll("ab\x1A" "cd").Offsets, (std::vector<int64_t>{2})) << "the byte that ends the file is not counted";
  EXPECT_EQ(ReadAll("one\r\ntwo\nthree\n", {}, 1).Again, Lines{"three"}) << "a reposition resumes at an offset";
}

TEST(LineReader, TabsAreBlanksExceptInTheListingRereadWithXtab) {
  // ReadingInput: the engine's read phase of a later pass, after the listing's reread began.
  for (auto [xtab, reread, input, line] : {std::tuple{false, false, false, "a b"}, {true, true, false, "a\tb"},
                                           {true, true, true, "a b"}, {false, true, false, "a b"}}) {
    TCompareCtl ctl;
    std::tie(ctl.OptXtab, ctl.ListingReread, ctl.ReadingInput) = std::tie(xtab, reread, input);
    EXPECT_EQ(ReadAll("a\tb\n", ctl).Lines, Lines{line}) << xtab << reread << input;
  }
}

TEST(LineReader, BufferBoundaries) {
  // The CR is the last byte of the first read, its LF the first of the next.
  std::string full(ReadBufSize - 1, 'x');
  auto r = ReadAll(full + "\r\nnext\n");
  ASSERT_EQ(r.Lines.size(), 17u); // 16 pieces of 2048 bytes (the last one 2047) and "next"
  EXPECT_EQ(r.Lines.back(), "next");
  EXPECT_EQ(r.Offsets[15], ReadBufSize + 1);

  // 0x1A as the very last byte of a full read buffer with data after it.
  full[100] = '\n';
  auto plain = ReadAll(full + "\x1A" "tail\n");
  EXPECT_TRUE(plain.File.EmbeddedEof);
  ASSERT_FALSE(plain.Lines.empty());
  EXPECT_EQ(plain.Lines.back().back(), 'x');
  TCompareCtl ieof;
  ieof.OptIeof = true;
  std::string joined;
  for (auto& l : ReadAll(full + "\x1A" "tail\n", ieof).Lines) joined += l;
  EXPECT_NE(joined.find("\x1A" "tail"), std::string::npos);
}

} // namespace
} // namespace quorlin::test
