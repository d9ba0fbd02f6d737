// What the server-log and the client-log writers share: a game at a time in, counts out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "GamePlan.h"

namespace vexor::bench {

// What a reader should credit one player with in an Urban Terror or Jedi Academy log.
struct PlayerTally {
  int64_t frags = 0;
  int64_t deaths = 0;
  int64_t suicides = 0;                          // including deaths by the world
  std::map<std::string, int64_t> fragsByMeans;   // "UT_MOD_LR300"
  std::map<std::string, int64_t> fragsByWeapon;  // "LR300": the weapon the means stand for

  // 0 when the player has no frag by the means (or weapon).
  int64_t FragsBy(const std::string& meansOrWeapon) const;
};

// Counts of what a generated log holds, by name ("games", "mod.MOD_ROCKET", ...), so that a
// test can compare them with what a reader finds. Logs of Urban Terror and Jedi Academy also
// give every player's counts by the name a reader shows (colour codes removed) and every game's
// type by the name a reader shows.
class GeneratorSummary {
 public:
  void Add(const std::string& key, int64_t amount = 1) { m_values[key] += amount; }
  void Set(const std::string& key, int64_t value) { m_values[key] = value; }
  // 0 when the key was never counted.
  int64_t Get(const std::string& key) const;

  void SetPlayer(const std::string& name, PlayerTally tally) { m_players[name] = std::move(tally); }
  // Every player a reader should find, by name.
  const std::map<std::string, PlayerTally>& Players() const { return m_players; }
  // The player's counts; all 0 for a name a reader should not find.
  const PlayerTally& Player(const std::string& name) const;
  void AddGameType(std::string name) { m_gameTypes.push_back(std::move(name)); }
  // The type of every game, in log order ("Team Survivor").
  const std::vector<std::string>& GameTypes() const { return m_gameTypes; }

  // One "key value" line per count, in key order; then "player.NAME.frags N" (deaths,
  // suicides, weapon.WEAPON, means.MOD) per player and "gameType.N NAME" per game, if any.
  std::string Text() const;

 private:
  std::map<std::string, int64_t> m_values;
  std::map<std::string, PlayerTally> m_players;
  std::vector<std::string> m_gameTypes;
};

class LogWriter {
 public:
  virtual ~LogWriter() = default;
  // Writes the lines of one game; games come in order.
  virtual void WriteGame(const GamePlan& plan) = 0;
  // Writes what follows the last game and adds the counts to the summary.
  virtual void Finish(GeneratorSummary* summary) = 0;
};

}  // namespace vexor::bench
