// Takes the screenshots of the user guide: the windows of a compare of the
// example pair, each grabbed at its designed size, and a plain print of the
// side-by-side viewer to OUTDIR/print.pdf, and the side-by-side viewer on a
// dark palette; with --scaled only the main window (run with
// QT_SCALE_FACTOR=2). Run by scripts/screenshots.sh under a virtual X server.
// usage: gui_screenshots [--scaled] OUTDIR
#include "GuiTestSupport.h"

#include "gui/FrmChgFlag.h"
#include "gui/FrmFolders.h"
#include "gui/FrmSbS.h"
#include "gui/FrmVSplit2.h"

#include <QApplication>
#include <QDir>
#include <QTreeView>

#include <cstdio>

namespace quorlin::test {
namespace {

bool Save(QWidget* window, const QString& path) {
  window->show();
  window->raise();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  QTest::qWait(200);
  const bool ok = window->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

/// Two releases of the example project in dir: the example pair as
/// src/ledger.c, a file added, one removed, one with other line ends, an
/// image, and a link to a folder.
void MakeReleases(const QTemporaryDir& dir) {
  for (const QString side : {"release-2.0", "release-2.1"}) {
    QDir(dir.path()).mkpath(side + "/src");
    QDir(dir.path()).mkpath(side + "/docs");
    const bool now = side.endsWith('1');
    QFile::copy(now ? ExampleNew() : ExampleOld(), dir.filePath(side + "/src/ledger.c"));
    WriteFile(dir, side + "/src/main.c", "int main(void) { return ledger_main(); }\n");
    WriteFile(dir, side + "/Makefile", now ? "CFLAGS = -O2 -Wall\nall: ledger\n" : "CFLAGS = -O2\nall: ledger\n");
    WriteFile(dir, side + "/docs/README.md",
              now ? "Ledger\r\n======\r\nKeeps accounts.\r\n" : "Ledger\n======\nKeeps accounts.\n");
    WriteFile(dir, side + "/docs/logo.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  }
  WriteFile(dir, "release-2.1/src/report.c", "void report(void);\n");
  WriteFile(dir, "release-2.0/docs/NOTES.txt", "old notes\n");
  QFile::link("../docs", dir.filePath("release-2.1/src/docs-link"));
}

} // namespace
} // namespace quorlin::test

int main(int argc, char** argv) {
  using namespace quorlin::test;
  namespace gui = quorlin::gui;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorlin");
  gui::InstallWindowIcon();
  const bool scaled = argc == 3 && QString(argv[1]) == "--scaled";
  if (argc != 2 && !scaled) {
    std::fprintf(stderr, "usage: gui_screenshots [--scaled] OUTDIR\n");
    return 2;
  }
  const QDir out(QDir(argv[argc - 1]).absolutePath()); // the compare of two folders runs in a folder of its own
  bool ok = true;
  if (scaled) {
    TGuiFixture fx;
    fx.Main->StartInteractive({"examples/new/ledger.c", "examples/old/ledger.c"});
    return Save(fx.Main.get(), out.filePath("scaled.png")) ? 0 : 1;
  }
  TGuiFixture fx;
  fx.SetNames("examples/new/ledger.c", "examples/old/ledger.c");
  QDir::setCurrent(QUORLIN_SOURCE_DIR);
  QTabWidget* tabs = fx.Main->Notebook();

  tabs->setCurrentIndex(2);
  fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
  ok &= Save(fx.Main.get(), out.filePath("preferences.png"));
  fx.Find<QCheckBox>("PrCkIcas")->setChecked(false);
  tabs->setCurrentIndex(3);
  ok &= Save(fx.Main.get(), out.filePath("dp-options.png"));
  tabs->setCurrentIndex(1);
  QTest::qWait(500); // the folder lists are read in the background
  ok &= Save(fx.Main.get(), out.filePath("file-select.png"));
  tabs->setCurrentIndex(0);
  fx.Click("MnButCompare");
  ok &= Save(fx.Main.get(), out.filePath("main-panel.png"));
  ok &= Save(fx.Main->SingleViewer(), out.filePath("single-viewer.png"));
  fx.Click("LsButLegend");
  ok &= Save(fx.Main->LegendWindow(), out.filePath("legend.png"));
  fx.Main->LegendWindow()->close();
  fx.Main->SingleViewer()->accept();

  fx.Find<QCheckBox>("PrCkSbsl")->setChecked(true);
  fx.Click("MnButCompare");
  gui::TFrmVSplit* dual = fx.Main->DualViewer();
  ok &= Save(dual, out.filePath("side-by-side.png"));
  fx.PrintTo(out.filePath("print.pdf"));
  fx.Click("VsButPrint");
  fx.AnswerFileDialogs(out.filePath("unused.txt"));
  gui::TFrmSbS* layout = fx.Main->SaveLayoutDialog();
  QTimer::singleShot(300, layout, [&] {
    ok &= Save(layout, out.filePath("save-layout.png"));
    layout->reject();
  });
  fx.Click("VsButSaveAs");
  fx.Click("VsBtnHortChg");
  ok &= Save(dual->Horizontal(), out.filePath("horizontal.png"));
  dual->Horizontal()->accept();
  dual->accept();

  // Changed characters: a pair with small edits inside its lines.
  {
    QTemporaryDir edits;
    QDir::setCurrent(edits.path());
    WriteFile(edits, "new.c", "int total(const int *v, int n) {\n  int sum = 0;\n  for (int i = 0; i < n; ++i)\n"
                              "    sum += v[i] * 2;\n  return sum;\n}\n");
    WriteFile(edits, "old.c", "int total(int *v, int n) {\n  int sum = 0;\n  for (int i = 0; i < n; i++)\n"
                              "    sum += v[i];\n  return sum;\n}\n");
    TGuiFixture marks;
    marks.Find<QComboBox>("MnCbListType")->setCurrentText("Long");
    gui::TFrmVSplit* view = marks.CompareDual("new.c", "old.c", "Long");
    view->resize(1100, 400);
    ok &= Save(view, out.filePath("changed-characters.png"));
    view->accept();
    QDir::setCurrent(QUORLIN_SOURCE_DIR);
  }

  // The side-by-side viewer on a dark palette: colours chosen from it.
  {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (auto [role, colour] : {std::pair(QPalette::Window, QColor(45, 45, 48)), std::pair(QPalette::Base, QColor(30, 30, 30)),
                                std::pair(QPalette::AlternateBase, QColor(40, 40, 40)),
                                std::pair(QPalette::Button, QColor(60, 60, 64)),
                                std::pair(QPalette::Text, QColor(220, 220, 220)),
                                std::pair(QPalette::WindowText, QColor(220, 220, 220)),
                                std::pair(QPalette::ButtonText, QColor(220, 220, 220))})
      dark.setColor(role, colour);
    QApplication::setPalette(dark);
    TGuiFixture night;
    night.SetNames("examples/new/ledger.c", "examples/old/ledger.c");
    night.Find<QCheckBox>("PrCkSbsl")->setChecked(true);
    night.Click("MnButCompare");
    ok &= Save(night.Main->DualViewer(), out.filePath("dark.png"));
    night.Main->DualViewer()->accept();
    QApplication::setPalette(light);
  }

  // Two folders: relative names, so that the picture is the same wherever it is made.
  QTemporaryDir releases;
  MakeReleases(releases);
  QDir::setCurrent(releases.path());
  fx.Find<QCheckBox>("PrCkSbsl")->setChecked(false);
  fx.SetNames("release-2.1", "release-2.0");
  fx.Click("MnButCompare");
  gui::TFrmFolders* folders = fx.Main->FolderWindow();
  QTreeView* tree = folders->Tree();
  tree->setCurrentIndex(tree->model()->index(0, 0, tree->model()->index(2, 0)));
  ok &= Save(folders, out.filePath("folder-compare.png"));
  return ok ? 0 : 1;
}
