#include "log/LineText.h"

#include <algorithm>
#include <cstring>

namespace vexor {

int EventWordStart(std::string_view line) {
  // Every line of a log passes here, and both the clock's colon and the word's end lie a few
  // characters on: plain loops beat library searches at that distance.
  int length = static_cast<int>(line.size());
  size_t colon = 1;
  while (colon < line.size() && line[colon] != ':')
    ++colon;
  int start = colon >= line.size() ? 0 : static_cast<int>(colon) + 3;
  if (start < length && line[static_cast<size_t>(start)] == ' ') ++start;
  return std::min(start, length);
}

EventWord FindEventWord(std::string_view line) {
  int length = static_cast<int>(line.size());
  int start = EventWordStart(line);
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

std::string_view RestOfLine(std::string_view line, int wordEnd) {
  int first = wordEnd + 1;
  int last = static_cast<int>(line.size()) - 1;  // the final character is cut
  if (first < 0 || first >= last) return {};
  return line.substr(static_cast<size_t>(first), static_cast<size_t>(last - first));
}

std::string StripColourCodes(std::string_view text) {
  std::string out;
  std::string_view stripped = StripColourCodes(text, &out);
  if (stripped.data() != out.data()) out.assign(stripped);  // it had no colour code
  return out;
}

std::string_view StripColourCodes(std::string_view text, std::string* scratch) {
  size_t caret = text.find('^');
  if (caret == std::string_view::npos) return text;
  // Written through a pointer: names are short, and most that have codes have several.
  scratch->resize(text.size());
  char* out = scratch->data();
  size_t kept = caret;
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(caret), out);
  for (size_t i = caret; i < text.size(); ++i) {
    if (text[i] == '^') {
      ++i;  // the caret and the character after it
      continue;
    }
    out[kept++] = text[i];
  }
  scratch->resize(kept);
  return *scratch;
}

std::string Disambiguate(std::string_view name, int k) {
  std::string out(name);
  if (k > 1) out.resize(out.size() >= 2 ? out.size() - 2 : 0);
  out += '_';
  out += std::to_string(k);
  return out;
}

std::string_view ClockTime(std::string_view line) {
  size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t colon = line.find(':', first);
  if (colon == std::string_view::npos) return {};
  size_t end = std::min(colon + 3, line.size());
  return line.substr(first, end - first);
}

std::string_view TrailingClientNumber(std::string_view line) {
  if (line.empty()) return {};
  size_t blank = 0;
  size_t lowest = line.size() >= 6 ? line.size() - 6 : 0;
  for (size_t i = line.size(); i-- > lowest;) {
    if (line[i] == ' ') {
      blank = i;
      break;
    }
  }
  size_t first = blank + 1;
  size_t last = line.size() - 1;
  if (first >= last) return {};
  return line.substr(first, last - first);
}

bool TextAt(std::string_view line, size_t at, std::string_view text) {
  return at <= line.size() && line.size() - at >= text.size() &&
         line.compare(at, text.size(), text) == 0;
}

size_t FirstMatchBefore(std::string_view line, std::string_view text, size_t from, size_t limit) {
  limit = std::min(limit, line.size());
  for (size_t i = from; i < limit; ++i) {
    if (TextAt(line, i, text)) return i;
  }
  return std::string_view::npos;
}

size_t LastMatchBefore(std::string_view line, std::string_view text, size_t from, size_t limit) {
  limit = std::min(limit, line.size());
  if (text.empty()) return limit > from ? limit - 1 : std::string_view::npos;
  // Every kill line is searched from its end: compare only where the first character fits.
  while (limit > from) {
    const void* found = memrchr(line.data() + from, text[0], limit - from);
    if (found == nullptr) break;
    size_t i = static_cast<size_t>(static_cast<const char*>(found) - line.data());
    if (TextAt(line, i, text)) return i;
    limit = i;
  }
  return std::string_view::npos;
}

std::string_view UserInfoRawName(std::string_view infoLine, int from) {
  if (infoLine.size() < 3 || from < 0) return {};
  size_t limit = infoLine.size() - 3;
  size_t key = FirstMatchBefore(infoLine, "n\\", static_cast<size_t>(from), limit);
  if (key == std::string_view::npos) return {};
  size_t start = key + 2;
  size_t end = FirstMatchBefore(infoLine, "\\t\\", start, limit);
  if (end == std::string_view::npos) return {};
  return infoLine.substr(start, end - start);
}

std::string_view UserInfoClientNumber(std::string_view infoLine, int wordEnd) {
  if (wordEnd < 0 || infoLine.empty()) return {};
  size_t first = static_cast<size_t>(wordEnd) + 1;
  size_t end = infoLine.find(' ', first);
  if (end == std::string_view::npos) end = infoLine.size() - 1;
  if (first >= end) return {};
  return infoLine.substr(first, end - first);
}

int32_t UserInfoTeam(std::string_view infoLine) {
  if (infoLine.size() < 4) return 0;
  for (size_t i = 0; i <= infoLine.size() - 4; ++i) {
    if (TextAt(infoLine, i, "/red\\")) return 2;
    if (TextAt(infoLine, i, "/blue\\")) return 1;
  }
  return 0;
}

bool EndsBefore(std::string_view line, std::string_view text, size_t before) {
  if (line.size() < text.size() + before) return false;
  // The last character first: most lines a message is tried on end otherwise.
  size_t end = line.size() - before;
  if (!text.empty() && line[end - 1] != text.back()) return false;
  return line.compare(end - text.size(), text.size(), text) == 0;
}

}  // namespace vexor
