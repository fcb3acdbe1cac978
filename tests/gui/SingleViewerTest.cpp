// The single-panel viewer: its rows and their colours, To Top, To Btm, Find
// and change-span navigation on a listing whose lines are known; its font
// size and stored geometry.
#include "GuiTestSupport.h"

#include "gui/FindDialog.h"
#include "viewers/Navigation.h"

#include <QAbstractItemModelTester>

namespace quorlin::test {

class TSingleViewerTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void ButtonsFontAndStoredGeometry() {
    TGuiFixture fx;
    fx.App.Settings.Single = {"30", "40", "300", "500"};
    fx.App.Settings.LBx1FontSz = "11";
    // Long listing: heading rows 0-2, then a b [I X] c d [I Y, I Z] [D q] e.
    fx.Compare(WriteFile(Dir, "n.txt", "a\nb\nX\nc\nd\nY\nZ\ne\n"), WriteFile(Dir, "o.txt", "a\nb\nc\nd\nq\ne\n"),
               "Long");
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QVERIFY(viewer->isVisible());
    gui::TPanelView* panel = viewer->Panel();
    QAbstractItemModelTester tester(panel->PanelModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(panel->PanelModel()->headerData(0, Qt::Horizontal).toString().startsWith("Ref# ID  ----+----1"));
    auto colour = [panel] { return panel->PanelModel()->index(panel->Selection()).data(Qt::ForegroundRole).value<QColor>(); };
    QCOMPARE(panel->font().pointSize(), 11);
    QCOMPARE(panel->Selection(), 0);
    QCOMPARE(colour(), QColor(Qt::blue)); // New File =

    fx.Click("LsBitChngDown");
    QVERIFY2(RowText(panel).contains("I - X"), qPrintable(RowText(panel)));
    QCOMPARE(colour(), QColor(Qt::blue));
    fx.Click("LsBitChngDown");
    QVERIFY(RowText(panel).contains("I - Y"));
    fx.Click("LsBitChngDown"); // Y, Z and the deleted q are one span
    QCOMPARE(fx.Messages, QStringList{MsgNoForwardSpans});
    fx.Click("LsBitChngUp");
    QVERIFY(RowText(panel).contains("I - X"));

    fx.Click("LsButBtm");
    QCOMPARE(panel->Selection(), panel->PanelModel()->rowCount() - 1);
    fx.Click("LsButTop");
    QCOMPARE(panel->Selection(), 0);

    fx.Click("LsButFind");
    auto* find = viewer->findChild<gui::TFindDialog*>();
    QVERIFY(find && find->isVisible());
    find->findChild<QLineEdit*>("FindText")->setText("d - Q");
    find->findChild<QPushButton*>("FindNext")->click();
    QVERIFY(RowText(panel).contains("D - q"));
    QCOMPARE(colour(), QColor(Qt::red));
    find->findChild<QPushButton*>("FindNext")->click();
    QCOMPARE(fx.Messages.last(), QString(MsgTextNotFound));
    find->findChild<QRadioButton*>("FindUp")->setChecked(true);
    find->findChild<QLineEdit*>("FindText")->setText("   2      B");
    find->findChild<QPushButton*>("FindNext")->click();
    QVERIFY2(RowText(panel).startsWith("   2      b"), qPrintable(RowText(panel)));
    QCOMPARE(colour(), QColor(Qt::black));

    fx.Find<QComboBox>("LsCBLBFontSz")->setCurrentText("9");
    QCOMPARE(panel->font().pointSize(), 9);
    viewer->accept();
    QCOMPARE(fx.App.Settings.LBx1FontSz, std::string("9"));
    QCOMPARE(fx.App.Settings.Single.Width, std::string("676")); // the stored width was below the least
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SingleViewer, TSingleViewerTest);

#include "SingleViewerTest.moc"
