// File names and user settings through the real widgets: files dropped on the
// window, the File Select tab, histories, the settings file written and read
// back, damaged files, the bypass box and batch runs that leave it alone.
#include "GuiTestSupport.h"

#include "app/UserSettings.h"
#include "gui/FileSelectTab.h"

#include <QListView>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include <map>

namespace quorlin::test {

namespace {

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

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
    QStringList items = Items(combo);
    items.removeAll(combo->currentText());
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
    // Files dropped on the window go where the core's rule says, by where
    // they are dropped against the Old box's top.
    auto url = [this](int i) { return QUrl::fromLocalFile(Files[i]); };
    const int oldTop = fx.Find<QComboBox>("MnCbOldFileNm")->mapTo(fx.Main.get(), QPoint(0, 0)).y();
    Drop(fx.Main.get(), {url(3)}, QPoint(100, oldTop + 2));
    Drop(fx.Main.get(), {url(4)}, QPoint(100, oldTop - 2));
    QCOMPARE(fx.Names(), Files[4] + "|" + Files[3]);
    Drop(fx.Main.get(), {url(0), url(1)}, QPoint(100, 100));
    QCOMPARE(fx.Names(), Files[0] + "|" + Files[1]);

    QTabWidget* tabs = fx.Main->Notebook();
    tabs->setCurrentIndex(1);
    QTRY_COMPARE(fx.Main->FileSelect()->FileList()->currentIndex().data().toString(), QString("f0.txt"));
    QCOMPARE(fx.Text("FsTcOldFileNm"), Files[1]);
    fx.Click("FsButReturn"); // names as on entry: the question, and No stays
    QCOMPARE(fx.Messages.size(), 1);
    QCOMPARE(tabs->currentIndex(), 1);

    // A file dragged from the list onto the Old name; other drags are refused.
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {url(4)}, QPoint(5, 5));
    QCOMPARE(fx.Text("MnCbOldFileNm"), Files[1]);
    Drop(fx.Find<QComboBox>("FsTcOldFileNm"), {url(3)}, QPoint(5, 5), gui::TFileSelectTab::DragFormat);
    fx.Find<QComboBox>("FsTcNewFileNm")->setEditText(Files[2]); // a typed name reaches the Main Panel
    QCOMPARE(fx.Names(), Files[2] + "|" + Files[3]);
    fx.Click("FsButCancel"); // Cancel puts the names on entry back
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(fx.Names(), Files[0] + "|" + Files[1]);

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
    // by Sv User Ini and shown again by Load User Ini in another window.
    const QString ini = Dir.filePath("round.ini");
    std::map<QString, QString> before;
    {
      TGuiFixture fx;
      auto* newName = fx.Find<QComboBox>("MnCbNewFileNm");
      for (int i : {2, 1, 0, 2}) newName->setEditText(Files[i]); // typed names enter the history
      QCOMPARE(Items(newName), (QStringList{Files[2], Files[0], Files[1]}));
      auto* oldName = fx.Find<QComboBox>("MnCbOldFileNm");
      oldName->setEditText(Files[0]);
      {
        const QSignalBlocker block(oldName); // a name set without signals enters when the list drops down
        oldName->setEditText(Files[1]);
      }
      oldName->showPopup();
      oldName->hidePopup();
      QCOMPARE(Items(oldName), (QStringList{Files[1], Files[0]}));
      fx.Main->Notebook()->setCurrentIndex(1);
      for (int i = 5; i >= 3; --i) fx.Find<QComboBox>("FsTcNewFileNm")->setEditText(Files[i]);
      for (int i = 3; i <= 5; ++i) fx.Find<QComboBox>("FsTcOldFileNm")->setEditText(Files[i]);
      fx.Click("FsButReturn");
      const QRegularExpression optionBox("^(Mn|Fs|Pr|Dp)Ck(?!OmitIniSv)"); // all but the bypass box
      for (auto* box : fx.Main->findChildren<QCheckBox*>())
        if (optionBox.match(box->objectName()).hasMatch()) box->setChecked(true);
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
    TGuiFixture fx;
    fx.Find<QCheckBox>("PrCkIcas")->setChecked(true);
    // A name with another extension is refused, and nothing is reset.
    fx.AnswerFileDialogs(WriteFile(Dir, "settings.txt", "[Quorln32]\r\nListType=Long\r\n"));
    fx.Click("MnButLdIni");
    QCOMPARE(fx.Messages, QStringList{MsgIniExtension});
    QVERIFY(fx.Find<QCheckBox>("PrCkIcas")->isChecked());
    // A damaged, cut off file: the options reset before loading, its good lines shown.
    fx.AnswerFileDialogs(WriteFile(
        Dir, "damaged.ini",
        QByteArray("\x00\x01\xff\r\n[Quorln32]\r\nListType=Long\r\nSubC=\x00\x07\r\n\xfe\xfd=1\r\nNFCombo0=/no/such/fi", 67)));
    fx.Click("MnButLdIni");
    QCOMPARE(fx.Messages, QStringList{MsgIniExtension});
    QVERIFY(!fx.Find<QCheckBox>("PrCkIcas")->isChecked());
    QCOMPARE(fx.Text("MnCbListType"), QString("Long"));
    QCOMPARE(fx.Find<QComboBox>("MnCbNewFileNm")->count(), 0);

    fx.AnswerFileDialogs(ini);
    fx.Click("MnButLdIni");
    QCOMPARE(fx.Messages.size(), 1);
    const std::map<QString, QString> after = Snapshot(fx.Main.get());
    for (const auto& [name, value] : before) QCOMPARE(after.at(name) + "  (" + name + ")", value + "  (" + name + ")");
    QCOMPARE(fx.Main->pos(), QPoint(123, 77));
    QCOMPARE(fx.Find<QLineEdit>("MnEdPanStatus")->text(), QString(MsgEnterFileNames));
    QVERIFY(!fx.Find<QPushButton>("MnButViewResults")->isEnabled());
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
    QCOMPARE(RunQuorlin({"inif=" + BatchIni(Dir, "job.ini", "pref=nowt\nltyp=ovsum\n")}), 1);
    QCOMPARE(ReadFile(ini), saved);
  }
};

} // namespace quorlin::test

QUORLIN_GUI_SUITE(SettingsAndFiles, TSettingsAndFilesTest);

#include "SettingsAndFilesTest.moc"
