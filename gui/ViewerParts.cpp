#include "gui/ViewerParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace quorlin::gui {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoDefault(false);
  // Narrow windows may shrink a button down to its caption.
  button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QString(caption).remove('&')) + 16);
  return button;
}

QPushButton* MakeArrowButton(QWidget* parent, const char* name, bool down, const QString& hint) {
  auto* button = MakeButton(parent, name, QString(), hint);
  button->setIcon(parent->style()->standardIcon(down ? QStyle::SP_ArrowDown : QStyle::SP_ArrowUp));
  // Return repeats the last step while the arrow has the focus.
  button->setAutoDefault(true);
  button->setFixedWidth(34);
  return button;
}

QLabel* MakeColourLabel(QWidget* parent, const QString& text, const char* colour, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(QString("color: %1;%2").arg(colour, bold ? " font-weight: bold;" : ""));
  return label;
}

QComboBox* MakeFontCombo(QWidget* parent, const char* name, const QList<int>& sizes, int current) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setFixedWidth(52);
  for (int size : sizes) combo->addItem(QString::number(size));
  const int at = combo->findText(QString::number(current));
  combo->setCurrentIndex(at >= 0 ? at : combo->findText("8"));
  return combo;
}

QWidget* MakeBottomBar(QWidget* parent, bool colourNote) {
  auto* bar = new QWidget(parent);
  auto* grid = new QGridLayout(bar);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setVerticalSpacing(0);
  grid->addWidget(MakeColourLabel(bar, "Inserts :", "blue", true), 0, 0);
  grid->addWidget(new QLabel("New File lines that have been added. They were not in the Old File. ", bar), 0, 1);
  grid->addWidget(MakeColourLabel(bar, "Deletes:", "red", true), 1, 0);
  grid->addWidget(new QLabel("Old File lines that are missing after being updated to the New File ", bar), 1, 1);
  grid->setColumnStretch(1, 1);
  if (!colourNote) return bar;
  auto* note = MakeColourLabel(bar,
                               "For coloured output save with the .rtf extension, then open and print that file "
                               "with a word processor such as LibreOffice Writer.",
                               "red");
  note->setObjectName("ColourNote");
  note->setWordWrap(true);
  note->setFrameShape(QFrame::Box);
  grid->addWidget(note, 2, 0, 1, 2);
  return bar;
}

} // namespace quorlin::gui
