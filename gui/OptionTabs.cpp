#include "gui/OptionTabs.h"

#include "app/OptionPanels.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quorlin::gui {

namespace {

QLineEdit* MakeEdit(QWidget* parent, const QString& name, int width, const QString& hint) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(width);
  edit->setToolTip(hint);
  return edit;
}

/// Binds a line edit to a text of the model.
void Bind(QLineEdit* edit, std::string& text, const bool& loading) {
  QObject::connect(edit, &QLineEdit::textChanged, edit, [&text, &loading](const QString& value) {
    if (!loading) text = ToCore(value);
  });
}

void Show(QLineEdit* edit, const std::string& text) {
  const QString value = FromCore(text);
  if (edit->text() != value) edit->setText(value);
}

QLabel* Help(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(ColourStyle(TLineColour::Navy));
  return label;
}

QHBoxLayout* ButtonRow(QWidget* parent, QPushButton*& cancel, QPushButton*& ret, const char* prefix,
                       QPushButton* extra = nullptr) {
  auto* row = new QHBoxLayout;
  if (extra) row->addWidget(extra);
  row->addStretch(1);
  cancel = MakeButton(parent, (std::string(prefix) + "ButCancel").c_str(), "&Cancel",
                      "Return to the Main Panel");
  ret = MakeButton(parent, (std::string(prefix) + "ButReturn").c_str(), "&Return",
                   "Return to the Main Panel with these options");
  row->addWidget(cancel);
  row->addWidget(ret);
  return row;
}

} // namespace

TPreferencesTab::TPreferencesTab(TOptionControls& controls, QWidget* parent)
    : QWidget(parent), Controls(controls) {
  auto* title = new QLabel("Process Preferences -- Affects Results and Output", this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("PrPanPreferences");
  scroll->setWidgetResizable(true);
  auto* inner = new QWidget(scroll);
  auto* grid = new QGridLayout(inner);
  grid->setVerticalSpacing(2);
  grid->setContentsMargins(6, 4, 6, 4);
  scroll->setWidget(inner);

  SubC = MakeEdit(inner, "PrEdSubC", 40, "One character between double quotes");
  XTab = new QComboBox(inner);
  XTab->setObjectName("PrCbXTab");
  XTab->setToolTip("Tab stop distance");
  for (int i = 1; i <= 8; ++i) XTab->addItem(QString(" %1").arg(i));
  NewLmt = MakeEdit(inner, "PrEdNewLmt", 90, "New file lines top:bottom, \"eod\" for the end of the file");
  OldLmt = MakeEdit(inner, "PrEdOldlmt", 90, "Old file lines top:bottom, \"eod\" for the end of the file");
  for (int i = 0; i < 4; ++i) {
    CcolNew[static_cast<size_t>(i)] =
        MakeEdit(inner, QString("PrEdCcolNw%1").arg(i + 1), 64, "New file columns first:last, \"eol\" for the end of the line");
    CcolOld[static_cast<size_t>(i)] =
        MakeEdit(inner, QString("PrEdCcolOd%1").arg(i + 1), 64, "Old file columns first:last, \"eol\" for the end of the line");
  }

  int row = 0;
  for (TCheckBox& model : Controls.PrPanPreferences) {
    const int tag = model.Tag;
    auto* box = new QCheckBox(model.Caption, inner);
    box->setObjectName(model.Name);
    box->setProperty("tag", tag);
    Boxes[static_cast<size_t>(tag)] = box;
    connect(box, &QCheckBox::toggled, this, [this, tag](bool on) {
      if (!Loading) Controls.Pref(tag).Checked = on;
    });
    grid->addWidget(box, row, 0, Qt::AlignTop);
    auto* line = new QHBoxLayout;
    line->setSpacing(4);
    switch (tag) {
    case TagSubc:
      line->addWidget(new QLabel(":  Use a", inner));
      line->addWidget(SubC);
      line->addWidget(new QLabel("in \"display\" report as control character replacement .", inner));
      break;
    case TagXtab:
      line->addWidget(new QLabel(":  Substitute blanks and expand tabs", inner));
      line->addWidget(XTab);
      line->addWidget(new QLabel("spaces in report.", inner));
      break;
    case TagPcmp:
      line->addWidget(new QLabel(model.Label, inner));
      line->addWidget(new QLabel("  New", inner));
      line->addWidget(NewLmt);
      line->addWidget(new QLabel("Old", inner));
      line->addWidget(OldLmt);
      line->addWidget(Help(inner, "(Use \" :eod\" for \"end-of-file\") "));
      break;
    case TagCcol: {
      auto* ranges = new QGridLayout;
      ranges->setVerticalSpacing(2);
      ranges->addWidget(new QLabel(model.Label, inner), 0, 0);
      ranges->addWidget(new QLabel("New", inner), 0, 1);
      ranges->addWidget(new QLabel("Old", inner), 1, 1);
      for (int i = 0; i < 4; ++i) {
        ranges->addWidget(CcolNew[static_cast<size_t>(i)], 0, 2 + i);
        ranges->addWidget(CcolOld[static_cast<size_t>(i)], 1, 2 + i);
      }
      ranges->addWidget(Help(inner, "(Up to 4 column ranges available per file. Use \" :eol\" for \"end of line\") "),
                        2, 0, 1, 6);
      ranges->addWidget(Help(inner, "(Add 3rd and 4th ranges to 1st and 2nd)"), 3, 0, 1, 6);
      ranges->setColumnStretch(6, 1);
      line->addLayout(ranges);
      break;
    }
    default:
      line->addWidget(new QLabel(model.Label, inner));
    }
    line->addStretch(1);
    grid->addLayout(line, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);

  Bind(SubC, Controls.PrEdSubC, Loading);
  // The entry must hold one character between double quotes once it is left.
  connect(SubC, &QLineEdit::editingFinished, this, [this] {
    Controls.PrEdSubC = CheckSubcText(ToCore(SubC->text()));
    Show(SubC, Controls.PrEdSubC);
  });
  connect(XTab, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    if (!Loading) Controls.PrCbXTab = ToCore(text);
  });
  Bind(NewLmt, Controls.PrEdNewLmt, Loading);
  Bind(OldLmt, Controls.PrEdOldlmt, Loading);
  for (size_t i = 0; i < 4; ++i) {
    Bind(CcolNew[i], Controls.PrEdCcolNw[i], Loading);
    Bind(CcolOld[i], Controls.PrEdCcolOd[i], Loading);
  }

  auto* reset = MakeButton(this, "PrButReset", "Rese&t", "Uncheck every preference; the entries keep their texts");
  connect(reset, &QPushButton::clicked, this, [this] {
    PrButReset(Controls);
    Load();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(scroll, 1);
  layout->addLayout(ButtonRow(this, Cancel, Return, "Pr", reset));
  // Tab goes down the boxes as the screen shows them, each box before its entries.
  std::vector<QWidget*> chain;
  for (const TCheckBox& model : Controls.PrPanPreferences) {
    chain.push_back(Boxes[static_cast<size_t>(model.Tag)]);
    if (model.Tag == TagSubc) chain.push_back(SubC);
    if (model.Tag == TagXtab) chain.push_back(XTab);
    if (model.Tag == TagPcmp) chain.insert(chain.end(), {NewLmt, OldLmt});
    if (model.Tag == TagCcol) {
      chain.insert(chain.end(), CcolNew.begin(), CcolNew.end());
      chain.insert(chain.end(), CcolOld.begin(), CcolOld.end());
    }
  }
  chain.insert(chain.end(), {reset, Cancel, Return});
  TabChain(chain);
  Load();
}

void TPreferencesTab::Load() {
  Loading = true;
  for (const TCheckBox& model : Controls.PrPanPreferences)
    Boxes[static_cast<size_t>(model.Tag)]->setChecked(model.Checked);
  Show(SubC, Controls.PrEdSubC);
  int at = XTab->findText(FromCore(Controls.PrCbXTab));
  if (at < 0) at = XTab->findText(" " + FromCore(Controls.PrCbXTab).trimmed());
  if (at >= 0) XTab->setCurrentIndex(at);
  Show(NewLmt, Controls.PrEdNewLmt);
  Show(OldLmt, Controls.PrEdOldlmt);
  for (size_t i = 0; i < 4; ++i) {
    Show(CcolNew[i], Controls.PrEdCcolNw[i]);
    Show(CcolOld[i], Controls.PrEdCcolOd[i]);
  }
  Loading = false;
}

TDpOptionsTab::TDpOptionsTab(TOptionControls& controls, QWidget* parent) : QWidget(parent), Controls(controls) {
  static const char* const Meanings[DpCount] = {
      "No comment filter",
      "Semicolon comment lines (ini files, assembler)",
      "\"rem\" and \"@rem\" lines of batch files",
      "Blank lines only",
      "Pascal { } and (* *) comments",
      "Pascal comments with // line comments",
      "C++, Java and JavaScript // and /* */ comments",
      "Visual Basic ' and Rem comments",
      "HTML <!-- --> comments",
      "Cobol comment lines (\"*\" in column 7)",
      "",
      "",
  };
  auto* group = new QGroupBox("Don't Process Options -- Limits Compare Set.  Only Single Selection Allowed.", this);
  group->setObjectName("DpRadioGroup1");
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(1);
  Radio = new QButtonGroup(this);
  Udc = MakeEdit(group, "DpEdUdc", 60, "Dudc: the comment start string");
  UdcYN = new QComboBox(group);
  UdcYN->setObjectName("DpCbUdcYN");
  UdcYN->addItems({"Yes", "No"});
  UdcYN->setToolTip("Yes: the string also starts a comment after other text");
  Udc2 = MakeEdit(group, "DpEdUdc2", 60, "Dud2: the comment line start string");
  Udc3 = MakeEdit(group, "DpEdUdc3", 60, "Dud2: the embedded comment string, comment to the end of the line");
  for (int i = 0; i < DpCount; ++i) {
    auto* radio = new QRadioButton(DpNames[static_cast<size_t>(i)], group);
    radio->setObjectName(QString("DpRadioGroup1_%1").arg(DpNames[static_cast<size_t>(i)]));
    Radio->addButton(radio, i);
    grid->addWidget(radio, i, 0);
    auto* line = new QHBoxLayout;
    if (i == DpDudc) {
      line->addWidget(Udc);
      line->addWidget(new QLabel(":  Comment line start string.  Begins part comment to end of line?", group));
      line->addWidget(UdcYN);
    } else if (i == DpDud2) {
      line->addWidget(Udc2);
      line->addWidget(new QLabel(":  Comment line start string.  Embeded part comment string to EOL.", group));
      line->addWidget(Udc3);
    } else {
      line->addWidget(new QLabel(QString(":  ") + Meanings[i], group));
    }
    line->addStretch(1);
    grid->addLayout(line, i, 1);
  }
  connect(Radio, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on && !Loading) Controls.DpRadioGroup1 = id;
  });
  Bind(Udc, Controls.DpEdUdc, Loading);
  Bind(Udc2, Controls.DpEdUdc2, Loading);
  Bind(Udc3, Controls.DpEdUdc3, Loading);
  connect(UdcYN, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    if (!Loading) Controls.DpCbUdcYN = ToCore(text);
  });

  auto* strings = new QGroupBox("Don't process lines that hold only a string, or that hold strings in columns", this);
  auto* sgrid = new QGridLayout(strings);
  sgrid->setVerticalSpacing(1);
  for (size_t i = 0; i < 3; ++i) {
    DpsBoxes[i] = new QCheckBox(QString("Dps%1").arg(i + 1), strings);
    DpsBoxes[i]->setObjectName(QString("DpCkDpS%1").arg(i + 1));
    DpsTexts[i] = MakeEdit(strings, QString("DpEdS%1").arg(i + 1), 200,
                           "Lines that hold only this string (any letter case) are not compared");
    sgrid->addWidget(DpsBoxes[i], static_cast<int>(i), 0);
    sgrid->addWidget(DpsTexts[i], static_cast<int>(i), 1);
    connect(DpsBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) {
      if (!Loading) Controls.DpCkDpS[i] = on;
    });
    Bind(DpsTexts[i], Controls.DpEdS[i], Loading);
  }
  sgrid->addWidget(Help(strings, ":  Only the string and blanks on the line"), 0, 2);
  static const char* const DlnNames[4] = {"DpCkDpDLn1", "DpCkDpDln2", "DpCkDpDln3", "DpCkDpDln4"};
  for (size_t i = 0; i < 4; ++i) {
    DlnBoxes[i] = new QCheckBox(QString("Dln%1").arg(i + 1), strings);
    DlnBoxes[i]->setObjectName(DlnNames[i]);
    DlnTexts[i] = MakeEdit(strings, QString("DpEdDpDln%1").arg(i + 1), 300,
                           "A string, optionally with columns: abc 1:5 \"bcd e\" 20:eol");
    sgrid->addWidget(DlnBoxes[i], static_cast<int>(3 + i), 0);
    sgrid->addWidget(DlnTexts[i], static_cast<int>(3 + i), 1, 1, 2);
    connect(DlnBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) {
      if (!Loading) Controls.DpCkDpDln[i] = on;
    });
    Bind(DlnTexts[i], Controls.DpEdDpDln[i], Loading);
  }
  sgrid->addWidget(Help(strings, "Dln: lines holding the string (in columns first:last, \"eol\" for the end "
                                 "of the line; quotes around strings with blanks)"),
                   7, 0, 1, 3);
  sgrid->setColumnStretch(2, 1);

  auto* note = new QLabel("All Dp Process Options include blank lines as comment lines. Totaled in Dp count. "
                          "No Dp Options with Clnc Pref.",
                          this);
  note->setObjectName("DpNote");
  note->setWordWrap(true);
  note->setStyleSheet(ColourStyle(TLineColour::Maroon));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(strings);
  layout->addWidget(note);
  layout->addStretch(1);
  layout->addLayout(ButtonRow(this, Cancel, Return, "Dp"));
  Load();
}

void TDpOptionsTab::FocusFirst() { DpsBoxes[0]->setFocus(); }

void TDpOptionsTab::Load() {
  Loading = true;
  if (QAbstractButton* radio = Radio->button(Controls.DpRadioGroup1)) {
    radio->setChecked(true);
  } else {
    // No selection: none of the items is shown checked.
    Radio->setExclusive(false);
    for (QAbstractButton* button : Radio->buttons()) button->setChecked(false);
    Radio->setExclusive(true);
  }
  Show(Udc, Controls.DpEdUdc);
  UdcYN->setCurrentIndex(Controls.DpCbUdcYN == "Yes" ? 0 : 1);
  Show(Udc2, Controls.DpEdUdc2);
  Show(Udc3, Controls.DpEdUdc3);
  for (size_t i = 0; i < 3; ++i) {
    DpsBoxes[i]->setChecked(Controls.DpCkDpS[i]);
    Show(DpsTexts[i], Controls.DpEdS[i]);
  }
  for (size_t i = 0; i < 4; ++i) {
    DlnBoxes[i]->setChecked(Controls.DpCkDpDln[i]);
    Show(DlnTexts[i], Controls.DpEdDpDln[i]);
  }
  Loading = false;
}

} // namespace quorlin::gui
