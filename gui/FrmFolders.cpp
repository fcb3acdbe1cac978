#include "gui/FrmFolders.h"

#include "app/CompareFlow.h"
#include "app/OptionsSummary.h"
#include "engine/CompareRun.h"
#include "gui/FrmSingle.h"
#include "gui/FrmVSplit.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"
#include "listing/Listing.h"
#include "platform/InputSpool.h"
#include "viewers/FolderTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace quorlin::gui {

/// The tree of a folder result for the view: rows as the core's tree has
/// them, column 0 the name, then the status and the counts of the pair.
class TFolderTreeModel final : public QAbstractItemModel {
public:
  TFolderTreeModel(const TFolderResult& result, QObject* parent) : QAbstractItemModel(parent), Result(result) {}

  /// Shows tree, a tree of the result given at construction.
  void Show(TFolderTree tree) {
    beginResetModel();
    Tree = std::move(tree);
    endResetModel();
  }
  const TFolderTree& FolderTree() const { return Tree; }
  /// The row of the tree at index; -1 for none.
  static int RowOf(const QModelIndex& index) { return index.isValid() ? static_cast<int>(index.internalId()) : -1; }
  QModelIndex IndexOfRow(int row) const {
    return row < 0 ? QModelIndex() : createIndex(Tree.Rows[static_cast<size_t>(row)].Index, 0, static_cast<quintptr>(row));
  }

  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    if (!hasIndex(row, column, parent)) return {};
    return createIndex(row, column, static_cast<quintptr>(Tree.RowsIn(RowOf(parent))[static_cast<size_t>(row)]));
  }
  QModelIndex parent(const QModelIndex& child) const override {
    return child.isValid() ? IndexOfRow(Tree.Rows[static_cast<size_t>(RowOf(child))].Parent) : QModelIndex();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.column() > 0 ? 0 : static_cast<int>(Tree.RowsIn(RowOf(parent)).size());
  }
  int columnCount(const QModelIndex&) const override { return 6; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const TFolderRow& row = Tree.Rows[static_cast<size_t>(RowOf(index))];
    const TFolderPair* pair = row.Pair >= 0 ? &Result.Pairs[static_cast<size_t>(row.Pair)] : nullptr;
    const int column = index.column();
    if (role == Qt::ForegroundRole && pair && PairColour(pair->Status) != TLineColour::Normal) {
      return ShownColour(PairColour(pair->Status), QPalette::Base);
    }
    if (role == Qt::ToolTipRole && pair && !pair->Message.empty()) return FromCore(pair->Message);
    if (role == Qt::TextAlignmentRole && column >= 2) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (column == 0) return FromCore(row.Name);
    if (!pair) return {};
    if (column == 1) return QString(PairStatusName(pair->Status));
    const TCompareCtl* c = pair->Ctl.get();
    if (!c) return {};
    if (column == 5) return c->OptFmvl && !c->OptClnc ? QString::number(c->MovedCount) : QString("-");
    return QString::number(column == 2 ? c->InsertCount : column == 3 ? c->DeleteCount : c->ReformCount);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char* const titles[] = {"Path", "Status", "Inserted", "Deleted", "Reformed", "Moved"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 5) return {};
    return QString(titles[section]);
  }

private:
  const TFolderResult& Result;
  TFolderTree Tree;
};

TFrmFolders::TFrmFolders(TAppState& app, TQtFrontEnd& ui, TFrmSingle& single, TFrmVSplit& dual, QWidget* parent)
    : QDialog(parent), App(app), Ui(ui), Single(single), Dual(dual) {
  setObjectName("TFrmFolders");
  resize(720, 544);

  auto* names = new QGridLayout;
  NewName = new QLabel(this);
  NewName->setObjectName("FdLblNewDir");
  OldName = new QLabel(this);
  OldName->setObjectName("FdLblOldDir");
  names->addWidget(MakeColourLabel(this, "New Folder = ", TLineColour::Blue), 0, 0);
  names->addWidget(NewName, 0, 1);
  names->addWidget(MakeColourLabel(this, "Old  Folder = ", TLineColour::Red), 1, 0);
  names->addWidget(OldName, 1, 1);
  names->setColumnStretch(1, 1);

  HideIdentical = new QCheckBox("&Hide identical pairs", this);
  HideIdentical->setObjectName("FdCkHideIdentical");
  HideIdentical->setToolTip("Show only the files that differ, stand alone or could not be compared");
  auto* view = MakeButton(this, "FdButView", "&View Pair", "Open the viewer of the pair (Enter or a double click)");
  auto* ret = MakeButton(this, "FdButReturn", "&Return", "Close the folder window");
  for (QPushButton* button : {view, ret}) button->setAutoDefault(false);
  auto* top = new QHBoxLayout;
  top->addLayout(names, 1);
  top->addWidget(HideIdentical);
  top->addWidget(view);
  top->addWidget(ret);

  Model = new TFolderTreeModel(Folders, this);
  View = new QTreeView(this);
  View->setObjectName("FdTree");
  View->setModel(Model);
  View->setUniformRowHeights(true);
  View->setSelectionBehavior(QAbstractItemView::SelectRows);
  View->setSelectionMode(QAbstractItemView::SingleSelection);
  View->setEditTriggers(QAbstractItemView::NoEditTriggers);
  View->setExpandsOnDoubleClick(false);
  View->header()->setStretchLastSection(false);
  View->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < 6; ++column) View->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

  Totals = new QLabel(this);
  Totals->setObjectName("FdLblTotals");
  Totals->setWordWrap(true);
  Notes = MakeColourLabel(this, "", TLineColour::Maroon);
  Notes->setObjectName("FdLblNotes");
  Notes->setWordWrap(true);
  auto* legend = new QHBoxLayout;
  for (const auto& [text, colour] : {std::pair{"Only in NEW", TLineColour::Blue}, {"Only in OLD", TLineColour::Red},
                                     {"Differs", TLineColour::Teal}, {"Error", TLineColour::Green}})
    legend->addWidget(MakeColourLabel(this, text, colour, true));
  legend->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(View, 1);
  layout->addWidget(Totals);
  layout->addWidget(Notes);
  layout->addLayout(legend);

  connect(View, &QTreeView::activated, this, &TFrmFolders::FdButViewClick);
  connect(view, &QPushButton::clicked, this, &TFrmFolders::FdButViewClick);
  connect(ret, &QPushButton::clicked, this, &QDialog::accept);
  connect(HideIdentical, &QCheckBox::toggled, this, [this] { ShowTree(CurrentPair()); });
  // The viewer's Return comes back to this window with its place kept.
  for (QDialog* viewer : {static_cast<QDialog*>(&Single), static_cast<QDialog*>(&Dual)})
    connect(viewer, &QDialog::finished, this, [this] {
      if (!PairShown || !isVisible()) return;
      PairShown = false;
      QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
        View->setFocus();
      });
    });
}

TFrmFolders::~TFrmFolders() = default;

int TFrmFolders::Run() {
  TFolderOptions options;
  options.NewRoot = App.Controls.MnCbNewFileNm;
  options.OldRoot = App.Controls.MnCbOldFileNm;
  setEnabled(false);
  TFolderResult result = CompareFolders(App, options);
  Folders = std::move(result);
  setEnabled(true);
  setWindowTitle(QString(VersionString) + "Folder Compare  " + FromCore(App.RunStamp));
  NewName->setText(FromCore(Folders.NewRoot));
  OldName->setText(FromCore(Folders.OldRoot));
  Totals->setText(FromCore(FolderTotalsLine(Folders.Totals())));
  QStringList notes;
  for (const std::string& note : Folders.Notes) notes << FromCore(note);
  Notes->setText(notes.isEmpty() ? QString() : "Note: " + notes.first() +
                                                   (notes.size() > 1 ? QString(" (and %1 more)").arg(notes.size() - 1) : ""));
  Notes->setToolTip(notes.join("\n"));
  Notes->setVisible(!notes.isEmpty());
  ShowTree(-1);
  return Folders.ExitStatus();
}

void TFrmFolders::Open() {
  show();
  raise();
  activateWindow();
  View->setFocus();
}

void TFrmFolders::ShowTree(int pair) {
  Model->Show(BuildFolderTree(Folders, HideIdentical->isChecked()));
  View->expandAll();
  const TFolderTree& tree = Model->FolderTree();
  int row = pair >= 0 ? tree.RowOfPair(pair) : -1;
  if (row < 0 && !tree.Top.empty()) row = tree.Top.front();
  if (row < 0) return;
  View->setCurrentIndex(Model->IndexOfRow(row));
  View->scrollTo(View->currentIndex());
}

int TFrmFolders::CurrentPair() const {
  const int row = TFolderTreeModel::RowOf(View->currentIndex());
  return row < 0 ? -1 : Model->FolderTree().Rows[static_cast<size_t>(row)].Pair;
}

void TFrmFolders::FdButViewClick() {
  if (Busy) return;
  const QModelIndex current = View->currentIndex().siblingAtColumn(0);
  if (!current.isValid()) return;
  const int pair = CurrentPair();
  if (pair < 0) {
    View->setExpanded(current, !View->isExpanded(current));
    return;
  }
  const TFolderPair& p = Folders.Pairs[static_cast<size_t>(pair)];
  if (p.Status == TPairStatus::Error) {
    Ui.ShowMessage(p.Path + ": " + p.Message);
  } else if (p.Status == TPairStatus::BinaryIdentical || p.Status == TPairStatus::BinaryDiffers) {
    Ui.ShowMessage(p.Path + " is a binary file: it is compared by its bytes only, and they " +
                   (p.Status == TPairStatus::BinaryIdentical ? "are the same." : "differ."));
  } else {
    OpenPair(p);
  }
}

void TFrmFolders::OpenPair(const TFolderPair& pair) {
  // The open viewer shows the compare about to be replaced.
  Single.close();
  Dual.close();
  PairRun = std::make_unique<TAppState>(Ui);
  TAppState& run = *PairRun;
  run.Controls = App.Controls;
  run.RunStamp = App.RunStamp;
  run.Controls.MnCbNewFileNm = Folders.NewRoot + "/" + pair.Path;
  run.Controls.MnCbOldFileNm = Folders.OldRoot + "/" + pair.Path;
  // A file that stands alone is compared with an empty file: all its lines
  // are listed as inserted (only in NEW) or deleted (only in OLD).
  // The empty file goes again once the compare has read it.
  TInputSpool spool;
  if (pair.Status == TPairStatus::OnlyInNew || pair.Status == TPairStatus::OnlyInOld) {
    std::string why;
    (pair.Status == TPairStatus::OnlyInNew ? run.OldReadPath : run.NewReadPath) =
        spool.Readable("/dev/null", MaxInputSize, why);
  }
  Busy = true;
  setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The listing's OPTIONS line names the options the compare uses.
  BuildOptsSummary(run);
  RunCompare(run);
  QApplication::restoreOverrideCursor();
  setEnabled(true);
  Busy = false;
  Ui.SetStatusText(run.StatusText);
  if (!ViewerOpensAfterRun(run, false)) {
    Ui.ShowMessage(run.StatusText + (run.InputErrorDetail.empty() ? "" : "\n" + run.InputErrorDetail));
    return;
  }
  const TResultView view = MakeResultView(run);
  const QString newName = FromCore(run.Controls.MnCbNewFileNm), oldName = FromCore(run.Controls.MnCbOldFileNm);
  QDialog* viewer = &Single;
  if (DualViewerResult(run)) {
    Dual.Prepare(view, newName, oldName);
    viewer = &Dual;
  } else {
    Single.Prepare(view, newName, oldName);
  }
  PairShown = true;
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
}

} // namespace quorlin::gui
