#include "FuzzSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/Archive.h"
#include "report/HtmlReport.h"
#include "stats/CsvExport.h"
#include "stats/JsonExport.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintTables.h"

namespace vexor::fuzz {
namespace {

// A fresh folder under the temporary folder, removed with everything in it at the end.
struct Scratch {
  Scratch() {
    path = (std::filesystem::temp_directory_path() / "vexor-fuzz-XXXXXX").string();
    Require(::mkdtemp(path.data()) != nullptr, "a scratch folder can be made");
  }
  ~Scratch() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  std::string path;
};

}  // namespace

void Require(bool condition, const char* rule) {
  if (condition) return;
  std::fprintf(stderr, "broken rule: %s\n", rule);
  std::abort();
}

const std::string& ScratchFolder() {
  static const Scratch scratch;
  return scratch.path;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  std::string path = ScratchFolder() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "a scratch file can be created");
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Require(std::fclose(file) == 0 && written, "a scratch file can be written");
  return path;
}

void ExerciseDocument(VexoriumDoc& doc) {
  StringSink json;
  WriteJson(doc, json);
  Require(IsValidUtf8(json.Bytes()), "the JSON export is valid UTF-8");

  std::string error;
  Require(ExportCsv(doc, ScratchFolder() + "/players.csv", true, &error), "the CSV export works");

  for (int code = 0; code < kPrintChoiceCount; ++code) {
    PrintTable table;
    if (BuildPrintTable(doc, code, &table)) FormatTextTable(table);
  }

  if (doc.gameCount <= kMaxReportedGames) {
    std::filesystem::create_directories(ScratchFolder() + "/html");
    Require(WriteHtmlReport(doc, ScratchFolder() + "/html", &error), "the report is written");
  }
}

}  // namespace vexor::fuzz
