// vexor-listbench: times what the desktop program does to the two statistics lists when the
// logged data screen is drawn after a load: fill both lists and sort each on its sort column.
//
//   vexor-listbench [--runs N] [--client-vars FILE] [--server-vars FILE] [-C DIR] LOG|DATA.dat
//
// The log (or the data file, by its ".dat" ending) is loaded once without a report, as the
// command line loads it; then every run fills and sorts both lists, once sorted on the name
// column (the start state) and once on a number column (main: "Suicides PH", weapons: the last
// column). Medians of the runs are printed, in milliseconds; the last line,
// "fill-and-sort-seconds S", is the slower of the two sorts' totals, for bench/run.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "ops/DocumentOperations.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/StatisticsList.h"

namespace {

using namespace vexor;
using Clock = std::chrono::steady_clock;

using bench::BenchArguments;

constexpr char kUsage[] =
    "[--runs N] [--client-vars FILE] [--server-vars FILE] [-C DIR] LOG|DATA.dat";

bool ParseArguments(int argc, char** argv, BenchArguments* request) {
  request->runs = 7;
  for (int i = 1; i < argc; ++i) {
    if (!ReadBenchArgument(argc, argv, &i, request)) return false;
  }
  return request->runs > 0 && request->inputs.size() == 1;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Loads the input into the document as the command line does, without the report.
bool Load(const BenchArguments& request, VexoriumDoc& doc, ScriptedPrompter& prompter) {
  LogSelection selection;
  DocumentOperations operations(doc, selection, prompter, request.directory);
  operations.Startup();  // settings and empty tables
  operations.SetReportEnabled(false);
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) return false;
  if (EndsWith(request.inputs[0], ".dat")) return operations.OpenDataFile(request.inputs[0]);
  DocumentOperations::SelectLogs({request.inputs[0]}, &selection);
  return operations.LoadLogs();
}

double Milliseconds(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[(values.size() - 1) / 2];
}

// Medians of one configuration's steps: fill main, fill weapons, sort main, sort weapons, all.
std::vector<double> TimeRuns(VexoriumDoc& doc, int runs, int mainColumn, int weaponColumn) {
  std::vector<std::vector<double>> steps(5);
  for (int run = 0; run < runs; ++run) {
    StatisticsList main(StatList::kMain);
    StatisticsList weapons(StatList::kWeapon);
    main.SetSortState(mainColumn, true);
    weapons.SetSortState(weaponColumn, true);
    Clock::time_point t0 = Clock::now();
    main.Fill(doc);
    Clock::time_point t1 = Clock::now();
    weapons.Fill(doc);
    Clock::time_point t2 = Clock::now();
    main.Sort(doc);
    Clock::time_point t3 = Clock::now();
    weapons.Sort(doc);
    Clock::time_point t4 = Clock::now();
    steps[0].push_back(Milliseconds(t0, t1));
    steps[1].push_back(Milliseconds(t1, t2));
    steps[2].push_back(Milliseconds(t2, t3));
    steps[3].push_back(Milliseconds(t3, t4));
    steps[4].push_back(Milliseconds(t0, t4));
  }
  std::vector<double> medians;
  for (const std::vector<double>& step : steps) {
    medians.push_back(Median(step));
  }
  return medians;
}

}  // namespace

int main(int argc, char** argv) {
  BenchArguments request;
  if (!ParseArguments(argc, argv, &request)) {
    return bench::BenchUsage("vexor-listbench", "bad arguments", kUsage);
  }
  VexoriumDoc doc;
  ScriptedPrompter prompter;
  if (!Load(request, doc, prompter)) {
    for (const RecordedMessage& message : prompter.Messages()) {
      std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
    }
    std::fprintf(stderr, "vexor-listbench: %s could not be loaded\n", request.inputs[0].c_str());
    return 1;
  }
  StatisticsList shape(StatList::kWeapon);
  shape.Fill(doc);
  std::printf("%d players; main list 10 columns, weapon list %d columns; %d runs\n", doc.nameCount,
              shape.ColumnCount(), request.runs);
  std::printf("%-24s %9s %9s %9s %9s %9s\n", "sorted on", "fill main", "fill weap", "sort main",
              "sort weap", "all (ms)");
  struct Configuration {
    const char* label;
    int mainColumn;
    int weaponColumn;
  };
  const Configuration configurations[] = {{"names", 0, 0},
                                          {"numbers (last columns)", 9, shape.ColumnCount() - 1}};
  double slowest = 0;
  for (const Configuration& configuration : configurations) {
    std::vector<double> medians =
        TimeRuns(doc, request.runs, configuration.mainColumn, configuration.weaponColumn);
    std::printf("%-24s %9.2f %9.2f %9.2f %9.2f %9.2f\n", configuration.label, medians[0],
                medians[1], medians[2], medians[3], medians[4]);
    slowest = std::max(slowest, medians[4]);
  }
  std::printf("fill-and-sort-seconds %.4f\n", slowest / 1000);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
