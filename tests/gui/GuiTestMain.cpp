// Runs one GUI test class by name (as CTest registers them), or all of them.
#include "GuiTestSupport.h"

#include "gui/PanelModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>

#include <map>

namespace quorlin::test {

void TGuiFixture::Click(const char* button) const { Find<QPushButton>(button)->click(); }

QString TGuiFixture::Text(const char* combo) const { return Find<QComboBox>(combo)->currentText(); }

void TGuiFixture::SetNames(const QString& newName, const QString& oldName) const {
  Find<QComboBox>("MnCbNewFileNm")->setEditText(newName);
  Find<QComboBox>("MnCbOldFileNm")->setEditText(oldName);
}

void TGuiFixture::Compare(const QString& newName, const QString& oldName, const char* listType, bool sbsl,
                          bool clnc) const {
  SetNames(newName, oldName);
  Find<QComboBox>("MnCbListType")->setCurrentText(listType);
  Find<QCheckBox>("PrCkSbsl")->setChecked(sbsl);
  Find<QCheckBox>("PrCkCLnC")->setChecked(clnc);
  Click("MnButCompare");
}

void TGuiFixture::AnswerFileDialogs(const QString& path, int filter) {
  Ui.FileDialogHook = [path, filter](const QString&, const QString&) { return gui::TFileChoice{path, filter}; };
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
  return path;
}

QString LineFile(const QTemporaryDir& dir, const QString& name, int count, int changeEvery, int period) {
  QByteArray text;
  for (int i = 0; i < count; ++i)
    text += QByteArray(changeEvery && i % changeEvery == 0 ? "changed " : "") + "line " +
            QByteArray::number(period ? i * 7 % period : i) + "\n";
  return WriteFile(dir, name, text);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString RowText(const gui::TPanelView* panel, int row) {
  return panel->PanelModel()->index(row < 0 ? panel->Selection() : row).data().toString();
}

int RunQuorlin(const QStringList& args, const QProcessEnvironment& env) {
  QProcess program;
  program.setProcessEnvironment(env);
  program.start(QUORLIN_GUI_EXE, args);
  if (!program.waitForFinished(30000) || program.exitStatus() != QProcess::NormalExit) return -1;
  return program.exitCode();
}

QString ExampleNew() { return QUORLIN_SOURCE_DIR "/examples/new/ledger.c"; }
QString ExampleOld() { return QUORLIN_SOURCE_DIR "/examples/old/ledger.c"; }

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
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  qputenv("QUORLIN_DOCS", QUORLIN_SOURCE_DIR "/docs");
  // Settings files and logs of the tests go to a folder of their own.
  QTemporaryDir home;
  qputenv("QUORLIN_HOME", home.path().toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorlin");
  // gui_tests [SUITE] [QtTest arguments]
  QStringList rest = app.arguments();
  std::string only;
  if (rest.size() > 1 && !rest[1].startsWith('-')) only = rest.takeAt(1).toStdString();
  if (!only.empty() && !quorlin::test::Suites().count(only)) qFatal("no suite named %s", only.c_str());
  int failed = 0;
  for (const auto& [name, make] : quorlin::test::Suites()) {
    if (!only.empty() && only != name) continue;
    std::unique_ptr<QObject> suite(make());
    failed += QTest::qExec(suite.get(), rest);
  }
  return failed == 0 ? 0 : 1;
}
