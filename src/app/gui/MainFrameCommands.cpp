// The main frame's commands: their actions, the menus and the toolbar built from the command
// tables, and which of them are enabled.
#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <map>
#include <string_view>

#include "app/gui/FollowSession.h"
#include "app/gui/LeftView.h"
#include "app/gui/MainFrame.h"
#include "app/gui/Pictures.h"

namespace vexor {
namespace {

// The toolbar picture of a command, or none.
const char* CommandIcon(Command id) {
  static const std::map<Command, const char*> kIcons = {
      {Command::kOpenGamesLog, "open-log"},       {Command::kOpenDataFile, "open-data"},
      {Command::kSaveDataFile, "save-data"},      {Command::kPrint, "print"},
      {Command::kExportCsv, "export-csv"},        {Command::kClientVariables, "client-vars"},
      {Command::kServerVariables, "server-vars"}, {Command::kOptions, "options"},
      {Command::kFollowLogs, "follow"},           {Command::kHelp, "help"}};
  auto found = kIcons.find(id);
  return found == kIcons.end() ? nullptr : found->second;
}

}  // namespace

QAction* MainFrame::Action(Command id) const {
  auto found = m_actions.find(id);
  return found == m_actions.end() ? nullptr : found->second;
}

void MainFrame::CreateActions() {
  using Handler = void (MainFrame::*)();
  static const std::map<Command, Handler> kHandlers = {
      {Command::kOpenGamesLog, &MainFrame::OnOpenGamesLog},
      {Command::kOpenDataFile, &MainFrame::OnOpenDataFile},
      {Command::kSaveDataFile, &MainFrame::OnSaveDataFile},
      {Command::kExportCsv, &MainFrame::OnExportCsv},
      {Command::kWriteSite, &MainFrame::OnWriteSite},
      {Command::kCleanLogFile, &MainFrame::OnCleanLogFile},
      {Command::kOptions, &MainFrame::OnOptions},
      {Command::kHelp, &MainFrame::OnHelp},
      {Command::kPrint, &MainFrame::OnPrint},
      {Command::kPrintPreview, &MainFrame::OnPrintPreview},
      {Command::kClientVariables, &MainFrame::OnClientVariables},
      {Command::kServerVariables, &MainFrame::OnServerVariables},
      {Command::kFollowLogs, &MainFrame::OnFollowLogs}};
  for (const CommandInfo& command : kCommands) {
    auto* action = new QAction(QString::fromLatin1(command.menuText), this);
    action->setObjectName(QStringLiteral("command%1").arg(static_cast<int>(command.id)));
    action->setStatusTip(QString::fromLatin1(command.prompt));
    action->setToolTip(QString::fromLatin1(command.toolTip));
    // A toolbar button is named by its tool tip, not by the menu text with its accelerator.
    action->setIconText(QString::fromLatin1(command.toolTip));
    if (command.accelerator && *command.accelerator) {
      action->setShortcut(QKeySequence(QString::fromLatin1(command.accelerator)));
    }
    if (const char* icon = CommandIcon(command.id)) action->setIcon(ToolbarIcon(icon));
    Command id = command.id;
    auto handler = kHandlers.find(id);
    if (handler != kHandlers.end()) {
      Handler method = handler->second;
      bool touches = command.touchesDocument;
      connect(action, &QAction::triggered, this, [this, method, touches] {
        // A followed load that runs ends first: the command has the document to itself.
        if (touches && m_follow) m_follow->Interrupt();
        (this->*method)();
      });
    }
    m_actions[id] = action;
  }
  Action(Command::kFollowLogs)->setCheckable(true);
  connect(Action(Command::kExit), &QAction::triggered, this, &QWidget::close);
  m_reportInBrowser = new QAction(QStringLiteral("Open Report in Web Browser"), this);
  m_reportInBrowser->setStatusTip(
      QStringLiteral("Opens the game by game report in your web browser"));
  connect(m_reportInBrowser, &QAction::triggered, this, &MainFrame::OnOpenReportInBrowser);
}

void MainFrame::CreateMenus() {
  for (const char* title : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(title));
    for (const MenuEntry& entry : kMenuLayout) {
      if (std::string_view(entry.menu) != title) continue;
      if (entry.commandId == kSeparator) {
        menu->addSeparator();
      } else if (entry.commandId == kRecentFilesPlace) {
        m_recentSeparator = menu->addSeparator();
        for (size_t i = 0; i < RecentFiles::kMaxEntries; ++i) {
          QAction* recent = menu->addAction(QString());
          connect(recent, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
          m_recentActions.push_back(recent);
        }
      } else if (QAction* action = Action(entry.commandId)) {
        menu->addAction(action);
      }
    }
    if (std::string_view(title) == "&View") menu->addAction(m_reportInBrowser);
  }
}

void MainFrame::CreateToolbar() {
  m_toolbar = addToolBar(QStringLiteral("Toolbar"));
  m_toolbar->setObjectName(QStringLiteral("Toolbar"));
  m_toolbar->setIconSize(QSize(16, 16));
  m_toolbar->setMovable(false);
  for (Command id : kToolbarLayout) {
    if (id == kSeparator) {
      m_toolbar->addSeparator();
    } else if (QAction* action = Action(id)) {
      m_toolbar->addAction(action);
    }
  }
  // The View menu's two toggles show and hide the bars.
  QAction* toolbarToggle = Action(Command::kToolbar);
  toolbarToggle->setCheckable(true);
  toolbarToggle->setChecked(true);
  connect(toolbarToggle, &QAction::toggled, m_toolbar, &QToolBar::setVisible);
  QAction* statusToggle = Action(Command::kStatusBar);
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  connect(statusToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
}

void MainFrame::UpdateCommandStates() {
  bool busy = Busy();
  for (auto& [id, action] : m_actions) {
    action->setEnabled(CommandEnabled(id, m_selection.dataAvailable, busy));
  }
  QAction* follow = Action(Command::kFollowLogs);
  follow->setEnabled(
      FollowLogsEnabled(Following(), m_logsShown && m_selection.dataAvailable, busy));
  follow->setChecked(Following());
  m_reportInBrowser->setEnabled(m_selection.dataAvailable && !busy);
  for (QAction* recent : m_recentActions)
    recent->setEnabled(!busy);
  m_left->SetBusy(busy);
}

}  // namespace vexor
