#include "gui/QtFrontEnd.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringDecoder>

// The icon lives in the library's resources, which a static library must
// load by name, outside any namespace.
static void LoadIconResource() { Q_INIT_RESOURCE(quorlin); }

namespace quorlin::gui {

TQtFrontEnd::TQtFrontEnd() { SinceEvents.start(); }

void TQtFrontEnd::SetStatusText(std::string_view text) {
  if (StatusLine) StatusLine->setText(FromCore(text));
}

void TQtFrontEnd::ProcessPendingEvents() {
  if (SinceEvents.elapsed() < PendingEventsInterval) return;
  QApplication::processEvents(QEventLoop::AllEvents, 20);
  SinceEvents.restart();
}

void TQtFrontEnd::ShowProgress(std::string_view text) {
  if (!SinceProgress.isValid() || SinceProgress.elapsed() >= PendingEventsInterval) {
    SetStatusText(text);
    SinceProgress.restart();
  }
  ProcessPendingEvents();
}

void TQtFrontEnd::ShowMessage(std::string_view text) {
  const QString message = FromCore(text);
  if (MessageHook) {
    MessageHook(TMessageKind::Inform, message);
    return;
  }
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : Parent;
  // Blanks around a message (some pad it to a width) would wrap its full
  // stop onto a line of its own.
  QString shown = message.trimmed();
  shown.replace(QRegularExpression(" +\\.$"), ".");
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), shown, QMessageBox::Ok, parent);
  box.exec();
}

bool TQtFrontEnd::Ask(std::string_view text) {
  const QString message = FromCore(text);
  if (MessageHook) return MessageHook(TMessageKind::Question, message);
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : Parent;
  return QMessageBox::warning(parent, QApplication::applicationName(), message,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

namespace {

/// The core's filter list ("Any File (*.*)|*.*|Text File (*.Txt)|*.txt") in
/// the dialog's form. Names here are case-sensitive, so each pattern is
/// offered in lower, capitalised and upper case.
QStringList DialogFilters(const std::string& filters) {
  const QStringList parts = FromCore(filters).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    name.truncate(name.indexOf('(') >= 0 ? name.indexOf('(') : name.size());
    const QString pattern = parts[i + 1];
    QStringList patterns{pattern};
    if (pattern != "*.*") {
      const QString ext = pattern.mid(2);
      patterns = {"*." + ext.toLower(), "*." + ext.left(1).toUpper() + ext.mid(1).toLower(), "*." + ext.toUpper()};
      patterns.removeDuplicates();
    } else {
      patterns = {"*"};
    }
    out << name.trimmed() + " (" + patterns.join(' ') + ")";
  }
  return out;
}

} // namespace

TFileChoice TQtFrontEnd::SaveFileDialog(const QString& title, const QString& start, const std::string& filters,
                                        int filter, bool confirmOverwrite) {
  if (FileDialogHook) return FileDialogHook(title, start);
  QFileDialog dialog(QApplication::activeWindow(), title, start);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  const QStringList list = DialogFilters(filters);
  dialog.setNameFilters(list);
  if (filter >= 0 && filter < list.size()) dialog.selectNameFilter(list[filter]);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first(), static_cast<int>(list.indexOf(dialog.selectedNameFilter()))};
}

TFileChoice TQtFrontEnd::OpenFileDialog(const QString& title, const QString& start, const std::string& filters) {
  if (FileDialogHook) return FileDialogHook(title, start);
  QFileDialog dialog(QApplication::activeWindow(), title, start);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList list = DialogFilters(filters);
  dialog.setNameFilters(list);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first(), static_cast<int>(list.indexOf(dialog.selectedNameFilter()))};
}

bool TQtFrontEnd::PrinterDialog(QPrinter& printer) {
  if (PrinterDialogHook) return PrinterDialogHook(printer);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

QString TQtFrontEnd::AskText(const QString& title, const QString& prompt) {
  if (TextHook) return TextHook(prompt);
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : Parent;
  return QInputDialog::getText(parent, title, prompt);
}

QColor ShownColour(TLineColour colour, QPalette::ColorRole background) {
  const QPalette palette = QApplication::palette();
  auto rgb = [](const QColor& c) { return TRgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())}; };
  const TRgb shown = ShownRgb(colour, rgb(palette.color(background)),
                              rgb(palette.color(background == QPalette::Base ? QPalette::Text : QPalette::WindowText)));
  return QColor(shown.R, shown.G, shown.B);
}

QString ColourStyle(TLineColour colour, bool bold) {
  return "color: " + ShownColour(colour).name() + (bold ? "; font-weight: bold" : "");
}

void InstallWindowIcon() {
  LoadIconResource();
  QApplication::setWindowIcon(QIcon(":/quorlin.png"));
}

QString FromCore(std::string_view text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString out = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (!utf8.hasError()) return out;
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToCore(const QString& text) { return text.toStdString(); }

} // namespace quorlin::gui
