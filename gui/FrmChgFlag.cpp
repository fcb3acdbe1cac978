#include "gui/FrmChgFlag.h"

#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "viewers/Reports.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorlin::gui {

TFrmChgFlag::TFrmChgFlag(QWidget* parent) : QDialog(parent), Home(parent) {
  setObjectName("TFrmChgFlag");
  setWindowTitle("Quorlin Change Flagging Legend");
  setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(false);
  setFixedSize(523, 338);

  auto* heading = new QLabel("Change Flagging ID Column  Keys :", this);
  QFont headingFont = heading->font();
  headingFont.setBold(true);
  heading->setFont(headingFont);

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(2);
  grid->setContentsMargins(8, 6, 8, 6);
  QFont flagFont = PanelFont(9);
  flagFont.setBold(true);
  QFont textFont("Arial");
  textFont.setStyleHint(QFont::SansSerif);
  textFont.setPointSize(8);
  textFont.setBold(true);
  int row = 0;
  for (const TLegendRow& legend : ChangeFlagLegend()) {
    const QString style = ColourStyle(legend.Colour);
    auto* flag = new QLabel(FromCore(legend.Flag), frame);
    flag->setObjectName(QString("LegendFlag%1").arg(row));
    flag->setFont(flagFont);
    flag->setStyleSheet(style);
    flag->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* text = new QLabel(FromCore(legend.Explanation), frame);
    text->setObjectName(QString("LegendText%1").arg(row));
    text->setFont(textFont);
    text->setStyleSheet(style);
    text->setTextFormat(Qt::PlainText);
    grid->addWidget(flag, row, 0);
    grid->addWidget(text, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);

  auto* close = new QPushButton("&Close", this);
  close->setObjectName("ButClose");
  close->setStyleSheet(ColourStyle(TLineColour::Red));
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(frame, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
}

void TFrmChgFlag::ShowLegend(QWidget* viewer) {
  if (viewer && parentWidget() != viewer) {
    const bool shown = isVisible();
    const QPoint at = pos();
    setParent(viewer, windowFlags()); // hides the window
    if (shown) move(at);
  }
  show();
  raise();
  activateWindow();
}

void TFrmChgFlag::Withdraw() {
  close();
  if (parentWidget() != Home) setParent(Home, windowFlags());
}

} // namespace quorlin::gui
