// vexor-parsebench: the floor under a load. Reads a log through the line parsers of its load on
// one thread and writes nothing into a document, so that a bench row can set what a load costs
// beside what cutting its lines alone costs.
//
//   vexor-parsebench [--runs N] [--client-vars FILE] [--server-vars FILE] [-C DIR] LOG
//
// The log is read as a load of it alone reads it: a server log twice, with the discovery pass's
// parser, then with the statistics pass's; a client log once, with the single reading's parser
// (the names it has not met before in the game and batch are looked up, as the reading's pass
// does). Prints the seconds of each reading (medians of the runs, default 1), the lines, names
// and variable hits they saw, and last "parse-seconds S" (all readings). -C is the folder whose
// settings are read, as for vexor.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "BenchArguments.h"
#include "base/TextHash.h"
#include "log/LineParsers.h"
#include "log/LogAnalysis.h"
#include "log/ReadAhead.h"
#include "ops/DocumentOperations.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace {

using namespace vexor;
using Clock = std::chrono::steady_clock;

using bench::BenchArguments;

constexpr char kUsage[] = "[--runs N] [--client-vars FILE] [--server-vars FILE] [-C DIR] LOG";

bool ParseArguments(int argc, char** argv, BenchArguments* request) {
  for (int i = 1; i < argc; ++i) {
    if (!ReadBenchArgument(argc, argv, &i, request)) return false;
  }
  return request->runs > 0 && request->inputs.size() == 1;
}

// The names of a client log in the order the reading met them.
class FoundNames : public LineParser::NameNumbers {
 public:
  void Note(std::string_view name) {
    if (!name.empty() && m_numbers.find(name) == m_numbers.end()) {
      m_numbers.emplace(std::string(name), static_cast<int32_t>(m_numbers.size()) + 1);
    }
  }
  int32_t NumberOf(std::string_view name) const override {
    auto found = m_numbers.find(name);
    return found == m_numbers.end() ? -1 : found->second;
  }
  size_t Count() const { return m_numbers.size(); }

 private:
  std::unordered_map<std::string, int32_t, TextHash, std::equal_to<>> m_numbers;
};

struct Reading {
  double seconds = 0;
  uint64_t lines = 0;
  uint64_t hits = 0;
  bool ok = false;
};

// One reading of the log through the parser; names, when given, learns every name the lines hold.
Reading Read(const std::string& log, const LineParser& parser, FoundNames* names) {
  Reading reading;
  Clock::time_point start = Clock::now();
  ReadAhead reader(ReadAhead::Threading::kNone);
  if (!reader.Open(log, &parser)) return reading;
  std::string_view line;
  const LineFacts* facts = nullptr;
  const LineBatch* batch = nullptr;
  while (reader.Next(&line, &facts, &batch)) {
    ++reading.lines;
    reading.hits += facts->hitCount;
    if (names != nullptr && facts->names != kNoNames) {
      // As the single reading, only names not yet named in the game and batch are looked up.
      const LineNames& lineNames = batch->NamesOf(*facts);
      for (int i = 0; i < 2; ++i) {
        if (lineNames.nameNumbers[i] != kNameSeenInGame) {
          names->Note(batch->Name(lineNames.names[i]));
        }
      }
    }
  }
  reading.ok = !reader.Failed();
  reading.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return reading;
}

// The reading of median time (the lines and hits are the same in every run).
Reading MedianReading(std::vector<Reading> readings) {
  std::sort(readings.begin(), readings.end(),
            [](const Reading& a, const Reading& b) { return a.seconds < b.seconds; });
  return readings[(readings.size() - 1) / 2];
}

void PrintReading(const char* pass, const Reading& reading) {
  std::printf("%-10s %7.3f s  %9llu lines  %9llu variable hits\n", pass, reading.seconds,
              static_cast<unsigned long long>(reading.lines),
              static_cast<unsigned long long>(reading.hits));
}

}  // namespace

int main(int argc, char** argv) {
  BenchArguments request;
  if (!ParseArguments(argc, argv, &request)) {
    return bench::BenchUsage("vexor-parsebench", "bad arguments", kUsage);
  }
  const std::string& log = request.inputs[0];
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  DocumentOperations operations(doc, selection, prompter, request.directory);
  operations.Startup();
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) {
    std::fprintf(stderr, "vexor-parsebench: the variable files could not be read\n");
    return 1;
  }
  LogKind kind = KindOfLog(log);
  if (kind == LogKind::kUnreadable) {
    std::fprintf(stderr, "vexor-parsebench: %s could not be read\n", log.c_str());
    return 1;
  }
  bool client = kind == LogKind::kClient;
  std::vector<Reading> discoveries;
  std::vector<Reading> statistics;
  size_t nameCount = 0;
  for (int run = 0; run < request.runs; ++run) {
    if (client) {
      FoundNames names;
      ClientLineParser once(doc.clientVars, doc.clientVarCount, ClientReading::kOnce);
      discoveries.push_back(Read(log, once, &names));
      nameCount = names.Count();
    } else {
      ServerLineParser scan(false, doc.serverVars, doc.serverVarCount);
      discoveries.push_back(Read(log, scan, nullptr));
      ServerLineParser parse(true, doc.serverVars, doc.serverVarCount);
      statistics.push_back(Read(log, parse, nullptr));
    }
    if (!discoveries.back().ok || (!client && !statistics.back().ok)) {
      std::fprintf(stderr, "vexor-parsebench: %s could not be read\n", log.c_str());
      return 1;
    }
  }
  if (client) {
    Reading once = MedianReading(discoveries);
    std::printf("client log, %zu names, read once; medians of %d runs\n", nameCount, request.runs);
    PrintReading("once", once);
    std::printf("parse-seconds %.4f\n", once.seconds);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::printf("server log; medians of %d runs\n", request.runs);
  Reading discovery = MedianReading(discoveries);
  Reading statistic = MedianReading(statistics);
  PrintReading("discovery", discovery);
  PrintReading("statistics", statistic);
  std::printf("parse-seconds %.4f\n", discovery.seconds + statistic.seconds);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
