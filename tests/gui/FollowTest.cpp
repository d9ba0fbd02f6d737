// Follow Logs in the real main window, offscreen: a log the server writes on is loaded again
// while the window keeps its screen, its lists' sort orders and selected players, the ticked
// statistics and the open graph; the lists then show what a fresh load shows. A load of other
// logs and the user turn it off.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/gui/FollowSession.h"
#include "app/gui/MainFrame.h"
#include "app/gui/VexoriumView.h"
#include "gui/MainFrameFixture.h"
#include "ops/DocumentOperations.h"
#include "stats/VexoriumDoc.h"
#include "ui/ShellLogic.h"
#include "ui/StatisticsList.h"

namespace vexor {
namespace {

using std::chrono::milliseconds;

// A game in which a newcomer, Zed, frags Anarki twenty times.
const char* const kNextGame =
    "  0:00 InitGame: \\g_gametype\\0\\fraglimit\\20\\timelimit\\15\\mapname\\q3dm17\n"
    "  0:00 ClientConnect: 2\n"
    "  0:00 ClientUserinfoChanged: 2 n\\Zed\\t\\0\\model\\sarge\\hmodel\\sarge\n"
    "  0:00 ClientConnect: 3\n"
    "  0:00 ClientUserinfoChanged: 3 n\\Anarki\\t\\0\\model\\anarki\\hmodel\\anarki\n";

class FollowTest : public test::MainFrameFixture {
 protected:
  void Append(const std::string& bytes) {
    std::ofstream(m_log, std::ios::binary | std::ios::app) << bytes;
  }
  // Waits for the next "Updated" of the status bar.
  bool NextUpdate(QSignalSpy& status) {
    for (;;) {
      if (status.isEmpty() && !status.wait(20000)) return false;
      if (status.takeFirst().at(0).toString().startsWith(QStringLiteral("Updated "))) return true;
    }
  }
  QCheckBox* Box(const char* label) {
    for (QCheckBox* box : m_frame->View()->findChildren<QCheckBox*>()) {
      if (box->accessibleName() == QLatin1String(label)) return box;
    }
    return nullptr;
  }
  static bool SameRows(const StatisticsList& a, const StatisticsList& b) {
    if (a.RowCount() != b.RowCount() || a.ColumnCount() != b.ColumnCount()) return false;
    for (int r = 0; r < a.RowCount(); ++r) {
      for (int c = 0; c < a.ColumnCount(); ++c) {
        if (a.Cell(r, c) != b.Cell(r, c)) return false;
      }
    }
    return true;
  }
  std::vector<std::string> SelectedNames(QTableView* list, const StatisticsList& rows) {
    std::vector<std::string> names;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
      names.push_back(rows.Cell(index.row(), 0));
    return names;
  }

  std::string m_log;
};

TEST_F(FollowTest, AnUpdateKeepsTheScreenSortSelectionAndGraphAndShowsAFreshLoad) {
  m_log = m_start + "/games.log";
  std::filesystem::copy_file(test::kServerSample, m_log);
  ASSERT_TRUE(LoadAndWait({m_log}));
  m_frame->SetFollowTiming({milliseconds(300), milliseconds(50)});
  m_frame->ShowScreen(2);
  VexoriumView* view = m_frame->View();
  QTableView* main = view->MainList();
  emit main->horizontalHeader()->sectionClicked(1);  // most frags first
  emit main->horizontalHeader()->sectionClicked(1);  // fewest first
  main->selectRow(0);
  emit main->clicked(main->model()->index(0, 0));
  std::vector<std::string> selected = SelectedNames(main, view->MainRows());
  Box("Frags")->setChecked(true);
  for (QPushButton* button : view->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("Draw Graph")) button->click();
  }
  ASSERT_TRUE(m_frame->GraphWindowOpen());

  QAction* follow = m_frame->Action(Command::kFollowLogs);
  ASSERT_TRUE(follow->isEnabled());
  follow->trigger();
  ASSERT_TRUE(m_frame->Following());
  QSignalSpy status(m_frame->Follow(), &FollowSession::statusChanged);
  ASSERT_TRUE(NextUpdate(status));  // the first look loads the logs as they stand

  std::string next = kNextGame;
  for (int k = 0; k < 20; ++k)
    next += "  0:30 Kill: 2 3 10: Zed killed Anarki by MOD_RAILGUN\n";
  Append(next + "  3:00 Shutdown");  // the last line is not whole yet
  QTest::qWait(400);
  Append("Game:\n");

  // The list shows, in the order the user chose, what a fresh load of the log shows.
  VexoriumDoc fresh;
  LogSelection selection;
  ScriptedPrompter prompter;
  std::filesystem::create_directory(m_start + "/fresh");
  DocumentOperations operations(fresh, selection, prompter, m_start + "/fresh");
  DocumentOperations::SelectLogs({m_log}, &selection);
  ASSERT_TRUE(operations.LoadLogs());
  StatisticsList rows(StatList::kMain);
  rows.SetSortState(1, false);
  rows.Sort(fresh);
  ASSERT_TRUE(QTest::qWaitFor([&] { return SameRows(view->MainRows(), rows); }, 20000));
  EXPECT_EQ(m_frame->Doc().gameCount, fresh.gameCount);
  EXPECT_TRUE(status.count() > 0 &&
              status.last().at(0).toString().startsWith(QStringLiteral("Updated ")));

  EXPECT_EQ(view->Layout().screen, Screen::kGraphSelection);
  EXPECT_TRUE(view->MainRows().Sorted());
  EXPECT_TRUE(m_frame->GraphWindowOpen());
  EXPECT_TRUE(Box("Frags")->isChecked());
  EXPECT_EQ(SelectedNames(main, view->MainRows()), selected);
  EXPECT_TRUE(m_prompter.Messages().empty());

  // The user turns it off; a load of other logs does too.
  follow->trigger();
  EXPECT_FALSE(m_frame->Following());
  follow->trigger();
  ASSERT_TRUE(m_frame->Following());
  ASSERT_TRUE(LoadAndWait({test::kServerSample}));
  EXPECT_FALSE(m_frame->Following());
  EXPECT_FALSE(follow->isChecked());
}

}  // namespace
}  // namespace vexor
