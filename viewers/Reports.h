// Reports of the result viewers as data: plain text reports, coloured
// documents (print jobs or the document to save as rich text) and the pages
// of a plain print. The desktop program only hands them to the printer or
// writes them out.
#pragma once

#include "viewers/ChangedChars.h"
#include "viewers/LineModel.h"

#include <functional>
#include <string>
#include <vector>

namespace quorlin {

/// The viewers' window captions (the version string, the title, the run stamp).
std::string DualViewerCaption(const std::string& runStamp);
std::string SingleViewerCaption(const std::string& runStamp);
/// The header row of a viewer panel: the base text of the panel's rule, then
/// the ruler's continuation to the longer longest line (at most 128) with
/// Fscl, else the reference-column captions of a Clnc or an ordered listing.
std::string ViewerHeader(const TResultView& view, TPanelRule rule);

// --- Text reports -----------------------------------------------------------

/// Widths of the two-panel text reports: w1 (new side) and w2 (old side).
struct TSplitWidths {
  int W1 = 90, W2 = 90;
  int Stacked() const { return W1 > W2 ? W1 : W2; }
  int SideBySide() const { return W1 + W2 + 2; }
};
TSplitWidths SplitWidths(const TResultView& view);
/// Captions of the save-layout dialog's two length labels.
std::string StackedLengthCaption(const TSplitWidths& widths);
std::string SideBySideLengthCaption(const TSplitWidths& widths);

enum class TSplitLayout { Stacked, SideBySide };

/// Receives the lines of a text report one at a time, as they are made: a
/// report of a listing of millions of lines is never held whole.
using TReportLines = std::function<void(std::string_view line)>;

/// The single viewer's text report: a blank line, the caption, every display line.
void WriteSingleTextReport(const TResultView& view, const std::string& caption, const TReportLines& out);
/// The side-by-side viewer's text report in the chosen layout; title, when
/// not empty, is the first line.
void WriteTwoPanelTextReport(const TResultView& view, TSplitLayout layout, const std::string& title,
                             const TReportLines& out);
/// Saves the lines that report makes, each ended by LF, as they are made:
/// appended to path, or as a new file that takes the place of path only
/// when it is complete. Returns an empty string, or the message.
std::string SaveTextReport(const std::string& path, bool append, const std::function<void(const TReportLines&)>& report);

// --- Save As ------------------------------------------------------------------

inline constexpr const char* SaveDialogTitle = "Save Compare Results";
inline constexpr const char* SaveDialogFilter =
    "Any File (*.*)|*.*|Text File (*.Txt)|*.txt|RTF Color File (*.Rtf)|*.Rtf|HTML File (*.html)|*.html";
/// The filters of the save dialog, by their place in SaveDialogFilter.
enum TSaveFilter : int { FilterAny, FilterText, FilterRtf, FilterHtml };

/// What Save As does with the name chosen in the save dialog.
struct TSavePlan {
  std::string Path;     ///< the name, with ".Rtf", ".html" or ".Txt" added when it had no extension
  bool Rtf = false;     ///< a coloured rich-text report (the extension is .rtf in any case)
  bool Html = false;    ///< an HTML report (.html or .htm in any case)
  bool Append = false;  ///< a text report appended to the existing file
  std::string Question; ///< when not empty: ask it (Yes/No) and stop on No
  std::string Refusal;  ///< when not empty: show it and save nothing (the name is a compared file)
};

/// Save As after the dialog: filter is the filter selected (a name without
/// an extension takes the RTF or HTML filter's), appendBox the viewer's
/// append box; exists(path) whether a file
/// is there. The dialog itself asked about overwriting unless appendBox is set.
/// newFile and oldFile are the compared files, which a report never replaces.
TSavePlan PlanSave(const std::string& chosen, int filter, bool appendBox,
                   const std::function<bool(const std::string&)>& exists, const std::string& newFile = {},
                   const std::string& oldFile = {});

// --- Coloured reports ---------------------------------------------------------

struct TColouredLine {
  std::string Text;
  TLineColour Colour;
  TCharRanges Marks = {}; ///< changed characters of Text (byte offsets), highlighted
};

/// One coloured document: a print job (with its job name) or the whole
/// report to be saved as rich text. FontSize is in points.
struct TColouredDocument {
  std::string Name;
  int FontSize = 8;
  std::vector<TColouredLine> Lines;
  bool Final = false; ///< the last document of the report (the one Jobs ends with)
};

enum class TReportMode { Print, Save };

/// Lines of a print job before the document is sent and cleared.
inline constexpr int LinesPerPrintJob = 600;
/// Lines of a piece of a report being saved that is handed on (Send).
inline constexpr size_t SavePieceLines = 2000;

struct TColouredOptions {
  TReportMode Mode = TReportMode::Save;
  bool NoRefNumbers = false; ///< "Prt No Ref#": leave reference numbers out of printed output
  int PrintFontSize = 8;
  bool MarkChanges = true; ///< the changed characters of changed lines are marked ("Chg Chars")
  /// Polled after every line: true stops the build (the Halt button).
  std::function<bool()> Halted;
  /// Called every 50 lines of a panel (1 or 2) so the front end can process
  /// pending events; the wait label changes colour during panel 1 only.
  std::function<void(int panel, int lines)> Tick;
  /// When set, what is built goes here at once instead of into Jobs, so that
  /// the report is never held whole: each print job as soon as it is
  /// complete, and in save mode the document in pieces of SavePieceLines
  /// lines. The last document (Final) comes only when the report ends; a
  /// two-panel build halted in its first panel never sends it.
  std::function<void(TColouredDocument& piece)> Send;
};

struct TColouredReport {
  /// Print jobs in order; in save mode the one document to save. A halted
  /// print, and a two-panel build halted in its first panel, deliver nothing
  /// beyond the jobs already sent.
  std::vector<TColouredDocument> Jobs;
  bool Halted = false;
};

/// The halt message shown when a coloured build was stopped.
inline constexpr const char* MsgColouredHalted =
    " User requested termination of \"Colored Saving or Print\" operation.";

/// The side-by-side viewer's coloured report: title, panel 1 with reference
/// numbers, panel 2, then the statistics.
TColouredReport BuildTwoPanelColoured(const TResultView& view, const TColouredOptions& options);
/// The single viewer's coloured report.
TColouredReport BuildSingleColoured(const TResultView& view, const std::string& caption,
                                    const TColouredOptions& options);

// --- Legend -----------------------------------------------------------------------

struct TLegendRow {
  const char* Flag;
  TLineColour Colour;
  const char* Explanation;
};
/// The rows of the change-flag legend window, in order.
const std::vector<TLegendRow>& ChangeFlagLegend();

} // namespace quorlin
