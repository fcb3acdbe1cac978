// File names and user settings through the real widgets: histories, the File
// Select tab, files dropped on the window, the settings file written and read
// back, damaged files, the bypass box and batch runs that leave it alone.
#include "GuiTestSupport.h"

#include "app/UserSettings.h"
#include "gui/FileSelectTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QUrl>

#include <map>

namespace quorlin::test {

namespace {

/// Every option widget's state by name: check boxes, radio buttons, edits,
/// and combos with their lists (the current name left out of its own list,
/// as the settings file keeps it apart; the File Select combos show the
/// Main Panel names once the tab is entered, so only their lists count).
std::map<QString, QString> Snapshot(QWidget* window) {
  std::map<QString, QString> state;
  for (auto* box : window->findChildren<QAbstractButton*>())
    if (box->isCheckable() && !box->objectName().isEmpty()) state[box->objectName()] = box->isChecked() ? "1" : "0";
  for (auto* edit : window->findChildren<QLineEdit*>())
    if (!edit->objectName().isEmpty() && edit->objectName() != "MnEdPanStatus") state[edit->objectName()] = edit->text();
  for (auto* combo : window->findChildren<QComboBox*>()) {
    if (combo->objectName().isEmpty() || (combo->objectName().startsWith("Fs") && combo->objectName().contains("Box")))
      continue;
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
      if (combo->itemText(i) != combo->currentText()) items << combo->itemText(i);
    const QString text = combo->objectName().startsWith("FsTc") ? QString() : combo->currentText();
    state[combo->objectName()] = text + " | " + items.join(", ");
  }
  return state;
}

void Drop(QWidget* target, const QList<QUrl>& urls, QPoint at, const QByteArray& format = {}) {
  QMimeData mime;
  mime.setUrls(urls);
  if (!format.isEmpty()) mime.setData(format, urls.first().toLocalFile().toUtf8());
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
}

} // namespace

class TSettingsAndFilesTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QStringList Files;

  void Type(QComboBox* combo, const QString& text) { combo->setEditText(text); }

private slots:
  void initTestCase() {
    for (int i = 0; i < 6; ++i) Files << WriteFile(Dir, QString("f%1.txt").arg(i), "line\n");
  }

  void HistoriesThroughTheCombos() {
    TGuiFixture fx;
    auto* combo = fx.Find<QComboBox>("MnCbNewFileNm");
    Type(combo, Dir.filePath("missing.txt"));
    QCOMPARE(combo->count(), 0);
    Type(combo, Files[0]);
    Type(combo, Files[1]);
    Type(combo, Files[0]); // further down: moves to the top, no second entry
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), Files[0]);
    QCOMPARE(combo->itemText(1), Files[1]);
    QCOMPARE(combo->currentText(), Files[0]);
    // Old combo: a name set without signals enters the history when the list drops down.
    auto* old = fx.Find<QComboBox>("MnCbOldFileNm");
    {
      const QSignalBlocker block(old);
      old->setEditText(Files[2]);
    }
    old->showPopup();
    old->hidePopup();
    QCOMPARE(old->itemText(0), Files[2]);
  }

  void FileSelectTab() {
    TGuiFixture fx;
    QTabWidget* tabs = fx.Main->Notebook();
    Type(fx.Find<QComboBox>("MnCbNewFileNm"), Files[0]);
    Type(fx.Find<QComboBox>("MnCbOldFileNm"), Files[1]);
    tabs->setCurrentIndex(1);
    gui::TFileSelectTab* tab = fx.Main->FileSelect();
    QCOMPARE(tab->Selected(), Files[0]);
    QTRY_COMPARE(tab->FileList()->currentIndex().data().toString(), QString("f0.txt"));
    QCOMPARE(fx.Find<QComboBox>("FsTcOldFileNm")->currentText(), Files[1]);

    // Return with both names as on entry asks about both, and No stays.
    fx.Find<QPushButton>("FsButReturn")->click();
    QCOMPARE(fx.Messages.size(), 1);
    QVERIFY(fx.Messages[0].startsWith("The New and Old File Input File Names - \"" + Files[0]));
    QCOMPARE(tabs->currentIndex(), 1);

    // A file dragged from the list onto the Old name; other drags are refused.
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {QUrl::fromLocalFile(Files[4])}, QPoint(5, 5));
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[1]);
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {QUrl::fromLocalFile(Files[3])}, QPoint(5, 5),
         gui::TFileSelectTab::DragFormat);
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[3]);
    // A typed name reaches the Main Panel.
    Type(fx.Find<QComboBox>("FsTcNewFileNm"), Files[2]);
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), Files[2]);

    // Cancel puts the names on entry back.
    fx.Find<QPushButton>("FsButCancel")->click();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), Files[0]);
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[1]);

    // With the no-warn box Return leaves at once; closing the window there is Return.
    fx.Messages.clear();
    tabs->setCurrentIndex(1);
    fx.Find<QCheckBox>("FsCkNoWarnNoFileChg")->setChecked(true);
    QVERIFY(!fx.Main->close());
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(fx.Messages.isEmpty());
  }

  void FilesDroppedOnTheWindow() {
    TGuiFixture fx;
    fx.Main->resize(660, 480);
    Drop(fx.Main.get(), {QUrl::fromLocalFile(Files[0]), QUrl::fromLocalFile(Files[1]), QUrl::fromLocalFile(Files[2])},
         QPoint(100, 100));
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), Files[0]);
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[1]);
    const int oldTop = fx.Find<QComboBox>("MnCbOldFileNm")->mapTo(fx.Main.get(), QPoint(0, 0)).y();
    Drop(fx.Main.get(), {QUrl::fromLocalFile(Files[3])}, QPoint(100, oldTop + 2));
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[3]);
    Drop(fx.Main.get(), {QUrl::fromLocalFile(Files[4])}, QPoint(100, oldTop - 2));
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), Files[4]);
    QCOMPARE(fx.Find<QComboBox>("MnCbOldFileNm")->currentText(), Files[3]);
  }

  void SettingsRoundTrip() {
    const QString ini = Dir.filePath("round.ini");
    std::map<QString, QString> before;
    TUserSettings viewers;
    {
      TGuiFixture fx;
      for (int i = 4; i >= 0; --i) Type(fx.Find<QComboBox>("MnCbNewFileNm"), Files[i]);
      for (int i = 0; i < 3; ++i) Type(fx.Find<QComboBox>("MnCbOldFileNm"), Files[i]);
      fx.Main->Notebook()->setCurrentIndex(1);
      for (int i = 5; i >= 3; --i) Type(fx.Find<QComboBox>("FsTcNewFileNm"), Files[i]);
      for (int i = 3; i <= 5; ++i) Type(fx.Find<QComboBox>("FsTcOldFileNm"), Files[i]);
      fx.Find<QCheckBox>("FsCkNoWarnNoFileChg")->setChecked(true);
      fx.Find<QPushButton>("FsButReturn")->click();
      for (auto* box : fx.Main->findChildren<QCheckBox*>())
        if (box->objectName().startsWith("PrCk") || box->objectName().startsWith("DpCk")) box->setChecked(true);
      fx.Find<QRadioButton>("DpRadioGroup1_Dud2")->setChecked(true);
      const std::pair<const char*, const char*> edits[] = {
          {"PrEdSubC", "\"#\""}, {"PrEdNewLmt", "5:90"}, {"PrEdOldlmt", "7:eod"}, {"PrEdCcolNw1", "2:9"},
          {"PrEdCcolNw2", "12:eol"}, {"PrEdCcolOd1", "3:8"}, {"PrEdCcolOd4", "40:50"}, {"DpEdUdc", "rem"},
          {"DpEdUdc2", "--"}, {"DpEdUdc3", "#!"}, {"DpEdS1", "end"}, {"DpEdS3", "begin"},
          {"DpEdDpDln1", "DEBUG 1:5"}, {"DpEdDpDln4", "\"a b\" 3:eol"}};
      for (const auto& [name, text] : edits) fx.Find<QLineEdit>(name)->setText(text);
      fx.Find<QComboBox>("PrCbXTab")->setCurrentText(" 6");
      fx.Find<QComboBox>("DpCbUdcYN")->setCurrentText("Yes");
      fx.Find<QComboBox>("MnCbListType")->setCurrentText("Delta");
      fx.Find<QCheckBox>("MnCkViewResults")->setChecked(true);
      fx.Find<QCheckBox>("MnCkTurnOffHint")->setChecked(true);
      // Leaving the option tabs rebuilds the summary that keeps the Dps boxes.
      fx.Main->Notebook()->setCurrentIndex(2);
      fx.Main->Notebook()->setCurrentIndex(3);
      fx.Find<QPushButton>("DpButReturn")->click();
      fx.Main->move(123, 77);
      fx.App.Settings.Single = {"10", "20", "400", "700"};
      fx.App.Settings.Dual = {"11", "21", "401", "701"};
      fx.App.Settings.Horizontal = {"12", "22", "402", "722"};
      fx.App.Settings.SpSplit = "300";
      fx.App.Settings.SpSplit2 = "200";
      fx.App.Settings.LBx1FontSz = "9";
      fx.App.Settings.Pr1FontSz = "10";
      fx.App.Settings.LBx2FontSz = "11";
      fx.App.Settings.Pr2FontSz = "12";
      fx.App.Settings.OutFn = Files[5].toStdString();
      fx.App.Settings.SbsRp = 1;
      viewers = fx.App.Settings;
      before = Snapshot(fx.Main.get());
      fx.Ui.FileDialogHook = [ini](const QString&, const QString&) { return gui::TFileChoice{ini, 0}; };
      fx.Find<QPushButton>("MnButSvUserIni")->click();
      QVERIFY(fx.Messages.isEmpty());
    }
    // A settings file the desktop program wrote is an ordinary ini file.
    QProcess python;
    python.start("python3", {"-c", "import configparser,sys; c=configparser.ConfigParser(interpolation=None); "
                                   "c.read(sys.argv[1]); print(len(c['Quorln32']))",
                             ini});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    QVERIFY(python.readAllStandardOutput().trimmed().toInt() > 60);

    TGuiFixture fresh;
    fresh.Ui.FileDialogHook = [ini](const QString&, const QString&) { return gui::TFileChoice{ini, 0}; };
    fresh.Find<QPushButton>("MnButLdIni")->click();
    QVERIFY(fresh.Messages.isEmpty());
    const std::map<QString, QString> after = Snapshot(fresh.Main.get());
    for (const auto& [name, value] : before) QCOMPARE(after.at(name) + "  (" + name + ")", value + "  (" + name + ")");
    QCOMPARE(fresh.Main->pos(), QPoint(123, 77));
    const TUserSettings& s = fresh.App.Settings;
    QCOMPARE(s.Single.Width + s.Dual.Top + s.Horizontal.Width, viewers.Single.Width + viewers.Dual.Top + "722");
    QCOMPARE(s.SpSplit + "/" + s.SpSplit2, std::string("300/200"));
    QCOMPARE(s.LBx1FontSz + s.Pr1FontSz + s.LBx2FontSz + s.Pr2FontSz, std::string("9101112"));
    QCOMPARE(s.OutFn, viewers.OutFn);
    QCOMPARE(s.SbsRp, 1);
    QCOMPARE(fresh.Find<QLineEdit>("MnEdPanStatus")->text(), QString(MsgEnterFileNames));
    QVERIFY(!fresh.Find<QPushButton>("MnButViewResults")->isEnabled());
  }

  void BadAndDamagedSettingsFiles() {
    TGuiFixture fx;
    fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
    const QString text = WriteFile(Dir, "settings.txt", "[Quorln32]\r\nListType=Long\r\n");
    fx.Ui.FileDialogHook = [text](const QString&, const QString&) { return gui::TFileChoice{text, 0}; };
    fx.Find<QPushButton>("MnButLdIni")->click();
    QCOMPARE(fx.Messages, QStringList{MsgIniExtension});
    QVERIFY(fx.Find<QCheckBox>("PrCkIcas")->isChecked());
    QCOMPARE(fx.Find<QComboBox>("MnCbListType")->currentText(), QString("Chng"));

    struct Case {
      const char* Name;
      QByteArray Bytes;
      const char* ListType;
    } cases[] = {
        {"binary.ini", QByteArray("\x00\x01\xff\r\n[Quorln32]\r\nListType=Long\r\nSubC=\x00\x07\r\n\xfe\xfd=1\r\n", 42), "Long"},
        {"truncated.ini", "[Quorln32]\r\nListType=Delta\r\nNFCombo0=/no/such/fi", "Delta"},
        {"nosection.ini", "ListType=Ovsum\r\nViewResults=1\r\n", "Delta"}, // the listing type survives the reset
    };
    for (const Case& c : cases) {
      fx.Messages.clear();
      const QString path = WriteFile(Dir, c.Name, c.Bytes);
      fx.Ui.FileDialogHook = [path](const QString&, const QString&) { return gui::TFileChoice{path, 0}; };
      fx.Find<QPushButton>("MnButLdIni")->click();
      QCOMPARE(fx.Find<QComboBox>("MnCbListType")->currentText(), QString(c.ListType));
      QVERIFY2(!fx.Find<QCheckBox>("PrCkIcas")->isChecked(), c.Name); // the reset before loading
      QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->count(), 0);
    }
  }

  void SavedOnCloseUnlessBypassedAndNeverByABatch() {
    const QString home = qEnvironmentVariable("QUORLIN_HOME");
    const QString ini = home + "/Quorln32.ini";
    QFile::remove(ini);
    {
      TGuiFixture fx;
      fx.Main->StartInteractive({});
      fx.Find<QCheckBox>("MnCkOmitIniSv")->setChecked(true);
      QVERIFY(fx.Main->close());
      QVERIFY(!QFile::exists(ini));
    }
    {
      TGuiFixture fx;
      fx.Main->StartInteractive({Files[0], Files[1]});
      fx.Find<QComboBox>("MnCbListType")->setCurrentText("Long");
      QVERIFY(fx.Main->close());
      QVERIFY(QFile::exists(ini));
    }
    {
      TGuiFixture fx;
      fx.Main->StartInteractive({}); // loads it at start
      QCOMPARE(fx.Find<QComboBox>("MnCbListType")->currentText(), QString("Long"));
      QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->currentText(), Files[0]);
    }
    // A batch, shown or not, neither loads nor saves it.
    QFile file(ini);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    const QString job = WriteFile(Dir, "job.ini",
                                  ("newf=" + Files[0] + "\noldf=" + Files[1] + "\noutf=" + Dir.filePath("job.lst") +
                                   "\npref=nowt\nltyp=ovsum\n")
                                      .toUtf8());
    QProcess program;
    program.start(QUORLIN_GUI_EXE, {"inif=" + job});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), saved);
  }
};

} // namespace quorlin::test

QObject* MakeSettingsAndFilesTest() { return new quorlin::test::TSettingsAndFilesTest; }

#include "SettingsAndFilesTest.moc"
