#include "stats/KillTables.h"

#include <algorithm>

namespace vexor {
namespace {

// Positions are below 2501, so 16 bits each keep the keys in row order.
constexpr int32_t kLargestTable = 1 << 16;

}  // namespace

void KillTables::Allocate(int32_t playerNumber) {
  m_keys.clear();
  m_cells.clear();
  m_counts.clear();
  m_other.clear();
  m_direct.clear();
  m_last = 0;
  m_size = playerNumber < 0 ? 0 : std::min(playerNumber + 1, kLargestTable);
}

size_t KillTables::LowerBound(uint32_t key) const {
  // Halving without branches: a frag's cell is anywhere in the table, so a branch on each
  // comparison would be mispredicted half of the time.
  const uint32_t* first = m_keys.data();
  size_t count = m_keys.size();
  while (count > 1) {
    size_t half = count / 2;
    first = first[half - 1] < key ? first + half : first;
    count -= half;
  }
  size_t at = static_cast<size_t>(first - m_keys.data());
  return count == 1 && *first < key ? at + 1 : at;
}

int32_t KillTables::Get(int table, int32_t killer, int32_t victim) const {
  if (!Inside(killer, victim) || table < 0 || table >= kAllTableCount) return 0;
  uint32_t key = Key(killer, victim);
  if (table >= kTableCount) {
    const OtherTable* other = FindOther(table);
    if (other == nullptr) return 0;
    auto it = std::lower_bound(other->keys.begin(), other->keys.end(), key);
    if (it == other->keys.end() || *it != key) return 0;
    return other->counts[static_cast<size_t>(it - other->keys.begin())];
  }
  const Counts* counts = Find(key);
  return counts == nullptr ? 0 : (*counts)[static_cast<size_t>(table)];
}

const KillTables::Counts* KillTables::Find(uint32_t key) const {
  if (Direct()) {
    uint16_t cell = m_direct.empty() ? 0 : m_direct[DirectPlace(key)];
    return cell == 0 ? nullptr : &m_counts[cell - 1u];
  }
  size_t at = LowerBound(key);
  return at == m_keys.size() || m_keys[at] != key ? nullptr : &m_counts[m_cells[at]];
}

KillTables::Counts* KillTables::FindOrInsert(uint32_t key) {
  if (m_counts.empty()) MakeRoom();
  if (Direct()) {
    uint16_t& cell = m_direct[DirectPlace(key)];
    if (cell == 0) {
      m_counts.emplace_back();
      cell = static_cast<uint16_t>(m_counts.size());
    }
    return &m_counts[cell - 1u];
  }
  if (m_last < m_keys.size() && m_keys[m_last] == key) {
    // A frag adds to the same cell of two tables, one right after the other.
    return &m_counts[m_cells[m_last]];
  }
  size_t at = m_keys.empty() || m_keys.back() < key ? m_keys.size() : LowerBound(key);
  if (at == m_keys.size() || m_keys[at] != key) {
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(at), key);
    m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(at),
                   static_cast<uint32_t>(m_counts.size()));
    m_counts.emplace_back();
  }
  m_last = at;
  return &m_counts[m_cells[at]];
}

void KillTables::MakeRoom() {
  // A game's tables fill a cell at a time: room for its players' pairs (up to 256) at once.
  constexpr size_t kMostFirstRoom = 256;
  size_t size = static_cast<size_t>(m_size);
  m_counts.reserve(size <= 16 ? size * size : kMostFirstRoom);
  if (Direct()) {
    m_direct.assign(size * size, 0);
    return;
  }
  m_keys.reserve(kMostFirstRoom);
  m_cells.reserve(kMostFirstRoom);
}

void KillTables::Add(int table, int32_t killer, int32_t victim) {
  if (!Inside(killer, victim) || table < 0 || table >= kAllTableCount) return;
  int32_t& count = table >= kTableCount
                       ? OtherCount(table, Key(killer, victim))
                       : (*FindOrInsert(Key(killer, victim)))[static_cast<size_t>(table)];
  count = static_cast<int32_t>(static_cast<uint32_t>(count) + 1u);
}

void KillTables::SetCell(int32_t killer, int32_t victim, const Counts& counts) {
  if (!Inside(killer, victim)) return;
  bool any = std::any_of(counts.begin(), counts.end(), [](int32_t c) { return c != 0; });
  uint32_t key = Key(killer, victim);
  if (!any) {
    // An all-zero cell needs no entry, unless it overwrites one.
    if (Counts* stored = Find(key)) *stored = counts;
    return;
  }
  *FindOrInsert(key) = counts;
}

size_t KillTables::FirstCellOfRow(int32_t killer) const {
  if (killer < 0) return 0;
  return LowerBound(Key(killer, 0));
}

KillTableRow::KillTableRow(const KillTables& tables, int table, int32_t killer)
    : m_tables(tables), m_table(table), m_killer(killer), m_cell(tables.FirstCellOfRow(killer)) {
  bool direct = tables.Direct() && !tables.m_direct.empty() && table >= 0 &&
                table < KillTables::kTableCount && tables.Inside(killer, 0);
  if (direct) m_directRow = &tables.m_direct[tables.DirectPlace(KillTables::Key(killer, 0))];
}

int32_t KillTableRow::NextStored(int32_t victim) {
  if (m_table >= KillTables::kTableCount || m_tables.Direct()) {
    return m_tables.Get(m_table, m_killer, victim);
  }
  if (m_table < 0 || !m_tables.Inside(m_killer, victim)) return 0;
  const std::vector<uint32_t>& keys = m_tables.m_keys;
  uint32_t key = KillTables::Key(m_killer, victim);
  while (m_cell < keys.size() && keys[m_cell] < key)
    ++m_cell;
  if (m_cell == keys.size() || keys[m_cell] != key) return 0;
  return m_tables.m_counts[m_tables.m_cells[m_cell]][static_cast<size_t>(m_table)];
}

bool KillTables::AnyPositive(int table) const {
  if (table >= kTableCount) {
    const OtherTable* other = FindOther(table);
    return other != nullptr &&
           std::any_of(other->counts.begin(), other->counts.end(), [](int32_t c) { return c > 0; });
  }
  if (table < 0) return false;
  return std::any_of(m_counts.begin(), m_counts.end(), [table](const Counts& counts) {
    return counts[static_cast<size_t>(table)] > 0;
  });
}

const KillTables::OtherTable* KillTables::FindOther(int table) const {
  auto it = std::lower_bound(m_other.begin(), m_other.end(), table,
                             [](const OtherTable& t, int wanted) { return t.table < wanted; });
  return it != m_other.end() && it->table == table ? &*it : nullptr;
}

int32_t& KillTables::OtherCount(int table, uint32_t key) {
  auto it = std::lower_bound(m_other.begin(), m_other.end(), table,
                             [](const OtherTable& t, int wanted) { return t.table < wanted; });
  if (it == m_other.end() || it->table != table) it = m_other.insert(it, OtherTable{table, {}, {}});
  auto at = std::lower_bound(it->keys.begin(), it->keys.end(), key);
  size_t i = static_cast<size_t>(at - it->keys.begin());
  if (at == it->keys.end() || *at != key) {
    it->keys.insert(at, key);
    it->counts.insert(it->counts.begin() + static_cast<std::ptrdiff_t>(i), 0);
  }
  return it->counts[i];
}

std::vector<int> KillTables::OtherTables() const {
  std::vector<int> tables;
  for (const OtherTable& other : m_other)
    tables.push_back(other.table);
  return tables;
}

std::vector<KillTables::Cell> KillTables::OtherTableCells(int table) const {
  std::vector<Cell> cells;
  const OtherTable* other = FindOther(table);
  if (other == nullptr) return cells;
  for (size_t i = 0; i < other->keys.size(); ++i) {
    cells.push_back({static_cast<int32_t>(other->keys[i] >> 16),
                     static_cast<int32_t>(other->keys[i] & 0xFFFFu), other->counts[i]});
  }
  return cells;
}

void KillTables::SetOtherCell(int table, int32_t killer, int32_t victim, int32_t count) {
  if (!Inside(killer, victim) || table < kTableCount || table >= kAllTableCount) return;
  if (count == 0 && FindOther(table) == nullptr) return;
  OtherCount(table, Key(killer, victim)) = count;
}

}  // namespace vexor
