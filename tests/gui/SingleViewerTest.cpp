// The single-panel viewer: its rows and their colours, its buttons and the
// Find dialog wired to the core's navigation, its font size and stored
// geometry.
#include "GuiTestSupport.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>

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
    QVERIFY(panel->PanelModel()->headerData(0, Qt::Horizontal).toString().startsWith(" Ref# ID  ----+----1"));
    QCOMPARE(panel->font().pointSize(), 11);
    QCOMPARE(panel->Selection(), 0);
    QCOMPARE(RowColour(panel), Shown(TLineColour::Blue)); // New File =

    fx.Click("LsBitChngDown");
    QVERIFY2(RowText(panel).contains("I - X"), qPrintable(RowText(panel)));
    fx.Click("LsBitChngDown");
    fx.Click("LsBitChngUp");
    QVERIFY(RowText(panel).contains("I - X"));
    fx.Click("LsButBtm");
    QCOMPARE(panel->Selection(), panel->PanelModel()->rowCount() - 1);
    fx.Click("LsBitChngDown"); // the core's message reaches the user
    QCOMPARE(fx.Messages, QStringList{MsgNoForwardSpans});
    fx.Click("LsButTop");
    QCOMPARE(panel->Selection(), 0);

    fx.Click("LsButFind");
    auto* find = viewer->findChild<gui::TFindDialog*>();
    QVERIFY(find && find->isVisible());
    FindNext(viewer, "d - Q");
    QVERIFY(RowText(panel).contains("D - q"));
    QCOMPARE(RowColour(panel), Shown(TLineColour::Red));
    FindNext(viewer, "d - Q");
    QCOMPARE(fx.Messages.last(), QString(MsgTextNotFound));
    find->findChild<QRadioButton*>("FindUp")->setChecked(true);
    FindNext(viewer, "   2      B");
    QVERIFY2(RowText(panel).startsWith("   2      b"), qPrintable(RowText(panel)));
    QCOMPARE(RowColour(panel), Shown(TLineColour::Black));
    // Every window shows the program's icon: the main window, the viewer and its dialog.
    for (QWidget* window : QApplication::topLevelWidgets())
      QVERIFY2(window->windowIcon().cacheKey() == QApplication::windowIcon().cacheKey() &&
                   !QApplication::windowIcon().isNull(),
               qPrintable(window->objectName()));

    fx.Find<QComboBox>("LsCBLBFontSz")->setCurrentText("9");
    QCOMPARE(panel->font().pointSize(), 9);
    viewer->accept();
    QCOMPARE(fx.App.Settings.LBx1FontSz, std::string("9"));
    QCOMPARE(fx.App.Settings.Single.Width, std::string("676")); // the stored width was below the least
  }

  void PanelKeysClicksAndRows() {
    // The panel as a person uses it: keys, a click, the header row that
    // scrolls sideways with the rows, rows one line of the font high.
    TGuiFixture fx;
    QByteArray lines;
    for (int i = 1; i <= 300; ++i) lines += "line " + QByteArray::number(i) + "\n";
    fx.Compare(WriteFile(Dir, "k-new.txt", lines + QByteArray(150, 'w') + "\n"), WriteFile(Dir, "k-old.txt", lines),
               "Long");
    gui::TFrmSingle* viewer = fx.Main->SingleViewer();
    gui::TPanelView* panel = viewer->Panel();
    const int last = panel->PanelModel()->rowCount() - 1;
    panel->setFocus();
    panel->Select(5);
    const struct {
      Qt::Key Key;
      int Row;
    } keys[] = {{Qt::Key_End, last}, {Qt::Key_Home, 0}, {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}};
    for (const auto& k : keys) {
      QTest::keyClick(panel, k.Key);
      QCOMPARE(panel->Selection(), k.Row);
    }
    QTest::keyClick(panel, Qt::Key_PageDown);
    QVERIFY(panel->Selection() > panel->VisibleRows() / 2);
    QTest::keyClick(panel, Qt::Key_Right);
    QTest::keyClick(panel, Qt::Key_Right);
    QVERIFY(panel->horizontalScrollBar()->value() > 0);
    QCOMPARE(panel->horizontalHeader()->offset(), panel->horizontalScrollBar()->value());
    QTest::keyClick(panel, Qt::Key_Left);
    QTest::keyClick(panel, Qt::Key_Left);
    QCOMPARE(panel->horizontalScrollBar()->value(), 0);

    const int height = panel->rowHeight(0);
    QCOMPARE(height, QFontMetrics(panel->font()).height());
    QCOMPARE(panel->VisibleRows(), panel->viewport()->height() / height);
    QSignalSpy clicked(panel, &gui::TPanelView::LineClicked);
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, QPoint(20, height * 3 + height / 2));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked[0][0].toInt(), panel->TopLine() + 3);
    QCOMPARE(panel->Selection(), panel->TopLine() + 3);
    viewer->accept();
  }

  void NonAsciiRowsShownPerCharacter() {
    // A line whose 80-byte cut splits a character: the row shows the text per
    // character, a replacement for the cut one, and its reference columns in
    // line with a plain row.
    TGuiFixture fx;
    QByteArray wide = "Gr\xC3\xBC\xC3\x9F" "e ";
    while (wide.size() < 79) wide += "\xC3\xBC";
    wide = wide.left(79) + "\xE2\x82\xAC tail";
    fx.Compare(WriteFile(Dir, "utf8-new.txt", "plain\n" + wide + "\n"), WriteFile(Dir, "utf8-old.txt", "other\n"),
               "Long");
    gui::TPanelView* panel = fx.Main->SingleViewer()->Panel();
    const QString plain = RowText(panel, 3), row = RowText(panel, 4);
    QVERIFY2(row.contains(QString::fromUtf8("Grüße")) && !row.contains(QChar(0xC3)), qPrintable(row));
    QVERIFY(row.contains(QChar(0xFFFD)));
    QCOMPARE(row.indexOf("00002"), plain.indexOf("00001"));
    fx.Main->SingleViewer()->accept();
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SingleViewer, TSingleViewerTest);

#include "SingleViewerTest.moc"
