// Export of the statistics as comma-separated values: player and game lines, the visible custom
// variables, quoting of names, and safe writing.
#include "stats/CsvExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "ops/LoadDriver.h"

namespace vexor {
namespace {

// Compares the export with tests/data/csv/NAME; on a mismatch writes NAME.actual beside it and
// shows the difference. VEXOR_UPDATE_GOLDEN=1 rewrites the golden file.
void ExpectGolden(const std::string& actual, const std::string& name) {
  std::string path = std::string(VEXOR_TEST_DATA) + "/csv/" + name;
  if (std::getenv("VEXOR_UPDATE_GOLDEN") != nullptr) std::ofstream(path, std::ios::binary) << actual;
  std::filesystem::remove(path + ".actual");
  if (actual == test::ReadFile(path)) return;
  std::ofstream(path + ".actual", std::ios::binary) << actual;
  std::string diff;
  if (std::FILE* pipe = ::popen(("diff -u '" + path + "' '" + path + ".actual'").c_str(), "r")) {
    for (int c; (c = std::fgetc(pipe)) != EOF;) diff.push_back(static_cast<char>(c));
    ::pclose(pipe);
  }
  ADD_FAILURE() << "the export differs from " << path << ":\n" << diff;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos;) {
    parts.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  parts.push_back(text.substr(start));
  return parts;
}

// One server-log game: the clients connect at 0:00, the kills happen at 1:00, it ends at end.
std::string ServerGame(std::initializer_list<std::pair<int, std::string_view>> clients,
                       std::initializer_list<std::string_view> kills = {},
                       std::string_view end = "2:00") {
  std::string log = test::InitGame("0:00") + "\n";
  for (const auto& [client, name] : clients) log += test::Connect("0:00", client, name) + "\n";
  for (std::string_view kill : kills) log += test::At("1:00", kill) + "\n";
  return log + test::At(end, "ShutdownGame:") + "\n";
}

class CsvExportTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // Alice plays both games, Bob the second one only.
  void LoadTwoGames() {
    ASSERT_TRUE(LoadText(ServerGame({{1, "Alice"}}, {}, "1:30") +
                         ServerGame({{1, "Alice"}, {2, "Bob"}},
                                    {"Kill: 1 2 7: Alice killed Bob by MOD_ROCKET_SPLASH",
                                     "Kill: 1 2 10: Alice killed Bob by MOD_RAILGUN",
                                     "Kill: 2 1 3: Bob killed Alice by MOD_SHOTGUN",
                                     "Kill: 1022 2 22: <world> killed Bob by MOD_FALLING"})));
  }

  // Defines both sets with the listed variables visible. Client variable v of every player has
  // the total 10v and the count v in each game; server variable v 100v and 100v + 1.
  void Variables(int clients, std::vector<int> clientsShown, int servers,
                 std::vector<int> serversShown) {
    doc.clientVarCount = clients;
    doc.serverVarCount = servers;
    for (int v = 1; v <= kMaxVariables; ++v) {
      doc.clientVars[static_cast<size_t>(v)].visible = std::ranges::count(clientsShown, v);
      doc.serverVars[static_cast<size_t>(v)].visible = std::ranges::count(serversShown, v);
    }
    for (int32_t p = 1; p <= doc.nameCount; ++p) {
      PlayerRecord& player = doc.players[static_cast<size_t>(p)];
      player.clientVarTotals.assign(static_cast<size_t>(clients) + 1, 0);
      player.serverVarTotals.assign(static_cast<size_t>(servers) + 1, 0);
      for (int v = 1; v <= clients; ++v) player.clientVarTotals[static_cast<size_t>(v)] = 10 * v;
      for (int v = 1; v <= servers; ++v) player.serverVarTotals[static_cast<size_t>(v)] = 100 * v;
      for (size_t e = 0; e < player.games.EntryCount(); ++e) {
        for (int v = 1; v <= clients; ++v) player.games.ValueAt(e).ClientVarRef(v) = v;
        for (int v = 1; v <= servers; ++v) player.games.ValueAt(e).ServerVarRef(v) = 100 * v + 1;
      }
    }
  }

  std::string Export(bool gameByGame) {
    std::string error;
    EXPECT_TRUE(ExportCsv(doc, path, gameByGame, &error)) << error;
    return test::ReadFile(path);
  }
  // The lines of the export; each must end with CR LF.
  std::vector<std::string> Lines(bool gameByGame) {
    std::vector<std::string> lines = Split(Export(gameByGame), "\r\n");
    EXPECT_EQ(lines.back(), "");
    lines.pop_back();
    return lines;
  }

  std::string path = folder.File("stats.csv");
};

// Player lines: weapon totals in their order, seconds and games in columns 5 and 6. Game lines:
// frags repeated, the per-game weapon order, the seconds last. Then the visible variables.
TEST_F(CsvExportTest, PlayersAndGamesMatchTheGoldenFile) {
  LoadTwoGames();
  Variables(3, {2}, 2, {1});
  ExpectGolden(Export(true), "players-and-games.csv");
  EXPECT_EQ(Lines(false), (std::vector<std::string>{
                              "Alice, 2, 1, 0, 210, 2, 0, 0, 1, 0, 0, 0, 1, 0, 0, 20, 100",
                              "Bob, 1, 2, 1, 120, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 20, 100"}));
}

TEST_F(CsvExportTest, VisibleCustomVariablesFollowTheFixedColumnsAndEndTheLine) {
  struct Case {
    int clients;
    std::vector<int> clientsShown;
    int servers;
    std::vector<int> serversShown;
    std::vector<std::string> playerTail, gameTail;
  };
  const Case cases[] = {
      {0, {}, 0, {}, {}, {}},
      {6, {}, 4, {}, {}, {}},
      {6, {2, 5}, 0, {}, {"20", "50"}, {"2", "5"}},
      {6, {2, 5}, 4, {}, {"20", "50"}, {"2", "5"}},
      {6, {}, 4, {1, 3}, {"100", "300"}, {"101", "301"}},
      {6, {6}, 4, {2}, {"60", "200"}, {"6", "201"}},
  };
  LoadTwoGames();
  for (const Case& c : cases) {
    Variables(c.clients, c.clientsShown, c.servers, c.serversShown);
    std::vector<std::string> lines = Lines(true);
    ASSERT_EQ(lines.size(), 5u);
    std::vector<std::string> player = Split(lines[0], ", ");
    std::vector<std::string> game = Split(lines[1], ", ");
    ASSERT_EQ(player.size(), 15 + c.playerTail.size()) << lines[0];
    ASSERT_EQ(game.size(), 15 + c.gameTail.size()) << lines[1];
    EXPECT_EQ(std::vector<std::string>(player.begin() + 15, player.end()), c.playerTail);
    EXPECT_EQ(std::vector<std::string>(game.begin() + 15, game.end()), c.gameTail);
  }
}

TEST_F(CsvExportTest, TotalsAndCountsPastThePlayersSeriesReadZero) {
  LoadTwoGames();  // the totals were sized for no variables
  doc.clientVarCount = doc.serverVarCount = 49;
  doc.players[1].clientVarTotals = {0, 1, 2};
  std::vector<std::string> lines = Lines(true);
  std::vector<std::string> player = Split(lines[0], ", ");
  ASSERT_EQ(player.size(), 15u + 98u);
  EXPECT_EQ(player[15] + player[16] + player[17] + player.back(), "1200");
  EXPECT_EQ(lines[1].substr(lines[1].size() - 6), ", 0, 0");
}

// Alice plays games 1 to 7 of which game 1 is hidden as short, Bob games 2 and 7: lines are
// labelled by the player's own count of the games played.
TEST_F(CsvExportTest, GameLinesCountThePlayersOwnGamesAndSkipHiddenOnes) {
  std::string log = ServerGame({{1, "Alice"}}, {}, "0:10");
  for (int g = 2; g <= 7; ++g) {
    log += (g == 2 || g == 7) ? ServerGame({{1, "Alice"}, {2, "Bob"}}) : ServerGame({{1, "Alice"}});
  }
  selection.selectedFileCount = 1;
  selection.selectedLogPath = WriteLog("games.log", log);
  LoadDriver driver(doc, selection, prompter, folder.Path());
  driver.SetReportEnabled(false);
  ASSERT_TRUE(driver.OnNewDocument());
  ASSERT_TRUE(Game(1).shortGame);
  std::vector<std::string> lines = Lines(true);
  ASSERT_EQ(lines.size(), 1u + 6u + 1u + 2u);
  EXPECT_EQ(lines[1], "Alice: Game 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 120");
  EXPECT_EQ(lines[6].substr(0, 15), "Alice: Game 6, ");
  EXPECT_EQ(lines[8].substr(0, 13), "Bob: Game 1, ");
  EXPECT_EQ(lines[9].substr(0, 13), "Bob: Game 2, ");
}

// A comma, a quote or a line break in a name would shift the columns; "%" is only a character.
TEST_F(CsvExportTest, NamesThatWouldShiftTheColumnsAreQuoted) {
  ASSERT_TRUE(LoadText(ServerGame({{1, "Smith, J"}, {2, "Say \"hi\""}, {3, "100%s %d"}})));
  std::vector<std::string> lines = Lines(true);
  const std::string starts[] = {"\"Smith, J\", 0, ",       "\"Smith, J: Game 1\", 0, ",
                                "\"Say \"\"hi\"\"\", 0, ", "\"Say \"\"hi\"\": Game 1\", 0, ",
                                "100%s %d, 0, ",           "100%s %d: Game 1, 0, "};
  ASSERT_EQ(lines.size(), 6u);
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(lines[i].substr(0, starts[i].size()), starts[i]);
  std::string fields;
  for (const char* field : {"a\nb", "c\rd", ""}) AppendCsvField(&fields, field);
  EXPECT_EQ(fields, "\"a\nb\"\"c\rd\"");
}

TEST_F(CsvExportTest, AFileThatCannotBeWrittenIsReportedAndThePreviousOneKept) {
  LoadTwoGames();
  // A name so long that no temporary file can be made beside it.
  std::string longName = folder.Write(std::string(250, 'c') + ".csv", "previous");
  std::string missing = folder.File("no such folder/stats.csv");
  for (const std::string& target : {longName, missing}) {
    std::string error;
    EXPECT_FALSE(ExportCsv(doc, target, true, &error));
    EXPECT_NE(error.find("\"" + target + "\""), std::string::npos) << error;
  }
  EXPECT_EQ(test::ReadFile(longName), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

}  // namespace
}  // namespace vexor
