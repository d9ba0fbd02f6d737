// The weapons of the games the program reads, and the fixed orders in which it lists Quake III's
// nine.
//
// Inside the program a weapon is its number (WeaponId): Quake III's nine are 0 to 8, the Weapon
// values, which are also their places in a player's per-game weapon series and among a game's
// weapon kill tables. The other orders of those nine (the player's weapon totals, the options'
// display flags, the data file's per-game block) are tables that map a place in that order to a
// Weapon. The weapons of the other games (Urban Terror's, Jedi Academy's and Jedi Outcast's)
// follow from 9 on, each game's in one order of its own (kWeaponCatalogue).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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

// The games whose weapons the program knows; a game family uses the weapons of one set.
enum class WeaponSet : uint8_t { kQuake3, kUrbanTerror, kJedi };
constexpr int kWeaponSetCount = 3;

// A weapon's number: Quake III's nine (0 to 8), then the other sets' weapons.
using WeaponId = int;

struct WeaponInfo {
  std::string_view name;   // as the game's players name it ("Railgun", "LR300", "Saber")
  std::string_view key;    // one word in lower case: the command line's and JSON's name
  std::string_view print;  // the printed table's heading, four characters
  WeaponSet set;
};

constexpr int kAllWeaponCount = 56;
// Every weapon the program knows, by number.
extern const std::array<WeaponInfo, kAllWeaponCount> kWeaponCatalogue;
// The weapons past Quake III's nine: numbers kWeaponCount to kAllWeaponCount - 1.
constexpr int kOtherWeaponCount = kAllWeaponCount - kWeaponCount;

inline const WeaponInfo& WeaponInfoOf(WeaponId weapon) {
  return kWeaponCatalogue[static_cast<size_t>(weapon)];
}
// The numbers of a set's weapons, first to end (exclusive), in the set's order. Quake III's are
// 0 to 8, the Weapon order; the orders above list them otherwise where the program shows them.
struct WeaponRange {
  WeaponId first = 0;
  WeaponId end = 0;
};
WeaponRange WeaponsOf(WeaponSet set);
// The weapon whose key this is; -1 when none is.
WeaponId WeaponOfKey(std::string_view key);
// A weapon's key ("railgun") and name ("Railgun") as texts of their own (kWeaponCatalogue).
inline const char* WeaponKey(WeaponId weapon) {
  return WeaponInfoOf(weapon).key.data();
}
inline const char* WeaponName(WeaponId weapon) {
  return WeaponInfoOf(weapon).name.data();
}

}  // namespace vexor
