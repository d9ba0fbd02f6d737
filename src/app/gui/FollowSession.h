// "Follow Logs": while it is on, the logs of the window's load are loaded again whenever the game
// server has written whole lines to them (the rules of ops/LogFollower), each time on a worker
// thread and into a document of its own, so the window goes on showing the statistics it has
// and never a half-loaded document. When a load has ended well, the window takes its statistics
// in at once (MainFrame::TakeUpdate) and keeps its screen, sort orders, selections and graph.
// No progress box: the status bar tells of each update. The system's file watcher wakes the
// follower; it also looks at the logs at least once an interval, for logs on file systems whose
// writes the watcher cannot see.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/WorkRunner.h"
#include "ops/LogFollower.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"

namespace vexor {

class DocumentOperations;
class MainFrame;
class VexoriumDoc;

class FollowSession : public QObject {
  Q_OBJECT

 public:
  // Follows the logs of the frame's selection from now on; the first look loads them at once.
  FollowSession(MainFrame& frame, const std::string& startDirectory, FollowTiming timing);
  ~FollowSession() override;

  // The logs followed, in the order they are read.
  const std::vector<std::string>& Paths() const { return m_follower.Paths(); }
  // A load runs now.
  bool Loading() const { return m_runner.Running(); }

  // Before the window's own work or a dialog changes the document: a load that runs is asked to
  // stop and waited for; when it had ended well its statistics are taken in, otherwise the logs
  // count as not loaded and are loaded again at the next look.
  void Interrupt();
  // Looks at the logs soon (after the window's own work ended).
  void LookSoon();

 signals:
  // The text for the status bar: an update, a waiting log, a message of a load.
  void statusChanged(const QString& text);

 private:
  void Look();
  void StartLoad(const std::vector<uint64_t>& limits);
  void LoadEnded(bool ok);
  // Takes a finished load's statistics in, unless the window cannot take them now (its own work
  // runs or a dialog is open): then it tries again shortly.
  void TakeWhenFree();
  // Hands the load's statistics to the window and tells of the update.
  void Take();
  void WatchPaths();

  MainFrame& m_frame;
  LogFollower m_follower;
  std::unique_ptr<VexoriumDoc> m_doc;  // the load's own document
  LogSelection m_selection;
  ScriptedPrompter m_prompter;  // a load's messages go to the status bar
  std::unique_ptr<DocumentOperations> m_operations;
  QFileSystemWatcher m_watcher;
  QTimer m_timer;
  bool m_resultWaiting = false;  // a load ended well and its statistics are not taken in yet
  WorkRunner m_runner;           // last: it ends before what its work uses goes away
};

}  // namespace vexor
