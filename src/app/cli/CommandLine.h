// The command line of `vexor`: what the user asked for, parsed from the arguments.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vexor {

// The exit status: success; a load, export or cleaning that failed or was refused.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

struct CliRequest {
  std::string directory;  // start directory (-C); empty: the current folder
  std::vector<std::string> logs;
  std::string clientVars;
  std::string serverVars;
  std::string open;        // reopen this data file instead of loading logs
  std::string table;       // print this table after the load or open
  std::string csv;         // export CSV to this file after the load
  std::string save;        // save a data file
  std::string json;        // export JSON
  std::string site;        // write the web site into this folder
  std::string clean;       // clean this log instead of loading
  std::string graph;       // write a line graph as SVG to this file
  std::string players;     // the graph's players: names separated by commas
  std::string stats;       // the graph's statistics: names separated by commas
  std::string interval;    // with follow: seconds between updates at most, as given
  std::string graphStyle;  // the graph's style: "classic" (also when empty) or "modern"
  bool cumulative = false;
  bool playedOnly = false;
  bool follow = false;  // keep loading the logs again as they are written
  bool gameLines = false;
  bool noReport = false;
  bool quiet = false;
  bool progress = false;
  bool help = false;
  bool version = false;
};

// Fills *request from the arguments (without the program name). False with *error set for
// bad usage: an unknown option, a missing value, no log or more than 30.
bool ParseCommandLine(const std::vector<std::string>& arguments, CliRequest* request,
                      std::string* error);

// The --interval of a follow (5 seconds when not given). False for a value that is not a number
// of seconds from 0.1 to 86400.
bool FollowIntervalOf(const CliRequest& request, std::chrono::milliseconds* interval);

// Whether a load shows its progress: on a terminal, or with --progress; never with --quiet.
bool ShowsProgress(const CliRequest& request);

// A comma-separated list (--players, --stats) as its items; empty items are dropped.
std::vector<std::string> SplitList(const std::string& list);

// The --help text.
std::string UsageText();

}  // namespace vexor
