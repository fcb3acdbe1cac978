// Save and print from the viewers: text reports in both layouts, rich text
// read back by unrtf, plain print to PDF pages, coloured print jobs, Halt
// during a coloured save, and a save that cannot be written.
#include "GuiTestSupport.h"

#include "gui/FrmSbS.h"
#include "viewers/Reports.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <unistd.h>

namespace quorlin::test {

class TViewerOutputTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  static QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static void PrintTo(TGuiFixture& fx, const QString& pdf) {
    fx.Ui.PrinterDialogHook = [pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
  }

private slots:
  void TextAndRichTextReports() {
    TGuiFixture fx;
    fx.Compare(ExampleNew(), ExampleOld(), "Chng", true);
    gui::TFrmSbS* layout = fx.Main->SaveLayoutDialog();
    struct Case {
      const char* Name;
      const char* Radio;
      const char* Expected;
    } cases[] = {
        {"sbs.txt", "SbsRdDouble", "Quorlin Insert and Delete Side-By-Side Report"},
        {"stacked.txt", "SbsRdSingle", "Quorlin Double-Stacked Compare Report"},
    };
    for (const Case& c : cases) {
      fx.AnswerFileDialogs(Dir.filePath(c.Name));
      QTimer::singleShot(0, layout, [layout, c] {
        layout->findChild<QRadioButton*>(c.Radio)->setChecked(true);
        layout->findChild<QCheckBox*>("SbsCkTitle")->setChecked(true);
        layout->findChild<QLineEdit*>("SbsEdTitle")->setText("My ledger");
        layout->findChild<QPushButton*>("SbsButUse")->click();
      });
      fx.Click("VsButSaveAs");
      const QByteArray text = ReadFile(Dir.filePath(c.Name));
      QVERIFY2(text.startsWith("My ledger\n" + QByteArray(c.Expected)), c.Name);
      QVERIFY2(text.contains("D -  * balance of every account."), c.Name);
    }
    QCOMPARE(fx.App.Settings.SbsRp, 1); // the stacked layout is remembered
    QCOMPARE(fx.App.Settings.OutFn, Dir.filePath("stacked.txt").toStdString());

    // No extension with the RTF filter: a coloured .Rtf file.
    fx.AnswerFileDialogs(Dir.filePath("coloured"), 2);
    fx.Click("VsButSaveAs");
    const QString rtf = Dir.filePath("coloured.Rtf");
    QVERIFY(ReadFile(rtf).startsWith("{\\rtf1"));
    const QString plain = Run("unrtf", {"--text", rtf});
    QVERIFY2(plain.contains("Panel 2 Report -- Old Source Matches + Deletes"), qPrintable(plain.left(400)));
    QVERIFY(plain.contains("* balance of every account, and the total of all postings."));
    QVERIFY(fx.Messages.isEmpty());
    fx.Main->DualViewer()->accept();
  }

  void PlainPrintPages() {
    TGuiFixture fx;
    fx.Compare(LineFile(Dir, "n.txt", 300, 9), LineFile(Dir, "o.txt", 290, 9), "Long", true);
    const QString pdf = Dir.filePath("plain.pdf");
    PrintTo(fx, pdf);
    fx.Click("VsButPrint");
    const QString info = Run("pdfinfo", {pdf});
    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    QVERIFY2(pages >= 3, qPrintable(info));
    // Every page is painted with its heading, and every listing line is on
    // some page: both panels, the last numbered line and the statistics.
    const QString all = Run("pdftotext", {"-layout", pdf, "-"});
    QVERIFY2(all.contains("Panel 1 - New Source Matches and Inserts"), qPrintable(all.left(300)));
    QCOMPARE(all.count("Old File = "), 3); // both panels' headings and the statistics
    const int numbered = fx.App.StatsFirstLine - 3;
    QVERIFY(all.contains(QRegularExpression(QString("\\b%1 +I? ?-? ?line 299").arg(numbered))));
    QVERIFY(all.contains("Number Of Line Matches"));
    QCOMPARE(all.count("Page "), pages);
    fx.Main->DualViewer()->accept();
  }

  void ColouredPrintJobsHaltAndFailedSaves() {
    TGuiFixture fx;
    fx.Compare(LineFile(Dir, "n1300.txt", 1290, 9), LineFile(Dir, "o1300.txt", 1290, 9), "Long");
    const QString pdf = Dir.filePath("colour.pdf");
    PrintTo(fx, pdf);
    fx.Click("LsButColorPrint");
    const QStringList names = {"RichEdit Text600", "RichEdit Text1200", "Quorlin RichEdit Text"};
    const QStringList files = {pdf, Dir.filePath("colour-2.pdf"), Dir.filePath("colour-3.pdf")};
    for (int i = 0; i < 3; ++i) {
      const QString info = Run("pdfinfo", {files[i]});
      QVERIFY2(info.contains(QRegularExpression("Title:\\s+" + names[i] + "\n")), qPrintable(files[i] + "\n" + info));
    }
    QVERIFY(!QFile::exists(Dir.filePath("colour-4.pdf")));

    // Halt during a coloured save: its message, and the buttons come back.
    fx.AnswerFileDialogs(Dir.filePath("halted.rtf"));
    auto* halt = fx.Find<QPushButton>("LsBtnHalt");
    QTimer::singleShot(0, halt, [halt] { halt->click(); });
    fx.Click("LsButSaveAs");
    QCOMPARE(fx.Messages, QStringList{MsgColouredHalted});
    QVERIFY(halt->isHidden());
    QVERIFY(fx.Find<QPushButton>("LsButSaveAs")->isEnabled());

    // A folder that cannot be written: as root, permissions do not stop a
    // write, so a folder of /proc stands in.
    QString folder = Dir.filePath("readonly");
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (geteuid() == 0) folder = "/proc/self";
    for (const QString& name : {QString("report.txt"), QString("report.rtf")}) {
      fx.Messages.clear();
      fx.AnswerFileDialogs(folder + "/" + name);
      fx.Click("LsButSaveAs");
      QCOMPARE(fx.Messages.size(), 1);
      QVERIFY2(fx.Messages[0].startsWith("Cannot save \"" + folder + "/" + name + "\": "), qPrintable(fx.Messages[0]));
      QVERIFY(!QFile::exists(folder + "/" + name));
    }
    fx.Main->SingleViewer()->accept();
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(ViewerOutput, TViewerOutputTest);

#include "ViewerOutputTest.moc"
