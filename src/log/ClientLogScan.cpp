// The discovery pass over a client console log: games and their maps, names and who took part
// in which game. A client log's games are numbered on from the games already counted in the
// load, and its names join the names of every other log of the load.
//
// What this pass adds, the statistics pass must create in the same order (record k is name k):
// every rule here mirrors one of ClientLogParse.cpp, Obituaries.cpp or VariableMatching.cpp.
#include <string>

#include "base/TextNumbers.h"
#include "log/ClientLogForms.h"
#include "log/ClientLogPass.h"
#include "log/LineText.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

bool ClientLogPass::Scan() {
  if (!OpenLog(MakeParser(ClientReading::kDiscovery))) return false;
  m_doc.currentGame = 0;
  m_doc.clientGameCounter = 0;
  bool gameStarted = false;  // a game start was seen in this file
  std::string_view line;
  while (NextLine(&line))
    ScanClientLine(line, &gameStarted);
  m_doc.currentGame = 0;
  m_doc.clientGameCounter = 0;
  return FinishPass();
}

void ClientLogPass::ScanClientLine(std::string_view line, bool* gameStarted) {
  const LineBatch& batch = *m_batch;
  const LineFacts& facts = *m_facts;
  if (facts.kind == LineKind::kGameStart) {
    // The statistics pass reads nothing more from a game start line than the game itself.
    ScanGameStart();
    *gameStarted = true;
    return;
  }
  ScanMapLoad(line, facts);
  switch (facts.kind) {
    case LineKind::kEntry:
      ScanEntryLine(batch, facts, *gameStarted);
      break;
    case LineKind::kObituary:
      HandleObituary(batch, facts, false);
      break;
    case LineKind::kSuicide:
      HandleSuicideMessage(batch, facts, false);
      break;
    default:
      break;
  }
  // Lines that name their players themselves are read for those names only.
  if (DiscoveryReadsVariables(batch, facts)) ApplyClientVariables(batch, facts, false);
}

void ClientLogPass::ScanMapLoad(std::string_view line, const LineFacts& facts) {
  if ((facts.flags & kMapLoad) != 0 && m_doc.gameCount < VexoriumDoc::kMaxGames) {
    // The client names the map before the game starts: it belongs to the next game.
    m_doc.games[static_cast<size_t>(m_doc.gameCount) + 1].mapName = MapLoadName(line);
  }
}

int32_t ClientLogPass::ScanEntryLine(const LineBatch& batch, const LineFacts& facts,
                                     bool gameStarted) {
  // Entries before the file's first game start count in no game of the statistics pass.
  const LineNames& names = batch.NamesOf(facts);
  if (names.raw[0].size == 0 || !gameStarted) return kNameNotLookedUp;
  return ScanEntry(batch.Name(names.names[0]));
}

void ClientLogPass::ScanGameStart() {
  OpenDiscoveredGame();
  if (m_doc.gameCount > VexoriumDoc::kMaxGames) return;
  ++m_doc.clientGameCounter;
  ++m_doc.currentGame;
}

void ClientLogPass::OpenDiscoveredGame() {
  m_doc.gameCount = SaturatingAdd(m_doc.gameCount, 1);
  m_doc.familiesRead[static_cast<size_t>(GameFamily::kQuake3)] = true;  // a client's console
  if (m_doc.gameCount > VexoriumDoc::kMaxGames) return;
  GameRecord& game = m_doc.games[static_cast<size_t>(m_doc.gameCount)];
  game.playerNumber = 0;
  game.fragLimit = 0;
  game.timeLimit = 0;
  game.serverLogGame = 0;
  if (game.mapName.empty()) game.mapName = "Unknown";
  m_doc.presence.ClearRow(m_doc.gameCount);
}

int32_t ClientLogPass::ScanEntry(std::string_view key) {
  if (key.empty()) return -1;  // a name of colour codes alone names nobody
  int32_t n = m_doc.FindName(key);
  if (n > 0) {
    // The statistics pass clears the client slot of a player entering a game he was not seen
    // in yet; the name slot follows, so that a server log read next finds the same names.
    if (key != kDefaultPlayerName && m_doc.presence.Get(m_doc.gameCount, n) == 0) {
      m_doc.SetNameSlot(n, kClientLogSlot);
    }
    m_doc.presence.Mark(m_doc.gameCount, n);
    return n;
  }
  return DiscoverName(key);
}

int32_t ClientLogPass::DiscoverName(std::string_view key) {
  if (key.empty()) return -1;
  int32_t n = m_doc.FindName(key);
  if (n < 0) {
    if (key == kDefaultPlayerName) return -1;
    // No more names at the limit; the statistics pass then finds no name to create a record for.
    n = m_doc.AddName(key, kClientLogSlot);
    if (m_once && n > 0) NoteNewName(key);
  }
  if (n > 0) m_doc.presence.Mark(m_doc.gameCount, n);
  return n;
}

}  // namespace vexor
