#include "gui/QtFrontEnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringDecoder>

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

void TQtFrontEnd::ShowMessage(std::string_view text) {
  const QString message = FromCore(text);
  if (MessageHook) {
    MessageHook(TMessageKind::Inform, message);
    return;
  }
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : Parent;
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), message, QMessageBox::Ok, parent);
  box.exec();
}

bool TQtFrontEnd::Ask(std::string_view text) {
  const QString message = FromCore(text);
  if (MessageHook) return MessageHook(TMessageKind::Question, message);
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : Parent;
  return QMessageBox::warning(parent, QApplication::applicationName(), message,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString FromCore(std::string_view text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString out = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (!utf8.hasError()) return out;
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToCore(const QString& text) { return text.toStdString(); }

} // namespace quorlin::gui
