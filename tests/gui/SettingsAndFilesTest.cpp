// File names and user settings through the real widgets: files dropped on the
// window, the File Select tab, histories, the settings file written and read
// back, damaged files, the bypass box and batch runs that leave it alone.
#include "GuiTestSupport.h"

#include "app/UserSettings.h"
#include "gui/FileSelectTab.h"

#include <QListView>
#include <QMimeData>
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

private slots:
  void initTestCase() {
    for (int i = 0; i < 6; ++i) Files << WriteFile(Dir, QString("f%1.txt").arg(i), "line\n");
  }

  void DropsAndTheFileSelectTab() {
    TGuiFixture fx;
    // Files dropped on the window: one goes to the box it is dropped on (the
    // Old box from its top down), of more the first two to New and Old.
    auto url = [this](int i) { return QUrl::fromLocalFile(Files[i]); };
    const int oldTop = fx.Find<QComboBox>("MnCbOldFileNm")->mapTo(fx.Main.get(), QPoint(0, 0)).y();
    Drop(fx.Main.get(), {url(3)}, QPoint(100, oldTop + 2));
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[3]);
    Drop(fx.Main.get(), {url(4)}, QPoint(100, oldTop - 2));
    QCOMPARE(fx.Text("MnCbNewFileNm"), Files[4]);
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[3]);
    Drop(fx.Main.get(), {url(0), url(1), url(2)}, QPoint(100, 100));
    QCOMPARE(fx.Text("MnCbNewFileNm"), Files[0]);
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[1]);

    QTabWidget* tabs = fx.Main->Notebook();
    tabs->setCurrentIndex(1);
    gui::TFileSelectTab* tab = fx.Main->FileSelect();
    QCOMPARE(tab->Selected(), Files[0]);
    QTRY_COMPARE(tab->FileList()->currentIndex().data().toString(), QString("f0.txt"));
    QCOMPARE(fx.Text("FsTcOldFileNm"), Files[1]);

    // Return with both names as on entry asks about both, and No stays.
    fx.Click("FsButReturn");
    QCOMPARE(fx.Messages.size(), 1);
    QVERIFY(fx.Messages[0].startsWith("The New and Old File Input File Names - \"" + Files[0]));
    QCOMPARE(tabs->currentIndex(), 1);

    // A file dragged from the list onto the Old name; other drags are refused.
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {url(4)}, QPoint(5, 5));
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[1]);
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {url(3)}, QPoint(5, 5), gui::TFileSelectTab::DragFormat);
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[3]);
    // A typed name reaches the Main Panel.
    fx.Find<QComboBox>("FsTcNewFileNm")->setEditText(Files[2]);
    QCOMPARE(fx.Text("MnCbNewFileNm"), Files[2]);

    // Cancel puts the names on entry back.
    fx.Click("FsButCancel");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(fx.Text("MnCbNewFileNm"), Files[0]);
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[1]);

    // With the no-warn box Return leaves at once; closing the window there is Return.
    fx.Messages.clear();
    tabs->setCurrentIndex(1);
    fx.Find<QCheckBox>("FsCkNoWarnNoFileChg")->setChecked(true);
    QVERIFY(!fx.Main->close());
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(fx.Messages.isEmpty());
  }

  void SettingsRoundTrip() {
    // Every option widget set, the name histories through the combos, saved
    // by Sv User Ini and shown again by Load User Ini in a fresh window.
    const QString ini = Dir.filePath("round.ini");
    std::map<QString, QString> before;
    {
      TGuiFixture fx;
      auto* newName = fx.Find<QComboBox>("MnCbNewFileNm");
      for (int i : {4, 3, 2, 1, 0, 3}) newName->setEditText(Files[i]); // a name further down moves to the top
      auto* oldName = fx.Find<QComboBox>("MnCbOldFileNm");
      oldName->setEditText(Files[0]);
      {
        const QSignalBlocker block(oldName); // a name set without signals enters when the list drops down
        oldName->setEditText(Files[1]);
      }
      oldName->showPopup();
      oldName->hidePopup();
      auto items = [](QComboBox* combo) {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
        return list;
      };
      QCOMPARE(items(newName), (QStringList{Files[3], Files[0], Files[1], Files[2], Files[4]}));
      QCOMPARE(newName->currentText(), Files[3]);
      QCOMPARE(items(oldName), (QStringList{Files[1], Files[0]}));
      fx.Main->Notebook()->setCurrentIndex(1);
      for (int i = 5; i >= 3; --i) fx.Find<QComboBox>("FsTcNewFileNm")->setEditText(Files[i]);
      for (int i = 3; i <= 5; ++i) fx.Find<QComboBox>("FsTcOldFileNm")->setEditText(Files[i]);
      fx.Find<QCheckBox>("FsCkNoWarnNoFileChg")->setChecked(true);
      fx.Click("FsButReturn");
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
      fx.Click("DpButReturn");
      fx.Main->move(123, 77);
      before = Snapshot(fx.Main.get());
      fx.AnswerFileDialogs(ini);
      fx.Click("MnButSvUserIni");
      QVERIFY(fx.Messages.isEmpty());
    }
    TGuiFixture fresh;
    fresh.AnswerFileDialogs(ini);
    fresh.Click("MnButLdIni");
    QVERIFY(fresh.Messages.isEmpty());
    const std::map<QString, QString> after = Snapshot(fresh.Main.get());
    for (const auto& [name, value] : before) QCOMPARE(after.at(name) + "  (" + name + ")", value + "  (" + name + ")");
    QCOMPARE(fresh.Main->pos(), QPoint(123, 77));
    QCOMPARE(fresh.Find<QLineEdit>("MnEdPanStatus")->text(), QString(MsgEnterFileNames));
    QVERIFY(!fresh.Find<QPushButton>("MnButViewResults")->isEnabled());
  }

  void BadAndDamagedSettingsFiles() {
    TGuiFixture fx;
    fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
    // A name with another extension is refused, and nothing changes.
    fx.AnswerFileDialogs(WriteFile(Dir, "settings.txt", "[Quorln32]\r\nListType=Long\r\n"));
    fx.Click("MnButLdIni");
    QCOMPARE(fx.Messages, QStringList{MsgIniExtension});
    QVERIFY(fx.Find<QCheckBox>("PrCkIcas")->isChecked());
    QCOMPARE(fx.Text("MnCbListType"), QString("Chng"));
    // A damaged, cut off file: the options reset before loading, its good lines shown.
    fx.AnswerFileDialogs(WriteFile(
        Dir, "damaged.ini",
        QByteArray("\x00\x01\xff\r\n[Quorln32]\r\nListType=Long\r\nSubC=\x00\x07\r\n\xfe\xfd=1\r\nNFCombo0=/no/such/fi", 67)));
    fx.Click("MnButLdIni");
    QCOMPARE(fx.Messages, QStringList{MsgIniExtension});
    QVERIFY(!fx.Find<QCheckBox>("PrCkIcas")->isChecked());
    QCOMPARE(fx.Text("MnCbListType"), QString("Long"));
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->count(), 0);
  }

  void SavedOnCloseUnlessBypassedAndNeverByABatch() {
    const QString ini = qEnvironmentVariable("QUORLIN_HOME") + "/Quorln32.ini";
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
      QCOMPARE(fx.Text("MnCbListType"), QString("Long"));
      QCOMPARE(fx.Text("MnCbNewFileNm"), Files[0]);
    }
    // A batch, shown or not, neither loads nor saves it.
    const QByteArray saved = ReadFile(ini);
    QVERIFY(!saved.isEmpty());
    const QString job = WriteFile(Dir, "job.ini",
                                  ("newf=" + Files[0] + "\noldf=" + Files[1] + "\noutf=" + Dir.filePath("job.lst") +
                                   "\npref=nowt\nltyp=ovsum\n")
                                      .toUtf8());
    QCOMPARE(RunQuorlin({"inif=" + job}), 0);
    QCOMPARE(ReadFile(ini), saved);
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SettingsAndFiles, TSettingsAndFilesTest);

#include "SettingsAndFilesTest.moc"
