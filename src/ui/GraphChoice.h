// What a line graph shows: the players and statistics chosen on the graph selection screen (or
// named on the command line) and the two options, and the warnings that refuse a choice.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stats/Weapons.h"
#include "ui/VisibleVariables.h"

namespace vexor {

class VexoriumDoc;
struct PlayerGame;
struct PlayerRecord;

// One of the 15 fixed statistics: its check box, the suffix of its series' legend text, its
// name on the command line, and where its values come from.
struct GraphStatisticInfo {
  int controlId;
  const char* suffix;
  const char* commandLineName;
  int32_t (*count)(const PlayerGame&);   // the game's count (of a rate: what is counted)
  float (*gameRate)(const PlayerGame&);  // per-hour statistics: the game's rate; else null
  int32_t (*total)(const PlayerRecord&);
};

// In drawing order: Suicides, Frags, Deaths, the three per-hour rates (frags, suicides,
// deaths), then Quake III's weapons' frags (machinegun ... BFG, gauntlet last), from
// kFirstQuake3WeaponStatistic on.
extern const std::array<GraphStatisticInfo, 15> kGraphStatistics;
constexpr size_t kFirstQuake3WeaponStatistic = 6;

// A statistic of a graph: one of the fixed ones, the frags of another game's weapon, or a
// visible custom variable.
struct GraphStatistic {
  const GraphStatisticInfo* fixed = nullptr;  // null for the other two
  WeaponId weapon = -1;                       // another game's weapon, or -1
  VisibleVariable variable;                   // when neither of the above
  std::string suffix;                         // " : " and the statistic's short name

  bool PerHour() const { return fixed != nullptr && fixed->gameRate != nullptr; }
  int32_t Count(const PlayerGame& game) const;
  float GameRate(const PlayerGame& game) const;  // PerHour() only
  int32_t Total(const PlayerRecord& player) const;
};

struct GraphChoice {
  std::vector<int32_t> players;            // player numbers, ascending, each once
  std::vector<GraphStatistic> statistics;  // in drawing order: client variables, server
                                           // variables, kGraphStatistics' order, then the
                                           // other games' weapons by number
  bool cumulative = false;                 // "Cumulative Graphing"
  bool playedOnly = false;                 // "Show Only Games Played"

  // Players x statistics: the number of series the graph draws.
  int32_t SeriesCount() const { return static_cast<int32_t>(players.size() * statistics.size()); }
};

// The boxes the graph selection screen shows after the fixed ones, slot by slot from 1: the
// weapons of the load's other games whose columns the options show, then the visible custom
// variables. A load of Quake III games has only the variables.
struct GraphSlot {
  WeaponId weapon = -1;      // a weapon's box, or -1
  VisibleVariable variable;  // a variable's box
};
std::vector<GraphSlot> GraphSlots(const VexoriumDoc& doc);
// Whether the screen shows the boxes of Quake III's weapons: the load has that game's weapons.
bool GraphShowsQuake3Weapons(const VexoriumDoc& doc);

// The choice on the graph selection screen as it is now: the players selected in either list
// (entry p of a selection table is 1; players 1 to the name count), the ticked statistic boxes
// (boxChecked by control id; Quake III's weapons only where the screen shows them), the ticked
// slot boxes (slotChecked by slot j, GraphSlots from 1; a slot past them counts as unticked)
// and the two options' boxes.
GraphChoice ChoiceFromView(const VexoriumDoc& doc, const std::vector<int32_t>& mainSelection,
                           const std::vector<int32_t>& weaponSelection,
                           const std::function<bool(int controlId)>& boxChecked,
                           const std::function<bool(int slot)>& slotChecked);

// The choice named on the command line: players by the names the lists show, statistics by
// their command-line names (frags, fph, railgun ...), the keys of the load's other weapons
// (lr300, saber ...) or the names of visible custom variables.
// Both lists may be in any order and name an entry twice; the graph draws them in its own
// order. False with *error naming the first name that matches nothing.
bool ChoiceFromNames(const VexoriumDoc& doc, const std::vector<std::string>& playerNames,
                     const std::vector<std::string>& statisticNames, GraphChoice* choice,
                     std::string* error);

constexpr const char* kGraphWarningCaption = "Warning!";
constexpr int32_t kMostSeries = 16;

// The warnings "Draw Graph" shows for a choice, in order (no statistic, no player, too many
// series); none when the chart window may open.
std::vector<std::string> DrawGraphWarnings(const GraphChoice& choice);
// "You are trying to graph N variables. Thats too many! You should delete some."
std::string TooManySeriesWarning(int32_t series);

}  // namespace vexor
