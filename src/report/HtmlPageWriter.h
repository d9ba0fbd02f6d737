// The contents of the report's pages: a game's entry on an index page and its own game page,
// for games read from a server log and games read from a client log.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "report/HtmlWriter.h"
#include "stats/GamePlayers.h"

namespace vexor {

class VexoriumDoc;

// Writes pages of the report for one document. Point it at a page with SetFile; the cell tag
// carries over from page to page. The document must stay unchanged while the writer lives.
class HtmlPageWriter : public HtmlWriter {
 public:
  explicit HtmlPageWriter(const VexoriumDoc& doc);

  // Orders the players present in the game by score (frags - suicides), highest first, equal
  // scores the higher player number first; a score below -10000 is left out. The players table
  // and the custom-variable tables that follow use this order.
  void SortPlayersByScore(int32_t game);
  const std::vector<int32_t>& ScoreOrder() const { return m_order; }

  // The game's entry on an index page: its heading (linking to its game page), its players and
  // its custom variables. displayNumber is the game's number among the listed games.
  void WriteIndexEntry(int32_t game, int32_t displayNumber);
  // The whole game page, header to footer: heading, game info, players, custom variables and
  // the kill charts.
  void WriteGamePage(int32_t game, int32_t displayNumber);

 private:
  enum class VariableSide { kServer, kClient };

  void WriteGameInfo(int32_t game);
  void WriteServerPlayers(int32_t game);
  void WriteClientPlayers(int32_t game);
  // Custom-variable tables of six visible variables each, rows in the score order.
  void WriteVariableTables(int32_t game, VariableSide side);
  void WriteKillCharts(int32_t game);
  void WriteKillChart(int32_t game, int table, const char* title);
  bool TeamColumnOn(int32_t game) const;
  const std::string& HtmlName(int32_t player) const;

  const VexoriumDoc& m_doc;
  GamePlayers m_present;
  std::vector<int32_t> m_order;
  std::vector<std::string> m_htmlNames;  // converted raw names, by player number
};

}  // namespace vexor
