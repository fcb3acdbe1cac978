// The side-by-side and horizontal split viewers: panels kept in step through
// the core's two-panel model, navigation through the buttons, HSplit.
#include "GuiTestSupport.h"

#include "gui/FindDialog.h"
#include "gui/FrmVSplit2.h"
#include "viewers/Navigation.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>

namespace quorlin::test {

class TSideBySideViewerTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void BothPanelsNavigationAndHSplit() {
    TGuiFixture fx;
    fx.Compare(ExampleNew(), ExampleOld(), "Chng", true);
    gui::TFrmVSplit* viewer = fx.Main->DualViewer();
    QVERIFY(viewer->isVisible());
    QVERIFY(!fx.Main->SingleViewer()->isVisible());
    auto* left = viewer->Left()->PanelModel();
    auto* right = viewer->Right()->PanelModel();
    QAbstractItemModelTester leftTester(left, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(left->rowCount(), static_cast<int>(fx.App.Panel1Lines.size()));
    QCOMPARE(right->rowCount(), static_cast<int>(fx.App.Panel2Lines.size()));
    struct Row {
      gui::TPanelListModel* Model;
      int Index;
      const char* Start;
      QColor Colour;
    } rows[] = {
        {left, 6, "   4  I -  * balance of every account, and the total", Qt::blue},
        {right, 6, "   4  D -  * balance of every account.", Qt::red},
        {right, 7, "   5       */", Qt::black},
    };
    for (const Row& row : rows) {
      const QModelIndex index = row.Model->index(row.Index);
      QVERIFY2(index.data().toString().startsWith(row.Start), qPrintable(index.data().toString()));
      QCOMPARE(index.data(Qt::ForegroundRole).value<QColor>(), row.Colour);
    }
    QVERIFY(left->headerData(0, Qt::Horizontal).toString().startsWith(" Ref# ID  Matches/Inserts"));
    QVERIFY(right->headerData(0, Qt::Horizontal).toString().startsWith(" Ref# ID  Matches/Deletes"));

    // The core's model over the same lists says where each span starts.
    const TResultView view = MakeResultView(fx.App); // the model keeps a reference to it
    TTwoPanelModel expected(view, TTwoPanelModel::TLayout::SideBySide);
    for (int step = 0; step < 4; ++step) {
      expected.NextSpan();
      fx.Click("VsBitChngDown");
      QCOMPARE(viewer->Left()->Selection(), expected.First.Selection);
    }
    QVERIFY(fx.Messages.isEmpty());
    expected.PrevSpan();
    fx.Click("VsBitChngUp");
    QCOMPARE(viewer->Left()->Selection(), expected.First.Selection);

    fx.Find<QComboBox>("VsCbLBFontSz")->setCurrentText("11");
    fx.Click("VsBtnHortChg");
    gui::TFrmVSplit2* horizontal = viewer->Horizontal();
    QVERIFY(horizontal->isVisible());
    QCOMPARE(horizontal->Upper()->font().pointSize(), 11);
    QCOMPARE(horizontal->Lower()->font().pointSize(), 11);
    QCOMPARE(horizontal->Upper()->PanelModel()->rowCount(), static_cast<int>(fx.App.Panel1Lines.size()));
    fx.Click("HsButBottom");
    QCOMPARE(horizontal->Upper()->Selection(), static_cast<int>(fx.App.Panel1Lines.size()) - 1);
    QCOMPARE(horizontal->Lower()->Selection(), static_cast<int>(fx.App.Panel2Lines.size()) - 1);
    fx.Click("HsButReturn");
    QVERIFY(!horizontal->isVisible());
    QVERIFY(!fx.App.Settings.Horizontal.Width.empty());
    viewer->accept();
    QCOMPARE(fx.App.Settings.LBx2FontSz, std::string("11"));
  }

  void BinaryBytesShownAndFound() {
    // NUL bytes, bytes that are not UTF-8 and an escape sequence, in both
    // viewers: shown (Latin-1 where the line is not UTF-8) and found.
    const QString newFile = WriteFile(Dir, "bin-n.txt", QByteArray("ok\n\0nul\0 here\ncaf\xe9 \xff\xfe\n\x1b[31mred\n", 31));
    const QString oldFile = WriteFile(Dir, "bin-o.txt", QByteArray("ok\n\0nul\0 there\ncaf\xc3\xa9\n", 21));
    for (bool sbsl : {false, true}) {
      TGuiFixture fx;
      fx.Compare(newFile, oldFile, "Long", sbsl);
      QDialog* viewer = sbsl ? static_cast<QDialog*>(fx.Main->DualViewer()) : fx.Main->SingleViewer();
      gui::TPanelView* panel = sbsl ? fx.Main->DualViewer()->Left() : fx.Main->SingleViewer()->Panel();
      QVERIFY(viewer->isVisible());
      QStringList rows;
      for (int i = 0; i < panel->PanelModel()->rowCount(); ++i) rows << RowText(panel, i);
      const QString all = rows.join('\n');
      QVERIFY2(all.contains(QString::fromLatin1("caf\xe9 \xff\xfe")), qPrintable(all));
      QVERIFY(all.contains(QString::fromUtf8("caf\xc3\xa9")) || sbsl); // the OLD line is in the other panel
      QVERIFY(all.contains(QStringLiteral("nul")));
      panel->viewport()->repaint();
      fx.Click(sbsl ? "VsButFind" : "LsButFind");
      auto* find = viewer->findChild<gui::TFindDialog*>();
      find->findChild<QLineEdit*>("FindText")->setText("RED");
      find->findChild<QPushButton*>("FindNext")->click();
      QVERIFY2(RowText(panel).contains("[31mred"), qPrintable(fx.Messages.join('|')));
      viewer->accept();
    }
  }

  void PanelsKeptInStep() {
    for (bool clnc : {false, true}) {
      TGuiFixture fx;
      fx.Compare(LineFile(Dir, "n.txt", 600, 7), LineFile(Dir, "o.txt", 600, 11), "Chng", true, clnc);
      gui::TFrmVSplit* viewer = fx.Main->DualViewer();
      QVERIFY(viewer->isVisible());
      viewer->resize(800, 500);
      QVERIFY(QTest::qWaitForWindowActive(viewer));
      viewer->Left()->verticalScrollBar()->setValue(100);
      QCOMPARE(viewer->Right()->TopLine(), clnc ? 0 : 100);
      viewer->Right()->verticalScrollBar()->setValue(150);
      QCOMPARE(viewer->Left()->TopLine(), clnc ? 100 : 150);
      // A click lines the panels up, also under Clnc.
      viewer->Left()->verticalScrollBar()->setValue(40);
      const QModelIndex row = viewer->Left()->PanelModel()->index(45);
      QTest::mouseClick(viewer->Left()->viewport(), Qt::LeftButton, {},
                        QPoint(20, viewer->Left()->visualRect(row).center().y()));
      QCOMPARE(viewer->Left()->Selection(), 45);
      QCOMPARE(viewer->Right()->Selection(), 45);
      QCOMPARE(viewer->Right()->TopLine(), viewer->Left()->TopLine());
      viewer->accept();
    }
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SideBySideViewer, TSideBySideViewerTest);

#include "SideBySideViewerTest.moc"
