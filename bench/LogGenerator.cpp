#include "LogGenerator.h"

#include <memory>

#include "ClientLogWriter.h"
#include "GamePlan.h"
#include "LineBuffer.h"
#include "PlayerPool.h"
#include "Random.h"
#include "ServerLogWriter.h"
#include "base/StringPrintf.h"

namespace vexor::bench {

int64_t GeneratorSummary::Get(const std::string& key) const {
  auto found = m_values.find(key);
  return found == m_values.end() ? 0 : found->second;
}

std::string GeneratorSummary::Text() const {
  std::string text;
  for (const auto& [key, value] : m_values) {
    StringAppendF(&text, "%s %lld\n", key.c_str(), static_cast<long long>(value));
  }
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
  if (options.kind == LogKind::kServer) {
    writer = std::make_unique<ServerLogWriter>(options, pool, out, seeds.Fork());
  } else {
    writer = std::make_unique<ClientLogWriter>(options, pool, out, seeds.Fork());
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
