// Batch mode of the desktop program: the real program ending by itself, and
// the window of a batch that waits for Exit (a refused tab, Peek Log).
#include "GuiTestSupport.h"

#include "gui/FrmPeek.h"

#include <QDir>
#include <QListWidget>
#include <QSignalSpy>

namespace quorlin::test {

class TBatchWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void NoShowEndsByItself() {
    // The real program's exit status and listing; without a display even a
    // batch that would wait ends by itself.
    const struct {
      const char *Ini, *More;
      int Status;
      bool NoDisplay;
    } cases[] = {{"differ.ini", "pref=nosw\n", 1, false},
                 {"nodisplay.ini", "", 1, true},
                 {"bad.ini", "pref=nosw\npref=frobnicate\n", 2, false}};
    for (const auto& c : cases) {
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("QUORLIN_HOME", Dir.path());
      if (c.NoDisplay)
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
      QCOMPARE(RunQuorlin({"inif=" + BatchIni(Dir, c.Ini, c.More)}, env), c.Status);
      QCOMPARE(QFile(Dir.filePath(QString(c.Ini) + ".lst")).size() > 0, c.Status != 2);
    }
  }

  void WaitingWindowAndPeekLog() {
    const QByteArray home = qgetenv("QUORLIN_HOME");
    qputenv("QUORLIN_HOME", Dir.path().toUtf8());
    TGuiFixture fx;
    QSignalSpy ended(fx.Main.get(), &gui::TFrmMain::BatchEnded);
    fx.Main->StartBatch(BatchIni(Dir, "wait.ini"), true);
    QTRY_VERIFY(fx.Find<QPushButton>("MnButPeekLog")->isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(fx.Main->isVisible());
    QVERIFY(!fx.Find<QPushButton>("MnButCompare")->isEnabled());
    QVERIFY(!fx.Find<QComboBox>("MnCbNewFileNm")->isEnabled());
    QCOMPARE(fx.Main->ExitStatus(), 1);

    fx.Main->Notebook()->setCurrentIndex(2); // Preferences is refused in batch mode, and shown so
    QCOMPARE(fx.Main->Notebook()->currentIndex(), 0);
    QVERIFY(!fx.Main->Notebook()->isTabEnabled(2));
    QVERIFY(fx.Find<QLineEdit>("MnEdPanStatus")->text().endsWith("(Quorln32.log in " + QDir(Dir.path()).absolutePath() + ")"));

    fx.Click("MnButPeekLog");
    gui::TFrmPeek* peek = fx.Main->PeekWindow();
    QVERIFY(peek->isVisible());
    QVERIFY(peek->List()->count() > 3);
    QVERIFY(peek->List()->item(2)->text().startsWith("*** Batch Activity using Ini File="));
    peek->accept();
    QVERIFY(fx.Main->close()); // a batch window always closes

    // A close request while the batch runs halts it, and the program ends
    // without a second Exit.
    TGuiFixture running;
    QSignalSpy endedByClose(running.Main.get(), &gui::TFrmMain::BatchEnded);
    const QString big = LineFile(Dir, "big.txt", 400000, 50, 1000);
    running.Main->StartBatch(WriteFile(Dir, "close.ini",
                                       ("newf=" + big + "\noldf=" + ExampleOld() + "\noutf=" + Dir.filePath("close.lst") +
                                        "\nltyp=long\n").toUtf8()),
                             true);
    QTimer::singleShot(50, running.Main.get(), [&] { running.Main->close(); });
    QTRY_COMPARE(endedByClose.count(), 1);
    QCOMPARE(endedByClose[0][0].toInt(), 2);
    qputenv("QUORLIN_HOME", home);
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(BatchWindow, TBatchWindowTest);

#include "BatchWindowTest.moc"
