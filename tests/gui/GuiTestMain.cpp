// Runs one GUI test class by name (as CTest registers them), or all of them.
#include "GuiTestSupport.h"

#include <QApplication>
#include <QFile>

#include <cstring>
#include <functional>
#include <map>

namespace quorlin::test {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
  return path;
}

QString ExampleNew() { return QUORLIN_SOURCE_DIR "/examples/new/ledger.c"; }
QString ExampleOld() { return QUORLIN_SOURCE_DIR "/examples/old/ledger.c"; }

} // namespace quorlin::test

// Each test file defines its class and a factory registered here.
QObject* MakeMainWindowTest();
QObject* MakeSingleViewerTest();
QObject* MakeBatchWindowTest();
QObject* MakeSideBySideViewerTest();
QObject* MakeViewerOutputTest();
QObject* MakeSettingsAndFilesTest();

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  qputenv("QUORLIN_DOCS", QUORLIN_SOURCE_DIR "/docs");
  // Settings files and logs of the tests go to a folder of their own.
  QTemporaryDir home;
  qputenv("QUORLIN_HOME", home.path().toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorlin");
  const std::map<std::string, std::function<QObject*()>> suites = {
      {"MainWindow", MakeMainWindowTest},
      {"SingleViewer", MakeSingleViewerTest},
      {"BatchWindow", MakeBatchWindowTest},
      {"SideBySideViewer", MakeSideBySideViewerTest},
      {"ViewerOutput", MakeViewerOutputTest},
      {"SettingsAndFiles", MakeSettingsAndFilesTest},
  };
  // gui_tests [SUITE] [QtTest arguments]
  QStringList rest = app.arguments();
  std::string only;
  if (rest.size() > 1 && !rest[1].startsWith('-')) {
    only = rest[1].toStdString();
    rest.removeAt(1);
  }
  int failed = 0;
  for (const auto& [name, make] : suites) {
    if (!only.empty() && only != name) continue;
    std::unique_ptr<QObject> suite(make());
    failed += QTest::qExec(suite.get(), rest);
  }
  return failed == 0 ? 0 : 1;
}
