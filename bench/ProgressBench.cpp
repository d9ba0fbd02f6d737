// vexor-progressbench: how often a load tells its progress. Runs one load of the logs through
// DocumentOperations::LoadLogs, as the desktop program's worker thread does, with a progress
// that notes the time of every call, and prints the largest gap between two calls (counted
// from the start of the load to the closing of the progress) and the calls per second.
//
//   vexor-progressbench [-C DIR] [--client-vars FILE] [--server-vars FILE] [--no-report] LOG...
//
// Output, one line: "largest-gap-ms 12.3 calls-per-second 456.7 calls 1234 seconds 4.56
// gap-in <step>". Exit 1 when the load fails (its messages on standard error), 2 for bad usage.
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "ops/DocumentOperations.h"
#include "platform/Progress.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every step, in the order of WorkStep: a load of one log is read in the step kReading.
const char* StepName(vexor::WorkStep step) {
  static const char* const kNames[] = {"discovery", "statistics", "report", "opening", "saving",
                                       "exporting", "cleaning",   "site",   "reading"};
  auto index = static_cast<size_t>(step);
  return index < std::size(kNames) ? kNames[index] : "another step";
}

// Notes the time of every call and the step it belongs to.
class TimingProgress : public vexor::Progress {
 public:
  explicit TimingProgress(Clock::time_point start) { m_times.push_back({start, m_step}); }
  void StepStarted(vexor::WorkStep step, int, int) override {
    m_step = step;
    Note();
  }
  void BytesDone(uint64_t, uint64_t) override { Note(); }
  void Close() override { Note(); }

  // The largest gap in seconds and the step during which it ended.
  std::pair<double, vexor::WorkStep> LargestGap() const {
    std::pair<double, vexor::WorkStep> largest{0.0, vexor::WorkStep::kDiscovery};
    for (size_t i = 1; i < m_times.size(); ++i) {
      double gap = std::chrono::duration<double>(m_times[i].time - m_times[i - 1].time).count();
      if (gap > largest.first) largest = {gap, m_times[i].step};
    }
    return largest;
  }
  double Seconds() const {
    return std::chrono::duration<double>(m_times.back().time - m_times.front().time).count();
  }
  size_t Calls() const { return m_times.size() - 1; }

 private:
  struct Call {
    Clock::time_point time;
    vexor::WorkStep step;
  };
  void Note() { m_times.push_back({Clock::now(), m_step}); }

  vexor::WorkStep m_step = vexor::WorkStep::kDiscovery;
  std::vector<Call> m_times;
};

constexpr char kUsage[] = "[-C DIR] [--client-vars FILE] [--server-vars FILE] [--no-report] LOG...";

bool Parse(int argc, char** argv, vexor::bench::BenchArguments* request, bool* report) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--no-report") {
      *report = false;
    } else if (!ReadBenchArgument(argc, argv, &i, request)) {
      return false;
    }
  }
  return !request->inputs.empty() && request->runs == 1;
}

int PrintMessages(const vexor::ScriptedPrompter& prompter, int status) {
  for (const vexor::RecordedMessage& message : prompter.Messages()) {
    std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  vexor::bench::BenchArguments request;
  bool report = true;
  if (!Parse(argc, argv, &request, &report)) {
    return vexor::bench::BenchUsage("vexor-progressbench", "bad arguments", kUsage);
  }
  vexor::VexoriumDoc doc;
  vexor::LogSelection selection;
  vexor::ScriptedPrompter prompter;
  vexor::DocumentOperations operations(doc, selection, prompter, request.directory);
  operations.Startup();
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) {
    return PrintMessages(prompter, 1);
  }
  operations.SetReportEnabled(report);
  vexor::DocumentOperations::SelectLogs(request.inputs, &selection);
  TimingProgress progress(Clock::now());
  operations.SetProgress(&progress);
  if (!operations.LoadLogs()) return PrintMessages(prompter, 1);
  auto [gap, step] = progress.LargestGap();
  double seconds = progress.Seconds();
  std::printf("largest-gap-ms %.1f calls-per-second %.1f calls %zu seconds %.2f gap-in %s\n",
              gap * 1000, seconds > 0 ? static_cast<double>(progress.Calls()) / seconds : 0.0,
              progress.Calls(), seconds, StepName(step));
  return PrintMessages(prompter, 0);
}
