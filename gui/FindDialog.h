// The viewers' search dialog: a text and a direction, and Find Next until
// the user closes it. The viewer does the search.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace quorlin::gui {

class TFindDialog final : public QDialog {
  Q_OBJECT
public:
  explicit TFindDialog(QWidget* parent);
  /// Shows the dialog with direction down (match case and whole word are
  /// not offered: the search ignores case and finds any substring).
  void Open();
  QString Text() const;
  bool Down() const;
  void SetText(const QString& text);
  void SetDown(bool down);

signals:
  void FindNext(const QString& text, bool down);

private:
  QLineEdit* Edit;
  QRadioButton* UpButton;
  QRadioButton* DownButton;
};

} // namespace quorlin::gui
