#include "gui/FrmMain.h"

#include "app/CompareFlow.h"
#include "app/FileHistory.h"
#include "app/FolderCompare.h"
#include "app/UserSettings.h"
#include "gui/FileSelectTab.h"
#include "gui/HistoryCombo.h"
#include "gui/FrmChgFlag.h"
#include "gui/FrmFolders.h"
#include "gui/FrmPeek.h"
#include "gui/FrmSbS.h"
#include "gui/FrmSingle.h"
#include "gui/FrmVSplit.h"
#include "gui/HelpWindow.h"
#include "gui/OptionTabs.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"
#include "listing/Listing.h"
#include "platform/AppDir.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "viewers/Geometry.h"
#include "viewers/LineModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace quorlin::gui {

namespace {

const QString InteractiveCaption = "Quorlin Compare (Win 98/Me/2000) Program";
const QString BatchCaption = "Quorlin Batch Mode Line Compare Program";

QString VersionText() { return QString(VersionString) + " " + ReleaseDate; }

constexpr const char* IniFilter = "Ini File (*.ini)|*.ini";

/// A settings file name as the dialogs take it: ".ini" added when the name
/// has no extension; empty when it has another extension.
QString IniName(const QString& chosen) {
  const QFileInfo info(chosen);
  if (info.suffix().isEmpty()) return chosen + ".ini";
  return info.suffix().toLower() == "ini" ? chosen : QString();
}

} // namespace

TFrmMain::TFrmMain(TAppState& app, TQtFrontEnd& ui, QWidget* parent) : QMainWindow(parent), App(app), Ui(ui) {
  setObjectName("TFrmMain");
  setWindowTitle(InteractiveCaption);
  App.ProgressOn = true;
  if (App.RunStamp.empty()) App.RunStamp = NowText();

  Tabs = new QTabWidget(this);
  Tabs->setObjectName("AATabbedNotebook1");
  Preferences = new TPreferencesTab(App.Controls, Tabs);
  DpOptions = new TDpOptionsTab(App.Controls, Tabs);
  FileSelectPanel = new TFileSelectTab(App, Ui, Tabs);
  // Each tab scrolls when the window is smaller than its controls, so the
  // window fits small or scaled screens.
  auto scrolled = [this](QWidget* page) {
    auto* area = new QScrollArea(Tabs);
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
  };
  Tabs->addTab(scrolled(BuildMainPanel()), " &Main Panel  ");
  Tabs->addTab(scrolled(FileSelectPanel), "  &File Select   ");
  Tabs->addTab(scrolled(Preferences), "  &Preferences   ");
  Tabs->addTab(scrolled(DpOptions), "  &Dp Options  ");
  Tabs->addTab(scrolled(BuildAbout()), "  &About   ");
  Tabs->addTab(new QWidget(Tabs), " OverVi&ew  ");
  setCentralWidget(Tabs);
  resize(Tabs->widget(TabMain)->sizeHint().expandedTo(QSize(660, 480)));

  Legend = new TFrmChgFlag(this);
  Single = new TFrmSingle(Ui, *Legend, App.Settings, this);
  SaveLayout = new TFrmSbS(this);
  Dual = new TFrmVSplit(Ui, *Legend, *SaveLayout, App.Settings, this);
  Folders = new TFrmFolders(App, Ui, *Single, *Dual, this);
  Peek = new TFrmPeek(this);
  Help = new THelpWindow(this);
  Ui.SetStatusLine(StatusLine);
  Ui.SetMessageParent(this);

  connect(Tabs, &QTabWidget::currentChanged, this, &TFrmMain::TabChanged);
  for (QPushButton* ret : {Preferences->ReturnButton(), DpOptions->ReturnButton()})
    connect(ret, &QPushButton::clicked, this, [this] { GoToTab(TabMain); });
  for (QPushButton* cancel : {Preferences->CancelButton(), DpOptions->CancelButton()})
    connect(cancel, &QPushButton::clicked, this, &TFrmMain::CancelOptions);
  connect(Single, &QDialog::finished, this, [this] {
    Single->StoreSettings(App.Settings);
    Legend->Withdraw();
    ExitButton->setFocus();
  });
  connect(Dual, &QDialog::finished, this, [this] {
    Dual->StoreSettings(App.Settings);
    Legend->Withdraw();
    ExitButton->setFocus();
  });
  connect(FileSelectPanel, &TFileSelectTab::NamesChanged, this, &TFrmMain::ShowNames);
  connect(FileSelectPanel, &TFileSelectTab::Leave, this, [this] { GoToTab(TabMain); });
  setAcceptDrops(true);
  qApp->installEventFilter(this);
  RefreshFromModel();
}

TFrmMain::~TFrmMain() {
  qApp->removeEventFilter(this);
  Ui.SetStatusLine(nullptr);
  Ui.SetMessageParent(nullptr);
}

QWidget* TFrmMain::BuildMainPanel() {
  auto* panel = new QWidget(Tabs);
  panel->setObjectName("MainPanel");

  NewName = new THistoryCombo(panel);
  NewName->setObjectName("MnCbNewFileNm");
  OldName = new THistoryCombo(panel);
  OldName->setObjectName("MnCbOldFileNm");
  NewName->setToolTip("The NEW version of the file: its inserted lines are listed");
  OldName->setToolTip("The OLD version of the file: its deleted lines are listed");
  // Each combo's text goes into its history when it names an existing file:
  // as it changes, when the list drops down and when the combo is left.
  for (THistoryCombo* combo : {NewName, OldName}) {
    combo->lineEdit()->setAcceptDrops(false); // files dropped here go to the window's drop rule
    auto remember = [this, combo] {
      TOptionControls& c = App.Controls;
      const bool isNew = combo == NewName;
      std::string& text = isNew ? c.MnCbNewFileNm : c.MnCbOldFileNm;
      std::vector<std::string>& items = isNew ? c.MnCbNewFileNmItems : c.MnCbOldFileNmItems;
      text = ToCore(combo->currentText());
      const size_t before = items.size();
      const std::string first = items.empty() ? std::string() : items.front();
      AddToHistory(items, text, text);
      if (items.size() != before || (!items.empty() && items.front() != first)) combo->Show(items, text);
    };
    connect(combo, &QComboBox::editTextChanged, this, remember);
    connect(combo, &THistoryCombo::DroppingDown, this, remember);
    connect(combo, &THistoryCombo::FocusLost, this, remember);
  }

  ListType = new QComboBox(panel);
  ListType->setObjectName("MnCbListType");
  ListType->addItems({"Chng", "Delta", "Long", "Ovsum"});
  ListType->setToolTip("Chng: changes with context; Delta: changes only; Long: every line; Ovsum: summary only");
  connect(ListType, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { App.Controls.MnCbListType = ToCore(text); });

  Start = MakeButton(panel, "MnButCompare", "  &Start    ", "Compare the New file with the Old file");
  Halt = MakeButton(panel, "MnButStop", "&Halt", "Stop the compare that is running");
  Halt->setStyleSheet(ColourStyle(TLineColour::Red));
  Halt->hide();
  Browse = MakeButton(panel, "MnButBrowse", "F&ile Select", "Choose the New and Old files on the File Select tab");
  ViewLatest = MakeButton(panel, "MnButViewResults", "&View Latest Results", "Show the results of the last compare again");
  LoadIni = MakeButton(panel, "MnButLdIni", "&Load User Ini", "Load options and file names from a settings file");
  SaveIni = MakeButton(panel, "MnButSvUserIni", "Sv &User Ini", "Save options and file names to a settings file");
  PeekLog = MakeButton(panel, "MnButPeekLog", "Peek Log", "Show the batch log");
  PeekLog->hide();
  ExitButton = MakeButton(panel, "MnButExit", "    E&xit      ", "Close the program");
  Start->setDefault(true);

  ViewOnDemand = new QCheckBox("View results only on demand", panel);
  ViewOnDemand->setObjectName("MnCkViewResults");
  ViewOnDemand->setToolTip("Do not open the viewer after a compare; use View Latest Results");
  HintsOff = new QCheckBox("Turn off All Panel Hints", panel);
  HintsOff->setObjectName("MnCkTurnOffHint");
  HintsOff->setToolTip("Hide these hints everywhere in the program");
  OmitIniSave = new QCheckBox("Bypass Ini Update On Exit", panel);
  OmitIniSave->setObjectName("MnCkOmitIniSv");
  OmitIniSave->setToolTip("Do not save options and file names when the program closes");
  connect(ViewOnDemand, &QCheckBox::toggled, this, [this](bool on) { App.Settings.MnCkViewResults = on; });
  connect(HintsOff, &QCheckBox::toggled, this, [this](bool on) { App.Settings.MnCkTurnOffHint = on; });
  connect(OmitIniSave, &QCheckBox::toggled, this, [this](bool on) { App.Settings.MnCkOmitIniSv = on; });

  StatusLine = new QLineEdit(panel);
  StatusLine->setObjectName("MnEdPanStatus");
  StatusLine->setReadOnly(true);
  StatusLine->setToolTip("The result of the last compare");
  OptsUsed = new QLabel("None", panel);
  OptsUsed->setObjectName("MnlblOptsUsed");
  OptsUsed->setWordWrap(true);
  OptsUsed->setStyleSheet(ColourStyle(TLineColour::Blue));
  auto* version = new QLabel(VersionText(), panel);
  version->setObjectName("MnVerNum");
  BatchLabel = MakeColourLabel(panel, "Batch Processing Mode", TLineColour::Red, true);
  BatchLabel->setObjectName("MnLbBatchProc");
  BatchLabel->hide();
  Note = new QLabel("Note: Use File Select Tab, Button, or Drag-Drop to Set New and Old File Names", panel);
  Note->setObjectName("MnPanNote1");
  Note->setFrameShape(QFrame::Panel);
  Note->setFrameShadow(QFrame::Sunken);
  Busy = new QProgressBar(panel);
  Busy->setObjectName("MnAnimate1");
  Busy->setRange(0, 0);
  Busy->setTextVisible(false);
  Busy->setFixedWidth(120);
  Busy->hide();

  auto* names = new QGridLayout;
  names->addWidget(new QLabel("&New File:", panel), 0, 0);
  names->addWidget(NewName, 0, 1);
  names->addWidget(new QLabel("&Old File:", panel), 1, 0);
  names->addWidget(OldName, 1, 1);
  qobject_cast<QLabel*>(names->itemAtPosition(0, 0)->widget())->setBuddy(NewName);
  qobject_cast<QLabel*>(names->itemAtPosition(1, 0)->widget())->setBuddy(OldName);

  auto* typeRow = new QHBoxLayout;
  auto* typeLabel = new QLabel("Listing &Type:", panel);
  typeLabel->setBuddy(ListType);
  typeRow->addWidget(typeLabel);
  typeRow->addWidget(ListType);
  typeRow->addStretch(1);
  typeRow->addWidget(BatchLabel);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  for (QPushButton* button : {Start, Halt, Browse, ViewLatest, LoadIni, SaveIni, PeekLog, ExitButton}) {
    button->setMinimumWidth(150);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);

  auto* options = new QGroupBox("Preferences and Dp (Don't Process) User Selected Options:", panel);
  auto* optionsLayout = new QVBoxLayout(options);
  optionsLayout->addWidget(OptsUsed);
  optionsLayout->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addWidget(ViewOnDemand);
  right->addWidget(HintsOff);
  right->addWidget(OmitIniSave);
  right->addSpacing(8);
  right->addWidget(options, 1);

  auto* middle = new QHBoxLayout;
  middle->addLayout(buttons);
  middle->addSpacing(12);
  middle->addLayout(right, 1);

  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(new QLabel("Status:", panel));
  statusRow->addWidget(StatusLine, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Busy);
  bottom->addStretch(1);
  bottom->addWidget(version);

  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(names);
  layout->addWidget(Note);
  layout->addLayout(typeRow);
  layout->addLayout(middle, 1);
  layout->addLayout(statusRow);
  layout->addLayout(bottom);

  connect(Start, &QPushButton::clicked, this, &TFrmMain::MnButCompareClick);
  connect(Halt, &QPushButton::clicked, this, &TFrmMain::MnButStopClick);
  connect(Browse, &QPushButton::clicked, this, &TFrmMain::MnButBrowseClick);
  connect(ViewLatest, &QPushButton::clicked, this, &TFrmMain::MnButViewResultsClick);
  connect(PeekLog, &QPushButton::clicked, this, &TFrmMain::MnButPeekLogClick);
  connect(LoadIni, &QPushButton::clicked, this, &TFrmMain::MnButLdIniClick);
  connect(SaveIni, &QPushButton::clicked, this, &TFrmMain::MnButSvUserIniClick);
  connect(ExitButton, &QPushButton::clicked, this, &TFrmMain::MnButExitClick);
  // Enter in a name box starts the compare, as Start does.
  for (THistoryCombo* name : {NewName, OldName})
    connect(name->lineEdit(), &QLineEdit::returnPressed, this, &TFrmMain::MnButCompareClick);
  return panel;
}

QWidget* TFrmMain::BuildAbout() {
  auto* tab = new QWidget(Tabs);
  tab->setObjectName("AboutPanel");
  auto* title = new QLabel("Quorlin", tab);
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  title->setFont(big);
  auto* version = new QLabel(": " + VersionText(), tab);
  version->setObjectName("AbLbVer2");
  auto* text = new QLabel(
      "A line compare program for programmers and administrators.\n\n"
      "It compares a NEW and an OLD version of a text file line by line and reports every line as\n"
      "matched, inserted, deleted, reformatted (differs only in blanks) or moved, with a summary\n"
      "and statistics section. It can leave comments out of the compare, compare chosen columns\n"
      "or line ranges, compare unordered line lists and run unattended batch jobs.\n\n"
      "Press OverView for the user guide.",
      tab);
  auto* ret = MakeButton(tab, "AbButReturn", "&Return", "Return to the Main Panel");
  connect(ret, &QPushButton::clicked, this, [this] { GoToTab(TabMain); });
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addSpacing(12);
  layout->addWidget(text);
  layout->addStretch(1);
  layout->addWidget(ret, 0, Qt::AlignRight);
  return tab;
}

void TFrmMain::ShowNames() {
  const TOptionControls& c = App.Controls;
  NewName->Show(c.MnCbNewFileNmItems, c.MnCbNewFileNm);
  OldName->Show(c.MnCbOldFileNmItems, c.MnCbOldFileNm);
}

void TFrmMain::RefreshFromModel() {
  const TOptionControls& c = App.Controls;
  ShowNames();
  {
    const QSignalBlocker block(ListType);
    const int at = ListType->findText(FromCore(c.MnCbListType));
    if (at >= 0) ListType->setCurrentIndex(at);
  }
  ViewOnDemand->setChecked(App.Settings.MnCkViewResults);
  HintsOff->setChecked(App.Settings.MnCkTurnOffHint);
  OmitIniSave->setChecked(App.Settings.MnCkOmitIniSv);
  OptsUsed->setText(FromCore(c.MnlblOptsUsed));
  Preferences->Load();
  DpOptions->Load();
  FileSelectPanel->Load();
}

void TFrmMain::StartInteractive(const QStringList& names) {
  App.BatchMode = false;
  const std::string defaultIni = DataDirectory() + "/" + UserIniName;
  if (FileExists(defaultIni)) {
    App.Settings.FileName = defaultIni;
    LoadUserIni(App);
    ShowLoadedSettings();
  }
  setWindowTitle(InteractiveCaption);
  if (!FileExists(defaultIni)) PlaceOnScreens(this, {x(), y(), width(), height()});
  TOptionControls& c = App.Controls;
  if (names.size() >= 1) {
    AddToHistory(c.MnCbNewFileNmItems, c.MnCbNewFileNm, c.MnCbNewFileNm);
    c.MnCbNewFileNm = ToCore(names[0]);
  }
  if (names.size() >= 2) {
    AddToHistory(c.MnCbOldFileNmItems, c.MnCbOldFileNm, c.MnCbOldFileNm);
    c.MnCbOldFileNm = ToCore(names[1]);
  }
  RefreshFromModel();
}

void TFrmMain::ShowLoadedSettings() {
  RefreshFromModel();
  PlaceOnScreens(this, {StoredNumber(App.Settings.Left, x()), StoredNumber(App.Settings.Top, y()),
                        StoredNumber(App.Settings.Width, width()), StoredNumber(App.Settings.Height, height())});
  ViewLatest->setEnabled(false);
  StatusLine->setText(MsgEnterFileNames);
}

void TFrmMain::SaveSettings() {
  App.Settings.Left = NumberText(x());
  App.Settings.Top = NumberText(y());
  App.Settings.Width = NumberText(width());
  App.Settings.Height = NumberText(height());
  if (App.Settings.FileName.empty()) App.Settings.FileName = DataDirectory(true) + "/" + UserIniName;
  std::string error;
  if (!SaveUserIni(App, error)) Ui.ShowMessage("The user settings could not be saved: " + error);
}

void TFrmMain::MnButSvUserIniClick() {
  const TFileChoice choice =
      Ui.SaveFileDialog("Save User Settings", FromCore(DataDirectory(true) + "/*.ini"), IniFilter, 0, true);
  if (choice.Path.isEmpty()) return;
  const QString name = IniName(choice.Path);
  if (name.isEmpty()) {
    Ui.ShowMessage(MsgIniExtension);
    return;
  }
  App.Settings.FileName = ToCore(name);
  SaveSettings();
}

void TFrmMain::MnButLdIniClick() {
  const TFileChoice choice = Ui.OpenFileDialog("Load User Settings", FromCore(DataDirectory()), IniFilter);
  if (choice.Path.isEmpty()) return;
  QString name = QFileInfo(choice.Path).suffix().isEmpty() && !QFileInfo::exists(choice.Path)
                     ? IniName(choice.Path)
                     : choice.Path;
  if (QFileInfo(name).suffix().toLower() != "ini") {
    Ui.ShowMessage(MsgIniExtension);
    return;
  }
  App.Settings.FileName = ToCore(name);
  ResetBeforeLoad(App);
  if (!LoadUserIni(App)) Ui.ShowMessage("The user settings file \"" + ToCore(name) + "\" could not be read.");
  ShowLoadedSettings();
}

// Files from the desktop are taken while the Main Panel shows its two names.
void TFrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!App.BatchMode && !Running && TabRules.Current == TabMain && event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void TFrmMain::dropEvent(QDropEvent* event) {
  if (App.BatchMode || Running || TabRules.Current != TabMain) return;
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.push_back(ToCore(url.toLocalFile()));
  const int oldTop = OldName->mapTo(this, QPoint(0, 0)).y();
  const TDropTarget target = DropFiles(files, event->position().toPoint().y(), oldTop);
  if (target.NewName) App.Controls.MnCbNewFileNm = *target.NewName;
  if (target.OldName) App.Controls.MnCbOldFileNm = *target.OldName;
  ShowNames();
  event->acceptProposedAction();
}

void TFrmMain::StartBatch(const QString& iniPath, bool displayAvailable) {
  App.BatchMode = true;
  BatchIni = iniPath;
  DisplayAvailable = displayAvailable;
  setWindowTitle(BatchCaption);
  Note->hide();
  // What cannot act in a batch is shown so: its controls and the tabs it refuses.
  for (QWidget* w : std::initializer_list<QWidget*>{Start, Browse, NewName, OldName, ListType, ViewOnDemand,
                                                    ViewLatest, HintsOff, SaveIni, OmitIniSave, ExitButton})
    w->setEnabled(false);
  for (int tab : {TabFileSelect, TabPreferences, TabDpOptions}) Tabs->setTabEnabled(tab, false);
  Halt->show();
  QTimer::singleShot(0, this, &TFrmMain::RunBatch);
}

void TFrmMain::RunBatch() {
  BatchLabel->show();
  Busy->show();
  Running = true;
  const TBatchResult result = IniBatchRun(App, ToCore(BatchIni), DataDirectory(true), this);
  Running = false;
  Status = result.ExitStatus;
  LogPath = FromCore(result.LogPath);
  Busy->hide();
  RefreshFromModel();
  // The final status, and where its log went.
  StatusLine->setText(StatusLine->text() + "  (" + BatchLogName + " in " + QFileInfo(LogPath).absolutePath() + ")");
  // Without a display nobody could press Exit, and a close request during
  // the batch asked for the end: the batch ends by itself.
  if (result.NoWait || !DisplayAvailable || CloseRequested) {
    emit BatchEnded(Status);
    return;
  }
  if (DisplayAvailable) show();
  Halt->hide();
  ExitButton->setEnabled(true);
  ExitButton->show();
  ExitButton->setFocus();
  PeekLog->setEnabled(true);
  PeekLog->show();
}

void TFrmMain::ShowDuringBatch() {
  if (DisplayAvailable && !isVisible()) show();
  LoadIni->hide();
  RefreshFromModel();
}

void TFrmMain::SetRunning(bool running) {
  Running = running;
  // While a compare runs only Halt, Exit (which halts it) and the hint box
  // act: a dialog or another tab would hold up the run out of Halt's reach.
  for (QWidget* w : std::initializer_list<QWidget*>{NewName, OldName, ListType, Browse, Start, ViewLatest, LoadIni,
                                                    SaveIni, ViewOnDemand, OmitIniSave})
    w->setEnabled(!running);
  for (int i = 0; i < Tabs->count(); ++i)
    if (i != Tabs->currentIndex()) Tabs->setTabEnabled(i, !running);
  Halt->setVisible(running);
  Busy->setVisible(running);
}

void TFrmMain::NoteStatus(int status) { Status = std::max(Status, status); }

void TFrmMain::MnButCompareClick() {
  if (Running) return;
  App.Controls.MnCbNewFileNm = ToCore(NewName->currentText());
  App.Controls.MnCbOldFileNm = ToCore(OldName->currentText());
  if (FolderNames(App.Controls)) {
    RunFolderCompare();
    return;
  }
  const TStartCheck check = CheckStartNames(App.Controls);
  ShowNames();
  if (!check.Message.empty()) {
    Ui.ShowMessage(check.Message);
    (check.Focus == TNameField::Old ? OldName : NewName)->setFocus();
    return;
  }
  TOptionControls& c = App.Controls;
  AddToHistory(c.MnCbNewFileNmItems, c.MnCbNewFileNm, c.MnCbNewFileNm);
  AddToHistory(c.MnCbOldFileNmItems, c.MnCbOldFileNm, c.MnCbOldFileNm);
  ShowNames();
  FoldersLast = false;

  StatusLine->setText("Executing Compare Section.");
  App.Panel1Lines.clear();
  App.Panel2Lines.clear();
  SetRunning(true);
  App.UserStop = false;
  QApplication::processEvents();
  RunStartCompare(App);
  SetRunning(false);
  // What the run changed in the controls (a bad Dln filter it unchecked,
  // the summary) shows at once.
  RefreshFromModel();
  StatusLine->setText(FromCore(App.StatusText.substr(0, 128)));
  NoteStatus(CompareExitStatus(App));
  QApplication::processEvents();

  if (App.UserStop) {
    Ui.ShowMessage(MsgUserTerminated);
  } else if (ViewerOpensAfterRun(App, App.Settings.MnCkViewResults)) {
    ViewResults();
    ViewLatest->setEnabled(true);
  }
}

void TFrmMain::RunFolderCompare() {
  ShowNames();
  StatusLine->setText("Executing Folder Compare.");
  SetRunning(true);
  App.UserStop = false;
  QApplication::processEvents();
  FoldersLast = true;
  NoteStatus(Folders->Run());
  SetRunning(false);
  StatusLine->setText(FromCore(App.StatusText.substr(0, 128)));
  if (App.UserStop) {
    Ui.ShowMessage(MsgUserTerminated);
  } else if (!App.Settings.MnCkViewResults) {
    Folders->Open();
    ViewLatest->setEnabled(true);
  }
}

void TFrmMain::MnButStopClick() { App.UserStop = true; }

void TFrmMain::MnButViewResultsClick() {
  if (FoldersLast) {
    Folders->Open();
    return;
  }
  bool disable = false;
  const std::string message = ViewLatestResultsCheck(App, disable);
  if (message.empty()) {
    ViewResults();
    return;
  }
  Ui.ShowMessage(message);
  if (disable) ViewLatest->setEnabled(false);
}

void TFrmMain::ViewResults() {
  const TResultView view = MakeResultView(App);
  QDialog* viewer = nullptr;
  // The names of the files compared, not what the boxes hold since.
  const QString newName = FromCore(App.CompareCtl->NewFileName), oldName = FromCore(App.CompareCtl->OldFileName);
  if (DualViewerResult(App)) {
    Dual->Prepare(view, newName, oldName);
    viewer = Dual;
  } else {
    Single->Prepare(view, newName, oldName);
    viewer = Single;
  }
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  ExitButton->setFocus();
}

void TFrmMain::MnButBrowseClick() { GoToTab(TabFileSelect); }

void TFrmMain::MnButPeekLogClick() {
  Peek->Load(LogPath);
  Peek->show();
  connect(Peek, &QDialog::finished, ExitButton, qOverload<>(&QWidget::setFocus), Qt::SingleShotConnection);
}

void TFrmMain::MnButExitClick() { close(); }

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (Running) {
    // A close request during a run stops the run; the window stays, but a
    // batch then ends the program.
    App.UserStop = true;
    CloseRequested = App.BatchMode;
    event->ignore();
    return;
  }
  if (App.BatchMode || TabRules.Current == TabMain) {
    Legend->close();
    Help->close();
    if (!App.BatchMode && !App.Settings.MnCkOmitIniSv) SaveSettings();
    event->accept();
    return;
  }
  // From File Select a close request is that tab's Return; from any other
  // tab it goes back to the Main Panel.
  if (TabRules.Current != TabFileSelect || FileSelectPanel->MayReturn()) GoToTab(TabMain);
  event->ignore();
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && App.Settings.MnCkTurnOffHint) return true;
  return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::GoToTab(int index) { Tabs->setCurrentIndex(index); }

void TFrmMain::TabChanged(int index) {
  if (Reverting) return;
  const int before = TabRules.Current;
  const TTabAction action = ChangeTab(App, TabRules, index);
  if (action == TTabAction::Refused || action == TTabAction::ShowHelp) {
    Reverting = true;
    Tabs->setCurrentIndex(before);
    Reverting = false;
  }
  if (action == TTabAction::PrepareFiles) FileSelectPanel->Enter();
  if (action == TTabAction::Changed && index == TabDpOptions) DpOptions->FocusFirst();
  if (action == TTabAction::ShowHelp && !Help->ShowGuide())
    Ui.ShowMessage("The user guide (docs/user-guide.md) was not found beside the program.");
  OptsUsed->setText(FromCore(App.Controls.MnlblOptsUsed));
}

void TFrmMain::CancelOptions() {
  quorlin::CancelOptions(App, TabRules);
  RefreshFromModel();
  Reverting = true;
  Tabs->setCurrentIndex(TabMain);
  Reverting = false;
  OptsUsed->setText(FromCore(App.Controls.MnlblOptsUsed));
}

} // namespace quorlin::gui
