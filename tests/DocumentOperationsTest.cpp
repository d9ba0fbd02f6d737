// The document's operations as the front ends run them: the selection of the open-file dialog,
// cancelling a load (also from another thread), and what a failed open keeps.
#include "ops/DocumentOperations.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "TestSupport.h"
#include "platform/Progress.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

// Records the calls; asks to cancel once a step has read some bytes of a file (never when
// cancelAfter is none).
class RecordingProgress : public Progress {
 public:
  void StepStarted(WorkStep step, int, int) override {
    steps.push_back(step);
    current = step;
  }
  void BytesDone(uint64_t done, uint64_t total) override {
    if (cancelAfter == current && done > 0 && done < total) cancel = true;
    lastDone = done;
    lastTotal = total;
  }
  bool CancelRequested() override { return cancel.load(); }
  void Close() override { ++closed; }

  std::optional<WorkStep> cancelAfter;
  std::atomic<bool> cancel{false};
  std::vector<WorkStep> steps;
  WorkStep current = WorkStep::kDiscovery;
  uint64_t lastDone = 0;
  uint64_t lastTotal = 0;
  int closed = 0;
};

class DocumentOperationsTest : public ::testing::Test {
 protected:
  DocumentOperationsTest() : operations(doc, selection, prompter, folder.Path()) {
    operations.Startup();
  }

  bool Load(const std::string& path) {
    DocumentOperations::SelectLogs({path}, &selection);
    return operations.LoadLogs();
  }
  // A server log of several megabytes: one game of two players and many item pick-ups.
  std::string WriteLargeLog() {
    std::string log =
        Lines({InitGame("0:00"), Connect("0:00", 1, "Alice"), Connect("0:00", 2, "Bob"),
               At("0:05", "Kill: 1 2 7: Alice killed Bob by MOD_ROCKET")});
    std::string item = At("0:06", "Item: 1 weapon_rocketlauncher") + "\n";
    for (size_t bytes = 0; bytes < (3u << 20); bytes += item.size())
      log += item;
    log += At("9:00", "ShutdownGame:") + "\n";
    return folder.Write("large.log", log);
  }
  // A client log of several megabytes: one game, one obituary and much chat.
  std::string WriteLargeClientLog() {
    std::string log = test::ClientLog({"CL_InitCGame: 1203 msec", "Alice^7 was railed by Bob^7"});
    for (size_t bytes = 0; bytes < (3u << 20); bytes += 16)
      log += "(Bob^7)^Y: ^5gg\n";
    return folder.Write("client.log", log);
  }
  std::string WriteSmallLog(const std::string& name, const std::string& player) {
    return folder.Write(
        name, Lines({InitGame("0:00"), Connect("0:00", 1, player), At("1:00", "ShutdownGame:")}));
  }
  void ExpectCancelledLoad() {
    EXPECT_TRUE(operations.Cancelled());
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_FALSE(selection.dataAvailable);
    EXPECT_FALSE(std::filesystem::exists(folder.File("html/games.htm")));
  }

  test::TempFolder folder;
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  DocumentOperations operations;
};

TEST(DocumentOperationsSelectLogs, TakesTheDialogsPathsAsTheFrameDoes) {
  std::vector<std::string> many;
  for (int i = 0; i < 31; ++i)
    many.push_back("/logs/" + std::to_string(i) + ".log");
  const struct {
    const char* what;
    std::vector<std::string> paths;
    int32_t count;
    std::string selectedPath;
    std::vector<std::string> files;  // the entries expected from selectedLogFiles[0] on
  } kCases[] = {
      {"one file", {"/logs/games.log"}, 1, "/logs/games.log", {"untouched", "untouched"}},
      {"one file without extension", {"/logs/server"}, 1, "/logs/server.cfg", {"untouched"}},
      {"a short name", {"a"}, 1, "a.cfg", {"untouched"}},
      {"several", {"/a.log", "/b.log", "/c"}, 3, "/c.cfg", {"/a.log", "/b.log", "/c", "untouched"}},
      {"31 files", many, 30, "/logs/29.log", {many.begin(), many.begin() + 30}},
      {"no file (cancelled dialog)", {}, 7, "/before.log", {"untouched"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    LogSelection selection;
    selection.selectedFileCount = 7;
    selection.selectedLogPath = "/before.log";
    selection.selectedLogFiles.fill("untouched");
    DocumentOperations::SelectLogs(c.paths, &selection);
    EXPECT_EQ(selection.selectedFileCount, c.count);
    EXPECT_EQ(selection.selectedLogPath, c.selectedPath);
    for (size_t i = 0; i < c.files.size(); ++i) {
      EXPECT_EQ(selection.selectedLogFiles[i], c.files[i]) << i;
    }
  }
}

TEST_F(DocumentOperationsTest, CancelDuringAPassEndsTheLoadWithoutMessageOrReport) {
  std::string log = WriteLargeLog();
  std::string clientLog = WriteLargeClientLog();
  std::string small = WriteSmallLog("small.log", "Carl");
  // A log loaded alone is read once; several logs are read in two passes.
  const std::pair<std::vector<std::string>, WorkStep> cases[] = {
      {{small, log}, WorkStep::kDiscovery},
      {{small, log}, WorkStep::kStatistics},
      {{log}, WorkStep::kReading},
      {{clientLog}, WorkStep::kReading}};
  for (const auto& [paths, step] : cases) {
    SCOPED_TRACE(static_cast<int>(step));
    RecordingProgress progress;
    progress.cancelAfter = step;
    operations.SetProgress(&progress);
    selection.dataAvailable = true;  // as the frame leaves it after the open-file dialog
    DocumentOperations::SelectLogs(paths, &selection);
    EXPECT_FALSE(operations.LoadLogs());
    ExpectCancelledLoad();
    EXPECT_LT(progress.lastDone, progress.lastTotal);  // the pass stopped inside the file
    EXPECT_EQ(progress.steps.back(), step);
    EXPECT_EQ(progress.closed, 1);
  }
  // The next load runs as usual.
  operations.SetProgress(nullptr);
  ASSERT_TRUE(Load(log));
  EXPECT_FALSE(operations.Cancelled());
  EXPECT_TRUE(selection.dataAvailable);
  EXPECT_EQ(doc.nameCount, 2);
}

// The desktop program's pattern: the load on a worker thread, Cancel pressed on the showing
// thread while the worker reads.
TEST_F(DocumentOperationsTest, CancelFromAnotherThreadStopsTheLoad) {
  class ThreadProgress : public Progress {
   public:
    void StepStarted(WorkStep, int, int) override {}
    void BytesDone(uint64_t done, uint64_t) override {
      if (done == 0) return;
      std::unique_lock lock(mutex);
      reading = true;
      changed.notify_all();
      // The worker waits for the press so that the cancel arrives while the file is read.
      changed.wait(lock, [this] { return pressed; });
    }
    bool CancelRequested() override { return cancel.load(std::memory_order_relaxed); }
    void Close() override { closed.store(true); }
    void PressCancel() {
      std::unique_lock lock(mutex);
      changed.wait(lock, [this] { return reading; });
      cancel.store(true, std::memory_order_relaxed);
      pressed = true;
      changed.notify_all();
    }

    std::atomic<bool> cancel{false};
    std::atomic<bool> closed{false};
    std::mutex mutex;
    std::condition_variable changed;
    bool reading = false;
    bool pressed = false;
  } progress;

  std::string log = WriteLargeLog();
  operations.SetProgress(&progress);
  bool loaded = true;
  std::thread worker([&] { loaded = Load(log); });
  progress.PressCancel();
  worker.join();
  EXPECT_FALSE(loaded);
  EXPECT_TRUE(progress.closed.load());
  ExpectCancelledLoad();
}

TEST_F(DocumentOperationsTest, FailedOrCancelledOpenKeepsThePreviousLoad) {
  ASSERT_TRUE(operations.SaveDataFile(folder.File("empty.vdf")));
  ASSERT_TRUE(Load(WriteSmallLog("games.log", "Alice")));
  std::string report = test::ReadFile(folder.File("html/games.htm"));
  std::string damaged = folder.Write("damaged.vdf", "not a data file");
  const struct {
    const char* what;
    std::string path;
    bool cancel;
  } kCases[] = {
      {"missing file", folder.File("nowhere.vdf"), false},
      {"damaged file", damaged, false},
      {"cancelled while reading", folder.File("empty.vdf"), true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    prompter.Clear();
    RecordingProgress progress;
    progress.cancel = c.cancel;
    operations.SetProgress(&progress);
    EXPECT_FALSE(operations.OpenDataFile(c.path));
    EXPECT_EQ(operations.Cancelled(), c.cancel);
    EXPECT_EQ(prompter.Messages().size(), c.cancel ? 0u : 1u);
    EXPECT_EQ(progress.closed, 1);
    EXPECT_EQ(std::tie(doc.nameCount, doc.gameCount, doc.players[1].name),
              std::make_tuple(1, 1, "Alice"));
    EXPECT_TRUE(selection.dataAvailable);
    EXPECT_EQ(selection.selectedLogPath, folder.File("games.log"));
    EXPECT_EQ(test::ReadFile(folder.File("html/games.htm")), report);
  }
}

// Every operation tells the progress its step, closes it once, and shows a failure as a
// "Warning!" message.
TEST_F(DocumentOperationsTest, OperationsReportTheirStepAndFailures) {
  ASSERT_TRUE(Load(WriteSmallLog("games.log", "Alice")));
  std::string missing = folder.File("missing/out");
  const struct {
    const char* what;
    WorkStep step;
    std::function<bool(const std::string&)> run;
  } kCases[] = {
      {"save", WorkStep::kSaving, [&](const std::string& p) { return operations.SaveDataFile(p); }},
      {"csv", WorkStep::kExporting,
       [&](const std::string& p) { return operations.ExportCsv(p, true); }},
      {"json", WorkStep::kExporting,
       [&](const std::string& p) { return operations.ExportJson(p); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    for (bool fails : {false, true}) {
      prompter.Clear();
      RecordingProgress progress;
      operations.SetProgress(&progress);
      std::string path = fails ? missing : folder.File(std::string("out.") + c.what);
      EXPECT_EQ(c.run(path), !fails);
      EXPECT_EQ(progress.steps, std::vector<WorkStep>{c.step});
      EXPECT_EQ(progress.closed, 1);
      ASSERT_EQ(prompter.Messages().size(), fails ? 1u : 0u);
      if (fails) {
        EXPECT_EQ(prompter.Messages()[0].caption, "Warning!");
      }
      EXPECT_EQ(std::filesystem::exists(path), !fails);
    }
  }
}

}  // namespace
}  // namespace vexor
