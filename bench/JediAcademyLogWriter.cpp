#include "JediAcademyLogWriter.h"

namespace vexor::bench {
namespace {

// "InitGame:" settings of a JA++ server in two key orders; placeholders as in
// ServerLogBase::AppendSettings.
constexpr const char* kSettings[] = {
    "\\sv_hostname\\$H\\g_gametype\\$T\\sv_maxclients\\$X\\fraglimit\\$F\\timelimit\\$L"
    "\\capturelimit\\$C\\g_privateDuel\\1\\g_saberLocking\\1\\g_maxForceRank\\7"
    "\\duel_fraglimit\\10\\g_forceBasedTeams\\0\\g_duelWeaponDisable\\1\\dmflags\\0"
    "\\version\\$V\\g_maxHolocronCarry\\3\\protocol\\26\\mapname\\$M\\sv_privateClients\\0"
    "\\g_needpass\\0\\g_weaponDisable\\524279\\g_forcePowerDisable\\0"
    "\\gamename\\JA+ Mod v2.6 B1\\japp_version\\JA++, 32 bits, May  7 2017, None*"
    "\\pmove_overbounce\\1",
    "\\version\\$V\\dmflags\\128\\fraglimit\\$F\\timelimit\\$L\\capturelimit\\$C"
    "\\g_maxHolocronCarry\\3\\g_privateDuel\\1\\g_saberLocking\\1\\g_maxForceRank\\7"
    "\\duel_fraglimit\\1\\g_forceBasedTeams\\0\\g_duelWeaponDisable\\1\\g_gametype\\$T"
    "\\g_needpass\\0\\protocol\\26\\mapname\\$M\\sv_privateClients\\0\\sv_hostname\\$H"
    "\\sv_maxclients\\$X\\sv_maxRate\\7000\\sv_floodProtect\\1\\sv_allowDownload\\0"
    "\\bot_minplayers\\0\\g_siegeTeamSwitch\\1\\gamename\\JA+ Mod v2.6 B1"
    "\\japp_version\\JA++, 32 bits, May  7 2017, None*\\jp_cinfo\\32\\pmove_overbounce\\1"
    "\\v\\2.6B1",
};

constexpr const char* kVersion = "JAmp: v1.0.1.0 win-x86 Oct 24 2003";
constexpr const char* kModVersion = "Mod version: JA++, 32 bits, May  7 2017, None*";

constexpr const char* kHostnames[] = {"^5Jedi ^7Temple", "^1Sith ^7Academy ^3| FFA",
                                      "Lightsaber Duels", "^2Mos Eisley ^7Cantina"};

// What the mod logs of the client a player connects with.
constexpr const char* kClientChecks[] = {
    "cjp_client: 1.4 beta3... assumed JA+ csf 0x5... final csf 0x5",
    "cjp_client: basejka... assumed basejka csf 0x0... final csf 0x0",
};

constexpr const char* kModels[] = {"kyle/default",    "luke/default",        "jedi_tf/default",
                                   "jedi_hm/default", "reborn/default",      "tavion/default",
                                   "jan/default",     "stormtrooper/default"};

// The "t" values by name, as "setteam:" lines give them.
constexpr const char* kTeams[] = {"FREE", "RED", "BLUE", "SPECTATOR"};
constexpr int32_t kSpectators = 3;

// 2016-01-01, counted in days from 1970-01-01; logs start within the four years after it.
constexpr int64_t kFirstDay = 16801;

}  // namespace

JediAcademyLogWriter::JediAcademyLogWriter(const GeneratorOptions& options, const PlayerPool& pool,
                                           LineBuffer& out, uint64_t seed)
    : FamilyLogWriter(options, pool, out, seed), m_clock(options.wallClock) {
  m_settings = Pick(kSettings, m_random);
  m_hostname = Pick(kHostnames, m_random);
  m_start = (kFirstDay + m_random.Below(4 * 365)) * 86400;
}

void JediAcademyLogWriter::Begin(int32_t time) {
  m_out.Append(m_clock.Stamp(m_start + time));
}

void JediAcademyLogWriter::StartClock(const GamePlan& plan) {
  if (plan.number == 1) {
    // The first game runs past midnight: a reader's game clock must not go back with the
    // time of day.
    m_start += 86400 - (plan.duration + 1) / 2;
  } else {
    m_start = m_end +
              (m_random.Chance(0.1) ? m_random.Between(3600, 12 * 3600) : m_random.Between(5, 900));
  }
  // FamilyLogWriter sets m_end from m_base after the game: the wall clock of its end.
  m_base = m_start;
}

void JediAcademyLogWriter::WriteStart(const GamePlan& plan) {
  WriteSeparator(0);
  Begin(0);
  m_out.Append("InitGame: ");
  AppendSettings(m_settings, plan, m_hostname, kVersion);
  m_out.EndLine();
  if (m_options.noise == 0) return;
  // The mod ends the line with a line feed of its own and prints its version unstamped.
  Begin(0);
  m_out.EndLine();
  m_out.EndLine();
  m_out.Append(kModVersion);
  m_out.EndLine();
}

void JediAcademyLogWriter::WriteInfo(const Participant& p, int32_t slot, std::string_view raw,
                                     int32_t team, int32_t time) {
  BeginInfoChanged(time, slot, raw, team);
  m_out.Append("\\model\\");
  m_out.Append(kModels[static_cast<size_t>(p.player) % std::size(kModels)]);
  m_out.Append("\\ds\\m\\st\\single_1\\st2\\single_1\\c1\\");
  m_out.AppendInt(1 + p.player % 7);
  m_out.Append("\\c2\\5\\c3\\0\\c4\\0\\hc\\100\\");
  m_out.EndLine();
}

void JediAcademyLogWriter::WriteSetTeam(int32_t slot, int32_t from, int32_t to, int32_t time) {
  Begin(time);
  m_out.Append("setteam:  ");
  m_out.AppendInt(slot);
  m_out.Append(' ');
  m_out.Append(kTeams[from]);
  m_out.Append(' ');
  m_out.Append(kTeams[to]);
  m_out.EndLine();
}

void JediAcademyLogWriter::WriteConnect(const GamePlan&, const Participant& p, int32_t slot,
                                        int32_t time) {
  const std::string& raw = p.NameAt(time);
  bool bot = m_pool[p.player].bot;
  bool noise = m_options.noise > 0;
  if (noise && !bot) {
    Begin(time);
    m_out.Append(Pick(kClientChecks, m_random));
    m_out.EndLine();
  }
  // The user information may come just before the connect line.
  bool infoFirst = noise && m_random.Chance(0.3);
  if (infoFirst) WriteInfo(p, slot, raw, p.TeamAt(time), time);
  Begin(time);
  m_out.Append("ClientConnect: ");
  m_out.AppendInt(slot);
  m_out.Append(" (");
  m_out.Append(raw);
  m_out.Append("^7) [IP: ");
  if (bot)
    m_out.Append("Bot");
  else
    AppendAddress(p.player);
  m_out.Append("^7]");
  m_out.EndLine();
  if (!infoFirst) WriteInfo(p, slot, raw, p.TeamAt(time), time);
  if (!noise) return;
  WriteSlotLine("ClientBegin: ", slot, time);
  WriteSetTeam(slot, kSpectators, p.TeamAt(time), time);
  WriteSlotLine("ClientBegin: ", slot, time);
  if (m_random.Chance(0.4)) {
    Begin(time);
    m_out.Append("ClientUserinfoChanged: ");
    m_out.AppendInt(slot);
    m_out.Append(" <no change>");
    m_out.EndLine();
  }
}

void JediAcademyLogWriter::WriteRename(const GamePlan&, const Participant& p, int32_t time) {
  int32_t slot = SlotAt(p, time);
  Begin(time);
  m_out.Append("ClientRename: ");
  m_out.AppendInt(slot);
  m_out.Append(" [");
  AppendAddress(p.player);
  m_out.Append("] \"");
  m_out.Append(p.raw);
  m_out.Append("^7\" -> \"");
  m_out.Append(p.renamed);
  m_out.Append("^7\"");
  m_out.EndLine();
  WriteInfo(p, slot, p.renamed, p.TeamAt(time), time);
}

void JediAcademyLogWriter::WriteTeamChange(const GamePlan&, const Participant& p, int32_t time) {
  int32_t slot = SlotAt(p, time);
  bool noise = m_options.noise > 0;
  if (noise) WriteSetTeam(slot, p.team, p.TeamAt(time), time);
  WriteInfo(p, slot, p.NameAt(time), p.TeamAt(time), time);
  if (noise) WriteSlotLine("ClientBegin: ", slot, time);
}

void JediAcademyLogWriter::WriteItem(const GamePlan&, const Participant& p, std::string_view item,
                                     int32_t time) {
  Begin(time);
  m_out.Append("Item: ");
  m_out.AppendInt(SlotAt(p, time));
  m_out.Append(' ');
  m_out.Append(p.NameAt(time));
  m_out.Append(' ');
  m_out.Append(item);
  m_out.EndLine();
}

void JediAcademyLogWriter::WriteSay(const GamePlan&, const Participant& p, int32_t text,
                                    int32_t time) {
  Begin(time);
  // Out-of-character chat now and then, as role-playing servers have it.
  bool outOfCharacter = (text & 2) != 0;
  m_out.Append(outOfCharacter ? "OOC: (OOC) " : "say: ");
  m_out.Append(p.NameAt(time));
  m_out.Append(outOfCharacter ? ": " : " says: ");
  EndWithChat(text);
}

void JediAcademyLogWriter::WriteEnd(const GamePlan& plan) {
  if (WriteExit(plan) && NamesOutsideKills()) WriteScoreLines(plan);
  WriteShutdown(plan);
}

}  // namespace vexor::bench
