// The players' ratings as a text table (`vexor --table rating`), beside the fourteen printed
// tables: one row per player, best rank first.
#pragma once

#include <string_view>

#include "ui/PrintTables.h"

namespace vexor {

class VexoriumDoc;

// The command line's name of the rating table.
constexpr std::string_view kRatingTableName = "rating";

// The rating table: rows in rank order labelled "%d. %s" (rank and name), columns RATING and
// DEVIATION ("%.1f"), LOWER (rating less twice the deviation, by which players are ranked,
// "%.1f"), VOLATILITY ("%.6f") and GAMES (the rated games).
void BuildRatingTable(const VexoriumDoc& doc, PrintTable* table);

}  // namespace vexor
