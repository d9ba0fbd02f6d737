#include "ui/ModernChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/StringPrintf.h"
#include "ui/GraphBuilder.h"

namespace vexor {
namespace {

// Every colour has a contrast of at least 3 to 1 on white. The first eight (after the
// Okabe-Ito set, darkened where it was too pale for white) differ for red-blind, green-blind
// and blue-blind eyes; so do the second eight among themselves, and those are dashed.
constexpr std::array<CanvasColour, 16> kPalette = {
    RgbColour(0x00, 0x72, 0xB2), RgbColour(0xD5, 0x5E, 0x00), RgbColour(0x1B, 0x9E, 0x77),
    RgbColour(0x00, 0x00, 0x00), RgbColour(0xCC, 0x79, 0xA7), RgbColour(0x33, 0x22, 0x88),
    RgbColour(0x8C, 0x56, 0x4B), RgbColour(0x88, 0x22, 0x55), RgbColour(0x11, 0x77, 0x33),
    RgbColour(0xAA, 0x33, 0x77), RgbColour(0x44, 0x77, 0xAA), RgbColour(0x99, 0x99, 0x33),
    RgbColour(0xCC, 0x66, 0x77), RgbColour(0x00, 0x44, 0x88), RgbColour(0xD9, 0x5F, 0x02),
    RgbColour(0x66, 0x99, 0xCC),
};

constexpr CanvasColour kWhite = RgbColour(0xFF, 0xFF, 0xFF);
constexpr CanvasColour kInk = RgbColour(0x33, 0x33, 0x33);   // labels and legend
constexpr CanvasColour kGrid = RgbColour(0xE4, 0xE4, 0xE4);  // gridlines
constexpr CanvasColour kAxis = RgbColour(0x8C, 0x8C, 0x8C);  // the axes and the zero line
constexpr CanvasFont kFont{13, 400};
constexpr int kMargin = 12;
constexpr int kSwatch = 22;         // the legend's line sample
constexpr int kSwatchGap = 6;       // from the sample to its text
constexpr int kColumnGap = 14;      // between legend columns
constexpr int kLegendColumn = 180;  // the narrowest legend column
constexpr int kGridSpacing = 40;    // the closest horizontal gridlines
constexpr float kSeriesWidth = 2;
constexpr double kHeadroom = 0.02;        // of the values' span, above the highest
constexpr const char* kEllipsis = "...";  // plain bytes: names may be Latin-1

bool Finite(float value) {
  return std::isfinite(value);
}

// The longest start of text that fits in width pixels with "..." after it (the whole text when
// it fits), cut between characters of UTF-8.
std::string FitText(Canvas& canvas, const std::string& text, int width) {
  if (canvas.TextWidth(text) <= width) return text;
  size_t low = 0;
  size_t high = text.size();
  while (low < high) {  // the longest fitting start: low
    size_t middle = (low + high + 1) / 2;
    if (canvas.TextWidth(text.substr(0, middle) + kEllipsis) <= width) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  while (low > 0 && low < text.size() && (static_cast<unsigned char>(text[low]) & 0xC0) == 0x80)
    --low;
  return text.substr(0, low) + kEllipsis;
}

// The lowest and highest value drawn (0 always among them: counts start from nothing).
std::pair<double, double> DrawnRange(const GraphData& data) {
  double low = 0;
  double high = 0;
  for (const GraphSeries& series : data.series) {
    for (const auto& [from, to] : series.segments) {
      for (float value : {from, to}) {
        if (!Finite(value)) continue;
        low = std::min(low, double{value});
        high = std::max(high, double{value});
      }
    }
  }
  return {low, high};
}

// An x gridline's label: the number of the game at that x, or with "Show Only Games Played"
// the count of games.
std::string XLabel(const GraphData& data, double x) {
  auto k = static_cast<size_t>(std::max(0.0, x));
  if (k < data.gameNumbers.size()) return StringPrintf("%d", data.gameNumbers[k]);
  return StringPrintf("%zu", k);
}

struct Legend {
  int columns = 1;
  int rows = 0;
  int rowHeight = 0;
  int columnWidth = 0;
};

Legend LayOutLegend(int width, int series, int textHeight) {
  Legend legend;
  if (series <= 0) return legend;
  int room = std::max(1, width - 2 * kMargin);
  legend.columns = std::clamp(room / kLegendColumn, 1, 3);
  legend.columns = std::min(legend.columns, series);
  legend.rows = (series + legend.columns - 1) / legend.columns;
  legend.rowHeight = textHeight + 4;
  legend.columnWidth = room / legend.columns;
  return legend;
}

// The plot's edges and both axes for the client area and the legend above it.
struct Frame {
  ModernPlot plot;
  AxisTicks x;
  AxisTicks y;
};

Frame LayOutPlot(Canvas& canvas, int width, int height, const GraphData& data, const Legend& legend,
                 int textHeight) {
  Frame frame;
  ModernPlot& plot = frame.plot;
  plot.top = kMargin + legend.rows * legend.rowHeight + (legend.rows > 0 ? 10 : 0) + textHeight / 2;
  plot.bottom = std::max(plot.top + 20, height - kMargin - 2 * textHeight - 8);
  auto [low, high] = DrawnRange(data);
  frame.y =
      RoundTicks(low, high, std::max(2, (plot.bottom - plot.top) / kGridSpacing), data.wholeValues);
  int labels = 0;
  for (double value : frame.y.values)
    labels = std::max(labels, canvas.TextWidth(TickLabel(frame.y, value)));
  double xmax = std::max(1.0, double{data.xmax});
  std::string last = XLabel(data, xmax);
  plot.left = kMargin + labels + 8;
  plot.right = std::max(plot.left + 20, width - kMargin - canvas.TextWidth(last) / 2);
  int most = std::max(1, (plot.right - plot.left) / (canvas.TextWidth(last) + 28));
  frame.x = RoundTicks(0, xmax, most, true);
  frame.x.max = xmax;  // the axis ends at the last game; no gridline past it
  std::erase_if(frame.x.values, [&](double v) { return v > xmax + frame.x.step * 1e-9; });
  plot.xmin = 0;
  plot.xmax = xmax;
  plot.ymin = frame.y.min;
  plot.ymax = frame.y.max;
  return frame;
}

int Pixel(float value) {
  return static_cast<int>(std::lround(value));
}

void DrawGrid(Canvas& canvas, const Frame& frame, const GraphData& data, int textHeight) {
  const ModernPlot& plot = frame.plot;
  canvas.SetLineStyle(LineStyle{});
  for (double value : frame.y.values)
    canvas.Line(plot.left, Pixel(plot.Y(value)), plot.right, Pixel(plot.Y(value)), kGrid);
  for (double value : frame.x.values)
    canvas.Line(Pixel(plot.X(value)), plot.top, Pixel(plot.X(value)), plot.bottom, kGrid);
  canvas.Line(plot.left, plot.top, plot.left, plot.bottom, kAxis);
  canvas.Line(plot.left, plot.bottom, plot.right, plot.bottom, kAxis);
  if (plot.ymin < 0 && plot.ymax > 0)
    canvas.Line(plot.left, Pixel(plot.Y(0)), plot.right, Pixel(plot.Y(0)), kAxis);
  for (double value : frame.y.values) {
    canvas.Text(plot.left - 6, Pixel(plot.Y(value)) - textHeight / 2, TickLabel(frame.y, value),
                kInk, TextAlign::kRight);
  }
  for (double value : frame.x.values) {
    std::string label = XLabel(data, value);
    canvas.Text(Pixel(plot.X(value)) - canvas.TextWidth(label) / 2, plot.bottom + 4, label, kInk);
  }
  std::string title = data.playedOnly ? "Games played" : "Game";
  canvas.Text((plot.left + plot.right - canvas.TextWidth(title)) / 2, plot.bottom + textHeight + 8,
              title, kInk);
}

// A series as lines through its games. A segment that starts elsewhere than the last one ended
// (the value of a game this player did not play, with "Show Only Games Played") starts a new line.
void DrawSeries(Canvas& canvas, const ModernPlot& plot, const GraphSeries& series,
                CanvasColour colour) {
  std::vector<CanvasPoint> line;
  auto flush = [&] {
    if (line.size() >= 2) canvas.Polyline(line, colour);
    line.clear();
  };
  float last = 0;
  for (size_t k = 0; k < series.segments.size(); ++k) {
    auto [from, to] = series.segments[k];
    if (!Finite(from) || !Finite(to)) {
      flush();
      continue;
    }
    if (!line.empty() && from != last) flush();
    if (line.empty()) line.push_back({plot.X(static_cast<double>(k)), plot.Y(from)});
    line.push_back({plot.X(static_cast<double>(k + 1)), plot.Y(to)});
    last = to;
  }
  flush();
}

void DrawLegend(Canvas& canvas, const Legend& legend, const GraphData& data, int textHeight) {
  int textRoom = legend.columnWidth - kSwatch - kSwatchGap - kColumnGap;
  for (size_t e = 0; e < data.series.size(); ++e) {
    const GraphSeries& series = data.series[e];
    int x = kMargin + static_cast<int>(e) % legend.columns * legend.columnWidth;
    int y = kMargin + static_cast<int>(e) / legend.columns * legend.rowHeight;
    auto middle = static_cast<float>(y) + static_cast<float>(textHeight) / 2;
    canvas.SetLineStyle({kSeriesWidth, true, ModernSeriesDashed(static_cast<int>(e) + 1)});
    canvas.Polyline({{static_cast<float>(x), middle}, {static_cast<float>(x + kSwatch), middle}},
                    ModernSeriesColour(static_cast<int>(e) + 1));
    canvas.Text(x + kSwatch + kSwatchGap, y, FitText(canvas, series.legend, textRoom), kInk);
  }
}

}  // namespace

CanvasColour ModernSeriesColour(int n) {
  int index = ((n - 1) % 16 + 16) % 16;
  return kPalette[static_cast<size_t>(index)];
}

bool ModernSeriesDashed(int n) {
  return n >= 1 && (n - 1) / 8 % 2 == 1;
}

AxisTicks RoundTicks(double low, double high, int most, bool whole) {
  if (!std::isfinite(low)) low = 0;
  if (!std::isfinite(high) || !(high > low)) high = low + 1;
  AxisTicks axis;
  double rough = (high - low) / std::max(1, most);
  double power = std::pow(10.0, std::floor(std::log10(rough)));
  axis.step = 10 * power;
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough * (1 - 1e-9)) {
      axis.step = factor * power;
      break;
    }
  }
  if (whole) axis.step = std::max(1.0, std::round(axis.step));
  axis.min = std::floor(low / axis.step + 1e-9) * axis.step;
  axis.max = std::ceil(high / axis.step - 1e-9) * axis.step;
  int steps = static_cast<int>(std::lround((axis.max - axis.min) / axis.step));
  for (int i = 0; i <= steps; ++i)
    axis.values.push_back(axis.min + i * axis.step);
  axis.decimals = axis.step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(axis.step) - 1e-9));
  return axis;
}

std::string TickLabel(const AxisTicks& axis, double value) {
  std::string text = StringPrintf("%.*f", axis.decimals, value);
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

float ModernPlot::X(double x) const {
  double span = xmax - xmin;
  return static_cast<float>(left + (x - xmin) / (span > 0 ? span : 1) * (right - left));
}

float ModernPlot::Y(double y) const {
  double span = ymax - ymin;
  return static_cast<float>(bottom - (y - ymin) / (span > 0 ? span : 1) * (bottom - top));
}

double ModernPlot::XValue(float pixel) const {
  int width = std::max(1, right - left);
  return xmin + (pixel - left) * (xmax - xmin) / width;
}

ModernPlot DrawModernGraph(Canvas& canvas, int width, int height, const GraphData& data) {
  canvas.SetFont(kFont);
  int textHeight = std::max(1, canvas.Metrics().height);
  canvas.SetLineStyle(LineStyle{});
  canvas.Rectangle(0, 0, width, height, kWhite, kWhite);
  Legend legend = LayOutLegend(width, static_cast<int>(data.series.size()), textHeight);
  Frame frame = LayOutPlot(canvas, width, height, data, legend, textHeight);
  DrawGrid(canvas, frame, data, textHeight);
  for (size_t s = 0; s < data.series.size(); ++s) {
    canvas.SetLineStyle({kSeriesWidth, true, ModernSeriesDashed(static_cast<int>(s) + 1)});
    DrawSeries(canvas, frame.plot, data.series[s], ModernSeriesColour(static_cast<int>(s) + 1));
  }
  DrawLegend(canvas, legend, data, textHeight);
  canvas.SetLineStyle(LineStyle{});
  return frame.plot;
}

namespace {

float Distance(float px, float py, CanvasPoint a, CanvasPoint b) {
  float dx = b.x - a.x;
  float dy = b.y - a.y;
  float length = dx * dx + dy * dy;
  float t = length > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / length, 0.0f, 1.0f) : 0;
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

}  // namespace

ChartHit ModernHitAt(const ModernPlot& plot, const GraphData& data, float x, float y, float reach) {
  double from = std::floor(plot.XValue(x - reach)) - 1;
  double to = std::ceil(plot.XValue(x + reach));
  for (size_t s = data.series.size(); s-- > 0;) {
    const auto& segments = data.series[s].segments;
    if (segments.empty() || to < 0) continue;
    size_t first = from < 0 ? 0 : static_cast<size_t>(from);
    size_t last = std::min(segments.size() - 1, static_cast<size_t>(std::max(0.0, to)));
    for (size_t k = first; k <= last && k < segments.size(); ++k) {
      auto [a, b] = segments[k];
      if (!Finite(a) || !Finite(b)) continue;
      CanvasPoint start{plot.X(static_cast<double>(k)), plot.Y(a)};
      CanvasPoint end{plot.X(static_cast<double>(k + 1)), plot.Y(b)};
      if (Distance(x, y, start, end) > reach) continue;
      long nearest = std::lround(plot.XValue(x));
      auto point = std::clamp<long>(nearest, 1, static_cast<long>(segments.size()));
      return {static_cast<int>(s), static_cast<int>(point)};
    }
  }
  return {};
}

std::string ModernToolTip(const GraphData& data, const ChartHit& hit) {
  if (hit.series < 0 || static_cast<size_t>(hit.series) >= data.series.size()) return {};
  const GraphSeries& series = data.series[static_cast<size_t>(hit.series)];
  if (hit.point < 1 || static_cast<size_t>(hit.point) > series.segments.size()) return {};
  auto j = static_cast<size_t>(hit.point);
  float value = series.segments[j - 1].second;
  std::string game = j < data.gameNumbers.size() ? StringPrintf("Game %d", data.gameNumbers[j])
                                                 : StringPrintf("Played game %zu", j);
  std::string shown =
      data.wholeValues ? StringPrintf("%.0f", double{value}) : StringPrintf("%.2f", double{value});
  return series.legend + "\n" + game + ": " + shown;
}

}  // namespace vexor
