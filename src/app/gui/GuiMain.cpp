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
#include "app/gui/QtPrompter.h"
#include "ui/ShellLogic.h"

#ifndef VEXOR_BUILD_ID
#define VEXOR_BUILD_ID "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: vexor-gui [OPTIONS] [LOG...]\n"
    "The Vexor desktop program: statistics of Quake 3 engine game logs.\n"
    "\n"
    "  -C DIR       keep the settings (DIR/config/data.dat) and the report (DIR/html) in DIR;\n"
    "               without it they are kept in $XDG_DATA_HOME/vexor (~/.local/share/vexor)\n"
    "  LOG...       load these logs (1 to 30) at start, as Open Games Log would\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n";

struct GuiRequest {
  std::string directory;
  std::vector<std::string> logs;
  bool help = false;
  bool version = false;
};

bool ParseArguments(const QStringList& arguments, GuiRequest* request, QString* error) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
      request->help = true;
    } else if (argument == QStringLiteral("--version")) {
      request->version = true;
    } else if (argument == QStringLiteral("-C")) {
      if (++i >= arguments.size()) {
        *error = QStringLiteral("option -C needs a directory");
        return false;
      }
      request->directory = vexor::PathFromQString(arguments[i]);
    } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
      *error = QStringLiteral("unknown option %1").arg(argument);
      return false;
    } else {
      request->logs.push_back(vexor::PathFromQString(QDir::current().absoluteFilePath(argument)));
    }
  }
  if (request->logs.size() > 30) {
    *error = QStringLiteral("at most 30 logs can be loaded at once");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The report's browser shares its drawing context with the widgets.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  // Qt takes the user's locale for the C library too; numbers in the report, the CSV and the
  // lists are written with a decimal point, as the command line writes them.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Vexor"));
  QApplication::setOrganizationName(QStringLiteral("Vexor"));
  QApplication::setApplicationVersion(QStringLiteral("1.40"));
  QApplication::setDesktopFileName(QStringLiteral("vexor-gui"));
  GuiRequest request;
  QString error;
  if (!ParseArguments(QApplication::arguments(), &request, &error)) {
    std::fprintf(stderr, "vexor-gui: %s\nTry 'vexor-gui --help' for more information.\n",
                 qPrintable(error));
    return 2;
  }
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
  QApplication::setWindowIcon(vexor::ApplicationIcon());
  vexor::QtPrompter prompter;
  vexor::MainFrame frame(prompter, start);
  prompter.SetOwner(&frame);
  frame.show();
  if (!request.logs.empty()) frame.LoadLogs(request.logs);
  return QApplication::exec();
}
