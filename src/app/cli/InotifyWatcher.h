// A FileWatcher that the Linux kernel wakes (inotify): it watches the folders of the files, so
// that a file created, replaced by a rename or removed is seen as well as a write to it. Where
// the kernel cannot see every write (the folder is on a network or user-space file system, or
// inotify is missing or out of watches), Watch says so and the caller polls instead.
#pragma once

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileWatcher.h"

namespace vexor {

class InotifyWatcher : public FileWatcher {
 public:
  InotifyWatcher() = default;
  ~InotifyWatcher() override;
  InotifyWatcher(const InotifyWatcher&) = delete;
  InotifyWatcher& operator=(const InotifyWatcher&) = delete;

  bool Watch(const std::vector<std::string>& paths) override;
  void Wait(std::chrono::milliseconds timeout) override;

 private:
  // Watches the folder for the file name; false when it cannot.
  bool WatchFolder(const std::string& folder, const std::string& name);
  // Reads the events that have arrived; true when one concerns a watched file or folder.
  bool ReadEvents();
  void Close();

  int m_fd = -1;
  std::map<int, std::set<std::string>> m_names;  // the file names watched in each folder
};

}  // namespace vexor
