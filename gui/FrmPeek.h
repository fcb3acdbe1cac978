// Peek Log: the batch log in a list, after a batch has run.
#pragma once

#include <QDialog>

class QListWidget;

namespace quorlin::gui {

class TFrmPeek final : public QDialog {
  Q_OBJECT
public:
  explicit TFrmPeek(QWidget* parent = nullptr);
  /// Loads the log file into the list ("No data to be shown." when it cannot be read).
  void Load(const QString& logPath);
  QListWidget* List() const { return Lines; }

private:
  QListWidget* Lines;
};

} // namespace quorlin::gui
