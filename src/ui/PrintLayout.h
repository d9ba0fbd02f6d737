// The printed page of a statistics table as values: the geometry taken from the printer when a
// job begins, which rows each page holds and where, where the columns stand, and the page drawn
// through a Canvas (a printer, a PDF file, a preview, or a recording canvas in tests).
//
// The page is one window onto a long sheet: page p shows the running y positions from its top
// T = (p - 1) x lines per page x line height. The player rows run down the sheet one text height
// apart starting three lines down; on every page after the first, the rows from its top on are
// drawn four lines lower so that they clear the headings ("NAME" and the column headings) that
// each page draws at its top.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Canvas.h"

namespace vexor {

struct PrintTable;

// The printer's page as the device reports it, in device pixels.
struct PrinterPage {
  int width = 0;         // horizontal resolution: the printable width
  int height = 0;        // vertical resolution: the printable height of the sheet
  int dotsPerInchX = 0;  // logical pixels per inch, horizontally
};

// Kept from the beginning of a job to its end.
struct PrintGeometry {
  int pageWidth = 0;        // W
  int sheetHeight = 0;      // the page's vertical resolution
  int printableHeight = 0;  // the sheet less a 25th of it
  int charsPerLine = 0;
  int lineHeight = 0;  // 2/15 inch
  int linesPerPage = 0;
  int fontHeight = 0;  // the character cell asked of the printer font
  int textHeight = 0;  // h: the cell the printer font has
};

constexpr int kPrintPlayerColumnX = 5;
constexpr int kPrintRowsPerPageCount = 60;  // players per page in the job's page count
constexpr int kPrintHeadingBlanks = 19;     // the blanks that clear a heading's place

// The printer font's character cell: one line (2/15 inch), but at most a third of a 25th of the
// sheet, so that a page's last row, four lines below its running place, still lies on the sheet.
int PrintFontHeight(const PrinterPage& page);

// The geometry of a job from the page and the printer font's metrics. Zero or negative sizes
// count as 1 so that no division fails.
PrintGeometry MakePrintGeometry(const PrinterPage& page, int fontHeight, const CanvasMetrics& font);

// The beginning of a job: sets the printer font on canvas and takes the geometry.
PrintGeometry BeginPrinting(Canvas& canvas, const PrinterPage& page);

// The top of page p (from 1) in running y positions.
int PrintPageTop(const PrintGeometry& geometry, int page);

// The x of column k: 0 the player column, 1 ... the table's columns at W/4 + (k - 1) x W/12.
int PrintColumnX(const PrintGeometry& geometry, int column);

// Rows [first, end) of a table are drawn on a page.
struct PageRows {
  size_t first = 0;
  size_t end = 0;
};

// The page (from 1) on which row r (from 0) is printed: each row on exactly one page, the page
// whose top band its running place reaches (a row that would also show at the foot of the page
// before is printed only once, below the headings of the next).
int PrintPageOfRow(const PrintGeometry& geometry, size_t row);

// The rows of rowCount that page p holds.
PageRows RowsOnPage(const PrintGeometry& geometry, int page, size_t rowCount);

// The y of row r on page p (running positions: subtract PrintPageTop for the place on the sheet).
int PrintRowY(const PrintGeometry& geometry, int page, size_t row);

// The pages of a job with rowCount players: rowCount / 60 + 1, or more when the rows need more
// pages than that (a short sheet); never fewer than the page of the last row.
int PrintPageCount(const PrintGeometry& geometry, size_t rowCount);

// Draws page p of table: the page's rows (label at the player column, cells at their columns),
// then the headings at the page's top: "NAME", and for each column 19 blanks on a white
// background on the heading's line and the line below, then the heading. Sets the printer font
// and the origin (the page's top is the sheet's top).
void DrawPrintPage(Canvas& canvas, const PrintGeometry& geometry, const PrintTable& table,
                   int page);

}  // namespace vexor
