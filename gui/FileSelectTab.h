// The File Select tab: a directory tree and a file list over the file
// system with a filter, the selected name, the tab's own New and Old combos,
// the To Main buttons, dragging a file from the list onto a name, Return and
// Cancel. The rules are the core's (FileSelect, FileHistory).
#pragma once

#include "state/Controls.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QTreeView;

namespace quorlin::gui {

class THistoryCombo;
class TQtFrontEnd;

/// The file list: a drag from it carries the file with a mark of its own, so
/// only drags from this list are taken by the tab's names.
class TFileListView;

class TFileSelectTab final : public QWidget {
  Q_OBJECT
public:
  TFileSelectTab(TAppState& app, TQtFrontEnd& ui, QWidget* parent = nullptr);

  /// Shows the model's tab names, histories and no-warn box.
  void Load();
  /// Entering the tab: the names are prepared and the list points at the
  /// New file, else the Old file, else the program's folder and its first file.
  void Enter();
  /// Return: asks when a name is as it was on entry (unless the no-warn box
  /// is checked); true when the tab may be left.
  bool MayReturn();
  /// The name in the selection label ("" when none).
  QString Selected() const;
  /// Shows the folder of file (or folder itself) in the lists and selects
  /// file; the selection label follows once the folder is read.
  void PointAt(const QString& path);
  QListView* FileList() const;

  /// The mime type that marks a drag from the file list.
  static const char* const DragFormat;

signals:
  /// The Main Panel names changed; the main window shows them.
  void NamesChanged();
  /// Return (after its question) or Cancel: back to the Main Panel.
  void Leave();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TAppState& App;
  TQtFrontEnd& Ui;
  std::string NewOnEntry, OldOnEntry;
  QString PendingFile;   ///< the file to select once its folder is read; "*" for the first one
  QFileSystemModel* Dirs;
  QFileSystemModel* Files;
  QComboBox* Drive;
  QTreeView* DirTree;
  TFileListView* List;
  QComboBox* Filter;
  QLabel* SelLabel;
  THistoryCombo* TabNew;
  THistoryCombo* TabOld;
  QCheckBox* NoWarn;

  void ShowFolder(const QString& folder);
  void FolderLoaded(const QString& folder);
  void SelectFile(const QString& path);
  void ShowTabCombos();
  void TabTextChanged(bool isNew, const QString& text);
  void DropOn(bool isNew);
};

} // namespace quorlin::gui
