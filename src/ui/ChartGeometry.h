// The chart window's geometry without a toolkit: where the plot area goes for a number of
// series, its data-to-pixel scales, its axes and tick marks, the texts and places of its end
// labels and legend, and the series colours. Every part is a value; the Draw* functions put
// the values on a Canvas (a window, a picture, an SVG file).
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace vexor {

constexpr CanvasColour kChartWhite = 0xFFFFFF;
constexpr CanvasColour kChartBackground = 0x733100;  // the house colour, as 0x00BBGGRR
constexpr int kChartWindowSide = 640;                // the window's first and smallest size
constexpr int kLegendCapacity = 16;                  // series a chart window is made for
constexpr int kRangeRejected = 7;                    // what SetRanges returns for an empty range

// The layout font (12 pixels, bold) measures the bands around the plot; the label font (14
// pixels, bold) writes the end labels and the legend, placed in cells of the default font.
constexpr CanvasFont kLayoutFont{12, 700};
constexpr CanvasFont kLabelFont{14, 700};
constexpr CanvasFont kCellFont{0, 400};

// Text height and average character width of a font.
struct TextCell {
  int height = 0;
  int width = 0;
};
TextCell MeasureCell(Canvas& canvas, const CanvasFont& font);

// The colour of series n (from 1, counted over one drawing in drawing order): a table of 16,
// then red = green = 5n mod 256 and blue = (255 - 5n) mod 256.
CanvasColour SeriesColour(int n);

// Rows of the legend band above the plot for n series: three entries a row (1 row up to 3
// series, ... 6 rows for 16). Also right for more than 16 series, which can only happen when
// the check boxes change under an open window.
int LegendRows(int series);

struct FloatRect {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
};

// The plot's place in a client area of width x height for n series, layout being the layout
// font's cell: left 5 % of the width, right one character from the edge, the legend band above
// (2 cell heights a legend row) and four cell heights below for the x labels.
FloatRect PlotLayout(int width, int height, TextCell layout, int series);

// One axis's range: min, max, data units per pixel, and the tick step (0 until the first
// successful SetRanges fixes it).
struct AxisRange {
  float min = 0;
  float max = std::numeric_limits<float>::max();
  float scale = 1.0f;
  float tickStep = 0;
};

struct Segment {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  bool operator==(const Segment&) const = default;
};

struct ChartText {
  int x = 0;
  int y = 0;  // the text's top
  std::string text;
  CanvasColour colour = 0;
  TextAlign align = TextAlign::kLeft;
};

// The plot area: a rectangle with its own scales. Positions of labels and legend cells use the
// default font's cell (cell), measured when the plot area is made.
class PlotArea {
 public:
  PlotArea(TextCell cell, const FloatRect& rect);

  // Moves the plot to a new place (whole pixels, truncated); the scales are not recomputed.
  void Place(const FloatRect& rect);

  // Sets both ranges: kRangeRejected and no change when xmin = xmax or ymin = ymax, otherwise 0.
  // The tick steps are fixed by the first successful call: 1/14 of the x range, 1/10 of y.
  int SetRanges(float xmin, float ymin, float xmax, float ymax);

  // Data to pixels, truncated toward zero (held inside the int range).
  int X(float x) const;
  int Y(float y) const;

  // The axis lines that are drawn (an axis through 0 when its range crosses it, at its minimum
  // otherwise; none for a range starting or ending at 0) and the tick marks, in pixels. Sets
  // the ranges again from the stored values first, as drawing the axes does.
  std::vector<Segment> AxisLines();

  // The end labels of each axis and its title, in drawing order; none when the axis's title is
  // empty or its range was never set (its maximum is still the largest float, which is no
  // value of the data). x: "%5.*f" with the label precision at the plot's bottom corners;
  // y: "%5.*f" when the range spans 10 whole units or more, else "%*.1f" with the precision as
  // the field width, at (left - 28, bottom - cell height) and (left - 28, top).
  std::vector<ChartText> XLabels(CanvasColour titleColour) const;
  std::vector<ChartText> YLabels(CanvasColour titleColour) const;

  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Right() const { return m_right; }
  int Bottom() const { return m_bottom; }
  TextCell Cell() const { return m_cell; }
  const AxisRange& XRange() const { return m_x; }
  const AxisRange& YRange() const { return m_y; }

  int labelPrecision = 1;
  std::string xTitle;
  std::string yTitle;
  CanvasColour xLabelColour = kChartWhite;
  CanvasColour yLabelColour = kChartWhite;
  CanvasColour borderColour = kChartWhite;

 private:
  TextCell m_cell;
  int m_left = 0;
  int m_top = 0;
  int m_right = 0;
  int m_bottom = 0;
  AxisRange m_x;
  AxisRange m_y;
};

// The three legend columns, in character cells, for a client area width wide.
struct LegendColumns {
  int cells[3] = {0, 0, 0};
};
LegendColumns LegendColumnsFor(int width, int cellWidth);

// --- Drawing the values.

// The whole client area in colour with a white one-pixel border.
void FillBackground(Canvas& canvas, int width, int height, CanvasColour colour);
// The plot rectangle in colour, outlined in the border colour (left to right + 1, top to
// bottom + 1).
void FillPlot(Canvas& canvas, const PlotArea& plot, CanvasColour colour);
// Fills the plot white and draws its axes and ticks in colour.
void DrawAxes(Canvas& canvas, PlotArea& plot, CanvasColour colour);
void DrawXLabels(Canvas& canvas, const PlotArea& plot, CanvasColour titleColour);
// The y end labels stay left of the plot: a label so wide that it would run into the white plot
// (where the white text would vanish) is moved left to end two pixels before it.
void DrawYLabels(Canvas& canvas, const PlotArea& plot, CanvasColour titleColour);
// Paints a strip of legend row row in colour: count blanks written opaquely at the row's cell.
void BlankLegendRow(Canvas& canvas, const PlotArea& plot, int row, CanvasColour colour, int count);
// A legend text at character cell (column, row), transparent.
void LegendEntry(Canvas& canvas, const PlotArea& plot, int column, int row, CanvasColour colour,
                 const std::string& text);
// A segment between two data points.
void PlotLine(Canvas& canvas, const PlotArea& plot, float x1, float y1, float x2, float y2,
              CanvasColour colour);

}  // namespace vexor
