// Two result panels kept in step by the core's two-panel model: scroll and
// click events of either panel go to the model, and the model's state comes
// back to both panels under a guard, so panels that follow each other never
// loop. Used by the side-by-side and the horizontal split viewers.
#pragma once

#include "viewers/Navigation.h"

#include <QObject>

#include <memory>
#include <string>

namespace quorlin::gui {

class TPanelView;
class TQtFrontEnd;

class TTwoPanelBinding final : public QObject {
  Q_OBJECT
public:
  TTwoPanelBinding(TPanelView* first, TPanelView* second, TTwoPanelModel::TLayout layout, TQtFrontEnd& ui,
                   QObject* parent);
  ~TTwoPanelBinding() override;

  /// A fresh model over view (kept by the viewer while it is open); both
  /// panels select line 0 at the top.
  void Reset(const TResultView& view);

  void ToTop();
  void ToBtm();
  void OpenFind();
  void Find(const QString& text, bool down);
  void NextSpan();
  void PrevSpan();
  /// Ctrl+G: asks for a NEW or OLD line number and selects its row.
  void GoToLine();

private:
  TPanelView* First;
  TPanelView* Second;
  TTwoPanelModel::TLayout Layout;
  TQtFrontEnd& Ui;
  std::unique_ptr<TTwoPanelModel> Model;
  bool Pushing = false;

  /// The panels' selections, top lines and sizes into the model.
  void Pull();
  /// The model's selections and top lines onto the panels.
  void Push();
  /// Runs an action on the model and shows its message, if any.
  void Act(const std::function<std::string(TTwoPanelModel&)>& action);
};

} // namespace quorlin::gui
