#include "CommandLine.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "GameFamily.h"
#include "base/StringPrintf.h"

namespace vexor::bench {
namespace {

std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    items.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return items;
}

bool ReadInt(std::string_view text, int64_t low, int64_t high, int64_t* value) {
  const char* end = text.data() + text.size();
  std::from_chars_result result = std::from_chars(text.data(), end, *value);
  return result.ec == std::errc() && result.ptr == end && *value >= low && *value <= high;
}

bool ReadChance(std::string_view text, double* value) {
  const char* end = text.data() + text.size();
  std::from_chars_result result = std::from_chars(text.data(), end, *value);
  return result.ec == std::errc() && result.ptr == end && *value >= 0.0 && *value <= 1.0;
}

bool ReadFlavour(std::string_view text, Flavour* flavour) {
  for (Flavour f :
       {Flavour::kQuake3, Flavour::kOpenArena, Flavour::kUrbanTerror, Flavour::kJediAcademy}) {
    if (text == FamilyOf(f).option) {
      *flavour = f;
      return true;
    }
  }
  return false;
}

bool ReadMaps(std::string_view text, std::vector<std::string>* maps) {
  *maps = SplitList(text);
  for (const std::string& map : *maps) {
    // A map name sits between backslashes in "InitGame:" and ends a client's map line.
    if (map.empty() || map.find_first_of("\\ \t\r\n") != std::string::npos) return false;
  }
  return true;
}

// One option with its value. False when the value does not fit the option. Game types are
// kept as given: their names depend on the flavour, which may come later.
bool ApplyValue(std::string_view name, std::string_view value, GeneratorOptions* o,
                std::string* types) {
  int64_t n = 0;
  if (name == "--games" && ReadInt(value, 0, 1000000, &n))
    o->games = static_cast<int32_t>(n);
  else if (name == "--players" && ReadInt(value, 1, 100000, &n))
    o->players = static_cast<int32_t>(n);
  else if (name == "--per-game" && ReadInt(value, 1, 48, &n))
    o->perGame = static_cast<int32_t>(n);
  else if (name == "--kills" && ReadInt(value, 0, 100000, &n))
    o->kills = static_cast<int32_t>(n);
  else if (name == "--noise" && ReadInt(value, 0, 2, &n))
    o->noise = static_cast<int32_t>(n);
  else if (name == "--seed" || name == "--pool-seed") {
    uint64_t seed = 0;
    const char* end = value.data() + value.size();
    std::from_chars_result result = std::from_chars(value.data(), end, seed);
    if (result.ec != std::errc() || result.ptr != end) return false;
    (name == "--seed" ? o->seed : o->poolSeed) = seed;
  } else if (name == "--out" && !value.empty())
    o->out = value;
  else if (name == "--summary" && !value.empty())
    o->summary = value;
  else if (name == "--client-vars" && !value.empty())
    o->clientVars = value;
  else if (name == "--server-vars" && !value.empty())
    o->serverVars = value;
  else if (name == "--vars" && ReadInt(value, 0, 49, &n))
    o->variableCount = static_cast<int32_t>(n);
  else if (name == "--var-style" && (value == "spread" || value == "crowded"))
    o->crowdedVariables = value == "crowded";
  else if (name == "--types" && !value.empty())
    *types = value;
  else if (name == "--maps")
    return ReadMaps(value, &o->maps);
  else if (name == "--no-shutdown")
    return ReadChance(value, &o->noShutdown);
  else if (name == "--churn")
    return ReadChance(value, &o->churn);
  else if (name == "--collide")
    return ReadChance(value, &o->collide);
  else if (name == "--short")
    return ReadChance(value, &o->shortGames);
  else if (name == "--world")
    return ReadChance(value, &o->worldKills);
  else if (name == "--self")
    return ReadChance(value, &o->selfKills);
  else if (name == "--renames")
    return ReadChance(value, &o->renames);
  else if (name == "--begin-renames")
    return ReadChance(value, &o->beginRenames);
  else if (name == "--clock" && value == "reset")
    o->clock = ClockMode::kReset;
  else if (name == "--clock" && value == "continue")
    o->clock = ClockMode::kContinue;
  else if (name == "--clock" && value == "mixed")
    o->clock = ClockMode::kMixed;
  else if (name == "--slots" && value == "sticky")
    o->slots = SlotMode::kSticky;
  else if (name == "--slots" && value == "lowest")
    o->slots = SlotMode::kLowest;
  else if (name == "--flavour")
    return ReadFlavour(value, &o->flavour);
  else if (name == "--wall-clock-style" && value == "iso")
    o->wallClock = WallClockStyle::kIso;
  else if (name == "--wall-clock-style" && value == "ctime")
    o->wallClock = WallClockStyle::kCtime;
  else
    return false;
  return true;
}

// What the options ask of a family that cannot give it; empty when the options fit.
std::string Conflict(const GeneratorOptions& o, bool wallClockGiven) {
  const GameFamily& family = FamilyOf(o.flavour);
  if (o.kind == LogKind::kClient && !family.clientLogs)
    return StringPrintf(
        "--flavour %s writes server logs only: client console logs are written "
        "for quake3 and openarena",
        family.option);
  bool jedi = o.flavour == Flavour::kJediAcademy;
  if (wallClockGiven && !jedi) return "--wall-clock-style is for --flavour jka only";
  if (o.noUserinfo && !jedi) return "--no-userinfo is for --flavour jka only";
  return "";
}

bool TakesValue(std::string_view name) {
  static constexpr const char* kNames[] = {
      "--games",       "--players",       "--per-game",
      "--kills",       "--noise",         "--seed",
      "--out",         "--summary",       "--types",
      "--maps",        "--no-shutdown",   "--churn",
      "--collide",     "--short",         "--world",
      "--self",        "--renames",       "--clock",
      "--slots",       "--flavour",       "--client-vars",
      "--server-vars", "--vars",          "--pool-seed",
      "--var-style",   "--begin-renames", "--wall-clock-style"};
  for (const char* known : kNames) {
    if (name == known) return true;
  }
  return false;
}

}  // namespace

CommandLineResult ParseCommandLine(int argc, const char* const* argv, GeneratorOptions* options,
                                   std::string* error) {
  bool kindGiven = false;
  bool wallClockGiven = false;
  std::string types;
  for (int i = 0; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return CommandLineResult::kHelp;
    if (arg == "--crlf") {
      options->crlf = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else if (arg == "--no-userinfo") {
      options->noUserinfo = true;
    } else if (arg == "server" || arg == "client") {
      options->kind = arg == "server" ? LogKind::kServer : LogKind::kClient;
      kindGiven = true;
    } else {
      std::string_view name = arg.substr(0, arg.find('='));
      if (!TakesValue(name)) {
        *error = StringPrintf("unknown argument \"%s\"", argv[i]);
        return CommandLineResult::kError;
      }
      std::string_view value;
      if (name.size() < arg.size())
        value = arg.substr(name.size() + 1);
      else if (i + 1 < argc)
        value = argv[++i];
      else {
        *error = StringPrintf("%s needs a value", argv[i]);
        return CommandLineResult::kError;
      }
      if (!ApplyValue(name, value, options, &types)) {
        *error = StringPrintf("%.*s: cannot use \"%.*s\"", static_cast<int>(name.size()),
                              name.data(), static_cast<int>(value.size()), value.data());
        return CommandLineResult::kError;
      }
      if (name == "--wall-clock-style") wallClockGiven = true;
    }
  }
  if (!types.empty() && !ParseGameTypes(options->flavour, types, &options->gameTypes)) {
    *error =
        StringPrintf("--types: cannot use \"%s\" (game types of --flavour %s: %s)", types.c_str(),
                     FamilyOf(options->flavour).option, GameTypeOptions(options->flavour).c_str());
    return CommandLineResult::kError;
  }
  if (!kindGiven)
    *error = "say which kind of log to write: server or client";
  else if (options->out.empty())
    *error = "say where to write the log: --out FILE (\"-\" for standard output)";
  else if (options->worldKills + options->selfKills > 1.0)
    *error = "--world and --self add up to more than 1";
  else
    *error = Conflict(*options, wallClockGiven);
  return error->empty() ? CommandLineResult::kRun : CommandLineResult::kError;
}

std::string HelpText() {
  return "Usage: vexor-loggen server|client --out FILE [options]\n"
         "Writes a game server log or a game client console log for trying out and measuring\n"
         "Vexor. The same options and seed always give the same bytes.\n"
         "\n"
         "  --out FILE        the log to write (\"-\": standard output)\n"
         "  --games N         games in the log (default 10)\n"
         "  --players N       size of the player pool (default 40)\n"
         "  --per-game N      players in a game, about (default 8; at most 48, 32 for jka)\n"
         "  --kills N         kills in a game, about (default 60)\n"
         "  --seed N          seed of the generator (default 1)\n"
         "  --pool-seed N     seed of the player pool alone: logs of several seeds with one pool\n"
         "                    seed share their players, like the logs of one server\n"
         "  --summary FILE    also write the counts of what the log holds, \"name value\" a line\n"
         "                    (urt and jka: also every player's counts and every game's type)\n"
         "  --client-vars FILE  also write a client variable file whose definitions match\n"
         "                    lines of generated client logs (obituaries, suicides, entries)\n"
         "  --server-vars FILE  also write a server variable file whose definitions match\n"
         "                    \"Kill:\" lines by means of death and \"Item:\" lines by item\n"
         "  --vars N          definitions in each variable file (default 49, the most)\n"
         "  --var-style STYLE spread: each definition on a text of its own (default);\n"
         "                    crowded: client definitions on nine obituaries (about five\n"
         "                    on each; for a server log \"PLAYER1 picked up itemN\", found\n"
         "                    nowhere), server definitions on \"Kill:\" lines by one means\n"
         "                    of death each with a +1/-1 pair\n"
         "  --types LIST      game types drawn from, by name or code (duplicates weigh more):\n"
         "                    quake3, openarena: ffa, tourney, single, tdm, ctf, oneflag,\n"
         "                    overload, harvester (default ffa,ffa,ffa,tourney,tdm,ctf);\n"
         "                    urt: ffa, lms, tdm, ts, ftl, cah, ctf, bomb, jump, freeze, gungame;\n"
         "                    jka: ffa, holocron, jedimaster, duel, powerduel, single, tffa,\n"
         "                    siege, ctf, cty (default for urt and jka: every type, the usual\n"
         "                    ones more often)\n"
         "  --maps LIST       maps for every game (default: the stock maps of each game type)\n"
         "  --noise N         0: only the lines Vexor reads; 1: like real logs (default);\n"
         "                    2: heavy, with chat lines longer than a log line is read at once\n"
         "  --no-shutdown P   chance that a game ends without \"ShutdownGame:\" (default 0.03)\n"
         "  --churn P         chance that a player joins late or leaves early (default 0.2)\n"
         "  --collide P       chance that two clients share a name in a game (default 0.02;\n"
         "                    quake3 and openarena)\n"
         "  --short P         chance that a game lasts less than 25 seconds (default 0.03)\n"
         "  --world P         share of kills by the world (default 0.08)\n"
         "  --self P          share of kills that are suicides (default 0.05)\n"
         "  --renames P       chance that a player renames himself in a game (default 0.05);\n"
         "                    in a client log a new name is a new player, so logs meant to\n"
         "                    stay within 2500 names take --renames 0; urt and jka players\n"
         "                    only change their colours\n"
         "  --begin-renames P chance that a player of a server log sends a new name between\n"
         "                    his connect and \"ClientBegin:\", as game clients do (default 0;\n"
         "                    quake3 and openarena)\n"
         "  --clock MODE      server clock: reset (0:00 every game), continue, or mixed\n"
         "                    (continues, with an occasional restart; default); jka stamps its\n"
         "                    lines with the wall clock instead\n"
         "  --slots MODE      client numbers: sticky (one per player and game; default) or\n"
         "                    lowest (the lowest free one, as servers do)\n"
         "  --flavour GAME    the game that writes the log:\n"
         "                    quake3 (default);\n"
         "                    openarena: logs its bots' user information before their connect\n"
         "                    lines, and its client prints Team Arena's and its own obituaries\n"
         "                    and team kills;\n"
         "                    urt: an Urban Terror 4.3 server (server logs only): its weapons,\n"
         "                    game types, rounds, hits and team changes;\n"
         "                    jka: a Jedi Academy server with the JA++ mod (server logs only):\n"
         "                    wall-clock stamps, names in the connect lines, non-player\n"
         "                    characters in the kill lines, the first game past midnight\n"
         "  --wall-clock-style STYLE  jka: iso (\"[2017-05-07] [18:42:03] \", default) or ctime\n"
         "                    (\"[Sun Jan 03 19:25:52 2016]  \")\n"
         "  --no-userinfo     jka: a server that logs no connections, user information, chat,\n"
         "                    items or scores: players are named by the kill lines alone\n"
         "  --crlf            end lines with CR LF, as Windows programs do\n"
         "  --quiet           print nothing when done\n"
         "  --help            this text\n"
         "\n"
         "The first kills of every log walk through each means of death, obituary and suicide\n"
         "message once. The largest log Vexor loads: server --games 4995 --players 2495\n"
         "--per-game 16 --kills 300.\n";
}

}  // namespace vexor::bench
