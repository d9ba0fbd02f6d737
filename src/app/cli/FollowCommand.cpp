#include "app/cli/FollowCommand.h"

#include <signal.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/ConsoleProgress.h"
#include "app/cli/InotifyWatcher.h"
#include "ops/DocumentOperations.h"
#include "ops/LogFollower.h"
#include "platform/FileWatcher.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void OnStopSignal(int signal) {
  g_stopSignal = signal;
}

// SIGINT and SIGTERM ask the loop to stop at its next safe point; a second one ends the program
// at once, as without --follow (the handler is reset by the first). Without SA_RESTART a wait
// on the watcher returns as soon as the signal arrives.
void CatchStopSignals() {
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
  return g_stopSignal != 0;
}

// A load's progress while following: shown on the terminal for the first load only; a stop
// signal cancels the passes (the report, once begun, is finished).
class FollowProgress : public Progress {
 public:
  void Show(ConsoleProgress* console) { m_console = console; }
  void StepStarted(WorkStep step, int fileIndex, int fileCount) override {
    if (m_console) m_console->StepStarted(step, fileIndex, fileCount);
  }
  void BytesDone(uint64_t done, uint64_t total) override {
    if (m_console) m_console->BytesDone(done, total);
  }
  bool CancelRequested() override { return StopRequested(); }
  void Close() override {
    if (m_console) m_console->Close();
  }

 private:
  ConsoleProgress* m_console = nullptr;
};

// The system tells of writes where it can; elsewhere (a network file system, no inotify) the
// logs are looked at every second.
std::unique_ptr<FileWatcher> MakeWatcher(const std::vector<std::string>& paths) {
  auto inotify = std::make_unique<InotifyWatcher>();
  if (inotify->Watch(paths)) return inotify;
  auto polling = std::make_unique<PollingWatcher>();
  polling->Watch(paths);
  return polling;
}

void PrintUpdate(const VexoriumDoc& doc, std::chrono::steady_clock::duration took) {
  std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  double seconds = std::chrono::duration<double>(took).count();
  std::printf("%s, %d players in %.2f s\n", UpdatedText(local, doc.gameCount).c_str(),
              doc.nameCount, seconds);
}

}  // namespace

int FollowLogs(const CliRequest& request, DocumentOperations& operations, const VexoriumDoc& doc,
               LogSelection& selection, const std::function<bool(bool first)>& afterLoad) {
  DocumentOperations::SelectLogs(request.logs, &selection);
  std::vector<std::string> paths = DocumentOperations::LogsToRead(selection);
  FollowTiming timing;
  FollowIntervalOf(request, &timing.interval);
  LogFollower follower(paths, timing);
  std::unique_ptr<FileWatcher> watcher = MakeWatcher(paths);
  SteadyFollowClock clock;
  ConsoleProgress console;
  FollowProgress progress;
  operations.SetProgress(&progress);
  operations.SetReportFollowed(true);
  bool loadedOnce = false;
  int status = kExitOk;

  FollowHooks hooks;
  hooks.update = [&](const std::vector<uint64_t>& limits) {
    auto start = std::chrono::steady_clock::now();
    progress.Show(!loadedOnce && ShowsProgress(request) ? &console : nullptr);
    operations.SetReadLimits(limits);
    bool loaded = operations.LoadLogs();
    if (operations.Cancelled()) return;  // stopped: the last update's files stay as they are
    bool ok = loaded && operations.ReportWritten();
    if (loaded) ok = afterLoad(!loadedOnce) && ok;
    status = ok ? kExitOk : kExitFailed;
    if (loaded && loadedOnce && !request.quiet) {
      PrintUpdate(doc, std::chrono::steady_clock::now() - start);
    }
    loadedOnce = loadedOnce || loaded;
    std::fflush(stdout);  // a line per update, also into a pipe or the journal
  };
  hooks.notice = [](const std::string& text) { std::fprintf(stderr, "vexor: %s\n", text.c_str()); };
  hooks.stopRequested = StopRequested;
  CatchStopSignals();
  RunFollowLoop(follower, *watcher, clock, hooks);
  operations.SetProgress(nullptr);
  return status;
}

}  // namespace vexor
