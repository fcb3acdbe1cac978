#include "viewers/LineModel.h"

#include "engine/CompareTypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace quorlin {

namespace {

constexpr std::string_view Product = "Quorlin ";
constexpr std::string_view NotShownMarker = "   ************* ";

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

/// Rules 6 to 10 of the two-panel colour rules: heading and statistics lines.
bool HeadingColour(std::string_view s, TLineColour& colour) {
  std::string_view first10 = s.substr(0, 10);
  if (first10 == "New File =") colour = TLineColour::Blue;
  else if (first10 == "ID  ----+-") colour = TLineColour::Purple;
  else if (first10 == "Old File =") colour = TLineColour::Red;
  else if (StartsWith(s, Product)) colour = TLineColour::Red;
  else if (first10 == "LISTING-TY") colour = TLineColour::Red;
  else return false;
  return true;
}

} // namespace

TRgb ColourRgb(TLineColour colour) {
  switch (colour) {
  case TLineColour::Blue: return {0, 0, 255};
  case TLineColour::Red: return {255, 0, 0};
  case TLineColour::Teal: return {0, 128, 128};
  case TLineColour::Purple: return {128, 0, 128};
  case TLineColour::Maroon: return {128, 0, 0};
  case TLineColour::Green: return {0, 128, 0};
  case TLineColour::Navy: return {0, 0, 128};
  default: return {0, 0, 0};
  }
}

const char* ColourName(TLineColour colour) {
  switch (colour) {
  case TLineColour::Blue: return "blue";
  case TLineColour::Red: return "red";
  case TLineColour::Teal: return "teal";
  case TLineColour::Purple: return "purple";
  case TLineColour::Maroon: return "maroon";
  case TLineColour::Green: return "green";
  case TLineColour::Normal: return "normal";
  case TLineColour::Navy: return "navy";
  default: return "black";
  }
}

namespace {

double Luminance(TRgb c) {
  auto channel = [](uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.R) + 0.7152 * channel(c.G) + 0.0722 * channel(c.B);
}

} // namespace

double ContrastRatio(TRgb a, TRgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TRgb ShownRgb(TLineColour colour, TRgb background, TRgb text) {
  const bool dark = Luminance(background) < 0.18;
  if (colour == TLineColour::Normal || (colour == TLineColour::Black && dark)) return text;
  const TRgb designed = ColourRgb(colour);
  const uint8_t towards = dark ? 255 : 0;
  TRgb shown = designed;
  for (int step = 1; step <= 20 && ContrastRatio(shown, background) < MinContrast; ++step) {
    auto mix = [&](uint8_t v) { return static_cast<uint8_t>(v + (towards - v) * step / 20); };
    shown = {mix(designed.R), mix(designed.G), mix(designed.B)};
  }
  return shown;
}

TResultView MakeResultView(const TAppState& app) {
  TResultView view;
  view.Panel1 = &app.Panel1Lines;
  view.Panel2 = &app.Panel2Lines;
  view.StatsFirstLine = app.StatsFirstLine;
  view.RunStamp = app.RunStamp;
  if (const TCompareCtl* ctl = app.CompareCtl.get()) {
    view.Clnc = ctl->OptClnc;
    view.ListChng = ctl->ListChng;
    view.Fscl = ctl->OptFscl;
    view.NewLongest = ctl->NewLongest;
    view.OldLongest = ctl->OldLongest;
    view.Icas = ctl->OptIcas;
    view.NewColumns = ctl->NewColumns;
    view.OldColumns = ctl->OldColumns;
    // No statistics section: number every line but the closing result message.
    if (ctl->OptNoss) view.StatsFirstLine = std::max(0, static_cast<int>(app.Panel1Lines.size()) - 1);
  }
  // The statistics start is kept from the last run that wrote a section; a
  // later run halted before its statistics has a shorter list.
  view.StatsFirstLine = std::min(view.StatsFirstLine, static_cast<int>(app.Panel1Lines.size()));
  return view;
}

bool InNewSideTags(std::string_view flag) {
  return std::find(NewSideTags.begin(), NewSideTags.end(), flag) != NewSideTags.end();
}

bool InOldSideTags(std::string_view flag) {
  return std::find(OldSideTags.begin(), OldSideTags.end(), flag) != OldSideTags.end();
}

int HeadingLead(const TResultView& view, TPanelRule rule) {
  return rule != TPanelRule::Single && view.Clnc ? 3 : 2;
}

const TStringList& PanelList(const TResultView& view, TPanelRule rule) {
  return rule == TPanelRule::OldSide ? *view.Panel2 : *view.Panel1;
}

void DisplayText(const TResultView& view, TPanelRule rule, long i, std::string& out) {
  const TStringList& list = PanelList(view, rule);
  out.clear();
  char digits[24];
  if (i < 0 || static_cast<size_t>(i) >= list.size()) {
    const char* what = rule == TPanelRule::NewSide   ? "Invalid index"
                       : rule == TPanelRule::OldSide ? "Improper index"
                                                     : "Negative index";
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, i);
    (void)ec;
    out.append("*** ").append(what).append(" \"").append(digits, end).append("\" to GetItem ***");
    return;
  }
  const std::string_view s = list[static_cast<size_t>(i)];
  const int lead = HeadingLead(view, rule);
  const bool numbered = lead < i && i < view.StatsFirstLine;
  if (numbered) {
    // "%4d  ": right-aligned in four columns (wider numbers widen it), two blanks.
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, i - lead);
    (void)ec;
    const size_t len = static_cast<size_t>(end - digits);
    if (len < 4) out.append(4 - len, ' ');
    out.append(digits, end).append("  ");
  } else {
    out.push_back(' ');
  }
  if (numbered && !view.Fscl)
    AppendAligned(out, s);
  else
    out.append(s);
}

TRefNumbers RefNumbers(std::string_view s) {
  constexpr size_t Refs = 84;
  if (s.size() <= Refs + 1 || s[Refs] != ' ' || s.substr(0, 4) == "   *") return {};
  size_t at = Refs + 1;
  auto number = [&] {
    long value = 0;
    const size_t first = at;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9' && at - first < 10) value = value * 10 + (s[at++] - '0');
    return value;
  };
  TRefNumbers refs;
  refs.First = number();
  if (refs.First == 0) at += 5;
  at += 14;
  refs.Second = number();
  return refs;
}

void ShownText(const TResultView& view, TPanelRule rule, long i, std::string& out) {
  std::string raw;
  DisplayText(view, rule, i, raw);
  out.clear();
  AppendShownUtf8(out, raw);
}

namespace {
constexpr size_t FieldStart = 4;  ///< the text field follows the four-character line ID
constexpr size_t FieldBytes = 80; ///< the text field of a listing line without Fscl
} // namespace

void AppendAligned(std::string& out, std::string_view line) {
  if (line.size() <= FieldStart + FieldBytes) {
    out.append(line);
    return;
  }
  const std::string_view field = line.substr(FieldStart, FieldBytes);
  // Eight bytes at a time: every row of a listing passes here.
  uint64_t high = 0;
  for (size_t k = 0; k < FieldBytes; k += 8) {
    uint64_t word;
    std::memcpy(&word, field.data() + k, 8);
    high |= word;
  }
  if ((high & 0x8080808080808080ull) == 0) {
    out.append(line);
    return;
  }
  out.append(line.substr(0, FieldStart + FieldBytes));
  out.append(FieldBytes - ShownLength(field), ' ');
  out.append(line.substr(FieldStart + FieldBytes));
}

size_t CharBytes(std::string_view text, size_t at) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(at);
  if (c < 0x80) return 1;
  // Expected length, and the range of the second byte (which rules out
  // overlong forms, surrogates and values past U+10FFFF).
  size_t need = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) need = 2;
  else if (c == 0xE0) need = 3, low = 0xA0;
  else if (c >= 0xE1 && c <= 0xEC) need = 3;
  else if (c == 0xED) need = 3, high = 0x9F;
  else if (c >= 0xEE && c <= 0xEF) need = 3;
  else if (c == 0xF0) need = 4, low = 0x90;
  else if (c >= 0xF1 && c <= 0xF3) need = 4;
  else if (c == 0xF4) need = 4, high = 0x8F;
  else return 1;
  size_t n = 1;
  for (; n < need && at + n < text.size(); ++n) {
    const unsigned char next = byte(at + n);
    if (n == 1 ? (next < low || next > high) : (next & 0xC0) != 0x80) break;
  }
  return n;
}

size_t ShownLength(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += CharBytes(text, at)) ++count;
  return count;
}

std::string_view ShownPrefix(std::string_view text, size_t count) {
  size_t at = 0;
  for (; at < text.size() && count > 0; --count) at += CharBytes(text, at);
  return text.substr(0, at);
}

void AppendShownUtf8(std::string& out, std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t n = CharBytes(text, at);
    const unsigned char c = static_cast<unsigned char>(text[at]);
    // A sequence is whole when its lead byte asks for exactly n bytes.
    const size_t need = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (n == need && (c < 0x80 || c >= 0xC2))
      out.append(text.substr(at, n));
    else
      out.append("\xEF\xBF\xBD"); // U+FFFD
    at += n;
  }
}

std::string DisplayText(const TResultView& view, TPanelRule rule, long i) {
  std::string out;
  DisplayText(view, rule, i, out);
  return out;
}

TLineColour LineColour(const TResultView& view, TPanelRule rule, long i) {
  const TStringList& list = PanelList(view, rule);
  if (i < 0 || static_cast<size_t>(i) >= list.size()) return TLineColour::Green;
  const std::string_view s = list[static_cast<size_t>(i)];
  const std::string_view flag = ChangeFlag(s);
  TLineColour colour = TLineColour::Black;

  switch (rule) {
  case TPanelRule::NewSide:
    if (s.size() <= 3) return TLineColour::Black;
    if (flag == "I -" || flag == "IM-" || flag == "XN-") return TLineColour::Blue;
    if (flag == "RN-" || flag == "XR-") return TLineColour::Teal;
    if (s.size() < 11) return TLineColour::Black;
    if (HeadingColour(s, colour)) return colour;
    if (view.ListChng && StartsWith(s, NotShownMarker)) return TLineColour::Red;
    return TLineColour::Black;

  case TPanelRule::OldSide: {
    if (s.size() <= 3) return TLineColour::Normal;
    if (flag == "D -" || flag == "DM-" || flag == "XO-") return TLineColour::Red;
    if (flag == "RO-" || flag == "XR-") return TLineColour::Maroon;
    if (s.size() < 11) return TLineColour::Black;
    if (HeadingColour(s, colour)) return colour;
    const TStringList& left = *view.Panel1;
    if (view.ListChng && static_cast<size_t>(i) < left.size() &&
        StartsWith(left[static_cast<size_t>(i)], NotShownMarker))
      return TLineColour::Red;
    return TLineColour::Black;
  }

  case TPanelRule::Single:
    if (flag == "D -" || flag == "DM-" || flag == "RO-") return TLineColour::Red;
    if (flag == "I -" || flag == "IM-" || flag == "RN-") return TLineColour::Blue;
    {
      std::string_view first10 = s.substr(0, 10);
      if (first10 == "New File =") return TLineColour::Blue;
      if (first10 == "Old File =") return TLineColour::Red;
      if (first10 == "LISTING-TY") return TLineColour::Red;
    }
    if (StartsWith(s, Product)) return TLineColour::Red;
    if (view.ListChng && StartsWith(s, NotShownMarker)) return TLineColour::Red;
    return TLineColour::Black;
  }
  return TLineColour::Black;
}

} // namespace quorlin
