// The side-by-side viewer: Panel1Lines (new side) and Panel2Lines (old
// side) in two coloured panels kept in step, with navigation, find, font
// sizes, plain and coloured print, Save As (text or rich text) and HSplit.
#pragma once

#include "gui/ReportOutput.h"
#include "viewers/LineModel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSplitter;

namespace quorlin {
struct TUserSettings;
}

namespace quorlin::gui {

class TFindDialog;
class TFrmChgFlag;
class TFrmSbS;
class TFrmVSplit2;
class TPanelListModel;
class TPanelView;
class TQtFrontEnd;
class TTwoPanelBinding;

class TFrmVSplit final : public QDialog {
  Q_OBJECT
public:
  /// settings receives LastSavePath and SplitSaveStyle as saves happen, and
  /// the horizontal viewer's geometry when it closes.
  TFrmVSplit(TQtFrontEnd& ui, TFrmChgFlag& legend, TFrmSbS& saveLayout, TUserSettings& settings,
             QWidget* parent = nullptr);

  /// Prepares the viewer for the lists of view: caption, both header rows,
  /// the file-name labels, selections and top lines 0, the right panel's
  /// scroll bars (both with Clnc), the stored geometry and font sizes.
  void Prepare(const TResultView& view, const QString& newName, const QString& oldName);
  /// Keeps the window's geometry, the left panel's width and the font sizes.
  void StoreSettings(TUserSettings& settings) const;

  TPanelView* Left() const { return LeftPanel; }
  TPanelView* Right() const { return RightPanel; }
  TFrmVSplit2* Horizontal() const { return HSplit; }

public slots:
  void VsButPrintClick();
  void VsButColorPrintClick();
  void VsButSaveAsClick();
  void VsBtnHortChgClick();

private:
  TQtFrontEnd& Ui;
  TFrmChgFlag& Legend;
  TFrmSbS& SaveLayout;
  TUserSettings& Settings;
  TResultView View;
  TPanelListModel* LeftModel;
  TPanelListModel* RightModel;
  TPanelView* LeftPanel;
  TPanelView* RightPanel;
  QSplitter* Splitter;
  TTwoPanelBinding* Binding;
  TFrmVSplit2* HSplit;
  TFindDialog* Find = nullptr;
  QLabel* NewName;
  QLabel* OldName;
  QCheckBox* NoRefNumbers;
  QCheckBox* AppendSave;
  QCheckBox* ChgChars;
  QComboBox* PrintFont;
  QComboBox* DisplayFont;
  QWidget* ReturnButton;
  TBuildControls Build;
};

} // namespace quorlin::gui
