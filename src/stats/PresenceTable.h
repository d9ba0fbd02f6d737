// Which player name took part in which game: one bit per (game, name). The table is addressed
// [game][name]; reads outside it give 0 and marks outside it are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexor {

class PresenceTable {
 public:
  // rows games (0 to rows - 1) by columns names, all clear.
  void Allocate(int32_t rows, int32_t columns);
  // Keeps the values of the first rows x columns entries and drops the rest.
  void Shrink(int32_t rows, int32_t columns);
  void Clear() { Allocate(0, 0); }

  int32_t Rows() const { return m_rows; }
  int32_t Columns() const { return m_columns; }

  // 1 when name took part in game, otherwise 0.
  int32_t Get(int32_t game, int32_t name) const;
  void Mark(int32_t game, int32_t name);
  void ClearRow(int32_t game);

  // Names 1 to lastName present in the game.
  int32_t CountPresent(int32_t game, int32_t lastName) const;
  // The in-game position of a name: how many names from 1 up to, not including, it are present
  // in the game. Meaningful for a name that is itself present.
  int32_t PositionOf(int32_t game, int32_t name) const;

 private:
  bool Inside(int32_t game, int32_t name) const {
    return game >= 0 && name >= 0 && game < m_rows && name < m_columns;
  }
  // Names present in the row among 0 to end - 1.
  int32_t CountBelow(int32_t game, int32_t end) const;
  // The row's running counts, rebuilt after a mark changed the row.
  const uint16_t* RunningCounts(int32_t game) const;

  int32_t m_rows = 0;
  int32_t m_columns = 0;
  size_t m_stride = 0;  // 64-bit words per row
  std::vector<uint64_t> m_bits;
  // Every kill asks for two positions: per row and word, the names present in the row's
  // earlier words, so that a position costs one word's count instead of a whole row's.
  mutable std::vector<uint16_t> m_running;      // [game][word]
  mutable std::vector<uint8_t> m_runningValid;  // [game]
};

}  // namespace vexor
