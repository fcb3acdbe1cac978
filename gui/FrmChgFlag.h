// The change-flag legend: the ten flags of the listing's ID column in their
// panel colours with what each means. One window, shown without waiting.
#pragma once

#include <QDialog>

namespace quorlin::gui {

class TFrmChgFlag final : public QDialog {
  Q_OBJECT
public:
  explicit TFrmChgFlag(QWidget* parent = nullptr);
  /// Makes the window visible and brings it to the front; the viewer stays usable.
  void ShowLegend();
};

} // namespace quorlin::gui
