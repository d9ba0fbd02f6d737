// The main frame's rules: command enabling, the command tables agreeing with each other, the
// first placement, the recent files, the dialog filters, the start directory and the progress.
#include "ui/ShellLogic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vexor {
namespace {

TEST(ShellLogicTest, CommandsAreEnabledByDataAndBusy) {
  struct Case {
    Command id;
    bool idle, idleWithData, busyWithData;
  };
  const Case cases[] = {
      {Command::kOpenGamesLog, true, true, false},
      {Command::kOpenDataFile, true, true, false},
      {Command::kCleanLogFile, true, true, false},
      {Command::kSaveDataFile, false, true, false},
      {Command::kExportCsv, false, true, false},
      {Command::kWriteSite, false, true, false},
      {Command::kPrint, false, true, false},
      {Command::kPrintPreview, false, true, false},
      {Command::kExit, true, true, true},
      {Command::kClientVariables, true, true, false},
      {Command::kServerVariables, true, true, false},
      {Command::kOptions, true, true, false},
      {Command::kToolbar, true, true, true},
      {Command::kStatusBar, true, true, true},
      {Command::kHelp, true, true, true},
      {Command::kFollowLogs, false, true, true},
      {static_cast<Command>(12345), false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.id));
    EXPECT_EQ(CommandEnabled(c.id, false, false), c.idle);
    EXPECT_EQ(CommandEnabled(c.id, true, false), c.idleWithData);
    EXPECT_EQ(CommandEnabled(c.id, true, true), c.busyWithData);
  }
  const CommandInfo* print = FindCommand(Command::kPrint);
  ASSERT_NE(print, nullptr);
  EXPECT_TRUE(print->needsData);
  EXPECT_STREQ(print->menuText, "Print Main Statistcs\tCtrl+P");
  EXPECT_STREQ(FindCommand(Command::kOpenGamesLog)->menuText, "&Open Games Log \tCtrl+O");
  // Following is turned on over the statistics of logs when idle, and off at any time.
  EXPECT_TRUE(FollowLogsEnabled(false, true, false));
  EXPECT_FALSE(FollowLogsEnabled(false, true, true));
  EXPECT_FALSE(FollowLogsEnabled(false, false, false));
  EXPECT_TRUE(FollowLogsEnabled(true, false, true));
}

TEST(ShellLogicTest, MenusAndToolbarListEveryCommandWhereItBelongs) {
  std::multiset<Command> inMenus;
  for (const MenuEntry& entry : kMenuLayout) {
    if (entry.commandId == kSeparator || entry.commandId == kRecentFilesPlace) continue;
    inMenus.insert(entry.commandId);
    const CommandInfo* command = FindCommand(entry.commandId);
    ASSERT_NE(command, nullptr) << static_cast<int>(entry.commandId);
    EXPECT_STREQ(command->menu, entry.menu) << command->toolTip;
  }
  for (const CommandInfo& command : kCommands)
    EXPECT_EQ(inMenus.count(command.id), 1u);
  for (Command id : kToolbarLayout)
    EXPECT_TRUE(id == kSeparator || FindCommand(id) != nullptr);
  EXPECT_EQ(std::ranges::count(kToolbarLayout, kSeparator), 5);
  EXPECT_STREQ(FindCommand(Command::kCleanLogFile)->prompt, "Removes EOF markers from Log Files");
  EXPECT_STREQ(FindCommand(Command::kExportCsv)->prompt, "Export Data to CSV values");
}

TEST(ShellLogicTest, FirstPaintCentresOnAWideDesktopAndFillsANarrowOne) {
  EXPECT_EQ(FirstPaintPlacement(1024, 740, 955, 730, false), (Rect{35, 5, 955, 730}));
  EXPECT_EQ(FirstPaintPlacement(1023, 740, 955, 730, false), (Rect{0, 0, 1023, 740}));
  EXPECT_EQ(FirstPaintPlacement(1200, 1000, 1050, 900, true), (Rect{0, 0, 1200, 1000}));
  EXPECT_EQ(FirstPaintPlacement(1280, 1000, 1051, 901, true), (Rect{115, 50, 1051, 901}));
  EXPECT_TRUE(LargeFonts(20));
  EXPECT_FALSE(LargeFonts(19));
  // The box's centre is the client area's, whatever the box's size.
  EXPECT_EQ(ProgressBoxPlace(Rect{100, 50, 800, 601}, Size{280, 161}), (Point{360, 270}));
  EXPECT_EQ(ProgressBoxPlace(Rect{0, 0, 300, 200}, Size{301, 201}), (Point{0, 0}));
  EXPECT_EQ(NavigationPicturePlace(true, 701), (Point{40, 315}));
}

TEST(ShellLogicTest, RecentFilesKeepFourMostRecentFirst) {
  RecentFiles recent;
  recent.SetEntries({"/a.dat", "", "/b.dat", "/a.dat", "/c.dat", "/d.dat", "/e.dat"});
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/a.dat", "/b.dat", "/c.dat", "/d.dat"}));
  recent.Add("/c.dat");
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/c.dat", "/a.dat", "/b.dat", "/d.dat"}));
  recent.Add("/new.dat");
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/new.dat", "/c.dat", "/a.dat", "/b.dat"}));
  recent.RemoveMissing([](const std::string& path) { return path != "/a.dat"; });
  recent.Remove("/new.dat");
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/c.dat", "/b.dat"}));
  EXPECT_EQ(RecentFileMenuText(1, "/q3/R&D.dat"), "&2 /q3/R&&D.dat");
}

TEST(ShellLogicTest, ALoadThatFoundNothingSaysSo) {
  struct Case {
    int32_t names, games, files;
    std::string message;
  } cases[] = {
      {0, 0, 1, "No games or players were found in /q3/empty.log."},
      {0, 0, 3, "No games or players were found in the 3 log files."},
      {0, 1, 1, ""},  // a game nobody played in is something
      {2, 0, 1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NothingFoundMessage(c.names, c.games, c.files, "/q3/empty.log"), c.message)
        << c.names << " players, " << c.games << " games, " << c.files << " files";
  }
}

TEST(ShellLogicTest, FiltersStartDirectoryAndProgress) {
  EXPECT_EQ(QtFileFilter(kLogFileFilter), "Log Files (*.log)");
  EXPECT_EQ(QtFileFilter(kAllFilesFilter), "All Files (*.*)");
  EXPECT_EQ(QtFileFilter("Logs|*.log;*.txt|All Files (*.*)|*.*||"),
            "Logs (*.log *.txt);;All Files (*.*)");

  EXPECT_EQ(StartDirectory("/tmp/run", "/x", "/home/u"), "/tmp/run");
  EXPECT_EQ(StartDirectory("", "/x/data/", "/home/u"), "/x/data/vexor");
  EXPECT_EQ(StartDirectory("", "", "/home/u"), "/home/u/.local/share/vexor");
  EXPECT_EQ(StartDirectory("", "relative", "/home/u"), "/home/u/.local/share/vexor");
  EXPECT_EQ(StartDirectory("", "", ""), "");

  EXPECT_EQ(ProgressText(WorkStep::kDiscovery, 0, 3), "Finding games and players: file 1 of 3");
  EXPECT_EQ(ProgressText(WorkStep::kStatistics, 1, 3), "Counting the statistics: file 2 of 3");
  EXPECT_EQ(ProgressText(WorkStep::kExporting, 0, 1), "Exporting to CSV");

  // Forward through both passes of three files, each read in quarters, and the report.
  int last = 0;
  for (WorkStep step : {WorkStep::kDiscovery, WorkStep::kStatistics, WorkStep::kReport}) {
    for (int file = 0; file < (step == WorkStep::kReport ? 1 : 3); ++file) {
      for (uint64_t done = 0; done <= 400; done += 100) {
        int percent = ProgressPercent(done, 400, file, 3, step);
        EXPECT_GE(percent, last);
        last = percent;
      }
    }
  }
  EXPECT_EQ(last, 100);
  EXPECT_EQ(ProgressPercent(200, 400, 1, 2, WorkStep::kDiscovery), 30);
  EXPECT_EQ(ProgressPercent(0, 0, 0, 1, WorkStep::kStatistics), 40);
  EXPECT_EQ(ProgressPercent(9, 3, 0, 0, WorkStep::kSaving), 100);
  EXPECT_EQ(ProgressPercent(5, 10, 0, 1, WorkStep::kReport), 90);
}

}  // namespace
}  // namespace vexor
