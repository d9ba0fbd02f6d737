#include "site/SiteCharts.h"

#include <algorithm>
#include <cmath>

#include "base/StringPrintf.h"
#include "site/SiteText.h"

namespace vexor {
namespace {

// Drawn at 480 units, shown at most at 480 pixels (site.css), smaller on a phone.
constexpr double kWidth = 480;
constexpr double kBarHeight = 22;
constexpr double kBarLabelWidth = 172;
constexpr double kBarRoom = 260;  // the longest bar; its value is printed after it
constexpr double kLineHeight = 200;
constexpr double kPlotLeft = 48;
constexpr double kPlotRight = 12;
constexpr double kPlotTop = 10;
constexpr double kPlotBottom = 28;

void BeginSvg(std::string* out, std::string_view id, double height, std::string_view title,
              std::string_view description) {
  std::string safeId = HtmlText(id);
  StringAppendF(out,
                "<figure class=\"chart\"><svg viewBox=\"0 0 %.0f %.0f\" role=\"img\" "
                "aria-labelledby=\"%s-t %s-d\" preserveAspectRatio=\"xMinYMin meet\">"
                "<title id=\"%s-t\">",
                kWidth, height, safeId.c_str(), safeId.c_str(), safeId.c_str());
  AppendHtmlText(out, title);
  StringAppendF(out, "</title><desc id=\"%s-d\">", safeId.c_str());
  AppendHtmlText(out, description);
  out->append("</desc>");
}

void EndSvg(std::string* out, std::string_view title) {
  out->append("</svg><figcaption>");
  AppendHtmlText(out, title);
  out->append("</figcaption></figure>\n");
}

// "%g"-like short labels for axis values.
std::string AxisLabel(double value) {
  return StringPrintf("%.0f", value);
}

}  // namespace

void AppendBarChart(std::string* out, std::string_view id, std::string_view title,
                    const std::vector<ChartBar>& bars) {
  std::string description;
  for (const ChartBar& bar : bars) {
    if (!description.empty()) description += ", ";
    description += bar.label + ": " + bar.shown;
  }
  double height = kBarHeight * static_cast<double>(bars.size()) + 8;
  BeginSvg(out, id, height, title, description.empty() ? "No values." : description);
  double largest = 0;
  for (const ChartBar& bar : bars)
    largest = std::max(largest, bar.value);
  double y = 4;
  for (const ChartBar& bar : bars) {
    double length = largest > 0 ? std::max(0.0, bar.value) / largest * kBarRoom : 0;
    StringAppendF(out, "<text class=\"label\" x=\"%.0f\" y=\"%.1f\" text-anchor=\"end\">",
                  kBarLabelWidth - 6, y + 15);
    AppendHtmlText(out, bar.label);
    StringAppendF(out,
                  "</text><rect class=\"bar\" x=\"%.0f\" y=\"%.1f\" width=\"%.1f\" "
                  "height=\"%.0f\"/><text class=\"value\" x=\"%.1f\" y=\"%.1f\">",
                  kBarLabelWidth, y + 3, length, kBarHeight - 6, kBarLabelWidth + length + 6,
                  y + 15);
    AppendHtmlText(out, bar.shown);
    out->append("</text>");
    y += kBarHeight;
  }
  EndSvg(out, title);
}

void AppendLineChart(std::string* out, std::string_view id, std::string_view title,
                     std::string_view description, const std::vector<ChartPoint>& points) {
  BeginSvg(out, id, kLineHeight, title, description);
  double xMin = points.empty() ? 0 : points.front().x;
  double xMax = points.empty() ? 1 : points.back().x;
  double yMin = 0;
  double yMax = 1;
  if (!points.empty()) {
    yMin = yMax = points.front().y;
    for (const ChartPoint& p : points) {
      yMin = std::min(yMin, p.y - p.band);
      yMax = std::max(yMax, p.y + p.band);
    }
  }
  if (xMax <= xMin) xMax = xMin + 1;
  if (yMax - yMin < 1) {
    yMin -= 0.5;
    yMax += 0.5;
  }
  const double plotWidth = kWidth - kPlotLeft - kPlotRight;
  const double plotHeight = kLineHeight - kPlotTop - kPlotBottom;
  auto X = [&](double x) { return kPlotLeft + (x - xMin) / (xMax - xMin) * plotWidth; };
  auto Y = [&](double y) { return kPlotTop + (yMax - y) / (yMax - yMin) * plotHeight; };
  StringAppendF(out,
                "<path class=\"axis\" d=\"M%.0f %.0fV%.0fH%.0f\"/>"
                "<text class=\"label\" x=\"%.0f\" y=\"%.0f\" text-anchor=\"end\">%s</text>"
                "<text class=\"label\" x=\"%.0f\" y=\"%.0f\" text-anchor=\"end\">%s</text>"
                "<text class=\"label\" x=\"%.0f\" y=\"%.0f\">Game %s</text>"
                "<text class=\"label\" x=\"%.0f\" y=\"%.0f\" text-anchor=\"end\">Game %s</text>",
                kPlotLeft, kPlotTop, kPlotTop + plotHeight, kWidth - kPlotRight, kPlotLeft - 6,
                kPlotTop + 10, AxisLabel(yMax).c_str(), kPlotLeft - 6, kPlotTop + plotHeight,
                AxisLabel(yMin).c_str(), kPlotLeft, kLineHeight - 8, AxisLabel(xMin).c_str(),
                kWidth - kPlotRight, kLineHeight - 8, AxisLabel(xMax).c_str());
  bool banded =
      std::any_of(points.begin(), points.end(), [](const ChartPoint& p) { return p.band > 0; });
  if (banded) {
    out->append("<polygon class=\"band\" points=\"");
    for (const ChartPoint& p : points)
      StringAppendF(out, "%.1f,%.1f ", X(p.x), Y(p.y + p.band));
    for (auto p = points.rbegin(); p != points.rend(); ++p) {
      StringAppendF(out, "%.1f,%.1f ", X(p->x), Y(p->y - p->band));
    }
    out->append("\"/>");
  }
  out->append("<polyline class=\"line\" points=\"");
  for (const ChartPoint& p : points)
    StringAppendF(out, "%.1f,%.1f ", X(p.x), Y(p.y));
  out->append("\"/>");
  if (points.size() == 1) {
    StringAppendF(out, "<circle class=\"dot\" cx=\"%.1f\" cy=\"%.1f\" r=\"3\"/>", X(points[0].x),
                  Y(points[0].y));
  }
  EndSvg(out, title);
}

}  // namespace vexor
