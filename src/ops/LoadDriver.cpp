#include "ops/LoadDriver.h"

#include <algorithm>
#include <new>

#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "base/TextNumbers.h"
#include "log/LogAnalysis.h"
#include "log/LogLineReader.h"
#include "ops/ReportStep.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "stats/DerivedValues.h"
#include "stats/GameSumming.h"
#include "stats/LogSelection.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr const char* kTooManyPlayers =
    "Sorry your Log File contains too many players. Vexor supports 2500 players at most.";
constexpr const char* kTooManyGames =
    "You have too many players. Vexor can analyse 5000 players at once.";

// One file holds at most 2495 players and 4995 games; several files at most 2499 players and
// 4999 games (beyond that the game table would overrun).
constexpr int32_t kSingleFileNameLimit = 2496;
constexpr int32_t kSingleFileGameLimit = 4996;
constexpr int32_t kSeveralFilesNameLimit = 2500;
constexpr int32_t kSeveralFilesGameLimit = 5000;

}  // namespace

LoadDriver::LoadDriver(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
                       std::string startDirectory)
    : m_doc(doc),
      m_selection(selection),
      m_prompter(prompter),
      m_startDirectory(std::move(startDirectory)) {}

std::string LoadDriver::ReportFolder() const {
  return JoinPath(m_startDirectory, "html");
}

bool LoadDriver::OnNewDocument() {
  m_reportWritten = true;
  m_cancelled = false;
  LoadSettings(m_doc, m_startDirectory);
  CreateFolder(ReportFolder());
  m_doc.reportIndexPath = JoinPath(ReportFolder(), "games.htm");
  m_doc.ResetForLoad();
  if (m_doc.startupPending) {
    m_doc.startupPending = false;
    return true;
  }
  m_selection.dataAvailable = false;
  if (!ReadLogs()) return false;
  SumGames(m_doc);
  m_doc.storageAllocated = true;
  if (m_doc.clientLogSeen) ClearClientLogTimes();
  RemoveHiddenGamesFromTotals();
  StoreDerivedValues(m_doc);
  if (m_selection.selectedFileCount == 1)
    m_selection.selectedLogFiles[0] = m_selection.selectedLogPath;
  WriteReport();
  m_selection.dataAvailable = true;
  m_doc.refresh = true;
  m_doc.currentScreen = 4;
  m_doc.startupPending = false;
  CloseProgress();
  return true;
}

bool LoadDriver::ReadLogs() {
  switch (ReadLogAlone()) {
    case Reading::kDone:
      return true;
    case Reading::kFailed:
      return false;
    case Reading::kTwoPasses:
      break;
  }
  return DiscoverAll() && PrepareStorage() && AnalyseAll();
}

LoadDriver::Reading LoadDriver::ReadLogAlone() {
  if (!m_singleReading || m_selection.selectedFileCount > 1 ||
      m_selection.selectedLogPath.empty()) {
    return Reading::kTwoPasses;
  }
  const std::string& path = m_selection.selectedLogPath;
  LogKind kind = KindOfLog(path, ReadLimit(0));
  if (kind == LogKind::kUnreadable) return Reading::kTwoPasses;  // the passes say so
  m_doc.clientGameCounter = 0;
  m_doc.currentLogPath = path;
  if (!StartFile(WorkStep::kReading, 0, 1)) {
    EndCancelled();
    return Reading::kFailed;
  }
  if (!PrepareStorage(true)) return Reading::kFailed;
  LogAnalysis analysis(m_doc, m_selection, m_prompter);
  ObserveReading(analysis);
  analysis.SetReadLimit(ReadLimit(0));
  // A server log beyond the limits is read in two passes, which refuse it after the first.
  LogAnalysis::OnceResult result =
      kind == LogKind::kClient
          ? analysis.ReadClientLogOnce()
          : analysis.ReadServerLogOnce(kSingleFileNameLimit, kSingleFileGameLimit);
  switch (result) {
    case LogAnalysis::OnceResult::kRead:
      break;
    case LogAnalysis::OnceResult::kTwoPasses:
      m_doc.ResetForLoad();
      return Reading::kTwoPasses;
    case LogAnalysis::OnceResult::kFailed:
      if (analysis.Stopped()) {
        EndCancelled();
      } else {
        FailFile(path);
      }
      return Reading::kFailed;
  }
  if (!WithinLimits(false)) return Reading::kFailed;
  m_doc.FinishSingleReading();
  return Reading::kDone;
}

bool LoadDriver::DiscoverAll() {
  LogAnalysis analysis(m_doc, m_selection, m_prompter);
  int fileCount = std::clamp(m_selection.selectedFileCount, 1, LogSelection::kMaxFiles);
  bool several = m_selection.selectedFileCount > 1;
  ObserveReading(analysis);
  for (int k = 0; k < fileCount; ++k) {
    m_doc.clientGameCounter = 0;
    m_doc.currentLogPath = several ? m_selection.selectedLogFiles[static_cast<size_t>(k)]
                                   : m_selection.selectedLogPath;
    if (!StartFile(WorkStep::kDiscovery, k, fileCount)) return EndCancelled();
    analysis.SetReadLimit(ReadLimit(k));
    if (!analysis.AnalyseLogFile(true)) {
      return analysis.Stopped() ? EndCancelled() : FailFile(m_doc.currentLogPath);
    }
    // Several files must stop before their games run past the game table.
    if (several && m_doc.gameCount >= kSeveralFilesGameLimit) return RefuseTooMany(kTooManyGames);
  }
  return WithinLimits(several);
}

bool LoadDriver::WithinLimits(bool several) {
  if (!several) {
    if (m_doc.nameCount >= kSingleFileNameLimit) return RefuseTooMany(kTooManyPlayers);
    if (m_doc.gameCount >= kSingleFileGameLimit) return RefuseTooMany(kTooManyGames);
  } else if (m_doc.nameCount >= kSeveralFilesNameLimit) {
    return RefuseTooMany(kTooManyPlayers);
  }
  return true;
}

bool LoadDriver::RefuseTooMany(const char* message) {
  m_prompter.Inform(message, "Warning!");
  m_selection.selectedLogPath.clear();
  CloseProgress();
  return false;
}

bool LoadDriver::FailFile(const std::string& path) {
  m_prompter.Inform(StringPrintf("The log file \"%s\" cannot be read.", path.c_str()), "Warning!");
  CloseProgress();
  return false;
}

bool LoadDriver::EndCancelled() {
  m_cancelled = true;
  CloseProgress();
  return false;
}

bool LoadDriver::StartFile(WorkStep step, int fileIndex, int fileCount) {
  if (m_progress == nullptr) return true;
  m_progress->StepStarted(step, fileIndex, fileCount);
  return !m_progress->CancelRequested();
}

uint64_t LoadDriver::ReadLimit(int fileIndex) const {
  auto k = static_cast<size_t>(fileIndex);
  return k < m_readLimits.size() ? m_readLimits[k] : kWholeLog;
}

void LoadDriver::ObserveReading(LogAnalysis& analysis) {
  if (m_progress == nullptr) return;
  analysis.SetReadObserver([this](uint64_t done, uint64_t size) {
    m_progress->BytesDone(done, size);
    return !m_progress->CancelRequested();
  });
}

bool LoadDriver::PrepareStorage(bool singleReading) {
  try {
    if (singleReading) {
      m_doc.PrepareSingleReading();
    } else {
      m_doc.PrepareStatistics();
    }
  } catch (const std::bad_alloc&) {
    m_prompter.Inform(m_selection.selectedFileCount > 1
                          ? "Not enough memory for all the user-variables"
                          : "Not enough memory for all the client user-variables",
                      "Info");
    CloseProgress();
    return false;
  }
  return true;
}

bool LoadDriver::AnalyseAll() {
  LogAnalysis analysis(m_doc, m_selection, m_prompter);
  ObserveReading(analysis);
  bool several = m_selection.selectedFileCount > 1;
  int fileCount = several ? std::min(m_selection.selectedFileCount, LogSelection::kMaxFiles) : 1;
  for (int j = 0; j < fileCount; ++j) {
    if (several) {
      m_doc.clientGameCounter = 0;
      m_doc.currentLogPath = m_selection.selectedLogFiles[static_cast<size_t>(j)];
    }
    if (!StartFile(WorkStep::kStatistics, j, fileCount)) return EndCancelled();
    if (m_doc.currentLogPath.empty()) {
      // "Bad Games.Log" is shown by the analysis.
      analysis.AnalyseCurrentLog(true);
      CloseProgress();
      return false;
    }
    analysis.SetReadLimit(ReadLimit(j));
    if (!analysis.AnalyseCurrentLog(true)) {
      return analysis.Stopped() ? EndCancelled() : FailFile(m_doc.currentLogPath);
    }
  }
  return true;
}

void LoadDriver::ClearClientLogTimes() {
  for (int32_t p = 0; p <= m_doc.nameCount; ++p) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    player.totalSeconds = 0;
    player.hours = player.minutes = player.seconds = 0;
    player.connectTime.clear();
    player.disconnectTime.clear();
    GameSeries& series = player.games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      if (series.GameAt(e) > m_doc.gameCount) continue;
      PlayerGame& game = series.ValueAt(e);
      game.fragsPerHour = game.deathsPerHour = game.suicidesPerHour = 0;
    }
  }
}

// A hidden game no longer counts in any player's frags, deaths, suicides or total seconds;
// weapon totals, games played, custom variables and the time text keep it.
void LoadDriver::RemoveHiddenGamesFromTotals() {
  int32_t lastGame = std::min(m_doc.gameCount, VexoriumDoc::kMaxGames);
  for (int32_t p = 1; p <= m_doc.nameCount; ++p) {
    PlayerRecord& player = m_doc.players[static_cast<size_t>(p)];
    GameSeries& series = player.games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      if (g < 1 || g > lastGame || !m_doc.games[static_cast<size_t>(g)].shortGame) continue;
      PlayerGame& game = series.ValueAt(e);
      SubtractWrapping(&player.frags, game.frags);
      SubtractWrapping(&player.deaths, game.deaths);
      SubtractWrapping(&player.suicides, game.suicides);
      // A connection credited no time (its game never shut down, or ended at the clock it
      // began) still holds its connect's one second: the total never goes below nothing.
      player.totalSeconds =
          std::max<int64_t>(0, SaturatingAdd(player.totalSeconds, -int64_t{game.seconds}));
      game.frags = game.deaths = game.suicides = game.seconds = 0;
    }
  }
}

void LoadDriver::WriteReport() {
  if (!m_reportEnabled) return;
  // Not cancelled from here on: a report half of this load and half of the last is worse than
  // waiting for the pages.
  m_reportWritten =
      WriteReportStep(m_doc, ReportFolder(), m_prompter, m_progress,
                      m_reportFollowed ? ReportWriting::kFollowed : ReportWriting::kOnce);
}

void LoadDriver::CloseProgress() {
  if (m_progress) m_progress->Close();
}

}  // namespace vexor
