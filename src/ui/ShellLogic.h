// The main frame's tables and rules without a toolkit: commands (menus, toolbar, accelerators,
// prompts and when each is enabled), the navigation buttons, the frame's sizes and first
// placement, the recent-file list, the file dialogs' filters, the start directory and the
// progress box's texts. The desktop program builds its menus, toolbar and panes from these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Progress.h"
#include "ui/ScreenGeometry.h"

namespace vexor {

// --- Commands.

// The commands, by their resource numbers (kept: the accessibility names and saved toolbar
// states of the desktop program use them).
enum class Command : int {
  kOpenGamesLog = 57601,
  kOpenDataFile = 32788,
  kCleanLogFile = 32784,
  kSaveDataFile = 32789,
  kExportCsv = 32774,
  kPrint = 57607,
  kPrintPreview = 57609,
  kExit = 57665,
  kClientVariables = 32775,
  kServerVariables = 32786,
  kOptions = 32777,
  kToolbar = 59392,
  kStatusBar = 59393,
  kHelp = 32779,
  kWriteSite = 32795,
  kFollowLogs = 32790,
};

struct CommandInfo {
  Command id;
  const char* menu;         // one of kMenus
  const char* menuText;     // with "&" mnemonic and "\t" accelerator text as the menu shows it
  const char* accelerator;  // "Ctrl+O", "Ctrl+P" or nullptr
  const char* toolTip;
  const char* prompt;    // the status bar's text while the command is highlighted
  bool needsData;        // enabled only while data is available
  bool touchesDocument;  // disabled while a long operation runs
};

constexpr int kCommandCount = 16;
extern const std::array<CommandInfo, kCommandCount> kCommands;

// The command with this id, or nullptr.
const CommandInfo* FindCommand(Command id);

// Whether the command is enabled: a command of the table, with data when it needs data,
// and not while a long operation runs (busy) when it touches the document. Exit, the toolbar
// and status bar toggles and help stay enabled while busy. False for an unknown id.
bool CommandEnabled(Command id, bool dataAvailable, bool busy);

// Follow Logs is a check item: it can be turned on while the statistics of logs are shown (not
// those of a data file) and no long operation runs, and turned off at any time.
bool FollowLogsEnabled(bool following, bool logsShown, bool busy);

// The menu bar, left to right.
constexpr std::array<const char*, 4> kMenus = {"&File", "Edit", "&View", "&Help"};

// Entries of a menu or the toolbar besides commands.
constexpr Command kSeparator = static_cast<Command>(0);
constexpr Command kRecentFilesPlace = static_cast<Command>(-1);  // the recent files (File menu)

struct MenuEntry {
  const char* menu;
  Command commandId;  // a command, kSeparator or kRecentFilesPlace
};

// Every menu's entries, menu by menu in kMenus order, top to bottom.
extern const std::array<MenuEntry, 22> kMenuLayout;

// The toolbar, left to right (kSeparator between groups); 16 x 16 pixel buttons.
extern const std::array<Command, 15> kToolbarLayout;

// The status bar's panes after the message pane.
constexpr std::array<const char*, 3> kStatusIndicators = {"CAP", "NUM", "SCRL"};

// --- Navigation pane.

struct NavigationButton {
  int controlId;
  const char* caption;
  int32_t screen;  // the document's current screen the button selects
};

extern const std::array<NavigationButton, 4> kNavigationButtons;

// The navigation picture (128 x 274) in a pane of the given height.
Point NavigationPicturePlace(bool largeFonts, int paneHeight);

// --- Frame geometry.

// Large fonts: the system font's text height is 20 pixels or more.
bool LargeFonts(int systemFontTextHeight);

// The frame's minimum tracking size: 1050 x 900 with large fonts, 955 x 730 otherwise.
Size FrameMinimumSize(bool largeFonts);

struct ColumnWidth {
  int ideal;
  int minimum;
};

// The navigation pane's splitter column: 222/220 with large fonts, 167/165 otherwise.
ColumnWidth NavigationColumnWidth(bool largeFonts);

// Where the frame goes at its first paint on a desktop whose client area is desktopW x
// desktopH: centred at its own size when the desktop is wide enough (1024 pixels, 1280 with
// large fonts), otherwise at (0, 0) filling the desktop.
Rect FirstPaintPlacement(int desktopW, int desktopH, int frameW, int frameH, bool largeFonts);

// The progress box's top-left corner (in screen coordinates) that centres a box of the given
// size on the frame's client area.
Point ProgressBoxPlace(const Rect& frameClientOnScreen, Size box);

// --- Status bar.

// What the status bar's message pane shows when no command's prompt is on show: at start, and
// again whenever a prompt goes away (a menu closed, the pointer left a toolbar button).
constexpr const char* kReadyPrompt = "Ready";

// --- Recent files.

// The recent-file list of the File menu: at most kMaxEntries paths, most recent first.
class RecentFiles {
 public:
  static constexpr size_t kMaxEntries = 4;

  // Takes stored entries (from the settings store) in order, skipping empty paths and
  // repeats, keeping the first kMaxEntries.
  void SetEntries(const std::vector<std::string>& paths);
  const std::vector<std::string>& Entries() const { return m_entries; }

  // The path becomes the first entry; an entry already listed moves to the top; the oldest
  // entry falls off past kMaxEntries. An empty path is ignored.
  void Add(const std::string& path);
  // Removes the path when listed (a recent file that could not be opened).
  void Remove(const std::string& path);
  // Removes every entry for which exists(path) is false.
  template <typename Exists>
  void RemoveMissing(Exists exists) {
    std::erase_if(m_entries, [&](const std::string& path) { return !exists(path); });
  }

 private:
  std::vector<std::string> m_entries;
};

// The menu text of recent entry index (0-based): "&1 PATH", with every "&" of the path doubled
// so it shows as itself.
std::string RecentFileMenuText(size_t index, const std::string& path);

// --- File dialogs.

constexpr const char* kLogFileFilter = "Log Files (*.log)|*.log||";
constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";

// A filter of description|pattern pairs in the form a Qt file dialog takes: each description,
// followed by " (patterns)" unless it already ends with its patterns in brackets, joined by
// ";;". "Log Files (*.log)|*.log||" gives "Log Files (*.log)".
std::string QtFileFilter(std::string_view filter);

// --- Start directory.

// The desktop program's start directory: optionDir (-C DIR) when given; otherwise
// xdgDataHome/vexor when XDG_DATA_HOME is set to an absolute path, else home/.local/share/vexor.
// Empty when no folder can be told (no option, no usable XDG_DATA_HOME, no home). The caller
// creates the folder.
std::string StartDirectory(const std::string& optionDir, const std::string& xdgDataHome,
                           const std::string& home);

// --- After a load.

// "No games or players were found in FILE." after a load that found neither a game nor a player
// (an empty file, a binary file, a text that is no log), FILE being the log's path, or for
// several logs "the N log files"; empty after any other load.
std::string NothingFoundMessage(int32_t nameCount, int32_t gameCount, int32_t selectedFileCount,
                                const std::string& selectedLogPath);
constexpr const char* kNothingFoundCaption = "Warning!";

// --- Progress box.

// The progress box's line: "Finding games and players: file 1 of 3", "Counting the statistics:
// file 2 of 3", "Writing the report", "Opening the data file", "Saving the data file",
// "Exporting to CSV", "Cleaning the log". fileIndex is 0-based, as the load reports it.
std::string ProgressText(WorkStep step, int fileIndex, int fileCount);

// How far the whole work is, 0 to 100, never moving back within a load: the discovery pass
// fills the first 40, the statistics pass the next 40 (a log read in one pass the first 80) (each
// file an equal share of its pass, done of total bytes of the current file within it) and the
// report the last 20 (done of total games). The single-file steps (opening, saving, exporting,
// cleaning) are done of total.
int ProgressPercent(uint64_t done, uint64_t total, int fileIndex, int fileCount, WorkStep step);

}  // namespace vexor
