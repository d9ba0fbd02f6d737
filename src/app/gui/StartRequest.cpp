#include "app/gui/StartRequest.h"

#include <QObject>
#include <array>
#include <memory>

#include "app/gui/MainFrame.h"

namespace vexor {
namespace {

struct ScreenName {
  const char* name;
  int screen;
};

constexpr std::array<ScreenName, 4> kScreenNames = {{
    {"logged-data", 1},
    {"graphs", 2},
    {"game-by-game", 3},
    {"about", 4},
}};

}  // namespace

bool ScreenFromName(std::string_view name, int* screen) {
  for (const ScreenName& entry : kScreenNames) {
    if (name == entry.name) {
      *screen = entry.screen;
      return true;
    }
  }
  return false;
}

void StartRequested(MainFrame& frame, const StartRequest& request,
                    const std::function<void(int)>& quit) {
  if (request.logs.empty() && request.dataFile.empty()) return;
  // Only the start's own work is followed: later loads from the menus leave the screen alone.
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&frame, &MainFrame::workFinished, &frame,
                                 [&frame, request, quit, connection](bool ok) {
                                   QObject::disconnect(*connection);
                                   if (ok && request.screen != 0) frame.ShowScreen(request.screen);
                                   if (request.quitAfterLoad && quit) quit(ok ? 0 : 1);
                                 });
  if (!request.dataFile.empty()) {
    frame.OpenDataFile(request.dataFile);
  } else {
    frame.LoadLogs(request.logs);
  }
}

}  // namespace vexor
