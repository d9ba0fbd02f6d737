#include "stats/PresenceTable.h"

#include <algorithm>
#include <bit>

namespace vexor {

void PresenceTable::Allocate(int32_t rows, int32_t columns) {
  m_rows = std::max(rows, 0);
  m_columns = std::max(columns, 0);
  m_stride = (static_cast<size_t>(m_columns) + 63) / 64;
  m_bits.assign(m_stride * static_cast<size_t>(m_rows), 0);
  m_running.assign(m_bits.size(), 0);
  m_runningValid.assign(static_cast<size_t>(m_rows), 0);
}

void PresenceTable::Shrink(int32_t rows, int32_t columns) {
  PresenceTable smaller;
  smaller.Allocate(std::min(rows, m_rows), std::min(columns, m_columns));
  for (int32_t g = 0; g < smaller.m_rows; ++g) {
    for (size_t w = 0; w < smaller.m_stride; ++w) {
      smaller.m_bits[static_cast<size_t>(g) * smaller.m_stride + w] =
          m_bits[static_cast<size_t>(g) * m_stride + w];
    }
    // Drop the bits beyond the last column.
    int32_t tail = smaller.m_columns % 64;
    if (tail != 0) {
      smaller.m_bits[static_cast<size_t>(g) * smaller.m_stride + smaller.m_stride - 1] &=
          (uint64_t{1} << tail) - 1;
    }
  }
  *this = std::move(smaller);
}

int32_t PresenceTable::Get(int32_t game, int32_t name) const {
  if (!Inside(game, name)) return 0;
  size_t n = static_cast<size_t>(name);
  return (m_bits[static_cast<size_t>(game) * m_stride + n / 64] >> (n % 64)) & 1;
}

void PresenceTable::Mark(int32_t game, int32_t name) {
  if (!Inside(game, name)) return;
  size_t n = static_cast<size_t>(name);
  m_bits[static_cast<size_t>(game) * m_stride + n / 64] |= uint64_t{1} << (n % 64);
  m_runningValid[static_cast<size_t>(game)] = 0;
}

void PresenceTable::ClearRow(int32_t game) {
  if (game < 0 || game >= m_rows) return;
  std::fill_n(m_bits.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(game) * m_stride),
              m_stride, 0);
  m_runningValid[static_cast<size_t>(game)] = 0;
}

const uint16_t* PresenceTable::RunningCounts(int32_t game) const {
  size_t first = static_cast<size_t>(game) * m_stride;
  if (m_runningValid[static_cast<size_t>(game)] == 0) {
    uint16_t count = 0;
    for (size_t w = 0; w < m_stride; ++w) {
      m_running[first + w] = count;
      count = static_cast<uint16_t>(count + std::popcount(m_bits[first + w]));
    }
    m_runningValid[static_cast<size_t>(game)] = 1;
  }
  return m_running.data() + first;
}

int32_t PresenceTable::CountBelow(int32_t game, int32_t end) const {
  if (game < 0 || game >= m_rows) return 0;
  end = std::clamp(end, 0, m_columns);
  if (end == 0) return 0;
  const uint64_t* row = m_bits.data() + static_cast<size_t>(game) * m_stride;
  size_t words = static_cast<size_t>(end) / 64;
  int32_t tail = end % 64;
  if (words == m_stride) return RunningCounts(game)[words - 1] + std::popcount(row[words - 1]);
  int32_t count = RunningCounts(game)[words];
  if (tail != 0) count += std::popcount(row[words] & ((uint64_t{1} << tail) - 1));
  return count;
}

int32_t PresenceTable::CountPresent(int32_t game, int32_t lastName) const {
  if (lastName < 1) return 0;
  return CountBelow(game, lastName + 1) - Get(game, 0);
}

int32_t PresenceTable::PositionOf(int32_t game, int32_t name) const {
  if (name < 1) return -1;
  return CountBelow(game, name) - Get(game, 0);
}

}  // namespace vexor
