// The only way the core reaches a user: the front end (desktop window or
// command line) implements this interface and hands it to a run.
#pragma once

#include <string_view>

namespace quorlin {

class IFrontEnd {
public:
  virtual ~IFrontEnd() = default;
  /// Replaces the text of the status line (MnEdPanStatus).
  virtual void SetStatusText(std::string_view text) = 0;
  /// Lets the user interface process pending events; this is how a click on
  /// Halt reaches a running compare.
  virtual void ProcessPendingEvents() = 0;
  /// A progress text of a running compare, then pending events. A front end
  /// may leave out texts that follow each other faster than the eye reads.
  virtual void ShowProgress(std::string_view text) {
    SetStatusText(text);
    ProcessPendingEvents();
  }
  /// Shows a message box with an OK button and waits for it.
  virtual void ShowMessage(std::string_view text) = 0;
  /// Asks a question in a warning box with Yes and No; true for Yes. A front
  /// end without a user answers No, which never overwrites anything.
  virtual bool Ask(std::string_view) { return false; }
};

/// A front end with no user: progress is dropped, messages are ignored.
class TSilentFrontEnd final : public IFrontEnd {
public:
  void SetStatusText(std::string_view) override {}
  void ProcessPendingEvents() override {}
  void ShowMessage(std::string_view) override {}
};

} // namespace quorlin
