// The folder window: Start with two folders opens it with a row a pair,
// Enter on a pair opens its viewer, Return comes back with the place kept,
// identical pairs hide, View Latest Results reopens it.
#include "GuiTestSupport.h"

#include "gui/FrmFolders.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QLabel>
#include <QTreeView>

namespace quorlin::test {

class TFolderWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  /// The rows of the tree as "path status", depth first.
  static QStringList Rows(const QTreeView* tree, const QModelIndex& parent = {}, const QString& folder = {}) {
    QStringList rows;
    const QAbstractItemModel* model = tree->model();
    for (int r = 0; r < model->rowCount(parent); ++r) {
      const QModelIndex index = model->index(r, 0, parent);
      const QString path = folder + index.data().toString();
      if (model->rowCount(index) > 0)
        rows << Rows(tree, index, path + "/");
      else
        rows << path + " " + model->index(r, 1, parent).data().toString();
    }
    return rows;
  }
  /// The path of the tree's current row.
  static QString Current(const QTreeView* tree) {
    QString path;
    for (QModelIndex i = tree->currentIndex().siblingAtColumn(0); i.isValid(); i = i.parent())
      path = i.data().toString() + (path.isEmpty() ? "" : "/" + path);
    return path;
  }

private slots:
  void StartOpensTheFolderWindowAndItsViewers() {
    for (const char* side : {"new", "old"}) {
      QDir(Dir.path()).mkpath(QString(side) + "/src");
      WriteFile(Dir, QString(side) + "/same.txt", "same\n");
      WriteFile(Dir, QString(side) + "/src/code.c", side == QString("new") ? "a\nB\nc\n" : "a\nb\nc\n");
    }
    WriteFile(Dir, "new/added.txt", "added\n");
    TGuiFixture fx;
    fx.Main->show();
    fx.SetNames(Dir.filePath("new"), Dir.filePath("old"));
    fx.Click("MnButCompare");
    QVERIFY(fx.Messages.isEmpty());
    gui::TFrmFolders* folders = fx.Main->FolderWindow();
    QVERIFY(folders->isVisible());
    QCOMPARE(fx.Find<QLineEdit>("MnEdPanStatus")->text(), QString("INFORM: The folders have differences (3 files)."));
    QTreeView* tree = folders->Tree();
    QAbstractItemModelTester tester(tree->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(Rows(tree), (QStringList{"added.txt only in NEW", "same.txt identical", "src/code.c differs"}));
    QCOMPARE(folders->findChild<QLabel*>("FdLblTotals")->text(),
             QString("3 files: 1 identical, 1 differ, 1 only in NEW; lines 1 inserted, 1 deleted, 0 reformatted"));

    // Enter on the pair that differs opens its viewer with the current options.
    tree->setFocus();
    tree->setCurrentIndex(tree->model()->index(0, 0, tree->model()->index(2, 0)));
    QTest::keyClick(tree, Qt::Key_Return);
    gui::TFrmSingle* single = fx.Main->SingleViewer();
    QVERIFY(single->isVisible());
    QVERIFY2(RowText(single->Panel(), 4).contains("I - B"), qPrintable(RowText(single->Panel(), 4)));
    // Its Return comes back to the folder window, on the same row.
    fx.Click("LsButReturn");
    QVERIFY(!single->isVisible());
    QVERIFY(folders->isVisible());
    QCOMPARE(Current(tree), QString("src/code.c"));

    // A file only in NEW is listed against an empty file; Sbsl gives two panels.
    fx.Find<QCheckBox>("PrCkSbsl")->setChecked(true);
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QTest::keyClick(tree, Qt::Key_Enter);
    QVERIFY(fx.Main->DualViewer()->isVisible());
    fx.Main->DualViewer()->accept();

    // Hiding identical pairs keeps the current row when it stays.
    folders->findChild<QCheckBox*>("FdCkHideIdentical")->setChecked(true);
    QCOMPARE(Rows(tree), (QStringList{"added.txt only in NEW", "src/code.c differs"}));
    QCOMPARE(Current(tree), QString("added.txt"));

    // View Latest Results reopens the window as it was left.
    folders->accept();
    fx.Click("MnButViewResults");
    QVERIFY(folders->isVisible());
    QCOMPARE(Current(tree), QString("added.txt"));

    // A folder and a file are not compared.
    fx.SetNames(Dir.filePath("new"), Dir.filePath("old/same.txt"));
    fx.Click("MnButCompare");
    QCOMPARE(fx.Messages.size(), 1);
    QVERIFY(fx.Messages[0].contains("is an invalid input file name"));
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(FolderWindow, TFolderWindowTest);
#include "FolderWindowTest.moc"
