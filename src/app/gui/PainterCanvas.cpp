#include "app/gui/PainterCanvas.h"

#include <QFontMetrics>
#include <QPolygonF>

#include "app/gui/GuiText.h"

namespace vexor {
namespace {

QColor ToQColor(CanvasColour c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter)
    : m_painter(painter), m_defaultFont(painter.font()) {}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                              CanvasColour outline) {
  m_painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), ToQColor(fill));
  m_painter.setPen(QPen(ToQColor(outline), 1));
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawRect(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
}

// A graph draws thousands of segments in one colour: the pen changes only with the colour or
// the style.
void PainterCanvas::LinePen(CanvasColour colour) {
  QColor colourOf = ToQColor(colour);
  Qt::PenStyle style = m_lineStyle.dashed ? Qt::CustomDashLine : Qt::SolidLine;
  const QPen& current = m_painter.pen();
  if (current.color() != colourOf || current.widthF() != double{m_lineStyle.width} ||
      current.style() != style) {
    QPen pen(colourOf, double{m_lineStyle.width});
    if (m_lineStyle.dashed) pen.setDashPattern({LineStyle::kDashOn, LineStyle::kDashOff});
    if (m_lineStyle.smooth) pen.setJoinStyle(Qt::RoundJoin);
    m_painter.setPen(pen);
  }
  if (m_painter.testRenderHint(QPainter::Antialiasing) != m_lineStyle.smooth) {
    m_painter.setRenderHint(QPainter::Antialiasing, m_lineStyle.smooth);
  }
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2, CanvasColour colour) {
  LinePen(colour);
  m_painter.drawLine(x1, y1, x2, y2);
}

void PainterCanvas::SetLineStyle(const LineStyle& style) {
  m_lineStyle = style;
}

void PainterCanvas::Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) {
  if (points.size() < 2) return;
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(points.size()));
  for (const CanvasPoint& point : points)
    line << QPointF(point.x, point.y);
  LinePen(colour);
  m_painter.drawPolyline(line);
}

// The character cell is the font's height, as a device context's font height is.
void PainterCanvas::SetFont(const CanvasFont& font) {
  QFont qfont = m_defaultFont;
  qfont.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  if (font.height > 0) {
    int size = font.height;
    qfont.setPixelSize(size);
    while (size > 4 && QFontMetrics(qfont, m_painter.device()).height() > font.height) {
      qfont.setPixelSize(--size);
    }
  }
  m_painter.setFont(qfont);
}

CanvasMetrics PainterCanvas::Metrics() const {
  QFontMetrics metrics(m_painter.font(), m_painter.device());
  return {metrics.height(), metrics.ascent(), metrics.averageCharWidth()};
}

int PainterCanvas::TextWidth(std::string_view text) const {
  return QFontMetrics(m_painter.font(), m_painter.device()).horizontalAdvance(ToQString(text));
}

void PainterCanvas::Text(int x, int y, std::string_view text, CanvasColour colour, TextAlign align,
                         std::optional<CanvasColour> background) {
  QString qtext = ToQString(text);
  QFontMetrics metrics(m_painter.font(), m_painter.device());
  int width = metrics.horizontalAdvance(qtext);
  int left = align == TextAlign::kRight ? x - width : x;
  if (background) m_painter.fillRect(left, y, width, metrics.height(), ToQColor(*background));
  m_painter.setPen(ToQColor(colour));
  m_painter.drawText(left, y + metrics.ascent(), qtext);
}

void PainterCanvas::SetOrigin(int x, int y) {
  m_painter.resetTransform();
  m_painter.translate(-x, -y);
}

}  // namespace vexor
