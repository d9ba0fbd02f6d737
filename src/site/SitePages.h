// The web site's pages, each built into a string: the overview, the players' leaderboard, the
// games' list, a page per player and a page per listed game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexor {

class SiteData;

// Links from the site to the HTML report written beside it: the report folder as seen from the
// site's folder ("../html/"), or empty when no report goes with the site.
struct SiteLinks {
  std::string report;
};

void WriteOverviewPage(const SiteData& data, std::string* out);
void WritePlayersPage(const SiteData& data, std::string* out);
void WriteGamesPage(const SiteData& data, const SiteLinks& links, std::string* out);
void WritePlayerPage(const SiteData& data, int32_t player, std::string* out);
// game: the document's game number of a listed game.
void WriteGamePage(const SiteData& data, const SiteLinks& links, int32_t game, std::string* out);

// The players who took part in at least one listed game, best rank first: the leaderboard's rows.
std::vector<int32_t> RankedPlayers(const SiteData& data);

}  // namespace vexor
