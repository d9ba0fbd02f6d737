// The program's own files read back from fuzzed bytes: data files, variable files and the
// settings file. Whatever opens must save again, and what was saved must open to the same.
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "Harness.h"
#include "base/Archive.h"
#include "customvars/VariableFile.h"
#include "platform/ScriptedPrompter.h"
#include "stats/DataFile.h"
#include "stats/LogSelection.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"

namespace vexor::fuzz {
namespace {

std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  FileSource source;
  Require(source.Open(path), "a saved file can be read back");
  bytes.resize(source.Size());
  size_t done = 0;
  while (done < bytes.size()) {
    size_t got = source.ReadSome(bytes.data() + done, bytes.size() - done);
    Require(got > 0, "a saved file reads to its end");
    done += got;
  }
  return bytes;
}

// Opens path into a fresh document; true when it opened.
bool Open(const std::string& path, VexoriumDoc& doc, ScriptedPrompter& prompter) {
  LogSelection selection;
  return vexor::OpenDataFile(doc, selection, prompter, ScratchFolder(), path);
}

template <typename Set>
void RoundTripVariables(std::string_view bytes) {
  MemorySource source(bytes);
  ArchiveReader reader(source);
  int32_t count = 0;
  Set slots{};
  if (!ReadVariableSet(reader, &count, &slots)) return;
  Require(count >= 0 && count <= 49, "a variable file's count stays within 0 to 49");

  StringSink written;
  {
    ArchiveWriter writer(written);
    WriteVariableSet(writer, count, slots);
  }
  MemorySource again(written.Bytes());
  ArchiveReader rereader(again);
  int32_t recount = 0;
  Set reread{};
  Require(ReadVariableSet(rereader, &recount, &reread), "a written variable file reads again");
  Require(recount == count && reread == slots, "a variable file reads back as it was written");
}

}  // namespace

void OpenDataFile(const uint8_t* data, size_t size) {
  std::string path = WriteScratchFile("fuzzed.vxd", Bytes(data, size));
  VexoriumDoc doc;
  ScriptedPrompter prompter;
  if (!Open(path, doc, prompter)) {
    Require(prompter.Messages().size() == 1, "a refused data file says so once");
    Require(doc.nameCount == 0 && doc.gameCount == 0, "a refused data file changes nothing");
    return;
  }
  ExerciseDocument(doc);

  std::string error;
  std::string saved = ScratchFolder() + "/saved.vxd";
  Require(SaveDataFile(doc, saved, &error), "an opened data file saves");
  VexoriumDoc reopened;
  Require(Open(saved, reopened, prompter), "a saved data file opens");
  std::string resaved = ScratchFolder() + "/resaved.vxd";
  Require(SaveDataFile(reopened, resaved, &error), "a reopened data file saves");
  Require(FileBytes(saved) == FileBytes(resaved), "saving what was opened changes nothing");
}

void ReadVariableFile(const uint8_t* data, size_t size) {
  RoundTripVariables<ClientVariableSet>(Bytes(data, size));
  RoundTripVariables<ServerVariableSet>(Bytes(data, size));
}

void ReadSettingsFile(const uint8_t* data, size_t size) {
  std::string start = ScratchFolder() + "/settings";
  std::filesystem::create_directories(start + "/config");
  WriteScratchFile("settings/config/data.dat", Bytes(data, size));
  VexoriumDoc doc;
  LoadSettings(doc, start);

  std::string error;
  Require(SaveSettings(start, doc.logDirectory, doc.options, &error), "the settings save");
  std::string saved = FileBytes(SettingsPath(start));
  VexoriumDoc reread;
  LoadSettings(reread, start);
  Require(reread.logDirectory == doc.logDirectory, "the log directory reads back");
  Require(SaveSettings(start, reread.logDirectory, reread.options, &error), "they save again");
  Require(FileBytes(SettingsPath(start)) == saved, "settings read back as they were saved");
}

const std::vector<Harness>& Harnesses() {
  static const std::vector<Harness> harnesses = {
      {"server_log", LoadServerLog},
      {"client_log", LoadClientLog},
      {"log_with_variables", LoadLogWithVariables},
      {"data_file", OpenDataFile},
      {"variable_file", ReadVariableFile},
      {"settings_file", ReadSettingsFile},
  };
  return harnesses;
}

const Harness* FindHarness(std::string_view name) {
  for (const Harness& harness : Harnesses()) {
    if (name == harness.name) return &harness;
  }
  return nullptr;
}

}  // namespace vexor::fuzz
