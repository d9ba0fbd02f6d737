#include "stats/DataFileReader.h"

#include "stats/DataFileFamilies.h"

#include <algorithm>

#include "base/Archive.h"
#include "base/StringPrintf.h"
#include "customvars/VariableFile.h"
#include "stats/DataFileLayout.h"

namespace vexor {
namespace {

constexpr int32_t kMaxNames = 2500;
constexpr int32_t kMaxGames = 5000;
constexpr uint64_t kIntBytes = 4;
constexpr uint64_t kCellInts = KillTables::kTableCount;

// The smallest a player record can be before its per-game blocks: six int32, five texts of at
// least their one-byte length, nine weapon totals and the variable totals.
uint64_t SmallestPlayer(int32_t clientVars, int32_t serverVars) {
  return (6 + kWeaponCount + static_cast<uint64_t>(clientVars) +
          static_cast<uint64_t>(serverVars)) *
             kIntBytes +
         5;
}

// The smallest a game record can be: five int32, two texts and the ten counts of one cell.
constexpr uint64_t kSmallestGame = (5 + kCellInts) * kIntBytes + 2;

class DataFileReader {
 public:
  DataFileReader(ArchiveReader& archive, DataFileContents& contents)
      : m_archive(archive), m_contents(contents) {}

  bool Read();
  const std::string& Problem() const { return m_problem; }

 private:
  bool Fail(std::string problem) {
    if (m_problem.empty()) m_problem = std::move(problem);
    return false;
  }
  bool Ended() { return Fail("it ends too early"); }
  bool ReadFlag(bool* flag);
  bool ReadCount(int32_t* count, int32_t max, const char* what);
  bool ReadHeader();
  bool ReadVariables();
  bool CheckRoomForRecords();
  bool ReadPlayer(PlayerRecord& player);
  bool ReadTotals(std::vector<int32_t>& totals, int32_t count);
  bool ReadPlayerGames(GameSeries& series);
  bool ReadGame(int32_t g, GameRecord& game);
  bool ReadKillTables(KillTables& kills, int32_t playerNumber);
  bool ReadPresence();

  ArchiveReader& m_archive;
  DataFileContents& m_contents;
  std::string m_problem;
  size_t m_blockInts = 0;
  std::vector<int32_t> m_values;  // the blocks of one player, a kill-table row, a presence row
};

bool DataFileReader::Read() {
  if (!ReadHeader() || !ReadVariables() || !CheckRoomForRecords()) return false;
  for (int32_t p = 1; p <= m_contents.nameCount; ++p) {
    if (!ReadPlayer(m_contents.players[static_cast<size_t>(p)])) return false;
  }
  for (int32_t g = 1; g <= m_contents.gameCount; ++g) {
    if (!ReadGame(g, m_contents.games[static_cast<size_t>(g)])) return false;
  }
  if (!ReadPresence()) return false;
  // The statistics of other games' logs go on with their section.
  if (!m_archive.AtEnd()) {
    std::string problem;
    if (!ReadFamilySection(m_archive, &m_contents, &problem)) return Fail(problem);
  }
  // The counts fix the size of the whole file: anything after the presence table (or the
  // families' section) means the file is not what its header says.
  if (!m_archive.AtEnd()) {
    return Fail(StringPrintf("it goes on after the end its counts announce (%llu more bytes)",
                             static_cast<unsigned long long>(m_archive.Remaining())));
  }
  return true;
}

bool DataFileReader::ReadFlag(bool* flag) {
  int32_t value;
  if (!m_archive.ReadInt32(&value)) return Ended();
  *flag = value == 1;
  return true;
}

bool DataFileReader::ReadCount(int32_t* count, int32_t max, const char* what) {
  if (!m_archive.ReadInt32(count)) return Ended();
  if (*count < 0 || *count > max) {
    return Fail(StringPrintf("its %s (%d) is outside 0 to %d", what, *count, max));
  }
  return true;
}

bool DataFileReader::ReadHeader() {
  DataFileContents& c = m_contents;
  if (!m_archive.ReadString(&c.reportIndexPath)) return Ended();
  return ReadCount(&c.nameCount, kMaxNames, "number of players") &&
         ReadCount(&c.gameCount, kMaxGames, "number of games") &&
         ReadCount(&c.displayedGameCount, c.gameCount, "number of displayed games") &&
         ReadFlag(&c.teamArenaSet) && ReadFlag(&c.clientLogSeen) && ReadFlag(&c.serverLogAbsent) &&
         ReadCount(&c.clientVarCount, kMaxVariables, "number of client variables") &&
         ReadCount(&c.serverVarCount, kMaxVariables, "number of server variables");
}

bool DataFileReader::ReadVariables() {
  for (int32_t v = 1; v <= m_contents.clientVarCount; ++v) {
    if (!ReadVariable(m_archive, &m_contents.clientVars[static_cast<size_t>(v)])) return Ended();
  }
  for (int32_t v = 1; v <= m_contents.serverVarCount; ++v) {
    if (!ReadDataFileVariable(m_archive, &m_contents.serverVars[static_cast<size_t>(v)])) {
      return Ended();
    }
  }
  return true;
}

// Before the records are sized from the counts, the file must hold at least what those counts
// announce, so that a short file with large counts allocates nothing.
bool DataFileReader::CheckRoomForRecords() {
  DataFileContents& c = m_contents;
  m_blockInts = GameBlockInts(c.clientVarCount, c.serverVarCount);
  uint64_t names = static_cast<uint64_t>(c.nameCount);
  uint64_t games = static_cast<uint64_t>(c.gameCount);
  uint64_t player =
      SmallestPlayer(c.clientVarCount, c.serverVarCount) + games * m_blockInts * kIntBytes;
  uint64_t presence = (games + 1) * (names + 1) * kIntBytes;
  if (m_archive.Remaining() < names * player + games * kSmallestGame + presence) return Ended();

  c.players.resize(static_cast<size_t>(names) + 1);
  for (PlayerRecord& record : c.players) {
    record.clientVarTotals.assign(static_cast<size_t>(c.clientVarCount) + 1, 0);
    record.serverVarTotals.assign(static_cast<size_t>(c.serverVarCount) + 1, 0);
  }
  c.games.resize(static_cast<size_t>(games) + 1);
  c.games[0].kills.Allocate(0);
  m_values.reserve(static_cast<size_t>(games) * m_blockInts);
  return true;
}

bool DataFileReader::ReadTotals(std::vector<int32_t>& totals, int32_t count) {
  return m_archive.ReadInt32s(totals.data() + 1, static_cast<size_t>(count)) || Ended();
}

bool DataFileReader::ReadPlayer(PlayerRecord& player) {
  bool ok = m_archive.ReadInt32(&player.frags) && m_archive.ReadInt32(&player.deaths) &&
            m_archive.ReadInt32(&player.suicides) && m_archive.ReadString(&player.clientSlot) &&
            m_archive.ReadString(&player.name) && m_archive.ReadString(&player.rawName) &&
            m_archive.ReadInt32(&player.timeCreditFactor) &&
            m_archive.ReadInt32(&player.gamesPlayed) && m_archive.ReadInt32(&player.totalSeconds) &&
            m_archive.ReadString(&player.connectTime) &&
            m_archive.ReadString(&player.disconnectTime);
  for (Weapon weapon : kTotalsOrder) {
    ok = ok && m_archive.ReadInt32(&player.weaponFrags[static_cast<size_t>(Index(weapon))]);
  }
  if (!ok) return Ended();
  return ReadTotals(player.clientVarTotals, m_contents.clientVarCount) &&
         ReadTotals(player.serverVarTotals, m_contents.serverVarCount) &&
         ReadPlayerGames(player.games);
}

// All G blocks of a player at once (at most 5000 games x 115 values); only games with some
// value get an entry, so a file of thousands of players and games keeps a few entries each.
bool DataFileReader::ReadPlayerGames(GameSeries& series) {
  size_t total = static_cast<size_t>(m_contents.gameCount) * m_blockInts;
  m_values.resize(total);
  if (!m_archive.ReadInt32s(m_values.data(), total)) return Ended();
  const int32_t* block = m_values.data();
  for (int32_t g = 1; g <= m_contents.gameCount; ++g, block += m_blockInts) {
    if (!AnyNonZero(block, m_blockInts)) continue;
    series.At(g) = DecodeGameBlock(block, m_contents.clientVarCount, m_contents.serverVarCount);
  }
  return true;
}

bool DataFileReader::ReadGame(int32_t g, GameRecord& game) {
  int32_t serverLogGame = 0;
  if (!m_archive.ReadInt32(&game.fragLimit) || !m_archive.ReadInt32(&game.timeLimit) ||
      !m_archive.ReadString(&game.mapName) || !m_archive.ReadInt32(&serverLogGame) ||
      !ReadFlag(&game.shortGame) || !m_archive.ReadString(&game.gameTypeName) ||
      !m_archive.ReadInt32(&game.playerNumber)) {
    return Ended();
  }
  game.serverLogGame = serverLogGame == 1 ? 1 : 0;
  if (game.playerNumber < 0 || game.playerNumber > m_contents.nameCount) {
    return Fail(StringPrintf("game %d has %d players, outside 0 to %d", g, game.playerNumber,
                             m_contents.nameCount));
  }
  return ReadKillTables(game.kills, game.playerNumber);
}

bool DataFileReader::ReadKillTables(KillTables& kills, int32_t playerNumber) {
  uint64_t side = static_cast<uint64_t>(playerNumber) + 1;
  if (m_archive.Remaining() < side * side * kCellInts * kIntBytes) return Ended();
  kills.Allocate(playerNumber);
  m_values.resize(static_cast<size_t>(side * kCellInts));
  std::array<int32_t, KillTables::kTableCount> counts;
  for (int32_t killer = 0; killer <= playerNumber; ++killer) {
    if (!m_archive.ReadInt32s(m_values.data(), m_values.size())) return Ended();
    for (int32_t victim = 0; victim <= playerNumber; ++victim) {
      const int32_t* cell = m_values.data() + static_cast<size_t>(victim) * kCellInts;
      if (!AnyNonZero(cell, kCellInts)) continue;
      std::copy_n(cell, kCellInts, counts.begin());
      kills.SetCell(killer, victim, counts);
    }
  }
  return true;
}

bool DataFileReader::ReadPresence() {
  DataFileContents& c = m_contents;
  uint64_t columns = static_cast<uint64_t>(c.nameCount) + 1;
  if (m_archive.Remaining() < (static_cast<uint64_t>(c.gameCount) + 1) * columns * kIntBytes) {
    return Ended();
  }
  c.presence.Allocate(c.gameCount + 1, c.nameCount + 1);
  m_values.resize(static_cast<size_t>(columns));
  for (int32_t g = 0; g <= c.gameCount; ++g) {
    if (!m_archive.ReadInt32s(m_values.data(), m_values.size())) return Ended();
    for (int32_t n = 0; n <= c.nameCount; ++n) {
      if (m_values[static_cast<size_t>(n)] == 1) c.presence.Mark(g, n);
    }
  }
  return true;
}

}  // namespace

bool ReadDataFile(ArchiveReader& archive, DataFileContents* contents, std::string* problem) {
  DataFileReader reader(archive, *contents);
  bool ok = reader.Read();
  if (problem != nullptr) *problem = ok ? std::string() : reader.Problem();
  return ok;
}

}  // namespace vexor
