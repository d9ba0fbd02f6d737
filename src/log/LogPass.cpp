#include "log/LogPass.h"

#include <algorithm>

#include "base/TextNumbers.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Often enough for a progress box to move several times a second on the largest log, rarely
// enough to cost nothing next to the lines.
constexpr uint64_t kReportEvery = 1 << 20;

}  // namespace

LogPass::LogPass(VexoriumDoc& doc, const ReadObserver& observer, uint64_t limit)
    : m_doc(doc), m_observer(observer), m_limit(limit) {}

bool LogPass::OpenLog(std::unique_ptr<LineParser> parser) {
  m_lastReport = 0;
  m_positions.assign(VexoriumDoc::kPlayerSlots, KeptPosition{});
  m_reader.Close();  // the parser of an earlier reading is no longer read
  m_parser = std::move(parser);
  return m_reader.Open(m_doc.currentLogPath, m_parser.get(), m_limit);
}

bool LogPass::NextLine(std::string_view* line) {
  // A stopped pass stays stopped: code that reads ahead (a connect's next line) sees the end of
  // the log like the pass's own loop.
  if (m_stopped || !m_reader.Next(line, &m_facts, &m_batch)) return false;
  ReportProgress();
  return true;
}

bool LogPass::NextEventLine(std::string_view* line, bool* passed, LineKind alsoPass) {
  *passed = false;
  uint64_t stopAt = m_observer ? m_lastReport + kReportEvery : UINT64_MAX;
  if (m_stopped || !m_reader.NextEvent(line, &m_facts, &m_batch, stopAt, passed, alsoPass))
    return false;
  ReportProgress();
  return true;
}

void LogPass::ReportProgress() {
  if (m_observer && m_reader.BytesRead() - m_lastReport >= kReportEvery) {
    m_lastReport = m_reader.BytesRead();
    m_stopped = !m_observer(m_lastReport, m_reader.Size());
  }
}

bool LogPass::FinishPass() {
  if (!m_stopped && m_observer) m_stopped = !m_observer(m_reader.BytesRead(), m_reader.Size());
  bool ok = !m_reader.Failed() && !m_stopped;
  m_reader.Close();
  m_facts = nullptr;
  m_batch = nullptr;
  return ok;
}

int32_t LogPass::PresentPosition(int32_t p) {
  KeptPosition& kept = m_positions[static_cast<size_t>(p)];
  int32_t game = m_doc.currentGame;
  if (kept.game != game) {
    kept.game = game;
    kept.position = m_doc.presence.Get(game, p) == 1 ? m_doc.presence.PositionOf(game, p) : -1;
  }
  return kept.position;
}

int32_t LogPass::CurrentPlayerNumber() const {
  int32_t g = m_doc.currentGame;
  if (g < 0 || g > m_doc.gameCount || !VexoriumDoc::IsGameSlot(g)) return -1;
  return m_doc.games[static_cast<size_t>(g)].playerNumber;
}

void LogPass::SettleGameTables() {
  int32_t g = m_doc.currentGame;
  if (g < 1 || g > std::min(m_doc.gameCount, VexoriumDoc::kMaxGames)) return;
  GameRecord& game = m_doc.games[static_cast<size_t>(g)];
  game.playerNumber = m_doc.presence.CountPresent(g, m_doc.nameCount);
  game.kills.Allocate(game.playerNumber);
}

// Definitions may come from a file: their targets are checked against the set's count and their
// values added with wrap-around.
void LogPass::ApplyVariableMatch(VariableSide side, const ChangeSlots& slots,
                                 const NamedPlayer (&named)[2], bool statistics) {
  // In the statistics pass a player's record is looked up once for all its slots: a second
  // look-up finds what the first found or created.
  constexpr int32_t kNotLookedUp = -2;
  int32_t records[2] = {kNotLookedUp, kNotLookedUp};
  for (const SlotFields& slot : kSlotsInApplyOrder) {
    if (slots.*slot.change == 0) continue;
    size_t i = slot.player == 1 ? 0 : 1;
    const NamedPlayer& who = named[i];
    if (who.name.empty()) continue;
    // The player is looked up (and, for a client log, discovered) whatever the slot's target,
    // so that both passes find the same names on the same lines.
    int32_t p =
        statistics && records[i] != kNotLookedUp ? records[i] : VariablePlayer(who, statistics);
    records[i] = p;
    if (p > 0) AddToVariableCounts(side, p, slots.*slot.target, slots.*slot.value);
  }
}

void LogPass::AddToVariableCounts(VariableSide side, int32_t p, int32_t target, int32_t amount) {
  bool client = side == VariableSide::kClient;
  int32_t count = UsableVariableCount(client ? m_doc.clientVarCount : m_doc.serverVarCount);
  if (target < 0 || target > count) return;
  PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
  AddToVariable(client ? player.clientVarTotals : player.serverVarTotals, target, amount);
  PlayerGame& game = player.games.At(m_doc.currentGame);
  AddWrapping(client ? &game.ClientVarRef(target, count) : &game.ServerVarRef(target, count),
              amount);
}

}  // namespace vexor
