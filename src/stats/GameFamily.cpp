#include "stats/GameFamily.h"

#include <algorithm>

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

struct FamilyInfo {
  std::string_view name;
  WeaponSet set;
};

constexpr std::array<FamilyInfo, kGameFamilyCount> kFamilies = {{
    {"Quake III Arena", WeaponSet::kQuake3},
    {"Urban Terror", WeaponSet::kUrbanTerror},
    {"Jedi Academy", WeaponSet::kJedi},
    {"Jedi Outcast", WeaponSet::kJedi},
}};

}  // namespace

WeaponSet WeaponSetOf(GameFamily family) {
  return kFamilies[static_cast<size_t>(family)].set;
}

std::string_view FamilyName(GameFamily family) {
  return kFamilies[static_cast<size_t>(family)].name;
}

std::array<bool, kWeaponSetCount> WeaponSetsInLoad(const VexoriumDoc& doc) {
  std::array<bool, kWeaponSetCount> sets{};
  for (int f = 0; f < kGameFamilyCount; ++f) {
    if (doc.familiesRead[static_cast<size_t>(f)]) {
      sets[static_cast<size_t>(WeaponSetOf(static_cast<GameFamily>(f)))] = true;
    }
  }
  bool other = std::any_of(sets.begin() + 1, sets.end(), [](bool in) { return in; });
  if (!other) sets[static_cast<size_t>(WeaponSet::kQuake3)] = true;
  return sets;
}

std::vector<WeaponId> OtherWeaponsInLoad(const VexoriumDoc& doc) {
  std::array<bool, kWeaponSetCount> sets = WeaponSetsInLoad(doc);
  std::vector<WeaponId> weapons;
  for (int s = 1; s < kWeaponSetCount; ++s) {
    if (!sets[static_cast<size_t>(s)]) continue;
    WeaponRange range = WeaponsOf(static_cast<WeaponSet>(s));
    for (WeaponId w = range.first; w < range.end; ++w)
      weapons.push_back(w);
  }
  return weapons;
}

std::vector<WeaponId> WeaponsInLoad(const VexoriumDoc& doc, const WeaponOrder& quake3Order) {
  std::vector<WeaponId> weapons;
  if (WeaponSetsInLoad(doc)[static_cast<size_t>(WeaponSet::kQuake3)]) {
    for (Weapon weapon : quake3Order)
      weapons.push_back(Index(weapon));
  }
  std::vector<WeaponId> others = OtherWeaponsInLoad(doc);
  weapons.insert(weapons.end(), others.begin(), others.end());
  return weapons;
}

}  // namespace vexor
