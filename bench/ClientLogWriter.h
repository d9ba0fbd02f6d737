// Writes games as a game client's console log shows them: the engine's start-up messages, a
// map load and "CL_InitCGame:" for every game, "entered the game" for every player, and kills
// as the obituary and suicide messages the client prints. No clocks, no client numbers.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "GameEvents.h"
#include "GeneratorOptions.h"
#include "LineBuffer.h"
#include "LogWriter.h"
#include "PlayerPool.h"
#include "Random.h"

namespace vexor::bench {

class ClientLogWriter : public LogWriter {
 public:
  ClientLogWriter(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                  uint64_t seed);

  void WriteGame(const GamePlan& plan) override;
  void Finish(GeneratorSummary* summary) override;

 private:
  void Line(std::string_view text);
  void WriteStartup();
  void WriteMapChange(const GamePlan& plan);
  // The name followed by "^7", as the client prints every name.
  void Name(const Participant& p, int32_t time);
  void WriteEntered(const Participant& p, int32_t stint, int32_t time);
  void WriteKill(const GamePlan& plan, const PlannedKill& kill);
  void WriteSay(const GamePlan& plan, const Participant& p, int32_t text, int32_t time);
  void WriteExit(const GamePlan& plan);

  const GeneratorOptions& m_options;
  const PlayerPool& m_pool;
  LineBuffer& m_out;
  Random m_random;
  GameEvents m_events;
  bool m_started = false;
  std::unordered_set<std::string> m_names;
  std::vector<int64_t> m_formCounts;  // by kill form (KillFormAt)
  int64_t m_games = 0, m_mapLoads = 0, m_entries = 0, m_chat = 0, m_renames = 0;
  int64_t m_teamKills = 0;
};

}  // namespace vexor::bench
