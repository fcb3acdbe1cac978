#include "gui/ViewerParts.h"

#include "gui/QtFrontEnd.h"
#include "gui/PanelModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quorlin::gui {

void PlaceOnScreens(QWidget* window, const TWindowRect& rect) {
  // The window's frame, or before its first showing that of a window shown
  // already, is kept on the screen too.
  QMargins frame = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
  for (QWindow* shown : QGuiApplication::topLevelWindows())
    if (frame.isNull() && shown->isVisible()) frame = shown->frameMargins();
  std::vector<TWindowRect> screens; // the primary screen first
  QList<QScreen*> all = QGuiApplication::screens();
  if (QScreen* primary = QGuiApplication::primaryScreen()) all.prepend(primary);
  for (int i = 0; i < all.size(); ++i) {
    if (i > 0 && all[i] == all[0]) continue;
    const QRect g = all[i]->availableGeometry().marginsRemoved(frame);
    screens.push_back({g.left(), g.top(), g.width(), g.height()});
  }
  const TWindowRect placed = OntoScreens(rect, screens);
  // A designed least size that the screen cannot hold gives way to it.
  window->setMinimumSize(std::min(window->minimumWidth(), placed.Width), std::min(window->minimumHeight(), placed.Height));
  window->setGeometry(placed.Left, placed.Top, placed.Width, placed.Height);
}

TWindowRect WideEnough(TWindowRect designed, int rowsWidth) {
  designed.Width = std::max(designed.Width, rowsWidth);
  return designed;
}

void AddViewerKeys(QWidget* viewer, QPushButton* down, QPushButton* up, QPushButton* find,
                   const std::function<void()>& findNext, const std::function<void()>& goToLine) {
  auto key = [viewer](const QKeySequence& sequence, const std::function<void()>& action) {
    QObject::connect(new QShortcut(sequence, viewer), &QShortcut::activated, viewer, action);
  };
  for (const QKeySequence& k : {QKeySequence(Qt::Key_F8), QKeySequence(Qt::ALT | Qt::Key_Down)})
    key(k, [down] { down->click(); });
  for (const QKeySequence& k : {QKeySequence(Qt::SHIFT | Qt::Key_F8), QKeySequence(Qt::ALT | Qt::Key_Up)})
    key(k, [up] { up->click(); });
  down->setToolTip(down->toolTip() + " (F8, Alt+Down)");
  up->setToolTip(up->toolTip() + " (Shift+F8, Alt+Up)");
  key(QKeySequence::Find, [find] { find->click(); });
  key(QKeySequence(Qt::Key_F3), findNext);
  key(QKeySequence(Qt::CTRL | Qt::Key_G), goToLine);
}

void TabChain(const std::vector<QWidget*>& widgets) {
  QWidget* before = nullptr;
  for (QWidget* w : widgets) {
    if (before) QWidget::setTabOrder(before, w);
    before = w;
  }
}

QCheckBox* MakeChgCharsBox(QWidget* parent, const char* name, const std::vector<TPanelView*>& panels) {
  auto* box = new QCheckBox("Chg Chars", parent);
  box->setObjectName(name);
  box->setToolTip("Mark the characters that changed inside a changed line");
  box->setChecked(true);
  QObject::connect(box, &QCheckBox::toggled, parent, [panels](bool on) {
    for (TPanelView* panel : panels) panel->ShowMarks(on);
  });
  return box;
}

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

QLabel* MakeColourLabel(QWidget* parent, const QString& text, TLineColour colour, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(ColourStyle(colour, bold));
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

QGridLayout* MakeTopGrid(QWidget* top) {
  auto* grid = new QGridLayout(top);
  grid->setContentsMargins(6, 6, 6, 2);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  return grid;
}

QLayout* MakeSpanArrows(QWidget* parent, const char* downName, const char* upName, const QString& caption,
                        bool repeatHint, QPushButton*& down, QPushButton*& up) {
  auto* box = new QVBoxLayout;
  box->setSpacing(1);
  box->addWidget(new QLabel(caption, parent), 0, Qt::AlignHCenter);
  auto* arrows = new QHBoxLayout;
  down = MakeArrowButton(parent, downName, true, "Next change span");
  up = MakeArrowButton(parent, upName, false, "Previous change span");
  arrows->addWidget(down);
  arrows->addWidget(up);
  box->addLayout(arrows);
  if (repeatHint) box->addWidget(new QLabel("(Cr for Repeat)", parent), 0, Qt::AlignHCenter);
  return box;
}

QGridLayout* MakeFileNameRows(QWidget* parent, const char* newName, const char* oldName, QLabel*& newLabel,
                              QLabel*& oldLabel) {
  newLabel = new QLabel(parent);
  newLabel->setObjectName(newName);
  oldLabel = new QLabel(parent);
  oldLabel->setObjectName(oldName);
  auto* names = new QGridLayout;
  names->addWidget(MakeColourLabel(parent, "New File = ", TLineColour::Blue), 0, 0);
  names->addWidget(newLabel, 0, 1);
  names->addWidget(MakeColourLabel(parent, "Old  File = ", TLineColour::Red), 1, 0);
  names->addWidget(oldLabel, 1, 1);
  names->setColumnStretch(1, 1);
  return names;
}

QGridLayout* MakeFontSizes(QWidget* parent, const char* printName, const QString& printCaption,
                           const char* displayName, const QString& displayCaption, const QString& displayHint,
                           QComboBox*& print, QComboBox*& display) {
  print = MakeFontCombo(parent, printName, {6, 8, 9, 10, 11, 12}, 8);
  print->setToolTip("Font size of printed output");
  display = MakeFontCombo(parent, displayName, {8, 9, 10, 11, 12}, 8);
  display->setToolTip(displayHint);
  auto* fonts = new QGridLayout;
  fonts->addWidget(new QLabel(printCaption, parent), 0, 0);
  fonts->addWidget(print, 0, 1);
  fonts->addWidget(new QLabel(displayCaption, parent), 1, 0);
  fonts->addWidget(display, 1, 1);
  return fonts;
}

QWidget* MakeBottomBar(QWidget* parent, bool colourNote) {
  auto* bar = new QWidget(parent);
  auto* grid = new QGridLayout(bar);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setVerticalSpacing(0);
  grid->addWidget(MakeColourLabel(bar, "Inserts :", TLineColour::Blue, true), 0, 0);
  grid->addWidget(new QLabel("New File lines that have been added. They were not in the Old File. ", bar), 0, 1);
  grid->addWidget(MakeColourLabel(bar, "Deletes:", TLineColour::Red, true), 1, 0);
  grid->addWidget(new QLabel("Old File lines that are missing after being updated to the New File ", bar), 1, 1);
  grid->setColumnStretch(1, 1);
  if (!colourNote) return bar;
  auto* note = MakeColourLabel(bar,
                               "For coloured output save with the .rtf extension, then open and print that file "
                               "with a word processor such as LibreOffice Writer.",
                               TLineColour::Red);
  note->setObjectName("ColourNote");
  note->setWordWrap(true);
  note->setFrameShape(QFrame::Box);
  grid->addWidget(note, 2, 0, 1, 2);
  return bar;
}

} // namespace quorlin::gui
