// vexor: the command-line front end. Runs the same document code as the desktop program,
// without a display.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CommandLine.h"
#include "app/cli/ConsolePrompter.h"
#include "app/cli/ConsoleProgress.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "customvars/VariableWorkingCopy.h"
#include "stats/CsvExport.h"
#include "stats/DataFile.h"
#include "stats/JsonExport.h"
#include "stats/LogCleaner.h"
#include "stats/LoadDriver.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintTables.h"

#ifndef VEXOR_BUILD_ID
#define VEXOR_BUILD_ID "unknown"
#endif

namespace vexor {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "vexor: %s\nTry 'vexor --help' for more information.\n", problem.c_str());
  return kExitUsage;
}

// The logs as the open-file dialog hands them over: one file is the single selection; several
// are taken in order and the last becomes the selected path. A path without a three-letter
// extension gets ".cfg".
void SelectLogs(const std::vector<std::string>& logs, LogSelection* selection) {
  selection->selectedFileCount = static_cast<int32_t>(logs.size());
  if (logs.size() == 1) {
    selection->selectedLogPath = logs[0];
  } else {
    for (size_t i = 0; i < logs.size(); ++i) selection->selectedLogFiles[i] = logs[i];
    selection->selectedLogPath = logs.back();
  }
  std::string& path = selection->selectedLogPath;
  if (path.size() < 4 || path[path.size() - 4] != '.') path += ".cfg";
}

void PrintSummary(const CVexoriumDoc& doc, const LogSelection& selection) {
  const char* format = selection.selectedFileCount == 1
                           ? "Loaded %4d players and %4d games from %2d log file.\n"
                           : "Loaded %4d players and %4d games from %2d log files.\n";
  std::printf(format, doc.nameCount, doc.gameCount, selection.selectedFileCount);
}

// --client-vars and --server-vars, before the load. A bad file has shown its message; a file
// that cannot be opened is reported here.
bool InstallVariables(const CliRequest& request, CVexoriumDoc& doc, Prompter& prompter) {
  std::string error;
  bool ok = true;
  if (!request.clientVars.empty()) {
    ok = InstallClientVariableFile(doc, request.clientVars, prompter, &error);
  }
  if (ok && !request.serverVars.empty()) {
    ok = InstallServerVariableFile(doc, request.serverVars, prompter, &error);
  }
  if (!ok && !error.empty()) prompter.Inform(error, "Warning!");
  return ok;
}

// The exports after a load or open, in their order: table, CSV, data file, JSON. False when one
// failed (its message is shown); the later ones are not attempted.
bool RunExports(const CliRequest& request, CVexoriumDoc& doc, Prompter& prompter) {
  if (!request.table.empty()) {
    int code = 0;
    PrintTable table;
    PrintChoiceFromTableName(request.table, &code);
    BuildPrintTable(doc, code, &table);
    std::fputs(FormatTextTable(table).c_str(), stdout);
  }
  std::string error;
  bool ok = true;
  if (ok && !request.csv.empty()) ok = ExportCsv(doc, request.csv, request.gameLines, &error);
  if (ok && !request.save.empty()) ok = SaveDataFile(doc, request.save, &error);
  if (ok && !request.json.empty()) ok = ExportJson(doc, request.json, &error);
  if (!ok) prompter.Inform(error, "Warning!");
  return ok;
}

// --clean: the outcome is shown as the desktop program shows it; --quiet keeps only failures.
int Clean(const CliRequest& request) {
  CleanResult result = CleanLog(CleanLogPath(request.clean));
  bool ok = result.status == CleanStatus::kCleaned || result.status == CleanStatus::kNothingFound;
  if (!ok || !request.quiet) ConsolePrompter().Inform(result.message, result.caption);
  return ok ? kExitOk : kExitFailed;
}

// Standard output that could not be written (a redirection to a full disk) fails the run: a
// table or summary cut short is no success. A failure already reported keeps its status.
int FinishOutput(int status) {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
  std::fprintf(stderr, "vexor: the standard output cannot be written: %s\n",
               LastSystemError().c_str());
  return status == kExitOk ? kExitFailed : status;
}

int Run(const CliRequest& request) {
  if (!request.clean.empty()) return Clean(request);
  std::string start = request.directory.empty() ? CurrentFolder() : request.directory;
  if (!FileExists(start)) {
    std::fprintf(stderr, "vexor: the start directory \"%s\" does not exist\n", start.c_str());
    return kExitFailed;
  }
  CVexoriumDoc doc;
  LogSelection selection;
  ConsolePrompter prompter;
  LoadDriver driver(doc, selection, prompter, start);
  driver.OnNewDocument();  // start-up: settings and empty tables
  if (!InstallVariables(request, doc, prompter)) return kExitFailed;

  bool loaded;
  if (!request.open.empty()) {
    loaded = OpenDataFile(doc, selection, prompter, start, request.open, !request.noReport);
  } else {
    SelectLogs(request.logs, &selection);
    ConsoleProgress progress;
    bool showProgress = !request.quiet && (request.progress || ::isatty(STDERR_FILENO));
    if (showProgress) driver.SetProgress(&progress);
    driver.SetReportEnabled(!request.noReport);
    loaded = driver.OnNewDocument();
  }
  if (!loaded) return kExitFailed;
  // A report page that could not be written has shown its message; the statistics stand.
  bool reportWritten = request.open.empty() ? driver.ReportWritten() : prompter.Count() == 0;
  if (!request.quiet) PrintSummary(doc, selection);
  bool exported = RunExports(request, doc, prompter);
  return exported && reportWritten ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace vexor

int main(int argc, char** argv) {
  using namespace vexor;
  // Past a file size limit (ulimit -f) a write then fails with its error instead of the signal
  // ending the program half-way through a file and leaving its temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  CliRequest request;
  std::string error;
  if (!ParseCommandLine(arguments, &request, &error)) return UsageError(error);
  if (request.help) {
    std::fputs(UsageText().c_str(), stdout);
    return FinishOutput(kExitOk);
  }
  if (request.version) {
    std::printf("vexor 1.40 (build %s)\n", VEXOR_BUILD_ID);
    return FinishOutput(kExitOk);
  }
  return FinishOutput(Run(request));
}
