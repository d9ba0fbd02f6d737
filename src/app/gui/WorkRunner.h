// Runs one long operation of the document (a load, opening or saving a data file, an export, a
// cleaning) on a worker thread, so that the window stays alive. It is the operation's Progress:
// the worker's reports reach the GUI thread as signals, at most a few dozen a second, and a
// cancel request from the GUI thread is read by the worker. The document is touched by the
// worker alone until finished() arrives.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>

#include "platform/Progress.h"

namespace vexor {

class WorkRunner : public QObject, public Progress {
  Q_OBJECT

 public:
  explicit WorkRunner(QObject* parent = nullptr);
  ~WorkRunner() override;

  // Starts work on a new thread; false (nothing started) while other work runs.
  bool Start(std::function<bool()> work);
  bool Running() const { return m_thread != nullptr; }
  // Asks the running work to stop; it stops at its next progress report.
  void RequestCancel() { m_cancel.store(true); }
  // Waits until the running work has ended (for shutting down).
  void Wait();
  // Waits until the running work has ended and emits finished() now rather than later.
  void Finish();

  // Progress, called by the work on its thread.
  void StepStarted(WorkStep step, int fileIndex, int fileCount) override;
  void BytesDone(uint64_t done, uint64_t total) override;
  bool CancelRequested() override { return m_cancel.load(); }
  void Close() override {}

 signals:
  void stepStarted(int step, int fileIndex, int fileCount);
  void percentChanged(int percent);
  // On the GUI thread, once the work has returned.
  void finished(bool ok);

 private:
  // The work's thread has ended: the runner is free again and finished() is emitted, once for
  // each work (the work of generation is the running one).
  void Ended(uint64_t generation);

  QThread* m_thread = nullptr;
  uint64_t m_generation = 0;
  std::atomic<bool> m_cancel{false};
  bool m_result = false;
  // Worker-thread state of the reports.
  WorkStep m_step = WorkStep::kDiscovery;
  int m_fileIndex = 0;
  int m_fileCount = 1;
  int m_lastPercent = -1;
  std::chrono::steady_clock::time_point m_lastReport;
};

}  // namespace vexor
