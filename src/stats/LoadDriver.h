// The loading driver: the document's new-document operation. The first call of a run (start-up)
// only reads the settings and resets the tables; every later call loads the logs of the
// selection: discovery pass over every file, the limits, sizing, statistics pass, game summing,
// hidden games taken out of the totals, and the HTML report.
#pragma once

#include <string>

namespace vexor {

class CVexoriumDoc;
class LoadProgress;
class Prompter;
struct LogSelection;

class LoadDriver {
 public:
  LoadDriver(CVexoriumDoc& doc, LogSelection& selection, Prompter& prompter,
             std::string startDirectory);

  // The progress box of the load, or none.
  void SetProgress(LoadProgress* progress) { m_progress = progress; }
  // Loads without writing the HTML report (for runs that only want exports).
  void SetReportEnabled(bool enabled) { m_reportEnabled = enabled; }

  // Runs the start-up call or a load. True when the start-up call ends or a load succeeds;
  // false when a load failed or was refused (a message has been shown).
  bool OnNewDocument();

  // After a successful load: false when some page of the report could not be written (the
  // message has been shown; the statistics are loaded all the same).
  bool ReportWritten() const { return m_reportWritten; }

  std::string ReportFolder() const;

 private:
  bool DiscoverAll();
  bool RefuseTooMany(const char* message);
  bool PrepareStorage();
  bool AnalyseAll();
  bool FailFile(const std::string& path);
  void ClearClientLogTimes();
  void RemoveHiddenGamesFromTotals();
  void WriteReport();
  void CloseProgress();

  CVexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  std::string m_startDirectory;
  LoadProgress* m_progress = nullptr;
  bool m_reportEnabled = true;
  bool m_reportWritten = true;
};

}  // namespace vexor
