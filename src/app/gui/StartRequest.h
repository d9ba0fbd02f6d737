// What the desktop program does at start beyond showing its window: load logs or open a data
// file (from its command line or a file manager's "Open with"), switch to a screen once they are
// in, and end the program after the load when a script asked for that.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vexor {

class MainFrame;

struct StartRequest {
  std::vector<std::string> logs;  // 1 to 30 absolute paths, or none
  std::string dataFile;           // an absolute path, or empty
  int screen = 0;                 // 1 to 4: the screen to show after the load; 0 leaves it
  bool quitAfterLoad = false;
};

// The whole command line of vexor-gui.
struct GuiRequest {
  std::string directory;  // -C DIR
  StartRequest start;
  std::string printPdf;
  std::string clientVars;
  std::string serverVars;
  int printChoice = 0;  // kPrintMainStats
  bool printChoiceGiven = false;
  bool help = false;
  bool version = false;
};

// Reads vexor-gui's arguments (the program's name first), relative paths taken from the current
// folder. False with a message for an unknown option, a missing or wrong value, more logs than a
// selection holds, or options that do not go together.
bool ParseGuiArguments(const QStringList& arguments, GuiRequest* request, QString* error);

// The screen of a --screen name: "logged-data" 1, "graphs" 2, "game-by-game" 3, "about" 4.
// False for any other name.
bool ScreenFromName(std::string_view name, int* screen);

// Starts the request's load or open on the shown frame. When the work has ended, a successful
// one shows the request's screen; with quitAfterLoad, quit(0) follows a successful load and
// quit(1) a failed or cancelled one. Without logs or a data file nothing happens.
void StartRequested(MainFrame& frame, const StartRequest& request,
                    const std::function<void(int)>& quit);

}  // namespace vexor
