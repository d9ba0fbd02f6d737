#include "customvars/VariableFile.h"

#include <algorithm>

#include "base/Archive.h"

namespace vexor {
namespace {

void WriteSlots(ArchiveWriter& archive, const ChangeSlots& slots) {
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    archive.WriteInt32(slots.*slot.change);
    archive.WriteInt32(slots.*slot.target);
    archive.WriteInt32(slots.*slot.value);
  }
}

bool ReadSlots(ArchiveReader& archive, ChangeSlots* slots) {
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    if (!archive.ReadInt32(&(slots->*slot.change)) || !archive.ReadInt32(&(slots->*slot.target)) ||
        !archive.ReadInt32(&(slots->*slot.value))) {
      return false;
    }
  }
  return true;
}

template <typename Set>
void WriteSet(ArchiveWriter& archive, int32_t count, const Set& slots) {
  count = std::clamp(count, 0, kMaxVariables);
  archive.WriteInt32(count);
  for (int32_t k = 1; k <= count; ++k) WriteVariable(archive, slots[static_cast<size_t>(k)]);
  archive.Flush();
}

template <typename Set>
bool ReadSet(ArchiveReader& archive, int32_t* count, Set* slots) {
  int32_t fileCount;
  if (!archive.ReadInt32(&fileCount) || fileCount < 0 || fileCount > kMaxVariables) return false;
  // Records are read into a copy so that a file that ends early leaves nothing half-replaced.
  Set read = *slots;
  for (int32_t k = 1; k <= fileCount; ++k) {
    if (!ReadVariable(archive, &read[static_cast<size_t>(k)])) return false;
  }
  *count = fileCount;
  *slots = std::move(read);
  return true;
}

}  // namespace

void WriteVariable(ArchiveWriter& archive, const ClientVariable& variable) {
  archive.WriteString(variable.name);
  archive.WriteInt32(variable.stringType);
  archive.WriteInt32(variable.ordinal);
  archive.WriteString(variable.searchString);
  WriteSlots(archive, variable);
  archive.WriteInt32(variable.visible);
}

void WriteVariable(ArchiveWriter& archive, const ServerVariable& variable) {
  archive.WriteString(variable.name);
  archive.WriteInt32(variable.ordinal);
  WriteSlots(archive, variable);
  archive.WriteInt32(variable.visible);
  archive.WriteString(variable.modstring);
  archive.WriteInt32(variable.id1);
  archive.WriteInt32(variable.id2);
  archive.WriteInt32(variable.id3);
  archive.WriteString(variable.idstring);
}

bool ReadVariable(ArchiveReader& archive, ClientVariable* variable) {
  return archive.ReadString(&variable->name) && archive.ReadInt32(&variable->stringType) &&
         archive.ReadInt32(&variable->ordinal) && archive.ReadString(&variable->searchString) &&
         ReadSlots(archive, variable) && archive.ReadInt32(&variable->visible);
}

bool ReadVariable(ArchiveReader& archive, ServerVariable* variable) {
  return archive.ReadString(&variable->name) && archive.ReadInt32(&variable->ordinal) &&
         ReadSlots(archive, variable) && archive.ReadInt32(&variable->visible) &&
         archive.ReadString(&variable->modstring) && archive.ReadInt32(&variable->id1) &&
         archive.ReadInt32(&variable->id2) && archive.ReadInt32(&variable->id3) &&
         archive.ReadString(&variable->idstring);
}

void WriteVariableSet(ArchiveWriter& archive, int32_t count, const ClientVariableSet& slots) {
  WriteSet(archive, count, slots);
}

void WriteVariableSet(ArchiveWriter& archive, int32_t count, const ServerVariableSet& slots) {
  WriteSet(archive, count, slots);
}

bool ReadVariableSet(ArchiveReader& archive, int32_t* count, ClientVariableSet* slots) {
  return ReadSet(archive, count, slots);
}

bool ReadVariableSet(ArchiveReader& archive, int32_t* count, ServerVariableSet* slots) {
  return ReadSet(archive, count, slots);
}

bool IsTeamArenaPath(std::string_view path) {
  constexpr std::string_view kTeamArenaFile = "teamarena_server.var";
  return path.size() >= kTeamArenaFile.size() &&
         path.substr(path.size() - kTeamArenaFile.size()) == kTeamArenaFile;
}

}  // namespace vexor
