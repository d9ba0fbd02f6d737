// Log analysis: reads one log file of a load into the document. Every file is read twice: the
// discovery pass finds the games and the player names and marks who took part in which game,
// so that the document can be sized; the statistics pass then fills the player and game
// records. Both passes of one kind of log find the same games and players in the same order.
//
// The passes write straight into the document. The driver names the file in the document's
// current log path before each call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "log/LogLineReader.h"

namespace vexor {

class CVexoriumDoc;
class Prompter;
struct LogSelection;

class LogAnalysis {
 public:
  // Called while a pass reads, with the bytes read so far and the file's size.
  using ReadObserver = std::function<void(uint64_t bytesRead, uint64_t size)>;

  LogAnalysis(CVexoriumDoc& doc, LogSelection& selection, Prompter& prompter);

  void SetReadObserver(ReadObserver observer) { m_observer = std::move(observer); }

  // Tells a server log from a client log by its first line and runs one pass over it: the
  // discovery pass when discovery is true, otherwise the statistics pass. False when the file
  // cannot be opened or read.
  bool AnalyseLogFile(bool discovery);
  // The guarded entry for the statistics pass of the current log path. An empty path shows
  // "Bad Games.Log" and clears the selected log path.
  bool AnalyseCurrentLog(bool run);

  // --- Server logs (game lifecycle, connections and play time; kills).
  bool ScanServerLog();
  bool ParseServerLog();
  bool HandleInitGame(std::string_view word, std::string_view line);
  // The line must stay valid while the next line is read (a stable copy).
  bool HandleClientEvent(std::string_view word, std::string_view line, int wordEnd);
  bool HandleKill(std::string_view word, std::string_view line);
  bool CountWeaponFrag(int32_t killer, std::string_view meansOfDeath, int32_t game,
                       int32_t killerPosition, int32_t victimPosition);
  // Marks the games in which nobody played longer than the threshold as short (hidden), or
  // shows every game with players when hiding is off; counts the displayed games.
  void MarkShortGames();

  // --- Client console logs.
  bool ScanClientLog();
  bool ParseClientLog();

 private:
  bool OpenCurrentLog();
  bool NextLine(std::string_view* line);
  bool FinishPass();

  void ScanConnect(std::string_view line, int wordEnd);
  void ScanInitGame(std::string_view line);
  bool HandleConnect(std::string_view line, int wordEnd);
  void HandleDisconnect(std::string_view line);
  void HandleShutdown(std::string_view line);
  void CreditConnection(int32_t p, std::string_view disconnectTime);
  void AddPlayTime(std::string_view connectTime, std::string_view disconnectTime, int32_t p);
  // The record connected as number under name (disambiguated as needed) among records 0 to
  // the player count; -1 when there is none.
  int32_t FindConnectedPlayer(std::string name, std::string_view number) const;
  // The record's in-game position in the current game when it is present there under the
  // given client number; -1 otherwise.
  int32_t ServerPosition(int32_t p, std::string_view number) const;
  // The current game's player number, or -1 when the game has no record.
  int32_t CurrentPlayerNumber() const;

  CVexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  LogLineReader m_reader;
  ReadObserver m_observer;
  uint64_t m_lastReport = 0;
  std::string m_heldLine;
};

}  // namespace vexor
