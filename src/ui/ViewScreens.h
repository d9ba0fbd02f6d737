// The statistics view's five screens without a toolkit: which screen is on show, the main
// window's title, and where every control, picture and text of the screen goes for a view of a
// given size. The view widget recomputes the layout at every draw and applies it as it stands:
// it moves each control to its rectangle (a collapsed one to 0,0 with size 0 x 0), draws the
// texts, and carries out the draw actions (fill, sort, navigate, refresh).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stats/Weapons.h"
#include "ui/ScreenGeometry.h"

namespace vexor {

class VexoriumDoc;

enum class Screen { kStart, kLoggedData, kGraphSelection, kGameByGame, kAbout };

// The document's current screen: 0 none chosen yet, 1 logged data, 2 graph selection, 3 game by
// game, 4 about. Screens 1 to 3 need data; without it (and for any other number) the start
// screen shows. The about screen shows with or without data.
Screen ScreenOnShow(int32_t currentScreen, bool dataAvailable);

// True exactly for screens 1 to 3 with data available: a log's statistics are on show.
bool LogOnShow(int32_t currentScreen, bool dataAvailable);

constexpr const char* kProgramTitle = "Vexor v1.40";

// The main window's title: kProgramTitle, or while a log is on show "Log: PATH " for one file,
// "Log Dir: FOLDER " for several (FOLDER is the text before the last "/" of the current log
// path, when that "/" is at position 1 or later), otherwise "Last Log: PATH ".
std::string WindowTitle(int32_t currentScreen, bool dataAvailable, int32_t selectedFileCount,
                        const std::string& currentLogPath);

// Text the view draws itself: left/top aligned at (x, y), transparent background, bold, house
// colour (kViewTextColour), in a font of the given pixel height.
struct ViewText {
  int x = 0;
  int y = 0;
  std::string text;
  int fontHeight = 0;
};

constexpr const char* kViewTextColour = "#003173";
constexpr const char* kViewFontFamily = "Trebuchet MS";
constexpr int kStartFontHeight = 22;  // start and about screens
constexpr int kGraphFontHeight = 18;  // graph selection screen

// Control ids of the view's form.
constexpr int kMainListId = 1001;
constexpr int kWeaponListId = 1002;
constexpr int kBrowserId = 1026;
constexpr int kDrawGraphId = 1028;
constexpr int kShowOnlyGamesPlayedId = 1025;
constexpr int kCumulativeGraphingId = 1024;
constexpr int kVariableBoxBaseId = 50000;  // + the variable's number within its set
constexpr int kWeaponBoxBaseId = 60000;    // + the weapon's number
constexpr int kFixedBoxCount = 17;
constexpr int kStatisticBoxCount = 15;
constexpr int kCheckBoxSide = 12;
constexpr int kLogoWidth = 528;
constexpr int kLogoHeight = 334;
constexpr int kFirstColumnWidth = 100;  // "Player Name" in both lists

// One of the fixed check boxes of the graph selection screen. Each sits in a column (0, 1, 2 at
// x1, x2, x3) and a row: statistic boxes at y = 10 + 23 x row, the two bottom boxes at
// y = H - fromBottom. caption is the box's own text (its accessible name and tool tip); label is
// what the view draws beside it.
struct FixedBoxInfo {
  int controlId;
  const char* caption;
  const char* label;
  int column;
  int row;         // statistic boxes
  int fromBottom;  // bottom boxes (row -1)
  bool perHour;    // needs play times: disabled for client logs
};

// The 15 statistic boxes row by row, then "Cumulative Graphing" and "Show Only Games Played".
extern const std::array<FixedBoxInfo, kFixedBoxCount> kFixedBoxes;

struct CheckBoxPlace {
  int controlId = 0;
  Rect box;
  std::string label;  // drawn beside the box; empty while collapsed
  int labelX = 0;
  int labelY = 0;
  bool enabled = true;
};

// The box of slot j (from 1, GraphSlots in ui/GraphChoice.h): the weapons of the load's other
// games, then the visible custom variables (client variables first, then server variables, each
// in number order). Client and server variable k share control id 50000 + k; the slot tells them
// apart. Weapon w's box has control id 60000 + w.
struct VariableBoxPlace {
  int slot = 0;
  WeaponId weapon = -1;  // a weapon's box; then the two below are unused
  bool server = false;
  int32_t variable = 0;
  int controlId = 0;
  Rect box;
  std::string label;  // the variable's name or the weapon's "NAME Frags"
  int labelX = 0;
  int labelY = 0;
};

struct ViewLayout {
  Screen screen = Screen::kStart;
  std::string title;                              // the main window's title
  bool logOnShow = false;                         // the main frame's flag, written at every draw
  Rect mainList, weaponList, browser, drawGraph;  // collapsed when unused
  bool drawGraphEnabled = false;
  // kFixedBoxes in their order, placed on the graph selection screen and collapsed (with no
  // label) on the others. The per-hour boxes are disabled whenever a client log was read.
  std::vector<CheckBoxPlace> fixedBoxes;
  // Graph selection screen only; every other screen destroys the variable boxes.
  std::vector<VariableBoxPlace> variableBoxes;
  // Everything the view draws as text, in drawing order (the check-box labels included).
  std::vector<ViewText> texts;
  bool drawLogo = false;  // the 528 x 334 picture, unscaled
  int logoX = 0;
  int logoY = 0;
  bool clearListRows = false;  // about and game-by-game screens delete the rows of both lists

  // Draw actions, decided from the document's refresh flag and options.
  bool fillLists = false;        // rebuild both lists from the document
  bool sortAfterFill = false;    // then sort both by their sort state (auto-sort, logged data)
  bool navigateBrowser = false;  // show browserPath in the browser
  std::string browserPath;       // the report's first index page as an absolute path
  bool refreshBrowser = false;   // reload the page (every draw while the current screen is 3)
  bool clearRefresh = false;     // the screen has done its rebuild: clear the refresh flag
};

struct ViewInputs {
  int32_t currentScreen = 0;
  bool dataAvailable = false;
  bool clientLogSeen = false;
  bool graphWindowOpen = false;
  int32_t nameCount = 0;
  int32_t gameCount = 0;
  int32_t selectedFileCount = 0;
};

// The layout of the screen on show for a view of width x height pixels. Reads from the document
// the current log path (title), the refresh flag, auto-sort, the report index path and the
// custom-variable definitions (names and visibility); everything else comes from in. Sizes that
// would come out negative in a tiny view are 0.
ViewLayout LayoutView(const VexoriumDoc& doc, const ViewInputs& in, int width, int height);

// Where a check box's widget goes when the style draws its box indicatorW x indicatorH: never
// smaller than the place laid out for it, and centred on that place, so the whole box shows
// where the screen puts it whatever size the style draws.
Rect CheckBoxWidgetRect(const Rect& place, int indicatorW, int indicatorH);

// The check box whose drawn label holds the point (x, y): a fixed box by its control id, or the
// box of a visible variable by its slot. labelWidth gives the width of a label as drawn (a label
// cut to its room is narrower than its text); a label is textHeight pixels high. Collapsed boxes
// and disabled ones have no label to click. found is false when no label is there.
struct LabelHit {
  bool found = false;
  bool variable = false;  // key is a slot; otherwise a control id
  int key = 0;
};
LabelHit LabelAt(
    const ViewLayout& layout, int x, int y, int textHeight,
    const std::function<int(const std::string& label, int labelX, int labelY)>& labelWidth);

// Width of every list column after "Player Name": (L - 100) / 9 on the logged data screen, L
// being the main list's client width; (W - 120) / 9 on the graph selection screen, W being the
// view's width (the narrow lists scroll sideways). Never below 0.
int OtherColumnWidth(Screen screen, int mainListClientWidth, int viewWidth);

}  // namespace vexor
