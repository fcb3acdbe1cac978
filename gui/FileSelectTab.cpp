#include "gui/FileSelectTab.h"

#include "app/FileHistory.h"
#include "app/FileSelect.h"
#include "gui/HistoryCombo.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"
#include "platform/AppDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace quorlin::gui {

const char* const TFileSelectTab::DragFormat = "application/x-quorlin-file-select";

namespace {

/// The filters of the filter combo: caption and pattern.
const std::pair<const char*, const char*> Filters[] = {
    {"All files  (*.*)", "*"},       {"Text (*.txt)", "*.txt"}, {"Pascal/Delphi  (*.pas) ", "*.pas"},
    {"Ini  (*.ini)", "*.ini"},       {"Vb (*.bas)", "*.bas"},   {"C /C++ (*.cpp)", "*.cpp"},
    {"Bat (*.bat)", "*.bat"},
};

} // namespace

/// The folder tree. A double click picks the folder that its first click
/// opened: that click may have scrolled the folder away from the pointer.
class TFolderTreeView final : public QTreeView {
public:
  explicit TFolderTreeView(QWidget* parent) : QTreeView(parent) {}
  std::function<void(const QModelIndex&)> Picked;

protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && Picked && currentIndex().isValid())
      Picked(currentIndex());
    else
      QTreeView::mouseDoubleClickEvent(event);
  }
};

class TFileListView final : public QListView {
public:
  explicit TFileListView(QWidget* parent) : QListView(parent) {}

protected:
  void mousePressEvent(QMouseEvent* event) override {
    PressAt = event->position().toPoint();
    QListView::mousePressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    // A drag starts once the pointer has moved 10 pixels with the button down.
    if (!(event->buttons() & Qt::LeftButton) || (event->position().toPoint() - PressAt).manhattanLength() < 10) {
      QListView::mouseMoveEvent(event);
      return;
    }
    const QModelIndex index = indexAt(PressAt);
    auto* files = static_cast<QFileSystemModel*>(model());
    if (!index.isValid() || files->isDir(index)) return;
    auto* mime = new QMimeData;
    const QString path = files->filePath(index);
    mime->setData(TFileSelectTab::DragFormat, path.toUtf8());
    mime->setUrls({QUrl::fromLocalFile(path)});
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
  }

private:
  QPoint PressAt;
};

TFileSelectTab::TFileSelectTab(TAppState& app, TQtFrontEnd& ui, QWidget* parent) : QWidget(parent), App(app), Ui(ui) {
  setObjectName("FileSelectPanel");
  Drive = new QComboBox(this);
  Drive->setObjectName("FsDriveComboBox1");
  Drive->setToolTip("Where the folder tree starts");
  Drive->addItem("/", "/");
  Drive->addItem(QDir::homePath(), QDir::homePath());

  Dirs = new QFileSystemModel(this);
  Dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
  Dirs->setRootPath("/");
  auto* folderTree = new TFolderTreeView(this);
  DirTree = folderTree;
  DirTree->setObjectName("FsDirectoryListBox1");
  DirTree->setModel(Dirs);
  for (int column = 1; column < Dirs->columnCount(); ++column) DirTree->hideColumn(column);
  DirTree->setHeaderHidden(true);
  DirTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  DirTree->header()->setStretchLastSection(false);
  DirTree->setToolTip("Folders: a click opens one; a double click picks it, to compare two folders");

  Files = new QFileSystemModel(this);
  Files->setFilter(QDir::Files | QDir::Hidden | QDir::System);
  Files->setNameFilterDisables(false);
  List = new TFileListView(this);
  List->setObjectName("FsFileListBox1");
  List->setModel(Files);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setUniformItemSizes(true);
  List->setToolTip("Files: click one, or drag it onto New or Old");

  Filter = new QComboBox(this);
  Filter->setObjectName("FsFilterComboBox1");
  for (const auto& [caption, pattern] : Filters) Filter->addItem(caption, pattern);
  Filter->setToolTip("Which files the list shows (any letter case)");

  SelLabel = new QLabel(" ", this);
  SelLabel->setObjectName("FsLblSelFileNm");
  SelLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  TabNew = new THistoryCombo(this);
  TabNew->setObjectName("FsTcNewFileNm");
  TabOld = new THistoryCombo(this);
  TabOld->setObjectName("FsTcOldFileNm");
  for (THistoryCombo* combo : {TabNew, TabOld}) {
    combo->SetHomeKeys(true);
    combo->setAcceptDrops(true);
    combo->lineEdit()->setAcceptDrops(false);
    combo->installEventFilter(this);
  }
  TabNew->setToolTip("New file name: type it, or drag a file here from the list");
  TabOld->setToolTip("Old file name: type it, or drag a file here from the list");
  auto* useNew = MakeButton(this, "FsButUseAsNew", "To Main &New Filename", "Use the selected file as the New file");
  auto* useOld = MakeButton(this, "FsButUseAsOld", "To Main &Old Filename", "Use the selected file as the Old file");
  for (QPushButton* button : {useNew, useOld}) {
    button->setAcceptDrops(true);
    button->installEventFilter(this);
  }
  auto* ret = MakeButton(this, "FsButReturn", "&Return  ", "Return to the Main Panel with these names");
  auto* cancel = MakeButton(this, "FsButCancel", "&Cancel", "Return to the Main Panel with the names as they were");
  NoWarn = new QCheckBox("No Warn on return with Input FN not changed", this);
  NoWarn->setObjectName("FsCkNoWarnNoFileChg");

  auto* lists = new QSplitter(Qt::Horizontal, this);
  auto* left = new QWidget(lists);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(Drive);
  leftLayout->addWidget(DirTree, 1);
  auto* right = new QWidget(lists);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(Filter);
  rightLayout->addWidget(List, 1);
  lists->addWidget(left);
  lists->addWidget(right);
  lists->setSizes({300, 300});

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Selected Filename:", this), 0, 0);
  grid->addWidget(SelLabel, 0, 1, 1, 2);
  grid->addWidget(new QLabel("New:", this), 1, 0);
  grid->addWidget(TabNew, 1, 1);
  grid->addWidget(useNew, 1, 2);
  grid->addWidget(new QLabel("Old:", this), 2, 0);
  grid->addWidget(TabOld, 2, 1);
  grid->addWidget(useOld, 2, 2);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(NoWarn);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ret);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lists, 1);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(Drive, &QComboBox::currentIndexChanged, this, [this](int) {
    DirTree->setRootIndex(Dirs->index(Drive->currentData().toString()));
  });
  DirTree->setRootIndex(Dirs->index("/"));
  connect(DirTree, &QTreeView::clicked, this, [this](const QModelIndex& index) { ShowFolder(Dirs->filePath(index)); });
  // A double click picks the folder itself rather than its first file.
  folderTree->Picked = [this](const QModelIndex& index) {
    PendingFile.clear();
    SelLabel->setText(Dirs->filePath(index));
  };
  connect(Files, &QFileSystemModel::directoryLoaded, this, &TFileSelectTab::FolderLoaded);
  // The tree reads folders in the background: keep the current one in view.
  connect(Dirs, &QFileSystemModel::directoryLoaded, this,
          [this] { DirTree->scrollTo(DirTree->currentIndex(), QAbstractItemView::PositionAtCenter); });
  connect(List, &QListView::clicked, this, [this](const QModelIndex& index) {
    SelLabel->setText(Files->filePath(index));
  });
  connect(Filter, &QComboBox::currentIndexChanged, this, [this](int) {
    const QString pattern = Filter->currentData().toString();
    Files->setNameFilters(pattern == "*" ? QStringList() : QStringList{pattern});
  });
  connect(TabNew, &QComboBox::editTextChanged, this, [this](const QString& t) { TabTextChanged(true, t); });
  connect(TabOld, &QComboBox::editTextChanged, this, [this](const QString& t) { TabTextChanged(false, t); });
  connect(TabOld, &THistoryCombo::FocusLost, this, [this] { TabTextChanged(false, TabOld->currentText()); });
  connect(TabNew, &THistoryCombo::DroppingDown, this, [this] {
    AddToHistory(App.Controls.FsTcNewFileNmItems, App.Controls.FsTcNewFileNm, ToCore(TabNew->currentText()));
    ShowTabCombos();
  });
  connect(TabOld, &THistoryCombo::DroppingDown, this, [this] {
    AddToHistory(App.Controls.FsTcOldFileNmItems, App.Controls.FsTcOldFileNm, ToCore(TabOld->currentText()));
    ShowTabCombos();
  });
  connect(useNew, &QPushButton::clicked, this, [this] {
    if (Selected().isEmpty()) return;
    UseSelectedName(NewSide(App.Controls), ToCore(Selected()));
    ShowTabCombos();
    emit NamesChanged();
  });
  connect(useOld, &QPushButton::clicked, this, [this] {
    if (Selected().isEmpty()) return;
    UseSelectedName(OldSide(App.Controls), ToCore(Selected()));
    ShowTabCombos();
    emit NamesChanged();
  });
  connect(NoWarn, &QCheckBox::toggled, this, [this](bool on) { App.Settings.FsCkNoWarnNoFileChg = on; });
  connect(ret, &QPushButton::clicked, this, [this] {
    if (MayReturn()) emit Leave();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    App.Controls.MnCbNewFileNm = NewOnEntry;
    App.Controls.MnCbOldFileNm = OldOnEntry;
    emit NamesChanged();
    emit Leave();
  });
}

QListView* TFileSelectTab::FileList() const { return List; }

QString TFileSelectTab::Selected() const { return SelLabel->text().trimmed().isEmpty() ? QString() : SelLabel->text(); }

void TFileSelectTab::Load() {
  NoWarn->setChecked(App.Settings.FsCkNoWarnNoFileChg);
  ShowTabCombos();
}

void TFileSelectTab::Enter() {
  SelLabel->setText(" ");
  const TFileSelectEntry entry = EnterFileSelect(App.Controls);
  NewOnEntry = entry.NewOnEntry;
  OldOnEntry = entry.OldOnEntry;
  ShowTabCombos();
  emit NamesChanged();
  if (!entry.PointAt.empty()) {
    PointAt(FromCore(entry.PointAt));
    SelLabel->setText(FromCore(entry.PointAt));
  } else {
    PointAt(FromCore(ProgramDirectory()));
  }
}

void TFileSelectTab::PointAt(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) {
    PendingFile = "*";
    ShowFolder(info.absoluteFilePath());
  } else {
    PendingFile = info.absoluteFilePath();
    ShowFolder(info.absolutePath());
  }
}

void TFileSelectTab::ShowFolder(const QString& folder) {
  const QModelIndex dir = Dirs->index(folder);
  DirTree->setCurrentIndex(dir);
  DirTree->scrollTo(dir, QAbstractItemView::PositionAtCenter);
  if (PendingFile.isEmpty()) PendingFile = "*";
  SelLabel->setText(folder);
  List->setRootIndex(Files->setRootPath(folder));
  // A folder read before shows at once; one read for the first time reports
  // through directoryLoaded.
  if (Files->rowCount(List->rootIndex()) > 0) FolderLoaded(folder);
}

void TFileSelectTab::FolderLoaded(const QString& folder) {
  if (folder != Files->rootPath() || PendingFile.isEmpty()) return;
  const QString pending = PendingFile;
  PendingFile.clear();
  if (pending != "*") {
    SelectFile(pending);
    return;
  }
  Files->sort(0);
  const QModelIndex first = Files->index(0, 0, List->rootIndex());
  if (!first.isValid()) return;
  List->setCurrentIndex(first);
  SelLabel->setText(Files->filePath(first));
}

void TFileSelectTab::SelectFile(const QString& path) {
  const QModelIndex index = Files->index(path);
  if (index.isValid()) {
    List->setCurrentIndex(index);
    List->scrollTo(index);
  }
  SelLabel->setText(path);
}

void TFileSelectTab::ShowTabCombos() {
  TabNew->Show(App.Controls.FsTcNewFileNmItems, App.Controls.FsTcNewFileNm);
  TabOld->Show(App.Controls.FsTcOldFileNmItems, App.Controls.FsTcOldFileNm);
}

void TFileSelectTab::TabTextChanged(bool isNew, const QString& text) {
  TNameSide side = isNew ? NewSide(App.Controls) : OldSide(App.Controls);
  side.TabText = ToCore(text);
  if (!TabNameChanged(side, ToCore(text))) return;
  ShowTabCombos();
  PointAt(text);
  emit NamesChanged();
}

bool TFileSelectTab::MayReturn() {
  if (NoWarn->isChecked()) return true;
  const std::string question =
      ReturnQuestion(App.Controls.MnCbNewFileNm, App.Controls.MnCbOldFileNm, NewOnEntry, OldOnEntry);
  return question.empty() || Ui.Ask(question);
}

void TFileSelectTab::DropOn(bool isNew) {
  if (Selected().isEmpty()) return;
  DropSelectedName(isNew ? NewSide(App.Controls) : OldSide(App.Controls), ToCore(Selected()));
  ShowTabCombos();
  emit NamesChanged();
}

bool TFileSelectTab::eventFilter(QObject* watched, QEvent* event) {
  const bool newSide = watched == TabNew || watched->objectName() == "FsButUseAsNew";
  switch (event->type()) {
  case QEvent::DragEnter:
  case QEvent::DragMove: {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (drag->mimeData()->hasFormat(DragFormat))
      drag->acceptProposedAction();
    else
      drag->ignore();
    return true;
  }
  case QEvent::Drop: {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasFormat(DragFormat)) return true;
    SelLabel->setText(QString::fromUtf8(drop->mimeData()->data(DragFormat)));
    DropOn(newSide);
    drop->acceptProposedAction();
    return true;
  }
  default:
    return QWidget::eventFilter(watched, event);
  }
}

} // namespace quorlin::gui
