#include "FamilyLogWriter.h"

#include "FamilyMeans.h"

namespace vexor::bench {
namespace {

constexpr int32_t kWorldNumber = 1022;

}  // namespace

FamilyLogWriter::FamilyLogWriter(const GeneratorOptions& options, const PlayerPool& pool,
                                 LineBuffer& out, uint64_t seed)
    : ServerLogBase(options, pool, out, seed), m_counts(static_cast<size_t>(pool.Size())) {}

void FamilyLogWriter::StartClock(const GamePlan& plan) {
  m_base = plan.restartsClock ? 0 : m_end;
}

void FamilyLogWriter::WriteGame(const GamePlan& plan) {
  StartClock(plan);
  m_scores.assign(plan.participants.size(), 0);
  m_gameTypes.emplace_back(plan.type->name);
  WriteStart(plan);
  bool named = NamesOutsideKills();
  for (const GameEvent& event : m_events.Build(plan)) {
    int32_t time = event.Time();
    Advance(plan, time);
    if (event.type == EventType::kKill) {
      WriteKill(plan, plan.kills[static_cast<size_t>(event.value)]);
      continue;
    }
    const Participant& p = plan.participants[static_cast<size_t>(event.participant)];
    if (!named) continue;  // the other events name players
    switch (event.type) {
      case EventType::kConnect:
        WriteConnect(plan, p, p.stints[static_cast<size_t>(event.value)].slot, time);
        CountsOf(plan, event.participant).seen = true;
        ++m_connects;
        break;
      case EventType::kDisconnect:
        WriteDisconnect(p.stints[static_cast<size_t>(event.value)].slot, time);
        break;
      case EventType::kRename:
        WriteRename(plan, p, time);
        ++m_renames;
        break;
      case EventType::kTeamChange:
        WriteTeamChange(plan, p, time);
        ++m_teamChanges;
        break;
      case EventType::kItem: {
        bool flags = FlagsInPlay(plan, m_options.flavour);
        WriteItem(plan, p, ItemNames(m_options.flavour, flags)[static_cast<size_t>(event.value)],
                  time);
        break;
      }
      case EventType::kSay:
        WriteSay(plan, p, event.value, time);
        break;
      case EventType::kKill:
        break;
    }
  }
  WriteEnd(plan);
  m_end = m_base + (plan.shutdown ? plan.shutdownAt : plan.duration);
  ++m_games;
  if (plan.shutdown) ++m_shutdowns;
}

void FamilyLogWriter::WriteDisconnect(int32_t slot, int32_t time) {
  Begin(time);
  m_out.Append("ClientDisconnect: ");
  m_out.AppendInt(slot);
  m_out.EndLine();
  ++m_disconnects;
}

void FamilyLogWriter::EndWithChat(int32_t text) {
  AppendChat(m_out, text);
  m_out.EndLine();
}

void FamilyLogWriter::WriteSlotLine(std::string_view word, int32_t slot, int32_t time) {
  Begin(time);
  m_out.Append(word);
  m_out.AppendInt(slot);
  m_out.EndLine();
}

bool FamilyLogWriter::WriteExit(const GamePlan& plan) {
  if (plan.exitReason == nullptr || m_options.noise == 0) return false;
  Begin(plan.duration);
  m_out.Append("Exit: ");
  m_out.Append(plan.exitReason);
  m_out.EndLine();
  return true;
}

void FamilyLogWriter::WriteShutdown(const GamePlan& plan) {
  if (!plan.shutdown) return;
  Begin(plan.shutdownAt);
  m_out.Append("ShutdownGame:");
  m_out.EndLine();
  WriteSeparator(plan.shutdownAt);
}

void FamilyLogWriter::AppendAddress(int32_t player) {
  static constexpr const char* kNetworks[] = {"192.0.2.", "198.51.100.", "203.0.113."};
  uint64_t hash = Random(static_cast<uint64_t>(player) + 1).Next();
  m_out.Append(kNetworks[static_cast<size_t>(player / 254 % 3)]);
  m_out.AppendInt(1 + player % 254);
  m_out.Append(':');
  m_out.AppendInt(hash % 3 == 0 ? 27960 : static_cast<int64_t>(1024 + hash / 3 % 60000));
}

int32_t FamilyLogWriter::SomeoneElse(const GamePlan& plan, int32_t time, int32_t a, int32_t b) {
  uint32_t n = static_cast<uint32_t>(plan.participants.size());
  uint32_t start = m_random.Below(n);
  for (uint32_t k = 0; k < n; ++k) {
    int32_t i = static_cast<int32_t>((start + k) % n);
    if (i != a && i != b && plan.participants[static_cast<size_t>(i)].StintAt(time) >= 0) return i;
  }
  return -1;
}

void FamilyLogWriter::WriteKill(const GamePlan& plan, const PlannedKill& kill) {
  const MeansOfDeath& mod = MeansOfDeathOf(kill.kind, m_options.flavour)[kill.mod];
  std::string_view character =
      kill.npc >= 0 ? NonPlayerCharacters()[static_cast<size_t>(kill.npc)] : std::string_view();
  BeforeKill(plan, kill);
  int32_t killerSlot = kWorldNumber;
  std::string_view killerName = "<world>";
  if (kill.killer >= 0) {
    const Participant& killer = plan.participants[static_cast<size_t>(kill.killer)];
    killerSlot = SlotAt(killer, kill.time);
    killerName = killer.NameAt(kill.time);
  } else if (kill.npc >= 0 && kill.kind == KillKind::kFrag) {
    killerSlot = kill.npcSlot;
    killerName = character;
  }
  int32_t victimSlot = kill.npcSlot;
  std::string_view victimName = character;
  if (kill.victim >= 0) {
    const Participant& victim = plan.participants[static_cast<size_t>(kill.victim)];
    victimSlot = SlotAt(victim, kill.time);
    victimName = victim.NameAt(kill.time);
  }
  WriteKillLine(kill.time, killerSlot, victimSlot, mod, killerName, victimName);
  CountMeans(kill);
  CountKill(plan, kill);
  AfterKill(plan, kill);
}

FamilyLogWriter::Counts& FamilyLogWriter::CountsOf(const GamePlan& plan, int16_t participant) {
  return m_counts[static_cast<size_t>(plan.participants[static_cast<size_t>(participant)].player)];
}

void FamilyLogWriter::CountKill(const GamePlan& plan, const PlannedKill& kill) {
  // A kill line names its players: a server that logs no connections has them from here.
  if (kill.killer >= 0) CountsOf(plan, kill.killer).seen = true;
  if (kill.victim >= 0) CountsOf(plan, kill.victim).seen = true;
  if (kill.npc >= 0) {
    // A character's death counts for nobody; a player killed by one only dies.
    ++m_characterKills;
    if (kill.victim >= 0) ++CountsOf(plan, kill.victim).deaths;
    return;
  }
  if (kill.kind != KillKind::kFrag) {
    // Killed by the world or by himself: a suicide.
    ++CountsOf(plan, kill.victim).suicides;
    --m_scores[static_cast<size_t>(kill.victim)];
    return;
  }
  Counts& killer = CountsOf(plan, kill.killer);
  ++killer.frags;
  if (killer.byMeans.empty())
    killer.byMeans.assign(MeansOfDeathOf(KillKind::kFrag, m_options.flavour).size(), 0);
  ++killer.byMeans[kill.mod];
  ++CountsOf(plan, kill.victim).deaths;
  ++m_scores[static_cast<size_t>(kill.killer)];
}

PlayerTally FamilyLogWriter::TallyOf(const Counts& counts) const {
  PlayerTally tally;
  tally.frags = counts.frags;
  tally.deaths = counts.deaths;
  tally.suicides = counts.suicides;
  std::span<const MeansOfDeath> frags = MeansOfDeathOf(KillKind::kFrag, m_options.flavour);
  for (size_t m = 0; m < counts.byMeans.size(); ++m) {
    if (counts.byMeans[m] == 0) continue;
    tally.fragsByMeans[frags[m].name] += counts.byMeans[m];
    if (frags[m].weapon) tally.fragsByWeapon[frags[m].weaponName] += counts.byMeans[m];
  }
  return tally;
}

void FamilyLogWriter::Finish(GeneratorSummary* summary) {
  int64_t names = 0, frags = 0, deaths = 0, suicides = 0, weaponFrags = 0;
  for (int32_t player = 0; player < m_pool.Size(); ++player) {
    const Counts& counts = m_counts[static_cast<size_t>(player)];
    if (!counts.seen) continue;
    PlayerTally tally = TallyOf(counts);
    ++names;
    frags += tally.frags;
    deaths += tally.deaths;
    suicides += tally.suicides;
    for (const auto& [weapon, count] : tally.fragsByWeapon)
      weaponFrags += count;
    summary->SetPlayer(ReaderName(m_pool[player].raw), std::move(tally));
  }
  for (const std::string& type : m_gameTypes)
    summary->AddGameType(type);
  summary->Set("games", m_games);
  summary->Set("shutdownGames", m_shutdowns);
  summary->Set("names", names);
  summary->Set("connects", m_connects);
  summary->Set("disconnects", m_disconnects);
  summary->Set("renames", m_renames);
  summary->Set("teamChanges", m_teamChanges);
  summary->Set("characterKills", m_characterKills);
  summary->Set("expected.frags", frags);
  summary->Set("expected.deaths", deaths);
  summary->Set("expected.suicides", suicides);
  summary->Set("expected.weaponFrags", weaponFrags);
  SummariseMeans(summary);
}

}  // namespace vexor::bench
