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
  uint64_t tail = 0;
  for (size_t i = 0; i < left; ++i) tail |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return MixHashBits(h ^ tail);
}

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return static_cast<size_t>(HashText(text)); }
};

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

}  // namespace vexor
