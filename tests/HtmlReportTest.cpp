// The report's pages: index pages, server and client game pages, their tables and charts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "base/StringPrintf.h"
#include "report/HtmlPageWriter.h"
#include "report/HtmlReport.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

constexpr int kAll = KillTables::kAllWeapons;
constexpr int kRocket = KillTables::TableOf(Weapon::kRocket);

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

std::string Diff(const std::string& golden, const std::string& actual) {
  std::string command = "diff -u '" + golden + "' '" + actual + "' 2>&1";
  std::string out;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
      out.append(chunk, n);
    ::pclose(pipe);
  }
  return out;
}

class HtmlReportTest : public test::LoadFixture, public ::testing::Test {
 protected:
  std::string Html() const { return folder.File("html"); }
  std::string Page(const std::string& name) const { return test::ReadFile(Html() + "/" + name); }
  bool PageExists(const std::string& name) const {
    return std::filesystem::exists(Html() + "/" + name);
  }

  bool WriteReport() {
    std::filesystem::create_directories(Html());
    error = "unset";
    return WriteHtmlReport(doc, Html(), &error);
  }

  // A player of a hand-built document.
  int32_t AddPlayer(const std::string& rawName) {
    int32_t p = ++doc.nameCount;
    doc.playerCount = p;
    doc.players[static_cast<size_t>(p)].rawName = rawName;
    doc.SetPlayerName(p, rawName);
    return p;
  }
  // A game of a hand-built document, listed unless it is short.
  int32_t AddGame(const std::string& type = "Free For All", const std::string& map = "q3dm17",
                  bool serverLog = true, bool shortGame = false) {
    int32_t g = ++doc.gameCount;
    GameRecord& game = doc.games[static_cast<size_t>(g)];
    game.gameTypeName = type;
    game.mapName = map;
    game.serverLogGame = serverLog ? 1 : 0;
    game.shortGame = shortGame;
    if (!shortGame) ++doc.displayedGameCount;
    return g;
  }
  PlayerGame& Play(int32_t p, int32_t g, int32_t frags = 0, int32_t suicides = 0,
                   int32_t seconds = 60) {
    PlayerGame& values = doc.players[static_cast<size_t>(p)].games.At(g);
    values.frags = frags;
    values.suicides = suicides;
    values.seconds = seconds;
    return values;
  }
  // n listed games with one player, plus short games after the listed games in `shorts`.
  void ListGames(int n, std::initializer_list<int> shortsAfter = {}) {
    int32_t p = AddPlayer("Bob");
    for (int listed = 1; listed <= n; ++listed) {
      Play(p, AddGame(), 1);
      for (int after : shortsAfter) {
        if (after == listed) AddGame("Free For All", "q3dm1", true, true);
      }
    }
  }

  // Compares a page with its golden file in tests/data/report; on a mismatch writes
  // NAME.actual beside it and shows the difference. VEXOR_UPDATE_GOLDEN=1 rewrites the goldens.
  void ExpectGolden(const std::string& page, const std::string& golden) {
    std::string path = std::string(VEXOR_TEST_DATA) + "/report/" + golden;
    std::string actual = Page(page);
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
    ADD_FAILURE() << page << " differs from " << path << ":\n" << Diff(path, path + ".actual");
  }

  std::string error;
};

// A small load through the server passes (a team game with a colourful cast, and a short game),
// then a client-log game and custom variables filled in by hand.
TEST_F(HtmlReportTest, PagesMatchTheGoldenFiles) {
  ASSERT_TRUE(LoadText(Lines({
      InitGame("0:00", "q3dm%d<x>", 3, 20, 15),
      Connect("0:00", 0, "^1Bo^7b", "sarge/blue"),
      Connect("0:00", 1, "100%s <Evil>", "visor/red"),
      Connect("0:05", 2, "^3Ali^0ce", "doom/red"),
      At("0:30", "Kill: 0 1 7: ^1Bo^7b killed 100%s <Evil> by MOD_ROCKET_SPLASH"),
      At("0:40", "Kill: 1 0 10: 100%s <Evil> killed ^1Bo^7b by MOD_RAILGUN"),
      At("0:50", "Kill: 1022 2 22: <world> killed ^3Ali^0ce by MOD_FALLING"),
      At("1:00", "Kill: 2 2 7: ^3Ali^0ce killed ^3Ali^0ce by MOD_ROCKET_SPLASH"),
      At("1:10", "Kill: 0 2 10: ^1Bo^7b killed ^3Ali^0ce by MOD_RAILGUN"),
      At("1:20", "Kill: 1 0 3: 100%s <Evil> killed ^1Bo^7b by MOD_SHOTGUN"),
      At("1:30", "Kill: 2 0 10: ^3Ali^0ce killed ^1Bo^7b by MOD_RAILGUN"),
      At("2:00", "ClientDisconnect: 2"),
      At("3:05", "ShutdownGame:"),
      InitGame("0:00", "q3dm1", 0),
      Connect("0:00", 0, "^1Bo^7b"),
      At("0:10", "ShutdownGame:"),
  })));
  ASSERT_EQ(doc.displayedGameCount, 1);
  ASSERT_TRUE(Game(2).shortGame);
  int32_t bob = PlayerNumber("Bob");
  int32_t alice = PlayerNumber("Alice");

  // Server variables, the second hidden; a Team Arena set keeps the team column.
  doc.serverVarCount = 2;
  doc.serverVars[1].name = "Caps%d";
  doc.serverVars[2].name = "Hidden";
  doc.serverVars[2].visible = 0;
  doc.teamArenaSet = true;
  doc.players[static_cast<size_t>(bob)].games.At(1).ServerVarRef(1) = 2;
  doc.players[static_cast<size_t>(alice)].games.At(1).ServerVarRef(2) = 9;

  // A client-log game: Bob beats Alice, who blows herself up twice with rockets.
  int32_t g = AddGame("Unknown", "q3dm6", false);
  doc.games[static_cast<size_t>(g)].playerNumber = 2;
  KillTables& kills = doc.games[static_cast<size_t>(g)].kills;
  kills.Allocate(2);
  Play(bob, g, 3, 0, 1).deaths = 1;
  Play(alice, g, 1, 2, 1).deaths = 3;
  for (int i = 0; i < 3; ++i)
    kills.Add(kAll, 0, 1);
  for (int i = 0; i < 3; ++i)
    kills.Add(KillTables::TableOf(Weapon::kLightning), 0, 1);
  kills.Add(kAll, 1, 0);
  kills.Add(KillTables::TableOf(Weapon::kPlasma), 1, 0);
  for (int i = 0; i < 2; ++i)
    kills.Add(kAll, 1, 1), kills.Add(kRocket, 1, 1);
  doc.clientVarCount = 1;
  doc.clientVars[1].name = "Taunts";
  doc.players[static_cast<size_t>(alice)].games.At(g).ClientVarRef(1) = 4;

  ASSERT_TRUE(WriteReport()) << error;
  EXPECT_EQ(error, "");
  ExpectGolden("games.htm", "games.htm");
  ExpectGolden("games/game1.htm", "server-game.htm");
  ExpectGolden("games/game2.htm", "client-game.htm");
  EXPECT_FALSE(PageExists("games/game3.htm"));
  EXPECT_FALSE(PageExists("games1.htm"));
}

TEST_F(HtmlReportTest, IndexPagesHoldAHundredListedGamesEach) {
  ListGames(100);
  ASSERT_TRUE(WriteReport()) << error;
  EXPECT_TRUE(PageExists("games/game100.htm"));
  EXPECT_EQ(Count(Page("games.htm"), "<a href=\"games/game"), 100u);
  EXPECT_FALSE(PageExists("games1.htm"));
}

TEST_F(HtmlReportTest, TheHundredAndFirstListedGameStartsTheNextIndexPage) {
  ListGames(101, {50, 100});  // short games between do not move the boundary
  ASSERT_EQ(doc.gameCount, 103);
  ASSERT_TRUE(WriteReport()) << error;
  std::string first = Page("games.htm");
  std::string second = Page("games1.htm");
  EXPECT_EQ(Count(first, "<a href=\"games/game"), 100u);
  EXPECT_NE(first.find(">Game 100 (q3dm17)<"), std::string::npos);
  EXPECT_EQ(Count(second, "<a href=\"games/game"), 1u);
  EXPECT_NE(second.find("<a href=\"games/game101.htm\"><font color=\"#003173\">Game 101 (q3dm17)"),
            std::string::npos);
  // Both index pages link to both.
  EXPECT_NE(second.find("<a href=games1.htm>"), std::string::npos);
  EXPECT_NE(first.find("<b>Games 101 - 101</b>"), std::string::npos);
  EXPECT_FALSE(PageExists("games/game102.htm"));
}

// A followed log's report writes the same pages newest first, and removes the index and game
// pages a longer report left, and nothing else.
TEST_F(HtmlReportTest, AFollowedLogsReportLeavesNoPageOfAnEarlierLongerOne) {
  ListGames(230);
  ASSERT_TRUE(WriteReport()) << error;
  ASSERT_TRUE(PageExists("games2.htm"));
  for (const char* other : {"games/game0231.htm", "games/game231.html", "games/notes.htm",
                            "games3x.htm", "stats.json"}) {
    std::ofstream(Html() + "/" + other) << "kept";
  }
  doc.gameCount = 101;  // the same games cut short, with game 101 short
  doc.games[101].shortGame = true;
  std::vector<int32_t> pagesDone;
  auto onGame = [&](int32_t done, int32_t count) { pagesDone.push_back(done * 1000 + count); };
  ASSERT_TRUE(WriteHtmlReport(doc, Html(), &error, onGame, ReportWriting::kFollowed)) << error;
  EXPECT_EQ(pagesDone.size(), 100u);
  EXPECT_EQ(pagesDone.back(), 100100);
  EXPECT_TRUE(PageExists("games1.htm"));  // the short game after the hundredth starts it
  EXPECT_FALSE(PageExists("games2.htm"));
  EXPECT_TRUE(PageExists("games/game100.htm"));
  for (const char* past : {"games/game101.htm", "games/game230.htm"})
    EXPECT_FALSE(PageExists(past));
  for (const char* other : {"games/game0231.htm", "games/game231.html", "games/notes.htm",
                            "games3x.htm", "stats.json"}) {
    EXPECT_TRUE(PageExists(other)) << other;
  }
}

TEST_F(HtmlReportTest, ShortGamesAreSkippedAndListedGamesNumberedOn) {
  int32_t p = AddPlayer("Bob");
  for (int g = 1; g <= 7; ++g)
    Play(p, AddGame("Free For All", StringPrintf("map%d", g), true, g == 3 || g == 5));
  ASSERT_TRUE(WriteReport()) << error;
  std::string page = Page("games/game5.htm");
  EXPECT_NE(page.find("Game 5 (Free For All)"), std::string::npos);
  EXPECT_NE(page.find(">map7</p>"), std::string::npos);
  EXPECT_FALSE(PageExists("games/game6.htm"));
  EXPECT_NE(Page("games.htm").find("Game 5 (map7)"), std::string::npos);
}

TEST_F(HtmlReportTest, OnlyAShortGameGivesAnEmptyIndexPage) {
  Play(AddPlayer("Bob"), AddGame("Free For All", "q3dm1", true, true), 0, 0, 5);
  ASSERT_TRUE(WriteReport()) << error;
  std::string index = Page("games.htm");
  EXPECT_EQ(index.find("<a href=\"games/"), std::string::npos);
  EXPECT_TRUE(index.ends_with("</html>\r\n"));
  EXPECT_TRUE(std::filesystem::is_directory(Html() + "/games"));
  EXPECT_FALSE(PageExists("games/game1.htm"));
}

TEST_F(HtmlReportTest, ClientGamePagesLinkOnlyToIndexPagesThatExist) {
  int32_t p = AddPlayer("Bob");
  for (int g = 1; g <= 150; ++g)
    Play(p, AddGame("Unknown", "q3dm1", g % 3 != 0, g > 90));
  ASSERT_EQ(doc.displayedGameCount, 90);
  ASSERT_TRUE(WriteReport()) << error;
  ASSERT_FALSE(PageExists("games1.htm"));
  for (const char* page : {"games/game2.htm", "games/game3.htm"}) {  // server, client
    std::string text = Page(page);
    EXPECT_NE(text.find("<a href=..\\games.htm>"), std::string::npos) << page;
    EXPECT_EQ(text.find("games1.htm"), std::string::npos) << page;
  }
}

TEST_F(HtmlReportTest, UnknownGameTypeIsLeftOutOfHeadings) {
  Play(AddPlayer("Bob"), AddGame("Unknown", "q3dm1"));
  ASSERT_TRUE(WriteReport()) << error;
  EXPECT_NE(Page("games.htm").find("Game 1 (q3dm1)</font></a><br></font></b></p>"),
            std::string::npos);
  EXPECT_NE(Page("games/game1.htm")
                .find("<p><b><font color=\"#003173\" size=\"4\">Game 1</font></b></p>"),
            std::string::npos);
}

TEST_F(HtmlReportTest, TeamColumnOnlyForTeamGamesWithoutForeignVariables) {
  struct Case {
    const char* type;
    int32_t clientVars;
    int32_t serverVars;
    bool teamArena;
    bool team;
  };
  const Case cases[] = {
      {"Team Deathmatch", 0, 0, false, true},  {"Team Deathmatch", 1, 0, false, false},
      {"Team Deathmatch", 0, 1, false, false}, {"Team Deathmatch", 0, 1, true, true},
      {"Capture The Flag", 0, 0, false, true}, {"Free For All", 0, 0, false, false},
      {"Tournament", 0, 0, true, false},
  };
  int32_t p = AddPlayer("Bob");
  int32_t g = AddGame();
  Play(p, g).team = 2;
  for (const Case& c : cases) {
    doc.games[static_cast<size_t>(g)].gameTypeName = c.type;
    doc.clientVarCount = c.clientVars;
    doc.serverVarCount = c.serverVars;
    doc.teamArenaSet = c.teamArena;
    ASSERT_TRUE(WriteReport()) << error;
    std::string page = Page("games/game1.htm");
    EXPECT_EQ(page.find(">Team</font>") != std::string::npos, c.team) << c.type;
    EXPECT_EQ(page.find(">R</font></center>") != std::string::npos, c.team) << c.type;
  }
}

TEST_F(HtmlReportTest, VisibleVariablesAreShownSixToATable) {
  int32_t p = AddPlayer("Bob");
  int32_t g = AddGame();
  Play(p, g);
  doc.serverVarCount = 14;
  for (int v = 1; v <= 14; ++v) {
    doc.serverVars[static_cast<size_t>(v)].name = StringPrintf("var%02d", v);
    doc.players[1].games.At(g).ServerVarRef(v) = 100 + v;
  }
  doc.serverVars[3].visible = 0;
  ASSERT_TRUE(WriteReport()) << error;
  std::string page = Page("games/game1.htm");
  ASSERT_EQ(Count(page, "<b>User Variables</b>"), 3u);
  std::vector<size_t> tables;
  for (size_t at = page.find("User Variables"); at != std::string::npos;
       at = page.find("User Variables", at + 1)) {
    tables.push_back(at);
  }
  auto headingsIn = [&](size_t table) {
    size_t end = table + 1 < tables.size() ? tables[table + 1] : page.size();
    std::string part = page.substr(tables[table], end - tables[table]);
    std::string names;
    for (int v = 1; v <= 14; ++v) {
      if (part.find(StringPrintf(">var%02d<", v)) != std::string::npos)
        names += StringPrintf("%d ", v);
    }
    return names;
  };
  EXPECT_EQ(headingsIn(0), "1 2 4 5 6 7 ");
  EXPECT_EQ(headingsIn(1), "8 9 10 11 12 13 ");
  EXPECT_EQ(headingsIn(2), "14 ");
  EXPECT_EQ(page.find(">103<"), std::string::npos);  // the hidden variable's count
  EXPECT_NE(page.find(">114<"), std::string::npos);
  // The index page shows them too; the client set is empty, so a client game would not.
  EXPECT_EQ(Count(Page("games.htm"), "<b>User Variables</b>"), 3u);
}

TEST_F(HtmlReportTest, KillChartsOnlyForWeaponsThatKilledAndSuicidesOnTheDiagonal) {
  int32_t bob = AddPlayer("Bob");
  int32_t alice = AddPlayer("Alice");
  int32_t quiet = AddGame();
  Play(bob, quiet);
  Play(alice, quiet);
  int32_t g = AddGame();
  doc.games[static_cast<size_t>(g)].kills.Allocate(2);
  Play(bob, g);
  Play(alice, g, 0, 2);
  KillTables& kills = doc.games[static_cast<size_t>(g)].kills;
  for (int i = 0; i < 2; ++i)
    kills.Add(kAll, 1, 1), kills.Add(kRocket, 1, 1);
  ASSERT_TRUE(WriteReport()) << error;

  EXPECT_EQ(Page("games/game1.htm").find("Killchart"), std::string::npos);
  std::string page = Page("games/game2.htm");
  EXPECT_EQ(Count(page, "Killchart"), 2u);
  const std::string diagonal =
      "<td width=\"20\"><p align=\"right\"><font color=\"#003173\">2</font></p></td>";
  for (const char* title : {"Killchart (All weapons)", "Killchart (Rocket Kills)"}) {
    size_t chart = page.find(title);
    ASSERT_NE(chart, std::string::npos) << title;
    size_t end = page.find("</table>", chart);
    std::string part = page.substr(chart, end - chart);
    EXPECT_EQ(Count(part, diagonal), 1u) << title;
    EXPECT_EQ(Count(part, "<font color=\"#003173\">0</font>"), 1u) << title;  // Bob's diagonal
    EXPECT_EQ(Count(part, "<p align=\"right\"><b>2</b></p>"), 3u) << title;   // row, column, all
  }
}

// A row of sixty count cells is longer than the pieces the chart is written in.
TEST_F(HtmlReportTest, AKillChartOfSixtyPlayersKeepsEveryRowsCountsInOrder) {
  constexpr int32_t kPlayers = 60;
  int32_t g = AddGame();
  for (int32_t i = 0; i < kPlayers; ++i)
    Play(AddPlayer(StringPrintf("P%d", i)), g);
  KillTables& kills = doc.games[static_cast<size_t>(g)].kills;
  kills.Allocate(kPlayers);
  auto countAt = [](int32_t k, int32_t v) { return k == 7 && v == 59 ? 123456 : (k + v) % 3; };
  for (int32_t k = 0; k < kPlayers; ++k) {
    for (int32_t v = 0; v < kPlayers; ++v) {
      for (int32_t n = 0; n < countAt(k, v); ++n)
        kills.Add(kAll, k, v);
    }
  }
  ASSERT_TRUE(WriteReport()) << error;

  std::string page = Page("games/game1.htm");
  for (int32_t k = 0; k < kPlayers; ++k) {
    std::string row;
    for (int32_t v = 0; v < kPlayers; ++v) {
      row += StringPrintf(
          "<td width=\"20\"><p align=\"right\"><font color=\"%s\">%d</font></p></td>\r\n",
          k == v ? "#003173" : "#FFFFFF", countAt(k, v));
    }
    EXPECT_NE(page.find(row), std::string::npos) << "row " << k;
  }
}

TEST_F(HtmlReportTest, ScoreOrderPutsEqualScoresHigherPlayerFirstAndDropsHopelessScores) {
  int32_t g = AddGame();
  const std::pair<int32_t, int32_t> fragsAndSuicides[] = {{5, 0},     {8, 1},     {6, 1},
                                                          {0, 10001}, {0, 10000}, {9, 0}};
  for (const auto& [frags, suicides] : fragsAndSuicides)
    Play(AddPlayer("p"), g, frags, suicides);
  AddPlayer("absent");                   // no values in the game
  Play(AddPlayer("gone"), g, 50, 0, 0);  // no play time: not present
  HtmlPageWriter writer(doc);
  writer.SortPlayersByScore(g);
  EXPECT_EQ(writer.ScoreOrder(), (std::vector<int32_t>{6, 2, 3, 1, 5}));
  writer.SortPlayersByScore(g + 1);
  EXPECT_TRUE(writer.ScoreOrder().empty());
}

TEST_F(HtmlReportTest, EveryTableSetsItsCellTagFirst) {
  int32_t bob = AddPlayer("Bob");
  for (bool server : {true, false}) {
    int32_t g = AddGame("Team Deathmatch", "q3dm1", server);
    Play(bob, g, 1, 1);
    doc.games[static_cast<size_t>(g)].kills.Allocate(1);
    doc.games[static_cast<size_t>(g)].kills.Add(kAll, 0, 0);
  }
  doc.serverVarCount = doc.clientVarCount = 1;
  std::filesystem::create_directories(Html());
  for (int32_t g = 1; g <= 2; ++g) {
    PageQueue queue;
    HtmlFile file(queue, 0);
    file.Open(Html() + "/page.htm");
    HtmlPageWriter writer(doc);
    writer.SetFile(&file);
    writer.SetCellTag("<td STALE>");
    writer.WriteIndexEntry(g, 1);
    writer.SetCellTag("<td STALE>");
    writer.WriteGamePage(g, 1);
    file.Close();
    ASSERT_EQ(queue.Finish(), "");
    EXPECT_EQ(Page("page.htm").find("STALE"), std::string::npos) << "game " << g;
  }
}

TEST_F(HtmlReportTest, MissingGamesFolderFailsTheGamePagesButNotTheIndex) {
  Play(AddPlayer("Bob"), AddGame());
  std::filesystem::create_directories(Html());
  folder.Write("html/games", "a file where the folder should be");
  EXPECT_FALSE(WriteReport());
  EXPECT_NE(error.find("games"), std::string::npos);
  EXPECT_NE(error.find("cannot be created"), std::string::npos);
  EXPECT_NE(Page("games.htm").find("Game 1 (q3dm17)"), std::string::npos);
  // Nothing half-written is left behind.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Html()))
    ++files;
  EXPECT_EQ(files, 2u);
}

}  // namespace
}  // namespace vexor
