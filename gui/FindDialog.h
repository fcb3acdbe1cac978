// The viewers' search dialog: a text and a direction, and Find Next until
// the user closes it. The viewer does the search.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
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
  /// Moves the dialog off rect (a hit, in global coordinates) when it covers
  /// it: above the hit when there is room on the screen, else below.
  void KeepClearOf(const QRect& rect);
  /// F3: searches again for the text with its direction; the dialog when
  /// there is no text yet (button clicks it).
  void FindAgain(QPushButton* button);

signals:
  void FindNext(const QString& text, bool down);

private:
  QLineEdit* Edit;
  QRadioButton* UpButton;
  QRadioButton* DownButton;
};

} // namespace quorlin::gui
