#include "ServerLogBase.h"

#include <algorithm>
#include <numeric>

namespace vexor::bench {
namespace {

constexpr std::string_view kSeparator =
    "------------------------------------------------------------";

}  // namespace

ServerLogBase::ServerLogBase(const GeneratorOptions& options, const PlayerPool& pool,
                             LineBuffer& out, uint64_t seed)
    : m_options(options),
      m_pool(pool),
      m_out(out),
      m_random(seed),
      m_events(options.noise, true, options.flavour, m_random.Fork()) {
  for (KillKind kind : {KillKind::kFrag, KillKind::kWorld, KillKind::kSelf}) {
    m_modCounts[static_cast<size_t>(kind)].assign(MeansOfDeathOf(kind, options.flavour).size(), 0);
  }
}

void ServerLogBase::Begin(int32_t time) {
  m_out.AppendClock(m_base + time);
  m_out.Append(' ');
}

void ServerLogBase::AppendName(std::string_view raw) {
  m_out.Append(raw);
}

void ServerLogBase::WriteSeparator(int32_t time) {
  if (m_options.noise == 0) return;
  Begin(time);
  m_out.Append(kSeparator);
  m_out.EndLine();
}

void ServerLogBase::AppendSettings(const char* settings, const GamePlan& plan,
                                   std::string_view hostname, std::string_view version) {
  int32_t maxClients =
      std::max<int32_t>(16, (static_cast<int32_t>(plan.participants.size()) + 8) / 8 * 8);
  for (const char* c = settings; *c != '\0'; ++c) {
    if (*c != '$') {
      m_out.Append(*c);
      continue;
    }
    switch (*++c) {
      case 'H':
        m_out.Append(hostname);
        break;
      case 'T':
        m_out.AppendInt(plan.gameType);
        break;
      case 'F':
        m_out.AppendInt(plan.fragLimit);
        break;
      case 'L':
        m_out.AppendInt(plan.timeLimit);
        break;
      case 'C':
        m_out.AppendInt(plan.captureLimit);
        break;
      case 'X':
        m_out.AppendInt(maxClients);
        break;
      case 'V':
        m_out.Append(version);
        break;
      default:
        m_out.Append(plan.map);
        break;
    }
  }
}

void ServerLogBase::BeginInfoChanged(int32_t time, int32_t slot, std::string_view raw,
                                     int32_t team) {
  Begin(time);
  m_out.Append("ClientUserinfoChanged: ");
  m_out.AppendInt(slot);
  m_out.Append(" n\\");
  AppendName(raw);
  m_out.Append("\\t\\");
  m_out.AppendInt(team);
}

void ServerLogBase::AppendNumbers(std::initializer_list<int64_t> numbers) {
  bool first = true;
  for (int64_t number : numbers) {
    if (!first) m_out.Append(' ');
    m_out.AppendInt(number);
    first = false;
  }
}

void ServerLogBase::WriteKillLine(int32_t time, int32_t killerSlot, int32_t victimSlot,
                                  const MeansOfDeath& mod, std::string_view killer,
                                  std::string_view victim) {
  Begin(time);
  m_out.Append("Kill: ");
  AppendNumbers({killerSlot, victimSlot, mod.number});
  m_out.Append(": ");
  AppendName(killer);
  m_out.Append(" killed ");
  AppendName(victim);
  m_out.Append(" by ");
  m_out.Append(mod.name);
  m_out.EndLine();
}

int32_t ServerLogBase::SlotAt(const Participant& p, int32_t time) {
  return p.stints[static_cast<size_t>(p.StintAt(time))].slot;
}

void ServerLogBase::WriteScoreLines(const GamePlan& plan) {
  std::vector<int32_t> order;
  for (size_t i = 0; i < plan.participants.size(); ++i) {
    const Participant& p = plan.participants[i];
    if (!p.stints[static_cast<size_t>(p.stintCount - 1)].disconnects)
      order.push_back(static_cast<int32_t>(i));
  }
  std::stable_sort(order.begin(), order.end(), [this](int32_t a, int32_t b) {
    return m_scores[static_cast<size_t>(a)] > m_scores[static_cast<size_t>(b)];
  });
  for (int32_t i : order) {
    const Participant& p = plan.participants[static_cast<size_t>(i)];
    Begin(plan.duration);
    m_out.Append("score: ");
    m_out.AppendInt(m_scores[static_cast<size_t>(i)]);
    m_out.Append("  ping: ");
    m_out.AppendInt(m_pool[p.player].bot ? 0 : m_random.Between(3, 120));
    m_out.Append("  client: ");
    m_out.AppendInt(p.stints[static_cast<size_t>(p.stintCount - 1)].slot);
    m_out.Append(' ');
    AppendName(p.NameAt(plan.duration));
    m_out.EndLine();
  }
}

void ServerLogBase::WriteTeamScores(const GamePlan& plan) {
  if (!plan.IsTeamGame()) return;
  Begin(plan.duration);
  m_out.Append("red:");
  m_out.AppendInt(m_random.Between(0, plan.captureLimit > 0 ? plan.captureLimit : 60));
  m_out.Append("  blue:");
  m_out.AppendInt(m_random.Between(0, plan.captureLimit > 0 ? plan.captureLimit : 60));
  m_out.EndLine();
}

void ServerLogBase::SummariseMeans(GeneratorSummary* summary) const {
  int64_t kills = 0;
  for (KillKind kind : {KillKind::kFrag, KillKind::kWorld, KillKind::kSelf}) {
    std::span<const MeansOfDeath> table = MeansOfDeathOf(kind, m_options.flavour);
    const std::vector<int64_t>& counts = m_modCounts[static_cast<size_t>(kind)];
    int64_t total = std::accumulate(counts.begin(), counts.end(), int64_t{0});
    kills += total;
    summary->Set(kind == KillKind::kFrag    ? "frags"
                 : kind == KillKind::kWorld ? "worldKills"
                                            : "selfKills",
                 total);
    for (size_t m = 0; m < table.size(); ++m) {
      if (table[m].LoggedIn(m_options.flavour))
        summary->Add(std::string("mod.") + table[m].name, counts[m]);
    }
  }
  summary->Set("kills", kills);
}

}  // namespace vexor::bench
