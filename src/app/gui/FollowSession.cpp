#include "app/gui/FollowSession.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <ctime>

#include "app/gui/GuiText.h"
#include "app/gui/MainFrame.h"
#include "base/FileSystem.h"
#include "ops/DocumentOperations.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// How soon the follower tries again while the window cannot take a load (its own work runs, or
// a dialog is open).
constexpr int kRetryMs = 200;

}  // namespace

FollowSession::FollowSession(MainFrame& frame, const std::string& startDirectory,
                             FollowTiming timing)
    : m_frame(frame),
      m_follower(DocumentOperations::LogsToRead(frame.Selection()), timing),
      m_doc(std::make_unique<VexoriumDoc>()) {
  m_operations =
      std::make_unique<DocumentOperations>(*m_doc, m_selection, m_prompter, startDirectory);
  m_operations->SetProgress(&m_runner);
  m_operations->SetReportFollowed(true);
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &FollowSession::Look);
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FollowSession::LookSoon);
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FollowSession::LookSoon);
  connect(&m_runner, &WorkRunner::finished, this, &FollowSession::LoadEnded);
  WatchPaths();
  LookSoon();
}

FollowSession::~FollowSession() {
  m_runner.RequestCancel();
  m_runner.Wait();
}

void FollowSession::LookSoon() {
  if (!m_runner.Running()) m_timer.start(0);
}

void FollowSession::Interrupt() {
  if (m_runner.Running()) {
    m_runner.RequestCancel();
    m_runner.Finish();  // LoadEnded runs now
  }
  if (m_resultWaiting && !m_frame.Busy()) Take();
}

// Files the system watcher gives up once they are removed or renamed; the folders tell of a log
// that comes back.
void FollowSession::WatchPaths() {
  QStringList watched = m_watcher.files() + m_watcher.directories();
  for (const std::string& path : Paths()) {
    for (const QString& wanted : {PathToQString(path), PathToQString(FolderOf(path))}) {
      if (!watched.contains(wanted) && QFileInfo::exists(wanted)) m_watcher.addPath(wanted);
    }
  }
}

void FollowSession::Look() {
  if (m_runner.Running() || m_resultWaiting) return;  // the load's end looks again
  if (m_frame.Busy() || QApplication::activeModalWidget() != nullptr) {
    m_timer.start(kRetryMs);
    return;
  }
  auto now = std::chrono::steady_clock::now();
  FollowStep step = m_follower.Look(now);
  WatchPaths();
  for (const std::string& notice : step.notices)
    emit statusChanged(ToQString(notice));
  if (step.kind == FollowStep::Kind::kLoad) {
    StartLoad(step.limits);
    return;
  }
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(step.lookAgain - now);
  m_timer.start(static_cast<int>(std::clamp<int64_t>(wait.count(), 0, 24 * 3600 * 1000)));
}

// The load sees the custom variables the window's document has now; the settings file gives the
// options, as at every load.
void FollowSession::StartLoad(const std::vector<uint64_t>& limits) {
  const VexoriumDoc& shown = m_frame.Doc();
  m_doc->clientVars = shown.clientVars;
  m_doc->clientVarCount = shown.clientVarCount;
  m_doc->serverVars = shown.serverVars;
  m_doc->serverVarCount = shown.serverVarCount;
  m_doc->teamArenaSet = shown.teamArenaSet;
  m_selection = m_frame.Selection();
  m_prompter.Clear();
  m_operations->SetReadLimits(limits);
  m_runner.Start([this] { return m_operations->LoadLogs(); });
}

void FollowSession::LoadEnded(bool ok) {
  if (!ok) {
    if (m_operations->Cancelled()) {
      m_follower.LoadDropped();
    } else if (!m_prompter.Messages().empty()) {
      emit statusChanged(ToQString(m_prompter.Messages().back().text));
    }
    LookSoon();
    return;
  }
  m_resultWaiting = true;
  TakeWhenFree();
}

void FollowSession::TakeWhenFree() {
  if (!m_resultWaiting) return;
  if (m_frame.Busy() || QApplication::activeModalWidget() != nullptr) {
    QTimer::singleShot(kRetryMs, this, &FollowSession::TakeWhenFree);
    return;
  }
  Take();
}

void FollowSession::Take() {
  m_resultWaiting = false;
  m_frame.TakeUpdate(*m_doc);
  std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  QString text = ToQString(UpdatedText(local, m_frame.Doc().gameCount));
  // A report page that could not be written says so after the update.
  if (!m_prompter.Messages().empty()) text += " - " + ToQString(m_prompter.Messages().back().text);
  emit statusChanged(text);
  *m_doc = VexoriumDoc();  // the statistics shown before are let go
  LookSoon();
}

}  // namespace vexor
