// Texts the report writes into its pages: coloured player names, log texts made safe for the
// markup, and play-time texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexor {

// A player name as HTML: "^1".."^7" switch the colour (red, green, yellow, blue, cyan, purple,
// white) of the characters after them, each run in its own font element; "<" and ">" are
// written as "&lt;" and "&gt;"; every other byte, "^0" and "&" included, is copied unchanged.
// A colour code with nothing after it writes nothing.
std::string ColourCodesToHtml(std::string_view name);

// A text from a log (map name, game type name) with "<" and ">" written as "&lt;" and "&gt;",
// so that it cannot add markup to a page; every other byte is copied unchanged.
std::string EscapeAngleBrackets(std::string_view text);

// "1:02:05 h" for 3725 seconds.
std::string FormatHours(int32_t seconds);
// "62:05 min" for 3725 seconds.
std::string FormatMinutes(int32_t seconds);

}  // namespace vexor
