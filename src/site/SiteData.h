// What the web site's pages show, prepared once from the document: the ratings, the awards, who
// played in which game, the listed games, the games' lengths and every player's rivals from
// the kill tables.
#pragma once

#include <cstdint>
#include <vector>

#include "stats/Awards.h"
#include "stats/GamePlayers.h"
#include "stats/Rating.h"

namespace vexor {

class VexoriumDoc;

// A player met in the kill tables, and how often.
struct Rival {
  int32_t player = 0;
  int64_t count = 0;
};

constexpr size_t kRivalsShown = 5;

class SiteData {
 public:
  explicit SiteData(const VexoriumDoc& doc);

  const VexoriumDoc& doc;
  const int32_t playerCount;  // players 1 to the name count
  const int32_t gameCount;    // games 1 to the game count
  Ratings ratings;
  std::vector<Award> awards;
  GamePlayers present;
  // The games not hidden as short, in game order.
  std::vector<int32_t> listedGames;

  // The game's number among the listed games (1 for the first); 0 for a game not listed.
  int32_t ListedNumber(int32_t game) const;
  // The longest stay of a player in the game, in seconds: the game's length as far as the log
  // tells.
  int32_t GameSeconds(int32_t game) const;
  // The players the player fragged most and was fragged by most over the listed games (suicides
  // left out), most first, equal counts by player number; at most kRivalsShown each.
  const std::vector<Rival>& Victims(int32_t player) const;
  const std::vector<Rival>& Killers(int32_t player) const;
  // The player of a game's kill tables at position k, or 0.
  int32_t PlayerAt(int32_t game, int32_t position) const;

 private:
  void FindRivals();

  std::vector<int32_t> m_listedNumber;  // per game
  std::vector<int32_t> m_gameSeconds;   // per game
  std::vector<std::vector<Rival>> m_victims;
  std::vector<std::vector<Rival>> m_killers;
};

}  // namespace vexor
