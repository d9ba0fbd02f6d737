// vexor-parsebench: the floor under a load. Reads a log through the line parsers of both passes
// on one thread and writes nothing into a document, so that a bench row can set what a load
// costs beside what cutting its lines alone costs.
//
//   vexor-parsebench [--client-vars FILE] [--server-vars FILE] LOG
//
// The log is read twice, as a load reads it: with the discovery pass's parser, then with the
// statistics pass's. A client log's statistics parser numbers the names that the first reading
// found, as the load's does with the discovery pass's names. Prints the seconds of each reading,
// the lines, names and variable hits they saw, and last "parse-seconds S" (both readings).
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/TextHash.h"
#include "log/LineParsers.h"
#include "log/ReadAhead.h"
#include "ops/DocumentOperations.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace {

using namespace vexor;
using Clock = std::chrono::steady_clock;

struct Request {
  std::string clientVars;
  std::string serverVars;
  std::string log;
};

int Usage(const char* problem) {
  std::fprintf(stderr,
               "vexor-parsebench: %s\nusage: vexor-parsebench [--client-vars FILE] "
               "[--server-vars FILE] LOG\n",
               problem);
  return 2;
}

bool ParseArguments(int argc, char** argv, Request* request) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    bool hasValue = i + 1 < argc;
    if (argument == "--client-vars" && hasValue) {
      request->clientVars = argv[++i];
    } else if (argument == "--server-vars" && hasValue) {
      request->serverVars = argv[++i];
    } else if (request->log.empty() && !argument.empty() && argument[0] != '-') {
      request->log = argument;
    } else {
      return false;
    }
  }
  return !request->log.empty();
}

// The names of a client log in the order the first reading met them.
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

// One reading of the log through the parser; names, when given, notes every name the lines hold.
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
      // As the discovery pass, only names not yet named in the game and batch are looked up.
      const LineNames& lineNames = batch->NamesOf(*facts);
      for (int i = 0; i < 2; ++i) {
        if (lineNames.nameNumbers[i] != kNameSeenInGame)
          names->Note(batch->Name(lineNames.names[i]));
      }
    }
  }
  reading.ok = !reader.Failed();
  reading.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return reading;
}

bool IsClientLog(const std::string& log) {
  std::FILE* file = std::fopen(log.c_str(), "rb");
  if (file == nullptr) return false;
  char start[7] = {};
  size_t got = std::fread(start, 1, sizeof start, file);
  std::fclose(file);
  return std::string_view(start, got) == "logfile";
}

void PrintReading(const char* pass, const Reading& reading) {
  std::printf("%-10s %7.3f s  %9llu lines  %9llu variable hits\n", pass, reading.seconds,
              static_cast<unsigned long long>(reading.lines),
              static_cast<unsigned long long>(reading.hits));
}

}  // namespace

int main(int argc, char** argv) {
  Request request;
  if (!ParseArguments(argc, argv, &request)) return Usage("bad arguments");
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  DocumentOperations operations(doc, selection, prompter, ".");
  operations.Startup();
  if (!operations.InstallVariableFiles(request.clientVars, request.serverVars)) {
    std::fprintf(stderr, "vexor-parsebench: the variable files could not be read\n");
    return 1;
  }
  Reading discovery;
  Reading statistics;
  std::string kind = "server log";
  if (IsClientLog(request.log)) {
    FoundNames names;
    ClientLineParser scan(doc.clientVars, doc.clientVarCount, true);
    discovery = Read(request.log, scan, &names);
    ClientLineParser parse(doc.clientVars, doc.clientVarCount, false, &names);
    statistics = Read(request.log, parse, nullptr);
    kind = "client log, " + std::to_string(names.Count()) + " names";
  } else {
    ServerLineParser scan(false, doc.serverVars, doc.serverVarCount);
    discovery = Read(request.log, scan, nullptr);
    ServerLineParser parse(true, doc.serverVars, doc.serverVarCount);
    statistics = Read(request.log, parse, nullptr);
  }
  if (!discovery.ok || !statistics.ok) {
    std::fprintf(stderr, "vexor-parsebench: %s could not be read\n", request.log.c_str());
    return 1;
  }
  std::printf("%s\n", kind.c_str());
  PrintReading("discovery", discovery);
  PrintReading("statistics", statistics);
  std::printf("parse-seconds %.4f\n", discovery.seconds + statistics.seconds);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
