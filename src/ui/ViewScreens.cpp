#include "ui/ViewScreens.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/StringPrintf.h"
#include "stats/VexoriumDoc.h"
#include "ui/GraphChoice.h"

namespace vexor {

const std::array<FixedBoxInfo, kFixedBoxCount> kFixedBoxes = {{
    {1004, "Frags", "Frags", 0, 0, 0, false},
    {1005, "Deaths", "Deaths", 1, 0, 0, false},
    {1006, "Suicides", "Suicides", 2, 0, 0, false},
    {1007, "Frags Per Hour", "Frags PH", 0, 1, 0, true},
    {1008, "Deaths Per Hour", "Deaths PH", 1, 1, 0, true},
    {1009, "Suicides Per Hour", "Suicides PH", 2, 1, 0, true},
    {1021, "Gauntlet Frags", "Gauntlet Frags", 0, 2, 0, false},
    {1011, "MachineGun Frags", "MachineGun Frags", 1, 2, 0, false},
    {1013, "ShotGun Frags", "Shotgun Frags", 2, 2, 0, false},
    {1015, "Grenade Frags", "Grenade Frags", 0, 3, 0, false},
    {1014, "Rocket Frags", "Rocket Frags", 1, 3, 0, false},
    {1016, "Lightning Gun Frags", "Lightning Frags", 2, 3, 0, false},
    {1018, "Railgun Frags", "Railgun Frags", 0, 4, 0, false},
    {1017, "Plasma Gun Frags", "Plasmagun Frags", 1, 4, 0, false},
    {1019, "BFG Frags", "BFG Frags", 2, 4, 0, false},
    {kCumulativeGraphingId, "Cumulative Graphing", "Cumulative Graphing", 0, -1, 53, false},
    {kShowOnlyGamesPlayedId, "Show Only Games Played", "Show Only Games Played", 0, -1, 30, false},
}};

namespace {

constexpr int kFirstBoxY = 10;
constexpr int kRowStep = 23;
constexpr int kFirstVariableY = 135;
constexpr int kFirstWeaponRow = 2;  // the rows of Quake III's weapon boxes start here
constexpr int kSlotGroupGap = 10;   // between the last weapon row and the first variable row
constexpr int kLabelGap = 20;       // from a box's left edge to its label

// The about screen: texts at (W/2 + dx, y) or (W/2 + dx, H - fromBottom).
struct AboutLine {
  int dx;
  int y;
  int fromBottom;  // used when y is -1
  const char* text;
};

constexpr std::array<AboutLine, 6> kAboutLines = {{
    {-136, 10, 0, "Programming and Interface Design"},
    {-76, 30, 0, "The Vexor team"},
    {-74, 60, 0, "HTML Generator"},
    {-69, 80, 0, "The Vexor team"},
    {-90, -1, 70, "Release Version 1.40"},
    {-195, -1, 40, "Thanks to every player whose logs shaped Vexor"},
}};
constexpr int kSummaryDx = -195;
constexpr int kSummaryFromBottom = 120;
constexpr size_t kSummaryBefore = 4;  // the load summary is drawn before "Release Version"

// A place whose size never goes below 0.
Rect Place(int x, int y, int w, int h) {
  return Rect{x, y, std::max(w, 0), std::max(h, 0)};
}

// x1, x2 and x3 of the graph selection screen's three columns.
std::array<int, 3> BoxColumns(int width) {
  return {320, (width - 520) / 2 + 320, width - 200};
}

void CollapseFixedBoxes(const ViewInputs& in, ViewLayout* layout) {
  for (const FixedBoxInfo& info : kFixedBoxes) {
    CheckBoxPlace place;
    place.controlId = info.controlId;
    place.enabled = !(info.perHour && in.clientLogSeen);
    layout->fixedBoxes.push_back(place);
  }
}

void AddLogo(int width, int height, ViewLayout* layout) {
  layout->drawLogo = true;
  layout->logoX = width / 2 - kLogoWidth / 2;
  layout->logoY = height / 2 - 155;
}

void LayoutAbout(const ViewInputs& in, int width, int height, ViewLayout* layout) {
  for (size_t i = 0; i < kAboutLines.size(); ++i) {
    if (i == kSummaryBefore && in.dataAvailable) {
      const char* format = in.selectedFileCount == 1
                               ? "Loaded %4d players and %4d games from %2d log file."
                               : "Loaded %4d players and %4d games from %2d log files.";
      layout->texts.push_back(
          {width / 2 + kSummaryDx, height - kSummaryFromBottom,
           StringPrintf(format, in.nameCount, in.gameCount, in.selectedFileCount),
           kStartFontHeight});
    }
    const AboutLine& line = kAboutLines[i];
    int y = line.y >= 0 ? line.y : height - line.fromBottom;
    layout->texts.push_back({width / 2 + line.dx, y, line.text, kStartFontHeight});
  }
}

// Quake III's weapon boxes stay collapsed when the load has none of that game's weapons.
void PlaceFixedBoxes(int width, int height, bool quake3Weapons, ViewLayout* layout) {
  std::array<int, 3> columns = BoxColumns(width);
  for (size_t i = 0; i < kFixedBoxes.size(); ++i) {
    const FixedBoxInfo& info = kFixedBoxes[i];
    if (!quake3Weapons && info.row >= kFirstWeaponRow) continue;
    int x = columns[static_cast<size_t>(info.column)];
    int y = info.row >= 0 ? kFirstBoxY + kRowStep * info.row : height - info.fromBottom;
    CheckBoxPlace& place = layout->fixedBoxes[i];
    place.box = Rect{x, y, kCheckBoxSide, kCheckBoxSide};
    place.label = info.label;
    place.labelX = x + kLabelGap;
    place.labelY = y;
    layout->texts.push_back({place.labelX, place.labelY, place.label, kGraphFontHeight});
  }
}

// The slot boxes three to a row: the other games' weapons from firstY, then the variables from
// the row after the last weapon's (at kFirstVariableY when no weapon box comes first).
void PlaceSlots(const VexoriumDoc& doc, int firstY, int width, ViewLayout* layout) {
  std::array<int, 3> columns = BoxColumns(width);
  int index = 0;  // within the slot's group
  int y0 = firstY;
  bool weapons = true;
  for (const GraphSlot& slot : GraphSlots(doc)) {
    if (weapons && slot.weapon < 0) {
      weapons = false;
      y0 = index == 0 ? kFirstVariableY : y0 + kRowStep * ((index + 2) / 3) + kSlotGroupGap;
      index = 0;
    }
    VariableBoxPlace place;
    place.slot = static_cast<int>(layout->variableBoxes.size()) + 1;
    if (slot.weapon >= 0) {
      place.weapon = slot.weapon;
      place.controlId = kWeaponBoxBaseId + slot.weapon;
      place.label = std::string(WeaponInfoOf(slot.weapon).name) + " Frags";
    } else {
      place.server = slot.variable.server;
      place.variable = slot.variable.number;
      place.controlId = kVariableBoxBaseId + slot.variable.number;
      place.label = *slot.variable.name;
    }
    int x = columns[static_cast<size_t>(index % 3)];
    int y = y0 + kRowStep * (index / 3);
    ++index;
    place.box = Rect{x, y, kCheckBoxSide, kCheckBoxSide};
    place.labelX = x + kLabelGap;
    place.labelY = y;
    layout->texts.push_back({place.labelX, place.labelY, place.label, kGraphFontHeight});
    layout->variableBoxes.push_back(std::move(place));
  }
}

void LayoutGraphSelection(const VexoriumDoc& doc, const ViewInputs& in, int width, int height,
                          ViewLayout* layout) {
  layout->mainList = Place(10, 10, 300, height / 2 - 15);
  layout->weaponList = Place(10, height / 2 + 5, 300, height / 2 - 10);
  // The other games' weapons follow Quake III's, or take their place in a load without them.
  bool quake3Weapons = GraphShowsQuake3Weapons(doc);
  PlaceFixedBoxes(width, height, quake3Weapons, layout);
  layout->drawGraph = Place(width - 200, height - 50, 90, 35);
  layout->drawGraphEnabled = !in.graphWindowOpen;
  PlaceSlots(doc, quake3Weapons ? kFirstVariableY : kFirstBoxY + kRowStep * kFirstWeaponRow, width,
             layout);
  layout->fillLists = doc.refresh;
  layout->clearRefresh = doc.refresh;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace

Screen ScreenOnShow(int32_t currentScreen, bool dataAvailable) {
  if (currentScreen == 4) return Screen::kAbout;
  if (!LogOnShow(currentScreen, dataAvailable)) return Screen::kStart;
  if (currentScreen == 1) return Screen::kLoggedData;
  return currentScreen == 2 ? Screen::kGraphSelection : Screen::kGameByGame;
}

bool LogOnShow(int32_t currentScreen, bool dataAvailable) {
  return dataAvailable && currentScreen >= 1 && currentScreen <= 3;
}

std::string WindowTitle(int32_t currentScreen, bool dataAvailable, int32_t selectedFileCount,
                        const std::string& currentLogPath) {
  if (!LogOnShow(currentScreen, dataAvailable)) return kProgramTitle;
  if (selectedFileCount == 1) return "Log: " + currentLogPath + " ";
  size_t slash = currentLogPath.rfind('/');
  if (slash != std::string::npos && slash >= 1) {
    return "Log Dir: " + currentLogPath.substr(0, slash) + " ";
  }
  return "Last Log: " + currentLogPath + " ";
}

ViewLayout LayoutView(const VexoriumDoc& doc, const ViewInputs& in, int width, int height) {
  ViewLayout layout;
  layout.screen = ScreenOnShow(in.currentScreen, in.dataAvailable);
  layout.logOnShow = LogOnShow(in.currentScreen, in.dataAvailable);
  layout.title =
      WindowTitle(in.currentScreen, in.dataAvailable, in.selectedFileCount, doc.currentLogPath);
  layout.refreshBrowser = in.currentScreen == 3;
  CollapseFixedBoxes(in, &layout);
  switch (layout.screen) {
    case Screen::kStart:
      AddLogo(width, height, &layout);
      layout.texts.push_back({width / 2 - 115, 10, "Load a Games log to begin!", kStartFontHeight});
      break;
    case Screen::kAbout:
      layout.clearListRows = true;
      AddLogo(width, height, &layout);
      LayoutAbout(in, width, height, &layout);
      break;
    case Screen::kLoggedData:
      layout.mainList = Place(10, 10, width - 20, height / 2 - 15);
      layout.weaponList = Place(10, height / 2 + 5, width - 20, height / 2 - 10);
      layout.fillLists = doc.refresh;
      layout.sortAfterFill = doc.refresh && doc.options.autoSort != 0;
      layout.clearRefresh = doc.refresh;
      break;
    case Screen::kGraphSelection:
      LayoutGraphSelection(doc, in, width, height, &layout);
      break;
    case Screen::kGameByGame:
      layout.clearListRows = true;
      layout.browser = Place(10, 10, width - 20, height - 20);
      layout.navigateBrowser = doc.refresh;
      layout.browserPath = AbsolutePath(doc.reportIndexPath);
      layout.clearRefresh = doc.refresh;
      break;
  }
  return layout;
}

Rect CheckBoxWidgetRect(const Rect& place, int indicatorW, int indicatorH) {
  int w = std::max(place.w, indicatorW);
  int h = std::max(place.h, indicatorH);
  // The centre stays where it is; an odd growth puts the extra pixel right and below.
  return Rect{place.x - (w - place.w) / 2, place.y - (h - place.h) / 2, w, h};
}

LabelHit LabelAt(const ViewLayout& layout, int x, int y, int textHeight,
                 const std::function<int(const std::string&, int, int)>& labelWidth) {
  auto holds = [&](const std::string& label, int labelX, int labelY) {
    return !label.empty() && x >= labelX && y >= labelY && y < labelY + textHeight &&
           x < labelX + labelWidth(label, labelX, labelY);
  };
  for (const CheckBoxPlace& place : layout.fixedBoxes) {
    if (place.enabled && !place.box.Collapsed() && holds(place.label, place.labelX, place.labelY))
      return {true, false, place.controlId};
  }
  for (const VariableBoxPlace& place : layout.variableBoxes) {
    if (!place.box.Collapsed() && holds(place.label, place.labelX, place.labelY))
      return {true, true, place.slot};
  }
  return {};
}

int OtherColumnWidth(Screen screen, int mainListClientWidth, int viewWidth) {
  int width = screen == Screen::kGraphSelection ? (viewWidth - 120) / 9
                                                : (mainListClientWidth - kFirstColumnWidth) / 9;
  return std::max(width, 0);
}

}  // namespace vexor
