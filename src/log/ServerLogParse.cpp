// The statistics pass over a server log: games, connections, play time and teams. Kills are
// in ServerKills.cpp.
#include <string>
#include <utility>

#include "base/TextNumbers.h"
#include "log/GameTypes.h"
#include "log/LineText.h"
#include "log/PlayTime.h"
#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

bool ServerLogPass::Parse() {
  if (!OpenLog(MakeParser(true))) return false;
  m_doc.gameClosed = true;
  m_hasUserInfoBefore = false;
  m_connectedIn.Clear();
  ForgetNameTries();
  std::string_view line;
  while (NextLine(&line)) {
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

void ServerLogPass::HandleServerLine(const LineBatch& batch, const LineFacts& facts) {
  std::string_view line = batch.Line(facts);
  switch (facts.kind) {
    case LineKind::kInitGame:
      HandleInitGame(line);
      break;
    case LineKind::kConnect:
      HandleConnect(line, facts.wordEnd);
      break;
    case LineKind::kDisconnect:
      HandleDisconnect(line);
      break;
    case LineKind::kShutdown:
      HandleShutdown(line);
      break;
    case LineKind::kKill:
      HandleKill(batch, facts);
      break;
    default:
      break;
  }
}

void ServerLogPass::HandleInitGame(std::string_view line) {
  if (!m_doc.gameClosed) {
    // The previous game ended without "ShutdownGame:": its open connections end at 0:00 and
    // earn no play time.
    for (int32_t p = 0; p <= m_doc.playerCount; ++p) {
      PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
      if (player.disconnectTime.empty() && !player.connectTime.empty()) {
        player.disconnectTime = "0:00";
        player.timeCreditFactor = 1;
      }
    }
  }
  m_doc.ResetClientSlots(1);
  m_connectedIn.Clear();
  m_doc.currentGame = SaturatingAdd(m_doc.currentGame, 1);
  m_doc.gameClosed = false;
  bool coded = false;
  char code = 0;
  if (line.size() > 12) {
    size_t at = line.rfind("g_gametype", line.size() - 13);
    if (at != std::string_view::npos) {
      coded = true;
      code = line[at + 11];
    }
  }
  if (m_doc.currentGame <= VexoriumDoc::kMaxGames) {
    m_doc.games[static_cast<size_t>(m_doc.currentGame)].gameTypeName =
        coded ? GameTypeName(m_doc, code) : "Unknown";
  }
}

bool ServerLogPass::HandleConnect(std::string_view line, int wordEnd) {
  std::string number(TrailingClientNumber(line));
  std::string time(ClockTime(line));
  ConnectName connect;
  ReadConnectName(line, wordEnd, &connect);
  // Until it names a player, the client connected in this number is nobody we know.
  m_connectedIn.Erase(number);
  if (connect.name.empty()) return false;
  int32_t team = connect.team;

  std::vector<int32_t>& known = m_playerTries[connect.name];
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
    if (slot == number || slot == VexoriumDoc::kNoSlot) {
      found = p;
      break;
    }
  }
  int32_t p = found;
  if (p < 0) {
    // Before the first game record 0 takes the connection as a scratch record. Record k
    // belongs to name k: a log that gained players since the discovery pass read it gets no
    // records beyond the names that pass found.
    if (m_doc.currentGame < 1) {
      p = 0;
    } else if (m_doc.playerCount < m_doc.nameCount) {
      p = m_doc.CreatePlayer(name, RawNameTry(connect.rawName, tries), number);
      if (p > 0) known.push_back(p);
    }
    if (p < 0) return true;
  }
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  m_doc.SetClientSlot(p, number);
  m_connectedIn.Set(number, p);
  player.connectTime = time;
  player.disconnectTime.clear();
  PlayerGame& game = player.games.At(m_doc.currentGame);
  game = PlayerGame{};
  game.seconds = 1;
  game.team = team;
  return true;
}

void ServerLogPass::HandleDisconnect(std::string_view line) {
  std::string_view number = TrailingClientNumber(line);
  int32_t p = ConnectedIn(number);
  if (p < 0) p = m_doc.ConnectedPlayerInSlot(number, 0, m_doc.playerCount, false);
  if (p < 0) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  CreditConnection(p, ClockTime(line));
  player.connectTime.clear();
}

void ServerLogPass::HandleShutdown(std::string_view line) {
  m_doc.gameClosed = true;
  std::string_view time = ClockTime(line);
  for (int32_t p = 0; p <= m_doc.playerCount; ++p) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    if (player.disconnectTime.empty() && !player.connectTime.empty()) CreditConnection(p, time);
  }
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
  m_nameTries.clear();
  m_playerTries.clear();
  m_rawNameTries.clear();
}

// Ends a connection at the given clock: the time played is credited, the game's hourly rates
// computed and the game counted as played.
void ServerLogPass::CreditConnection(int32_t p, std::string_view disconnectTime) {
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  player.disconnectTime = disconnectTime;
  AddPlayTime(player.connectTime, player.disconnectTime, p);
  player.timeCreditFactor = 1;
  PlayerGame& game = player.games.At(m_doc.currentGame);
  game.fragsPerHour = PerHour(game.seconds, game.frags);
  game.deathsPerHour = PerHour(game.seconds, game.deaths);
  game.suicidesPerHour = PerHour(game.seconds, game.suicides);
  player.gamesPlayed = SaturatingAdd(player.gamesPlayed, 1);
}

void ServerLogPass::AddPlayTime(std::string_view connectTime, std::string_view disconnectTime,
                                int32_t p) {
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  int64_t elapsed =
      (ClockSeconds(disconnectTime) - ClockSeconds(connectTime)) * player.timeCreditFactor;
  if (elapsed > 0) {
    player.totalSeconds = SaturatingAdd(player.totalSeconds, elapsed);
    // A second connection in the same game keeps the seconds of the last one.
    player.games.At(m_doc.currentGame).seconds = SaturatingAdd(0, elapsed);
  }
  player.UpdateTimeText();
}

}  // namespace vexor
