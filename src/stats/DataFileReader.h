// Reading a saved data file into a staging object, never into the live document: a data file
// is untrusted input, and only a complete, valid file may replace the loaded statistics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "customvars/CustomVariables.h"
#include "stats/GameRecord.h"
#include "stats/PlayerRecord.h"
#include "stats/PresenceTable.h"

namespace vexor {

class ArchiveReader;

// Everything a data file holds, as read.
struct DataFileContents {
  std::string reportIndexPath;  // as stored; the document's own path replaces it when opened
  int32_t nameCount = 0;
  int32_t gameCount = 0;
  int32_t displayedGameCount = 0;
  bool teamArenaSet = false;
  bool clientLogSeen = false;
  bool serverLogAbsent = false;
  // Quake III's alone unless the file has the section of the other families.
  std::array<bool, kGameFamilyCount> familiesRead{true};
  int32_t clientVarCount = 0;
  int32_t serverVarCount = 0;
  ClientVariableSet clientVars;  // slots 1 to clientVarCount from the file, the rest cleared
  ServerVariableSet serverVars;  // likewise; reserved is 0 whatever the file holds
  // Records 0 to nameCount. Record 0 is a reset record; records 1 to nameCount hold what the
  // file stores, with custom-variable totals of count + 1 entries; every field the file does
  // not store is at its reset value (hours, minutes, seconds and the time text included).
  std::vector<PlayerRecord> players;
  // Records 0 to gameCount; record 0 has player number 0 and tables of one cell.
  std::vector<GameRecord> games;
  PresenceTable presence;  // gameCount + 1 rows of nameCount + 1 names
};

// Reads a whole data file. Every count is checked before anything is sized from it: name count
// 0 to 2500, game count 0 to 5000, displayed game count 0 to the game count, variable counts
// 0 to 49, each game's player number 0 to the name count; the bytes the counts announce must
// be in the file before they are read, and the file must end right after the presence table.
// A player's game without any non-zero value gets no entry, a kill-table cell without any
// non-zero count is not stored, and presence is set where the file stores exactly 1.
//
// False with *problem (a short phrase such as "it ends too early") when the file is damaged;
// *contents is then partly filled and must be thrown away.
bool ReadDataFile(ArchiveReader& archive, DataFileContents* contents, std::string* problem);

}  // namespace vexor
