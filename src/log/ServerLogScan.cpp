// The discovery pass over a server log: games and their settings, names and who took part in
// which game.
#include <string>
#include <utility>

#include "base/TextNumbers.h"
#include "log/GameFamilies.h"
#include "log/LineParsers.h"
#include "log/LineText.h"
#include "log/ServerLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// The value of a key in an "InitGame:" line: from skip characters after the key's start up to
// the next backslash. found is false when the key or the closing backslash is missing.
struct KeyValue {
  std::string_view text;
  bool found = false;
};

KeyValue ValueOf(std::string_view line, std::string_view key, size_t skip) {
  KeyValue value;
  size_t at = line.find(key);
  if (at == std::string_view::npos) return value;
  size_t start = at + skip;
  if (start >= line.size()) return value;
  size_t end = line.find('\\', start);
  if (end == std::string_view::npos) return value;
  value.text = line.substr(start, end - start);
  value.found = true;
  return value;
}

}  // namespace

bool ServerLogPass::Scan() {
  if (!OpenLog(MakeParser(false))) return false;
  m_hasUserInfoBefore = false;
  ForgetNameTries();
  SetFamily(m_doc.gameCount >= 1 && m_doc.gameCount <= VexoriumDoc::kMaxGames
                ? m_doc.games[static_cast<size_t>(m_doc.gameCount)].family
                : GameFamily::kQuake3);
  std::string_view line;
  bool passed = false;
  // A family whose names come from connects alone passes over kill lines as over lines of no
  // kind: the family changes only at a game's start, which is never passed over.
  while (
      NextEventLine(&line, &passed, m_rules->namesFromKills ? LineKind::kOther : LineKind::kKill)) {
    if (passed) m_hasUserInfoBefore = false;  // a line of no kind came between
    if (line.size() <= kShortestScanned) {
      m_hasUserInfoBefore = false;
      continue;
    }
    LineKind kind = m_facts->kind;
    if (kind == LineKind::kConnect && m_doc.gameCount > 0) {
      ScanConnect(line, m_facts->wordEnd);  // notes the line it consumes
      continue;
    }
    ScanEvent(line, *m_facts);
    NoteLineBeforeConnect(kind, line);
  }
  return FinishPass();
}

void ServerLogPass::ScanEvent(std::string_view line, const LineFacts& facts) {
  bool inGame = m_doc.gameCount > 0;
  switch (facts.kind) {
    case LineKind::kInitGame:
      ScanInitGame(line, (facts.flags & kWallClock) != 0);
      break;
    case LineKind::kDisconnect:
      if (inGame) m_scanConnections.Disconnected(TrailingClientNumber(line));
      break;
    case LineKind::kShutdown:
      m_scanConnections.GameEnded();
      break;
    case LineKind::kKill:
      if (inGame && m_rules->namesFromKills) ScanKillNames(line);
      break;
    default:
      break;
  }
}

void ServerLogPass::SetFamily(GameFamily family) {
  m_family = family;
  m_rules = &RulesOf(family);
}

void ServerLogPass::NoteLineBeforeConnect(LineKind kind, std::string_view line) {
  m_hasUserInfoBefore = kind == LineKind::kUserInfo;
  if (m_hasUserInfoBefore) m_userInfoBefore.assign(line);
}

std::string ServerLogPass::ConnectNumber(std::string_view line, int wordEnd,
                                         bool statistics) const {
  if (m_rules->connectNamesPlayer) {
    NamingConnect naming = ReadNamingConnect(line, wordEnd);
    if (naming.found) return std::string(naming.number);
  }
  // The two passes have always cut a plain connect's number each its own way; both give the
  // same number for every connect line a server writes ("ClientConnect: 7").
  return std::string(statistics ? TrailingClientNumber(line) : RestOfLine(line, wordEnd));
}

LineKind ServerLogPass::ReadConnectName(std::string_view connectLine, int wordEnd,
                                        ConnectName* connect) {
  if (m_rules->connectNamesPlayer) {
    // The connect line names the player; the line after it is a line of its own.
    NamingConnect naming = ReadNamingConnect(connectLine, wordEnd);
    if (naming.found) {
      connect->rawName = naming.rawName;
      connect->name = StripColourCodes(connect->rawName);
      m_hasUserInfoBefore = false;
      return LineKind::kOther;
    }
  }
  // The client number is cut alike in both passes, so that both find the same players.
  std::string_view number = TrailingClientNumber(connectLine);
  bool infoBeforeFits =
      m_hasUserInfoBefore && !number.empty() &&
      UserInfoClientNumber(m_userInfoBefore, FindEventWord(m_userInfoBefore).end) == number;
  std::string_view next;
  bool read = NextLine(&next);
  LineKind nextKind = read ? m_facts->kind : LineKind::kOther;
  // Urban Terror logs the whole user information of the client ("ClientUserinfo:") before the
  // change that names him: those lines are consumed too. A few at most, so that the connect
  // line stays readable (a line stays valid while one more batch is read).
  constexpr int kMostWholeInfoLines = 8;
  for (int skipped = 0; read && m_rules->userInfoBeforeName && skipped < kMostWholeInfoLines &&
                        nextKind == LineKind::kUserInfoWhole &&
                        UserInfoClientNumber(next, m_facts->wordEnd) == number;
       ++skipped) {
    read = NextLine(&next);
    nextKind = read ? m_facts->kind : LineKind::kOther;
  }
  // OpenArena may log the next client's user information right after a connect line: that
  // line names another player, not this one.
  bool othersInfo = read && !number.empty() && nextKind == LineKind::kUserInfo &&
                    UserInfoClientNumber(next, m_facts->wordEnd) != number;
  if (read && !othersInfo) {
    connect->rawName = UserInfoRawName(next, wordEnd);
    connect->name = StripColourCodes(connect->rawName);
    connect->team = UserInfoTeam(next);
  }
  if (connect->name.empty() && infoBeforeFits) {
    // OpenArena logs a bot's user information before its connect line: the line after it
    // ("ClientBegin:", "Info:" ...) names nobody. The name starts after that line's own word.
    std::string_view before = m_userInfoBefore;
    connect->rawName = UserInfoRawName(before, FindEventWord(before).end);
    connect->name = StripColourCodes(connect->rawName);
    connect->team = UserInfoTeam(before);
  }
  // The consumed line is the one before whatever line comes next.
  if (read) {
    NoteLineBeforeConnect(nextKind, next);
  } else {
    m_hasUserInfoBefore = false;
  }
  return nextKind;
}

void ServerLogPass::ScanConnect(std::string_view line, int wordEnd) {
  // The line that follows is consumed: keep what the connect line gives first.
  std::string slot = ConnectNumber(line, wordEnd, false);
  ConnectName connect;
  ReadConnectName(line, wordEnd, &connect);
  DiscoverConnect(slot, connect);
}

void ServerLogPass::DiscoverConnect(const std::string& slot, const ConnectName& connect) {
  if (connect.name.empty()) {
    m_scanConnections.NobodyIn(slot);
  } else {
    DiscoverConnection(slot, connect.name);
  }
}

void ServerLogPass::DiscoverConnection(const std::string& slot, const std::string& connectName) {
  int32_t game = m_doc.gameCount;
  std::vector<int32_t>& found = m_nameTries.Insert(connectName);
  std::string name;
  for (size_t tries = 0;; ++tries) {
    int32_t n;
    if (tries < found.size()) {
      n = found[tries];
    } else {
      name = tries == 0 ? connectName
                        : Disambiguate(m_doc.PlayerName(found.back()), static_cast<int>(tries));
      n = m_doc.FindName(name);
      if (n < 0) break;
      found.push_back(n);
    }
    m_doc.presence.Mark(game, n);
    const std::string& held = m_doc.NameSlot(n);
    // Another client uses this name in this game, and its player has not left: the next try.
    if (held != slot && held != VexoriumDoc::kNoSlot && !m_scanConnections.IsLeft(n)) continue;
    m_doc.SetNameSlot(n, slot);
    m_scanConnections.Connected(slot, n);
    return;
  }
  int32_t n = m_doc.AddName(name, slot);
  if (n > 0) {
    found.push_back(n);
    m_doc.presence.Mark(game, n);
    m_scanConnections.Connected(slot, n);
  } else {
    m_scanConnections.NobodyIn(slot);
  }
}

void ServerLogPass::ScanKillNames(std::string_view line) {
  // The lines the statistics pass takes names from (HandleKill, TakeKillNames).
  KillLineText kill = CutKillLine(line);
  // The means is looked up only in a family that has kills that are none.
  if (RulesOf(m_family).killsThatAreNone && IsNoKill(m_family, MeansOfDeathId(kill.meansOfDeath))) {
    return;
  }
  std::string_view numbers[2] = {kill.killerNumber, kill.victimNumber};
  std::string names[2] = {StripColourCodes(kill.killer), StripColourCodes(kill.victim)};
  if (numbers[0] != kWorldNumber && (names[0].empty() || names[1].empty())) return;
  for (int i = 0; i < 2; ++i) {
    if (TakesKillName(numbers[i], m_scanConnections) && !names[i].empty()) {
      DiscoverConnection(std::string(numbers[i]), names[i]);
    }
  }
}

bool ServerLogPass::TakesKillName(std::string_view number,
                                  const GameConnections& connections) const {
  return !IsNonPlayer(number) && number != kWorldNumber && !number.empty() &&
         connections.In(number) == ClientNumberTable::kNobody;
}

bool ServerLogPass::IsNonPlayer(std::string_view number) const {
  if (!m_rules->nonPlayerCharacters || number == kWorldNumber) return false;
  return number.find_first_not_of("0123456789") == std::string_view::npos && !number.empty() &&
         (number.size() > 2 || WholeNumber(number) >= kFirstNonPlayer);
}

void ServerLogPass::ScanInitGame(std::string_view line, bool wallClock) {
  m_doc.gameCount = SaturatingAdd(m_doc.gameCount, 1);
  m_doc.ResetNameSlots();
  m_scanConnections.Clear();
  SetFamily(FamilyOfInitGame(line, wallClock));
  m_doc.familiesRead[static_cast<size_t>(m_family)] = true;
  if (m_doc.gameCount > VexoriumDoc::kMaxGames) return;
  GameRecord& game = m_doc.games[static_cast<size_t>(m_doc.gameCount)];
  game.playerNumber = 0;
  game.serverLogGame = 1;
  game.family = m_family;
  KeyValue map = ValueOf(line, "mapname", 8);
  KeyValue time = ValueOf(line, "timelimit", 10);
  KeyValue frag = ValueOf(line, "fraglimit", 10);
  if (time.found && frag.found) {
    game.mapName = map.text;
    game.fragLimit = WholeNumber(frag.text);
    game.timeLimit = WholeNumber(time.text);
  } else {
    game.mapName = "Unknown";
    game.fragLimit = 0;
    game.timeLimit = 0;
  }
}

}  // namespace vexor
