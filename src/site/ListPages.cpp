// The site's three top-level pages: the overview, the players' leaderboard and the games' list.
#include <algorithm>

#include "base/StringPrintf.h"
#include "site/SiteData.h"
#include "site/SitePage.h"
#include "site/SitePages.h"
#include "site/SiteText.h"
#include "stats/DerivedValues.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr size_t kTopPlayersShown = 10;

const PlayerRecord& Player(const SiteData& data, int32_t p) {
  return data.doc.players[static_cast<size_t>(p)];
}

void SkillCell(std::string* out, const PlayerRecord& player) {
  float skill = Skill(player.frags, player.deaths, player.suicides);
  ValueCell(out, ExactFloat(skill), Fixed2(skill));
}

void Summary(const SiteData& data, std::string* out) {
  int64_t seconds = 0;
  int64_t frags = 0;
  for (int32_t g : data.listedGames)
    seconds += data.GameSeconds(g);
  for (int32_t p = 1; p <= data.playerCount; ++p)
    frags += Player(data, p).frags;
  const size_t listed = data.listedGames.size();
  out->append(
      "<section aria-labelledby=\"load\"><h2 id=\"load\">The load</h2><dl class=\"facts\">");
  StringAppendF(out, "<dt>Games</dt><dd id=\"game-count\">%zu</dd>", listed);
  if (static_cast<size_t>(data.gameCount) > listed) {
    StringAppendF(out, "<dt>Short games, not listed</dt><dd>%zu</dd>",
                  static_cast<size_t>(data.gameCount) - listed);
  }
  StringAppendF(out, "<dt>Players</dt><dd id=\"player-count\">%d</dd>", data.playerCount);
  StringAppendF(out, "<dt>Frags</dt><dd>%lld</dd>", static_cast<long long>(frags));
  if (!data.doc.clientLogSeen) {
    StringAppendF(out, "<dt>Playing time</dt><dd>%s</dd>", Duration(seconds).c_str());
  }
  if (listed > 0) {
    const GameRecord& first = data.doc.games[static_cast<size_t>(data.listedGames.front())];
    const GameRecord& last = data.doc.games[static_cast<size_t>(data.listedGames.back())];
    out->append("<dt>From</dt><dd>");
    AppendGameLink(out, 1, kTopPage);
    out->append(" on ");
    AppendHtmlText(out, first.mapName);
    out->append("</dd><dt>To</dt><dd>");
    AppendGameLink(out, static_cast<int32_t>(listed), kTopPage);
    out->append(" on ");
    AppendHtmlText(out, last.mapName);
    out->append("</dd>");
  }
  out->append("</dl></section>\n");
}

void TopPlayers(const SiteData& data, std::string* out) {
  out->append("<section aria-labelledby=\"top\"><h2 id=\"top\">Top players</h2>\n");
  BeginTable(out, "top-players", "The best rated players (see the players page for all)",
             {{"Rank", true},
              {"Player", false},
              {"Rating", true},
              {"Deviation", true},
              {"Frags", true},
              {"Skill", true},
              {"Games", true}},
             false);
  const std::vector<int32_t>& order = data.ratings.RankOrder();
  for (size_t i = 0; i < order.size() && i < kTopPlayersShown; ++i) {
    int32_t p = order[i];
    const PlayerRecord& player = Player(data, p);
    StringAppendF(out, "<tr data-player=\"%d\">", p);
    LeaderCells(out, data, p, kTopPage);
    NumberCell(out, player.frags);
    SkillCell(out, player);
    NumberCell(out, player.gamesPlayed);
    out->append("</tr>\n");
  }
  if (order.empty()) EmptyRow(out, 7, "No players in this load.");
  EndTable(out);
  out->append(
      "<p><a href=\"players.html\">Every player</a>, sortable and searchable. How the "
      "rating works is told under the players' table.</p></section>\n");
}

void Awards(const SiteData& data, std::string* out) {
  out->append("<section aria-labelledby=\"awards\"><h2 id=\"awards\">Awards</h2>\n");
  BeginTable(out, "awards-table",
             "Awards and their rules (on equal values the player seen first wins)",
             {{"Award", false}, {"Winner", false}, {"Value", true}, {"Rule", false}}, false);
  for (const Award& award : data.awards) {
    out->append("<tr><th scope=\"row\">");
    AppendHtmlText(out, award.title);
    out->append("</th><td>");
    if (award.player != 0) {
      AppendPlayerLink(out, data, award.player, kTopPage);
    } else {
      out->append("Nobody yet");
    }
    out->append("</td><td class=\"num\">");
    AppendHtmlText(out, award.value);
    out->append("</td><td>");
    AppendHtmlText(out, award.rule);
    out->append("</td></tr>\n");
  }
  EndTable(out);
  out->append("</section>\n");
}

// The leaderboard's explanation of the rating.
constexpr const char* kRatingNote =
    "<p class=\"note\">The rating is Glicko-2, updated after every listed game from the order of "
    "the players' scores (frags less suicides): every two players of a free-for-all game meet, "
    "the winner being the one with the higher score; in a team game each team meets the other "
    "by its summed score. The deviation is the rating's uncertainty: the true strength lies "
    "within twice the deviation of the rating with 95% confidence. Players are ranked by the "
    "rating less twice its deviation, so that a few lucky games do not put a new player on "
    "top.</p>\n";

}  // namespace

std::vector<int32_t> RankedPlayers(const SiteData& data) {
  return data.ratings.RankOrder();
}

void WriteOverviewPage(const SiteData& data, std::string* out) {
  BeginPage(out, "Statistics", "Statistics", kTopPage, SiteSection::kOverview);
  Summary(data, out);
  TopPlayers(data, out);
  Awards(data, out);
  EndPage(out);
}

void WritePlayersPage(const SiteData& data, std::string* out) {
  BeginPage(out, "Players", "Players", kTopPage, SiteSection::kPlayers);
  out->append(
      "<div class=\"search\" hidden><label for=\"player-search\">Find a player</label> "
      "<input id=\"player-search\" type=\"search\" data-table=\"players\" autocomplete=\"off\"> "
      "<span id=\"search-count\" role=\"status\" aria-live=\"polite\"></span></div>\n");
  BeginTable(out, "players",
             "Every player, best rated first. Choose a column heading to sort by it.",
             {{"Rank", true},
              {"Player", false},
              {"Rating", true},
              {"Deviation", true},
              {"Frags", true},
              {"Deaths", true},
              {"Suicides", true},
              {"Skill", true},
              {"Play time", true},
              {"Frags/h", true},
              {"Deaths/h", true},
              {"Suicides/h", true},
              {"Games", true}},
             true);
  for (int32_t p : RankedPlayers(data)) {
    const PlayerRecord& player = Player(data, p);
    StringAppendF(out, "<tr data-player=\"%d\" data-name=\"", p);
    AppendHtmlText(out, player.name);
    out->append("\">");
    LeaderCells(out, data, p, kTopPage);
    NumberCell(out, player.frags);
    NumberCell(out, player.deaths);
    NumberCell(out, player.suicides);
    SkillCell(out, player);
    ValueCell(out, StringPrintf("%d", player.totalSeconds), HtmlText(player.timeText));
    HourlyRates rates = HourlyRatesOf(player);
    for (float rate : {rates.frags, rates.deaths, rates.suicides}) {
      ValueCell(out, ExactFloat(rate), Fixed2(rate));
    }
    NumberCell(out, player.gamesPlayed);
    out->append("</tr>\n");
  }
  if (data.playerCount == 0) EmptyRow(out, 13, "No players in this load.");
  EndTable(out);
  out->append(kRatingNote);
  EndPage(out);
}

void WriteGamesPage(const SiteData& data, const SiteLinks& links, std::string* out) {
  BeginPage(out, "Games", "Games", kTopPage, SiteSection::kGames);
  BeginTable(out, "games", "Every listed game in the order played",
             {{"Game", true},
              {"Map", false},
              {"Type", false},
              {"Players", true},
              {"Length", true},
              {"Best score", false}},
             true);
  for (int32_t g : data.listedGames) {
    const GameRecord& game = data.doc.games[static_cast<size_t>(g)];
    int32_t listed = data.ListedNumber(g);
    StringAppendF(out, "<tr data-game=\"%d\"><td class=\"num\" data-v=\"%d\">", g, listed);
    AppendGameLink(out, listed, kTopPage);
    if (!links.report.empty()) {
      StringAppendF(out, " <a class=\"report\" href=\"%sgames/game%d.htm\">(report)</a>",
                    links.report.c_str(), listed);
    }
    out->append("</td>");
    TextCell(out, HtmlText(game.mapName));
    TextCell(out, HtmlText(game.gameTypeName));
    NumberCell(out, static_cast<int64_t>(data.present.In(g).size()));
    int32_t seconds = data.GameSeconds(g);
    ValueCell(out, StringPrintf("%d", seconds), Duration(seconds));
    out->append("<td>");
    int32_t best = 0;
    int64_t bestScore = 0;
    for (int32_t p : data.present.In(g)) {
      const PlayerGame& values = Player(data, p).games.Get(g);
      int64_t score = int64_t{values.frags} - values.suicides;
      if (best == 0 || score > bestScore) {
        best = p;
        bestScore = score;
      }
    }
    if (best != 0) {
      AppendPlayerLink(out, data, best, kTopPage);
      StringAppendF(out, " (%lld)", static_cast<long long>(bestScore));
    }
    out->append("</td></tr>\n");
  }
  if (data.listedGames.empty()) EmptyRow(out, 6, "No listed games in this load.");
  EndTable(out);
  EndPage(out);
}

}  // namespace vexor
