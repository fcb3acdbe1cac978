// The main window: the Start flow, the viewer choice, the legend, Halt, and
// the tabs and the options summary wired to the core's rules.
#include "GuiTestSupport.h"

#include "app/CompareFlow.h"
#include "engine/CompareRun.h"
#include "gui/FrmSbS.h"
#include "gui/FrmChgFlag.h"
#include "gui/HelpWindow.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeySequence>
#include <QTabBar>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QTextBrowser>

#include <map>

namespace quorlin::test {

inline QString FromCoreText(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

/// The controls of window (not of its child windows) that answer each Alt
/// key: visible buttons and check boxes, labels with a buddy, group boxes
/// and the tabs of tab bars.
std::map<QString, QStringList> AltKeys(QWidget* window) {
  std::map<QString, QStringList> keys;
  auto add = [&](const QString& text, const QString& who) {
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (!key.isEmpty()) keys[key.toString()] << who;
  };
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->window() != window || !w->isVisibleTo(window)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text(), w->objectName());
    else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) add(label->text(), w->objectName());
    else if (auto* group = qobject_cast<QGroupBox*>(w)) add(group->title(), w->objectName());
    else if (auto* tabs = qobject_cast<QTabBar*>(w))
      for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i), "tab " + tabs->tabText(i).trimmed());
  }
  return keys;
}

/// "Alt+S: MnButCompare, MnButSvUserIni" for each key that more than one control answers.
QStringList AltClashes(QWidget* window, const QString& where) {
  QStringList clashes;
  for (const auto& [key, who] : AltKeys(window))
    if (who.size() > 1) clashes << where + " " + key + ": " + who.join(", ");
  return clashes;
}

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
    // The modal viewer does not block the legend (a modal window blocks all
    // windows but itself and its own): its Close button acts.
    auto* legend = fx.Main->LegendWindow();
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = legend;
    while (owner && owner != modal) owner = owner->parentWidget();
    QVERIFY(modal == viewer && owner == viewer);
    legend->findChild<QPushButton*>("ButClose")->click();
    QVERIFY(!legend->isVisible());
    fx.Click("LsButLegend");
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
      // Only Halt, Exit and the hint box act while a compare runs.
      for (const char* name : {"MnButCompare", "MnButLdIni", "MnButSvUserIni", "MnButBrowse"})
        QVERIFY2(!fx.Find<QPushButton>(name)->isEnabled(), name);
      QVERIFY(fx.Find<QPushButton>("MnButExit")->isEnabled());
      QVERIFY(!fx.Main->Notebook()->isTabEnabled(2));
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
    QVERIFY(fx.Main->Notebook()->isTabEnabled(2));
    QCOMPARE(fx.Main->ExitStatus(), 2);
  }

  void TheScreenTellsWhatTheRunDid() {
    TGuiFixture fx;
    QTabWidget* tabs = fx.Main->Notebook();
    auto* summary = fx.Find<QLabel>("MnlblOptsUsed");
    auto listingHas = [&](const QString& text) {
      for (std::string_view line : fx.App.Panel1Lines)
        if (FromCoreText(line).contains(text)) return true;
      return false;
    };
    // Dp Options: Dcpp chosen, then Cancel: neither the run nor the screen has it.
    tabs->setCurrentIndex(3);
    fx.Find<QRadioButton>("DpRadioGroup1_Dcpp")->setChecked(true);
    fx.Click("DpButCancel");
    QVERIFY(fx.Find<QRadioButton>("DpRadioGroup1_None")->isChecked());
    fx.Compare(ExampleNew(), ExampleOld(), "Long");
    QVERIFY(listingHas("OPTIONS = None "));
    fx.Main->SingleViewer()->accept();

    // A bad Dln filter the run ignored is unchecked on the screen and gone from the summary.
    tabs->setCurrentIndex(3);
    fx.Find<QCheckBox>("DpCkDpDLn1")->setChecked(true);
    fx.Find<QLineEdit>("DpEdDpDln1")->setText("abc 9:3");
    fx.Click("DpButReturn");
    QCOMPARE(summary->text(), QString("Dpln "));
    fx.Compare(ExampleNew(), ExampleOld(), "Long");
    QVERIFY(listingHas("A bad DpLn was encountered and ignored"));
    QVERIFY(!fx.Find<QCheckBox>("DpCkDpDLn1")->isChecked());
    QCOMPARE(summary->text(), QString("None"));

    // The viewer names the files compared, also after the names were edited;
    // a position stored on a larger display opens it on this one.
    fx.Main->SingleViewer()->accept();
    fx.App.Settings.Single = {"-3000", "2500", "400", "700"};
    fx.SetNames("/edited/new.c", "/edited/old.c");
    fx.Click("MnButViewResults");
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QCOMPARE(viewer->findChild<QLabel*>("LsLblNFName")->text(), ExampleNew());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.intersects(viewer->geometry()), qPrintable(QString("%1,%2").arg(viewer->x()).arg(viewer->y())));
    viewer->accept();

    // A stored listing type in another case, or unknown, shows what the run uses.
    for (const auto& [stored, shown] : {std::pair("long", "Long"), std::pair("Bogus", "Chng")}) {
      fx.AnswerFileDialogs(WriteFile(Dir, "types.ini", QByteArray("[Quorln32]\nListType=") + stored + "\n"));
      fx.Click("MnButLdIni");
      QCOMPARE(fx.Text("MnCbListType"), QString(shown));
      QCOMPARE(fx.App.Controls.MnCbListType, std::string(shown));
    }
    QVERIFY2(fx.Messages.isEmpty(), qPrintable(fx.Messages.join("|")));
  }

  void OneKeyOneAction() {
    // Every window, on every tab, answers each Alt key with one control.
    TGuiFixture fx;
    fx.Main->show();
    QStringList clashes;
    for (int tab = 0; tab < 5; ++tab) {
      fx.Main->Notebook()->setCurrentIndex(tab);
      clashes << AltClashes(fx.Main.get(), "tab " + QString::number(tab));
    }
    fx.Main->Notebook()->setCurrentIndex(0);
    fx.Compare(ExampleNew(), ExampleOld());
    clashes << AltClashes(fx.Main->SingleViewer(), "single viewer");
    fx.Click("LsButFind");
    clashes << AltClashes(fx.Main->SingleViewer()->findChild<gui::TFindDialog*>(), "find");
    fx.Click("LsButLegend");
    clashes << AltClashes(fx.Main->LegendWindow(), "legend");
    fx.Main->SingleViewer()->accept();
    gui::TFrmVSplit* dual = fx.CompareDual();
    clashes << AltClashes(dual, "side-by-side viewer");
    fx.Click("VsBtnHortChg");
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "TFrmVSplit2") {
        clashes << AltClashes(w, "horizontal viewer");
        w->close();
      }
    clashes << AltClashes(fx.Main->SaveLayoutDialog(), "save layout");
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));

    // Alt+S starts the compare, and so does Enter in a name box.
    dual->accept();
    fx.Find<QCheckBox>("PrCkSbsl")->setChecked(false);
    QApplication::setActiveWindow(fx.Main.get());
    fx.SetNames(ExampleNew(), ExampleNew());
    QTest::keyClick(fx.Find<QComboBox>("MnCbNewFileNm"), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(fx.Main->SingleViewer()->isVisible()); // a mnemonic clicks after a short flash
    QCOMPARE(fx.App.StatusText, std::string(MsgEquivalent));
    fx.Main->SingleViewer()->accept();
    fx.SetNames(ExampleNew(), ExampleOld());
    QTest::keyClick(fx.Find<QComboBox>("MnCbNewFileNm"), Qt::Key_Return);
    QVERIFY(fx.Main->SingleViewer()->isVisible());
    QCOMPARE(fx.App.StatusText, std::string(MsgDiffer));
    fx.Main->SingleViewer()->accept();
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
