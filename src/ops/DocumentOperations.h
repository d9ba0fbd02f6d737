// The document's operations, as both front ends run them: start-up, loading logs, opening and
// saving a data file, the exports, cleaning a log, installing variable files and the report.
// Each operation runs its steps in order, shows its messages through the prompter (texts and
// captions as the desktop program shows them) and, when a progress is set, tells it which step
// runs and how far it is, and closes it at its end.
//
// Threads: an operation may run on a worker thread. The object, the document and the selection
// are then that thread's until the operation returns; the prompter and the progress are called
// on the worker thread and do their own hand-over to the thread that shows them. Only
// Progress::CancelRequested() may be answered from another thread while an operation runs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ops/LoadDriver.h"
#include "stats/LogCleaner.h"

namespace vexor {

class VexoriumDoc;
class Progress;
class Prompter;
struct LogSelection;

class DocumentOperations {
 public:
  // The document, selection and prompter must outlive the object. startDirectory is the folder
  // of config/data.dat and of the report's html/ folder.
  DocumentOperations(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
                     std::string startDirectory);

  const std::string& StartDirectory() const { return m_startDirectory; }
  // START/html.
  std::string ReportFolder() const;
  // The progress of the following operations (not owned); nullptr: none.
  void SetProgress(Progress* progress);
  // Whether loads and opens write the report (default true).
  void SetReportEnabled(bool enabled);
  // The loads that follow read the k-th log (in the order they are read) only up to limits[k]
  // bytes; a log without an entry is read whole (LoadDriver::SetReadLimits).
  void SetReadLimits(std::vector<uint64_t> limits) { m_driver.SetReadLimits(std::move(limits)); }
  // The reports of the loads that follow are those of a followed log: the newest games' pages
  // first, and no page of an earlier, longer report left (LoadDriver::SetReportFollowed).
  void SetReportFollowed(bool followed) { m_driver.SetReportFollowed(followed); }
  // The last operation was cancelled by the user (only loads and opens can be).
  bool Cancelled() const { return m_cancelled; }

  // The start-up new-document call: the settings are read, the tables emptied, nothing loaded.
  bool Startup();

  // The logs as the open-file dialog hands them over, in the dialog's order: one path is a
  // single selection (selectedLogFiles untouched); several are taken into selectedLogFiles[0..]
  // (at most 30; further paths are dropped) and the last one taken becomes the selected path.
  // The selected file count is the number taken. A selected path whose character four places
  // from the end is not "." (or that is shorter than four characters) gets ".cfg". No path
  // (a cancelled dialog) leaves the selection as it was.
  static void SelectLogs(const std::vector<std::string>& paths, LogSelection* selection);
  // The files a load of the selection reads, in the order it reads them: the selected path of a
  // single selection, the selected files of several.
  static std::vector<std::string> LogsToRead(const LogSelection& selection);

  // Loads the logs of the selection as a new document (the start-up call is run first when it
  // has not been). False when the load failed or was refused (its message has been shown) or
  // was cancelled (no message; Cancelled() is true, nothing of the report was written).
  bool LoadLogs();
  // After a successful LoadLogs or OpenDataFile: false when the report was enabled and could
  // not be written completely (its message has been shown; the statistics stand).
  bool ReportWritten() const { return m_reportWritten; }

  // Opens a data file in place of a load and writes the report unless disabled. A missing or
  // damaged file shows one message (caption "Warning!"), and a cancelled reading none; either
  // leaves the document and the selection exactly as they were and gives false.
  bool OpenDataFile(const std::string& path);
  // Saves the document as a data file; a failure shows its message (caption "Warning!").
  bool SaveDataFile(const std::string& path);
  // CSV export, with the game-by-game lines when asked; a failure shows its message
  // (caption "Warning!").
  bool ExportCsv(const std::string& path, bool gameByGame);
  // JSON export; a failure shows its message (caption "Warning!").
  bool ExportJson(const std::string& path);
  // Cleans the log the user chose (".log" is appended to a name without a three-letter
  // extension) and shows the one message of the outcome.
  CleanResult CleanLogFile(const std::string& chosenPath);
  // Installs a client-side and a server-side variable file as the document's sets, as "Load
  // Vars" then "Finish" in the dialogs do; an empty path skips that side. A bad file shows its
  // message and stops: the server file is not read after a bad client file. False then.
  bool InstallVariableFiles(const std::string& clientFile, const std::string& serverFile);
  // Writes the report of the current document (whether or not loads write it); a report that
  // cannot be written completely shows its message (caption "Warning!") and gives false.
  bool WriteReport();
  // Writes the statistics web site into folder (a new folder, an empty one or an earlier site;
  // docs/SITE.md). When loads write the report, the site's games link to its pages. A site that
  // cannot be written shows its message (caption "Warning!") and gives false.
  bool WriteSite(const std::string& folder);

 private:
  // Starts an operation: clears Cancelled() and tells the progress which step runs.
  void Begin(WorkStep step);
  // Ends an operation: closes the progress; returns ok.
  bool End(bool ok);

  VexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  std::string m_startDirectory;
  LoadDriver m_driver;
  Progress* m_progress = nullptr;
  bool m_reportEnabled = true;
  bool m_reportWritten = true;
  bool m_cancelled = false;
};

}  // namespace vexor
