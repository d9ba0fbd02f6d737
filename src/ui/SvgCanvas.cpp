#include "ui/SvgCanvas.h"

#include <algorithm>

#include "base/AtomicFile.h"
#include "base/StringPrintf.h"
#include "stats/JsonExport.h"

namespace vexor {
namespace {

constexpr int kDefaultHeight = 16;  // the default font's cell
constexpr int kDefaultWidth = 7;

std::string Colour(CanvasColour c) {
  return StringPrintf("#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
}

int CellHeight(const CanvasFont& font) {
  return font.height > 0 ? font.height : kDefaultHeight;
}

int CharWidth(const CanvasFont& font) {
  return font.height > 0 ? std::max(1, (font.height + 1) / 2) : kDefaultWidth;
}

// Characters of valid UTF-8 are counted by their lead bytes; other bytes are one each.
size_t CharacterCount(std::string_view text) {
  if (!IsValidUtf8(text)) return text.size();
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height) : m_width(width), m_height(height) {}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom, CanvasColour fill,
                          CanvasColour outline) {
  int x = left - m_originX;
  int y = top - m_originY;
  int w = std::max(0, right - left);
  int h = std::max(0, bottom - top);
  StringAppendF(&m_body, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", x, y,
                w, h, Colour(fill).c_str());
  if (w > 0 && h > 0) {
    // The outline's pixels are the rectangle's outermost ones: its centre line runs half a
    // pixel inside.
    StringAppendF(&m_body,
                  "<rect x=\"%d.5\" y=\"%d.5\" width=\"%d\" height=\"%d\" fill=\"none\" "
                  "stroke=\"%s\"/>\n",
                  x, y, w - 1, h - 1, Colour(outline).c_str());
  }
}

void SvgCanvas::Line(int x1, int y1, int x2, int y2, CanvasColour colour) {
  StringAppendF(&m_body,
                "<line x1=\"%d.5\" y1=\"%d.5\" x2=\"%d.5\" y2=\"%d.5\" stroke=\"%s\"%s/>\n",
                x1 - m_originX, y1 - m_originY, x2 - m_originX, y2 - m_originY,
                Colour(colour).c_str(), StrokeStyle().c_str());
}

void SvgCanvas::SetLineStyle(const LineStyle& style) {
  m_lineStyle = style;
}

std::string SvgCanvas::StrokeStyle() const {
  if (m_lineStyle == LineStyle{}) return std::string();
  std::string attributes = StringPrintf(" stroke-width=\"%g\"", double{m_lineStyle.width});
  if (m_lineStyle.dashed) {
    StringAppendF(&attributes, " stroke-dasharray=\"%g %g\"",
                  double{LineStyle::kDashOn * m_lineStyle.width},
                  double{LineStyle::kDashOff * m_lineStyle.width});
  }
  if (m_lineStyle.smooth) {
    attributes += " stroke-linejoin=\"round\" shape-rendering=\"geometricPrecision\"";
  }
  return attributes;
}

void SvgCanvas::Polyline(const std::vector<CanvasPoint>& points, CanvasColour colour) {
  if (points.size() < 2) return;
  m_body += "<polyline points=\"";
  for (size_t i = 0; i < points.size(); ++i) {
    StringAppendF(&m_body, "%s%.1f,%.1f", i == 0 ? "" : " ", double{points[i].x} - m_originX,
                  double{points[i].y} - m_originY);
  }
  StringAppendF(&m_body, "\" fill=\"none\" stroke=\"%s\"%s/>\n", Colour(colour).c_str(),
                StrokeStyle().c_str());
}

void SvgCanvas::SetFont(const CanvasFont& font) {
  m_font = font;
}

CanvasMetrics SvgCanvas::Metrics() const {
  int height = CellHeight(m_font);
  return {height, height * 4 / 5, CharWidth(m_font)};
}

int SvgCanvas::TextWidth(std::string_view text) const {
  return static_cast<int>(CharacterCount(text)) * CharWidth(m_font);
}

void SvgCanvas::Text(int x, int y, std::string_view text, CanvasColour colour, TextAlign align,
                     std::optional<CanvasColour> background) {
  x -= m_originX;
  y -= m_originY;
  CanvasMetrics metrics = Metrics();
  if (background) {
    int width = TextWidth(text);
    int left = align == TextAlign::kRight ? x - width : x;
    StringAppendF(&m_body, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n",
                  left, y, width, metrics.height, Colour(*background).c_str());
  }
  if (text.find_first_not_of(' ') == std::string_view::npos) return;  // nothing to see
  // The font's em size is a little smaller than its character cell, as a window's font is.
  StringAppendF(
      &m_body, "<text x=\"%d\" y=\"%d\" font-size=\"%d\" font-weight=\"%s\" fill=\"%s\"%s>", x,
      y + metrics.ascent, metrics.height * 6 / 7, m_font.weight >= 700 ? "bold" : "normal",
      Colour(colour).c_str(), align == TextAlign::kRight ? " text-anchor=\"end\"" : "");
  m_body += XmlText(text);
  m_body += "</text>\n";
}

void SvgCanvas::SetOrigin(int x, int y) {
  m_originX = x;
  m_originY = y;
}

std::string SvgCanvas::Document() const {
  std::string document = StringPrintf(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
      "viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\" "
      "font-family=\"Trebuchet MS, Liberation Sans, Arial, DejaVu Sans, sans-serif\" "
      "xml:space=\"preserve\">\n",
      m_width, m_height, m_width, m_height);
  document += m_body;
  document += "</svg>\n";
  return document;
}

bool SvgCanvas::Save(const std::string& path, std::string* error) const {
  AtomicFile file;
  if (!file.Open(path)) {
    *error = file.Error();
    return false;
  }
  file.Write(Document());
  if (!file.Commit()) {
    *error = file.Error();
    return false;
  }
  return true;
}

std::string SvgCanvas::XmlText(std::string_view bytes) {
  const bool utf8 = IsValidUtf8(bytes);
  std::string out;
  for (char ch : bytes) {
    auto byte = static_cast<unsigned char>(ch);
    switch (byte) {
      case '&':
        out += "&amp;";
        continue;
      case '<':
        out += "&lt;";
        continue;
      case '>':
        out += "&gt;";
        continue;
      case '"':
        out += "&quot;";
        continue;
      default:
        break;
    }
    if (byte < 0x20 || byte == 0x7F) {
      out += '?';
    } else if (!utf8 && byte >= 0x80) {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace vexor
