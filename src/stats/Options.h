// The user's options, kept in the settings file.
#pragma once

#include <array>
#include <cstdint>

#include "stats/Weapons.h"

namespace vexor {

// Every other game's weapon shown.
constexpr std::array<int32_t, kOtherWeaponCount> AllShown() {
  std::array<int32_t, kOtherWeaponCount> shown{};
  for (int32_t& flag : shown)
    flag = 1;
  return shown;
}

struct Options {
  // Which weapon columns the views show, in the display order (kDisplayOrder).
  std::array<int32_t, kWeaponCount> weaponDisplay = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  // The same for the other games' weapons, by WeaponId - kWeaponCount: all shown at first.
  std::array<int32_t, kOtherWeaponCount> otherWeaponDisplay = AllShown();
  int32_t autoSort = 1;
  int32_t hideShortGames = 1;
  int32_t shortGameThreshold = 25;  // seconds
  int32_t sumGames = 0;
  int32_t groupSize = 1;
  int32_t groupStart = 1;

  bool operator==(const Options&) const = default;
  // Whether a weapon's column is shown (any WeaponId).
  bool Shows(WeaponId weapon) const;
};

}  // namespace vexor
