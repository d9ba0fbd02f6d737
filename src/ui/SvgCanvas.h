// A Canvas that writes an SVG picture, without a toolkit: how the command line saves a chart.
// There is no font engine here, so text metrics are estimates (a character cell of the font's
// height, characters half as wide); right-aligned text is anchored at its end by the SVG
// itself, so it ends where it should whatever the viewer's font.
#pragma once

#include <string>

#include "platform/Canvas.h"

namespace vexor {

class SvgCanvas : public Canvas {
 public:
  SvgCanvas(int width, int height);

  void Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                 CanvasColour outline) override;
  void Line(int x1, int y1, int x2, int y2, CanvasColour colour) override;
  void SetFont(const CanvasFont& font) override;
  CanvasMetrics Metrics() const override;
  int TextWidth(std::string_view text) const override;
  void Text(int x, int y, std::string_view text, CanvasColour colour, TextAlign align,
            std::optional<CanvasColour> background) override;
  void SetOrigin(int x, int y) override;
  // Lines of another style than the default carry their width, dashes and smoothing; those of
  // the default style are written as they always were.
  void SetLineStyle(const LineStyle& style) override;
  void Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) override;

  // The whole document so far, closed.
  std::string Document() const;
  // Writes the document to path through a temporary file. False with *error (naming the file)
  // when it cannot be written; a previous file of that name is then left as it was.
  bool Save(const std::string& path, std::string* error) const;

  // Text as XML character data: UTF-8 kept when the bytes are valid UTF-8, otherwise read as
  // Latin-1; markup characters escaped; control characters, which XML cannot hold, as "?".
  static std::string XmlText(std::string_view bytes);

 private:
  int m_width;
  int m_height;
  int m_originX = 0;
  int m_originY = 0;
  // The attributes of the current line style after the stroke colour ("" for the default).
  std::string StrokeStyle() const;

  CanvasFont m_font;
  LineStyle m_lineStyle;
  std::string m_body;
};

}  // namespace vexor
