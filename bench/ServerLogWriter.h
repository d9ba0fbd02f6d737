// Writes games as a Quake 3 or OpenArena server logs them: a game clock and an event word on
// every line, "InitGame:" with the server settings, connections with their user-information
// lines, kills with client numbers and means of death, and the noise real servers add.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ServerLogBase.h"

namespace vexor::bench {

class ServerLogWriter : public ServerLogBase {
 public:
  ServerLogWriter(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                  uint64_t seed);

  void WriteGame(const GamePlan& plan) override;
  void Finish(GeneratorSummary* summary) override;

 private:
  void WriteInitGame(const GamePlan& plan);
  void WriteConnect(const GamePlan& plan, int32_t who, int32_t stint, int32_t time);
  void WriteUserinfo(const GamePlan& plan, const Participant& p, int32_t slot,
                     const std::string& raw, int32_t time);
  void WriteKill(const GamePlan& plan, const PlannedKill& kill);
  void WriteSay(const Participant& p, int32_t text, int32_t time);
  void WriteEnd(const GamePlan& plan);
  void CountKill(const PlannedKill& kill);
  // Follows the players a reader finds in a game: a name connected under a second client
  // number while its first is still connected makes it Name_1, a third Name_2; a player who
  // left (his number disconnected) and connects again under his name is the same player, on
  // any number. Also follows the seconds a reader credits each of them in the game.
  void TrackConnect(const std::string& key, int32_t slot, int32_t time);
  void TrackDisconnect(int32_t slot, int32_t time);
  // Whether a reader keeps the game on show: someone was credited more than 25 seconds.
  bool LastsLongEnough(const GamePlan& plan);

  // A player a reader finds in the current game.
  struct Tracked {
    int32_t slot = 0;
    int32_t connectedAt = -1;  // the open connection's start; -1 when none is open
    bool left = false;
    bool returned = false;
    int32_t seconds = 0;
    // Credits the open connection up to the time.
    void Credit(int32_t time);
  };
  struct TrackedName {
    std::string key;
    size_t index = 0;
  };

  const char* m_template;
  const char* m_hostname;
  const char* m_version;
  std::unordered_map<std::string, std::vector<Tracked>> m_gamePlayers;
  std::unordered_map<int32_t, TrackedName> m_slotHolders;  // the latest connect of each number
  std::unordered_set<std::string> m_names;
  int64_t m_games = 0, m_shutdowns = 0, m_shortGames = 0, m_hidden = 0;
  int64_t m_connects = 0, m_disconnects = 0, m_renames = 0;
  // What a reader should find: totals over all players, frags in the kill tables, and the
  // names present summed over the games.
  int64_t m_frags = 0, m_deaths = 0, m_suicides = 0, m_weaponFrags = 0, m_tableFrags = 0;
  int64_t m_presence = 0;
};

}  // namespace vexor::bench
