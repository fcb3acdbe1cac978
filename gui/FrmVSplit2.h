// The horizontal split viewer: Panel1Lines above Panel2Lines, with its own
// coupling (the upper panel may scroll past a shorter lower one), To Top,
// To Btm, Find, change-span navigation and the legend. Opened from the
// side-by-side viewer's HSplit.
#pragma once

#include "viewers/LineModel.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QSplitter;

namespace quorlin {
struct TUserSettings;
}

namespace quorlin::gui {

class TFindDialog;
class TFrmChgFlag;
class TPanelListModel;
class TPanelView;
class TQtFrontEnd;
class TTwoPanelBinding;

class TFrmVSplit2 final : public QDialog {
  Q_OBJECT
public:
  TFrmVSplit2(TQtFrontEnd& ui, TFrmChgFlag& legend, QWidget* parent = nullptr);

  /// Prepares the viewer as the side-by-side one was prepared: the same
  /// lists, headers, caption and names; the upper panel in upperFont points,
  /// the lower in lowerFont; the stored geometry, at least 720 wide.
  void Prepare(const TResultView& view, const QString& newName, const QString& oldName,
               const TUserSettings& settings, int upperFont, int lowerFont);
  /// Keeps the window's geometry and the upper panel's height in settings.
  void StoreSettings(TUserSettings& settings) const;

  TPanelView* Upper() const { return UpperPanel; }
  TPanelView* Lower() const { return LowerPanel; }

private:
  TQtFrontEnd& Ui;
  TFrmChgFlag& Legend;
  TResultView View;
  TPanelListModel* UpperModel;
  TPanelListModel* LowerModel;
  TPanelView* UpperPanel;
  TPanelView* LowerPanel;
  QSplitter* Splitter;
  TTwoPanelBinding* Binding;
  TFindDialog* Find = nullptr;
  QCheckBox* ChgChars;
  QLabel* NewName;
  QLabel* OldName;
};

} // namespace quorlin::gui
