// What the generator knows of each game family: its game types with their maps, limits and the
// names a reader shows for them, and how many clients a game may have.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "GeneratorOptions.h"

namespace vexor::bench {

struct Limits {
  int32_t frag;
  int32_t time;  // minutes
};

struct GameTypeInfo {
  int32_t code;           // the "g_gametype" value
  const char* option;     // its name on the command line ("ctf")
  const char* name;       // what a reader shows ("Capture The Flag")
  bool team;              // players on two teams
  int32_t duelists;       // players in every game of the type; 0: as many as the options say
  int32_t captureLimit;   // the "capturelimit" setting
  bool rounds;            // played in rounds ("InitRound:", a survivor wins each)
  const char* limitExit;  // why a game ends before its time limit ("Fraglimit hit.")
  std::span<const char* const> maps;
  std::span<const Limits> limits;
};

struct GameFamily {
  const char* option;  // "--flavour" value
  std::span<const GameTypeInfo> types;
  std::span<const int> defaultTypes;  // the mix of a log without "--types"
  int32_t maxClients;                 // players in one game at most
  bool clientLogs;                    // whether the generator writes client console logs
};

const GameFamily& FamilyOf(Flavour flavour);

// The type of the code; the family's first type when the code is not one of its own.
const GameTypeInfo& GameTypeOf(Flavour flavour, int32_t code);

// Reads "--types": names or codes of the family's game types, comma-separated. False when one
// is not a type of the family.
bool ParseGameTypes(Flavour flavour, std::string_view list, std::vector<int>* codes);

// The "--types" names of the family, comma-separated (for messages).
std::string GameTypeOptions(Flavour flavour);

}  // namespace vexor::bench
