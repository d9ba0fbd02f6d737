// The HTML report of the statistics in the document: index pages listing every game that is not
// hidden as short, and one page per listed game.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vexor {

class VexoriumDoc;

// Writes the report into reportFolder (which must exist; the "games" subfolder is created when
// missing): games.htm for listed games 1 to 100, games1.htm for 101 to 200, and so on, and
// games/game<N>.htm for each listed game, N being its number among the listed games. Every page
// is written under a temporary name and renamed when complete, so no half-written page is ever
// left under a page's name. Pages left from an earlier, longer report are not removed.
//
// A followed log's report (ReportWriting::kFollowed) is written again at every update: its game
// pages come first, newest first, so that the page of a game that has just ended is on disk
// before the others, whose footers alone change; then the index pages. Once it is written, the
// index pages and game pages past this report's are removed (a rotated log's shorter report),
// so that the folder holds this report alone. The pages' bytes are the same in either order.
//
// A page that cannot be written is left out and the other pages are still written; the result
// is then false and *error (when given) names the first file that failed. The process's current
// folder is not used or changed.
//
// onGame (when given) is called after each game of the document, listed or not, with the games
// done so far and the game count: a progress box's measure of the report.
using ReportGameObserver = std::function<void(int32_t gamesDone, int32_t gameCount)>;
enum class ReportWriting { kOnce, kFollowed };
bool WriteHtmlReport(const VexoriumDoc& doc, const std::string& reportFolder, std::string* error,
                     const ReportGameObserver& onGame = nullptr,
                     ReportWriting writing = ReportWriting::kOnce);

}  // namespace vexor
