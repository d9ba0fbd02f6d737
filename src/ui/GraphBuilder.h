// The line graph of a choice: one series per (player, statistic) pair over the sequence of
// games, its ranges, and the drawing of the whole chart, legend included, on a Canvas. Nothing
// is kept between drawings: the chart window recomputes everything at every paint from the
// choice as it is then.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Canvas.h"
#include "ui/GraphChoice.h"

namespace vexor {

class VexoriumDoc;

struct GraphSeries {
  int32_t player = 0;
  std::string legend;  // the player's name and the statistic's suffix
  CanvasColour colour = 0;
  // Segment k (from 0) runs from (k, first) to (k + 1, second): x counts the games shown, and
  // a segment starts from the value of the game before it even when that game was not drawn
  // for this player ("Show Only Games Played").
  std::vector<std::pair<float, float>> segments;
};

struct GraphData {
  float xmax = 0;  // games shown: the displayed games, or the most games one player played
  float ymax = 0;  // the largest value of any series, hidden games included (the range adds 1)
  std::vector<GraphSeries> series;  // players by number, each with its statistics in order
  // The game number at each x (entry 0, before the first game, is 0) while every series shows
  // the same games; empty with "Show Only Games Played", where x counts each player's own games.
  std::vector<int32_t> gameNumbers;
  bool playedOnly = false;
  bool wholeValues = true;  // no per-hour statistic: every value is a whole number
};

// The series and ranges of the choice. Games run from 1 to the game count; short games are
// skipped by every series but count toward ymax (and, with "Show Only Games Played", toward
// xmax). Values are per game, or running totals with "Cumulative Graphing"; a per-hour
// statistic's cumulative value is the rate over the games so far.
GraphData BuildGraph(const VexoriumDoc& doc, const GraphChoice& choice);

// Draws the graph of the data on a client area of width x height: background, plot with its
// ranges 0 to xmax and 0 to ymax + 1, end labels, the legend band (three entries a row) and
// every segment.
void DrawGraph(Canvas& canvas, int width, int height, const GraphData& data);

// How a graph is drawn: the classic chart above, or the modern one (ui/ModernChart.h).
enum class ChartStyle { kClassic, kModern };
// "classic" and "modern"; false for any other name.
bool ChartStyleFromName(std::string_view name, ChartStyle* style);
const char* ChartStyleName(ChartStyle style);
// Draws the graph in the style.
void DrawGraph(Canvas& canvas, int width, int height, const GraphData& data, ChartStyle style);

// "Save Graph As...": the save dialog's filter, and the kind of picture a chosen path asks for.
// A path ending in ".svg" (any case) is an SVG picture, one ending in ".png" a PNG picture; any
// other path gets ".png" added.
constexpr const char* kGraphPictureFilter = "PNG Picture (*.png)|*.png|SVG Picture (*.svg)|*.svg||";
struct GraphPicturePath {
  std::string path;
  bool svg = false;
};
GraphPicturePath PicturePathFor(const std::string& chosen);

}  // namespace vexor
