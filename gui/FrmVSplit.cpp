#include "gui/FrmVSplit.h"

#include "gui/FindDialog.h"
#include "gui/FrmChgFlag.h"
#include "gui/FrmSbS.h"
#include "gui/FrmVSplit2.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "gui/TwoPanelBinding.h"
#include "gui/ViewerParts.h"
#include "state/Controls.h"
#include "viewers/Geometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace quorlin::gui {

namespace {
const TWindowRect DesignRect{40, 40, 718, 544};
constexpr int MinWidth = 560;
constexpr int DesignLeftWidth = 375;
} // namespace

TFrmVSplit::TFrmVSplit(TQtFrontEnd& ui, TFrmChgFlag& legend, TFrmSbS& saveLayout, TUserSettings& settings,
                       QWidget* parent)
    : QDialog(parent), Ui(ui), Legend(legend), SaveLayout(saveLayout), Settings(settings) {
  setObjectName("TFrmVSplit");
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowModality(Qt::ApplicationModal);
  setMinimumWidth(MinWidth);

  auto* top = new QWidget(this);
  top->setObjectName("VsPanTop");
  auto* bar = MakeTopGrid(top);
  auto* ret = MakeButton(top, "VsButReturn", "&Return", "Close the viewer and return to the Main Panel");
  ReturnButton = ret;
  auto* toTop = MakeButton(top, "VsButTop", "To &Top", "Top of both panels");
  auto* toBtm = MakeButton(top, "VsButBottom", "To &Btm", "Bottom of both panels");
  auto* legendButton = MakeButton(top, "VsButLegend", "&Legend", "Show what the change flags mean");
  auto* print = MakeButton(top, "VsButPrint", " &Print...", "Print both panels in black and white");
  auto* colour = MakeButton(top, "VsButColorPrint", "&Color ...", "Print both panels in their colours");
  auto* saveAs = MakeButton(top, "VsButSaveAs", "&SaveAs ...", "Save as text (stacked or side by side) or as coloured rich text (.rtf)");
  auto* find = MakeButton(top, "VsButFind", "&Find...", "Search both panels (any letter case)");
  auto* hsplit = MakeButton(top, "VsBtnHortChg", "&HSplit", "Show the panels one above the other");
  auto* halt = MakeButton(top, "VsBtnHalt", "H&alt", "Stop the coloured save or print");
  halt->setStyleSheet(ColourStyle(TLineColour::Red));
  halt->hide();
  bar->addWidget(ret, 0, 0);
  bar->addWidget(toTop, 0, 1);
  bar->addWidget(toBtm, 0, 2);
  bar->addWidget(legendButton, 0, 3);
  bar->addWidget(hsplit, 0, 4);
  bar->addWidget(find, 1, 0);
  bar->addWidget(print, 1, 1);
  bar->addWidget(colour, 1, 2);
  bar->addWidget(saveAs, 1, 3);
  bar->addWidget(halt, 1, 4);

  QPushButton *down, *up;
  bar->addLayout(MakeSpanArrows(top, "VsBitChngDown", "VsBitChngUp", "Next Chg Span", true, down, up), 0, 5, 2, 1);
  // The buttons row by row, then the span arrows.
  TabChain({ret, toTop, toBtm, legendButton, hsplit, find, print, colour, saveAs, halt, down, up});

  NoRefNumbers = new QCheckBox("Prt No Ref#", top);
  NoRefNumbers->setObjectName("VsPrintNoRefNum");
  NoRefNumbers->setToolTip("Leave the reference numbers out of printed output");
  AppendSave = new QCheckBox("SvAs Apnd", top);
  AppendSave->setObjectName("VsCkApndSvAs");
  AppendSave->setToolTip("Append a text report to an existing file");
  bar->addWidget(NoRefNumbers, 0, 6);
  bar->addWidget(AppendSave, 1, 6);
  bar->addLayout(MakeFontSizes(top, "VsCbPFontSz", "Print Sz", "VsCbLBFontSz", "Disply Sz", "Font size of both panels",
                               PrintFont, DisplayFont),
                 0, 7, 2, 1);
  bar->setColumnStretch(8, 1);

  bar->addLayout(MakeFileNameRows(top, "VsNDirName", "VsODirName", NewName, OldName), 2, 0, 1, 9);
  auto* wait = MakeColourLabel(top, "|-----------Wait while saving file--------------|", TLineColour::Blue);
  wait->setObjectName("VsWaitLabel");
  wait->hide();
  bar->addWidget(wait, 3, 0, 1, 9);

  LeftModel = new TPanelListModel(TPanelRule::NewSide, this);
  RightModel = new TPanelListModel(TPanelRule::OldSide, this);
  LeftPanel = new TPanelView(this);
  LeftPanel->setObjectName("VsListbox2");
  LeftPanel->SetPanelModel(LeftModel);
  RightPanel = new TPanelView(this);
  RightPanel->setObjectName("VsListbox3");
  RightPanel->SetPanelModel(RightModel);
  ChgChars = MakeChgCharsBox(top, "VsCkChgChars", {LeftPanel, RightPanel});
  bar->addWidget(ChgChars, 0, 9);
  Build.MarkChanges = ChgChars;
  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->setObjectName("Splitter1");
  Splitter->setToolTip("Move Splitter bar left or right ");
  Splitter->setHandleWidth(9);
  Splitter->setChildrenCollapsible(false);
  Splitter->addWidget(LeftPanel);
  Splitter->addWidget(RightPanel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(10, 0, 10, 0); // the two edge strips
  middle->addWidget(Splitter);
  layout->addLayout(middle, 1);
  layout->addWidget(MakeBottomBar(this));

  Build.Halt = halt;
  Build.Wait = wait;
  Build.Disabled = {print, colour, saveAs, hsplit, ret};

  HSplit = new TFrmVSplit2(Ui, Legend, this);
  Binding = new TTwoPanelBinding(LeftPanel, RightPanel, TTwoPanelModel::TLayout::SideBySide, Ui, this);
  connect(ret, &QPushButton::clicked, this, [this] {
    LeftPanel->setFocus();
    accept();
  });
  connect(toTop, &QPushButton::clicked, Binding, &TTwoPanelBinding::ToTop);
  connect(toBtm, &QPushButton::clicked, this, [this] {
    Binding->ToBtm();
    LeftPanel->setFocus();
  });
  connect(down, &QPushButton::clicked, Binding, &TTwoPanelBinding::NextSpan);
  AddViewerKeys(this, down, up, find, [this, find] { Find ? Find->FindAgain(find) : find->click(); },
                [this] { Binding->GoToLine(); });
  connect(up, &QPushButton::clicked, Binding, &TTwoPanelBinding::PrevSpan);
  connect(legendButton, &QPushButton::clicked, this, [this] { Legend.ShowLegend(this); });
  connect(find, &QPushButton::clicked, this, [this] {
    Binding->OpenFind();
    if (!Find) {
      Find = new TFindDialog(this);
      connect(Find, &TFindDialog::FindNext, Binding, &TTwoPanelBinding::Find);
      connect(Find, &TFindDialog::FindNext, this, [this] { Find->KeepClearOf(LeftPanel->SelectionRect()); });
    }
    Find->Open();
  });
  connect(print, &QPushButton::clicked, this, &TFrmVSplit::VsButPrintClick);
  connect(colour, &QPushButton::clicked, this, &TFrmVSplit::VsButColorPrintClick);
  connect(saveAs, &QPushButton::clicked, this, &TFrmVSplit::VsButSaveAsClick);
  connect(hsplit, &QPushButton::clicked, this, &TFrmVSplit::VsBtnHortChgClick);
  connect(halt, &QPushButton::clicked, this, [this] { Build.HaltRequested = true; });
  connect(DisplayFont, &QComboBox::currentTextChanged, this, [this](const QString& size) {
    LeftPanel->SetFontSize(size.toInt());
    RightPanel->SetFontSize(size.toInt());
  });
  connect(HSplit, &QDialog::finished, this, [this] {
    HSplit->StoreSettings(Settings);
    Legend.Withdraw();
  });
}

void TFrmVSplit::Prepare(const TResultView& view, const QString& newName, const QString& oldName) {
  View = view;
  setWindowTitle(FromCore(DualViewerCaption(View.RunStamp)));
  LeftModel->Reset(View, FromCore(ViewerHeader(View, TPanelRule::NewSide)));
  RightModel->Reset(View, FromCore(ViewerHeader(View, TPanelRule::OldSide)));
  RightPanel->setVerticalScrollBarPolicy(View.Clnc ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  NewName->setText(newName);
  OldName->setText(oldName);
  PrintFont->setCurrentText(QString::number(FontSizeOf(Settings.Pr2FontSz)));
  DisplayFont->setCurrentText(QString::number(FontSizeOf(Settings.LBx2FontSz)));
  LeftPanel->SetFontSize(FontSizeOf(Settings.LBx2FontSz));
  RightPanel->SetFontSize(FontSizeOf(Settings.LBx2FontSz));
  ChgChars->setChecked(Settings.ShowChgChars);
  for (TPanelView* panel : {LeftPanel, RightPanel}) panel->ShowMarks(Settings.ShowChgChars);
  const int rows = LeftPanel->WholeRowWidth() + RightPanel->WholeRowWidth();
  PlaceOnScreens(this, ViewerRect(Settings.Dual, WideEnough(DesignRect, rows + 20), MinWidth));
  // With no stored splitter the left panel gets its whole row where the
  // window allows both panels theirs, else half the window.
  const int fallback = width() >= rows + 20 ? LeftPanel->WholeRowWidth() : std::max(DesignLeftWidth, width() / 2);
  const int left = std::clamp(StoredNumber(Settings.SpSplit, fallback), 40, std::max(40, width() - 60));
  Splitter->setSizes({left, std::max(40, width() - 20 - left)});
  Binding->Reset(View);
  LeftPanel->setFocus();
}

void TFrmVSplit::StoreSettings(TUserSettings& settings) const {
  const QRect r = geometry();
  settings.Dual = GeometryTexts({r.left(), r.top(), r.width(), r.height()});
  settings.SpSplit = NumberText(LeftPanel->width());
  settings.Pr2FontSz = ToCore(PrintFont->currentText());
  settings.LBx2FontSz = ToCore(DisplayFont->currentText());
  settings.ShowChgChars = ChgChars->isChecked();
}

void TFrmVSplit::VsButPrintClick() {
  const std::string caption = ToCore(windowTitle());
  const bool noRef = NoRefNumbers->isChecked();
  PrintPlainListing(Ui, PrintFont->currentText().toInt(), [&](const TFontMetrics& metrics, const TPageSink& out) {
    LayoutTwoPanelPrint(View, caption, noRef, metrics, out);
  });
  ReturnButton->setFocus();
}

void TFrmVSplit::VsButColorPrintClick() {
  PrintColouredListing(Ui, Build, NoRefNumbers->isChecked(), PrintFont->currentText().toInt(),
                       [this](const TColouredOptions& o) { return BuildTwoPanelColoured(View, o); });
}

void TFrmVSplit::VsButSaveAsClick() {
  const std::optional<TSavePlan> plan = AskSavePlan(Ui, Settings, NewName->text(), OldName->text(), AppendSave->isChecked());
  if (plan && plan->Rtf) {
    SaveColouredListing(Ui, Build, plan->Path,
                        [this](const TColouredOptions& o) { return BuildTwoPanelColoured(View, o); });
  } else if (plan) {
    const TSplitWidths widths = SplitWidths(View);
    if (SaveLayout.Choose(Settings.SbsRp, FromCore(StackedLengthCaption(widths)),
                          FromCore(SideBySideLengthCaption(widths)))) {
      Settings.SbsRp = SaveLayout.Stacked() ? 1 : 0;
      const TSplitLayout layout = SaveLayout.Stacked() ? TSplitLayout::Stacked : TSplitLayout::SideBySide;
      if (plan->Html)
        SaveHtml(Ui, plan->Path, View, {true, layout, {}, ChgChars->isChecked()});
      else
        SaveText(Ui, *plan, [&](const TReportLines& out) {
          WriteTwoPanelTextReport(View, layout, ToCore(SaveLayout.Title()), out);
        });
    }
  }
  ReturnButton->setFocus();
}

void TFrmVSplit::VsBtnHortChgClick() {
  HSplit->Prepare(View, NewName->text(), OldName->text(), Settings, LeftPanel->font().pointSize(),
                  RightPanel->font().pointSize());
  HSplit->show();
  HSplit->raise();
  HSplit->activateWindow();
}

} // namespace quorlin::gui
