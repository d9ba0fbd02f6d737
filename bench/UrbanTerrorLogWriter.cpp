#include "UrbanTerrorLogWriter.h"

#include <climits>
#include <iterator>

#include "FamilyMeans.h"

namespace vexor::bench {
namespace {

// "InitGame:" (and "InitRound:") settings in two key orders; placeholders as in
// ServerLogBase::AppendSettings.
constexpr const char* kSettings[] = {
    "\\sv_allowdownload\\1\\g_matchmode\\0\\g_gametype\\$T\\sv_maxclients\\$X"
    "\\sv_floodprotect\\1\\capturelimit\\$C\\sv_hostname\\$H\\g_followstrict\\1"
    "\\fraglimit\\$F\\timelimit\\$L\\g_swaproles\\0\\g_roundtime\\3\\g_hotpotato\\2"
    "\\g_waverespawns\\0\\g_redwave\\10\\g_bluewave\\10\\g_respawndelay\\8\\g_suddendeath\\0"
    "\\g_maxrounds\\0\\g_friendlyfire\\1\\g_allowvote\\536871039\\g_armbands\\0\\g_funstuff\\1"
    "\\g_instagib\\0\\g_stratTime\\0\\g_stamina\\0\\g_walljumps\\3\\g_deadchat\\1"
    "\\g_maxGameClients\\0\\g_gear\\0\\g_skins\\1\\sv_maxPing\\0\\sv_minPing\\0\\sv_maxRate\\0"
    "\\sv_minRate\\0\\version\\$V\\protocol\\68\\mapname\\$M\\sv_privateClients\\0"
    "\\gamename\\q3urt43\\g_needpass\\0\\g_enableDust\\0\\g_enableBreath\\0\\g_antilagvis\\0"
    "\\g_enablePrecip\\0\\auth\\0\\auth_status\\init\\g_modversion\\4.3.4",
    "\\sv_hostname\\$H\\g_gametype\\$T\\sv_maxclients\\$X\\g_friendlyfire\\1\\fraglimit\\$F"
    "\\timelimit\\$L\\capturelimit\\$C\\g_roundtime\\4\\g_matchmode\\0\\g_gear\\0"
    "\\g_allowvote\\536871039\\version\\$V\\protocol\\68\\mapname\\$M\\sv_privateClients\\2"
    "\\g_needpass\\0\\g_modversion\\4.3.4\\gamename\\q3urt43\\auth\\1\\auth_status\\public",
};

constexpr const char* kHostnames[] = {"^7Urban ^1Zone ^7| TS", "Public CTF Server",
                                      "|ZK| Clan Server", "^3Rifles ^7Only ^2[EU]"};

constexpr const char* kVersions[] = {"ioQ3 1.35 urt 4.3.4 linux-x86_64 Jun  7 2018",
                                     "ioQ3 1.35 urt 4.3.4 win-x86 Jun  7 2018"};

constexpr const char* kInitAuth =
    "InitAuth: \\auth\\0\\auth_status\\init\\auth_cheaters\\1\\auth_tags\\1\\auth_notoriety\\0"
    "\\auth_groups\\\\auth_owners\\\\auth_verbosity\\1";

// Where a hit lands, by the number "Hit:" lines give it (from 1).
constexpr const char* kHitLocations[] = {
    "Head",           "Helmet",          "Torso",     "Vest",           "Left Arm",
    "Right Arm",      "Groin",           "Butt",      "Left Upper Leg", "Right Upper Leg",
    "Left Lower Leg", "Right Lower Leg", "Left Foot", "Right Foot"};

constexpr int32_t kSpectators = 3;  // the "t" value of a player who has not joined a team

}  // namespace

UrbanTerrorLogWriter::UrbanTerrorLogWriter(const GeneratorOptions& options, const PlayerPool& pool,
                                           LineBuffer& out, uint64_t seed)
    : FamilyLogWriter(options, pool, out, seed) {
  m_settings = Pick(kSettings, m_random);
  m_hostname = Pick(kHostnames, m_random);
  m_version = Pick(kVersions, m_random);
}

std::string UrbanTerrorLogWriter::ReaderName(std::string_view raw) const {
  std::string name;
  for (char c : raw) {
    if (c != ' ') name += c;
  }
  return StripColours(name);
}

void UrbanTerrorLogWriter::AppendName(std::string_view raw) {
  for (char c : raw) {
    if (c != ' ') m_out.Append(c);
  }
}

void UrbanTerrorLogWriter::WriteStart(const GamePlan& plan) {
  WriteSeparator(0);
  Begin(0);
  m_out.Append("InitGame: ");
  AppendSettings(m_settings, plan, m_hostname, m_version);
  m_out.EndLine();
  bool noise = m_options.noise > 0;
  if (noise) {
    Begin(0);
    m_out.Append("Warmup:");
    m_out.EndLine();
    Begin(0);
    m_out.Append(kInitAuth);
    m_out.EndLine();
  }
  m_roundsPlayed = 0;
  m_nextRound = noise && plan.type->rounds ? m_random.Between(5, 40) : INT_MAX;
}

void UrbanTerrorLogWriter::WriteInfo(const Participant& p, int32_t slot, std::string_view raw,
                                     int32_t team, int32_t time) {
  // The same challenge, port and key in every game (AppendAddress draws the same first number).
  Random keys(static_cast<uint64_t>(p.player) + 1);
  uint64_t hash = keys.Next();
  uint64_t halves[2] = {hash, keys.Next()};
  Begin(time);
  m_out.Append("ClientUserinfo: ");
  m_out.AppendInt(slot);
  m_out.Append(" \\ip\\");
  AppendAddress(p.player);
  m_out.Append("\\challenge\\");
  m_out.AppendInt(static_cast<int32_t>(hash >> 32));
  m_out.Append("\\qport\\");
  m_out.AppendInt(static_cast<int64_t>(hash % 65536));
  m_out.Append("\\protocol\\68\\snaps\\20\\name\\");
  m_out.Append(raw);
  m_out.Append("\\rate\\25000\\sex\\male\\handicap\\100\\color2\\5\\color1\\4\\authc\\0");
  m_out.Append("\\cl_guid\\");
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int i = 0; i < 32; ++i)
    m_out.Append(kHex[(halves[i / 16] >> (i % 16 * 4)) & 15]);
  m_out.EndLine();
  BeginInfoChanged(time, slot, raw, team);
  m_out.Append("\\r\\");
  m_out.AppendInt(p.player % 4);
  m_out.Append("\\tl\\0\\f0\\\\f1\\\\f2\\\\a0\\0\\a1\\0\\a2\\0");
  m_out.EndLine();
}

void UrbanTerrorLogWriter::WriteConnect(const GamePlan& plan, const Participant& p, int32_t slot,
                                        int32_t time) {
  const std::string& raw = p.NameAt(time);
  int32_t team = p.TeamAt(time);
  if (m_options.noise == 0) {
    WriteSlotLine("ClientConnect: ", slot, time);
    WriteInfo(p, slot, raw, team, time);
    return;
  }
  Begin(time);
  m_out.Append("Session data initialised for client on slot ");
  m_out.AppendInt(slot);
  m_out.Append(" at ");
  m_out.AppendInt((m_base + time) * 1000 + slot * 37 % 1000);
  m_out.EndLine();
  WriteSlotLine("ClientConnect: ", slot, time);
  // The client arrives as a spectator, is validated, then joins its team and begins.
  WriteInfo(p, slot, raw, kSpectators, time);
  Begin(time);
  m_out.Append("AccountValidated: ");
  m_out.AppendInt(slot);
  m_out.Append(" -  - 0 - \"0\"");
  m_out.EndLine();
  WriteInfo(p, slot, raw, team, time);
  WriteSlotLine("ClientBegin: ", slot, time);
  if (!plan.type->rounds) WriteSlotLine("ClientSpawn: ", slot, time);
}

void UrbanTerrorLogWriter::WriteRename(const GamePlan&, const Participant& p, int32_t time) {
  WriteInfo(p, SlotAt(p, time), p.renamed, p.TeamAt(time), time);
}

void UrbanTerrorLogWriter::WriteTeamChange(const GamePlan&, const Participant& p, int32_t time) {
  int32_t slot = SlotAt(p, time);
  const std::string& raw = p.NameAt(time);
  WriteKillLine(time, slot, slot, UrbanTerrorTeamChange(), raw, raw);
  WriteInfo(p, slot, raw, p.TeamAt(time), time);
  if (m_options.noise > 0) WriteSlotLine("ClientBegin: ", slot, time);
}

void UrbanTerrorLogWriter::WriteItem(const GamePlan&, const Participant& p, std::string_view item,
                                     int32_t time) {
  Begin(time);
  if (item.starts_with("team_CTF_")) {
    // A flag dropped (0), returned (1) or captured (2).
    m_out.Append("Flag: ");
    m_out.AppendInt(SlotAt(p, time));
    m_out.Append(' ');
    m_out.AppendInt(m_random.Below(3));
    m_out.Append(": ");
  } else {
    m_out.Append("Item: ");
    m_out.AppendInt(SlotAt(p, time));
    m_out.Append(' ');
  }
  m_out.Append(item);
  m_out.EndLine();
}

void UrbanTerrorLogWriter::WriteSay(const GamePlan& plan, const Participant& p, int32_t text,
                                    int32_t time) {
  Begin(time);
  m_out.Append(plan.IsTeamGame() && (text & 1) != 0 ? "sayteam: " : "say: ");
  m_out.AppendInt(SlotAt(p, time));
  m_out.Append(' ');
  AppendName(p.NameAt(time));
  m_out.Append(": ");
  EndWithChat(text);
}

void UrbanTerrorLogWriter::BeforeKill(const GamePlan& plan, const PlannedKill& kill) {
  const MeansOfDeath& mod = MeansOfDeathOf(kill.kind, m_options.flavour)[kill.mod];
  if (m_options.noise == 0 || kill.kind != KillKind::kFrag || mod.hitNumber == 0) return;
  // The hits that led to the kill: "Hit: VICTIM KILLER LOCATION WEAPON: ...".
  const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
  const Participant& victim = plan.participants[static_cast<size_t>(kill.victim)];
  int32_t hits = m_random.Between(1, 3);
  for (int32_t h = 0; h < hits; ++h) {
    uint32_t location = m_random.Below(static_cast<uint32_t>(std::size(kHitLocations)));
    Begin(kill.time);
    m_out.Append("Hit: ");
    AppendNumbers(
        {SlotAt(victim, kill.time), SlotAt(killer, kill.time), location + 1, mod.hitNumber});
    m_out.Append(": ");
    AppendName(killer.NameAt(kill.time));
    m_out.Append(" hit ");
    AppendName(victim.NameAt(kill.time));
    m_out.Append(" in the ");
    m_out.Append(kHitLocations[location]);
    m_out.EndLine();
  }
}

void UrbanTerrorLogWriter::AfterKill(const GamePlan& plan, const PlannedKill& kill) {
  if (m_options.noise == 0 || kill.kind != KillKind::kFrag) return;
  const Participant& victim = plan.participants[static_cast<size_t>(kill.victim)];
  const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
  int32_t helper =
      m_random.Chance(0.12) ? SomeoneElse(plan, kill.time, kill.killer, kill.victim) : -1;
  if (helper >= 0) {
    const Participant& assistant = plan.participants[static_cast<size_t>(helper)];
    Begin(kill.time);
    m_out.Append("Assist: ");
    AppendNumbers(
        {SlotAt(assistant, kill.time), SlotAt(killer, kill.time), SlotAt(victim, kill.time)});
    m_out.Append(": ");
    AppendName(assistant.NameAt(kill.time));
    m_out.Append(" assisted ");
    AppendName(killer.NameAt(kill.time));
    m_out.Append(" to kill ");
    AppendName(victim.NameAt(kill.time));
    m_out.EndLine();
  }
  // Outside rounds the dead come back at once.
  if (!plan.type->rounds) WriteSlotLine("ClientSpawn: ", SlotAt(victim, kill.time), kill.time);
}

void UrbanTerrorLogWriter::WriteSurvivor(const GamePlan& plan, int32_t time) {
  if (!plan.IsTeamGame()) return;
  Begin(time);
  m_out.Append(m_random.Chance(0.5) ? "SurvivorWinner: Red" : "SurvivorWinner: Blue");
  m_out.EndLine();
}

void UrbanTerrorLogWriter::WriteRound(const GamePlan& plan, int32_t time) {
  if (m_roundsPlayed++ > 0) WriteSurvivor(plan, time);
  WriteSeparator(time);
  Begin(time);
  m_out.Append("InitRound: ");
  AppendSettings(m_settings, plan, m_hostname, m_version);
  m_out.EndLine();
  for (const Participant& p : plan.participants) {
    if (p.StintAt(time) >= 0) WriteSlotLine("ClientSpawn: ", SlotAt(p, time), time);
  }
}

void UrbanTerrorLogWriter::Advance(const GamePlan& plan, int32_t time) {
  while (time >= m_nextRound && m_nextRound < plan.duration) {
    WriteRound(plan, m_nextRound);
    m_nextRound += m_random.Between(40, 200);
  }
}

void UrbanTerrorLogWriter::WriteEnd(const GamePlan& plan) {
  Advance(plan, plan.duration - 1);
  if (plan.exitReason != nullptr && m_roundsPlayed > 0) WriteSurvivor(plan, plan.duration);
  if (WriteExit(plan)) {
    WriteTeamScores(plan);
    WriteScoreLines(plan);
  }
  WriteShutdown(plan);
}

void UrbanTerrorLogWriter::Finish(GeneratorSummary* summary) {
  FamilyLogWriter::Finish(summary);
  summary->Set("mod.MOD_CHANGE_TEAM", m_teamChanges);
}

}  // namespace vexor::bench
