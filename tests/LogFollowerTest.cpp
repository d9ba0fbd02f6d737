// Following logs as a server writes them: when a look loads and how far, and a follow loop on a
// clock of its own whose outputs are, after every update, those of a fresh load of the same
// bytes.
#include "ops/LogFollower.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ops/DocumentOperations.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::DuelGame;

const FollowTime kStart = FollowTime(std::chrono::hours(1));
const FollowTiming kTiming = {milliseconds(5000), milliseconds(250)};

// What is done to a log before a look.
enum class Op {
  kNone,
  kAppend,   // the server writes on
  kReplace,  // another file is renamed over it (rotation)
  kRewrite,  // truncated and written again in place
  kRemove,
  kTouch,  // its time changes, its lines do not
  kDrop,   // the last load was cancelled
};

void Apply(Op op, const std::string& path, const std::string& text) {
  std::FILE* file = nullptr;
  switch (op) {
    case Op::kAppend:
    case Op::kRewrite:
      file = std::fopen(path.c_str(), op == Op::kAppend ? "ab" : "wb");
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
      break;
    case Op::kReplace:
      file = std::fopen((path + ".new").c_str(), "wb");
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
      fs::rename(path + ".new", path);
      break;
    case Op::kRemove:
      fs::remove(path);
      break;
    case Op::kTouch:
      fs::last_write_time(path, fs::last_write_time(path) + std::chrono::hours(1));
      break;
    case Op::kNone:
    case Op::kDrop:
      break;
  }
}

TEST(LogFollowerTest, LoadsWholeLinesThatChangedOnceTheIntervalAndTheWritersPauseAllow) {
  enum class Then { kWait, kLoad, kNotice };
  struct Step {
    int ms;  // the look's time
    Op op;
    const char* text;
    Then then;
    int64_t value;  // kLoad: the limit; kWait and kNotice: the next look's time (ms), -1 any
  };
  struct Scenario {
    const char* name;
    std::vector<Step> steps;
  };
  // The log holds "line one\n" (9 bytes) at first.
  const Scenario scenarios[] = {
      {"growth waits for the interval",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {1000, Op::kAppend, "two\n", Then::kWait, 5000},
        {5000, Op::kNone, "", Then::kLoad, 13},
        {6000, Op::kNone, "", Then::kWait, 11000}}},
      {"a cut line is read when whole",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {6000, Op::kAppend, "two", Then::kWait, 11000},
        {7000, Op::kAppend, " more\n", Then::kWait, 7250},
        {7250, Op::kNone, "", Then::kLoad, 18}}},
      {"a writer that never pauses is loaded an interval after its first line",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {6000, Op::kAppend, "b\n", Then::kWait, 6250},
        {8000, Op::kAppend, "c\n", Then::kWait, 8250},
        {10000, Op::kAppend, "d\n", Then::kWait, 10250},
        {11000, Op::kAppend, "e\n", Then::kLoad, 17}}},
      {"a rotated log is loaded from its start",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {6000, Op::kReplace, "new\n", Then::kWait, 6250},
        {6250, Op::kNone, "", Then::kLoad, 4}}},
      {"a log written again to the same length is loaded again",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {6000, Op::kRewrite, "LINE ONE\n", Then::kWait, -1},
        {6250, Op::kNone, "", Then::kLoad, 9}}},
      {"a new time without new lines loads nothing",
       {{0, Op::kNone, "", Then::kLoad, 9}, {6000, Op::kTouch, "", Then::kWait, 11000}}},
      {"a missing log is waited for with one notice and loaded when back",
       {{0, Op::kRemove, "", Then::kNotice, 5000},
        {1000, Op::kNone, "", Then::kWait, 6000},
        {2000, Op::kReplace, "back\n", Then::kLoad, 5},
        {3000, Op::kRemove, "", Then::kNotice, 8000},
        {9000, Op::kReplace, "back\nagain\n", Then::kWait, 9250},
        {9250, Op::kNone, "", Then::kLoad, 11}}},
      {"a dropped load is loaded again when the interval allows",
       {{0, Op::kNone, "", Then::kLoad, 9},
        {100, Op::kDrop, "", Then::kWait, 5000},
        {5000, Op::kNone, "", Then::kLoad, 9}}},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    test::TempFolder folder;
    std::string log = folder.Write("games.log", "line one\n");
    LogFollower follower({log}, kTiming);
    for (const Step& step : scenario.steps) {
      SCOPED_TRACE(step.ms);
      Apply(step.op, log, step.text);
      if (step.op == Op::kDrop) follower.LoadDropped();
      FollowStep got = follower.Look(kStart + milliseconds(step.ms));
      EXPECT_EQ(got.notices.size(), step.then == Then::kNotice ? 1u : 0u);
      if (step.then == Then::kLoad) {
        ASSERT_EQ(got.kind, FollowStep::Kind::kLoad);
        EXPECT_EQ(got.limits, std::vector<uint64_t>{static_cast<uint64_t>(step.value)});
      } else {
        ASSERT_EQ(got.kind, FollowStep::Kind::kWait);
        if (step.value >= 0) {
          EXPECT_EQ(got.lookAgain, kStart + milliseconds(step.value));
        }
      }
    }
  }
}

// A clock that moves only when the loop waits, and a watcher that does, at their times, what a
// server does to its logs: each wait ends at the next event or after its timeout.
class ScriptedServer : public FileWatcher, public FollowClock {
 public:
  explicit ScriptedServer(FollowTiming timing) : m_timing(timing) {}
  void At(int ms, std::function<void()> event) { m_events.push_back({ms, std::move(event)}); }
  bool Watch(const std::vector<std::string>&) override { return true; }
  void Wait(milliseconds timeout) override {
    FollowTime until = m_now + timeout;
    if (m_next < m_events.size() && kStart + milliseconds(m_events[m_next].ms) <= until) {
      m_now = std::max(m_now, kStart + milliseconds(m_events[m_next].ms));
      m_events[m_next++].event();
      return;
    }
    m_now = until;
  }
  FollowTime Now() override { return m_now; }
  // Every event has happened and the loop has had long enough to take in the last one.
  bool Over() const {
    return m_next == m_events.size() &&
           m_now > kStart + milliseconds(m_events.back().ms) + 3 * m_timing.interval;
  }

 private:
  FollowTiming m_timing;
  struct Event {
    int ms;
    std::function<void()> event;
  };
  std::vector<Event> m_events;
  size_t m_next = 0;
  FollowTime m_now = kStart;
};

// Every file under a folder, by its path below it.
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = test::ReadFile(entry.path().string());
    }
  }
  return files;
}

// A start folder with its report and exports, written by a load of logs.
struct Outputs {
  // followed: the report written as a followed log's (newest pages first, none left over).
  explicit Outputs(bool followed, Progress* progress = nullptr)
      : operations(doc, selection, prompter, folder.Path()) {
    operations.Startup();
    operations.SetProgress(progress);
    operations.SetReportFollowed(followed);
  }
  bool Load(const std::vector<std::string>& logs, const std::vector<uint64_t>& limits) {
    DocumentOperations::SelectLogs(logs, &selection);
    operations.SetReadLimits(limits);
    return operations.LoadLogs() && operations.ExportJson(folder.File("stats.json")) &&
           operations.ExportCsv(folder.File("stats.csv"), true);
  }
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files = FilesUnder(folder.Path());
    std::erase_if(files, [](const auto& file) { return file.first.ends_with(".log"); });
    return files;
  }

  test::TempFolder folder;
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  DocumentOperations operations;
};

// The outputs of a fresh load of the bytes a followed load read: the log cut at its limit.
std::map<std::string, std::string> FreshOutputs(const std::string& log, uint64_t limit) {
  Outputs fresh(false);
  std::string path = fresh.folder.Write("copy.log", test::ReadFile(log).substr(0, limit));
  EXPECT_TRUE(fresh.Load({path}, {}));
  return fresh.Files();
}

TEST(FollowLoopTest, EveryUpdateWritesWhatAFreshLoadOfTheSameLinesWrites) {
  Outputs followed(true);
  std::string log = followed.folder.Write("games.log", DuelGame(1));
  std::string secondGame = DuelGame(2);
  size_t cut = secondGame.find("MOD_RAILGUN") + 5;
  const FollowTiming timing = {milliseconds(1000), milliseconds(250)};
  ScriptedServer server(timing);
  // Bursts of the second game, the last one ending in the middle of a line.
  server.At(2000, [&] { Apply(Op::kAppend, log, secondGame.substr(0, 80)); });
  server.At(2100, [&] { Apply(Op::kAppend, log, secondGame.substr(80, cut - 80)); });
  server.At(4000, [&] { Apply(Op::kAppend, log, secondGame.substr(cut) + DuelGame(3)); });
  server.At(7000, [&] { Apply(Op::kReplace, log, DuelGame(4)); });
  server.At(10000, [&] { Apply(Op::kRewrite, log, DuelGame(5)); });
  server.At(13000, [&] { Apply(Op::kRemove, log, ""); });
  server.At(15000, [&] { Apply(Op::kReplace, log, DuelGame(6) + DuelGame(7)); });

  LogFollower follower({log}, timing);
  std::vector<uint64_t> loaded;
  std::vector<std::string> notices;
  FollowHooks hooks;
  hooks.update = [&](const std::vector<uint64_t>& limits) {
    ASSERT_TRUE(followed.Load({log}, limits));
    loaded.push_back(limits[0]);
    EXPECT_EQ(followed.Files(), FreshOutputs(log, limits[0])) << "update " << loaded.size();
  };
  hooks.notice = [&](const std::string& notice) { notices.push_back(notice); };
  hooks.stopRequested = [&] { return server.Over(); };
  RunFollowLoop(follower, server, server, hooks);

  // The start, the bursts without their cut line, the line made whole, the rotation, the log
  // written again in place, and the log that came back.
  uint64_t upToCut = DuelGame(1).size() + secondGame.rfind('\n', cut) + 1;
  EXPECT_EQ(
      loaded,
      (std::vector<uint64_t>{
          DuelGame(1).size(), upToCut, DuelGame(1).size() + secondGame.size() + DuelGame(3).size(),
          DuelGame(4).size(), DuelGame(5).size(), DuelGame(6).size() + DuelGame(7).size()}));
  EXPECT_EQ(notices,
            std::vector<std::string>{"Waiting for the log file \"" + log + "\" to appear."});
  EXPECT_EQ(followed.Files(), FreshOutputs(log, UINT64_MAX));
}

// A progress whose stop request comes while the passes of the second load read.
class StopDuringSecondLoad : public Progress {
 public:
  void StepStarted(WorkStep step, int, int) override {
    if (step == WorkStep::kReading) ++m_loads;  // a log alone is read once
  }
  void BytesDone(uint64_t, uint64_t) override { m_stop = m_stop || m_loads == 2; }
  bool CancelRequested() override { return m_stop; }
  void Close() override {}
  bool Stopped() const { return m_stop; }

 private:
  int m_loads = 0;
  bool m_stop = false;
};

TEST(FollowLoopTest, AStopDuringAnUpdateLeavesTheOutputsOfTheLastCompleteOne) {
  StopDuringSecondLoad progress;
  Outputs followed(true, &progress);
  std::string log = followed.folder.Write("games.log", DuelGame(1) + DuelGame(2));
  uint64_t first = test::ReadFile(log).size();
  ScriptedServer server(kTiming);
  server.At(6000, [&] { Apply(Op::kAppend, log, DuelGame(3)); });
  LogFollower follower({log}, kTiming);
  int updates = 0;
  FollowHooks hooks;
  hooks.update = [&](const std::vector<uint64_t>& limits) {
    ++updates;
    followed.Load({log}, limits);
  };
  hooks.notice = [](const std::string&) {};
  hooks.stopRequested = [&] { return progress.Stopped() || server.Over(); };
  RunFollowLoop(follower, server, server, hooks);

  EXPECT_EQ(updates, 2);
  EXPECT_TRUE(followed.operations.Cancelled());
  // Complete files of the first update, and no file half-written beside them.
  EXPECT_EQ(followed.Files(), FreshOutputs(log, first));
}

}  // namespace
}  // namespace vexor
