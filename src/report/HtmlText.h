// Texts the report writes into its pages: coloured player names, log texts made safe for the
// markup, and play-time texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexor {

// Calls run(colour, text) for each run of a player name between colour codes, in order: colour
// 0 for the text before any code, 1 to 7 for the text after "^1".."^7" (red, green, yellow,
// blue, cyan, purple, white). Codes in a row count as their last one; a code with no text after
// it gives no run; the text before any code is given even when empty.
template <typename Run>
void ForEachColourRun(std::string_view name, Run run) {
  int colour = 0;
  size_t start = 0;
  bool any = false;  // a run has been given
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '^' || i + 1 >= name.size() || name[i + 1] < '1' || name[i + 1] > '7') {
      continue;
    }
    if (i > start || !any) run(colour, name.substr(start, i - start));
    any = true;
    colour = name[i + 1] - '0';
    start = i + 2;
    ++i;
  }
  if (start < name.size() || !any) run(colour, name.substr(start));
}

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
