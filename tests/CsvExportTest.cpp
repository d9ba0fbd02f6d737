// Export of the statistics as comma-separated values: player lines, game lines, the visible
// custom variables, quoting of names, and safe writing.
#include "stats/CsvExport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "stats/LoadDriver.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

std::string Diff(const std::string& golden, const std::string& actual) {
  std::string command = "diff -u '" + golden + "' '" + actual + "' 2>&1";
  std::string out;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    std::string chunk(4096, '\0');
    for (size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) out.append(chunk, 0, n);
    ::pclose(pipe);
  }
  return out;
}

// The lines of a file, each without its CR LF; fails the test when a line ends otherwise.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_TRUE(end > start && bytes[end - 1] == '\r') << "line " << lines.size() + 1;
    lines.push_back(bytes.substr(start, end - start - 1));
  }
  EXPECT_EQ(start, bytes.size()) << "the last line has no CR LF";
  return lines;
}

// The values of a line as separated by ", " (names in these tests have no comma).
std::vector<std::string> Values(const std::string& line) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t at; (at = line.find(", ", start)) != std::string::npos; start = at + 2) {
    values.push_back(line.substr(start, at - start));
  }
  values.push_back(line.substr(start));
  return values;
}

// One game of a server log: the given clients connect at 0:00, the kills happen, the game ends
// at `end`.
std::string ServerGame(std::initializer_list<std::pair<int, std::string_view>> clients,
                       std::initializer_list<std::string_view> kills, std::string_view end = "2:00") {
  std::string log = InitGame("0:00") + "\n";
  for (const auto& [client, name] : clients) log += Connect("0:00", client, name) + "\n";
  for (std::string_view kill : kills) log += At("1:00", kill) + "\n";
  return log + At(end, "ShutdownGame:") + "\n";
}

class CsvExportTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // Alice plays both games, Bob the second one only.
  void LoadTwoGames() {
    ASSERT_TRUE(LoadText(
        ServerGame({{1, "Alice"}}, {}, "1:30") +
        ServerGame({{1, "Alice"}, {2, "Bob"}},
                   {"Kill: 1 2 7: Alice killed Bob by MOD_ROCKET_SPLASH",
                    "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN",
                    "Kill: 2 1 3: Bob killed Alice by MOD_SHOTGUN",
                    "Kill: 1022 2 22: <world> killed Bob by MOD_FALLING"})));
  }

  PlayerRecord& Record(std::string_view name) {
    return doc.players[static_cast<size_t>(PlayerNumber(name))];
  }

  // Defines `count` client variables, of which the listed ones are visible.
  void ClientVariables(int count, std::initializer_list<int> visible) {
    doc.clientVarCount = count;
    for (int v = 1; v <= count; ++v) doc.clientVars[static_cast<size_t>(v)].visible = 0;
    for (int v : visible) doc.clientVars[static_cast<size_t>(v)].visible = 1;
  }
  void ServerVariables(int count, std::initializer_list<int> visible) {
    doc.serverVarCount = count;
    for (int v = 1; v <= count; ++v) doc.serverVars[static_cast<size_t>(v)].visible = 0;
    for (int v : visible) doc.serverVars[static_cast<size_t>(v)].visible = 1;
  }

  // Gives every player client variable v the total 10·v and the count v in every game it
  // played; server variable v the total 100·v and the count 100·v + 1 per game.
  void FillVariables() {
    for (int32_t p = 1; p <= doc.nameCount; ++p) {
      PlayerRecord& player = doc.players[static_cast<size_t>(p)];
      player.clientVarTotals.assign(static_cast<size_t>(doc.clientVarCount) + 1, 0);
      player.serverVarTotals.assign(static_cast<size_t>(doc.serverVarCount) + 1, 0);
      for (int v = 1; v <= doc.clientVarCount; ++v) player.clientVarTotals[static_cast<size_t>(v)] = 10 * v;
      for (int v = 1; v <= doc.serverVarCount; ++v) player.serverVarTotals[static_cast<size_t>(v)] = 100 * v;
      for (size_t e = 0; e < player.games.EntryCount(); ++e) {
        PlayerGame& game = player.games.ValueAt(e);
        for (int v = 1; v <= doc.clientVarCount; ++v) game.ClientVarRef(v) = v;
        for (int v = 1; v <= doc.serverVarCount; ++v) game.ServerVarRef(v) = 100 * v + 1;
      }
    }
  }

  std::string Export(bool gameByGame) {
    std::string error;
    EXPECT_TRUE(ExportCsv(doc, path, gameByGame, &error)) << error;
    return test::ReadFile(path);
  }
  std::vector<std::string> ExportLines(bool gameByGame) { return SplitLines(Export(gameByGame)); }

  std::string path = folder.File("stats.csv");
};

// Compares the file with its golden file in tests/data/csv; on a mismatch writes NAME.actual
// beside it and shows the difference. VEXOR_UPDATE_GOLDEN=1 rewrites the golden file.
void ExpectGolden(const std::string& actual, const std::string& golden) {
  std::string path = std::string(VEXOR_TEST_DATA) + "/csv/" + golden;
  if (std::getenv("VEXOR_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::string expected = test::ReadFile(path);
  if (actual == expected) {
    std::filesystem::remove(path + ".actual");
    return;
  }
  std::ofstream(path + ".actual", std::ios::binary) << actual;
  ADD_FAILURE() << "the export differs from " << path << ":\n" << Diff(path, path + ".actual");
}

TEST_F(CsvExportTest, PlayersAndGamesMatchTheGoldenFile) {
  LoadTwoGames();
  ClientVariables(3, {2});
  ServerVariables(2, {1});
  FillVariables();
  ExpectGolden(Export(true), "players-and-games.csv");
}

TEST_F(CsvExportTest, ColumnsFollowTheTotalsOrderOnPlayerLinesAndThePerGameOrderOnGameLines) {
  LoadTwoGames();
  std::vector<std::string> lines = ExportLines(true);
  ASSERT_EQ(lines.size(), 5u);  // Alice, her two games, Bob, his game
  // Alice: frags, deaths, suicides, seconds, games, then gauntlet, machinegun, rocket,
  // grenade, plasma, BFG, railgun, shotgun, lightning.
  const PlayerRecord& alice = Player("Alice");
  EXPECT_EQ(lines[0], "Alice, 2, 1, 0, " + std::to_string(alice.totalSeconds) +
                          ", 2, 0, 0, 1, 0, 0, 0, 1, 0, 0");
  // Her second game: frags, deaths, suicides, frags again, then gauntlet, machinegun,
  // shotgun, rocket, grenade, lightning, plasma, railgun, BFG, and the seconds last.
  EXPECT_EQ(lines[2], "Alice: Game 2, 2, 1, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, " +
                          std::to_string(alice.games.Get(2).seconds));
  EXPECT_EQ(Values(lines[3]).size(), 15u);
  EXPECT_EQ(lines[4], "Bob: Game 1, 1, 2, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, " +
                          std::to_string(Player("Bob").games.Get(2).seconds));
}

TEST_F(CsvExportTest, WithoutGameByGameOnlyPlayerLinesAreWritten) {
  LoadTwoGames();
  std::vector<std::string> lines = ExportLines(false);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 7), "Alice, ");
  EXPECT_EQ(lines[1].substr(0, 5), "Bob, ");
}

// Which custom variables follow the fixed columns, and where the line ends.
TEST_F(CsvExportTest, VisibleCustomVariablesFollowTheFixedColumns) {
  struct Case {
    const char* what;
    int clientCount;
    std::initializer_list<int> clientVisible;
    int serverCount;
    std::initializer_list<int> serverVisible;
    std::vector<std::string> playerExtras;
    std::vector<std::string> gameExtras;
  };
  const Case cases[] = {
      {"none defined", 0, {}, 0, {}, {}, {}},
      {"none visible", 6, {}, 4, {}, {}, {}},
      {"client 2 and 5 of 6", 6, {2, 5}, 0, {}, {"20", "50"}, {"2", "5"}},
      {"client 2 and 5, server hidden", 6, {2, 5}, 4, {}, {"20", "50"}, {"2", "5"}},
      {"only server 1 and 3", 6, {}, 4, {1, 3}, {"100", "300"}, {"101", "301"}},
      {"client 6 and server 2", 6, {6}, 4, {2}, {"60", "200"}, {"6", "201"}},
  };
  LoadTwoGames();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClientVariables(c.clientCount, c.clientVisible);
    ServerVariables(c.serverCount, c.serverVisible);
    FillVariables();
    std::vector<std::string> lines = ExportLines(true);
    ASSERT_EQ(lines.size(), 5u);
    std::vector<std::string> player = Values(lines[0]);
    std::vector<std::string> game = Values(lines[1]);
    ASSERT_EQ(player.size(), 15 + c.playerExtras.size());
    ASSERT_EQ(game.size(), 15 + c.gameExtras.size());
    EXPECT_EQ(std::vector<std::string>(player.begin() + 15, player.end()), c.playerExtras);
    EXPECT_EQ(std::vector<std::string>(game.begin() + 15, game.end()), c.gameExtras);
  }
}

TEST_F(CsvExportTest, TotalsAndCountsPastThePlayersSeriesReadZero) {
  LoadTwoGames();  // the totals were sized for no variables
  ClientVariables(6, {5});
  ServerVariables(49, {49});
  Record("Alice").clientVarTotals = {0, 1, 2};
  Record("Alice").games.At(1).ClientVarRef(1) = 7;
  std::vector<std::string> lines = ExportLines(true);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 6), ", 0, 0");
  EXPECT_EQ(lines[1].substr(lines[1].size() - 6), ", 0, 0");
}

TEST_F(CsvExportTest, GameLinesCountThePlayersOwnGames) {
  std::string log;
  for (int g = 1; g <= 7; ++g) {
    if (g == 2 || g == 7) {
      log += ServerGame({{1, "Alice"}, {2, "Bob"}}, {});
    } else {
      log += ServerGame({{1, "Alice"}}, {});
    }
  }
  ASSERT_TRUE(LoadText(log));
  std::vector<std::string> lines = ExportLines(true);
  ASSERT_EQ(lines.size(), 1u + 7u + 1u + 2u);
  EXPECT_EQ(lines[7].substr(0, 15), "Alice: Game 7, ");
  EXPECT_EQ(lines[8].substr(0, 5), "Bob, ");
  EXPECT_EQ(lines[9].substr(0, 13), "Bob: Game 1, ");
  EXPECT_EQ(lines[10].substr(0, 13), "Bob: Game 2, ");
}

TEST_F(CsvExportTest, GamesHiddenAsShortHaveNoGameLines) {
  std::string log = WriteLog("games.log", ServerGame({{1, "Alice"}}, {}, "0:10") +
                                              ServerGame({{1, "Alice"}}, {}, "1:00"));
  selection.selectedFileCount = 1;
  selection.selectedLogPath = log;
  LoadDriver driver(doc, selection, prompter, folder.Path());
  driver.SetReportEnabled(false);
  ASSERT_TRUE(driver.OnNewDocument());
  ASSERT_TRUE(Game(1).shortGame);
  std::vector<std::string> lines = ExportLines(true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "Alice: Game 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 60");
}

TEST_F(CsvExportTest, NamesThatWouldShiftTheColumnsAreQuoted) {
  ASSERT_TRUE(LoadText(ServerGame({{1, "Smith, J"}, {2, "Say \"hi\""}, {3, "100%s %d"}}, {})));
  std::vector<std::string> lines = ExportLines(true);
  ASSERT_EQ(lines.size(), 6u);
  const std::string starts[] = {
      "\"Smith, J\", 0, ",
      "\"Smith, J: Game 1\", 0, ",
      "\"Say \"\"hi\"\"\", 0, ",
      "\"Say \"\"hi\"\": Game 1\", 0, ",
      "100%s %d, 0, ",
      "100%s %d: Game 1, 0, ",
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(0, starts[i].size()), starts[i]);
  }
}

TEST(CsvFieldTest, OnlyFieldsWithSeparatorsQuotesOrLineBreaksAreQuoted) {
  const std::pair<std::string, std::string> cases[] = {
      {"Bob", "Bob"},
      {"", ""},
      {"100%s", "100%s"},
      {"A B;C'", "A B;C'"},
      {"a,b", "\"a,b\""},
      {"say \"x\"", "\"say \"\"x\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
  };
  for (const auto& [field, written] : cases) {
    std::string out = "x";
    AppendCsvField(&out, field);
    EXPECT_EQ(out, "x" + written) << field;
  }
}

TEST_F(CsvExportTest, AnEmptyLoadWritesAnEmptyFile) {
  EXPECT_EQ(Export(true), "");
}

TEST_F(CsvExportTest, AFileThatCannotBeWrittenIsReportedAndThePreviousOneKept) {
  LoadTwoGames();
  // A name so long that no temporary file can be made beside it.
  std::string longPath = folder.Write(std::string(250, 'c') + ".csv", "previous");
  std::string error;
  EXPECT_FALSE(ExportCsv(doc, longPath, true, &error));
  EXPECT_NE(error.find(longPath), std::string::npos) << error;
  EXPECT_EQ(test::ReadFile(longPath), "previous");

  std::string missing = folder.File("no such folder/stats.csv");
  EXPECT_FALSE(ExportCsv(doc, missing, false, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace vexor
