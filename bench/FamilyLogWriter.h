// What the server-log writers of Urban Terror and Jedi Academy share: a game's events in time
// order, each written by the family's own lines, and the counts a reader should find, per
// player by the name it shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ServerLogBase.h"

namespace vexor::bench {

class FamilyLogWriter : public ServerLogBase {
 public:
  FamilyLogWriter(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                  uint64_t seed);

  void WriteGame(const GamePlan& plan) override;
  void Finish(GeneratorSummary* summary) override;

 protected:
  // The name a reader shows for a name as the player sent it.
  virtual std::string ReaderName(std::string_view raw) const = 0;
  // Sets where the game's lines start in time; by default the game clock starts again or runs
  // on as the plan says.
  virtual void StartClock(const GamePlan& plan);
  // "InitGame:" and what comes with it.
  virtual void WriteStart(const GamePlan& plan) = 0;
  virtual void WriteConnect(const GamePlan& plan, const Participant& p, int32_t slot,
                            int32_t time) = 0;
  virtual void WriteRename(const GamePlan& plan, const Participant& p, int32_t time) = 0;
  virtual void WriteTeamChange(const GamePlan& plan, const Participant& p, int32_t time) = 0;
  virtual void WriteItem(const GamePlan& plan, const Participant& p, std::string_view item,
                         int32_t time) = 0;
  virtual void WriteSay(const GamePlan& plan, const Participant& p, int32_t text, int32_t time) = 0;
  // Lines before and after a kill line (hits, assists, a respawn); none by default.
  virtual void BeforeKill(const GamePlan&, const PlannedKill&) {}
  virtual void AfterKill(const GamePlan&, const PlannedKill&) {}
  // Called with the time of every event before it is written (rounds start and end here).
  virtual void Advance(const GamePlan&, int32_t) {}
  // The exit, the scores and "ShutdownGame:".
  virtual void WriteEnd(const GamePlan& plan) = 0;

  // Whether lines other than kill lines name players: not on a server that logs no
  // connections (names only in the kill lines).
  bool NamesOutsideKills() const { return !m_options.noUserinfo; }
  void WriteDisconnect(int32_t slot, int32_t time);
  // A chat text (GameEvents' value of a chat event) after what the caller wrote; ends the line.
  void EndWithChat(int32_t text);
  // "WORDN": "ClientBegin: 3".
  void WriteSlotLine(std::string_view word, int32_t slot, int32_t time);
  // "Exit: ..." when the game ends by a limit (and noise is on); true when written.
  bool WriteExit(const GamePlan& plan);
  // "ShutdownGame:" and the separator, when the game has them.
  void WriteShutdown(const GamePlan& plan);
  // The pool player's address as servers log it ("192.0.2.17:27960"), the same in every game:
  // addresses kept for documentation only.
  void AppendAddress(int32_t player);
  // A participant other than a and b connected at the time, or -1.
  int32_t SomeoneElse(const GamePlan& plan, int32_t time, int32_t a, int32_t b);

  int64_t m_teamChanges = 0;

 private:
  // Per pool player: what a reader should credit him with.
  struct Counts {
    bool seen = false;  // a reader finds him
    int64_t frags = 0, deaths = 0, suicides = 0;
    std::vector<int64_t> byMeans;  // frags by means (index in the frag table)
  };

  void WriteKill(const GamePlan& plan, const PlannedKill& kill);
  void CountKill(const GamePlan& plan, const PlannedKill& kill);
  Counts& CountsOf(const GamePlan& plan, int16_t participant);
  PlayerTally TallyOf(const Counts& counts) const;

  std::vector<Counts> m_counts;
  std::vector<std::string> m_gameTypes;
  int64_t m_games = 0, m_shutdowns = 0, m_connects = 0, m_disconnects = 0, m_renames = 0;
  int64_t m_characterKills = 0;
};

}  // namespace vexor::bench
