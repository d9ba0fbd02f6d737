// Log analysis: reads one log file of a load into the document. Every file is read twice: the
// discovery pass finds the games and the player names and marks who took part in which game,
// so that the document can be sized; the statistics pass then fills the player and game
// records. Both passes of one kind of log find the same games and players in the same order.
// A log loaded alone is read once, with both passes' work done line by line
// (ReadClientLogOnce, ReadServerLogOnce).
//
// The first line tells the kind of log: a client console log starts with "logfile"
// (ClientLogPass), anything else is read as a game server's log (ServerLogPass). A pass reads
// its lines through ReadAhead: a second thread reads the file ahead, the line parsers
// (LineParsers.h) cut what each line says on either thread, and the pass applies it, line by
// line in the order of the file, straight into the document. The driver names the file in the
// document's current log path before each call.
#pragma once

#include <cstdint>
#include <string>

#include "log/LogLineReader.h"
#include "log/LogPass.h"

namespace vexor {

class VexoriumDoc;
class Prompter;
struct LogSelection;

// What a log's first line says it is: a client console log starts with "logfile", anything
// else is a server log. kUnreadable when the file cannot be opened.
enum class LogKind { kUnreadable, kClient, kServer };
LogKind KindOfLog(const std::string& path, uint64_t limit = kWholeLog);

class LogAnalysis {
 public:
  LogAnalysis(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter);

  // Called while a pass reads (LogPass.h); returning false stops the pass.
  void SetReadObserver(ReadObserver observer) { m_observer = std::move(observer); }
  // True when the read observer stopped the last pass (and not a file that cannot be read).
  bool Stopped() const { return m_stopped; }
  // The passes that follow read only the first limit bytes of the current log (a log that is
  // still being written, read up to its last whole line); kWholeLog reads it to its end.
  void SetReadLimit(uint64_t limit) { m_readLimit = limit; }

  // Tells a server log from a client log by its first line and runs one pass over it: the
  // discovery pass when discovery is true, otherwise the statistics pass. False when the file
  // cannot be opened or read, or the pass was stopped.
  bool AnalyseLogFile(bool discovery);
  // Reads the current log path, a client log, in one reading (ClientLogPass::ReadOnce).
  // kTwoPasses when the document must be reset and the log read in two passes; kFailed when the
  // file cannot be read or the pass was stopped.
  enum class OnceResult { kRead, kTwoPasses, kFailed };
  OnceResult ReadClientLogOnce();
  // Reads the current log path, a server log, in one reading (ServerLogPass::ReadOnce). A log
  // that reaches nameLimit names or gameLimit games gives kTwoPasses.
  OnceResult ReadServerLogOnce(int32_t nameLimit, int32_t gameLimit);
  // The guarded entry for the statistics pass of the current log path. An empty path shows
  // "Bad Games.Log" and clears the selected log path.
  bool AnalyseCurrentLog(bool run);

 private:
  VexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  ReadObserver m_observer;
  uint64_t m_readLimit = kWholeLog;
  bool m_stopped = false;
};

}  // namespace vexor
