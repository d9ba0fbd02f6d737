// Whole loads of fuzzed logs through the loading driver, as the command line runs them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "Harness.h"
#include "VariableDefinitions.h"
#include "ops/LoadDriver.h"
#include "platform/ScriptedPrompter.h"
#include "stats/DataFile.h"
#include "stats/LogSelection.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor::fuzz {
namespace {

constexpr std::string_view kClientLogMark = "logfile opened on Sun May 12 13:15:48 2024\n";

std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The load reads its options from the settings file of the start directory: written from the
// options line, removed when there is none.
void UseOptions(std::string_view definitions) {
  Options options;
  std::error_code ignored;
  std::filesystem::remove(SettingsPath(ScratchFolder()), ignored);
  if (!OptionsLine(definitions, &options)) return;
  std::string error;
  Require(SaveSettings(ScratchFolder(), "", options, &error), "the options can be saved");
}

// What a load left: whether it succeeded, and the document saved as a data file.
struct Loaded {
  bool ok = false;
  std::string dataFile;
};

// Loads the log after the variables of the definition lines are defined; a load either
// succeeds within the limits or has said why it did not.
Loaded LoadWith(const std::string& path, std::string_view definitions, bool singleReading) {
  UseOptions(definitions);
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  LoadDriver driver(doc, selection, prompter, ScratchFolder());
  driver.OnNewDocument();  // start-up
  DefineVariables(definitions, doc);

  selection.selectedLogPath = path;
  selection.selectedFileCount = 1;
  driver.SetReportEnabled(false);
  driver.SetSingleReading(singleReading);
  Loaded loaded;
  if (!driver.OnNewDocument()) {
    Require(!prompter.Messages().empty(), "a failed load says why");
    return loaded;
  }
  Require(doc.nameCount >= 0 && doc.nameCount <= 2500, "the name count stays within its limit");
  Require(doc.gameCount >= 0 && doc.gameCount <= 5000, "the game count stays within its limit");
  loaded.ok = true;
  std::string error;
  std::string saved = ScratchFolder() + "/saved.dat";
  Require(SaveDataFile(doc, saved, &error), "the data file is saved");
  std::ifstream in(saved, std::ios::binary);
  loaded.dataFile.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  ExerciseDocument(doc);
  return loaded;
}

// A log loaded alone is read once; read in the two passes of other loads, it must load the
// same document.
void Load(std::string_view log, std::string_view definitions) {
  std::string path = WriteScratchFile("games.log", log);
  Loaded single = LoadWith(path, definitions, true);
  Loaded twice = LoadWith(path, definitions, false);
  Require(single.ok == twice.ok && single.dataFile == twice.dataFile,
          "a log read once loads what its two passes load");
}

}  // namespace

void LoadServerLog(const uint8_t* data, size_t size) {
  Load(Bytes(data, size), {});
}

void LoadClientLog(const uint8_t* data, size_t size) {
  std::string log(kClientLogMark);
  log.append(Bytes(data, size));
  Load(log, {});
}

void LoadLogWithVariables(const uint8_t* data, size_t size) {
  std::string_view bytes = Bytes(data, size);
  size_t end = bytes.find("\n--\n");
  if (end == std::string_view::npos) {
    Load(bytes, {});
    return;
  }
  Load(bytes.substr(end + 4), bytes.substr(0, end));
}

}  // namespace vexor::fuzz
