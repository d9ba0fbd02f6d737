#include "stats/Weapons.h"

#include <cstddef>

namespace vexor {

using W = Weapon;

const WeaponOrder kPerGameOrder = {W::kGauntlet, W::kMachinegun, W::kShotgun,
                                   W::kRocket,   W::kGrenade,    W::kLightning,
                                   W::kPlasma,   W::kRailgun,    W::kBfg};
const WeaponOrder kTotalsOrder = {W::kGauntlet, W::kMachinegun, W::kRocket,
                                  W::kGrenade,  W::kPlasma,     W::kBfg,
                                  W::kRailgun,  W::kShotgun,    W::kLightning};
const WeaponOrder kDisplayOrder = {W::kMachinegun, W::kShotgun,   W::kRocket,
                                   W::kGrenade,    W::kLightning, W::kPlasma,
                                   W::kRailgun,    W::kBfg,       W::kGauntlet};
const WeaponOrder kDataFileGameOrder = {W::kBfg,        W::kLightning, W::kPlasma,
                                        W::kRocket,     W::kGrenade,   W::kRailgun,
                                        W::kMachinegun, W::kShotgun,   W::kGauntlet};

namespace {

struct WeaponTexts {
  const char* key;
  const char* name;
};

// Indexed by Weapon.
constexpr std::array<WeaponTexts, kWeaponCount> kWeaponTexts = {{
    {"gauntlet", "Gauntlet"},
    {"machinegun", "Machinegun"},
    {"shotgun", "Shotgun"},
    {"rocket", "Rocket Launcher"},
    {"grenade", "Grenade Launcher"},
    {"lightning", "Lightning Gun"},
    {"plasma", "Plasma Gun"},
    {"railgun", "Railgun"},
    {"bfg", "BFG10K"},
}};

}  // namespace

const char* WeaponKey(Weapon weapon) {
  return kWeaponTexts[static_cast<size_t>(Index(weapon))].key;
}

const char* WeaponName(Weapon weapon) {
  return kWeaponTexts[static_cast<size_t>(Index(weapon))].name;
}

}  // namespace vexor
