// Hostile and odd server logs run through the whole load: garbage, endless lines, NUL bytes,
// impossible client numbers, lines cut off at the end of the file, huge user information,
// logs that change or vanish between the passes and paths that are no files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/Archive.h"
#include "stats/DataFile.h"
#include "stats/JsonExport.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

// A game of Alice (client 1) and Bob (client 2) in which Alice rails Bob once.
std::string OneGame() {
  return Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
                At("0:30", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN"),
                At("2:00", "ShutdownGame:")});
}

// A server log line as At() writes it, but taking any bytes (NUL too).
std::string RawAt(const std::string& clock, const std::string& event) {
  return std::string(6 - clock.size(), ' ') + clock + " " + event;
}

std::string RawConnect(int client, const std::string& rawName) {
  std::string number = std::to_string(client);
  return RawAt("0:00", "ClientConnect: " + number) + "\n" +
         RawAt("0:00",
               "ClientUserinfoChanged: " + number + " n\\" + rawName + "\\t\\0\\model\\sarge");
}

class HostileLogTest : public ::testing::Test, protected test::DriverLoad {
 protected:
  const PlayerRecord* Named(std::string_view name) const {
    int32_t n = doc.FindName(name);
    return n > 0 && n <= doc.playerCount ? &doc.players[static_cast<size_t>(n)] : nullptr;
  }
  // Loads and checks that the one game of OneGame() is there, whatever surrounds it.
  void ExpectOneGameLoaded(const std::string& path) {
    ASSERT_TRUE(LoadFiles({path})) << LastMessage();
    EXPECT_EQ(doc.gameCount, 1);
    EXPECT_EQ(doc.nameCount, 2);
    ASSERT_NE(Named("Alice"), nullptr);
    ASSERT_NE(Named("Bob"), nullptr);
    EXPECT_EQ(Named("Alice")->frags, 1);
    EXPECT_EQ(Named("Bob")->deaths, 1);
    EXPECT_EQ(Named("Alice")->totalSeconds, 120);
  }
  std::string CannotBeRead(const std::string& path) const {
    return "The log file \"" + path + "\" cannot be read.";
  }
  std::string JsonOf() const {
    StringSink sink;
    WriteJson(doc, sink);
    return sink.Bytes();
  }
};

TEST_F(HostileLogTest, RandomBytesLoadAsNoGamesAndGamesAmongThemAreFound) {
  ASSERT_TRUE(LoadFiles({Write("random.log", test::RandomBytes(4 << 20, 20261208))}));
  EXPECT_EQ(doc.gameCount, 0);
  EXPECT_EQ(doc.nameCount, 0);
  EXPECT_TRUE(prompter.Messages().empty());

  std::string mixed =
      test::RandomBytes(1 << 20, 7) + "\n" + OneGame() + test::RandomBytes(1 << 20, 8);
  ExpectOneGameLoaded(Write("mixed.log", mixed));
}

TEST_F(HostileLogTest, AHundredMegabyteLineIsReadInPiecesAndTheGameAfterItCounts) {
  std::string path = folder.File("long.log");
  test::WriteLogWithHugeLines(path, "", "ClientConnect: 1 n\\Eve\\t\\0 Kill: 1 2 10: ", OneGame());
  ExpectOneGameLoaded(path);
}

TEST_F(HostileLogTest, NulBytesInNamesKillsAndGameSettingsAreKeptAsBytes) {
  using namespace std::string_literals;
  std::string name = "Al\0ice"s;
  std::string log = RawAt("0:00",
                          "InitGame: \\sv_hostname\\Te\0st\\g_gametype\\0\\fraglimit\\2\0"s
                          "0\\timelimit\\15\\mapname\\q3\0dm17\\"s) +
                    "\n" + RawConnect(1, name) + "\n" + RawConnect(2, "Bob") + "\n" +
                    RawAt("0:30", "Kill: 1 2 10: "s + name + " killed Bob by MOD_RAILGUN\n"s) +
                    RawAt("0:40", "Kill: 1\0 2 10: "s + name + " killed Bob by MOD_RAILGUN\n"s) +
                    RawAt("0:50", "Kill: 2 1 10: Bob killed Al\0 by MOD_ROCKET\n"s) +
                    RawAt("0:55", "Kill\0: 2 1 10: Bob killed "s + name + " by MOD_ROCKET\n"s) +
                    RawAt("2:00", "ShutdownGame:\n");
  driver.SetReportEnabled(true);
  ASSERT_TRUE(LoadFiles({Write("nul.log", log)})) << LastMessage();
  EXPECT_TRUE(driver.ReportWritten());
  EXPECT_EQ(doc.gameCount, 1);
  EXPECT_EQ(doc.games[1].mapName, "q3\0dm17"s);
  EXPECT_EQ(doc.nameCount, 2);
  ASSERT_NE(Named(name), nullptr);
  EXPECT_EQ(Named("Al"), nullptr);
  // A NUL is a byte of the name like any other: "Al" is no name of anybody, "1\0" no client
  // number. The kill line that names "Al" as client 1 is Al\0ice's: the number names him.
  EXPECT_EQ(Named(name)->frags, 1);
  EXPECT_EQ(Named(name)->deaths, 1);
  EXPECT_EQ(Named("Bob")->deaths, 2);
  EXPECT_EQ(Named("Bob")->frags, 1);
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 1, 0), 1);

  // The name survives the data file whole.
  std::string error;
  std::string saved = folder.File("nul.dat");
  ASSERT_TRUE(SaveDataFile(doc, saved, &error)) << error;
  VexoriumDoc reopened;
  reopened.startupPending = false;
  LogSelection reopenedSelection;
  ScriptedPrompter reopenedPrompter;
  ASSERT_TRUE(OpenDataFile(reopened, reopenedSelection, reopenedPrompter, folder.Path(), saved));
  EXPECT_EQ(reopened.players[1].name, name);
  EXPECT_EQ(reopened.games[1].mapName, "q3\0dm17"s);
  EXPECT_NE(JsonOf().find("Al\\u0000ice"), std::string::npos);
}

TEST_F(HostileLogTest, KillsWithClientNumbersThatAreNoNumbersOrOutOfRangeCountNothing) {
  std::string log = Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
                           At("0:10", "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN")});
  for (const char* number : {"x", "-1", "99999", "", "2147483648", "-2147483649",
                             "99999999999999999999999", "1x", "+1", "01"}) {
    log += At("0:20", std::string("Kill: ") + number + " 2 10: Alice killed Bob by MOD_RAILGUN") +
           "\n";
    log +=
        At("0:20", std::string("Kill: 2 ") + number + " 10: Bob killed Alice by MOD_ROCKET") + "\n";
  }
  log += At("0:30", "Kill: 1 2 99999999999: Alice killed Bob by MOD_RAILGUN") + "\n";
  log += At("0:30", "Kill: 1 2 -7: Alice killed Bob by MOD_ROCKET") + "\n";
  log += At("2:00", "ShutdownGame:") + "\n";
  ASSERT_TRUE(LoadFiles({Write("numbers.log", log)})) << LastMessage();
  ASSERT_EQ(doc.nameCount, 2);
  const PlayerRecord& alice = *Named("Alice");
  const PlayerRecord& bob = *Named("Bob");
  // A player counts only under his own client number: a killer or victim whose number does
  // not match is nobody (the other side of the kill still counts). The means of death is read
  // from its name, so the odd weapon numbers still count.
  EXPECT_EQ(alice.frags, 3);
  EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRailgun)], 2);
  EXPECT_EQ(alice.weaponFrags[Index(Weapon::kRocket)], 1);
  EXPECT_EQ(alice.deaths, 0);
  EXPECT_EQ(alice.suicides, 0);
  EXPECT_EQ(bob.deaths, 13);
  EXPECT_EQ(bob.frags, 10);
  EXPECT_EQ(bob.weaponFrags[Index(Weapon::kRocket)], 0);
  EXPECT_EQ(bob.suicides, 0);
  // Kill tables are by position in the game: Alice 0, Bob 1.
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 0, 1), 3);
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 1, 0), 0);
}

TEST_F(HostileLogTest, ConnectOrUserInformationAsTheLastLineOfTheFile) {
  std::string game = Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), At("0:30", "Say: hi")});
  std::string connect = At("1:00", "ClientConnect: 2");
  std::string info = At("1:00", "ClientUserinfoChanged: 3 n\\Carol\\t\\0\\model\\sarge");
  struct Case {
    const char* name;
    std::string tail;
    int32_t names;
  };
  const Case cases[] = {
      {"connect.log", connect + "\n", 1},
      {"connect-no-end.log", connect, 1},
      {"info.log", info + "\n", 1},
      {"info-no-end.log", info, 1},
      // A bot's user information before its connect names it even at the end of the file.
      {"bot.log", info + "\n" + At("1:00", "ClientConnect: 3") + "\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(LoadFiles({Write(c.name, game + c.tail)})) << LastMessage();
    EXPECT_EQ(doc.gameCount, 1);
    EXPECT_EQ(doc.nameCount, c.names);
    EXPECT_EQ(doc.playerCount, c.names);
    ASSERT_NE(Named("Alice"), nullptr);
    EXPECT_EQ(Named("Alice")->gamesPlayed, 0);  // the game never shut down
    EXPECT_EQ(Named("Carol") != nullptr, c.names == 2);
  }
}

TEST_F(HostileLogTest, UserInformationOfFiveThousandCharacters) {
  std::string padding(5000, 'x');
  std::string nameFirst = At("0:00", "ClientUserinfoChanged: 2 n\\Bob\\t\\0\\model\\" + padding);
  std::string nameLast =
      At("0:00", "ClientUserinfoChanged: 3 \\model\\" + padding + "\\n\\Carol\\t\\0");
  std::string nameAcross = At("0:00", "ClientUserinfoChanged: 4 n\\" + padding + "\\t\\0");
  std::string log = Lines(
      {InitGame("0:00"), Connect("0:00", 1, "Alice"), At("0:00", "ClientConnect: 2"), nameFirst,
       At("0:00", "ClientConnect: 3"), nameLast, At("0:00", "ClientConnect: 4"), nameAcross,
       At("0:30", "Kill: 2 1 10: Bob killed Alice by MOD_RAILGUN"), At("2:00", "ShutdownGame:")});
  ASSERT_TRUE(LoadFiles({Write("info.log", log)})) << LastMessage();
  // A line is read in pieces of 1022 characters: only a name in the first piece is found.
  EXPECT_EQ(doc.nameCount, 2);
  ASSERT_NE(Named("Bob"), nullptr);
  EXPECT_EQ(Named("Bob")->frags, 1);
  EXPECT_EQ(Named("Bob")->totalSeconds, 120);
  EXPECT_EQ(Named("Carol"), nullptr);
}

TEST_F(HostileLogTest, NamesOfThreeHundredCharactersWithColourCodes) {
  std::string plain(300, 'a');
  std::string coloured;
  for (size_t i = 0; i < plain.size(); ++i) {
    if (i % 10 == 0) coloured += "^" + std::to_string(i / 10 % 8);
    coloured += plain[i];
  }
  coloured += "^";  // a final caret alone goes too
  std::string other(300, 'b');
  std::string log =
      Lines({InitGame("0:00"), Connect("0:00", 1, coloured), Connect("0:00", 2, other),
             At("0:30", "Kill: 1 2 10: " + coloured + " killed " + other + " by MOD_RAILGUN"),
             At("0:40", "Kill: 2 1 10: " + other + " killed " + coloured + " by MOD_ROCKET"),
             At("2:00", "ShutdownGame:")});
  driver.SetReportEnabled(true);
  ASSERT_TRUE(LoadFiles({Write("long-names.log", log)})) << LastMessage();
  EXPECT_TRUE(driver.ReportWritten());
  ASSERT_EQ(doc.nameCount, 2);
  ASSERT_NE(Named(plain), nullptr);
  EXPECT_EQ(Named(plain)->rawName, coloured);
  EXPECT_EQ(Named(plain)->frags, 1);
  EXPECT_EQ(Named(plain)->deaths, 1);
  EXPECT_EQ(Named(other)->frags, 1);
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 0, 1), 1);
  EXPECT_EQ(doc.games[1].kills.Get(KillTables::kAllWeapons, 1, 0), 1);
}

TEST_F(HostileLogTest, CarriageReturnLineEndsGiveTheSameStatistics) {
  std::string lf =
      OneGame() + Lines({InitGame("0:00", "q3dm6", 1), Connect("0:00", 1, "^1Alice^7"),
                         Connect("0:00", 3, "Carol", "sarge/red"),
                         At("0:40", "Kill: 1022 3 22: <world> killed Carol by MOD_TRIGGER_HURT"),
                         At("0:50", "Kill: 3 3 7: Carol killed Carol by MOD_ROCKET_SPLASH"),
                         At("1:10", "ClientDisconnect: 3"), At("3:00", "ShutdownGame:")});
  std::string crlf = test::WithCarriageReturns(lf);
  ASSERT_TRUE(LoadFiles({Write("lf.log", lf)})) << LastMessage();
  EXPECT_EQ(doc.nameCount, 3);
  std::string error;
  ASSERT_TRUE(SaveDataFile(doc, folder.File("lf.dat"), &error)) << error;
  std::string lfJson = JsonOf();
  ASSERT_TRUE(LoadFiles({Write("crlf.log", crlf)})) << LastMessage();
  ASSERT_TRUE(SaveDataFile(doc, folder.File("crlf.dat"), &error)) << error;
  EXPECT_EQ(JsonOf(), lfJson);
  EXPECT_EQ(test::ReadFile(folder.File("crlf.dat")), test::ReadFile(folder.File("lf.dat")));
}

TEST_F(HostileLogTest, ALogThatVanishesBeforeTheStatisticsPassFailsNamingIt) {
  std::string log = Write("games.log", OneGame());
  ExpectOneGameLoaded(log);
  struct Change {
    const char* what;
    std::function<void()> apply;
  };
  const Change changes[] = {
      {"deleted", [&] { std::filesystem::remove(log); }},
      {"a directory",
       [&] {
         std::filesystem::remove(log);
         std::filesystem::create_directory(log);
       }},
      {"a FIFO",
       [&] {
         std::filesystem::remove(log);
         ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
       }},
  };
  // A log alone vanishes as its single reading starts, or between its two passes.
  for (WorkStep step : {WorkStep::kReading, WorkStep::kStatistics}) {
    driver.SetSingleReading(step == WorkStep::kReading);
    for (const Change& change : changes) {
      SCOPED_TRACE(change.what);
      std::filesystem::remove_all(log);
      Write("games.log", OneGame());
      onFileStarted = [&](WorkStep pass, int) {
        if (pass == step) change.apply();
      };
      int closedBefore = closed;
      EXPECT_FALSE(LoadFiles({log}));
      EXPECT_EQ(LastMessage(), CannotBeRead(log));
      EXPECT_FALSE(selection.dataAvailable);
      EXPECT_EQ(closed, closedBefore + 1);
      onFileStarted = nullptr;
    }
  }
  // The second of several files, too.
  std::filesystem::remove_all(log);
  Write("games.log", OneGame());
  std::string second = Write("second.log", OneGame());
  onFileStarted = [&](WorkStep pass, int index) {
    if (pass == WorkStep::kStatistics && index == 1) std::filesystem::remove(second);
  };
  EXPECT_FALSE(LoadFiles({log, second}));
  EXPECT_EQ(LastMessage(), CannotBeRead(second));
}

TEST_F(HostileLogTest, ALogThatChangesBetweenThePassesStaysInsideTheTables) {
  std::string log = Write("games.log", OneGame());
  // The statistics pass finds far more games and players than the discovery pass counted.
  std::string grown;
  for (int g = 0; g < 20; ++g) {
    grown += InitGame("0:00") + "\n";
    for (int c = 0; c < 40; ++c)
      grown += Connect("0:00", c, "p" + std::to_string(g * 40 + c)) + "\n";
    for (int c = 1; c < 40; ++c) {
      grown += At("0:10", "Kill: " + std::to_string(c) + " 0 10: p" + std::to_string(g * 40 + c) +
                              " killed p" + std::to_string(g * 40) + " by MOD_RAILGUN") +
               "\n";
    }
    grown += At("1:00", "ShutdownGame:") + "\n";
  }
  onFileStarted = [&](WorkStep pass, int) {
    if (pass == WorkStep::kStatistics) Write("games.log", grown);
  };
  driver.SetSingleReading(false);  // a log alone is read once
  driver.SetReportEnabled(true);
  EXPECT_TRUE(LoadFiles({log})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 1);
  EXPECT_EQ(doc.nameCount, 2);
  EXPECT_EQ(doc.playerCount, 2);
  // Whatever the statistics pass met, the outputs are written from the tables as sized.
  std::string error;
  EXPECT_TRUE(SaveDataFile(doc, folder.File("grown.dat"), &error)) << error;
  EXPECT_FALSE(JsonOf().empty());
  driver.SetReportEnabled(false);

  // A log that lost its games: the discovered games stay, empty.
  onFileStarted = [&](WorkStep pass, int) {
    if (pass == WorkStep::kStatistics) Write("games.log", "");
  };
  Write("games.log", grown);
  EXPECT_TRUE(LoadFiles({log})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 20);
  EXPECT_EQ(doc.playerCount, 0);
  EXPECT_TRUE(SaveDataFile(doc, folder.File("shrunk.dat"), &error)) << error;
  EXPECT_FALSE(JsonOf().empty());
  onFileStarted = nullptr;
  // And the next load of the same file reads it whole.
  Write("games.log", grown);
  ASSERT_TRUE(LoadFiles({log})) << LastMessage();
  EXPECT_EQ(doc.gameCount, 20);
  EXPECT_EQ(doc.nameCount, 800);
  EXPECT_EQ(Named("p0")->deaths, 39);
}

TEST_F(HostileLogTest, PathsThatAreNoRegularFilesAreRefusedAtOnce) {
  std::string directory = folder.File("logs.d");
  std::filesystem::create_directory(directory);
  std::string fifo = folder.File("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string good = Write("good.log", OneGame());
  for (const std::string& path :
       {directory, std::string("/dev/zero"), fifo, folder.File("none.log")}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(LoadFiles({path}));
    EXPECT_EQ(LastMessage(), CannotBeRead(path));
    EXPECT_FALSE(LoadFiles({good, path}));
    EXPECT_EQ(LastMessage(), CannotBeRead(path));
  }
  ExpectOneGameLoaded(good);
}

}  // namespace
}  // namespace vexor
