#include "app/gui/Pictures.h"

#include <QDir>
#include <QFile>

#include "app/gui/GuiText.h"

namespace vexor {
namespace {

QPixmap Picture(const char* name) {
  return QPixmap(QStringLiteral(":/pictures/%1").arg(QLatin1String(name)));
}

}  // namespace

QPixmap BackgroundPicture() {
  return Picture("background.png");
}
QPixmap LogoPicture() {
  return Picture("logo.png");
}
QPixmap NavigationPicture() {
  return Picture("navigation.png");
}
QPixmap ProgressPicture() {
  return Picture("progress.png");
}
QPixmap WorkBoxPicture() {
  return Picture("workbox.png");
}
QPixmap CleaningPicture() {
  return Picture("cleaning.png");
}

QIcon ToolbarIcon(const char* name) {
  QIcon icon;
  icon.addFile(QStringLiteral(":/pictures/toolbar/%1-16.png").arg(QLatin1String(name)),
               QSize(16, 16));
  icon.addFile(QStringLiteral(":/pictures/toolbar/%1-32.png").arg(QLatin1String(name)),
               QSize(32, 32));
  return icon;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/pictures/vexor-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

bool InstallReportLogo(const std::string& startDirectory) {
  QDir config(PathToQString(startDirectory) + QStringLiteral("/config"));
  QString target = config.filePath(QStringLiteral("Logo.jpg"));
  if (QFile::exists(target)) return true;
  if (!config.mkpath(QStringLiteral("."))) return false;
  // Copied under a temporary name and renamed, so a half-written logo never stands there.
  QString temporary = target + QStringLiteral(".tmp");
  QFile::remove(temporary);
  if (!QFile::copy(QStringLiteral(":/pictures/Logo.jpg"), temporary)) return false;
  QFile::setPermissions(temporary,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  if (!QFile::rename(temporary, target)) {
    QFile::remove(temporary);
    return QFile::exists(target);
  }
  return true;
}

}  // namespace vexor
