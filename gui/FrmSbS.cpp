#include "gui/FrmSbS.h"

#include "gui/ViewerParts.h"

#include "gui/QtFrontEnd.h"
#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quorlin::gui {

TFrmSbS::TFrmSbS(QWidget* parent) : QDialog(parent) {
  setObjectName("TFrmSbS");
  setWindowTitle("Quorln32 Side-by-Side Save File Preference");
  setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  setFixedSize(384, 196);
  Single = new QRadioButton("Save as Single Two Part Stacked Report", this);
  Single->setObjectName("SbsRdSingle");
  NormCaption = MakeColourLabel(this, QString(), TLineColour::Blue);
  NormCaption->setObjectName("SbsCapNorm");
  Double = new QRadioButton("Save as Single Side-by-Side Report", this);
  Double->setObjectName("SbsRdDouble");
  SbsCaption = MakeColourLabel(this, QString(), TLineColour::Blue);
  SbsCaption->setObjectName("SbsCapSbs");
  auto* use = MakeButton(this, "SbsButUse", "&Use", "Save the report in the chosen layout");
  use->setDefault(true);
  auto* cancel = MakeButton(this, "SbsButCancel", "&Cancel", "Save nothing");
  auto* titleLabel = new QLabel("Title : Optional", this);
  titleLabel->setObjectName("SbsLbTitle");
  TitleBox = new QCheckBox(this);
  TitleBox->setObjectName("SbsCkTitle");
  TitleBox->setToolTip("Write the title as the first line of the report");
  TitleText = new QLineEdit(this);
  TitleText->setObjectName("SbsEdTitle");

  auto* choices = new QVBoxLayout;
  choices->setSpacing(2);
  for (QWidget* w : std::initializer_list<QWidget*>{Single, NormCaption, Double, SbsCaption}) choices->addWidget(w);
  for (QLabel* caption : {NormCaption, SbsCaption}) caption->setIndent(22);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(use);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(choices, 1);
  top->addLayout(buttons);
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(titleLabel);
  titleRow->addWidget(TitleBox);
  titleRow->addWidget(TitleText, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addStretch(1);
  layout->addLayout(titleRow);
  connect(use, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFrmSbS::Choose(int splitSaveStyle, const QString& stackedCaption, const QString& sideBySideCaption) {
  (splitSaveStyle == 1 ? Single : Double)->setChecked(true);
  NormCaption->setText(stackedCaption);
  SbsCaption->setText(sideBySideCaption);
  return exec() == QDialog::Accepted;
}

bool TFrmSbS::Stacked() const { return Single->isChecked(); }

QString TFrmSbS::Title() const { return TitleBox->isChecked() ? TitleText->text() : QString(); }

} // namespace quorlin::gui
