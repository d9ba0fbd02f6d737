// How the log of each game family is read: what tells the family from the log, the line rules
// that differ from Quake III's, the game types by number and the means of death by name. The
// passes take a game's rules from its "InitGame:" line and apply them to the game's lines; a
// load may mix families, each game read by its own.
//
// Quake III Arena, Team Arena and OpenArena are read by the rules every other family starts
// from: the connect's name in the user-information line after it, kills by client number, the
// nine weapons. The others differ:
// - Urban Terror logs "ClientUserinfo: N \ip\...\name\X\..." lines between a connect and the
//   user-information change that names the player; its game types run to 11 (two digits); a
//   team change logs a kill by MOD_CHANGE_TEAM, which is no kill at all.
// - Jedi Academy and Jedi Outcast name the player in the connect line itself ("ClientConnect: 1
//   (name) [IP: ...]"); client numbers 32 and up are non-player characters, whose kills and
//   deaths count for no one (a player they kill dies); servers that log no connects name their
//   players only in the kill lines, so a player a kill line names under a client number nobody
//   is connected in is taken as connected from that line. Their lines may be stamped with the
//   wall clock (LineText.h, RewriteWallClock).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "stats/GameFamily.h"

namespace vexor {

class VexoriumDoc;

struct GameTypeEntry {
  int32_t code;
  std::string_view name;
};

struct FamilyRules {
  GameFamily family;
  // The connect line names its player: "ClientConnect: N (NAME) [IP: ...]".
  bool connectNamesPlayer = false;
  // "ClientUserinfo:" lines may stand between a connect and the line that names its player.
  bool userInfoBeforeName = false;
  // Client numbers from 32 on, but the world's 1022, are non-player characters.
  bool nonPlayerCharacters = false;
  // A kill line's player under a client number nobody is connected in is taken as connected.
  bool namesFromKills = false;
  // Some kill lines are no kill at all (IsNoKill).
  bool killsThatAreNone = false;
  // Game types by the whole number of "g_gametype"; empty: Quake III's rule (GameTypes.h).
  std::span<const GameTypeEntry> gameTypes;
};

const FamilyRules& RulesOf(GameFamily family);

// The family of a game from its "InitGame:" line: the "gamename" and "version" keys, and whether
// the game's lines carry the wall clock. Quake III's when nothing else fits.
GameFamily FamilyOfInitGame(std::string_view line, bool wallClock);

// The game type name of an "InitGame:" line in the family's games (Quake III's by GameTypeName).
std::string FamilyGameTypeName(const VexoriumDoc& doc, GameFamily family, std::string_view line);

// Means of death are known by name across the families: an id 1 to 255 for every name some
// family's table holds, 0 for any other text.
uint8_t MeansOfDeathId(std::string_view name);
// The weapon (WeaponId) a means of death stands for in the family's games; -1 when none.
int8_t WeaponOfMeansOfDeath(GameFamily family, uint8_t meansOfDeath);
// True when a kill by this means is no kill in the family's games (Urban Terror's team change).
bool IsNoKill(GameFamily family, uint8_t meansOfDeath);

}  // namespace vexor
