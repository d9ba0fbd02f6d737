// What the log generator is asked to write: the kind of log, its size, the seed and the mix of
// games, players, kills and noise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexor::bench {

enum class LogKind { kServer, kClient };

// How the server's game clock runs from one game to the next.
enum class ClockMode {
  kReset,     // every game starts at 0:00 (a server started for each map)
  kContinue,  // the clock runs on across map changes, as on a long-running server
  kMixed,     // runs on, with an occasional server restart back to 0:00
};

// Which client number a connecting player gets.
enum class SlotMode {
  kSticky,  // a player keeps one number for the whole game, and nobody else takes it
  kLowest,  // the lowest free number, as the game server gives them out
};

// Which game wrote the log.
enum class Flavour {
  kQuake3,       // Quake III Arena and ioquake3
  kOpenArena,    // OpenArena: bots log their user information before they connect, and the
                 // client prints Team Arena's obituaries, its own and team kills
  kUrbanTerror,  // Urban Terror 4.3 servers: its own weapons, game types, rounds and hits
  kJediAcademy,  // Jedi Academy servers (OpenJK with JA++): lines stamped with the wall clock,
                 // names in the connect lines, non-player characters in kill lines
};

// How a Jedi Academy server stamps its lines.
enum class WallClockStyle {
  kIso,    // "[2017-05-07] [18:42:03] "
  kCtime,  // "[Sun Jan 03 19:25:52 2016]  "
};

struct GeneratorOptions {
  LogKind kind = LogKind::kServer;
  int32_t games = 10;
  int32_t players = 40;  // size of the player pool
  int32_t perGame = 8;   // players in a game, about
  int32_t kills = 60;    // kills in a game, about
  uint64_t seed = 1;
  // Seed of the player pool alone, so that logs of several seeds share their players (the
  // seasons of one server); 0: drawn from the seed.
  uint64_t poolSeed = 0;
  std::string out;
  std::string summary;         // where the counts of what was written go (none when empty)
  std::string clientVars;      // a client variable file to write as well (none when empty)
  std::string serverVars;      // a server variable file to write as well (none when empty)
  int32_t variableCount = 49;  // definitions in each variable file
  // false: each definition counts its own message or means of death (every one found);
  // true: many definitions on few texts, as the second workload of docs/PERFORMANCE.md
  // (VariableSets.h).
  bool crowdedVariables = false;
  // Game type codes drawn from, duplicates weigh more; empty: the family's usual mix
  // (GameFamily::defaultTypes).
  std::vector<int> gameTypes;
  std::vector<std::string> maps;  // maps for every game type; empty: the stock maps of each type
  int32_t noise = 1;              // 0 only the lines Vexor reads, 1 like real logs, 2 heavy
  double noShutdown = 0.03;       // a game ends without "ShutdownGame:"
  double churn = 0.2;             // a player joins late or leaves early
  double collide = 0.02;          // two clients share one name in a game (Quake 3 servers)
  double shortGames = 0.03;       // a game lasts less than 25 seconds
  double worldKills = 0.08;       // share of kills by the world
  double selfKills = 0.05;        // share of kills that are suicides
  double renames = 0.05;    // a player renames himself during a game (in Urban Terror and Jedi
                            // Academy logs only his colours change)
  double beginRenames = 0;  // a new name before "ClientBegin:" (Quake 3 servers)
  ClockMode clock = ClockMode::kMixed;
  SlotMode slots = SlotMode::kSticky;
  Flavour flavour = Flavour::kQuake3;
  WallClockStyle wallClock = WallClockStyle::kIso;  // Jedi Academy only
  // Jedi Academy only: a server that logs no connections and no user information, so that
  // players are named by the kill lines alone.
  bool noUserinfo = false;
  bool crlf = false;
  bool quiet = false;
};

}  // namespace vexor::bench
