// Rich text (RTF) for coloured reports: what word processors open.
#pragma once

#include "viewers/Reports.h"

#include <string>

namespace quorlin {

/// A coloured document as rich text: Courier New, a colour table, the colour
/// changed before each line whose colour differs from the line before, and
/// changed characters on a highlight.
std::string WriteRtf(const TColouredDocument& document);

/// Rich text written in pieces, as WriteRtf writes it whole: Start, then the
/// lines of each piece, then End.
class TRtfStream {
public:
  std::string Start(int fontSize);
  std::string Lines(const std::vector<TColouredLine>& lines);
  static std::string End() { return "}\n"; }

private:
  int Current = -1; ///< colour index of the last line written
};

/// Saves the coloured report that build makes (given options, with its Send
/// taken over) as rich text to path while it is built, so that memory stays
/// bounded: the text goes to a new file beside path, which takes its name
/// when the report is complete. A build that ends without its last document
/// (halted in its first panel) leaves no file and an earlier one as it was.
/// Returns an empty string, or what failed; halted tells whether the build
/// was stopped.
std::string SaveColouredReport(const std::string& path, TColouredOptions options,
                               const std::function<TColouredReport(const TColouredOptions&)>& build, bool& halted);

} // namespace quorlin
