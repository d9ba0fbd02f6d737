// Writes games as a Jedi Academy server (OpenJK with the JA++ mod) logs them: every line
// stamped with the wall clock, "InitGame:" followed by an empty stamped line and the mod's
// unstamped version line, names in the connect lines ("ClientConnect: 3 (Name^7) [IP: ...]"),
// renames, team choices, and the level's non-player characters in kill lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FamilyLogWriter.h"
#include "WallClock.h"

namespace vexor::bench {

class JediAcademyLogWriter : public FamilyLogWriter {
 public:
  JediAcademyLogWriter(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                       uint64_t seed);

 protected:
  std::string ReaderName(std::string_view raw) const override { return StripColours(raw); }
  void Begin(int32_t time) override;
  void StartClock(const GamePlan& plan) override;
  void WriteStart(const GamePlan& plan) override;
  void WriteConnect(const GamePlan& plan, const Participant& p, int32_t slot,
                    int32_t time) override;
  void WriteRename(const GamePlan& plan, const Participant& p, int32_t time) override;
  void WriteTeamChange(const GamePlan& plan, const Participant& p, int32_t time) override;
  void WriteItem(const GamePlan& plan, const Participant& p, std::string_view item,
                 int32_t time) override;
  void WriteSay(const GamePlan& plan, const Participant& p, int32_t text, int32_t time) override;
  void WriteEnd(const GamePlan& plan) override;

 private:
  // "ClientUserinfoChanged: N n\NAME\t\TEAM\model\...".
  void WriteInfo(const Participant& p, int32_t slot, std::string_view raw, int32_t team,
                 int32_t time);
  // "setteam:  N OLD NEW".
  void WriteSetTeam(int32_t slot, int32_t from, int32_t to, int32_t time);

  WallClock m_clock;
  int64_t m_start = 0;  // the wall clock at the game's start, seconds from 1970
  const char* m_settings;
  const char* m_hostname;
};

}  // namespace vexor::bench
