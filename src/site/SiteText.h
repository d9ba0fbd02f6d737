// Texts of the web site's pages: log texts (names, maps, game types) as safe HTML in UTF-8,
// player names in their colours, and numbers as the pages show them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexor {

// Appends bytes from a log as HTML text: valid UTF-8 is kept, anything else is read as Latin-1
// (as the JSON export reads it); "&", "<", ">", '"' and "'" are written as character
// references, and control characters as U+FFFD, so that no name can add markup, end an
// attribute or break the page's encoding.
void AppendHtmlText(std::string* out, std::string_view bytes);
std::string HtmlText(std::string_view bytes);

// A player name as HTML: each run after a colour code "^1".."^7" in a span of class c1..c7,
// the text escaped as by AppendHtmlText.
void AppendColouredName(std::string* out, std::string_view rawName);

// Numbers as the pages show them: "%.2f" for skill and hourly rates, "%.1f" for ratings.
std::string Fixed2(double value);
std::string Fixed1(double value);
// "1:02:05" for 3725 seconds.
std::string Duration(int64_t seconds);

}  // namespace vexor
