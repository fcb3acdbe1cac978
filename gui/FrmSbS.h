// The save-layout dialog of the side-by-side viewer's text save: stacked or
// side by side, and an optional title line. It keeps its state while the
// program runs.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quorlin::gui {

class TFrmSbS final : public QDialog {
  Q_OBJECT
public:
  explicit TFrmSbS(QWidget* parent = nullptr);
  /// Opens the dialog modally with the stacked button selected when
  /// splitSaveStyle is 1, else the side-by-side one, and the two length
  /// captions. True when the user pressed Use.
  bool Choose(int splitSaveStyle, const QString& stackedCaption, const QString& sideBySideCaption);
  bool Stacked() const;
  /// The title line: the title text when its box is checked, else empty.
  QString Title() const;

private:
  QRadioButton* Single;
  QRadioButton* Double;
  QLabel* NormCaption;
  QLabel* SbsCaption;
  QCheckBox* TitleBox;
  QLineEdit* TitleText;
};

} // namespace quorlin::gui
