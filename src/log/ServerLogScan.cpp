// The discovery pass over a server log: games and their settings, names and who took part in
// which game.
#include <string>
#include <utility>

#include "base/TextNumbers.h"
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
  std::string_view line;
  while (NextLine(&line)) {
    if (line.size() <= 10) {
      m_hasUserInfoBefore = false;
      continue;
    }
    LineKind kind = m_facts->kind;
    if (kind == LineKind::kConnect && m_doc.gameCount > 0) {
      ScanConnect(line, m_facts->wordEnd);  // notes the line it consumes
      continue;
    }
    if (kind == LineKind::kInitGame) ScanInitGame(line);
    NoteLineBeforeConnect(kind, line);
  }
  return FinishPass();
}

void ServerLogPass::NoteLineBeforeConnect(LineKind kind, std::string_view line) {
  m_hasUserInfoBefore = kind == LineKind::kUserInfo;
  if (m_hasUserInfoBefore) m_userInfoBefore.assign(line);
}

void ServerLogPass::ReadConnectName(std::string_view connectLine, int wordEnd,
                                    ConnectName* connect) {
  // The client number is cut alike in both passes, so that both find the same players.
  std::string_view number = TrailingClientNumber(connectLine);
  bool infoBeforeFits =
      m_hasUserInfoBefore && !number.empty() &&
      UserInfoClientNumber(m_userInfoBefore, FindEventWord(m_userInfoBefore).end) == number;
  std::string_view next;
  bool read = NextLine(&next);
  LineKind nextKind = read ? m_facts->kind : LineKind::kOther;
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
}

void ServerLogPass::ScanConnect(std::string_view line, int wordEnd) {
  // The line that follows is consumed: keep what the connect line gives first.
  std::string slot(RestOfLine(line, wordEnd));
  ConnectName connect;
  ReadConnectName(line, wordEnd, &connect);
  if (connect.name.empty()) return;
  int32_t game = m_doc.gameCount;
  std::vector<int32_t>& found = m_nameTries[connect.name];
  std::string name;
  for (size_t tries = 0;; ++tries) {
    int32_t n;
    if (tries < found.size()) {
      n = found[tries];
    } else {
      name = tries == 0 ? connect.name
                        : Disambiguate(m_doc.PlayerName(found.back()), static_cast<int>(tries));
      n = m_doc.FindName(name);
      if (n < 0) break;
      found.push_back(n);
    }
    m_doc.presence.Mark(game, n);
    const std::string& held = m_doc.NameSlot(n);
    // Another client already uses this name in this game: the next try.
    if (held != slot && held != VexoriumDoc::kNoSlot) continue;
    m_doc.SetNameSlot(n, slot);
    return;
  }
  int32_t n = m_doc.AddName(name, slot);
  if (n > 0) {
    found.push_back(n);
    m_doc.presence.Mark(game, n);
  }
}

void ServerLogPass::ScanInitGame(std::string_view line) {
  m_doc.gameCount = SaturatingAdd(m_doc.gameCount, 1);
  m_doc.ResetNameSlots();
  if (m_doc.gameCount > VexoriumDoc::kMaxGames) return;
  GameRecord& game = m_doc.games[static_cast<size_t>(m_doc.gameCount)];
  game.playerNumber = 0;
  game.serverLogGame = 1;
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
