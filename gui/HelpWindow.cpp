#include "gui/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quorlin::gui {

QString UserGuidePath() {
  const QString name = "user-guide.md";
  QStringList folders;
  const QString fromEnv = qEnvironmentVariable("QUORLIN_DOCS");
  if (!fromEnv.isEmpty()) folders << fromEnv;
  const QString appDir = QCoreApplication::applicationDirPath();
  folders << appDir + "/docs" << appDir + "/../docs" << appDir + "/../share/doc/quorlin";
  for (const QString& folder : folders) {
    const QFileInfo info(QDir(folder).filePath(name));
    if (info.isFile()) return info.canonicalFilePath();
  }
  return {};
}

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("HelpWindow");
  setWindowTitle("Quorlin User Guide");
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  resize(820, 640);
  Text = new QTextBrowser(this);
  Text->setObjectName("OverViewBrowser");
  Text->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text);
}

bool THelpWindow::ShowGuide() {
  const QString path = UserGuidePath();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
  Text->setSearchPaths({QFileInfo(path).absolutePath()});
  Text->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + "/"));
  Text->setMarkdown(QString::fromUtf8(file.readAll()));
  show();
  raise();
  activateWindow();
  return true;
}

} // namespace quorlin::gui
