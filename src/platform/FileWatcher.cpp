#include "platform/FileWatcher.h"

#include <algorithm>
#include <thread>

namespace vexor {

bool PollingWatcher::Watch(const std::vector<std::string>& paths) {
  m_paths = paths;
  m_status.assign(paths.size(), FileStatus{});
  Changed();
  return true;
}

bool PollingWatcher::Changed() {
  bool changed = false;
  for (size_t i = 0; i < m_paths.size(); ++i) {
    FileStatus now = StatusOf(m_paths[i]);
    if (now != m_status[i]) changed = true;
    m_status[i] = now;
  }
  return changed;
}

void PollingWatcher::Wait(std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!Changed()) {
    auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, m_period));
  }
}

}  // namespace vexor
