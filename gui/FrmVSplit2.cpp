#include "gui/FrmVSplit2.h"

#include "gui/FindDialog.h"
#include "gui/FrmChgFlag.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "gui/TwoPanelBinding.h"
#include "gui/ViewerParts.h"
#include "state/Controls.h"
#include "viewers/Geometry.h"
#include "viewers/Reports.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace quorlin::gui {

namespace {
constexpr int MinWidth = 720;
const TWindowRect DesignRect{60, 60, 760, 560};
} // namespace

TFrmVSplit2::TFrmVSplit2(TQtFrontEnd& ui, TFrmChgFlag& legend, QWidget* parent)
    : QDialog(parent), Ui(ui), Legend(legend) {
  setObjectName("TFrmVSplit2");
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowModality(Qt::ApplicationModal);
  setMinimumWidth(MinWidth);

  auto* top = new QWidget(this);
  top->setObjectName("HsPanTop");
  auto* bar = new QGridLayout(top);
  bar->setContentsMargins(6, 6, 6, 2);
  auto* ret = MakeButton(top, "HsButReturn", "&Return", "Return to the side-by-side viewer");
  auto* toTop = MakeButton(top, "HsButTop", "To &Top", "Top of both panels");
  auto* toBtm = MakeButton(top, "HsButBottom", "To &Btm", "Bottom of both panels");
  auto* legendButton = MakeButton(top, "HsButLegend", "&Legend ", "Show what the change flags mean");
  auto* find = MakeButton(top, "HsButFind", "&Find...", "Search both panels (any letter case)");
  bar->addWidget(ret, 0, 0);
  bar->addWidget(toTop, 0, 1);
  bar->addWidget(toBtm, 0, 2);
  bar->addWidget(legendButton, 0, 3);
  bar->addWidget(find, 0, 4);
  QPushButton *down, *up;
  bar->addLayout(MakeSpanArrows(top, "HsBitChngDown", "HsBitChngUp", "Nxt Chg Span", false, down, up), 0, 5, 2, 1);
  bar->addLayout(MakeFileNameRows(top, "HsLblNFName", "HsLblOFName", NewName, OldName), 1, 0, 1, 5);
  bar->setColumnStretch(6, 1);

  UpperModel = new TPanelListModel(TPanelRule::NewSide, this);
  LowerModel = new TPanelListModel(TPanelRule::OldSide, this);
  UpperPanel = new TPanelView(this);
  UpperPanel->setObjectName("HsListbox2");
  UpperPanel->SetPanelModel(UpperModel);
  LowerPanel = new TPanelView(this);
  LowerPanel->setObjectName("HsListbox3");
  LowerPanel->SetPanelModel(LowerModel);
  ChgChars = MakeChgCharsBox(top, "HsCkChgChars", {UpperPanel, LowerPanel});
  bar->addWidget(ChgChars, 0, 7);
  Splitter = new QSplitter(Qt::Vertical, this);
  Splitter->setObjectName("HsSplitter1");
  Splitter->setToolTip("Move splitter bar up or down");
  Splitter->addWidget(UpperPanel);
  Splitter->addWidget(LowerPanel);
  Splitter->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(Splitter, 1);
  layout->addWidget(MakeBottomBar(this, false));

  Binding = new TTwoPanelBinding(UpperPanel, LowerPanel, TTwoPanelModel::TLayout::Horizontal, Ui, this);
  connect(ret, &QPushButton::clicked, this, [this] {
    UpperPanel->setFocus();
    accept();
  });
  connect(toTop, &QPushButton::clicked, Binding, &TTwoPanelBinding::ToTop);
  connect(toBtm, &QPushButton::clicked, Binding, &TTwoPanelBinding::ToBtm);
  connect(down, &QPushButton::clicked, Binding, &TTwoPanelBinding::NextSpan);
  AddViewerKeys(this, down, up, find, [this, find] { Find ? Find->FindAgain(find) : find->click(); },
                [this] { Binding->GoToLine(); });
  connect(up, &QPushButton::clicked, Binding, &TTwoPanelBinding::PrevSpan);
  connect(legendButton, &QPushButton::clicked, this, [this] { Legend.ShowLegend(this); });
  connect(find, &QPushButton::clicked, this, [this, ret] {
    ret->setFocus();
    Binding->OpenFind();
    if (!Find) {
      Find = new TFindDialog(this);
      connect(Find, &TFindDialog::FindNext, Binding, &TTwoPanelBinding::Find);
      connect(Find, &TFindDialog::FindNext, this, [this] { Find->KeepClearOf(UpperPanel->SelectionRect()); });
    }
    Find->Open();
  });
}

void TFrmVSplit2::Prepare(const TResultView& view, const QString& newName, const QString& oldName,
                          const TUserSettings& settings, int upperFont, int lowerFont) {
  View = view;
  setWindowTitle(FromCore(DualViewerCaption(View.RunStamp)));
  UpperModel->Reset(View, FromCore(ViewerHeader(View, TPanelRule::NewSide)));
  LowerModel->Reset(View, FromCore(ViewerHeader(View, TPanelRule::OldSide)));
  LowerPanel->setVerticalScrollBarPolicy(View.Clnc ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  ChgChars->setChecked(settings.ShowChgChars);
  for (TPanelView* panel : {UpperPanel, LowerPanel}) panel->ShowMarks(settings.ShowChgChars);
  UpperPanel->SetFontSize(upperFont);
  LowerPanel->SetFontSize(lowerFont);
  NewName->setText(newName);
  OldName->setText(oldName);
  PlaceOnScreens(this,
                 ViewerRect(settings.Horizontal, WideEnough(DesignRect, UpperPanel->WholeRowWidth() + 12), MinWidth));
  const int upperHeight = std::max(40, StoredNumber(settings.SpSplit2, height() / 2));
  Splitter->setSizes({upperHeight, std::max(40, height() - upperHeight)});
  Binding->Reset(View);
}

void TFrmVSplit2::StoreSettings(TUserSettings& settings) const {
  const QRect r = geometry();
  settings.Horizontal = GeometryTexts({r.left(), r.top(), r.width(), r.height()});
  settings.SpSplit2 = NumberText(UpperPanel->height());
  settings.ShowChgChars = ChgChars->isChecked();
}

} // namespace quorlin::gui
