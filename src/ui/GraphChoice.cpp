#include "ui/GraphChoice.h"

#include <algorithm>

#include "stats/GameFamily.h"
#include "stats/PlayerRecord.h"
#include "stats/VexoriumDoc.h"
#include "ui/ViewScreens.h"

namespace vexor {
namespace {

// One field of a game's values or of a player's totals, for the table below.
template <auto kField>
auto FieldOf(const PlayerGame& g) {
  return g.*kField;
}
template <auto kField>
int32_t TotalOf(const PlayerRecord& p) {
  return p.*kField;
}

template <Weapon kWeapon>
int32_t WeaponFrags(const PlayerGame& g) {
  return g.weaponFrags[Index(kWeapon)];
}
template <Weapon kWeapon>
int32_t WeaponTotal(const PlayerRecord& p) {
  return p.weaponFrags[Index(kWeapon)];
}

template <Weapon kWeapon>
constexpr GraphStatisticInfo WeaponStatistic(int id, const char* suffix, const char* name) {
  return {id, suffix, name, &WeaponFrags<kWeapon>, nullptr, &WeaponTotal<kWeapon>};
}

bool Selected(const std::vector<int32_t>& selection, int32_t p) {
  return static_cast<size_t>(p) < selection.size() && selection[static_cast<size_t>(p)] == 1;
}

GraphStatistic FixedStatistic(const GraphStatisticInfo& info) {
  return {&info, -1, {}, info.suffix};
}

GraphStatistic OtherWeaponStatistic(WeaponId weapon) {
  return {nullptr, weapon, {}, " : " + std::string(WeaponInfoOf(weapon).name) + " Frags"};
}

GraphStatistic VariableStatistic(const VisibleVariable& variable) {
  return {nullptr, -1, variable, " : " + *variable.name};
}

// Puts the statistics into drawing order: variables first (client, then server, each by
// number), then the fixed statistics in table order, then the other weapons by number;
// duplicates dropped.
void SortStatistics(std::vector<GraphStatistic>* statistics) {
  auto key = [](const GraphStatistic& s) {
    if (s.fixed != nullptr) return 200 + static_cast<int>(s.fixed - kGraphStatistics.data());
    if (s.weapon >= 0) return 300 + s.weapon;
    return (s.variable.server ? 100 : 0) + s.variable.number;
  };
  std::stable_sort(statistics->begin(), statistics->end(),
                   [&](const auto& a, const auto& b) { return key(a) < key(b); });
  statistics->erase(std::unique(statistics->begin(), statistics->end(),
                                [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                    statistics->end());
}

}  // namespace

const std::array<GraphStatisticInfo, 15> kGraphStatistics = {{
    {1006, " : Suicides", "suicides", &FieldOf<&PlayerGame::suicides>, nullptr,
     &TotalOf<&PlayerRecord::suicides>},
    {1004, " : Frags", "frags", &FieldOf<&PlayerGame::frags>, nullptr,
     &TotalOf<&PlayerRecord::frags>},
    {1005, " : Deaths", "deaths", &FieldOf<&PlayerGame::deaths>, nullptr,
     &TotalOf<&PlayerRecord::deaths>},
    {1007, " : FPH", "fph", &FieldOf<&PlayerGame::frags>, &FieldOf<&PlayerGame::fragsPerHour>,
     &TotalOf<&PlayerRecord::frags>},
    {1009, " : SPH", "sph", &FieldOf<&PlayerGame::suicides>, &FieldOf<&PlayerGame::suicidesPerHour>,
     &TotalOf<&PlayerRecord::suicides>},
    {1008, " : DPH", "dph", &FieldOf<&PlayerGame::deaths>, &FieldOf<&PlayerGame::deathsPerHour>,
     &TotalOf<&PlayerRecord::deaths>},
    WeaponStatistic<Weapon::kMachinegun>(1011, " : MG Frags", "machinegun"),
    WeaponStatistic<Weapon::kShotgun>(1013, " : Sg Frags", "shotgun"),
    WeaponStatistic<Weapon::kRocket>(1014, " : RL Frags", "rocket"),
    WeaponStatistic<Weapon::kGrenade>(1015, " : GL Frags", "grenade"),
    WeaponStatistic<Weapon::kLightning>(1016, " : LG Frags", "lightning"),
    WeaponStatistic<Weapon::kPlasma>(1017, " : PG Frags", "plasma"),
    WeaponStatistic<Weapon::kRailgun>(1018, " : RG Frags", "railgun"),
    WeaponStatistic<Weapon::kBfg>(1019, " : BFG Frags", "bfg"),
    WeaponStatistic<Weapon::kGauntlet>(1021, " : Gaunt Frags", "gauntlet"),
}};

int32_t GraphStatistic::Count(const PlayerGame& game) const {
  if (fixed != nullptr) return fixed->count(game);
  if (weapon >= 0) return game.WeaponFrags(weapon);
  return variable.server ? game.ServerVar(variable.number) : game.ClientVar(variable.number);
}

float GraphStatistic::GameRate(const PlayerGame& game) const {
  return PerHour() ? fixed->gameRate(game) : 0.0f;
}

int32_t GraphStatistic::Total(const PlayerRecord& player) const {
  if (fixed != nullptr) return fixed->total(player);
  return weapon >= 0 ? player.WeaponFrags(weapon) : variable.TotalOf(player);
}

std::vector<GraphSlot> GraphSlots(const VexoriumDoc& doc) {
  std::vector<GraphSlot> slots;
  for (WeaponId weapon : OtherWeaponsInLoad(doc)) {
    if (doc.options.Shows(weapon)) slots.push_back({weapon, {}});
  }
  for (const VisibleVariable& variable : VisibleVariables(doc)) {
    slots.push_back({-1, variable});
  }
  return slots;
}

bool GraphShowsQuake3Weapons(const VexoriumDoc& doc) {
  return WeaponSetsInLoad(doc)[static_cast<size_t>(WeaponSet::kQuake3)];
}

GraphChoice ChoiceFromView(const VexoriumDoc& doc, const std::vector<int32_t>& mainSelection,
                           const std::vector<int32_t>& weaponSelection,
                           const std::function<bool(int controlId)>& boxChecked,
                           const std::function<bool(int slot)>& slotChecked) {
  GraphChoice choice;
  int32_t last = std::min(doc.nameCount, VexoriumDoc::kMaxPlayers);
  for (int32_t p = 1; p <= last; ++p) {
    if (Selected(mainSelection, p) || Selected(weaponSelection, p)) choice.players.push_back(p);
  }
  std::vector<GraphSlot> slots = GraphSlots(doc);
  std::vector<GraphStatistic> weapons;
  for (size_t j = 1; j <= slots.size(); ++j) {
    if (!slotChecked(static_cast<int>(j))) continue;
    const GraphSlot& slot = slots[j - 1];
    if (slot.weapon >= 0) {
      weapons.push_back(OtherWeaponStatistic(slot.weapon));
    } else {
      choice.statistics.push_back(VariableStatistic(slot.variable));
    }
  }
  size_t shown =
      GraphShowsQuake3Weapons(doc) ? kGraphStatistics.size() : kFirstQuake3WeaponStatistic;
  for (size_t i = 0; i < shown; ++i) {
    const GraphStatisticInfo& info = kGraphStatistics[i];
    if (boxChecked(info.controlId)) choice.statistics.push_back(FixedStatistic(info));
  }
  choice.statistics.insert(choice.statistics.end(), weapons.begin(), weapons.end());
  choice.cumulative = boxChecked(kCumulativeGraphingId);
  choice.playedOnly = boxChecked(kShowOnlyGamesPlayedId);
  return choice;
}

bool ChoiceFromNames(const VexoriumDoc& doc, const std::vector<std::string>& playerNames,
                     const std::vector<std::string>& statisticNames, GraphChoice* choice,
                     std::string* error) {
  int32_t last = std::min(doc.nameCount, VexoriumDoc::kMaxPlayers);
  for (const std::string& name : playerNames) {
    int32_t found = 0;
    for (int32_t p = 1; p <= last && found == 0; ++p) {
      if (doc.players[static_cast<size_t>(p)].name == name) found = p;
    }
    if (found == 0) {
      *error = "no player is named \"" + name + "\"";
      return false;
    }
    choice->players.push_back(found);
  }
  std::sort(choice->players.begin(), choice->players.end());
  choice->players.erase(std::unique(choice->players.begin(), choice->players.end()),
                        choice->players.end());
  std::vector<VisibleVariable> visible = VisibleVariables(doc);
  std::vector<WeaponId> otherWeapons = OtherWeaponsInLoad(doc);
  for (const std::string& name : statisticNames) {
    auto fixed = std::find_if(kGraphStatistics.begin(), kGraphStatistics.end(),
                              [&](const auto& info) { return name == info.commandLineName; });
    auto variable = std::find_if(visible.begin(), visible.end(),
                                 [&](const auto& v) { return *v.name == name; });
    WeaponId weapon = WeaponOfKey(name);
    if (fixed != kGraphStatistics.end()) {
      choice->statistics.push_back(FixedStatistic(*fixed));
    } else if (weapon >= kWeaponCount && std::ranges::count(otherWeapons, weapon) > 0) {
      choice->statistics.push_back(OtherWeaponStatistic(weapon));
    } else if (variable != visible.end()) {
      choice->statistics.push_back(VariableStatistic(*variable));
    } else {
      *error = "no statistic and no visible custom variable is named \"" + name + "\"";
      return false;
    }
  }
  SortStatistics(&choice->statistics);
  return true;
}

std::vector<std::string> DrawGraphWarnings(const GraphChoice& choice) {
  std::vector<std::string> warnings;
  if (choice.statistics.empty()) warnings.push_back("There are no variables selected to graph!");
  if (choice.players.empty()) warnings.push_back("There are no players selected!");
  if (warnings.empty() && choice.SeriesCount() > kMostSeries) {
    warnings.push_back(TooManySeriesWarning(choice.SeriesCount()));
  }
  return warnings;
}

std::string TooManySeriesWarning(int32_t series) {
  return "You are trying to graph " + std::to_string(series) +
         " variables. Thats too many! You should delete some.";
}

}  // namespace vexor
