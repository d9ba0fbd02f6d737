#include "app/gui/FileDrops.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/gui/GuiText.h"
#include "stats/LogSelection.h"

namespace vexor {

std::vector<std::string> DroppedLogPaths(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.isEmpty() || urls.size() > LogSelection::kMaxFiles) return {};
  std::vector<std::string> paths;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) return {};
    QString path = url.toLocalFile();
    if (QFileInfo(path).isDir()) return {};
    paths.push_back(PathFromQString(path));
  }
  return paths;
}

}  // namespace vexor
