#include "report/PageQueue.h"

#include <system_error>
#include <utility>

namespace vexor {
namespace {

// Blocks handed over and not yet written, at most: with the 256 KB blocks of HtmlFile, two
// megabytes in memory, enough for the making side not to wait while a page's file is created.
constexpr size_t kWaitingBlocks = 8;

}  // namespace

PageQueue::PageQueue() {
  try {
    m_thread = std::thread([this] { Work(); });
    m_threaded = true;
  } catch (const std::system_error&) {
    m_threaded = false;  // no thread to be had: every step is run where it is handed over
  }
}

PageQueue::~PageQueue() {
  Finish();
  if (m_threaded) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
  }
}

void PageQueue::Open(int file, const std::string& path) {
  Job job{Step::kOpen, file, path};
  if (!m_threaded) return Run(job);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.push_back(std::move(job));
  }
  m_changed.notify_all();
}

void PageQueue::Write(int file, std::string&& block) {
  Job job{Step::kWrite, file, std::move(block)};
  if (!m_threaded) {
    Run(job);
    job.text.clear();
    m_spare.push_back(std::move(job.text));
    return;
  }
  {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waitingBlocks < kWaitingBlocks; });
    m_jobs.push_back(std::move(job));
    ++m_waitingBlocks;
  }
  m_changed.notify_all();
}

void PageQueue::Close(int file) {
  Job job{Step::kClose, file, std::string()};
  if (!m_threaded) return Run(job);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.push_back(std::move(job));
  }
  m_changed.notify_all();
}

std::string PageQueue::SpareBlock() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_spare.empty()) return std::string();
  std::string block = std::move(m_spare.back());
  m_spare.pop_back();
  return block;
}

std::string PageQueue::Finish() {
  if (m_threaded) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
  }
  // Everything handed over has been run: the files and the message are the caller's to read.
  return m_error;
}

void PageQueue::Run(Job& job) {
  AtomicFile& file = m_files[static_cast<size_t>(job.file)];
  switch (job.step) {
    case Step::kOpen:
      if (!file.Open(job.text)) Note(file);
      break;
    case Step::kWrite:
      file.Write(job.text);  // ignored when the page could not be created
      break;
    case Step::kClose:
      if (file.IsOpen() && !file.Commit()) Note(file);
      break;
  }
}

void PageQueue::Work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
    if (m_jobs.empty()) return;  // stopped, with nothing left
    Job job = std::move(m_jobs.front());
    m_jobs.pop_front();
    m_busy = true;
    lock.unlock();
    Run(job);
    lock.lock();
    m_busy = false;
    if (job.step == Step::kWrite) {
      --m_waitingBlocks;
      job.text.clear();
      m_spare.push_back(std::move(job.text));
    }
    m_changed.notify_all();
  }
}

}  // namespace vexor
