// The report's pages on their way to the disk. The thread that makes the pages hands their bytes
// over in blocks and goes on with the next page, while a thread of its own creates, writes and
// renames the files, in the order the blocks were handed over: making the pages and writing them
// share the two cores.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "report/PageFile.h"

namespace vexor {

class PageQueue {
 public:
  // Pages open at once: an index page and a game page.
  static constexpr int kFiles = 2;

  // Without a thread of its own, every step runs where it is handed over (as when the system
  // gives no thread).
  enum class Threading { kWritingThread, kNone };

  explicit PageQueue(Threading threading = Threading::kWritingThread);
  ~PageQueue();  // finishes what was handed over
  PageQueue(const PageQueue&) = delete;
  PageQueue& operator=(const PageQueue&) = delete;

  // Starts page number file (0 to kFiles - 1) at path, under a temporary name beside it; a page
  // of that number still open is abandoned first.
  void Open(int file, const std::string& path);
  // Appends the block to the page. Waits while many blocks are waiting to be written, so that
  // the pages in memory stay a few blocks.
  void Write(int file, std::string&& block);
  // Completes the page under its name.
  void Close(int file);
  // An empty block whose memory served an earlier one (or a new one): fill it and hand it back
  // with Write.
  std::string SpareBlock();

  // Pages opened from now on keep their file when it holds their bytes already (PageFile): for
  // a report written again and again. Call before handing anything over.
  void KeepUnchangedPages() {
    for (PageFile& file : m_files)
      file.KeepUnchanged(true);
  }

  // Waits until everything handed over is written. The message of the first failure (a page
  // that could not be created, written or renamed, in the order handed over), empty if none. A
  // failed page never replaces the file of its name; the others are still written.
  std::string Finish();

 private:
  enum class Step { kOpen, kWrite, kClose };
  struct Job {
    Step step;
    int file;
    std::string text;  // the path to open, or the block to write
  };

  // Queues the job for the thread, or runs it at once when there is none.
  void Hand(Job&& job);
  // Runs the job's step on its page, noting the first failure.
  void Run(Job& job);
  // After Run (m_mutex held when threaded): a written block's memory goes to the spare ones.
  void Done(Job& job);
  // The thread: runs the jobs in the order handed over until stopped with none left.
  void Work();
  void Note(const PageFile& file) {
    if (m_error.empty()) m_error = file.Error();
  }

  // The writing side's (the thread's, or the caller's when no thread could be started); read by
  // the caller only after Finish.
  std::array<PageFile, kFiles> m_files;
  std::string m_error;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Job> m_jobs;
  std::vector<std::string> m_spare;
  size_t m_waitingBlocks = 0;
  bool m_busy = false;  // the thread is running a job taken off the queue
  bool m_stop = false;
  std::thread m_thread;
  bool m_threaded = false;
};

}  // namespace vexor
