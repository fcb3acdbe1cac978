#include "gui/FrmSingle.h"

#include "gui/FindDialog.h"
#include "gui/FrmChgFlag.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "gui/ViewerParts.h"
#include "state/Controls.h"
#include "viewers/Geometry.h"
#include "viewers/Reports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorlin::gui {

namespace {
constexpr int MinWidth = 676;
const TWindowRect DesignRect{40, 40, 760, 540};
} // namespace

TFrmSingle::TFrmSingle(TQtFrontEnd& ui, TFrmChgFlag& legend, TUserSettings& settings, QWidget* parent)
    : QDialog(parent), Ui(ui), Legend(legend), Settings(settings) {
  setObjectName("TFrmSingle");
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowModality(Qt::ApplicationModal);
  setMinimumWidth(MinWidth);

  auto* top = new QWidget(this);
  top->setObjectName("LsPanel1");
  auto* grid = MakeTopGrid(top);
  auto* ret = MakeButton(top, "LsButReturn", "&Return", "Close the viewer and return to the Main Panel");
  auto* toTop = MakeButton(top, "LsButTop", "&ToTop", "Select the first line");
  auto* toBtm = MakeButton(top, "LsButBtm", "To&Btm", "Select the last line");
  auto* legendButton = MakeButton(top, "LsButLegend", "&Legend", "Show what the change flags mean");
  auto* find = MakeButton(top, "LsButFind", "&Find...", "Search the listing (any letter case)");
  auto* print = MakeButton(top, "LsButPrint", " &Print...", "Print the listing in black and white");
  auto* colour = MakeButton(top, "LsButColorPrint", "&Color ...", "Print the listing in its colours");
  auto* saveAs = MakeButton(top, "LsButSaveAs", "&SaveAs", "Save the listing as text, or as coloured rich text (.rtf)");
  auto* halt = MakeButton(top, "LsBtnHalt", "&Halt", "Stop the coloured save or print");
  halt->setStyleSheet(ColourStyle(TLineColour::Red));
  halt->hide();
  ReturnButton = ret;
  grid->addWidget(ret, 0, 0);
  grid->addWidget(toTop, 0, 1);
  grid->addWidget(toBtm, 0, 2);
  grid->addWidget(legendButton, 0, 3);
  grid->addWidget(find, 1, 0);
  grid->addWidget(print, 1, 1);
  grid->addWidget(colour, 1, 2);
  grid->addWidget(saveAs, 1, 3);
  grid->addWidget(halt, 1, 4);

  QPushButton *down, *up;
  grid->addLayout(MakeSpanArrows(top, "LsBitChngDown", "LsBitChngUp", "Next Chg Span", true, down, up), 0, 5, 2, 1);

  NoRefNumbers = new QCheckBox("Print No Ref#", top);
  NoRefNumbers->setObjectName("LsPrintNoRefNum");
  NoRefNumbers->setToolTip("Leave the reference numbers out of printed output");
  AppendSave = new QCheckBox("SaveAs Apnd Text", top);
  AppendSave->setObjectName("LsCkApndSvAs");
  AppendSave->setToolTip("Append a text report to an existing file");
  grid->addWidget(NoRefNumbers, 0, 6);
  grid->addWidget(AppendSave, 1, 6);
  grid->addLayout(MakeFontSizes(top, "LsCbPFontSize", "Print Font", "LsCBLBFontSz", "Display Font",
                                "Font size of the panel", PrintFont, DisplayFont),
                  0, 7, 2, 1);
  grid->setColumnStretch(8, 1);

  grid->addLayout(MakeFileNameRows(top, "LsLblNFName", "LsLblOFName", NewName, OldName), 2, 0, 1, 9);
  auto* wait = MakeColourLabel(top, "|-----------Wait while saving file-----------|", TLineColour::Blue);
  wait->setObjectName("LsWaitLabel");
  wait->hide();
  grid->addWidget(wait, 3, 0, 1, 9);

  Model = new TPanelListModel(TPanelRule::Single, this);
  List = new TPanelView(this);
  List->setObjectName("LsListbox1");
  List->SetPanelModel(Model);
  ChgChars = MakeChgCharsBox(top, "LsCkChgChars", {List});
  grid->addWidget(ChgChars, 0, 9);
  Build.MarkChanges = ChgChars;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(List, 1);
  layout->addWidget(MakeBottomBar(this));

  connect(ret, &QPushButton::clicked, this, &QDialog::accept);
  connect(toTop, &QPushButton::clicked, this, &TFrmSingle::LsButTopClick);
  connect(toBtm, &QPushButton::clicked, this, &TFrmSingle::LsButBtmClick);
  connect(find, &QPushButton::clicked, this, &TFrmSingle::LsButFindClick);
  connect(down, &QPushButton::clicked, this, &TFrmSingle::LsBitChngDownClick);
  AddViewerKeys(this, down, up, find, [this, find] { Find ? Find->FindAgain(find) : find->click(); },
                [this] { GoToLine(); });
  connect(up, &QPushButton::clicked, this, &TFrmSingle::LsBitChngUpClick);
  connect(legendButton, &QPushButton::clicked, this, &TFrmSingle::LsButLegendClick);
  connect(print, &QPushButton::clicked, this, &TFrmSingle::LsButPrintClick);
  connect(colour, &QPushButton::clicked, this, &TFrmSingle::LsButColorPrintClick);
  connect(saveAs, &QPushButton::clicked, this, &TFrmSingle::LsButSaveAsClick);
  connect(halt, &QPushButton::clicked, this, [this] { Build.HaltRequested = true; });
  Build.Halt = halt;
  Build.Wait = wait;
  Build.Disabled = {print, colour, saveAs, ret};
  connect(DisplayFont, &QComboBox::currentTextChanged, this,
          [this](const QString& size) { List->SetFontSize(size.toInt()); });
}

TFrmSingle::~TFrmSingle() = default;

void TFrmSingle::Prepare(const TResultView& view, const QString& newName, const QString& oldName) {
  const TUserSettings& settings = Settings;
  View = view;
  Nav = std::make_unique<TSinglePanelModel>(View);
  setWindowTitle(FromCore(SingleViewerCaption(View.RunStamp)));
  Model->Reset(View, FromCore(ViewerHeader(View, TPanelRule::Single)));
  NewName->setText(newName);
  OldName->setText(oldName);
  PrintFont->setCurrentText(QString::number(FontSizeOf(settings.Pr1FontSz)));
  DisplayFont->setCurrentText(QString::number(FontSizeOf(settings.LBx1FontSz)));
  List->SetFontSize(FontSizeOf(settings.LBx1FontSz));
  PlaceOnScreens(this, ViewerRect(settings.Single, WideEnough(DesignRect, List->WholeRowWidth() + 8), MinWidth));
  ChgChars->setChecked(settings.ShowChgChars);
  List->ShowMarks(settings.ShowChgChars);
  List->Select(Model->rowCount() > 0 ? 0 : -1);
  List->SetTopLine(0);
  List->setFocus();
}

void TFrmSingle::StoreSettings(TUserSettings& settings) const {
  const QRect r = geometry();
  settings.Single = GeometryTexts({r.left(), r.top(), r.width(), r.height()});
  settings.Pr1FontSz = ToCore(PrintFont->currentText());
  settings.LBx1FontSz = ToCore(DisplayFont->currentText());
  settings.ShowChgChars = ChgChars->isChecked();
}

void TFrmSingle::SyncToNav() {
  if (!Nav) return;
  Nav->Panel.Selection = List->Selection();
  Nav->Panel.TopLine = List->TopLine();
  Nav->Panel.Rows = List->VisibleRows();
  Nav->Panel.Count = Model->rowCount();
}

void TFrmSingle::ShowNav(const std::string& msg) {
  if (Nav && Nav->Panel.Selection != List->Selection()) List->Select(Nav->Panel.Selection);
  if (Nav && Nav->Panel.TopLine != List->TopLine()) List->SetTopLine(Nav->Panel.TopLine);
  if (!msg.empty()) Ui.ShowMessage(msg);
}

void TFrmSingle::GoToLine() {
  const QString text = Ui.AskText("Go to Line", GoToLinePrompt);
  if (text.isEmpty()) return;
  SyncToNav();
  if (Nav) ShowNav(Nav->GoToLine(ParseFileLine(ToCore(text))));
}

void TFrmSingle::LsButTopClick() {
  SyncToNav();
  if (!Nav) return;
  Nav->ToTop();
  ShowNav({});
}

void TFrmSingle::LsButBtmClick() {
  SyncToNav();
  if (!Nav) return;
  Nav->ToBtm();
  ShowNav({});
}

void TFrmSingle::LsButFindClick() {
  SyncToNav();
  if (!Nav) return;
  Nav->OpenFind();
  ShowNav({});
  if (!Find) {
    Find = new TFindDialog(this);
    connect(Find, &TFindDialog::FindNext, this, &TFrmSingle::FindNext);
  }
  Find->Open();
}

void TFrmSingle::FindNext(const QString& text, bool down) {
  SyncToNav();
  if (!Nav) return;
  ShowNav(Nav->Find(ToCore(text), down));
  Find->KeepClearOf(List->SelectionRect());
}

void TFrmSingle::LsBitChngDownClick() {
  SyncToNav();
  if (!Nav) return;
  ShowNav(Nav->NextSpan());
}

void TFrmSingle::LsBitChngUpClick() {
  SyncToNav();
  if (!Nav) return;
  ShowNav(Nav->PrevSpan());
}

void TFrmSingle::LsButLegendClick() { Legend.ShowLegend(this); }

TColouredReport TFrmSingle::BuildColoured(const TColouredOptions& options) const {
  return BuildSingleColoured(View, ToCore(windowTitle()), options);
}

void TFrmSingle::LsButPrintClick() {
  const std::string caption = ToCore(windowTitle());
  const bool noRef = NoRefNumbers->isChecked();
  PrintPlainListing(Ui, PrintFont->currentText().toInt(), [&](const TFontMetrics& metrics, const TPageSink& out) {
    LayoutSinglePrint(View, caption, noRef, metrics, out);
  });
  ReturnButton->setFocus();
}

void TFrmSingle::LsButColorPrintClick() {
  PrintColouredListing(Ui, Build, NoRefNumbers->isChecked(), PrintFont->currentText().toInt(),
                       [this](const TColouredOptions& o) { return BuildColoured(o); });
}

void TFrmSingle::LsButSaveAsClick() {
  const std::optional<TSavePlan> plan = AskSavePlan(Ui, Settings, NewName->text(), OldName->text(), AppendSave->isChecked());
  if (plan && plan->Rtf) {
    SaveColouredListing(Ui, Build, plan->Path, [this](const TColouredOptions& o) { return BuildColoured(o); });
  } else if (plan && plan->Html) {
    SaveHtml(Ui, plan->Path, View, {false, TSplitLayout::Stacked, ToCore(windowTitle()), ChgChars->isChecked()});
  } else if (plan) {
    const std::string caption = ToCore(windowTitle());
    SaveText(Ui, *plan, [&](const TReportLines& out) { WriteSingleTextReport(View, caption, out); });
  }
  ReturnButton->setFocus();
}

} // namespace quorlin::gui
