// The killer-by-victim tables of one game: the all-weapons table and one per weapon, each square
// with (player number + 1) rows and columns addressed [killer's position][victim's position].
// Only cells that ever counted something are stored; every other cell reads 0.
//
// Table 0 is all weapons, table 1 + w the weapon w (WeaponId). The all-weapons table and Quake
// III's nine are kept together, ten counts a cell (most games have no other); the tables of the
// other games' weapons are kept apart, each as its own cells.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "stats/Weapons.h"

namespace vexor {

class KillTables {
 public:
  // The tables kept ten counts a cell: all weapons and Quake III's nine.
  static constexpr int kTableCount = 1 + kWeaponCount;
  // Every table, the other games' weapons included.
  static constexpr int kAllTableCount = 1 + kAllWeaponCount;
  static constexpr int kAllWeapons = 0;
  static constexpr int TableOf(Weapon weapon) { return 1 + Index(weapon); }
  static constexpr int TableOfWeapon(WeaponId weapon) { return 1 + weapon; }

  // Sizes the tables for a game with the given player number and clears them.
  void Allocate(int32_t playerNumber);
  void Clear() { Allocate(-1); }

  // Rows (and columns) of each table: player number + 1; 0 before Allocate.
  int32_t Size() const { return m_size; }
  bool Inside(int32_t killer, int32_t victim) const {
    return killer >= 0 && victim >= 0 && killer < m_size && victim < m_size;
  }

  int32_t Get(int table, int32_t killer, int32_t victim) const;
  // Adds 1 to a cell; a cell outside the tables is ignored.
  void Add(int table, int32_t killer, int32_t victim);
  // Stores all ten counts of a cell (reading a saved data file); outside cells are ignored.
  void SetCell(int32_t killer, int32_t victim, const std::array<int32_t, kTableCount>& counts);
  // True when some cell of the table is above 0.
  bool AnyPositive(int table) const;

  // The tables of the other games' weapons that hold a cell (tables kTableCount onward), in
  // ascending order, and a cell's count in one of them. For reading and writing whole tables.
  std::vector<int> OtherTables() const;
  struct Cell {
    int32_t killer = 0;
    int32_t victim = 0;
    int32_t count = 0;
  };
  // The stored cells of one of the other tables in row order.
  std::vector<Cell> OtherTableCells(int table) const;
  // Sets a cell of one of the other tables (reading a saved file); outside cells are ignored.
  void SetOtherCell(int table, int32_t killer, int32_t victim, int32_t count);

  // Visits the stored cells in row order (by killer, then victim) as visit(killer, victim,
  // counts), for walking a whole table without a search per cell; every cell that is not stored
  // reads 0.
  template <class Visit>
  void ForEachCell(Visit&& visit) const {
    if (Direct()) {
      size_t size = static_cast<size_t>(m_size);
      for (size_t place = 0; place < m_direct.size(); ++place) {
        if (m_direct[place] == 0) continue;
        visit(static_cast<int32_t>(place / size), static_cast<int32_t>(place % size),
              m_counts[m_direct[place] - 1u]);
      }
      return;
    }
    for (size_t i = 0; i < m_keys.size(); ++i)
      visit(KillerOf(m_keys[i]), VictimOf(m_keys[i]), m_counts[m_cells[i]]);
  }
  // The number of stored cells.
  size_t CellCount() const { return m_counts.size(); }

 private:
  friend class KillTableRow;
  using Counts = std::array<int32_t, kTableCount>;
  static uint32_t Key(int32_t killer, int32_t victim) {
    return static_cast<uint32_t>(killer) << 16 | static_cast<uint32_t>(victim);
  }
  static int32_t KillerOf(uint32_t key) { return static_cast<int32_t>(key >> 16); }
  static int32_t VictimOf(uint32_t key) { return static_cast<int32_t>(key & 0xFFFFu); }
  // Tables of a game of up to kLargestDirectSide - 1 players find a cell by its place.
  bool Direct() const { return m_size <= static_cast<int32_t>(kLargestDirectSide); }
  // The first stored cell of the killer's row or of a later row, in the kept order.
  size_t FirstCellOfRow(int32_t killer) const;
  // The first stored cell whose key is not below the key (CellCount() when none).
  size_t LowerBound(uint32_t key) const;
  // The counts of a stored cell; none when the cell is not stored.
  const Counts* Find(uint32_t key) const;
  Counts* Find(uint32_t key) {
    return const_cast<Counts*>(static_cast<const KillTables&>(*this).Find(key));
  }
  Counts* FindOrInsert(uint32_t key);
  // Reserves room for a game's first cells (and makes the direct index when the tables have one).
  void MakeRoom();
  // A key's place in the direct index.
  size_t DirectPlace(uint32_t key) const {
    return (key >> 16) * static_cast<size_t>(m_size) + (key & 0xFFFFu);
  }

  // A table of another game's weapon: its cells' keys ascending, their counts beside.
  struct OtherTable {
    int table = 0;
    std::vector<uint32_t> keys;
    std::vector<int32_t> counts;
  };
  const OtherTable* FindOther(int table) const;
  int32_t& OtherCount(int table, uint32_t key);

  int32_t m_size = 0;
  // Every stored cell's counts, in the order the cells were stored; m_counts only grows.
  std::vector<Counts> m_counts;
  // Tables of a game of up to kLargestDirectSide - 1 players (most games) find a cell without a
  // search: by killer * size + victim, where its counts lie in m_counts plus 1 (0: no cell
  // yet), two bytes a pair. Made at a game's first cell.
  static constexpr size_t kLargestDirectSide = 32;
  std::vector<uint16_t> m_direct;
  // Larger tables keep their cells' keys ascending, and beside each key where its counts lie.
  // The keys lie apart so that a search reads four bytes a cell, and a new cell moves eight
  // bytes of each later cell, not its forty bytes of counts.
  std::vector<uint32_t> m_keys;
  std::vector<uint32_t> m_cells;
  size_t m_last = 0;                // the cell found or inserted last
  std::vector<OtherTable> m_other;  // by table, ascending
};

// One row of a table read from left to right, for writing a whole row without a search per
// cell: Next(victim) with victims in ascending order gives what Get(table, killer, victim) gives.
class KillTableRow {
 public:
  KillTableRow(const KillTables& tables, int table, int32_t killer);

  int32_t Next(int32_t victim) {
    // A game of a few dozen players (most games) reads its row of the direct index.
    if (m_directRow == nullptr) return NextStored(victim);
    if (victim < 0 || victim >= m_tables.m_size) return 0;
    uint16_t cell = m_directRow[victim];
    return cell == 0 ? 0 : m_tables.m_counts[cell - 1u][static_cast<size_t>(m_table)];
  }

 private:
  int32_t NextStored(int32_t victim);

  const KillTables& m_tables;
  int m_table;
  int32_t m_killer;
  size_t m_cell;                          // the first cell not passed yet
  const uint16_t* m_directRow = nullptr;  // the killer's row of the direct index, if read there
};

}  // namespace vexor
