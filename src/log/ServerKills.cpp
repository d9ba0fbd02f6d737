// Kills in a server log: every "Kill:" line is a frag, a suicide or a death caused by the world.
#include <optional>
#include <string>

#include "log/LineText.h"
#include "log/LogAnalysis.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr std::string_view kWorld = "1022";

// The fields of a kill line. The names are views into the line, or into the two scratch texts
// when colour codes had to be removed.
struct KillLine {
  std::string_view killerNumber;
  std::string_view victimNumber;
  std::string_view killerName;  // colour codes removed
  std::string_view victimName;
};

// The text between the blank at `blank` and the next blank (or the end of the line); *next
// receives the position of that next blank.
std::string_view FieldAfter(std::string_view line, size_t blank, size_t* next) {
  if (blank == std::string_view::npos || blank >= line.size()) {
    *next = std::string_view::npos;
    return {};
  }
  size_t end = line.find(' ', blank + 1);
  *next = end;
  if (end == std::string_view::npos) end = line.size();
  return line.substr(blank + 1, end - blank - 1);
}

// The position of the n-th ':' of the line, or npos.
size_t NthColon(std::string_view line, int n) {
  size_t at = std::string_view::npos;
  for (int i = 0; i < n; ++i) {
    at = line.find(':', at == std::string_view::npos ? 0 : at + 1);
    if (at == std::string_view::npos) break;
  }
  return at;
}

// Text from first through the character before `end` (a position past first), else empty.
std::string_view Between(std::string_view line, size_t first, size_t end) {
  if (first == std::string_view::npos || end == std::string_view::npos || end <= first) return {};
  return line.substr(first, end - first);
}

KillLine CutKillLine(std::string_view line, std::string (&scratch)[2]) {
  KillLine kill;
  size_t first = line.find_first_not_of(' ');
  size_t clock = first == std::string_view::npos ? first : line.find(':', first);
  if (clock != std::string_view::npos) {
    size_t next;
    kill.killerNumber = FieldAfter(line, line.find(' ', clock + 7), &next);
    kill.victimNumber = FieldAfter(line, next, &next);
  }
  // Names: "<killer> killed <victim> by <means of death>" after the third ':'. The last
  // "killed" splits them, so a killer whose name contains the word is still read whole.
  size_t third = NthColon(line, 3);
  size_t limit = line.size() >= 9 ? line.size() - 9 : 0;
  if (third == std::string_view::npos) return kill;
  size_t killerStart = third + 2;
  size_t killed = LastMatchBefore(line, "killed", killerStart, limit);
  if (killed == std::string_view::npos) return kill;
  kill.killerName = StripColourCodes(Between(line, killerStart, killed - 1), &scratch[0]);
  size_t victimStart = killed + 7;
  size_t by = LastMatchBefore(line, "by ", victimStart, limit);
  if (by != std::string_view::npos) {
    kill.victimName = StripColourCodes(Between(line, victimStart, by - 1), &scratch[1]);
  }
  return kill;
}

// The means-of-death name: after the last "by MOD", without the line's final character.
std::string_view MeansOfDeath(std::string_view line) {
  size_t at = LastMatchBefore(line, "by MOD", 0, line.size());
  if (at == std::string_view::npos) return "-1";
  return Between(line, at + 3, line.size() - 1);
}

struct MeansOfDeathWeapon {
  std::string_view name;
  Weapon weapon;
};

constexpr MeansOfDeathWeapon kWeaponsByMeansOfDeath[] = {
    {"MOD_GAUNTLET", Weapon::kGauntlet},
    {"MOD_GAUNTLET_SPLASH", Weapon::kGauntlet},
    {"MOD_MACHINEGUN", Weapon::kMachinegun},
    {"MOD_MACHINEGUN_SPLASH", Weapon::kMachinegun},
    {"MOD_SHOTGUN", Weapon::kShotgun},
    {"MOD_SHOTGUN_SPLASH", Weapon::kShotgun},
    {"MOD_ROCKET", Weapon::kRocket},
    {"MOD_ROCKET_SPLASH", Weapon::kRocket},
    {"MOD_GRENADE", Weapon::kGrenade},
    {"MOD_GRENADE_SPLASH", Weapon::kGrenade},
    {"MOD_LIGHTNING", Weapon::kLightning},
    {"MOD_LIGHTNING_SPLASH", Weapon::kLightning},
    {"MOD_PLASMA", Weapon::kPlasma},
    {"MOD_PLASMA_SPLASH", Weapon::kPlasma},
    {"MOD_RAILGUN", Weapon::kRailgun},
    {"MOD_RAILGUN_SPLASH", Weapon::kRailgun},
    {"MOD_BFG", Weapon::kBfg},
    {"MOD_BFG_SPLASH", Weapon::kBfg},
};

std::optional<Weapon> WeaponOf(std::string_view meansOfDeath) {
  for (const MeansOfDeathWeapon& entry : kWeaponsByMeansOfDeath) {
    if (entry.name == meansOfDeath) return entry.weapon;
  }
  return std::nullopt;
}

}  // namespace

int32_t LogAnalysis::FindConnectedPlayer(std::string_view name, std::string_view number) {
  // The tries the connects of this name made (HandleConnect) are walked without look-ups.
  auto kept = m_playerTries.find(name);
  const std::vector<int32_t>* known = kept == m_playerTries.end() ? nullptr : &kept->second;
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
    if (slot == number || slot == CVexoriumDoc::kNoSlot) return p;
  }
}

int32_t LogAnalysis::ConnectedIn(std::string_view number) const {
  int32_t p = m_connectedIn.Find(number);
  if (p == ClientNumberTable::kNobody) return -1;
  const PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  bool open = !player.connectTime.empty() && player.disconnectTime.empty();
  return open ? p : -1;
}

int32_t LogAnalysis::KillPlayer(std::string_view name, std::string_view number) {
  int32_t p = ConnectedIn(number);
  return p >= 0 ? p : FindConnectedPlayer(name, number);
}

int32_t LogAnalysis::ServerPosition(int32_t p, std::string_view number) const {
  if (p < 1 || p > m_doc.nameCount) return -1;
  if (m_doc.players[static_cast<size_t>(p)].clientSlot != number) return -1;
  if (m_doc.presence.Get(m_doc.currentGame, p) != 1) return -1;
  return m_doc.presence.PositionOf(m_doc.currentGame, p);
}

bool LogAnalysis::HandleKill(std::string_view word, std::string_view line) {
  if (word != "Kill:") return false;
  KillLine kill = CutKillLine(line, m_lineNames);
  bool world = kill.killerNumber == kWorld;
  bool suicide = kill.killerNumber == kill.victimNumber;
  if (!world && (kill.killerName.empty() || kill.victimName.empty())) return false;

  int32_t game = m_doc.currentGame;
  int32_t playerNumber = CurrentPlayerNumber();
  auto inTables = [playerNumber](int32_t position) {
    return position >= 0 && position <= playerNumber;
  };
  KillTables* tables = playerNumber >= 0 ? &m_doc.games[static_cast<size_t>(game)].kills : nullptr;

  int32_t killer = -1;
  int32_t killerPosition = -1;
  bool fragged = false;
  if (!world) {
    killer = KillPlayer(kill.killerName, kill.killerNumber);
    if (killer > 0) {
      PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
      killerPosition = ServerPosition(killer, kill.killerNumber);
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

  int32_t victim = KillPlayer(kill.victimName, kill.victimNumber);
  if (victim <= 0) return true;
  PlayerRecord& target = m_doc.players[static_cast<size_t>(victim)];
  int32_t victimPosition = ServerPosition(victim, kill.victimNumber);
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
    return CountWeaponFrag(killer, MeansOfDeath(line), game, killerPosition, victimPosition);
  }
  return true;
}

bool LogAnalysis::CountWeaponFrag(int32_t killer, std::string_view meansOfDeath, int32_t game,
                                  int32_t killerPosition, int32_t victimPosition) {
  std::optional<Weapon> weapon = WeaponOf(meansOfDeath);
  if (!weapon) return false;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(killer)];
  ++player.weaponFrags[static_cast<size_t>(Index(*weapon))];
  ++player.games.At(game).weaponFrags[static_cast<size_t>(Index(*weapon))];
  if (game >= 0 && game <= m_doc.gameCount && CVexoriumDoc::IsGameSlot(game)) {
    m_doc.games[static_cast<size_t>(game)].kills.Add(KillTables::TableOf(*weapon), killerPosition,
                                                     victimPosition);
  }
  return true;
}

}  // namespace vexor
