// The passes over a game client's console log (its first line starts with "logfile"): game
// starts, map loads, players entering, obituaries and suicide messages. Players are known by
// their key (the name without colour codes) alone: a client log has no client numbers and no
// clock. A client log's games are numbered on from the games already counted in the load, and
// its names join the names of every other log of the load.
//
// The discovery pass (Scan) finds games, names and presence; the statistics pass (Parse) creates
// the player record of a name only when it is the next name the discovery pass found, so record
// k stays name k whatever the log holds. A key that is empty or "Default" never becomes a name or
// a record. A load of one client log alone does both passes' work in one reading (ReadOnce).
//
// Files: ClientLogScan.cpp (discovery), ClientLogParse.cpp (games and entries), Obituaries.cpp
// (obituaries and suicides), ClientVariables.cpp (custom variables), ClientLogOnce.cpp (the
// single reading).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/TextHash.h"
#include "log/LineParsers.h"
#include "log/LogPass.h"

namespace vexor {

class ClientLogPass : public LogPass {
 public:
  ClientLogPass(VexoriumDoc& doc, const ReadObserver& observer, uint64_t limit);

  // The discovery pass over the document's current log path; false when the file cannot be
  // opened or read, or the read observer stopped it.
  bool Scan();
  // The statistics pass; false likewise.
  bool Parse();
  // Both passes in one reading, for a load of this log alone: each line is read for its names
  // and presence, then counted, and a game's kill tables are counted at its end, when its
  // players are all known. False when the file cannot be opened or read, or the read observer
  // stopped it. *twoPasses is set when the reading may have counted otherwise than the two
  // passes: a variable named a player before the log named him (the statistics pass would
  // have known the name from the discovery pass). The load must then read the log in two
  // passes, from a reset document.
  bool ReadOnce(bool* twoPasses);

 private:
  // The doc's name numbers for the parser of the statistics pass (no name is added then), read
  // from the reading thread.
  class DocNameNumbers : public LineParser::NameNumbers {
   public:
    explicit DocNameNumbers(const VexoriumDoc& doc) : m_doc(doc) {}
    int32_t NumberOf(std::string_view name) const override;

   private:
    const VexoriumDoc& m_doc;
  };

  std::unique_ptr<LineParser> MakeParser(ClientReading reading) const;

  // --- Discovery.
  void ScanClientLine(std::string_view line, bool* gameStarted);
  void ScanGameStart();
  // The discovery of a game start: the game's record and presence row (the game counters are
  // the statistics pass's).
  void OpenDiscoveredGame();
  // A map load line names the next game's map.
  void ScanMapLoad(std::string_view line, const LineFacts& facts);
  // An entry line after the file's first game start marks its player present: his name
  // number, -1 for none, or kNameNotLookedUp for a line that marks nobody.
  int32_t ScanEntryLine(const LineBatch& batch, const LineFacts& facts, bool gameStarted);
  // Marks an entering player present; his name number, or -1.
  int32_t ScanEntry(std::string_view key);
  // Marks the name present in the game being read, adding it when it is new: its number, or -1
  // for none.
  int32_t DiscoverName(std::string_view key);

  // --- Statistics.
  // A game start line opens the next game.
  void HandleClientGameStart();
  // A player entry line counts the player as playing the current game (games played, the
  // game's values cleared the first time); entries before the file's first game start count
  // nothing.
  void HandleEnteredGame(const LineBatch& batch, const LineFacts& facts);
  // An obituary: a frag for the killer, a death for the victim, the weapon and the kill tables
  // (statistics pass), or the names and presence of both (discovery pass).
  void HandleObituary(const LineBatch& batch, const LineFacts& facts, bool statistics);
  // A suicide message: a suicide and a diagonal kill-table entry for the victim (statistics
  // pass), or the victim's name and presence (discovery pass).
  void HandleSuicideMessage(const LineBatch& batch, const LineFacts& facts, bool statistics);
  // The statistics of an obituary and a suicide message, the names' numbers given (or
  // kNameNotLookedUp).
  void CountObituary(const LineBatch& batch, const LineFacts& facts,
                     const std::array<int32_t, 2>& numbers);
  void CountSuicide(const LineBatch& batch, const LineFacts& facts, int32_t number);
  // A kill-table entry: the records of killer and victim (the same for a suicide, which counts
  // only in the table of all weapons) and the obituary's weapon.
  struct Kill {
    int32_t killer = -1;
    int32_t victim = -1;
    int8_t weapon = kNoWeapon;
    bool suicide = false;
  };
  // Counts the entry in the current game's tables, when both players have places there; the
  // single reading keeps it for the game's end.
  void CountKill(const Kill& kill);
  // Adds a frag with the obituary's weapon to the player's total and current game.
  void CountObituaryWeapon(int32_t player, int8_t weapon);
  // Adds 1 to the game's kill table of the obituary's weapon at [killer][victim], when the
  // cell lies inside the game's tables.
  void CountObituaryMatrix(int8_t weapon, int32_t killerPosition, int32_t victimPosition,
                           int32_t game);
  // The record of the key, or the record created for it when the key is the next name the
  // discovery pass found; -1 otherwise. number is the key's number among the names (FindName),
  // or kNameNotLookedUp.
  int32_t ClientPlayer(std::string_view key, std::string_view rawName, int32_t number);
  // The player is seen in the current game: games played goes up the first time.
  void SeeInGame(int32_t p);
  // The in-game position of record p in the current game; -1 when it is not present there.
  int32_t ClientPosition(int32_t p);

  // --- Custom variables: every client variable to every line, in index order. Discovery
  // passes only find names and presence; the statistics pass adds no names.
  void ApplyClientVariables(const LineBatch& batch, const LineFacts& facts, bool statistics);
  int32_t VariablePlayer(const NamedPlayer& named, bool statistics) override;

  // --- The single reading (ClientLogOnce.cpp).
  void ReadLineOnce(std::string_view line, bool* gameStarted);
  // The game the reading leaves: its player number, its tables and the kills kept for them.
  void CountGameKills();
  void KeepGameKill(const Kill& kill);
  // DiscoverName for a name of an obituary or suicide (in the batch, LineBatch::Name), found
  // without a look-up when the same game of the same batch named it before: the parser keeps
  // each name of a batch's game once (GameNameMemo), and a game's names recur on most lines.
  int32_t DiscoverLineName(const LineBatch& batch, TextSpan name);
  // The number the line's discovery found for a name a variable's match gives, when it is one
  // of the line's own names; kNameNotLookedUp otherwise.
  int32_t LineNameNumber(const LineBatch& batch, const LineFacts& facts, TextSpan name) const;
  // A name the statistics looked for in vain; noted when every name has its record, as a name
  // the two passes would have created a record for if it is the next name found.
  void NoteUnnamed(std::string_view key);
  // A name is found: the two passes would have counted otherwise when it is one of the noted.
  void NoteNewName(std::string_view key);

  DocNameNumbers m_nameNumbers;
  std::vector<RecordLookup> m_nameLookups;  // by name number (ClientPlayer)
  bool m_once = false;                      // the single reading
  std::vector<Kill> m_gameKills;            // its current game's kills, counted at the game's end
  std::array<int32_t, 2> m_lineNumbers{};   // the names of its current line, as discovered
  std::unordered_set<std::string, TextHash, std::equal_to<>> m_unnamed;  // NoteUnnamed
  // The log must be read in two passes: NoteNewName met a noted name, or too much was kept.
  bool m_readTwice = false;
  struct SeenName {
    uint64_t firstByte = 0;  // the batch (LineBatch::firstByte)
    uint32_t at = 0;
    uint32_t size = UINT32_MAX;  // none
    int32_t game = 0;
    int32_t number = -1;
  };
  static constexpr int kSeenNameBits = 6;
  std::array<SeenName, size_t{1} << kSeenNameBits> m_seenNames;  // DiscoverLineName
};

}  // namespace vexor
