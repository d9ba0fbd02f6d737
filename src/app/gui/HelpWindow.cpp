#include "app/gui/HelpWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#ifndef VEXOR_SOURCE_HELP
#define VEXOR_SOURCE_HELP ""
#endif

namespace vexor {

QString HelpWindow::HelpFolder() {
  QString program = QCoreApplication::applicationDirPath();
  const QString candidates[] = {program + QStringLiteral("/../share/vexor/help"),
                                program + QStringLiteral("/help"),
                                QStringLiteral(VEXOR_SOURCE_HELP)};
  for (const QString& folder : candidates) {
    if (!folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/index.html"))) {
      return QDir(folder).absolutePath();
    }
  }
  return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Vexor Help"));
  resize(720, 600);
  auto* layout = new QVBoxLayout(this);
  m_browser = new QTextBrowser(this);
  m_browser->setAccessibleName(QStringLiteral("User guide"));
  m_browser->setOpenExternalLinks(true);
  layout->addWidget(m_browser);
  auto* buttons = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("Back"), this);
  auto* home = new QPushButton(QStringLiteral("Contents"), this);
  auto* external = new QPushButton(QStringLiteral("Open in Web Browser"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  buttons->addWidget(back);
  buttons->addWidget(home);
  buttons->addStretch();
  buttons->addWidget(external);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
  connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(home, &QPushButton::clicked, m_browser, &QTextBrowser::home);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(external, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(m_browser->source()); });
  back->setEnabled(false);
  QString folder = HelpFolder();
  if (folder.isEmpty()) {
    m_browser->setHtml(
        QStringLiteral("<h2>Vexor Help</h2><p>The user guide was not found beside the program "
                       "(share/vexor/help).</p>"));
    external->setEnabled(false);
  } else {
    m_browser->setSource(QUrl::fromLocalFile(folder + QStringLiteral("/index.html")));
  }
}

}  // namespace vexor
