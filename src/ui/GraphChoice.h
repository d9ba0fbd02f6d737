// What a line graph shows: the players and statistics chosen on the graph selection screen (or
// named on the command line) and the two options, and the warnings that refuse a choice.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
// deaths), then the weapons' frags (machinegun ... BFG, gauntlet last).
extern const std::array<GraphStatisticInfo, 15> kGraphStatistics;

// A statistic of a graph: one of the fixed ones, or a visible custom variable.
struct GraphStatistic {
  const GraphStatisticInfo* fixed = nullptr;  // null for a custom variable
  VisibleVariable variable;                   // when fixed is null
  std::string suffix;                         // " : " and the statistic's short name

  bool PerHour() const { return fixed != nullptr && fixed->gameRate != nullptr; }
  int32_t Count(const PlayerGame& game) const;
  float GameRate(const PlayerGame& game) const;  // PerHour() only
  int32_t Total(const PlayerRecord& player) const;
};

struct GraphChoice {
  std::vector<int32_t> players;            // player numbers, ascending, each once
  std::vector<GraphStatistic> statistics;  // in drawing order: client variables, server
                                           // variables, then kGraphStatistics' order
  bool cumulative = false;                 // "Cumulative Graphing"
  bool playedOnly = false;                 // "Show Only Games Played"

  // Players x statistics: the number of series the graph draws.
  int32_t SeriesCount() const { return static_cast<int32_t>(players.size() * statistics.size()); }
};

// The choice on the graph selection screen as it is now: the players selected in either list
// (entry p of a selection table is 1; players 1 to the name count), the ticked statistic boxes
// (boxChecked by control id), the ticked variable boxes (slotChecked by slot j, the j-th
// visible custom variable from 1; a slot past the visible variables counts as unticked) and the
// two options' boxes.
GraphChoice ChoiceFromView(const VexoriumDoc& doc, const std::vector<int32_t>& mainSelection,
                           const std::vector<int32_t>& weaponSelection,
                           const std::function<bool(int controlId)>& boxChecked,
                           const std::function<bool(int slot)>& slotChecked);

// The choice named on the command line: players by the names the lists show, statistics by
// their command-line names (frags, fph, railgun ...) or the names of visible custom variables.
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
