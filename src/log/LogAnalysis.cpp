#include "log/LogAnalysis.h"

#include "log/LogLineReader.h"
#include "platform/Prompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Often enough for a progress box to move several times a second on the largest log, rarely
// enough to cost nothing next to the lines.
constexpr uint64_t kReportEvery = 1 << 20;

}  // namespace

LogAnalysis::LogAnalysis(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter)
    : m_doc(doc), m_selection(selection), m_prompter(prompter) {}

bool LogAnalysis::AnalyseCurrentLog(bool run) {
  if (m_doc.currentLogPath.empty()) {
    if (!run) return true;
    m_prompter.Inform("Bad Games.Log", "Warning!");
    m_selection.selectedLogPath.clear();
    return false;
  }
  if (!run) return true;
  return AnalyseLogFile(false);
}

bool LogAnalysis::AnalyseLogFile(bool discovery) {
  m_stopped = false;
  LogLineReader probe;
  if (!probe.Open(m_doc.currentLogPath, m_readLimit)) return false;
  std::string_view first;
  bool client = probe.Next(&first) && first.substr(0, 7) == "logfile";
  probe.Close();
  if (client) {
    m_doc.clientLogSeen = true;
    return discovery ? ScanClientLog() : ParseClientLog();
  }
  m_doc.serverLogAbsent = false;
  return discovery ? ScanServerLog() : ParseServerLog();
}

bool LogAnalysis::OpenCurrentLog(std::unique_ptr<LineParser> parser) {
  m_lastReport = 0;
  m_positions.assign(VexoriumDoc::kPlayerSlots, KeptPosition{});
  m_nameLookups.assign(VexoriumDoc::kPlayerSlots, RecordLookup{});
  m_reader.Close();  // the parser of an earlier pass is no longer read
  m_parser = std::move(parser);
  return m_reader.Open(m_doc.currentLogPath, m_parser.get(), m_readLimit);
}

std::unique_ptr<LineParser> LogAnalysis::MakeServerParser(bool statistics) const {
  return std::make_unique<ServerLineParser>(statistics, m_doc.serverVars, m_doc.serverVarCount);
}

std::unique_ptr<LineParser> LogAnalysis::MakeClientParser(bool statistics) const {
  return std::make_unique<ClientLineParser>(m_doc.clientVars, m_doc.clientVarCount, !statistics,
                                            statistics ? &m_nameNumbers : nullptr);
}

int32_t LogAnalysis::DocNameNumbers::NumberOf(std::string_view name) const {
  return m_doc.FindName(name);
}

bool LogAnalysis::NextLine(std::string_view* line) {
  // A stopped pass stays stopped: code that reads ahead (a connect's next line) sees the end of
  // the log like the pass's own loop.
  if (m_stopped || !m_reader.Next(line, &m_facts, &m_batch)) return false;
  if (m_observer && m_reader.BytesRead() - m_lastReport >= kReportEvery) {
    m_lastReport = m_reader.BytesRead();
    m_stopped = !m_observer(m_lastReport, m_reader.Size());
  }
  return true;
}

bool LogAnalysis::FinishPass() {
  if (!m_stopped && m_observer) m_stopped = !m_observer(m_reader.BytesRead(), m_reader.Size());
  bool ok = !m_reader.Failed() && !m_stopped;
  m_reader.Close();
  m_facts = nullptr;
  m_batch = nullptr;
  return ok;
}

int32_t LogAnalysis::PresentPosition(int32_t p) {
  KeptPosition& kept = m_positions[static_cast<size_t>(p)];
  int32_t game = m_doc.currentGame;
  if (kept.game != game) {
    kept.game = game;
    kept.position = m_doc.presence.Get(game, p) == 1 ? m_doc.presence.PositionOf(game, p) : -1;
  }
  return kept.position;
}

bool LogAnalysis::RecordLookup::Holds(const VexoriumDoc& doc) const {
  return indexVersion == doc.PlayerIndexVersion() && nameCount == doc.nameCount;
}

void LogAnalysis::RecordLookup::Keep(const VexoriumDoc& doc, int32_t record) {
  *this = {doc.PlayerIndexVersion(), doc.nameCount, record};
}

int32_t LogAnalysis::CurrentPlayerNumber() const {
  int32_t g = m_doc.currentGame;
  if (g < 0 || g > m_doc.gameCount || !VexoriumDoc::IsGameSlot(g)) return -1;
  return m_doc.games[static_cast<size_t>(g)].playerNumber;
}

}  // namespace vexor
