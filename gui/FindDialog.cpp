#include "gui/FindDialog.h"

#include <QGroupBox>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorlin::gui {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FindDialog");
  setWindowTitle("Find");
  auto* label = new QLabel("Fi&nd what:", this);
  Edit = new QLineEdit(this);
  Edit->setObjectName("FindText");
  label->setBuddy(Edit);
  auto* direction = new QGroupBox("Direction", this);
  UpButton = new QRadioButton("&Up", direction);
  UpButton->setObjectName("FindUp");
  DownButton = new QRadioButton("&Down", direction);
  DownButton->setObjectName("FindDown");
  DownButton->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(UpButton);
  dirLayout->addWidget(DownButton);
  auto* next = new QPushButton("&Find Next", this);
  next->setObjectName("FindNext");
  next->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("FindCancel");

  auto* left = new QVBoxLayout;
  auto* textRow = new QHBoxLayout;
  textRow->addWidget(label);
  textRow->addWidget(Edit, 1);
  left->addLayout(textRow);
  left->addWidget(direction);
  auto* right = new QVBoxLayout;
  right->addWidget(next);
  right->addWidget(cancel);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);

  connect(next, &QPushButton::clicked, this, [this] { emit FindNext(Edit->text(), DownButton->isChecked()); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFindDialog::Open() {
  DownButton->setChecked(true);
  show();
  raise();
  activateWindow();
  Edit->setFocus();
  Edit->selectAll();
}

QString TFindDialog::Text() const { return Edit->text(); }
bool TFindDialog::Down() const { return DownButton->isChecked(); }
void TFindDialog::SetText(const QString& text) { Edit->setText(text); }
void TFindDialog::SetDown(bool down) { (down ? DownButton : UpButton)->setChecked(true); }

void TFindDialog::KeepClearOf(const QRect& rect) {
  const QRect frame = frameGeometry();
  if (!isVisible() || rect.isEmpty() || !frame.intersects(rect)) return;
  const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
  const int above = rect.top() - frame.height() - 8;
  move(frame.left(), above >= screen.top() ? above : rect.bottom() + 8);
}

void TFindDialog::FindAgain(QPushButton* button) {
  if (Edit->text().isEmpty())
    button->click();
  else
    emit FindNext(Edit->text(), DownButton->isChecked());
}

} // namespace quorlin::gui
