// Obituaries and suicide messages of a client console log: frags, deaths and suicides by name,
// the weapons the messages name, and the games' kill tables.
//
// Presence in a game is settled by the discovery pass, which marks the same names on the same
// lines; the statistics pass only reads it, so that in-game positions stay within the sizes the
// game's player number gave the kill tables.
#include <optional>
#include <string>

#include "log/ClientLogForms.h"
#include "log/LineText.h"
#include "log/LogAnalysis.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

bool LogAnalysis::HandleObituary(std::string_view line, bool statistics) {
  std::optional<ObituaryText> text = CutObituary(line);
  if (!text || text->killer.empty() || text->victim.empty()) return false;
  std::string_view killerKey = StripColourCodes(text->killer, &m_lineNames[0]);
  std::string_view victimKey = StripColourCodes(text->victim, &m_lineNames[1]);
  if (!statistics) {
    DiscoverName(killerKey);
    DiscoverName(victimKey);
    return true;
  }
  int32_t game = m_doc.currentGame;
  int32_t killer = ClientPlayer(killerKey, text->killer);
  if (killer > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
    ++player.frags;
    ++player.games.At(game).frags;
    CountObituaryWeapon(killer, text->verb);
    SeeInGame(killer);
  }
  int32_t victim = ClientPlayer(victimKey, text->victim);
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
    CountObituaryMatrix(text->verb, killerPosition, victimPosition, game);
  }
  return true;
}

bool LogAnalysis::HandleSuicideMessage(std::string_view line, bool statistics) {
  std::optional<SuicideText> suicide = CutSuicide(line);
  if (!suicide) return false;
  std::string_view key = StripColourCodes(suicide->victim, &m_lineNames[0]);
  if (!statistics) {
    DiscoverName(key);
    return true;
  }
  int32_t game = m_doc.currentGame;
  int32_t p = ClientPlayer(key, suicide->victim);
  if (p > 0) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    ++player.suicides;
    ++player.games.At(game).suicides;
    SeeInGame(p);
  }
  int32_t position = ClientPosition(p);
  if (game > 0 && !suicide->victim.empty() && position >= 0 &&
      position <= CurrentPlayerNumber()) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::kAllWeapons, position, position);
  }
  return true;
}

bool LogAnalysis::CountObituaryWeapon(int32_t player, std::string_view verb) {
  std::optional<Weapon> weapon = WeaponOfVerb(verb);
  if (!weapon || !CVexoriumDoc::IsPlayerSlot(player)) return false;
  PlayerRecord& record = m_doc.players[static_cast<size_t>(player)];
  size_t w = static_cast<size_t>(Index(*weapon));
  ++record.weaponFrags[w];
  ++record.games.At(m_doc.currentGame).weaponFrags[w];
  return true;
}

bool LogAnalysis::CountObituaryMatrix(std::string_view verb, int32_t killerPosition,
                                      int32_t victimPosition, int32_t game) {
  std::optional<Weapon> weapon = WeaponOfVerb(verb);
  if (!weapon || game < 0 || game > m_doc.gameCount || !CVexoriumDoc::IsGameSlot(game)) {
    return false;
  }
  KillTables& kills = m_doc.games[static_cast<size_t>(game)].kills;
  if (!kills.Inside(killerPosition, victimPosition)) return false;
  kills.Add(KillTables::TableOf(*weapon), killerPosition, victimPosition);
  return true;
}

}  // namespace vexor
