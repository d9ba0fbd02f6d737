#include "app/gui/WorkRunner.h"

#include "ui/ShellLogic.h"

namespace vexor {
namespace {

// Reports reach the box at most this often, however fast the log is read.
constexpr std::chrono::milliseconds kReportInterval(40);

}  // namespace

WorkRunner::WorkRunner(QObject* parent) : QObject(parent) {}

WorkRunner::~WorkRunner() {
  Wait();
}

bool WorkRunner::Start(std::function<bool()> work) {
  if (m_thread) return false;
  m_cancel.store(false);
  m_result = false;
  m_lastPercent = -1;
  m_thread = QThread::create([this, work = std::move(work)] { m_result = work(); });
  uint64_t generation = ++m_generation;
  connect(m_thread, &QThread::finished, this, [this, generation] { Ended(generation); });
  m_thread->start();
  return true;
}

void WorkRunner::Ended(uint64_t generation) {
  // A work that Finish() has already ended sends its thread's signal all the same.
  if (m_thread == nullptr || generation != m_generation) return;
  QThread* thread = m_thread;
  m_thread = nullptr;
  thread->deleteLater();
  emit finished(m_result);
}

void WorkRunner::Wait() {
  if (m_thread) m_thread->wait();
}

void WorkRunner::Finish() {
  if (m_thread == nullptr) return;
  m_thread->wait();
  Ended(m_generation);
}

void WorkRunner::StepStarted(WorkStep step, int fileIndex, int fileCount) {
  m_step = step;
  m_fileIndex = fileIndex;
  m_fileCount = fileCount;
  emit stepStarted(static_cast<int>(step), fileIndex, fileCount);
  BytesDone(0, 1);
}

void WorkRunner::BytesDone(uint64_t done, uint64_t total) {
  int percent = ProgressPercent(done, total, m_fileIndex, m_fileCount, m_step);
  auto now = std::chrono::steady_clock::now();
  if (percent == m_lastPercent || now - m_lastReport < kReportInterval) return;
  m_lastPercent = percent;
  m_lastReport = now;
  emit percentChanged(percent);
}

}  // namespace vexor
