// Save and print from the viewers: the Save As dialog and its plan, plain
// pages drawn from the core's page layout, coloured print jobs rendered one
// colour per line, and a coloured build with its Halt button and wait label.
// The reports themselves come from the core.
#pragma once

#include "viewers/PrintLayout.h"
#include "viewers/HtmlWriter.h"
#include "viewers/Reports.h"

#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QCheckBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QWidget;

namespace quorlin {
struct TUserSettings;
}

namespace quorlin::gui {

class TQtFrontEnd;

/// Places a listing's pages for the printer font's measures.
using TPageLayout = std::function<void(const TFontMetrics&, const TPageSink&)>;
/// Builds a listing's coloured documents.
using TColouredBuild = std::function<TColouredReport(const TColouredOptions&)>;

/// Save As up to the point of writing: the dialog (starting at the last
/// saved file when it still exists, else in the New file's folder), the
/// extension rule, the refusal of a compared file and the overwrite
/// question. Returns the plan, or nothing when the user cancelled, refused
/// to replace the file or chose a compared file. LastSavePath is updated,
/// with the extension the plan added, when the plan goes ahead.
std::optional<TSavePlan> AskSavePlan(TQtFrontEnd& ui, TUserSettings& settings, const QString& newFileName,
                                     const QString& oldFileName, bool appendBox);

/// Saves the text report that report makes (SaveTextReport); shows what
/// went wrong and returns false on failure.
bool SaveText(TQtFrontEnd& ui, const TSavePlan& plan, const std::function<void(const TReportLines&)>& report);
/// Writes the HTML report (SaveHtmlReport); shows what went wrong.
bool SaveHtml(TQtFrontEnd& ui, const std::string& path, const TResultView& view, const THtmlReport& report);

/// The printer font of the plain and coloured prints at size points.
QFont PrinterFont(int points);

/// Plain print: measures the printer font, lets layout place the pages and
/// draws them. Returns the number of pages (0 when printing failed).
int PrintPlainPages(QPrinter& printer, int fontSize, const TPageLayout& layout);

/// Coloured print: each job is printed as it comes, one colour per line, on
/// pages of its own, all into one document (one PDF file when the printer
/// writes one, with a bookmark for each job's name).
class TColouredJobPrinter {
public:
  explicit TColouredJobPrinter(QPrinter& printer);
  ~TColouredJobPrinter();
  /// Prints job; the first job names the document.
  void Print(const TColouredDocument& job);
  /// Ends the document. Returns the number of jobs printed.
  int Finish();
  /// The smallest font size a job was printed in (0 before any).
  int FontSize() const { return Smallest; }

private:
  QPrinter& Printer;
  std::unique_ptr<QPainter> Painter;
  bool Failed = false; ///< the printer could not be started
  int Smallest = 0;
  int Pages = 0;                                    ///< pages printed so far
  std::vector<std::pair<std::string, int>> Marks;   ///< job names and their first pages (0-based)
};

/// The controls of a viewer that a coloured build uses: Halt (shown while it
/// runs), the wait label (shown, alternating blue and red) and the buttons
/// that are disabled meanwhile.
struct TBuildControls {
  QPushButton* Halt = nullptr;
  QLabel* Wait = nullptr;
  QList<QWidget*> Disabled;
  bool HaltRequested = false;
  const QCheckBox* MarkChanges = nullptr; ///< the viewer's Chg Chars box: marks in its reports
};

/// Runs build with the options' Halted and Tick hooked to the controls:
/// pending events are processed every 50 lines so Halt is served; Esc and
/// the close of the viewer act as Halt meanwhile, so that no build outlives
/// the lists it reads. Shows the halt message when the build was stopped.
TColouredReport RunColouredBuild(TQtFrontEnd& ui, TBuildControls& controls, TColouredOptions options,
                                 const TColouredBuild& build);

/// A viewer's Print button: the printer dialog, then the plain pages that
/// layout places at fontSize points.
void PrintPlainListing(TQtFrontEnd& ui, int fontSize, const TPageLayout& layout);
/// A viewer's Color button: the printer dialog, then the coloured build,
/// each job printed as soon as it is built (Halt served until the last).
void PrintColouredListing(TQtFrontEnd& ui, TBuildControls& controls, bool noRefNumbers, int fontSize,
                          const TColouredBuild& build);
/// Save As with the rich-text type: the coloured build written to path as it
/// is built (SaveColouredReport).
void SaveColouredListing(TQtFrontEnd& ui, TBuildControls& controls, const std::string& path,
                         const TColouredBuild& build);

} // namespace quorlin::gui
