// The statistics view's screens: which one shows, the window title, and the layout of every
// screen at two view sizes.
#include "ui/ViewScreens.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

TEST(ViewScreensTest, ScreenOnShowFollowsTheCurrentScreenAndTheData) {
  struct Case {
    int32_t current;
    Screen withoutData;
    Screen withData;
  };
  const Case cases[] = {
      {0, Screen::kStart, Screen::kStart},          {1, Screen::kStart, Screen::kLoggedData},
      {2, Screen::kStart, Screen::kGraphSelection}, {3, Screen::kStart, Screen::kGameByGame},
      {4, Screen::kAbout, Screen::kAbout},          {5, Screen::kStart, Screen::kStart},
      {-1, Screen::kStart, Screen::kStart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    EXPECT_EQ(ScreenOnShow(c.current, false), c.withoutData);
    EXPECT_EQ(ScreenOnShow(c.current, true), c.withData);
    EXPECT_FALSE(LogOnShow(c.current, false));
    EXPECT_EQ(LogOnShow(c.current, true), c.current >= 1 && c.current <= 3);
  }
}

TEST(ViewScreensTest, TitleNamesTheLogTheFolderOrTheLastLog) {
  EXPECT_EQ(WindowTitle(1, true, 1, "/q3/games.log"), "Log: /q3/games.log ");
  EXPECT_EQ(WindowTitle(2, true, 3, "/home/q3/baseq3/games.log"), "Log Dir: /home/q3/baseq3 ");
  EXPECT_EQ(WindowTitle(3, true, 2, "games.log"), "Last Log: games.log ");
  // A "/" at position 0 is no folder.
  EXPECT_EQ(WindowTitle(3, true, 2, "/games.log"), "Last Log: /games.log ");
  EXPECT_EQ(WindowTitle(4, true, 1, "/q3/games.log"), "Vexor v1.40");
  EXPECT_EQ(WindowTitle(1, false, 1, "/q3/games.log"), "Vexor v1.40");
}

class ViewLayoutTest : public ::testing::Test {
 protected:
  ViewLayout Layout(int32_t screen, int width, int height) {
    in.currentScreen = screen;
    return LayoutView(doc, in, width, height);
  }
  // Appends a variable to a set (doc.clientVars or doc.serverVars) and counts it.
  template <typename Set>
  static void AddVariable(Set& set, int32_t& count, const std::string& name, bool visible) {
    set[static_cast<size_t>(++count)].name = name;
    set[static_cast<size_t>(count)].visible = visible;
  }
  static const CheckBoxPlace& Box(const ViewLayout& layout, int id) {
    auto it = std::ranges::find(layout.fixedBoxes, id, &CheckBoxPlace::controlId);
    EXPECT_NE(it, layout.fixedBoxes.end()) << id;
    return *it;
  }
  static bool HasText(const ViewLayout& layout, int x, int y, const std::string& text, int font) {
    return std::ranges::any_of(layout.texts, [&](const ViewText& t) {
      return t.x == x && t.y == y && t.text == text && t.fontHeight == font;
    });
  }

  VexoriumDoc doc;
  ViewInputs in{.currentScreen = 0,
                .dataAvailable = true,
                .clientLogSeen = false,
                .graphWindowOpen = false,
                .nameCount = 12,
                .gameCount = 34,
                .selectedFileCount = 1};
};

TEST_F(ViewLayoutTest, GraphSelectionPlacesTheFixedBoxesInThreeColumnsAndEnablesThem) {
  struct Size {
    int w, h, x2, x3;
  };
  for (Size size : {Size{800, 600, 460, 600}, Size{1024, 768, 572, 824}}) {
    SCOPED_TRACE(size.w);
    ViewLayout layout = Layout(2, size.w, size.h);
    EXPECT_EQ(layout.screen, Screen::kGraphSelection);
    EXPECT_EQ(layout.mainList, (Rect{10, 10, 300, size.h / 2 - 15}));
    EXPECT_EQ(layout.weaponList, (Rect{10, size.h / 2 + 5, 300, size.h / 2 - 10}));
    EXPECT_TRUE(layout.browser.Collapsed());
    ASSERT_EQ(layout.fixedBoxes.size(), 17u);
    // A box of each row and column, with its drawn label (not its caption).
    struct Expected {
      int id, x, y;
      const char* label;
    };
    const Expected expected[] = {
        {1004, 320, 10, "Frags"},
        {1008, size.x2, 33, "Deaths PH"},
        {1013, size.x3, 56, "Shotgun Frags"},
        {1015, 320, 79, "Grenade Frags"},
        {1017, size.x2, 102, "Plasmagun Frags"},
        {1019, size.x3, 102, "BFG Frags"},
        {1024, 320, size.h - 53, "Cumulative Graphing"},
        {1025, 320, size.h - 30, "Show Only Games Played"},
    };
    for (const Expected& e : expected) {
      const CheckBoxPlace& box = Box(layout, e.id);
      EXPECT_EQ(box.box, (Rect{e.x, e.y, 12, 12})) << e.id;
      EXPECT_EQ(box.label, e.label);
      EXPECT_TRUE(HasText(layout, e.x + 20, e.y, e.label, 18)) << e.id;
    }
    EXPECT_EQ(layout.drawGraph, (Rect{size.w - 200, size.h - 50, 90, 35}));
    EXPECT_TRUE(layout.drawGraphEnabled);
    EXPECT_TRUE(std::ranges::all_of(layout.fixedBoxes, &CheckBoxPlace::enabled));
  }
  // Client logs disable the per-hour boxes; an open chart disables Draw Graph.
  in.clientLogSeen = true;
  in.graphWindowOpen = true;
  ViewLayout layout = Layout(2, 800, 600);
  for (const CheckBoxPlace& box : layout.fixedBoxes) {
    EXPECT_EQ(box.enabled, box.controlId < 1007 || box.controlId > 1009) << box.controlId;
  }
  EXPECT_FALSE(layout.drawGraphEnabled);
}

TEST_F(ViewLayoutTest, VariableBoxesNumberTheVisibleClientVariablesBeforeTheServerOnes) {
  for (auto [name, visible] : {std::pair{"Flags", true}, {"Hidden", false}, {"Telefrags", true}}) {
    AddVariable(doc.clientVars, doc.clientVarCount, name, visible);
  }
  for (auto [name, visible] : {std::pair{"Caps", true}, {"Secret", false}, {"Returns", true}}) {
    AddVariable(doc.serverVars, doc.serverVarCount, name, visible);
  }
  ViewLayout layout = Layout(2, 1024, 768);
  struct Expected {
    bool server;
    int32_t variable;
    int x, y;
    const char* name;
  };
  const Expected expected[] = {
      {false, 1, 320, 135, "Flags"},
      {false, 3, 572, 135, "Telefrags"},
      {true, 1, 824, 135, "Caps"},
      {true, 3, 320, 158, "Returns"},
  };
  ASSERT_EQ(layout.variableBoxes.size(), 4u);
  for (int j = 0; j < 4; ++j) {
    const VariableBoxPlace& box = layout.variableBoxes[static_cast<size_t>(j)];
    const Expected& e = expected[j];
    EXPECT_EQ(box.slot, j + 1);
    EXPECT_EQ(box.server, e.server);
    EXPECT_EQ(box.variable, e.variable);
    EXPECT_EQ(box.controlId, 50000 + e.variable);
    EXPECT_EQ(box.box, (Rect{e.x, e.y, 12, 12}));
    EXPECT_TRUE(HasText(layout, e.x + 20, e.y, e.name, 18)) << e.name;
  }
  // Every other screen destroys them and collapses the fixed boxes without labels.
  ViewLayout logged = Layout(1, 1024, 768);
  EXPECT_TRUE(logged.variableBoxes.empty());
  for (const CheckBoxPlace& box : logged.fixedBoxes) {
    EXPECT_TRUE(box.box.Collapsed());
    EXPECT_TRUE(box.label.empty());
  }
}

// A click on a drawn label toggles its box; a box drawn larger than its place stays centred on it.
TEST_F(ViewLayoutTest, ALabelClickFindsItsBoxAndBoxesGrowAroundTheirPlace) {
  AddVariable(doc.clientVars, doc.clientVarCount, "Flags", true);
  in.clientLogSeen = true;  // the per-hour boxes are disabled
  ViewLayout layout = Layout(2, 1024, 768);
  // Labels 8 pixels a character, the one at x2 of the first row cut to 30 pixels.
  auto width = [](const std::string& label, int labelX, int labelY) {
    return labelX == 592 && labelY == 10 ? 30 : static_cast<int>(label.size()) * 8;
  };
  struct Case {
    int x, y;
    bool found, variable;
    int key;
  };
  const Case cases[] = {
      {340, 10, true, false, 1004},  // the first pixel of "Frags"
      {379, 27, true, false, 1004},  // its last one
      {380, 10, false, false, 0},    // past its end
      {340, 28, false, false, 0},    // below it
      {326, 15, false, false, 0},    // the box itself is the box's own business
      {621, 12, true, false, 1005},  // "Deaths", cut to 30 pixels
      {622, 12, false, false, 0},    // beyond what is drawn of it
      {345, 35, false, false, 0},    // "Frags PH": disabled for a client log
      {345, 768 - 50, true, false, kCumulativeGraphingId},
      {345, 140, true, true, 1},  // the first variable's name
  };
  for (const Case& c : cases) {
    LabelHit hit = LabelAt(layout, c.x, c.y, 18, width);
    EXPECT_EQ(hit.found, c.found) << c.x << "," << c.y;
    EXPECT_EQ(hit.variable, c.variable) << c.x << "," << c.y;
    EXPECT_EQ(hit.key, c.key) << c.x << "," << c.y;
  }
  EXPECT_FALSE(LabelAt(Layout(1, 1024, 768), 340, 10, 18, width).found);  // no boxes on show

  const Rect place{320, 10, 12, 12};
  EXPECT_EQ(CheckBoxWidgetRect(place, 13, 13), (Rect{320, 10, 13, 13}));
  EXPECT_EQ(CheckBoxWidgetRect(place, 16, 20), (Rect{318, 6, 16, 20}));
  EXPECT_EQ(CheckBoxWidgetRect(place, 10, 10), place);
}

TEST_F(ViewLayoutTest, LoggedDataSplitsTheViewAndRebuildsOnRefresh) {
  doc.refresh = true;
  doc.options.autoSort = 1;
  for (auto [w, h] : {std::pair{800, 600}, std::pair{1024, 767}}) {
    ViewLayout layout = Layout(1, w, h);
    EXPECT_EQ(layout.mainList, (Rect{10, 10, w - 20, h / 2 - 15}));
    EXPECT_EQ(layout.weaponList, (Rect{10, h / 2 + 5, w - 20, h / 2 - 10}));
    EXPECT_TRUE(layout.browser.Collapsed() && layout.drawGraph.Collapsed());
    EXPECT_TRUE(layout.texts.empty());
    EXPECT_FALSE(layout.drawLogo || layout.clearListRows);
    EXPECT_TRUE(layout.fillLists && layout.sortAfterFill && layout.clearRefresh);
  }
  doc.options.autoSort = 0;
  EXPECT_FALSE(Layout(1, 800, 600).sortAfterFill);
  doc.refresh = false;
  ViewLayout quiet = Layout(1, 800, 600);
  EXPECT_FALSE(quiet.fillLists || quiet.sortAfterFill || quiet.clearRefresh);
  EXPECT_EQ(OtherColumnWidth(Screen::kLoggedData, 776, 800), 75);
  EXPECT_EQ(OtherColumnWidth(Screen::kGraphSelection, 300, 800), 75);
}

TEST_F(ViewLayoutTest, StartAndAboutScreensDrawTheLogoAndTheirLines) {
  in.dataAvailable = false;
  ViewLayout start = Layout(2, 800, 600);
  EXPECT_EQ(start.screen, Screen::kStart);
  EXPECT_TRUE(start.drawLogo);
  EXPECT_EQ(start.logoX, 136);
  EXPECT_EQ(start.logoY, 145);
  EXPECT_TRUE(start.mainList.Collapsed() && start.weaponList.Collapsed());
  ASSERT_EQ(start.texts.size(), 1u);
  EXPECT_TRUE(HasText(start, 285, 10, "Load a Games log to begin!", 22));
  EXPECT_FALSE(start.clearListRows || start.fillLists || start.clearRefresh);

  ViewLayout about = Layout(4, 800, 600);
  EXPECT_TRUE(about.clearListRows);
  EXPECT_TRUE(HasText(about, 264, 10, "Programming and Interface Design", 22));
  EXPECT_TRUE(HasText(about, 310, 530, "Release Version 1.40", 22));
  EXPECT_EQ(about.texts.size(), 6u);  // no load summary without data

  in.dataAvailable = true;
  EXPECT_TRUE(HasText(Layout(4, 800, 600), 205, 480,
                      "Loaded   12 players and   34 games from  1 log file.", 22));
  in.selectedFileCount = 3;
  ViewLayout several = Layout(4, 1024, 768);
  EXPECT_EQ(several.texts.size(), 7u);
  EXPECT_TRUE(
      HasText(several, 317, 648, "Loaded   12 players and   34 games from  3 log files.", 22));
  EXPECT_EQ(several.title, "Vexor v1.40");
}

TEST_F(ViewLayoutTest, GameByGameShowsOnlyTheBrowser) {
  doc.refresh = true;
  doc.reportIndexPath = "/srv/vexor/html/games.htm";
  ViewLayout layout = Layout(3, 1024, 768);
  EXPECT_EQ(layout.browser, (Rect{10, 10, 1004, 748}));
  EXPECT_TRUE(layout.mainList.Collapsed() && layout.drawGraph.Collapsed());
  EXPECT_TRUE(layout.clearListRows && layout.navigateBrowser && layout.refreshBrowser);
  EXPECT_EQ(layout.browserPath, "/srv/vexor/html/games.htm");
  EXPECT_FALSE(layout.fillLists);
  // A tiny view gives no negative sizes.
  EXPECT_EQ(Layout(3, 12, 8).browser, (Rect{10, 10, 0, 0}));
}

}  // namespace
}  // namespace vexor
