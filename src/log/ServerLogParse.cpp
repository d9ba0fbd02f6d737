// The statistics pass over a server log: games, connections, play time and teams. Kills are
// in ServerKills.cpp.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/StringPrintf.h"
#include "base/TextNumbers.h"
#include "log/GameFamilies.h"
#include "log/LineText.h"
#include "log/PlayTime.h"
#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

bool ServerLogPass::Parse() {
  if (!OpenLog(MakeParser(true))) return false;
  StartStatistics();
  std::string_view line;
  bool passed = false;
  while (NextEventLine(&line, &passed)) {
    if (passed) m_hasUserInfoBefore = false;  // a line of no kind came between
    // A connect's handler reads on to the next line; this line and its facts stay valid.
    const LineBatch& batch = *m_batch;
    const LineFacts& facts = *m_facts;
    HandleServerLine(batch, facts);
    ApplyServerVariables(batch, facts);
    // A connect's handler notes the line it consumed instead.
    if (facts.kind != LineKind::kConnect) NoteLineBeforeConnect(facts.kind, line);
  }
  MarkShortGames();
  return FinishPass();
}

void ServerLogPass::StartStatistics() {
  m_doc.gameClosed = true;
  m_hasUserInfoBefore = false;
  m_connectedIn.Clear();
  ForgetNameTries();
  // An earlier log may have left connections open.
  m_mayBeOpen.clear();
  for (int32_t p = 0; p <= m_doc.playerCount; ++p) {
    if (m_doc.players[static_cast<size_t>(p)].HasOpenConnection()) m_mayBeOpen.push_back(p);
  }
  SetFamily(m_doc.currentGame >= 1 && m_doc.currentGame <= VexoriumDoc::kMaxGames
                ? m_doc.games[static_cast<size_t>(m_doc.currentGame)].family
                : GameFamily::kQuake3);
}

void ServerLogPass::HandleServerLine(const LineBatch& batch, const LineFacts& facts) {
  std::string_view line = batch.Line(facts);
  switch (facts.kind) {
    case LineKind::kInitGame:
      HandleInitGame(line, (facts.flags & kWallClock) != 0);
      break;
    case LineKind::kConnect:
      HandleConnect(line, facts);
      break;
    case LineKind::kDisconnect:
      HandleDisconnect(line, facts);
      break;
    case LineKind::kShutdown:
      HandleShutdown(line, facts);
      break;
    case LineKind::kKill:
      HandleKill(batch, facts);
      break;
    default:
      break;
  }
}

void ServerLogPass::HandleInitGame(std::string_view line, bool wallClock) {
  if (!m_doc.gameClosed) {
    // The previous game ended without "ShutdownGame:": its open connections end at 0:00 and
    // earn no play time.
    CloseOpenConnections([this](int32_t p) {
      PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
      player.disconnectTime = "0:00";
      player.timeCreditFactor = 1;
    });
  }
  m_doc.ResetClientSlots(1);
  m_connectedIn.Clear();
  m_connections.Clear();
  for (int32_t p : m_returnedIds)
    m_returned[static_cast<size_t>(p)] = 0;
  m_returnedIds.clear();
  m_doc.currentGame = SaturatingAdd(m_doc.currentGame, 1);
  m_doc.gameClosed = false;
  SetFamily(FamilyOfInitGame(line, wallClock));
  // A game stamped with the wall clock counts its clock from this line.
  m_clockStart = wallClock ? ClockSeconds(ClockTime(line)) : 0;
  if (m_doc.currentGame <= VexoriumDoc::kMaxGames) {
    m_doc.games[static_cast<size_t>(m_doc.currentGame)].gameTypeName =
        FamilyGameTypeName(m_doc, m_family, line);
  }
}

std::string ServerLogPass::GameClock(std::string_view line, const LineFacts& facts) const {
  if ((facts.flags & kWallClock) == 0) return std::string(ClockTime(line));
  int64_t seconds = ClockSeconds(ClockTime(line)) - m_clockStart;
  if (seconds < 0) seconds = 0;
  return StringPrintf("%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
}

bool ServerLogPass::HandleConnect(std::string_view line, const LineFacts& facts) {
  std::string number = ConnectNumber(line, facts.wordEnd, true);
  std::string time = GameClock(line, facts);
  ConnectName connect;
  ReadConnectName(line, facts.wordEnd, &connect);
  return TakeConnection(number, time, connect);
}

bool ServerLogPass::TakeConnection(const std::string& number, const std::string& time,
                                   const ConnectName& connect) {
  // Until it names a player, the client connected in this number is nobody we know.
  m_connectedIn.Erase(number);
  bool inGame = m_doc.currentGame >= 1;
  if (connect.name.empty()) {
    if (inGame) m_connections.NobodyIn(number);
    return false;
  }
  std::vector<int32_t>& known = m_playerTries.Insert(connect.name);
  std::string name;
  int32_t found = -1;
  size_t tries = 0;
  for (;; ++tries) {
    int32_t p;
    if (tries < known.size()) {
      p = known[tries];
    } else {
      name = tries == 0 ? connect.name
                        : Disambiguate(m_doc.players[static_cast<size_t>(known.back())].name,
                                       static_cast<int>(tries));
      p = m_doc.FindPlayer(name, 1, m_doc.playerCount);
      if (p < 0) break;
      known.push_back(p);
    }
    const std::string& slot = m_doc.players[static_cast<size_t>(p)].clientSlot;
    if (slot == number || slot == VexoriumDoc::kNoSlot || m_connections.IsLeft(p)) {
      found = p;
      break;
    }
  }
  int32_t p = found;
  if (p < 0) {
    // Before the first game record 0 takes the connection as a scratch record. Record k
    // belongs to name k: a log that gained players since the discovery pass read it gets no
    // records beyond the names that pass found.
    if (!inGame) {
      p = 0;
    } else if (m_doc.playerCount < m_doc.nameCount) {
      p = m_doc.CreatePlayer(name, RawNameTry(connect.rawName, tries), number);
      if (p > 0) known.push_back(p);
    } else if (m_once) {
      // Two passes would take a record here if the log names more players further on.
      m_readTwice = true;
    }
    if (p < 0) {
      m_connections.NobodyIn(number);
      return true;
    }
  }
  // A player who left the game and comes back keeps what he did in it before.
  bool returning = inGame && p > 0 && m_connections.IsLeft(p);
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  m_doc.SetClientSlot(p, number);
  m_connectedIn.Set(number, p);
  if (inGame && p > 0) m_connections.Connected(number, p);
  player.connectTime = time;
  player.disconnectTime.clear();
  m_mayBeOpen.push_back(p);
  PlayerGame& game = player.games.At(m_doc.currentGame);
  if (returning) {
    NoteReturn(p);
  } else {
    game = PlayerGame{};
    game.seconds = 1;
  }
  game.team = connect.team;
  return true;
}

void ServerLogPass::NoteReturn(int32_t p) {
  if (static_cast<size_t>(p) >= m_returned.size()) {
    m_returned.resize(static_cast<size_t>(p) + 1, 0);
  }
  if (m_returned[static_cast<size_t>(p)] == 0) m_returnedIds.push_back(p);
  m_returned[static_cast<size_t>(p)] = 1;
}

bool ServerLogPass::Returned(int32_t p) const {
  return p >= 0 && static_cast<size_t>(p) < m_returned.size() &&
         m_returned[static_cast<size_t>(p)] != 0;
}

void ServerLogPass::HandleDisconnect(std::string_view line, const LineFacts& facts) {
  std::string_view number = TrailingClientNumber(line);
  int32_t p = ConnectedIn(number);
  if (p < 0) p = m_doc.ConnectedPlayerInSlot(number, 0, m_doc.playerCount, false);
  if (m_doc.currentGame >= 1) m_connections.Disconnected(number);
  if (p < 0) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  CreditConnection(p, GameClock(line, facts));
  player.connectTime.clear();
}

void ServerLogPass::HandleShutdown(std::string_view line, const LineFacts& facts) {
  m_doc.gameClosed = true;
  m_connections.GameEnded();
  std::string time = GameClock(line, facts);
  CloseOpenConnections([this, &time](int32_t p) { CreditConnection(p, time); });
}

template <typename Close>
void ServerLogPass::CloseOpenConnections(Close close) {
  std::sort(m_mayBeOpen.begin(), m_mayBeOpen.end());
  m_mayBeOpen.erase(std::unique(m_mayBeOpen.begin(), m_mayBeOpen.end()), m_mayBeOpen.end());
  for (int32_t p : m_mayBeOpen) {
    if (p <= m_doc.playerCount && m_doc.players[static_cast<size_t>(p)].HasOpenConnection()) {
      close(p);
    }
  }
  std::erase_if(m_mayBeOpen, [this](int32_t p) {
    return !m_doc.players[static_cast<size_t>(p)].HasOpenConnection();
  });
}

const std::string& ServerLogPass::RawNameTry(const std::string& rawName, size_t tries) {
  std::vector<std::string>& made = m_rawNameTries[rawName];
  if (made.empty()) made.push_back(rawName);
  while (made.size() <= tries) {
    made.push_back(Disambiguate(made.back(), static_cast<int>(made.size())));
  }
  return made[tries];
}

void ServerLogPass::ForgetNameTries() {
  m_nameTries.Clear();
  m_playerTries.Clear();
  m_rawNameTries.clear();
}

// Ends a connection at the given clock: the time played is credited, the game's hourly rates
// computed and the game counted as played (once, for a player who came back to it).
void ServerLogPass::CreditConnection(int32_t p, std::string_view disconnectTime) {
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  player.disconnectTime = disconnectTime;
  AddPlayTime(player.connectTime, player.disconnectTime, p);
  player.timeCreditFactor = 1;
  PlayerGame& game = player.games.At(m_doc.currentGame);
  game.fragsPerHour = PerHour(game.seconds, game.frags);
  game.deathsPerHour = PerHour(game.seconds, game.deaths);
  game.suicidesPerHour = PerHour(game.seconds, game.suicides);
  if (!Returned(p)) player.gamesPlayed = SaturatingAdd(player.gamesPlayed, 1);
}

void ServerLogPass::AddPlayTime(std::string_view connectTime, std::string_view disconnectTime,
                                int32_t p) {
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  int64_t elapsed =
      (ClockSeconds(disconnectTime) - ClockSeconds(connectTime)) * player.timeCreditFactor;
  if (elapsed > 0) {
    player.totalSeconds = SaturatingAdd(player.totalSeconds, elapsed);
    // A second connection in the same game keeps the seconds of the last one; a player who
    // came back to the game adds them to those of his earlier connections.
    int32_t& seconds = player.games.At(m_doc.currentGame).seconds;
    seconds = SaturatingAdd(Returned(p) ? seconds : 0, elapsed);
  }
  player.UpdateTimeText();
}

}  // namespace vexor
