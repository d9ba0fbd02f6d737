#include "ops/DocumentOperations.h"

#include <algorithm>
#include <utility>

#include "base/FileSystem.h"
#include "ops/ReportStep.h"
#include "ops/SiteStep.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "stats/CsvExport.h"
#include "stats/DataFile.h"
#include "stats/JsonExport.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/VariableWorkingCopy.h"

namespace vexor {

DocumentOperations::DocumentOperations(VexoriumDoc& doc, LogSelection& selection,
                                       Prompter& prompter, std::string startDirectory)
    : m_doc(doc),
      m_selection(selection),
      m_prompter(prompter),
      m_startDirectory(std::move(startDirectory)),
      m_driver(doc, selection, prompter, m_startDirectory) {}

std::string DocumentOperations::ReportFolder() const {
  return JoinPath(m_startDirectory, "html");
}

void DocumentOperations::SetProgress(Progress* progress) {
  m_progress = progress;
  m_driver.SetProgress(progress);
}

void DocumentOperations::SetReportEnabled(bool enabled) {
  m_reportEnabled = enabled;
  m_driver.SetReportEnabled(enabled);
}

void DocumentOperations::Begin(WorkStep step) {
  m_cancelled = false;
  if (m_progress != nullptr) m_progress->StepStarted(step, 0, 1);
}

bool DocumentOperations::End(bool ok) {
  if (m_progress != nullptr) m_progress->Close();
  return ok;
}

bool DocumentOperations::Startup() {
  m_cancelled = false;
  m_doc.startupPending = true;
  return m_driver.OnNewDocument();
}

void DocumentOperations::SelectLogs(const std::vector<std::string>& paths,
                                    LogSelection* selection) {
  if (paths.empty()) return;
  size_t taken = std::min(paths.size(), static_cast<size_t>(LogSelection::kMaxFiles));
  selection->selectedFileCount = static_cast<int32_t>(taken);
  if (taken == 1) {
    selection->selectedLogPath = paths[0];
  } else {
    std::copy_n(paths.begin(), taken, selection->selectedLogFiles.begin());
    selection->selectedLogPath = paths[taken - 1];
  }
  std::string& path = selection->selectedLogPath;
  if (path.size() < 4 || path[path.size() - 4] != '.') path += ".cfg";
}

std::vector<std::string> DocumentOperations::LogsToRead(const LogSelection& selection) {
  if (selection.selectedFileCount <= 1) return {selection.selectedLogPath};
  auto count = static_cast<size_t>(std::min(selection.selectedFileCount, LogSelection::kMaxFiles));
  return {selection.selectedLogFiles.begin(), selection.selectedLogFiles.begin() + count};
}

bool DocumentOperations::LoadLogs() {
  m_cancelled = false;
  if (m_doc.startupPending) m_driver.OnNewDocument();
  bool loaded = m_driver.OnNewDocument();
  m_cancelled = m_driver.Cancelled();
  m_reportWritten = m_driver.ReportWritten();
  return loaded;
}

bool DocumentOperations::OpenDataFile(const std::string& path) {
  Begin(WorkStep::kOpening);
  m_reportWritten = true;
  DataFileReadObserver observer;
  if (m_progress != nullptr) {
    observer = [this](uint64_t done, uint64_t size) {
      m_progress->BytesDone(done, size);
      m_cancelled = m_progress->CancelRequested();
      return !m_cancelled;
    };
  }
  if (!::vexor::OpenDataFile(m_doc, m_selection, m_prompter, m_startDirectory, path, observer)) {
    return End(false);
  }
  if (m_reportEnabled) {
    m_reportWritten = WriteReportStep(m_doc, ReportFolder(), m_prompter, m_progress);
  }
  return End(true);
}

bool DocumentOperations::SaveDataFile(const std::string& path) {
  Begin(WorkStep::kSaving);
  std::string error;
  bool saved = ::vexor::SaveDataFile(m_doc, path, &error);
  if (!saved) m_prompter.Inform(error, "Warning!");
  return End(saved);
}

bool DocumentOperations::ExportCsv(const std::string& path, bool gameByGame) {
  Begin(WorkStep::kExporting);
  std::string error;
  bool exported = ::vexor::ExportCsv(m_doc, path, gameByGame, &error);
  if (!exported) m_prompter.Inform(error, "Warning!");
  return End(exported);
}

bool DocumentOperations::ExportJson(const std::string& path) {
  Begin(WorkStep::kExporting);
  std::string error;
  bool exported = ::vexor::ExportJson(m_doc, path, &error);
  if (!exported) m_prompter.Inform(error, "Warning!");
  return End(exported);
}

CleanResult DocumentOperations::CleanLogFile(const std::string& chosenPath) {
  Begin(WorkStep::kCleaning);
  CleanResult result = ::vexor::CleanLogFile(chosenPath, m_prompter);
  End(true);
  return result;
}

bool DocumentOperations::InstallVariableFiles(const std::string& clientFile,
                                              const std::string& serverFile) {
  m_cancelled = false;
  std::string error;
  bool ok = true;
  if (!clientFile.empty()) ok = InstallClientVariableFile(m_doc, clientFile, m_prompter, &error);
  if (ok && !serverFile.empty()) {
    ok = InstallServerVariableFile(m_doc, serverFile, m_prompter, &error);
  }
  // A bad file has shown its message; a file that cannot be opened is reported here.
  if (!ok && !error.empty()) m_prompter.Inform(error, "Warning!");
  return ok;
}

bool DocumentOperations::WriteReport() {
  m_cancelled = false;
  m_reportWritten = WriteReportStep(m_doc, ReportFolder(), m_prompter, m_progress);
  return End(m_reportWritten);
}

bool DocumentOperations::WriteSite(const std::string& folder) {
  m_cancelled = false;
  std::string report = m_reportEnabled && m_reportWritten ? ReportFolder() : std::string();
  return End(WriteSiteStep(m_doc, folder, report, m_prompter, m_progress));
}

}  // namespace vexor
