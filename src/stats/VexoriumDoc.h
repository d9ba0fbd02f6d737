// The document: every statistic of the current load, the custom-variable definitions, the
// options and the state that the loader, the views and the dialogs share. One per run.
//
// Players, games and custom variables are numbered from 1; entry 0 of every table exists, is
// reset like the others and is never shown. The statistics pass uses player record 0 as a
// scratch record for lines that arrive before the first game.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/FlatTextMap.h"
#include "base/TextHash.h"
#include "customvars/CustomVariables.h"
#include "stats/GameFamily.h"
#include "stats/GameRecord.h"
#include "stats/Options.h"
#include "stats/PlayerRecord.h"
#include "stats/PresenceTable.h"

namespace vexor {

class ArchiveReader;

class VexoriumDoc {
 public:
  static constexpr int32_t kMaxPlayers = 2500;
  static constexpr int32_t kPlayerSlots = kMaxPlayers + 1;
  static constexpr int32_t kMaxGames = 5000;
  static constexpr int32_t kGameSlots = kMaxGames + 1;
  static constexpr const char* kNoSlot = "-99";

  VexoriumDoc();

  std::string currentLogPath;   // the log file that log analysis reads next
  std::string reportIndexPath;  // the report's first index page
  bool refresh = false;         // the views rebuild at their next update
  bool startupPending = true;   // until the first new-document call has run
  std::string logDirectory;     // initial folder of the log file dialogs
  bool clientLogSeen = false;   // a client log was read: no times are known
  // The game families whose games the load read (by GameFamily): their weapons are the load's.
  std::array<bool, kGameFamilyCount> familiesRead{};
  bool serverLogAbsent = false;       // no server log has been read in this load
  bool gameClosed = false;            // the last game has seen its "ShutdownGame:"
  int32_t displayedGameCount = 0;     // games whose short-game flag is clear
  bool teamArenaSet = false;          // the server variable set came from "teamarena_server.var"
  int32_t nameCount = 0;              // names found by the discovery pass
  int32_t playerCount = 0;            // player records created by the statistics pass
  int32_t gameCount = 0;              // games of the load (groups once games are summed)
  int32_t currentGame = 0;            // the game the statistics pass is in
  int32_t clientGameCounter = 0;      // games seen in the client log being read
  std::vector<PlayerRecord> players;  // kPlayerSlots records
  std::vector<GameRecord> games;      // kGameSlots records
  int32_t currentScreen = 0;          // 0 start, 1 logged data, 2 graphs, 3 game by game, 4 about
  PresenceTable presence;             // [game][name]
  int32_t clientVarCount = 0;
  int32_t serverVarCount = 0;
  ClientVariableSet clientVars;
  ServerVariableSet serverVars;
  int32_t printChoice = 0;
  bool storageAllocated = false;  // a load's per-game storage is in use
  Options options;

  // --- Player names of the discovery pass and their name slots (the client number under which
  // a name is connected in the current game, "-99" when it is not).
  const std::string& PlayerName(int32_t n) const { return m_names[static_cast<size_t>(n)]; }
  const std::string& NameSlot(int32_t n) const { return m_nameSlots[static_cast<size_t>(n)]; }
  // The number of the name among names 0 to the name count; -1 when there is none.
  int32_t FindName(std::string_view key) const;
  // Adds a name as number name count + 1 with its slot; -1 when 2500 names are taken.
  int32_t AddName(std::string_view key, std::string_view slot);
  void SetNameSlot(int32_t n, std::string_view slot);
  // Names 1 to 2500 are connected nowhere ("-99"); done at every "InitGame:".
  void ResetNameSlots();

  // --- Player records by key name and by client slot.
  // The last record from first to last whose name is name; -1 when there is none.
  int32_t FindPlayer(std::string_view name, int32_t first, int32_t last) const;
  void SetPlayerName(int32_t p, std::string name);
  void SetClientSlot(int32_t p, std::string_view slot);
  // The first record from 0 to last whose client slot is slot; -1 when there is none.
  int32_t FirstPlayerInSlot(std::string_view slot, int32_t last) const;
  // The last record from first to last whose client slot is slot; -1 when there is none.
  int32_t LastPlayerInSlot(std::string_view slot, int32_t first, int32_t last) const;
  // The record from first to last that is connected under the client slot now (its connect
  // time set and no disconnect time), the first or the last such record; when no holder of the
  // slot is connected, the first or the last holder. A client number is given to the next
  // player as soon as one leaves, while the one who left keeps it until the next game: the
  // connected holder is the player the number stands for. -1 when nobody holds the slot.
  int32_t ConnectedPlayerInSlot(std::string_view slot, int32_t first, int32_t last,
                                bool lastOne) const;
  // Records first to 2500 are connected nowhere ("-99").
  void ResetClientSlots(int32_t first);
  // Creates record player count + 1 for a new player: every total 0, time-credit factor 1, no
  // connect or disconnect time, no per-game values, the given names and client slot. -1 when
  // 2500 records exist.
  int32_t CreatePlayer(std::string name, std::string rawName, std::string_view slot);

  // --- Steps of a load.
  // Clears the counts, the names and the game records before the discovery pass.
  void ResetForLoad();
  // Sizes the statistics for the counts the discovery pass found: shrinks the presence table,
  // resets every player record, counts each game's players and sizes its kill tables. May throw
  // std::bad_alloc.
  void PrepareStatistics();
  // The same for a log read once, both passes' work line by line (ClientLogPass::ReadOnce):
  // before it, every player record is reset (may throw std::bad_alloc); the reading sizes each
  // game's kill tables at the game's end; after it, the presence table is shrunk and the tables
  // of the slots without a game are sized.
  void PrepareSingleReading();
  void FinishSingleReading();
  // Rebuilds the name and slot indexes after records were filled from outside (a data file).
  void RebuildPlayerIndexes();
  // Changes whenever a record's name enters or leaves the name index, to a value no other index
  // state of any document had: while it stays, FindPlayer gives the same answers.
  uint64_t PlayerIndexVersion() const { return m_playerIndexVersion; }
  // Names 1 to the name count become the key names of player records 1 to the name count, all
  // connected nowhere ("-99"); later names are cleared. For statistics that come without the
  // discovery pass's names (a data file stores none).
  void NamesFromPlayers();

  // Reads the options and the log directory from an archive of the settings file; stops at the
  // first field that cannot be read and keeps what was read.
  void ReadSettings(ArchiveReader& archive);

  // True when the game record exists (0 to kMaxGames).
  static bool IsGameSlot(int32_t g) { return g >= 0 && g < kGameSlots; }
  static bool IsPlayerSlot(int32_t p) { return p >= 0 && p < kPlayerSlots; }

 private:
  void ClearNames();
  void ResetPlayerRecords();
  // Sizes the kill tables of the game slots first to last: a game's for its player number,
  // those past the last game empty.
  void SizeKillTables(int32_t first, int32_t last);
  // Zeroed custom-variable totals with entries 0 to each set's count.
  void SizeVariableTotals(PlayerRecord& player) const;
  void IndexPlayerName(int32_t p);
  void UnindexPlayerName(int32_t p);

  // The records whose key name is one name, ascending (a record may be there twice); the only
  // one kept without a vector, as nearly every name has one record.
  class NameHolders {
   public:
    bool Empty() const { return m_all.empty() && m_one < 0; }
    void Add(int32_t p);
    // Removes every entry of the record.
    void Remove(int32_t p);
    // The last holder from first to last; -1 when there is none.
    int32_t LastIn(int32_t first, int32_t last) const;

   private:
    int32_t m_one = -1;          // the only holder while m_all is empty
    std::vector<int32_t> m_all;  // every holder, once there are two
  };

  std::vector<std::string> m_names;
  std::vector<std::string> m_nameSlots;
  FlatTextMap<int32_t> m_nameIndex;
  std::vector<int32_t> m_namesInSlots;  // names whose slot is not "-99"
  FlatTextMap<NameHolders> m_playerIndex;
  uint64_t m_playerIndexVersion = 0;  // see PlayerIndexVersion
  // The holders of each client slot but "-99", which holds every other record.
  TextMap<std::set<int32_t>> m_slotIndex;
  // Calls visit(p) for the records from first to last that hold the slot, in order, until it
  // returns false.
  template <typename Visit>
  void VisitSlotHolders(std::string_view slot, int32_t first, int32_t last, Visit visit) const;
};

}  // namespace vexor
