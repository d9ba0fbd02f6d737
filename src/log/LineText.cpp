#include "log/LineText.h"

#include <algorithm>
#include <cstring>

namespace vexor {

EventWord FindEventWord(std::string_view line) {
  return FindEventWordFrom(line, EventWordStart(line));
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

NamingConnect ReadNamingConnect(std::string_view line, int wordEnd) {
  NamingConnect connect;
  size_t start = static_cast<size_t>(wordEnd) + 1;
  if (wordEnd < 0 || start >= line.size()) return connect;
  size_t blank = line.find(' ', start);
  if (blank == std::string_view::npos || blank == start || blank + 1 >= line.size() ||
      line[blank + 1] != '(') {
    return connect;
  }
  size_t close = line.rfind(") [IP:");
  if (close == std::string_view::npos || close <= blank) close = line.rfind(')');
  if (close == std::string_view::npos || close <= blank + 1) return connect;
  connect.number = line.substr(start, blank - start);
  connect.rawName = line.substr(blank + 2, close - blank - 2);
  connect.found = true;
  return connect;
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

size_t FindByAnchor(std::string_view line, std::string_view text, size_t anchor) {
  if (anchor >= text.size() || text.size() > line.size()) return line.find(text);
  // The anchor's places in order are the text's possible starts in order.
  size_t from = anchor;
  size_t last = line.size() - text.size() + anchor;  // the anchor's last possible place
  while (from <= last) {
    const void* found = std::memchr(line.data() + from, text[anchor], last + 1 - from);
    if (found == nullptr) break;
    size_t i = static_cast<size_t>(static_cast<const char*>(found) - line.data());
    if (TextAt(line, i - anchor, text)) return i - anchor;
    from = i + 1;
  }
  return std::string_view::npos;
}

size_t FirstMatchBefore(std::string_view line, std::string_view text, size_t from, size_t limit) {
  limit = std::min(limit, line.size());
  if (text.empty()) return from < limit ? from : std::string_view::npos;
  // Compare only where the first character fits (user-information lines are long).
  while (from < limit) {
    const void* found = std::memchr(line.data() + from, text[0], limit - from);
    if (found == nullptr) break;
    size_t i = static_cast<size_t>(static_cast<const char*>(found) - line.data());
    if (TextAt(line, i, text)) return i;
    from = i + 1;
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
  // Both texts start with the slash: only the line's slashes are looked at.
  size_t end = infoLine.size() - 3;
  for (size_t from = 0; from < end;) {
    const void* found = std::memchr(infoLine.data() + from, '/', end - from);
    if (found == nullptr) break;
    size_t i = static_cast<size_t>(static_cast<const char*>(found) - infoLine.data());
    if (TextAt(infoLine, i, "/red\\")) return 2;
    if (TextAt(infoLine, i, "/blue\\")) return 1;
    from = i + 1;
  }
  return 0;
}

}  // namespace vexor

namespace vexor {
namespace {

bool Digits(const char* text, size_t count, int32_t* value) {
  int32_t v = 0;
  for (size_t i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  *value = v;
  return true;
}

// Days from 1 January 1970 to the date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
  year -= month <= 2 ? 1 : 0;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t yearOfEra = year - era * 400;
  int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct Stamp {
  int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  size_t end = 0;  // one past the closing bracket
};

// "[2017-05-07] [18:42:03]"
bool ReadIsoStamp(const char* s, size_t size, Stamp* stamp) {
  if (size < 23 || s[5] != '-' || s[8] != '-' || s[11] != ']' || s[12] != ' ' || s[13] != '[' ||
      s[16] != ':' || s[19] != ':' || s[22] != ']') {
    return false;
  }
  stamp->end = 23;
  return Digits(s + 1, 4, &stamp->year) && Digits(s + 6, 2, &stamp->month) &&
         Digits(s + 9, 2, &stamp->day) && Digits(s + 14, 2, &stamp->hour) &&
         Digits(s + 17, 2, &stamp->minute) && Digits(s + 20, 2, &stamp->second);
}

// "[Sun Jan 03 19:25:52 2016]" (the day may be written " 3")
bool ReadCTimeStamp(const char* s, size_t size, Stamp* stamp) {
  if (size < 26 || s[4] != ' ' || s[8] != ' ' || s[11] != ' ' || s[14] != ':' || s[17] != ':' ||
      s[20] != ' ' || s[25] != ']') {
    return false;
  }
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  size_t month = kMonths.find(std::string_view(s + 5, 3));
  if (month == std::string_view::npos || month % 3 != 0) return false;
  stamp->month = static_cast<int32_t>(month / 3) + 1;
  stamp->end = 26;
  bool padded = s[9] == ' ' && Digits(s + 10, 1, &stamp->day);
  return (padded || Digits(s + 9, 2, &stamp->day)) && Digits(s + 12, 2, &stamp->hour) &&
         Digits(s + 15, 2, &stamp->minute) && Digits(s + 18, 2, &stamp->second) &&
         Digits(s + 21, 4, &stamp->year);
}

}  // namespace

bool RewriteWallClock(char* line, size_t size) {
  if (size == 0 || line[0] != '[') return false;
  Stamp stamp;
  if (!ReadIsoStamp(line, size, &stamp) && !ReadCTimeStamp(line, size, &stamp)) return false;
  if (stamp.month < 1 || stamp.month > 12 || stamp.day < 1 || stamp.day > 31 || stamp.hour > 23 ||
      stamp.minute > 59 || stamp.second > 60) {
    return false;
  }
  // The clock takes the stamp's place and all but one of the blanks after it.
  size_t body = stamp.end;
  while (body < size && line[body] == ' ')
    ++body;
  if (body == stamp.end) return false;
  int64_t minutes = DaysFromCivil(stamp.year, stamp.month, stamp.day) * 1440 +
                    int64_t{stamp.hour} * 60 + stamp.minute;
  if (minutes < 0) return false;
  std::string clock =
      std::to_string(minutes) + ":" + (stamp.second < 10 ? "0" : "") + std::to_string(stamp.second);
  size_t place = body - 1;  // the blank before the body stays
  if (clock.size() > place) return false;
  std::memset(line, ' ', place - clock.size());
  std::memcpy(line + place - clock.size(), clock.data(), clock.size());
  return true;
}

}  // namespace vexor
