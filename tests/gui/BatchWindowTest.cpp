// Batch mode of the desktop program: the real program ending by itself, and
// the window of a batch that waits for Exit (tab rules, Peek Log).
#include "GuiTestSupport.h"

#include "gui/FrmPeek.h"

#include <QListWidget>
#include <QSignalSpy>

namespace quorlin::test {

class TBatchWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  QString Ini(const QString& name, const QString& extra) {
    return WriteFile(Dir, name,
                     ("newf=" + ExampleNew() + "\noldf=" + ExampleOld() + "\noutf=" + Dir.filePath(name + ".lst") +
                      "\n" + extra)
                         .toUtf8());
  }

private slots:
  void NoShowEndsByItself() {
    struct Case {
      const char* Ini;
      const char* Extra;
      int Status;
      bool NoDisplay = false; // without a display even a waiting batch ends by itself
    } cases[] = {
        {"differ.ini", "pref=nosw\n", 1},
        {"nodisplay.ini", "", 1, true},
        {"bad.ini", "pref=nosw\npref=frobnicate\n", 2},
    };
    for (const Case& c : cases) {
      const QString ini = Ini(c.Ini, c.Extra);
      QFile::remove(Dir.filePath("Quorln32.log"));
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("QUORLIN_HOME", Dir.path());
      env.insert("QT_QPA_PLATFORM", "offscreen");
      if (c.NoDisplay)
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
      const int status = RunQuorlin({"inif=" + ini}, env);
      QVERIFY2(status == c.Status, qPrintable(QString("%1 ended with %2").arg(c.Ini).arg(status)));
      QVERIFY2(ReadFile(Dir.filePath("Quorln32.log")).contains("*** Batch Activity using Ini File=" + ini.toUtf8()),
               c.Ini);
      if (c.Status != 2) QVERIFY2(QFile(Dir.filePath(QString(c.Ini) + ".lst")).size() > 0, c.Ini);
    }
  }

  void WaitingWindowAndPeekLog() {
    const QByteArray home = qgetenv("QUORLIN_HOME");
    qputenv("QUORLIN_HOME", Dir.path().toUtf8());
    TGuiFixture fx;
    QSignalSpy ended(fx.Main.get(), &gui::TFrmMain::BatchEnded);
    fx.Main->StartBatch(Ini("wait.ini", ""), true);
    QTRY_VERIFY(fx.Find<QPushButton>("MnButPeekLog")->isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(fx.Main->isVisible());
    QVERIFY(!fx.Find<QPushButton>("MnButCompare")->isEnabled());
    QVERIFY(!fx.Find<QComboBox>("MnCbNewFileNm")->isEnabled());
    QCOMPARE(fx.Main->ExitStatus(), 1);

    fx.Main->Notebook()->setCurrentIndex(2); // Preferences is refused in batch mode
    QCOMPARE(fx.Main->Notebook()->currentIndex(), 0);

    fx.Click("MnButPeekLog");
    gui::TFrmPeek* peek = fx.Main->PeekWindow();
    QVERIFY(peek->isVisible());
    QVERIFY(peek->List()->count() > 3);
    QVERIFY(peek->List()->item(2)->text().startsWith("*** Batch Activity using Ini File="));
    peek->accept();
    QVERIFY(fx.Main->close()); // a batch window always closes
    qputenv("QUORLIN_HOME", home);
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(BatchWindow, TBatchWindowTest);

#include "BatchWindowTest.moc"
