#include "GameFamily.h"

namespace vexor::bench {
namespace {

// Quake III Arena (and OpenArena, which plays the same game types on the same codes).
constexpr const char* kFreeForAllMaps[] = {"q3dm1",  "q3dm2",  "q3dm3",  "q3dm4",  "q3dm5",
                                           "q3dm6",  "q3dm7",  "q3dm8",  "q3dm9",  "q3dm10",
                                           "q3dm11", "q3dm12", "q3dm13", "q3dm14", "q3dm15",
                                           "q3dm16", "q3dm17", "q3dm18", "q3dm19"};
constexpr const char* kTournamentMaps[] = {"q3tourney1", "q3tourney2", "q3tourney3",
                                           "q3tourney4", "q3tourney5", "q3tourney6"};
constexpr const char* kTeamMaps[] = {"q3dm6", "q3dm7", "q3dm9", "q3dm12", "q3dm13", "q3dm14"};
constexpr const char* kFlagMaps[] = {"q3ctf1", "q3ctf2", "q3ctf3", "q3ctf4", "q3tourney6_ctf"};
constexpr const char* kTeamArenaMaps[] = {"mpteam1", "mpteam2", "mpteam3", "mpteam4",
                                          "mpteam5", "mpteam6", "mpteam7", "mpteam8"};

constexpr Limits kFreeForAllLimits[] = {{20, 15}, {20, 10}, {30, 20}, {50, 20}, {0, 15}, {20, 0}};
constexpr Limits kTournamentLimits[] = {{10, 10}, {15, 15}, {0, 10}};
constexpr Limits kTeamLimits[] = {{50, 20}, {100, 30}, {0, 15}};
constexpr Limits kFlagLimits[] = {{0, 20}, {0, 30}};

constexpr const char* kFrag = "Fraglimit hit.";
constexpr const char* kCapture = "Capturelimit hit.";
constexpr const char* kRound = "Roundlimit hit.";

constexpr GameTypeInfo kQuake3Types[] = {
    {0, "ffa", "Free For All", false, 0, 0, false, kFrag, kFreeForAllMaps, kFreeForAllLimits},
    {1, "tourney", "Tournament", false, 2, 0, false, kFrag, kTournamentMaps, kTournamentLimits},
    {2, "single", "Single Player", false, 0, 0, false, kFrag, kFreeForAllMaps, kFreeForAllLimits},
    {3, "tdm", "Team Deathmatch", true, 0, 0, false, kFrag, kTeamMaps, kTeamLimits},
    {4, "ctf", "Capture The Flag", true, 0, 8, false, kCapture, kFlagMaps, kFlagLimits},
    {5, "oneflag", "One Flag CTF", true, 0, 8, false, kCapture, kTeamArenaMaps, kFlagLimits},
    {6, "overload", "Overload", true, 0, 8, false, kCapture, kTeamArenaMaps, kFlagLimits},
    {7, "harvester", "Harvester", true, 0, 8, false, kCapture, kTeamArenaMaps, kFlagLimits},
};
constexpr int kQuake3Mix[] = {0, 0, 0, 1, 3, 4};

// Urban Terror 4.3.
constexpr const char* kUrtMaps[] = {"ut4_abbey",   "ut4_algiers", "ut4_austria",  "ut4_casa",
                                    "ut4_kingdom", "ut4_prague",  "ut4_turnpike", "ut4_uptown",
                                    "ut4_tombs",   "ut4_ramelle", "ut4_suburbs",  "ut4_mandolin"};
constexpr const char* kUrtFlagMaps[] = {"ut4_turnpike", "ut4_casa",       "ut4_abbey",
                                        "ut4_algiers",  "ut4_orbital_sl", "ut4_raiders"};
constexpr const char* kUrtJumpMaps[] = {"ut4_jump_training", "ut4_jump_tower", "ut4_jump_sky"};

constexpr Limits kUrtFreeForAllLimits[] = {{20, 15}, {30, 20}, {0, 20}};
constexpr Limits kUrtTeamLimits[] = {{50, 20}, {0, 20}};
constexpr Limits kUrtRoundLimits[] = {{0, 20}, {100, 30}, {0, 15}};
constexpr Limits kUrtTimedLimits[] = {{0, 20}, {0, 15}};

constexpr GameTypeInfo kUrbanTerrorTypes[] = {
    {0, "ffa", "Free For All", false, 0, 0, false, kFrag, kUrtMaps, kUrtFreeForAllLimits},
    {1, "lms", "Last Man Standing", false, 0, 0, true, kRound, kUrtMaps, kUrtRoundLimits},
    {3, "tdm", "Team Deathmatch", true, 0, 0, false, kFrag, kUrtMaps, kUrtTeamLimits},
    {4, "ts", "Team Survivor", true, 0, 0, true, kRound, kUrtMaps, kUrtRoundLimits},
    {5, "ftl", "Follow the Leader", true, 0, 0, true, kRound, kUrtMaps, kUrtRoundLimits},
    {6, "cah", "Capture and Hold", true, 0, 0, false, kCapture, kUrtMaps, kUrtTimedLimits},
    {7, "ctf", "Capture The Flag", true, 0, 10, false, kCapture, kUrtFlagMaps, kUrtTimedLimits},
    {8, "bomb", "Bomb Mode", true, 0, 0, true, kRound, kUrtMaps, kUrtRoundLimits},
    {9, "jump", "Jump", false, 0, 0, false, kFrag, kUrtJumpMaps, kUrtTimedLimits},
    {10, "freeze", "Freeze Tag", true, 0, 0, true, kRound, kUrtMaps, kUrtRoundLimits},
    {11, "gungame", "Gun Game", false, 0, 0, false, kFrag, kUrtMaps, kUrtFreeForAllLimits},
};
constexpr int kUrbanTerrorMix[] = {4, 4, 4, 7, 7, 3, 0, 8, 1, 5, 6, 9, 10, 11};

// Jedi Academy.
constexpr const char* kJkaMaps[] = {"mp/ffa1", "mp/ffa2", "mp/ffa3", "mp/ffa4", "mp/ffa5"};
constexpr const char* kJkaDuelMaps[] = {"mp/duel1", "mp/duel2", "mp/duel3", "mp/duel4",
                                        "mp/duel5", "mp/duel6", "mp/duel7", "mp/duel8"};
constexpr const char* kJkaSiegeMaps[] = {"mp/siege_hoth", "mp/siege_desert", "mp/siege_korriban"};
constexpr const char* kJkaFlagMaps[] = {"mp/ctf1", "mp/ctf2", "mp/ctf3", "mp/ctf4", "mp/ctf5"};

constexpr Limits kJkaFreeForAllLimits[] = {{20, 20}, {0, 40}, {50, 30}};
constexpr Limits kJkaDuelLimits[] = {{10, 10}, {5, 0}, {0, 15}};
constexpr Limits kJkaTeamLimits[] = {{50, 20}, {0, 30}};
constexpr Limits kJkaTimedLimits[] = {{0, 20}, {0, 30}};

constexpr GameTypeInfo kJediAcademyTypes[] = {
    {0, "ffa", "Free For All", false, 0, 0, false, kFrag, kJkaMaps, kJkaFreeForAllLimits},
    {1, "holocron", "Holocron FFA", false, 0, 0, false, kFrag, kJkaMaps, kJkaFreeForAllLimits},
    {2, "jedimaster", "Jedi Master", false, 0, 0, false, kFrag, kJkaMaps, kJkaFreeForAllLimits},
    {3, "duel", "Duel", false, 2, 0, false, kFrag, kJkaDuelMaps, kJkaDuelLimits},
    {4, "powerduel", "Power Duel", false, 3, 0, false, kFrag, kJkaDuelMaps, kJkaDuelLimits},
    {5, "single", "Single Player", false, 0, 0, false, kFrag, kJkaMaps, kJkaFreeForAllLimits},
    {6, "tffa", "Team FFA", true, 0, 0, false, kFrag, kJkaMaps, kJkaTeamLimits},
    {7, "siege", "Siege", true, 0, 0, false, kFrag, kJkaSiegeMaps, kJkaTimedLimits},
    {8, "ctf", "Capture The Flag", true, 0, 10, false, kCapture, kJkaFlagMaps, kJkaTimedLimits},
    {9, "cty", "Capture The Ysalamiri", true, 0, 10, false, kCapture, kJkaFlagMaps,
     kJkaTimedLimits},
};
constexpr int kJediAcademyMix[] = {0, 0, 0, 3, 3, 6, 8, 1, 2, 4, 5, 7, 9};

constexpr GameFamily kQuake3{"quake3", kQuake3Types, kQuake3Mix, 48, true};
constexpr GameFamily kOpenArena{"openarena", kQuake3Types, kQuake3Mix, 48, true};
constexpr GameFamily kUrbanTerror{"urt", kUrbanTerrorTypes, kUrbanTerrorMix, 48, false};
// Client numbers 32 and up are the non-player characters of the level.
constexpr GameFamily kJediAcademy{"jka", kJediAcademyTypes, kJediAcademyMix, 32, false};

}  // namespace

const GameFamily& FamilyOf(Flavour flavour) {
  switch (flavour) {
    case Flavour::kQuake3:
      return kQuake3;
    case Flavour::kOpenArena:
      return kOpenArena;
    case Flavour::kUrbanTerror:
      return kUrbanTerror;
    case Flavour::kJediAcademy:
      return kJediAcademy;
  }
  return kQuake3;
}

const GameTypeInfo& GameTypeOf(Flavour flavour, int32_t code) {
  std::span<const GameTypeInfo> types = FamilyOf(flavour).types;
  for (const GameTypeInfo& type : types) {
    if (type.code == code) return type;
  }
  return types.front();
}

bool ParseGameTypes(Flavour flavour, std::string_view list, std::vector<int>* codes) {
  codes->clear();
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    std::string_view item = list.substr(start, comma - start);
    int code = -1;
    for (const GameTypeInfo& type : FamilyOf(flavour).types) {
      if (item == type.option || item == std::to_string(type.code)) code = type.code;
    }
    if (code < 0) return false;
    codes->push_back(code);
    start = comma + 1;
  }
  return !codes->empty();
}

std::string GameTypeOptions(Flavour flavour) {
  std::string names;
  for (const GameTypeInfo& type : FamilyOf(flavour).types) {
    if (!names.empty()) names += ",";
    names += type.option;
  }
  return names;
}

}  // namespace vexor::bench
