// The change-flag legend: the ten flags of the listing's ID column in their
// panel colours with what each means. One window, shown without waiting.
#pragma once

#include <QDialog>

namespace quorlin::gui {

class TFrmChgFlag final : public QDialog {
  Q_OBJECT
public:
  explicit TFrmChgFlag(QWidget* parent = nullptr);
  /// Makes the window visible beside viewer and brings it to the front; the
  /// viewer stays usable. A modal viewer blocks every window but its own, so
  /// the legend becomes a window of the viewer that shows it.
  void ShowLegend(QWidget* viewer);
  /// Closes the window (its viewer closed) and makes it a window of its
  /// first parent again, so that it outlives every viewer.
  void Withdraw();

private:
  QWidget* Home; ///< the parent it was made with: the main window
};

} // namespace quorlin::gui
