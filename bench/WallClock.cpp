#include "WallClock.h"

namespace vexor::bench {
namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

char* Digits(char* at, int64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return at + width;
}

char* Text(char* at, std::string_view text) {
  for (char c : text)
    *at++ = c;
  return at;
}

}  // namespace

std::span<const char* const> DayNames() {
  return kDays;
}

std::span<const char* const> MonthNames() {
  return kMonths;
}

CivilDate DateOfDay(int64_t day) {
  // Days to a date by eras of 400 years, which repeat exactly.
  int64_t z = day + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t dayOfEra = z - era * 146097;
  int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  int64_t shifted = (5 * dayOfYear + 2) / 153;  // months from March
  CivilDate date;
  date.day = static_cast<int32_t>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  date.month = static_cast<int32_t>(shifted < 10 ? shifted + 3 : shifted - 9);
  date.year = static_cast<int32_t>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
  int64_t weekday = (day + 4) % 7;  // 1970-01-01 was a Thursday
  date.weekday = static_cast<int32_t>(weekday < 0 ? weekday + 7 : weekday);
  return date;
}

std::string_view WallClock::Stamp(int64_t second) {
  int64_t day = second >= 0 ? second / 86400 : (second - 86399) / 86400;
  int64_t ofDay = second - day * 86400;
  if (day != m_day) {
    m_day = day;
    CivilDate date = DateOfDay(day);
    char* at = m_text;
    if (m_style == WallClockStyle::kIso) {
      *at++ = '[';
      at = Digits(at, date.year, 4);
      *at++ = '-';
      at = Digits(at, date.month, 2);
      *at++ = '-';
      at = Digits(at, date.day, 2);
      at = Text(at, "] [");
      m_timeAt = static_cast<size_t>(at - m_text);
      at = Text(at, "00:00:00] ");
    } else {
      *at++ = '[';
      at = Text(at, kDays[date.weekday]);
      *at++ = ' ';
      at = Text(at, kMonths[date.month - 1]);
      *at++ = ' ';
      at = Digits(at, date.day, 2);
      *at++ = ' ';
      m_timeAt = static_cast<size_t>(at - m_text);
      at = Text(at, "00:00:00 ");
      at = Digits(at, date.year, 4);
      at = Text(at, "]  ");
    }
    m_size = static_cast<size_t>(at - m_text);
  }
  char* time = m_text + m_timeAt;
  Digits(time, ofDay / 3600, 2);
  Digits(time + 3, ofDay / 60 % 60, 2);
  Digits(time + 6, ofDay % 60, 2);
  return std::string_view(m_text, m_size);
}

}  // namespace vexor::bench
