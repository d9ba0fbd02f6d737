// The web site's charts as inline SVG: a bar chart and a line chart, scaled to the page's width
// and coloured by the stylesheet (light and dark). Each carries its text alternative: a title
// and a description that give the values, read out by screen readers in place of the drawing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexor {

struct ChartBar {
  std::string label;  // plain text (escaped here)
  double value = 0;
  std::string shown;  // the value as printed beside the bar
};

// Horizontal bars, one per entry, longest for the largest value. id names the title and
// description elements; title and description are plain text.
void AppendBarChart(std::string* out, std::string_view id, std::string_view title,
                    const std::vector<ChartBar>& bars);

struct ChartPoint {
  double x = 0;
  double y = 0;
  double band = 0;  // drawn as a shaded band from y - band to y + band (0: none)
};

// A line through the points (x ascending) with a shaded band where given, the y range labelled
// at its ends and the x range under the axis ("Game 1" ... "Game 40"). The description should
// say where the values are written out (a table on the page).
void AppendLineChart(std::string* out, std::string_view id, std::string_view title,
                     std::string_view description, const std::vector<ChartPoint>& points);

}  // namespace vexor
