// Server logs: games, players, connections, play time, teams and short games.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/StringPrintf.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

class ServerLogTest : public test::LoadFixture, public ::testing::Test {};

TEST_F(ServerLogTest, EmptyFileIsAServerLogWithoutGames) {
  ASSERT_TRUE(LoadText(""));
  EXPECT_FALSE(doc.serverLogAbsent);
  EXPECT_FALSE(doc.clientLogSeen);
  EXPECT_EQ(doc.gameCount, 0);
  EXPECT_EQ(doc.nameCount, 0);
}

TEST_F(ServerLogTest, GameSettingsComeFromInitGame) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00", "q3dm17", 4, 30, 20),
      At("0:00", "ShutdownGame:"),
      At("0:00", "InitGame: \\g_gametype\\3\\mapname\\q3dm6\\"),  // no limits
      At("0:00", "InitGame: \\fraglimit\\5\\timelimit\\10\\mapname\\q3tourney2"),
  })));
  EXPECT_EQ(doc.gameCount, 3);
  EXPECT_EQ(Game(1).mapName, "q3dm17");
  EXPECT_EQ(Game(1).fragLimit, 30);
  EXPECT_EQ(Game(1).timeLimit, 20);
  EXPECT_EQ(Game(1).gameTypeName, "Capture The Flag");
  EXPECT_EQ(Game(1).serverLogGame, 1);
  EXPECT_EQ(Game(2).mapName, "Unknown");
  EXPECT_EQ(Game(2).fragLimit, 0);
  EXPECT_EQ(Game(2).gameTypeName, "Team Deathmatch");
  // A map name that no backslash closes is empty; no game type is "Unknown".
  EXPECT_EQ(Game(3).mapName, "");
  EXPECT_EQ(Game(3).fragLimit, 5);
  EXPECT_EQ(Game(3).gameTypeName, "Unknown");
}

TEST_F(ServerLogTest, GameTypeNamesNeedNoServerVariablesOrTheTeamArenaSet) {
  doc.serverVarCount = 1;
  doc.serverVars[1].name = "x";
  std::string log = Lines({InitGame("0:00", "q3dm1", 4)});
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(Game(1).gameTypeName, "Unknown");
  doc.teamArenaSet = true;
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(Game(1).gameTypeName, "Capture The Flag");
}

TEST_F(ServerLogTest, SameNameInOneGameIsDisambiguatedAndFreeAgainNextGame) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:01", 2, "^1Bob"),
      Connect("0:02", 3, "Bob"),
      Connect("0:03", 4, "Bob"),
      At("0:50", "ShutdownGame:"),
      InitGame("0:00"),
      Connect("0:01", 3, "Bob"),
      At("0:50", "ShutdownGame:"),
  })));
  ASSERT_EQ(doc.nameCount, 3);
  EXPECT_EQ(doc.PlayerName(1), "Bob");
  EXPECT_EQ(doc.PlayerName(2), "Bob_1");
  EXPECT_EQ(doc.PlayerName(3), "Bob_2");
  EXPECT_EQ(Player("Bob").rawName, "^1Bob");
  EXPECT_EQ(Player("Bob_1").rawName, "Bob_1");
  // In the second game the first Bob to connect is Bob again, whatever his client number.
  EXPECT_EQ(Player("Bob").gamesPlayed, 2);
  EXPECT_EQ(Player("Bob_1").gamesPlayed, 1);
  EXPECT_EQ(Game(1).playerNumber, 3);
  EXPECT_EQ(Game(2).playerNumber, 1);
}

TEST_F(ServerLogTest, PlayTimeIsCreditedAtDisconnectAndShutdown) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("1:10", 2, "Bob"),
      Connect("1:00", 3, "Alice"),
      At("3:05", "ClientDisconnect: 2"),
      At("61:00", "ShutdownGame:"),
  })));
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(bob.totalSeconds, 115);
  EXPECT_EQ(bob.games.Get(1).seconds, 115);
  EXPECT_EQ(bob.timeText, "0h 1m 55s");
  EXPECT_EQ(bob.connectTime, "");
  EXPECT_EQ(bob.disconnectTime, "3:05");
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.totalSeconds, 3600);
  EXPECT_EQ(alice.timeText, "1h 0m 0s");
  EXPECT_EQ(alice.hours, 1);
  EXPECT_EQ(alice.connectTime, "1:00");  // shutdown leaves the connect time
  EXPECT_EQ(alice.gamesPlayed, 1);
}

// A player who leaves a game and comes back to it stays one player: the game's tallies are kept,
// the seconds of both connections added, the game counted once. Only two clients connected at
// the same time under one name are two players.
TEST(ServerLogReturnTest, AReturningPlayerStaysOnePlayer) {
  struct ReturnCase {
    const char* name;
    std::string log;
    std::vector<const char*> names;  // in player order
    int32_t bobFrags, bobSeconds, bobGames;
  };
  const std::string start =
      Lines({InitGame("0:00"), Connect("0:00", 2, "Bob"), Connect("0:00", 3, "Alice"),
             At("0:10", "Kill: 2 3 7: Bob killed Alice by MOD_ROCKET"),
             At("1:00", "ClientDisconnect: 2")});
  const std::string end = Lines(
      {At("2:10", "Kill: 4 3 7: Bob killed Alice by MOD_ROCKET"), At("2:30", "ShutdownGame:")});
  const std::vector<ReturnCase> cases = {
      {"on the same number",
       start + Lines({Connect("2:00", 2, "Bob"),
                      At("2:10", "Kill: 2 3 7: Bob killed Alice by MOD_ROCKET"),
                      At("2:30", "ShutdownGame:")}),
       {"Bob", "Alice"},
       2,
       90,
       1},
      {"on another number",
       start + Lines({Connect("2:00", 4, "Bob")}) + end,
       {"Bob", "Alice"},
       2,
       90,
       1},
      {"after a rename to a name of his own",
       Lines({InitGame("0:00"), Connect("0:00", 2, "Bobby"), Connect("0:00", 3, "Alice"),
              At("0:05", "ClientUserinfoChanged: 2 n\\Bob\\t\\0\\model\\sarge"),
              At("0:10", "Kill: 2 3 7: Bob killed Alice by MOD_ROCKET"),
              At("1:00", "ClientDisconnect: 2"), Connect("2:00", 4, "Bob")}) +
           end,
       {"Bobby", "Alice", "Bob"},
       1,
       30,
       1},
      {"two clients at once under one name",
       Lines({InitGame("0:00"), Connect("0:00", 2, "Bob"), Connect("0:00", 3, "Alice"),
              Connect("0:30", 4, "Bob")}) +
           end,
       {"Bob", "Alice", "Bob_1"},
       0,
       150,
       1},
  };
  for (const ReturnCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::LoadFixture load;
    ASSERT_TRUE(load.LoadText(c.log));
    ASSERT_EQ(load.doc.nameCount, static_cast<int32_t>(c.names.size()));
    for (size_t p = 0; p < c.names.size(); ++p) {
      EXPECT_EQ(load.doc.PlayerName(static_cast<int32_t>(p) + 1), c.names[p]);
    }
    const PlayerRecord& bob = load.Player("Bob");
    EXPECT_EQ(bob.frags, c.bobFrags);
    EXPECT_EQ(bob.games.Get(1).frags, c.bobFrags);  // the game's page and the totals agree
    EXPECT_EQ(bob.totalSeconds, c.bobSeconds);
    EXPECT_EQ(bob.games.Get(1).seconds, c.bobSeconds);
    EXPECT_EQ(bob.gamesPlayed, c.bobGames);
  }
}

// Real logs: the returning players of an ioquake3 server are one player each; bots that share
// a name while connected together stay apart.
TEST(ServerLogReturnTest, RealLogsKeepReturningPlayersWhole) {
  struct RealCase {
    const char* file;
    bool sharedNames;  // some "_1" records are right
  };
  for (RealCase c :
       {RealCase{"q3-ioq3-ffa-qgames.log", false}, RealCase{"q3-win-bots-berserker.log", true}}) {
    SCOPED_TRACE(c.file);
    test::LoadFixture load;
    ASSERT_TRUE(load.Load({std::string(VEXOR_TEST_DATA) + "/reallogs/" + c.file}));
    int32_t suffixed = 0;
    for (int32_t p = 1; p <= load.doc.nameCount; ++p) {
      if (load.doc.PlayerName(p).find("_1") != std::string::npos) ++suffixed;
    }
    EXPECT_EQ(suffixed > 0, c.sharedNames);
  }
}

TEST_F(ServerLogTest, GameWithoutShutdownEndsConnectionsAtZeroWithoutCredit) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:00", 2, "Bob"),
      InitGame("5:00"),
      At("6:00", "ShutdownGame:"),
  })));
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(bob.disconnectTime, "0:00");
  EXPECT_EQ(bob.totalSeconds, 0);
  EXPECT_EQ(bob.gamesPlayed, 0);
}

TEST_F(ServerLogTest, ConnectWithoutNameLineCreatesNoPlayerAndConsumesTheLine) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      At("0:01", "ClientConnect: 2"),
      At("0:01", "InitGame: \\mapname\\eaten\\fraglimit\\1\\timelimit\\1\\"),
      At("0:02", "ClientConnect: 3"),
  })));
  EXPECT_EQ(doc.nameCount, 0);
  EXPECT_EQ(doc.playerCount, 0);
  EXPECT_EQ(doc.gameCount, 1);  // the InitGame after the connect was consumed by it
}

TEST_F(ServerLogTest, RenameDuringGameIsIgnored) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:00", 2, "Bob"),
      At("0:05", "ClientUserinfoChanged: 2 n\\Robert\\t\\0\\model\\sarge"),
      At("0:50", "ShutdownGame:"),
  })));
  EXPECT_EQ(doc.nameCount, 1);
  EXPECT_EQ(Player("Bob").totalSeconds, 50);
}

TEST_F(ServerLogTest, TeamComesFromTheModelInTheNameLine) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00", "q3dm1", 3),
      Connect("0:00", 0, "Red", "conni/red"),
      Connect("0:00", 1, "Blue", "xaero/blue"),
      Connect("0:00", 2, "None", "sarge"),
  })));
  EXPECT_EQ(Player("Red").games.Get(1).team, 2);
  EXPECT_EQ(Player("Blue").games.Get(1).team, 1);
  EXPECT_EQ(Player("None").games.Get(1).team, 0);
}

TEST_F(ServerLogTest, ShortGamesAreHiddenAtTheThreshold) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"), Connect("0:00", 2, "Bob"), At("0:25", "ShutdownGame:"), InitGame("0:00"),
      Connect("0:00", 2, "Bob"), At("0:26", "ShutdownGame:"),
      InitGame("0:00"),  // nobody
  })));
  EXPECT_TRUE(Game(1).shortGame);
  EXPECT_FALSE(Game(2).shortGame);
  EXPECT_TRUE(Game(3).shortGame);
  EXPECT_EQ(doc.displayedGameCount, 1);

  doc.options.hideShortGames = 0;
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:00", 2, "Bob"),
      At("0:05", "ShutdownGame:"),
  })));
  EXPECT_FALSE(Game(1).shortGame);
  EXPECT_EQ(doc.displayedGameCount, 1);
}

TEST_F(ServerLogTest, PlayersAreMergedByKeyAcrossFiles) {
  std::string first = WriteLog(
      "a.log", Lines({InitGame("0:00"), Connect("0:00", 2, "^2Bob"), At("1:00", "ShutdownGame:")}));
  std::string second = WriteLog(
      "b.log",
      Lines({InitGame("0:00", "q3dm6"), Connect("0:00", 5, "Bob^7"), At("2:00", "ShutdownGame:")}));
  ASSERT_TRUE(Load({first, second}));
  EXPECT_EQ(doc.gameCount, 2);
  EXPECT_EQ(doc.nameCount, 1);
  EXPECT_EQ(Player("Bob").totalSeconds, 180);
  EXPECT_EQ(Player("Bob").gamesPlayed, 2);
  EXPECT_EQ(Game(2).mapName, "q3dm6");
  EXPECT_EQ(doc.currentGame, 2);
}

TEST_F(ServerLogTest, ClientLogIsRecognisedByItsFirstLine) {
  ASSERT_TRUE(LoadText("logfile opened on Sun Jan  1 00:00:00 2006\n"));
  EXPECT_TRUE(doc.clientLogSeen);
  EXPECT_TRUE(doc.serverLogAbsent);
  ASSERT_TRUE(LoadText("some line\nlogfile opened\n"));
  EXPECT_FALSE(doc.clientLogSeen);
  EXPECT_FALSE(doc.serverLogAbsent);
}

TEST_F(ServerLogTest, MissingFileFailsAndEmptyPathShowsBadGamesLog) {
  EXPECT_FALSE(Load({folder.File("missing.log")}));
  selection.selectedLogPath = "x.log";
  LogAnalysis analysis(doc, selection, prompter);
  doc.currentLogPath.clear();
  EXPECT_FALSE(analysis.AnalyseCurrentLog(true));
  ASSERT_EQ(prompter.Messages().size(), 1u);
  EXPECT_EQ(prompter.Messages()[0].text, "Bad Games.Log");
  EXPECT_EQ(prompter.Messages()[0].caption, "Warning!");
  EXPECT_EQ(selection.selectedLogPath, "");
  EXPECT_TRUE(analysis.AnalyseCurrentLog(false));
}

TEST_F(ServerLogTest, LongLinesAreCutIntoPiecesThatAreHandledAlone) {
  // The user-information line is longer than 1022: its piece still carries the name.
  std::string info =
      At("0:00", "ClientUserinfoChanged: 2 n\\Bob\\t\\0\\model\\sarge\\") + std::string(3000, 'x');
  ASSERT_TRUE(LoadText(Lines(
      {InitGame("0:00"), At("0:00", "ClientConnect: 2"), info, At("0:40", "ShutdownGame:")})));
  EXPECT_EQ(Player("Bob").totalSeconds, 40);
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

TEST_F(ServerLogTest, AReusedClientNumberCreditsTheConnectedPlayer) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:00", 2, "Alice"),
      At("1:00", "ClientDisconnect: 2"),
      Connect("2:00", 2, "Bob"),
      At("3:00", "ClientDisconnect: 2"),
      At("10:00", "ShutdownGame:"),
  })));
  EXPECT_EQ(Player("Alice").totalSeconds, 60);
  EXPECT_EQ(Player("Alice").gamesPlayed, 1);
  EXPECT_EQ(Player("Bob").totalSeconds, 60);
  EXPECT_EQ(Player("Bob").gamesPlayed, 1);
}

TEST_F(ServerLogTest, ADisconnectWithoutAnOpenConnectionGoesToTheFirstHolder) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"), Connect("0:00", 2, "Alice"), At("1:00", "ClientDisconnect: 2"),
      At("1:30", "ClientDisconnect: 2"),  // a second disconnect: credited from 0:00 as logged
  })));
  EXPECT_EQ(Player("Alice").totalSeconds, 150);
  EXPECT_EQ(Player("Alice").gamesPlayed, 2);
}

// OpenArena logs a bot's user information before its connect line; the line after the connect
// ("ClientBegin:", "Info:", "Playerstore:") names nobody.
std::string BotConnect(std::string_view clock, int client, std::string_view rawName,
                       std::string_view next, std::string_view model = "sarge") {
  std::string info =
      At(clock, StringPrintf("ClientUserinfoChanged: %d n\\%.*s\\t\\0\\model\\%.*s"
                             "\\hmodel\\sarge\\c1\\1\\c2\\5\\hc\\100\\w\\0\\l\\0"
                             "\\skill\\ 2.00\\tt\\0\\tl\\0\\id\\",
                             client, static_cast<int>(rawName.size()), rawName.data(),
                             static_cast<int>(model.size()), model.data()));
  return Lines({info, At(clock, StringPrintf("ClientConnect: %d", client)), At(clock, next)});
}

TEST_F(ServerLogTest, OpenArenaBotsAreNamedByTheUserInformationBeforeTheirConnect) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00", "oasago2", 3),
      BotConnect("0:00", 1, "Sarge", "ClientBegin: 1", "sarge/blue"),
      BotConnect("0:00", 2, "^1Gr^7ism", "Playerstore: 2 restored"),
      Connect("0:05", 0, "Human"),  // a human's user information follows his connect
      At("0:05", "ClientBegin: 0"),
      BotConnect("0:10", 3, "Angelyss", "Info: 3 joined the red team"),
      At("0:20", "Kill: 1 2 10: Sarge killed ^1Gr^7ism by MOD_RAILGUN"),
      At("0:30", "Kill: 2 0 23: ^1Gr^7ism killed Human by MOD_NAIL"),
      At("0:40", "Kill: 3 1 7: Angelyss killed Sarge by MOD_ROCKET_SPLASH"),
      At("1:10", "ClientDisconnect: 3"),
      At("2:00", "ShutdownGame:"),
  })));
  // Both passes find the same names in the same order.
  ASSERT_EQ(doc.nameCount, 4);
  ASSERT_EQ(doc.playerCount, 4);
  const char* order[] = {"", "Sarge", "Grism", "Human", "Angelyss"};
  for (int32_t k = 1; k <= 4; ++k) {
    EXPECT_EQ(doc.PlayerName(k), order[k]);
    EXPECT_EQ(doc.players[static_cast<size_t>(k)].name, order[k]);
  }
  EXPECT_EQ(Player("Grism").rawName, "^1Gr^7ism");
  EXPECT_FALSE(Game(1).shortGame);
  const PlayerRecord& sarge = Player("Sarge");
  EXPECT_EQ(sarge.frags, 1);
  EXPECT_EQ(sarge.deaths, 1);
  EXPECT_EQ(sarge.weaponFrags[Index(Weapon::kRailgun)], 1);
  EXPECT_EQ(sarge.totalSeconds, 120);
  EXPECT_EQ(sarge.games.Get(1).team, 1);  // from the line before the connect
  EXPECT_EQ(Player("Grism").frags, 1);    // a nailgun frag: no weapon of the nine
  EXPECT_EQ(Player("Grism").weaponFrags[Index(Weapon::kRailgun)], 0);
  EXPECT_EQ(Player("Human").deaths, 1);
  EXPECT_EQ(Player("Angelyss").totalSeconds, 60);
  EXPECT_EQ(Player("Angelyss").weaponFrags[Index(Weapon::kRocket)], 1);
  // Sarge (position 0) fragged Grism (1); Angelyss (3) fragged Sarge.
  EXPECT_EQ(Game(1).kills.Get(KillTables::kAllWeapons, 0, 1), 1);
  EXPECT_EQ(Game(1).kills.Get(KillTables::kAllWeapons, 1, 2), 1);
  EXPECT_EQ(Game(1).kills.Get(KillTables::kAllWeapons, 3, 0), 1);
}

TEST_F(ServerLogTest, OnlyTheSameClientsUserInformationDirectlyBeforeAConnectNamesIt) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::vector<std::string> names;  // in the order both passes find them
  };
  const std::string sarge =
      At("0:00", "ClientUserinfoChanged: 3 n\\Sarge\\t\\0\\model\\sarge\\id\\");
  const Case cases[] = {
      {"the same client",
       {sarge, At("0:00", "ClientConnect: 3"), At("0:00", "ClientBegin: 3")},
       {"Sarge"}},
      {"another client", {sarge, At("0:00", "ClientConnect: 4"), At("0:00", "ClientBegin: 4")}, {}},
      {"a client number that only ends alike",
       {At("0:00", "ClientUserinfoChanged: 13 n\\Sarge\\t\\0\\model\\sarge\\id\\"),
        At("0:00", "ClientConnect: 3"), At("0:00", "ClientBegin: 3")},
       {}},
      {"a line between",
       {sarge, At("0:00", "Item: 3 weapon_shotgun"), At("0:00", "ClientConnect: 3"),
        At("0:00", "ClientBegin: 3")},
       {}},
      {"a name after the connect still wins",
       {sarge, At("0:00", "ClientConnect: 3"),
        At("0:00", "ClientUserinfoChanged: 3 n\\Major\\t\\0\\model\\major\\id\\")},
       {"Major"}},
      {"colour codes alone name nobody",
       {At("0:00", "ClientUserinfoChanged: 3 n\\^1^7\\t\\0\\model\\sarge\\id\\"),
        At("0:00", "ClientConnect: 3"), At("0:00", "ClientBegin: 3")},
       {}},
      {"a connect that ends the log", {sarge, At("0:00", "ClientConnect: 3")}, {"Sarge"}},
      // The line a connect consumed is still the line before the next one.
      {"a reconnect after a consumed line",
       {At("0:00", "ClientConnect: 3"), sarge, At("0:05", "ClientConnect: 3"),
        At("0:05", "ClientBegin: 3")},
       {"Sarge"}},
      // OpenArena may write the next client's user information right after a connect.
      {"another client's user information after the connect",
       {sarge, At("0:00", "ClientConnect: 3"),
        At("0:00", "ClientUserinfoChanged: 0 n\\RedSarge\\t\\0\\model\\sarge\\id\\"),
        At("0:00", "ClientConnect: 0"), At("0:00", "ClientBegin: 0")},
       {"Sarge", "RedSarge"}},
      {"another client's user information and none before",
       {At("0:00", "ClientConnect: 5"),
        At("0:00", "ClientUserinfoChanged: 0 n\\RedSarge\\t\\0\\model\\sarge\\id\\"),
        At("0:00", "ClientBegin: 5")},
       {}},
      {"two bots in a row",
       {sarge, At("0:00", "ClientConnect: 3"), At("0:00", "ClientBegin: 3"),
        At("0:00", "ClientUserinfoChanged: 4 n\\Grism\\t\\0\\model\\grism\\id\\"),
        At("0:00", "ClientConnect: 4"), At("0:00", "ClientBegin: 4")},
       {"Sarge", "Grism"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string log = InitGame("0:00") + "\n";
    for (const std::string& line : c.lines)
      log += line + "\n";
    ASSERT_TRUE(LoadText(log));
    ASSERT_EQ(doc.nameCount, static_cast<int32_t>(c.names.size()));
    ASSERT_EQ(doc.playerCount, doc.nameCount);
    for (size_t k = 0; k < c.names.size(); ++k) {
      int32_t n = static_cast<int32_t>(k) + 1;
      EXPECT_EQ(doc.PlayerName(n), c.names[k]);
      EXPECT_EQ(doc.players[static_cast<size_t>(n)].name, c.names[k]);
      EXPECT_EQ(doc.players[static_cast<size_t>(n)].games.Get(1).seconds, 1);
    }
  }
}

}  // namespace
}  // namespace vexor
