// Runs one GUI test class by name (as CTest registers them), or all of them.
#include "GuiTestSupport.h"

#include <QApplication>
#include <QProcess>

#include <map>

namespace quorlin::test {

int RunQuorlin(const QStringList& args, const QProcessEnvironment& env) {
  QProcess program;
  program.setProcessEnvironment(env);
  program.start(QUORLIN_GUI_EXE, args);
  return program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

// Filled while the test files' statics start, so built on first use.
static std::map<std::string, std::function<QObject*()>>& Suites() {
  static std::map<std::string, std::function<QObject*()>> suites;
  return suites;
}

int RegisterSuite(const char* name, std::function<QObject*()> make) {
  Suites()[name] = std::move(make);
  return 0;
}

} // namespace quorlin::test

int main(int argc, char** argv) {
  using quorlin::test::Suites;
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  qputenv("QUORLIN_DOCS", QUORLIN_SOURCE_DIR "/docs");
  // Settings files and logs of the tests go to a folder of their own.
  QTemporaryDir home;
  qputenv("QUORLIN_HOME", home.path().toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorlin");
  quorlin::gui::InstallWindowIcon();
  // gui_tests [SUITE] [QtTest arguments]
  QStringList rest = app.arguments();
  std::string only;
  if (rest.size() > 1 && !rest[1].startsWith('-')) only = rest.takeAt(1).toStdString();
  if (!only.empty() && !Suites().count(only)) qFatal("no suite named %s", only.c_str());
  int failed = 0;
  for (const auto& [name, make] : Suites()) {
    if (!only.empty() && only != name) continue;
    std::unique_ptr<QObject> suite(make());
    failed += QTest::qExec(suite.get(), rest);
  }
  return failed == 0 ? 0 : 1;
}
