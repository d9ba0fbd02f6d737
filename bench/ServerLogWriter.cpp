#include "ServerLogWriter.h"

#include <algorithm>
#include <iterator>

namespace vexor::bench {
namespace {

// "InitGame:" settings in the key orders real servers use. $H host name, $T game type, $F frag
// limit, $L time limit, $C capture limit, $X client limit, $V version, $M map.
constexpr const char* kInitGameTemplates[] = {
    "\\sv_floodProtect\\1\\sv_maxPing\\0\\sv_minPing\\0\\sv_maxRate\\10000\\sv_minRate\\0"
    "\\sv_hostname\\$H\\g_gametype\\$T\\sv_privateClients\\2\\sv_maxclients\\$X"
    "\\sv_allowDownload\\0\\bot_minplayers\\0\\dmflags\\0\\fraglimit\\$F\\timelimit\\$L"
    "\\g_maxGameClients\\0\\capturelimit\\$C\\version\\$V\\protocol\\68\\mapname\\$M"
    "\\gamename\\baseq3\\g_needpass\\0",
    "\\capturelimit\\$C\\g_maxGameClients\\0\\timelimit\\$L\\fraglimit\\$F\\dmflags\\0"
    "\\bot_minplayers\\0\\sv_allowDownload\\0\\sv_maxclients\\$X\\sv_privateClients\\2"
    "\\g_gametype\\$T\\sv_hostname\\$H\\sv_minRate\\0\\sv_maxRate\\10000\\sv_minPing\\0"
    "\\sv_maxPing\\0\\sv_floodProtect\\1\\version\\$V\\protocol\\68\\mapname\\$M"
    "\\gamename\\baseq3\\g_needpass\\0",
    "\\g_gametype\\$T\\sv_hostname\\$H\\sv_punkbuster\\0\\sv_maxRate\\0\\sv_minPing\\0"
    "\\sv_maxPing\\0\\sv_floodProtect\\1\\g_redTeam\\Stroggs\\g_blueTeam\\Pagans\\dmflags\\0"
    "\\fraglimit\\$F\\timelimit\\$L\\sv_maxclients\\$X\\capturelimit\\$C\\g_maxGameClients\\0"
    "\\version\\$V\\protocol\\68\\mapname\\$M\\sv_privateClients\\0\\sv_allowDownload\\0"
    "\\gamename\\baseq3\\g_needpass\\0",
};

// OpenArena's settings: protocol 71, game name baseoa and its own settings among the stock ones.
constexpr const char* kOpenArenaInitGameTemplates[] = {
    "\\sv_allowDownload\\1\\g_maxGameClients\\0\\capturelimit\\$C\\sv_maxclients\\$X"
    "\\timelimit\\$L\\fraglimit\\$F\\dmflags\\0\\sv_hostname\\$H\\sv_minRate\\0"
    "\\sv_maxRate\\0\\sv_dlRate\\100\\sv_minPing\\0\\sv_maxPing\\0\\sv_floodProtect\\1"
    "\\g_gametype\\$T\\elimination_roundtime\\120\\g_doWarmup\\0\\version\\$V\\protocol\\71"
    "\\mapname\\$M\\videoflags\\7\\g_instantgib\\0\\g_rockets\\0\\g_altExcellent\\0"
    "\\g_voteGametypes\\/0/1/3/4/5/6/7/8/9/10/11/12/\\g_voteMaxTimelimit\\1000"
    "\\g_voteMinTimelimit\\0\\g_voteMaxFraglimit\\0\\g_voteMinFraglimit\\0\\elimflags\\0"
    "\\voteflags\\767\\g_needpass\\0\\g_obeliskRespawnDelay\\10\\g_enableDust\\0"
    "\\g_enableBreath\\0\\gamename\\baseoa\\g_lms_mode\\0",
};

constexpr const char* kHostnames[] = {
    "^1Frag^7Factory", "Rail Arena #2",          "Old School Q3",      "LAN party",
    "noname",          "^3Q3^7 Veterans ^2[EU]", "Code Monkeys Server"};

constexpr const char* kVersions[] = {"ioq3 1.36 linux-x86_64 Apr 12 2009",
                                     "Q3 1.32 win-x86 Oct  7 2002",
                                     "ioq3 1.36_GIT_f2c61c14-2019-03-23 linux-x86_64 Mar 23 2019",
                                     "Q3 1.32c linux-i386 Nov 14 2005"};
constexpr const char* kOpenArenaVersions[] = {"ioq3+oa 1.36_SVN1910M linux-x86_64 Jan 19 2012",
                                              "ioq3+oa 1.36_SVN1910M win-x86 Jan 19 2012"};

constexpr int32_t kWorldNumber = 1022;
constexpr int32_t kShortGameSeconds = 25;

// "sarge/krusade" in a team game becomes "sarge/red" or "sarge/blue".
std::string ModelFor(const std::string& model, int32_t team) {
  if (team == 0) return model;
  return model.substr(0, model.find('/')) + (team == 1 ? "/red" : "/blue");
}

}  // namespace

ServerLogWriter::ServerLogWriter(const GeneratorOptions& options, const PlayerPool& pool,
                                 LineBuffer& out, uint64_t seed)
    : ServerLogBase(options, pool, out, seed) {
  bool openArena = options.flavour == Flavour::kOpenArena;
  m_template =
      openArena ? Pick(kOpenArenaInitGameTemplates, m_random) : Pick(kInitGameTemplates, m_random);
  m_hostname = Pick(kHostnames, m_random);
  m_version = openArena ? Pick(kOpenArenaVersions, m_random) : Pick(kVersions, m_random);
}

void ServerLogWriter::WriteGame(const GamePlan& plan) {
  m_base = plan.restartsClock ? 0 : m_end;
  m_gamePlayers.clear();
  m_slotHolders.clear();
  m_scores.assign(plan.participants.size(), 0);
  WriteSeparator(0);
  WriteInitGame(plan);
  for (const GameEvent& event : m_events.Build(plan)) {
    const Participant& p = plan.participants[static_cast<size_t>(event.participant)];
    int32_t time = event.Time();
    switch (event.type) {
      case EventType::kConnect:
        WriteConnect(plan, event.participant, event.value, time);
        break;
      case EventType::kRename:
        WriteUserinfo(plan, p, p.stints[0].slot, p.renamed, time);
        ++m_renames;
        break;
      case EventType::kItem:
        Begin(time);
        m_out.Append("Item: ");
        m_out.AppendInt(p.stints[static_cast<size_t>(p.StintAt(time))].slot);
        m_out.Append(' ');
        m_out.Append(
            ItemNames(m_options.flavour, plan.IsTeamGame())[static_cast<size_t>(event.value)]);
        m_out.EndLine();
        break;
      case EventType::kSay:
        WriteSay(p, event.value, time);
        break;
      case EventType::kKill:
        WriteKill(plan, plan.kills[static_cast<size_t>(event.value)]);
        break;
      case EventType::kTeamChange:  // not planned for these logs
        break;
      case EventType::kDisconnect:
        Begin(time);
        m_out.Append("ClientDisconnect: ");
        m_out.AppendInt(p.stints[static_cast<size_t>(event.value)].slot);
        m_out.EndLine();
        TrackDisconnect(p.stints[static_cast<size_t>(event.value)].slot, time);
        ++m_disconnects;
        break;
    }
  }
  WriteEnd(plan);
  for (const auto& entry : m_gamePlayers)
    m_presence += static_cast<int64_t>(entry.second.size());
  ++m_games;
  if (plan.shortGame) ++m_shortGames;
  if (!LastsLongEnough(plan)) ++m_hidden;
}

void ServerLogWriter::WriteInitGame(const GamePlan& plan) {
  Begin(0);
  m_out.Append("InitGame: ");
  AppendSettings(m_template, plan, m_hostname, m_version);
  m_out.EndLine();
}

void ServerLogWriter::WriteConnect(const GamePlan& plan, int32_t who, int32_t stint, int32_t time) {
  const Participant& p = plan.participants[static_cast<size_t>(who)];
  int32_t slot = p.stints[static_cast<size_t>(stint)].slot;
  bool renameAtBegin = stint == 0 && p.RenamedAtBegin();
  const std::string& raw = renameAtBegin ? p.raw : p.NameAt(time);
  // OpenArena logs a bot's user information before its connect line, and the bot begins at
  // once: the line after the connect names nobody.
  bool infoFirst = m_options.flavour == Flavour::kOpenArena && m_pool[p.player].bot;
  if (infoFirst) WriteUserinfo(plan, p, slot, raw, time);
  Begin(time);
  m_out.Append("ClientConnect: ");
  m_out.AppendInt(slot);
  m_out.EndLine();
  if (!infoFirst) {
    WriteUserinfo(plan, p, slot, raw, time);
    // Servers often log the user information twice before the client begins.
    if (m_options.noise > 0 && m_random.Chance(0.3)) WriteUserinfo(plan, p, slot, raw, time);
  }
  if (renameAtBegin) {
    WriteUserinfo(plan, p, slot, p.renamed, time);
    ++m_renames;
  }
  if (infoFirst || m_options.noise > 0) {
    Begin(time);
    m_out.Append("ClientBegin: ");
    m_out.AppendInt(slot);
    m_out.EndLine();
  }
  TrackConnect(StripColours(raw), slot, time);
  ++m_connects;
}

void ServerLogWriter::WriteUserinfo(const GamePlan& plan, const Participant& p, int32_t slot,
                                    const std::string& raw, int32_t time) {
  const PoolPlayer& player = m_pool[p.player];
  std::string model = ModelFor(player.model, plan.IsTeamGame() ? p.team : 0);
  BeginInfoChanged(time, slot, raw, p.team);
  m_out.Append("\\model\\");
  m_out.Append(model);
  m_out.Append("\\hmodel\\");
  m_out.Append(model);
  if (!player.bot) m_out.Append("\\g_redteam\\\\g_blueteam\\");
  m_out.Append("\\c1\\");
  m_out.AppendInt(player.colour1);
  m_out.Append("\\c2\\5\\hc\\");
  m_out.AppendInt(player.handicap);
  m_out.Append("\\w\\0\\l\\0");
  bool openArena = m_options.flavour == Flavour::kOpenArena;
  if (player.bot) {
    m_out.Append(openArena ? "\\skill\\ " : "\\skill\\    ");
    m_out.AppendInt(player.skill);
    m_out.Append(".00");
  }
  m_out.Append("\\tt\\0\\tl\\0");
  if (openArena) m_out.Append("\\id\\");
  m_out.EndLine();
}

void ServerLogWriter::WriteKill(const GamePlan& plan, const PlannedKill& kill) {
  const MeansOfDeath& mod = MeansOfDeathOf(kill.kind, m_options.flavour)[kill.mod];
  const Participant& victim = plan.participants[static_cast<size_t>(kill.victim)];
  if (kill.killer < 0) {
    WriteKillLine(kill.time, kWorldNumber, SlotAt(victim, kill.time), mod, "<world>",
                  victim.NameAt(kill.time));
  } else {
    const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
    WriteKillLine(kill.time, SlotAt(killer, kill.time), SlotAt(victim, kill.time), mod,
                  killer.NameAt(kill.time), victim.NameAt(kill.time));
  }
  CountKill(kill);
}

void ServerLogWriter::WriteSay(const Participant& p, int32_t text, int32_t time) {
  Begin(time);
  m_out.Append("say: ");
  m_out.Append(p.NameAt(time));
  m_out.Append(": ");
  AppendChat(m_out, text);
  m_out.EndLine();
}

void ServerLogWriter::CountKill(const PlannedKill& kill) {
  CountMeans(kill);
  // A reader finds both players by their client numbers, renamed or not.
  if (kill.kind == KillKind::kWorld) {
    // A death by the world counts as a suicide of the victim.
    ++m_suicides;
    --m_scores[static_cast<size_t>(kill.victim)];
    return;
  }
  if (kill.kind == KillKind::kSelf) {
    ++m_suicides;
    --m_scores[static_cast<size_t>(kill.killer)];
    return;
  }
  ++m_scores[static_cast<size_t>(kill.killer)];
  ++m_frags;
  ++m_deaths;
  // Both are found in the game: the frag enters the game's kill tables.
  ++m_tableFrags;
  if (MeansOfDeathOf(kill.kind, m_options.flavour)[kill.mod].weapon) ++m_weaponFrags;
}

void ServerLogWriter::WriteEnd(const GamePlan& plan) {
  if (plan.exitReason != nullptr && m_options.noise > 0) {
    Begin(plan.duration);
    m_out.Append("Exit: ");
    m_out.Append(plan.exitReason);
    m_out.EndLine();
    WriteScoreLines(plan);
    WriteTeamScores(plan);
  }
  if (plan.shutdown) {
    Begin(plan.shutdownAt);
    m_out.Append("ShutdownGame:");
    m_out.EndLine();
    WriteSeparator(plan.shutdownAt);
    ++m_shutdowns;
  }
  m_end = m_base + (plan.shutdown ? plan.shutdownAt : plan.duration);
}

void ServerLogWriter::TrackConnect(const std::string& key, int32_t slot, int32_t time) {
  std::vector<Tracked>& players = m_gamePlayers[key];
  size_t index = 0;
  while (index < players.size() && players[index].slot != slot && !players[index].left)
    ++index;
  if (index == players.size()) players.emplace_back();
  Tracked& player = players[index];
  if (player.left) {
    player.returned = true;
  } else {
    player.seconds = 1;  // a new connection starts the game's values again
  }
  player.left = false;
  player.slot = slot;
  player.connectedAt = time;
  m_slotHolders[slot] = {key, index};
  std::string name = key;
  for (size_t k = 1; k <= index; ++k) {
    // Bob, Bob_1, Bob_2: from the second suffix on, the previous one is cut off first.
    if (k > 1) name.resize(name.size() - 2);
    name += "_" + std::to_string(k);
  }
  m_names.insert(name);
}

void ServerLogWriter::TrackDisconnect(int32_t slot, int32_t time) {
  auto holder = m_slotHolders.find(slot);
  if (holder == m_slotHolders.end()) return;
  Tracked& player = m_gamePlayers[holder->second.key][holder->second.index];
  m_slotHolders.erase(holder);
  player.Credit(time);
  player.left = true;
}

void ServerLogWriter::Tracked::Credit(int32_t time) {
  if (connectedAt < 0) return;
  int32_t elapsed = time - connectedAt;
  if (elapsed > 0) seconds = returned ? seconds + elapsed : elapsed;
  connectedAt = -1;
}

bool ServerLogWriter::LastsLongEnough(const GamePlan& plan) {
  bool longEnough = false;
  for (auto& entry : m_gamePlayers) {
    for (Tracked& player : entry.second) {
      // A game without "ShutdownGame:" credits no open connection.
      if (plan.shutdown) player.Credit(plan.shutdownAt);
      longEnough = longEnough || player.seconds > kShortGameSeconds;
    }
  }
  return longEnough;
}

void ServerLogWriter::Finish(GeneratorSummary* summary) {
  summary->Set("games", m_games);
  summary->Set("shutdownGames", m_shutdowns);
  summary->Set("shortGames", m_shortGames);
  // With client numbers handed out as a server does, a reader may credit a departed player
  // with a later disconnection in his old number; the count would then be a guess.
  if (m_options.slots == SlotMode::kSticky) summary->Set("hiddenGames", m_hidden);
  summary->Set("names", static_cast<int64_t>(m_names.size()));
  summary->Set("connects", m_connects);
  summary->Set("disconnects", m_disconnects);
  summary->Set("renames", m_renames);
  summary->Set("expected.frags", m_frags);
  summary->Set("expected.deaths", m_deaths);
  summary->Set("expected.suicides", m_suicides);
  summary->Set("expected.weaponFrags", m_weaponFrags);
  summary->Set("expected.tableFrags", m_tableFrags);
  summary->Set("expected.presence", m_presence);
  SummariseMeans(summary);
}

}  // namespace vexor::bench
