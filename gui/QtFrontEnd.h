// The desktop program's front end: the status line, pending events while a
// run is going, and message boxes. Every message box of the program goes
// through here, so tests answer them through MessageHook instead of a modal
// box.
#pragma once

#include "platform/FrontEnd.h"
#include "viewers/LineModel.h"

#include <QElapsedTimer>
#include <QColor>
#include <QPalette>
#include <QString>

#include <functional>

class QLineEdit;
class QPrinter;
class QWidget;

namespace quorlin::gui {

/// The kind of a message box: a plain one with OK, or a question with Yes and No.
enum class TMessageKind { Inform, Question };

/// What a file dialog returned: the chosen name (empty after Cancel) and the
/// filter that was selected (0-based).
struct TFileChoice {
  QString Path;
  int Filter = 0;
};

class TQtFrontEnd final : public IFrontEnd {
public:
  TQtFrontEnd();

  /// The status line that SetStatusText writes; none in a window-less batch.
  void SetStatusLine(QLineEdit* line) { StatusLine = line; }

  void SetStatusText(std::string_view text) override;
  /// Processes pending events at most every PendingEventsInterval ms, so a
  /// run that reports progress often keeps its speed; Halt and repainting
  /// are still served within a tenth of a second.
  void ProcessPendingEvents() override;
  /// Shows a progress text at most every PendingEventsInterval ms: a
  /// status line that is redrawn thousands of times a second slows the run.
  void ShowProgress(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  bool Ask(std::string_view text) override;

  /// When set, every message box goes here instead of to the screen; the
  /// result answers a question (true for Yes) and is ignored otherwise.
  std::function<bool(TMessageKind, const QString&)> MessageHook;
  /// The window that message boxes belong to (the active window when none).
  void SetMessageParent(QWidget* parent) { Parent = parent; }

  /// The save dialog: title, the folder and name to start with, filters in
  /// the core's form ("Text File (*.Txt)|*.txt|..."), the filter to select,
  /// and whether the dialog asks before overwriting.
  TFileChoice SaveFileDialog(const QString& title, const QString& start, const std::string& filters, int filter,
                             bool confirmOverwrite);
  /// The open dialog, alike.
  TFileChoice OpenFileDialog(const QString& title, const QString& start, const std::string& filters);
  /// The printer dialog; false when it was cancelled.
  bool PrinterDialog(QPrinter& printer);
  /// Asks for one line of text with prompt; empty when cancelled.
  QString AskText(const QString& title, const QString& prompt);

  /// Test hooks standing in for the dialogs above when set.
  std::function<TFileChoice(const QString& title, const QString& start)> FileDialogHook;
  std::function<bool(QPrinter&)> PrinterDialogHook;
  std::function<QString(const QString& prompt)> TextHook;

  static constexpr int PendingEventsInterval = 25;

private:
  QLineEdit* StatusLine = nullptr;
  QElapsedTimer SinceProgress;
  QWidget* Parent = nullptr;
  QElapsedTimer SinceEvents;
};

/// The colour a window draws colour in, on the application palette's role
/// background (the panels' Base, else the windows' Window): the core's
/// ShownRgb, so that every line class and note stays readable on a light
/// and on a dark palette.
QColor ShownColour(TLineColour colour, QPalette::ColorRole background = QPalette::Window);
/// A style sheet that gives a label or button's text that colour.
QString ColourStyle(TLineColour colour, bool bold = false);

/// Makes the program's icon the icon of every window (the application's
/// window icon, which each window takes unless it sets its own).
void InstallWindowIcon();

/// Text from the core (UTF-8 where valid; other bytes kept as Latin-1 so
/// nothing is lost or mangled into replacement characters).
QString FromCore(std::string_view text);
/// Text for the core: the UTF-8 bytes of text.
std::string ToCore(const QString& text);

} // namespace quorlin::gui
