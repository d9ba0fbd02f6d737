// The loading driver: the document's new-document operation. The first call of a run (start-up)
// only reads the settings and resets the tables; every later call loads the logs of the
// selection: discovery pass over every file, the limits, sizing, statistics pass, game summing,
// hidden games taken out of the totals, and the HTML report.
//
// A load can be cancelled through its progress while a pass reads: the load then ends like a
// failed one but shows no message and writes nothing of the report.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Progress.h"

namespace vexor {

class VexoriumDoc;
class LogAnalysis;
class Prompter;
struct LogSelection;

class LoadDriver {
 public:
  LoadDriver(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
             std::string startDirectory);

  // The progress box of the load, or none. The passes poll its CancelRequested().
  void SetProgress(Progress* progress) { m_progress = progress; }
  // Loads without writing the HTML report (for runs that only want exports).
  void SetReportEnabled(bool enabled) { m_reportEnabled = enabled; }
  // The loads that follow read the k-th log of the selection (in the order it is read) only up
  // to limits[k] bytes, so that both passes read the same bytes of a log that is still being
  // written; a log without an entry is read whole.
  void SetReadLimits(std::vector<uint64_t> limits) { m_readLimits = std::move(limits); }
  // The reports of the loads that follow are those of a followed log (ReportWriting::kFollowed:
  // the newest games' pages first, no page of an earlier, longer report left behind).
  void SetReportFollowed(bool followed) { m_reportFollowed = followed; }
  // Whether a log loaded alone is read once (the default) or in the two passes of every other
  // load; both load the same document.
  void SetSingleReading(bool single) { m_singleReading = single; }

  // Runs the start-up call or a load. True when the start-up call ends or a load succeeds;
  // false when a load failed or was refused (a message has been shown) or was cancelled (no
  // message). A load clears the selection's data-available flag first and sets it again only
  // when it succeeds: the tables of a failed load are not fit to show.
  bool OnNewDocument();

  // The last load was cancelled through the progress (its passes stopped).
  bool Cancelled() const { return m_cancelled; }

  // After a successful load: false when some page of the report could not be written (the
  // message has been shown; the statistics are loaded all the same).
  bool ReportWritten() const { return m_reportWritten; }

  std::string ReportFolder() const;

 private:
  // Reads the selected logs into the document: a log alone in one reading, otherwise every log
  // in the discovery pass, then every log in the statistics pass.
  bool ReadLogs();
  enum class Reading { kDone, kTwoPasses, kFailed };
  Reading ReadLogAlone();
  bool DiscoverAll();
  // False, with the message shown, when the names or games found are more than the load takes.
  bool WithinLimits(bool several);
  bool RefuseTooMany(const char* message);
  // Sizes the statistics (VexoriumDoc::PrepareStatistics, or PrepareSingleReading for a single
  // reading); false, with the message shown, when memory runs out.
  bool PrepareStorage(bool singleReading = false);
  bool AnalyseAll();
  bool FailFile(const std::string& path);
  bool EndCancelled();
  // Tells the progress that a pass begins a file; false when the user asked to cancel.
  bool StartFile(WorkStep step, int fileIndex, int fileCount);
  uint64_t ReadLimit(int fileIndex) const;
  // Passes the reading's progress on and stops the pass when the user asks to cancel.
  void ObserveReading(LogAnalysis& analysis);
  void ClearClientLogTimes();
  void RemoveHiddenGamesFromTotals();
  void WriteReport();
  void CloseProgress();

  VexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  std::string m_startDirectory;
  Progress* m_progress = nullptr;
  std::vector<uint64_t> m_readLimits;
  bool m_reportEnabled = true;
  bool m_reportFollowed = false;
  bool m_singleReading = true;
  bool m_reportWritten = true;
  bool m_cancelled = false;
};

}  // namespace vexor
