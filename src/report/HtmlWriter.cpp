#include "report/HtmlWriter.h"

#include "base/StringPrintf.h"

namespace vexor {
namespace {

constexpr int kGamesPerIndexPage = 100;
constexpr int kLastGroupLink = 50;

// Legend lines explaining the column headings; the FPM line is the fifth.
constexpr const char* kLegendBeforeFpm[] = {
    "<font size=\"2\"><a name=\"skill\"><b>* Skill is calculated as kills / (deaths + suicides).</b></a>",
    "<br><a name=\"plnum\"><b>* Pl Num is the number of the player in the logged data.</b></a>",
    "<br><a name=\"score\"><b>* Score is the score achieved by the player in Q3A (frags - suicides).</b></a>",
    "<br><a name=\"frags\"><b>* Frags are the amount of opponents killed.</b></a>",
};
constexpr const char* kLegendFpm =
    "<br><a name=\"FPM\"><b>* FPM is the amount of frags scored, on average, in one minute by the player.</b></a>";
constexpr const char* kLegendAfterFpm[] = {
    "<br><a name=\"deaths\"><b>* Deaths are the amount of times the player was killed by opponents.</b></a>",
    "<br><a name=\"suicides\"><b>* Suicides are the amount of times the player killed him/herself.</b></a>",
};

// Still inside the small font that the legend opened; the credits close it.
constexpr const char* kCredits =
    "<b>Written by Vexor, the Q3A statistics analyser of the Vexor team.</b></font>";

// One link line per index page: "games.htm", "games1.htm", ... covering 100 games each.
void AppendGroupLinks(std::string* out, int32_t total, int depth) {
  for (int g = 0; g <= kLastGroupLink && int64_t{kGamesPerIndexPage} * g < total; ++g) {
    out->append("<font><a href=");
    if (depth == 1) out->append("..\\");
    if (g == 0) {
      out->append("games.htm");
    } else {
      StringAppendF(out, "games%d.htm", g);
    }
    out->append("><font face=\"Trebuchet MS\" size=\"4\" color=\"#003173\">");
    int first = kGamesPerIndexPage * g + 1;
    if (int64_t{kGamesPerIndexPage} * (g + 1) < total) {
      StringAppendF(out, "<b>Games %d - %d</b>", first, first + kGamesPerIndexPage - 1);
    } else if (total > kGamesPerIndexPage) {
      StringAppendF(out, "<b>Games %d - %d</b>", first, total);
    } else {
      out->append("<b>All Games</b>");
    }
    out->append("</font></a><br></br>");
  }
}

}  // namespace

void HtmlWriter::OpenTable(std::string_view attributes) {
  Write("<table ");
  Write(attributes);
  Write(">\r\n");
}

void HtmlWriter::CloseTable() { Write("</table>\r\n"); }

void HtmlWriter::WriteCell(std::string_view content) {
  Write(m_cellTag);
  Write(kCellFontOpen);
  Write(content);
  Write(kCellClose);
}

void HtmlWriter::WriteBoldCell(std::string_view content) {
  Write(m_cellTag);
  Write("<b><font color=\"#FFFFFF\">");
  Write(content);
  Write("</font></b></td>\r\n");
}

void HtmlWriter::WriteParagraph(std::string_view content) {
  Write("<p>");
  Write(content);
  Write("</p>");
}

void WritePageHeader(HtmlFile& file, int depth) {
  file.Write("<html>\r\n<center>\r\n");
  if (depth == 0) {
    file.Write("<img border=\"0\" src=\"..\\config\\Logo.jpg\" width=\"528\" height=\"334\"><br></br>");
  } else {
    file.Write("<img border=\"0\" src=\"..\\..\\config\\Logo.jpg\" width=\"528\" height=\"334\"><br></br>");
  }
  file.Write("<body bgcolor=\"#FFFFFF\" text=\"#003173\">\r\n<font face=\"Trebuchet MS\">\r\n");
}

void WritePageFooter(HtmlFile& file, int32_t total, int depth, FooterVariant variant,
                     bool serverLogAbsent) {
  std::string out = "<p>";
  if (depth == 1 || total > kGamesPerIndexPage) AppendGroupLinks(&out, total, depth);
  for (const char* line : kLegendBeforeFpm) out.append(line);
  if (variant == FooterVariant::kServer && !serverLogAbsent) out.append(kLegendFpm);
  for (const char* line : kLegendAfterFpm) out.append(line);
  out.append("</p><p>");
  out.append(kCredits);
  out.append("</p></body>\r\n</center>\r\n</html>\r\n");
  file.Write(out);
}

}  // namespace vexor
