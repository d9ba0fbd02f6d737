// The passes over a game client's console log (its first line starts with "logfile"): game
// starts, map loads, players entering, obituaries and suicide messages. Players are known by
// their key (the name without colour codes) alone: a client log has no client numbers and no
// clock. A client log's games are numbered on from the games already counted in the load, and
// its names join the names of every other log of the load.
//
// The discovery pass (Scan) finds games, names and presence; the statistics pass (Parse) creates
// the player record of a name only when it is the next name the discovery pass found, so record
// k stays name k whatever the log holds. A key that is empty or "Default" never becomes a name or
// a record.
//
// Files: ClientLogScan.cpp (discovery), ClientLogParse.cpp (games and entries), Obituaries.cpp
// (obituaries and suicides), ClientVariables.cpp (custom variables).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

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

  std::unique_ptr<LineParser> MakeParser(bool statistics) const;

  // --- Discovery.
  void ScanClientLine(std::string_view line, bool* gameStarted);
  void ScanGameStart();
  void ScanEntry(std::string_view key);
  // Marks the name present in the game being read, adding it when it is new.
  void DiscoverName(std::string_view key);

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

  DocNameNumbers m_nameNumbers;
  std::vector<RecordLookup> m_nameLookups;  // by name number (ClientPlayer)
};

}  // namespace vexor
