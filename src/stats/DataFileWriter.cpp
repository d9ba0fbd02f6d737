#include "stats/DataFileWriter.h"

#include <algorithm>
#include <vector>

#include "base/Archive.h"
#include "customvars/VariableFile.h"
#include "stats/DataFileFamilies.h"
#include "stats/DataFileLayout.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

int32_t Flag(bool on) {
  return on ? 1 : 0;
}

// Writes one document; the counts are fixed at construction.
class DataFileWriter {
 public:
  DataFileWriter(ArchiveWriter& archive, const VexoriumDoc& doc)
      : m_archive(archive),
        m_doc(doc),
        m_names(std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers)),
        m_games(std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames)),
        m_clientVars(std::clamp(doc.clientVarCount, 0, kMaxVariables)),
        m_serverVars(std::clamp(doc.serverVarCount, 0, kMaxVariables)),
        m_blockInts(GameBlockInts(m_clientVars, m_serverVars)),
        m_block(m_blockInts) {}

  void Write();

 private:
  void WriteHeader();
  void WritePlayer(const PlayerRecord& player);
  void WritePlayerGames(const GameSeries& series);
  void WriteGame(const GameRecord& game);
  void WriteKillTables(const KillTables& kills, int32_t playerNumber);
  void WritePresence();
  void WriteTotals(const std::vector<int32_t>& totals, int32_t count);

  ArchiveWriter& m_archive;
  const VexoriumDoc& m_doc;
  const int32_t m_names;
  const int32_t m_games;
  const int32_t m_clientVars;
  const int32_t m_serverVars;
  const size_t m_blockInts;
  std::vector<int32_t> m_block;
  std::vector<int32_t> m_row;  // one row of kill tables or of presence
};

void DataFileWriter::Write() {
  WriteHeader();
  for (int32_t v = 1; v <= m_clientVars; ++v) {
    WriteVariable(m_archive, m_doc.clientVars[static_cast<size_t>(v)]);
  }
  for (int32_t v = 1; v <= m_serverVars; ++v) {
    WriteDataFileVariable(m_archive, m_doc.serverVars[static_cast<size_t>(v)]);
  }
  for (int32_t p = 1; p <= m_names; ++p)
    WritePlayer(m_doc.players[static_cast<size_t>(p)]);
  for (int32_t g = 1; g <= m_games; ++g)
    WriteGame(m_doc.games[static_cast<size_t>(g)]);
  WritePresence();
  if (NeedsFamilySection(m_doc)) WriteFamilySection(m_archive, m_doc);
  m_archive.Flush();
}

void DataFileWriter::WriteHeader() {
  m_archive.WriteString(m_doc.reportIndexPath);
  m_archive.WriteInt32(m_names);
  m_archive.WriteInt32(m_games);
  m_archive.WriteInt32(std::clamp(m_doc.displayedGameCount, 0, m_games));
  m_archive.WriteInt32(Flag(m_doc.teamArenaSet));
  m_archive.WriteInt32(Flag(m_doc.clientLogSeen));
  m_archive.WriteInt32(Flag(m_doc.serverLogAbsent));
  m_archive.WriteInt32(m_clientVars);
  m_archive.WriteInt32(m_serverVars);
}

void DataFileWriter::WriteTotals(const std::vector<int32_t>& totals, int32_t count) {
  for (int32_t v = 1; v <= count; ++v) {
    m_archive.WriteInt32(static_cast<size_t>(v) < totals.size() ? totals[static_cast<size_t>(v)]
                                                                : 0);
  }
}

void DataFileWriter::WritePlayer(const PlayerRecord& player) {
  m_archive.WriteInt32(player.frags);
  m_archive.WriteInt32(player.deaths);
  m_archive.WriteInt32(player.suicides);
  m_archive.WriteString(player.clientSlot);
  m_archive.WriteString(player.name);
  m_archive.WriteString(player.rawName);
  m_archive.WriteInt32(player.timeCreditFactor);
  m_archive.WriteInt32(player.gamesPlayed);
  m_archive.WriteInt32(player.totalSeconds);
  m_archive.WriteString(player.connectTime);
  m_archive.WriteString(player.disconnectTime);
  for (Weapon weapon : kTotalsOrder) {
    m_archive.WriteInt32(player.weaponFrags[static_cast<size_t>(Index(weapon))]);
  }
  WriteTotals(player.clientVarTotals, m_clientVars);
  WriteTotals(player.serverVarTotals, m_serverVars);
  WritePlayerGames(player.games);
}

// Every game 1 to G has a block in the file, but a player has entries for a few games only:
// walk the entries in game order and write the games between them as runs of zeros.
void DataFileWriter::WritePlayerGames(const GameSeries& series) {
  int32_t next = 1;  // the first game not written yet
  for (size_t e = 0; e < series.EntryCount(); ++e) {
    int32_t g = series.GameAt(e);
    if (g < next) continue;  // game 0 is not in the file
    if (g > m_games) break;
    m_archive.WriteZeroInt32s(static_cast<size_t>(g - next) * m_blockInts);
    EncodeGameBlock(series.ValueAt(e), m_clientVars, m_serverVars, m_block.data());
    m_archive.WriteInt32s(m_block.data(), m_blockInts);
    next = g + 1;
  }
  m_archive.WriteZeroInt32s(static_cast<size_t>(m_games + 1 - next) * m_blockInts);
}

void DataFileWriter::WriteGame(const GameRecord& game) {
  m_archive.WriteInt32(game.fragLimit);
  m_archive.WriteInt32(game.timeLimit);
  m_archive.WriteString(game.mapName);
  m_archive.WriteInt32(Flag(game.serverLogGame == 1));
  m_archive.WriteInt32(Flag(game.shortGame));
  m_archive.WriteString(game.gameTypeName);
  int32_t playerNumber = std::clamp(game.playerNumber, 0, m_names);
  m_archive.WriteInt32(playerNumber);
  WriteKillTables(game.kills, playerNumber);
}

// The file holds every cell, ten counts each (all weapons, then the weapons in per-game order,
// which is the tables' own order). The stored cells come in row order: each row is filled from
// its cells, written, and cleared again for the next.
void DataFileWriter::WriteKillTables(const KillTables& kills, int32_t playerNumber) {
  constexpr size_t kCounts = KillTables::kTableCount;
  m_row.assign((static_cast<size_t>(playerNumber) + 1) * kCounts, 0);
  std::vector<int32_t> filled;  // the victims of the row's cells
  int32_t row = 0;              // the row being filled
  auto writeRowsBefore = [&](int32_t killer) {
    for (; row < killer && row <= playerNumber; ++row) {
      m_archive.WriteInt32s(m_row.data(), m_row.size());
      for (int32_t victim : filled)
        std::fill_n(m_row.data() + static_cast<size_t>(victim) * kCounts, kCounts, 0);
      filled.clear();
    }
  };
  kills.ForEachCell([&](int32_t killer, int32_t victim, const auto& counts) {
    writeRowsBefore(killer);
    if (killer > playerNumber || victim > playerNumber) return;
    std::copy_n(counts.data(), kCounts, m_row.data() + static_cast<size_t>(victim) * kCounts);
    filled.push_back(victim);
  });
  writeRowsBefore(playerNumber + 1);
}

void DataFileWriter::WritePresence() {
  m_row.resize(static_cast<size_t>(m_names) + 1);
  for (int32_t g = 0; g <= m_games; ++g) {
    for (int32_t n = 0; n <= m_names; ++n)
      m_row[static_cast<size_t>(n)] = m_doc.presence.Get(g, n);
    m_archive.WriteInt32s(m_row.data(), m_row.size());
  }
}

}  // namespace

void WriteDataFile(ArchiveWriter& archive, const VexoriumDoc& doc) {
  DataFileWriter(archive, doc).Write();
}

}  // namespace vexor
