#include "MeansOfDeath.h"

#include <array>

#include "FamilyMeans.h"

namespace vexor::bench {
namespace {

constexpr uint8_t kQuake3 = 1;
constexpr uint8_t kOpenArena = 2;

// The nine weapons also have "_SPLASH" names that the stock game never writes for some of
// them (machinegun, gauntlet...); servers of other mods may, and Vexor counts them all, so a
// few appear here with numbers past the stock ones (Quake 3 only: OpenArena gives those numbers
// to Team Arena's weapons). OpenArena's own rows come last in each table, so that Quake 3 logs
// draw exactly what they drew before those rows existed.
constexpr MeansOfDeath kFrags[] = {
    {"MOD_SHOTGUN", 1, 70, true, {"was gunned down by"}, ""},
    {"MOD_GAUNTLET", 2, 25, true, {"was pummeled by"}, ""},
    {"MOD_MACHINEGUN", 3, 90, true, {"was machinegunned by"}, ""},
    {"MOD_GRENADE", 4, 25, true, {"ate"}, "'s grenade"},
    {"MOD_GRENADE_SPLASH", 5, 35, true, {"was shredded by"}, "'s shrapnel"},
    {"MOD_ROCKET", 6, 170, true, {"ate"}, "'s rocket"},
    {"MOD_ROCKET_SPLASH", 7, 230, true, {"almost dodged"}, "'s rocket"},
    {"MOD_PLASMA", 8, 60, true, {"was melted by"}, "'s plasmagun"},
    {"MOD_PLASMA_SPLASH", 9, 20, true, {"was melted by"}, "'s plasmagun"},
    {"MOD_RAILGUN", 10, 150, true, {"was railed by"}, ""},
    {"MOD_LIGHTNING", 11, 60, true, {"was electrocuted by"}, ""},
    {"MOD_BFG", 12, 15, true, {"was blasted by"}, "'s BFG"},
    {"MOD_BFG_SPLASH", 13, 20, true, {"was blasted by"}, "'s BFG"},
    {"MOD_TELEFRAG", 18, 10, false, {"tried to invade"}, "'s personal space"},
    {"MOD_GRAPPLE", 23, 2, false, {"was caught by"}, "", kQuake3},
    {"MOD_UNKNOWN", 0, 3, false, {"was killed by"}, ""},
    {"MOD_GAUNTLET_SPLASH", 24, 1, true, {"was killed by"}, "", kQuake3},
    {"MOD_MACHINEGUN_SPLASH", 25, 1, true, {"was killed by"}, "", kQuake3},
    {"MOD_SHOTGUN_SPLASH", 26, 1, true, {"was killed by"}, "", kQuake3},
    {"MOD_LIGHTNING_SPLASH", 27, 1, true, {"was killed by"}, "", kQuake3},
    {"MOD_RAILGUN_SPLASH", 28, 1, true, {"was killed by"}, "", kQuake3},
    // OpenArena: Team Arena's weapons, and the level's hazards when another player pushed the
    // victim into them.
    {"MOD_NAIL", 23, 60, false, {"was nailed by"}, "", kOpenArena},
    {"MOD_CHAINGUN", 24, 60, false, {"got lead poisoning from"}, "'s Chaingun", kOpenArena},
    {"MOD_PROXIMITY_MINE", 25, 25, false, {"was too close to"}, "'s Prox Mine", kOpenArena},
    {"MOD_KAMIKAZE", 26, 6, false, {"falls to"}, "'s Kamikaze blast", kOpenArena},
    {"MOD_JUICED", 27, 4, false, {"was juiced by"}, "", kOpenArena},
    {"MOD_LAVA", 16, 8, false, {"was given a hot bath by"}, "", kOpenArena},
    {"MOD_SLIME", 15, 4, false, {"was given a acid bath by"}, "", kOpenArena},
    {"MOD_FALLING", 19, 12, false, {"was given a small push by"}, "", kOpenArena},
    {"MOD_TRIGGER_HURT", 22, 12, false, {"was helped on the way by"}, "", kOpenArena},
    {"MOD_CRUSH", 17, 3, false, {"was crushed in"}, "'s trap", kOpenArena},
};

constexpr MeansOfDeath kWorld[] = {
    {"MOD_TRIGGER_HURT", 22, 450, false, {"was in the wrong place"}, ""},
    {"MOD_FALLING", 19, 250, false, {"cratered"}, ""},
    {"MOD_CRUSH", 17, 30, false, {"was squished"}, ""},
    {"MOD_WATER", 14, 80, false, {"sank like a rock"}, ""},
    {"MOD_SLIME", 15, 50, false, {"melted"}, ""},
    {"MOD_LAVA", 16, 100, false, {"does a back flip into the lava"}, ""},
    {"MOD_TARGET_LASER", 21, 20, false, {"saw the light"}, ""},
    {"MOD_SUICIDE", 20, 20, false, {"suicides"}, ""},
};

constexpr MeansOfDeath kSelf[] = {
    {"MOD_ROCKET_SPLASH",
     7,
     500,
     true,
     {"blew himself up", "blew herself up", "blew itself up"},
     ""},
    {"MOD_GRENADE_SPLASH",
     5,
     170,
     true,
     {"tripped on his own grenade", "tripped on her own grenade", "tripped on its own grenade"},
     ""},
    {"MOD_PLASMA_SPLASH", 9, 80, true, {"melted himself", "melted herself", "melted itself"}, ""},
    {"MOD_BFG_SPLASH",
     13,
     40,
     true,
     {"should have used a smaller gun", "should have used a smaller gun",
      "should have used a smaller gun"},
     ""},
    {"MOD_SUICIDE", 20, 210, false, {"killed himself", "killed herself", "killed itself"}, ""},
    {"MOD_PROXIMITY_MINE",
     25,
     60,
     false,
     {"found his prox mine", "found her prox mine", "found it's prox mine"},
     "",
     kOpenArena},
    {"MOD_KAMIKAZE",
     26,
     15,
     false,
     {"goes out with a bang", "goes out with a bang", "goes out with a bang"},
     "",
     kOpenArena},
};

std::string Underscored(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

}  // namespace

std::span<const MeansOfDeath> MeansOfDeathOf(KillKind kind, Flavour flavour) {
  if (flavour == Flavour::kUrbanTerror) return UrbanTerrorMeans(kind);
  if (flavour == Flavour::kJediAcademy) return JediAcademyMeans(kind);
  switch (kind) {
    case KillKind::kFrag:
      return kFrags;
    case KillKind::kWorld:
      return kWorld;
    case KillKind::kSelf:
      return kSelf;
  }
  return kFrags;
}

int32_t PickMeansOfDeath(KillKind kind, Flavour flavour, uint64_t random) {
  std::span<const MeansOfDeath> table = MeansOfDeathOf(kind, flavour);
  int64_t total = 0;
  for (const MeansOfDeath& mod : table) {
    if (mod.LoggedIn(flavour)) total += mod.weight;
  }
  int64_t draw = static_cast<int64_t>(random % static_cast<uint64_t>(total));
  for (size_t i = 0; i < table.size(); ++i) {
    if (!table[i].LoggedIn(flavour)) continue;
    draw -= table[i].weight;
    if (draw < 0) return static_cast<int32_t>(i);
  }
  return 0;
}

std::string ClientFormKey(KillKind kind, int32_t mod, Gender gender) {
  const MeansOfDeath& entry = MeansOfDeathOf(kind, Flavour::kQuake3)[static_cast<size_t>(mod)];
  if (kind == KillKind::kFrag) {
    std::string key = "obituary." + Underscored(entry.text[0]);
    std::string_view suffix = entry.suffix;
    if (suffix.starts_with("'s ")) key += "." + Underscored(suffix.substr(3));
    return key;
  }
  const char* text = kind == KillKind::kSelf ? entry.text[static_cast<int>(gender)] : entry.text[0];
  return "suicide." + Underscored(text);
}

namespace {

struct FormCounts {
  int32_t frags, world, self;
};

FormCounts CountsOf(Flavour flavour) {
  return {static_cast<int32_t>(MeansOfDeathOf(KillKind::kFrag, flavour).size()),
          static_cast<int32_t>(MeansOfDeathOf(KillKind::kWorld, flavour).size()),
          static_cast<int32_t>(MeansOfDeathOf(KillKind::kSelf, flavour).size())};
}

}  // namespace

int32_t KillFormCount(Flavour flavour) {
  FormCounts n = CountsOf(flavour);
  return n.frags + n.world + n.self * 3;
}

KillForm KillFormAt(int32_t index, Flavour flavour) {
  FormCounts n = CountsOf(flavour);
  if (index < n.frags) return {KillKind::kFrag, index, Gender::kMale};
  index -= n.frags;
  if (index < n.world) return {KillKind::kWorld, index, Gender::kMale};
  index -= n.world;
  return {KillKind::kSelf, index / 3, static_cast<Gender>(index % 3)};
}

int32_t KillFormIndex(KillKind kind, int32_t mod, Gender gender, Flavour flavour) {
  FormCounts n = CountsOf(flavour);
  switch (kind) {
    case KillKind::kFrag:
      return mod;
    case KillKind::kWorld:
      return n.frags + mod;
    case KillKind::kSelf:
      return n.frags + n.world + mod * 3 + static_cast<int32_t>(gender);
  }
  return mod;
}

bool KillFormLoggedIn(int32_t index, Flavour flavour) {
  KillForm form = KillFormAt(index, flavour);
  bool gendered = flavour == Flavour::kQuake3 || flavour == Flavour::kOpenArena;
  if (!gendered && form.gender != Gender::kMale) return false;
  return MeansOfDeathOf(form.kind, flavour)[static_cast<size_t>(form.mod)].LoggedIn(flavour);
}

}  // namespace vexor::bench
