#include "viewers/HtmlWriter.h"

#include "listing/Listing.h"
#include "platform/OutputFile.h"
#include "platform/Text.h"

#include <cstdio>

namespace quorlin {

namespace {

constexpr const char* Product = "Quorlin";

/// Appends text as HTML: valid UTF-8 (U+FFFD for other bytes), markup
/// characters as entities, control characters as '.'.
void AppendHtml(std::string& out, std::string_view text) {
  std::string shown;
  AppendShownUtf8(shown, text);
  for (char c : shown) {
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    default:
      out += static_cast<unsigned char>(c) < 0x20 && c != '\t' ? '.' : c;
    }
  }
}

/// Appends one line of text in its colour, with its marks inside <mark>.
void AppendLine(std::string& out, std::string_view text, TLineColour colour, const TCharRanges& marks) {
  out += "<span class=\"";
  out += ColourName(colour);
  out += "\">";
  size_t at = 0;
  for (const TCharRange& mark : marks) {
    if (mark.From < at || mark.To > text.size()) continue;
    AppendHtml(out, text.substr(at, mark.From - at));
    out += "<mark>";
    AppendHtml(out, text.substr(mark.From, mark.To - mark.From));
    out += "</mark>";
    at = mark.To;
  }
  AppendHtml(out, text.substr(at));
  out += "</span>";
}

std::string Head(const std::string& title) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtml(out, title);
  out += "</title>\n<style>\n"
         "body { background: #ffffff; color: #000000; }\n"
         "pre, td { font-family: \"Courier New\", monospace; font-size: 10pt; white-space: pre; margin: 0; }\n"
         "table { border-collapse: collapse; }\n"
         "td { vertical-align: top; padding: 0 1em 0 0; }\n"
         "mark { background: #fff080; color: inherit; }\n";
  for (int c = 0; c <= static_cast<int>(TLineColour::Navy); ++c) {
    const auto colour = static_cast<TLineColour>(c);
    const TRgb rgb = ColourRgb(colour);
    char rule[96];
    std::snprintf(rule, sizeof rule, ".%s { color: #%02x%02x%02x; }\n", ColourName(colour), rgb.R, rgb.G, rgb.B);
    out += rule;
  }
  return out + "</style>\n</head>\n<body>\n";
}

} // namespace

bool HtmlName(const std::string& path) {
  const std::string lower = LowerAscii(path);
  return lower.ends_with(".html") || lower.ends_with(".htm");
}

std::string SaveHtmlReport(const std::string& path, const TResultView& view, const THtmlReport& report) {
  TWholeFile file;
  if (std::string error = file.Open(path); !error.empty()) return error;
  TRowMarks marks(view);
  std::string out;
  auto flush = [&] {
    if (out.size() > (1 << 16)) file.Write(out), out.clear();
  };
  // One row of a panel as the viewer shows it: its text, colour and marks.
  auto row = [&](TPanelRule rule, long i) {
    std::string text;
    DisplayText(view, rule, i, text);
    AppendLine(out, text, LineColour(view, rule, i),
               report.MarkChanges && i < view.StatsFirstLine ? marks.DisplayMarks(rule, i) : TCharRanges());
  };
  auto plain = [&](const std::string& text, TLineColour colour) {
    AppendLine(out, text, colour, {});
    out += "\n";
  };
  const long stats = view.StatsFirstLine;
  const long count1 = static_cast<long>(view.Panel1->size()), count2 = static_cast<long>(view.Panel2->size());
  if (!report.TwoPanels) {
    out += Head(report.Caption) + "<pre>\n";
    plain(report.Caption, TLineColour::Red);
    for (long i = 0; i < count1; ++i, flush()) row(TPanelRule::Single, i), out += "\n";
  } else if (report.Layout == TSplitLayout::Stacked) {
    const std::string title = std::string(Product) + " Double-Stacked Compare Report  " + view.RunStamp;
    out += Head(title) + "<pre>\n";
    plain(title, TLineColour::Blue);
    plain(" Panel 1 -- New Source Matches + Inserts", TLineColour::Red);
    for (long i = 0; i < std::max(1L, stats); ++i, flush()) row(TPanelRule::NewSide, i), out += "\n";
    plain(" ", TLineColour::Normal);
    plain(" Panel 2 -- New Source Matches + Deletes", TLineColour::Red);
    for (long i = 0; i < std::max(1L, count2); ++i, flush()) row(TPanelRule::OldSide, i), out += "\n";
  } else {
    const std::string title = std::string(Product) + " Insert and Delete Side-By-Side Report  " + view.RunStamp;
    out += Head(title) + "<pre>";
    AppendLine(out, title, TLineColour::Blue, {});
    out += "</pre>\n<table>\n<tr><td>";
    AppendLine(out, " Panel 1 -- New Source Matches + Inserts", TLineColour::Red, {});
    out += "</td><td>";
    AppendLine(out, " Panel 2 -- New Source Matches + Deletes", TLineColour::Red, {});
    out += "</td></tr>\n";
    for (long i = 0; i < std::max(stats, count2); ++i, flush()) {
      out += "<tr><td>";
      if (i < stats) row(TPanelRule::NewSide, i);
      out += "</td><td>";
      if (i < count2) row(TPanelRule::OldSide, i);
      out += "</td></tr>\n";
    }
    out += "</table>\n<pre>\n";
  }
  if (report.TwoPanels)
    for (long i = stats; i < count1; ++i, flush()) row(TPanelRule::NewSide, i), out += "\n";
  out += "</pre>\n</body>\n</html>\n";
  file.Write(out);
  return file.Commit();
}

} // namespace quorlin
