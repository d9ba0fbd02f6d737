// Custom variables applied to log lines: every client variable to every line of a client log,
// every server variable to every line of a server log's statistics pass, one definition after
// the other in index order. Which variables match a line and which players it names the line
// parsers found (VariableMatch.cpp, LineParsers.cpp); here the players' records are found and
// the four change slots applied.
//
// Definitions may come from a file: their targets are checked against the set's count and their
// values added with wrap-around.
#include <algorithm>
#include <string>

#include "base/TextNumbers.h"
#include "log/ClientLogForms.h"
#include "log/LineText.h"
#include "log/LogAnalysis.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {}  // namespace

void LogAnalysis::ApplyClientVariables(const LineBatch& batch, const LineFacts& facts,
                                       bool statistics) {
  for (uint32_t h = facts.firstHit; h < facts.firstHit + facts.hitCount; ++h) {
    const VariableHit& hit = batch.hits[h];
    NamedPlayer named[2];
    for (int i = 0; i < 2; ++i) {
      named[i] = {batch.Name(hit.names[i]), batch.Text(hit.raw[i]), -1, hit.nameNumbers[i]};
    }
    ApplyVariableMatch(VariableSide::kClient, m_doc.clientVars[static_cast<size_t>(hit.variable)],
                       named, statistics);
  }
}

void LogAnalysis::ApplyServerVariables(const LineBatch& batch, const LineFacts& facts) {
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

void LogAnalysis::ApplyVariableMatch(VariableSide side, const ChangeSlots& slots,
                                     const NamedPlayer (&named)[2], bool statistics) {
  // In the statistics pass a player's record is looked up once for all its slots: a second
  // look-up finds what the first found or created.
  constexpr int32_t kNotLookedUp = -2;
  int32_t records[2] = {kNotLookedUp, kNotLookedUp};
  for (const SlotFields& slot : kSlotsInApplyOrder) {
    if (slots.*slot.change == 0) continue;
    size_t i = slot.player == 1 ? 0 : 1;
    const NamedPlayer& who = named[i];
    if (who.name.empty()) continue;
    // The player is looked up (and, for a client log, discovered) whatever the slot's target,
    // so that both passes find the same names on the same lines.
    int32_t p = statistics && records[i] != kNotLookedUp ? records[i]
                                                         : VariablePlayer(side, who, statistics);
    records[i] = p;
    if (p > 0) AddToVariableCounts(side, p, slots.*slot.target, slots.*slot.value);
  }
}

int32_t LogAnalysis::VariablePlayer(VariableSide side, const NamedPlayer& named, bool statistics) {
  if (!statistics) {
    // Player records do not exist yet: the discovery pass finds names only.
    if (side == VariableSide::kClient) DiscoverName(named.name);
    return -1;
  }
  if (side == VariableSide::kClient) return ClientPlayer(named.name, named.rawName, named.number);
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

void LogAnalysis::AddToVariableCounts(VariableSide side, int32_t p, int32_t target,
                                      int32_t amount) {
  bool client = side == VariableSide::kClient;
  int32_t count = UsableVariableCount(client ? m_doc.clientVarCount : m_doc.serverVarCount);
  if (target < 0 || target > count) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  AddToVariable(client ? player.clientVarTotals : player.serverVarTotals, target, amount);
  PlayerGame& game = player.games.At(m_doc.currentGame);
  AddWrapping(client ? &game.ClientVarRef(target, count) : &game.ServerVarRef(target, count),
              amount);
}

}  // namespace vexor
