// Hash tables keyed by text: names, client numbers, modstrings. The hash takes eight bytes at a
// step and is inlined, which matters where every line of a log makes a look-up or two; the
// tables accept string_view look-ups without making a string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vexor {

inline uint64_t MixHashBits(uint64_t x) {
  x ^= x >> 32;
  x *= 0xD6E8FEB86659FD93ull;
  x ^= x >> 32;
  return x;
}

inline uint64_t HashText(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t left = text.size();
  uint64_t h = 0x9E3779B97F4A7C15ull ^ (static_cast<uint64_t>(left) * 0xC2B2AE3D27D4EB4Full);
  for (; left >= 8; left -= 8, bytes += 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    h = MixHashBits(h ^ word) + 0x9E3779B97F4A7C15ull;
  }
  // The last bytes, the first at the lowest place, read as two loads that may overlap: an
  // overlapping byte lands on its own place twice.
  uint64_t tail = 0;
  if (left >= 4) {
    uint32_t low;
    uint32_t high;
    std::memcpy(&low, bytes, 4);
    std::memcpy(&high, bytes + left - 4, 4);
    tail = low | static_cast<uint64_t>(high) << (8 * (left - 4));
  } else if (left > 0) {
    tail = static_cast<uint64_t>(bytes[0]) |
           static_cast<uint64_t>(bytes[left / 2]) << (8 * (left / 2)) |
           static_cast<uint64_t>(bytes[left - 1]) << (8 * (left - 1));
  }
  return MixHashBits(h ^ tail);
}

// a == b, compared inline eight bytes at a time: the keys of the tables are names of a few
// characters, where a library call costs more than the comparison.
inline bool SameText(std::string_view a, std::string_view b) {
  size_t left = a.size();
  if (b.size() != left) return false;
  const char* p = a.data();
  const char* q = b.data();
  for (; left >= 8; left -= 8, p += 8, q += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, p, 8);
    std::memcpy(&y, q, 8);
    if (x != y) return false;
  }
  if (left >= 4) {
    uint32_t x[2];
    uint32_t y[2];
    std::memcpy(&x[0], p, 4);
    std::memcpy(&x[1], p + left - 4, 4);
    std::memcpy(&y[0], q, 4);
    std::memcpy(&y[1], q + left - 4, 4);
    return x[0] == y[0] && x[1] == y[1];
  }
  for (; left > 0; --left, ++p, ++q) {
    if (*p != *q) return false;
  }
  return true;
}

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return static_cast<size_t>(HashText(text)); }
};

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

}  // namespace vexor
