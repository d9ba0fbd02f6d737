// The discovery pass over a server log: games and their settings, names and who took part in
// which game.
#include <string>

#include "log/LineText.h"
#include "log/LogAnalysis.h"
#include "base/TextNumbers.h"
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

bool LogAnalysis::ScanServerLog() {
  if (!OpenCurrentLog()) return false;
  std::string_view line;
  while (NextLine(&line)) {
    if (line.size() <= 10) continue;
    EventWord event = FindEventWord(line);
    if (event.word == "ClientConnect:") {
      if (m_doc.gameCount > 0) ScanConnect(line, event.end);
    } else if (event.word == "InitGame:") {
      ScanInitGame(line);
    }
  }
  return FinishPass();
}

void LogAnalysis::ScanConnect(std::string_view line, int wordEnd) {
  // The user-information line that follows is consumed here: keep what the connect line gives.
  std::string slot(RestOfLine(line, wordEnd));
  std::string_view info;
  if (!NextLine(&info)) return;
  std::string name = StripColourCodes(UserInfoRawName(info, wordEnd));
  if (name.empty()) return;
  int32_t game = m_doc.gameCount;
  int tries = 0;
  for (;;) {
    int32_t n = m_doc.FindName(name);
    if (n < 0) break;
    m_doc.presence.Mark(game, n);
    const std::string& held = m_doc.NameSlot(n);
    if (held != slot && held != CVexoriumDoc::kNoSlot) {
      // Another client already uses this name in this game.
      name = Disambiguate(name, ++tries);
      continue;
    }
    m_doc.SetNameSlot(n, slot);
    return;
  }
  int32_t n = m_doc.AddName(name, slot);
  if (n > 0) m_doc.presence.Mark(game, n);
}

void LogAnalysis::ScanInitGame(std::string_view line) {
  m_doc.gameCount = SaturatingAdd(m_doc.gameCount, 1);
  m_doc.ResetNameSlots();
  if (m_doc.gameCount > CVexoriumDoc::kMaxGames) return;
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
