// How the core draws: charts and printed pages are computed as positions, texts and colours in
// the core and drawn through this interface on a window, a printer, a picture or an SVG file.
// Colours are 0x00BBGGRR values; lines are solid and one pixel wide, drawn without smoothing,
// unless a line style says otherwise; positions are device pixels after the origin (SetOrigin)
// is applied.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexor {

using CanvasColour = uint32_t;  // 0x00BBGGRR

constexpr CanvasColour RgbColour(int red, int green, int blue) {
  return static_cast<CanvasColour>((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}
constexpr int RedOf(CanvasColour c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(CanvasColour c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(CanvasColour c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// A font: height in pixels (the character cell; 0 is the device's default font) and weight
// (400 normal, 700 bold), in the device's default sans-serif face.
struct CanvasFont {
  int height = 0;
  int weight = 400;
  bool operator==(const CanvasFont&) const = default;
};

struct CanvasMetrics {
  int height = 0;  // character cell
  int ascent = 0;  // from the top of the cell to the base line
  int averageCharWidth = 0;
};

enum class TextAlign { kLeft, kRight };  // x is the text's left or right end; y is its top

// How lines are drawn: width in pixels, smoothed (anti-aliased) or on whole pixels, solid or
// dashed. The default is the solid one-pixel line every canvas starts with.
struct LineStyle {
  // A dashed line's dash and gap, in line widths.
  static constexpr float kDashOn = 3.5f;
  static constexpr float kDashOff = 2.0f;

  float width = 1;
  bool smooth = false;
  bool dashed = false;
  bool operator==(const LineStyle&) const = default;
};

// A point between pixels, for smoothed lines.
struct CanvasPoint {
  float x = 0;
  float y = 0;
  bool operator==(const CanvasPoint&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills left..right-1 x top..bottom-1 with fill and draws its outline in outline.
  virtual void Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                         CanvasColour outline) = 0;
  virtual void Line(int x1, int y1, int x2, int y2, CanvasColour colour) = 0;
  virtual void SetFont(const CanvasFont& font) = 0;
  virtual CanvasMetrics Metrics() const = 0;
  virtual int TextWidth(std::string_view text) const = 0;
  // Text with its top at y; background: the cell behind the text is painted in that colour
  // first (an opaque text), otherwise the text is drawn transparently.
  virtual void Text(int x, int y, std::string_view text, CanvasColour colour,
                    TextAlign align = TextAlign::kLeft,
                    std::optional<CanvasColour> background = std::nullopt) = 0;
  // Logical point (x, y) becomes the device's top-left corner (a printed page's top).
  virtual void SetOrigin(int x, int y) = 0;

  // The style of the lines that follow (Line and Polyline). A canvas that knows no styles
  // draws every line solid, one pixel wide.
  virtual void SetLineStyle(const LineStyle& style) { (void)style; }
  // One line through the points in order, in the current style (dashes run on across the
  // corners); fewer than two points draw nothing.
  virtual void Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) = 0;
};

// A canvas for tests: records every call as a line of text and answers metrics from fixed
// values (a character cell of the font's height, or of defaultHeight for the default font;
// every character averageCharWidth wide).
class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(int defaultHeight = 16, int averageCharWidth = 8)
      : m_defaultHeight(defaultHeight), m_charWidth(averageCharWidth) {}

  void Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                 CanvasColour outline) override;
  void Line(int x1, int y1, int x2, int y2, CanvasColour colour) override;
  void SetFont(const CanvasFont& font) override;
  CanvasMetrics Metrics() const override;
  int TextWidth(std::string_view text) const override;
  void Text(int x, int y, std::string_view text, CanvasColour colour, TextAlign align,
            std::optional<CanvasColour> background) override;
  void SetOrigin(int x, int y) override;
  void SetLineStyle(const LineStyle& style) override;
  void Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) override;

  // "rect L T R B fill=RRGGBB outline=RRGGBB", "line X1 Y1 X2 Y2 RRGGBB",
  // "font H W", "text X Y left|right RRGGBB [bg=RRGGBB] TEXT", "origin X Y",
  // "style WIDTH smooth|crisp solid|dashed", "polyline RRGGBB X,Y X,Y ..." (one decimal).
  const std::vector<std::string>& Calls() const { return m_calls; }
  void Clear() { m_calls.clear(); }

 private:
  int m_defaultHeight;
  int m_charWidth;
  CanvasFont m_font;
  std::vector<std::string> m_calls;
};

}  // namespace vexor
