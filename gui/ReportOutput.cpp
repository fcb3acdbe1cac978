#include "gui/ReportOutput.h"

#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "platform/AppDir.h"
#include "platform/OutputFile.h"
#include "state/Controls.h"
#include "viewers/PdfOutline.h"
#include "viewers/RtfWriter.h"

#include <QApplication>
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quorlin::gui {

std::optional<TSavePlan> AskSavePlan(TQtFrontEnd& ui, TUserSettings& settings, const QString& newFileName,
                                     const QString& oldFileName, bool appendBox) {
  const QString last = FromCore(settings.OutFn);
  QString start = QFileInfo(newFileName).absolutePath();
  if (!last.isEmpty() && QFileInfo(last).isFile()) start = QFileInfo(last).absoluteFilePath();
  const TFileChoice choice =
      ui.SaveFileDialog(SaveDialogTitle, start, SaveDialogFilter, 0, /*confirmOverwrite=*/!appendBox);
  if (choice.Path.isEmpty()) return std::nullopt;
  TSavePlan plan = PlanSave(ToCore(choice.Path), choice.Filter, appendBox,
                            [](const std::string& path) { return FileExists(path); }, ToCore(newFileName),
                            ToCore(oldFileName));
  if (!plan.Refusal.empty()) {
    ui.ShowMessage(plan.Refusal);
    return std::nullopt;
  }
  if (!plan.Question.empty() && !ui.Ask(plan.Question)) return std::nullopt;
  settings.OutFn = plan.Path;
  return plan;
}

bool SaveText(TQtFrontEnd& ui, const TSavePlan& plan, const std::function<void(const TReportLines&)>& report) {
  const std::string error = SaveTextReport(plan.Path, plan.Append, report);
  if (!error.empty()) ui.ShowMessage(error);
  return error.empty();
}

bool SaveHtml(TQtFrontEnd& ui, const std::string& path, const TResultView& view, const THtmlReport& report) {
  const std::string error = SaveHtmlReport(path, view, report);
  if (!error.empty()) ui.ShowMessage(error);
  return error.empty();
}

QFont PrinterFont(int points) { return PanelFont(points); }

int PrintPlainPages(QPrinter& printer, int fontSize, const TPageLayout& layout) {
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  QFont regular = PrinterFont(fontSize);
  QFont bold = regular;
  bold.setBold(true);
  const QFontMetrics boldMetrics(bold, &printer), regularMetrics(regular, &printer);
  TFontMetrics metrics;
  metrics.BoldCharWidth = boldMetrics.horizontalAdvance(QLatin1Char('X'));
  metrics.CharWidth = regularMetrics.horizontalAdvance(QLatin1Char('X'));
  metrics.LineHeight = regularMetrics.height();
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  metrics.PageWidth = page.width();
  metrics.PageHeight = page.height();
  int pages = 0;
  layout(metrics, [&](const TPrintPage& page) {
    if (pages++ > 0) printer.newPage();
    for (const TPlacedText& text : page) {
      painter.setFont(text.Bold ? bold : regular);
      // The layout places the top of a line; the painter draws on the baseline.
      const int ascent = text.Bold ? boldMetrics.ascent() : regularMetrics.ascent();
      painter.drawText(QPoint(text.X, text.Y + ascent), FromCore(text.Text));
    }
    if (pages % 4 == 0) QApplication::processEvents();
  });
  painter.end();
  return pages;
}

namespace {

void FillDocument(QTextDocument& document, const TColouredDocument& source, int fontSize) {
  document.setDefaultFont(PrinterFont(fontSize));
  document.setDocumentMargin(0);
  QTextCursor cursor(&document);
  QTextCharFormat format;
  format.setFont(PrinterFont(fontSize));
  bool first = true;
  for (const TColouredLine& line : source.Lines) {
    const TRgb rgb = ColourRgb(line.Colour);
    format.setForeground(QColor(rgb.R, rgb.G, rgb.B));
    if (!first) cursor.insertBlock();
    first = false;
    // Changed characters on the highlight of the rich-text report.
    QTextCharFormat marked = format;
    marked.setBackground(QColor(255, 240, 128));
    const std::string_view text = line.Text;
    size_t at = 0;
    for (const TCharRange& mark : line.Marks) {
      if (mark.From < at || mark.To > text.size()) continue;
      cursor.insertText(FromCore(text.substr(at, mark.From - at)), format);
      cursor.insertText(FromCore(text.substr(mark.From, mark.To - mark.From)), marked);
      at = mark.To;
    }
    cursor.insertText(FromCore(text.substr(at)), format);
  }
}

} // namespace

TColouredJobPrinter::TColouredJobPrinter(QPrinter& printer) : Printer(printer) {}
TColouredJobPrinter::~TColouredJobPrinter() { Finish(); }

void TColouredJobPrinter::Print(const TColouredDocument& job) {
  if (Failed) return;
  if (!Painter) {
    Printer.setDocName(FromCore(job.Name));
    Painter = std::make_unique<QPainter>();
    if (!Painter->begin(&Printer)) {
      Painter.reset();
      Failed = true;
      return;
    }
  } else {
    Printer.newPage();
  }
  // The job's pages as the printer measures them, drawn one by one, in the
  // font size asked for or, down to 6 points, one in which the longest line
  // fits the page, as plain print fits its lines.
  const QRect body = Printer.pageLayout().paintRectPixels(Printer.resolution());
  size_t longest = 0;
  for (const TColouredLine& line : job.Lines) longest = std::max(longest, ShownLength(line.Text));
  int size = job.FontSize;
  while (size > 6 && QFontMetrics(PrinterFont(size), &Printer).horizontalAdvance(QString(int(longest), 'X')) > body.width())
    --size;
  Smallest = Smallest == 0 ? size : std::min(Smallest, size);
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&Printer);
  FillDocument(document, job, size);
  document.setPageSize(QSizeF(body.width(), body.height()));
  Marks.emplace_back(job.Name, Pages);
  const int count = document.pageCount();
  for (int p = 0; p < count; ++p) {
    if (p > 0) Printer.newPage();
    Painter->save();
    Painter->translate(0, -p * body.height());
    document.drawContents(Painter.get(), QRectF(0, p * body.height(), body.width(), body.height()));
    Painter->restore();
  }
  Pages += count;
}

int TColouredJobPrinter::Finish() {
  if (!Painter) return 0;
  Painter->end();
  Painter.reset();
  // A PDF file gets a bookmark for each job, where its pages begin.
  const QString file = Printer.outputFileName();
  if (Printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
    QFile pdf(file);
    if (pdf.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = pdf.readAll();
      pdf.close();
      std::vector<TPdfBookmark> marks;
      for (const auto& [name, page] : Marks) marks.push_back({name, page});
      const std::string marked = AddPdfOutline(std::string_view(bytes.constData(), size_t(bytes.size())), marks);
      if (!marked.empty()) SaveWholeFile(ToCore(file), marked, true);
    }
  }
  return static_cast<int>(Marks.size());
}

namespace {

/// While a coloured build runs: Esc in its viewer and a request to close the
/// viewer act as Halt instead (the viewer must outlive the build).
class THaltOnClose final : public QObject {
public:
  THaltOnClose(QWidget* viewer, bool& halt) : Viewer(viewer), Halt(halt) { qApp->installEventFilter(this); }
  ~THaltOnClose() override { qApp->removeEventFilter(this); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool inViewer = watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == Viewer;
    const bool escape =
        event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (inViewer && (escape || (event->type() == QEvent::Close && watched == Viewer))) {
      Halt = true;
      event->ignore();
      return true;
    }
    return false;
  }

private:
  QWidget* Viewer;
  bool& Halt;
};

} // namespace

TColouredReport RunColouredBuild(TQtFrontEnd& ui, TBuildControls& controls, TColouredOptions options,
                                 const TColouredBuild& build) {
  controls.HaltRequested = false;
  const THaltOnClose guard(controls.Halt ? controls.Halt->window() : nullptr, controls.HaltRequested);
  options.MarkChanges = !controls.MarkChanges || controls.MarkChanges->isChecked();
  if (controls.Halt) controls.Halt->show();
  if (controls.Wait) controls.Wait->show();
  for (QWidget* w : controls.Disabled) w->setEnabled(false);
  QApplication::processEvents();
  bool blue = true;
  options.Halted = [&controls] { return controls.HaltRequested; };
  options.Tick = [&](int panel, int) {
    if (panel == 1 && controls.Wait) {
      blue = !blue;
      controls.Wait->setStyleSheet(ColourStyle(blue ? TLineColour::Blue : TLineColour::Red));
    }
    QApplication::processEvents();
  };
  TColouredReport report = build(options);
  if (controls.Wait) controls.Wait->hide();
  if (report.Halted) ui.ShowMessage(MsgColouredHalted);
  if (controls.Halt) controls.Halt->hide();
  for (QWidget* w : controls.Disabled) w->setEnabled(true);
  QApplication::processEvents();
  return report;
}

void PrintPlainListing(TQtFrontEnd& ui, int fontSize, const TPageLayout& layout) {
  QPrinter printer;
  if (ui.PrinterDialog(printer)) PrintPlainPages(printer, fontSize, layout);
}

void PrintColouredListing(TQtFrontEnd& ui, TBuildControls& controls, bool noRefNumbers, int fontSize,
                          const TColouredBuild& build) {
  QPrinter printer;
  if (!ui.PrinterDialog(printer)) return;
  TColouredOptions options;
  options.Mode = TReportMode::Print;
  options.NoRefNumbers = noRefNumbers;
  options.PrintFontSize = fontSize;
  TColouredJobPrinter jobs(printer);
  options.Send = [&jobs](TColouredDocument& job) { jobs.Print(job); };
  RunColouredBuild(ui, controls, options, build);
  jobs.Finish();
  if (jobs.FontSize() != 0 && jobs.FontSize() < fontSize)
    ui.ShowMessage("The coloured print used " + std::to_string(jobs.FontSize()) + " points instead of " +
                   std::to_string(fontSize) + ", so that its lines fit the page.");
}

void SaveColouredListing(TQtFrontEnd& ui, TBuildControls& controls, const std::string& path,
                         const TColouredBuild& build) {
  TColouredOptions options;
  options.Mode = TReportMode::Save;
  std::string error;
  RunColouredBuild(ui, controls, options, [&](const TColouredOptions& o) {
    TColouredReport report;
    error = SaveColouredReport(path, o, build, report.Halted);
    return report;
  });
  if (!error.empty()) ui.ShowMessage(error);
}

} // namespace quorlin::gui
