#include "FamilyMeans.h"

namespace vexor::bench {
namespace {

constexpr uint8_t kUrt = 4;
constexpr uint8_t kJka = 8;

// A row of a family's table: the name and number its servers log, how often, and the weapon it
// stands for (none for the world's means); hit is Urban Terror's weapon number in "Hit:" lines.
constexpr MeansOfDeath Means(const char* name, int32_t number, int32_t weight, const char* weapon,
                             uint8_t family, int32_t hit = 0) {
  return MeansOfDeath{name,   number, weight, weapon != nullptr, {"", "", ""}, "",
                      family, weapon, hit};
}

// Urban Terror 4.3. Weights follow what public servers log: rifles first, then bleeding (the
// wounds of an earlier hit), grenades and sidearms.
constexpr MeansOfDeath kUrtFrags[] = {
    Means("UT_MOD_AK103", 30, 220, "AK103", kUrt, 15),
    Means("UT_MOD_LR300", 19, 200, "LR300", kUrt, 8),
    Means("UT_MOD_M4", 38, 150, "M4A1", kUrt, 19),
    Means("UT_MOD_G36", 20, 120, "G36", kUrt, 9),
    Means("UT_MOD_BLED", 23, 60, "Bleeding", kUrt),
    Means("UT_MOD_NEGEV", 36, 60, "Negev", kUrt, 17),
    Means("UT_MOD_SR8", 28, 60, "SR-8", kUrt, 14),
    Means("UT_MOD_UMP45", 17, 50, "UMP45", kUrt, 6),
    Means("UT_MOD_HEGRENADE", 25, 40, "HE Grenade", kUrt),
    Means("UT_MOD_DEAGLE", 15, 40, "Desert Eagle", kUrt, 3),
    Means("UT_MOD_MP5K", 18, 40, "MP5K", kUrt, 5),
    Means("UT_MOD_P90", 44, 40, "P90", kUrt, 25),
    Means("UT_MOD_SPAS", 16, 30, "SPAS-12", kUrt, 4),
    Means("UT_MOD_FRF1", 42, 30, "FR-F1", kUrt, 23),
    Means("UT_MOD_PSG1", 21, 20, "PSG-1", kUrt, 10),
    Means("UT_MOD_BERETTA", 14, 20, "Beretta 92G", kUrt, 2),
    Means("UT_MOD_GLOCK", 39, 15, "Glock", kUrt, 20),
    Means("UT_MOD_KNIFE", 12, 15, "Knife", kUrt, 1),
    Means("UT_MOD_HK69", 22, 15, "HK69", kUrt),
    Means("UT_MOD_BENELLI", 43, 10, "Benelli M4", kUrt, 24),
    Means("UT_MOD_MAC11", 41, 10, "MAC-11", kUrt, 22),
    Means("UT_MOD_COLT1911", 40, 8, "Colt 1911", kUrt, 21),
    Means("UT_MOD_MAGNUM", 45, 8, ".44 Magnum", kUrt, 26),
    Means("UT_MOD_KNIFE_THROWN", 13, 5, "Knife", kUrt, 1),
    Means("UT_MOD_KICKED", 24, 5, "Boot", kUrt),
    Means("UT_MOD_SPLODED", 31, 5, "Explosion", kUrt),
    Means("UT_MOD_TOD50", 46, 3, "TOD-50", kUrt, 27),
    Means("UT_MOD_HK69_HIT", 37, 3, "HK69", kUrt, 7),
    Means("UT_MOD_GOOMBA", 48, 3, "Goomba", kUrt),
    Means("UT_MOD_BOMBED", 34, 2, "Explosion", kUrt),
    Means("UT_MOD_FLAG", 47, 1, "Flag", kUrt),
    Means("UT_MOD_TELEFRAG", 5, 1, nullptr, kUrt),
};

// Killer 1022: the level, a wound that bled out after its giver left, or an admin's punishment.
constexpr MeansOfDeath kUrtWorld[] = {
    Means("MOD_FALLING", 6, 300, nullptr, kUrt),   Means("MOD_TRIGGER_HURT", 9, 100, nullptr, kUrt),
    Means("MOD_WATER", 1, 40, nullptr, kUrt),      Means("UT_MOD_BLED", 23, 30, nullptr, kUrt),
    Means("MOD_LAVA", 3, 20, nullptr, kUrt),       Means("MOD_CRUSH", 4, 10, nullptr, kUrt),
    Means("UT_MOD_SLAPPED", 32, 5, nullptr, kUrt), Means("UT_MOD_SMITED", 33, 3, nullptr, kUrt),
    Means("UT_MOD_NUKED", 35, 3, nullptr, kUrt),
};

constexpr MeansOfDeath kUrtTeamChange = Means("MOD_CHANGE_TEAM", 10, 0, nullptr, kUrt);

constexpr MeansOfDeath kUrtSelf[] = {
    Means("UT_MOD_HEGRENADE", 25, 150, nullptr, kUrt),
    Means("UT_MOD_SUICIDE", 7, 100, nullptr, kUrt),
    Means("UT_MOD_SPLODED", 31, 60, nullptr, kUrt),
    Means("UT_MOD_HK69", 22, 40, nullptr, kUrt),
    Means("MOD_SUICIDE", 7, 30, nullptr, kUrt),
    Means("UT_MOD_BOMBED", 34, 10, nullptr, kUrt),
};

// Jedi Academy: sabers and the Force first, as its servers log them.
constexpr MeansOfDeath kJkaFrags[] = {
    Means("MOD_SABER", 3, 400, "Lightsaber", kJka),
    Means("MOD_FORCE_DARK", 31, 120, "Force (dark side)", kJka),
    Means("MOD_MELEE", 2, 40, "Melee", kJka),
    Means("MOD_BLASTER", 6, 40, "E-11 Blaster", kJka),
    Means("MOD_DISRUPTOR_SNIPER", 10, 30, "Disruptor", kJka),
    Means("MOD_BOWCASTER", 11, 25, "Bowcaster", kJka),
    Means("MOD_REPEATER", 12, 25, "Heavy Repeater", kJka),
    Means("MOD_ROCKET_SPLASH", 20, 25, "Rocket Launcher", kJka),
    Means("MOD_BRYAR_PISTOL", 4, 20, "Bryar Pistol", kJka),
    Means("MOD_DISRUPTOR", 8, 20, "Disruptor", kJka),
    Means("MOD_ROCKET", 19, 20, "Rocket Launcher", kJka),
    Means("MOD_FLECHETTE", 17, 15, "Golan Arms Flechette", kJka),
    Means("MOD_THERMAL_SPLASH", 24, 15, "Thermal Detonator", kJka),
    Means("MOD_BRYAR_PISTOL_ALT", 5, 10, "Bryar Pistol", kJka),
    Means("MOD_STUN_BATON", 1, 10, "Stun Baton", kJka),
    Means("MOD_DEMP2", 15, 10, "DEMP 2", kJka),
    Means("MOD_CONC_ALT", 30, 10, "Concussion Rifle", kJka),
    Means("MOD_REPEATER_ALT", 13, 8, "Heavy Repeater", kJka),
    Means("MOD_REPEATER_ALT_SPLASH", 14, 8, "Heavy Repeater", kJka),
    Means("MOD_THERMAL", 23, 8, "Thermal Detonator", kJka),
    Means("MOD_TRIP_MINE_SPLASH", 25, 8, "Trip Mine", kJka),
    Means("MOD_CONC", 29, 8, "Concussion Rifle", kJka),
    Means("MOD_FLECHETTE_ALT_SPLASH", 18, 6, "Golan Arms Flechette", kJka),
    Means("MOD_DET_PACK_SPLASH", 27, 6, "Det Pack", kJka),
    Means("MOD_ROCKET_HOMING", 21, 5, "Rocket Launcher", kJka),
    Means("MOD_ROCKET_HOMING_SPLASH", 22, 5, "Rocket Launcher", kJka),
    Means("MOD_DEMP2_ALT", 16, 4, "DEMP 2", kJka),
    Means("MOD_TIMED_MINE_SPLASH", 26, 4, "Trip Mine", kJka),
    Means("MOD_DISRUPTOR_SPLASH", 9, 3, "Disruptor", kJka),
    Means("MOD_TURBLAST", 7, 3, "Turret", kJka),
    Means("MOD_VEHICLE", 28, 2, "Vehicle", kJka),
    Means("MOD_SENTRY", 32, 2, "Sentry gun", kJka),
    Means("MOD_TELEFRAG", 37, 2, nullptr, kJka),
    Means("MOD_UNKNOWN", 0, 2, nullptr, kJka),
};

// Killer 1022; a saber or the Force without a player behind it (a thrown saber whose owner
// left) is the world's too.
constexpr MeansOfDeath kJkaWorld[] = {
    Means("MOD_FALLING", 38, 200, nullptr, kJka),
    Means("MOD_TRIGGER_HURT", 41, 200, nullptr, kJka),
    Means("MOD_UNKNOWN", 0, 30, nullptr, kJka),
    Means("MOD_WATER", 33, 30, nullptr, kJka),
    Means("MOD_LAVA", 35, 30, nullptr, kJka),
    Means("MOD_CRUSH", 36, 20, nullptr, kJka),
    Means("MOD_SABER", 3, 20, nullptr, kJka),
    Means("MOD_SLIME", 34, 10, nullptr, kJka),
    Means("MOD_TARGET_LASER", 40, 10, nullptr, kJka),
    Means("MOD_FORCE_DARK", 31, 10, nullptr, kJka),
    Means("MOD_SUICIDE", 39, 10, nullptr, kJka),
};

constexpr MeansOfDeath kJkaSelf[] = {
    Means("MOD_SUICIDE", 39, 400, nullptr, kJka),
    Means("MOD_THERMAL_SPLASH", 24, 40, nullptr, kJka),
    Means("MOD_ROCKET_SPLASH", 20, 40, nullptr, kJka),
    Means("MOD_DET_PACK_SPLASH", 27, 20, nullptr, kJka),
    Means("MOD_TRIP_MINE_SPLASH", 25, 20, nullptr, kJka),
    Means("MOD_REPEATER_ALT_SPLASH", 14, 10, nullptr, kJka),
    Means("MOD_FLECHETTE_ALT_SPLASH", 18, 10, nullptr, kJka),
    Means("MOD_CONC_ALT", 30, 5, nullptr, kJka),
};

constexpr const char* kCharacters[] = {"jawa ()",    "Stormtrooper ()", "rockettrooper ()",
                                       "reborn ()",  "jedi ()",         "tusken ()",
                                       "kyle100 ()", "desann ()",       "gran ()"};

}  // namespace

std::span<const char* const> NonPlayerCharacters() {
  return kCharacters;
}

const MeansOfDeath& UrbanTerrorTeamChange() {
  return kUrtTeamChange;
}

std::span<const MeansOfDeath> UrbanTerrorMeans(KillKind kind) {
  switch (kind) {
    case KillKind::kFrag:
      return kUrtFrags;
    case KillKind::kWorld:
      return kUrtWorld;
    case KillKind::kSelf:
      return kUrtSelf;
  }
  return kUrtFrags;
}

std::span<const MeansOfDeath> JediAcademyMeans(KillKind kind) {
  switch (kind) {
    case KillKind::kFrag:
      return kJkaFrags;
    case KillKind::kWorld:
      return kJkaWorld;
    case KillKind::kSelf:
      return kJkaSelf;
  }
  return kJkaFrags;
}

}  // namespace vexor::bench
