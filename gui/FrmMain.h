// The main window: the tabbed notebook of the Main Panel, File Select,
// Preferences, Dp Options, About and OverView, the Start flow that runs a
// compare and opens a viewer, and the window of a batch run. The rules are
// the core's (CompareFlow, OptionPanels, BatchJob); this window binds them
// to widgets named as designed.
#pragma once

#include "app/BatchJob.h"
#include "app/OptionPanels.h"
#include "state/Controls.h"

#include <QMainWindow>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace quorlin::gui {

class TDpOptionsTab;
class TFileSelectTab;
class TFrmFolders;
class THistoryCombo;
class TFrmChgFlag;
class TFrmPeek;
class TFrmSbS;
class TFrmSingle;
class TFrmVSplit;
class THelpWindow;
class TPreferencesTab;
class TQtFrontEnd;

class TFrmMain final : public QMainWindow, public IBatchWindow {
  Q_OBJECT
public:
  TFrmMain(TAppState& app, TQtFrontEnd& ui, QWidget* parent = nullptr);
  ~TFrmMain() override;

  /// Interactive start: the user settings file Quorln32.ini is loaded when it
  /// exists, then up to two file names from the command line become the New
  /// and Old names (case kept, each after the previous name went into the
  /// history). The caller shows the window.
  void StartInteractive(const QStringList& names);
  /// Batch start: the window stays hidden until a step runs (never without
  /// a display or with "nosw"); the batch runs once the event loop does.
  void StartBatch(const QString& iniPath, bool displayAvailable);

  /// 0 every compare found its files equivalent (or none ran), 1 some
  /// differ, 2 any error: the program's exit status.
  int ExitStatus() const { return Status; }
  bool RunGoing() const { return Running; }

  /// Shows the option controls model in every widget (after a batch step or
  /// a settings load wrote it).
  void RefreshFromModel();

  TFrmSingle* SingleViewer() const { return Single; }
  TFrmVSplit* DualViewer() const { return Dual; }
  TFrmSbS* SaveLayoutDialog() const { return SaveLayout; }
  TFrmChgFlag* LegendWindow() const { return Legend; }
  TFrmPeek* PeekWindow() const { return Peek; }
  TFrmFolders* FolderWindow() const { return Folders; }
  THelpWindow* HelpWindow() const { return Help; }
  QTabWidget* Notebook() const { return Tabs; }

  // IBatchWindow
  void ShowDuringBatch() override;

  TFileSelectTab* FileSelect() const { return FileSelectPanel; }

public slots:
  void MnButCompareClick();
  void MnButSvUserIniClick();
  void MnButLdIniClick();
  void MnButStopClick();
  void MnButViewResultsClick();
  void ViewResults();
  void MnButBrowseClick();
  void MnButPeekLogClick();
  void MnButExitClick();

signals:
  /// A batch has ended and the program should end with status.
  void BatchEnded(int status);

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TAppState& App;
  TQtFrontEnd& Ui;
  TTabState TabRules;
  bool Running = false;
  bool Reverting = false; ///< a tab change made by the window itself, not the user
  bool DisplayAvailable = true;
  bool CloseRequested = false; ///< closed during a batch: the program ends when it has halted
  int Status = 0;
  QString BatchIni, LogPath;

  QTabWidget* Tabs;
  THistoryCombo* NewName;
  THistoryCombo* OldName;
  QComboBox* ListType;
  QPushButton* Start;
  QPushButton* Halt;
  QPushButton* Browse;
  QPushButton* ViewLatest;
  QPushButton* LoadIni;
  QPushButton* SaveIni;
  QPushButton* PeekLog;
  QPushButton* ExitButton;
  QCheckBox* ViewOnDemand;
  QCheckBox* HintsOff;
  QCheckBox* OmitIniSave;
  QLineEdit* StatusLine;
  QLabel* OptsUsed;
  QLabel* BatchLabel;
  QLabel* Note;
  QProgressBar* Busy;
  TPreferencesTab* Preferences;
  TDpOptionsTab* DpOptions;
  TFileSelectTab* FileSelectPanel;
  TFrmChgFlag* Legend;
  TFrmSingle* Single;
  TFrmSbS* SaveLayout;
  TFrmVSplit* Dual;
  TFrmPeek* Peek;
  THelpWindow* Help;
  TFrmFolders* Folders;
  bool FoldersLast = false; ///< the last Start compared two folders

  QWidget* BuildMainPanel();
  void ShowNames();
  /// Shows what a settings load wrote: every widget, the window position.
  void ShowLoadedSettings();
  /// Keeps the window position and saves the settings file; says why when
  /// it fails.
  void SaveSettings();
  QWidget* BuildAbout();
  void TabChanged(int index);
  void GoToTab(int index);
  void CancelOptions();
  void SetRunning(bool running);
  void RunBatch();
  void NoteStatus(int status);
  /// Start with two folder names: the folder compare, then its window.
  void RunFolderCompare();
};

} // namespace quorlin::gui
