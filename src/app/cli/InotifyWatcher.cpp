#include "app/cli/InotifyWatcher.h"

#include <limits.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include "base/FileSystem.h"

namespace vexor {
namespace {

constexpr uint32_t kEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                             IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

// File systems on which the kernel sees only this machine's writes, or none: network and
// user-space ones (their magic numbers, as statfs gives them).
constexpr std::array<unsigned long, 10> kUnwatchable = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE
    0x01021997,  // 9P
    0x00C36400,  // Ceph
    0x5346414F,  // AFS
    0x73757245,  // Coda
    0x564C,      // NCP
};

bool KernelSeesWrites(const std::string& folder) {
  struct statfs info;
  if (::statfs(folder.c_str(), &info) != 0) return false;
  auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
  return std::ranges::find(kUnwatchable, type) == kUnwatchable.end();
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a link leads to, or empty when the path is no link (or leads nowhere).
std::string LinkTarget(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (!real || path == real.get()) return std::string();
  return real.get();
}

}  // namespace

InotifyWatcher::~InotifyWatcher() {
  Close();
}

void InotifyWatcher::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_names.clear();
}

bool InotifyWatcher::WatchFolder(const std::string& folder, const std::string& name) {
  if (!KernelSeesWrites(folder)) return false;
  int descriptor = ::inotify_add_watch(m_fd, folder.c_str(), kEvents);
  if (descriptor < 0) return false;
  m_names[descriptor].insert(name);
  return true;
}

bool InotifyWatcher::Watch(const std::vector<std::string>& paths) {
  Close();
  m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (m_fd < 0) return false;
  for (const std::string& path : paths) {
    bool watched = WatchFolder(FolderOf(path), NameOf(path));
    // A log reached through a link is written where the link leads.
    std::string target = LinkTarget(path);
    if (watched && !target.empty()) watched = WatchFolder(FolderOf(target), NameOf(target));
    if (!watched) {
      Close();
      return false;
    }
  }
  return true;
}

bool InotifyWatcher::ReadEvents() {
  alignas(inotify_event) char buffer[16 * 1024];
  bool relevant = false;
  for (;;) {
    ssize_t got = ::read(m_fd, buffer, sizeof buffer);
    if (got <= 0) return relevant;  // EAGAIN: nothing more for now
    for (ssize_t at = 0; at < got;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      // The folder itself went away or events were lost: look at everything.
      if (event.mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
        relevant = true;
        continue;
      }
      auto names = m_names.find(event.wd);
      if (event.len > 0 && names != m_names.end() && names->second.count(name) > 0) {
        relevant = true;
      }
    }
  }
}

void InotifyWatcher::Wait(std::chrono::milliseconds timeout) {
  if (m_fd < 0) {
    std::this_thread::sleep_for(timeout);
    return;
  }
  auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto left =
        std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    pollfd wait = {m_fd, POLLIN, 0};
    int ready = ::poll(&wait, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready <= 0) return;  // the time is up, or a signal arrived
    if (ReadEvents()) return;
  }
}

}  // namespace vexor
