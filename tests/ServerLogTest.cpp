// Server logs: games, players, connections, play time, teams and short games.
#include <gtest/gtest.h>

#include "TestSupport.h"

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

TEST_F(ServerLogTest, ReconnectInOneGameKeepsTheLastConnectionsSecondsAndResetsTallies) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"),
      Connect("0:00", 2, "Bob"),
      Connect("0:00", 3, "Alice"),
      At("0:10", "Kill: 2 3 7: Bob killed Alice by MOD_ROCKET"),
      At("1:00", "ClientDisconnect: 2"),
      Connect("2:00", 2, "Bob"),
      At("2:30", "ShutdownGame:"),
  })));
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(bob.totalSeconds, 90);
  EXPECT_EQ(bob.games.Get(1).seconds, 30);
  EXPECT_EQ(bob.games.Get(1).frags, 0);  // the reconnect zeroed the game's tallies
  EXPECT_EQ(bob.frags, 1);
  EXPECT_EQ(bob.gamesPlayed, 2);
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
      InitGame("0:00"), Connect("0:00", 2, "Bob"), At("0:25", "ShutdownGame:"),
      InitGame("0:00"), Connect("0:00", 2, "Bob"), At("0:26", "ShutdownGame:"),
      InitGame("0:00"),  // nobody
  })));
  EXPECT_TRUE(Game(1).shortGame);
  EXPECT_FALSE(Game(2).shortGame);
  EXPECT_TRUE(Game(3).shortGame);
  EXPECT_EQ(doc.displayedGameCount, 1);

  doc.options.hideShortGames = 0;
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"), Connect("0:00", 2, "Bob"), At("0:05", "ShutdownGame:"),
  })));
  EXPECT_FALSE(Game(1).shortGame);
  EXPECT_EQ(doc.displayedGameCount, 1);
}

TEST_F(ServerLogTest, PlayersAreMergedByKeyAcrossFiles) {
  std::string first = WriteLog("a.log", Lines({
      InitGame("0:00"), Connect("0:00", 2, "^2Bob"), At("1:00", "ShutdownGame:")}));
  std::string second = WriteLog("b.log", Lines({
      InitGame("0:00", "q3dm6"), Connect("0:00", 5, "Bob^7"), At("2:00", "ShutdownGame:")}));
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
  std::string info = At("0:00", "ClientUserinfoChanged: 2 n\\Bob\\t\\0\\model\\sarge\\") +
                     std::string(3000, 'x');
  ASSERT_TRUE(LoadText(Lines({InitGame("0:00"), At("0:00", "ClientConnect: 2"), info,
                              At("0:40", "ShutdownGame:")})));
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
      InitGame("0:00"),
      Connect("0:00", 2, "Alice"),
      At("1:00", "ClientDisconnect: 2"),
      At("1:30", "ClientDisconnect: 2"),  // a second disconnect: credited from 0:00 as logged
  })));
  EXPECT_EQ(Player("Alice").totalSeconds, 150);
  EXPECT_EQ(Player("Alice").gamesPlayed, 2);
}

}  // namespace
}  // namespace vexor
