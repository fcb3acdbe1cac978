#include "gui/HistoryCombo.h"

#include "gui/QtFrontEnd.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace quorlin::gui {

THistoryCombo::THistoryCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setMaxVisibleItems(15);
  setInsertPolicy(QComboBox::NoInsert);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setMinimumContentsLength(30);
}

void THistoryCombo::Show(const std::vector<std::string>& items, const std::string& text) {
  const QSignalBlocker block(this);
  const int cursor = lineEdit() ? lineEdit()->cursorPosition() : 0;
  const QString value = FromCore(text);
  const bool sameText = currentText() == value;
  clear();
  for (const std::string& item : items) addItem(FromCore(item));
  setCurrentIndex(-1);
  setEditText(value);
  if (sameText && lineEdit()) lineEdit()->setCursorPosition(cursor);
}

void THistoryCombo::showPopup() {
  emit DroppingDown();
  QComboBox::showPopup();
}

void THistoryCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  emit FocusLost();
}

void THistoryCombo::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Up:
  case Qt::Key_Down:
  case Qt::Key_PageUp:
  case Qt::Key_PageDown:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_End:
    if (HomeKeys) {
      if (lineEdit()) lineEdit()->home(false);
      event->accept();
      return;
    }
    break;
  default:
    break;
  }
  QComboBox::keyPressEvent(event);
}

} // namespace quorlin::gui
