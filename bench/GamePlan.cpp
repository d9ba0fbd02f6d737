#include "GamePlan.h"

#include "FamilyMeans.h"

#include <algorithm>
#include <iterator>

namespace vexor::bench {
namespace {

constexpr const char* kRenameTags[] = {"|afk", "|brb", "|food"};

// A non-player character kills, dies by a player, or dies by the level in this share of a Jedi
// Academy log's kills.
constexpr double kCharacterKills = 0.06;

}  // namespace

GamePlanner::GamePlanner(const GeneratorOptions& options, const PlayerPool& pool, uint64_t seed)
    : m_options(options),
      m_pool(pool),
      m_random(seed),
      m_quake(options.flavour == Flavour::kQuake3 || options.flavour == Flavour::kOpenArena),
      m_inGame(static_cast<size_t>(pool.Size()), 0),
      m_showcaseDone(static_cast<size_t>(KillFormCount(options.flavour)), false),
      m_showcaseLeft(0) {
  std::span<const int> mix = FamilyOf(options.flavour).defaultTypes;
  m_types =
      options.gameTypes.empty() ? std::vector<int>(mix.begin(), mix.end()) : options.gameTypes;
  // Forms the flavour's logs never show count as shown.
  for (int32_t f = 0; f < KillFormCount(options.flavour); ++f) {
    bool logged = KillFormLoggedIn(f, options.flavour);
    m_showcaseDone[static_cast<size_t>(f)] = !logged;
    if (logged) ++m_showcaseLeft;
  }
}

void GamePlanner::Plan(int32_t number, GamePlan* plan) {
  plan->number = number;
  plan->participants.clear();
  plan->kills.clear();
  ChooseSettings(plan);
  ChooseDuration(plan);
  ChooseRoster(plan);
  PlanStints(plan);
  if (!m_quake) PlanTeamChanges(plan);
  if (m_options.slots == SlotMode::kLowest) AssignLowestSlots(plan);
  PlanRenames(plan);
  PlanKills(plan);
}

void GamePlanner::ChooseSettings(GamePlan* plan) {
  plan->gameType = m_types[m_random.Below(static_cast<uint32_t>(m_types.size()))];
  plan->type = &GameTypeOf(m_options.flavour, plan->gameType);
  plan->map = m_options.maps.empty()
                  ? Pick(plan->type->maps, m_random)
                  : m_options.maps[m_random.Below(static_cast<uint32_t>(m_options.maps.size()))];
  Limits limits = Pick(plan->type->limits, m_random);
  plan->fragLimit = limits.frag;
  plan->timeLimit = limits.time;
  plan->captureLimit = plan->type->captureLimit;
}

void GamePlanner::ChooseDuration(GamePlan* plan) {
  // The first game is never short: a log opens with a game worth showing.
  plan->shortGame = plan->number > 1 && m_random.Chance(m_options.shortGames);
  // A server restarts now and then, and always after it went down during a game.
  bool restart = m_options.clock == ClockMode::kReset ||
                 (m_options.clock == ClockMode::kMixed && (m_random.Chance(0.05) || m_lastCrashed));
  plan->restartsClock = restart || plan->number == 1;
  plan->shutdown = !m_random.Chance(m_options.noShutdown);
  m_lastCrashed = !plan->shutdown;
  plan->exitReason = nullptr;
  int32_t limit = plan->timeLimit * 60;
  // Quake 3 logs end by their time limit whenever there is no frag limit; the other families'
  // games may also end by their captures or rounds.
  bool scoreLimit =
      plan->fragLimit != 0 || (!m_quake && (plan->captureLimit != 0 || plan->type->rounds));
  if (plan->shortGame) {
    // A map changed by a vote or an admin straight away.
    plan->duration = m_random.Between(3, 20);
  } else if (limit > 0 && (!scoreLimit || m_random.Chance(0.6))) {
    plan->duration = limit;
    plan->exitReason = "Timelimit hit.";
  } else {
    plan->duration = m_random.Between(240, limit > 0 ? limit - 10 : 1200);
    plan->exitReason = plan->type->limitExit;
  }
  if (!plan->shutdown) {
    // The server went down during the game: no exit, no scores, no shutdown line.
    plan->duration = m_random.Between(plan->shortGame ? 3 : 60, plan->duration);
    plan->exitReason = nullptr;
  }
  plan->shutdownAt = plan->duration + (plan->exitReason != nullptr ? m_random.Between(3, 16) : 0);
}

void GamePlanner::AddParticipant(GamePlan* plan, int32_t player) {
  Participant& p = plan->participants.emplace_back();
  p.player = player;
  p.raw = m_pool[player].raw;
  m_inGame[static_cast<size_t>(player)] = static_cast<uint32_t>(plan->number);
}

void GamePlanner::ChooseRoster(GamePlan* plan) {
  int32_t poolSize = m_pool.Size();
  int32_t wanted = m_random.Between(m_options.perGame * 3 / 4, m_options.perGame * 5 / 4);
  if (plan->type->duelists > 0) wanted = plan->type->duelists;  // a duel
  wanted = std::clamp(wanted, 1, std::min(poolSize, FamilyOf(m_options.flavour).maxClients));
  bool client = m_options.kind == LogKind::kClient;
  if (client) {
    AddParticipant(plan, 0);  // the owner of the log plays every game
    m_introduced = std::max(m_introduced, 1);
  }
  // Newcomers arrive over the first two thirds of the log, so that the whole pool plays.
  int32_t introGames = std::max(1, m_options.games * 2 / 3);
  int32_t gamesLeft = std::max(1, introGames - plan->number + 1);
  int32_t waiting = poolSize - m_introduced;
  int32_t newcomers = (waiting + gamesLeft - 1) / gamesLeft;
  int32_t present = static_cast<int32_t>(plan->participants.size());
  // Enough newcomers that the regulars can fill the rest of the roster.
  newcomers = std::max(newcomers, wanted - m_introduced);
  for (int32_t i = 0; i < newcomers && present < wanted && m_introduced < poolSize; ++i) {
    AddParticipant(plan, m_introduced++);
    ++present;
  }
  // Regulars: players who came early play most.
  for (int32_t attempt = 0; present < wanted && attempt < wanted * 8; ++attempt) {
    double u = m_random.Unit();
    int32_t player = static_cast<int32_t>(u * u * m_introduced);
    if (m_inGame[static_cast<size_t>(player)] == static_cast<uint32_t>(plan->number)) continue;
    AddParticipant(plan, player);
    ++present;
  }
  // Quake 3 servers only: the other families' readers name players by rules of their own.
  if (m_options.kind == LogKind::kServer && m_quake && m_random.Chance(m_options.collide)) {
    // A second client under the name of one already here (often the same bot added twice).
    for (size_t i = 0; i < plan->participants.size(); ++i) {
      int32_t player = plan->participants[i].player;
      if (!m_pool.IsTwin(player)) continue;
      Participant& twin = plan->participants.emplace_back();
      twin.player = player;
      twin.raw =
          m_random.Chance(0.5) ? m_pool[player].raw : Recoloured(m_pool[player].raw, m_random);
      break;
    }
  }
}

void GamePlanner::PlanStints(GamePlan* plan) {
  int32_t end = plan->duration;
  for (size_t i = 0; i < plan->participants.size(); ++i) {
    Participant& p = plan->participants[i];
    p.team = plan->IsTeamGame() ? static_cast<int32_t>(i % 2) + 1 : 0;
    p.stintCount = 1;
    Stint& first = p.stints[0];
    first = Stint{};
    first.slot = static_cast<int32_t>(i);
    first.leave = end;
    if (i == 0 || plan->shortGame) {
      first.join = i == 0 ? 0 : m_random.Between(0, 1);
      continue;
    }
    bool late = m_random.Chance(m_options.churn) && end > 60;
    first.join = late ? m_random.Between(10, end * 2 / 3) : m_random.Between(0, 2);
    if (!m_random.Chance(m_options.churn) || first.join + 20 >= end - 10) continue;
    first.leave = m_random.Between(first.join + 20, end - 10);
    first.disconnects = true;
    if (!m_random.Chance(0.35) || first.leave + 5 >= end - 20) continue;
    // Back in the same game: a new connection under the same client number.
    Stint& second = p.stints[1];
    second = Stint{};
    second.join = m_random.Between(first.leave + 5, end - 20);
    second.leave = end;
    second.slot = first.slot;
    p.stintCount = 2;
  }
}

// Now and then a player of a team game joins the other team during his first connection.
void GamePlanner::PlanTeamChanges(GamePlan* plan) {
  if (!plan->IsTeamGame()) return;
  for (Participant& p : plan->participants) {
    const Stint& first = p.stints[0];
    if (!m_random.Chance(0.1) || first.join + 20 >= first.leave - 10) continue;
    p.teamChangeAt = m_random.Between(first.join + 20, first.leave - 10);
  }
}

// Hands out the lowest free client number at every connection, in time order, as a server
// does; a player who comes back may then get another number than before.
void GamePlanner::AssignLowestSlots(GamePlan* plan) {
  struct Change {
    int32_t time;
    int32_t order;  // leaves before joins in the same second
    size_t participant;
    int32_t stint;
  };
  std::vector<Change> changes;
  for (size_t i = 0; i < plan->participants.size(); ++i) {
    const Participant& p = plan->participants[i];
    for (int32_t s = 0; s < p.stintCount; ++s) {
      const Stint& stint = p.stints[static_cast<size_t>(s)];
      changes.push_back({stint.join, 1, i, s});
      if (stint.disconnects) changes.push_back({stint.leave, 0, i, s});
    }
  }
  std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
    return a.time != b.time ? a.time < b.time : a.order < b.order;
  });
  uint64_t used = 0;
  for (const Change& change : changes) {
    Stint& stint = plan->participants[change.participant].stints[static_cast<size_t>(change.stint)];
    if (change.order == 0) {
      used &= ~(uint64_t{1} << stint.slot);
      continue;
    }
    int32_t slot = 0;
    while (slot < 63 && (used & (uint64_t{1} << slot)) != 0)
      ++slot;
    stint.slot = slot;
    used |= uint64_t{1} << slot;
  }
}

void GamePlanner::PlanRenames(GamePlan* plan) {
  for (Participant& p : plan->participants) {
    const Stint& first = p.stints[0];
    if (PlanBeginRename(&p)) continue;
    if (!m_random.Chance(m_options.renames) || first.join + 10 >= first.leave - 5) continue;
    if (m_pool[p.player].bot) continue;  // bots keep their names
    p.renameAt = m_random.Between(first.join + 10, first.leave - 5);
    // A new name (not only new colours) only for a player who does not connect again: his
    // next connection would bring the new name in as a player of its own.
    bool twin = m_pool.IsTwin(p.player);
    // Other families: new colours only, which every reader takes for the same player.
    p.keyChanged = m_quake && p.stintCount == 1 && !twin && m_random.Chance(0.25);
    p.renamed = p.keyChanged ? StripColours(p.raw) + Pick(kRenameTags, m_random)
                             : Recoloured(p.raw, m_random);
  }
}

// A game client connects under the name the server knew and sends its configured name before
// it begins: a new name from the connect on, for a human who connects once in the game.
bool GamePlanner::PlanBeginRename(Participant* p) {
  // No draw at all without the option: logs written without it stay as they were.
  if (m_options.beginRenames <= 0 || m_options.kind != LogKind::kServer || !m_quake) return false;
  if (m_pool[p->player].bot || p->stintCount != 1 || m_pool.IsTwin(p->player)) return false;
  if (!m_random.Chance(m_options.beginRenames)) return false;
  p->renameAt = p->stints[0].join;
  p->keyChanged = true;
  p->renamed = StripColours(p->raw) + Pick(kRenameTags, m_random);
  return true;
}

void GamePlanner::PlanKills(GamePlan* plan) {
  if (plan->duration < 2) return;
  int32_t count = plan->shortGame
                      ? static_cast<int32_t>(m_random.Below(4))
                      : m_random.Between(m_options.kills * 7 / 10, m_options.kills * 13 / 10);
  for (int32_t i = 0; i < count; ++i) {
    PlannedKill kill;
    kill.time = m_random.Between(1, plan->duration - 1);
    m_connected.clear();
    for (size_t p = 0; p < plan->participants.size(); ++p) {
      if (plan->participants[p].StintAt(kill.time) >= 0)
        m_connected.push_back(static_cast<int16_t>(p));
    }
    if (!m_connected.empty() && PlanKill(*plan, m_connected, &kill)) plan->kills.push_back(kill);
  }
  std::stable_sort(plan->kills.begin(), plan->kills.end(),
                   [](const PlannedKill& a, const PlannedKill& b) { return a.time < b.time; });
}

// Until every kill form has been shown once, a kill takes a form not shown yet of the kind
// drawn, so that even a small log shows each obituary, each suicide message and each means of
// death while frags, world kills and self kills keep their shares. A form that the players on
// the server cannot give (a self kill of a female player when none is connected) waits.
bool GamePlanner::PlanShowcaseKill(const GamePlan& plan, const std::vector<int16_t>& connected,
                                   KillKind kind, PlannedKill* kill) {
  size_t n = connected.size();
  size_t start = m_random.Below(static_cast<uint32_t>(n));
  for (int32_t f = 0; f < KillFormCount(m_options.flavour); ++f) {
    KillForm form = KillFormAt(f, m_options.flavour);
    if (m_showcaseDone[static_cast<size_t>(f)] || form.kind != kind) continue;
    int16_t victim = -1;
    for (size_t k = 0; k < n && victim < 0; ++k) {
      int16_t candidate = connected[(start + k) % n];
      const PoolPlayer& player = m_pool[plan.participants[static_cast<size_t>(candidate)].player];
      if (kind != KillKind::kSelf || player.gender == form.gender) victim = candidate;
    }
    if (victim < 0) continue;
    kill->mod = static_cast<uint8_t>(form.mod);
    kill->victim = victim;
    m_showcaseDone[static_cast<size_t>(f)] = true;
    --m_showcaseLeft;
    return true;
  }
  return false;
}

bool GamePlanner::PlanKill(const GamePlan& plan, const std::vector<int16_t>& connected,
                           PlannedKill* kill) {
  if (m_options.flavour == Flavour::kJediAcademy && m_random.Chance(kCharacterKills)) {
    PlanCharacterKill(connected, kill);
    return true;
  }
  double u = m_random.Unit();
  KillKind kind = u < m_options.worldKills                         ? KillKind::kWorld
                  : u < m_options.worldKills + m_options.selfKills ? KillKind::kSelf
                                                                   : KillKind::kFrag;
  uint32_t n = static_cast<uint32_t>(connected.size());
  // Alone on the server: no frag, and the player does not die more often for it.
  if (kind == KillKind::kFrag && n < 2) return false;
  kill->kind = kind;
  uint32_t victim = 0;
  if (m_showcaseLeft > 0 && PlanShowcaseKill(plan, connected, kind, kill)) {
    victim = static_cast<uint32_t>(std::find(connected.begin(), connected.end(), kill->victim) -
                                   connected.begin());
  } else {
    kill->mod = static_cast<uint8_t>(PickMeansOfDeath(kind, m_options.flavour, m_random.Next()));
    victim = m_random.Below(n);
    kill->victim = connected[victim];
  }
  kill->killer = kind == KillKind::kWorld ? -1 : kill->victim;
  if (kind == KillKind::kFrag) {
    uint32_t killer = (victim + 1 + m_random.Below(n - 1)) % n;
    kill->killer = connected[killer];
    if (m_options.flavour != Flavour::kQuake3 && plan.IsTeamGame()) {
      kill->killer = connected[OpponentOf(plan, connected, victim, killer, kill->time)];
    }
  }
  return true;
}

void GamePlanner::PlanCharacterKill(const std::vector<int16_t>& connected, PlannedKill* kill) {
  kill->npc =
      static_cast<int16_t>(m_random.Below(static_cast<uint32_t>(NonPlayerCharacters().size())));
  kill->npcSlot = static_cast<int16_t>(32 + m_random.Below(48));
  int16_t player = connected[m_random.Below(static_cast<uint32_t>(connected.size()))];
  double u = m_random.Unit();
  kill->kind = u < 0.9 ? KillKind::kFrag : KillKind::kWorld;
  kill->killer = u < 0.55 ? player : -1;
  kill->victim = u >= 0.55 && u < 0.9 ? player : -1;
  kill->mod =
      static_cast<uint8_t>(PickMeansOfDeath(kill->kind, m_options.flavour, m_random.Next()));
}

// With friendly fire on, a team kill happens now and then; most frags hit the other team. The
// first player of the other team from the drawn killer on takes his place, unless the frag is
// to be a team kill.
uint32_t GamePlanner::OpponentOf(const GamePlan& plan, const std::vector<int16_t>& connected,
                                 uint32_t victim, uint32_t killer, int32_t time) {
  int32_t team = plan.participants[static_cast<size_t>(connected[victim])].TeamAt(time);
  if (m_random.Chance(0.08)) return killer;
  uint32_t n = static_cast<uint32_t>(connected.size());
  for (uint32_t k = 0; k < n; ++k) {
    uint32_t candidate = (killer + k) % n;
    if (plan.participants[static_cast<size_t>(connected[candidate])].TeamAt(time) != team)
      return candidate;
  }
  return killer;  // nobody of the other team is on the server
}

}  // namespace vexor::bench
