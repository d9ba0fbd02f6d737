// Client console logs: games, maps, player entries, obituaries and suicide messages, and client
// logs loaded together with server logs.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/StringPrintf.h"

namespace vexor {
namespace {

using test::At;
using test::ClientLog;
using test::Connect;
using test::InitGame;
using test::Lines;

constexpr int kAll = KillTables::kAllWeapons;

class ClientLogTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // One game that Alice (position 0) and Bob (position 1) entered, then the given line.
  void LoadDuel(std::string_view line) {
    ASSERT_TRUE(LoadText(ClientLog(
        {"CL_InitCGame: 1203 msec", "Alice^7 entered the game", "Bob^7 entered the game", line})));
  }
  int32_t WeaponFragSum(const PlayerRecord& player) const {
    int32_t sum = 0;
    for (int32_t count : player.weaponFrags)
      sum += count;
    return sum;
  }
};

TEST_F(ClientLogTest, EveryObituaryCountsFragDeathWeaponAndKillTables) {
  struct Case {
    const char* line;
    std::optional<Weapon> weapon;
  };
  const Case cases[] = {
      {"Bob^7 was machinegunned by Alice^7", Weapon::kMachinegun},
      {"Bob^7 was pummeled by Alice^7", Weapon::kGauntlet},
      {"Bob^7 was gunned down by Alice^7", Weapon::kShotgun},
      {"Bob^7 was melted by Alice^7's plasmagun", Weapon::kPlasma},
      {"Bob^7 was railed by Alice^7", Weapon::kRailgun},
      {"Bob^7 was caught by Alice^7", std::nullopt},
      {"Bob^7 was shredded by Alice^7's shrapnel", std::nullopt},
      {"Bob^7 was electrocuted by Alice^7", Weapon::kLightning},
      {"Bob^7 was blasted by Alice^7's BFG", Weapon::kBfg},
      {"Bob^7 was killed by Alice^7", std::nullopt},
      {"Bob^7 almost dodged Alice^7's rocket", Weapon::kRocket},
      {"Bob^7 ate Alice^7's rocket", Weapon::kRocket},
      {"Bob^7 ate Alice^7's grenade", Weapon::kGrenade},
      {"Bob^7 tried to invade Alice^7's personal space", std::nullopt},
      // Team Arena's weapons and OpenArena's pushes: frags, none with one of the nine weapons.
      {"Bob^7 was nailed by Alice^7", std::nullopt},
      {"Bob^7 got lead poisoning from Alice^7's Chaingun", std::nullopt},
      {"Bob^7 was too close to Alice^7's Prox Mine", std::nullopt},
      {"Bob^7 falls to Alice^7's Kamikaze blast", std::nullopt},
      {"Bob^7 was juiced by Alice^7", std::nullopt},
      {"Bob^7 was given a hot bath by Alice^7", std::nullopt},
      {"Bob^7 was given a acid bath by Alice^7", std::nullopt},
      {"Bob^7 was given a small push by Alice^7", std::nullopt},
      {"Bob^7 was helped on the way by Alice^7", std::nullopt},
      {"Bob^7 was crushed in Alice^7's trap", std::nullopt},
      // A team kill's mark is no part of the killer's name.
      {"Bob^7 was killed by ^1TEAMMATE^7 Alice^7", std::nullopt},
      {"Bob^7 was railed by ^1TEAMMATE^7 Alice^7", Weapon::kRailgun},
      {"Bob^7 almost dodged ^1TEAMMATE^7 Alice^7's rocket", Weapon::kRocket},
      {"Bob^7 got lead poisoning from ^1TEAMMATE^7 Alice^7's Chaingun", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    // The obituary alone creates both players: Alice (killer, position 0), then Bob.
    ASSERT_TRUE(LoadText(ClientLog({"CL_InitCGame: 1203 msec", c.line})));
    ASSERT_EQ(doc.nameCount, 2);
    const PlayerRecord& alice = Player("Alice");
    const PlayerRecord& bob = Player("Bob");
    EXPECT_EQ(alice.rawName, "Alice");  // what the message prints after the name is cut off
    EXPECT_EQ(bob.rawName, "Bob");
    EXPECT_EQ(alice.gamesPlayed, 1);
    EXPECT_EQ(bob.gamesPlayed, 1);
    EXPECT_EQ(alice.frags, 1);
    EXPECT_EQ(alice.games.Get(1).frags, 1);
    EXPECT_EQ(alice.deaths, 0);
    EXPECT_EQ(bob.deaths, 1);
    EXPECT_EQ(bob.games.Get(1).deaths, 1);
    EXPECT_EQ(bob.frags, 0);
    EXPECT_EQ(Game(1).kills.Get(kAll, 0, 1), 1);
    EXPECT_EQ(WeaponFragSum(alice), c.weapon ? 1 : 0);
    if (c.weapon) {
      EXPECT_EQ(alice.weaponFrags[Index(*c.weapon)], 1);
      EXPECT_EQ(alice.games.Get(1).weaponFrags[Index(*c.weapon)], 1);
      EXPECT_EQ(Game(1).kills.Get(KillTables::TableOf(*c.weapon), 0, 1), 1);
    }
  }
}

TEST_F(ClientLogTest, EverySuicideMessageCountsOneSuicideOnTheDiagonal) {
  const char* messages[] = {
      "suicides",
      "cratered",
      "was squished",
      "sank like a rock",
      "melted",
      "does a back flip into the lava",
      "saw the light",
      "was in the wrong place",
      "tripped on her own grenade",
      "tripped on his own grenade",
      "tripped on its own grenade",
      "blew herself up",
      "blew himself up",
      "blew itself up",
      "melted herself",
      "melted himself",
      "melted itself",
      "killed herself",
      "killed himself",
      "killed itself",
      "should have used a smaller gun",
      "found her prox mine",
      "found his prox mine",
      "found its prox mine",
      "found it's prox mine",
      "goes out with a bang",
  };
  for (const char* message : messages) {
    std::string line = StringPrintf("Bob^7 %s.", message);
    SCOPED_TRACE(line);
    LoadDuel(line);
    ASSERT_EQ(doc.nameCount, 2);
    const PlayerRecord& bob = Player("Bob");
    EXPECT_EQ(bob.suicides, 1);
    EXPECT_EQ(bob.games.Get(1).suicides, 1);
    EXPECT_EQ(bob.deaths, 0);
    EXPECT_EQ(bob.frags, 0);
    EXPECT_EQ(WeaponFragSum(bob), 0);
    EXPECT_EQ(Game(1).kills.Get(kAll, 1, 1), 1);
  }
}

TEST_F(ClientLogTest, LinesThatAreNoObituaryCountNothing) {
  const char* lines[] = {
      "Bob^7 was fragged by Alice^7",        // unknown verb
      "Stand by me^7 ate Alice^7's rocket",  // " by " allows only the "was ... by" forms
      "Bob^7 was railed by ^7",              // empty killer text
      "^7 was railed by Alice^7",            // empty victim text
      "Bob^7 ate a rocket",                  // no killer
      "Alice^7: rocket",
      "Bob^7 was too close to the Prox Mine",  // no killer before "'s Prox Mine"
      "Bob^7 was killed by ^1TEAMMATE^7 ^7",   // the mark alone names nobody
      "Bob^7 was crushed in Alice^7's car",
      "x",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    LoadDuel(line);
    EXPECT_EQ(doc.nameCount, 2);
    EXPECT_EQ(Player("Alice").frags, 0);
    EXPECT_EQ(Player("Bob").deaths, 0);
    EXPECT_EQ(Player("Bob").suicides, 0);
  }
}

TEST_F(ClientLogTest, ColourCodeOnlyNamesNeverBecomeNamesOrRecords) {
  ASSERT_TRUE(LoadText(ClientLog({
      "CL_InitCGame: 1203 msec",
      "^7^7 entered the game",
      "^1^7 was railed by Alice^7",
      "Bob^7 was railed by ^2^7",
      "^3^7 melted himself.",
      "Bob^7 entered the game",
  })));
  ASSERT_EQ(doc.nameCount, 2);
  EXPECT_EQ(doc.PlayerName(1), "Alice");
  EXPECT_EQ(doc.PlayerName(2), "Bob");
  ExpectRecordsMatchNames();
  // The other side of each obituary still counts.
  EXPECT_EQ(Player("Alice").frags, 1);
  EXPECT_EQ(Player("Bob").deaths, 1);
  EXPECT_EQ(Game(1).playerNumber, 2);
}

TEST_F(ClientLogTest, EntriesCountGamesPlayedAndDefaultIsNeverAPlayer) {
  ASSERT_TRUE(LoadText(ClientLog({
      "Carl^7 entered the game",  // before the first game start: nobody
      "CL_InitCGame: 1203 msec",
      "^1Bob^7 entered the game",
      "Bob^7 entered the game",  // the same key again in the same game
      "Default^7 entered the game",
      "Default^7 was railed by Bob^7",
      "CL_InitCGame: 1203 msec",
      "Bob^7 entered the game",
  })));
  ASSERT_EQ(doc.nameCount, 1);
  ExpectRecordsMatchNames();
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(bob.rawName, "^1Bob");
  EXPECT_EQ(bob.gamesPlayed, 2);
  EXPECT_EQ(bob.games.Get(1).seconds, 1);
  EXPECT_EQ(bob.games.Get(2).seconds, 1);
  EXPECT_EQ(bob.frags, 1);  // the frag counts, the victim "Default" does not exist
  EXPECT_EQ(bob.clientSlot, "");
  EXPECT_EQ(bob.totalSeconds, 0);
  EXPECT_EQ(doc.gameCount, 2);
  EXPECT_EQ(Game(1).playerNumber, 1);
}

TEST_F(ClientLogTest, MapLoadNamesTheGameThatStartsNext) {
  std::string first = WriteLog(
      "first.log",
      ClientLog({
          "trying to load maps/q3dm17.bsp", "CL_InitCGame: 1203 msec", "CL_InitCGame: 1203 msec",
          "trying to load maps/q3tourney2.bsp",  // the file ends before its game starts
      }));
  std::string second = WriteLog("second.log", ClientLog({"CL_InitCGame: 1203 msec"}));
  ASSERT_TRUE(Load({first, second}));
  ASSERT_EQ(doc.gameCount, 3);
  EXPECT_EQ(Game(1).mapName, "q3dm17");
  EXPECT_EQ(Game(2).mapName, "Unknown");
  EXPECT_EQ(Game(3).mapName, "q3tourney2");
  for (int32_t g = 1; g <= 3; ++g) {
    EXPECT_EQ(Game(g).serverLogGame, 0);
    EXPECT_EQ(Game(g).gameTypeName, "Unknown");
    EXPECT_FALSE(Game(g).shortGame);
  }
  EXPECT_EQ(doc.displayedGameCount, 3);
  EXPECT_TRUE(doc.clientLogSeen);
  EXPECT_TRUE(doc.serverLogAbsent);
}

TEST_F(ClientLogTest, LinesBeforeTheFirstGameStartCountInTheCurrentGame) {
  std::string server = WriteLog("games.log", Lines({
                                                 InitGame("0:00"),
                                                 Connect("0:01", 2, "Alice"),
                                                 Connect("0:02", 3, "Bob"),
                                                 At("1:00", "ShutdownGame:"),
                                             }));
  // The client log begins inside the server's game: its first lines count there.
  std::string client = WriteLog("qconsole.log", ClientLog({
                                                    "Bob^7 was railed by Alice^7",
                                                    "CL_InitCGame: 1203 msec",
                                                    "Alice^7 entered the game",
                                                }));
  ASSERT_TRUE(Load({server, client}));
  ASSERT_EQ(doc.gameCount, 2);
  ExpectRecordsMatchNames();
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.games.Get(1).frags, 1);
  EXPECT_EQ(alice.games.Get(1).weaponFrags[Index(Weapon::kRailgun)], 1);
  EXPECT_EQ(Game(1).kills.Get(kAll, 0, 1), 1);
  EXPECT_EQ(alice.gamesPlayed, 2);  // the server game and the client game
  EXPECT_EQ(Game(2).playerNumber, 1);
}

TEST_F(ClientLogTest, LinesBeforeAnyGameCountInGameZeroButNotInItsKillTable) {
  ASSERT_TRUE(LoadText(
      ClientLog({"Alice^7 cratered.", "Bob^7 was railed by Alice^7", "CL_InitCGame: 1203 msec"})));
  ExpectRecordsMatchNames();
  EXPECT_EQ(Player("Alice").suicides, 1);
  EXPECT_EQ(Player("Alice").games.Get(0).suicides, 1);
  EXPECT_EQ(Player("Alice").games.Get(0).frags, 1);
  EXPECT_EQ(Player("Bob").deaths, 1);
  EXPECT_EQ(Game(0).kills.Get(kAll, 0, 0), 0);
  EXPECT_EQ(Game(0).kills.Get(kAll, 0, 1), 0);
  EXPECT_EQ(doc.gameCount, 1);
}

TEST_F(ClientLogTest, ClientAndServerLogsShareGamesAndPlayers) {
  std::string client = WriteLog("qconsole.log", ClientLog({
                                                    "trying to load maps/q3dm6.bsp",
                                                    "CL_InitCGame: 1203 msec",
                                                    "Carl^7 entered the game",
                                                    "Alice^7 entered the game",
                                                    "Alice^7 was railed by Carl^7",
                                                }));
  std::string server =
      WriteLog("games.log", Lines({
                                InitGame("0:00", "q3dm17"),
                                Connect("0:01", 2, "Alice"),
                                Connect("0:02", 3, "Bob"),
                                At("0:30", "Kill: 2 3 10: Alice killed Bob by MOD_RAILGUN"),
                                At("1:00", "ShutdownGame:"),
                            }));
  ASSERT_TRUE(Load({client, server}));
  ASSERT_EQ(doc.gameCount, 2);
  ASSERT_EQ(doc.nameCount, 3);
  ExpectRecordsMatchNames();
  EXPECT_EQ(Game(1).mapName, "q3dm6");
  EXPECT_EQ(Game(1).serverLogGame, 0);
  EXPECT_EQ(Game(2).mapName, "q3dm17");
  EXPECT_EQ(Game(2).serverLogGame, 1);
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.deaths, 1);
  EXPECT_EQ(alice.frags, 1);
  EXPECT_EQ(alice.gamesPlayed, 2);
  EXPECT_EQ(Player("Carl").weaponFrags[Index(Weapon::kRailgun)], 1);
  // Game 1: Carl (name 1) position 0, Alice (name 2) position 1; game 2: Alice 0, Bob 1.
  EXPECT_EQ(Game(1).kills.Get(kAll, 0, 1), 1);
  EXPECT_EQ(Game(2).kills.Get(kAll, 0, 1), 1);
  EXPECT_EQ(doc.presence.Get(1, 3), 0);
  EXPECT_EQ(doc.presence.Get(2, 1), 0);
}

TEST_F(ClientLogTest, LogThatChangedBetweenThePassesKeepsRecordsPairedWithNames) {
  std::string path =
      WriteLog("qconsole.log", ClientLog({"CL_InitCGame: 1", "Alice^7 entered the game"}));
  doc.ResetForLoad();
  LogAnalysis analysis(doc, selection, prompter);
  doc.currentLogPath = path;
  ASSERT_TRUE(analysis.AnalyseLogFile(true));
  doc.PrepareStatistics();
  // The game went on writing: a player the discovery pass never saw comes first now.
  WriteLog("qconsole.log", ClientLog({"CL_InitCGame: 1", "Carl^7 entered the game",
                                      "Carl^7 was railed by Alice^7", "Alice^7 entered the game"}));
  ASSERT_TRUE(analysis.AnalyseCurrentLog(true));
  ASSERT_EQ(doc.nameCount, 1);
  ExpectRecordsMatchNames();
  EXPECT_EQ(Player("Alice").frags, 1);
  EXPECT_EQ(doc.players[2].name, "");
}

TEST_F(ClientLogTest, NamesStopAt2500AndRecordsStayPairedWithNames) {
  std::string log = "logfile opened\nCL_InitCGame: 1203 msec\n";
  for (int i = 0; i < 2510; ++i)
    log += StringPrintf("P%d^7 entered the game\n", i);
  log += "P2505^7 was railed by P0^7\n";  // a name beyond the limit: only the killer counts
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(doc.nameCount, VexoriumDoc::kMaxPlayers);
  ExpectRecordsMatchNames();
  EXPECT_EQ(Player("P0").frags, 1);
  EXPECT_EQ(Game(1).playerNumber, VexoriumDoc::kMaxPlayers);
}

TEST_F(ClientLogTest, MapLoadAfterTheLastGameRecordIsNotStored) {
  std::string log = "logfile opened\n";
  for (int i = 0; i < VexoriumDoc::kMaxGames; ++i)
    log += "CL_InitCGame: 1203 msec\n";
  log += "trying to load maps/q3dm17.bsp\nCL_InitCGame: 1203 msec\n";
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(doc.gameCount, VexoriumDoc::kMaxGames + 1);  // counted; the driver refuses it
  EXPECT_EQ(Game(VexoriumDoc::kMaxGames).mapName, "Unknown");
}

}  // namespace
}  // namespace vexor
