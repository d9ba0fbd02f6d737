// A small pseudo-random generator (splitmix64) whose output depends on the seed alone, so a
// generated log is the same byte for byte on every machine and library version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vexor::bench {

class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed) {}

  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A number from 0 to n - 1; 0 when n is 0.
  uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
  }

  // A number from low to high, both included; low when high is below low.
  int32_t Between(int32_t low, int32_t high) {
    if (high <= low) return low;
    return low + static_cast<int32_t>(Below(static_cast<uint32_t>(high - low) + 1));
  }

  // A number in [0, 1) with 53 random bits.
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

  bool Chance(double p) { return Unit() < p; }

  // A seed for an independent stream, so that one part of the output can change its number of
  // draws without changing what another part draws.
  uint64_t Fork() { return Next() ^ 0x5DEECE66DULL; }

 private:
  uint64_t m_state;
};

// An entry of a table, each as likely.
template <typename T, size_t N>
const T& Pick(const T (&table)[N], Random& random) {
  return table[random.Below(static_cast<uint32_t>(N))];
}

template <typename T>
const T& Pick(std::span<const T> table, Random& random) {
  return table[random.Below(static_cast<uint32_t>(table.size()))];
}

}  // namespace vexor::bench
