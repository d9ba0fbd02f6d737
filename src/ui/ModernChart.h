// The modern line graph: a white chart with gridlines labelled at round steps on both axes,
// sixteen series colours that read on white and stay apart for colour-blind eyes (the second
// eight dashed as well), smoothed lines, a legend of colour swatches, game numbers on the x axis
// and a y range taken from the games on show. The chart window, its saved pictures and the
// command line's SVG all draw it here; the plot it returns tells the window which line the
// pointer is over.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace vexor {

struct GraphData;

// The colour of series n (from 1, in drawing order); after 16 the colours come round again.
CanvasColour ModernSeriesColour(int n);
// Series 9 to 16 are dashed, so that they are told from 1 to 8 by more than their colours; past
// 16, every other run of sixteen likewise.
bool ModernSeriesDashed(int n);

// One axis at a round step (1, 2 or 5 times a power of ten): its ends, the step, the values of
// its gridlines from min to max, and the decimals their labels need.
struct AxisTicks {
  double min = 0;
  double max = 1;
  double step = 1;
  int decimals = 0;
  std::vector<double> values;
};

// The axis for values from low to high in at most `most` steps (at least one): the ends are
// moved out to whole steps. whole: no step below 1 (counts, games). A range without width (or
// with high below low) becomes low to low + 1.
AxisTicks RoundTicks(double low, double high, int most, bool whole);

// A gridline's label: the value with the axis's decimals ("0", "12.5"), never "-0".
std::string TickLabel(const AxisTicks& axis, double value);

// Where the chart put its plot: pixel edges and the data range they stand for.
struct ModernPlot {
  int left = 0;
  int top = 0;
  int right = 1;
  int bottom = 1;
  double xmin = 0;
  double xmax = 1;
  double ymin = 0;
  double ymax = 1;

  float X(double x) const;
  float Y(double y) const;
  double XValue(float pixel) const;  // the data x at a pixel column
};

// Draws the graph of the data on a client area of width x height and returns the plot.
ModernPlot DrawModernGraph(Canvas& canvas, int width, int height, const GraphData& data);

// The line within reach pixels of the point (x, y), and the shown game nearest to it.
struct ChartHit {
  int series = -1;  // index into data.series; -1: no line there
  int point = 0;    // x of the game (1 is the first game shown)
};
// Of lines crossing one another, the one drawn last (on top) is found.
ChartHit ModernHitAt(const ModernPlot& plot, const GraphData& data, float x, float y, float reach);

// The tool tip of a hit: the series' player and statistic ("Anarki : Frags"), then the game and
// its value on a line of its own ("Game 12: 5"; with "Show Only Games Played", "Played game 3:
// 5"). Empty when nothing was hit.
std::string ModernToolTip(const GraphData& data, const ChartHit& hit);

}  // namespace vexor
