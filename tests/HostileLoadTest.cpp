// Hostile loads at the limits (thousands of names and games) and hostile
// client console logs (garbage, endless lines, NUL bytes, CR LF), through the whole load; the
// log cleaner and the command line given paths that are no files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/Archive.h"
#include "log/LineText.h"
#include "stats/DataFile.h"
#include "stats/JsonExport.h"
#include "stats/LogCleaner.h"
#include "stats/Settings.h"

namespace vexor {
namespace {

using test::At;
using test::ClientLog;
using test::Connect;
using test::InitGame;
using test::Lines;

constexpr const char* kTooManyPlayers =
    "Sorry your Log File contains too many players. Vexor supports 2500 players at most.";

std::string Name(int i) {
  return "player" + std::to_string(i);
}

// games games in each of which clients first to first + count - 1 connect, each kills the next
// one, and the game shuts down after two minutes. sameName: every client connects as "^1Bob".
std::string Crowd(int games, int first, int count, bool sameName = false) {
  std::string log;
  for (int g = 0; g < games; ++g) {
    log += InitGame("0:00") + "\n";
    for (int c = first; c < first + count; ++c) {
      log += Connect("0:00", c, sameName ? "^1Bob" : Name(c)) + "\n";
    }
    if (!sameName) {
      for (int c = first; c + 1 < first + count; ++c) {
        log += At("0:30", "Kill: " + std::to_string(c) + " " + std::to_string(c + 1) +
                              " 10: " + Name(c) + " killed " + Name(c + 1) + " by MOD_RAILGUN") +
               "\n";
      }
    }
    log += At("2:00", "ShutdownGame:") + "\n";
  }
  return log;
}

class HostileLoadTest : public ::testing::Test, protected test::DriverLoad {
 protected:
  const PlayerRecord* Named(std::string_view name) const {
    int32_t n = doc.FindName(name);
    return n > 0 && n <= doc.playerCount ? &doc.players[static_cast<size_t>(n)] : nullptr;
  }
  // Loads and fails the test, with the message shown, when the load fails.
  void ExpectLoaded(const std::vector<std::string>& paths) {
    EXPECT_TRUE(LoadFiles(paths)) << LastMessage();
  }
  std::string JsonOf() const {
    StringSink sink;
    WriteJson(doc, sink);
    return sink.Bytes();
  }
  // A client log game that Alice and Bob entered, Bob railed by Alice.
  static std::string ClientDuel() {
    return "CL_InitCGame: 1203 msec\nAlice^7 entered the game\nBob^7 entered the game\n"
           "Bob^7 was railed by Alice^7\n";
  }
  void ExpectClientDuelLoaded() {
    EXPECT_EQ(doc.gameCount, 1);
    EXPECT_EQ(doc.nameCount, 2);
    ASSERT_NE(Named("Alice"), nullptr);
    ASSERT_NE(Named("Bob"), nullptr);
    EXPECT_EQ(Named("Alice")->frags, 1);
    EXPECT_EQ(Named("Alice")->weaponFrags[Index(Weapon::kRailgun)], 1);
    EXPECT_EQ(Named("Bob")->deaths, 1);
  }
};

// One file holds at most 2495 players, several files 2499.
TEST_F(HostileLoadTest, TheMostPlayersInEveryGameLoadQuicklyAndOneMoreIsRefused) {
  std::string full = Write("full.log", Crowd(3, 0, 2495));
  ExpectLoaded({full});
  EXPECT_EQ(doc.gameCount, 3);
  EXPECT_EQ(doc.nameCount, 2495);
  EXPECT_EQ(doc.playerCount, 2495);
  const PlayerRecord* middle = Named(Name(1000));
  ASSERT_NE(middle, nullptr);
  EXPECT_EQ(middle->gamesPlayed, 3);
  EXPECT_EQ(middle->frags, 3);
  EXPECT_EQ(middle->deaths, 3);
  EXPECT_EQ(middle->totalSeconds, 3 * 120);
  EXPECT_EQ(doc.games[2].kills.Get(KillTables::kAllWeapons, 1000, 1001), 1);
  EXPECT_EQ(Named(Name(2494))->frags, 0);

  EXPECT_FALSE(LoadFiles({Write("over.log", Crowd(3, 0, 2496))}));
  EXPECT_EQ(LastMessage(), kTooManyPlayers);

  std::string half = Write("half.log", Crowd(3, 0, 1250));
  ExpectLoaded({half, Write("rest.log", Crowd(3, 1250, 1249))});
  EXPECT_EQ(doc.gameCount, 6);
  EXPECT_EQ(doc.nameCount, 2499);
  EXPECT_EQ(Named(Name(2498))->gamesPlayed, 3);
  EXPECT_FALSE(LoadFiles({half, Write("more.log", Crowd(3, 1250, 1250))}));
  EXPECT_EQ(LastMessage(), kTooManyPlayers);
}

// Every further client of a taken name gets a name one character longer than the last (Bob_9,
// Bob_10, Bob__11, Bob___12 ...), and telling them apart walks all of them: the tries once
// made are kept, or the time grows with the cube of the clients of one name.
TEST_F(HostileLoadTest, TheMostClientsOfOneNameAreToldApart) {
  ExpectLoaded({Write("bobs.log", Crowd(3, 0, 2495, true))});
  EXPECT_EQ(doc.gameCount, 3);
  EXPECT_EQ(doc.nameCount, 2495);
  EXPECT_EQ(doc.playerCount, 2495);
  std::string name = "Bob";
  std::string rawName = "^1Bob";
  for (int k = 0; k < 2495; ++k) {
    if (k > 0) {
      name = Disambiguate(name, k);
      rawName = Disambiguate(rawName, k);
    }
    const PlayerRecord* player = Named(name);
    ASSERT_NE(player, nullptr) << k;
    EXPECT_EQ(player, &doc.players[static_cast<size_t>(k + 1)]);
    EXPECT_EQ(player->rawName, rawName);
    EXPECT_EQ(player->gamesPlayed, 3);
    EXPECT_EQ(player->totalSeconds, 3 * 120);
  }
  for (const char* some : {"Bob_1", "Bob_9", "Bob_10", "Bob__11", "Bob___12"}) {
    EXPECT_NE(Named(some), nullptr) << some;
  }

  // A kill names the player as his client connected, and his number tells which Bob he is:
  // the last one here, found by walking the tries of every Bob before him.
  std::string log = InitGame("0:00") + "\n";
  for (int c = 0; c < 2495; ++c)
    log += Connect("0:00", c, "^1Bob") + "\n";
  for (int k = 0; k < 2000; ++k) {
    log += At("0:30", "Kill: 2494 0 10: ^1Bob killed ^1Bob by MOD_RAILGUN") + "\n";
  }
  log += At("2:00", "ShutdownGame:") + "\n";
  ExpectLoaded({Write("bob-kills.log", log)});
  EXPECT_EQ(doc.players[2495].name, name);
  EXPECT_EQ(doc.players[2495].frags, 2000);
  EXPECT_EQ(doc.players[1].deaths, 2000);
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 2494, 0), 2000);
}

TEST_F(HostileLoadTest, ThousandsOfGamesWithoutShutdown) {
  std::string log;
  for (int g = 0; g < 3000; ++g) {
    log += Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
                  At("0:30", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN")});
  }
  std::string path = Write("endless.log", log);
  ExpectLoaded({path});
  EXPECT_EQ(doc.gameCount, 3000);
  EXPECT_EQ(doc.nameCount, 2);
  ASSERT_NE(Named("Alice"), nullptr);
  // A game that never shut down earns no play time, is not counted as played and, lasting no
  // time, is short: hidden, out of the totals but not out of the weapon totals.
  EXPECT_EQ(Named("Alice")->totalSeconds, 0);
  EXPECT_EQ(Named("Alice")->gamesPlayed, 0);
  EXPECT_EQ(Named("Alice")->frags, 0);
  EXPECT_EQ(Named("Alice")->weaponFrags[Index(Weapon::kRailgun)], 3000);
  EXPECT_EQ(doc.games[3000].kills.Get(KillTables::kAllWeapons, 0, 1), 1);

  // Shown, every game counts.
  Options options;
  options.hideShortGames = 0;
  std::string error;
  ASSERT_TRUE(SaveSettings(folder.Path(), "", options, &error)) << error;
  ExpectLoaded({path});
  EXPECT_EQ(Named("Alice")->frags, 3000);
  EXPECT_EQ(Named("Bob")->deaths, 3000);
  EXPECT_EQ(Named("Alice")->totalSeconds, 0);
}

TEST_F(HostileLoadTest, ClientLogOfRandomBytes) {
  std::string garbage = ClientLog({}) + test::RandomBytes(4 << 20, 99);
  ASSERT_TRUE(LoadFiles({Write("random.log", garbage)})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 0);
  EXPECT_EQ(doc.nameCount, 0);
  EXPECT_TRUE(doc.clientLogSeen);

  std::string mixed = ClientLog({}) + test::RandomBytes(1 << 20, 5) + "\n" + ClientDuel();
  ASSERT_TRUE(LoadFiles({Write("mixed.log", mixed)})) << LastMessage();
  ExpectClientDuelLoaded();
}

TEST_F(HostileLoadTest, ClientLogWithAHundredMegabyteLine) {
  std::string path = folder.File("long.log");
  test::WriteLogWithHugeLines(path, ClientLog({}), "Eve^7 entered the arena ^1 ", ClientDuel());
  ExpectLoaded({path});
  ExpectClientDuelLoaded();
}

TEST_F(HostileLoadTest, ClientLogWithNulBytes) {
  using namespace std::string_literals;
  std::string log = ClientLog({}) + "CL_InitCGame: 1203 msec\n"s + "Al\0ice^7 entered the game\n"s +
                    "Bob^7 entered the game\n"s + "Bob^7 was railed by Al\0ice^7\n"s +
                    "Al\0ice^7 was railed by Bob\0^7\n"s + "Bob^7 was\0 railed by Al\0ice^7\n"s;
  ASSERT_TRUE(LoadFiles({Write("nul.log", log)})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 1);
  ASSERT_NE(Named("Al\0ice"s), nullptr);
  EXPECT_EQ(Named("Al"), nullptr);
  EXPECT_EQ(Named("Al\0ice"s)->frags, 1);
  EXPECT_EQ(Named("Bob")->deaths, 1);
  EXPECT_EQ(Named("Bob")->frags, 0);
  EXPECT_EQ(doc.playerCount, doc.nameCount);
}

TEST_F(HostileLoadTest, ClientLogWithCarriageReturnsGivesTheSameStatistics) {
  std::string lf =
      ClientLog({"CL_InitCGame: 1203 msec", "Alice^7 entered the game", "Bob^7 entered the game",
                 "Bob^7 was railed by Alice^7", "Alice^7 ate Bob^7's rocket", "Bob^7 cratered.",
                 "CL_InitCGame: 1100 msec", "^1Carol^7 entered the game",
                 "Alice^7 entered the game", "Carol^7 was melted by Alice^7's plasmagun"});
  ASSERT_TRUE(LoadFiles({Write("lf.log", lf)})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 2);
  EXPECT_EQ(doc.nameCount, 3);
  std::string lfJson = JsonOf();
  ASSERT_TRUE(LoadFiles({Write("crlf.log", test::WithCarriageReturns(lf))})) << LastMessage();
  EXPECT_EQ(JsonOf(), lfJson);
}

TEST_F(HostileLoadTest, TheCleanerRefusesDevicesAndFifosAtOnce) {
  std::string fifo = folder.File("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo}) {
    SCOPED_TRACE(path);
    CleanResult result = CleanLog(path);
    EXPECT_EQ(result.status, CleanStatus::kOpenFailed);
    EXPECT_NE(result.message.find("\"" + path + "\""), std::string::npos) << result.message;
  }
}

TEST_F(HostileLoadTest, ADataFileThatIsAFifoOrADeviceIsRefusedAtOnce) {
  std::string fifo = folder.File("pipe.dat");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(OpenDataFile(doc, selection, prompter, folder.Path(), path));
    EXPECT_NE(LastMessage().find(path), std::string::npos) << LastMessage();
    EXPECT_FALSE(selection.dataAvailable);
  }
}

// The command line given a log path that is no file: a message naming it and status 1, at once.
TEST_F(HostileLoadTest, TheCommandLineRefusesPathsThatAreNoFiles) {
  std::string fifo = folder.File("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string zero = folder.File("zero.log");
  std::filesystem::create_symlink("/dev/zero", zero);
  std::string directory = folder.File("dir.log");
  std::filesystem::create_directory(directory);
  for (const std::string& path : {zero, fifo, directory}) {
    SCOPED_TRACE(path);
    std::string command = "cd '" + folder.Path() + "' && timeout 20 '" + VEXOR_CLI_PATH +
                          "' --no-report '" + path + "' >out.txt 2>err.txt";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(test::ReadFile(folder.File("err.txt")).find("\"" + path + "\" cannot be read"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace vexor
