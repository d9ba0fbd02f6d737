// The desktop program's wiring, offscreen: a load through the real main window, sorting by a
// column click, the report in the embedded browser, the options dialog's OK, and a cancelled
// load. The logic under each widget is tested without a display in the core's tests.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <clocale>
#include <fstream>
#include <functional>
#include <string>

#include "app/gui/LeftView.h"
#include "app/gui/MainFrame.h"
#include "app/gui/OptionsDialog.h"
#include "app/gui/Pictures.h"
#include "app/gui/QtPrompter.h"
#include "app/gui/VexoriumView.h"
#include "app/gui/WorkBox.h"
#include "gui/MainFrameFixture.h"
#include "platform/ScriptedPrompter.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"
#include "ui/OptionsForm.h"
#include "ui/ShellLogic.h"

namespace vexor {
namespace {

using test::kServerSample;

class GuiTest : public test::MainFrameFixture {
 protected:
  // Runs a command that starts long work and waits until the work has ended.
  bool RunAndWait(Command command) {
    QSignalSpy finished(m_frame.get(), &MainFrame::workFinished);
    m_frame->RunCommand(command);
    if (!m_frame->Busy() && finished.isEmpty()) return false;
    return test::WaitForWork(finished);
  }

  bool LoadSample() {
    m_prompter.Choose({kServerSample});
    return RunAndWait(Command::kOpenGamesLog);
  }

  std::string Cell(QTableView* list, int row, int column) {
    return list->model()->index(row, column).data().toString().toStdString();
  }
};

TEST_F(GuiTest, OpenGamesLogLoadsThroughTheProgressBoxAndShowsTheLists) {
  EXPECT_FALSE(m_frame->Action(Command::kExportCsv)->isEnabled());
  EXPECT_FALSE(m_frame->Action(Command::kSaveDataFile)->isEnabled());
  ASSERT_TRUE(LoadSample());
  EXPECT_EQ(m_frame->Box(), nullptr);
  EXPECT_TRUE(m_frame->Selection().dataAvailable);
  EXPECT_TRUE(m_frame->Action(Command::kExportCsv)->isEnabled());
  EXPECT_EQ(m_frame->View()->Layout().screen, Screen::kAbout);
  EXPECT_TRUE(m_prompter.Messages().empty());

  m_frame->ShowScreen(1);
  const VexoriumDoc& doc = m_frame->Doc();
  QTableView* main = m_frame->View()->MainList();
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->model()->rowCount(), doc.nameCount);
  EXPECT_EQ(main->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Player Name"));
  EXPECT_EQ(m_frame->View()->WeaponList()->model()->rowCount(), doc.nameCount);
  EXPECT_EQ(m_frame->windowTitle().toStdString(), "Log: " + kServerSample + " ");
}

// Qt's model tester watches both lists' models through a load, the fills, the sorts and a
// screen that clears the rows: a model that breaks Qt's rules stops the test.
TEST_F(GuiTest, AColumnClickResortsTheListAndASecondClickReversesIt) {
  using Tester = QAbstractItemModelTester;
  Tester mainTester(m_frame->View()->MainList()->model(), Tester::FailureReportingMode::Fatal);
  Tester weaponTester(m_frame->View()->WeaponList()->model(), Tester::FailureReportingMode::Fatal);
  ASSERT_TRUE(LoadSample());
  m_frame->ShowScreen(1);
  QTableView* main = m_frame->View()->MainList();
  int rows = main->model()->rowCount();
  ASSERT_GT(rows, 2);
  auto fragsAt = [&](int row) { return std::stoi(Cell(main, row, 1)); };
  emit main->horizontalHeader()->sectionClicked(1);
  for (int r = 1; r < rows; ++r)
    EXPECT_GE(fragsAt(r - 1), fragsAt(r)) << "row " << r;
  emit main->horizontalHeader()->sectionClicked(1);
  for (int r = 1; r < rows; ++r)
    EXPECT_LE(fragsAt(r - 1), fragsAt(r)) << "row " << r;
  m_frame->ShowScreen(4);  // the about screen deletes the rows
  EXPECT_EQ(main->model()->rowCount(), 0);
  m_frame->ShowScreen(2);
}

// The graph selection screen's boxes show whole around their places and toggle by their drawn
// labels; a list shows a sort arrow only while its rows are in a column's order.
TEST_F(GuiTest, BoxesShowWholeTheirLabelsToggleThemAndOnlySortedListsShowAnArrow) {
  ASSERT_TRUE(LoadSample());
  m_frame->ShowScreen(2);
  VexoriumView* view = m_frame->View();
  QCheckBox* frags = nullptr;
  for (QCheckBox* box : view->findChildren<QCheckBox*>()) {
    if (box->accessibleName() == QStringLiteral("Frags")) frags = box;
  }
  ASSERT_NE(frags, nullptr);
  QRect place(320, 10, 12, 12);
  EXPECT_TRUE(frags->geometry().contains(place))
      << frags->geometry().x() << "," << frags->geometry().y();
  EXPECT_GE(frags->width(), frags->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, frags));
  EXPECT_EQ(frags->geometry().center(), place.center());
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(345, 18));  // on "Frags"
  EXPECT_TRUE(frags->isChecked());
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(345, 18));
  EXPECT_FALSE(frags->isChecked());
  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(345, 18));  // pressed, then moved off
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(345, 60));
  EXPECT_FALSE(frags->isChecked());

  struct Step {
    const char* what;
    std::function<void()> act;
    bool arrow;
    int column;
    Qt::SortOrder order;
  };
  QHeaderView* header = view->MainList()->horizontalHeader();
  const Step steps[] = {
      {"graph screen: filled unsorted", [] {}, false, 0, Qt::AscendingOrder},
      {"logged data, auto-sort: by name", [&] { m_frame->ShowScreen(1); }, true, 0,
       Qt::AscendingOrder},
      {"a click on Frags: most first", [&] { emit header->sectionClicked(1); }, true, 1,
       Qt::DescendingOrder},
      {"a resize with auto-sort off refills unsorted",
       [&] {
         m_frame->Doc().options.autoSort = 0;
         m_frame->resize(m_frame->width() + 10, m_frame->height());
       },
       false, 0, Qt::AscendingOrder},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(header->isSortIndicatorShown(), step.arrow) << step.what;
    EXPECT_EQ(view->WeaponList()->horizontalHeader()->isSortIndicatorShown(), step.arrow)
        << step.what;
    if (!step.arrow) continue;
    EXPECT_EQ(header->sortIndicatorSection(), step.column) << step.what;
    EXPECT_EQ(header->sortIndicatorOrder(), step.order) << step.what;
  }
}

// The status bar says "Ready" again once a command's prompt goes (a menu closed).
TEST_F(GuiTest, StatusBarSaysReadyAgainWhenAPromptGoes) {
  QStatusBar* bar = m_frame->statusBar();
  EXPECT_EQ(bar->currentMessage(), QStringLiteral("Ready"));
  QStatusTipEvent prompt(QStringLiteral("Open one or more Games Logs"));
  QApplication::sendEvent(m_frame.get(), &prompt);
  EXPECT_EQ(bar->currentMessage(), QStringLiteral("Open one or more Games Logs"));
  QStatusTipEvent gone{QString()};
  QApplication::sendEvent(m_frame.get(), &gone);
  EXPECT_EQ(bar->currentMessage(), QStringLiteral("Ready"));
}

// An empty file, a binary file or a text that is no log: the load says it found nothing.
TEST_F(GuiTest, ALoadThatFindsNothingSaysSo) {
  std::string empty = m_start + "/empty.log";
  std::ofstream(empty, std::ios::binary) << std::string(
      "\x7f"
      "ELF\0\1\2",
      7);
  ASSERT_TRUE(LoadAndWait({empty}));
  ASSERT_EQ(m_prompter.Messages().size(), 1u);
  EXPECT_EQ(m_prompter.Messages()[0].text, "No games or players were found in " + empty + ".");
  EXPECT_EQ(m_prompter.Messages()[0].caption, "Warning!");
  for (QAction* action : m_frame->findChildren<QAction*>())
    EXPECT_FALSE(action->isVisible() && action->text().endsWith(QStringLiteral("empty.log")));
}

TEST_F(GuiTest, OptionsOkWritesTheSettingsFileAndABadNumberIsRefused) {
  OptionsForm form;
  {
    OptionsDialog dialog(form, m_frame->Doc(), m_start, m_prompter, m_frame.get());
    dialog.Edit(kOptionsThresholdId)->setText(QStringLiteral("4x"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    ASSERT_EQ(m_prompter.Messages().size(), 1u);
    EXPECT_EQ(m_prompter.Messages()[0].text, "Please enter an integer.");
    EXPECT_FALSE(std::ifstream(SettingsPath(m_start)).good());

    dialog.Edit(kOptionsThresholdId)->setText(QStringLiteral("40"));
    dialog.CheckBox(kOptionsModernChartsId)->click();  // the graph style's buttons exclude
    EXPECT_FALSE(dialog.CheckBox(kOptionsClassicChartsId)->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(form.ChartStyleInEffect(), ChartStyle::kModern);
  EXPECT_EQ(m_frame->Doc().options.shortGameThreshold, 40);
  VexoriumDoc reread;
  LoadSettings(reread, m_start);
  EXPECT_EQ(reread.options.shortGameThreshold, 40);
}

TEST_F(GuiTest, CancelEndsALoadAsAFailedLoad) {
  // A log long enough that the load is still reading when Cancel arrives.
  std::string big = m_start + "/big.log";
  {
    std::ifstream sample(kServerSample, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
    std::ofstream out(big, std::ios::binary);
    for (int i = 0; i < 300; ++i)
      out << bytes;
  }
  QSignalSpy finished(m_frame.get(), &MainFrame::workFinished);
  m_frame->LoadLogs({big});
  ASSERT_TRUE(m_frame->Busy());
  EXPECT_FALSE(m_frame->Action(Command::kOpenGamesLog)->isEnabled());
  ASSERT_NE(m_frame->Box(), nullptr);
  // The box stands in the middle of the window.
  QPoint centre = m_frame->mapToGlobal(m_frame->rect().center());
  QPoint boxCentre = m_frame->Box()->geometry().center();
  EXPECT_LE((centre - boxCentre).manhattanLength(), 2) << boxCentre.x() << "," << boxCentre.y();
  emit m_frame->Box()->cancelRequested();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(finished.takeFirst().at(0).toBool());
  EXPECT_FALSE(m_frame->Selection().dataAvailable);
  EXPECT_TRUE(m_prompter.Messages().empty());
  EXPECT_TRUE(m_frame->Action(Command::kOpenGamesLog)->isEnabled());
  m_frame->ShowScreen(1);
  EXPECT_EQ(m_frame->View()->Layout().screen, Screen::kStart);
}

// Every file command through its dialog and its work box: save, open, export with the
// game-by-game question, clean; a failed open keeps what was loaded.
TEST_F(GuiTest, FileCommandsRunThroughTheirDialogsAndWorkBoxes) {
  ASSERT_TRUE(LoadSample());
  const VexoriumDoc& doc = m_frame->Doc();
  int32_t players = doc.nameCount;
  std::string data = m_start + "/season.dat";
  m_prompter.Choose({data});
  ASSERT_TRUE(RunAndWait(Command::kSaveDataFile));

  m_frame->ShowScreen(2);
  m_prompter.Choose({data});
  ASSERT_TRUE(RunAndWait(Command::kOpenDataFile));
  EXPECT_EQ(doc.nameCount, players);
  EXPECT_EQ(doc.currentScreen, 2);  // opening a data file keeps the screen
  EXPECT_EQ(m_frame->View()->MainList()->model()->rowCount(), players);

  m_prompter.Choose({m_start + "/missing.dat"});
  EXPECT_FALSE(RunAndWait(Command::kOpenDataFile));
  ASSERT_EQ(m_prompter.Messages().size(), 1u);
  EXPECT_EQ(m_prompter.Messages()[0].caption, "Warning!");
  EXPECT_TRUE(m_frame->Selection().dataAvailable);
  EXPECT_EQ(doc.nameCount, players);

  std::string csv = m_start + "/players.csv";
  m_prompter.Answer(MessageAnswer::kYes);
  m_prompter.Choose({csv});
  ASSERT_TRUE(RunAndWait(Command::kExportCsv));
  EXPECT_EQ(m_prompter.Messages()[1].text, "Do you wish to export game by game data as well?");
  std::ifstream exported(csv);
  std::string all((std::istreambuf_iterator<char>(exported)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find(": Game 1,"), std::string::npos);

  std::string log = m_start + "/dos.log";
  std::ofstream(log, std::ios::binary) << "line one\r\nline two\r\n";
  m_prompter.Choose({log});
  ASSERT_TRUE(RunAndWait(Command::kCleanLogFile));
  EXPECT_EQ(m_prompter.Messages().back().text, "End Of File Markers removed.");
}

// Write Web Site asks for a folder (the last one offered again), writes the site on the worker
// and refuses a folder of someone else's with its message.
TEST_F(GuiTest, WriteWebSiteWritesIntoTheChosenFolderAndRemembersIt) {
  ASSERT_TRUE(LoadSample());
  const QString key = QStringLiteral("Web Site Folder");
  QSettings settings(QStringLiteral("Vexor"), QStringLiteral("Vexor"));
  QVariant saved = settings.value(key);
  settings.remove(key);
  std::string site = m_start + "/published/stats";
  m_prompter.Choose({site});
  ASSERT_TRUE(RunAndWait(Command::kWriteSite));
  EXPECT_EQ(m_prompter.FileDialogs().back().initialFolder, m_start + "/site");
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(site + "/players/p1.html")));

  std::string foreign = m_start + "/config";  // holds the settings file: not a site
  m_prompter.Choose({foreign});
  EXPECT_FALSE(RunAndWait(Command::kWriteSite));
  EXPECT_EQ(m_prompter.FileDialogs().back().initialFolder, site);
  ASSERT_FALSE(m_prompter.Messages().empty());
  EXPECT_EQ(m_prompter.Messages().back().caption, "Warning!");
  EXPECT_NE(m_prompter.Messages().back().text.find(foreign), std::string::npos);
  if (saved.isValid()) {
    settings.setValue(key, saved);
  } else {
    settings.remove(key);
  }
}

// A message the load raises on its worker thread is shown on the GUI thread, and the load waits
// for the answer.
TEST_F(GuiTest, AMessageOfTheWorkerIsShownByTheGuiThread) {
  QtPrompter real;
  MainFrame frame(real, m_start);
  real.SetOwner(&frame);
  QString shown;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  closer.start(20);
  QSignalSpy finished(&frame, &MainFrame::workFinished);
  frame.LoadLogs({m_start + "/no-such.log"});
  ASSERT_TRUE(finished.wait(30000));
  EXPECT_FALSE(finished.takeFirst().at(0).toBool());
  EXPECT_TRUE(shown.contains(QStringLiteral("no-such.log"))) << shown.toStdString();
  EXPECT_FALSE(frame.Selection().dataAvailable);
}

TEST(ReportLogo, IsPutInPlaceOnceAndNeverReplacesTheUsersOwn) {
  QTemporaryDir folder;
  std::string start = folder.path().toStdString();
  ASSERT_TRUE(InstallReportLogo(start));
  QFile ours(folder.path() + "/config/Logo.jpg");
  ASSERT_TRUE(ours.open(QIODevice::ReadOnly));
  EXPECT_TRUE(ours.read(3).startsWith("\xFF\xD8"));  // a JPEG
  ours.close();
  std::ofstream(start + "/config/Logo.jpg", std::ios::binary | std::ios::trunc) << "mine";
  ASSERT_TRUE(InstallReportLogo(start));
  std::ifstream kept(start + "/config/Logo.jpg");
  std::string text;
  kept >> text;
  EXPECT_EQ(text, "mine");
}

// Needs the browser engine, which does not run under the sanitizers.
TEST_F(GuiTest, WebEngine_GameByGameScreenShowsTheReport) {
  ASSERT_TRUE(LoadSample());
  m_frame->ShowScreen(3);
  QWebEngineView* browser = m_frame->View()->Browser();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->isVisible());
  QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
  if (loaded.isEmpty()) {
    ASSERT_TRUE(loaded.wait(30000));
  }
  EXPECT_TRUE(loaded.takeFirst().at(0).toBool());
  EXPECT_EQ(browser->url(),
            QUrl::fromLocalFile(QString::fromStdString(m_start + "/html/games.htm")));
  EXPECT_FALSE(m_frame->View()->MainList()->isVisible());
}

}  // namespace
}  // namespace vexor

int main(int argc, char** argv) {
  // Offscreen unless told otherwise (test discovery runs without the tests' environment); the
  // browser engine's sandbox does not run as root.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
  }
  // The recent-file list and other settings of the tests stay out of the user's own.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as vexor-gui does
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
