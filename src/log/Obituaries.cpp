// Obituaries and suicide messages of a client console log: frags, deaths and suicides by name,
// the weapons the messages name, and the games' kill tables.
//
// Presence in a game is settled by the discovery pass, which marks the same names on the same
// lines; the statistics pass only reads it, so that in-game positions stay within the sizes the
// game's player number gave the kill tables.
#include <optional>
#include <string>

#include "log/ClientLogForms.h"
#include "log/ClientLogPass.h"
#include "log/LineText.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

void ClientLogPass::HandleObituary(const LineBatch& batch, const LineFacts& facts,
                                   bool statistics) {
  const LineNames& names = batch.NamesOf(facts);
  std::string_view killerKey = batch.Name(names.names[0]);
  std::string_view victimKey = batch.Name(names.names[1]);
  if (!statistics) {
    // A name the game's earlier lines named was found and marked then.
    if (names.nameNumbers[0] != kNameSeenInGame) DiscoverName(killerKey);
    if (names.nameNumbers[1] != kNameSeenInGame) DiscoverName(victimKey);
    return;
  }
  int32_t game = m_doc.currentGame;
  int32_t killer = ClientPlayer(killerKey, batch.Text(names.raw[0]), names.nameNumbers[0]);
  if (killer > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
    ++player.frags;
    ++player.games.At(game).frags;
    CountObituaryWeapon(killer, facts.weapon);
    SeeInGame(killer);
  }
  int32_t victim = ClientPlayer(victimKey, batch.Text(names.raw[1]), names.nameNumbers[1]);
  if (victim > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(victim)];
    ++player.deaths;
    ++player.games.At(game).deaths;
    SeeInGame(victim);
  }
  int32_t killerPosition = ClientPosition(killer);
  int32_t victimPosition = ClientPosition(victim);
  int32_t playerNumber = CurrentPlayerNumber();
  if (game > 0 && killerPosition >= 0 && victimPosition >= 0 && killerPosition <= playerNumber &&
      victimPosition <= playerNumber) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::kAllWeapons, killerPosition,
                                                     victimPosition);
    CountObituaryMatrix(facts.weapon, killerPosition, victimPosition, game);
  }
}

void ClientLogPass::HandleSuicideMessage(const LineBatch& batch, const LineFacts& facts,
                                         bool statistics) {
  const LineNames& names = batch.NamesOf(facts);
  std::string_view key = batch.Name(names.names[0]);
  if (!statistics) {
    if (names.nameNumbers[0] != kNameSeenInGame) DiscoverName(key);
    return;
  }
  int32_t game = m_doc.currentGame;
  std::string_view victim = batch.Text(names.raw[0]);
  int32_t p = ClientPlayer(key, victim, names.nameNumbers[0]);
  if (p > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    ++player.suicides;
    ++player.games.At(game).suicides;
    SeeInGame(p);
  }
  int32_t position = ClientPosition(p);
  if (game > 0 && !victim.empty() && position >= 0 && position <= CurrentPlayerNumber()) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::kAllWeapons, position, position);
  }
}

void ClientLogPass::CountObituaryWeapon(int32_t player, int8_t weapon) {
  if (weapon == kNoWeapon || !VexoriumDoc::IsPlayerSlot(player)) return;
  PlayerRecord& record = m_doc.players[static_cast<size_t>(player)];
  size_t w = static_cast<size_t>(weapon);
  ++record.weaponFrags[w];
  ++record.games.At(m_doc.currentGame).weaponFrags[w];
}

void ClientLogPass::CountObituaryMatrix(int8_t weapon, int32_t killerPosition,
                                        int32_t victimPosition, int32_t game) {
  if (weapon == kNoWeapon || game < 0 || game > m_doc.gameCount || !VexoriumDoc::IsGameSlot(game)) {
    return;
  }
  KillTables& kills = m_doc.games[static_cast<size_t>(game)].kills;
  if (!kills.Inside(killerPosition, victimPosition)) return;
  kills.Add(KillTables::TableOf(static_cast<Weapon>(weapon)), killerPosition, victimPosition);
}

}  // namespace vexor
