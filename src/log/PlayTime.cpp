#include "log/PlayTime.h"

#include "base/TextNumbers.h"

namespace vexor {

int64_t ClockSeconds(std::string_view clock) {
  size_t n = clock.size();
  int32_t seconds = WholeNumber(clock.substr(n >= 2 ? n - 2 : 0));
  int32_t minutes = WholeNumber(clock.substr(0, n >= 3 ? n - 3 : 0));
  return int64_t{minutes} * 60 + seconds;
}

}  // namespace vexor
