// The nine weapons and the fixed orders in which the program lists them.
//
// Inside the program a weapon is its Weapon value, which is also its place in a player's
// per-game weapon series and among a game's weapon kill tables. The other orders (the player's
// weapon totals, the options' display flags, the data file's per-game block) are tables that
// map a place in that order to a Weapon.
#pragma once

#include <array>
#include <cstdint>

namespace vexor {

enum class Weapon : uint8_t {
  kGauntlet,
  kMachinegun,
  kShotgun,
  kRocket,
  kGrenade,
  kLightning,
  kPlasma,
  kRailgun,
  kBfg,
};

constexpr int kWeaponCount = 9;

using WeaponOrder = std::array<Weapon, kWeaponCount>;

// Per-game series and weapon kill tables: gauntlet, machinegun, shotgun, rocket, grenade,
// lightning, plasma, railgun, BFG.
extern const WeaponOrder kPerGameOrder;
// A player's weapon frag totals: gauntlet, machinegun, rocket, grenade, plasma, BFG, railgun,
// shotgun, lightning.
extern const WeaponOrder kTotalsOrder;
// The options' weapon display flags: machinegun, shotgun, rocket, grenade, lightning, plasma,
// railgun, BFG, gauntlet.
extern const WeaponOrder kDisplayOrder;
// The saved data file's per-game block: BFG, lightning, plasma, rocket, grenade, railgun,
// machinegun, shotgun, gauntlet.
extern const WeaponOrder kDataFileGameOrder;

constexpr int Index(Weapon weapon) {
  return static_cast<int>(weapon);
}

// A weapon's key in exports and on the command line ("railgun") and its name for people
// ("Railgun").
const char* WeaponKey(Weapon weapon);
const char* WeaponName(Weapon weapon);

}  // namespace vexor
