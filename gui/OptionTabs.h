// The Preferences and Dp Options tabs: every control bound both ways to the
// core's option controls model. A change in a widget writes the model at
// once; Load() shows the model in the widgets after a batch step or a
// settings load wrote it.
#pragma once

#include "state/Controls.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorlin::gui {

class TPreferencesTab final : public QWidget {
  Q_OBJECT
public:
  TPreferencesTab(TOptionControls& controls, QWidget* parent = nullptr);
  void Load();
  QPushButton* CancelButton() const { return Cancel; }
  QPushButton* ReturnButton() const { return Return; }

private:
  TOptionControls& Controls;
  bool Loading = false;
  std::array<QCheckBox*, PrefCount> Boxes{};
  QLineEdit* SubC;
  QComboBox* XTab;
  QLineEdit* NewLmt;
  QLineEdit* OldLmt;
  std::array<QLineEdit*, 4> CcolNew{}, CcolOld{};
  QPushButton* Cancel;
  QPushButton* Return;
};

class TDpOptionsTab final : public QWidget {
  Q_OBJECT
public:
  TDpOptionsTab(TOptionControls& controls, QWidget* parent = nullptr);
  void Load();
  /// The tab opens with the focus on its first check box.
  void FocusFirst();
  QPushButton* CancelButton() const { return Cancel; }
  QPushButton* ReturnButton() const { return Return; }

private:
  TOptionControls& Controls;
  bool Loading = false;
  QButtonGroup* Radio;
  QLineEdit* Udc;
  QComboBox* UdcYN;
  QLineEdit* Udc2;
  QLineEdit* Udc3;
  std::array<QCheckBox*, 3> DpsBoxes{};
  std::array<QLineEdit*, 3> DpsTexts{};
  std::array<QCheckBox*, 4> DlnBoxes{};
  std::array<QLineEdit*, 4> DlnTexts{};
  QPushButton* Cancel;
  QPushButton* Return;
};

} // namespace quorlin::gui
