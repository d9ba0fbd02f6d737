// Log files dropped on the main window: a file manager's drag carries their URLs.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace vexor {

// The local files of a drag, as paths in the file system's encoding, when it carries 1 to 30
// of them and nothing else; otherwise none (the window refuses the drop: remote URLs, text,
// folders, or more logs than one load takes).
std::vector<std::string> DroppedLogPaths(const QMimeData* data);

}  // namespace vexor
