#include "ui/RatingTable.h"

#include "base/StringPrintf.h"
#include "stats/Rating.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

void BuildRatingTable(const VexoriumDoc& doc, PrintTable* table) {
  Ratings ratings(doc);
  table->headings = {"RATING", "DEVIATION", "LOWER", "VOLATILITY", "GAMES"};
  table->rows.clear();
  for (int32_t p : ratings.RankOrder()) {
    const PlayerRating& rating = ratings.Of(p);
    PrintRow row;
    row.player = p;
    row.label =
        StringPrintf("%d. %s", rating.rank, doc.players[static_cast<size_t>(p)].name.c_str());
    row.cells = {
        StringPrintf("%.1f", rating.value.rating), StringPrintf("%.1f", rating.value.deviation),
        StringPrintf("%.1f", rating.Conservative()), StringPrintf("%.6f", rating.value.volatility),
        StringPrintf("%d", rating.ratedGames)};
    table->rows.push_back(std::move(row));
  }
}

}  // namespace vexor
