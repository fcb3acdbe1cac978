// The main window: the Start flow, Halt, the viewer choice, the tab rules and
// the options summary, driven through the widgets by their names.
#include "GuiTestSupport.h"

#include "app/CompareFlow.h"
#include "gui/FrmChgFlag.h"
#include "gui/FrmSingle.h"
#include "gui/FrmVSplit.h"
#include "gui/HelpWindow.h"
#include "gui/PanelModel.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

namespace quorlin::test {

class TMainWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  static void SetNames(TGuiFixture& fx, const QString& newName, const QString& oldName) {
    fx.Find<QComboBox>("MnCbNewFileNm")->setEditText(newName);
    fx.Find<QComboBox>("MnCbOldFileNm")->setEditText(oldName);
  }

private slots:
  void StartWithAMissingNewFile() {
    TGuiFixture fx;
    fx.Main->show();
    QVERIFY(QTest::qWaitForWindowActive(fx.Main.get()));
    const QString missing = Dir.filePath("nowhere.txt");
    SetNames(fx, "  " + missing + " ", ExampleOld());
    fx.Find<QPushButton>("MnButCompare")->click();
    QCOMPARE(fx.Messages, QStringList{"\" " + missing +
                                      " \" is an invalid input file name. Reenter or us the \"Browse Button\" for "
                                      "assistance."});
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), missing);
    QCOMPARE(QApplication::focusWidget(), fx.Find<QComboBox>("MnCbNewFileNm"));
    QVERIFY(!fx.Main->SingleViewer()->isVisible());
  }

  void CompareOpensTheSingleViewer() {
    TGuiFixture fx;
    SetNames(fx, ExampleNew(), ExampleOld());
    fx.Find<QPushButton>("MnButCompare")->click();
    QVERIFY(fx.Messages.isEmpty());
    QCOMPARE(fx.Find<QLineEdit>("MnEdPanStatus")->text(), QString("INFORM: The processed files have differences."));
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QVERIFY(viewer->isVisible());

    // The same compare run by the core alone gives the list the panel shows.
    TSilentFrontEnd silent;
    TAppState alone(silent);
    alone.Controls.MnCbNewFileNm = ExampleNew().toStdString();
    alone.Controls.MnCbOldFileNm = ExampleOld().toStdString();
    RunCompare(alone);
    auto* model = viewer->Panel()->PanelModel();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model->rowCount(), static_cast<int>(alone.Panel1Lines.size()));

    struct Row {
      int Index;
      const char* Start;
      QColor Colour;
    } rows[] = {
        {0, " New File = ", Qt::blue},
        {1, " Old File = ", Qt::red},
        {6, "   4  I -  * balance of every account, and the total", Qt::blue},
        {7, "   5  D -  * balance of every account.", Qt::red},
        {8, "   6       */", Qt::black},
        {model->rowCount() - 1, " INFORM: The processed files have differences.", Qt::black},
    };
    for (const Row& row : rows) {
      const QModelIndex index = model->index(row.Index);
      QVERIFY2(index.data().toString().startsWith(row.Start), qPrintable(index.data().toString()));
      QCOMPARE(index.data(Qt::ForegroundRole).value<QColor>(), row.Colour);
    }
    QVERIFY(model->headerData(0, Qt::Horizontal).toString().startsWith("Ref# ID  ----+----1"));
    QVERIFY(viewer->width() >= 676);
    viewer->accept();
    QVERIFY(fx.Find<QPushButton>("MnButViewResults")->isEnabled());
  }

  void HaltStopsALongCompare() {
    // A pair large enough that the compare runs well past the click.
    QByteArray newText, oldText;
    for (int i = 0; i < 400000; ++i) {
      const QByteArray line = "line " + QByteArray::number(i * 7 % 1000) + " of the file\n";
      newText += line;
      oldText += (i % 50 == 0) ? "changed " + line : line;
    }
    TGuiFixture fx;
    SetNames(fx, WriteFile(Dir, "big-new.txt", newText), WriteFile(Dir, "big-old.txt", oldText));
    auto* halt = fx.Find<QPushButton>("MnButStop");
    QElapsedTimer sinceHalt;
    QTimer::singleShot(20, halt, [&] {
      QVERIFY(!halt->isHidden());
      QVERIFY(!fx.Find<QPushButton>("MnButCompare")->isEnabled());
      sinceHalt.start();
      halt->click();
    });
    fx.Find<QPushButton>("MnButCompare")->click();
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

  void ViewResultsOnDemandAndChangedPreferences() {
    TGuiFixture fx;
    SetNames(fx, ExampleNew(), ExampleOld());
    fx.Find<QPushButton>("MnButViewResults")->click();
    QCOMPARE(fx.Messages, QStringList{MsgNoResultsYet});

    fx.Find<QCheckBox>("MnCkViewResults")->setChecked(true);
    fx.Find<QCheckBox>("PrCkSbsl")->setChecked(true);
    fx.Find<QPushButton>("MnButCompare")->click();
    QVERIFY(!fx.Main->SingleViewer()->isVisible());
    fx.Find<QPushButton>("MnButViewResults")->click();
    QVERIFY(fx.Main->DualViewer()->isVisible());
    fx.Main->DualViewer()->accept();

    fx.Find<QCheckBox>("PrCkSbsl")->setChecked(false);
    fx.Find<QPushButton>("MnButViewResults")->click();
    QCOMPARE(fx.Messages.last(), QString(MsgPrefsChanged));
    QVERIFY(!fx.Find<QPushButton>("MnButViewResults")->isEnabled());
    QVERIFY(!fx.Main->DualViewer()->isVisible());
  }

  void TabRulesAndTheOptionsSummary() {
    TGuiFixture fx;
    QTabWidget* tabs = fx.Main->Notebook();
    auto* summary = fx.Find<QLabel>("MnlblOptsUsed");

    tabs->setCurrentIndex(2); // Preferences
    fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
    fx.Find<QCheckBox>("PrCkXTab")->setChecked(true);
    tabs->setCurrentIndex(4); // leaving Preferences for About rebuilds the summary
    QCOMPARE(summary->text(), QString("Icas Xtab "));

    tabs->setCurrentIndex(3); // Dp Options
    fx.Find<QRadioButton>("DpRadioGroup1_Dsem")->setChecked(true);
    fx.Find<QCheckBox>("DpCkDpDln2")->setChecked(true);
    fx.Find<QPushButton>("DpButReturn")->click();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(summary->text(), QString("Icas Xtab Dpln Dsem "));

    tabs->setCurrentIndex(3);
    fx.Find<QRadioButton>("DpRadioGroup1_Dcpp")->setChecked(true);
    fx.Find<QPushButton>("DpButCancel")->click();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(summary->text(), QString("Icas Xtab Dpln Dsem "));  // Cancel on Dp Options keeps the summary
    QCOMPARE(fx.App.Controls.DpRadioGroup1, static_cast<int>(DpDcpp));  // the selection itself stays

    // Closing the window from Dp Options goes back to the Main Panel.
    tabs->setCurrentIndex(3);
    QVERIFY(!fx.Main->close());
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(summary->text(), QString("Icas Xtab Dpln Dcpp "));

    // OverView opens the user guide and the tab stays.
    tabs->setCurrentIndex(5);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(fx.Main->HelpWindow()->isVisible());
    QVERIFY(fx.Main->HelpWindow()->Browser()->toPlainText().contains("Listing types"));
  }

  void ModelWritesShowInTheWidgets() {
    TGuiFixture fx;
    fx.App.Controls.Pref(TagFmvl).Checked = true;
    fx.App.Controls.PrEdSubC = "\"#\"";
    fx.App.Controls.DpRadioGroup1 = DpDhtm;
    fx.App.Controls.DpEdDpDln[3] = "abc 1:5";
    fx.App.Controls.MnCbListType = "Long";
    fx.Main->RefreshFromModel();
    QVERIFY(fx.Find<QCheckBox>("PrCkFmvl")->isChecked());
    QCOMPARE(fx.Find<QLineEdit>("PrEdSubC")->text(), QString("\"#\""));
    QVERIFY(fx.Find<QRadioButton>("DpRadioGroup1_Dhtm")->isChecked());
    QCOMPARE(fx.Find<QLineEdit>("DpEdDpDln4")->text(), QString("abc 1:5"));
    QCOMPARE(fx.Find<QComboBox>("MnCbListType")->currentText(), QString("Long"));

    // And the Subc entry is checked when it is left.
    auto* subc = fx.Find<QLineEdit>("PrEdSubC");
    subc->setText("x");
    emit subc->editingFinished();
    QCOMPARE(fx.App.Controls.PrEdSubC, std::string("\"x\""));
    QCOMPARE(subc->text(), QString("\"x\""));
  }

  void LegendPressedTwiceIsOneWindow() {
    TGuiFixture fx;
    SetNames(fx, ExampleNew(), ExampleOld());
    fx.Find<QPushButton>("MnButCompare")->click();
    auto* legend = fx.Find<QPushButton>("LsButLegend");
    legend->click();
    legend->click();
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<gui::TFrmChgFlag*>(w) && w->isVisible()) ++shown;
    QCOMPARE(shown, 1);
    QCOMPARE(fx.Main->findChild<QLabel*>("LegendText2")->text(),
             QString(": Deleted line from old file.  Absent (sequentially ) from new file."));
    fx.Main->SingleViewer()->accept();
    QVERIFY(!fx.Main->LegendWindow()->isVisible());  // the legend closes with the viewer
  }
};

} // namespace quorlin::test

QObject* MakeMainWindowTest() { return new quorlin::test::TMainWindowTest; }

#include "MainWindowTest.moc"
