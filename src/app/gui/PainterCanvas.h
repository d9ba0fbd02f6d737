// The Canvas on a QPainter: a window, a printer, a PDF file or a picture.
#pragma once

#include <QFont>
#include <QPainter>

#include "platform/Canvas.h"

namespace vexor {

class PainterCanvas : public Canvas {
 public:
  // painter must be active and outlive the canvas.
  explicit PainterCanvas(QPainter& painter);

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

 private:
  // Sets the pen and smoothing of a line in colour and the current style.
  void LinePen(CanvasColour colour);

  QPainter& m_painter;
  QFont m_defaultFont;
  LineStyle m_lineStyle;
};

}  // namespace vexor
