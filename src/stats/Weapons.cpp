#include "stats/Weapons.h"

namespace vexor {

using W = Weapon;

const WeaponOrder kPerGameOrder = {W::kGauntlet, W::kMachinegun, W::kShotgun,
                                   W::kRocket,   W::kGrenade,    W::kLightning,
                                   W::kPlasma,   W::kRailgun,    W::kBfg};
const WeaponOrder kTotalsOrder = {W::kGauntlet, W::kMachinegun, W::kRocket,
                                  W::kGrenade,  W::kPlasma,     W::kBfg,
                                  W::kRailgun,  W::kShotgun,    W::kLightning};
const WeaponOrder kDisplayOrder = {W::kMachinegun, W::kShotgun, W::kRocket,
                                   W::kGrenade,    W::kLightning, W::kPlasma,
                                   W::kRailgun,    W::kBfg,     W::kGauntlet};
const WeaponOrder kDataFileGameOrder = {W::kBfg,     W::kLightning,  W::kPlasma,
                                        W::kRocket,  W::kGrenade,    W::kRailgun,
                                        W::kMachinegun, W::kShotgun, W::kGauntlet};

}  // namespace vexor
