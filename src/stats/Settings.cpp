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

namespace {

// After the fields every version writes, the display flags of the other games' weapons, by
// weapon key: a count, then a key and a flag each. Written only when one of them is off, so that
// a file of the options every earlier version knows keeps its bytes.
constexpr int32_t kMostOtherWeapons = 255;

bool AllOtherWeaponsShown(const Options& options) {
  for (int32_t flag : options.otherWeaponDisplay) {
    if (flag == 0) return false;
  }
  return true;
}

void ReadOtherWeaponFlags(ArchiveReader& archive, Options* options) {
  int32_t count = 0;
  if (!archive.ReadInt32(&count) || count < 0 || count > kMostOtherWeapons) return;
  for (int32_t i = 0; i < count; ++i) {
    std::string key;
    int32_t flag = 0;
    if (!archive.ReadString(&key) || !archive.ReadInt32(&flag)) return;
    WeaponId weapon = WeaponOfKey(key);
    if (weapon >= kWeaponCount) {
      options->otherWeaponDisplay[static_cast<size_t>(weapon - kWeaponCount)] = flag == 0 ? 0 : 1;
    }
  }
}

}  // namespace

bool Options::Shows(WeaponId weapon) const {
  if (weapon < kWeaponCount) {
    for (size_t flag = 0; flag < kDisplayOrder.size(); ++flag) {
      if (Index(kDisplayOrder[flag]) == weapon) return weaponDisplay[flag] != 0;
    }
    return false;
  }
  return otherWeaponDisplay[static_cast<size_t>(weapon - kWeaponCount)] != 0;
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
  ReadOtherWeaponFlags(archive, &options);
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
  if (!AllOtherWeaponsShown(options)) {
    archive.WriteInt32(kOtherWeaponCount);
    for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w) {
      archive.WriteString(WeaponInfoOf(w).key);
      archive.WriteInt32(options.Shows(w) ? 1 : 0);
    }
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
