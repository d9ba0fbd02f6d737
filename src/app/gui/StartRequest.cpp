#include "app/gui/StartRequest.h"

#include <QCommandLineParser>
#include <QDir>
#include <QObject>
#include <array>
#include <memory>

#include "app/gui/GuiText.h"
#include "app/gui/MainFrame.h"
#include "stats/LogSelection.h"
#include "ui/PrintTables.h"

namespace vexor {
namespace {

struct ScreenName {
  const char* name;
  int screen;
};

constexpr std::array<ScreenName, 4> kScreenNames = {{
    {"logged-data", 1},
    {"graphs", 2},
    {"game-by-game", 3},
    {"about", 4},
}};

std::string AbsolutePath(const QString& path) {
  return PathFromQString(QDir::current().absoluteFilePath(path));
}

// The checks that span options, after each option has been read.
bool CheckCombination(const GuiRequest& request, QString* error) {
  const StartRequest& start = request.start;
  bool loading = !start.logs.empty() || !start.dataFile.empty();
  bool printOnly =
      request.printChoiceGiven || !request.clientVars.empty() || !request.serverVars.empty();
  struct Rule {
    bool broken;
    const char* message;
  };
  const Rule rules[] = {
      {start.logs.size() > static_cast<size_t>(LogSelection::kMaxFiles),
       "at most %1 logs can be loaded at once"},
      {!start.logs.empty() && !start.dataFile.empty(), "give either logs or --open FILE, not both"},
      {(start.screen != 0 || start.quitAfterLoad) && !loading,
       "--screen and --quit-after-load need logs or --open FILE"},
      {!request.printPdf.empty() && !start.dataFile.empty(),
       "--print-pdf loads logs; it does not go with --open"},
      {printOnly && request.printPdf.empty(),
       "--print-choice, --client-vars and --server-vars go with --print-pdf"},
      {!request.printPdf.empty() && start.logs.empty() && !request.help && !request.version,
       "--print-pdf needs at least one log"},
  };
  for (const Rule& rule : rules) {
    if (rule.broken) {
      *error = QString::fromLatin1(rule.message);
      if (error->contains(QLatin1String("%1"))) *error = error->arg(LogSelection::kMaxFiles);
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseGuiArguments(const QStringList& arguments, GuiRequest* request, QString* error) {
  QCommandLineParser parser;
  // The help is the program's own text; -h and --help only ask for it.
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption directory(QStringLiteral("C"), QString(), QStringLiteral("DIR"));
  const QCommandLineOption open(QStringLiteral("open"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption screen(QStringLiteral("screen"), QString(), QStringLiteral("NAME"));
  const QCommandLineOption quit(QStringLiteral("quit-after-load"));
  const QCommandLineOption printPdf(QStringLiteral("print-pdf"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption printChoice(QStringLiteral("print-choice"), QString(),
                                       QStringLiteral("CHOICE"));
  const QCommandLineOption clientVars(QStringLiteral("client-vars"), QString(),
                                      QStringLiteral("FILE"));
  const QCommandLineOption serverVars(QStringLiteral("server-vars"), QString(),
                                      QStringLiteral("FILE"));
  parser.addOptions({help, version, directory, open, screen, quit, printPdf, printChoice,
                     clientVars, serverVars});
  if (!parser.parse(arguments)) {
    *error = parser.errorText();
    return false;
  }
  request->help = parser.isSet(help);
  request->version = parser.isSet(version);
  if (parser.isSet(directory)) request->directory = PathFromQString(parser.value(directory));
  if (parser.isSet(open)) request->start.dataFile = AbsolutePath(parser.value(open));
  if (parser.isSet(screen) &&
      !ScreenFromName(parser.value(screen).toStdString(), &request->start.screen)) {
    *error = QStringLiteral("unknown screen '%1'").arg(parser.value(screen));
    return false;
  }
  request->start.quitAfterLoad = parser.isSet(quit);
  if (parser.isSet(printPdf)) request->printPdf = AbsolutePath(parser.value(printPdf));
  if (parser.isSet(printChoice)) {
    if (!PrintChoiceFromTableName(parser.value(printChoice).toStdString(), &request->printChoice)) {
      *error = QStringLiteral("unknown print choice '%1'").arg(parser.value(printChoice));
      return false;
    }
    request->printChoiceGiven = true;
  }
  if (parser.isSet(clientVars)) request->clientVars = AbsolutePath(parser.value(clientVars));
  if (parser.isSet(serverVars)) request->serverVars = AbsolutePath(parser.value(serverVars));
  for (const QString& log : parser.positionalArguments())
    request->start.logs.push_back(AbsolutePath(log));
  return CheckCombination(*request, error);
}

bool ScreenFromName(std::string_view name, int* screen) {
  for (const ScreenName& entry : kScreenNames) {
    if (name == entry.name) {
      *screen = entry.screen;
      return true;
    }
  }
  return false;
}

void StartRequested(MainFrame& frame, const StartRequest& request,
                    const std::function<void(int)>& quit) {
  if (request.logs.empty() && request.dataFile.empty()) return;
  // Only the start's own work is followed: later loads from the menus leave the screen alone.
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&frame, &MainFrame::workFinished, &frame,
                                 [&frame, request, quit, connection](bool ok) {
                                   QObject::disconnect(*connection);
                                   if (ok && request.screen != 0) frame.ShowScreen(request.screen);
                                   if (request.quitAfterLoad && quit) quit(ok ? 0 : 1);
                                 });
  if (!request.dataFile.empty()) {
    frame.OpenDataFile(request.dataFile);
  } else {
    frame.LoadLogs(request.logs);
  }
}

}  // namespace vexor
