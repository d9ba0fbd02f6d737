// Being told when files change: the seam between following logs and the system's means of
// noticing writes. The polling watcher here looks at the files' status now and then and works on
// every file system; a front end may bring a watcher that the system wakes (inotify), and falls
// back to polling where that cannot watch.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "base/FileSystem.h"

namespace vexor {

class FileWatcher {
 public:
  virtual ~FileWatcher() = default;

  // Watches the files at these paths from now on, instead of any watched before: their writes,
  // and their being created, removed, renamed or replaced by another file of the same name
  // (a rotated log). A path may name no file yet. False when this watcher cannot watch them
  // all (the caller then polls).
  virtual bool Watch(const std::vector<std::string>& paths) = 0;

  // Returns when a watched file may have changed since Watch or the last Wait returned, or once
  // the timeout has passed, whichever comes first; it may also return early for no change, or
  // when the process receives a signal. Callers look at the files themselves to learn what
  // changed.
  virtual void Wait(std::chrono::milliseconds timeout) = 0;
};

// Looks at the files' status (size, time of the last write, which file the name leads to) every
// period while it waits.
class PollingWatcher : public FileWatcher {
 public:
  explicit PollingWatcher(std::chrono::milliseconds period = std::chrono::milliseconds(1000))
      : m_period(period) {}

  bool Watch(const std::vector<std::string>& paths) override;
  void Wait(std::chrono::milliseconds timeout) override;

 private:
  // Takes the files' status; true when it differs from the one taken before.
  bool Changed();

  std::chrono::milliseconds m_period;
  std::vector<std::string> m_paths;
  std::vector<FileStatus> m_status;
};

}  // namespace vexor
