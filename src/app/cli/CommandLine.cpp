#include "app/cli/CommandLine.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <variant>

#include "base/StringPrintf.h"
#include "stats/LogSelection.h"
#include "ui/GraphBuilder.h"
#include "ui/PrintTables.h"
#include "ui/RatingTable.h"

namespace vexor {
namespace {

struct OptionSpec {
  char shortName;  // 0: none
  const char* longName;
  const char* valueName;  // nullptr: a switch
  std::variant<std::string CliRequest::*, bool CliRequest::*> target;
  const char* help;
};

const OptionSpec kOptions[] = {
    {'C', "directory", "DIR", &CliRequest::directory,
     "start directory: settings are read from DIR/config/data.dat and the HTML report is "
     "written to DIR/html (default: the current directory)"},
    {0, "client-vars", "FILE", &CliRequest::clientVars,
     "before the load, install the client-side custom variables of FILE"},
    {0, "server-vars", "FILE", &CliRequest::serverVars,
     "before the load, install the server-side custom variables of FILE (a file named "
     "teamarena_server.var keeps the game type names)"},
    {0, "open", "FILE", &CliRequest::open,
     "reopen a saved data file instead of analysing logs (the report is rewritten)"},
    {0, "table", "NAME", &CliRequest::table,
     "print one table as text: main, weapons, client1 ... client6, server1 ... server6 "
     "(client1 is the client-side custom variables 1-9, client2 10-18, ...), or rating (the "
     "players' ratings, best first); a weapons table of more than nine weapons comes in blocks "
     "of nine"},
    {0, "csv", "FILE", &CliRequest::csv,
     "export the players' statistics as comma-separated values to FILE"},
    {0, "game-lines", nullptr, &CliRequest::gameLines,
     "with --csv: add a line for every game each player played"},
    {0, "save", "FILE", &CliRequest::save, "save the statistics as a Vexor data file"},
    {0, "json", "FILE", &CliRequest::json,
     "export the statistics as one JSON document (docs/JSON.md)"},
    {0, "site", "DIR", &CliRequest::site,
     "write the statistics web site into DIR (a new or empty folder, or a site written before, "
     "which is replaced whole)"},
    {0, "graph", "FILE.svg", &CliRequest::graph,
     "draw a line graph as the chart window does and write it as SVG to FILE.svg; needs "
     "--players and --stats"},
    {0, "players", "NAME,NAME...", &CliRequest::players,
     "with --graph: the players, by the names the lists show (drawn in player-number order)"},
    {0, "stats", "LIST", &CliRequest::stats,
     "with --graph: the statistics, among frags, deaths, suicides, fph, dph, sph, gauntlet, "
     "machinegun, shotgun, rocket, grenade, lightning, plasma, railgun, bfg, the keys of the "
     "load's other games' weapons (lr300, saber ...: docs/JSON.md) and the names of visible "
     "custom variables"},
    {0, "cumulative", nullptr, &CliRequest::cumulative,
     "with --graph: running totals instead of each game's values"},
    {0, "played-only", nullptr, &CliRequest::playedOnly,
     "with --graph: show only the games each player played"},
    {0, "graph-style", "STYLE", &CliRequest::graphStyle,
     "with --graph: classic (the default: the chart window's classic drawing) or modern "
     "(labelled gridlines, colours that read on white, a legend with swatches, smoothed lines)"},
    {0, "clean", "LOG", &CliRequest::clean,
     "remove end-of-file markers and carriage returns from LOG (nothing is loaded)"},
    {0, "follow", nullptr, &CliRequest::follow,
     "after the load and its outputs, watch the logs and, whenever the server has written whole "
     "lines to them, load them again and rewrite every output; stops on SIGINT or SIGTERM"},
    {0, "interval", "SECONDS", &CliRequest::interval,
     "with --follow: update at most once every SECONDS (default 5)"},
    {0, "no-report", nullptr, &CliRequest::noReport,
     "do not write the HTML report (for runs that only want exports)"},
    {'q', "quiet", nullptr, &CliRequest::quiet, "print nothing but errors; no progress"},
    {0, "progress", nullptr, &CliRequest::progress,
     "show progress even when standard error is not a terminal"},
    {'h', "help", nullptr, &CliRequest::help, "show this help and exit"},
    {'V', "version", nullptr, &CliRequest::version, "show the version and exit"},
};

const OptionSpec* FindLong(const std::string& name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.longName) return &option;
  }
  return nullptr;
}

const OptionSpec* FindShort(char name) {
  for (const OptionSpec& option : kOptions) {
    if (option.shortName != 0 && option.shortName == name) return &option;
  }
  return nullptr;
}

void Apply(const OptionSpec& option, CliRequest* request, const std::string& value) {
  if (auto* text = std::get_if<std::string CliRequest::*>(&option.target)) {
    request->** text = value;
  } else {
    request->*std::get<bool CliRequest::*>(option.target) = true;
  }
}

// The help text broken into lines of at most 80 characters, continued at the given column.
std::string WrapHelp(const std::string& help, size_t column) {
  constexpr size_t kWidth = 80;
  std::string out;
  size_t lineLength = column;
  size_t start = 0;
  while (start < help.size()) {
    size_t end = help.find(' ', start);
    if (end == std::string::npos) end = help.size();
    std::string word = help.substr(start, end - start);
    if (lineLength > column && lineLength + 1 + word.size() > kWidth) {
      out += "\n" + std::string(column, ' ');
      lineLength = column;
    } else if (lineLength > column) {
      out += ' ';
      ++lineLength;
    }
    out += word;
    lineLength += word.size();
    start = end + 1;
  }
  return out + "\n";
}

// --graph needs its players and statistics; the graph's other options need --graph.
bool GraphOptionsValid(const CliRequest& request, std::string* error) {
  if (request.graph.empty()) {
    if (request.players.empty() && request.stats.empty() && !request.cumulative &&
        !request.playedOnly && request.graphStyle.empty()) {
      return true;
    }
    *error =
        "--players, --stats, --cumulative, --played-only and --graph-style need --graph FILE.svg";
    return false;
  }
  if (request.players.empty() || request.stats.empty()) {
    *error = "--graph needs --players NAME,NAME... and --stats LIST";
    return false;
  }
  ChartStyle style;
  if (!request.graphStyle.empty() && !ChartStyleFromName(request.graphStyle, &style)) {
    *error =
        StringPrintf("unknown graph style '%s' (classic or modern)", request.graphStyle.c_str());
    return false;
  }
  return true;
}

// --follow loads logs again and again: not a data file, and a table would come after every
// update; --interval needs --follow.
bool FollowOptionsValid(const CliRequest& request, std::string* error) {
  std::chrono::milliseconds interval;
  if (!request.follow) {
    if (request.interval.empty()) return true;
    *error = "--interval needs --follow";
    return false;
  }
  if (!request.open.empty()) {
    *error = "--follow follows logs; a data file is not followed";
  } else if (!request.table.empty()) {
    *error = "--table prints once; it does not go with --follow";
  } else if (!FollowIntervalOf(request, &interval)) {
    *error = StringPrintf("--interval '%s' is not a number of seconds from 0.1 to 86400",
                          request.interval.c_str());
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool FollowIntervalOf(const CliRequest& request, std::chrono::milliseconds* interval) {
  if (request.interval.empty()) {
    *interval = std::chrono::milliseconds(5000);
    return true;
  }
  // Digits with at most one decimal point, read without the locale: milliseconds count.
  const std::string& text = request.interval;
  int64_t millis = 0;
  int64_t scale = 1000;
  bool point = false;
  bool digit = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9' && millis <= 86400000) {
      digit = true;
      if (!point) {
        millis = millis * 10 + (c - '0') * 1000;
      } else if ((scale /= 10) > 0) {
        millis += (c - '0') * scale;
      }
    } else {
      return false;
    }
  }
  if (!digit || millis < 100 || millis > 86400000) return false;
  *interval = std::chrono::milliseconds(millis);
  return true;
}

bool ShowsProgress(const CliRequest& request) {
  return !request.quiet && (request.progress || ::isatty(STDERR_FILENO));
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = std::min(list.find(',', start), list.size());
    if (end > start) items.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CliRequest* request,
                      std::string* error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      request->logs.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const OptionSpec* option = nullptr;
    std::string value;
    bool hasInlineValue = false;
    if (argument[1] == '-') {
      std::string name = argument.substr(2);
      size_t equals = name.find('=');
      if (equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
        hasInlineValue = true;
      }
      option = FindLong(name);
    } else if (argument.size() == 2) {
      option = FindShort(argument[1]);
    }
    if (option == nullptr) {
      *error = StringPrintf("unknown option '%s'", argument.c_str());
      return false;
    }
    if (option->valueName == nullptr) {
      if (hasInlineValue) {
        *error = StringPrintf("option '--%s' takes no value", option->longName);
        return false;
      }
    } else if (!hasInlineValue) {
      if (i + 1 >= arguments.size()) {
        *error =
            StringPrintf("option '%s' needs a value (%s)", argument.c_str(), option->valueName);
        return false;
      }
      value = arguments[++i];
    }
    Apply(*option, request, value);
  }
  if (request->help || request->version) return true;
  if (!request->clean.empty()) {
    if (!request->logs.empty()) {
      *error = "--clean takes one log and loads nothing; give no other log";
      return false;
    }
    return true;
  }
  int code;
  if (!request->table.empty() && request->table != kRatingTableName &&
      !PrintChoiceFromTableName(request->table, &code)) {
    *error = StringPrintf("unknown table '%s'", request->table.c_str());
    return false;
  }
  if (!request->open.empty()) {
    if (!request->logs.empty()) {
      *error = "--open reopens a data file; give no log with it";
      return false;
    }
    if (!request->clientVars.empty() || !request->serverVars.empty()) {
      *error =
          "a data file carries its own custom variables; --client-vars and --server-vars "
          "apply to logs";
      return false;
    }
  }
  if (request->gameLines && request->csv.empty()) {
    *error = "--game-lines needs --csv FILE";
    return false;
  }
  if (!GraphOptionsValid(*request, error) || !FollowOptionsValid(*request, error)) return false;
  if (request->logs.empty() && request->open.empty()) {
    *error = "no log file given";
    return false;
  }
  if (request->logs.size() > static_cast<size_t>(LogSelection::kMaxFiles)) {
    *error = StringPrintf("%zu log files given; Vexor reads at most %d at once",
                          request->logs.size(), LogSelection::kMaxFiles);
    return false;
  }
  return true;
}

std::string UsageText() {
  std::string text =
      "Usage: vexor [OPTIONS] LOG...    analyse 1 to 30 log files (server and client logs, mixed)\n"
      "       vexor [OPTIONS] --follow LOG...  keep the outputs up to date as the logs grow\n"
      "       vexor [OPTIONS] --open FILE      reopen a saved data file instead of analysing logs\n"
      "       vexor --clean LOG                remove end-of-file markers and carriage returns\n"
      "       vexor --help | --version\n"
      "\n"
      "Reads Quake 3 game server logs and client console logs, follows every player by name\n"
      "across games and files, prints a summary and writes the HTML report. Log paths are\n"
      "taken relative to the current folder; a path without a three-letter extension gets\n"
      "\".cfg\" appended, as in the desktop program.\n"
      "\n"
      "Options:\n";
  for (const OptionSpec& option : kOptions) {
    std::string names = option.shortName != 0
                            ? StringPrintf("  -%c, --%s", option.shortName, option.longName)
                            : StringPrintf("      --%s", option.longName);
    if (option.valueName != nullptr) StringAppendF(&names, " %s", option.valueName);
    StringAppendF(&text, "%-28s %s", names.c_str(), WrapHelp(option.help, 29).c_str());
  }
  text +=
      "\n"
      "After the load or open, exports run in this order: table, CSV, data file, JSON, graph,\n"
      "web site.\n"
      "\n"
      "With --follow, every update loads the logs again (each up to its last whole line) and\n"
      "rewrites the report and the exports, each file replaced whole; one line per update tells\n"
      "the games, the players and the time it took. A missing log is waited for.\n"
      "\n"
      "Messages that the desktop program shows in message boxes are written to standard error\n"
      "as \"CAPTION: TEXT\".\n"
      "\n"
      "Exit status: 0 success; 1 the load, an export or the cleaning failed or was refused\n"
      "(standard error says why; with --follow, the last update); 2 bad usage.\n";
  return text;
}

}  // namespace vexor
