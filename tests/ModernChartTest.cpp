// The modern chart: round axis steps, the palette, what is drawn for a graph (ranges from the
// games on show, game numbers, lines, legend) and which line the pointer is over.
#include "ui/ModernChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

#include "base/StringPrintf.h"
#include "ui/GraphBuilder.h"
#include "ui/SvgCanvas.h"

namespace vexor {
namespace {

using Segments = std::vector<std::pair<float, float>>;

TEST(ModernChartTest, AxesRunInRoundStepsToRoundEnds) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double low, high;
    int most;
    bool whole;
    double min, max, step;
    int decimals;
  } cases[] = {
      {0, 26, 13, true, 0, 26, 2, 0},       // 2 a step: 13 steps
      {0, 26, 6, true, 0, 30, 5, 0},        // 4.3 a step would do: 5 is the next round one
      {0, 10, 5, true, 0, 10, 2, 0},        // exactly 5 steps of 2
      {0, 1, 5, false, 0, 1, 0.2, 1},       // rates: steps below 1
      {0, 0.35, 4, false, 0, 0.4, 0.1, 1},  // 0.0875 rounds up to 0.1
      {0, 0.012, 3, false, 0, 0.015, 0.005, 3},
      {0, 0.6, 10, true, 0, 1, 1, 0},  // counts never step below 1
      {-3, 7, 5, true, -4, 8, 2, 0},   // custom variables can fall below 0
      {5, 5, 4, true, 5, 6, 1, 0},     // no width: one step above
      {0, 28801, 10, false, 0, 30000, 5000, 0},
      {kNaN, kNaN, 4, true, 0, 1, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << " to " << c.high << " in " << c.most);
    AxisTicks axis = RoundTicks(c.low, c.high, c.most, c.whole);
    EXPECT_DOUBLE_EQ(axis.min, c.min);
    EXPECT_DOUBLE_EQ(axis.max, c.max);
    EXPECT_DOUBLE_EQ(axis.step, c.step);
    EXPECT_EQ(axis.decimals, c.decimals);
    ASSERT_FALSE(axis.values.empty());
    EXPECT_DOUBLE_EQ(axis.values.front(), c.min);
    EXPECT_NEAR(axis.values.back(), c.max, c.step * 1e-9);
    EXPECT_EQ(axis.values.size(), static_cast<size_t>(std::lround((c.max - c.min) / c.step)) + 1);
  }
  AxisTicks tenths = RoundTicks(-1, 1, 10, false);
  EXPECT_EQ(TickLabel(tenths, tenths.values[7]), "0.4");  // -1 + 7 x 0.2, not 0.39999...
  EXPECT_EQ(TickLabel(tenths, -0.0), "0.0");
  EXPECT_EQ(TickLabel(tenths, -0.01), "0.0");  // never "-0.0"
  EXPECT_EQ(TickLabel(RoundTicks(0, 9, 9, true), -0.0), "0");
  EXPECT_EQ(TickLabel(tenths, -0.2), "-0.2");
}

// Relative luminance of an sRGB colour, for its contrast with white.
double Luminance(CanvasColour colour) {
  auto linear = [](int channel) {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(RedOf(colour)) + 0.7152 * linear(GreenOf(colour)) +
         0.0722 * linear(BlueOf(colour));
}

TEST(ModernChartTest, SixteenColoursReadOnWhiteAndTheSecondEightAreDashed) {
  std::set<CanvasColour> colours;
  for (int n = 1; n <= 16; ++n) {
    CanvasColour colour = ModernSeriesColour(n);
    colours.insert(colour);
    EXPECT_GE(1.05 / (Luminance(colour) + 0.05), 3.0) << "series " << n;
    EXPECT_EQ(ModernSeriesDashed(n), n > 8) << "series " << n;
    EXPECT_EQ(ModernSeriesColour(n + 16), colour) << "series " << n;
  }
  EXPECT_EQ(colours.size(), 16u);
  EXPECT_FALSE(ModernSeriesDashed(17));
  EXPECT_TRUE(ModernSeriesDashed(25));
}

// Four games shown out of five (game 3 hidden, and so large that it would set a classic y axis
// of 28801), two players.
class ModernGraphTest : public ::testing::Test {
 protected:
  ModernGraphTest() {
    data.xmax = 4;
    data.ymax = 28800;
    data.gameNumbers = {0, 1, 2, 4, 5};
    data.series.push_back({1, "Alice : Frags", 0, {{0, 2}, {2, 5}, {5, 5}, {5, 7}}});
    // Bob's second game starts from another value than his first ended at.
    data.series.push_back({2, "Bob : Frags", 0, {{0, 1}, {0, 3}, {3, 4}, {4, 4}}});
  }
  std::vector<std::string> CallsStarting(const std::string& start) const {
    std::vector<std::string> found;
    for (const std::string& call : canvas.Calls()) {
      if (call.rfind(start, 0) == 0) found.push_back(call);
    }
    return found;
  }

  GraphData data;
  RecordingCanvas canvas{16, 8};
};

TEST_F(ModernGraphTest, TheGamesOnShowSetTheRangesAndTheirNumbersLabelTheBottom) {
  ModernPlot plot = DrawModernGraph(canvas, 640, 640, data);
  EXPECT_EQ(plot.xmax, 4);
  EXPECT_EQ(plot.ymin, 0);
  EXPECT_EQ(plot.ymax, 7);  // the hidden game does not stretch it
  std::vector<std::string> yLabels, xLabels;
  for (const std::string& text : CallsStarting("text ")) {
    std::string label = text.substr(text.rfind(' ') + 1);
    (text.find(" right ") != std::string::npos ? yLabels : xLabels).push_back(label);
  }
  EXPECT_EQ(yLabels, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
  // Game numbers under the gridlines, the hidden game 3 skipped, the axis title, the legend.
  EXPECT_EQ(xLabels, (std::vector<std::string>{"0", "1", "2", "4", "5", "Game", "Frags", "Frags"}));

  // Each series in its colour, smoothed; Bob's in two pieces.
  std::vector<std::string> lines = CallsStarting("polyline ");
  ASSERT_EQ(lines.size(), 3u + 2u);  // and the legend's two swatches
  auto point = [&](double x, double y) {
    return StringPrintf(" %.1f,%.1f", double{plot.X(x)}, double{plot.Y(y)});
  };
  EXPECT_EQ(lines[0], "polyline 0072B2" + point(0, 0) + point(1, 2) + point(2, 5) + point(3, 5) +
                          point(4, 7));
  EXPECT_EQ(lines[1], "polyline D55E00" + point(0, 0) + point(1, 1));
  EXPECT_EQ(lines[2], "polyline D55E00" + point(1, 0) + point(2, 3) + point(3, 4) + point(4, 4));
  EXPECT_NE(std::ranges::find(canvas.Calls(), "style 2 smooth solid"), canvas.Calls().end());
  EXPECT_EQ(canvas.Calls().back(), "style 1 crisp solid");  // the default again at the end
  EXPECT_EQ(plot.X(0), static_cast<float>(plot.left));
  EXPECT_EQ(plot.Y(0), static_cast<float>(plot.bottom));
  EXPECT_LT(plot.top, plot.bottom);
}

TEST_F(ModernGraphTest, SixteenSeriesFillALegendOfThreeColumnsAndLongNamesAreCut) {
  data.series.clear();
  for (int n = 1; n <= 16; ++n) {
    std::string name = n == 16 ? std::string(60, 'W') : "P" + std::to_string(n);
    data.series.push_back({n, name + " : Frags", 0, {{0, 1}}});
  }
  DrawModernGraph(canvas, 640, 640, data);
  // Each legend entry: its line style, its swatch, its text; the ninth is the first dashed.
  const std::vector<std::string>& calls = canvas.Calls();
  std::vector<size_t> entries;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].find(" : Frags") != std::string::npos || calls[i].ends_with("...")) {
      entries.push_back(i);
    }
  }
  ASSERT_EQ(entries.size(), 16u);
  std::set<int> columns, rows;
  for (size_t e = 0; e < entries.size(); ++e) {
    size_t at = entries[e];
    EXPECT_EQ(calls[at - 2], e >= 8 ? "style 2 smooth dashed" : "style 2 smooth solid") << e;
    ASSERT_EQ(calls[at - 1].rfind("polyline ", 0), 0u) << e;
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(calls[at].c_str(), "text %d %d", &x, &y), 2) << calls[at];
    columns.insert(x);
    rows.insert(y);
  }
  EXPECT_EQ(columns.size(), 3u);
  EXPECT_EQ(rows.size(), 6u);
  // The long name is cut to its column (a third of 616 pixels, less the swatch and the gaps).
  std::string cut = calls[entries.back()];
  std::string shown = cut.substr(cut.find("333333 ") + 7);
  EXPECT_TRUE(shown.ends_with("...")) << shown;
  EXPECT_LE(static_cast<int>(shown.size()) * 8, 205 - 22 - 6 - 14) << shown;
  EXPECT_GT(static_cast<int>(shown.size() + 1) * 8, 205 - 22 - 6 - 14) << shown;
}

TEST_F(ModernGraphTest, ThePointerFindsTheTopmostLineAndTheGameUnderIt) {
  // 25 pixels a game, 10 a unit: Alice from (0, 100) up to (25, 80) ... (100, 30); Bob's
  // second piece from (25, 100) to (100, 60).
  ModernPlot plot{0, 0, 100, 100, 0, 4, 0, 10};
  struct Case {
    float x, y;
    int series, point;
    const char* tip;
  } cases[] = {
      {50, 50, 0, 2, "Alice : Frags\nGame 2: 5"},
      {74, 50, 0, 3, "Alice : Frags\nGame 4: 5"},
      {100, 32, 0, 4, "Alice : Frags\nGame 5: 7"},
      {90, 61, 1, 4, "Bob : Frags\nGame 5: 4"},
      {1, 99, 1, 1, "Bob : Frags\nGame 1: 1"},  // near both lines: Bob is drawn last
      {12, 80, -1, 0, ""},
      {-20, 100, -1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    ChartHit hit = ModernHitAt(plot, data, c.x, c.y, 4);
    EXPECT_EQ(hit.series, c.series);
    if (hit.series >= 0) {
      EXPECT_EQ(hit.point, c.point);
    }
    EXPECT_EQ(ModernToolTip(data, hit), c.tip);
  }
  // Each player's own games ("Show Only Games Played"), and rates with two decimals.
  data.gameNumbers.clear();
  data.wholeValues = false;
  EXPECT_EQ(ModernToolTip(data, {1, 2}), "Bob : Frags\nPlayed game 2: 3.00");
  EXPECT_EQ(ModernToolTip(data, {1, 5}), "");  // past the last game
}

TEST(ModernCanvasTest, LineStylesAreWrittenOnlyWhenSet) {
  SvgCanvas svg(10, 10);
  svg.Line(1, 2, 3, 4, 0xFFFFFF);
  svg.SetLineStyle({2, true, true});
  svg.Line(1, 2, 3, 4, 0x0000FF);
  svg.Polyline({{0, 0}, {1.25f, 2}}, 0x00FF00);
  svg.SetLineStyle({});
  svg.Polyline({{0, 0}}, 0x00FF00);  // one point draws nothing
  std::string document = svg.Document();
  std::string body = document.substr(document.find("\n", document.find("<svg")) + 1);
  EXPECT_EQ(body,
            "<line x1=\"1.5\" y1=\"2.5\" x2=\"3.5\" y2=\"4.5\" stroke=\"#FFFFFF\"/>\n"
            "<line x1=\"1.5\" y1=\"2.5\" x2=\"3.5\" y2=\"4.5\" stroke=\"#FF0000\" "
            "stroke-width=\"2\" stroke-dasharray=\"7 4\" stroke-linejoin=\"round\" "
            "shape-rendering=\"geometricPrecision\"/>\n"
            "<polyline points=\"0.0,0.0 1.2,2.0\" fill=\"none\" stroke=\"#00FF00\" "
            "stroke-width=\"2\" stroke-dasharray=\"7 4\" stroke-linejoin=\"round\" "
            "shape-rendering=\"geometricPrecision\"/>\n"
            "</svg>\n");
}

}  // namespace
}  // namespace vexor
