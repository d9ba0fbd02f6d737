// Which record is connected in each client number of the current game. Client numbers are text
// as the log gives them, compared byte for byte ("7" and "07" are different numbers), but almost
// every line carries a plain number below 100: those are kept in an array, so that the kill and
// item lines of a log resolve their players without hashing text; any other text goes to a
// table keyed by text.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/TextHash.h"

namespace vexor {

class ClientNumberTable {
 public:
  static constexpr int32_t kNobody = -1;

  void Clear() {
    m_small.fill(kNobody);
    m_other.clear();
  }
  // The record held under the number, or kNobody.
  int32_t Find(std::string_view number) const {
    int slot = SmallSlot(number);
    if (slot >= 0) return m_small[static_cast<size_t>(slot)];
    auto it = m_other.find(number);
    return it == m_other.end() ? kNobody : it->second;
  }
  void Set(std::string_view number, int32_t record) {
    int slot = SmallSlot(number);
    if (slot >= 0) {
      m_small[static_cast<size_t>(slot)] = record;
    } else {
      m_other.insert_or_assign(std::string(number), record);
    }
  }
  void Erase(std::string_view number) {
    int slot = SmallSlot(number);
    if (slot >= 0) {
      m_small[static_cast<size_t>(slot)] = kNobody;
    } else {
      m_other.erase(std::string(number));
    }
  }

  // The array slot of "0" to "99" written without a leading zero; -1 for any other text.
  static int SmallSlot(std::string_view number) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (number.size() == 1 && digit(number[0])) return number[0] - '0';
    if (number.size() == 2 && number[0] != '0' && digit(number[0]) && digit(number[1])) {
      return (number[0] - '0') * 10 + (number[1] - '0');
    }
    return -1;
  }

 private:
  std::array<int32_t, 100> m_small = MakeEmpty();
  TextMap<int32_t> m_other;

  static constexpr std::array<int32_t, 100> MakeEmpty() {
    std::array<int32_t, 100> empty{};
    for (int32_t& record : empty)
      record = kNobody;
    return empty;
  }
};

}  // namespace vexor
