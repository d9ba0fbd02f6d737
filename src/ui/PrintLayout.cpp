#include "ui/PrintLayout.h"

#include <algorithm>

#include "ui/PrintTables.h"

namespace vexor {
namespace {

constexpr double kLineInches = 0.13333333333333333;  // 2/15 inch
constexpr int kHeaderBandLines = 2;     // the headings' two lines, above and below a page's top
constexpr int kFirstRowLine = 3;        // the first row's running place, in text heights
constexpr int kBottomMarginShare = 25;  // the sheet below the printable height: a 25th
constexpr CanvasColour kInk = RgbColour(0, 0, 0);
constexpr CanvasColour kPaper = RgbColour(255, 255, 255);

int AtLeastOne(int value) {
  return std::max(1, value);
}

int LineHeight(const PrinterPage& page) {
  return static_cast<int>(page.dotsPerInchX * kLineInches);
}

// The running distance from one page's top to the next.
int PageStride(const PrintGeometry& geometry) {
  return geometry.linesPerPage * geometry.lineHeight;
}

// The running place of row r before the band skip.
long long RunningY(const PrintGeometry& geometry, size_t row) {
  return static_cast<long long>(geometry.textHeight) *
         (static_cast<long long>(row) + kFirstRowLine);
}

// How many rows run at or above limit.
size_t RowsThrough(const PrintGeometry& geometry, long long limit) {
  long long h = geometry.textHeight;
  if (limit < kFirstRowLine * h) return 0;
  return static_cast<size_t>(limit / h - (kFirstRowLine - 1));
}

}  // namespace

// A page's last row ends three text heights past the next page's top, and pages are at most the
// printable height apart: a 25th of the sheet below them holds three text heights.
int PrintFontHeight(const PrinterPage& page) {
  return AtLeastOne(std::min(LineHeight(page), page.height / kBottomMarginShare / 3));
}

PrintGeometry MakePrintGeometry(const PrinterPage& page, int fontHeight,
                                const CanvasMetrics& font) {
  PrintGeometry geometry;
  geometry.pageWidth = AtLeastOne(page.width);
  geometry.sheetHeight = AtLeastOne(page.height);
  geometry.printableHeight = AtLeastOne(page.height - page.height / kBottomMarginShare);
  geometry.charsPerLine = geometry.pageWidth / AtLeastOne(font.averageCharWidth);
  geometry.lineHeight = AtLeastOne(LineHeight(page));
  geometry.linesPerPage = AtLeastOne(geometry.printableHeight / geometry.lineHeight);
  geometry.fontHeight = fontHeight;
  geometry.textHeight = AtLeastOne(font.height);
  return geometry;
}

PrintGeometry BeginPrinting(Canvas& canvas, const PrinterPage& page) {
  int fontHeight = PrintFontHeight(page);
  canvas.SetFont(CanvasFont{fontHeight, 400});
  return MakePrintGeometry(page, fontHeight, canvas.Metrics());
}

int PrintPageTop(const PrintGeometry& geometry, int page) {
  return (std::max(page, 1) - 1) * PageStride(geometry);
}

int PrintColumnX(const PrintGeometry& geometry, int column) {
  if (column <= 0) return kPrintPlayerColumnX;
  return geometry.pageWidth / 4 + (column - 1) * (geometry.pageWidth / 12);
}

// Page p >= 2 skips the band around its top: the first row whose running place lies within two
// text heights of the top, and every row after it, goes four lines down. So the rows running
// from just past top - 2h up to the next page's top - 2h are the page's, and a row is the page's
// whose running place plus 2h reaches past its top: p = ceil((y + 2h) / stride), at least 1.
int PrintPageOfRow(const PrintGeometry& geometry, size_t row) {
  long long reach = RunningY(geometry, row) + kHeaderBandLines * geometry.textHeight;
  long long stride = PageStride(geometry);
  return static_cast<int>(std::max(1LL, (reach + stride - 1) / stride));
}

PageRows RowsOnPage(const PrintGeometry& geometry, int page, size_t rowCount) {
  long long band = kHeaderBandLines * geometry.textHeight;
  long long top = PrintPageTop(geometry, page);
  long long nextTop = top + PageStride(geometry);
  PageRows rows;
  rows.first = page <= 1 ? 0 : std::min(rowCount, RowsThrough(geometry, top - band));
  rows.end = std::min(rowCount, RowsThrough(geometry, nextTop - band));
  rows.end = std::max(rows.first, rows.end);
  return rows;
}

int PrintRowY(const PrintGeometry& geometry, int page, size_t row) {
  long long y = RunningY(geometry, row);
  if (page > 1) y += 2 * kHeaderBandLines * geometry.textHeight;
  return static_cast<int>(y);
}

int PrintPageCount(const PrintGeometry& geometry, size_t rowCount) {
  int pages = static_cast<int>(rowCount / kPrintRowsPerPageCount) + 1;
  if (rowCount == 0) return pages;
  return std::max(pages, PrintPageOfRow(geometry, rowCount - 1));
}

void DrawPrintPage(Canvas& canvas, const PrintGeometry& geometry, const PrintTable& table,
                   int page) {
  canvas.SetFont(CanvasFont{geometry.fontHeight, 400});
  int top = PrintPageTop(geometry, page);
  canvas.SetOrigin(0, top);
  PageRows rows = RowsOnPage(geometry, page, table.rows.size());
  for (size_t r = rows.first; r < rows.end; ++r) {
    const PrintRow& row = table.rows[r];
    int y = PrintRowY(geometry, page, r);
    canvas.Text(kPrintPlayerColumnX, y, row.label, kInk);
    for (size_t c = 0; c < row.cells.size(); ++c) {
      canvas.Text(PrintColumnX(geometry, static_cast<int>(c) + 1), y, row.cells[c], kInk);
    }
  }
  // The headings come last, over whatever the rows left at the page's top.
  const std::string blanks(kPrintHeadingBlanks, ' ');
  canvas.Text(kPrintPlayerColumnX, top, "NAME", kInk);
  for (size_t c = 0; c < table.headings.size(); ++c) {
    int x = PrintColumnX(geometry, static_cast<int>(c) + 1);
    canvas.Text(x, top, blanks, kInk, TextAlign::kLeft, kPaper);
    canvas.Text(x, top + geometry.textHeight, blanks, kInk, TextAlign::kLeft, kPaper);
    canvas.Text(x, top, table.headings[c], kInk);
  }
}

}  // namespace vexor
