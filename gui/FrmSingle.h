// The single-panel viewer: Panel1Lines in one coloured panel with To Top,
// To Btm, Find, change-span navigation, font sizes and the legend. The
// navigation rules are the core's; this window feeds them the panel's state
// and shows what they decide.
#pragma once

#include "gui/ReportOutput.h"
#include "viewers/LineModel.h"
#include "viewers/Navigation.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quorlin {
struct TUserSettings;
}

namespace quorlin::gui {

class TFindDialog;
class TFrmChgFlag;
class TPanelListModel;
class TPanelView;
class TQtFrontEnd;

class TFrmSingle final : public QDialog {
  Q_OBJECT
public:
  /// settings gives the stored geometry and font sizes and receives
  /// LastSavePath as saves happen.
  TFrmSingle(TQtFrontEnd& ui, TFrmChgFlag& legend, TUserSettings& settings, QWidget* parent = nullptr);
  ~TFrmSingle() override;

  /// Prepares the viewer for the lists of view (kept by the caller while the
  /// viewer is open): caption, header row, file-name labels, selection and
  /// top line 0, the stored geometry and font sizes.
  void Prepare(const TResultView& view, const QString& newName, const QString& oldName);
  /// Keeps the window's geometry and font sizes in settings.
  void StoreSettings(TUserSettings& settings) const;

  TPanelView* Panel() const { return List; }

public slots:
  void LsButTopClick();
  void LsButBtmClick();
  void LsButFindClick();
  void LsBitChngDownClick();
  void LsBitChngUpClick();
  void LsButLegendClick();
  void LsButPrintClick();
  void LsButColorPrintClick();
  void LsButSaveAsClick();

private:
  TQtFrontEnd& Ui;
  TFrmChgFlag& Legend;
  TUserSettings& Settings;
  TResultView View;
  std::unique_ptr<TSinglePanelModel> Nav;
  TPanelListModel* Model;
  TPanelView* List;
  TFindDialog* Find = nullptr;
  QLabel* NewName;
  QLabel* OldName;
  QComboBox* PrintFont;
  QComboBox* DisplayFont;
  QCheckBox* NoRefNumbers;
  QCheckBox* AppendSave;
  QCheckBox* ChgChars;
  QWidget* ReturnButton;
  TBuildControls Build;

  /// Hands the panel's selection and scroll position to the navigation model.
  void SyncToNav();
  /// Shows the navigation model's selection; msg, when not empty, in a box.
  void ShowNav(const std::string& msg);
  void FindNext(const QString& text, bool down);
  /// Ctrl+G: asks for a NEW or OLD line number and selects its row.
  void GoToLine();
  /// The coloured documents of the listing under the window's caption.
  TColouredReport BuildColoured(const TColouredOptions& options) const;
};

} // namespace quorlin::gui
