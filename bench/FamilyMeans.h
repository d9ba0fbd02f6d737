// The means of death of Urban Terror and Jedi Academy server logs, with the weapon each one
// stands for (MeansOfDeathOf gives them by flavour).
#pragma once

#include <span>

#include "MeansOfDeath.h"

namespace vexor::bench {

std::span<const MeansOfDeath> UrbanTerrorMeans(KillKind kind);
std::span<const MeansOfDeath> JediAcademyMeans(KillKind kind);

// Jedi Academy's non-player characters as kill lines name them ("jawa ()").
std::span<const char* const> NonPlayerCharacters();

// Urban Terror's "MOD_CHANGE_TEAM": the kill line a team change writes, which counts for
// nobody.
const MeansOfDeath& UrbanTerrorTeamChange();

}  // namespace vexor::bench
