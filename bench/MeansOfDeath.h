// The means of death the generator writes, with the number and name a game server logs and the
// message a game client prints for the same kill, and how often each one happens.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "GeneratorOptions.h"

namespace vexor::bench {

// A frag: one player kills another. A world kill: the level kills a player (killer number
// 1022 in a server log). A self kill: a player kills himself.
enum class KillKind : uint8_t { kFrag, kWorld, kSelf };

enum class Gender : uint8_t { kMale, kFemale, kNeuter };

struct MeansOfDeath {
  const char* name;  // "MOD_ROCKET_SPLASH"
  int32_t number;    // the number a server writes before the names
  int32_t weight;    // how often, against the others of its kind
  bool weapon;       // Quake 3: one of the nine weapons Vexor keeps frags of; other families: one
                     // of the family's weapons (weaponName)
  // Client message. Frags: text[0] stands between the victim and the killer, suffix after the
  // killer ("ate", "'s rocket"). World kills: text[0] after the victim. Self kills: the text
  // for a male, a female and a neuter player.
  const char* text[3];
  const char* suffix;
  uint8_t flavours = kQuake3Flavours;  // the games that log it (bits of FlavourBit)
  const char* weaponName = nullptr;    // other families: the weapon as its players name it
  int32_t hitNumber = 0;               // Urban Terror: the weapon's number in "Hit:" lines

  static constexpr uint8_t kQuake3Flavours = 3;  // Quake 3 and OpenArena
  static uint8_t FlavourBit(Flavour flavour) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(flavour));
  }
  bool LoggedIn(Flavour flavour) const { return (flavours & FlavourBit(flavour)) != 0; }
};

// Every means of death of the kind in the flavour's family: Quake 3 and OpenArena share one
// table (see MeansOfDeath::LoggedIn), Urban Terror and Jedi Academy have their own.
std::span<const MeansOfDeath> MeansOfDeathOf(KillKind kind, Flavour flavour);

// Draws a means of death of the kind that the flavour logs, by weight; 64 random bits in.
int32_t PickMeansOfDeath(KillKind kind, Flavour flavour, uint64_t random);

// The client message of a Quake 3 or OpenArena kill without the names, as a key for counting:
// for example "obituary.almost_dodged.rocket", "obituary.was_railed_by" or
// "suicide.blew_himself_up".
std::string ClientFormKey(KillKind kind, int32_t mod, Gender gender);

// Every form a log of the flavour's family can show, in a fixed order, so that the first kills
// of a log can walk through all of them: frags by each means, world kills by each means, self
// kills by each means for each gender.
struct KillForm {
  KillKind kind;
  int32_t mod;
  Gender gender;
};
int32_t KillFormCount(Flavour flavour);
KillForm KillFormAt(int32_t index, Flavour flavour);
// The index of the form of a kill (the gender counts for self kills only).
int32_t KillFormIndex(KillKind kind, int32_t mod, Gender gender, Flavour flavour);
// Whether logs of the flavour show the form. Only client logs show a gender: the other
// families' logs show the male form of a self kill alone.
bool KillFormLoggedIn(int32_t index, Flavour flavour);

}  // namespace vexor::bench
