// The passes over a game server's log (games.log): a sequence of games, each opened by
// "InitGame:", players joining with "ClientConnect:" (named by the user-information line after
// it), leaving with "ClientDisconnect:", killing with "Kill:", the game ending with
// "ShutdownGame:".
//
// The discovery pass (Scan) counts the games, finds the names (a second client of a name in one
// game becomes Bob_1 ...) and marks who took part in which game. The statistics pass (Parse)
// follows each connection's play time and team, counts kills, weapons and the kill tables, and
// applies the server custom variables to every line. Both find the same games and players in the
// same order: record k belongs to name k.
//
// Each game is read by the line rules of its family (GameFamilies.h), taken from its "InitGame:"
// line. A player who leaves a game and comes back to it is the same player (GameConnections.h).
//
// Files: ServerLogScan.cpp (discovery), ServerLogParse.cpp (games, connections, play time),
// ServerKills.cpp (kills), ServerVariables.cpp (custom variables), ShortGames.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FlatTextMap.h"
#include "base/TextHash.h"
#include "log/ClientNumberTable.h"
#include "log/GameConnections.h"
#include "log/GameFamilies.h"
#include "log/LogPass.h"

namespace vexor {

class ServerLogPass : public LogPass {
 public:
  using LogPass::LogPass;

  // The discovery pass over the document's current log path; false when the file cannot be
  // opened or read, or the read observer stopped it.
  bool Scan();
  // The statistics pass; false likewise. At its end the games without a player who stayed
  // longer than the short-game threshold are marked short.
  bool Parse();
  // Both passes in one reading, line by line (ServerLogOnce.cpp); false likewise. *twoPasses is
  // set when the reading stopped where the two passes would read the log otherwise, or where
  // the log holds as many names or games as the limits: the document must then be reset and
  // the log read in the two passes.
  struct Limits {
    int32_t names = 0;
    int32_t games = 0;
  };
  bool ReadOnce(const Limits& limits, bool* twoPasses);

 private:
  // The name a "ClientConnect:" line gets, in both passes.
  struct ConnectName {
    std::string rawName;
    std::string name;  // without colour codes; empty when the connect names nobody
    int32_t team = 0;
  };

  std::unique_ptr<LineParser> MakeParser(bool statistics) const;

  // --- Both passes.
  // The killer number of a death the world caused.
  static constexpr std::string_view kWorldNumber = "1022";
  // Client numbers from here on are non-player characters where the family has them.
  static constexpr int32_t kFirstNonPlayer = 32;
  // The game's family and its rules.
  void SetFamily(GameFamily family);
  // The client number of a connect line: each pass cuts a plain connect's its own way.
  std::string ConnectNumber(std::string_view line, int wordEnd, bool statistics) const;
  // True when the client number stands for a non-player character in the game's family.
  bool IsNonPlayer(std::string_view number) const;
  // True when a kill line's player under this number is taken as connected (the family names
  // players from kill lines, the number is a player's and nobody is connected in it).
  bool TakesKillName(std::string_view number, const GameConnections& connections) const;
  // Reads the line after a connect line; the connect consumes it. The raw name and team come
  // from that line, unless it is another client's "ClientUserinfoChanged:" line (OpenArena
  // writes the next client's there). When it yields no name (or the log ends), they come from
  // the line directly before the connect line when that is a "ClientUserinfoChanged:" line of
  // the same client number, as OpenArena logs its bots. connectLine is read before the next
  // line is. The kind of the last line read, kOther when none was.
  LineKind ReadConnectName(std::string_view connectLine, int wordEnd, ConnectName* connect);
  // Keeps the line just read when it is a user-information line, for a connect line that may
  // follow; forgets it otherwise. Every line read goes through here or ReadConnectName.
  void NoteLineBeforeConnect(LineKind kind, std::string_view line);
  // Forgets the tries of the names of an earlier pass.
  void ForgetNameTries();

  // --- Discovery.
  // Lines of this length or shorter tell the discovery nothing.
  static constexpr size_t kShortestScanned = 10;
  void ScanConnect(std::string_view line, int wordEnd);
  // A connect's name, or nobody, under the client number in the current game.
  void DiscoverConnect(const std::string& slot, const ConnectName& connect);
  // A line of another kind than a connect: games, disconnects and the names of kill lines.
  void ScanEvent(std::string_view line, const LineFacts& facts);
  // The name a connect gives under the client number, made unique by tries, marked present.
  void DiscoverConnection(const std::string& slot, const std::string& connectName);
  // The players a kill line names where the family takes players from kill lines.
  void ScanKillNames(std::string_view line);
  void ScanInitGame(std::string_view line, bool wallClock);

  // --- Statistics: games, connections and play time.
  // The state a statistics pass starts from, the game and connections an earlier log left.
  void StartStatistics();
  // One line's handler by its kind; a connect reads the line after its own.
  void HandleServerLine(const LineBatch& batch, const LineFacts& facts);
  void HandleInitGame(std::string_view line, bool wallClock);
  bool HandleConnect(std::string_view line, const LineFacts& facts);
  // A connect's player under the client number from the clock on: the record of the name (made
  // unique by tries), or a new one. False when the connect names nobody.
  bool TakeConnection(const std::string& number, const std::string& time,
                      const ConnectName& connect);
  void HandleDisconnect(std::string_view line, const LineFacts& facts);
  void HandleShutdown(std::string_view line, const LineFacts& facts);
  // The line's game clock: as logged, or for a line stamped with the wall clock, the time since
  // the game's "InitGame:" line.
  std::string GameClock(std::string_view line, const LineFacts& facts) const;
  // A player who left the game came back to it: his game's values stay, the seconds of his
  // connections add up, and the game counts once in his games played.
  void NoteReturn(int32_t p);
  bool Returned(int32_t p) const;
  // Ends a connection at the given clock: the time played is credited, the game's hourly rates
  // computed and the game counted as played.
  void CreditConnection(int32_t p, std::string_view disconnectTime);
  void AddPlayTime(std::string_view connectTime, std::string_view disconnectTime, int32_t p);
  // Calls close(p) for every record with an open connection, in ascending order. A game ends
  // for its players, not for every record: the records that opened a connection are kept
  // (m_mayBeOpen), so that the end of each game costs its players, not the log's.
  template <typename Close>
  void CloseOpenConnections(Close close);
  // The raw name after the given number of tries to make it unique (Disambiguate applied that
  // often), kept for the rest of the pass.
  const std::string& RawNameTry(const std::string& rawName, size_t tries);
  // Marks the games in which nobody played longer than the threshold as short (hidden), or
  // shows every game with players when hiding is off; counts the displayed games.
  void MarkShortGames();

  // --- Statistics: kills.
  // A "Kill:" line: a frag, a suicide or a death caused by the world, and the kill tables.
  void HandleKill(const LineBatch& batch, const LineFacts& facts);
  // What a kill adds to its game's kill tables, where its players have places: known once the
  // game's players are (at once in the statistics pass, at the game's end in a single reading).
  struct KillCells {
    int32_t game = 0;
    int32_t killer = -1;  // the killer's record, when the kill has one
    int32_t victim = -1;
    int8_t weapon = kNoWeapon;  // a frag's
    bool killerInSlot = false;  // the record holds the client number the line gives
    bool victimInSlot = false;
    bool world = false;
    bool suicide = false;
    bool fragged = false;
    bool weaponCounted = false;  // the frag's weapon already counted for the killer
  };
  void CountKillCells(KillCells cells);
  // A single reading keeps a kill's cells for the game's end (CountGameKillCells).
  void KeepKillCells(const KillCells& cells);
  // The game's player number counted, its tables sized and its kills' cells counted.
  void CountGameKillCells();
  // True when record p holds the client number (and is one of the names).
  bool InClientSlot(int32_t p, std::string_view number) const;
  // The players a kill line names where the family takes players from kill lines.
  void TakeKillNames(const LineBatch& batch, const LineFacts& facts);
  void CountPlayerWeaponFrag(int32_t killer, int8_t weapon, int32_t game);
  void CountWeaponCell(int8_t weapon, int32_t game, int32_t killerPosition, int32_t victimPosition);
  // The record connected as number under name (disambiguated as needed) among records 0 to
  // the player count; -1 when there is none.
  int32_t FindConnectedPlayer(std::string_view name, std::string_view number);
  // The record whose connection the latest connect of the client number opened in the current
  // game, while that connection is open; -1 otherwise. Players rename themselves while
  // connected, so a line's client number names its player more surely than the line's name.
  int32_t ConnectedIn(std::string_view number) const;
  // The player a kill line names by client number and raw name: the record connected in the
  // number, or, when none is, the record found by the name without colour codes
  // (FindConnectedPlayer).
  int32_t KillPlayer(std::string_view rawName, std::string_view number);

  // --- A single reading (ServerLogOnce.cpp).
  // A connect line: the discovery's name and the statistics' player from one reading of the
  // line after it.
  void ReadConnectOnce(std::string_view line, const LineFacts& facts);

  // --- Statistics: custom variables. The players are the records connected under the client
  // numbers a match carries.
  void ApplyServerVariables(const LineBatch& batch, const LineFacts& facts);
  int32_t VariablePlayer(const NamedPlayer& named, bool statistics) override;

  GameFamily m_family = GameFamily::kQuake3;
  const FamilyRules* m_rules = &RulesOf(GameFamily::kQuake3);
  // Who is connected under which number in the current game, and who left it; kept alike in
  // both passes (by name number, by record).
  GameConnections m_connections;
  GameConnections m_scanConnections;  // the discovery's
  // Statistics pass: the records that came back to the current game.
  std::vector<uint8_t> m_returned;
  std::vector<int32_t> m_returnedIds;
  // Statistics pass: every record whose connection may be open (those open when the pass
  // began and those connected since), with repeats; CloseOpenConnections keeps it short.
  std::vector<int32_t> m_mayBeOpen;
  // Statistics pass: the wall clock of the current game's "InitGame:" line, in seconds, when
  // its lines are stamped with the wall clock.
  int64_t m_clockStart = 0;
  std::string m_userInfoBefore;  // the line read last, when it is a user-information line
  bool m_hasUserInfoBefore = false;
  // Statistics pass: the record each client number's latest connect in the current game took
  // (ConnectedIn). Cleared at every "InitGame:".
  ClientNumberTable m_connectedIn;
  // A connect's name is made unique by tries (Bob, Bob_1, Bob_2 ...), each of them a name
  // (discovery) or a player record (statistics) that, once there, stays for the rest of the
  // pass. What the tries found is kept by the name the log gives, in the order of the tries,
  // so that the next connect of that name checks only their client slots: thousands of
  // clients of one name, whose tried names grow longer at every try, take no time.
  FlatTextMap<std::vector<int32_t>> m_nameTries;
  FlatTextMap<std::vector<int32_t>> m_playerTries;
  TextMap<std::vector<std::string>> m_rawNameTries;
  std::vector<RecordLookup> m_recordLookups;  // by record: a record's own name looked up
  // A single reading: the reading runs (kills' cells are kept), the kept cells of the current
  // game, and whether the log must be read in two passes.
  bool m_once = false;
  std::vector<KillCells> m_gameKills;
  bool m_readTwice = false;
};

}  // namespace vexor
