// A file-name combo with a history: an editable combo that reports when its
// list drops down and when it loses the focus, and shows a history list and
// a text without moving the cursor of the text being typed.
#pragma once

#include <QComboBox>

#include <string>
#include <vector>

namespace quorlin::gui {

class THistoryCombo final : public QComboBox {
  Q_OBJECT
public:
  explicit THistoryCombo(QWidget* parent = nullptr);
  /// Shows items as the history and text as the edit text, without signals.
  void Show(const std::vector<std::string>& items, const std::string& text);
  /// Arrow and paging keys act as Home, so they do not step through the list.
  void SetHomeKeys(bool on) { HomeKeys = on; }

  void showPopup() override;

signals:
  void DroppingDown();
  void FocusLost();

protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  bool HomeKeys = false;
};

} // namespace quorlin::gui
