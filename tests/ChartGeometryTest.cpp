// The chart's geometry as values: colours, layout, scales, ticks, end labels and legend cells.
#include "ui/ChartGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexor {
namespace {

TEST(ChartGeometryTest, SeriesColoursFollowTheTableThenTheFormula) {
  struct Case {
    int n;
    CanvasColour colour;
  } cases[] = {{1, 0x0000FF},
               {2, 0x000000},
               {3, 0x747300},
               {4, 0xFF0000},
               {13, 0xF2F1E6},
               {16, 0xF2F100},
               {17, RgbColour(85, 85, 170)},  // 5n = 85, 255 - 85 = 170
               {52, RgbColour(4, 4, 251)},    // 260 mod 256, (255 - 260) mod 256
               {0, RgbColour(0, 0, 255)}};
  for (const Case& c : cases)
    EXPECT_EQ(SeriesColour(c.n), c.colour) << "series " << c.n;
}

TEST(ChartGeometryTest, LegendRowsSetTheTopOfThePlot) {
  const std::pair<int, int> rows[] = {{0, 1},  {1, 1},  {3, 1},  {4, 2},  {6, 2}, {7, 3},
                                      {12, 4}, {15, 5}, {16, 6}, {17, 6}, {19, 7}};
  for (auto [series, expected] : rows)
    EXPECT_EQ(LegendRows(series), expected) << series;

  FloatRect rect = PlotLayout(640, 640, TextCell{12, 6}, 4);
  EXPECT_FLOAT_EQ(rect.left, 32);     // 5 % of the width
  EXPECT_FLOAT_EQ(rect.right, 634);   // one layout character from the edge
  EXPECT_FLOAT_EQ(rect.top, 48);      // 2 x 12 x 2 rows
  EXPECT_FLOAT_EQ(rect.bottom, 592);  // 4 x 12 above the bottom
  PlotArea plot(TextCell{16, 7}, PlotLayout(645, 640, TextCell{12, 6}, 16));
  EXPECT_EQ(plot.Left(), 32);  // 32.25 truncated
  EXPECT_EQ(plot.Top(), 144);
}

TEST(ChartGeometryTest, EmptyRangesAreRejectedAndTheFirstRangeFixesTheTickSteps) {
  PlotArea plot(TextCell{16, 7}, FloatRect{100, 0, 300, 400});
  EXPECT_EQ(plot.SetRanges(0, 0, 0, 10), kRangeRejected);
  EXPECT_EQ(plot.SetRanges(0, 5, 10, 5), kRangeRejected);
  EXPECT_EQ(plot.XRange().scale, 1.0f);  // a fresh plot: one unit a pixel from 0
  EXPECT_EQ(plot.X(20), 120);
  EXPECT_EQ(plot.XRange().max, std::numeric_limits<float>::max());

  EXPECT_EQ(plot.SetRanges(0, 0, 50, 40), 0);
  EXPECT_FLOAT_EQ(plot.XRange().scale, 0.25f);
  EXPECT_FLOAT_EQ(plot.YRange().scale, 0.1f);
  EXPECT_FLOAT_EQ(plot.XRange().tickStep, 50 * 0.071428575f);
  EXPECT_FLOAT_EQ(plot.YRange().tickStep, 4);
  EXPECT_EQ(plot.SetRanges(0, 0, 100, 100), 0);
  EXPECT_FLOAT_EQ(plot.XRange().tickStep, 50 * 0.071428575f);
  EXPECT_FLOAT_EQ(plot.YRange().tickStep, 4);
}

TEST(ChartGeometryTest, CoordinatesTruncateTowardZero) {
  PlotArea plot(TextCell{16, 7}, FloatRect{32, 48, 634, 592});
  ASSERT_EQ(plot.SetRanges(0, 0, 25, 4), 0);
  EXPECT_EQ(plot.X(1), 32 + 24);              // 1 / (25 / 602) = 24.08
  EXPECT_EQ(plot.X(-1), 32 - 24);             // -24.08 toward zero
  EXPECT_EQ(plot.Y(1.1f), 592 - 149);         // 1.1 / (4 / 544) = 149.6
  EXPECT_EQ(plot.Y(2.9f), 592 - 394);         // 394.4
  EXPECT_EQ(plot.X(1e30f), 32 + 1000000000);  // held inside the int range
}

TEST(ChartGeometryTest, AxesAppearOnlyForRangesOffZeroAndTicksStartAtTheEdges) {
  PlotArea plot(TextCell{16, 7}, FloatRect{0, 0, 140, 100});
  ASSERT_EQ(plot.SetRanges(0, 0, 14, 10), 0);
  std::vector<Segment> lines = plot.AxisLines();
  // No axis line: 15 x ticks (0 to 14, step 14/14) and 11 y ticks (step 10/10).
  ASSERT_EQ(lines.size(), 15u + 11u);
  // 0.02 x 10 units up from the bottom: 0.2 / 0.1 is just under 2 in single precision.
  EXPECT_EQ(lines.front(), (Segment{0, 100, 0, 99}));
  EXPECT_EQ(lines[15], (Segment{0, 100, 2, 100}));  // first y tick, 0.02 x 14 units right

  PlotArea crossing(TextCell{16, 7}, FloatRect{0, 0, 100, 100});
  ASSERT_EQ(crossing.SetRanges(-5, 2, 5, 12), 0);
  lines = crossing.AxisLines();
  EXPECT_EQ(lines[0], (Segment{50, 0, 50, 100}));    // vertical axis at x = 0, from ymax to ymin
  EXPECT_EQ(lines[1], (Segment{100, 100, 0, 100}));  // horizontal axis at ymin (same signs)
}

TEST(ChartGeometryTest, EndLabelsArePaddedAndTheYFormatFollowsTheSpan) {
  PlotArea plot(TextCell{16, 7}, FloatRect{32, 48, 634, 592});
  plot.labelPrecision = 0;
  plot.xTitle = "Games";
  plot.yTitle = " ";
  EXPECT_TRUE(plot.XLabels(kChartWhite).empty());  // the range was never set
  ASSERT_EQ(plot.SetRanges(0, 0, 25, 4), 0);
  std::vector<ChartText> x = plot.XLabels(0x123456);
  ASSERT_EQ(x.size(), 3u);
  EXPECT_EQ(x[0].text, "    0");
  EXPECT_EQ(x[1].text, "   25");
  EXPECT_EQ(std::make_pair(x[1].x, x[1].y), std::make_pair(634 - 35, 592));
  EXPECT_EQ(x[2].text, "Games");
  EXPECT_EQ(x[2].align, TextAlign::kRight);
  EXPECT_EQ(std::make_pair(x[2].x, x[2].y), std::make_pair(634, 602));
  EXPECT_EQ(x[2].colour, 0x123456u);

  std::vector<ChartText> y = plot.YLabels(kChartWhite);
  ASSERT_EQ(y.size(), 3u);
  EXPECT_EQ(y[0].text, "0.0");  // a span under 10: "%*.1f" with the precision as the width
  EXPECT_EQ(y[1].text, "4.0");
  EXPECT_EQ(std::make_pair(y[0].x, y[0].y), std::make_pair(4, 592 - 16));
  EXPECT_EQ(std::make_pair(y[2].x, y[2].y), std::make_pair(32 - 7, 48 - 16));

  // Whole numbers padded to five once the range spans 10 units: exactly 10 is enough.
  struct Span {
    float ymin, ymax;
    const char* low;
    const char* high;
  } spans[] = {{0, 9.9f, "0.0", "9.9"},
               {0, 10, "    0", "   10"},
               {0, 38, "    0", "   38"},
               {0.5f, 10.5f, "    0", "   10"},  // whole parts 0 and 10
               {1.5f, 10.9f, "1.5", "10.9"}};    // 1 and 10: a span of 9
  for (const Span& span : spans) {
    PlotArea wide(TextCell{16, 7}, FloatRect{32, 48, 634, 592});
    wide.labelPrecision = 0;
    wide.yTitle = " ";
    ASSERT_EQ(wide.SetRanges(0, span.ymin, 25, span.ymax), 0);
    y = wide.YLabels(kChartWhite);
    EXPECT_EQ(y[0].text, span.low) << span.ymin << " to " << span.ymax;
    EXPECT_EQ(y[1].text, span.high) << span.ymin << " to " << span.ymax;
    wide.yTitle.clear();
    EXPECT_TRUE(wide.YLabels(kChartWhite).empty());
  }
}

TEST(ChartGeometryTest, WideYLabelsStayLeftOfThePlot) {
  PlotArea plot(TextCell{16, 7}, FloatRect{32, 48, 634, 592});
  plot.labelPrecision = 0;
  plot.yTitle = " ";
  ASSERT_EQ(plot.SetRanges(0, 0, 25, 12345), 0);
  RecordingCanvas canvas(16, 8);
  DrawYLabels(canvas, plot, kChartWhite);
  // "    0" (40 px) would end at 44, inside the plot: it ends at 30 instead; so does "12345".
  EXPECT_EQ(canvas.Calls()[1], "text 1 576 left FFFFFF     0");
  EXPECT_EQ(canvas.Calls()[2], "text 1 48 left FFFFFF 12345");
}

TEST(ChartGeometryTest, LegendColumnsAndCells) {
  LegendColumns columns = LegendColumnsFor(640, 7);
  EXPECT_EQ(columns.cells[0], 13);  // 640 / 35 - 5
  EXPECT_EQ(columns.cells[1], 40);  // trunc(45.7) - 5
  EXPECT_EQ(columns.cells[2], 68);  // 2560 / 35 - 5
  PlotArea plot(TextCell{16, 7}, FloatRect{32, 48, 634, 592});
  RecordingCanvas canvas;
  BlankLegendRow(canvas, plot, 1, kChartWhite, 3);
  LegendEntry(canvas, plot, columns.cells[1], 1, 0x0000FF, "Bob : Frags");
  EXPECT_EQ(canvas.Calls(),
            (std::vector<std::string>{"font 14 700", "text 0 16 left FFFFFF bg=FFFFFF    ",
                                      "font 14 700", "text 280 16 left FF0000 Bob : Frags"}));
}

}  // namespace
}  // namespace vexor
