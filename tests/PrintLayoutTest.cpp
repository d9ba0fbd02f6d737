// The printed page as values: the geometry a job takes from the printer, the page count, which
// rows each page holds and where, the columns, and a page drawn on a recording canvas; and the
// print-choice dialog's form.
#include "ui/PrintLayout.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/StringPrintf.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintChoiceForm.h"
#include "ui/PrintTables.h"

namespace vexor {
namespace {

// Text height and line height 10, 50 lines a page: page tops 500 apart, on a 1200 wide sheet.
PrintGeometry TenPixelGeometry() {
  PrintGeometry geometry;
  geometry.pageWidth = 1200;
  geometry.sheetHeight = 560;
  geometry.printableHeight = 538;
  geometry.lineHeight = 10;
  geometry.linesPerPage = 50;
  geometry.fontHeight = 10;
  geometry.textHeight = 10;
  return geometry;
}

TEST(PrintLayoutTest, GeometryComesFromTheResolutionsAndTheFont) {
  struct Case {
    PrinterPage page;
    int averageCharWidth;
    int fontHeight, printable, lineHeight, linesPerPage, charsPerLine;
  };
  const Case cases[] = {
      // Letter at 600 dpi: lines of 2/15 inch.
      {{4800, 6600, 600}, 8, 80, 6336, 80, 79, 600},
      // A4 less margins at 1200 dpi.
      {{9448, 13086, 1200}, 20, 160, 12563, 160, 78, 472},
      // 96 dpi: 12.8 pixels a line, cut to 12.
      {{760, 1000, 96}, 7, 12, 960, 12, 80, 108},
      // A short sheet (landscape A5 at 300 dpi): the font shrinks to a third of the sheet's
      // 25th, so that a page's last row, two lines past its printable height, stays on it.
      {{2480, 1748, 300}, 16, 23, 1679, 40, 41, 155},
      // A device that reports nothing divides by nothing.
      {{0, 0, 0}, 0, 1, 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page.height);
    RecordingCanvas canvas(16, c.averageCharWidth);
    PrintGeometry geometry = BeginPrinting(canvas, c.page);
    EXPECT_EQ(canvas.Calls().front(), "font " + std::to_string(c.fontHeight) + " 400");
    EXPECT_EQ(geometry.fontHeight, c.fontHeight);
    EXPECT_EQ(geometry.textHeight, c.fontHeight);  // the recording font is as tall as asked
    EXPECT_EQ(geometry.printableHeight, c.printable);
    EXPECT_EQ(geometry.lineHeight, c.lineHeight);
    EXPECT_EQ(geometry.linesPerPage, c.linesPerPage);
    EXPECT_EQ(geometry.charsPerLine, c.charsPerLine);
  }
}

TEST(PrintLayoutTest, PagesComeFromThePlayerCountUnlessTheRowsNeedMore) {
  PrintGeometry geometry = TenPixelGeometry();  // 46 rows on page 1, 50 on each page after
  struct Case {
    size_t rows;
    int pages;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {46, 1}, {47, 2}, {59, 2}, {96, 2}, {97, 3}, {120, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(PrintPageCount(geometry, c.rows), c.pages) << c.rows;

  // A sheet with room for more than 60 rows: the job's pages are players / 60 + 1.
  RecordingCanvas canvas;
  PrintGeometry letter = BeginPrinting(canvas, PrinterPage{4800, 6600, 600});
  EXPECT_EQ(PrintPageCount(letter, 59), 1);
  EXPECT_EQ(PrintPageCount(letter, 60), 2);
  EXPECT_EQ(PrintPageCount(letter, 150), 3);
  EXPECT_EQ(PrintPageCount(letter, 2500), 42);
}

TEST(PrintLayoutTest, RowsSkipTheHeaderBandAndEachRowIsOnOnePage) {
  PrintGeometry geometry = TenPixelGeometry();
  struct Case {
    int page;
    int top;
    size_t first, end;
    int firstY, lastY;
  };
  const Case cases[] = {
      {1, 0, 0, 46, 30, 480},          // from three lines down to the next page's band
      {2, 500, 46, 96, 530, 1020},     // four lines below the running place
      {3, 1000, 96, 120, 1030, 1260},  // the last page holds the rest
      {4, 1500, 120, 120, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(PrintPageTop(geometry, c.page), c.top);
    PageRows rows = RowsOnPage(geometry, c.page, 120);
    EXPECT_EQ(rows.first, c.first);
    EXPECT_EQ(rows.end, c.end);
    if (rows.end == rows.first) continue;
    EXPECT_EQ(PrintRowY(geometry, c.page, rows.first), c.firstY);
    EXPECT_EQ(PrintRowY(geometry, c.page, rows.end - 1), c.lastY);
    for (size_t r = rows.first; r < rows.end; ++r)
      EXPECT_EQ(PrintPageOfRow(geometry, r), c.page);
    // Below the headings and on the sheet.
    EXPECT_GE(c.firstY - c.top, 2 * geometry.textHeight);
    EXPECT_LE(c.lastY - c.top + geometry.textHeight, geometry.sheetHeight);
  }
}

TEST(PrintLayoutTest, ColumnsStandAtAQuarterAndThenEveryTwelfth) {
  PrintGeometry geometry = TenPixelGeometry();
  geometry.pageWidth = 1201;  // each term divides on its own
  const int expected[] = {5, 300, 400, 500, 600, 700, 800, 900, 1000, 1100};
  for (int k = 0; k <= 9; ++k)
    EXPECT_EQ(PrintColumnX(geometry, k), expected[k]) << k;
}

class PrintedPageTest : public test::LoadFixture, public ::testing::Test {};

TEST_F(PrintedPageTest, APageDrawsItsRowsThenTheHeadingsOverBlanks) {
  test::DefineServerVariables(doc, 12, "Kills");  // server block 10-18: three columns
  for (int i = 0; i < 60; ++i) {
    int32_t p = test::AddPlayer(doc, StringPrintf("P%02d", i), i, 0, 0, 0);
    doc.players[static_cast<size_t>(p)].serverVarTotals.assign(13, i);
  }
  PrintTable table;
  ASSERT_TRUE(BuildPrintTable(doc, kPrintFirstServerBlock + 1, &table));
  RecordingCanvas canvas(16, 8);
  DrawPrintPage(canvas, TenPixelGeometry(), table, 2);
  const std::vector<std::string> expected = {
      "font 10 400",
      "origin 0 500",
      "text 5 530 left 000000 47. P46",
      "text 300 530 left 000000 46",
      "text 400 530 left 000000 46",
      "text 500 530 left 000000 46",
  };
  std::vector<std::string> calls = canvas.Calls();
  ASSERT_EQ(calls.size(), 2 + 14 * 4 + 1 + 3 * 3u);  // rows 47 to 60, then the headings
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 6), expected);
  EXPECT_EQ(calls[2 + 13 * 4], "text 5 660 left 000000 60. P59");
  const std::string blanks(19, ' ');
  const std::vector<std::string> headings = {
      "text 5 500 left 000000 NAME",
      "text 300 500 left 000000 bg=FFFFFF " + blanks,
      "text 300 510 left 000000 bg=FFFFFF " + blanks,
      "text 300 500 left 000000 Kills",
      "text 400 500 left 000000 bg=FFFFFF " + blanks,
      "text 400 510 left 000000 bg=FFFFFF " + blanks,
      "text 400 500 left 000000 Kills",
  };
  EXPECT_EQ(std::vector<std::string>(calls.end() - 10, calls.end() - 3), headings);
}

TEST_F(PrintedPageTest, TheChoiceFormChecksOneEnabledButtonAndOkStoresIt) {
  test::DefineClientVariables(doc, 10, "Name", {});
  doc.printChoice = 5;
  PrintChoiceForm form(doc);
  EXPECT_EQ(form.CheckedCode(), kPrintMainStats);  // whatever the last job printed
  struct Step {
    int click;
    int checked;
  };
  const Step steps[] = {
      {kPrintWeaponStats, kPrintWeaponStats},
      {kPrintFirstClientBlock + 1, kPrintFirstClientBlock + 1},  // 10-18: ten are visible
      {kPrintFirstClientBlock + 2, kPrintFirstClientBlock + 1},  // 19-27 is disabled
      {kPrintFirstServerBlock, kPrintFirstClientBlock + 1},      // no server variables
      {kPrintChoiceCount, kPrintFirstClientBlock + 1},
      {kPrintFirstClientBlock + 1, kPrintFirstClientBlock + 1},  // a second click keeps it
  };
  for (const Step& step : steps) {
    form.Click(step.click);
    EXPECT_EQ(form.CheckedCode(), step.checked) << step.click;
    for (int code = 0; code < kPrintChoiceCount; ++code) {
      EXPECT_EQ(form.Checked(code), code == step.checked);
    }
  }
  form.Ok(doc);
  EXPECT_EQ(doc.printChoice, kPrintFirstClientBlock + 1);
}

}  // namespace
}  // namespace vexor
