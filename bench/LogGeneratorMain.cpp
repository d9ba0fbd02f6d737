// vexor-loggen: writes a generated log (see HelpText) and reports its size and the time taken.
#include <chrono>
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "LogGenerator.h"
#include "VariableSets.h"
#include "base/AtomicFile.h"
#include "base/StringPrintf.h"

namespace {

using vexor::bench::GeneratorOptions;
using vexor::bench::GeneratorSummary;

// Standard output as a byte sink; a failed write is remembered.
class StandardOutput : public vexor::ByteSink {
 public:
  void Write(const void* data, size_t size) override {
    if (std::fwrite(data, 1, size, stdout) != size) m_failed = true;
  }
  bool Close() { return std::fflush(stdout) == 0 && !m_failed; }

 private:
  bool m_failed = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "vexor-loggen: %s\n", message.c_str());
  return 1;
}

bool WriteSummary(const GeneratorOptions& options, const GeneratorSummary& summary,
                  std::string* error) {
  vexor::AtomicFile file(false);
  if (!file.Open(options.summary)) {
    *error = file.Error();
    return false;
  }
  file.Write(summary.Text());
  if (file.Commit()) return true;
  *error = file.Error();
  return false;
}

// The log goes to a temporary file renamed over the target when complete, so that a failed
// run never leaves half a log behind.
bool WriteLog(const GeneratorOptions& options, GeneratorSummary* summary, std::string* error) {
  if (options.out == "-") {
    StandardOutput out;
    vexor::bench::GenerateLog(options, out, summary);
    if (!out.Close()) *error = "standard output cannot be written";
    return error->empty();
  }
  vexor::AtomicFile file(false);
  if (!file.Open(options.out)) {
    *error = file.Error();
    return false;
  }
  vexor::bench::GenerateLog(options, file, summary);
  if (file.Commit()) return true;
  *error = file.Error();
  return false;
}

vexor::bench::VariableStyle VariableStyleOf(const vexor::bench::GeneratorOptions& options) {
  using vexor::bench::VariableStyle;
  if (!options.crowdedVariables) return VariableStyle::kSpread;
  return options.kind == vexor::bench::LogKind::kClient ? VariableStyle::kCrowdedClientLog
                                                        : VariableStyle::kCrowdedServerLog;
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  std::string error;
  switch (vexor::bench::ParseCommandLine(argc - 1, argv + 1, &options, &error)) {
    case vexor::bench::CommandLineResult::kHelp:
      std::fputs(vexor::bench::HelpText().c_str(), stdout);
      return 0;
    case vexor::bench::CommandLineResult::kError:
      std::fprintf(stderr, "vexor-loggen: %s\nTry \"vexor-loggen --help\".\n", error.c_str());
      return 2;
    case vexor::bench::CommandLineResult::kRun:
      break;
  }
  auto start = std::chrono::steady_clock::now();
  GeneratorSummary summary;
  if (!WriteLog(options, &summary, &error)) return Fail(error);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!options.summary.empty() && !WriteSummary(options, summary, &error)) return Fail(error);
  if (!options.clientVars.empty() &&
      !vexor::bench::WriteClientVariableFile(options.clientVars, options.variableCount, &error,
                                             VariableStyleOf(options))) {
    return Fail(error);
  }
  if (!options.serverVars.empty() &&
      !vexor::bench::WriteServerVariableFile(options.serverVars, options.variableCount, &error,
                                             VariableStyleOf(options))) {
    return Fail(error);
  }
  if (!options.quiet) {
    double megabytes = static_cast<double>(summary.Get("bytes")) / (1024.0 * 1024.0);
    std::string report = vexor::StringPrintf(
        "%s: %lld games, %lld names, %lld lines, %.1f MB in %.2f s (%.0f MB/s)\n",
        options.out == "-" ? "standard output" : options.out.c_str(),
        static_cast<long long>(summary.Get("games")), static_cast<long long>(summary.Get("names")),
        static_cast<long long>(summary.Get("lines")), megabytes, seconds,
        seconds > 0 ? megabytes / seconds : 0.0);
    // With the log on standard output the report must not mix into it.
    std::fputs(report.c_str(), options.out == "-" ? stderr : stdout);
  }
  return 0;
}
