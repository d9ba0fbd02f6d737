#include "ops/LogFollower.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/StringPrintf.h"

namespace vexor {
namespace {

constexpr size_t kBackwardChunk = 4096;
constexpr size_t kTailBytes = 64;

uint64_t HashBytes(const char* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool ReadAt(std::FILE* file, uint64_t offset, char* data, size_t size) {
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(data, 1, size, file) == size;
}

// The length of the file's whole lines: up to and including its last line feed, found by
// reading backwards from its end. False when the file cannot be read.
bool WholeLinesLength(std::FILE* file, uint64_t size, uint64_t* length) {
  std::vector<char> chunk(kBackwardChunk);
  uint64_t end = size;
  while (end > 0) {
    size_t count = static_cast<size_t>(std::min<uint64_t>(end, kBackwardChunk));
    uint64_t start = end - count;
    if (!ReadAt(file, start, chunk.data(), count)) return false;
    for (size_t i = count; i-- > 0;) {
      if (chunk[i] != '\n') continue;
      *length = start + i + 1;
      return true;
    }
    end = start;
  }
  *length = 0;
  return true;
}

}  // namespace

LogSnapshot SnapshotOf(const std::string& path, const FileStatus& status) {
  LogSnapshot snapshot;
  // A log truncated while it is read reads short: it is looked at again as it is then.
  for (int attempt = 0; status.present && attempt < 3; ++attempt) {
    uint64_t size = 0;
    std::FILE* file = OpenRegularFile(path, &size);
    if (file == nullptr) return snapshot;
    uint64_t length = 0;
    char tail[kTailBytes];
    bool read = WholeLinesLength(file, size, &length);
    size_t tailSize = static_cast<size_t>(std::min<uint64_t>(length, kTailBytes));
    read = read && ReadAt(file, length - tailSize, tail, tailSize);
    std::fclose(file);
    if (!read) continue;
    snapshot.status = status;
    snapshot.length = length;
    snapshot.tail = HashBytes(tail, tailSize);
    break;
  }
  return snapshot;
}

LogFollower::LogFollower(std::vector<std::string> paths, FollowTiming timing)
    : m_paths(std::move(paths)), m_timing(timing), m_logs(m_paths.size()) {}

bool LogFollower::LookAtLogs(std::vector<std::string>* notices) {
  bool changed = false;
  for (size_t i = 0; i < m_paths.size(); ++i) {
    Log& log = m_logs[i];
    FileStatus status = StatusOf(m_paths[i]);
    if (status != log.seen) {
      changed = true;
      log.seen = status;
    }
    // Looked at every time: a log written again within the clock tick of the file system may
    // keep its size and time, but not its last line.
    log.current = SnapshotOf(m_paths[i], status);
    if (log.current.status.present) {
      log.missingTold = false;
    } else if (!log.missingTold) {
      log.missingTold = true;
      const char* path = m_paths[i].c_str();
      notices->push_back(
          status.present ? StringPrintf("The log file \"%s\" cannot be read; waiting for it.", path)
                         : StringPrintf("Waiting for the log file \"%s\" to appear.", path));
    }
  }
  return changed;
}

bool LogFollower::AnyMissing() const {
  return std::ranges::any_of(m_logs, [](const Log& log) { return !log.current.status.present; });
}

bool LogFollower::DiffersFromLoaded() const {
  return !m_loadedOnce || std::ranges::any_of(m_logs, [](const Log& log) {
    return !log.current.SameLines(log.loaded);
  });
}

// Not before an interval has passed since the last load; then as soon as the writer has paused,
// or an interval after the change was first seen when it never pauses.
FollowTime LogFollower::LoadDue() const {
  if (!m_loadedOnce) return *m_pendingSince;
  FollowTime paused = std::min(m_lastChange + m_timing.pause, *m_pendingSince + m_timing.interval);
  return std::max(m_lastLoad + m_timing.interval, paused);
}

FollowStep LogFollower::Look(FollowTime now) {
  FollowStep step;
  if (LookAtLogs(&step.notices)) m_lastChange = now;
  step.lookAgain = now + m_timing.interval;
  if (AnyMissing() || !DiffersFromLoaded()) {
    m_pendingSince.reset();
    return step;
  }
  if (!m_pendingSince) m_pendingSince = now;
  FollowTime due = LoadDue();
  if (now < due) {
    step.lookAgain = due;
    return step;
  }
  step.kind = FollowStep::Kind::kLoad;
  for (Log& log : m_logs) {
    log.loaded = log.current;
    step.limits.push_back(log.current.length);
  }
  m_loadedOnce = true;
  m_lastLoad = now;
  m_pendingSince.reset();
  return step;
}

void LogFollower::LoadDropped() {
  for (Log& log : m_logs)
    log.loaded = LogSnapshot{};
}

void RunFollowLoop(LogFollower& follower, FileWatcher& watcher, FollowClock& clock,
                   const FollowHooks& hooks) {
  while (!hooks.stopRequested()) {
    FollowStep step = follower.Look(clock.Now());
    for (const std::string& notice : step.notices)
      hooks.notice(notice);
    if (step.kind == FollowStep::Kind::kLoad) {
      hooks.update(step.limits);
      continue;
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(step.lookAgain - clock.Now());
    watcher.Wait(std::clamp(wait, std::chrono::milliseconds(0), kFollowStopCheck));
  }
}

std::string UpdatedText(const std::tm& localTime, int32_t games) {
  return StringPrintf("Updated %02d:%02d:%02d: %d games", localTime.tm_hour, localTime.tm_min,
                      localTime.tm_sec, games);
}

}  // namespace vexor
