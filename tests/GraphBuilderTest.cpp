// The line graph as data: which series a choice makes, in which order and colours, their values
// per game or running, the ranges, and the drawn legend.
#include "ui/GraphBuilder.h"

#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "ui/ChartGeometry.h"
#include "ui/GraphChoice.h"
#include "ui/ViewScreens.h"

namespace vexor {
namespace {

using Segments = std::vector<std::pair<float, float>>;

class GraphBuilderTest : public ::testing::Test {
 protected:
  GraphBuilderTest() {
    alice = test::AddPlayer(doc, "Alice", 32, 0, 0, 240);
    bob = test::AddPlayer(doc, "Bob");
    doc.gameCount = 3;
    doc.displayedGameCount = 3;
    // Alice plays games 1 and 3 (5 and 7 frags); game 2 holds 20 frags of hers only when it
    // is made a hidden short game.
    Game(alice, 1, 5, 60);
    Game(alice, 3, 7, 120);
    for (int g = 1; g <= 3; ++g)
      Game(bob, g, 1, 60);
  }

  void Game(int32_t p, int32_t g, int32_t frags, int32_t seconds) {
    PlayerGame& game = doc.players[static_cast<size_t>(p)].games.At(g);
    game.frags = frags;
    game.seconds = seconds;
    game.fragsPerHour = PerHourOf(seconds, frags);
  }
  static float PerHourOf(int32_t seconds, int32_t count) {
    if (seconds == 0 || count == 0) return 0;
    return static_cast<float>(count) / (static_cast<float>(seconds) * 0.00027777778f);
  }

  // The choice of the graph selection screen with these players selected in the main list,
  // these in the weapon list, and these boxes and variable slots ticked.
  GraphChoice FromView(std::set<int32_t> main, std::set<int32_t> weapons, std::set<int> boxes,
                       std::set<int> slots = {}) {
    std::vector<int32_t> mainTable(VexoriumDoc::kPlayerSlots, 0);
    std::vector<int32_t> weaponTable(VexoriumDoc::kPlayerSlots, 0);
    for (int32_t p : main)
      mainTable[static_cast<size_t>(p)] = 1;
    for (int32_t p : weapons)
      weaponTable[static_cast<size_t>(p)] = 1;
    return ChoiceFromView(
        doc, mainTable, weaponTable, [&](int id) { return boxes.count(id) > 0; },
        [&](int slot) { return slots.count(slot) > 0; });
  }

  VexoriumDoc doc;
  int32_t alice = 0;
  int32_t bob = 0;
};

constexpr int kFrags = 1004;
constexpr int kDeaths = 1005;
constexpr int kFragsPerHour = 1007;

TEST_F(GraphBuilderTest, ChoiceFromTheViewOrdersPlayersStatisticsAndVariableSlots) {
  // Client variable 1 is hidden: slot 1 is client variable 2, slot 2 server variable 1 (whose
  // box has the same control id as client variable 1's would).
  test::DefineClientVariables(doc, 2, "c", {1});
  test::DefineServerVariables(doc, 1, "s");
  GraphChoice choice =
      FromView({bob}, {alice, bob}, {kDeaths, kFrags, 1021, kCumulativeGraphingId}, {2, 3});
  EXPECT_EQ(choice.players, (std::vector<int32_t>{alice, bob}));  // Bob counts once
  std::vector<std::string> suffixes;
  for (const GraphStatistic& s : choice.statistics)
    suffixes.push_back(s.suffix);
  EXPECT_EQ(suffixes,
            (std::vector<std::string>{" : s1", " : Frags", " : Deaths", " : Gaunt Frags"}));
  EXPECT_TRUE(choice.statistics[0].variable.server);
  EXPECT_TRUE(choice.cumulative);
  EXPECT_FALSE(choice.playedOnly);
  EXPECT_EQ(choice.SeriesCount(), 8);
}

TEST_F(GraphBuilderTest, DrawGraphWarnsForNothingChosenAndForMoreThanSixteenSeries) {
  std::set<int> all;
  for (const GraphStatisticInfo& info : kGraphStatistics)
    all.insert(info.controlId);
  test::DefineClientVariables(doc, 2, "c");
  struct Case {
    std::set<int32_t> players;
    std::set<int> boxes;
    std::set<int> slots;
    std::vector<std::string> warnings;
  } cases[] = {
      {{}, {}, {}, {"There are no variables selected to graph!", "There are no players selected!"}},
      {{alice}, {}, {}, {"There are no variables selected to graph!"}},
      {{}, {kFrags}, {}, {"There are no players selected!"}},
      {{alice}, all, {1}, {}},  // 16 series
      {{alice},
       all,
       {1, 2},
       {"You are trying to graph 17 variables. Thats too many! You should delete some."}},
      {{alice, bob},
       {kFrags, kDeaths, 1006, 1011, 1013, 1014, 1015, 1016, 1017},
       {},
       {"You are trying to graph 18 variables. Thats too many! You should delete some."}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DrawGraphWarnings(FromView(c.players, {}, c.boxes, c.slots)), c.warnings)
        << c.players.size() << " players, " << c.boxes.size() << " boxes";
  }
}

TEST_F(GraphBuilderTest, SeriesValuesRangesAndHiddenGames) {
  const float rate1 = PerHourOf(60, 5);  // 300 an hour
  struct Case {
    const char* what;
    int box;
    bool cumulative;
    bool playedOnly;
    bool hideGame2;
    Segments segments;
    float xmax;
    float ymax;
  } cases[] = {
      {"per game", kFrags, false, false, false, {{0, 5}, {5, 0}, {0, 7}}, 3, 7},
      {"running total", kFrags, true, false, false, {{0, 5}, {5, 5}, {5, 12}}, 3, 32},
      // Segments start from the game before even when it was not drawn for the player.
      {"played only", kFrags, false, true, false, {{0, 5}, {0, 7}}, 2, 7},
      {"played only, running", kFrags, true, true, false, {{0, 5}, {5, 12}}, 2, 32},
      // A hidden game is skipped but its 20 frags still raise the maximum.
      {"hidden game", kFrags, false, false, true, {{0, 5}, {5, 7}}, 2, 20},
      {"rate per game",
       kFragsPerHour,
       false,
       false,
       false,
       {{0, rate1}, {rate1, 0}, {0, PerHourOf(120, 7)}},
       3,
       rate1},
      // The running rate: 5 frags in 60 s, then 12 frags in 180 s.
      {"running rate",
       kFragsPerHour,
       true,
       false,
       false,
       {{0, rate1}, {rate1, rate1}, {rate1, PerHourOf(180, 12)}},
       3,
       rate1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    doc.games[2].shortGame = c.hideGame2;
    doc.displayedGameCount = c.hideGame2 ? 2 : 3;
    Game(alice, 2, c.hideGame2 ? 20 : 0, c.hideGame2 ? 60 : 0);
    std::set<int> boxes = {c.box};
    if (c.cumulative) boxes.insert(kCumulativeGraphingId);
    if (c.playedOnly) boxes.insert(kShowOnlyGamesPlayedId);
    GraphData data = BuildGraph(doc, FromView({alice}, {}, boxes));
    ASSERT_EQ(data.series.size(), 1u);
    EXPECT_EQ(data.series[0].segments, c.segments);
    EXPECT_FLOAT_EQ(data.xmax, c.xmax);
    EXPECT_FLOAT_EQ(data.ymax, c.ymax);
  }
  // Show Only Games Played: x runs to the most games any selected player played.
  EXPECT_FLOAT_EQ(
      BuildGraph(doc, FromView({alice, bob}, {}, {kFrags, kShowOnlyGamesPlayedId})).xmax, 3);

  // The game at each x while every series shows the same games; whether every value is whole.
  doc.games[2].shortGame = true;
  GraphData counts = BuildGraph(doc, FromView({alice}, {}, {kFrags}));
  EXPECT_EQ(counts.gameNumbers, (std::vector<int32_t>{0, 1, 3}));
  EXPECT_TRUE(counts.wholeValues);
  EXPECT_FALSE(counts.playedOnly);
  GraphData rates =
      BuildGraph(doc, FromView({alice}, {}, {kFrags, kFragsPerHour, kShowOnlyGamesPlayedId}));
  EXPECT_TRUE(rates.gameNumbers.empty());
  EXPECT_TRUE(rates.playedOnly);
  EXPECT_FALSE(rates.wholeValues);
}

TEST_F(GraphBuilderTest, FourSeriesDrawTheirColoursLegendAndRanges) {
  GraphData data = BuildGraph(doc, FromView({alice}, {bob}, {kFrags, kDeaths}));
  ASSERT_EQ(data.series.size(), 4u);
  std::vector<CanvasColour> colours;
  for (const GraphSeries& s : data.series)
    colours.push_back(s.colour);
  EXPECT_EQ(colours, (std::vector<CanvasColour>{0x0000FF, 0x000000, 0x747300, 0xFF0000}));

  RecordingCanvas canvas(16, 8);
  DrawGraph(canvas, 640, 640, data);
  const std::vector<std::string>& calls = canvas.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "font 12 700");  // the layout font is measured first
  std::vector<std::string> texts;
  int lines = 0;
  for (const std::string& call : calls) {
    if (call.rfind("text ", 0) == 0) texts.push_back(call);
    if (call.rfind("line ", 0) == 0 && call.find("FFFFFF") == std::string::npos) ++lines;
  }
  EXPECT_EQ(lines, 4 * 3);
  // End labels (y from 0 to 7 + 1), two white legend rows, then one entry a series: three a
  // row in the columns 11, 35 and 59 cells of 8 pixels.
  std::vector<std::string> expected = {
      "text 32 592 left FFFFFF     0",   "text 592 592 left FFFFFF     3",
      "text 632 602 right FFFFFF Games", "text 4 576 left FFFFFF 0.0",
      "text 4 48 left FFFFFF 8.0",       "text 24 32 left FFFFFF  ",
  };
  std::string blanks(640 / 8 * 5, ' ');
  expected.push_back("text 0 0 left FFFFFF bg=FFFFFF " + blanks);
  expected.push_back("text 0 16 left FFFFFF bg=FFFFFF " + blanks);
  expected.push_back("text 88 0 left FF0000 Alice : Frags");
  expected.push_back("text 280 0 left 000000 Alice : Deaths");
  expected.push_back("text 472 0 left 007374 Bob : Frags");
  expected.push_back("text 88 16 left 0000FF Bob : Deaths");
  EXPECT_EQ(texts, expected);
}

TEST_F(GraphBuilderTest, ChoiceFromNamesFindsPlayersStatisticsAndVariables) {
  test::DefineServerVariables(doc, 2, "flag", {1});
  test::DefineClientVariables(doc, 1, "quad");
  GraphChoice choice;
  std::string error;
  // Named in any order, drawn as the desktop program draws them: client variables, server
  // variables, then the fixed statistics.
  ASSERT_TRUE(ChoiceFromNames(doc, {"Bob", "Alice", "Bob"},
                              {"railgun", "flag2", "frags", "quad1", "fph"}, &choice, &error))
      << error;
  EXPECT_EQ(choice.players, (std::vector<int32_t>{alice, bob}));
  std::vector<std::string> suffixes;
  for (const GraphStatistic& s : choice.statistics)
    suffixes.push_back(s.suffix);
  EXPECT_EQ(suffixes, (std::vector<std::string>{" : quad1", " : flag2", " : Frags", " : FPH",
                                                " : RG Frags"}));

  GraphChoice refused;
  EXPECT_FALSE(ChoiceFromNames(doc, {"Carol"}, {"frags"}, &refused, &error));
  EXPECT_EQ(error, "no player is named \"Carol\"");
  EXPECT_FALSE(ChoiceFromNames(doc, {"Bob"}, {"flag1"}, &refused, &error));  // hidden
  EXPECT_EQ(error, "no statistic and no visible custom variable is named \"flag1\"");
}

TEST(GraphPicturePathTest, TheEndingChoosesTheKind) {
  EXPECT_TRUE(PicturePathFor("a/graph.SVG").svg);
  EXPECT_EQ(PicturePathFor("graph.png").path, "graph.png");
  EXPECT_FALSE(PicturePathFor("graph.png").svg);
  EXPECT_EQ(PicturePathFor("graph").path, "graph.png");
}

}  // namespace
}  // namespace vexor
