// The single-panel viewer through its buttons: To Top, To Btm, Find and
// change-span navigation on a listing whose lines are known.
#include "GuiTestSupport.h"

#include "gui/FindDialog.h"
#include "gui/FrmSingle.h"
#include "gui/PanelModel.h"
#include "viewers/Navigation.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quorlin::test {

class TSingleViewerTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void ButtonsMoveTheSelection() {
    TGuiFixture fx;
    // Long listing: heading rows 0-2, then a b [I X] c d [I Y, I Z] [D q] e.
    fx.Find<QComboBox>("MnCbNewFileNm")->setEditText(WriteFile(Dir, "n.txt", "a\nb\nX\nc\nd\nY\nZ\ne\n"));
    fx.Find<QComboBox>("MnCbOldFileNm")->setEditText(WriteFile(Dir, "o.txt", "a\nb\nc\nd\nq\ne\n"));
    fx.Find<QComboBox>("MnCbListType")->setCurrentText("Long");
    fx.Find<QPushButton>("MnButCompare")->click();
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QVERIFY(viewer->isVisible());
    gui::TPanelView* panel = viewer->Panel();
    auto text = [&](int row) { return panel->PanelModel()->index(row).data().toString(); };
    QCOMPARE(panel->Selection(), 0);

    fx.Find<QPushButton>("LsBitChngDown")->click();
    QVERIFY2(text(panel->Selection()).contains("I - X"), qPrintable(text(panel->Selection())));
    fx.Find<QPushButton>("LsBitChngDown")->click();
    QVERIFY(text(panel->Selection()).contains("I - Y"));
    fx.Find<QPushButton>("LsBitChngDown")->click(); // Y, Z and the deleted q are one span
    QCOMPARE(fx.Messages, QStringList{MsgNoForwardSpans});
    fx.Find<QPushButton>("LsBitChngUp")->click();
    QVERIFY(text(panel->Selection()).contains("I - X"));

    fx.Find<QPushButton>("LsButBtm")->click();
    QCOMPARE(panel->Selection(), panel->PanelModel()->rowCount() - 1);
    fx.Find<QPushButton>("LsButTop")->click();
    QCOMPARE(panel->Selection(), 0);

    fx.Find<QPushButton>("LsButFind")->click();
    auto* find = viewer->findChild<gui::TFindDialog*>();
    QVERIFY(find && find->isVisible());
    find->findChild<QLineEdit*>("FindText")->setText("d - Q");
    find->findChild<QPushButton*>("FindNext")->click();
    QVERIFY(text(panel->Selection()).contains("D - q"));
    find->findChild<QPushButton*>("FindNext")->click();
    QCOMPARE(fx.Messages.last(), QString(MsgTextNotFound));
    find->findChild<QRadioButton*>("FindUp")->setChecked(true);
    find->findChild<QLineEdit*>("FindText")->setText("   2      B");
    find->findChild<QPushButton*>("FindNext")->click();
    QVERIFY2(text(panel->Selection()).startsWith("   2      b"), qPrintable(text(panel->Selection())));
    viewer->accept();
  }

  void FontSizeAndStoredGeometry() {
    TGuiFixture fx;
    fx.App.Settings.Single = {"30", "40", "300", "500"};
    fx.App.Settings.LBx1FontSz = "11";
    fx.Find<QComboBox>("MnCbNewFileNm")->setEditText(ExampleNew());
    fx.Find<QComboBox>("MnCbOldFileNm")->setEditText(ExampleOld());
    fx.Find<QPushButton>("MnButCompare")->click();
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    QCOMPARE(viewer->width(), 676);
    QCOMPARE(viewer->Panel()->font().pointSize(), 11);
    fx.Find<QComboBox>("LsCBLBFontSz")->setCurrentText("9");
    QCOMPARE(viewer->Panel()->font().pointSize(), 9);
    viewer->accept();
    QCOMPARE(fx.App.Settings.LBx1FontSz, std::string("9"));
    QCOMPARE(fx.App.Settings.Single.Width, std::string("676"));
  }
};

} // namespace quorlin::test

QObject* MakeSingleViewerTest() { return new quorlin::test::TSingleViewerTest; }

#include "SingleViewerTest.moc"
