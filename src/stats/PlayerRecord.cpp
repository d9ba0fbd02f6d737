#include "stats/PlayerRecord.h"

#include <algorithm>

#include "base/StringPrintf.h"
#include "base/TextNumbers.h"

namespace vexor {
namespace {

const PlayerGame kNoGame{};

}  // namespace

const PlayerGame& GameSeries::Get(int32_t game) const {
  auto it = std::lower_bound(m_games.begin(), m_games.end(), game);
  if (it == m_games.end() || *it != game) return kNoGame;
  return m_values[static_cast<size_t>(it - m_games.begin())];
}

PlayerGame& GameSeries::Insert(int32_t game) {
  // Else mostly a new last one.
  if (m_games.empty() || m_games.back() < game) {
    m_games.push_back(game);
    m_values.emplace_back();
    return m_values.back();
  }
  if (m_games.back() == game) return m_values.back();
  auto it = std::lower_bound(m_games.begin(), m_games.end(), game);
  size_t at = static_cast<size_t>(it - m_games.begin());
  if (*it != game) {
    m_games.insert(it, game);
    m_values.insert(m_values.begin() + static_cast<std::ptrdiff_t>(at), PlayerGame{});
  }
  return m_values[at];
}

void GameSeries::Clear() {
  m_games.clear();
  m_values.clear();
}

void PlayerRecord::UpdateTimeText() {
  hours = totalSeconds / 3600;
  int32_t rest = totalSeconds % 3600;
  minutes = rest / 60;
  seconds = rest % 60;
  timeText = StringPrintf("%dh %dm %ds", hours, minutes, seconds);
}

}  // namespace vexor
