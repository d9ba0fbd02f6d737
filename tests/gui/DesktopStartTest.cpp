// The desktop conventions, offscreen: logs and data files handed over at start (with the screen
// to show and the exit after the load), log files dropped on the window, and the recent-file
// list reopening what it lists.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/gui/FileDrops.h"
#include "app/gui/MainFrame.h"
#include "app/gui/StartRequest.h"
#include "app/gui/VexoriumView.h"
#include "gui/MainFrameFixture.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintTables.h"
#include "ui/ShellLogic.h"
#include "ui/ViewScreens.h"

namespace vexor {
namespace {

const std::string kSample = std::string(VEXOR_SAMPLES) + "/server-ffa-ctf.log";
const std::string kOtherSample = std::string(VEXOR_SAMPLES) + "/openarena-server.log";

class DesktopStartTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainFrame> NewFrame() {
    auto frame = std::make_unique<MainFrame>(m_prompter, m_folder.path().toStdString());
    frame->show();
    return frame;
  }
  static QMimeData* Urls(const QList<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
  }
  std::string DataFile() {
    std::unique_ptr<MainFrame> frame = NewFrame();
    QSignalSpy finished(frame.get(), &MainFrame::workFinished);
    frame->LoadLogs({kSample});
    EXPECT_TRUE(test::WaitForWork(finished));
    std::string path = m_folder.filePath(QStringLiteral("saved.dat")).toStdString();
    m_prompter.Choose({path});
    frame->RunCommand(Command::kSaveDataFile);
    EXPECT_TRUE(test::WaitForWork(finished));
    return path;
  }

  QTemporaryDir m_folder;
  ScriptedPrompter m_prompter;
};

TEST_F(DesktopStartTest, StartLoadShowsTheRequestedScreenAndQuitsWithTheLoadsOutcome) {
  struct Case {
    std::vector<std::string> logs;
    bool dataFile;
    int screen;
    int status;    // the quit status
    Screen shown;  // the screen after the load
  };
  const Case cases[] = {
      {{kSample}, false, 1, 0, Screen::kLoggedData},
      {{kSample, kOtherSample}, false, 2, 0, Screen::kGraphSelection},
      {{kSample}, false, 0, 0, Screen::kAbout},  // a load by itself ends on the about screen
      {{}, true, 1, 0, Screen::kLoggedData},
      {{m_folder.filePath(QStringLiteral("missing.log")).toStdString()},
       false,
       1,
       1,
       Screen::kStart},
  };
  std::string data = DataFile();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logs.empty() ? data : c.logs.back());
    std::unique_ptr<MainFrame> frame = NewFrame();
    QSignalSpy finished(frame.get(), &MainFrame::workFinished);
    StartRequest request{c.logs, c.dataFile ? data : std::string(), c.screen, true};
    int status = -1;
    StartRequested(*frame, request, [&status](int s) { status = s; });
    test::WaitForWork(finished);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(frame->View()->Layout().screen, c.shown);
    // A later load from the menus leaves the screen as it is and quits nothing.
    status = -1;
    frame->ShowScreen(4);
    frame->LoadLogs({kSample});
    test::WaitForWork(finished);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(frame->View()->Layout().screen, Screen::kAbout);
  }
}

TEST_F(DesktopStartTest, DroppedLocalLogFilesLoadAndOtherDropsAreRefused) {
  QList<QUrl> tooMany;
  for (int i = 0; i < 31; ++i)
    tooMany << QUrl::fromLocalFile(QString::fromStdString(kSample));
  struct Refused {
    const char* what;
    QList<QUrl> urls;
  };
  const Refused refused[] = {
      {"no files", {}},
      {"a web address", {QUrl(QStringLiteral("https://example.org/games.log"))}},
      {"a folder", {QUrl::fromLocalFile(m_folder.path())}},
      {"31 logs", tooMany},
  };
  std::unique_ptr<MainFrame> frame = NewFrame();
  for (const Refused& r : refused) {
    std::unique_ptr<QMimeData> data(Urls(r.urls));
    EXPECT_TRUE(DroppedLogPaths(data.get()).empty()) << r.what;
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_FALSE(enter.isAccepted()) << r.what;
  }

  std::unique_ptr<QMimeData> data(
      Urls({QUrl::fromLocalFile(QString::fromStdString(kSample)),
            QUrl::fromLocalFile(QString::fromStdString(kOtherSample))}));
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QSignalSpy finished(frame.get(), &MainFrame::workFinished);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &drop);
  ASSERT_TRUE(test::WaitForWork(finished));
  EXPECT_EQ(frame->Selection().selectedFileCount, 2);
  EXPECT_TRUE(frame->Selection().dataAvailable);
}

TEST_F(DesktopStartTest, RecentFileListReopensALogAndADataFile) {
  std::string data = DataFile();  // the sample loaded: a recent entry
  std::unique_ptr<MainFrame> frame = NewFrame();
  QSignalSpy finished(frame.get(), &MainFrame::workFinished);
  frame->OpenDataFile(data);  // an opened data file is one too
  ASSERT_TRUE(test::WaitForWork(finished));
  frame->LoadLogs({kOtherSample});
  ASSERT_TRUE(test::WaitForWork(finished));
  int32_t otherPlayers = frame->Doc().nameCount;

  auto recent = [&](const std::string& path) -> QAction* {
    // The whole path: the other tests' files of the same names are listed too.
    QString name = QString::fromStdString(" " + path);
    for (QAction* action : frame->findChildren<QAction*>()) {
      if (action->isVisible() && action->text().endsWith(name)) return action;
    }
    return nullptr;
  };
  QAction* sample = recent(kSample);
  ASSERT_NE(sample, nullptr);
  sample->trigger();
  ASSERT_TRUE(test::WaitForWork(finished));
  EXPECT_EQ(frame->Selection().selectedLogPath, kSample);
  EXPECT_NE(frame->Doc().nameCount, otherPlayers);

  frame->LoadLogs({kOtherSample});
  ASSERT_TRUE(test::WaitForWork(finished));
  QAction* saved = recent(data);
  ASSERT_NE(saved, nullptr);
  saved->trigger();
  ASSERT_TRUE(test::WaitForWork(finished));
  EXPECT_NE(frame->Doc().nameCount, otherPlayers);

  // An entry whose file is gone says so and leaves the list; the others stay.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(data)));
  saved = recent(data);
  ASSERT_NE(saved, nullptr);
  saved->trigger();
  EXPECT_FALSE(test::WaitForWork(finished));
  ASSERT_EQ(m_prompter.Messages().size(), 1u);
  EXPECT_NE(m_prompter.Messages()[0].text.find("saved.dat"), std::string::npos);
  EXPECT_EQ(recent(data), nullptr);
  EXPECT_NE(recent(kSample), nullptr);
  EXPECT_NE(recent(kOtherSample), nullptr);
}

// The desktop program's command line stops at a bad variable file as the command line does: its
// one message, exit 1, nothing loaded or printed, whatever good file follows it.
TEST_F(DesktopStartTest, PrintPdfStopsAtABadVariableFile) {
  QDir folder(m_folder.path());
  auto write = [&](const char* name, const std::string& bytes) {
    QFile file(folder.filePath(QLatin1String(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  };
  write("bad.var", "\x05junk");
  write("good.var", std::string(4, '\0'));  // a server set of no variables
  folder.mkdir(QStringLiteral("start"));
  // A runtime folder of its own keeps Qt's notice of a missing one off standard error.
  std::string command = "cd '" + m_folder.path().toStdString() +
                        "' && mkdir -m 700 run && XDG_RUNTIME_DIR=\"$PWD/run\" '" VEXOR_GUI_PATH
                        "' -C start --print-pdf out.pdf --client-vars bad.var --server-vars "
                        "good.var '" +
                        kSample + "' >out.txt 2>err.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  QFile err(folder.filePath(QStringLiteral("err.txt")));
  ASSERT_TRUE(err.open(QIODevice::ReadOnly));
  EXPECT_EQ(err.readAll().toStdString(),
            "Info: Sorry, that file was not opened properly. All variables are cleared.\n");
  EXPECT_FALSE(folder.exists(QStringLiteral("out.pdf")));
  EXPECT_FALSE(folder.exists(QStringLiteral("start/html/games.htm")));
}

// vexor-gui's command line: each option's value, and the checks across options.
TEST(GuiArgumentsTest, OptionsAreReadAndCombinationsChecked) {
  struct ArgumentCase {
    QStringList arguments;
    const char* error;  // a part of the message; null when the line is good
  };
  QStringList tooMany = {QStringLiteral("vexor-gui")};
  for (int i = 0; i <= LogSelection::kMaxFiles; ++i)
    tooMany << QStringLiteral("log%1").arg(i);
  const ArgumentCase cases[] = {
      {{"vexor-gui", "-C", "/d", "--screen", "graphs", "--quit-after-load", "a.log", "b.log"},
       nullptr},
      {{"vexor-gui", "--print-pdf", "t.pdf", "--print-choice", "weapons", "--client-vars", "c.var",
        "a.log"},
       nullptr},
      {{"vexor-gui", "--bogus"}, "Unknown option"},
      {{"vexor-gui", "--open"}, "Missing value"},
      {{"vexor-gui", "--screen", "nowhere", "a.log"}, "unknown screen"},
      {{"vexor-gui", "--print-pdf", "t.pdf", "--print-choice", "client9", "a.log"},
       "unknown print choice"},
      {tooMany, "at most 30 logs"},
      {{"vexor-gui", "--open", "d.dat", "a.log"}, "not both"},
      {{"vexor-gui", "--quit-after-load"}, "need logs"},
      {{"vexor-gui", "--print-pdf", "t.pdf", "--open", "d.dat"}, "does not go with --open"},
      {{"vexor-gui", "--server-vars", "s.var", "a.log"}, "go with --print-pdf"},
      {{"vexor-gui", "--print-pdf", "t.pdf"}, "needs at least one log"},
  };
  for (const ArgumentCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).left(80).toStdString());
    GuiRequest request;
    QString error;
    bool ok = ParseGuiArguments(c.arguments, &request, &error);
    EXPECT_EQ(ok, c.error == nullptr) << error.toStdString();
    if (c.error != nullptr) {
      EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
    }
  }
  GuiRequest request;
  QString error;
  ASSERT_TRUE(ParseGuiArguments(cases[0].arguments, &request, &error));
  EXPECT_EQ(request.directory, "/d");
  EXPECT_EQ(request.start.screen, 2);
  EXPECT_TRUE(request.start.quitAfterLoad);
  ASSERT_EQ(request.start.logs.size(), 2u);
  EXPECT_EQ(request.start.logs[1], QDir::current().absoluteFilePath("b.log").toStdString());
  request = GuiRequest{};
  ASSERT_TRUE(ParseGuiArguments(cases[1].arguments, &request, &error));
  EXPECT_EQ(request.printChoice, kPrintWeaponStats);
  EXPECT_EQ(request.clientVars, QDir::current().absoluteFilePath("c.var").toStdString());
}

}  // namespace
}  // namespace vexor
