#include "gui/TwoPanelBinding.h"

#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"

#include <QScrollBar>

namespace quorlin::gui {

TTwoPanelBinding::TTwoPanelBinding(TPanelView* first, TPanelView* second, TTwoPanelModel::TLayout layout,
                                   TQtFrontEnd& ui, QObject* parent)
    : QObject(parent), First(first), Second(second), Layout(layout), Ui(ui) {
  // Every scroll or click in a panel goes through the model, which moves
  // the other panel; the panels' own signals are ignored while it pushes.
  const auto relay = [this](void (TTwoPanelModel::*event)(int)) {
    return [this, event](int value) {
      if (Pushing || !Model) return;
      Pull();
      (Model.get()->*event)(value);
      Push();
    };
  };
  connect(First, &TPanelView::TopLineChanged, this, relay(&TTwoPanelModel::FirstScrolled));
  connect(Second, &TPanelView::TopLineChanged, this, relay(&TTwoPanelModel::SecondScrolled));
  connect(First, &TPanelView::LineClicked, this, relay(&TTwoPanelModel::FirstClicked));
  connect(Second, &TPanelView::LineClicked, this, relay(&TTwoPanelModel::SecondClicked));
  // Sideways the panels scroll together as the model says (not under Clnc).
  for (auto [from, to] : {std::pair(First, Second), std::pair(Second, First)})
    connect(from->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this, to](int value) {
      if (Pushing || !Model || !Model->SidewaysInStep()) return;
      Pushing = true;
      to->horizontalScrollBar()->setValue(value);
      Pushing = false;
    });
}

TTwoPanelBinding::~TTwoPanelBinding() = default;

void TTwoPanelBinding::Reset(const TResultView& view) {
  Model = std::make_unique<TTwoPanelModel>(view, Layout);
  Pushing = true;
  for (TPanelView* panel : {First, Second}) {
    panel->Select(panel->PanelModel()->rowCount() > 0 ? 0 : -1);
    panel->SetTopLine(0);
  }
  Pushing = false;
}

void TTwoPanelBinding::Pull() {
  auto pull = [](TPanelView* view, TPanelState& state) {
    state.Selection = view->Selection();
    state.TopLine = view->TopLine();
    state.Rows = view->VisibleRows();
    state.Count = view->PanelModel()->rowCount();
  };
  pull(First, Model->First);
  pull(Second, Model->Second);
}

void TTwoPanelBinding::Push() {
  Pushing = true;
  auto push = [](TPanelView* view, const TPanelState& state) {
    if (view->Selection() != state.Selection) view->Select(state.Selection);
    if (view->TopLine() != state.TopLine) view->SetTopLine(state.TopLine);
  };
  push(First, Model->First);
  push(Second, Model->Second);
  Pushing = false;
}

void TTwoPanelBinding::Act(const std::function<std::string(TTwoPanelModel&)>& action) {
  if (!Model) return;
  Pull();
  const std::string message = action(*Model);
  Push();
  if (!message.empty()) Ui.ShowMessage(message);
}

void TTwoPanelBinding::ToTop() {
  Act([](TTwoPanelModel& m) {
    m.ToTop();
    return std::string();
  });
}

void TTwoPanelBinding::ToBtm() {
  Act([](TTwoPanelModel& m) {
    m.ToBtm();
    return std::string();
  });
}

void TTwoPanelBinding::OpenFind() {
  Act([](TTwoPanelModel& m) {
    m.OpenFind();
    return std::string();
  });
}

void TTwoPanelBinding::Find(const QString& text, bool down) {
  const std::string needle = ToCore(text);
  Act([&](TTwoPanelModel& m) { return m.Find(needle, down); });
}

void TTwoPanelBinding::GoToLine() {
  if (!Model) return;
  const QString text = Ui.AskText("Go to Line", GoToLinePrompt);
  if (text.isEmpty()) return;
  const TFileLine line = ParseFileLine(ToCore(text));
  Act([line](TTwoPanelModel& m) { return m.GoToLine(line); });
}

void TTwoPanelBinding::NextSpan() {
  Act([](TTwoPanelModel& m) { return m.NextSpan(); });
}

void TTwoPanelBinding::PrevSpan() {
  Act([](TTwoPanelModel& m) { return m.PrevSpan(); });
}

} // namespace quorlin::gui
