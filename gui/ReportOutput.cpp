#include "gui/ReportOutput.h"

#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "platform/AppDir.h"
#include "platform/OutputFile.h"
#include "state/Controls.h"
#include "viewers/RtfWriter.h"

#include <QApplication>
#include <QFileInfo>
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
  TSavePlan plan = PlanSave(ToCore(choice.Path), choice.Filter == 2, appendBox,
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

bool SaveText(TQtFrontEnd& ui, const TSavePlan& plan, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).append("\n");
  const std::string error = SaveWholeFile(plan.Path, bytes, plan.Append);
  if (!error.empty()) ui.ShowMessage(error);
  return error.empty();
}

bool SaveRtf(TQtFrontEnd& ui, const std::string& path, const TColouredDocument& document) {
  const std::string error = SaveWholeFile(path, WriteRtf(document), false);
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
  const std::vector<TPrintPage> pages = layout(metrics);
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) printer.newPage();
    for (const TPlacedText& text : pages[p]) {
      painter.setFont(text.Bold ? bold : regular);
      // The layout places the top of a line; the painter draws on the baseline.
      const int ascent = text.Bold ? boldMetrics.ascent() : regularMetrics.ascent();
      painter.drawText(QPoint(text.X, text.Y + ascent), FromCore(text.Text));
    }
    if (p % 4 == 3) QApplication::processEvents();
  }
  painter.end();
  return static_cast<int>(pages.size());
}

namespace {

void FillDocument(QTextDocument& document, const TColouredDocument& source) {
  document.setDefaultFont(PrinterFont(source.FontSize));
  document.setDocumentMargin(0);
  QTextCursor cursor(&document);
  QTextCharFormat format;
  format.setFont(PrinterFont(source.FontSize));
  bool first = true;
  for (const TColouredLine& line : source.Lines) {
    const TRgb rgb = ColourRgb(line.Colour);
    format.setForeground(QColor(rgb.R, rgb.G, rgb.B));
    if (!first) cursor.insertBlock();
    first = false;
    cursor.insertText(FromCore(line.Text), format);
  }
}

QString NumberedFile(const QString& path, int number) {
  if (number <= 1) return path;
  const QFileInfo info(path);
  const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
  return info.path() + "/" + info.completeBaseName() + QString("-%1").arg(number) + suffix;
}

} // namespace

void PrintColouredJobs(QPrinter& printer, const std::vector<TColouredDocument>& jobs) {
  const QString file = printer.outputFileName();
  int number = 0;
  for (const TColouredDocument& job : jobs) {
    QTextDocument document;
    FillDocument(document, job);
    printer.setDocName(FromCore(job.Name));
    if (!file.isEmpty()) printer.setOutputFileName(NumberedFile(file, ++number));
    document.print(&printer);
    QApplication::processEvents();
  }
  if (!file.isEmpty()) printer.setOutputFileName(file);
}

TColouredReport RunColouredBuild(TQtFrontEnd& ui, TBuildControls& controls, TColouredOptions options,
                                 const TColouredBuild& build) {
  controls.HaltRequested = false;
  if (controls.Halt) controls.Halt->show();
  if (controls.Wait) controls.Wait->show();
  for (QWidget* w : controls.Disabled) w->setEnabled(false);
  QApplication::processEvents();
  bool blue = true;
  options.Halted = [&controls] { return controls.HaltRequested; };
  options.Tick = [&](int panel, int) {
    if (panel == 1 && controls.Wait) {
      blue = !blue;
      controls.Wait->setStyleSheet(blue ? "color: blue" : "color: red");
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
  PrintColouredJobs(printer, RunColouredBuild(ui, controls, options, build).Jobs);
}

void SaveColouredListing(TQtFrontEnd& ui, TBuildControls& controls, const std::string& path,
                         const TColouredBuild& build) {
  TColouredOptions options;
  options.Mode = TReportMode::Save;
  const TColouredReport report = RunColouredBuild(ui, controls, options, build);
  if (!report.Jobs.empty()) SaveRtf(ui, path, report.Jobs.back());
}

} // namespace quorlin::gui
