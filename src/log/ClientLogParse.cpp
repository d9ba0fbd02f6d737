// The statistics pass over a client console log: games and the players who entered them.
// Obituaries and suicide messages are in Obituaries.cpp. No client number, clock or play time
// is known in a client log: a player seen in a game has 1 second in it.
#include <string>

#include "base/TextNumbers.h"
#include "log/ClientLogForms.h"
#include "log/ClientLogPass.h"
#include "log/LineText.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

bool ClientLogPass::Parse() {
  if (!OpenLog(MakeParser(ClientReading::kStatistics))) return false;
  m_nameLookups.assign(VexoriumDoc::kPlayerSlots, RecordLookup{});
  m_doc.clientGameCounter = 0;  // the file's own games; the driver clears it too
  std::string_view line;
  while (NextLine(&line)) {
    const LineBatch& batch = *m_batch;
    const LineFacts& facts = *m_facts;
    switch (facts.kind) {
      case LineKind::kGameStart:
        HandleClientGameStart();
        break;
      case LineKind::kEntry:
        HandleEnteredGame(batch, facts);
        break;
      case LineKind::kObituary:
        HandleObituary(batch, facts, true);
        break;
      case LineKind::kSuicide:
        HandleSuicideMessage(batch, facts, true);
        break;
      default:
        break;
    }
    ApplyClientVariables(batch, facts, true);
  }
  return FinishPass();
}

void ClientLogPass::HandleClientGameStart() {
  m_doc.currentGame = SaturatingAdd(m_doc.currentGame, 1);
  m_doc.clientGameCounter = SaturatingAdd(m_doc.clientGameCounter, 1);
  m_doc.displayedGameCount = SaturatingAdd(m_doc.displayedGameCount, 1);
  if (m_doc.currentGame <= VexoriumDoc::kMaxGames) {
    GameRecord& game = m_doc.games[static_cast<size_t>(m_doc.currentGame)];
    game.shortGame = false;
    game.gameTypeName = "Unknown";
  }
  // The players' custom-variable counts of the new game read 0: nothing has written to a game
  // the pass has not reached yet.
}

void ClientLogPass::HandleEnteredGame(const LineBatch& batch, const LineFacts& facts) {
  if (m_doc.clientGameCounter == 0) return;  // no game started yet in this file
  const LineNames& names = batch.NamesOf(facts);
  std::string_view rawName = batch.Text(names.raw[0]);
  std::string_view key = batch.Name(names.names[0]);
  if (key.empty() || key == kDefaultPlayerName) return;
  int32_t p = ClientPlayer(key, rawName, names.nameNumbers[0]);
  if (p < 1) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  PlayerGame& game = player.games.At(m_doc.currentGame);
  if (game.seconds == 0) {
    player.gamesPlayed = SaturatingAdd(player.gamesPlayed, 1);
    game = PlayerGame{};
    game.seconds = 1;
    m_doc.SetClientSlot(p, kClientLogSlot);
    player.connectTime.clear();
    player.disconnectTime.clear();
  }
}

int32_t ClientLogPass::ClientPlayer(std::string_view key, std::string_view rawName,
                                    int32_t number) {
  if (key.empty()) return -1;
  // What a name found stays while the names of the records and the name count do: most lines
  // name players whose records exist.
  RecordLookup* kept = number >= 1 && static_cast<size_t>(number) < m_nameLookups.size()
                           ? &m_nameLookups[static_cast<size_t>(number)]
                           : nullptr;
  if (kept != nullptr && kept->Holds(m_doc)) return kept->found;
  int32_t p = m_doc.FindPlayer(key, 1, m_doc.nameCount);
  if (p < 1) {
    if (key == kDefaultPlayerName) return -1;
    // Only the record of the next name the discovery pass found: anything else would break the
    // pairing of record k with name k (and the presence table behind it).
    int32_t n = number != kNameNotLookedUp ? number : m_doc.FindName(key);
    if (m_once && n < 1) NoteUnnamed(key);
    if (n != m_doc.playerCount + 1) return -1;
    p = m_doc.CreatePlayer(std::string(key), std::string(rawName), kClientLogSlot);
    if (p < 1) return p;
  }
  if (kept != nullptr) kept->Keep(m_doc, p);
  return p;
}

void ClientLogPass::SeeInGame(int32_t p) {
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  PlayerGame& game = player.games.At(m_doc.currentGame);
  if (game.seconds > 0) return;
  // A game of a server log that a client log's first lines count into keeps its play time.
  player.gamesPlayed = SaturatingAdd(player.gamesPlayed, 1);
  game.seconds = 1;
}

int32_t ClientLogPass::ClientPosition(int32_t p) {
  if (p < 1 || p > m_doc.nameCount) return -1;
  return PresentPosition(p);
}

}  // namespace vexor
