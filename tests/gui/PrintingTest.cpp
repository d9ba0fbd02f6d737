// Printing through the real main window, offscreen: the print-choice dialog's buttons, a job
// cancelled in Qt's print dialog, the preview's pages, and the main statistics printed to a PDF
// file whose pages are counted.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <functional>
#include <string>

#include "app/gui/LeftView.h"
#include "app/gui/MainFrame.h"
#include "app/gui/PrintChoiceDialog.h"
#include "app/gui/Printing.h"
#include "app/gui/VexoriumView.h"
#include "base/StringPrintf.h"
#include "gui/MainFrameFixture.h"
#include "platform/ScriptedPrompter.h"
#include "stats/VexoriumDoc.h"
#include "ui/ShellLogic.h"

namespace vexor {
namespace {

using test::kServerSample;

// A server log of one game with `players` players, each in a client slot of his own.
std::string LogOfPlayers(int players) {
  std::string log =
      "  0:00 InitGame: \\sv_hostname\\Test\\g_gametype\\0\\mapname\\q3dm17\\gamename\\baseq3\n";
  for (int c = 0; c < players; ++c) {
    StringAppendF(&log, "  0:01 ClientConnect: %d\n", c);
    StringAppendF(&log,
                  "  0:01 ClientUserinfoChanged: %d n\\Player%02d\\t\\0\\model\\sarge\\hmodel\\"
                  "sarge\\c1\\4\n",
                  c, c);
  }
  log += "  9:00 ShutdownGame:\n";
  return log;
}

// The pages of a PDF file as its page objects count them.
int PdfPages(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const QRegularExpression kPage(QStringLiteral("/Type\\s*/Page(?![a-z])"));
  int pages = 0;
  for (auto it = kPage.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); it.next())
    ++pages;
  return pages;
}

class PrintingTest : public test::MainFrameFixture {
 protected:
  bool Load(const std::string& path) { return LoadAndWait({path}); }

  std::string WriteLog(int players) {
    std::string path = m_start + StringPrintf("/players%d.log", players);
    std::ofstream(path, std::ios::binary) << LogOfPlayers(players);
    return path;
  }

  // Runs command while every modal dialog that opens is handed to answer, until none is left.
  void RunWithDialogs(Command command, const std::function<void(QWidget*)>& answer) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
    });
    timer.start(20);
    m_frame->RunCommand(command);
  }
};

TEST_F(PrintingTest, ChoiceDialogEnablesBlocksByTheVisibleVariablesAndOkStoresTheChoice) {
  VexoriumDoc& doc = m_frame->Doc();
  for (int visible : {0, 10}) {
    doc.clientVarCount = visible;
    for (int v = 1; v <= visible; ++v) {
      doc.clientVars[static_cast<size_t>(v)].name = "Var";
      doc.clientVars[static_cast<size_t>(v)].visible = true;
    }
    PrintChoiceDialog dialog(doc, m_frame.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose ONE to Print"));
    std::string enabled;
    for (int code = 0; code < 14; ++code)
      enabled += dialog.Button(code)->isEnabled() ? '1' : '0';
    EXPECT_EQ(enabled, visible == 0 ? "11000000000000" : "11110000000000") << visible;
    EXPECT_TRUE(dialog.Button(0)->isChecked());
    if (visible == 0) continue;
    dialog.Button(3)->click();
    dialog.Button(1)->click();
    dialog.Button(1)->click();  // a checked button stays checked
    for (int code = 0; code < 14; ++code)
      EXPECT_EQ(dialog.Button(code)->isChecked(), code == 1);
    dialog.accept();
    EXPECT_EQ(doc.printChoice, 1);
  }
}

TEST_F(PrintingTest, AJobCancelledInThePrintDialogLeavesTheViewDrawing) {
  EXPECT_FALSE(m_frame->Action(Command::kPrint)->isEnabled());
  ASSERT_TRUE(Load(kServerSample));
  ASSERT_TRUE(m_frame->Action(Command::kPrint)->isEnabled());
  // The job goes to the active pane: here the statistics view, whose list has the focus.
  m_frame->ShowScreen(1);
  QApplication::setActiveWindow(m_frame.get());
  m_frame->View()->MainList()->setFocus();
  bool printingDuringDialog = false;
  bool printDialogShown = false;
  RunWithDialogs(Command::kPrint, [&](QWidget* modal) {
    if (auto* choice = qobject_cast<PrintChoiceDialog*>(modal)) {
      choice->Button(1)->click();
      choice->accept();
    } else if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
      printDialogShown = true;
      printingDuringDialog = m_frame->View()->Printing();
      EXPECT_FALSE(m_frame->Navigation()->Printing());
      print->reject();
    }
  });
  EXPECT_TRUE(printDialogShown);
  EXPECT_TRUE(printingDuringDialog);  // set once the choice was confirmed
  EXPECT_FALSE(m_frame->View()->Printing());
  EXPECT_EQ(m_frame->Doc().printChoice, 1);
}

TEST_F(PrintingTest, PreviewDrawsThePagesOfTheChosenTableAndEndsThePrinting) {
  ASSERT_TRUE(Load(WriteLog(60)));
  int previewPages = 0;
  RunWithDialogs(Command::kPrintPreview, [&](QWidget* modal) {
    if (auto* choice = qobject_cast<PrintChoiceDialog*>(modal)) {
      choice->accept();
    } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
      auto* widget = preview->findChild<QPrintPreviewWidget*>();
      if (widget) previewPages = widget->pageCount();
      EXPECT_EQ(widget->viewMode(), QPrintPreviewWidget::FacingPagesView);
      EXPECT_EQ(widget->currentPage(), 1);
      EXPECT_FALSE(m_frame->View()->Printing());  // between two drawings of the preview
      preview->reject();
    }
  });
  EXPECT_EQ(previewPages, 2);
  EXPECT_FALSE(m_frame->View()->Printing());
}

TEST_F(PrintingTest, MainStatisticsPrintToAPdfFileOfTheJobsPages) {
  struct Case {
    std::string log;
    int pages;
  };
  const Case cases[] = {{kServerSample, 1}, {WriteLog(59), 1}, {WriteLog(60), 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log);
    ASSERT_TRUE(Load(c.log));
    std::string pdf = m_start + "/main.pdf";
    std::string error;
    ASSERT_TRUE(PrintToPdf(m_frame->Doc(), 0, pdf, &error)) << error;
    EXPECT_EQ(PdfPages(pdf), c.pages);
  }
  std::string error;
  EXPECT_FALSE(PrintToPdf(m_frame->Doc(), 0, m_start + "/no/such/folder/x.pdf", &error));
  EXPECT_NE(error.find("no/such/folder/x.pdf"), std::string::npos) << error;
  EXPECT_TRUE(m_prompter.Messages().empty());
}

}  // namespace
}  // namespace vexor
