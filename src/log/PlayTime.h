// Play time. The hourly rate (PerHour) is in stats/DerivedValues.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "stats/DerivedValues.h"

namespace vexor {

// Seconds of a game clock text: minutes are everything before its last three characters,
// seconds its last two (an empty text gives 0).
int64_t ClockSeconds(std::string_view clock);

}  // namespace vexor
