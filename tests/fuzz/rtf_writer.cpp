// Fuzz target: the rich-text writer (WriteRtf) on documents of arbitrary
// lines and colours.
//
// Input: one byte for the font size (1 to 72 points), then lines, each a
// colour byte (TLineColour, modulo 8), a length byte and that many bytes.
//
// Invariants: the output is 7-bit ASCII, starts with "{\rtf1", ends with
// "}" and a line end, and its braces balance (the outer group closes at the
// very end and nowhere before). Read back, it holds the document: the font
// size, one paragraph per line in the line's colour (by the RGB of the
// colour table) and the line's text, with control bytes shown as '.'.
#include "FuzzSupport.h"

#include "viewers/RtfWriter.h"

#include <cstdlib>
#include <cstring>

using namespace quorlin;
using namespace quorlin::fuzz;

namespace {

/// A reader of the writer's output.
struct TRtfReader {
  const std::string& Text;
  size_t Pos = 0;

  bool Take(std::string_view s) {
    if (Text.compare(Pos, s.size(), s) != 0) return false;
    Pos += s.size();
    return true;
  }
  /// A decimal number, perhaps negative.
  long Number() {
    const size_t start = Pos;
    if (Pos < Text.size() && Text[Pos] == '-') ++Pos;
    while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9') ++Pos;
    FUZZ_CHECK(Pos > start, "a number expected at " + std::to_string(start));
    return std::strtol(Text.c_str() + start, nullptr, 10);
  }
  char Next() {
    FUZZ_CHECK(Pos < Text.size(), "the document ends early");
    return Text[Pos++];
  }
};

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
    return;
  }
  // The lead byte 110xxxxx, 1110xxxx or 11110xxx, then 10xxxxxx bytes.
  const int more = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
  out += static_cast<char>((0xFF00 >> (more + 1) & 0xFF) | code >> (6 * more));
  for (int k = more - 1; k >= 0; --k) out += static_cast<char>(0x80 | (code >> (6 * k) & 0x3F));
}

/// The text of one paragraph, up to and including its "\par" and line end.
std::string ReadParagraph(TRtfReader& r) {
  std::string text;
  for (;;) {
    const char c = r.Next();
    if (c != '\\') {
      FUZZ_CHECK(c != '\n' && c != '{' && c != '}', std::string("a bare character in a paragraph: ") + c);
      text += c;
      continue;
    }
    if (r.Take("par\n")) return text;
    if (r.Take("tab ")) {
      text += '\t';
    } else if (r.Take("'")) {
      const std::string hex = {r.Next(), r.Next()};
      text += static_cast<char>(std::strtol(hex.c_str(), nullptr, 16));
    } else if (r.Take("u")) {
      uint32_t unit = static_cast<uint16_t>(r.Number());
      FUZZ_CHECK(r.Take("?"), "a \\u without its replacement");
      if (unit >= 0xD800 && unit < 0xDC00) {
        FUZZ_CHECK(r.Take("\\u"), "a high surrogate alone");
        const uint32_t low = static_cast<uint16_t>(r.Number());
        FUZZ_CHECK(r.Take("?") && low >= 0xDC00 && low < 0xE000, "a bad low surrogate");
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      }
      AppendUtf8(text, unit);
    } else {
      const char quoted = r.Next();
      FUZZ_CHECK(quoted == '\\' || quoted == '{' || quoted == '}', std::string("unknown control: \\") + quoted);
      text += quoted;
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TOptionBytes bytes(data, size);
  TColouredDocument document;
  document.Name = "fuzz";
  document.FontSize = 1 + bytes.Byte() % 72;
  std::string_view rest = bytes.Rest;
  while (rest.size() >= 2) {
    const auto colour = static_cast<TLineColour>(static_cast<uint8_t>(rest[0]) % 8);
    const size_t len = std::min<size_t>(static_cast<uint8_t>(rest[1]), rest.size() - 2);
    document.Lines.push_back({std::string(rest.substr(2, len)), colour});
    rest.remove_prefix(2 + len);
  }

  const std::string rtf = WriteRtf(document);
  for (char c : rtf) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80, "a byte above 7 bits");
  FUZZ_CHECK(rtf.rfind("{\\rtf1", 0) == 0, "no rtf start");
  FUZZ_CHECK(rtf.size() >= 2 && rtf.compare(rtf.size() - 2, 2, "}\n") == 0, "no closing brace at the end");
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i; // an escaped character, or the first letter of a control word
      continue;
    }
    if (rtf[i] == '{') ++depth;
    if (rtf[i] == '}') --depth;
    FUZZ_CHECK(depth > 0 || i + 2 >= rtf.size(), "braces unbalanced at " + std::to_string(i));
  }
  FUZZ_CHECK(depth == 0, "braces unbalanced at the end");

  // Read it back: the colour table, the font size, then the paragraphs.
  TRtfReader r{rtf, rtf.find("{\\colortbl ;")};
  FUZZ_CHECK(r.Pos != std::string::npos, "no colour table");
  r.Take("{\\colortbl ;");
  std::vector<TRgb> table(1, TRgb{0, 0, 0});
  auto part = [&](const char* word) {
    FUZZ_CHECK(r.Take(word), std::string("colour table: ") + word);
    return static_cast<uint8_t>(r.Number());
  };
  while (!r.Take("}\n")) {
    table.push_back({part("\\red"), part("\\green"), part("\\blue")}); // a braced list takes them in order
    FUZZ_CHECK(r.Take(";"), "colour table");
  }
  FUZZ_CHECK(r.Take("\\viewkind4\\uc1\\pard\\f0\\fs"), "paragraph settings");
  FUZZ_CHECK(r.Number() == document.FontSize * 2 && r.Take("\n"), "font size");
  long colour = -1;
  for (const TColouredLine& line : document.Lines) {
    if (r.Take("\\cf")) {
      colour = r.Number();
      FUZZ_CHECK(r.Take(" "), "colour change");
    }
    FUZZ_CHECK(colour >= 1 && colour < static_cast<long>(table.size()), "colour index " + std::to_string(colour));
    FUZZ_CHECK(table[static_cast<size_t>(colour)] == ColourRgb(line.Colour), "the line's colour");
    std::string expected = line.Text;
    for (char& c : expected) {
      const auto u = static_cast<unsigned char>(c);
      if ((u < 0x20 && c != '\t') || u == 0x7F) c = '.';
    }
    const std::string text = ReadParagraph(r);
    FUZZ_CHECK(text == expected, "paragraph text '" + text + "', expected '" + expected + "'");
  }
  FUZZ_CHECK(r.Take("}\n") && r.Pos == rtf.size(), "trailing text after the paragraphs");
  return 0;
}
