// Client custom variables applied to the lines of a client log, one definition after the other
// in index order. Which variables match a line and which names they take from it the line
// parser found (VariableMatch.cpp, LineParsers.cpp); here the players are discovered (discovery
// pass) or their records found (statistics pass) and the change slots applied.
#include "log/ClientLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

ClientLogPass::ClientLogPass(VexoriumDoc& doc, const ReadObserver& observer, uint64_t limit)
    : LogPass(doc, observer, limit), m_nameNumbers(doc) {}

std::unique_ptr<LineParser> ClientLogPass::MakeParser(ClientReading reading) const {
  // Only the statistics pass reads after every name is known.
  return std::make_unique<ClientLineParser>(
      m_doc.clientVars, m_doc.clientVarCount, reading,
      reading == ClientReading::kStatistics ? &m_nameNumbers : nullptr);
}

int32_t ClientLogPass::DocNameNumbers::NumberOf(std::string_view name) const {
  return m_doc.FindName(name);
}

void ClientLogPass::ApplyClientVariables(const LineBatch& batch, const LineFacts& facts,
                                         bool statistics) {
  for (uint32_t h = facts.firstHit; h < facts.firstHit + facts.hitCount; ++h) {
    const VariableHit& hit = batch.hits[h];
    NamedPlayer named[2];
    for (int i = 0; i < 2; ++i) {
      int32_t number = m_once ? LineNameNumber(batch, facts, hit.names[i]) : hit.nameNumbers[i];
      named[i] = {batch.Name(hit.names[i]), batch.Text(hit.raw[i]), -1, number};
    }
    ApplyVariableMatch(VariableSide::kClient, m_doc.clientVars[static_cast<size_t>(hit.variable)],
                       named, statistics);
  }
}

int32_t ClientLogPass::VariablePlayer(const NamedPlayer& named, bool statistics) {
  if (!statistics) {
    // Player records do not exist yet: the discovery pass finds names only.
    DiscoverName(named.name);
    return -1;
  }
  return ClientPlayer(named.name, named.rawName, named.number);
}

}  // namespace vexor
