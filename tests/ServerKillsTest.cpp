// Server-log kills: frags, deaths, suicides, weapons and the games' kill tables.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

class ServerKillsTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // One game with Alice (client 2) and Bob (client 3), then the given lines.
  void LoadGame(std::initializer_list<std::string_view> events) {
    std::string log = InitGame("0:00") + "\n" + Connect("0:00", 2, "Alice") + "\n" +
                      Connect("0:00", 3, "^4Bob") + "\n";
    for (std::string_view event : events) log += At("0:30", event) + "\n";
    log += At("5:00", "ShutdownGame:") + "\n";
    ASSERT_TRUE(LoadText(log));
  }
  int32_t Kills(int table, int killer, int victim) const {
    return Game(1).kills.Get(table, killer, victim);
  }
  static constexpr int kAll = KillTables::kAllWeapons;
};

TEST_F(ServerKillsTest, FragCountsForKillerVictimWeaponAndTables) {
  LoadGame({"Kill: 2 3 10: Alice killed ^4Bob by MOD_RAILGUN"});
  const PlayerRecord& alice = Player("Alice");
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(alice.frags, 1);
  EXPECT_EQ(alice.games.Get(1).frags, 1);
  EXPECT_EQ(bob.deaths, 1);
  EXPECT_EQ(bob.games.Get(1).deaths, 1);
  EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRailgun)], 1);
  EXPECT_EQ(alice.games.Get(1).weaponFrags[Index(Weapon::kRailgun)], 1);
  EXPECT_EQ(Kills(kAll, 0, 1), 1);
  EXPECT_EQ(Kills(KillTables::TableOf(Weapon::kRailgun), 0, 1), 1);
  EXPECT_EQ(Game(1).kills.Size(), 3);  // player number 2: positions 0 to 2
}

TEST_F(ServerKillsTest, SplashCountsAsTheWeaponAndUnknownMeansCountNoWeapon) {
  LoadGame({"Kill: 2 3 7: Alice killed Bob by MOD_ROCKET_SPLASH",
            "Kill: 3 2 19: Bob killed Alice by MOD_TELEFRAG"});
  EXPECT_EQ(Player("Alice").weaponFrags[Index(Weapon::kRocket)], 1);
  EXPECT_EQ(Player("Bob").frags, 1);
  EXPECT_EQ(Player("Alice").deaths, 1);
  int weaponFrags = 0;
  for (int32_t count : Player("Bob").weaponFrags) weaponFrags += count;
  EXPECT_EQ(weaponFrags, 0);
  EXPECT_EQ(Kills(kAll, 1, 0), 1);
}

TEST_F(ServerKillsTest, WorldKillIsASuicideOnTheDiagonal) {
  LoadGame({"Kill: 1022 3 22: <world> killed Bob by MOD_TRIGGER_HURT"});
  const PlayerRecord& bob = Player("Bob");
  EXPECT_EQ(bob.suicides, 1);
  EXPECT_EQ(bob.deaths, 0);
  EXPECT_EQ(bob.games.Get(1).suicides, 1);
  EXPECT_EQ(Kills(kAll, 1, 1), 1);
}

TEST_F(ServerKillsTest, SelfKillIsOneSuicideWithoutDeathOrWeapon) {
  LoadGame({"Kill: 2 2 7: Alice killed Alice by MOD_ROCKET_SPLASH"});
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(alice.suicides, 1);
  EXPECT_EQ(alice.deaths, 0);
  EXPECT_EQ(alice.frags, 0);
  EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRocket)], 0);
  EXPECT_EQ(Kills(kAll, 0, 0), 1);
  EXPECT_EQ(Kills(KillTables::TableOf(Weapon::kRocket), 0, 0), 0);
}

TEST_F(ServerKillsTest, NameContainingKilledSplitsAtTheLastOccurrence) {
  std::string log = InitGame("0:00") + "\n" + Connect("0:00", 2, "I killed him") + "\n" +
                    Connect("0:00", 3, "Bob") + "\n" +
                    At("0:10", "Kill: 2 3 10: I killed him killed Bob by MOD_RAILGUN") + "\n";
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(Player("I killed him").frags, 1);
  EXPECT_EQ(Player("Bob").deaths, 1);
}

TEST_F(ServerKillsTest, KillNamingTheFirstBobWithTheSecondBobsNumberGoesToBob1) {
  std::string log = InitGame("0:00") + "\n" + Connect("0:00", 2, "Bob") + "\n" +
                    Connect("0:00", 3, "Bob") + "\n" + Connect("0:00", 4, "Carl") + "\n" +
                    At("0:10", "Kill: 3 4 10: Bob killed Carl by MOD_RAILGUN") + "\n";
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(Player("Bob").frags, 0);
  EXPECT_EQ(Player("Bob_1").frags, 1);
  EXPECT_EQ(Game(1).kills.Get(kAll, 1, 2), 1);
}

TEST_F(ServerKillsTest, KillsWithoutNamesOrPlayersAreSkippedSideBySide) {
  LoadGame({"Kill: 2 3 10: garbage without the word",
            "Kill: 2 9 10: Alice killed Nobody by MOD_RAILGUN",
            "Kill: 9 3 10: Nobody killed Bob by MOD_RAILGUN"});
  // The unknown victim stops the line after the killer's frag, before any weapon.
  EXPECT_EQ(Player("Alice").frags, 1);
  EXPECT_EQ(Player("Alice").weaponFrags[Index(Weapon::kRailgun)], 0);
  // The unknown killer leaves the victim's death.
  EXPECT_EQ(Player("Bob").deaths, 1);
  EXPECT_EQ(Kills(kAll, 0, 1), 0);
}

TEST_F(ServerKillsTest, HostileClientNumbersCountNothingAndOverrunNothing) {
  LoadGame({"Kill: -1 3 10: Alice killed Bob by MOD_RAILGUN",
            "Kill: 99999 abc 10: Alice killed Bob by MOD_RAILGUN", "Kill:", "Kill: 2",
            "Kill: 2 3"});
  // A killer number that is not the killer's client slot loses the frag; the victim, found
  // under his own number, still dies once.
  EXPECT_EQ(Player("Alice").frags, 0);
  EXPECT_EQ(Player("Bob").deaths, 1);
  EXPECT_EQ(Kills(kAll, 0, 1), 0);
}

TEST_F(ServerKillsTest, KillsBeforeTheFirstGameUseNoTables) {
  std::string log = Connect("0:00", 2, "Early") + "\n" +
                    At("0:01", "Kill: 1022 2 22: <world> killed Early by MOD_FALLING") + "\n" +
                    InitGame("0:00") + "\n";
  ASSERT_TRUE(LoadText(log));
  EXPECT_EQ(doc.nameCount, 0);
  EXPECT_EQ(doc.gameCount, 1);
}

// A player who renames himself keeps the record he connected with: the kill lines' client
// numbers name him, whatever name they carry, so kills, deaths, suicides, weapons and the kill
// tables stay his and nobody else's.
TEST_F(ServerKillsTest, RenamedPlayersKeepTheirKillsByClientNumber) {
  struct Case {
    const char* what;
    const char* renameAt;  // Alice's new name comes in this line, at 0:10 ("0:00": before begin)
    const char* name;      // the name the kill lines give her
  };
  const Case cases[] = {
      {"before ClientBegin", "0:00", "Ally"},
      {"during the game", "0:10", "^1Ally"},
      {"to the name of another player of the game", "0:10", "^4Bob"},
      {"to the name of a player of an earlier game", "0:10", "Carol"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string name = c.name;
    std::string log = Lines({
        InitGame("0:00"), Connect("0:00", 2, "Carol"), At("1:00", "ShutdownGame:"),
        InitGame("0:00"), Connect("0:00", 2, "Alice"), Connect("0:00", 3, "^4Bob"),
        At(c.renameAt, "ClientUserinfoChanged: 2 n\\" + name + "\\t\\0\\model\\sarge"),
        At("0:20", "Kill: 2 3 10: " + name + " killed ^4Bob by MOD_RAILGUN"),
        At("0:30", "Kill: 3 2 6: ^4Bob killed " + name + " by MOD_ROCKET"),
        At("0:40", "Kill: 2 2 7: " + name + " killed " + name + " by MOD_ROCKET_SPLASH"),
        At("0:50", "Kill: 1022 2 22: <world> killed " + name + " by MOD_TRIGGER_HURT"),
        At("5:00", "ShutdownGame:"),
    });
    ASSERT_TRUE(LoadText(log));
    ASSERT_EQ(doc.nameCount, 3);
    const PlayerRecord& alice = Player("Alice");
    EXPECT_EQ(alice.frags, 1);
    EXPECT_EQ(alice.deaths, 1);
    EXPECT_EQ(alice.suicides, 2);
    EXPECT_EQ(alice.games.Get(2).frags, 1);
    EXPECT_EQ(alice.games.Get(2).suicides, 2);
    EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRailgun)], 1);
    EXPECT_EQ(alice.games.Get(2).weaponFrags[Index(Weapon::kRailgun)], 1);
    const PlayerRecord& bob = Player("Bob");
    EXPECT_EQ(bob.frags, 1);
    EXPECT_EQ(bob.deaths, 1);
    EXPECT_EQ(bob.suicides, 0);
    const PlayerRecord& carol = Player("Carol");
    EXPECT_EQ(carol.frags + carol.deaths + carol.suicides, 0);
    // Game 2: Alice at position 0, Bob at 1.
    const KillTables& kills = Game(2).kills;
    EXPECT_EQ(kills.Get(kAll, 0, 1), 1);
    EXPECT_EQ(kills.Get(kAll, 1, 0), 1);
    EXPECT_EQ(kills.Get(kAll, 0, 0), 2);
    EXPECT_EQ(kills.Get(KillTables::TableOf(Weapon::kRailgun), 0, 1), 1);
    EXPECT_EQ(kills.Get(KillTables::TableOf(Weapon::kRocket), 1, 0), 1);
  }
}

// Once the renamed client has left, his number names nobody: a later line of that number is
// read by its name again, and a new client in the number takes its lines from his connect on.
TEST_F(ServerKillsTest, AFreedClientNumberNamesTheNextClientOrNobody) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00"), Connect("0:00", 2, "Alice"), Connect("0:00", 3, "Bob"),
      At("0:05", "ClientUserinfoChanged: 2 n\\Ally\\t\\0\\model\\sarge"),
      At("0:10", "ClientDisconnect: 2"),
      At("0:20", "Kill: 3 2 10: Bob killed Ally by MOD_RAILGUN"),  // nobody is Ally
      Connect("0:30", 2, "Carol"),
      At("0:40", "Kill: 3 2 10: Bob killed Ally by MOD_RAILGUN"),  // Carol, whatever the name
      At("5:00", "ShutdownGame:"),
  })));
  EXPECT_EQ(Player("Bob").frags, 2);
  EXPECT_EQ(Player("Alice").deaths, 0);
  EXPECT_EQ(Player("Carol").deaths, 1);
}

}  // namespace
}  // namespace vexor
