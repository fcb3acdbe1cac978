// Opens a listing of LINES lines (1,000,000 unless given) in the
// single-panel viewer and times the opening (until the first rows are
// painted), To Btm and a Find that scans the whole list; then a two-panel
// listing of PANEL_LINES lines a panel (LINES unless given) in the
// side-by-side viewer: the opening, and the slowest of many scroll and
// next-span steps (each until both panels are painted), and the coloured
// RTF save of the two panels (its time and the peak memory it adds to the
// lists already held). With --halt it
// starts a compare of NEW and OLD in the main window, presses Halt after a
// fifth of a second and times how long the compare takes to stop, and the
// longest wait of a timer (what repainting waits for) during the run. Runs
// offscreen; prints the figures and their limits.
// With --open it compares NEW and OLD in the main window with a Long
// listing and times what a person waits for: the compare until the viewer
// (the single one, or side by side with --dual) has painted its first rows,
// To Btm, a Find of a text on the last listed row from the top, and the next
// span; then the process's peak memory.
// usage: viewer_bench [LINES [PANEL_LINES]]
//        viewer_bench --halt NEW OLD
//        viewer_bench --open [--dual] NEW OLD
#include "gui/FindDialog.h"
#include "gui/FrmChgFlag.h"
#include "gui/FrmMain.h"
#include "gui/FrmSbS.h"
#include "gui/FrmVSplit.h"
#include "gui/FrmSingle.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "gui/ReportOutput.h"
#include "state/Controls.h"
#include "viewers/LineModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quorlin;

namespace {

/// The peak resident memory of the process so far, in MB.
long PeakMb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

int HaltLatency(const QString& newFile, const QString& oldFile) {
  gui::TQtFrontEnd ui;
  ui.MessageHook = [](gui::TMessageKind, const QString&) { return false; };
  TAppState state(ui);
  gui::TFrmMain window(state, ui);
  window.show();
  window.findChild<QComboBox*>("MnCbNewFileNm")->setEditText(newFile);
  window.findChild<QComboBox*>("MnCbOldFileNm")->setEditText(oldFile);
  auto* halt = window.findChild<QPushButton*>("MnButStop");
  QElapsedTimer sinceHalt, sinceTick;
  qint64 longestWait = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (sinceTick.isValid()) longestWait = std::max(longestWait, sinceTick.elapsed());
    sinceTick.restart();
  });
  ticker.start(10);
  QTimer::singleShot(200, halt, [&] {
    sinceHalt.start();
    halt->click();
  });
  window.MnButCompareClick();
  const qint64 latency = sinceHalt.isValid() ? sinceHalt.elapsed() : -1;
  std::printf("compare of %s and %s, Halt after 0.2 s\n", qPrintable(newFile), qPrintable(oldFile));
  if (latency < 0) {
    std::printf("  the compare ended before Halt was pressed; use a larger pair\n");
    return 1;
  }
  std::printf("  Halt to stop        %lld ms  (limit 100 ms)  %s\n", latency, latency < 100 ? "ok" : "MISSED");
  std::printf("  longest timer wait  %lld ms  (limit 100 ms)  %s\n", longestWait, longestWait < 100 ? "ok" : "MISSED");
  return latency < 100 && longestWait < 100 ? 0 : 1;
}

int OpenListing(const QString& newFile, const QString& oldFile, bool dual) {
  gui::TQtFrontEnd ui;
  ui.MessageHook = [](gui::TMessageKind, const QString& text) {
    std::printf("  message: %s\n", qPrintable(text));
    return false;
  };
  TAppState state(ui);
  state.Controls.MnCbListType = "Long";
  state.Controls.Pref(TagSbsl).Checked = dual;
  gui::TFrmMain window(state, ui);
  window.RefreshFromModel();
  window.show();
  window.findChild<QComboBox*>("MnCbNewFileNm")->setEditText(newFile);
  window.findChild<QComboBox*>("MnCbOldFileNm")->setEditText(oldFile);
  // The compare alone first (its peak memory), then the viewer.
  state.Settings.MnCkViewResults = true;
  QElapsedTimer clock;
  clock.start();
  window.MnButCompareClick();
  const double compare = clock.nsecsElapsed() / 1e9;
  const long comparePeak = PeakMb();
  window.MnButViewResultsClick();
  gui::TPanelView* panel = dual ? window.DualViewer()->Left() : window.SingleViewer()->Panel();
  auto paint = [&] {
    panel->viewport()->repaint();
    if (dual) window.DualViewer()->Right()->viewport()->repaint();
  };
  paint();
  QApplication::processEvents();
  const double open = clock.nsecsElapsed() / 1e9;
  const long rows = panel->model()->rowCount();
  std::printf("%s viewer, Long listing of %s and %s: %ld rows\n", dual ? "side-by-side" : "single", qPrintable(newFile),
              qPrintable(oldFile), rows);
  std::printf("  compare and open  %.2f s  (compare %.2f s, %ld MB)\n", open, compare, comparePeak);
  if (rows < 4) return 1;

  QWidget* owner = dual ? static_cast<QWidget*>(window.DualViewer()) : window.SingleViewer();
  const QString prefix = dual ? "Vs" : "Ls";
  auto press = [&](const QString& name) { owner->findChild<QPushButton*>(prefix + name)->click(); };
  clock.restart();
  press(dual ? "ButBottom" : "ButBtm");
  paint();
  std::printf("  To Btm            %.3f s\n", clock.nsecsElapsed() / 1e9);

  // The reference numbers of the last listed row: a text no row above holds.
  const size_t lastRow = state.StatsFirstLine > 4 ? static_cast<size_t>(state.StatsFirstLine) - 2 : state.Panel1Lines.size() - 1;
  const std::string last(state.Panel1Lines[lastRow]);
  const std::string needle = last.size() > 81 ? last.substr(81) : last;
  press("ButTop");
  press("ButFind");
  auto* find = owner->findChild<gui::TFindDialog*>();
  find->findChild<QLineEdit*>("FindText")->setText(QString::fromStdString(needle).trimmed());
  clock.restart();
  find->findChild<QPushButton*>("FindNext")->click();
  paint();
  std::printf("  Find, last row    %.3f s  (row %d of %zu)\n", clock.nsecsElapsed() / 1e9, panel->Selection(), lastRow);
  find->close();

  press("ButTop");
  clock.restart();
  press("BitChngDown");
  paint();
  std::printf("  next span         %.1f ms  (row %d)\n", clock.nsecsElapsed() / 1e6, panel->Selection());
  std::printf("  peak memory       %ld MB\n", PeakMb());
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 4 && std::string(argv[1]) == "--halt") return HaltLatency(argv[2], argv[3]);
  if (argc >= 4 && std::string(argv[1]) == "--open") {
    const bool dual = std::string(argv[2]) == "--dual";
    return OpenListing(argv[argc - 2], argv[argc - 1], dual);
  }
  const long lines = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  const long panelLines = argc > 2 ? std::atol(argv[2]) : lines;

  gui::TQtFrontEnd ui;
  int messages = 0;
  ui.MessageHook = [&](gui::TMessageKind, const QString&) { return ++messages, false; };
  TAppState state(ui);
  // A Long listing of count numbered lines: an insertion every 97 lines, a
  // deletion every 101.
  auto fill = [&](long count) {
    state.Panel1Lines.clear();
    state.Panel1Lines.push_back("New File = new.txt  12/07/26 10:00:00");
    state.Panel1Lines.push_back("Old File = old.txt  12/07/26 10:00:00");
    state.Panel1Lines.push_back("ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8");
    char buf[160];
    for (long i = 1; i <= count; ++i) {
      const char* id = i % 97 == 0 ? "I - " : i % 101 == 0 ? "D - " : "    ";
      std::snprintf(buf, sizeof buf, "%s    value = compute(%ld, table[%ld]);%*s%.5ld              %.5ld", id, i,
                    i % 4096, 30, "", i, i);
      state.Panel1Lines.push_back(buf);
    }
    state.StatsFirstLine = static_cast<int>(state.Panel1Lines.size());
    state.Panel1Lines.push_back(" ");
    state.Panel1Lines.push_back("INFORM: The processed files have differences.");
  };
  fill(lines);
  TResultView view;
  view.Panel1 = &state.Panel1Lines;
  view.Panel2 = &state.Panel2Lines;
  view.StatsFirstLine = state.StatsFirstLine;
  view.RunStamp = "12/07/26 10:00:00";

  gui::TFrmChgFlag legend;
  gui::TFrmSingle viewer(ui, legend, state.Settings);
  QElapsedTimer clock;
  clock.start();
  viewer.Prepare(view, "new.txt", "old.txt");
  viewer.show();
  viewer.Panel()->viewport()->repaint();
  QApplication::processEvents();
  const double open = clock.nsecsElapsed() / 1e9;

  clock.restart();
  viewer.LsButBtmClick();
  viewer.Panel()->viewport()->repaint();
  const double toBtm = clock.nsecsElapsed() / 1e9;

  viewer.LsButTopClick();
  viewer.LsButFindClick();
  auto* find = viewer.findChild<gui::TFindDialog*>();
  // The text of the last row: Find reads every row.
  find->findChild<QLineEdit*>("FindText")->setText(QString("compute(%1,").arg(lines));
  clock.restart();
  find->findChild<QPushButton*>("FindNext")->click();
  viewer.Panel()->viewport()->repaint();
  const double findTime = clock.nsecsElapsed() / 1e9;

  std::printf("single viewer, %ld listing lines\n", lines);
  std::printf("  open      %.3f s  (limit 1.0 s)  %s\n", open, open < 1.0 ? "ok" : "MISSED");
  std::printf("  To Btm    %.3f s  (limit 0.2 s)  %s\n", toBtm, toBtm < 0.2 ? "ok" : "MISSED");
  std::printf("  Find      %.3f s  (limit 0.5 s)  %s  (selection %d)\n", findTime, findTime < 0.5 ? "ok" : "MISSED",
              viewer.Panel()->Selection());
  bool ok = open < 1.0 && toBtm < 0.2 && findTime < 0.5;
  viewer.accept();

  // Two panels: the old side holds a deletion where the new side has an insertion.
  if (panelLines != lines) fill(panelLines);
  view.Panel1 = &state.Panel1Lines;
  view.StatsFirstLine = state.StatsFirstLine;
  state.Panel2Lines.clear();
  for (long i = 0; i < static_cast<long>(state.StatsFirstLine); ++i) {
    std::string_view line = state.Panel1Lines[static_cast<size_t>(i)];
    state.Panel2Lines.push_back(line.substr(0, 4) == "I - " ? "D - " + std::string(line.substr(4)) : std::string(line));
  }
  view.Panel2 = &state.Panel2Lines;
  gui::TFrmSbS layout;
  gui::TFrmVSplit dual(ui, legend, layout, state.Settings);
  clock.restart();
  dual.Prepare(view, "new.txt", "old.txt");
  dual.show();
  dual.Left()->viewport()->repaint();
  dual.Right()->viewport()->repaint();
  QApplication::processEvents();
  const double dualOpen = clock.nsecsElapsed() / 1e9;
  auto step = [&](const std::function<void()>& action) {
    clock.restart();
    action();
    dual.Left()->viewport()->repaint();
    dual.Right()->viewport()->repaint();
    return clock.nsecsElapsed() / 1e6;
  };
  double scroll = 0, span = 0;
  for (int k = 1; k <= 50; ++k)
    scroll = std::max(scroll, step([&] { dual.Left()->verticalScrollBar()->setValue(k * 19997 % static_cast<int>(panelLines)); }));
  auto* down = dual.findChild<QPushButton*>("VsBitChngDown");
  for (int k = 0; k < 50; ++k) span = std::max(span, step([&] { down->click(); }));
  std::printf("side-by-side viewer, %ld lines a panel\n", panelLines);
  std::printf("  open        %.3f s   (limit 1.0 s)  %s\n", dualOpen, dualOpen < 1.0 ? "ok" : "MISSED");
  std::printf("  scroll step %.1f ms  (limit 50 ms)  %s\n", scroll, scroll < 50 ? "ok" : "MISSED");
  std::printf("  next span   %.1f ms  (limit 50 ms)  %s\n", span, span < 50 ? "ok" : "MISSED");
  ok = ok && dualOpen < 1.0 && scroll < 50 && span < 50;

  // The coloured save streams its rich text: the memory it adds stays far
  // below the report's size.
  const std::string rtf = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/quorlin-bench.rtf";
  const long before = PeakMb();
  gui::TBuildControls controls;
  clock.restart();
  gui::SaveColouredListing(ui, controls, rtf, [&](const TColouredOptions& o) { return BuildTwoPanelColoured(view, o); });
  const double save = clock.nsecsElapsed() / 1e9;
  struct stat st {};
  const long reportMb = ::stat(rtf.c_str(), &st) == 0 ? static_cast<long>(st.st_size / (1024 * 1024)) : -1;
  const long added = PeakMb() - before;
  std::remove(rtf.c_str());
  std::printf("coloured RTF save of the two panels\n");
  std::printf("  time        %.2f s,  report %ld MB\n", save, reportMb);
  std::printf("  peak memory %ld MB before, %ld MB added  (limit: the report's size)  %s\n", before, added,
              reportMb > 0 && added <= reportMb ? "ok" : "MISSED");
  ok = ok && reportMb > 0 && added <= reportMb;
  return ok ? 0 : 1;
}
