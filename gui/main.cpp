// quorlin: the desktop program. With one argument "inif=FILE" it runs a
// batch job (the window shows its progress unless "nosw", and never without
// a display); otherwise up to two file names pre-fill the New and Old boxes,
// and "--start" before them starts their compare at once.
#include "gui/FrmMain.h"
#include "gui/QtFrontEnd.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>

using namespace quorlin;

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const bool startNow = !args.isEmpty() && args[0] == "--start";
  if (startNow) args.removeFirst();
  const bool batch = args.size() == 1 && args[0].size() > 5 && args[0].left(5).toLower() == "inif=";
  const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  if (!display && !platformChosen) {
    if (!batch) {
      std::fprintf(stderr, "quorlin: no display to show the window on (DISPLAY is not set).\n"
                           "Use quorlin-cli to compare files without a display.\n");
      return 2;
    }
    // A batch needs no window: it runs without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Quorlin");
  QApplication::setApplicationDisplayName("Quorlin V5.7b");
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
