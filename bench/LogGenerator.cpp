#include "LogGenerator.h"

#include <memory>

#include "ClientLogWriter.h"
#include "GamePlan.h"
#include "JediAcademyLogWriter.h"
#include "LineBuffer.h"
#include "PlayerPool.h"
#include "Random.h"
#include "ServerLogWriter.h"
#include "UrbanTerrorLogWriter.h"
#include "base/StringPrintf.h"

namespace vexor::bench {

int64_t GeneratorSummary::Get(const std::string& key) const {
  auto found = m_values.find(key);
  return found == m_values.end() ? 0 : found->second;
}

int64_t PlayerTally::FragsBy(const std::string& meansOrWeapon) const {
  auto means = fragsByMeans.find(meansOrWeapon);
  if (means != fragsByMeans.end()) return means->second;
  auto weapon = fragsByWeapon.find(meansOrWeapon);
  return weapon == fragsByWeapon.end() ? 0 : weapon->second;
}

const PlayerTally& GeneratorSummary::Player(const std::string& name) const {
  static const PlayerTally kNone;
  auto found = m_players.find(name);
  return found == m_players.end() ? kNone : found->second;
}

std::string GeneratorSummary::Text() const {
  std::string text;
  for (const auto& [key, value] : m_values) {
    StringAppendF(&text, "%s %lld\n", key.c_str(), static_cast<long long>(value));
  }
  for (const auto& [name, tally] : m_players) {
    const char* n = name.c_str();
    StringAppendF(&text, "player.%s.frags %lld\nplayer.%s.deaths %lld\nplayer.%s.suicides %lld\n",
                  n, static_cast<long long>(tally.frags), n, static_cast<long long>(tally.deaths),
                  n, static_cast<long long>(tally.suicides));
    for (const auto& [weapon, frags] : tally.fragsByWeapon)
      StringAppendF(&text, "player.%s.weapon.%s %lld\n", n, weapon.c_str(),
                    static_cast<long long>(frags));
    for (const auto& [means, frags] : tally.fragsByMeans)
      StringAppendF(&text, "player.%s.means.%s %lld\n", n, means.c_str(),
                    static_cast<long long>(frags));
  }
  for (size_t g = 0; g < m_gameTypes.size(); ++g)
    StringAppendF(&text, "gameType.%zu %s\n", g + 1, m_gameTypes[g].c_str());
  return text;
}

void GenerateLog(const GeneratorOptions& options, ByteSink& sink, GeneratorSummary* summary) {
  // Each part draws from a stream of its own: the pool, the plans and the writing.
  Random seeds(options.seed);
  uint64_t poolSeed = seeds.Fork();
  Random poolRandom(options.poolSeed != 0 ? options.poolSeed : poolSeed);
  PlayerPool pool(options.players, poolRandom);
  GamePlanner planner(options, pool, seeds.Fork());
  LineBuffer out(sink, options.crlf);
  std::unique_ptr<LogWriter> writer;
  uint64_t writerSeed = seeds.Fork();
  if (options.kind == LogKind::kClient) {
    writer = std::make_unique<ClientLogWriter>(options, pool, out, writerSeed);
  } else if (options.flavour == Flavour::kUrbanTerror) {
    writer = std::make_unique<UrbanTerrorLogWriter>(options, pool, out, writerSeed);
  } else if (options.flavour == Flavour::kJediAcademy) {
    writer = std::make_unique<JediAcademyLogWriter>(options, pool, out, writerSeed);
  } else {
    writer = std::make_unique<ServerLogWriter>(options, pool, out, writerSeed);
  }
  GamePlan plan;
  for (int32_t g = 1; g <= options.games; ++g) {
    planner.Plan(g, &plan);
    writer->WriteGame(plan);
  }
  writer->Finish(summary);
  out.Flush();
  summary->Set("poolPlayersUsed", planner.Introduced());
  summary->Set("lines", static_cast<int64_t>(out.Lines()));
  summary->Set("bytes", static_cast<int64_t>(out.Bytes()));
}

}  // namespace vexor::bench
