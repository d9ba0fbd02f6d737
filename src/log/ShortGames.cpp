#include <algorithm>
#include <vector>

#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

void ServerLogPass::MarkShortGames() {
  int32_t lastGame = std::min(m_doc.gameCount, VexoriumDoc::kMaxGames);
  if (lastGame < 0) return;
  if (!m_doc.options.hideShortGames) {
    m_doc.displayedGameCount = m_doc.gameCount;
    for (int32_t g = 0; g <= lastGame; ++g) {
      GameRecord& game = m_doc.games[static_cast<size_t>(g)];
      if (game.playerNumber > 0) game.shortGame = false;
    }
    return;
  }
  // A game counts as played when some player stayed longer than the threshold.
  std::vector<char> played(static_cast<size_t>(lastGame) + 1, 0);
  int32_t threshold = m_doc.options.shortGameThreshold;
  for (int32_t p = 1; p <= m_doc.nameCount; ++p) {
    const GameSeries& series = m_doc.players[static_cast<size_t>(p)].games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      if (g >= 0 && g <= lastGame && series.ValueAt(e).seconds > threshold) {
        played[static_cast<size_t>(g)] = 1;
      }
    }
  }
  m_doc.displayedGameCount = 0;
  for (int32_t g = 0; g <= lastGame; ++g) {
    GameRecord& game = m_doc.games[static_cast<size_t>(g)];
    game.shortGame = !(played[static_cast<size_t>(g)] && game.playerNumber > 0);
    if (!game.shortGame) ++m_doc.displayedGameCount;
  }
}

}  // namespace vexor
