// Following logs that a game server keeps writing: when to load them again. The follower looks
// at the logs when asked (after its watcher woke, or at the time it gave) and answers whether a
// load is due and how far each log is to be read. It never sleeps and never loads by itself, so
// the command line's loop, the desktop program's timers and the tests with their own clock all
// drive the same rules:
//   - a log is read only up to its last line feed: a line the server has begun but not ended is
//     read once it is whole (a log that ends without a line feed for good, as after a crash, is
//     followed without its cut last line);
//   - a load waits until the writer has paused for a moment, but not longer than an interval
//     when the writer never pauses, and starts at most once per interval;
//   - a log that grew, was replaced (rotated), or was truncated and written again is loaded
//     again whole; one whose whole lines did not change (a line only begun, a touch) is not;
//   - while a log is missing, nothing is loaded: it is waited for, with one notice, and loaded
//     again when it is back.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "platform/FileWatcher.h"

namespace vexor {

using FollowTime = std::chrono::steady_clock::time_point;

struct FollowTiming {
  std::chrono::milliseconds interval{5000};  // at most one load per interval
  std::chrono::milliseconds pause{250};      // the writer's pause a load waits for
};

// What a look at a log finds: the file, and where its whole lines end.
struct LogSnapshot {
  FileStatus status;
  uint64_t length = 0;  // the bytes up to and including the last line feed
  uint64_t tail = 0;    // a hash of the last bytes before length (up to 64)

  // Both name the same file with the same whole lines.
  bool SameLines(const LogSnapshot& other) const {
    return status.SameFile(other.status) && length == other.length && tail == other.tail;
  }
};

// Looks at the log at path, whose status was just taken; a missing or unreadable log gives a
// snapshot whose status is not present.
LogSnapshot SnapshotOf(const std::string& path, const FileStatus& status);

// The follower's answer to a look.
struct FollowStep {
  enum class Kind { kWait, kLoad };
  Kind kind = Kind::kWait;
  // kWait: look again at this time at the latest (a watcher's wake comes sooner).
  FollowTime lookAgain;
  // kLoad: read log k up to limits[k] bytes (in the order of the paths).
  std::vector<uint64_t> limits;
  // Messages for the user: a log that went missing.
  std::vector<std::string> notices;
};

class LogFollower {
 public:
  LogFollower(std::vector<std::string> paths, FollowTiming timing);

  const std::vector<std::string>& Paths() const { return m_paths; }
  const FollowTiming& Timing() const { return m_timing; }

  // Looks at the logs at the time now. The first look loads at once when every log is there;
  // a kLoad answer counts as loaded from now on, whatever the load's outcome (a load that
  // failed is tried again when the logs change).
  FollowStep Look(FollowTime now);

  // The load of the last kLoad answer did not happen (it was cancelled): the logs count as not
  // loaded, and the next look loads them again when the interval allows.
  void LoadDropped();

 private:
  struct Log {
    FileStatus seen;      // at the last look
    LogSnapshot current;  // at the last look
    LogSnapshot loaded;   // at the last load
    bool missingTold = false;
  };

  // Takes every log's status; true when any changed since the last look.
  bool LookAtLogs(std::vector<std::string>* notices);
  bool AnyMissing() const;
  bool DiffersFromLoaded() const;
  FollowTime LoadDue() const;

  std::vector<std::string> m_paths;
  FollowTiming m_timing;
  std::vector<Log> m_logs;
  bool m_loadedOnce = false;
  FollowTime m_lastLoad;
  FollowTime m_lastChange;
  std::optional<FollowTime> m_pendingSince;  // when the logs were first seen differ from the load
};

// Where a follow loop reads the time: the steady clock, or a test's own.
class FollowClock {
 public:
  virtual ~FollowClock() = default;
  virtual FollowTime Now() = 0;
};

class SteadyFollowClock : public FollowClock {
 public:
  FollowTime Now() override { return std::chrono::steady_clock::now(); }
};

// What a follow loop does besides looking and waiting.
struct FollowHooks {
  // Loads the logs, each up to its limit, and writes what the user asked for.
  std::function<void(const std::vector<uint64_t>& limits)> update;
  // Shows a notice of the follower (a log that went missing).
  std::function<void(const std::string& notice)> notice;
  // Asked before every look and after every wait: true ends the loop.
  std::function<bool()> stopRequested;
};

// The longest wait between two questions whether to stop (a watcher also returns early when the
// process receives a signal).
inline constexpr std::chrono::milliseconds kFollowStopCheck{250};

// Follows the logs until a stop is requested: looks, updates when the follower says so, and
// otherwise waits on the watcher (which already watches the follower's paths) until the
// follower's next time. An update that has begun is finished before the stop is noticed.
void RunFollowLoop(LogFollower& follower, FileWatcher& watcher, FollowClock& clock,
                   const FollowHooks& hooks);

// The line the desktop program's status bar shows after an update: "Updated HH:MM:SS: N games",
// at the local time given.
std::string UpdatedText(const std::tm& localTime, int32_t games);

}  // namespace vexor
