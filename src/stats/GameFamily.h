// The families of Quake-3-engine games whose logs the program reads. Quake III Arena, Team Arena
// and OpenArena are one family; Urban Terror, Jedi Academy and Jedi Outcast write the same kind
// of log with lines, game types and means of death of their own (log/GameFamilies.h reads them).
// Each game of a load belongs to one family, and its weapons to the family's weapon set.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "stats/Weapons.h"

namespace vexor {

class VexoriumDoc;

enum class GameFamily : uint8_t { kQuake3, kUrbanTerror, kJediAcademy, kJediOutcast };
constexpr int kGameFamilyCount = 4;

WeaponSet WeaponSetOf(GameFamily family);
// "Quake III Arena", "Urban Terror", "Jedi Academy", "Jedi Outcast".
std::string_view FamilyName(GameFamily family);

// The weapon sets of the families the load read. Quake III's is in a load that read a game of
// that family, a client log, or no game of another family, so that a load of Quake III logs
// shows its nine weapons and nothing else, as always.
std::array<bool, kWeaponSetCount> WeaponSetsInLoad(const VexoriumDoc& doc);
// The weapons of the load's sets beyond Quake III's nine, in catalogue order; empty for a load of
// Quake III games only.
std::vector<WeaponId> OtherWeaponsInLoad(const VexoriumDoc& doc);
// The load's weapons as a list shows them: Quake III's nine in the given order when they are
// the load's, then the others (OtherWeaponsInLoad).
std::vector<WeaponId> WeaponsInLoad(const VexoriumDoc& doc, const WeaponOrder& quake3Order);

}  // namespace vexor
