// vexor: the command-line front end. Runs the same document code as the desktop program,
// without a display.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleProgress.h"
#include "app/cli/FollowCommand.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "ops/DocumentOperations.h"
#include "platform/ConsolePrompter.h"
#include "stats/LogCleaner.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/ChartGeometry.h"
#include "ui/GraphBuilder.h"
#include "ui/GraphChoice.h"
#include "ui/PrintTables.h"
#include "ui/RatingTable.h"
#include "ui/SvgCanvas.h"

#ifndef VEXOR_BUILD_ID
#define VEXOR_BUILD_ID "unknown"
#endif

namespace vexor {
namespace {

constexpr int kExitUsage = 2;

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "vexor: %s\nTry 'vexor --help' for more information.\n", problem.c_str());
  return kExitUsage;
}

void PrintSummary(const VexoriumDoc& doc, const LogSelection& selection) {
  const char* format = selection.selectedFileCount == 1
                           ? "Loaded %4d players and %4d games from %2d log file.\n"
                           : "Loaded %4d players and %4d games from %2d log files.\n";
  std::printf(format, doc.nameCount, doc.gameCount, selection.selectedFileCount);
}

// The table after a load or open (--table).
void PrintTableOf(VexoriumDoc& doc, const std::string& name) {
  int code = 0;
  PrintTable table;
  if (name == kRatingTableName) {
    BuildRatingTable(doc, &table);
  } else {
    PrintChoiceFromTableName(name, &code);
    BuildPrintTable(doc, code, &table);
  }
  // A table of more columns than a page holds comes in blocks, a blank line between them.
  std::vector<PrintTable> blocks = PrintBlocks(table);
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (b > 0) std::fputs("\n", stdout);
    std::fputs(FormatTextTable(blocks[b]).c_str(), stdout);
  }
}

// The exports after a load or open, in their order: CSV, data file, JSON. False when one failed
// (its message is shown); the later ones are not attempted.
bool RunExports(const CliRequest& request, DocumentOperations& operations) {
  if (!request.csv.empty() && !operations.ExportCsv(request.csv, request.gameLines)) return false;
  if (!request.save.empty() && !operations.SaveDataFile(request.save)) return false;
  return request.json.empty() || operations.ExportJson(request.json);
}

// --graph: the chart window's graph of the named players and statistics, as SVG. A choice the
// desktop program's "Draw Graph" would refuse is refused with its warnings.
bool WriteGraph(const CliRequest& request, const VexoriumDoc& doc, Prompter& prompter) {
  GraphChoice choice;
  choice.cumulative = request.cumulative;
  choice.playedOnly = request.playedOnly;
  std::string error;
  if (!ChoiceFromNames(doc, SplitList(request.players), SplitList(request.stats), &choice,
                       &error)) {
    std::fprintf(stderr, "vexor: --graph: %s\n", error.c_str());
    return false;
  }
  std::vector<std::string> warnings = DrawGraphWarnings(choice);
  for (const std::string& warning : warnings)
    prompter.Inform(warning, kGraphWarningCaption);
  if (!warnings.empty()) return false;
  ChartStyle style = ChartStyle::kClassic;
  if (!request.graphStyle.empty()) ChartStyleFromName(request.graphStyle, &style);
  SvgCanvas canvas(kChartWindowSide, kChartWindowSide);
  DrawGraph(canvas, kChartWindowSide, kChartWindowSide, BuildGraph(doc, choice), style);
  if (canvas.Save(request.graph, &error)) return true;
  std::fprintf(stderr, "vexor: %s\n", error.c_str());
  return false;
}

// --site: the web site, with the progress shown as the load's is.
bool WriteSite(const CliRequest& request, DocumentOperations& operations) {
  ConsoleProgress progress;
  if (!request.quiet && (request.progress || ::isatty(STDERR_FILENO))) {
    operations.SetProgress(&progress);
  }
  bool written = operations.WriteSite(request.site);
  operations.SetProgress(nullptr);
  return written;
}

// --clean: the outcome is shown as the desktop program shows it; --quiet keeps only failures.
int Clean(const CliRequest& request) {
  VexoriumDoc doc;
  LogSelection selection;
  ConsolePrompter prompter;
  prompter.SetNoticesShown(!request.quiet);
  DocumentOperations operations(doc, selection, prompter, request.directory);
  CleanResult result = operations.CleanLogFile(request.clean);
  bool ok = result.status == CleanStatus::kCleaned || result.status == CleanStatus::kNothingFound;
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

// What a load or open is followed by: the summary, the table, the exports and the graph. False
// when one of them failed (its message is shown).
bool WriteOutputs(const CliRequest& request, DocumentOperations& operations, VexoriumDoc& doc,
                  const LogSelection& selection, Prompter& prompter, bool summary) {
  if (summary && !request.quiet) PrintSummary(doc, selection);
  if (!request.table.empty()) PrintTableOf(doc, request.table);
  return RunExports(request, operations) &&
         (request.graph.empty() || WriteGraph(request, doc, prompter)) &&
         (request.site.empty() || WriteSite(request, operations));
}

int Run(const CliRequest& request) {
  if (!request.clean.empty()) return Clean(request);
  std::string start = request.directory.empty() ? CurrentFolder() : request.directory;
  if (!FileExists(start)) {
    std::fprintf(stderr, "vexor: the start directory \"%s\" does not exist\n", start.c_str());
    return kExitFailed;
  }
  // The document lives until the process ends and is never freed: handing its tens of
  // megabytes back a block at a time would cost a twentieth of a large load, for nothing.
  static VexoriumDoc* const kDocument = new VexoriumDoc;
  VexoriumDoc& doc = *kDocument;
  LogSelection selection;
  ConsolePrompter prompter;
  DocumentOperations operations(doc, selection, prompter, start);
  operations.Startup();
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) return kExitFailed;
  operations.SetReportEnabled(!request.noReport);
  if (request.follow) {
    return FollowLogs(request, operations, doc, selection, [&](bool first) {
      return WriteOutputs(request, operations, doc, selection, prompter, first);
    });
  }

  bool loaded;
  if (!request.open.empty()) {
    loaded = operations.OpenDataFile(request.open);
  } else {
    DocumentOperations::SelectLogs(request.logs, &selection);
    ConsoleProgress progress;
    if (ShowsProgress(request)) operations.SetProgress(&progress);
    loaded = operations.LoadLogs();
    operations.SetProgress(nullptr);
  }
  if (!loaded) return kExitFailed;
  // A report page that could not be written has shown its message; the statistics stand.
  bool reportWritten = operations.ReportWritten();
  bool exported = WriteOutputs(request, operations, doc, selection, prompter, true);
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
