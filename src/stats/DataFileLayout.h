// The pieces of the data file that both its reader and its writer need: the per-game block of a
// player and the server variable record, which the data file lays out in its own field order
// (the variable files use another one).
#pragma once

#include <cstddef>
#include <cstdint>

#include "customvars/CustomVariables.h"
#include "stats/PlayerRecord.h"

namespace vexor {

class ArchiveReader;
class ArchiveWriter;

// The fixed part of a player's per-game block: nine weapon frags, frags, deaths, suicides,
// seconds, three per-hour floats and the team.
constexpr size_t kGameBlockFixedInts = 17;

// int32 values of one per-game block with the given variable counts.
constexpr size_t GameBlockInts(int32_t clientVarCount, int32_t serverVarCount) {
  return kGameBlockFixedInts + static_cast<size_t>(clientVarCount) +
         static_cast<size_t>(serverVarCount);
}

// Fills the GameBlockInts values of block from a player's values in one game; floats are
// stored as their bits.
void EncodeGameBlock(const PlayerGame& game, int32_t clientVarCount, int32_t serverVarCount,
                     int32_t* block);

// True when some of the n values is not zero (floats by their bits: -0.0f counts as set).
bool AnyNonZero(const int32_t* values, size_t n);

// A player's values in one game from a block. Custom-variable counts get count + 1 entries
// when some count of the set is not zero, none otherwise (absent entries read 0).
PlayerGame DecodeGameBlock(const int32_t* block, int32_t clientVarCount, int32_t serverVarCount);

// A server variable in data-file order: name, ordinal, id1, id2, id3, modstring, idstring, the
// 12 slot fields, visible, and a reserved int32 (written 0, ignored when read).
void WriteDataFileVariable(ArchiveWriter& archive, const ServerVariable& variable);
bool ReadDataFileVariable(ArchiveReader& archive, ServerVariable* variable);

}  // namespace vexor
