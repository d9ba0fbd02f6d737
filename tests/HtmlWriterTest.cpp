// The report's building blocks: page frame, cells, name colours and time texts.
#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "base/StringPrintf.h"
#include "report/HtmlText.h"
#include "report/HtmlWriter.h"

namespace vexor {
namespace {

class HtmlWriterTest : public ::testing::Test {
 protected:
  // The bytes of a page written by fill.
  std::string Page(const std::function<void(HtmlFile&)>& fill) {
    PageQueue queue;
    HtmlFile file(queue, 0);
    std::string path = folder.File("page.htm");
    file.Open(path);
    fill(file);
    file.Close();
    EXPECT_EQ(queue.Finish(), "");
    return test::ReadFile(path);
  }
  // The group links of a footer: everything between its "<p>" and the legend.
  std::string FooterLinks(int32_t total, int depth) {
    std::string page = Page([&](HtmlFile& file) {
      WritePageFooter(file, total, depth, FooterVariant::kServer, false);
    });
    size_t legend = page.find("<font size=\"2\">");
    EXPECT_EQ(page.rfind("<p>", 0), 0u);
    return page.substr(3, legend - 3);
  }

  test::TempFolder folder;
};

std::string Link(const std::string& target, const std::string& label) {
  return "<font><a href=" + target + "><font face=\"Trebuchet MS\" size=\"4\" color=\"#003173\"><b>" +
         label + "</b></font></a><br></br>";
}

TEST_F(HtmlWriterTest, FooterLinksCoverTheIndexPagesOfTheGames) {
  struct Case {
    int32_t total;
    int depth;
    std::string links;
  };
  const Case cases[] = {
      {0, 0, ""},
      {0, 1, ""},
      {100, 0, ""},  // one index page and the reader is on it
      {100, 1, Link("..\\games.htm", "All Games")},
      {200, 0, Link("games.htm", "Games 1 - 100") + Link("games1.htm", "Games 101 - 200")},
      {200, 1, Link("..\\games.htm", "Games 1 - 100") + Link("..\\games1.htm", "Games 101 - 200")},
      {250, 0, Link("games.htm", "Games 1 - 100") + Link("games1.htm", "Games 101 - 200") +
                   Link("games2.htm", "Games 201 - 250")},
      {250, 1, Link("..\\games.htm", "Games 1 - 100") + Link("..\\games1.htm", "Games 101 - 200") +
                   Link("..\\games2.htm", "Games 201 - 250")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FooterLinks(c.total, c.depth), c.links) << "total " << c.total << ", depth " << c.depth;
  }
}

TEST_F(HtmlWriterTest, FpmIsExplainedOnlyOnServerPagesOfALoadWithAServerLog) {
  const std::string fpm = "<a name=\"FPM\">";
  auto footer = [&](FooterVariant variant, bool serverLogAbsent) {
    return Page([&](HtmlFile& file) { WritePageFooter(file, 5, 0, variant, serverLogAbsent); });
  };
  EXPECT_NE(footer(FooterVariant::kServer, false).find(fpm), std::string::npos);
  EXPECT_EQ(footer(FooterVariant::kServer, true).find(fpm), std::string::npos);
  EXPECT_EQ(footer(FooterVariant::kClient, false).find(fpm), std::string::npos);
}

// Page numbers are written without a format; they must read as "%i" (and "%lld") write them.
TEST(AppendDecimalTest, WritesWhatPrintfWrites) {
  for (long long value : {0LL, 7LL, 9LL, 10LL, -1LL, -10LL, 2147483647LL, -2147483648LL,
                          9223372036854775807LL, -9223372036854775807LL - 1}) {
    std::string text = "x";
    AppendDecimal(&text, value);
    EXPECT_EQ(text, StringPrintf("x%lld", value));
  }
}

TEST_F(HtmlWriterTest, CellsBeginWithTheCellTagUntilItIsChanged) {
  std::string page = Page([](HtmlFile& file) {
    HtmlWriter writer(&file);
    writer.WriteCell("a");
    writer.SetCellTag("<td x>");
    writer.WriteBoldCell("100%s");
    writer.SetFile(nullptr);  // the tag outlives the page
    writer.WriteCell("lost");
    writer.SetFile(&file);
    writer.WriteCell("b");
    writer.WriteParagraph("p");
    writer.OpenTable("border=\"1\"");
    writer.CloseTable();
  });
  EXPECT_EQ(page,
            "<td><font color=\"#FFFFFF\">a</font></td>\r\n"
            "<td x><b><font color=\"#FFFFFF\">100%s</font></b></td>\r\n"
            "<td x><font color=\"#FFFFFF\">b</font></td>\r\n"
            "<p>p</p><table border=\"1\">\r\n</table>\r\n");
}

TEST(HtmlTextTest, ColourCodesBecomeFontRuns) {
  struct Case {
    const char* name;
    const char* html;
  };
  const Case cases[] = {
      {"Bob", "Bob"},
      {"^1a^7b", "<font color=\"red\">a</font><font color=\"white\">b</font>"},
      {"^2^3x", "<font color=\"yellow\">x</font>"},  // only the last of two codes counts
      {"x^4", "x"},                                  // a trailing colour writes nothing
      {"^5", ""},
      {"^0a^8b^9^", "^0a^8b^9^"},  // not colour codes
      {"^^6a", "^<font color=\"purple\">a</font>"},
      {"<b>&\"", "&lt;b&gt;&\""},
      {"^1<x", "<font color=\"red\">&lt;x</font>"},
      {"100%s%n", "100%s%n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ColourCodesToHtml(c.name), c.html) << c.name;
}

TEST(HtmlTextTest, LogTextsCannotAddMarkup) {
  EXPECT_EQ(EscapeAngleBrackets("q3<script>dm%s&1"), "q3&lt;script&gt;dm%s&1");
  EXPECT_EQ(EscapeAngleBrackets("^1q3dm17"), "^1q3dm17");
}

TEST(HtmlTextTest, TimeTexts) {
  EXPECT_EQ(FormatHours(3725), "1:02:05 h");
  EXPECT_EQ(FormatHours(59), "0:00:59 h");
  EXPECT_EQ(FormatHours(0), "0:00:00 h");
  EXPECT_EQ(FormatMinutes(3725), "62:05 min");
  EXPECT_EQ(FormatMinutes(59), "0:59 min");
  EXPECT_EQ(FormatMinutes(7200), "120:00 min");
}

}  // namespace
}  // namespace vexor
