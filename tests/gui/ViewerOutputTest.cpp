// Save and print from the viewers through their dialogs: the layout dialog,
// the RTF filter, plain print to PDF pages, coloured print jobs, Halt during
// a coloured save, and a save that cannot be written.
#include "GuiTestSupport.h"

#include "gui/FrmSbS.h"
#include "viewers/Reports.h"

#include <QProcess>
#include <QRegularExpression>

namespace quorlin::test {

class TViewerOutputTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  /// The output of a poppler tool run on a PDF file.
  static QString Pdf(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
  }

private slots:
  void SideBySideSaveAndPrint() {
    // The report contents are the core's; here the dialog's choices reach it.
    TGuiFixture fx;
    fx.CompareDual(LineFile(Dir, "n.txt", 300, 9), LineFile(Dir, "o.txt", 290, 9), "Long");
    gui::TFrmSbS* layout = fx.Main->SaveLayoutDialog();
    const struct {
      const char *Name, *Radio, *Expected;
    } cases[] = {{"sbs.txt", "SbsRdDouble", "Quorlin Insert and Delete Side-By-Side Report"},
                 {"stacked.txt", "SbsRdSingle", "Quorlin Double-Stacked Compare Report"}};
    for (const auto& c : cases) {
      fx.AnswerFileDialogs(Dir.filePath(c.Name));
      QTimer::singleShot(0, layout, [layout, c] {
        layout->findChild<QRadioButton*>(c.Radio)->setChecked(true);
        layout->findChild<QCheckBox*>("SbsCkTitle")->setChecked(true);
        layout->findChild<QLineEdit*>("SbsEdTitle")->setText("My ledger");
        layout->findChild<QPushButton*>("SbsButUse")->click();
      });
      fx.Click("VsButSaveAs");
      QVERIFY2(ReadFile(Dir.filePath(c.Name)).startsWith("My ledger\n" + QByteArray(c.Expected)), c.Name);
    }
    QCOMPARE(fx.App.Settings.SbsRp, 1); // the stacked layout is remembered
    QCOMPARE(fx.App.Settings.OutFn, Dir.filePath("stacked.txt").toStdString());

    // No extension with the RTF filter: a coloured .Rtf file.
    fx.AnswerFileDialogs(Dir.filePath("coloured"), 2);
    fx.Click("VsButSaveAs");
    const QByteArray rtf = ReadFile(Dir.filePath("coloured.Rtf"));
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("Panel 2 Report -- Old Source Matches + Deletes"));
    QCOMPARE(fx.App.Settings.OutFn, Dir.filePath("coloured.Rtf").toStdString()); // kept as saved
    QVERIFY(fx.Messages.isEmpty());

    // A plain print to PDF pages.
    const QString pdf = Dir.filePath("plain.pdf");
    fx.PrintTo(pdf);
    fx.Click("VsButPrint");
    const QString info = Pdf("pdfinfo", {pdf});
    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    QVERIFY2(pages >= 3, qPrintable(info));
    // Every page is painted with its heading, and every listing line is on
    // some page: both panels, the last numbered line and the statistics.
    const QString all = Pdf("pdftotext", {"-layout", pdf, "-"});
    QVERIFY2(all.contains("Panel 1 - New Source Matches and Inserts"), qPrintable(all.left(300)));
    QCOMPARE(all.count("Old File = "), 3); // both panels' headings and the statistics
    const int numbered = fx.App.StatsFirstLine - 3;
    QVERIFY(all.contains(QRegularExpression(QString("\\b%1 +I? ?-? ?line 299").arg(numbered))));
    QVERIFY(all.contains("Number Of Line Matches"));
    QCOMPARE(all.count("Page "), pages);
    fx.Main->DualViewer()->accept();
  }

  /// The bookmarks of a PDF file, as poppler reads them.
  static QStringList Bookmarks(const QString& pdf) {
    const QString xml = Pdf("pdftohtml", {"-xml", "-stdout", "-i", "-q", pdf});
    QStringList titles;
    for (const auto& m : QRegularExpression("<item page=\"\\d+\">([^<]*)</item>").globalMatch(xml)) titles << m.captured(1);
    return titles;
  }

  void EscAndCloseDuringAColouredSave() {
    // Esc or a close of the viewer while its report is built halt the build;
    // the viewer stays until it is done, so a new compare is safe.
    TGuiFixture fx;
    gui::TFrmVSplit* viewer = fx.CompareDual(LineFile(Dir, "esc-n.txt", 3000, 7), LineFile(Dir, "esc-o.txt", 3000, 5));
    for (bool esc : {true, false}) {
      fx.Messages.clear();
      fx.AnswerFileDialogs(Dir.filePath("esc.rtf"));
      QTimer::singleShot(0, viewer, [viewer, esc] {
        if (esc)
          QTest::keyClick(viewer->Left(), Qt::Key_Escape);
        else
          viewer->close();
      });
      fx.Click("VsButSaveAs");
      QCOMPARE(fx.Messages, QStringList{MsgColouredHalted});
      QVERIFY(viewer->isVisible());
      QVERIFY(!QFile::exists(Dir.filePath("esc.rtf")));
    }
    viewer->accept();
    fx.Compare(ExampleNew(), ExampleOld());
    QVERIFY(fx.Main->SingleViewer()->isVisible());
    fx.Main->SingleViewer()->accept();
  }

  void ColouredPrintJobsHaltAndFailedSaves() {
    TGuiFixture fx;
    fx.Compare(LineFile(Dir, "n1300.txt", 1290, 9), LineFile(Dir, "o1300.txt", 1290, 9), "Long");
    // One PDF of all the print jobs, each job's name a bookmark where it begins.
    const QString pdf = Dir.filePath("colour.pdf");
    fx.PrintTo(pdf);
    fx.Click("LsButColorPrint");
    QCOMPARE(Bookmarks(pdf), (QStringList{"RichEdit Text600", "RichEdit Text1200", "Quorlin RichEdit Text"}));
    QVERIFY(!QFile::exists(Dir.filePath("colour-2.pdf")));
    // The listing's lines do not fit A4 at 8 points: a smaller size, and a word of it.
    QCOMPARE(fx.Messages.size(), 1);
    QVERIFY2(fx.Messages[0].startsWith("The coloured print used 7 points instead of 8"), qPrintable(fx.Messages[0]));
    QVERIFY(!Pdf("pdftotext", {"-layout", pdf, "-"}).contains(QRegularExpression("INSERT\\s*\\n\\s*\\(NEW\\)")));
    fx.Messages.clear();

    // Halt once the first job is printed: no job after it, and the message.
    QFile::remove(pdf);
    QTimer watch;
    auto* halt = fx.Find<QPushButton>("LsBtnHalt");
    QObject::connect(&watch, &QTimer::timeout, halt, [&] {
      if (QFile::exists(pdf) && halt->isVisible()) halt->click();
    });
    watch.start(0);
    fx.Click("LsButColorPrint");
    watch.stop();
    QCOMPARE(fx.Messages.value(0), QString(MsgColouredHalted));
    QCOMPARE(Bookmarks(pdf), QStringList{"RichEdit Text600"});
    fx.Messages.clear();

    // Halt during a coloured save: its message, and the buttons come back.
    fx.AnswerFileDialogs(Dir.filePath("halted.rtf"));
    QTimer::singleShot(0, halt, [halt] { halt->click(); });
    fx.Click("LsButSaveAs");
    QCOMPARE(fx.Messages, QStringList{MsgColouredHalted});
    QVERIFY(halt->isHidden());
    QVERIFY(fx.Find<QPushButton>("LsButSaveAs")->isEnabled());

    // A folder that nobody can write to, not even root: one of /proc.
    for (const QString& path : {QString("/proc/self/report.txt"), QString("/proc/self/report.rtf")}) {
      fx.Messages.clear();
      fx.AnswerFileDialogs(path);
      fx.Click("LsButSaveAs");
      QCOMPARE(fx.Messages.size(), 1);
      QVERIFY2(fx.Messages[0].startsWith("Cannot save \"" + path + "\": "), qPrintable(fx.Messages[0]));
    }
    // Save As onto a compared file is refused, as text or as rich text
    // (a link to it included): the file stays as it was.
    const QString newFile = Dir.filePath("n1300.txt"), link = Dir.filePath("n1300.rtf");
    const QByteArray before = ReadFile(newFile);
    QVERIFY(QFile::link(newFile, link));
    for (const QString& path : {newFile, link}) {
      fx.Messages.clear();
      fx.AnswerFileDialogs(path);
      fx.Click("LsButSaveAs");
      QCOMPARE(fx.Messages.size(), 1);
      QVERIFY2(fx.Messages[0].startsWith("The output file \"" + path + "\" is the New File"), qPrintable(fx.Messages[0]));
    }
    QCOMPARE(ReadFile(newFile), before);
    fx.Main->SingleViewer()->accept();
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(ViewerOutput, TViewerOutputTest);

#include "ViewerOutputTest.moc"
