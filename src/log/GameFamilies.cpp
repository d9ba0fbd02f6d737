#include "log/GameFamilies.h"

#include <array>
#include <cstring>
#include <iterator>
#include <vector>

#include "base/TextHash.h"
#include "base/TextNumbers.h"
#include "log/GameTypes.h"

namespace vexor {
namespace {

using F = GameFamily;
using S = WeaponSet;

constexpr GameTypeEntry kUrbanTerrorTypes[] = {
    {0, "Free For All"},     {1, "Last Man Standing"}, {3, "Team Deathmatch"},
    {4, "Team Survivor"},    {5, "Follow the Leader"}, {6, "Capture and Hold"},
    {7, "Capture The Flag"}, {8, "Bomb Mode"},         {9, "Jump"},
    {10, "Freeze Tag"},      {11, "Gun Game"},
};
constexpr GameTypeEntry kJediAcademyTypes[] = {
    {0, "Free For All"},     {1, "Holocron FFA"},          {2, "Jedi Master"}, {3, "Duel"},
    {4, "Power Duel"},       {5, "Single Player"},         {6, "Team FFA"},    {7, "Siege"},
    {8, "Capture The Flag"}, {9, "Capture The Ysalamiri"},
};
constexpr GameTypeEntry kJediOutcastTypes[] = {
    {0, "Free For All"}, {1, "Holocron"},         {2, "Jedi Master"},
    {3, "Duel"},         {4, "Single Player"},    {5, "Team FFA"},
    {6, "Saga"},         {7, "Capture The Flag"}, {8, "Capture The Ysalamiri"},
};

const std::array<FamilyRules, kGameFamilyCount> kRules = {{
    {F::kQuake3, false, false, false, false, false, {}},
    {F::kUrbanTerror, false, true, false, false, true, kUrbanTerrorTypes},
    {F::kJediAcademy, true, false, true, true, false, kJediAcademyTypes},
    {F::kJediOutcast, true, false, true, true, false, kJediOutcastTypes},
}};

// A means of death of one weapon set's games and the weapon it stands for (a weapon key), or a
// kill that is none.
struct MeansOfDeathRow {
  std::string_view name;
  WeaponSet set;
  std::string_view weapon;  // empty: no weapon
  bool noKill = false;
};

constexpr MeansOfDeathRow kMeansOfDeath[] = {
    // Quake III Arena, Team Arena, OpenArena: the nine weapons; every other means counts none.
    {"MOD_GAUNTLET", S::kQuake3, "gauntlet"},
    {"MOD_GAUNTLET_SPLASH", S::kQuake3, "gauntlet"},
    {"MOD_MACHINEGUN", S::kQuake3, "machinegun"},
    {"MOD_MACHINEGUN_SPLASH", S::kQuake3, "machinegun"},
    {"MOD_SHOTGUN", S::kQuake3, "shotgun"},
    {"MOD_SHOTGUN_SPLASH", S::kQuake3, "shotgun"},
    {"MOD_ROCKET", S::kQuake3, "rocket"},
    {"MOD_ROCKET_SPLASH", S::kQuake3, "rocket"},
    {"MOD_GRENADE", S::kQuake3, "grenade"},
    {"MOD_GRENADE_SPLASH", S::kQuake3, "grenade"},
    {"MOD_LIGHTNING", S::kQuake3, "lightning"},
    {"MOD_LIGHTNING_SPLASH", S::kQuake3, "lightning"},
    {"MOD_PLASMA", S::kQuake3, "plasma"},
    {"MOD_PLASMA_SPLASH", S::kQuake3, "plasma"},
    {"MOD_RAILGUN", S::kQuake3, "railgun"},
    {"MOD_RAILGUN_SPLASH", S::kQuake3, "railgun"},
    {"MOD_BFG", S::kQuake3, "bfg"},
    {"MOD_BFG_SPLASH", S::kQuake3, "bfg"},
    // Urban Terror 4.1 to 4.3.
    {"UT_MOD_KNIFE", S::kUrbanTerror, "knife"},
    {"UT_MOD_KNIFE_THROWN", S::kUrbanTerror, "knife"},
    {"UT_MOD_BERETTA", S::kUrbanTerror, "beretta"},
    {"UT_MOD_DEAGLE", S::kUrbanTerror, "deagle"},
    {"UT_MOD_GLOCK", S::kUrbanTerror, "glock"},
    {"UT_MOD_COLT1911", S::kUrbanTerror, "colt"},
    {"UT_MOD_MAGNUM", S::kUrbanTerror, "magnum"},
    {"UT_MOD_SPAS", S::kUrbanTerror, "spas"},
    {"UT_MOD_BENELLI", S::kUrbanTerror, "benelli"},
    {"UT_MOD_MP5K", S::kUrbanTerror, "mp5k"},
    {"UT_MOD_UMP45", S::kUrbanTerror, "ump45"},
    {"UT_MOD_MAC11", S::kUrbanTerror, "mac11"},
    {"UT_MOD_P90", S::kUrbanTerror, "p90"},
    {"UT_MOD_LR300", S::kUrbanTerror, "lr300"},
    {"UT_MOD_G36", S::kUrbanTerror, "g36"},
    {"UT_MOD_AK103", S::kUrbanTerror, "ak103"},
    {"UT_MOD_M4", S::kUrbanTerror, "m4"},
    {"UT_MOD_NEGEV", S::kUrbanTerror, "negev"},
    {"UT_MOD_PSG1", S::kUrbanTerror, "psg1"},
    {"UT_MOD_SR8", S::kUrbanTerror, "sr8"},
    {"UT_MOD_FRF1", S::kUrbanTerror, "frf1"},
    {"UT_MOD_TOD50", S::kUrbanTerror, "tod50"},
    {"UT_MOD_HK69", S::kUrbanTerror, "hk69"},
    {"UT_MOD_HK69_HIT", S::kUrbanTerror, "hk69"},
    {"UT_MOD_HEGRENADE", S::kUrbanTerror, "hegrenade"},
    {"UT_MOD_KICKED", S::kUrbanTerror, "boot"},
    {"UT_MOD_GOOMBA", S::kUrbanTerror, "goomba"},
    {"UT_MOD_BLED", S::kUrbanTerror, "bleeding"},
    {"UT_MOD_FLAG", S::kUrbanTerror, "flag"},
    {"UT_MOD_SPLODED", S::kUrbanTerror, "bomb"},
    {"UT_MOD_BOMBED", S::kUrbanTerror, "bomb"},
    {"MOD_CHANGE_TEAM", S::kUrbanTerror, "", true},
    // Jedi Academy and Jedi Outcast.
    {"MOD_SABER", S::kJedi, "saber"},
    {"MOD_MELEE", S::kJedi, "melee"},
    {"MOD_STUN_BATON", S::kJedi, "stunbaton"},
    {"MOD_BRYAR_PISTOL", S::kJedi, "bryar"},
    {"MOD_BRYAR_PISTOL_ALT", S::kJedi, "bryar"},
    {"MOD_BLASTER", S::kJedi, "blaster"},
    {"MOD_TURBLAST", S::kJedi, "turret"},
    {"MOD_DISRUPTOR", S::kJedi, "disruptor"},
    {"MOD_DISRUPTOR_SPLASH", S::kJedi, "disruptor"},
    {"MOD_DISRUPTOR_SNIPER", S::kJedi, "disruptor"},
    {"MOD_BOWCASTER", S::kJedi, "bowcaster"},
    {"MOD_REPEATER", S::kJedi, "repeater"},
    {"MOD_REPEATER_ALT", S::kJedi, "repeater"},
    {"MOD_REPEATER_ALT_SPLASH", S::kJedi, "repeater"},
    {"MOD_DEMP2", S::kJedi, "demp2"},
    {"MOD_DEMP2_ALT", S::kJedi, "demp2"},
    {"MOD_FLECHETTE", S::kJedi, "flechette"},
    {"MOD_FLECHETTE_ALT_SPLASH", S::kJedi, "flechette"},
    {"MOD_ROCKET", S::kJedi, "launcher"},
    {"MOD_ROCKET_SPLASH", S::kJedi, "launcher"},
    {"MOD_ROCKET_HOMING", S::kJedi, "launcher"},
    {"MOD_ROCKET_HOMING_SPLASH", S::kJedi, "launcher"},
    {"MOD_THERMAL", S::kJedi, "thermal"},
    {"MOD_THERMAL_SPLASH", S::kJedi, "thermal"},
    {"MOD_TRIP_MINE_SPLASH", S::kJedi, "tripmine"},
    {"MOD_TIMED_MINE_SPLASH", S::kJedi, "tripmine"},
    {"MOD_DET_PACK_SPLASH", S::kJedi, "detpack"},
    {"MOD_CONC", S::kJedi, "concussion"},
    {"MOD_CONC_ALT", S::kJedi, "concussion"},
    {"MOD_FORCE_DARK", S::kJedi, "force"},
    {"MOD_VEHICLE", S::kJedi, "vehicle"},
    {"MOD_SENTRY", S::kJedi, "sentry"},
};

// The rows as look-ups: an id by name, and by weapon set and id the weapon and whether the kill
// is none. Made once, on first use (from either reading thread).
class MeansOfDeathTables {
 public:
  // By weapon set and id (a byte, so no index falls outside).
  std::array<std::array<int8_t, 256>, kWeaponSetCount> weapons;
  std::array<std::array<bool, 256>, kWeaponSetCount> noKill{};

  MeansOfDeathTables() {
    uint8_t count = 0;
    for (const MeansOfDeathRow& row : kMeansOfDeath) {
      if (Id(row.name) == 0) Insert(row.name, ++count);
    }
    for (auto& set : weapons)
      set.fill(-1);
    for (const MeansOfDeathRow& row : kMeansOfDeath) {
      size_t id = Id(row.name);
      size_t set = static_cast<size_t>(row.set);
      if (!row.weapon.empty()) weapons[set][id] = static_cast<int8_t>(WeaponOfKey(row.weapon));
      noKill[set][id] = row.noKill;
    }
  }

  // Every kill line asks: open addressing in a table of twice the names or more, so that a
  // look-up is a hash and a comparison or two.
  uint8_t Id(std::string_view name) const {
    for (size_t at = SlotOf(name);; at = (at + 1) & kMask) {
      const Slot& slot = m_slots[at];
      if (slot.id == 0) return 0;
      if (SameText(slot.name, name)) return slot.id;
    }
  }

 private:
  static constexpr size_t kSlots = 256;
  static constexpr size_t kMask = kSlots - 1;
  static_assert(std::size(kMeansOfDeath) * 2 <= kSlots, "the table needs free slots");
  struct Slot {
    std::string_view name;
    uint8_t id = 0;
  };
  // A means is told by its length and its last eight characters (its first are "MOD_" or
  // "UT_MOD_"), hashed by one multiplication.
  static size_t SlotOf(std::string_view name) {
    if (name.size() < 8) return HashText(name) & kMask;
    uint64_t last;
    std::memcpy(&last, name.data() + name.size() - 8, 8);
    return static_cast<size_t>(((last ^ name.size()) * 0x9E3779B97F4A7C15ull) >> 56) & kMask;
  }
  void Insert(std::string_view name, uint8_t id) {
    size_t at = SlotOf(name);
    while (m_slots[at].id != 0)
      at = (at + 1) & kMask;
    m_slots[at] = Slot{name, id};
  }
  std::array<Slot, kSlots> m_slots{};
};

const MeansOfDeathTables& Tables() {
  static const MeansOfDeathTables tables;
  return tables;
}

// The value of a key of an "InitGame:" line ("\key\value\"); the last when the key repeats.
std::string_view InfoValue(std::string_view line, std::string_view key) {
  std::string pattern = "\\" + std::string(key) + "\\";
  size_t at = line.rfind(pattern);
  if (at == std::string_view::npos) return {};
  size_t start = at + pattern.size();
  size_t end = line.find('\\', start);
  if (end == std::string_view::npos) end = line.size();
  return line.substr(start, end - start);
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace

const FamilyRules& RulesOf(GameFamily family) {
  return kRules[static_cast<size_t>(family)];
}

GameFamily FamilyOfInitGame(std::string_view line, bool wallClock) {
  std::string_view version = InfoValue(line, "version");
  std::string_view gamename = InfoValue(line, "gamename");
  if (StartsWith(version, "JK2MP") || gamename == "basejk") return F::kJediOutcast;
  if (StartsWith(version, "JAmp") || gamename == "basejka") return F::kJediAcademy;
  if (StartsWith(gamename, "q3ut") || StartsWith(gamename, "q3urt") ||
      version.find(" urt ") != std::string_view::npos) {
    return F::kUrbanTerror;
  }
  return wallClock ? F::kJediAcademy : F::kQuake3;
}

std::string FamilyGameTypeName(const VexoriumDoc& doc, GameFamily family, std::string_view line) {
  const FamilyRules& rules = RulesOf(family);
  if (rules.gameTypes.empty()) {
    // Quake III's rule: the character 11 places after the last "g_gametype".
    if (line.size() <= 12) return "Unknown";
    size_t at = line.rfind("g_gametype", line.size() - 13);
    return at == std::string_view::npos ? "Unknown" : GameTypeName(doc, line[at + 11]);
  }
  std::string_view value = InfoValue(line, "g_gametype");
  if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos) {
    return "Unknown";
  }
  int32_t code = WholeNumber(value);
  for (const GameTypeEntry& type : rules.gameTypes) {
    if (type.code == code) return std::string(type.name);
  }
  return "Unknown";
}

uint8_t MeansOfDeathId(std::string_view name) {
  return Tables().Id(name);
}

int8_t WeaponOfMeansOfDeath(GameFamily family, uint8_t meansOfDeath) {
  return Tables().weapons[static_cast<size_t>(WeaponSetOf(family))][meansOfDeath];
}

bool IsNoKill(GameFamily family, uint8_t meansOfDeath) {
  return RulesOf(family).killsThatAreNone &&
         Tables().noKill[static_cast<size_t>(WeaponSetOf(family))][meansOfDeath];
}

}  // namespace vexor
