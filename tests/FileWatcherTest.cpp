// The file watchers that wake a follow: the polling one of every file system and the one the
// kernel wakes. Each returns at once for what a server and a log rotation do to a watched log,
// and sleeps its time out when only another file of the folder changes.
#include "platform/FileWatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "app/cli/InotifyWatcher.h"

namespace vexor {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

milliseconds TimeOfWait(FileWatcher& watcher, milliseconds timeout) {
  auto start = steady_clock::now();
  watcher.Wait(timeout);
  return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
}

TEST(FileWatcherTest, AWatchedLogsWriteRenameRemovalAndCreationEndTheWait) {
  struct Watcher {
    const char* name;
    std::function<std::unique_ptr<FileWatcher>()> make;
  };
  const Watcher watchers[] = {
      {"polling", [] { return std::make_unique<PollingWatcher>(milliseconds(10)); }},
      {"inotify", [] { return std::make_unique<InotifyWatcher>(); }},
  };
  struct Change {
    const char* name;
    bool logThere;  // the log exists before the change
    std::function<void(const test::TempFolder&)> make;
  };
  const Change changes[] = {
      {"a write", true, [](const test::TempFolder& f) { f.Write("games.log", "line\nmore\n"); }},
      {"a rename over it", true,
       [](const test::TempFolder& f) {
         fs::rename(f.Write("games.log.1", "new\n"), f.File("games.log"));
       }},
      {"its removal", true, [](const test::TempFolder& f) { fs::remove(f.File("games.log")); }},
      {"its creation", false, [](const test::TempFolder& f) { f.Write("games.log", "line\n"); }},
  };
  for (const Watcher& kind : watchers) {
    for (const Change& change : changes) {
      SCOPED_TRACE(std::string(kind.name) + ": " + change.name);
      test::TempFolder folder;
      if (change.logThere) folder.Write("games.log", "line\n");
      std::unique_ptr<FileWatcher> watcher = kind.make();
      ASSERT_TRUE(watcher->Watch({folder.File("games.log")}));
      // Another file of the folder is no news.
      folder.Write("other.txt", "x");
      EXPECT_GE(TimeOfWait(*watcher, milliseconds(150)), milliseconds(140));
      change.make(folder);
      EXPECT_LT(TimeOfWait(*watcher, milliseconds(20000)), milliseconds(10000));
    }
  }
}

TEST(FileWatcherTest, TheKernelWatcherRefusesAFolderThatIsNotThere) {
  InotifyWatcher watcher;
  EXPECT_FALSE(watcher.Watch({"/nonexistent-folder-of-vexor/games.log"}));
  PollingWatcher polling(milliseconds(10));
  EXPECT_TRUE(polling.Watch({"/nonexistent-folder-of-vexor/games.log"}));
}

}  // namespace
}  // namespace vexor
