// The awards of a load: well-known titles given from the statistics, each with the rule that
// gives it, so that a page can print the rule beside the winner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexor {

class Ratings;
class VexoriumDoc;

// Games a player needs for the skill award, and seconds of play for the frag-rate award, so that
// one lucky game does not take them.
constexpr int32_t kAwardMinimumGames = 5;
constexpr int32_t kAwardMinimumSeconds = 3600;

struct Award {
  std::string title;   // "Marksman"
  std::string rule;    // "Most frags with the Railgun"
  int32_t player = 0;  // the winner; 0 when nobody qualifies
  std::string value;   // the winning value as the pages show it ("42 frags")
};

// Every award of the document, in a fixed order: the overall ones, then one per weapon. A
// winner has a value above 0 and meets the award's minimum; on equal values the player with the
// lower number (seen first in the logs) wins. Totals leave out the games hidden as short, as
// every view does; the most-in-one-game award looks only at listed games.
std::vector<Award> ComputeAwards(const VexoriumDoc& doc, const Ratings& ratings);

}  // namespace vexor
