// A load of one server log reads it once: every line is read for the discovery pass's games,
// names and presence and then counted as the statistics pass counts it, so that the log is cut
// into lines and parsed once instead of twice.
//
// The two passes agree line by line: record k is created where name k is found, and each pass
// keeps its own account of who is connected. A game's kill tables place its players by the
// game's whole list of players, so a kill's cells are kept until the game's end. Where the two
// passes would read the log otherwise from some line on, the reading stops there and the load
// reads the log again in two passes:
// - before the first game, the statistics pass takes the line after a connect as the connect's,
//   the discovery pass reads it as a line of its own: a game start there is counted by one pass
//   only;
// - a connect finds no record while every name found so far has one (two passes would take the
//   record of a name found further on);
// - a frag's players hold the line's client numbers but are not both present in the game yet
//   (whether its weapon counts for the killer is known only at the game's end, and his game may
//   be reset before);
// - a game keeps more than four million kills, or the log reaches the limits of names or games.
#include <string>

#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Kills kept for one game (48 MB) before the reading gives way to two passes: a made-up log
// cannot make the single reading hold more.
constexpr size_t kMostGameKills = size_t{1} << 22;

}  // namespace

bool ServerLogPass::ReadOnce(const Limits& limits, bool* twoPasses) {
  *twoPasses = false;
  if (!OpenLog(MakeParser(true))) return false;
  m_once = true;
  m_readTwice = false;
  m_gameKills.clear();
  StartStatistics();  // the records were reset: none is connected, the game is Quake III's
  std::string_view line;
  bool passed = false;
  while (!m_readTwice && NextEventLine(&line, &passed)) {
    if (passed) m_hasUserInfoBefore = false;  // a line of no kind came between
    const LineBatch& batch = *m_batch;
    const LineFacts& facts = *m_facts;
    if (facts.kind == LineKind::kConnect) {
      ReadConnectOnce(line, facts);  // notes the line it consumes
    } else {
      if (facts.kind == LineKind::kInitGame) CountGameKillCells();  // the game before ends
      if (line.size() > kShortestScanned) ScanEvent(line, facts);
      HandleServerLine(batch, facts);
    }
    ApplyServerVariables(batch, facts);
    if (facts.kind != LineKind::kConnect) NoteLineBeforeConnect(facts.kind, line);
    if (m_doc.nameCount >= limits.names || m_doc.gameCount >= limits.games) m_readTwice = true;
  }
  if (!m_readTwice) {
    CountGameKillCells();
    MarkShortGames();
  }
  m_once = false;
  bool read = FinishPass();
  *twoPasses = m_readTwice;
  return read;
}

void ServerLogPass::ReadConnectOnce(std::string_view line, const LineFacts& facts) {
  bool inGame = m_doc.gameCount > 0;
  // Each pass cuts the client number its own way, before the next line is read.
  std::string slot = inGame ? ConnectNumber(line, facts.wordEnd, false) : std::string();
  std::string number = ConnectNumber(line, facts.wordEnd, true);
  std::string time = GameClock(line, facts);
  ConnectName connect;
  LineKind consumed = ReadConnectName(line, facts.wordEnd, &connect);
  if (!inGame && consumed == LineKind::kInitGame) {
    m_readTwice = true;
    return;
  }
  if (inGame) DiscoverConnect(slot, connect);
  TakeConnection(number, time, connect);
}

void ServerLogPass::KeepKillCells(const KillCells& cells) {
  KillCells kept = cells;
  if (cells.fragged && cells.killerInSlot && cells.victimInSlot && cells.weapon != kNoWeapon) {
    // Players present now are present at the game's end: the weapon counts for the killer.
    if (m_doc.presence.Get(cells.game, cells.killer) != 1 ||
        m_doc.presence.Get(cells.game, cells.victim) != 1) {
      m_readTwice = true;
      return;
    }
    CountPlayerWeaponFrag(cells.killer, cells.weapon, cells.game);
    kept.weaponCounted = true;
  }
  if (m_gameKills.size() == kMostGameKills) {
    m_readTwice = true;
    return;
  }
  m_gameKills.push_back(kept);
}

void ServerLogPass::CountGameKillCells() {
  SettleGameTables();
  m_once = false;
  for (const KillCells& cells : m_gameKills)
    CountKillCells(cells);
  m_once = true;
  m_gameKills.clear();
}

}  // namespace vexor
