// Kills in a server log: every "Kill:" line is a frag, a suicide or a death caused by the world.
#include <string>

#include "base/TextHash.h"
#include "log/GameFamilies.h"
#include "log/LineText.h"
#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

int32_t ServerLogPass::FindConnectedPlayer(std::string_view name, std::string_view number) {
  // The tries the connects of this name made (HandleConnect) are walked without look-ups.
  const std::vector<int32_t>* known = m_playerTries.Find(name);
  std::string tried;  // the disambiguated name, made only when a second try is needed
  for (size_t tries = 0;; ++tries) {
    int32_t p;
    if (known != nullptr && tries < known->size()) {
      p = (*known)[tries];
    } else {
      if (tries > 0) {
        tried = Disambiguate(
            known != nullptr && tries == known->size()
                ? std::string_view(m_doc.players[static_cast<size_t>(known->back())].name)
                : name,
            static_cast<int>(tries));
        name = tried;
      }
      known = nullptr;
      p = m_doc.FindPlayer(name, 0, m_doc.playerCount);
      if (p < 0) return -1;
    }
    const std::string& slot = m_doc.players[static_cast<size_t>(p)].clientSlot;
    if (SameText(slot, number) || slot == VexoriumDoc::kNoSlot) return p;
  }
}

int32_t ServerLogPass::ConnectedIn(std::string_view number) const {
  int32_t p = m_connectedIn.Find(number);
  if (p == ClientNumberTable::kNobody) return -1;
  const PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  return player.HasOpenConnection() ? p : -1;
}

int32_t ServerLogPass::KillPlayer(std::string_view rawName, std::string_view number) {
  int32_t p = ConnectedIn(number);
  if (p >= 0) return p;
  std::string scratch;
  return FindConnectedPlayer(StripColourCodes(rawName, &scratch), number);
}

bool ServerLogPass::InClientSlot(int32_t p, std::string_view number) const {
  return p >= 1 && p <= m_doc.nameCount &&
         SameText(m_doc.players[static_cast<size_t>(p)].clientSlot, number);
}

void ServerLogPass::HandleKill(const LineBatch& batch, const LineFacts& facts) {
  const LineNames& names = batch.NamesOf(facts);
  if (IsNoKill(m_family, names.meansOfDeath)) return;
  std::string_view killerNumber = batch.Text(names.numbers[0]);
  std::string_view victimNumber = batch.Text(names.numbers[1]);
  std::string_view killerName = batch.Text(names.raw[0]);
  std::string_view victimName = batch.Text(names.raw[1]);
  bool world = killerNumber == kWorldNumber;
  bool suicide = SameText(killerNumber, victimNumber);
  // A name of colour codes alone is no name.
  if (!world && names.nameless != 0) return;
  if (m_rules->namesFromKills && m_doc.currentGame >= 1) {
    TakeKillNames(batch, facts);
  }
  // Non-player characters count for no one: a player one kills dies, nothing more.
  bool killerIsCharacter = IsNonPlayer(killerNumber);
  if (IsNonPlayer(victimNumber)) return;

  int32_t game = m_doc.currentGame;
  KillCells cells;
  cells.game = game;
  cells.world = world;
  cells.suicide = suicide;
  if (!world && !killerIsCharacter) {
    int32_t killer = KillPlayer(killerName, killerNumber);
    if (killer > 0) {
      PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
      cells.killer = killer;
      cells.killerInSlot = InClientSlot(killer, killerNumber);
      PlayerGame& inGame = player.games.At(game);
      if (!suicide) {
        ++player.frags;
        ++inGame.frags;
        cells.fragged = true;
        cells.weapon = WeaponOfMeansOfDeath(m_family, names.meansOfDeath);
      } else {
        ++player.suicides;
        ++inGame.suicides;
      }
    }
  }

  int32_t victim = KillPlayer(victimName, victimNumber);
  if (victim > 0) {
    PlayerRecord& target = m_doc.players[static_cast<size_t>(victim)];
    cells.victim = victim;
    cells.victimInSlot = InClientSlot(victim, victimNumber);
    if (world) {
      // A death caused by the world counts as a suicide.
      PlayerGame& inGame = target.games.At(game);
      ++target.suicides;
      ++inGame.suicides;
    } else if (!suicide) {
      ++target.deaths;
      ++target.games.At(game).deaths;
    }
  }
  CountKillCells(cells);
}

void ServerLogPass::CountKillCells(KillCells cells) {
  if (m_once) {
    KeepKillCells(cells);
    return;
  }
  int32_t playerNumber = CurrentPlayerNumber();
  auto inTables = [playerNumber](int32_t position) {
    return position >= 0 && position <= playerNumber;
  };
  KillTables* tables =
      playerNumber >= 0 ? &m_doc.games[static_cast<size_t>(cells.game)].kills : nullptr;
  int32_t killerPosition =
      cells.killer > 0 && cells.killerInSlot ? PresentPosition(cells.killer) : -1;
  if (cells.killer > 0 && cells.suicide && tables != nullptr && inTables(killerPosition)) {
    tables->Add(KillTables::kAllWeapons, killerPosition, killerPosition);
  }
  if (cells.victim <= 0) return;
  int32_t victimPosition = cells.victimInSlot ? PresentPosition(cells.victim) : -1;
  if (cells.world && tables != nullptr && inTables(victimPosition)) {
    tables->Add(KillTables::kAllWeapons, victimPosition, victimPosition);
  }
  bool bothInTables = inTables(killerPosition) && inTables(victimPosition);
  if (tables != nullptr && bothInTables && killerPosition != victimPosition && !cells.world &&
      !cells.suicide) {
    tables->Add(KillTables::kAllWeapons, killerPosition, victimPosition);
  }
  if (bothInTables && cells.fragged) {
    if (!cells.weaponCounted) CountPlayerWeaponFrag(cells.killer, cells.weapon, cells.game);
    CountWeaponCell(cells.weapon, cells.game, killerPosition, victimPosition);
  }
}

void ServerLogPass::TakeKillNames(const LineBatch& batch, const LineFacts& facts) {
  const LineNames& names = batch.NamesOf(facts);
  for (int i = 0; i < 2; ++i) {
    std::string_view number = batch.Text(names.numbers[i]);
    if (!TakesKillName(number, m_connections)) continue;
    ConnectName connect;
    connect.rawName = batch.Text(names.raw[i]);
    connect.name = StripColourCodes(connect.rawName);
    if (connect.name.empty()) continue;
    TakeConnection(std::string(number), GameClock(batch.Line(facts), facts), connect);
  }
}

void ServerLogPass::CountPlayerWeaponFrag(int32_t killer, int8_t weapon, int32_t game) {
  if (weapon == kNoWeapon) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
  ++player.WeaponFragsRef(weapon);
  ++player.games.At(game).WeaponFragsRef(weapon);
}

void ServerLogPass::CountWeaponCell(int8_t weapon, int32_t game, int32_t killerPosition,
                                    int32_t victimPosition) {
  if (weapon == kNoWeapon) return;
  if (game >= 0 && game <= m_doc.gameCount && VexoriumDoc::IsGameSlot(game)) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::TableOfWeapon(weapon),
                                                     killerPosition, victimPosition);
  }
}

}  // namespace vexor
