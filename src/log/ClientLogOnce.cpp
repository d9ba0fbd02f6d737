// A load of one client console log reads it once: every line is read for the discovery pass's
// names and presence and then counted as the statistics pass counts it, so that the log is cut
// into lines, obituaries and names once instead of twice.
//
// The two passes agree line by line: record k is created where name k is found. Two things
// differ from reading twice. A game's kills are kept until its end: its kill tables place its
// players by the game's whole list of players. And a variable's match may name a player before
// the log names him. The statistics pass, knowing every name, creates his record there when his
// name is the next one without a record, and counts him. The single reading notes the names a
// match looked for in vain while every name had its record; when the next name found is one of
// them, the two passes would have read the log otherwise from there, and the load reads it again
// in two passes.
#include <string>

#include "log/ClientLogPass.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Past this many distinct names looked for in vain before the next name, or this many kills kept
// for one game (48 MB), the reading stops and the load reads the log in two passes, which keep
// neither: a made-up log cannot make the single reading hold more than that.
constexpr size_t kMostUnnamed = 4096;
constexpr size_t kMostGameKills = size_t{1} << 22;

}  // namespace

bool ClientLogPass::ReadOnce(bool* twoPasses) {
  *twoPasses = false;
  if (!OpenLog(MakeParser(ClientReading::kOnce))) return false;
  m_once = true;
  m_gameKills.clear();
  m_unnamed.clear();
  m_readTwice = false;
  m_seenNames.fill(SeenName{});
  m_nameLookups.assign(VexoriumDoc::kPlayerSlots, RecordLookup{});
  m_doc.currentGame = 0;
  m_doc.clientGameCounter = 0;
  bool gameStarted = false;  // a game start was seen in this file
  std::string_view line;
  while (!m_readTwice && NextLine(&line))
    ReadLineOnce(line, &gameStarted);
  CountGameKills();
  m_once = false;
  bool read = FinishPass();
  *twoPasses = m_readTwice;
  return read;
}

void ClientLogPass::ReadLineOnce(std::string_view line, bool* gameStarted) {
  const LineBatch& batch = *m_batch;
  const LineFacts& facts = *m_facts;
  m_lineNumbers = {kNameNotLookedUp, kNameNotLookedUp};
  switch (facts.kind) {
    case LineKind::kGameStart:
      CountGameKills();
      OpenDiscoveredGame();
      *gameStarted = true;
      HandleClientGameStart();
      break;
    case LineKind::kEntry:
      m_lineNumbers[0] = ScanEntryLine(batch, facts, *gameStarted);
      HandleEnteredGame(batch, facts);
      break;
    case LineKind::kObituary: {
      const LineNames& names = batch.NamesOf(facts);
      for (int i = 0; i < 2; ++i)
        m_lineNumbers[i] = DiscoverLineName(batch, names.names[i]);
      CountObituary(batch, facts, m_lineNumbers);
      break;
    }
    case LineKind::kSuicide:
      m_lineNumbers[0] = DiscoverLineName(batch, batch.NamesOf(facts).names[0]);
      CountSuicide(batch, facts, m_lineNumbers[0]);
      break;
    default:
      break;
  }
  if (facts.kind != LineKind::kGameStart) ScanMapLoad(line, facts);
  if (DiscoveryReadsVariables(batch, facts)) ApplyClientVariables(batch, facts, false);
  ApplyClientVariables(batch, facts, true);
}

void ClientLogPass::CountGameKills() {
  SettleGameTables();
  m_once = false;
  for (const Kill& kill : m_gameKills)
    CountKill(kill);
  m_once = true;
  m_gameKills.clear();
}

void ClientLogPass::KeepGameKill(const Kill& kill) {
  if (m_gameKills.size() == kMostGameKills) {
    m_readTwice = true;
    return;
  }
  m_gameKills.push_back(kill);
}

int32_t ClientLogPass::DiscoverLineName(const LineBatch& batch, TextSpan name) {
  uint32_t hash = (name.at ^ name.size) * 2654435761u;
  SeenName& seen = m_seenNames[hash >> (32 - kSeenNameBits)];
  if (seen.firstByte == batch.firstByte && seen.at == name.at && seen.size == name.size &&
      seen.game == m_doc.gameCount) {
    return seen.number;  // found and marked present then
  }
  int32_t n = DiscoverName(batch.Name(name));
  seen = {batch.firstByte, name.at, name.size, m_doc.gameCount, n};
  return n;
}

int32_t ClientLogPass::LineNameNumber(const LineBatch& batch, const LineFacts& facts,
                                      TextSpan name) const {
  int i = batch.LineNameIndex(facts, name);
  return i >= 0 ? m_lineNumbers[static_cast<size_t>(i)] : kNameNotLookedUp;
}

void ClientLogPass::NoteUnnamed(std::string_view key) {
  if (m_doc.playerCount != m_doc.nameCount || m_unnamed.find(key) != m_unnamed.end()) return;
  if (m_unnamed.size() == kMostUnnamed) {
    m_readTwice = true;
    return;
  }
  m_unnamed.emplace(key);
}

void ClientLogPass::NoteNewName(std::string_view key) {
  if (m_unnamed.empty()) return;
  if (m_unnamed.find(key) != m_unnamed.end()) m_readTwice = true;
  m_unnamed.clear();
}

}  // namespace vexor
