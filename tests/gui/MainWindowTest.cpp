// The main window: the Start flow, the viewer choice, the legend, Halt, and
// the tabs and the options summary wired to the core's rules.
#include "GuiTestSupport.h"

#include "app/CompareFlow.h"
#include "gui/FrmChgFlag.h"
#include "gui/HelpWindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTextBrowser>

namespace quorlin::test {

class TMainWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void StartFlowAndTheViewerChoice() {
    TGuiFixture fx;
    fx.Main->show();
    QVERIFY(QTest::qWaitForWindowActive(fx.Main.get()));
    fx.Click("MnButViewResults");
    QCOMPARE(fx.Messages, QStringList{MsgNoResultsYet});

    // A missing New file: its message, the name trimmed and the focus in its box.
    const QString missing = Dir.filePath("nowhere.txt");
    fx.SetNames("  " + missing + " ", ExampleOld());
    fx.Click("MnButCompare");
    QCOMPARE(fx.Messages.size(), 2);
    QVERIFY(fx.Messages[1].startsWith("\" " + missing + " \" is an invalid input file name."));
    QCOMPARE(fx.Text("MnCbNewFileNm"), missing);
    QCOMPARE(QApplication::focusWidget(), fx.Find<QComboBox>("MnCbNewFileNm"));
    QVERIFY(!fx.Main->SingleViewer()->isVisible());

    fx.Messages.clear();
    fx.Compare(ExampleNew(), ExampleOld());
    QVERIFY(fx.Messages.isEmpty());
    QCOMPARE(fx.Find<QLineEdit>("MnEdPanStatus")->text(), QString("INFORM: The processed files have differences."));
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QVERIFY(viewer->isVisible());
    // Legend pressed twice is one window, and it closes with the viewer.
    fx.Click("LsButLegend");
    fx.Click("LsButLegend");
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) shown += qobject_cast<gui::TFrmChgFlag*>(w) && w->isVisible();
    QCOMPARE(shown, 1);
    viewer->accept();
    QVERIFY(!fx.Main->LegendWindow()->isVisible());

    // Results on demand open with View Latest Results, in the viewer of their
    // preferences; once Sbsl changes they are stale.
    fx.Find<QCheckBox>("MnCkViewResults")->setChecked(true);
    gui::TFrmVSplit* dual = fx.CompareDual();
    QVERIFY(!dual->isVisible() && !viewer->isVisible());
    fx.Click("MnButViewResults");
    QVERIFY(dual->isVisible());
    dual->accept();
    fx.Find<QCheckBox>("PrCkSbsl")->setChecked(false);
    fx.Click("MnButViewResults");
    QCOMPARE(fx.Messages, QStringList{MsgPrefsChanged});
    QVERIFY(!fx.Find<QPushButton>("MnButViewResults")->isEnabled());
    QVERIFY(!dual->isVisible() && !viewer->isVisible());
  }

  void HaltStopsALongCompare() {
    // A pair large enough that the compare runs well past the click.
    TGuiFixture fx;
    fx.SetNames(LineFile(Dir, "big-new.txt", 400000, 0, 1000), LineFile(Dir, "big-old.txt", 400000, 50, 1000));
    auto* halt = fx.Find<QPushButton>("MnButStop");
    QElapsedTimer sinceHalt;
    QTimer::singleShot(20, halt, [&] {
      QVERIFY(!halt->isHidden());
      QVERIFY(!fx.Find<QPushButton>("MnButCompare")->isEnabled());
      sinceHalt.start();
      halt->click();
    });
    fx.Click("MnButCompare");
    QVERIFY(sinceHalt.isValid());
    QVERIFY2(sinceHalt.elapsed() < 500, qPrintable(QString::number(sinceHalt.elapsed())));
    QCOMPARE(fx.Messages, QStringList{MsgUserTerminated});
    QVERIFY(!fx.Main->SingleViewer()->isVisible());
    QVERIFY(fx.Find<QLineEdit>("MnEdPanStatus")->text().startsWith("INFORM: The User requested"));
    for (const char* name : {"MnButCompare", "MnButExit", "MnButBrowse", "MnButViewResults"})
      QVERIFY2(fx.Find<QPushButton>(name)->isEnabled(), name);
    QVERIFY(halt->isHidden());
    QCOMPARE(fx.Main->ExitStatus(), 2);
  }

  void TabsAndTheOptionsSummary() {
    // Which tab change rebuilds the summary, and its text, are the core's
    // rules; here the tab bar, the buttons and the label are wired to them.
    TGuiFixture fx;
    QTabWidget* tabs = fx.Main->Notebook();
    auto* summary = fx.Find<QLabel>("MnlblOptsUsed");
    tabs->setCurrentIndex(2); // Preferences
    fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
    auto* subc = fx.Find<QLineEdit>("PrEdSubC"); // the Subc entry is checked when it is left
    subc->setText("x");
    emit subc->editingFinished();
    QCOMPARE(subc->text(), QString("\"x\""));
    tabs->setCurrentIndex(3); // Dp Options
    QCOMPARE(summary->text(), QString("Icas "));
    fx.Find<QRadioButton>("DpRadioGroup1_Dsem")->setChecked(true);
    fx.Click("DpButReturn");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(summary->text(), QString("Icas Dsem "));
    tabs->setCurrentIndex(3);
    fx.Click("DpButCancel");
    QCOMPARE(tabs->currentIndex(), 0);
    // Closing the window from Dp Options goes back to the Main Panel.
    tabs->setCurrentIndex(3);
    fx.Find<QRadioButton>("DpRadioGroup1_Dcpp")->setChecked(true);
    QVERIFY(!fx.Main->close());
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(summary->text(), QString("Icas Dcpp "));

    // OverView opens the user guide and the tab stays.
    tabs->setCurrentIndex(5);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(fx.Main->HelpWindow()->isVisible());
    QVERIFY(fx.Main->HelpWindow()->Browser()->toPlainText().contains("Listing types"));
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(MainWindow, TMainWindowTest);

#include "MainWindowTest.moc"
