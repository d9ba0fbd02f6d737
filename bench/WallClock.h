// The wall-clock stamp that Jedi Academy servers write before every line, formatted by hand
// (a strftime call per line would dominate the time of a large log).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "GeneratorOptions.h"

namespace vexor::bench {

// "Sun" to "Sat" and "Jan" to "Dec", as ctime() names them.
std::span<const char* const> DayNames();
std::span<const char* const> MonthNames();

struct CivilDate {
  int32_t year, month, day;  // month 1 to 12, day 1 to 31
  int32_t weekday;           // 0 Sunday
};

// The date of a day counted from 1970-01-01 (day 0), in the proleptic Gregorian calendar.
CivilDate DateOfDay(int64_t day);

class WallClock {
 public:
  explicit WallClock(WallClockStyle style) : m_style(style) {}

  // The stamp of the second (counted from 1970-01-01 00:00:00), blanks after it included:
  // "[2017-05-07] [18:42:03] " or "[Sun Jan 03 19:25:52 2016]  ". Valid until the next call.
  std::string_view Stamp(int64_t second);

 private:
  WallClockStyle m_style;
  int64_t m_day = -1;  // the day whose date m_text holds
  char m_text[32] = {};
  size_t m_size = 0;
  size_t m_timeAt = 0;  // where "HH:MM:SS" starts in m_text
};

}  // namespace vexor::bench
