// Summing games into groups after a load.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "stats/GameSumming.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;

class GameSummingTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // n games of 60 s; in game g Alice frags Bob g times; Bob plays only the odd games.
  void LoadGames(int n) {
    std::string log;
    for (int g = 1; g <= n; ++g) {
      log += InitGame("0:00", "map" + std::to_string(g), g % 2 == 0 ? 3 : 0, g, 10 + g) + "\n";
      log += Connect("0:00", 1, "Alice", "xaero/blue") + "\n";
      if (g % 2 == 1) log += Connect("0:00", 2, "Bob", "conni/red") + "\n";
      for (int k = 0; k < g; ++k) {
        if (g % 2 == 1) log += At("0:10", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN") + "\n";
      }
      log += At("1:00", "ShutdownGame:") + "\n";
    }
    ASSERT_TRUE(LoadText(log));
  }
  void Sum(int size, int start) {
    doc.options.sumGames = 1;
    doc.options.groupSize = size;
    doc.options.groupStart = start;
    SumGames(doc);
  }
};

TEST_F(GameSummingTest, SevenGamesInGroupsOfThree) {
  LoadGames(7);
  Sum(3, 1);
  ASSERT_EQ(doc.gameCount, 3);
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.games.Get(1).frags, 1 + 3);  // games 1-3 (game 2 has no Bob)
  EXPECT_EQ(alice.games.Get(2).frags, 5);      // games 4-6
  EXPECT_EQ(alice.games.Get(3).frags, 7);      // game 7
  EXPECT_EQ(alice.games.Get(1).seconds, 180);
  EXPECT_EQ(alice.gamesPlayed, 3);
  EXPECT_EQ(Player("Bob").gamesPlayed, 3);  // one odd game in each group
  // Settings: the largest limits, the last game's map and type.
  EXPECT_EQ(Game(1).fragLimit, 3);
  EXPECT_EQ(Game(1).timeLimit, 13);
  EXPECT_EQ(Game(1).mapName, "map3");
  EXPECT_EQ(Game(2).mapName, "map6");
  EXPECT_EQ(Game(2).gameTypeName, "Team Deathmatch");
  EXPECT_EQ(Game(1).playerNumber, 2);
  EXPECT_EQ(doc.displayedGameCount, 3);
}

TEST_F(GameSummingTest, GamesBeforeTheStartStaySingle) {
  LoadGames(8);
  Sum(2, 3);
  ASSERT_EQ(doc.gameCount, 5);
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.games.Get(1).frags, 1);
  EXPECT_EQ(alice.games.Get(2).frags, 0);
  EXPECT_EQ(alice.games.Get(3).frags, 3);  // games 3-4
  EXPECT_EQ(alice.games.Get(4).frags, 5);  // games 5-6
  EXPECT_EQ(alice.games.Get(5).frags, 7);  // games 7-8
  EXPECT_EQ(Game(2).mapName, "map2");
  // Kill tables of single games are kept; those of groups are empty.
  EXPECT_EQ(Game(1).kills.Get(KillTables::kAllWeapons, 0, 1), 1);
  EXPECT_FALSE(Game(3).kills.AnyPositive(KillTables::kAllWeapons));
}

TEST_F(GameSummingTest, PerHourValuesAreTheMeanOverTheGroupAndTeamTheLastGames) {
  LoadGames(2);
  EXPECT_EQ(Player("Bob").games.Get(1).team, 2);
  float first = Player("Alice").games.Get(1).fragsPerHour;
  float second = Player("Alice").games.Get(2).fragsPerHour;
  EXPECT_GT(first, 0.0f);
  EXPECT_EQ(second, 0.0f);  // no Bob in game 2: no frags
  Sum(2, 1);
  EXPECT_EQ(Player("Alice").games.Get(1).fragsPerHour, (first + second) / 2.0f);
  EXPECT_EQ(Player("Bob").games.Get(1).team, 0);  // absent from the group's last game
  EXPECT_EQ(Player("Alice").games.Get(1).team, 1);
}

TEST_F(GameSummingTest, OversizedGroupShrinksTheOptionAndOddStartsAreSafe) {
  LoadGames(4);
  Sum(10, 1);
  EXPECT_EQ(doc.options.groupSize, 4);
  EXPECT_EQ(doc.gameCount, 1);

  LoadGames(4);
  Sum(2, 0);  // read as 1
  EXPECT_EQ(doc.gameCount, 2);

  LoadGames(4);
  Sum(2, 9);  // nothing to group
  EXPECT_EQ(doc.gameCount, 4);

  LoadGames(4);
  doc.options.sumGames = 0;
  doc.options.groupSize = 2;
  SumGames(doc);
  EXPECT_EQ(doc.gameCount, 4);
}

}  // namespace
}  // namespace vexor
