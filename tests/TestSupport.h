// Test helpers: a scratch folder per test, log files written from short literal lines, and a
// load run through the discovery pass, the sizing and the statistics pass.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "log/LogAnalysis.h"
#include "ops/LoadDriver.h"
#include "platform/Progress.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor::bench {
struct GeneratorOptions;
class GeneratorSummary;
}  // namespace vexor::bench

namespace vexor::test {

// The log the generator writes for the options, with its summary when one is asked for.
std::string Generate(const bench::GeneratorOptions& options,
                     bench::GeneratorSummary* summary = nullptr);

// A fresh empty folder, removed when the object goes away.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // The path of a file in the folder.
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  // Writes bytes to a file of the folder and returns its path.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string m_path;
};

std::string ReadFile(const std::string& path);

// size bytes of every value, the same for the same seed.
std::string RandomBytes(size_t size, uint32_t seed);

// The text with every line feed written as carriage return and line feed.
std::string WithCarriageReturns(std::string_view text);

// Writes a log of lines no buffer holds: head, a line of 100 MB made of pattern repeated, a
// line end, after, and a last line of 2 MB without a line end.
void WriteLogWithHugeLines(const std::string& path, std::string_view head, std::string_view pattern,
                           std::string_view after);

// Joins lines with "\n" after each (a complete log file).
std::string Lines(std::initializer_list<std::string_view> lines);

// A server log line at the given game clock, e.g. ServerLine("0:12", "Kill: 2 3 7: A killed B by
// MOD_ROCKET").
std::string At(std::string_view clock, std::string_view event);

// The two lines of a client connecting under a name (and optional model for the team).
std::string Connect(std::string_view clock, int client, std::string_view rawName,
                    std::string_view model = "sarge");
std::string InitGame(std::string_view clock, std::string_view map = "q3dm17", int gameType = 0,
                     int fragLimit = 20, int timeLimit = 15);

// A whole game of Alice and Bob on q3dm17 (odd rails) or q3dm6: Alice's rails, one rocket of
// Bob's, "ShutdownGame:".
std::string DuelGame(int rails);

// A server variable "rails" on "Kill:" lines with MOD_RAILGUN and the given ids.
ServerVariable KillVariable(int32_t id1, int32_t id2, int32_t id3);

// The document with a load of log files run through both passes.
class LoadFixture {
 public:
  LoadFixture();

  // Writes a log file into the scratch folder and returns its path.
  std::string WriteLog(const std::string& name, std::string_view bytes);
  // Runs the discovery pass over the files, sizes the document and runs the statistics pass.
  // False when a pass failed.
  bool Load(const std::vector<std::string>& paths);
  bool LoadText(std::string_view bytes) { return Load({WriteLog("games.log", bytes)}); }

  // The record of the player with this key name (fails the test when there is none).
  const PlayerRecord& Player(std::string_view name) const;
  int32_t PlayerNumber(std::string_view name) const;
  const GameRecord& Game(int32_t g) const { return doc.games[static_cast<size_t>(g)]; }
  // Every record 1 to the name count carries the name of the same number.
  void ExpectRecordsMatchNames() const;

  TempFolder folder;
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
};

// A whole load through the loading driver, as the command line runs one (without the report
// unless asked for). onFileStarted runs when a pass begins a file, before it is opened.
class DriverLoad : public Progress {
 public:
  DriverLoad();

  // Loads the files (one or several) as a new document; false when the load failed or was
  // refused.
  bool LoadFiles(const std::vector<std::string>& paths);
  std::string Write(const std::string& name, std::string_view bytes) {
    return folder.Write(name, bytes);
  }
  // The text of the last message shown, or "" when none was.
  std::string LastMessage() const;

  void StepStarted(WorkStep pass, int fileIndex, int fileCount) override;
  void BytesDone(uint64_t, uint64_t) override {}
  void Close() override { ++closed; }

  std::function<void(WorkStep, int)> onFileStarted;
  int closed = 0;
  TempFolder folder;
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  LoadDriver driver;
};

// A client console log: the "logfile opened on ..." line that marks one, then the lines, each
// followed by "\n".
std::string ClientLog(std::initializer_list<std::string_view> lines);

// Hand-built documents. AddPlayer makes record name count + 1 the player of that name, with the
// given totals and the time text of the seconds, and returns its number.
int32_t AddPlayer(VexoriumDoc& doc, const std::string& name, int32_t frags = 0, int32_t deaths = 0,
                  int32_t suicides = 0, int32_t seconds = 0);
// Variables 1 to n of a set, named prefix + number, visible unless listed in hidden.
void DefineClientVariables(VexoriumDoc& doc, int32_t n, const std::string& prefix,
                           std::initializer_list<int32_t> hidden = {});
void DefineServerVariables(VexoriumDoc& doc, int32_t n, const std::string& prefix,
                           std::initializer_list<int32_t> hidden = {});

}  // namespace vexor::test
