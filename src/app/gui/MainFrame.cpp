#include "app/gui/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/gui/ChartWindow.h"
#include "app/gui/ClientVarDialog.h"
#include "app/gui/FileDrops.h"
#include "app/gui/FollowSession.h"
#include "app/gui/GuiText.h"
#include "app/gui/HelpWindow.h"
#include "app/gui/LeftView.h"
#include "app/gui/OptionsDialog.h"
#include "app/gui/Pictures.h"
#include "app/gui/Printing.h"
#include "app/gui/ServerVarDialog.h"
#include "app/gui/VexoriumView.h"
#include "app/gui/WorkBox.h"
#include "base/FileSystem.h"
#include "ops/DocumentOperations.h"
#include "platform/Prompter.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Recent entries remember what they were: logs load again, data files open again.
constexpr const char* kRecentLog = "log:";
constexpr const char* kRecentData = "data:";
// The settings key of the folder the web site was last written to.
constexpr const char* kSiteFolderKey = "Web Site Folder";

QSettings RecentSettings() {
  return QSettings(QStringLiteral("Vexor"), QStringLiteral("Vexor"));
}

// The graph style lives beside the settings file, whose layout has no room for it.
const QString kGraphStyleKey = QStringLiteral("Graph Style");

ChartStyle StoredGraphStyle() {
  ChartStyle style = ChartStyle::kClassic;
  ChartStyleFromName(RecentSettings().value(kGraphStyleKey).toString().toStdString(), &style);
  return style;
}

}  // namespace

MainFrame::MainFrame(Prompter& prompter, std::string startDirectory, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter),
      m_startDirectory(std::move(startDirectory)),
      m_doc(std::make_unique<VexoriumDoc>()) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);
  m_operations =
      std::make_unique<DocumentOperations>(*m_doc, m_selection, m_prompter, m_startDirectory);
  m_operations->SetProgress(&m_runner);
  m_operations->Startup();  // settings read, empty tables
  m_optionsForm.SetChartStyleInEffect(StoredGraphStyle());
  InstallReportLogo(m_startDirectory);

  m_largeFonts = vexor::LargeFonts(QFontMetrics(QApplication::font()).height());
  m_splitter = new QSplitter(Qt::Horizontal, this);
  m_splitter->setChildrenCollapsible(false);
  m_left = new LeftView(*this, m_splitter);
  m_view = new VexoriumView(*this, m_splitter);
  ColumnWidth widths = NavigationColumnWidth(m_largeFonts);
  m_left->setMinimumWidth(widths.minimum);
  m_splitter->addWidget(m_left);
  m_splitter->addWidget(m_view);
  m_splitter->setStretchFactor(1, 1);
  m_splitter->setSizes({widths.ideal, 800});
  setCentralWidget(m_splitter);

  CreateActions();
  CreateMenus();
  CreateToolbar();
  // A command's prompt shows while its menu entry or button is under the pointer; once it goes
  // (a menu closed, the pointer moved on) the bar says "Ready" again instead of nothing.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
    if (message.isEmpty()) statusBar()->showMessage(QString::fromLatin1(kReadyPrompt));
  });
  statusBar()->showMessage(QString::fromLatin1(kReadyPrompt));
  m_followStatus = new QLabel(this);
  m_followStatus->setObjectName(QStringLiteral("FollowStatus"));
  statusBar()->addPermanentWidget(m_followStatus);
  Size minimum = FrameMinimumSize(m_largeFonts);
  setMinimumSize(minimum.w, minimum.h);
  resize(std::max(minimum.w, 1000), std::max(minimum.h, 740));

  connect(&m_runner, &WorkRunner::stepStarted, this, &MainFrame::StepStarted);
  connect(&m_runner, &WorkRunner::percentChanged, this, [this](int percent) {
    if (m_box) m_box->SetPercent(percent);
  });
  connect(&m_runner, &WorkRunner::finished, this, &MainFrame::WorkEnded);
  connect(m_view, &VexoriumView::drawGraphRequested, this, &MainFrame::OnDrawGraph);

  std::vector<std::string> recent;
  for (const QString& entry :
       RecentSettings().value(QStringLiteral("Recent File List")).toStringList()) {
    recent.push_back(entry.toStdString());
  }
  m_recent.SetEntries(recent);
  UpdateRecentFiles();
  UpdateAllViews();
}

MainFrame::~MainFrame() {
  m_runner.RequestCancel();
  m_runner.Wait();
}

void MainFrame::ShowScreen(int screen) {
  if (Busy()) return;
  m_doc->currentScreen = screen;
  m_doc->refresh = true;
  UpdateAllViews();
}

void MainFrame::UpdateAllViews() {
  m_view->UpdateFromDocument();
  m_left->update();
  UpdateCommandStates();
}

void MainFrame::RunCommand(Command id) {
  if (QAction* action = Action(id); action && action->isEnabled()) action->trigger();
}

void MainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!m_firstShowPending) return;
  m_firstShowPending = false;
  PlaceAtFirstShow();
}

// Centred on a desktop wide enough for the window; otherwise filling the desktop.
void MainFrame::PlaceAtFirstShow() {
  QScreen* desktop = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!desktop) return;
  QRect area = desktop->availableGeometry();
  Rect place = FirstPaintPlacement(area.width(), area.height(), width(), height(), m_largeFonts);
  if (place.w == width() && place.h == height()) {
    move(area.x() + place.x, area.y() + place.y);
  } else {
    setGeometry(area.x() + place.x, area.y() + place.y, place.w, place.h);
  }
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!Busy()) {
    event->accept();
    return;
  }
  // The work stops at its next progress report; the window closes when it has.
  m_closeWhenIdle = true;
  m_runner.RequestCancel();
  event->ignore();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!Busy() && !DroppedLogPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = DroppedLogPaths(event->mimeData());
  if (Busy() || paths.empty()) return;
  event->acceptProposedAction();
  LoadLogs(paths);
}

// --- Long work.

void MainFrame::StartWork(const QPixmap& picture, bool cancellable, bool measured,
                          const QString& text, Work work, Done done) {
  m_done = std::move(done);
  m_box = new WorkBox(this, picture, cancellable, measured);
  m_box->SetText(text);
  connect(m_box, &WorkBox::cancelRequested, this, [this] { m_runner.RequestCancel(); });
  m_box->adjustSize();
  QPoint topLeft = mapToGlobal(QPoint(0, 0));
  Point place = ProgressBoxPlace(Rect{topLeft.x(), topLeft.y(), width(), height()},
                                 Size{m_box->width(), m_box->height()});
  m_box->PlaceAt(QPoint(place.x, place.y));
  m_box->show();
  m_runner.Start(std::move(work));
  UpdateAllViews();
}

void MainFrame::StepStarted(int step, int fileIndex, int fileCount) {
  if (m_box)
    m_box->SetText(ToQString(ProgressText(static_cast<WorkStep>(step), fileIndex, fileCount)));
}

void MainFrame::WorkEnded(bool ok) {
  if (m_box) {
    m_box->close();
    m_box->deleteLater();
    m_box = nullptr;
  }
  Done done = std::move(m_done);
  m_done = nullptr;
  if (done) done(ok);
  UpdateAllViews();
  if (m_follow) m_follow->LookSoon();
  emit workFinished(ok);
  if (m_closeWhenIdle) close();
}

void MainFrame::LoadLogs(const std::vector<std::string>& paths) {
  if (Busy() || paths.empty()) return;
  if (m_follow) {
    // A load of other logs ends the following; the same logs go on being followed.
    m_follow->Interrupt();
    LogSelection next;
    DocumentOperations::SelectLogs(paths, &next);
    if (DocumentOperations::LogsToRead(next) != m_follow->Paths()) SetFollowing(false);
  }
  m_selection.dataAvailable = false;
  DocumentOperations::SelectLogs(paths, &m_selection);
  std::string recent = paths.size() == 1 ? kRecentLog + paths.front() : std::string();
  StartWork(
      ProgressPicture(), true, true, QStringLiteral("Loading"),
      [this] { return m_operations->LoadLogs(); },
      [this, recent](bool ok) {
        // A failed or cancelled load leaves no statistics to show.
        m_selection.dataAvailable = ok;
        m_logsShown = ok;
        if (!ok) return;
        raise();
        activateWindow();
        std::string nothing =
            NothingFoundMessage(m_doc->nameCount, m_doc->gameCount, m_selection.selectedFileCount,
                                m_selection.selectedLogPath);
        if (!nothing.empty()) {
          UpdateAllViews();  // the box stands over the program as the load left it
          m_prompter.Inform(nothing, kNothingFoundCaption);
          return;  // no log worth offering again
        }
        if (!recent.empty()) AddRecentFile(recent);
      });
}

void MainFrame::OpenDataFile(const std::string& path) {
  if (Busy() || path.empty()) return;
  SetFollowing(false);  // a data file's statistics replace those of the logs
  StartWork(
      ProgressPicture(), false, false, ToQString(ProgressText(WorkStep::kOpening, 0, 1)),
      [this, path] { return m_operations->OpenDataFile(path); },
      [this, path](bool ok) {
        if (!ok) return;  // the message is shown; what was loaded stays
        m_logsShown = false;
        AddRecentFile(kRecentData + path);
        raise();
        activateWindow();
      });
}

// --- Commands.

void MainFrame::OnOpenGamesLog() {
  bool hadData = m_selection.dataAvailable;
  m_selection.dataAvailable = false;
  std::vector<std::string> paths =
      m_prompter.ChooseFilesToOpen({kLogFileFilter, m_doc->logDirectory, true});
  if (!paths.empty()) {
    LoadLogs(paths);
    return;
  }
  // A cancelled dialog after an earlier load leaves that load on show.
  m_selection.dataAvailable = hadData;
  UpdateAllViews();
}

void MainFrame::OnOpenDataFile() {
  std::vector<std::string> paths = m_prompter.ChooseFilesToOpen({kAllFilesFilter, "", true});
  if (!paths.empty()) OpenDataFile(paths.front());
}

void MainFrame::OnSaveDataFile() {
  std::string path = m_prompter.ChooseFileToSave({kAllFilesFilter, "", false});
  if (path.empty()) return;
  StartWork(
      WorkBoxPicture(), false, false, ToQString(ProgressText(WorkStep::kSaving, 0, 1)),
      [this, path] { return m_operations->SaveDataFile(path); }, nullptr);
}

void MainFrame::OnExportCsv() {
  bool gameByGame = m_prompter.ShowMessage("Do you wish to export game by game data as well?",
                                           "Info", MessageButtons::kYesNo) == MessageAnswer::kYes;
  std::string path = m_prompter.ChooseFileToSave({kAllFilesFilter, "", false});
  if (path.empty()) return;
  StartWork(
      WorkBoxPicture(), false, false, ToQString(ProgressText(WorkStep::kExporting, 0, 1)),
      [this, path, gameByGame] { return m_operations->ExportCsv(path, gameByGame); }, nullptr);
}

// The folder is remembered for the next time; the site is written with a percentage shown.
void MainFrame::OnWriteSite() {
  QSettings settings = RecentSettings();
  std::string initial = settings.value(QLatin1String(kSiteFolderKey)).toString().toStdString();
  if (initial.empty()) initial = JoinPath(m_startDirectory, "site");
  std::string folder = m_prompter.ChooseFolder("Write Web Site", initial);
  if (folder.empty()) return;
  settings.setValue(QLatin1String(kSiteFolderKey), QString::fromStdString(folder));
  StartWork(
      WorkBoxPicture(), false, true, ToQString(ProgressText(WorkStep::kSite, 0, 1)),
      [this, folder] { return m_operations->WriteSite(folder); }, nullptr);
}

void MainFrame::OnCleanLogFile() {
  std::vector<std::string> paths =
      m_prompter.ChooseFilesToOpen({kLogFileFilter, m_doc->logDirectory, false});
  if (paths.empty()) return;
  std::string path = paths.front();
  StartWork(
      CleaningPicture(), false, false, ToQString(ProgressText(WorkStep::kCleaning, 0, 1)),
      [this, path] {
        CleanResult result = m_operations->CleanLogFile(path);
        return result.status == CleanStatus::kCleaned ||
               result.status == CleanStatus::kNothingFound;
      },
      nullptr);
}

void MainFrame::OnOptions() {
  OptionsDialog dialog(m_optionsForm, *m_doc, m_startDirectory, m_prompter, this);
  if (dialog.exec() != QDialog::Accepted) return;
  UpdateAllViews();
  SetGraphStyle(GraphStyle());
}

void MainFrame::SetGraphStyle(ChartStyle style) {
  m_optionsForm.SetChartStyleInEffect(style);
  RecentSettings().setValue(kGraphStyleKey, QString::fromLatin1(ChartStyleName(style)));
  emit graphStyleChanged();
}

void MainFrame::OnClientVariables() {
  ClientVarDialog dialog(m_clientVarForm, *m_doc, m_prompter, this);
  if (dialog.exec() == QDialog::Accepted) UpdateAllViews();
}

void MainFrame::OnServerVariables() {
  ServerVarDialog dialog(m_serverVarForm, *m_doc, m_prompter, this);
  // Load Vars changes the game type names of a Team Arena set at once, whatever the answer.
  dialog.exec();
  UpdateAllViews();
}

void MainFrame::OnHelp() {
  if (!m_help) m_help = new HelpWindow(this);
  m_help->show();
  m_help->raise();
  m_help->activateWindow();
}

void MainFrame::OnOpenReportInBrowser() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(m_doc->reportIndexPath)));
}

void MainFrame::OnPrint() {
  RunPrintJob(*this, m_prompter, false);
}

void MainFrame::OnPrintPreview() {
  RunPrintJob(*this, m_prompter, true);
}

void MainFrame::OnDrawGraph() {
  if (Busy() || m_graphWindowOpen) return;
  ChartWindow* chart = OpenChartWindow(*this, m_prompter);
  if (chart == nullptr) return;  // refused: the warnings were shown
  m_graphWindowOpen = true;
  connect(chart, &ChartWindow::closed, this, [this] {
    m_graphWindowOpen = false;
    UpdateAllViews();
  });
  UpdateAllViews();
}

// --- Follow Logs.

void MainFrame::OnFollowLogs() {
  SetFollowing(Action(Command::kFollowLogs)->isChecked());
}

void MainFrame::SetFollowing(bool on) {
  if (on && !m_follow && m_logsShown && m_selection.dataAvailable) {
    m_follow = std::make_unique<FollowSession>(*this, m_startDirectory, m_followTiming);
    connect(m_follow.get(), &FollowSession::statusChanged, m_followStatus, &QLabel::setText);
    m_followStatus->setText(QStringLiteral("Following the logs"));
  } else if (!on && m_follow) {
    m_follow->Interrupt();
    m_follow.reset();
    m_followStatus->clear();
  }
  UpdateCommandStates();
}

void MainFrame::TakeUpdate(VexoriumDoc& loaded) {
  // The screen and the print choice are the window's; everything else is the load's.
  int32_t screen = m_doc->currentScreen;
  int32_t printChoice = m_doc->printChoice;
  std::swap(*m_doc, loaded);
  m_doc->currentScreen = screen;
  m_doc->printChoice = printChoice;
  m_selection.dataAvailable = true;
  m_logsShown = true;
  m_view->ShowUpdate();
  m_left->update();
  UpdateCommandStates();
}

// --- The recent-file list.

void MainFrame::AddRecentFile(const std::string& entry) {
  m_recent.Add(entry);
  SaveRecentFiles();
}

void MainFrame::SaveRecentFiles() {
  QStringList entries;
  for (const std::string& e : m_recent.Entries())
    entries << QString::fromStdString(e);
  QSettings settings = RecentSettings();
  settings.setValue(QStringLiteral("Recent File List"), entries);
  UpdateRecentFiles();
}

void MainFrame::UpdateRecentFiles() {
  const std::vector<std::string>& entries = m_recent.Entries();
  for (size_t i = 0; i < m_recentActions.size(); ++i) {
    QAction* action = m_recentActions[i];
    action->setVisible(i < entries.size());
    if (i >= entries.size()) continue;
    std::string path = entries[i].substr(entries[i].find(':') + 1);
    action->setText(ToQString(RecentFileMenuText(i, path)));
  }
  if (m_recentSeparator) m_recentSeparator->setVisible(!entries.empty());
}

void MainFrame::OpenRecentFile(size_t index) {
  const std::vector<std::string>& entries = m_recent.Entries();
  if (index >= entries.size()) return;
  std::string entry = entries[index];
  bool dataFile = entry.rfind(kRecentData, 0) == 0;
  std::string path = entry.substr(entry.find(':') + 1);
  if (dataFile) {
    OpenDataFile(path);
  } else {
    LoadLogs({path});
  }
  if (!Busy()) return;
  // A file that is gone has said so in its warning by the end of the work: its entry goes.
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection =
      connect(this, &MainFrame::workFinished, this, [this, entry, path, connection](bool ok) {
        disconnect(*connection);
        if (ok || QFileInfo::exists(PathToQString(path))) return;
        m_recent.Remove(entry);
        SaveRecentFiles();
      });
}

}  // namespace vexor
