#include "stats/Settings.h"

#include <array>

#include "base/Archive.h"
#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr size_t kIntFieldCount = 15;

// Fields 2 to 16 of the file, after the log directory: nine display flags, auto-sort,
// threshold, group size, group start, sum games, hide short games.
int32_t* FieldOf(Options& options, size_t i) {
  if (i < kWeaponCount) return &options.weaponDisplay[i];
  static constexpr std::array<int32_t Options::*, kIntFieldCount - kWeaponCount> kRest = {
      &Options::autoSort,   &Options::shortGameThreshold, &Options::groupSize,
      &Options::groupStart, &Options::sumGames,           &Options::hideShortGames};
  return &(options.*kRest[i - kWeaponCount]);
}

// The two switches come last and are stored as 1 or 0.
bool IsSwitch(size_t i) {
  return i >= kIntFieldCount - 2;
}

}  // namespace

std::string SettingsPath(const std::string& startDirectory) {
  return JoinPath(startDirectory, "config/data.dat");
}

void VexoriumDoc::ReadSettings(ArchiveReader& archive) {
  std::string directory;
  if (!archive.ReadString(&directory)) return;
  logDirectory = std::move(directory);
  for (size_t i = 0; i < kIntFieldCount; ++i) {
    int32_t value;
    if (!archive.ReadInt32(&value)) return;
    *FieldOf(options, i) = IsSwitch(i) ? (value == 1 ? 1 : 0) : value;
  }
}

void LoadSettings(VexoriumDoc& doc, const std::string& startDirectory) {
  std::string path = SettingsPath(startDirectory);
  if (!FileExists(path)) {
    doc.logDirectory.clear();
    doc.options.sumGames = 0;
    doc.options.shortGameThreshold = 25;
    doc.options.hideShortGames = 1;
    doc.options.groupSize = 1;
    doc.options.groupStart = 1;
    return;
  }
  FileSource file;
  if (!file.Open(path)) return;
  ArchiveReader archive(file);
  doc.ReadSettings(archive);
}

void WriteSettings(ArchiveWriter& archive, const std::string& logDirectory,
                   const Options& options) {
  Options copy = options;
  archive.WriteString(logDirectory);
  for (size_t i = 0; i < kIntFieldCount; ++i) {
    int32_t value = *FieldOf(copy, i);
    archive.WriteInt32(IsSwitch(i) ? (value != 0 ? 1 : 0) : value);
  }
  archive.Flush();
}

bool SaveSettings(const std::string& startDirectory, const std::string& logDirectory,
                  const Options& options, std::string* error) {
  std::string path = SettingsPath(startDirectory);
  if (!CreateFolder(FolderOf(path))) {
    *error = StringPrintf("The file \"%s\" cannot be created: its folder \"%s\" cannot be made: %s",
                          path.c_str(), FolderOf(path).c_str(), LastSystemError().c_str());
    return false;
  }
  AtomicFile file;
  if (!file.Open(path)) {
    *error = file.Error();
    return false;
  }
  {
    ArchiveWriter archive(file);
    WriteSettings(archive, logDirectory, options);
  }
  if (!file.Commit()) {
    *error = file.Error();
    return false;
  }
  return true;
}

}  // namespace vexor
