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

using S = WeaponSet;

constexpr std::array<WeaponInfo, kAllWeaponCount> kCatalogue = {{
    // Quake III Arena, Team Arena and OpenArena: the Weapon values.
    {"Gauntlet", "gauntlet", "GAUN", S::kQuake3},
    {"Machinegun", "machinegun", "MACG", S::kQuake3},
    {"Shotgun", "shotgun", "SHTG", S::kQuake3},
    {"Rocket Launcher", "rocket", "ROCK", S::kQuake3},
    {"Grenade Launcher", "grenade", "GREN", S::kQuake3},
    {"Lightning Gun", "lightning", "LIGT", S::kQuake3},
    {"Plasma Gun", "plasma", "PLAS", S::kQuake3},
    {"Railgun", "railgun", "RAIL", S::kQuake3},
    {"BFG10K", "bfg", "BFG!", S::kQuake3},
    // Urban Terror.
    {"Knife", "knife", "KNIF", S::kUrbanTerror},
    {"Beretta", "beretta", "BERE", S::kUrbanTerror},
    {"Desert Eagle", "deagle", "DEAG", S::kUrbanTerror},
    {"Glock", "glock", "GLOC", S::kUrbanTerror},
    {"Colt 1911", "colt", "COLT", S::kUrbanTerror},
    {"Magnum", "magnum", "MAGN", S::kUrbanTerror},
    {"SPAS", "spas", "SPAS", S::kUrbanTerror},
    {"Benelli", "benelli", "BENE", S::kUrbanTerror},
    {"MP5K", "mp5k", "MP5K", S::kUrbanTerror},
    {"UMP45", "ump45", "UMP4", S::kUrbanTerror},
    {"MAC-11", "mac11", "MAC1", S::kUrbanTerror},
    {"P90", "p90", "P90", S::kUrbanTerror},
    {"LR300", "lr300", "LR30", S::kUrbanTerror},
    {"G36", "g36", "G36", S::kUrbanTerror},
    {"AK103", "ak103", "AK10", S::kUrbanTerror},
    {"M4", "m4", "M4A1", S::kUrbanTerror},
    {"Negev", "negev", "NEGV", S::kUrbanTerror},
    {"PSG-1", "psg1", "PSG1", S::kUrbanTerror},
    {"SR-8", "sr8", "SR-8", S::kUrbanTerror},
    {"FR-F1", "frf1", "FRF1", S::kUrbanTerror},
    {"TOD-50", "tod50", "TOD5", S::kUrbanTerror},
    {"HK69", "hk69", "HK69", S::kUrbanTerror},
    {"HE Grenade", "hegrenade", "HEGR", S::kUrbanTerror},
    {"Boot", "boot", "BOOT", S::kUrbanTerror},
    {"Goomba", "goomba", "GOOM", S::kUrbanTerror},
    {"Bleeding", "bleeding", "BLED", S::kUrbanTerror},
    {"Flag", "flag", "FLAG", S::kUrbanTerror},
    {"Bomb", "bomb", "BOMB", S::kUrbanTerror},
    // Jedi Academy and Jedi Outcast.
    {"Saber", "saber", "SABR", S::kJedi},
    {"Melee", "melee", "MELE", S::kJedi},
    {"Stun Baton", "stunbaton", "STUN", S::kJedi},
    {"Bryar Pistol", "bryar", "BRYR", S::kJedi},
    {"Blaster", "blaster", "BLST", S::kJedi},
    {"Turret", "turret", "TURR", S::kJedi},
    {"Disruptor", "disruptor", "DISR", S::kJedi},
    {"Bowcaster", "bowcaster", "BOWC", S::kJedi},
    {"Repeater", "repeater", "REPT", S::kJedi},
    {"DEMP 2", "demp2", "DEMP", S::kJedi},
    {"Flechette", "flechette", "FLCH", S::kJedi},
    {"Merr-Sonn Launcher", "launcher", "LNCH", S::kJedi},
    {"Thermal Detonator", "thermal", "THRM", S::kJedi},
    {"Trip Mine", "tripmine", "TRIP", S::kJedi},
    {"Det Pack", "detpack", "DETP", S::kJedi},
    {"Concussion Rifle", "concussion", "CONC", S::kJedi},
    {"Force", "force", "FORC", S::kJedi},
    {"Vehicle", "vehicle", "VEHI", S::kJedi},
    {"Sentry", "sentry", "SENT", S::kJedi},
}};

}  // namespace

const std::array<WeaponInfo, kAllWeaponCount> kWeaponCatalogue = kCatalogue;

namespace {

// Each set's weapons lie together, in the catalogue's order.
constexpr std::array<WeaponId, kWeaponSetCount + 1> kSetStarts = {0, 9, 37, kAllWeaponCount};

constexpr bool SetsLieTogether() {
  for (size_t s = 0; s < kWeaponSetCount; ++s) {
    for (WeaponId w = kSetStarts[s]; w < kSetStarts[s + 1]; ++w) {
      if (kCatalogue[static_cast<size_t>(w)].set != static_cast<WeaponSet>(s)) return false;
    }
  }
  return kSetStarts[1] == kWeaponCount;
}
static_assert(SetsLieTogether(), "each set's weapons lie together, Quake III's first");

constexpr bool KeysDiffer() {
  for (size_t a = 0; a < kCatalogue.size(); ++a) {
    for (size_t b = a + 1; b < kCatalogue.size(); ++b) {
      if (kCatalogue[a].key == kCatalogue[b].key || kCatalogue[a].name == kCatalogue[b].name) {
        return false;
      }
    }
  }
  return true;
}
static_assert(KeysDiffer(), "a key or a name stands for one weapon");

}  // namespace

WeaponRange WeaponsOf(WeaponSet set) {
  size_t s = static_cast<size_t>(set);
  return {kSetStarts[s], kSetStarts[s + 1]};
}

WeaponId WeaponOfKey(std::string_view key) {
  for (size_t w = 0; w < kWeaponCatalogue.size(); ++w) {
    if (kWeaponCatalogue[w].key == key) return static_cast<WeaponId>(w);
  }
  return -1;
}

}  // namespace vexor
