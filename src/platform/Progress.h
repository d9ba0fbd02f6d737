// The progress of a long operation (a load, an open, a save, an export, a cleaning): shown while
// the work runs, told how far it is, asked whether the user wants it stopped, and closed at the
// end whether the work succeeded or not.
//
// An operation may run on a worker thread while the progress is shown by another: every call
// below is made on the thread that runs the operation, and an implementation that shows or
// takes input elsewhere does its own hand-over (CancelRequested typically reads an atomic flag
// that the showing thread sets).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexor {

// The steps of the operations, in the words a progress box shows.
enum class WorkStep {
  kDiscovery,   // a load's first pass: finding games and players
  kStatistics,  // a load's second pass: counting
  kReport,      // writing the HTML report
  kOpening,     // reading a data file
  kSaving,      // writing a data file
  kExporting,   // writing a CSV or JSON export
  kCleaning,    // cleaning a log file
  kSite,        // writing the web site
  kReading,     // a load read in one pass: finding games and players and counting at once
};

// What a step is called: in a progress box (a load's passes add the file they read) and in the
// command line's shorter words.
struct WorkStepNames {
  const char* box;
  const char* console;
};

inline WorkStepNames NamesOf(WorkStep step) {
  constexpr WorkStepNames kNames[] = {
      {"Finding games and players", "Finding games and players"},  // kDiscovery
      {"Counting the statistics", "Counting"},                     // kStatistics
      {"Writing the report", "Writing the report"},                // kReport
      {"Opening the data file", "Opening the data file"},          // kOpening
      {"Saving the data file", "Saving the data file"},            // kSaving
      {"Exporting to CSV", "Exporting"},                           // kExporting
      {"Cleaning the log", "Cleaning the log"},                    // kCleaning
      {"Writing the web site", "Writing the web site"},            // kSite
      {"Reading games and players", "Reading games and players"},  // kReading
  };
  auto index = static_cast<size_t>(step);
  return index < sizeof(kNames) / sizeof(kNames[0]) ? kNames[index] : WorkStepNames{"", ""};
}

// The passes of a load read files: their progress names the file.
inline bool ReadsFiles(WorkStep step) {
  return step == WorkStep::kDiscovery || step == WorkStep::kStatistics ||
         step == WorkStep::kReading;
}

class Progress {
 public:
  virtual ~Progress() = default;
  // A step begins; for the passes of a load, on file fileIndex (0-based) of fileCount, for the
  // other steps 0 of 1.
  virtual void StepStarted(WorkStep step, int fileIndex, int fileCount) = 0;
  // How far the step is: bytes of the current file read so far of its size, for the report
  // the games written so far of the games, for the web site its files. The passes and the opening
  // of a data file call it at least after every megabyte read, and at the end of each file.
  virtual void BytesDone(uint64_t done, uint64_t total) = 0;
  // Polled by the operation after each progress call; true asks it to stop. Only a load's passes
  // and the reading of a data file honour it: they end as if failed, without a message, and
  // leave the operation's Cancelled() set. May be called while another thread sets the request.
  virtual bool CancelRequested() { return false; }
  // The operation is over (finished, refused, failed or cancelled): the box goes away.
  virtual void Close() = 0;
};

}  // namespace vexor
