#include "log/GameTypes.h"

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

struct GameType {
  char code;
  const char* name;
};

constexpr GameType kGameTypes[] = {
    {'0', "Free For All"}, {'1', "Tournament"}, {'3', "Team Deathmatch"}, {'4', "Capture The Flag"},
    {'5', "One Flag CTF"}, {'6', "Overload"},   {'7', "Harvester"},
};

}  // namespace

std::string GameTypeName(const VexoriumDoc& doc, char code) {
  if (doc.serverVarCount <= 0 || doc.teamArenaSet) {
    for (const GameType& type : kGameTypes) {
      if (type.code == code) return type.name;
    }
  }
  return "Unknown";
}

}  // namespace vexor
