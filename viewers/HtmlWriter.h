// The viewers' report as one HTML page: what a browser shows without any
// other file, and what a mail or a review tool can hold.
#pragma once

#include "viewers/Reports.h"

#include <string>

namespace quorlin {

/// What an HTML report holds: the single viewer's listing, or the two panels
/// stacked or side by side (a two-column table); changed characters marked.
struct THtmlReport {
  bool TwoPanels = false;
  TSplitLayout Layout = TSplitLayout::Stacked;
  std::string Caption; ///< the single viewer's caption line
  bool MarkChanges = true;
};

/// Saves the report of view as one self-contained UTF-8 page (inline CSS, no
/// script) to path, written as it is built: the headings, every line in the
/// viewer's colour with its changed characters inside <mark>, then the
/// statistics section. Every character of a compared file is escaped, and
/// bytes that are not UTF-8 show as U+FFFD. Returns an empty string, or what
/// failed.
std::string SaveHtmlReport(const std::string& path, const TResultView& view, const THtmlReport& report);

/// A file name that asks for an HTML report: it ends in .html or .htm.
bool HtmlName(const std::string& path);

} // namespace quorlin
