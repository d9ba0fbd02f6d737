#include "log/LogAnalysis.h"

#include "log/ClientLogPass.h"
#include "log/LogLineReader.h"
#include "log/ServerLogPass.h"
#include "platform/Prompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

template <typename Pass>
bool RunPass(Pass& pass, bool discovery, bool* stopped) {
  bool read = discovery ? pass.Scan() : pass.Parse();
  *stopped = pass.Stopped();
  return read;
}

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

LogKind KindOfLog(const std::string& path, uint64_t limit) {
  LogLineReader probe;
  if (!probe.Open(path, limit)) return LogKind::kUnreadable;
  std::string_view first;
  return probe.Next(&first) && first.substr(0, 7) == "logfile" ? LogKind::kClient
                                                               : LogKind::kServer;
}

bool LogAnalysis::AnalyseLogFile(bool discovery) {
  m_stopped = false;
  LogKind kind = KindOfLog(m_doc.currentLogPath, m_readLimit);
  if (kind == LogKind::kUnreadable) return false;
  if (kind == LogKind::kClient) {
    m_doc.clientLogSeen = true;
    ClientLogPass pass(m_doc, m_observer, m_readLimit);
    return RunPass(pass, discovery, &m_stopped);
  }
  m_doc.serverLogAbsent = false;
  ServerLogPass pass(m_doc, m_observer, m_readLimit);
  return RunPass(pass, discovery, &m_stopped);
}

LogAnalysis::OnceResult LogAnalysis::ReadClientLogOnce() {
  m_stopped = false;
  m_doc.clientLogSeen = true;
  ClientLogPass pass(m_doc, m_observer, m_readLimit);
  bool twoPasses = false;
  bool read = pass.ReadOnce(&twoPasses);
  m_stopped = pass.Stopped();
  if (!read) return OnceResult::kFailed;
  return twoPasses ? OnceResult::kTwoPasses : OnceResult::kRead;
}

LogAnalysis::OnceResult LogAnalysis::ReadServerLogOnce(int32_t nameLimit, int32_t gameLimit) {
  m_stopped = false;
  m_doc.serverLogAbsent = false;
  ServerLogPass pass(m_doc, m_observer, m_readLimit);
  bool twoPasses = false;
  bool read = pass.ReadOnce({nameLimit, gameLimit}, &twoPasses);
  m_stopped = pass.Stopped();
  if (!read) return OnceResult::kFailed;
  return twoPasses ? OnceResult::kTwoPasses : OnceResult::kRead;
}

}  // namespace vexor
