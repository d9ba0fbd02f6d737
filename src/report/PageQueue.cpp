#include "report/PageQueue.h"

#include <system_error>
#include <utility>

namespace vexor {
namespace {

// Blocks handed over and not yet written, at most: with the 256 KB blocks of HtmlFile, two
// megabytes in memory, enough for the making side not to wait while a page's file is created.
constexpr size_t kWaitingBlocks = 8;

}  // namespace

PageQueue::PageQueue(Threading threading) {
  if (threading == Threading::kNone) return;
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
  Hand(Job{Step::kOpen, file, path});
}

void PageQueue::Write(int file, std::string&& block) {
  Hand(Job{Step::kWrite, file, std::move(block)});
}

void PageQueue::Close(int file) {
  Hand(Job{Step::kClose, file, std::string()});
}

void PageQueue::Hand(Job&& job) {
  if (!m_threaded) {
    Run(job);
    Done(job);
    return;
  }
  {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (job.step == Step::kWrite) {
      m_changed.wait(lock, [this] { return m_waitingBlocks < kWaitingBlocks; });
      ++m_waitingBlocks;
    }
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
  PageFile& file = m_files[static_cast<size_t>(job.file)];
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

void PageQueue::Done(Job& job) {
  if (job.step != Step::kWrite) return;
  if (m_threaded) --m_waitingBlocks;
  job.text.clear();
  m_spare.push_back(std::move(job.text));  // its memory serves a later block
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
    Done(job);
    m_changed.notify_all();
  }
}

}  // namespace vexor
