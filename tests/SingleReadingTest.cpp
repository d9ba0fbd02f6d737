// A log loaded alone is read once, both passes' work done line by line: it must load the
// document its two passes load, and show the load as one step.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "stats/DataFile.h"

namespace vexor {
namespace {

using test::At;
using test::ClientLog;
using test::Connect;
using test::InitGame;
using test::Lines;

struct Variable {
  const char* searchString;
  bool secondPlayer;  // counts for player 2 as well
};

// Every form a search string takes, obituary phrasings among them, and one that reads an
// obituary's victim with a word of its verb ("Alice was" of "Alice^7 was railed by Bob^7").
constexpr Variable kVariables[] = {
    {"PLAYER1 was railed by PLAYER2", true},
    {"PLAYER1 railed by PLAYER2", false},
    {"PLAYER1 entered the game", false},
    {"PLAYER1 cratered.", false},
    {"PLAYER1 almost dodged PLAYER2 's rocket", true},
    {"^5 PLAYER1", false},
    {"(PLAYER1 )^Y: ^5gg", false},
};

class SingleReadingTest : public ::testing::Test {
 protected:
  // Loads the log through the driver with the variables above, read once or in two passes;
  // the saved data file, or "" when the load failed.
  static std::string Load(const std::string& log, bool single, std::vector<WorkStep>* steps) {
    test::DriverLoad load;
    load.onFileStarted = [steps](WorkStep step, int) { steps->push_back(step); };
    load.doc.clientVarCount = static_cast<int32_t>(std::size(kVariables));
    for (size_t v = 0; v < std::size(kVariables); ++v) {
      ClientVariable& variable = load.doc.clientVars[v + 1];
      variable.name = "v" + std::to_string(v + 1);
      variable.searchString = kVariables[v].searchString;
      variable.p1Change = 1;
      variable.p1Target = static_cast<int32_t>(v + 1);
      variable.p1Value = 1;
      variable.p2Change = kVariables[v].secondPlayer ? 1 : 0;
      variable.p2Target = 1;
      variable.p2Value = -1;
    }
    // Server variables: rails of the killer and victim, and every kill's killer.
    load.doc.serverVarCount = 2;
    load.doc.serverVars[1] = test::KillVariable(1, 2, -2);
    load.doc.serverVars[1].p1Change = load.doc.serverVars[1].p2Change = 1;
    load.doc.serverVars[1].p1Target = load.doc.serverVars[1].p2Target = 1;
    load.doc.serverVars[1].p1Value = 1;
    load.doc.serverVars[1].p2Value = -1;
    load.doc.serverVars[2] = load.doc.serverVars[1];
    load.doc.serverVars[2].name = "kills";
    load.doc.serverVars[2].modstring = "";
    load.doc.serverVars[2].p2Change = 0;
    load.doc.serverVars[2].p1Target = 2;
    load.driver.SetSingleReading(single);
    if (!load.LoadFiles({load.Write("games.log", log)})) return "";
    std::string error;
    std::string path = load.folder.File("saved.dat");
    load.doc.reportIndexPath = "games.htm";  // the folders differ
    EXPECT_TRUE(SaveDataFile(load.doc, path, &error)) << error;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  struct Case {
    const std::string& log;
    bool readAgain;  // in two passes, after the single reading
  };
  // Each log loads the same data file read once as read in two passes, with the steps shown.
  static void ExpectBothWaysAlike(const std::vector<Case>& cases) {
    const std::vector<WorkStep> twoPasses = {WorkStep::kDiscovery, WorkStep::kStatistics};
    for (const Case& c : cases) {
      std::vector<WorkStep> once;
      std::vector<WorkStep> twice;
      std::string single = Load(c.log, true, &once);
      ASSERT_FALSE(single.empty());
      EXPECT_EQ(single, Load(c.log, false, &twice)) << c.log;
      EXPECT_EQ(twice, twoPasses);
      std::vector<WorkStep> expected = {WorkStep::kReading};
      if (c.readAgain) expected.insert(expected.end(), twoPasses.begin(), twoPasses.end());
      EXPECT_EQ(once, expected) << c.log;
    }
  }
};

TEST_F(SingleReadingTest, LoadsWhatTheTwoPassesLoad) {
  const std::string sample = test::ReadFile(std::string(VEXOR_SAMPLES) + "/client-console.log");
  const std::string openArena =
      test::ReadFile(std::string(VEXOR_SAMPLES) + "/openarena-client.log");
  const std::string lateName = ClientLog({
      "CL_InitCGame: 1203 msec",
      "Alice^7 was railed by Bob^7",
      "Alice was^7 entered the game",
      "Alice^7 cratered.",
  });
  // Lines before the first game, names of colour codes alone, "Default", a team kill's mark,
  // kills of names that entered no game, several games and the names they share.
  const std::string edges = ClientLog({
      "Carl^7 entered the game",
      "Carl^7 was railed by Dora^7",
      "trying to load maps/q3dm17.bsp",
      "CL_InitCGame: 1203 msec",
      "^7^7 entered the game",
      "Default^7 was railed by Eve^7",
      "Eve^7 almost dodged ^1TEAMMATE^7 Carl^7's rocket",
      "(Eve^7)^Y: ^5gg",
      "CL_InitCGame: 1203 msec",
      "Fay^7 entered the game",
      "Carl^7 was railed by Fay^7",
      "Fay^7 cratered.",
      "CL_InitCGame: 1203 msec",
  });
  ExpectBothWaysAlike({{sample, false}, {openArena, false}, {lateName, true}, {edges, false}});
}

// Every server log of the samples and of real servers, and made-up logs of what the passes may
// read differently: a connect before the first game (the statistics pass takes the line after it
// as the connect's), players who leave and come back, kills by name of players no longer
// connected, deaths by the world, a player whose place in the game's tables comes before those
// of players who killed earlier, a game without its end.
TEST_F(SingleReadingTest, AServerLogLoadsWhatTheTwoPassesLoad) {
  std::vector<std::string> logs;
  for (const char* sample : {"server-ffa-ctf.log", "server-renames.log", "openarena-server.log",
                             "openarena-renames.log", "urt-server.log", "jka-server.log"}) {
    logs.push_back(test::ReadFile(std::string(VEXOR_SAMPLES) + "/" + sample));
  }
  for (const char* real :
       {"ioq3-dedicated-ctf.qconsole.log", "jka-japp-server-console.log", "q3-ioq3-ffa-qgames.log",
        "q3-win-bots-berserker.log", "q3-win-tdm-colorquake.log", "urt434-ts-server-games.log"}) {
    logs.push_back(test::ReadFile(std::string(VEXOR_TEST_DATA) + "/reallogs/" + real));
  }
  const std::string edges = Lines({
      Connect("0:00", 3, "Early"),
      At("0:01", "Kill: 3 3 22: Early killed Early by MOD_TRIGGER_HURT"),
      InitGame("0:00"),
      Connect("0:00", 1, "^1Alice"),
      Connect("0:01", 2, "Bob"),
      At("0:10", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
      At("0:11", "Kill: 1022 2 22: <world> killed Bob by MOD_TRIGGER_HURT"),
      At("0:12", "ClientDisconnect: 2"),
      At("0:13", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
      Connect("0:20", 4, "Bob"),
      At("0:21", "Kill: 4 1 7: Bob killed Alice by MOD_ROCKET_SPLASH"),
      Connect("0:22", 5, "Carl"),
      At("0:23", "Kill: 5 1 10: Carl killed Alice by MOD_RAILGUN"),
      At("0:24", "Kill: 1 1 7: Alice killed Alice by MOD_ROCKET_SPLASH"),
      // Connecting again without leaving starts Alice's game afresh, frags and weapons too.
      Connect("0:25", 1, "^1Alice"),
      At("3:00", "ShutdownGame:"),
      InitGame("0:00", "q3dm6"),
      Connect("0:00", 1, "Bob"),
      Connect("0:00", 2, "Bob"),
      At("0:05", "Kill: 2 1 10: Bob killed Bob by MOD_RAILGUN"),
      Connect("0:06", 3, "Carl"),
      At("0:07", "Kill: 3 1 10: Carl killed Bob by MOD_RAILGUN"),
      // Alice's name comes first: her place in the tables moves Bob's and Carl's.
      Connect("0:08", 6, "^1Alice"),
      At("0:09", "Kill: 6 3 10: Alice killed Carl by MOD_RAILGUN"),
      InitGame("0:00"),
      At("0:05", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
  });
  // Before any game, a connect whose next line starts one: only the discovery pass counts it.
  const std::string gameAfterConnect = At("0:00", "ClientConnect: 3") + "\n" + test::DuelGame(1);
  std::vector<Case> cases = {{edges, false}, {gameAfterConnect, true}};
  for (const std::string& log : logs)
    cases.push_back({log, false});
  ExpectBothWaysAlike(cases);
}

// "Alice was" is named by a variable on the obituary's line and by the log only on the next
// line: the two passes count him there, so the single reading must give way to them.
TEST_F(SingleReadingTest, AVariableNamingAPlayerBeforeTheLogDoesCountsHim) {
  test::DriverLoad load;
  load.doc.clientVarCount = 1;
  ClientVariable& railed = load.doc.clientVars[1];
  railed.name = "railed";
  railed.searchString = "PLAYER1 railed by PLAYER2";
  railed.p1Change = 1;
  railed.p1Target = 1;
  railed.p1Value = 1;
  ASSERT_TRUE(load.LoadFiles(
      {load.Write("client.log", ClientLog({"CL_InitCGame: 1203 msec", "Alice^7 was railed by Bob^7",
                                           "Alice was^7 entered the game"}))}));
  ASSERT_EQ(load.doc.nameCount, 3);
  EXPECT_EQ(load.doc.players[3].name, "Alice was");
  EXPECT_EQ(load.doc.players[3].clientVarTotals.at(1), 1);
}

}  // namespace
}  // namespace vexor
