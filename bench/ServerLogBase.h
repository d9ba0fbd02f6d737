// What the server-log writers of every game family share: the line start (a game clock unless
// a family stamps its lines otherwise), the settings of "InitGame:", kill and score lines, and
// the counts of the means of death written.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "GameEvents.h"
#include "GeneratorOptions.h"
#include "LineBuffer.h"
#include "LogWriter.h"
#include "PlayerPool.h"
#include "Random.h"

namespace vexor::bench {

class ServerLogBase : public LogWriter {
 public:
  ServerLogBase(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                uint64_t seed);

 protected:
  // Starts a line at the time (seconds after the game's start): the game clock, minutes
  // right-aligned ("  0:07 ").
  virtual void Begin(int32_t time);
  // Appends a player's name as the family's lines show it (Quake 3: as sent).
  virtual void AppendName(std::string_view raw);

  // The "-----" line around a game (none without noise).
  void WriteSeparator(int32_t time);
  // The settings of "InitGame:" from a template in which $H stands for the host name, $T the
  // game type, $F the frag limit, $L the time limit, $C the capture limit, $X the client limit,
  // $V the version and $M the map.
  void AppendSettings(const char* settings, const GamePlan& plan, std::string_view hostname,
                      std::string_view version);
  // Starts "ClientUserinfoChanged: N n\NAME\t\TEAM" (the name through AppendName); the caller
  // adds the rest and ends the line.
  void BeginInfoChanged(int32_t time, int32_t slot, std::string_view raw, int32_t team);
  // The numbers with a blank between each two ("3 5 19").
  void AppendNumbers(std::initializer_list<int64_t> numbers);
  // "Kill: K V N: A killed B by NAME" at the time; both names go through AppendName.
  void WriteKillLine(int32_t time, int32_t killerSlot, int32_t victimSlot, const MeansOfDeath& mod,
                     std::string_view killer, std::string_view victim);
  // "score: S  ping: P  client: N NAME" for every player still connected at the end, best
  // score first.
  void WriteScoreLines(const GamePlan& plan);
  // "red:R  blue:B" of a team game.
  void WriteTeamScores(const GamePlan& plan);
  // The client number of the participant's connection at the time.
  static int32_t SlotAt(const Participant& p, int32_t time);
  // Counts a kill line by its means, for the summary's "mod." counts.
  void CountMeans(const PlannedKill& kill) {
    ++m_modCounts[static_cast<size_t>(kill.kind)][kill.mod];
  }
  // Adds "frags", "worldKills", "selfKills", "kills" and one "mod.NAME" count per means.
  void SummariseMeans(GeneratorSummary* summary) const;

  const GeneratorOptions& m_options;
  const PlayerPool& m_pool;
  LineBuffer& m_out;
  Random m_random;
  GameEvents m_events;
  int64_t m_base = 0;             // the game clock at the game's start
  int64_t m_end = 0;              // the game clock at the last game's end
  std::vector<int32_t> m_scores;  // per participant of the game being written

 private:
  std::array<std::vector<int64_t>, 3> m_modCounts;
};

}  // namespace vexor::bench
