// quorlin: the desktop program. With one argument "inif=FILE" it runs a
// batch job (the window shows its progress unless "nosw", and never without
// a display); otherwise up to two file names pre-fill the New and Old boxes,
// and "--start" before them starts their compare at once. --help and
// --version answer without a window; Qt's own options (-style, -platform,
// ...) are Qt's.
#include "gui/FrmMain.h"
#include "gui/QtFrontEnd.h"
#include "listing/Listing.h"
#include "platform/Clock.h"
#include "platform/StringList.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>

#ifndef QUORLIN_VERSION
#define QUORLIN_VERSION "0"
#endif

using namespace quorlin;

namespace {

constexpr const char* Usage =
    "usage: quorlin [--start] [NEW [OLD]]\n"
    "       quorlin inif=BATCH.INI\n"
    "\n"
    "Opens the Quorlin window with NEW and OLD in its New File and Old File\n"
    "boxes; --start compares them at once. With inif= the job steps of a batch\n"
    "ini file run, with their progress in the window (never shown without a\n"
    "display). Qt's own options, such as -style Fusion or -platform offscreen,\n"
    "may come first.\n"
    "\n"
    "  --help      show this text\n"
    "  --version   show the program version\n"
    "\n"
    "Exit status: 0 when every compare found its files equivalent, 1 when some\n"
    "differ, 2 on any error. See quorlin(1) and quorlin-cli(1).\n";

} // namespace

int main(int argc, char** argv) {
  bool platformOption = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quorlin %s (%s%s)\n", QUORLIN_VERSION, VersionString, ReleaseDate);
      return 0;
    }
    if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
      platformOption = true;
  }
  CleanStaleStores(); // text stores a crashed run left behind
  const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  const bool platformChosen = platformOption || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  // The arguments that are not Qt's: QApplication takes its own out of argv.
  auto ownArguments = [](int count, char** values) {
    QStringList list;
    for (int i = 1; i < count; ++i) list << QString::fromLocal8Bit(values[i]);
    return list;
  };
  auto isBatch = [](const QStringList& list) {
    return list.size() == 1 && list[0].size() > 5 && list[0].left(5).toLower() == "inif=";
  };
  // Before Qt has taken its options, a batch is told by its inif= argument.
  QStringList args = ownArguments(argc, argv);
  bool batch = std::any_of(args.begin(), args.end(), [](const QString& a) { return a.left(5).toLower() == "inif="; });
  const char* noDisplay = "quorlin: no display to show the window on (DISPLAY is not set).\n"
                          "Use quorlin-cli to compare files without a display.\n";
  const bool windowless = !display && !platformChosen;
  if (windowless) {
    if (!batch) return std::fputs(noDisplay, stderr), 2;
    // A batch needs no window: it runs without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Quorlin");
  gui::InstallWindowIcon();
  args = ownArguments(argc, argv);
  batch = isBatch(args);
  if (windowless && !batch) return std::fputs(noDisplay, stderr), 2;
  const bool startNow = !args.isEmpty() && args[0] == "--start";
  if (startNow) args.removeFirst();
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  gui::TQtFrontEnd ui;
  TAppState app(ui);
  app.RunStamp = NowText();
  gui::TFrmMain window(app, ui);
  if (batch) {
    QObject::connect(&window, &gui::TFrmMain::BatchEnded, &qapp, [](int status) { QApplication::exit(status); });
    window.StartBatch(args[0].mid(5), display || platformChosen);
  } else {
    window.StartInteractive(args.mid(0, 2));
    window.show();
    if (startNow) QTimer::singleShot(0, &window, &gui::TFrmMain::MnButCompareClick);
  }
  QApplication::exec();
  return window.ExitStatus();
}
