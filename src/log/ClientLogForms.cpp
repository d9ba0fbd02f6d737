#include "log/ClientLogForms.h"

#include <array>

#include "log/LineText.h"

namespace vexor {
namespace {

using std::nullopt;

// "<victim>^7 was <verb> by <killer>^7<after>\n": the killer text runs from after " by " to the
// end of the line less its last 3 characters (colour code and line feed), then loses killerTrim
// more for what the message prints after the name ("'s plasmagun" leaves "^7's plasmag").
struct ByObituary {
  std::string_view verb;
  size_t killerTrim;
  std::optional<Weapon> weapon;
};

constexpr ByObituary kByObituaries[] = {
    {"machinegunned", 0, Weapon::kMachinegun},
    {"pummeled", 0, Weapon::kGauntlet},
    {"gunned down", 0, Weapon::kShotgun},
    {"melted", 12, Weapon::kPlasma},  // "'s plasmagun"
    {"railed", 0, Weapon::kRailgun},
    {"caught", 0, nullopt},
    {"shredded", 11, nullopt},  // "'s shrapnel"
    {"electrocuted", 0, Weapon::kLightning},
    {"blasted", 6, Weapon::kBfg},  // "'s BFG"
    {"killed", 0, nullopt},
    // Team Arena's weapons, none of them one of the nine.
    {"nailed", 0, nullopt},
    {"juiced", 0, nullopt},
    // OpenArena: pushed to death by another player ("a acid bath" as the game prints it).
    {"given a hot bath", 0, nullopt},
    {"given a acid bath", 0, nullopt},
    {"given a small push", 0, nullopt},
    {"helped on the way", 0, nullopt},
};

// Where a message without " by " splits its names: the victim is the text before the first
// marker less its colour code, the killer starts killerFrom characters after the marker's start.
struct NameSplit {
  std::string_view marker;
  size_t killerFrom = 0;
};

// "<victim>^7 <marker words> <killer>^7's <ending>\n", recognised by its ending (which ends one
// character before the end of the line) on lines of at least minLength characters. The splits
// are tried in order; the first whose marker the line contains decides. The killer text leaves
// out the last killerTail characters of the line.
struct PlainObituary {
  std::string_view verb;
  std::string_view ending;
  size_t minLength;
  std::array<NameSplit, 2> splits;
  size_t killerTail;
  std::optional<Weapon> weapon;
};

constexpr PlainObituary kPlainObituaries[] = {
    // "almost dodged ...'s rocket" (splash) and "ate ...'s rocket" (direct hit).
    {"rocket", "rocket", 11, {{{" almost ", 15}, {" ate ", 5}}}, 12, Weapon::kRocket},
    {"grenade", "grenade", 11, {{{" ate ", 5}, {}}}, 13, Weapon::kGrenade},
    // A telefrag: "tried to invade ...'s personal space".
    {"personal space", "personal space", 11, {{{" tried ", 17}, {}}}, 20, nullopt},
    // Team Arena's chaingun, proximity mines and kamikaze.
    {"lead poisoning", "Chaingun", 11, {{{" got lead poisoning from ", 25}, {}}}, 14, nullopt},
    {"Prox Mine", "Prox Mine", 11, {{{" was too close to ", 18}, {}}}, 15, nullopt},
    {"Kamikaze blast", "Kamikaze blast", 11, {{{" falls to ", 10}, {}}}, 20, nullopt},
    // OpenArena: crushed by a mover another player set off.
    {"trap", "trap", 11, {{{" was crushed in ", 16}, {}}}, 10, nullopt},
};

// "<victim>^7 <message>.\n": a message of length k ends two characters before the end of a line
// longer than k + 2; the victim is the line without its last k + 5 characters.
struct SuicideMessage {
  std::string_view message;
  size_t k;
};

constexpr SuicideMessage kSuicideMessages[] = {
    {"suicides", 8},
    {"cratered", 8},
    {"was squished", 12},
    {"sank like a rock", 16},
    {"melted", 6},
    {"does a back flip into the lava", 30},
    {"saw the light", 13},
    {"was in the wrong place", 22},
    {"tripped on her own grenade", 26},
    {"tripped on his own grenade", 26},
    {"tripped on its own grenade", 26},
    {"blew herself up", 15},
    {"blew himself up", 15},
    {"blew itself up", 14},
    {"melted herself", 14},
    {"melted himself", 14},
    {"melted itself", 13},
    {"killed herself", 14},
    {"killed himself", 14},
    {"killed itself", 13},
    {"should have used a smaller gun", 30},
    // Team Arena's proximity mines ("it's" as OpenArena prints it for some players) and kamikaze.
    {"found her prox mine", 19},
    {"found his prox mine", 19},
    {"found its prox mine", 19},
    {"found it's prox mine", 20},
    {"goes out with a bang", 20},
};

// The weapon of the first row, of either kind, that prints the verb.
constexpr std::optional<Weapon> FirstWeaponOfVerb(std::string_view verb) {
  for (const ByObituary& form : kByObituaries) {
    if (form.verb == verb) return form.weapon;
  }
  for (const PlainObituary& form : kPlainObituaries) {
    if (form.verb == verb) return form.weapon;
  }
  return nullopt;
}

// An obituary gives the weapon of the row that read it: every verb must be the same weapon in
// every row that prints it.
constexpr bool EveryRowHasItsVerbsWeapon() {
  for (const ByObituary& form : kByObituaries) {
    if (FirstWeaponOfVerb(form.verb) != form.weapon) return false;
  }
  for (const PlainObituary& form : kPlainObituaries) {
    if (FirstWeaponOfVerb(form.verb) != form.weapon) return false;
  }
  return true;
}
static_assert(EveryRowHasItsVerbsWeapon());

// Team games print a team kill's killer behind this mark; it is no part of the name.
constexpr std::string_view kTeammateMark = "^1TEAMMATE^7 ";

// The text from `from` up to the end of the line less its last dropAtEnd characters; empty when
// nothing lies between.
std::string_view Cut(std::string_view line, size_t from, size_t dropAtEnd) {
  if (dropAtEnd >= line.size()) return {};
  size_t end = line.size() - dropAtEnd;
  if (from >= end) return {};
  return line.substr(from, end - from);
}

std::string_view DropLast(std::string_view text, size_t count) {
  return count >= text.size() ? std::string_view() : text.substr(0, text.size() - count);
}

std::optional<ObituaryText> CutByObituary(std::string_view line, size_t by) {
  size_t was = FindByAnchor(line, " was ", 1);
  if (was == std::string_view::npos || was + 5 > by) return nullopt;
  std::string_view verb = line.substr(was + 5, by - was - 5);
  for (const ByObituary& form : kByObituaries) {
    if (form.verb != verb) continue;
    ObituaryText text;
    text.verb = form.verb;
    text.weapon = form.weapon;
    text.victim = DropLast(line.substr(0, was), 2);
    text.killer = DropLast(Cut(line, by + 4, 3), form.killerTrim);
    return text;
  }
  return nullopt;
}

std::optional<ObituaryText> CutPlainObituary(std::string_view line) {
  for (const PlainObituary& form : kPlainObituaries) {
    if (line.size() < form.minLength || !EndsBefore(line, form.ending, 1)) continue;
    for (const NameSplit& split : form.splits) {
      if (split.marker.empty()) break;
      size_t at = line.find(split.marker);
      if (at == std::string_view::npos) continue;
      ObituaryText text;
      text.verb = form.verb;
      text.weapon = form.weapon;
      text.victim = DropLast(line.substr(0, at), 2);
      text.killer = Cut(line, at + split.killerFrom, form.killerTail);
      return text;
    }
  }
  return nullopt;
}

}  // namespace

bool IsGameStart(std::string_view line) {
  return line.starts_with("CL_InitCGame:");
}

bool IsMapLoad(std::string_view line) {
  return line.starts_with("trying to load maps");
}

std::string_view MapLoadName(std::string_view line) {
  return Cut(line, 20, 5);
}

bool IsPlayerEntry(std::string_view line) {
  return EndsBefore(line, "entered the game", 1);
}

std::string_view EntryRawName(std::string_view line) {
  return DropLast(line, 20);
}

std::optional<ObituaryText> CutObituary(std::string_view line) {
  size_t by = FindByAnchor(line, " by ", 1);
  std::optional<ObituaryText> text =
      by != std::string_view::npos ? CutByObituary(line, by) : CutPlainObituary(line);
  if (text && text->killer.starts_with(kTeammateMark)) {
    text->killer.remove_prefix(kTeammateMark.size());
  }
  return text;
}

std::optional<SuicideText> CutSuicide(std::string_view line) {
  for (const SuicideMessage& form : kSuicideMessages) {
    if (line.size() <= form.k + 2) continue;
    // The last letter tells most messages apart without a comparison.
    if (line[line.size() - 3] != form.message.back()) continue;
    if (!TextAt(line, line.size() - 2 - form.k, form.message)) continue;
    return SuicideText{form.message, DropLast(line, form.k + 5)};
  }
  return nullopt;
}

}  // namespace vexor
