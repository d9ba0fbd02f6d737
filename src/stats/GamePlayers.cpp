#include "stats/GamePlayers.h"

#include <algorithm>

#include "stats/VexoriumDoc.h"

namespace vexor {

GamePlayers::GamePlayers(const VexoriumDoc& doc) {
  int32_t games = std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames);
  int32_t last = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  auto visit = [&](auto&& present) {
    for (int32_t p = 1; p <= last; ++p) {
      const GameSeries& series = doc.players[static_cast<size_t>(p)].games;
      for (size_t e = 0; e < series.EntryCount(); ++e) {
        int32_t g = series.GameAt(e);
        if (g >= 0 && g <= games && series.ValueAt(e).seconds > 0) present(g, p);
      }
    }
  };
  // Count each game's players, then place them: players come in ascending order.
  m_start.assign(static_cast<size_t>(games) + 2, 0);
  visit([&](int32_t g, int32_t) { ++m_start[static_cast<size_t>(g) + 1]; });
  for (size_t g = 1; g < m_start.size(); ++g)
    m_start[g] += m_start[g - 1];
  m_players.resize(m_start.back());
  std::vector<size_t> next(m_start.begin(), m_start.end() - 1);
  visit([&](int32_t g, int32_t p) { m_players[next[static_cast<size_t>(g)]++] = p; });
}

std::span<const int32_t> GamePlayers::In(int32_t game) const {
  if (game < 0 || static_cast<size_t>(game) + 1 >= m_start.size()) return {};
  size_t g = static_cast<size_t>(game);
  return std::span<const int32_t>(m_players).subspan(m_start[g], m_start[g + 1] - m_start[g]);
}

}  // namespace vexor
