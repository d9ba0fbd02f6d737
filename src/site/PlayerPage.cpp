// A player's page: totals, weapons, rating and frags over the games, rivals and every game.
#include "base/StringPrintf.h"
#include "site/SiteCharts.h"
#include "site/SiteData.h"
#include "site/SitePage.h"
#include "site/SitePages.h"
#include "site/SiteText.h"
#include "stats/DerivedValues.h"
#include "stats/GameFamily.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {
namespace {

// One fact of the totals: an id for scripts and tests, the exact value and the shown text.
void Fact(std::string* out, const char* id, const char* label, std::string_view value,
          std::string_view shown) {
  StringAppendF(out, "<dt>%s</dt><dd id=\"%s\" data-v=\"", label, id);
  out->append(value);
  out->append("\">");
  out->append(shown);
  out->append("</dd>");
}

void CountFact(std::string* out, const char* id, const char* label, int64_t value) {
  std::string text = StringPrintf("%lld", static_cast<long long>(value));
  Fact(out, id, label, text, text);
}

void FloatFact(std::string* out, const char* id, const char* label, float value) {
  Fact(out, id, label, ExactFloat(value), Fixed2(value));
}

void Totals(const SiteData& data, int32_t p, std::string* out) {
  const PlayerRecord& player = data.doc.players[static_cast<size_t>(p)];
  const PlayerRating& rating = data.ratings.Of(p);
  out->append(
      "<section aria-labelledby=\"totals\"><h2 id=\"totals\">Totals</h2>"
      "<dl class=\"facts\">");
  Fact(out, "rank", "Rank", StringPrintf("%d", rating.rank),
       StringPrintf("%d of %d", rating.rank, data.playerCount));
  Fact(out, "rating", "Rating", Fixed1(rating.value.rating),
       Fixed1(rating.value.rating) + " \xC2\xB1 " + Fixed1(rating.value.deviation));
  CountFact(out, "rated-games", "Rated games", rating.ratedGames);
  CountFact(out, "frags", "Frags", player.frags);
  CountFact(out, "deaths", "Deaths", player.deaths);
  CountFact(out, "suicides", "Suicides", player.suicides);
  FloatFact(out, "skill", "Skill", Skill(player.frags, player.deaths, player.suicides));
  Fact(out, "play-time", "Play time", StringPrintf("%d", player.totalSeconds),
       HtmlText(player.timeText));
  HourlyRates rates = HourlyRatesOf(player);
  FloatFact(out, "frags-per-hour", "Frags per hour", rates.frags);
  FloatFact(out, "deaths-per-hour", "Deaths per hour", rates.deaths);
  FloatFact(out, "suicides-per-hour", "Suicides per hour", rates.suicides);
  CountFact(out, "games-played", "Games played", player.gamesPlayed);
  out->append("</dl></section>\n");
}

void Weapons(const SiteData& data, int32_t p, std::string* out) {
  const PlayerRecord& player = data.doc.players[static_cast<size_t>(p)];
  std::vector<ChartBar> bars;
  for (WeaponId w : WeaponsInLoad(data.doc, kPerGameOrder)) {
    int32_t frags = player.WeaponFrags(w);
    bars.push_back({WeaponName(w), static_cast<double>(frags), StringPrintf("%d", frags)});
  }
  out->append("<section aria-labelledby=\"weapons\"><h2 id=\"weapons\">Weapons</h2>\n");
  AppendBarChart(out, "weapon-chart", "Frags by weapon", bars);
  out->append("</section>\n");
}

void Charts(const SiteData& data, int32_t p, std::string* out) {
  std::vector<ChartPoint> rating;
  for (const RatingPoint& point : data.ratings.History(p)) {
    rating.push_back(
        {static_cast<double>(data.ListedNumber(point.game)), point.rating, point.deviation});
  }
  std::vector<ChartPoint> frags;
  const GameSeries& series = data.doc.players[static_cast<size_t>(p)].games;
  for (size_t e = 0; e < series.EntryCount(); ++e) {
    int32_t listed = data.ListedNumber(series.GameAt(e));
    if (listed == 0 || series.ValueAt(e).seconds <= 0) continue;
    frags.push_back({static_cast<double>(listed), static_cast<double>(series.ValueAt(e).frags), 0});
  }
  out->append(
      "<section aria-labelledby=\"over-games\"><h2 id=\"over-games\">Over the games</h2>\n");
  AppendLineChart(out, "rating-chart", "Rating after each rated game",
                  StringPrintf("The rating after each of %zu rated games, the shaded band one "
                               "deviation either side; the table of games below gives each value.",
                               rating.size()),
                  rating);
  AppendLineChart(out, "frags-chart", "Frags in each game",
                  StringPrintf("Frags in each of %zu games played; the table of games below "
                               "gives each value.",
                               frags.size()),
                  frags);
  out->append("</section>\n");
}

void RivalTable(const SiteData& data, const char* id, const char* caption, const char* count,
                const std::vector<Rival>& rivals, std::string* out) {
  BeginTable(out, id, caption, {{"Player", false}, {count, true}}, false);
  for (const Rival& rival : rivals) {
    out->append("<tr><td>");
    AppendPlayerLink(out, data, rival.player, kSubPage);
    out->append("</td>");
    NumberCell(out, rival.count);
    out->append("</tr>\n");
  }
  if (rivals.empty()) EmptyRow(out, 2, "Nobody");
  EndTable(out);
}

void Rivals(const SiteData& data, int32_t p, std::string* out) {
  out->append(
      "<section aria-labelledby=\"rivals\"><h2 id=\"rivals\">Rivals</h2>"
      "<div class=\"pair\">\n");
  RivalTable(data, "victims", "Fragged most", "Frags", data.Victims(p), out);
  RivalTable(data, "killers", "Fragged by most", "Deaths", data.Killers(p), out);
  out->append("</div></section>\n");
}

void GamesPlayed(const SiteData& data, int32_t p, std::string* out) {
  out->append("<section aria-labelledby=\"played\"><h2 id=\"played\">Games played</h2>\n");
  BeginTable(out, "games-played", "Every listed game the player was in",
             {{"Game", true},
              {"Map", false},
              {"Type", false},
              {"Frags", true},
              {"Deaths", true},
              {"Suicides", true},
              {"Time", true},
              {"Rating after", true}},
             true);
  const GameSeries& series = data.doc.players[static_cast<size_t>(p)].games;
  for (size_t e = 0; e < series.EntryCount(); ++e) {
    int32_t g = series.GameAt(e);
    int32_t listed = data.ListedNumber(g);
    const PlayerGame& values = series.ValueAt(e);
    if (listed == 0 || values.seconds <= 0) continue;
    const GameRecord& game = data.doc.games[static_cast<size_t>(g)];
    StringAppendF(out, "<tr data-game=\"%d\"><td class=\"num\" data-v=\"%d\">", g, listed);
    AppendGameLink(out, listed, kSubPage);
    out->append("</td>");
    TextCell(out, HtmlText(game.mapName));
    TextCell(out, HtmlText(game.gameTypeName));
    GameResultCells(out, data, p, g, values);
    out->append("</tr>\n");
  }
  EndTable(out);
  out->append("</section>\n");
}

}  // namespace

void WritePlayerPage(const SiteData& data, int32_t player, std::string* out) {
  const PlayerRecord& record = data.doc.players[static_cast<size_t>(player)];
  std::string heading;
  AppendColouredName(&heading, record.rawName);
  if (heading.empty()) heading = StringPrintf("Player %d", player);
  std::string title = HtmlText(record.name);
  if (title.empty()) title = StringPrintf("Player %d", player);
  BeginPage(out, title, heading, kSubPage, SiteSection::kNone);
  StringAppendF(out, "<p class=\"player\" data-player=\"%d\">", player);
  StringAppendF(out, "Player %d of the load.</p>\n", player);
  Totals(data, player, out);
  Weapons(data, player, out);
  Charts(data, player, out);
  Rivals(data, player, out);
  GamesPlayed(data, player, out);
  EndPage(out);
}

}  // namespace vexor
