// A game's record: its settings from the log, its player number and its kill tables.
#pragma once

#include <cstdint>
#include <string>

#include "stats/GameFamily.h"
#include "stats/KillTables.h"

namespace vexor {

struct GameRecord {
  int32_t playerNumber = 0;  // names present in the game
  int32_t fragLimit = 0;
  int32_t timeLimit = 0;
  uint8_t serverLogGame = 0;  // 1: read from a server log; 0: from a client log
  std::string mapName;
  std::string gameTypeName;
  KillTables kills;
  bool shortGame = false;                   // true hides the game from lists, graphs and the report
  GameFamily family = GameFamily::kQuake3;  // the game its log was written by
};

}  // namespace vexor
