// vexor-gui: the desktop program.
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <string>

#include "app/gui/GuiText.h"
#include "app/gui/MainFrame.h"
#include "app/gui/Pictures.h"
#include "app/gui/Printing.h"
#include "app/gui/QtPrompter.h"
#include "app/gui/StartRequest.h"
#include "ops/DocumentOperations.h"
#include "platform/ConsolePrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintTables.h"
#include "ui/ShellLogic.h"

#ifndef VEXOR_BUILD_ID
#define VEXOR_BUILD_ID "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: vexor-gui [OPTIONS] [LOG...]\n"
    "       vexor-gui [OPTIONS] --open FILE\n"
    "       vexor-gui --print-pdf FILE.pdf [--print-choice CHOICE] [-C DIR]\n"
    "                 [--client-vars FILE] [--server-vars FILE] LOG...\n"
    "The Vexor desktop program: statistics of Quake 3 engine game logs.\n"
    "\n"
    "  -C DIR       keep the settings (DIR/config/data.dat) and the report (DIR/html) in DIR;\n"
    "               without it they are kept in $XDG_DATA_HOME/vexor (~/.local/share/vexor)\n"
    "  LOG...       load these logs (1 to 30) at start, as Open Games Log would\n"
    "  --open FILE  open this Vexor data file at start, as Open Vexor Data File would\n"
    "  --screen NAME\n"
    "               after the logs or the data file are in, show this screen: logged-data,\n"
    "               graphs, game-by-game or about (a load by itself ends on about)\n"
    "  --quit-after-load\n"
    "               end the program once the logs or the data file are in: exit status 0\n"
    "               after a successful load, 1 after a failed one; messages go to standard\n"
    "               error as \"CAPTION: TEXT\" (for scripts and tests)\n"
    "  --print-pdf FILE.pdf\n"
    "               load the logs, print one table into FILE.pdf as Print would, and exit\n"
    "               without showing a window (A4 or Letter as the locale has it)\n"
    "  --print-choice CHOICE\n"
    "               the table --print-pdf prints: main (the default), weapons, client1 ...\n"
    "               client6, server1 ... server6 (the custom variables 1-9, 10-18, ...)\n"
    "  --client-vars FILE, --server-vars FILE\n"
    "               with --print-pdf: before the load, install the custom variables of FILE\n"
    "               (a file saved with Save Vars), as Load Vars and Finish would\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "With --print-pdf, messages go to standard error as \"CAPTION: TEXT\" and the exit status\n"
    "is 0 on success, 1 when the load failed or the file could not be written, 2 on bad usage.\n";

// --print-pdf: the load as the command line runs it, then the table into the PDF file.
int PrintPdf(const vexor::GuiRequest& request, const std::string& start) {
  vexor::VexoriumDoc doc;
  vexor::LogSelection selection;
  vexor::ConsolePrompter prompter;
  vexor::DocumentOperations operations(doc, selection, prompter, start);
  operations.Startup();
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) return 1;
  vexor::DocumentOperations::SelectLogs(request.start.logs, &selection);
  if (!operations.LoadLogs()) return 1;
  // The print-choice dialog offers a block of custom variables only once enough are visible.
  int code = request.printChoice;
  if (!vexor::EnabledPrintChoices(doc)[static_cast<size_t>(code)]) {
    const vexor::PrintChoiceInfo& choice = vexor::kPrintChoices[static_cast<size_t>(code)];
    int block = (code - vexor::kPrintFirstClientBlock) % vexor::kPrintBlockCount;
    std::fprintf(stderr,
                 "vexor-gui: \"%s\" of the %s cannot be printed: fewer than %d are visible\n",
                 choice.caption, choice.groupBox, block * vexor::kPrintBlockColumns + 1);
    return 1;
  }
  std::string error;
  if (!vexor::PrintToPdf(doc, request.printChoice, request.printPdf, &error)) {
    std::fprintf(stderr, "vexor-gui: %s\n", error.c_str());
    return 1;
  }
  // A report page that could not be written has shown its message; the job still printed.
  return operations.ReportWritten() ? 0 : 1;
}

// Printing to PDF (and its options), the help and the version need no display: unless a platform is
// chosen, they run offscreen (from a script, a cron job or a terminal without a desktop).
void ChooseOffscreenWithoutWindow(int argc, char** argv) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--print-pdf" || argument == "--print-choice" || argument == "--client-vars" ||
        argument == "--server-vars" || argument == "--help" || argument == "-h" ||
        argument == "--version") {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The report's browser shares its drawing context with the widgets.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The arguments are read before the program needs a display, so that a mistyped option is
  // told as such on a terminal without one.
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  vexor::GuiRequest request;
  QString error;
  if (!vexor::ParseGuiArguments(arguments, &request, &error)) {
    std::fprintf(stderr, "vexor-gui: %s\nTry 'vexor-gui --help' for more information.\n",
                 qPrintable(error));
    return 2;
  }
  ChooseOffscreenWithoutWindow(argc, argv);
  QApplication app(argc, argv);
  // Qt takes the user's locale for the C library too; numbers in the report, the CSV and the
  // lists are written with a decimal point, as the command line writes them.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Vexor"));
  QApplication::setOrganizationName(QStringLiteral("Vexor"));
  QApplication::setApplicationVersion(QStringLiteral("1.40"));
  // The desktop entry (org.vexor.Vexor.desktop) that names the program's windows and icon.
  QApplication::setDesktopFileName(QStringLiteral("org.vexor.Vexor"));
  if (request.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (request.version) {
    std::printf("vexor-gui 1.40 (build %s)\n", VEXOR_BUILD_ID);
    return 0;
  }
  std::string start =
      vexor::StartDirectory(request.directory, qEnvironmentVariable("XDG_DATA_HOME").toStdString(),
                            QDir::homePath().toStdString());
  if (!QDir().mkpath(vexor::PathToQString(start))) {
    std::fprintf(stderr, "vexor-gui: the start directory \"%s\" cannot be created\n",
                 start.c_str());
    return 1;
  }
  if (!request.printPdf.empty()) return PrintPdf(request, start);
  QApplication::setWindowIcon(vexor::ApplicationIcon());
  // A run that quits after its load has nobody to answer message boxes: they go to standard
  // error, as the command line writes them.
  vexor::QtPrompter windowPrompter;
  vexor::ConsolePrompter consolePrompter;
  vexor::Prompter& prompter = request.start.quitAfterLoad
                                  ? static_cast<vexor::Prompter&>(consolePrompter)
                                  : static_cast<vexor::Prompter&>(windowPrompter);
  vexor::MainFrame frame(prompter, start);
  windowPrompter.SetOwner(&frame);
  frame.show();
  vexor::StartRequested(frame, request.start, [](int status) { QApplication::exit(status); });
  return QApplication::exec();
}
