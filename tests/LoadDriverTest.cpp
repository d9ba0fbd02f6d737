// Whole loads through the loading driver: settings, limits, totals, report and flags.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "ops/LoadDriver.h"
#include "platform/Progress.h"
#include "stats/JsonExport.h"
#include "stats/Settings.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

class RecordingProgress : public Progress {
 public:
  void StepStarted(WorkStep pass, int fileIndex, int fileCount) override {
    events.push_back(static_cast<int>(pass) * 100 + fileIndex * 10 + fileCount);
  }
  void BytesDone(uint64_t, uint64_t) override {}
  void Close() override { ++closed; }
  std::vector<int> events;
  int closed = 0;
};

class LoadDriverTest : public ::testing::Test {
 protected:
  LoadDriverTest() : driver(doc, selection, prompter, folder.Path()) {
    driver.SetProgress(&progress);
    driver.OnNewDocument();  // start-up
  }
  bool LoadFiles(const std::vector<std::string>& paths) {
    selection.selectedFileCount = static_cast<int32_t>(paths.size());
    if (paths.size() == 1) {
      selection.selectedLogPath = paths[0];
    } else {
      for (size_t i = 0; i < paths.size(); ++i)
        selection.selectedLogFiles[i] = paths[i];
      selection.selectedLogPath = paths.back();
    }
    return driver.OnNewDocument();
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder.Write(name, bytes);
  }
  // One game in which `names` distinct players connect.
  static std::string ManyNames(int names, int firstClient = 0) {
    std::string log = InitGame("0:00") + "\n";
    for (int i = 0; i < names; ++i) {
      log += Connect("0:00", firstClient + i, "p" + std::to_string(firstClient + i)) + "\n";
    }
    return log;
  }
  static std::string ManyGames(int games) {
    std::string log;
    for (int i = 0; i < games; ++i)
      log += InitGame("0:00") + "\n";
    return log;
  }
  const std::vector<RecordedMessage>& Messages() const { return prompter.Messages(); }

  test::TempFolder folder;
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  RecordingProgress progress;
  LoadDriver driver;
};

TEST_F(LoadDriverTest, StartUpReadsSettingsAndLoadsNothing) {
  EXPECT_FALSE(doc.startupPending);
  EXPECT_EQ(doc.nameCount, 0);
  EXPECT_EQ(doc.gameCount, 0);
  EXPECT_FALSE(selection.dataAvailable);
  EXPECT_EQ(doc.options.shortGameThreshold, 25);
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("html")));
}

TEST_F(LoadDriverTest, SuccessfulLoadSetsFlagsScreenAndReport) {
  std::string log =
      Write("games.log",
            Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), At("1:00", "ShutdownGame:")}));
  ASSERT_TRUE(LoadFiles({log}));
  EXPECT_TRUE(selection.dataAvailable);
  EXPECT_TRUE(doc.refresh);
  EXPECT_EQ(doc.currentScreen, 4);
  EXPECT_TRUE(doc.storageAllocated);
  EXPECT_EQ(selection.selectedLogFiles[0], log);
  EXPECT_EQ(doc.reportIndexPath, folder.File("html/games.htm"));
  EXPECT_TRUE(std::filesystem::exists(folder.File("html/games/game1.htm")));
  EXPECT_EQ(progress.closed, 1);
  // A log alone is read once, then the report is written.
  EXPECT_EQ(progress.events, (std::vector<int>{801, 201}));
  EXPECT_TRUE(Messages().empty());
}

// Logs still being written are read up to where they stood when the load began, each to its own
// limit, in both passes: as a load of the logs cut there.
TEST_F(LoadDriverTest, ReadLimitsLoadWhatALoadOfTheCutLogsLoads) {
  std::string first = Lines(
      {InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
       At("0:10", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"), At("1:00", "ShutdownGame:")});
  std::string second = first + Lines({InitGame("0:00"), Connect("0:00", 3, "Carol"),
                                      At("0:20", "Kill: 3 3 7: Carol killed Carol by MOD_ROCKET")});
  std::vector<std::string> logs = {Write("a.log", first + first), Write("b.log", second)};
  const std::vector<uint64_t> limitSets[] = {
      {first.size(), second.size()},
      {first.size() + 40, first.size()},
      {0, second.size() - 5},
  };
  for (const std::vector<uint64_t>& limits : limitSets) {
    SCOPED_TRACE(limits[0] * 10000 + limits[1]);
    std::string error;
    driver.SetReadLimits(limits);
    ASSERT_TRUE(LoadFiles(logs));
    ASSERT_TRUE(ExportJson(doc, folder.File("limited.json"), &error));
    driver.SetReadLimits({});
    ASSERT_TRUE(LoadFiles({Write("a-cut.log", (first + first).substr(0, limits[0])),
                           Write("b-cut.log", second.substr(0, limits[1]))}));
    ASSERT_TRUE(ExportJson(doc, folder.File("cut.json"), &error));
    EXPECT_EQ(test::ReadFile(folder.File("limited.json")), test::ReadFile(folder.File("cut.json")));
  }
}

TEST_F(LoadDriverTest, SettingsAreReadAgainAtEveryLoad) {
  Options options;
  options.hideShortGames = 0;
  std::string error;
  ASSERT_TRUE(SaveSettings(folder.Path(), "/logs", options, &error));
  std::string log =
      Write("games.log",
            Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), At("0:05", "ShutdownGame:")}));
  ASSERT_TRUE(LoadFiles({log}));
  EXPECT_EQ(doc.logDirectory, "/logs");
  EXPECT_FALSE(doc.games[1].shortGame);
}

TEST_F(LoadDriverTest, OneFileHoldsAtMost2495Players) {
  ASSERT_TRUE(LoadFiles({Write("ok.log", ManyNames(2495))}));
  EXPECT_EQ(doc.nameCount, 2495);
  selection.selectedLogPath = "kept until refused";
  ASSERT_FALSE(LoadFiles({Write("big.log", ManyNames(2496))}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text,
            "Sorry your Log File contains too many players. Vexor supports 2500 players at most.");
  EXPECT_EQ(Messages()[0].caption, "Warning!");
  EXPECT_EQ(selection.selectedLogPath, "");
  EXPECT_EQ(progress.closed, 2);
}

TEST_F(LoadDriverTest, SeveralFilesHoldAtMost2499Players) {
  std::string first = Write("a.log", ManyNames(1250));
  ASSERT_TRUE(LoadFiles({first, Write("b.log", ManyNames(1249, 1250))}));
  EXPECT_EQ(doc.nameCount, 2499);
  ASSERT_FALSE(LoadFiles({first, Write("c.log", ManyNames(1250, 1250))}));
  EXPECT_EQ(Messages().back().caption, "Warning!");
}

TEST_F(LoadDriverTest, OneFileHoldsAtMost4995Games) {
  ASSERT_TRUE(LoadFiles({Write("ok.log", ManyGames(4995))}));
  EXPECT_EQ(doc.gameCount, 4995);
  ASSERT_FALSE(LoadFiles({Write("big.log", ManyGames(4996))}));
  EXPECT_EQ(Messages().back().text,
            "You have too many players. Vexor can analyse 5000 players at once.");
}

TEST_F(LoadDriverTest, SeveralFilesStopBeforeTheGameTableOverruns) {
  std::string half = Write("half.log", ManyGames(2500));
  ASSERT_TRUE(LoadFiles({half, Write("less.log", ManyGames(2499))}));
  EXPECT_EQ(doc.gameCount, 4999);
  ASSERT_FALSE(LoadFiles({half, half, half}));
  EXPECT_EQ(Messages().back().text,
            "You have too many players. Vexor can analyse 5000 players at once.");
}

TEST_F(LoadDriverTest, UnreadableFileEndsTheLoadWithAMessage) {
  std::string good = Write("good.log", ManyNames(2));
  ASSERT_FALSE(LoadFiles({good, folder.File("gone.log")}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "The log file \"" + folder.File("gone.log") + "\" cannot be read.");
  EXPECT_FALSE(selection.dataAvailable);
}

TEST_F(LoadDriverTest, HiddenGamesLeaveTheTotalsButNotTheWeaponTotals) {
  std::string log =
      Write("games.log", Lines({
                             InitGame("0:00"),
                             Connect("0:00", 1, "Alice"),
                             Connect("0:00", 2, "Bob"),
                             At("0:05", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
                             At("0:10", "ShutdownGame:"),
                             InitGame("0:00"),
                             Connect("0:00", 1, "Alice"),
                             Connect("0:00", 2, "Bob"),
                             At("0:05", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
                             At("1:00", "ShutdownGame:"),
                         }));
  ASSERT_TRUE(LoadFiles({log}));
  EXPECT_TRUE(doc.games[1].shortGame);
  const PlayerRecord& alice = doc.players[1];
  EXPECT_EQ(alice.frags, 1);
  EXPECT_EQ(alice.totalSeconds, 60);
  EXPECT_EQ(alice.games.Get(1).frags, 0);
  EXPECT_EQ(alice.games.Get(1).seconds, 0);
  EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRailgun)], 2);
  EXPECT_EQ(alice.gamesPlayed, 2);
  EXPECT_EQ(doc.players[2].deaths, 1);
}

TEST_F(LoadDriverTest, SummingRunsWhenTheOptionsAskForIt) {
  Options options;
  options.sumGames = 1;
  options.groupSize = 2;
  options.hideShortGames = 0;
  std::string error;
  ASSERT_TRUE(SaveSettings(folder.Path(), "", options, &error));
  ASSERT_TRUE(LoadFiles({Write("games.log", ManyGames(5) + ManyNames(1))}));
  EXPECT_EQ(doc.gameCount, 3);
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

TEST_F(LoadDriverTest, ClientLogInTheLoadClearsEveryPlayersTimes) {
  std::string server =
      Write("games.log",
            Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), At("1:00", "ShutdownGame:")}));
  std::string client = Write("console.log", test::ClientLog({
                                                "CL_InitCGame: 1",
                                                "Bob^7 entered the game",
                                                "Alice^7 entered the game",
                                                "Bob^7 was railed by Alice^7",
                                            }));
  ASSERT_TRUE(LoadFiles({server, client}));
  EXPECT_TRUE(doc.clientLogSeen);
  EXPECT_EQ(doc.gameCount, 2);
  ASSERT_EQ(doc.nameCount, 2);
  for (int32_t p = 1; p <= 2; ++p) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    EXPECT_EQ(player.totalSeconds, 0);
    EXPECT_EQ(player.connectTime, "");
    EXPECT_EQ(player.disconnectTime, "");
    EXPECT_EQ(player.games.Get(1).fragsPerHour, 0.0f);
  }
  EXPECT_EQ(doc.players[1].frags, 1);
  EXPECT_EQ(doc.players[1].name, "Alice");
}

}  // namespace
}  // namespace vexor
