// The main window under test: message boxes are answered by a hook that
// records them, and widgets are found by their designed names.
#pragma once

#include "gui/FrmMain.h"
#include "gui/QtFrontEnd.h"
#include "state/Controls.h"

#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace quorlin::test {

struct TGuiFixture {
  gui::TQtFrontEnd Ui;
  TAppState App{Ui};
  QStringList Messages;
  bool Answer = false; ///< the answer to questions
  std::unique_ptr<gui::TFrmMain> Main;

  TGuiFixture() {
    Ui.MessageHook = [this](gui::TMessageKind, const QString& text) {
      Messages << text;
      return Answer;
    };
    App.RunStamp = "12/07/26 10:00:00";
    Main = std::make_unique<gui::TFrmMain>(App, Ui);
  }

  template <class T> T* Find(const char* name) const {
    T* widget = Main->findChild<T*>(name);
    if (!widget) qFatal("no widget named %s", name);
    return widget;
  }
};

/// Writes bytes to name in dir and returns the path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

/// The bundled example pair.
QString ExampleNew();
QString ExampleOld();

} // namespace quorlin::test
