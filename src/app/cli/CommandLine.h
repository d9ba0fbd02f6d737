// The command line of `vexor`: what the user asked for, parsed from the arguments.
#pragma once

#include <string>
#include <vector>

namespace vexor {

struct CliRequest {
  std::string directory;  // start directory (-C); empty: the current folder
  std::vector<std::string> logs;
  std::string clientVars;
  std::string serverVars;
  std::string open;   // reopen this data file instead of loading logs
  std::string table;  // print this table after the load or open
  std::string csv;    // export CSV to this file after the load
  std::string save;   // save a data file
  std::string json;   // export JSON
  std::string clean;  // clean this log instead of loading
  std::string graph;    // write a line graph as SVG to this file
  std::string players;  // the graph's players: names separated by commas
  std::string stats;    // the graph's statistics: names separated by commas
  std::string graphStyle;  // the graph's style: "classic" (also when empty) or "modern"
  bool cumulative = false;
  bool playedOnly = false;
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

// A comma-separated list (--players, --stats) as its items; empty items are dropped.
std::vector<std::string> SplitList(const std::string& list);

// The --help text.
std::string UsageText();

}  // namespace vexor
