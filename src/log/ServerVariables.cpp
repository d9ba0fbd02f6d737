// Server custom variables applied to the lines of a server log's statistics pass, one definition
// after the other in index order. Which variables match a line and which client numbers they
// name the line parser found (VariableMatch.cpp, LineParsers.cpp); here the records connected
// under those numbers are found and the change slots applied.
#include "log/LineParsers.h"
#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

std::unique_ptr<LineParser> ServerLogPass::MakeParser(bool statistics) const {
  return std::make_unique<ServerLineParser>(statistics, m_doc.serverVars, m_doc.serverVarCount);
}

void ServerLogPass::ApplyServerVariables(const LineBatch& batch, const LineFacts& facts) {
  for (uint32_t h = facts.firstHit; h < facts.firstHit + facts.hitCount; ++h) {
    const VariableHit& hit = batch.hits[h];
    // The players are the records connected under the client numbers the line carries,
    // whatever names they took since (else a later record wins among those that held the
    // number). Records of client logs have no client number and never match.
    NamedPlayer named[2];
    for (int i = 0; i < 2; ++i) {
      std::string_view client = batch.Text(hit.raw[i]);
      if (client.empty()) continue;
      int32_t p = ConnectedIn(client);
      if (p < 1) p = m_doc.ConnectedPlayerInSlot(client, 1, m_doc.playerCount, true);
      if (p < 1) continue;
      const PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
      named[i] = {player.name, player.rawName, p};
    }
    ApplyVariableMatch(VariableSide::kServer, m_doc.serverVars[static_cast<size_t>(hit.variable)],
                       named, true);
  }
}

int32_t ServerLogPass::VariablePlayer(const NamedPlayer& named, bool statistics) {
  if (!statistics) return -1;  // records do not exist yet
  // Server players come from the records themselves; the tables are sized, so no name is added.
  // The look-up of a record's own name is kept: the same few players fill a game's lines.
  if (named.record < 0 || named.record >= VexoriumDoc::kPlayerSlots) {
    return m_doc.FindPlayer(named.name, 1, m_doc.nameCount);
  }
  if (m_recordLookups.empty()) m_recordLookups.resize(VexoriumDoc::kPlayerSlots);
  RecordLookup& kept = m_recordLookups[static_cast<size_t>(named.record)];
  if (!kept.Holds(m_doc)) kept.Keep(m_doc, m_doc.FindPlayer(named.name, 1, m_doc.nameCount));
  return kept.found;
}

}  // namespace vexor
