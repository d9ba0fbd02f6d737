#include "ClientLogWriter.h"

#include <iterator>

#include "WallClock.h"

namespace vexor::bench {
namespace {

// What a client prints from its start until the first game; lines that mean nothing to a
// log reader.
constexpr const char* kStartup[] = {
    "----- FS_Startup -----",
    "Current search path:",
    "/home/player/.q3a/baseq3",
    "/usr/share/games/quake3/baseq3/pak8.pk3 (9 files)",
    "/usr/share/games/quake3/baseq3/pak7.pk3 (4 files)",
    "/usr/share/games/quake3/baseq3/pak0.pk3 (3539 files)",
    "/usr/share/games/quake3/baseq3",
    "----------------------",
    "4073 files in pk3 files",
    "execing default.cfg",
    "execing q3config.cfg",
    "couldn't exec autoexec.cfg",
    "Hunk_Clear: reset the hunk ok",
    "----- Client Initialization -----",
    "----- Initializing Renderer ----",
    "-------------------------------",
    "----- Client Initialization Complete -----",
    "----- R_Init -----",
    "SDL using driver \"x11\"",
    "Initializing OpenGL display",
    "...setting mode 4: 800 600",
    "Using 8/8/8 Color bits, 24 depth, 8 stencil display.",
    "Initializing OpenGL extensions",
    "...using GL_ARB_multitexture",
    "...using GL_EXT_compiled_vertex_array",
    "...ignoring GL_EXT_texture_filter_anisotropic",
    "GL_VENDOR: ATI Technologies Inc.",
    "GL_RENDERER: ATI Radeon HD 2600 PRO",
    "GL_VERSION: 2.1.8577",
    "PIXELFORMAT: color(32-bits) Z(24-bit) stencil(8-bits)",
    "MODE: 4, 800 x 600 fullscreen hz:N/A",
    "GAMMA: hardware w/ 0 overbright bits",
    "rendering primitives: single glDrawElements",
    "texturemode: GL_LINEAR_MIPMAP_NEAREST",
    "----- finished R_Init -----",
    "------- sound initialization -------",
    "Sound initialization successful.",
    "--------------------------------",
    "Sound memory manager started",
    "Loading vm file vm/ui.qvm...",
    "VM file ui compiled to 432123 bytes of code",
    "ui loaded in 1530880 bytes on the hunk",
    "--- Common Initialization Complete ---",
    "]\\connect 192.168.1.10",
    "Resolving 192.168.1.10",
    "192.168.1.10 resolved to 192.168.1.10:27960",
};

// OpenArena's client from its start until the first game, shorter.
constexpr const char* kOpenArenaStartup[] = {
    "ioq3+oa 1.36_SVN1910M linux-x86_64 Jan 19 2012",
    "----- FS_Startup -----",
    "Current search path:",
    "/home/player/.openarena/baseoa",
    "/usr/share/games/openarena/baseoa/pak6-patch088.pk3 (179 files)",
    "/usr/share/games/openarena/baseoa/pak0.pk3 (4011 files)",
    "/usr/share/games/openarena/baseoa",
    "----------------------",
    "4190 files in pk3 files",
    "execing default.cfg",
    "execing q3config.cfg",
    "couldn't exec autoexec.cfg",
    "Hunk_Clear: reset the hunk ok",
    "----- Client Initialization -----",
    "----- Initializing Renderer ----",
    "----- Client Initialization Complete -----",
    "----- R_Init -----",
    "SDL using driver \"x11\"",
    "GL_RENDERER: Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
    "----- finished R_Init -----",
    "------- sound initialization -------",
    "Sound initialization successful.",
    "Loading vm file vm/ui.qvm...",
    "--- Common Initialization Complete ---",
    "]\\connect 192.168.1.10",
    "Resolving 192.168.1.10",
    "192.168.1.10 resolved to 192.168.1.10:27960",
};

// What a team game's client prints before the killer's name when a player frags a teammate.
constexpr std::string_view kTeammate = "^1TEAMMATE^7 ";

constexpr const char* kMapChange[] = {
    "Hunk_Clear: reset the hunk ok",
    "Loading vm file vm/cgame.qvm...",
    "VM file cgame compiled to 643221 bytes of code",
    "cgame loaded in 1040272 bytes on the hunk",
};

constexpr const char* kShutdown[] = {
    "]\\quit",
    "----- CL_Shutdown -----",
    "RE_Shutdown( 1 )",
    "-----------------------",
};

}  // namespace

ClientLogWriter::ClientLogWriter(const GeneratorOptions& options, const PlayerPool& pool,
                                 LineBuffer& out, uint64_t seed)
    : m_options(options),
      m_pool(pool),
      m_out(out),
      m_random(seed),
      m_events(options.noise, false, options.flavour, m_random.Fork()),
      m_formCounts(static_cast<size_t>(KillFormCount(options.flavour)), 0) {}

void ClientLogWriter::Line(std::string_view text) {
  m_out.Append(text);
  m_out.EndLine();
}

void ClientLogWriter::WriteStartup() {
  // The first line is what makes a reader take the file for a client log.
  m_out.Append("logfile opened on ");
  m_out.Append(DayNames()[m_random.Below(7)]);
  m_out.Append(' ');
  m_out.Append(MonthNames()[m_random.Below(12)]);
  m_out.Append(' ');
  m_out.AppendPadded(m_random.Between(1, 28), 2);
  m_out.Append(' ');
  m_out.AppendInt(m_random.Between(10, 23));
  m_out.Append(m_random.Chance(0.5) ? ":17:11 " : ":42:05 ");
  m_out.AppendInt(m_random.Between(2001, 2024));
  m_out.EndLine();
  if (m_options.noise == 0) return;
  Line("");
  if (m_options.flavour == Flavour::kOpenArena) {
    for (const char* line : kOpenArenaStartup)
      Line(line);
    return;
  }
  for (const char* line : kStartup)
    Line(line);
}

void ClientLogWriter::WriteMapChange(const GamePlan& plan) {
  if (m_options.noise > 0) {
    for (const char* line : kMapChange)
      Line(line);
  }
  // The client names the map before the game starts.
  m_out.Append("trying to load maps/");
  m_out.Append(plan.map);
  m_out.Append(".bsp");
  m_out.EndLine();
  ++m_mapLoads;
  m_out.Append("CL_InitCGame: ");
  int32_t hundredths = m_random.Between(40, 900);
  m_out.AppendPadded(hundredths / 100, 2);
  m_out.Append('.');
  m_out.Append(static_cast<char>('0' + hundredths / 10 % 10));
  m_out.Append(static_cast<char>('0' + hundredths % 10));
  m_out.Append(" seconds");
  m_out.EndLine();
  ++m_games;
  if (m_options.noise > 0) {
    m_out.Append("Com_TouchMemory: ");
    m_out.AppendInt(m_random.Between(1, 12));
    m_out.Append(" msec");
    m_out.EndLine();
  }
}

void ClientLogWriter::WriteGame(const GamePlan& plan) {
  if (!m_started) {
    WriteStartup();
    m_started = true;
  }
  WriteMapChange(plan);
  for (const GameEvent& event : m_events.Build(plan)) {
    const Participant& p = plan.participants[static_cast<size_t>(event.participant)];
    int32_t time = event.Time();
    switch (event.type) {
      case EventType::kConnect:
        WriteEntered(p, event.value, time);
        break;
      case EventType::kRename:
        Name(p, p.renameAt - 1);
        m_out.Append(" renamed to ");
        m_out.Append(p.renamed);
        m_out.EndLine();
        ++m_renames;
        break;
      case EventType::kKill:
        WriteKill(plan, plan.kills[static_cast<size_t>(event.value)]);
        break;
      case EventType::kSay:
        WriteSay(plan, p, event.value, time);
        break;
      case EventType::kDisconnect:
        if (m_options.noise > 0) {
          Name(p, time);
          m_out.Append(" disconnected");
          m_out.EndLine();
        }
        break;
      case EventType::kItem:
      case EventType::kTeamChange:
        break;
    }
  }
  WriteExit(plan);
}

void ClientLogWriter::Name(const Participant& p, int32_t time) {
  const std::string& raw = p.NameAt(time);
  m_out.Append(raw);
  m_out.Append("^7");
}

void ClientLogWriter::WriteEntered(const Participant& p, int32_t stint, int32_t time) {
  // Players already on the server enter with the map; others connect first.
  if (m_options.noise > 0 && (stint > 0 || time > 2)) {
    Name(p, time);
    m_out.Append(" connected");
    m_out.EndLine();
  }
  Name(p, time);
  m_out.Append(" entered the game");
  m_out.EndLine();
  m_names.insert(StripColours(p.NameAt(time)));
  ++m_entries;
}

void ClientLogWriter::WriteKill(const GamePlan& plan, const PlannedKill& kill) {
  const MeansOfDeath& mod = MeansOfDeathOf(kill.kind, m_options.flavour)[kill.mod];
  const Participant& victim = plan.participants[static_cast<size_t>(kill.victim)];
  Gender gender = m_pool[victim.player].gender;
  Name(victim, kill.time);
  m_out.Append(' ');
  if (kill.kind == KillKind::kFrag) {
    const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
    m_out.Append(mod.text[0]);
    m_out.Append(' ');
    if (m_options.flavour == Flavour::kOpenArena && plan.IsTeamGame() &&
        killer.team == victim.team) {
      m_out.Append(kTeammate);
      ++m_teamKills;
    }
    Name(killer, kill.time);
    m_out.Append(mod.suffix);
  } else {
    m_out.Append(kill.kind == KillKind::kSelf ? mod.text[static_cast<int>(gender)] : mod.text[0]);
    m_out.Append('.');
  }
  m_out.EndLine();
  ++m_formCounts[static_cast<size_t>(
      KillFormIndex(kill.kind, kill.mod, gender, m_options.flavour))];
  // A player renamed to a new name is a new player to a reader from here on.
  if (!victim.KeyIntactAt(kill.time)) m_names.insert(StripColours(victim.NameAt(kill.time)));
  if (kill.kind == KillKind::kFrag) {
    const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
    if (!killer.KeyIntactAt(kill.time)) m_names.insert(StripColours(killer.NameAt(kill.time)));
  }
}

void ClientLogWriter::WriteSay(const GamePlan& plan, const Participant& p, int32_t text,
                               int32_t time) {
  // Chat as the client prints it: the name, "^7", the escape character 0x19 and the text in
  // green; team chat in brackets and cyan.
  bool team = plan.IsTeamGame() && (text & 1) != 0;
  if (team) m_out.Append('(');
  Name(p, time);
  m_out.Append(team ? ")\x19: ^5" : "\x19: ^2");
  AppendChat(m_out, text);
  m_out.EndLine();
  ++m_chat;
}

void ClientLogWriter::WriteExit(const GamePlan& plan) {
  if (plan.exitReason == nullptr || m_options.noise == 0) return;
  std::string_view reason = plan.exitReason;
  if (reason == "Fraglimit hit.") {
    Name(plan.participants[0], plan.duration);
    m_out.Append(" hit the fraglimit.");
    m_out.EndLine();
  } else if (reason == "Capturelimit hit.") {
    Line(m_random.Chance(0.5) ? "Red hit the capturelimit." : "Blue hit the capturelimit.");
  } else {
    Line(reason);
  }
}

void ClientLogWriter::Finish(GeneratorSummary* summary) {
  if (!m_started) WriteStartup();
  if (m_options.noise > 0) {
    // The player quit while the next map was loading: a map that no game follows.
    if (m_games > 0 && m_random.Chance(0.5)) {
      for (const char* line : kMapChange)
        Line(line);
      Line("trying to load maps/q3dm17.bsp");
      ++m_mapLoads;
    }
    for (const char* line : kShutdown)
      Line(line);
  }
  summary->Set("games", m_games);
  summary->Set("mapLoads", m_mapLoads);
  summary->Set("entries", m_entries);
  summary->Set("chat", m_chat);
  summary->Set("renames", m_renames);
  summary->Set("names", static_cast<int64_t>(m_names.size()));
  int64_t obituaries = 0;
  int64_t suicides = 0;
  for (int32_t f = 0; f < KillFormCount(m_options.flavour); ++f) {
    if (!KillFormLoggedIn(f, m_options.flavour)) continue;
    KillForm form = KillFormAt(f, m_options.flavour);
    int64_t count = m_formCounts[static_cast<size_t>(f)];
    (form.kind == KillKind::kFrag ? obituaries : suicides) += count;
    summary->Add(ClientFormKey(form.kind, form.mod, form.gender), count);
  }
  if (m_options.flavour == Flavour::kOpenArena) summary->Set("teamKills", m_teamKills);
  summary->Set("obituaries", obituaries);
  summary->Set("suicides", suicides);
}

}  // namespace vexor::bench
