// The pieces every report page is made of: tables, cells and paragraphs, the page header and
// the page footer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/HtmlFile.h"

namespace vexor {

// What WriteCell writes around a cell's content, after the cell tag.
inline constexpr std::string_view kCellFontOpen = "<font color=\"#FFFFFF\">";
inline constexpr std::string_view kCellClose = "</font></td>\r\n";

// Writes tables, cells and paragraphs into the current page. The writer keeps the cell tag, the
// text each cell begins with: "<td>" at first, then whatever SetCellTag set last, across tables
// and across the pages the writer is pointed at. Every table sets it before its first cell.
//
// Contents are written exactly as given: format them first (with a literal format), so a name
// containing "%" comes out unchanged.
class HtmlWriter {
 public:
  explicit HtmlWriter(HtmlFile* file = nullptr) : m_file(file) {}

  // The page that the following writes go to; nothing is written while it is null or closed.
  void SetFile(HtmlFile* file) { m_file = file; }
  HtmlFile* File() const { return m_file; }

  void Write(std::string_view bytes) {
    if (m_file != nullptr) m_file->Write(bytes);
  }
  // The number in decimal, as "%i" writes it.
  void WriteNumber(long long value) {
    if (m_file != nullptr) m_file->WriteNumber(value);
  }
  // "<table ATTRIBUTES>\r\n" and "</table>\r\n".
  void OpenTable(std::string_view attributes);
  void CloseTable();
  void SetCellTag(std::string_view tag) { m_cellTag.assign(tag); }
  const std::string& CellTag() const { return m_cellTag; }
  // The cell tag, the content in a white font, "</td>\r\n".
  void WriteCell(std::string_view content);
  // The same in bold.
  void WriteBoldCell(std::string_view content);
  // "<p>CONTENT</p>" without line breaks.
  void WriteParagraph(std::string_view content);

 private:
  HtmlFile* m_file;
  std::string m_cellTag = "<td>";
};

// Depth 0: a page of the report folder; depth 1: a page of its "games" subfolder.
void WritePageHeader(HtmlFile& file, int depth);

enum class FooterVariant {
  kServer,  // may explain FPM (when the load read a server log)
  kClient,  // never explains FPM
};

// The links to the index pages that cover total games (at depth 1, or when there is more than
// one index page), the legend of the column headings, the credits and the end of the page.
void WritePageFooter(HtmlFile& file, int32_t total, int depth, FooterVariant variant,
                     bool serverLogAbsent);

}  // namespace vexor
