#include "ui/ChartGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/StringPrintf.h"

namespace vexor {
namespace {

constexpr float kUnset = std::numeric_limits<float>::max();
constexpr float kXTickFactor = 0.071428575f;  // 1/14 of the x range
constexpr float kYTickFactor = 0.1f;
constexpr float kTickLength = 0.02f;  // of the other axis's range
// Far more ticks than a plot has pixels: a range set much wider than the first one (whose
// step stays) draws at most this many.
constexpr int kMostTicks = 4096;
constexpr int kYLabelOffset = 28;  // from the y labels' left end to the plot's left edge

constexpr std::array<CanvasColour, 16> kSeriesColours = {
    0x0000FF, 0x000000, 0x747300, 0xFF0000, 0x00FF00, 0x400698, 0xB2047F, 0xC0C0C0,
    0xFFFF00, 0xFF00FF, 0x00FFFF, 0x557B3E, 0xF2F1E6, 0xC8C799, 0xE4E3CC, 0xF2F100,
};

int Modulo256(int64_t value) {
  return static_cast<int>(((value % 256) + 256) % 256);
}

// A float pixel value as an int, held well inside the int range (a huge data value or the
// unset range's largest float must not overflow the conversion).
int ToPixel(float value) {
  constexpr float kLimit = 1.0e9f;
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// How many tick steps fit in a range: the integer part, 0 for a step of 0 or a non-number.
int TickCount(float range, float step) {
  if (step == 0) return 0;
  float count = range / step;
  if (!(count >= 0)) return 0;
  return count >= kMostTicks ? kMostTicks : static_cast<int>(count);
}

bool OppositeSigns(float a, float b) {
  return (a < 0) != (b < 0);
}

}  // namespace

TextCell MeasureCell(Canvas& canvas, const CanvasFont& font) {
  canvas.SetFont(font);
  CanvasMetrics metrics = canvas.Metrics();
  return {std::max(1, metrics.height), std::max(1, metrics.averageCharWidth)};
}

CanvasColour SeriesColour(int n) {
  if (n >= 1 && n <= static_cast<int>(kSeriesColours.size())) {
    return kSeriesColours[static_cast<size_t>(n - 1)];
  }
  int grey = Modulo256(int64_t{5} * n);
  return RgbColour(grey, grey, Modulo256(255 - int64_t{5} * n));
}

int LegendRows(int series) {
  return series <= 0 ? 1 : (series + 2) / 3;
}

FloatRect PlotLayout(int width, int height, TextCell layout, int series) {
  FloatRect rect;
  rect.left = static_cast<float>(width) * 0.05f;
  rect.right = static_cast<float>(width - layout.width);
  rect.top = static_cast<float>(2 * layout.height * LegendRows(series));
  rect.bottom = static_cast<float>(height - 4 * layout.height);
  return rect;
}

PlotArea::PlotArea(TextCell cell, const FloatRect& rect) : m_cell(cell) {
  Place(rect);
}

void PlotArea::Place(const FloatRect& rect) {
  m_left = ToPixel(std::trunc(rect.left));
  m_top = ToPixel(std::trunc(rect.top));
  m_right = ToPixel(std::trunc(rect.right));
  m_bottom = ToPixel(std::trunc(rect.bottom));
}

int PlotArea::SetRanges(float xmin, float ymin, float xmax, float ymax) {
  if (xmin == xmax || ymin == ymax) return kRangeRejected;
  // A plot squeezed to nothing (a legend taller than the window) still gets a finite scale.
  float width = static_cast<float>(std::max(1, m_right - m_left));
  float height = static_cast<float>(std::max(1, m_bottom - m_top));
  m_x.min = xmin;
  m_x.max = xmax;
  m_x.scale = (xmax - xmin) / width;
  m_y.min = ymin;
  m_y.max = ymax;
  m_y.scale = (ymax - ymin) / height;
  if (m_x.tickStep == 0) m_x.tickStep = (xmax - xmin) * kXTickFactor;
  if (m_y.tickStep == 0) m_y.tickStep = (ymax - ymin) * kYTickFactor;
  return 0;
}

int PlotArea::X(float x) const {
  return m_left + ToPixel(std::trunc((x - m_x.min) / m_x.scale));
}

int PlotArea::Y(float y) const {
  return m_bottom - ToPixel(std::trunc((y - m_y.min) / m_y.scale));
}

std::vector<Segment> PlotArea::AxisLines() {
  SetRanges(m_x.min, m_y.min, m_x.max, m_y.max);
  std::vector<Segment> lines;
  auto line = [&](float x1, float y1, float x2, float y2) {
    lines.push_back({X(x1), Y(y1), X(x2), Y(y2)});
  };
  float ax = 0;
  if (m_x.min != 0 && m_x.max != 0) {
    ax = OppositeSigns(m_x.min, m_x.max) ? 0 : m_x.min;
    line(ax, m_y.max, ax, m_y.min);
  }
  float ay = 0;
  if (m_y.min != 0 && m_y.max != 0) {
    ay = OppositeSigns(m_y.min, m_y.max) ? 0 : m_y.min;
    line(m_x.max, ay, m_x.min, ay);
  }
  float xTick = kTickLength * std::fabs(m_y.max - m_y.min);
  for (int i = 0, n = TickCount(m_x.max - m_x.min, m_x.tickStep); i <= n; ++i) {
    float x = m_x.min + static_cast<float>(i) * m_x.tickStep;
    line(x, ay, x, ay + xTick);
  }
  float yTick = kTickLength * std::fabs(m_x.max - m_x.min);
  for (int i = 0, n = TickCount(m_y.max - m_y.min, m_y.tickStep); i <= n; ++i) {
    float y = m_y.min + static_cast<float>(i) * m_y.tickStep;
    line(ax, y, ax + yTick, y);
  }
  return lines;
}

std::vector<ChartText> PlotArea::XLabels(CanvasColour titleColour) const {
  if (xTitle.empty() || m_x.max == kUnset) return {};
  return {
      {m_left, m_bottom, StringPrintf("%5.*f", labelPrecision, double{m_x.min}), xLabelColour},
      {m_right - 5 * m_cell.width, m_bottom, StringPrintf("%5.*f", labelPrecision, double{m_x.max}),
       xLabelColour},
      {m_right, m_bottom + 10, xTitle, titleColour, TextAlign::kRight},
  };
}

std::vector<ChartText> PlotArea::YLabels(CanvasColour titleColour) const {
  if (yTitle.empty() || m_y.max == kUnset) return {};
  bool wide = std::trunc(m_y.max) - std::trunc(m_y.min) >= 10;
  auto format = [&](float value) {
    return wide ? StringPrintf("%5.*f", labelPrecision, double{value})
                : StringPrintf("%*.1f", labelPrecision, double{value});
  };
  int x = m_left - kYLabelOffset;
  int titleWidth = static_cast<int>(yTitle.size()) * m_cell.width;
  return {
      {x, m_bottom - m_cell.height, format(m_y.min), yLabelColour},
      {x, m_top, format(m_y.max), yLabelColour},
      {m_left - titleWidth, m_top - m_cell.height, yTitle, titleColour},
  };
}

LegendColumns LegendColumnsFor(int width, int cellWidth) {
  int cells = 5 * std::max(1, cellWidth);
  LegendColumns columns;
  columns.cells[0] = width / cells - 5;
  columns.cells[1] = static_cast<int>(std::trunc(width * 2.5 / cells)) - 5;
  columns.cells[2] = (4 * width) / cells - 5;
  return columns;
}

// --- Drawing.

void FillBackground(Canvas& canvas, int width, int height, CanvasColour colour) {
  canvas.Rectangle(0, 0, width, height, colour, kChartWhite);
}

void FillPlot(Canvas& canvas, const PlotArea& plot, CanvasColour colour) {
  canvas.Rectangle(plot.Left(), plot.Top(), plot.Right() + 1, plot.Bottom() + 1, colour,
                   plot.borderColour);
}

void DrawAxes(Canvas& canvas, PlotArea& plot, CanvasColour colour) {
  std::vector<Segment> lines = plot.AxisLines();
  FillPlot(canvas, plot, kChartWhite);
  for (const Segment& line : lines)
    canvas.Line(line.x1, line.y1, line.x2, line.y2, colour);
}

namespace {

void DrawTexts(Canvas& canvas, const std::vector<ChartText>& texts) {
  if (texts.empty()) return;
  canvas.SetFont(kLabelFont);
  for (const ChartText& text : texts) {
    canvas.Text(text.x, text.y, text.text, text.colour, text.align);
  }
}

}  // namespace

void DrawXLabels(Canvas& canvas, const PlotArea& plot, CanvasColour titleColour) {
  DrawTexts(canvas, plot.XLabels(titleColour));
}

void DrawYLabels(Canvas& canvas, const PlotArea& plot, CanvasColour titleColour) {
  std::vector<ChartText> texts = plot.YLabels(titleColour);
  if (texts.empty()) return;
  canvas.SetFont(kLabelFont);
  for (size_t i = 0; i < texts.size(); ++i) {
    ChartText& text = texts[i];
    int end = plot.Left() - 2;
    int width = canvas.TextWidth(text.text);
    if (i < 2 && text.x + width > end) text.x = std::max(1, end - width);
    canvas.Text(text.x, text.y, text.text, text.colour, text.align);
  }
}

void BlankLegendRow(Canvas& canvas, const PlotArea& plot, int row, CanvasColour colour, int count) {
  canvas.SetFont(kLabelFont);
  canvas.Text(0, row * plot.Cell().height,
              std::string(static_cast<size_t>(std::max(0, count)), ' '), colour, TextAlign::kLeft,
              colour);
}

void LegendEntry(Canvas& canvas, const PlotArea& plot, int column, int row, CanvasColour colour,
                 const std::string& text) {
  canvas.SetFont(kLabelFont);
  canvas.Text(column * plot.Cell().width, row * plot.Cell().height, text, colour);
}

void PlotLine(Canvas& canvas, const PlotArea& plot, float x1, float y1, float x2, float y2,
              CanvasColour colour) {
  canvas.Line(plot.X(x1), plot.Y(y1), plot.X(x2), plot.Y(y2), colour);
}

}  // namespace vexor
