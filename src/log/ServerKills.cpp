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

int32_t ServerLogPass::ServerPosition(int32_t p, std::string_view number) {
  if (p < 1 || p > m_doc.nameCount) return -1;
  if (!SameText(m_doc.players[static_cast<size_t>(p)].clientSlot, number)) return -1;
  return PresentPosition(p);
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
  int32_t playerNumber = CurrentPlayerNumber();
  auto inTables = [playerNumber](int32_t position) {
    return position >= 0 && position <= playerNumber;
  };
  KillTables* tables = playerNumber >= 0 ? &m_doc.games[static_cast<size_t>(game)].kills : nullptr;

  int32_t killer = -1;
  int32_t killerPosition = -1;
  bool fragged = false;
  if (!world && !killerIsCharacter) {
    killer = KillPlayer(killerName, killerNumber);
    if (killer > 0) {
      PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
      killerPosition = ServerPosition(killer, killerNumber);
      PlayerGame& inGame = player.games.At(game);
      if (!suicide) {
        ++player.frags;
        ++inGame.frags;
        fragged = true;
      } else {
        ++player.suicides;
        ++inGame.suicides;
        if (tables != nullptr && inTables(killerPosition)) {
          tables->Add(KillTables::kAllWeapons, killerPosition, killerPosition);
        }
      }
    }
  }

  int32_t victim = KillPlayer(victimName, victimNumber);
  if (victim <= 0) return;
  PlayerRecord& target = m_doc.players[static_cast<size_t>(victim)];
  int32_t victimPosition = ServerPosition(victim, victimNumber);
  if (world) {
    // A death caused by the world counts as a suicide.
    PlayerGame& inGame = target.games.At(game);
    ++target.suicides;
    ++inGame.suicides;
    if (tables != nullptr && inTables(victimPosition)) {
      tables->Add(KillTables::kAllWeapons, victimPosition, victimPosition);
    }
  } else if (!suicide) {
    ++target.deaths;
    ++target.games.At(game).deaths;
  }

  bool bothInTables = inTables(killerPosition) && inTables(victimPosition);
  if (tables != nullptr && bothInTables && killerPosition != victimPosition && !world && !suicide) {
    tables->Add(KillTables::kAllWeapons, killerPosition, victimPosition);
  }
  if (bothInTables && fragged) {
    CountWeaponFrag(killer, WeaponOfMeansOfDeath(m_family, names.meansOfDeath), game,
                    killerPosition, victimPosition);
  }
}

void ServerLogPass::TakeKillNames(const LineBatch& batch, const LineFacts& facts) {
  const LineNames& names = batch.NamesOf(facts);
  for (int i = 0; i < 2; ++i) {
    std::string_view number = batch.Text(names.numbers[i]);
    if (!TakesKillName(number)) continue;
    ConnectName connect;
    connect.rawName = batch.Text(names.raw[i]);
    connect.name = StripColourCodes(connect.rawName);
    if (connect.name.empty()) continue;
    TakeConnection(std::string(number), GameClock(batch.Line(facts), facts), connect);
  }
}

void ServerLogPass::CountWeaponFrag(int32_t killer, int8_t weapon, int32_t game,
                                    int32_t killerPosition, int32_t victimPosition) {
  if (weapon == kNoWeapon) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
  ++player.WeaponFragsRef(weapon);
  ++player.games.At(game).WeaponFragsRef(weapon);
  if (game >= 0 && game <= m_doc.gameCount && VexoriumDoc::IsGameSlot(game)) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::TableOfWeapon(weapon),
                                                     killerPosition, victimPosition);
  }
}

}  // namespace vexor
