// The side-by-side and horizontal split viewers: both panels filled through
// the core's rules, the buttons and scroll bars wired to its two-panel model,
// HSplit, and bytes that are not text.
#include "GuiTestSupport.h"

#include "gui/FrmVSplit2.h"
#include "viewers/Navigation.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QScrollBar>

namespace quorlin::test {

class TSideBySideViewerTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

private slots:
  void BothPanelsNavigationAndHSplit() {
    TGuiFixture fx;
    gui::TFrmVSplit* viewer = fx.CompareDual();
    QVERIFY(viewer->isVisible());
    QVERIFY(!fx.Main->SingleViewer()->isVisible());
    gui::TPanelView *left = viewer->Left(), *right = viewer->Right();
    QAbstractItemModelTester tester(left->PanelModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Each panel shows its own list by its own rule, with the rule's colours.
    QCOMPARE(left->PanelModel()->rowCount(), static_cast<int>(fx.App.Panel1Lines.size()));
    QCOMPARE(right->PanelModel()->rowCount(), static_cast<int>(fx.App.Panel2Lines.size()));
    QVERIFY(RowText(left, 6).startsWith("   4  I -  * balance of every account, and the total"));
    QVERIFY(RowText(right, 6).startsWith("   4  D -  * balance of every account."));
    QCOMPARE(RowColour(left, 6), Shown(TLineColour::Blue));
    QCOMPARE(RowColour(right, 6), Shown(TLineColour::Red));
    QVERIFY(left->PanelModel()->headerData(0, Qt::Horizontal).toString().startsWith(" Ref# ID  Matches/Inserts"));
    QVERIFY(right->PanelModel()->headerData(0, Qt::Horizontal).toString().startsWith(" Ref# ID  Matches/Deletes"));

    // The change buttons move as the core's model over the same lists does.
    const TResultView view = MakeResultView(fx.App); // the model keeps a reference to it
    TTwoPanelModel expected(view, TTwoPanelModel::TLayout::SideBySide);
    expected.NextSpan();
    expected.NextSpan();
    fx.Click("VsBitChngDown");
    fx.Click("VsBitChngDown");
    QCOMPARE(left->Selection(), expected.First.Selection);
    expected.PrevSpan();
    fx.Click("VsBitChngUp");
    QCOMPARE(left->Selection(), expected.First.Selection);
    QVERIFY(fx.Messages.isEmpty());

    // Scrolling one panel scrolls the other and a click lines them up, as
    // the core's model decides.
    viewer->resize(800, 400);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    left->verticalScrollBar()->setValue(30);
    QCOMPARE(right->TopLine(), 30);
    right->verticalScrollBar()->setValue(50);
    QCOMPARE(left->TopLine(), 50);
    left->verticalScrollBar()->setValue(40);
    const int y = left->visualRect(left->PanelModel()->index(45)).center().y();
    QTest::mouseClick(left->viewport(), Qt::LeftButton, {}, QPoint(20, y));
    QCOMPARE(left->Selection(), 45);
    QCOMPARE(right->Selection(), 45);
    QCOMPARE(right->TopLine(), left->TopLine());

    // HSplit opens in the font size chosen; its size and the font are kept.
    fx.Find<QComboBox>("VsCbLBFontSz")->setCurrentText("11");
    fx.Click("VsBtnHortChg");
    gui::TFrmVSplit2* horizontal = viewer->Horizontal();
    QVERIFY(horizontal->isVisible());
    QCOMPARE(horizontal->Upper()->font().pointSize(), 11);
    fx.Click("HsButBottom");
    QCOMPARE(horizontal->Upper()->Selection(), static_cast<int>(fx.App.Panel1Lines.size()) - 1);
    fx.Click("HsButReturn");
    QVERIFY(!horizontal->isVisible());
    QVERIFY(!fx.App.Settings.Horizontal.Width.empty());
    viewer->accept();
    QCOMPARE(fx.App.Settings.LBx2FontSz, std::string("11"));
  }

  void KeysJumpsAndCopy() {
    // F8, Shift+F8 and Ctrl+G select the rows the core's model gives, centred
    // and in both panels; the panels scroll sideways together; Ctrl+C copies
    // the selected rows as shown.
    TGuiFixture fx;
    gui::TFrmVSplit* viewer = fx.CompareDual(LineFile(Dir, "keys-n.txt", 400, 97), LineFile(Dir, "keys-o.txt", 400),
                                             "Long");
    viewer->resize(900, 400);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    gui::TPanelView *left = viewer->Left(), *right = viewer->Right();
    const TResultView view = MakeResultView(fx.App);
    TTwoPanelModel model(view, TTwoPanelModel::TLayout::SideBySide);
    auto sync = [&] {
      for (auto [panel, state] : {std::pair(left, &model.First), std::pair(right, &model.Second)})
        *state = {panel->Selection(), panel->TopLine(), panel->VisibleRows(), panel->PanelModel()->rowCount()};
    };
    auto centred = [&](gui::TPanelView* panel) {
      return std::abs(panel->Selection() - (panel->TopLine() + panel->VisibleRows() / 2)) <= 1;
    };
    for (int press = 0; press < 3; ++press) {
      sync();
      model.NextSpan();
      QTest::keyClick(viewer, Qt::Key_F8);
      QCOMPARE(left->Selection(), model.First.Selection);
      QCOMPARE(right->Selection(), model.First.Selection);
    }
    QVERIFY2(centred(left) && centred(right), qPrintable(QString::number(left->TopLine())));
    sync();
    model.PrevSpan();
    QTest::keyClick(viewer, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(left->Selection(), model.First.Selection);
    fx.Ui.TextHook = [](const QString&) { return QString("o350"); };
    QTest::keyClick(viewer, Qt::Key_G, Qt::ControlModifier);
    QVERIFY2(RowText(right).contains(" 00350 ") || RowText(right).contains("00350"), qPrintable(RowText(right)));
    QCOMPARE(left->Selection(), right->Selection());
    QVERIFY(centred(right));

    left->horizontalScrollBar()->setValue(40);
    QCOMPARE(right->horizontalScrollBar()->value(), 40);

    left->selectionModel()->select(QItemSelection(left->PanelModel()->index(4), left->PanelModel()->index(6)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(left, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             RowText(left, 4) + "\n" + RowText(left, 5) + "\n" + RowText(left, 6) + "\n");
    viewer->accept();
  }

  void ColoursReadableOnBothPalettes() {
    // Every row of both panels, and the header, stands out from the panel by
    // 4.5:1 on the light palette and on a dark one.
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (auto [role, colour] : {std::pair(QPalette::Window, QColor(45, 45, 48)), std::pair(QPalette::Base, QColor(30, 30, 30)),
                                std::pair(QPalette::Text, QColor(220, 220, 220)),
                                std::pair(QPalette::WindowText, QColor(220, 220, 220))})
      dark.setColor(role, colour);
    for (const QPalette& palette : {light, dark}) {
      QApplication::setPalette(palette);
      TGuiFixture fx;
      fx.Find<QCheckBox>("PrCkFmvl")->setChecked(true);
      gui::TFrmVSplit* viewer = fx.CompareDual(ExampleNew(), ExampleOld(), "Long");
      auto rgb = [](const QColor& c) { return TRgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())}; };
      const TRgb base = rgb(palette.color(QPalette::Base));
      for (gui::TPanelView* panel : {viewer->Left(), viewer->Right()})
        for (int row = 0; row < panel->PanelModel()->rowCount(); ++row) {
          const QVariant colour = panel->PanelModel()->index(row).data(Qt::ForegroundRole);
          const TRgb text = colour.isValid() ? rgb(colour.value<QColor>()) : rgb(palette.color(QPalette::Text));
          QVERIFY2(ContrastRatio(text, base) >= MinContrast, qPrintable(RowText(panel, row)));
        }
      const QColor header = viewer->Left()->PanelModel()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>();
      QVERIFY(ContrastRatio(rgb(header), rgb(palette.color(QPalette::Window))) >= MinContrast);
      viewer->accept();
    }
    QApplication::setPalette(light);
  }

  void ChangedCharactersMarked() {
    // The changed characters of a changed line sit on a stronger tint; the
    // rest of the row does not; Chg Chars turns the marks off and is kept.
    TGuiFixture fx;
    gui::TFrmVSplit* viewer = fx.CompareDual(WriteFile(Dir, "mark-n.txt", "a\ntotal = price * 12;\nb\n"),
                                             WriteFile(Dir, "mark-o.txt", "a\ntotal = price * 10;\nb\n"), "Long");
    viewer->resize(1200, 400);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    gui::TPanelView* left = viewer->Left();
    auto tintedWidth = [&](int row) { // pixels of the row's top line that are not the panel's background
      const QImage image = left->viewport()->grab().toImage();
      const QRect rect = left->visualRect(left->PanelModel()->index(row));
      const QColor base = left->palette().color(QPalette::Base);
      int tinted = 0;
      for (int x = rect.left(); x < std::min(rect.right(), image.width()); ++x)
        tinted += image.pixelColor(x, rect.top() + 1) != base;
      return tinted;
    };
    const int charWidth = QFontMetrics(left->font()).horizontalAdvance('X');
    QVERIFY(RowText(left, 4).contains("I - total = price * 12;"));
    QCOMPARE(left->PanelModel()->index(4).data(gui::TPanelListModel::MarksRole).toList().size(), 1);
    QVERIFY2(std::abs(tintedWidth(4) - 2 * charWidth) <= 2, qPrintable(QString::number(tintedWidth(4))));
    QCOMPARE(tintedWidth(3), 0);
    fx.Find<QCheckBox>("VsCkChgChars")->setChecked(false);
    QCOMPARE(tintedWidth(4), 0);
    viewer->accept();
    QCOMPARE(fx.App.Settings.ShowChgChars, false);
  }

  void BinaryBytesShownAndFound() {
    // NUL bytes, bytes that are not UTF-8 and an escape sequence, in both
    // viewers: shown per character (U+FFFD for a byte that is no UTF-8) and found.
    const QString newFile =
        WriteFile(Dir, "bin-n.txt", QByteArray("ok\n\0nul\0 here\ncaf\xe9 \xff\xfe\n\x1b[31mred\n", 31));
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
      QVERIFY2(all.contains(QString::fromUtf8("caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD")), qPrintable(all));
      QVERIFY(all.contains(QString::fromUtf8("caf\xc3\xa9")) || sbsl); // the OLD line is in the other panel
      QVERIFY(all.contains(QStringLiteral("nul")));
      panel->viewport()->repaint();
      fx.Click(sbsl ? "VsButFind" : "LsButFind");
      FindNext(viewer, "RED");
      QVERIFY2(RowText(panel).contains("[31mred"), qPrintable(fx.Messages.join('|')));
      viewer->accept();
    }
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SideBySideViewer, TSideBySideViewerTest);

#include "SideBySideViewerTest.moc"
