// Log analysis: reads one log file of a load into the document. Every file is read twice: the
// discovery pass finds the games and the player names and marks who took part in which game,
// so that the document can be sized; the statistics pass then fills the player and game
// records. Both passes of one kind of log find the same games and players in the same order.
//
// A pass reads its lines through ReadAhead: a second thread reads the file ahead, the line
// parsers (LineParsers.h) cut what each line says on either thread, and the pass applies it
// here, line by line in the order of the file.
//
// The passes write straight into the document. The driver names the file in the document's
// current log path before each call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextHash.h"
#include "log/ClientNumberTable.h"
#include "log/LineBatch.h"
#include "log/LineParsers.h"
#include "log/ReadAhead.h"

namespace vexor {

class VexoriumDoc;
class Prompter;
struct LogSelection;

class LogAnalysis {
 public:
  // Called while a pass reads, with the bytes read so far and the file's size: after every
  // megabyte read and once at the end of the file. Returning false stops the pass: it reads no
  // further line and fails (Stopped() tells such a stop from a file that cannot be read).
  using ReadObserver = std::function<bool(uint64_t bytesRead, uint64_t size)>;

  LogAnalysis(VexoriumDoc& doc, LogSelection& selection, Prompter& prompter);

  void SetReadObserver(ReadObserver observer) { m_observer = std::move(observer); }
  // True when the read observer stopped the last pass.
  bool Stopped() const { return m_stopped; }
  // The passes that follow read only the first limit bytes of the current log (a log that is
  // still being written, read up to its last whole line); kWholeLog reads it to its end.
  void SetReadLimit(uint64_t limit) { m_readLimit = limit; }

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
  void HandleInitGame(std::string_view line);
  // The statistics pass's handlers of a server line; a connect reads the line after its own.
  void HandleServerLine(const LineBatch& batch, const LineFacts& facts);
  // A "Kill:" line: a frag, a suicide or a death caused by the world, and the kill tables.
  void HandleKill(const LineBatch& batch, const LineFacts& facts);
  void CountWeaponFrag(int32_t killer, int8_t weapon, int32_t game, int32_t killerPosition,
                       int32_t victimPosition);
  // Marks the games in which nobody played longer than the threshold as short (hidden), or
  // shows every game with players when hiding is off; counts the displayed games.
  void MarkShortGames();

  // --- Client console logs. Players are known by their key (the name without colour codes)
  // alone. The discovery pass finds games, names and presence; the statistics pass creates the
  // player record of a name only when it is the next name the discovery pass found, so record k
  // stays name k whatever the log holds. A key that is empty or "Default" never becomes a name
  // or a record.
  bool ScanClientLog();
  bool ParseClientLog();
  // Statistics pass: a game start line opens the next game.
  void HandleClientGameStart();
  // Statistics pass: a player entry line counts the player as playing the current game (games
  // played, the game's values cleared the first time); entries before the file's first game
  // start count nothing.
  void HandleEnteredGame(const LineBatch& batch, const LineFacts& facts);
  // An obituary: a frag for the killer, a death for the victim, the weapon and the kill tables
  // (statistics pass), or the names and presence of both (discovery pass).
  void HandleObituary(const LineBatch& batch, const LineFacts& facts, bool statistics);
  // A suicide message: a suicide and a diagonal kill-table entry for the victim (statistics
  // pass), or the victim's name and presence (discovery pass).
  void HandleSuicideMessage(const LineBatch& batch, const LineFacts& facts, bool statistics);
  // Adds a frag with the obituary's weapon to the player's total and current game.
  void CountObituaryWeapon(int32_t player, int8_t weapon);
  // Adds 1 to the game's kill table of the obituary's weapon at [killer][victim], when the
  // cell lies inside the game's tables.
  void CountObituaryMatrix(int8_t weapon, int32_t killerPosition, int32_t victimPosition,
                           int32_t game);

  // --- Custom variables: the line parsers find the variables that match a line (VariableHit).
  // A match adds each applied slot's value to the counter of its target variable (ignored when
  // outside 0 to the count) for the slot's player, in total and in the current game. Discovery
  // passes only find names and presence; the statistics pass adds no names.
  void ApplyClientVariables(const LineBatch& batch, const LineFacts& facts, bool statistics);
  void ApplyServerVariables(const LineBatch& batch, const LineFacts& facts);

 private:
  enum class VariableSide { kClient, kServer };
  // A player a matching line names: the key and the raw text it came from (views into the
  // line, the caller's keys or a player record).
  struct NamedPlayer {
    std::string_view name;
    std::string_view rawName;
    int32_t record = -1;  // the record the name was read from (server variables), else -1
    int32_t number = kNameNotLookedUp;  // the name's number, when the parser gave it
  };
  // What FindPlayer gave for a name (a record's own name, or the name of a name number), while
  // the index of record names stays as it was.
  struct RecordLookup {
    uint64_t indexVersion = 0;
    int32_t nameCount = -1;
    int32_t found = -1;

    // True while the index and the name count are those of the look-up kept.
    bool Holds(const VexoriumDoc& doc) const;
    void Keep(const VexoriumDoc& doc, int32_t record);
  };

  void ScanClientLine(std::string_view line, bool* gameStarted);
  void ScanGameStart();
  void ScanEntry(std::string_view key);
  // Discovery pass: marks the name present in the game being read, adding it when it is new.
  void DiscoverName(std::string_view key);
  // Statistics pass: the record of the key, or the record created for it when the key is the
  // next name the discovery pass found; -1 otherwise. number is the key's number among the
  // names (FindName), or kNameNotLookedUp.
  int32_t ClientPlayer(std::string_view key, std::string_view rawName, int32_t number);
  // The player is seen in the current game: games played goes up the first time.
  void SeeInGame(int32_t p);
  // The in-game position of record p in the current game; -1 when it is not present there.
  int32_t ClientPosition(int32_t p);
  // The same for a record 1 to the name count. Presence is settled before the statistics pass,
  // so a record's position is kept for the game it was asked in.
  int32_t PresentPosition(int32_t p);
  void ApplyVariableMatch(VariableSide side, const ChangeSlots& slots,
                          const NamedPlayer (&named)[2], bool statistics);
  int32_t VariablePlayer(VariableSide side, const NamedPlayer& named, bool statistics);
  void AddToVariableCounts(VariableSide side, int32_t p, int32_t target, int32_t amount);

  // Starts reading the current log path with the parser of the pass.
  bool OpenCurrentLog(std::unique_ptr<LineParser> parser);
  std::unique_ptr<LineParser> MakeServerParser(bool statistics) const;
  std::unique_ptr<LineParser> MakeClientParser(bool statistics) const;
  // The next line; m_facts and m_batch tell what its parser found. A line and its facts stay
  // valid while one more line is read.
  bool NextLine(std::string_view* line);
  bool FinishPass();

  // The name a "ClientConnect:" line gets, in both server passes.
  struct ConnectName {
    std::string rawName;
    std::string name;  // without colour codes; empty when the connect names nobody
    int32_t team = 0;
  };
  // Reads the line after a connect line; the connect consumes it. The raw name and team come
  // from that line, unless it is another client's "ClientUserinfoChanged:" line (OpenArena
  // writes the next client's there). When it yields no name (or the log ends), they come from
  // the line directly before the connect line when that is a "ClientUserinfoChanged:" line of
  // the same client number, as OpenArena logs its bots. connectLine is read before the next
  // line is.
  void ReadConnectName(std::string_view connectLine, int wordEnd, ConnectName* connect);
  // Keeps the line just read when it is a user-information line, for a connect line that may
  // follow; forgets it otherwise. Every line read goes through here or ReadConnectName.
  void NoteLineBeforeConnect(LineKind kind, std::string_view line);
  void ScanConnect(std::string_view line, int wordEnd);
  void ScanInitGame(std::string_view line);
  bool HandleConnect(std::string_view line, int wordEnd);
  void HandleDisconnect(std::string_view line);
  void HandleShutdown(std::string_view line);
  void CreditConnection(int32_t p, std::string_view disconnectTime);
  void AddPlayTime(std::string_view connectTime, std::string_view disconnectTime, int32_t p);
  // The record connected as number under name (disambiguated as needed) among records 0 to
  // the player count; -1 when there is none.
  int32_t FindConnectedPlayer(std::string_view name, std::string_view number);
  // The record whose connection the latest connect of the client number opened in the current
  // game, while that connection is open; -1 otherwise. Players rename themselves while
  // connected, so a line's client number names its player more surely than the line's name.
  int32_t ConnectedIn(std::string_view number) const;
  // The player a kill line names by client number and name: the record connected in the number,
  // or, when none is, the record found by name (FindConnectedPlayer).
  int32_t KillPlayer(std::string_view name, std::string_view number);
  // The record's in-game position in the current game when it is present there under the
  // given client number; -1 otherwise.
  int32_t ServerPosition(int32_t p, std::string_view number);
  // The current game's player number, or -1 when the game has no record.
  int32_t CurrentPlayerNumber() const;
  // The raw name after the given number of tries to make it unique (Disambiguate applied that
  // often), kept for the rest of the pass.
  const std::string& RawNameTry(const std::string& rawName, size_t tries);
  // Forgets the tries of the names of an earlier pass.
  void ForgetNameTries();

  VexoriumDoc& m_doc;
  LogSelection& m_selection;
  Prompter& m_prompter;
  std::unique_ptr<LineParser> m_parser;  // the current pass's; outlives the reading
  ReadAhead m_reader;
  const LineFacts* m_facts = nullptr;
  const LineBatch* m_batch = nullptr;
  ReadObserver m_observer;
  uint64_t m_lastReport = 0;
  uint64_t m_readLimit = kWholeLog;
  bool m_stopped = false;
  std::vector<RecordLookup> m_recordLookups;  // by record; server variables only
  std::vector<RecordLookup> m_nameLookups;    // by name number; ClientPlayer
  // The doc's name numbers for the client parser of the statistics pass (no name is added then).
  class DocNameNumbers : public LineParser::NameNumbers {
   public:
    explicit DocNameNumbers(const VexoriumDoc& doc) : m_doc(doc) {}
    int32_t NumberOf(std::string_view name) const override;

   private:
    const VexoriumDoc& m_doc;
  };
  DocNameNumbers m_nameNumbers{m_doc};
  struct KeptPosition {
    int32_t game = -1;
    int32_t position = -1;
  };
  std::vector<KeptPosition> m_positions;  // by record (PresentPosition)
  std::string m_userInfoBefore;           // the line read last, when it is a user-information line
  bool m_hasUserInfoBefore = false;
  // Statistics pass: the record each client number's latest connect in the current game took
  // (ConnectedIn). Cleared at every "InitGame:".
  ClientNumberTable m_connectedIn;
  // A connect's name is made unique by tries (Bob, Bob_1, Bob_2 ...), each of them a name
  // (discovery) or a player record (statistics) that, once there, stays for the rest of the
  // pass. What the tries found is kept by the name the log gives, in the order of the tries,
  // so that the next connect of that name checks only their client slots: thousands of
  // clients of one name, whose tried names grow longer at every try, take no time.
  TextMap<std::vector<int32_t>> m_nameTries;
  TextMap<std::vector<int32_t>> m_playerTries;
  TextMap<std::vector<std::string>> m_rawNameTries;
};

}  // namespace vexor
