#include "stats/KillTables.h"

#include <algorithm>

namespace vexor {
namespace {

// Positions are below 2501, so 16 bits each keep the keys in row order.
constexpr int32_t kLargestTable = 1 << 16;

}  // namespace

void KillTables::Allocate(int32_t playerNumber) {
  m_cells.clear();
  m_size = playerNumber < 0 ? 0 : std::min(playerNumber + 1, kLargestTable);
}

int32_t KillTables::Get(int table, int32_t killer, int32_t victim) const {
  if (!Inside(killer, victim) || table < 0 || table >= kTableCount) return 0;
  uint32_t key = Key(killer, victim);
  auto it = std::lower_bound(m_cells.begin(), m_cells.end(), key,
                             [](const Cell& cell, uint32_t k) { return cell.key < k; });
  if (it == m_cells.end() || it->key != key) return 0;
  return it->counts[static_cast<size_t>(table)];
}

KillTables::Cell* KillTables::FindOrInsert(uint32_t key) {
  // A frag adds to the same cell of two tables, one right after the other.
  if (m_last < m_cells.size() && m_cells[m_last].key == key) return &m_cells[m_last];
  if (m_cells.empty() || m_cells.back().key < key) {
    m_cells.push_back({key, {}});
    m_last = m_cells.size() - 1;
    return &m_cells.back();
  }
  auto it = std::lower_bound(m_cells.begin(), m_cells.end(), key,
                             [](const Cell& cell, uint32_t k) { return cell.key < k; });
  if (it == m_cells.end() || it->key != key) it = m_cells.insert(it, Cell{key, {}});
  m_last = static_cast<size_t>(it - m_cells.begin());
  return &*it;
}

void KillTables::Add(int table, int32_t killer, int32_t victim) {
  if (!Inside(killer, victim) || table < 0 || table >= kTableCount) return;
  int32_t& count = FindOrInsert(Key(killer, victim))->counts[static_cast<size_t>(table)];
  count = static_cast<int32_t>(static_cast<uint32_t>(count) + 1u);
}

void KillTables::SetCell(int32_t killer, int32_t victim,
                         const std::array<int32_t, kTableCount>& counts) {
  if (!Inside(killer, victim)) return;
  bool any = std::any_of(counts.begin(), counts.end(), [](int32_t c) { return c != 0; });
  uint32_t key = Key(killer, victim);
  if (!any) {
    // An all-zero cell needs no entry, unless it overwrites one.
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), key,
                               [](const Cell& cell, uint32_t k) { return cell.key < k; });
    if (it != m_cells.end() && it->key == key) it->counts = counts;
    return;
  }
  FindOrInsert(key)->counts = counts;
}

size_t KillTables::FirstCellOfRow(int32_t killer) const {
  if (killer < 0) return 0;
  uint32_t key = Key(killer, 0);
  auto it = std::lower_bound(m_cells.begin(), m_cells.end(), key,
                             [](const Cell& cell, uint32_t k) { return cell.key < k; });
  return static_cast<size_t>(it - m_cells.begin());
}

int32_t KillTableRow::Next(int32_t victim) {
  if (m_table < 0 || m_table >= KillTables::kTableCount || m_killer < 0 || victim < 0) return 0;
  size_t count = m_tables.CellCount();
  while (m_cell < count && m_tables.CellKiller(m_cell) == m_killer &&
         m_tables.CellVictim(m_cell) < victim) {
    ++m_cell;
  }
  if (m_cell == count || m_tables.CellKiller(m_cell) != m_killer ||
      m_tables.CellVictim(m_cell) != victim) {
    return 0;
  }
  return m_tables.CellCounts(m_cell)[static_cast<size_t>(m_table)];
}

bool KillTables::AnyPositive(int table) const {
  if (table < 0 || table >= kTableCount) return false;
  return std::any_of(m_cells.begin(), m_cells.end(), [table](const Cell& cell) {
    return cell.counts[static_cast<size_t>(table)] > 0;
  });
}

}  // namespace vexor
