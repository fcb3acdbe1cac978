#include "viewers/RtfWriter.h"

#include "platform/OutputFile.h"

#include <cstdio>

namespace quorlin {

namespace {

/// Index of a colour in the colour table written below (1-based; 0 is auto).
int ColourIndex(TLineColour colour) {
  switch (colour) {
  case TLineColour::Blue: return 2;
  case TLineColour::Red: return 3;
  case TLineColour::Teal: return 4;
  case TLineColour::Purple: return 5;
  case TLineColour::Maroon: return 6;
  case TLineColour::Green: return 7;
  default: return 1;
  }
}

/// Appends text escaped for RTF: braces and backslashes quoted, tabs as \tab,
/// UTF-8 sequences as \uN, other bytes from 0x80 up as \'hh, control bytes as '.'.
void AppendEscaped(std::string& out, std::string_view text) {
  char buf[24];
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c < 0x20 || c == 0x7F) {
      out += '.';
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // A well-formed UTF-8 sequence becomes one Unicode character.
      const int extra = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : 0;
      uint32_t code = c & (0x3F >> extra);
      bool ok = extra > 0 && i + static_cast<size_t>(extra) < text.size();
      for (int k = 1; ok && k <= extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        ok = (next & 0xC0) == 0x80;
        code = (code << 6) | (next & 0x3F);
      }
      // Overlong forms, surrogates and values past U+10FFFF are not characters.
      static constexpr uint32_t Least[4] = {0, 0x80, 0x800, 0x10000};
      if (ok && code >= Least[extra] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
        i += static_cast<size_t>(extra);
        auto unit = [&](uint32_t u) {
          std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(u)));
          out += buf;
        };
        if (code > 0xFFFF) {
          code -= 0x10000;
          unit(0xD800 + (code >> 10));
          unit(0xDC00 + (code & 0x3FF));
        } else {
          unit(code);
        }
      } else {
        std::snprintf(buf, sizeof buf, "\\'%02x", c);
        out += buf;
      }
    }
  }
}

} // namespace

std::string TRtfStream::Start(int fontSize) {
  Current = -1;
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\n"
      "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\n"
      "{\\colortbl ;";
  for (TLineColour c : {TLineColour::Black, TLineColour::Blue, TLineColour::Red, TLineColour::Teal,
                        TLineColour::Purple, TLineColour::Maroon, TLineColour::Green}) {
    const TRgb rgb = ColourRgb(c);
    char buf[48];
    std::snprintf(buf, sizeof buf, "\\red%d\\green%d\\blue%d;", rgb.R, rgb.G, rgb.B);
    out += buf;
  }
  out += "\\red255\\green240\\blue128;"; // 8: the highlight of changed characters
  out += "}\n\\viewkind4\\uc1\\pard\\f0\\fs" + std::to_string(fontSize * 2) + "\n";
  return out;
}

std::string TRtfStream::Lines(const std::vector<TColouredLine>& lines) {
  std::string out;
  for (const TColouredLine& line : lines) {
    const int colour = ColourIndex(line.Colour);
    if (colour != Current) {
      out += "\\cf" + std::to_string(colour) + " ";
      Current = colour;
    }
    // Changed characters on the highlight, the rest as it is.
    size_t at = 0;
    for (const TCharRange& mark : line.Marks) {
      if (mark.From < at || mark.To > line.Text.size()) continue;
      AppendEscaped(out, std::string_view(line.Text).substr(at, mark.From - at));
      out += "{\\highlight8 ";
      AppendEscaped(out, std::string_view(line.Text).substr(mark.From, mark.To - mark.From));
      out += "}";
      at = mark.To;
    }
    AppendEscaped(out, std::string_view(line.Text).substr(at));
    out += "\\par\n";
  }
  return out;
}

std::string WriteRtf(const TColouredDocument& document) {
  TRtfStream rtf;
  return rtf.Start(document.FontSize) + rtf.Lines(document.Lines) + TRtfStream::End();
}

std::string SaveColouredReport(const std::string& path, TColouredOptions options,
                               const std::function<TColouredReport(const TColouredOptions&)>& build, bool& halted) {
  TWholeFile file;
  if (std::string error = file.Open(path); !error.empty()) return error;
  TRtfStream rtf;
  bool started = false, complete = false;
  options.Send = [&](TColouredDocument& piece) {
    if (!started) file.Write(rtf.Start(piece.FontSize));
    started = true;
    file.Write(rtf.Lines(piece.Lines));
    complete = piece.Final;
  };
  halted = build(options).Halted;
  if (!complete) return {}; // the file is dropped with TWholeFile
  file.Write(TRtfStream::End());
  return file.Commit();
}

} // namespace quorlin
