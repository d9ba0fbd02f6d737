// The plan of one game, shared by the server-log and the client-log writers: settings, who
// plays when under which client number and name, and every kill with its time and means.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "GameFamily.h"
#include "GeneratorOptions.h"
#include "MeansOfDeath.h"
#include "PlayerPool.h"
#include "Random.h"

namespace vexor::bench {

// One connection of a player: from join to leave, in seconds after the game's start.
struct Stint {
  int32_t join = 0;
  int32_t leave = 0;         // the game's end when the player stays
  int32_t slot = 0;          // client number
  bool disconnects = false;  // a "ClientDisconnect:" ends it, otherwise the game's end
};

struct Participant {
  int32_t player = 0;   // in the pool
  std::string raw;      // the name connected with
  std::string renamed;  // the name after renameAt; empty when the player keeps his name
  int32_t renameAt = -1;
  bool keyChanged = false;    // the rename changes the name without colour codes too
  int32_t team = 0;           // 0 none, 1 red, 2 blue (the userinfo "t" value)
  int32_t teamChangeAt = -1;  // Urban Terror and Jedi Academy: when he joins the other team
  std::array<Stint, 2> stints;
  int32_t stintCount = 1;

  int32_t TeamAt(int32_t time) const {
    return teamChangeAt >= 0 && time >= teamChangeAt ? 3 - team : team;
  }
  const std::string& NameAt(int32_t time) const {
    return renameAt >= 0 && time >= renameAt ? renamed : raw;
  }
  // True when the new name comes between the connect and "ClientBegin:".
  bool RenamedAtBegin() const { return renameAt >= 0 && renameAt == stints[0].join; }
  // True when the name at the time still has the key the player connected with.
  bool KeyIntactAt(int32_t time) const { return !keyChanged || time < renameAt; }
  // The stint connected at the time (strictly after its join, before its leave); -1 if none.
  int32_t StintAt(int32_t time) const {
    for (int32_t s = 0; s < stintCount; ++s) {
      const Stint& stint = stints[static_cast<size_t>(s)];
      if (time > stint.join && time < stint.leave) return s;
    }
    return -1;
  }
};

struct PlannedKill {
  int32_t time = 0;
  int16_t killer = -1;  // participant; -1 for the world (or the non-player character)
  int16_t victim = 0;   // participant; -1 for the non-player character
  KillKind kind = KillKind::kFrag;
  uint8_t mod = 0;  // index in MeansOfDeathOf(kind, flavour)
  // Jedi Academy: a non-player character of the level kills a player (killer -1, a frag), dies
  // by a player (victim -1, a frag) or by the level (both -1, a world kill). Its index in
  // NonPlayerCharacters() and its client number, 32 and up; npc is -1 in every other kill.
  int16_t npc = -1;
  int16_t npcSlot = 0;
  // The participant the kill line belongs to: the victim, or the killer of a character.
  int16_t Subject() const { return victim >= 0 ? victim : killer; }
};

struct GamePlan {
  int32_t number = 0;  // from 1
  int32_t gameType = 0;
  const GameTypeInfo* type = nullptr;  // of gameType
  std::string map;
  int32_t fragLimit = 0;
  int32_t timeLimit = 0;  // minutes
  int32_t captureLimit = 0;
  int32_t duration = 0;              // seconds from the start to the exit (or to the crash)
  int32_t shutdownAt = 0;            // seconds from the start to "ShutdownGame:"
  bool shortGame = false;            // planned to last less than 25 seconds
  bool shutdown = true;              // the game ends with "ShutdownGame:"
  bool restartsClock = false;        // the server's clock starts again at 0:00 with this game
  const char* exitReason = nullptr;  // "Fraglimit hit." ...; none when the game just stops
  std::vector<Participant> participants;
  std::vector<PlannedKill> kills;  // in time order

  bool IsTeamGame() const { return type != nullptr && type->team; }
};

class GamePlanner {
 public:
  GamePlanner(const GeneratorOptions& options, const PlayerPool& pool, uint64_t seed);

  // Plans game number (from 1); plan is reused from game to game.
  void Plan(int32_t number, GamePlan* plan);

  // Pool players that have played so far.
  int32_t Introduced() const { return m_introduced; }

 private:
  void ChooseSettings(GamePlan* plan);
  void ChooseDuration(GamePlan* plan);
  void ChooseRoster(GamePlan* plan);
  void AddParticipant(GamePlan* plan, int32_t player);
  void PlanStints(GamePlan* plan);
  void PlanTeamChanges(GamePlan* plan);
  void AssignLowestSlots(GamePlan* plan);
  void PlanRenames(GamePlan* plan);
  bool PlanBeginRename(Participant* p);
  void PlanKills(GamePlan* plan);
  // Kind, means, victim and killer of a kill among the players connected at its time; false
  // when the kill drawn cannot happen (a frag with one player connected).
  bool PlanKill(const GamePlan& plan, const std::vector<int16_t>& connected, PlannedKill* kill);
  // Jedi Academy: a kill of or by a non-player character, or the level killing one.
  void PlanCharacterKill(const std::vector<int16_t>& connected, PlannedKill* kill);
  // Team games of every family but Quake 3: the killer drawn, or most of the time a player of
  // the other team at the time.
  uint32_t OpponentOf(const GamePlan& plan, const std::vector<int16_t>& connected, uint32_t victim,
                      uint32_t killer, int32_t time);
  bool PlanShowcaseKill(const GamePlan& plan, const std::vector<int16_t>& connected, KillKind kind,
                        PlannedKill* kill);

  const GeneratorOptions& m_options;
  const PlayerPool& m_pool;
  Random m_random;
  bool m_quake;  // Quake 3 or OpenArena, whose logs stay what they were before other families
  std::vector<int> m_types;          // the game types drawn from
  int32_t m_introduced = 0;          // pool players 0 to m_introduced - 1 have played
  bool m_lastCrashed = false;        // the last game ended without "ShutdownGame:"
  std::vector<uint32_t> m_inGame;    // per pool player: the game number it was last picked for
  std::vector<bool> m_showcaseDone;  // kill forms the walk through every form has shown
  int32_t m_showcaseLeft;
  std::vector<int16_t> m_connected;
};

}  // namespace vexor::bench
