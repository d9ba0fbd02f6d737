// Who played in which game, from the players' per-game values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vexor {

class VexoriumDoc;

// The players present in each game of a document (per-game seconds above 0), in player order.
// Built once from the players' sparse per-game values, in time proportional to those values.
class GamePlayers {
 public:
  explicit GamePlayers(const VexoriumDoc& doc);
  // Players present in the game; empty outside games 0 to the game count.
  std::span<const int32_t> In(int32_t game) const;

 private:
  std::vector<size_t> m_start;  // game g's players are m_players[m_start[g], m_start[g + 1])
  std::vector<int32_t> m_players;
};

}  // namespace vexor
