// The user guide in a help window, opened by the OverView tab.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace quorlin::gui {

/// Where the user guide is: $QUORLIN_DOCS, then docs/ beside the program or
/// one level up (a build folder), then share/doc/quorlin of an installed
/// copy. Empty when none has it.
QString UserGuidePath();

class THelpWindow final : public QDialog {
  Q_OBJECT
public:
  explicit THelpWindow(QWidget* parent = nullptr);
  /// Loads the guide (again, so an edited guide shows) and shows the window;
  /// false when the guide cannot be found.
  bool ShowGuide();
  QTextBrowser* Browser() const { return Text; }

private:
  QTextBrowser* Text;
};

} // namespace quorlin::gui
