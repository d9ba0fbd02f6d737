// The progress of a long operation (a load, an open, a save, an export, a cleaning): shown while
// the work runs, told how far it is, asked whether the user wants it stopped, and closed at the
// end whether the work succeeded or not.
//
// An operation may run on a worker thread while the progress is shown by another: every call
// below is made on the thread that runs the operation, and an implementation that shows or
// takes input elsewhere does its own hand-over (CancelRequested typically reads an atomic flag
// that the showing thread sets).
#pragma once

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
};

class Progress {
 public:
  virtual ~Progress() = default;
  // A step begins; for the passes of a load, on file fileIndex (0-based) of fileCount, for the
  // other steps 0 of 1.
  virtual void StepStarted(WorkStep step, int fileIndex, int fileCount) = 0;
  // How far the step is: bytes of the current file read so far of its size, or for the report
  // the games written so far of the games. The passes and the opening of a data file call it at
  // least after every megabyte read, and at the end of each file.
  virtual void BytesDone(uint64_t done, uint64_t total) = 0;
  // Polled by the operation after each progress call; true asks it to stop. Only a load's passes
  // and the reading of a data file honour it: they end as if failed, without a message, and
  // leave the operation's Cancelled() set. May be called while another thread sets the request.
  virtual bool CancelRequested() { return false; }
  // The operation is over (finished, refused, failed or cancelled): the box goes away.
  virtual void Close() = 0;
};

}  // namespace vexor
