#include "site/SitePage.h"

#include <algorithm>
#include <charconv>

#include "base/StringPrintf.h"
#include "site/SiteData.h"
#include "site/SiteText.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

struct NavEntry {
  SiteSection section;
  const char* file;
  const char* label;
};

constexpr NavEntry kNavigation[] = {
    {SiteSection::kOverview, "index.html", "Overview"},
    {SiteSection::kPlayers, "players.html", "Players"},
    {SiteSection::kGames, "games.html", "Games"},
};

}  // namespace

std::string PlayerPageName(int32_t player) {
  return StringPrintf("players/p%d.html", player);
}

std::string GamePageName(int32_t listed) {
  return StringPrintf("games/g%d.html", listed);
}

void BeginPage(std::string* out, std::string_view titleText, std::string_view headingHtml,
               PageRoot root, SiteSection current) {
  out->append(
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"color-scheme\" content=\"light dark\">\n"
      "<meta name=\"generator\" content=\"Vexor\">\n<title>");
  out->append(titleText);
  StringAppendF(out,
                "</title>\n<link rel=\"stylesheet\" href=\"%ssite.css\">\n"
                "<script src=\"%ssite.js\" defer></script>\n</head>\n<body>\n"
                "<a class=\"skip\" href=\"#main\">Skip to the content</a>\n"
                "<header><nav aria-label=\"Site\"><ul>",
                root.prefix, root.prefix);
  for (const NavEntry& entry : kNavigation) {
    StringAppendF(out, "<li><a href=\"%s%s\"%s>%s</a></li>", root.prefix, entry.file,
                  entry.section == current ? " aria-current=\"page\"" : "", entry.label);
  }
  out->append("</ul></nav></header>\n<main id=\"main\">\n<h1>");
  out->append(headingHtml);
  out->append("</h1>\n");
}

void EndPage(std::string* out) {
  out->append(
      "</main>\n<footer><p>Statistics by Vexor. Names keep their colours; numbers are those of "
      "the JSON export.</p></footer>\n</body>\n</html>\n");
}

void BeginTable(std::string* out, std::string_view id, std::string_view captionHtml,
                std::initializer_list<Column> columns, bool sortable) {
  out->append("<div class=\"scroll\"><table");
  if (!id.empty()) StringAppendF(out, " id=\"%.*s\"", static_cast<int>(id.size()), id.data());
  if (sortable) out->append(" class=\"sortable\"");
  out->append(">\n<caption>");
  out->append(captionHtml);
  out->append("</caption>\n<thead><tr>");
  for (const Column& column : columns) {
    StringAppendF(out, "<th scope=\"col\"%s>%s</th>", column.numeric ? " class=\"num\"" : "",
                  column.label);
  }
  out->append("</tr></thead>\n<tbody>\n");
}

void EndTable(std::string* out) {
  out->append("</tbody>\n</table></div>\n");
}

void EmptyRow(std::string* out, int columns, std::string_view text) {
  StringAppendF(out, "<tr class=\"empty\"><td colspan=\"%d\">", columns);
  out->append(text);
  out->append("</td></tr>\n");
}

void TextCell(std::string* out, std::string_view html) {
  out->append("<td>");
  out->append(html);
  out->append("</td>");
}

void AppendInteger(std::string* out, int64_t value) {
  char digits[24];
  auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out->append(digits, static_cast<size_t>(end - digits));
}

void NumberCell(std::string* out, int64_t value) {
  out->append("<td class=\"num\">");
  AppendInteger(out, value);
  out->append("</td>");
}

void ValueCell(std::string* out, std::string_view value, std::string_view shown) {
  out->append("<td class=\"num\" data-v=\"");
  out->append(value);
  out->append("\">");
  out->append(shown);
  out->append("</td>");
}

void AppendPlayerLink(std::string* out, const SiteData& data, int32_t player, PageRoot root) {
  StringAppendF(out, "<a class=\"name\" href=\"%s%s\">", root.prefix,
                PlayerPageName(player).c_str());
  size_t before = out->size();
  AppendColouredName(out, data.doc.players[static_cast<size_t>(player)].rawName);
  // A name of colour codes alone shows nothing: the link still needs a text.
  if (out->size() == before) StringAppendF(out, "Player %d", player);
  out->append("</a>");
}

void AppendGameLink(std::string* out, int32_t listed, PageRoot root) {
  StringAppendF(out, "<a href=\"%s%s\">Game %d</a>", root.prefix, GamePageName(listed).c_str(),
                listed);
}

void GameResultCells(std::string* out, const SiteData& data, int32_t player, int32_t game,
                     const PlayerGame& values) {
  NumberCell(out, values.frags);
  NumberCell(out, values.deaths);
  NumberCell(out, values.suicides);
  ValueCell(out, StringPrintf("%d", values.seconds), Duration(values.seconds));
  std::span<const RatingPoint> history = data.ratings.History(player);
  auto point = std::lower_bound(history.begin(), history.end(), game,
                                [](const RatingPoint& r, int32_t g) { return r.game < g; });
  if (point != history.end() && point->game == game) {
    std::string after = Fixed1(point->rating);
    ValueCell(out, after, after);
  } else {
    ValueCell(out, "", "\xE2\x80\x93");
  }
}

void LeaderCells(std::string* out, const SiteData& data, int32_t player, PageRoot root) {
  const PlayerRating& rating = data.ratings.Of(player);
  NumberCell(out, rating.rank);
  out->append("<td>");
  AppendPlayerLink(out, data, player, root);
  out->append("</td>");
  std::string value = Fixed1(rating.value.rating);
  ValueCell(out, value, value);
  std::string deviation = Fixed1(rating.value.deviation);
  ValueCell(out, deviation, "\xC2\xB1 " + deviation);
}

std::string ExactFloat(float value) {
  return StringPrintf("%.9g", static_cast<double>(value));
}

}  // namespace vexor
