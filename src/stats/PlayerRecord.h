// A player's record: totals over the load and the values of every game the player took part in.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/TextNumbers.h"
#include "stats/Weapons.h"

namespace vexor {

// Frags by weapon beyond Quake III's nine (weapons kWeaponCount onward), made only when a game
// of another family counts one: most loads have none.
class OtherWeaponFrags {
 public:
  int32_t Get(WeaponId weapon) const {
    size_t i = static_cast<size_t>(weapon - kWeaponCount);
    return i < m_frags.size() ? m_frags[i] : 0;
  }
  int32_t& At(WeaponId weapon) {
    size_t i = static_cast<size_t>(weapon - kWeaponCount);
    if (i >= m_frags.size()) m_frags.resize(kOtherWeaponCount, 0);
    return m_frags[i];
  }
  bool Empty() const { return m_frags.empty(); }

 private:
  std::vector<int32_t> m_frags;
};

// One player's values in one game.
struct PlayerGame {
  int32_t frags = 0;
  int32_t deaths = 0;
  int32_t suicides = 0;
  int32_t seconds = 0;  // 1 while the player is merely present
  int32_t team = 0;     // 0 none, 1 blue, 2 red
  float fragsPerHour = 0;
  float deathsPerHour = 0;
  float suicidesPerHour = 0;
  std::array<int32_t, kWeaponCount> weaponFrags{};  // indexed by Weapon
  OtherWeaponFrags otherWeaponFrags;
  // Custom-variable counts indexed by variable number; entries past the end read 0.
  std::vector<int32_t> clientVarCounts;
  std::vector<int32_t> serverVarCounts;

  int32_t ClientVar(int v) const { return CountAt(clientVarCounts, v); }
  int32_t ServerVar(int v) const { return CountAt(serverVarCounts, v); }
  // Frags with any weapon (0 to kAllWeaponCount - 1).
  int32_t WeaponFrags(WeaponId weapon) const {
    return weapon < kWeaponCount ? weaponFrags[static_cast<size_t>(weapon)]
                                 : otherWeaponFrags.Get(weapon);
  }
  int32_t& WeaponFragsRef(WeaponId weapon) {
    return weapon < kWeaponCount ? weaponFrags[static_cast<size_t>(weapon)]
                                 : otherWeaponFrags.At(weapon);
  }
  // The counter of variable v, created (as 0) when needed. v must be 0 or more; the counters up
  // to `last` are made at the same time (a set's count: a game's counters are made once).
  int32_t& ClientVarRef(int v, int last = 0) { return GrowTo(clientVarCounts, v, last); }
  int32_t& ServerVarRef(int v, int last = 0) { return GrowTo(serverVarCounts, v, last); }

 private:
  static int32_t CountAt(const std::vector<int32_t>& counts, int v) {
    return v >= 0 && static_cast<size_t>(v) < counts.size() ? counts[static_cast<size_t>(v)] : 0;
  }
  static int32_t& GrowTo(std::vector<int32_t>& counts, int v, int last) {
    if (static_cast<size_t>(v) >= counts.size()) {
      counts.resize(static_cast<size_t>(std::max(v, last)) + 1, 0);
    }
    return counts[static_cast<size_t>(v)];
  }
};

// A player's per-game values, kept only for the games in which something was set: a load of
// thousands of games and players needs a few entries per player, not one per game. Reading a
// game without an entry gives all zeros.
class GameSeries {
 public:
  // The values of the game; a zero entry when the player has none there.
  const PlayerGame& Get(int32_t game) const;
  // The values of the game for writing; a zero entry is created when there is none.
  PlayerGame& At(int32_t game) {
    // The statistics pass only moves forward through the games: the entry is nearly always the
    // last one.
    if (!m_games.empty() && m_games.back() == game) return m_values.back();
    return Insert(game);
  }
  void Clear();

  size_t EntryCount() const { return m_games.size(); }
  int32_t GameAt(size_t entry) const { return m_games[entry]; }
  const PlayerGame& ValueAt(size_t entry) const { return m_values[entry]; }
  PlayerGame& ValueAt(size_t entry) { return m_values[entry]; }

 private:
  PlayerGame& Insert(int32_t game);

  std::vector<int32_t> m_games;  // ascending
  std::vector<PlayerGame> m_values;
};

struct PlayerRecord {
  int32_t frags = 0;
  int32_t deaths = 0;
  int32_t suicides = 0;
  int32_t gamesPlayed = 0;
  int32_t totalSeconds = 0;
  int32_t timeCreditFactor = 1;
  float skill = 0;
  int32_t hours = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  std::string timeText;
  std::string connectTime;
  std::string disconnectTime;
  // Connected and not yet disconnected (or credited at the game's end).
  bool HasOpenConnection() const { return !connectTime.empty() && disconnectTime.empty(); }
  // The key name and the client slot are indexed by the document: change them only through
  // VexoriumDoc::SetPlayerName and VexoriumDoc::SetClientSlot.
  std::string name;
  std::string rawName;
  std::string clientSlot = "-99";
  float fragsPerHour = 0;
  float deathsPerHour = 0;
  float suicidesPerHour = 0;
  std::array<int32_t, kWeaponCount> weaponFrags{};  // totals, indexed by Weapon
  OtherWeaponFrags otherWeaponFrags;                // totals of the other games' weapons
  std::vector<int32_t> clientVarTotals;             // entries 0 to the client variable count
  std::vector<int32_t> serverVarTotals;             // entries 0 to the server variable count
  GameSeries games;

  // Recomputes hours, minutes, seconds and the "%dh %dm %ds" text from the total seconds.
  void UpdateTimeText();
  // Frag totals with any weapon (0 to kAllWeaponCount - 1).
  int32_t WeaponFrags(WeaponId weapon) const {
    return weapon < kWeaponCount ? weaponFrags[static_cast<size_t>(weapon)]
                                 : otherWeaponFrags.Get(weapon);
  }
  int32_t& WeaponFragsRef(WeaponId weapon) {
    return weapon < kWeaponCount ? weaponFrags[static_cast<size_t>(weapon)]
                                 : otherWeaponFrags.At(weapon);
  }
};

// Adds amount to entry v of a custom-variable total series; an entry outside it is ignored.
inline void AddToVariable(std::vector<int32_t>& totals, int v, int32_t amount) {
  if (v < 0 || static_cast<size_t>(v) >= totals.size()) return;
  AddWrapping(&totals[static_cast<size_t>(v)], amount);
}

}  // namespace vexor
