// The main window under test: message boxes and file dialogs are answered by
// hooks, and widgets are found by their designed names.
#pragma once

#include "gui/FrmMain.h"
#include "gui/FrmSingle.h"
#include "gui/FrmVSplit.h"
#include "gui/PanelModel.h"
#include "gui/QtFrontEnd.h"
#include "state/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
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
  void Click(const char* button) const { Find<QPushButton>(button)->click(); }
  QString Text(const char* combo) const { return Find<QComboBox>(combo)->currentText(); }
  void SetNames(const QString& newName, const QString& oldName) const {
    Find<QComboBox>("MnCbNewFileNm")->setEditText(newName);
    Find<QComboBox>("MnCbOldFileNm")->setEditText(oldName);
  }
  /// Starts the compare of a pair with the listing type and the Sbsl and Clnc boxes given.
  void Compare(const QString& newName, const QString& oldName, const char* listType = "Chng", bool sbsl = false,
               bool clnc = false) const {
    SetNames(newName, oldName);
    Find<QComboBox>("MnCbListType")->setCurrentText(listType);
    Find<QCheckBox>("PrCkSbsl")->setChecked(sbsl);
    Find<QCheckBox>("PrCkCLnC")->setChecked(clnc);
    Click("MnButCompare");
  }
  /// File dialogs choose path with the filter given.
  void AnswerFileDialogs(const QString& path, int filter = 0) {
    Ui.FileDialogHook = [path, filter](const QString&, const QString&) { return gui::TFileChoice{path, filter}; };
  }
};

/// Writes bytes to name in dir and returns the path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
/// The bundled example pair.
QString ExampleNew();
QString ExampleOld();

/// A file of count lines "line N", every changeEvery-th of them (when not 0)
/// "changed line N"; N is the line's index, or index * 7 % period when period is not 0.
inline QString LineFile(const QTemporaryDir& dir, const QString& name, int count, int changeEvery = 0, int period = 0) {
  QByteArray text;
  for (int i = 0; i < count; ++i)
    text += QByteArray(changeEvery && i % changeEvery == 0 ? "changed " : "") + "line " +
            QByteArray::number(period ? i * 7 % period : i) + "\n";
  return WriteFile(dir, name, text);
}

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The text of a panel's row (its selected row by default).
inline QString RowText(const gui::TPanelView* panel, int row = -1) {
  return panel->PanelModel()->index(row < 0 ? panel->Selection() : row).data().toString();
}

/// Runs the desktop program to its end: its exit code, or -1 when it crashed or hung.
int RunQuorlin(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

/// Registers a test class under the suite name CTest runs it by.
int RegisterSuite(const char* name, std::function<QObject*()> make);
#define QUORLIN_GUI_SUITE(Name, Class) \
  static const int Name##Suite = quorlin::test::RegisterSuite(#Name, [] { return new quorlin::test::Class; })

} // namespace quorlin::test
