// Writes games as an Urban Terror 4.3 server logs them: a game clock on every line, the whole
// user information after every connect ("ClientUserinfo:") before the short form
// ("ClientUserinfoChanged:" with the name without blanks), rounds, hits before the kills,
// assists, flags, and a "MOD_CHANGE_TEAM" kill line at every team change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FamilyLogWriter.h"

namespace vexor::bench {

class UrbanTerrorLogWriter : public FamilyLogWriter {
 public:
  UrbanTerrorLogWriter(const GeneratorOptions& options, const PlayerPool& pool, LineBuffer& out,
                       uint64_t seed);

  void Finish(GeneratorSummary* summary) override;

 protected:
  // The game takes the blanks out of a name; a reader also drops the colour codes.
  std::string ReaderName(std::string_view raw) const override;
  void AppendName(std::string_view raw) override;
  void WriteStart(const GamePlan& plan) override;
  void WriteConnect(const GamePlan& plan, const Participant& p, int32_t slot,
                    int32_t time) override;
  void WriteRename(const GamePlan& plan, const Participant& p, int32_t time) override;
  void WriteTeamChange(const GamePlan& plan, const Participant& p, int32_t time) override;
  void WriteItem(const GamePlan& plan, const Participant& p, std::string_view item,
                 int32_t time) override;
  void WriteSay(const GamePlan& plan, const Participant& p, int32_t text, int32_t time) override;
  void BeforeKill(const GamePlan& plan, const PlannedKill& kill) override;
  void AfterKill(const GamePlan& plan, const PlannedKill& kill) override;
  void Advance(const GamePlan& plan, int32_t time) override;
  void WriteEnd(const GamePlan& plan) override;

 private:
  // "ClientUserinfo: N \ip\...\name\RAW\..." and "ClientUserinfoChanged: N n\NAME\t\TEAM...".
  void WriteInfo(const Participant& p, int32_t slot, std::string_view raw, int32_t team,
                 int32_t time);
  void WriteRound(const GamePlan& plan, int32_t time);
  void WriteSurvivor(const GamePlan& plan, int32_t time);

  const char* m_settings;
  const char* m_hostname;
  const char* m_version;
  int32_t m_nextRound = 0;  // when the next round starts; past the game when none
  int32_t m_roundsPlayed = 0;
};

}  // namespace vexor::bench
