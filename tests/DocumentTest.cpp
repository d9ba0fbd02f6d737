// The document's tables: sparse per-game values, presence and positions, kill tables, and the
// name and slot indexes that replace scans over every record.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "stats/DerivedValues.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

TEST(GameSeriesTest, AbsentGamesReadZeroAndEntriesStayInGameOrder) {
  GameSeries series;
  EXPECT_EQ(series.Get(7).frags, 0);
  series.At(5).frags = 2;
  series.At(9).deaths = 1;
  series.At(7).suicides = 3;  // out of order: inserted between
  series.At(5).frags += 1;
  EXPECT_EQ(series.Get(5).frags, 3);
  EXPECT_EQ(series.Get(7).suicides, 3);
  EXPECT_EQ(series.Get(9).deaths, 1);
  EXPECT_EQ(series.Get(6).frags, 0);
  ASSERT_EQ(series.EntryCount(), 3u);
  EXPECT_EQ(series.GameAt(0), 5);
  EXPECT_EQ(series.GameAt(1), 7);
  EXPECT_EQ(series.GameAt(2), 9);
}

TEST(PlayerGameTest, VariableCountsGrowOnWriteAndReadZeroBeyond) {
  PlayerGame game;
  EXPECT_EQ(game.ClientVar(12), 0);
  game.ClientVarRef(3) = 4;
  EXPECT_EQ(game.ClientVar(3), 4);
  EXPECT_EQ(game.ClientVar(2), 0);
  EXPECT_EQ(game.ServerVar(-1), 0);
}

TEST(PresenceTableTest, PositionsCountPresentNamesBefore) {
  PresenceTable presence;
  presence.Allocate(3, 200);
  presence.Mark(1, 2);
  presence.Mark(1, 70);
  presence.Mark(1, 130);
  presence.Mark(1, 0);  // name 0 is never a player
  presence.Mark(9, 1);  // outside: ignored
  EXPECT_EQ(presence.CountPresent(1, 199), 3);
  EXPECT_EQ(presence.CountPresent(1, 70), 2);
  EXPECT_EQ(presence.PositionOf(1, 2), 0);
  EXPECT_EQ(presence.PositionOf(1, 70), 1);
  EXPECT_EQ(presence.PositionOf(1, 130), 2);
  EXPECT_EQ(presence.Get(9, 1), 0);
  presence.Shrink(2, 71);
  EXPECT_EQ(presence.Get(1, 70), 1);
  EXPECT_EQ(presence.Get(1, 130), 0);
  EXPECT_EQ(presence.CountPresent(1, 70), 2);
}

// Positions are read from running counts kept per game: a later mark must move them, and a
// count over whole words must reach the last name.
TEST(PresenceTableTest, PositionsFollowLaterMarks) {
  PresenceTable presence;
  presence.Allocate(2, 128);
  presence.Mark(1, 100);
  EXPECT_EQ(presence.PositionOf(1, 100), 0);
  presence.Mark(1, 3);
  presence.Mark(1, 64);
  EXPECT_EQ(presence.PositionOf(1, 100), 2);
  EXPECT_EQ(presence.PositionOf(1, 64), 1);
  presence.Mark(1, 127);
  EXPECT_EQ(presence.CountPresent(1, 127), 4);
  EXPECT_EQ(presence.PositionOf(0, 100), 0);
  presence.ClearRow(1);
  EXPECT_EQ(presence.CountPresent(1, 127), 0);
}

// A row read cell by cell from left to right gives what a search per cell gives.
TEST(KillTablesTest, RowsReadInOrderMatchSingleCells) {
  KillTables tables;
  tables.Allocate(5);
  const int32_t cells[][2] = {{0, 5}, {2, 2}, {2, 0}, {2, 4}, {5, 1}, {2, 4}, {3, 3}};
  for (const auto& cell : cells) {
    tables.Add(KillTables::kAllWeapons, cell[0], cell[1]);
    tables.Add(KillTables::TableOf(Weapon::kRailgun), cell[0], cell[1]);
  }
  for (int table : {KillTables::kAllWeapons, KillTables::TableOf(Weapon::kRailgun),
                    KillTables::TableOf(Weapon::kBfg), KillTables::kTableCount}) {
    for (int32_t killer = -1; killer <= 6; ++killer) {
      KillTableRow row(tables, table, killer);
      for (int32_t victim = 0; victim <= 6; ++victim) {
        EXPECT_EQ(row.Next(victim), tables.Get(table, killer, victim))
            << table << " " << killer << " " << victim;
      }
    }
  }
}

TEST(KillTablesTest, CellsInsideTheTablesCountAndOthersAreIgnored) {
  KillTables tables;
  tables.Allocate(3);  // positions 0 to 3
  EXPECT_EQ(tables.Size(), 4);
  tables.Add(KillTables::kAllWeapons, 1, 2);
  tables.Add(KillTables::kAllWeapons, 1, 2);
  tables.Add(KillTables::TableOf(Weapon::kBfg), 3, 0);
  tables.Add(KillTables::kAllWeapons, 4, 0);
  tables.Add(KillTables::kAllWeapons, -1, 0);
  EXPECT_EQ(tables.Get(KillTables::kAllWeapons, 1, 2), 2);
  EXPECT_EQ(tables.Get(KillTables::TableOf(Weapon::kBfg), 3, 0), 1);
  EXPECT_EQ(tables.Get(KillTables::kAllWeapons, 4, 0), 0);
  // A cell inserted before the cell used last moves it: the next add still finds it.
  tables.Add(KillTables::kAllWeapons, 0, 1);
  tables.Add(KillTables::TableOf(Weapon::kBfg), 1, 2);
  tables.Add(KillTables::kAllWeapons, 0, 1);
  EXPECT_EQ(tables.Get(KillTables::kAllWeapons, 0, 1), 2);
  EXPECT_EQ(tables.Get(KillTables::TableOf(Weapon::kBfg), 1, 2), 1);
  EXPECT_EQ(tables.Get(KillTables::kAllWeapons, 1, 2), 2);
  EXPECT_TRUE(tables.AnyPositive(KillTables::TableOf(Weapon::kBfg)));
  EXPECT_FALSE(tables.AnyPositive(KillTables::TableOf(Weapon::kRocket)));
  tables.Allocate(0);
  EXPECT_EQ(tables.Get(KillTables::kAllWeapons, 1, 2), 0);
}

// Small tables find their cells through a direct index, large ones by a search: both must
// count as a map of cells does, whatever the order of adds and stored cells.
TEST(KillTablesTest, SmallAndLargeTablesCountAsAMap) {
  for (int32_t playerNumber : {0, 4, 30, 31, 40, 300}) {
    std::mt19937 random(static_cast<uint32_t>(playerNumber) + 3);
    KillTables tables;
    tables.Allocate(playerNumber);
    std::map<std::array<int32_t, 3>, int32_t> expected;
    int32_t span = std::min(playerNumber + 3, 60);
    for (int step = 0; step < 3000; ++step) {
      int32_t killer = static_cast<int32_t>(random() % static_cast<uint32_t>(span)) - 1;
      int32_t victim = static_cast<int32_t>(random() % static_cast<uint32_t>(span)) - 1;
      int table = static_cast<int>(random() % KillTables::kTableCount);
      bool inside = tables.Inside(killer, victim);
      if (step % 97 == 0) {
        std::array<int32_t, KillTables::kTableCount> counts{};
        counts[static_cast<size_t>(table)] = step;
        tables.SetCell(killer, victim, counts);
        for (int t = 0; t < KillTables::kTableCount && inside; ++t)
          expected[{t, killer, victim}] = counts[static_cast<size_t>(t)];
      } else {
        tables.Add(table, killer, victim);
        if (inside) ++expected[{table, killer, victim}];
      }
    }
    for (int table = 0; table < KillTables::kTableCount; ++table) {
      for (int32_t killer = -1; killer < span; ++killer) {
        KillTableRow row(tables, table, killer);
        for (int32_t victim = 0; victim < span; ++victim) {
          auto it = expected.find({table, killer, victim});
          int32_t want = it == expected.end() ? 0 : it->second;
          ASSERT_EQ(tables.Get(table, killer, victim), want)
              << playerNumber << ": " << table << " " << killer << " " << victim;
          ASSERT_EQ(row.Next(victim), want) << playerNumber << ": row " << killer;
        }
      }
    }
    // The walk visits each stored cell once, in row order, and every counted cell is stored.
    std::set<std::pair<int32_t, int32_t>> visited;
    std::pair<int32_t, int32_t> last{-1, -1};
    tables.ForEachCell([&](int32_t killer, int32_t victim, const auto& counts) {
      ASSERT_LT(last, std::make_pair(killer, victim)) << playerNumber;
      last = {killer, victim};
      visited.insert(last);
      for (int t = 0; t < KillTables::kTableCount; ++t)
        ASSERT_EQ(counts[static_cast<size_t>(t)], tables.Get(t, killer, victim));
    });
    EXPECT_EQ(visited.size(), tables.CellCount()) << playerNumber;
    for (const auto& [cell, count] : expected) {
      if (count != 0) {
        EXPECT_TRUE(visited.count({cell[1], cell[2]})) << playerNumber;
      }
    }
  }
}

TEST(DocumentIndexTest, SlotsFindFirstAndLastHolders) {
  VexoriumDoc doc;
  doc.playerCount = 4;
  doc.SetClientSlot(1, "3");
  doc.SetClientSlot(3, "3");
  doc.SetClientSlot(4, "5");
  EXPECT_EQ(doc.FirstPlayerInSlot("3", 4), 1);
  EXPECT_EQ(doc.LastPlayerInSlot("3", 1, 4), 3);
  EXPECT_EQ(doc.LastPlayerInSlot("3", 1, 2), 1);
  EXPECT_EQ(doc.FirstPlayerInSlot("7", 4), -1);
  EXPECT_EQ(doc.FirstPlayerInSlot("-99", 4), 0);
  doc.ResetClientSlots(1);
  EXPECT_EQ(doc.FirstPlayerInSlot("3", 4), -1);
  EXPECT_EQ(doc.players[3].clientSlot, "-99");
}

TEST(DocumentIndexTest, PlayerNamesFindTheLastHolderInRange) {
  VexoriumDoc doc;
  doc.SetPlayerName(2, "Bob");
  doc.SetPlayerName(5, "Bob");
  EXPECT_EQ(doc.FindPlayer("Bob", 0, 10), 5);
  EXPECT_EQ(doc.FindPlayer("Bob", 0, 4), 2);
  EXPECT_EQ(doc.FindPlayer("Bob", 3, 4), -1);
  doc.SetPlayerName(5, "Robert");
  EXPECT_EQ(doc.FindPlayer("Bob", 0, 10), 2);
  EXPECT_EQ(doc.FindPlayer("Robert", 0, 10), 5);
  EXPECT_EQ(doc.FindPlayer("", 1, 3), 3);  // unnamed records match an empty name

  // Every change of the index gives a version that no other index state had, in any document.
  VexoriumDoc other;
  std::vector<uint64_t> seen = {doc.PlayerIndexVersion()};
  auto changed = [&seen](uint64_t version) {
    bool fresh = std::find(seen.begin(), seen.end(), version) == seen.end();
    seen.push_back(version);
    return fresh;
  };
  other.SetPlayerName(1, "Bob");
  EXPECT_TRUE(changed(other.PlayerIndexVersion()));
  doc.SetPlayerName(2, "Bobby");
  EXPECT_TRUE(changed(doc.PlayerIndexVersion()));
  EXPECT_GT(doc.CreatePlayer("Carl", "^1Carl", "4"), 0);
  EXPECT_TRUE(changed(doc.PlayerIndexVersion()));
  doc.RebuildPlayerIndexes();
  EXPECT_TRUE(changed(doc.PlayerIndexVersion()));
  uint64_t kept = doc.PlayerIndexVersion();
  doc.SetClientSlot(2, "9");  // slots are not names
  EXPECT_EQ(doc.PlayerIndexVersion(), kept);
}

TEST(DocumentTest, NamesStopAt2500) {
  VexoriumDoc doc;
  doc.startupPending = false;
  doc.ResetForLoad();
  for (int i = 0; i < VexoriumDoc::kMaxPlayers; ++i) {
    ASSERT_EQ(doc.AddName("p" + std::to_string(i), "1"), i + 1);
  }
  EXPECT_EQ(doc.AddName("one too many", "1"), -1);
  EXPECT_EQ(doc.nameCount, 2500);
  EXPECT_EQ(doc.FindName("p2499"), 2500);
  EXPECT_EQ(doc.FindName(""), 0);
}

TEST(DocumentTest, PrepareCountsPlayersPerGameAndSizesKillTables) {
  VexoriumDoc doc;
  doc.startupPending = false;
  doc.ResetForLoad();
  doc.gameCount = 2;
  doc.AddName("a", "1");
  doc.AddName("b", "2");
  doc.AddName("c", "3");
  doc.presence.Mark(1, 1);
  doc.presence.Mark(1, 3);
  doc.presence.Mark(2, 2);
  doc.clientVarCount = 3;
  doc.PrepareStatistics();
  EXPECT_EQ(doc.games[1].playerNumber, 2);
  EXPECT_EQ(doc.games[2].playerNumber, 1);
  EXPECT_EQ(doc.games[0].playerNumber, 0);
  EXPECT_EQ(doc.games[1].kills.Size(), 3);
  EXPECT_EQ(doc.games[0].kills.Size(), 1);
  EXPECT_EQ(doc.games[3].kills.Size(), 0);
  EXPECT_EQ(doc.players[1].clientVarTotals.size(), 4u);
  EXPECT_EQ(doc.players[1].serverVarTotals.size(), 1u);
  EXPECT_EQ(doc.presence.Rows(), 3);
  EXPECT_EQ(doc.presence.Columns(), 4);
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

TEST(DocumentIndexTest, ConnectedHolderOfASlotComesFirst) {
  VexoriumDoc doc;
  doc.playerCount = 4;
  doc.SetClientSlot(1, "2");
  doc.SetClientSlot(3, "2");
  doc.SetClientSlot(4, "2");
  doc.players[1].connectTime = "0:00";
  doc.players[1].disconnectTime = "1:00";  // left
  doc.players[3].connectTime = "2:00";     // connected now
  EXPECT_EQ(doc.ConnectedPlayerInSlot("2", 0, 4, false), 3);
  EXPECT_EQ(doc.ConnectedPlayerInSlot("2", 0, 4, true), 3);
  doc.players[3].disconnectTime = "3:00";
  EXPECT_EQ(doc.ConnectedPlayerInSlot("2", 0, 4, false), 1);  // nobody connected: first holder
  EXPECT_EQ(doc.ConnectedPlayerInSlot("2", 1, 4, true), 4);   // or last
  EXPECT_EQ(doc.ConnectedPlayerInSlot("9", 0, 4, true), -1);
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

// Skill and the hourly rates are stored once for the views from the totals; a load with a client
// log knows no play time, so its rates are 0 whatever the records held.
TEST(DerivedValuesTest, StoredFromTheTotalsWithoutRatesAfterAClientLog) {
  VexoriumDoc doc;
  doc.nameCount = 2;
  PlayerRecord& bob = doc.players[1];
  bob.frags = 7;
  bob.deaths = 3;
  bob.totalSeconds = 1845;
  PlayerRecord& ann = doc.players[2];
  ann.frags = 1;
  ann.suicides = 3;
  ann.totalSeconds = 7200;
  for (bool clientLog : {false, true}) {
    SCOPED_TRACE(clientLog);
    doc.clientLogSeen = clientLog;
    bob.fragsPerHour = 99;
    StoreDerivedValues(doc);
    EXPECT_EQ(bob.skill, 7.0f / 3.0f);
    EXPECT_EQ(ann.skill, 1.0f);  // no deaths: the frags
    EXPECT_EQ(bob.fragsPerHour, clientLog ? 0 : PerHour(1845, 7));
    EXPECT_EQ(ann.fragsPerHour, clientLog ? 0 : PerHour(7200, -2));  // frags less suicides
    EXPECT_EQ(ann.suicidesPerHour, clientLog ? 0 : 1.5f);
  }
}

}  // namespace
}  // namespace vexor
