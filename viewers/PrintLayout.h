// The page layout of a plain print, computed from the printer font's
// measurements so that it can be checked without a printer.
#pragma once

#include "viewers/LineModel.h"

#include <functional>
#include <string>
#include <vector>

namespace quorlin {

/// Measurements of the printer font, in device units.
struct TFontMetrics {
  int BoldCharWidth = 0; ///< width of a bold "X"
  int CharWidth = 0;     ///< width of a regular "X"
  int LineHeight = 0;    ///< height of a regular "X"
  int PageWidth = 0, PageHeight = 0;
};

struct TPlacedText {
  int X = 0, Y = 0;
  std::string Text;
  bool Bold = false;
};

using TPrintPage = std::vector<TPlacedText>;

/// Receives the pages of a print one at a time, as they are laid out: a
/// print of millions of lines never holds more than a page.
using TPageSink = std::function<void(const TPrintPage&)>;

/// Pages of the side-by-side viewer's plain print.
void LayoutTwoPanelPrint(const TResultView& view, const std::string& caption, bool noRefNumbers,
                         const TFontMetrics& metrics, const TPageSink& out);
/// Pages of the single viewer's plain print.
void LayoutSinglePrint(const TResultView& view, const std::string& caption, bool noRefNumbers,
                       const TFontMetrics& metrics, const TPageSink& out);


} // namespace quorlin
