// Cleaning of a log file: the end-of-file markers (byte 26, Ctrl-Z) and carriage returns are
// taken out so that log analysis sees clean lines, and every line feed is written back as
// CR LF. It works on any file the user picks and does not touch the loaded statistics.
#pragma once

#include <string>

namespace vexor {

class Prompter;

enum class CleanStatus {
  kCleaned,       // markers or carriage returns were found; the log was rewritten
  kNothingFound,  // neither was found; the log was not touched
  kOpenFailed,    // the log could not be opened; nothing was touched
  kReadFailed,    // the log could not be read to its end; nothing was touched
  kWriteFailed,   // the cleaned log could not be written; the log was left as it was
};

struct CleanResult {
  CleanStatus status = CleanStatus::kNothingFound;
  std::string logPath;  // the file that was cleaned (or was to be)
  std::string message;  // the text for the user
  std::string caption;  // "Info" for the outcome of a cleaning, "Warning!" for a failure
};

// The file a chosen path stands for: a path whose fourth character from the end is not "."
// (a name without a three-letter extension, or shorter than four characters) gets ".log"
// appended, so choosing "server" cleans "server.log".
std::string CleanLogPath(const std::string& chosenPath);

// Cleans the file at logPath (taken as it is), without showing anything. The file is read
// twice at most, through a buffer: once to find whether it holds a byte 26 or 13 at all, and,
// when it does, once more to write the cleaned copy to a temporary file in the same folder,
// which then replaces the log in one rename and keeps the log's permissions. When nothing is
// found, or anything fails, the log is left byte for byte as it was.
CleanResult CleanLog(const std::string& logPath);

// The cleaning command: applies CleanLogPath to the chosen path, cleans that file and shows the
// outcome: "End Of File Markers removed." or "No End Of File Markers to remove." (caption
// "Info"), or a message naming the file that could not be opened, read or written (caption
// "Warning!").
CleanResult CleanLogFile(const std::string& chosenPath, Prompter& prompter);

}  // namespace vexor
