#include "gui/FrmPeek.h"

#include "app/BatchJob.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorlin::gui {

TFrmPeek::TFrmPeek(QWidget* parent) : QDialog(parent) {
  setObjectName("TFrmPeek");
  setWindowTitle("Quorlin Batch Log");
  setWindowModality(Qt::ApplicationModal);
  resize(720, 460);
  Lines = new QListWidget(this);
  Lines->setObjectName("PkLBoxListBoxPeek");
  Lines->setFont(PanelFont(9));
  Lines->setUniformItemSizes(true);
  Lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* ret = MakeButton(this, "VsButReturn", "&Return", "Close the log");
  ret->setDefault(true);
  connect(ret, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Lines, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ret);
  layout->addLayout(buttons);
}

void TFrmPeek::Load(const QString& logPath) {
  Lines->clear();
  for (const std::string& line : PeekLogLines(ToCore(logPath))) Lines->addItem(FromCore(line));
}

} // namespace quorlin::gui
