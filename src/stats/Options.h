// The user's options, kept in the settings file.
#pragma once

#include <array>
#include <cstdint>

#include "stats/Weapons.h"

namespace vexor {

struct Options {
  // Which weapon columns the views show, in the display order (kDisplayOrder).
  std::array<int32_t, kWeaponCount> weaponDisplay = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  int32_t autoSort = 1;
  int32_t hideShortGames = 1;
  int32_t shortGameThreshold = 25;  // seconds
  int32_t sumGames = 0;
  int32_t groupSize = 1;
  int32_t groupStart = 1;

  bool operator==(const Options&) const = default;
};

}  // namespace vexor
