#include "ui/ShellLogic.h"

#include <algorithm>

#include "base/StringPrintf.h"

namespace vexor {

// id, menu, menu text, accelerator, tool tip, prompt, needs data, touches the document.
const std::array<CommandInfo, kCommandCount> kCommands = {{
    {Command::kOpenGamesLog, "&File", "&Open Games Log \tCtrl+O", "Ctrl+O", "Open Games Log",
     "Open one or more Games Logs and load their statistics", false, true},
    {Command::kOpenDataFile, "&File", "Open Vexor Data File", nullptr, "Open Vexor Data File",
     "Open statistics saved in a Vexor Data File", false, true},
    {Command::kCleanLogFile, "&File", "Clean Log File", nullptr, "Clean Log File",
     "Removes EOF markers from Log Files", false, true},
    {Command::kSaveDataFile, "&File", "Save Vexor Data File", nullptr, "Save Vexor Data File",
     "Save the loaded statistics to a Vexor Data File", true, true},
    {Command::kExportCsv, "&File", "&Export Data to CSV File", nullptr, "Export Data to CSV File",
     "Export Data to CSV values", true, true},
    {Command::kWriteSite, "&File", "Write &Web Site...", nullptr, "Write Web Site",
     "Write the statistics as a web site to publish: players, games, ratings and awards", true,
     true},
    {Command::kPrint, "&File", "Print Main Statistcs\tCtrl+P", "Ctrl+P", "Print",
     "Print the statistics tables", true, true},
    {Command::kPrintPreview, "&File", "Print Preview", nullptr, "Print Preview",
     "Show the printed pages on screen", true, true},
    {Command::kExit, "&File", "E&xit", nullptr, "Exit", "Quit Vexor", false, false},
    {Command::kClientVariables, "Edit", "Client Side Custom Variables", nullptr,
     "Client Side Custom Variables", "Edit the Client Side Custom Variables", false, true},
    {Command::kServerVariables, "Edit", "Server Side Custom Variables", nullptr,
     "Server Side Custom Variables", "Edit the Server Side Custom Variables", false, true},
    {Command::kOptions, "&View", "Options", nullptr, "Options",
     "Set the display, sorting and game options", false, true},
    {Command::kToolbar, "&View", "&Toolbar", nullptr, "Toggle Toolbar", "Show or hide the toolbar",
     false, false},
    {Command::kStatusBar, "&View", "&Status Bar", nullptr, "Toggle Status Bar",
     "Show or hide the status bar", false, false},
    {Command::kHelp, "&Help", "Vexor HTML Help", nullptr, "Vexor HTML Help",
     "Open the Vexor HTML Help", false, false},
    {Command::kFollowLogs, "&View", "&Follow Logs", nullptr, "Follow Logs",
     "Load the logs again whenever the game server writes to them", true, false},
}};

const std::array<MenuEntry, 22> kMenuLayout = {{
    {"&File", Command::kOpenGamesLog},
    {"&File", Command::kOpenDataFile},
    {"&File", Command::kSaveDataFile},
    {"&File", Command::kCleanLogFile},
    {"&File", kSeparator},
    {"&File", Command::kExportCsv},
    {"&File", Command::kWriteSite},
    {"&File", kSeparator},
    {"&File", Command::kPrint},
    {"&File", Command::kPrintPreview},
    {"&File", kSeparator},
    {"&File", kRecentFilesPlace},
    {"&File", kSeparator},
    {"&File", Command::kExit},
    {"Edit", Command::kClientVariables},
    {"Edit", Command::kServerVariables},
    {"&View", Command::kToolbar},
    {"&View", Command::kStatusBar},
    {"&View", kSeparator},
    {"&View", Command::kFollowLogs},
    {"&View", Command::kOptions},
    {"&Help", Command::kHelp},
}};

const std::array<Command, 15> kToolbarLayout = {
    Command::kOpenGamesLog,
    Command::kOpenDataFile,
    kSeparator,
    Command::kSaveDataFile,
    kSeparator,
    Command::kPrint,
    kSeparator,
    Command::kExportCsv,
    Command::kClientVariables,
    Command::kServerVariables,
    Command::kOptions,
    kSeparator,
    Command::kFollowLogs,
    kSeparator,
    Command::kHelp,
};

const std::array<NavigationButton, 4> kNavigationButtons = {{
    {1032, "View Logged Data", 1},
    {1033, "Draw Graphs", 2},
    {1034, "Game By Game Data", 3},
    {1035, "About Vexor", 4},
}};

const CommandInfo* FindCommand(Command id) {
  for (const CommandInfo& command : kCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

bool CommandEnabled(Command id, bool dataAvailable, bool busy) {
  const CommandInfo* command = FindCommand(id);
  if (command == nullptr) return false;
  if (busy && command->touchesDocument) return false;
  return dataAvailable || !command->needsData;
}

bool FollowLogsEnabled(bool following, bool logsShown, bool busy) {
  return following || (logsShown && !busy);
}

Point NavigationPicturePlace(bool largeFonts, int paneHeight) {
  return Point{largeFonts ? 40 : 20, paneHeight / 2 - 35};
}

bool LargeFonts(int systemFontTextHeight) {
  return systemFontTextHeight >= 20;
}

Size FrameMinimumSize(bool largeFonts) {
  return largeFonts ? Size{1050, 900} : Size{955, 730};
}

ColumnWidth NavigationColumnWidth(bool largeFonts) {
  return largeFonts ? ColumnWidth{222, 220} : ColumnWidth{167, 165};
}

Rect FirstPaintPlacement(int desktopW, int desktopH, int frameW, int frameH, bool largeFonts) {
  bool wideEnough = desktopW >= (largeFonts ? 1280 : 1024);
  if (!wideEnough) return Rect{0, 0, desktopW, desktopH};
  return Rect{desktopW / 2 - frameW / 2, desktopH / 2 - frameH / 2, frameW, frameH};
}

Point ProgressBoxPlace(const Rect& frameClientOnScreen, Size box) {
  return Point{frameClientOnScreen.x + (frameClientOnScreen.w - box.w) / 2,
               frameClientOnScreen.y + (frameClientOnScreen.h - box.h) / 2};
}

std::string NothingFoundMessage(int32_t nameCount, int32_t gameCount, int32_t selectedFileCount,
                                const std::string& selectedLogPath) {
  if (nameCount != 0 || gameCount != 0) return std::string();
  std::string where = selectedFileCount > 1
                          ? StringPrintf("the %d log files", static_cast<int>(selectedFileCount))
                          : selectedLogPath;
  return "No games or players were found in " + where + ".";
}

void RecentFiles::SetEntries(const std::vector<std::string>& paths) {
  m_entries.clear();
  for (const std::string& path : paths) {
    if (m_entries.size() == kMaxEntries) break;
    if (path.empty() || std::ranges::find(m_entries, path) != m_entries.end()) continue;
    m_entries.push_back(path);
  }
}

void RecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  m_entries.insert(m_entries.begin(), path);
  if (m_entries.size() > kMaxEntries) m_entries.resize(kMaxEntries);
}

void RecentFiles::Remove(const std::string& path) {
  std::erase(m_entries, path);
}

std::string RecentFileMenuText(size_t index, const std::string& path) {
  std::string text = StringPrintf("&%zu ", index + 1);
  for (char c : path) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

std::string QtFileFilter(std::string_view filter) {
  std::string result;
  while (!filter.empty() && filter.front() != '|') {
    size_t bar = filter.find('|');
    std::string_view description = filter.substr(0, bar);
    std::string_view patterns;
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
    bar = filter.find('|');
    patterns = filter.substr(0, bar);
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);

    std::string qtPatterns(patterns);
    std::ranges::replace(qtPatterns, ';', ' ');
    if (!result.empty()) result += ";;";
    result += description;
    if (!description.ends_with("(" + qtPatterns + ")")) result += " (" + qtPatterns + ")";
  }
  return result;
}

std::string StartDirectory(const std::string& optionDir, const std::string& xdgDataHome,
                           const std::string& home) {
  if (!optionDir.empty()) return optionDir;
  // Relative values of the XDG variables are to be ignored.
  std::string base = xdgDataHome.starts_with('/') ? xdgDataHome
                     : home.empty()               ? std::string()
                                                  : home + "/.local/share";
  if (base.empty()) return base;
  while (base.size() > 1 && base.back() == '/') {
    base.pop_back();
  }
  return base == "/" ? "/vexor" : base + "/vexor";
}

std::string ProgressText(WorkStep step, int fileIndex, int fileCount) {
  const char* name = NamesOf(step).box;
  if (!ReadsFiles(step)) return name;
  return StringPrintf("%s: file %d of %d", name, fileIndex + 1, fileCount);
}

int ProgressPercent(uint64_t done, uint64_t total, int fileIndex, int fileCount, WorkStep step) {
  double fraction =
      total == 0 ? 0.0 : static_cast<double>(std::min(done, total)) / static_cast<double>(total);
  int files = std::max(fileCount, 1);
  double file = std::clamp(fileIndex, 0, files - 1);
  double share = (file + fraction) / files;
  double percent;
  switch (step) {
    case WorkStep::kDiscovery:
      percent = 40.0 * share;
      break;
    case WorkStep::kStatistics:
      percent = 40.0 + 40.0 * share;
      break;
    case WorkStep::kReading:
      percent = 80.0 * share;
      break;
    case WorkStep::kReport:
      percent = 80.0 + 20.0 * fraction;
      break;
    default:
      percent = 100.0 * fraction;
      break;
  }
  return std::clamp(static_cast<int>(percent), 0, 100);
}

}  // namespace vexor
