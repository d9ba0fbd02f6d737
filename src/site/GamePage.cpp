// A listed game's page: its settings, its players' results and weapons, and its kill table as
// a matrix of killers by victims.
#include <algorithm>
#include <vector>

#include "base/StringPrintf.h"
#include "site/SiteData.h"
#include "site/SitePage.h"
#include "site/SitePages.h"
#include "site/SiteText.h"
#include "stats/GameFamily.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {
namespace {

const char* TeamName(int32_t team) {
  return team == 1 ? "Blue" : team == 2 ? "Red" : "";
}

void Facts(const SiteData& data, const SiteLinks& links, int32_t g, std::string* out) {
  const GameRecord& game = data.doc.games[static_cast<size_t>(g)];
  out->append("<dl class=\"facts\"><dt>Map</dt><dd>");
  AppendHtmlText(out, game.mapName);
  out->append("</dd><dt>Type</dt><dd>");
  AppendHtmlText(out, game.gameTypeName);
  StringAppendF(out, "</dd><dt>Frag limit</dt><dd>%d</dd><dt>Time limit</dt><dd>%d</dd>",
                game.fragLimit, game.timeLimit);
  StringAppendF(out, "<dt>Length</dt><dd>%s</dd><dt>Read from</dt><dd>%s</dd>",
                Duration(data.GameSeconds(g)).c_str(),
                game.serverLogGame != 0 ? "a server log" : "a client log");
  if (!links.report.empty()) {
    StringAppendF(out,
                  "<dt>Report</dt><dd><a href=\"../%sgames/game%d.htm\">This game in the "
                  "report</a></dd>",
                  links.report.c_str(), data.ListedNumber(g));
  }
  out->append("</dl>\n");
}

int64_t Score(const SiteData& data, int32_t p, int32_t g) {
  const PlayerGame& values = data.doc.players[static_cast<size_t>(p)].games.Get(g);
  return int64_t{values.frags} - values.suicides;
}

void Results(const SiteData& data, int32_t g, std::string* out) {
  std::span<const int32_t> present = data.present.In(g);
  std::vector<int32_t> players(present.begin(), present.end());
  std::stable_sort(players.begin(), players.end(),
                   [&](int32_t a, int32_t b) { return Score(data, a, g) > Score(data, b, g); });
  BeginTable(out, "results", "The players' results, best score first",
             {{"Player", false},
              {"Team", false},
              {"Score", true},
              {"Frags", true},
              {"Deaths", true},
              {"Suicides", true},
              {"Time", true},
              {"Rating after", true}},
             true);
  for (int32_t p : players) {
    const PlayerGame& values = data.doc.players[static_cast<size_t>(p)].games.Get(g);
    StringAppendF(out, "<tr data-player=\"%d\"><td>", p);
    AppendPlayerLink(out, data, p, kSubPage);
    out->append("</td>");
    TextCell(out, TeamName(values.team));
    NumberCell(out, int64_t{values.frags} - values.suicides);
    GameResultCells(out, data, p, g, values);
    out->append("</tr>\n");
  }
  EndTable(out);
}

void WeaponsTable(const SiteData& data, int32_t g, std::string* out) {
  std::span<const int32_t> players = data.present.In(g);
  std::vector<WeaponId> used;
  for (WeaponId w : WeaponsInLoad(data.doc, kPerGameOrder)) {
    bool any = std::any_of(players.begin(), players.end(), [&](int32_t p) {
      return data.doc.players[static_cast<size_t>(p)].games.Get(g).WeaponFrags(w) != 0;
    });
    if (any) used.push_back(w);
  }
  if (used.empty()) return;
  out->append(
      "<div class=\"scroll\"><table id=\"weapons\">\n<caption>Frags by weapon</caption>\n"
      "<thead><tr><th scope=\"col\">Player</th>");
  for (WeaponId w : used) {
    StringAppendF(out, "<th scope=\"col\" class=\"num\">%s</th>", WeaponName(w));
  }
  out->append("</tr></thead>\n<tbody>\n");
  for (int32_t p : players) {
    const PlayerGame& values = data.doc.players[static_cast<size_t>(p)].games.Get(g);
    out->append("<tr><th scope=\"row\">");
    AppendPlayerLink(out, data, p, kSubPage);
    out->append("</th>");
    for (int w : used)
      NumberCell(out, values.WeaponFrags(w));
    out->append("</tr>\n");
  }
  EndTable(out);
}

void KillMatrix(const SiteData& data, int32_t g, std::string* out) {
  std::span<const int32_t> players = data.present.In(g);
  const KillTables& kills = data.doc.games[static_cast<size_t>(g)].kills;
  out->append(
      "<div class=\"scroll\"><table id=\"kill-matrix\" class=\"matrix\">\n<caption>Kill table: "
      "how often the player of each row fragged the player of each column (the diagonal counts "
      "suicides)</caption>\n<thead><tr><th scope=\"col\">Killer \\ victim</th>");
  for (int32_t p : players) {
    out->append("<th scope=\"col\">");
    AppendPlayerLink(out, data, p, kSubPage);
    out->append("</th>");
  }
  out->append("</tr></thead>\n<tbody>\n");
  const auto size = static_cast<int32_t>(players.size());
  for (int32_t k = 0; k < size; ++k) {
    out->append("<tr><th scope=\"row\">");
    AppendPlayerLink(out, data, players[static_cast<size_t>(k)], kSubPage);
    out->append("</th>");
    KillTableRow row(kills, KillTables::kAllWeapons, k);
    for (int32_t v = 0; v < size; ++v) {
      int32_t count = row.Next(v);
      out->append(k == v ? "<td class=\"num self" : "<td class=\"num");
      out->append(count == 0 ? " zero\">" : "\">");
      AppendInteger(out, count);
      out->append("</td>");
    }
    out->append("</tr>\n");
  }
  EndTable(out);
}

}  // namespace

void WriteGamePage(const SiteData& data, const SiteLinks& links, int32_t game, std::string* out) {
  const GameRecord& record = data.doc.games[static_cast<size_t>(game)];
  std::string title = StringPrintf("Game %d: ", data.ListedNumber(game));
  AppendHtmlText(&title, record.mapName);
  BeginPage(out, title, title, kSubPage, SiteSection::kNone);
  StringAppendF(out,
                "<p class=\"game\" data-game=\"%d\">Game %d of the logs, short games "
                "included.</p>\n",
                game, game);
  Facts(data, links, game, out);
  Results(data, game, out);
  WeaponsTable(data, game, out);
  KillMatrix(data, game, out);
  EndPage(out);
}

}  // namespace vexor
