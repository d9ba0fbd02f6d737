// The frame and the common pieces of the web site's pages: head and navigation, tables with
// captions and column headings, links to players and games. Pages are built as text in a
// string; every text from the logs goes through SiteText's escaping.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vexor {

class SiteData;
struct PlayerGame;

// The site's top-level pages, for the navigation's current entry.
enum class SiteSection { kOverview, kPlayers, kGames, kNone };

// Where a page lies: at the top ("") or in players/ or games/ ("../").
struct PageRoot {
  const char* prefix;
};
constexpr PageRoot kTopPage{""};
constexpr PageRoot kSubPage{"../"};

// File names inside the site.
std::string PlayerPageName(int32_t player);  // "players/p7.html"
std::string GamePageName(int32_t listed);    // "games/g12.html", by the game's listed number

// Starts a page: the head (title, stylesheet, script, viewport, both colour schemes), the
// navigation and the heading. titleText is escaped text without markup (the window's title),
// headingHtml the page's heading as HTML.
void BeginPage(std::string* out, std::string_view titleText, std::string_view headingHtml,
               PageRoot root, SiteSection current);
void EndPage(std::string* out);

struct Column {
  const char* label;
  bool numeric;  // right-aligned, sorted as a number
};

// Starts a table with its caption (HTML) and column headings. sortable: the script lets the
// reader sort it by any column. The body follows; EndTable closes it.
void BeginTable(std::string* out, std::string_view id, std::string_view captionHtml,
                std::initializer_list<Column> columns, bool sortable);
void EndTable(std::string* out);
// A row spanning the table's columns that says why it has no other (a table never looks empty
// by mistake).
void EmptyRow(std::string* out, int columns, std::string_view text);

// Cells. A numeric cell carries its exact value (data-v) for sorting beside the shown text.
void TextCell(std::string* out, std::string_view html);
void NumberCell(std::string* out, int64_t value);
// The number's digits, without a format (pages hold hundreds of thousands of them).
void AppendInteger(std::string* out, int64_t value);
void ValueCell(std::string* out, std::string_view value, std::string_view shown);

// A link to the player's page showing the name in its colours.
void AppendPlayerLink(std::string* out, const SiteData& data, int32_t player, PageRoot root);
// A link to a listed game's page ("Game 12").
void AppendGameLink(std::string* out, int32_t listed, PageRoot root);

// A player's cells of one game: frags, deaths, suicides, time, and the rating after the game
// ("\u2013" when the game did not rate the player).
void GameResultCells(std::string* out, const SiteData& data, int32_t player, int32_t game,
                     const PlayerGame& values);

// A leaderboard row's first cells: rank, the player's link, rating and deviation.
void LeaderCells(std::string* out, const SiteData& data, int32_t player, PageRoot root);

// The float as the JSON export writes it ("%.9g"), for data-v.
std::string ExactFloat(float value);

}  // namespace vexor
