// Cutting fields out of log lines. Every position counts the line's trailing line feed as its
// last character, as the game's logs are read; a final line without one simply ends a
// character earlier. All comparisons are exact byte comparisons.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vexor {

// The event word of a server log line ("InitGame:", "Kill:" ...) and the position of the blank
// that ends it (the word end), which the line handlers use as a starting point.
struct EventWord {
  std::string_view word;
  int end = 0;
};

// The event word follows the game clock: it starts 3 characters after the first ':' at
// position 1 or later (one more when a blank stands there) and ends at the next blank, or at the
// last character of the line.
EventWord FindEventWord(std::string_view line);
// Where the event word starts (FindEventWord); the line's length when it starts past the line.
// Every line of a log passes here, and both the clock's colon and the word's end lie a few
// characters on: plain loops, inline, beat library searches at that distance.
inline int EventWordStart(std::string_view line) {
  int length = static_cast<int>(line.size());
  size_t colon = 1;
  while (colon < line.size() && line[colon] != ':')
    ++colon;
  int start = colon >= line.size() ? 0 : static_cast<int>(colon) + 3;
  if (start < length && line[static_cast<size_t>(start)] == ' ') ++start;
  return start < length ? start : length;
}

// FindEventWord for a line whose word start (EventWordStart) is known. Inline: its result
// comes back in registers, where every line of a log with server variables asks.
inline EventWord FindEventWordFrom(std::string_view line, int start) {
  int length = static_cast<int>(line.size());
  int end = length - 1;
  if (start < length) {
    size_t blank = static_cast<size_t>(start);
    while (blank < line.size() && line[blank] != ' ')
      ++blank;
    if (blank < line.size()) end = static_cast<int>(blank);
  }
  EventWord result;
  result.end = end;
  if (start < end)
    result.word = line.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
  return result;
}

// The text of a line from one past the word end up to, not including, its last character.
std::string_view RestOfLine(std::string_view line, int wordEnd);

// A name without its colour codes: "^" is dropped together with the character after it, and a
// final "^" alone. ^1Bob^7 gives Bob.
std::string StripColourCodes(std::string_view text);
// The same without a copy when the text has no colour code: the text itself, or else *scratch
// holding the text without its codes. The text must not lie in *scratch.
std::string_view StripColourCodes(std::string_view text, std::string* scratch);

// True when the text is colour codes alone: a caret at every other place from the first, so
// that nothing of it is left once the codes are out (a lone caret at the end included). Its
// name without colour codes is empty; most names tell at their first character.
inline bool OnlyColourCodes(std::string_view text) {
  for (size_t i = 0; i < text.size(); i += 2) {
    if (text[i] != '^') return false;
  }
  return true;
}

// The name made unique by the k-th try (k from 1): "_1" appended for k = 1; for larger k the
// last two characters are removed first. Bob, Bob_1, Bob_2 ...
std::string Disambiguate(std::string_view name, int k);

// The game clock of a server log line: from its first non-blank character through the second
// character after the first ':' that follows (12:34).
std::string_view ClockTime(std::string_view line);

// The client number at the end of a server log line: the text after the last blank among its
// last 6 characters (position 0 when there is none), without the final character.
std::string_view TrailingClientNumber(std::string_view line);

// The raw name in a user-information line: between the first "n\" at or after from and the
// first "\t\" after it, both found before the last 3 characters; empty when they are not there.
std::string_view UserInfoRawName(std::string_view infoLine, int from);

// A connect line that names its player (Jedi Academy's mods): "ClientConnect: N (NAME) [IP:
// ...]". The client number is the word after the event word; the raw name lies between the "("
// after it and the last ")" before " [IP:" (or the last ")" of the line). found is false when the
// line is not of that shape.
struct NamingConnect {
  std::string_view number;
  std::string_view rawName;
  bool found = false;
};
NamingConnect ReadNamingConnect(std::string_view line, int wordEnd);

// The client number of a "ClientUserinfoChanged:" line: the text from one past its word end up
// to the next blank, or up to its last character when no blank follows.
std::string_view UserInfoClientNumber(std::string_view infoLine, int wordEnd);

// The team a user-information line gives: 2 for "/red\", 1 for "/blue\" (the first found), 0
// when neither appears at positions 0 to length - 4.
int32_t UserInfoTeam(std::string_view infoLine);

// True when text occurs in line at position at. Inline and compared a byte at a time: the
// texts are a few characters, and a library call would cost more than the comparison.
inline bool TextAt(std::string_view line, size_t at, std::string_view text) {
  if (at > line.size() || line.size() - at < text.size()) return false;
  const char* here = line.data() + at;
  for (size_t i = 0; i < text.size(); ++i) {
    if (here[i] != text[i]) return false;
  }
  return true;
}

// True when the n characters that end `before` characters before the end of the line equal
// text (n = text length). EndsBefore("Bob rocket\n", "rocket", 1) is true. Inline: every client
// log line is tried on several messages.
inline bool EndsBefore(std::string_view line, std::string_view text, size_t before) {
  if (line.size() < text.size() + before) return false;
  // The last character first: most lines a message is tried on end otherwise.
  size_t end = line.size() - before;
  if (!text.empty() && line[end - 1] != text.back()) return false;
  return TextAt(line, end - text.size(), text);
}

// One past the last place of c in text; 0 when c is not there. Eight bytes a step from the end:
// a server line's last word, looked for on every line a variable may match, is often twenty
// characters long.
inline size_t OnePastLastOf(std::string_view text, char c) {
  size_t end = text.size();
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(c);
    for (; end >= 8; end -= 8) {
      uint64_t word;
      std::memcpy(&word, text.data() + end - 8, 8);
      uint64_t x = word ^ pattern;
      // The high bit of each byte that is c, exactly (no borrow runs between bytes).
      uint64_t found = ~(((x & kLows) + kLows) | x | kLows);
      if (found != 0) return end - 8 + static_cast<size_t>(63 - std::countl_zero(found)) / 8 + 1;
    }
  }
  while (end > 0 && text[end - 1] != c)
    --end;
  return end;
}

// The last start position of text in line among positions from to before limit (exclusive);
// npos when there is none.
size_t LastMatchBefore(std::string_view line, std::string_view text, size_t from, size_t limit);

// The first position of text in line, as line.find(text) gives it, found by the text's
// character at `anchor` (chosen rarer in lines than its first, such as the letter after a
// blank): the library's search stops at every blank of a line.
size_t FindByAnchor(std::string_view line, std::string_view text, size_t anchor);

// The first start position of text in line among positions from to before limit; npos when none.
size_t FirstMatchBefore(std::string_view line, std::string_view text, size_t from, size_t limit);

}  // namespace vexor

namespace vexor {

// Servers of some games (Jedi Academy's, with mods) stamp every line with the wall clock instead
// of the game clock: "[2017-05-07] [18:42:03] Kill: ..." or "[Sun Jan 03 19:25:52 2016]  Kill:
// ...". Such a stamp is rewritten in place into a game clock: minutes since 1 January 1970 and
// seconds ("24960282:03"), right-aligned in the stamp's place and followed by one blank, so that
// the rules that read a game clock and the event word after it read these lines too (the game's
// own clock is then the time since its "InitGame:" line, GameClockSince). True when the line
// began with a stamp (now rewritten); the line's length does not change.
bool RewriteWallClock(char* line, size_t size);

}  // namespace vexor
