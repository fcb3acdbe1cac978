// The folder window: the result of a compare of two folders as a tree of
// relative paths with each pair's status and counts, coloured as the viewers
// colour changes, a box that hides the identical pairs and a line with the
// totals. Enter or a double click opens the viewer of a pair with the
// current options; the viewer's Return comes back here with the place kept.
// The rules are the core's (FolderCompare, FolderTree).
#pragma once

#include "app/FolderCompare.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QTreeView;

namespace quorlin::gui {

class TFolderTreeModel;
class TFrmSingle;
class TFrmVSplit;
class TQtFrontEnd;

class TFrmFolders final : public QDialog {
  Q_OBJECT
public:
  /// The pair viewers are the main window's.
  TFrmFolders(TAppState& app, TQtFrontEnd& ui, TFrmSingle& single, TFrmVSplit& dual, QWidget* parent = nullptr);
  ~TFrmFolders() override;

  /// Compares the two folders named in the Main Panel boxes with the current
  /// options, one worker thread a processor, progress and Halt through the
  /// front end as for a file compare; the result message is left in
  /// app.StatusText and the result kept for Open. Returns the exit status.
  int Run();
  /// Shows the result of the last Run.
  void Open();
  const TFolderResult& Result() const { return Folders; }
  QTreeView* Tree() const { return View; }

public slots:
  /// Enter or a double click: the viewer of the pair of the current row, or
  /// why a pair has none; a folder row opens or closes.
  void FdButViewClick();

private:
  TAppState& App;
  TQtFrontEnd& Ui;
  TFrmSingle& Single;
  TFrmVSplit& Dual;
  TFolderResult Folders;
  /// The compare that the pair viewer shows; it lives until the next pair opens.
  std::unique_ptr<TAppState> PairRun;
  bool Busy = false; ///< a pair is being compared
  bool PairShown = false; ///< the viewer open now was opened here

  TFolderTreeModel* Model;
  QTreeView* View;
  QCheckBox* HideIdentical;
  QLabel* NewName;
  QLabel* OldName;
  QLabel* Totals;
  QLabel* Notes;

  /// Shows the tree of the result, the current row on pair (or the first row).
  void ShowTree(int pair);
  /// The pair of the current row; -1 for a folder row or none.
  int CurrentPair() const;
  void OpenPair(const TFolderPair& pair);
};

} // namespace quorlin::gui
