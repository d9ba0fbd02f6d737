// Play time and hourly rates.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexor {

// count per hour of play: count / (seconds x 1/3600) in single precision; 0 when either is 0.
float PerHour(int32_t seconds, int32_t count);

// Seconds of a game clock text: minutes are everything before its last three characters,
// seconds its last two (an empty text gives 0).
int64_t ClockSeconds(std::string_view clock);

}  // namespace vexor
