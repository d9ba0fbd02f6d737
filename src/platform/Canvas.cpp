#include "platform/Canvas.h"

#include "base/StringPrintf.h"

namespace vexor {
namespace {

std::string Hex(CanvasColour c) {
  return StringPrintf("%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                                CanvasColour outline) {
  m_calls.push_back(StringPrintf("rect %d %d %d %d fill=%s outline=%s", left, top, right, bottom,
                                 Hex(fill).c_str(), Hex(outline).c_str()));
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, CanvasColour colour) {
  m_calls.push_back(StringPrintf("line %d %d %d %d %s", x1, y1, x2, y2, Hex(colour).c_str()));
}

void RecordingCanvas::SetFont(const CanvasFont& font) {
  m_font = font;
  m_calls.push_back(StringPrintf("font %d %d", font.height, font.weight));
}

CanvasMetrics RecordingCanvas::Metrics() const {
  int height = m_font.height > 0 ? m_font.height : m_defaultHeight;
  return {height, height * 4 / 5, m_charWidth};
}

int RecordingCanvas::TextWidth(std::string_view text) const {
  return static_cast<int>(text.size()) * m_charWidth;
}

void RecordingCanvas::Text(int x, int y, std::string_view text, CanvasColour colour,
                           TextAlign align, std::optional<CanvasColour> background) {
  std::string call = StringPrintf(
      "text %d %d %s %s", x, y, align == TextAlign::kLeft ? "left" : "right", Hex(colour).c_str());
  if (background) call += " bg=" + Hex(*background);
  call += ' ';
  call.append(text);
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::SetOrigin(int x, int y) {
  m_calls.push_back(StringPrintf("origin %d %d", x, y));
}

void RecordingCanvas::SetLineStyle(const LineStyle& style) {
  m_calls.push_back(StringPrintf("style %g %s %s", double{style.width},
                                 style.smooth ? "smooth" : "crisp",
                                 style.dashed ? "dashed" : "solid"));
}

void RecordingCanvas::Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) {
  std::string call = "polyline " + Hex(colour);
  for (const CanvasPoint& point : points)
    StringAppendF(&call, " %.1f,%.1f", double{point.x}, double{point.y});
  m_calls.push_back(std::move(call));
}

}  // namespace vexor
