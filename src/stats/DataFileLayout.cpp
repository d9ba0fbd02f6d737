#include "stats/DataFileLayout.h"

#include <algorithm>
#include <cstring>

#include "base/Archive.h"

namespace vexor {
namespace {

int32_t FloatBits(float value) {
  int32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float BitsFloat(int32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Places of the fixed values after the nine weapon frags.
constexpr size_t kFrags = kWeaponCount;
constexpr size_t kDeaths = kFrags + 1;
constexpr size_t kSuicides = kFrags + 2;
constexpr size_t kSeconds = kFrags + 3;
constexpr size_t kFragsPerHour = kFrags + 4;
constexpr size_t kDeathsPerHour = kFrags + 5;
constexpr size_t kSuicidesPerHour = kFrags + 6;
constexpr size_t kTeam = kFrags + 7;
static_assert(kTeam + 1 == kGameBlockFixedInts);

// Counts 1 to count of a set, as count + 1 entries, or none when all are zero.
std::vector<int32_t> DecodeCounts(const int32_t* counts, int32_t count) {
  if (std::all_of(counts, counts + count, [](int32_t c) { return c == 0; })) return {};
  std::vector<int32_t> entries(static_cast<size_t>(count) + 1, 0);
  std::copy(counts, counts + count, entries.begin() + 1);
  return entries;
}

}  // namespace

void EncodeGameBlock(const PlayerGame& game, int32_t clientVarCount, int32_t serverVarCount,
                     int32_t* block) {
  for (size_t i = 0; i < kDataFileGameOrder.size(); ++i) {
    block[i] = game.weaponFrags[static_cast<size_t>(Index(kDataFileGameOrder[i]))];
  }
  block[kFrags] = game.frags;
  block[kDeaths] = game.deaths;
  block[kSuicides] = game.suicides;
  block[kSeconds] = game.seconds;
  block[kFragsPerHour] = FloatBits(game.fragsPerHour);
  block[kDeathsPerHour] = FloatBits(game.deathsPerHour);
  block[kSuicidesPerHour] = FloatBits(game.suicidesPerHour);
  block[kTeam] = game.team;
  int32_t* counts = block + kGameBlockFixedInts;
  for (int32_t v = 1; v <= clientVarCount; ++v)
    *counts++ = game.ClientVar(v);
  for (int32_t v = 1; v <= serverVarCount; ++v)
    *counts++ = game.ServerVar(v);
}

bool AnyNonZero(const int32_t* values, size_t n) {
  return std::any_of(values, values + n, [](int32_t value) { return value != 0; });
}

PlayerGame DecodeGameBlock(const int32_t* block, int32_t clientVarCount, int32_t serverVarCount) {
  PlayerGame game;
  for (size_t i = 0; i < kDataFileGameOrder.size(); ++i) {
    game.weaponFrags[static_cast<size_t>(Index(kDataFileGameOrder[i]))] = block[i];
  }
  game.frags = block[kFrags];
  game.deaths = block[kDeaths];
  game.suicides = block[kSuicides];
  game.seconds = block[kSeconds];
  game.fragsPerHour = BitsFloat(block[kFragsPerHour]);
  game.deathsPerHour = BitsFloat(block[kDeathsPerHour]);
  game.suicidesPerHour = BitsFloat(block[kSuicidesPerHour]);
  game.team = block[kTeam];
  const int32_t* counts = block + kGameBlockFixedInts;
  game.clientVarCounts = DecodeCounts(counts, clientVarCount);
  game.serverVarCounts = DecodeCounts(counts + clientVarCount, serverVarCount);
  return game;
}

void WriteDataFileVariable(ArchiveWriter& archive, const ServerVariable& variable) {
  archive.WriteString(variable.name);
  archive.WriteInt32(variable.ordinal);
  archive.WriteInt32(variable.id1);
  archive.WriteInt32(variable.id2);
  archive.WriteInt32(variable.id3);
  archive.WriteString(variable.modstring);
  archive.WriteString(variable.idstring);
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    archive.WriteInt32(variable.*slot.change);
    archive.WriteInt32(variable.*slot.target);
    archive.WriteInt32(variable.*slot.value);
  }
  archive.WriteInt32(variable.visible);
  archive.WriteInt32(0);  // reserved
}

bool ReadDataFileVariable(ArchiveReader& archive, ServerVariable* variable) {
  if (!archive.ReadString(&variable->name) || !archive.ReadInt32(&variable->ordinal) ||
      !archive.ReadInt32(&variable->id1) || !archive.ReadInt32(&variable->id2) ||
      !archive.ReadInt32(&variable->id3) || !archive.ReadString(&variable->modstring) ||
      !archive.ReadString(&variable->idstring)) {
    return false;
  }
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    if (!archive.ReadInt32(&(variable->*slot.change)) ||
        !archive.ReadInt32(&(variable->*slot.target)) ||
        !archive.ReadInt32(&(variable->*slot.value))) {
      return false;
    }
  }
  int32_t reserved;
  return archive.ReadInt32(&variable->visible) && archive.ReadInt32(&reserved);
}

}  // namespace vexor
