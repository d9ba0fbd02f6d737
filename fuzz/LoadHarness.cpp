// Whole loads of fuzzed logs through the loading driver, as the command line runs them.
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "Harness.h"
#include "VariableDefinitions.h"
#include "ops/LoadDriver.h"
#include "platform/ScriptedPrompter.h"
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

// Loads the log after the variables of the definition lines are defined; a load either
// succeeds within the limits or has said why it did not.
void Load(std::string_view log, std::string_view definitions) {
  UseOptions(definitions);
  VexoriumDoc doc;
  LogSelection selection;
  ScriptedPrompter prompter;
  LoadDriver driver(doc, selection, prompter, ScratchFolder());
  driver.OnNewDocument();  // start-up
  DefineVariables(definitions, doc);

  selection.selectedLogPath = WriteScratchFile("games.log", log);
  selection.selectedFileCount = 1;
  driver.SetReportEnabled(false);
  if (!driver.OnNewDocument()) {
    Require(!prompter.Messages().empty(), "a failed load says why");
    return;
  }
  Require(doc.nameCount >= 0 && doc.nameCount <= 2500, "the name count stays within its limit");
  Require(doc.gameCount >= 0 && doc.gameCount <= 5000, "the game count stays within its limit");
  ExerciseDocument(doc);
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
