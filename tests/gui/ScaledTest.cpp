// The windows on a 1400x1000 screen at QT_SCALE_FACTOR=2 (run so by CTest):
// the main window, its tabs and the viewers fit the 700x500 points left.
#include "GuiTestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace quorlin::test {

class TScaledTest : public QObject {
  Q_OBJECT

private slots:
  void WindowsFitTheScreen() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.size() != QSize(700, 500)) QSKIP("run with QT_SCALE_FACTOR=2 on the 1400x1000 screen");
    TGuiFixture fx;
    fx.Main->StartInteractive({});
    fx.Main->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.Main.get()));
    auto fits = [&](QWidget* w) { return screen.contains(w->frameGeometry()); };
    QVERIFY2(fits(fx.Main.get()), qPrintable(QString("%1x%2").arg(fx.Main->width()).arg(fx.Main->height())));
    fx.Main->Notebook()->setCurrentIndex(2); // Preferences scrolls instead of growing the window
    QApplication::processEvents();
    QVERIFY(fx.Find<QScrollArea>("PrPanPreferences")->verticalScrollBar()->maximum() > 0);
    fx.Main->Notebook()->setCurrentIndex(0);
    fx.Compare(ExampleNew(), ExampleOld());
    QVERIFY(fits(fx.Main->SingleViewer()));
    fx.Main->SingleViewer()->accept();
    QVERIFY(fits(fx.CompareDual()));
    fx.Main->DualViewer()->accept();
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(Scaled, TScaledTest);

#include "ScaledTest.moc"
