// The lines of a game client's console log that the client-log passes recognise: game starts,
// map loads, player entries, obituaries and suicide messages. A client log has no client
// numbers, no clock and no kill codes; players are known by the names the messages print,
// each followed by the colour code "^7".
//
// The obituaries and suicide messages are tables (ClientLogForms.cpp): a message of another
// game version is one more row. Every cut counts the line's trailing line feed as its last
// character (see LineText.h); the views returned point into the line.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "stats/Weapons.h"

namespace vexor {

// A name that never becomes a new name or player record in a client log.
inline constexpr std::string_view kDefaultPlayerName = "Default";
// The client slot of a player seen in a client log: none is known.
inline constexpr std::string_view kClientLogSlot = "";

// The client starts a game: the line begins with "CL_InitCGame:".
bool IsGameStart(std::string_view line);
// The client loads a map, before the game that plays it starts: the line begins with
// "trying to load maps".
bool IsMapLoad(std::string_view line);
// The map of a map load line: from position 20 up to, not including, the last 5 characters
// ("trying to load maps/q3dm17.bsp\n" gives q3dm17).
std::string_view MapLoadName(std::string_view line);
// A player entered the game: "entered the game" ends one character before the end.
bool IsPlayerEntry(std::string_view line);
// The raw name of a player entry line: the line without its last 20 characters (the colour
// code, " entered the game" and the line feed).
std::string_view EntryRawName(std::string_view line);

// The raw texts of an obituary (colour codes included) and its verb, the key of the weapon.
struct ObituaryText {
  std::string_view victim;
  std::string_view killer;
  std::string_view verb;
  // The weapon the verb stands for; nothing for the verbs that name none ("caught",
  // "shredded", "killed", "personal space").
  std::optional<Weapon> weapon;
};
// The obituary a line carries, or nothing when the line is none. Lines with " by " are read by
// the "<victim> was <verb> by <killer>" rows only; the other rows are tried when the line has no
// " by ". A team kill's mark "^1TEAMMATE^7 " before the killer is left out of the killer text.
// The texts may come out empty (short lines).
std::optional<ObituaryText> CutObituary(std::string_view line);

// A suicide message and its victim's raw text (may be empty).
struct SuicideText {
  std::string_view message;
  std::string_view victim;
};
// The first suicide message of the table that the line ends with (before its full stop and
// line feed), or nothing.
std::optional<SuicideText> CutSuicide(std::string_view line);

}  // namespace vexor
