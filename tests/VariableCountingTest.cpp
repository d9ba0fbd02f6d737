// Custom variables applied by a load: the counts a matching line adds to its players, in total
// and in the game, for client and server variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace vexor {
namespace {

using test::At;
using test::ClientLog;
using test::Connect;
using test::InitGame;
using test::KillVariable;

class VariableMatchTest : public test::LoadFixture, public ::testing::Test {
 protected:
  ClientVariable& Client(int v, const char* searchString) {
    doc.clientVarCount = std::max(doc.clientVarCount, v);
    ClientVariable& var = doc.clientVars[static_cast<size_t>(v)];
    var.name = "var";
    var.searchString = searchString;
    return var;
  }
  static void Slot1(ChangeSlots& slots, int32_t target, int32_t value) {
    slots.p1Change = 1;
    slots.p1Target = target;
    slots.p1Value = value;
  }
  static void Slot2(ChangeSlots& slots, int32_t target, int32_t value) {
    slots.p2Change = 1;
    slots.p2Target = target;
    slots.p2Value = value;
  }
  // One client game that Alice and Bob entered, then the lines.
  void LoadClientGame(std::initializer_list<std::string_view> lines) {
    std::string log = ClientLog(
        {"CL_InitCGame: 1203 msec", "Alice^7 entered the game", "Bob^7 entered the game"});
    for (std::string_view line : lines)
      log += std::string(line) + "\n";
    ASSERT_TRUE(LoadText(log));
  }
  int32_t Total(std::string_view name, int v) const {
    return Player(name).clientVarTotals.at(static_cast<size_t>(v));
  }
  int32_t InGame(std::string_view name, int32_t game, int v) const {
    return Player(name).games.Get(game).ClientVar(v);
  }
};

TEST_F(VariableMatchTest, OnePlayerFormCountsForThePlayerInTotalAndGame) {
  Slot1(Client(1, "PLAYER1 picked up the Quad Damage"), 1, 1);
  LoadClientGame({"Bob^7 picked up the Quad Damage", "Bob^7 picked up the Quad Damage"});
  EXPECT_EQ(Total("Bob", 1), 2);
  EXPECT_EQ(InGame("Bob", 1, 1), 2);
  EXPECT_EQ(Total("Alice", 1), 0);
}

TEST_F(VariableMatchTest, TwoPlayerFormCountsForBothPlayers) {
  ClientVariable& fragged = Client(1, "PLAYER1 fragged PLAYER2");
  Slot1(fragged, 1, 1);
  Slot2(fragged, 2, 1);
  Client(2, "nothing PLAYER1");
  LoadClientGame({"Alice^7 fragged Bob^7"});
  EXPECT_EQ(Total("Alice", 1), 1);
  EXPECT_EQ(Total("Bob", 2), 1);
  EXPECT_EQ(Total("Alice", 2), 0);
  EXPECT_EQ(Total("Bob", 1), 0);
}

TEST_F(VariableMatchTest, SlotAddsItsValueToItsTargetVariable) {
  for (int v = 1; v <= 5; ++v)
    Client(v, "nothing PLAYER1");
  Slot1(Client(2, "PLAYER1 fragged PLAYER2"), 5, 3);
  LoadClientGame({"Alice^7 fragged Bob^7"});
  EXPECT_EQ(Total("Alice", 5), 3);
  EXPECT_EQ(InGame("Alice", 1, 5), 3);
  EXPECT_EQ(Total("Alice", 2), 0);
  EXPECT_EQ(Total("Bob", 5), 0);  // only player 1's slot is set
}

TEST_F(VariableMatchTest, HostileTargetsAreIgnoredAndValuesWrap) {
  ClientVariable& v = Client(1, "PLAYER1 fragged PLAYER2");
  Slot1(v, 1, std::numeric_limits<int32_t>::max());
  v.p1Change2 = 7;  // any flag other than 0 counts as set
  v.p1Target2 = 1;
  v.p1Value2 = 2;
  Slot2(v, -1, 5);
  v.p2Change2 = 1;
  v.p2Target2 = 1000;
  v.p2Value2 = 5;
  LoadClientGame({"Alice^7 fragged Bob^7"});
  EXPECT_EQ(Total("Alice", 1), std::numeric_limits<int32_t>::min() + 1);
  EXPECT_EQ(Player("Bob").clientVarTotals, std::vector<int32_t>({0, 0}));
  EXPECT_EQ(Player("Bob").games.Get(1).clientVarCounts.size(), 0u);
}

TEST_F(VariableMatchTest, VariablesCountOnObituaryLinesToo) {
  ClientVariable& v = Client(1, "PLAYER1 was railed by PLAYER2");
  Slot1(v, 1, 1);
  Slot2(v, 1, 10);
  LoadClientGame({"Bob^7 was railed by Alice^7"});
  EXPECT_EQ(Total("Bob", 1), 1);
  EXPECT_EQ(Total("Alice", 1), 10);
  EXPECT_EQ(Player("Alice").frags, 1);
}

// A game's counts land in that game; entering a game he was not seen in yet clears what the
// player counted there before, but not his totals.
TEST_F(VariableMatchTest, CountsLandInTheirGameAndAnEntryClearsOnlyTheGame) {
  Slot1(Client(1, "PLAYER1 picked up the Quad Damage"), 1, 1);
  ASSERT_TRUE(LoadText(ClientLog({
      "CL_InitCGame: 1203 msec",
      "Bob^7 entered the game",
      "Bob^7 picked up the Quad Damage",
      "Bob^7 picked up the Quad Damage",
      "CL_InitCGame: 1203 msec",
      "Bob^7 picked up the Quad Damage",
      "Alice^7 entered the game",
      "Bob^7 entered the game",
      "Bob^7 picked up the Quad Damage",
      "Bob^7 entered the game",  // seen in this game already: nothing is cleared
      "Alice^7 picked up the Quad Damage",
  })));
  EXPECT_EQ(Total("Bob", 1), 4);
  EXPECT_EQ(InGame("Bob", 1, 1), 2);
  EXPECT_EQ(InGame("Bob", 2, 1), 1);
  EXPECT_EQ(Total("Alice", 1), 1);
  EXPECT_EQ(InGame("Alice", 2, 1), 1);
  EXPECT_EQ(Player("Alice").games.Get(1).clientVarCounts.size(), 0u);
}

TEST_F(VariableMatchTest, NamesFoundByVariablesGetTheirRecordsInNameOrder) {
  Slot1(Client(1, "PLAYER1: gg"), 1, 1);
  ASSERT_TRUE(LoadText(ClientLog({
      "CL_InitCGame: 1203 msec",
      "Zed^7: gg",  // a player who only talks in chat
      "Amy^7 entered the game",
      "Default^7: gg",
      "Zed^7: gg",
      "Zed^7 entered the game",
  })));
  ASSERT_EQ(doc.nameCount, 2);
  EXPECT_EQ(doc.PlayerName(1), "Zed");
  EXPECT_EQ(doc.PlayerName(2), "Amy");
  ExpectRecordsMatchNames();
  EXPECT_EQ(Total("Zed", 1), 2);
  EXPECT_EQ(Player("Zed").gamesPlayed, 1);
  EXPECT_EQ(Game(1).playerNumber, 2);
}

class ServerVariableMatchTest : public VariableMatchTest {
 protected:
  ServerVariable& Server(int v, ServerVariable definition) {
    doc.serverVarCount = std::max(doc.serverVarCount, v);
    return doc.serverVars[static_cast<size_t>(v)] = std::move(definition);
  }
  // Alice in client slot 2, Bob in slot 3, then the events.
  void LoadServerGame(std::initializer_list<std::string_view> events) {
    std::string log = InitGame("0:00") + "\n" + Connect("0:01", 2, "Alice") + "\n" +
                      Connect("0:02", 3, "Bob") + "\n";
    for (std::string_view event : events)
      log += At("0:30", event) + "\n";
    ASSERT_TRUE(LoadText(log));
  }
  int32_t ServerTotal(std::string_view name, int v) const {
    return Player(name).serverVarTotals.at(static_cast<size_t>(v));
  }
};

TEST_F(ServerVariableMatchTest, KillVariableCountsForBothClientsOfTheLine) {
  ServerVariable& rails = Server(1, KillVariable(-1, -1, 10));
  Slot1(rails, 1, 1);
  Slot2(rails, 2, 1);
  Server(2, KillVariable(-1, -1, 10)).idstring = "Item:";  // never meets a kill line
  Slot1(doc.serverVars[2], 2, 100);
  LoadServerGame({"Kill: 2 3 10: Alice killed Bob by MOD_RAILGUN",
                  "Kill: 3 2 6: Bob killed Alice by MOD_ROCKET"});
  EXPECT_EQ(ServerTotal("Alice", 1), 1);
  EXPECT_EQ(Player("Alice").games.Get(1).ServerVar(1), 1);
  EXPECT_EQ(ServerTotal("Bob", 2), 1);
  EXPECT_EQ(ServerTotal("Bob", 1), 0);
  EXPECT_EQ(ServerTotal("Alice", 2), 0);
}

// The client numbers name the players: a rename, even to another player's name, changes
// nothing.
TEST_F(ServerVariableMatchTest, ARenamedPlayersCountsLandOnHim) {
  ServerVariable& rails = Server(1, KillVariable(-1, -1, 10));
  Slot1(rails, 1, 1);
  Slot2(rails, 1, 10);
  LoadServerGame({"ClientUserinfoChanged: 2 n\\Bob\\t\\0\\model\\sarge",
                  "Kill: 2 3 10: Bob killed Bob by MOD_RAILGUN"});
  EXPECT_EQ(ServerTotal("Alice", 1), 1);
  EXPECT_EQ(ServerTotal("Bob", 1), 10);
  EXPECT_EQ(Player("Alice").frags, 1);
  EXPECT_EQ(Player("Bob").deaths, 1);
}

TEST_F(ServerVariableMatchTest, FixedIdNamesOnlyTheClientOfTheOtherId) {
  // Frags on the player in slot 3: id1 the fixed killer number 2, id2 the client.
  ServerVariable& onBob = Server(1, KillVariable(2, -1, -2));
  Slot1(onBob, 1, 50);  // player 1 is not named: nothing
  Slot2(onBob, 1, 1);
  LoadServerGame({"Kill: 2 3 10: Alice killed Bob by MOD_RAILGUN",
                  "Kill: 4 3 10: Carl killed Bob by MOD_RAILGUN"});
  EXPECT_EQ(ServerTotal("Bob", 1), 1);
  EXPECT_EQ(ServerTotal("Alice", 1), 0);
}

TEST_F(ServerVariableMatchTest, ItemLineWithOneId) {
  ServerVariable item;
  item.name = "rl";
  item.idstring = "Item:";
  item.modstring = "weapon_rocketlauncher";
  item.id1 = -1;
  Slot1(Server(1, item), 1, 1);
  LoadServerGame({"Item: 3 weapon_rocketlauncher", "Item: 3 weapon_railgun"});
  EXPECT_EQ(ServerTotal("Bob", 1), 1);
}

}  // namespace
}  // namespace vexor
