// Obituaries and suicide messages of a client console log: frags, deaths and suicides by name,
// the weapons the messages name, and the games' kill tables.
//
// Presence in a game is settled by the discovery pass, which marks the same names on the same
// lines; the statistics pass only reads it, so that in-game positions stay within the sizes the
// game's player number gave the kill tables.
#include <array>
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
  if (!statistics) {
    // A name the game's earlier lines named was found and marked then.
    for (int i = 0; i < 2; ++i) {
      if (names.nameNumbers[i] != kNameSeenInGame) DiscoverName(batch.Name(names.names[i]));
    }
    return;
  }
  CountObituary(batch, facts, {names.nameNumbers[0], names.nameNumbers[1]});
}

void ClientLogPass::CountObituary(const LineBatch& batch, const LineFacts& facts,
                                  const std::array<int32_t, 2>& numbers) {
  const LineNames& names = batch.NamesOf(facts);
  int32_t game = m_doc.currentGame;
  int32_t killer = ClientPlayer(batch.Name(names.names[0]), batch.Text(names.raw[0]), numbers[0]);
  if (killer > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
    ++player.frags;
    ++player.games.At(game).frags;
    CountObituaryWeapon(killer, facts.weapon);
    SeeInGame(killer);
  }
  int32_t victim = ClientPlayer(batch.Name(names.names[1]), batch.Text(names.raw[1]), numbers[1]);
  if (victim > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(victim)];
    ++player.deaths;
    ++player.games.At(game).deaths;
    SeeInGame(victim);
  }
  CountKill({killer, victim, facts.weapon, false});
}

void ClientLogPass::HandleSuicideMessage(const LineBatch& batch, const LineFacts& facts,
                                         bool statistics) {
  const LineNames& names = batch.NamesOf(facts);
  if (!statistics) {
    if (names.nameNumbers[0] != kNameSeenInGame) DiscoverName(batch.Name(names.names[0]));
    return;
  }
  CountSuicide(batch, facts, names.nameNumbers[0]);
}

void ClientLogPass::CountSuicide(const LineBatch& batch, const LineFacts& facts, int32_t number) {
  const LineNames& names = batch.NamesOf(facts);
  int32_t game = m_doc.currentGame;
  std::string_view victim = batch.Text(names.raw[0]);
  int32_t p = ClientPlayer(batch.Name(names.names[0]), victim, number);
  if (p > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    ++player.suicides;
    ++player.games.At(game).suicides;
    SeeInGame(p);
  }
  if (!victim.empty()) CountKill({p, p, kNoWeapon, true});
}

void ClientLogPass::CountKill(const Kill& kill) {
  // The single reading knows a game's players, and so their places in its tables, only at
  // the game's end.
  if (m_once) {
    KeepGameKill(kill);
    return;
  }
  int32_t game = m_doc.currentGame;
  int32_t playerNumber = CurrentPlayerNumber();
  int32_t killerPosition = ClientPosition(kill.killer);
  int32_t victimPosition = ClientPosition(kill.victim);
  if (game <= 0 || killerPosition < 0 || victimPosition < 0 || killerPosition > playerNumber ||
      victimPosition > playerNumber) {
    return;
  }
  m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::kAllWeapons, killerPosition,
                                                   victimPosition);
  if (!kill.suicide) CountObituaryMatrix(kill.weapon, killerPosition, victimPosition, game);
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
