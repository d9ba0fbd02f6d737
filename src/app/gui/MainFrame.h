// The main window: menus, toolbar and status bar from the command table, the splitter with the
// navigation pane and the statistics view, and the commands. Every long operation (a load,
// opening or saving a data file, an export, a cleaning) runs on a worker thread while a box
// shows it; meanwhile every command that touches the document is disabled and nothing of the
// GUI reads the document.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/FollowSession.h"
#include "app/gui/WorkRunner.h"
#include "ops/LogFollower.h"
#include "stats/LogSelection.h"
#include "ui/ClientVarForm.h"
#include "ui/OptionsForm.h"
#include "ui/ServerVarForm.h"
#include "ui/ShellLogic.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace vexor {

class VexoriumDoc;
class DocumentOperations;
class HelpWindow;
class LeftView;
class Prompter;
class VexoriumView;
class WorkBox;

class MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // prompter shows every message and file dialog (the real dialogs, or a scripted one in
  // tests); startDirectory holds config/ and html/ and must exist.
  MainFrame(Prompter& prompter, std::string startDirectory, QWidget* parent = nullptr);
  ~MainFrame() override;

  VexoriumDoc& Doc() { return *m_doc; }
  LogSelection& Selection() { return m_selection; }
  const std::string& StartDirectory() const { return m_startDirectory; }
  bool Busy() const { return m_runner.Running(); }
  bool GraphWindowOpen() const { return m_graphWindowOpen; }
  bool LargeFonts() const { return m_largeFonts; }
  // The style graphs are drawn in (Options; kept in the program's settings store).
  ChartStyle GraphStyle() const { return m_optionsForm.ChartStyleInEffect(); }
  // Puts a style in effect as OK in Options does: kept for the next start, and an open graph
  // is drawn again.
  void SetGraphStyle(ChartStyle style);

  // A navigation button: the screen (1 to 4) becomes the current one and the views redraw.
  void ShowScreen(int screen);
  // The document changed: every view redraws, the commands' states follow.
  void UpdateAllViews();

  // Runs a command of the command table as its menu item would.
  void RunCommand(Command id);
  QAction* Action(Command id) const;

  // Loads logs as "Open Games Log" does once its dialog has returned them.
  void LoadLogs(const std::vector<std::string>& paths);
  // Opens a data file as "Open Vexor Data File" does once its dialog has returned it.
  void OpenDataFile(const std::string& path);

  // Follow Logs: on or off, as the View menu's check item does.
  void SetFollowing(bool on);
  bool Following() const { return m_follow != nullptr; }
  FollowSession* Follow() const { return m_follow.get(); }
  // The follower's times (the interval of 5 seconds unless changed; tests shorten it).
  void SetFollowTiming(const FollowTiming& timing) { m_followTiming = timing; }
  // A followed load has ended well: its statistics become the window's (the loaded document
  // receives the ones shown before). The screen, each list's sort order and selected players,
  // the ticked statistics and an open graph stay.
  void TakeUpdate(VexoriumDoc& loaded);

  VexoriumView* View() const { return m_view; }
  LeftView* Navigation() const { return m_left; }
  WorkBox* Box() const { return m_box; }
  WorkRunner& Runner() { return m_runner; }

 signals:
  // A long operation ended (after the views were updated).
  void workFinished(bool ok);
  // OK in Options put a graph style in effect (the same one or another).
  void graphStyleChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Log files dropped on the window load as Open Games Log would.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  using Work = std::function<bool()>;
  using Done = std::function<void(bool)>;

  void CreateActions();
  void CreateMenus();
  void CreateToolbar();
  void UpdateCommandStates();
  void PlaceAtFirstShow();
  // cancellable: the box offers Cancel (loads); measured: it shows a percentage.
  void StartWork(const QPixmap& picture, bool cancellable, bool measured, const QString& text,
                 Work work, Done done);
  void WorkEnded(bool ok);
  void StepStarted(int step, int fileIndex, int fileCount);
  void AddRecentFile(const std::string& entry);
  void SaveRecentFiles();
  void UpdateRecentFiles();
  void OpenRecentFile(size_t index);

  // Commands.
  void OnOpenGamesLog();
  void OnOpenDataFile();
  void OnSaveDataFile();
  void OnExportCsv();
  void OnWriteSite();
  void OnCleanLogFile();
  void OnOptions();
  void OnClientVariables();
  void OnServerVariables();
  void OnHelp();
  void OnOpenReportInBrowser();
  void OnPrint();
  void OnPrintPreview();
  void OnDrawGraph();
  void OnFollowLogs();

  Prompter& m_prompter;
  std::string m_startDirectory;
  std::unique_ptr<VexoriumDoc> m_doc;
  LogSelection m_selection;
  std::unique_ptr<DocumentOperations> m_operations;
  OptionsForm m_optionsForm;  // the document's options dialog keeps its values between openings
  // The custom-variable dialogs keep their working copies and sets-changed flags as long.
  ClientVarForm m_clientVarForm;
  ServerVarForm m_serverVarForm;
  WorkRunner m_runner;
  Done m_done;
  WorkBox* m_box = nullptr;
  LeftView* m_left = nullptr;
  VexoriumView* m_view = nullptr;
  QSplitter* m_splitter = nullptr;
  QToolBar* m_toolbar = nullptr;
  HelpWindow* m_help = nullptr;
  std::map<Command, QAction*> m_actions;
  QAction* m_reportInBrowser = nullptr;
  QMenu* m_fileMenu = nullptr;
  QAction* m_recentSeparator = nullptr;
  std::vector<QAction*> m_recentActions;
  RecentFiles m_recent;
  bool m_graphWindowOpen = false;
  bool m_largeFonts = false;
  bool m_firstShowPending = true;
  bool m_closeWhenIdle = false;
  bool m_logsShown = false;  // the statistics shown come from logs (not a data file)
  FollowTiming m_followTiming;
  std::unique_ptr<FollowSession> m_follow;
  QLabel* m_followStatus = nullptr;
};

}  // namespace vexor
