// The main window under test: message boxes and file dialogs are answered by
// hooks, and widgets are found by their designed names.
#pragma once

#include "gui/FindDialog.h"
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
#include <QPrinter>
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

/// The bundled example pair.
inline QString ExampleNew() { return QUORLIN_SOURCE_DIR "/examples/new/ledger.c"; }
inline QString ExampleOld() { return QUORLIN_SOURCE_DIR "/examples/old/ledger.c"; }

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
  /// The Main Panel's names as "new|old".
  QString Names() const { return Text("MnCbNewFileNm") + "|" + Text("MnCbOldFileNm"); }
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
  /// Compares a pair side by side (the example pair by default); the viewer.
  gui::TFrmVSplit* CompareDual(const QString& newName = ExampleNew(), const QString& oldName = ExampleOld(),
                               const char* listType = "Chng") const {
    Compare(newName, oldName, listType, true);
    return Main->DualViewer();
  }
  /// File dialogs choose path with the filter given.
  void AnswerFileDialogs(const QString& path, int filter = 0) {
    Ui.FileDialogHook = [path, filter](const QString&, const QString&) { return gui::TFileChoice{path, filter}; };
  }
  /// Printer dialogs print to the PDF file pdf.
  void PrintTo(const QString& pdf) {
    Ui.PrinterDialogHook = [pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
  }
};

/// Writes bytes to name in dir and returns the path.
inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
  return path;
}

/// Writes a batch file name in dir that compares the example pair into
/// name.lst, with the statements more; its path.
inline QString BatchIni(const QTemporaryDir& dir, const QString& name, const QString& more = {}) {
  return WriteFile(dir, name,
                   ("newf=" + ExampleNew() + "\noldf=" + ExampleOld() + "\noutf=" + dir.filePath(name + ".lst") +
                    "\n" + more)
                       .toUtf8());
}

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

/// The text and the colour of a panel's row (its selected row by default).
inline QString RowText(const gui::TPanelView* panel, int row = -1) {
  return panel->PanelModel()->index(row < 0 ? panel->Selection() : row).data().toString();
}
inline QColor RowColour(const gui::TPanelView* panel, int row = -1) {
  return panel->PanelModel()->index(row < 0 ? panel->Selection() : row).data(Qt::ForegroundRole).value<QColor>();
}

/// The colour the panels draw a line class in on the current palette.
inline QColor Shown(TLineColour colour) { return gui::ShownColour(colour, QPalette::Base); }

/// Types text into the viewer's open Find dialog and presses Find Next.
inline void FindNext(const QWidget* viewer, const QString& text) {
  auto* find = viewer->findChild<gui::TFindDialog*>();
  find->findChild<QLineEdit*>("FindText")->setText(text);
  find->findChild<QPushButton*>("FindNext")->click();
}

/// Runs the desktop program to its end: its exit code, or -1 when it crashed or hung.
int RunQuorlin(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

/// Registers a test class under the suite name CTest runs it by.
int RegisterSuite(const char* name, std::function<QObject*()> make);
#define QUORLIN_GUI_SUITE(Name, Class) \
  static const int Name##Suite = quorlin::test::RegisterSuite(#Name, [] { return new quorlin::test::Class; })

} // namespace quorlin::test
