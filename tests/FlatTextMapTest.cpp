// The open-addressed text table must behave as a map whatever the order of inserts and erases:
// an erase moves later slots of a run back and the last entry into the hole, and both must
// leave every other key reachable.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "base/FlatTextMap.h"

namespace vexor {
namespace {

TEST(FlatTextMapTest, AgreesWithAMapOverRandomInsertsAndErases) {
  std::mt19937 random(7);
  FlatTextMap<int> table;
  std::map<std::string, int> expected;
  for (int step = 0; step < 60000; ++step) {
    // Few distinct keys, of every length from empty up, so that runs form and wrap around.
    std::string key(random() % 6, 'a');
    for (char& c : key)
      c = static_cast<char>('a' + random() % 4);
    switch (random() % 8) {
      case 0:
      case 1:
      case 2:
        table.Insert(key) = step;
        expected[key] = step;
        break;
      case 3:
      case 4:
        EXPECT_EQ(table.Erase(key), expected.erase(key) == 1) << key;
        break;
      case 5:
        if (step % 5000 == 5) {
          table.Clear();
          expected.clear();
        }
        break;
      default: {
        const int* found = table.Find(key);
        auto it = expected.find(key);
        ASSERT_EQ(found != nullptr, it != expected.end()) << key << " at step " << step;
        if (found != nullptr) {
          EXPECT_EQ(*found, it->second) << key;
        }
      }
    }
    ASSERT_EQ(table.Size(), expected.size()) << "at step " << step;
  }
  size_t visited = 0;
  table.ForEach([&](std::string_view key, int value) {
    ++visited;
    EXPECT_EQ(expected.at(std::string(key)), value);
  });
  EXPECT_EQ(visited, expected.size());
}

// The hash reads a key's last bytes in overlapping loads, and keys are compared eight bytes at a
// time: both must give what a byte at a time gives, for every length and every differing place.
TEST(FlatTextMapTest, HashAndComparisonAgreeWithBytewiseDefinitions) {
  auto bytewiseHash = [](std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    size_t left = text.size();
    uint64_t h = 0x9E3779B97F4A7C15ull ^ (static_cast<uint64_t>(left) * 0xC2B2AE3D27D4EB4Full);
    for (; left >= 8; left -= 8, bytes += 8) {
      uint64_t word = 0;
      for (size_t i = 0; i < 8; ++i)
        word |= static_cast<uint64_t>(bytes[i]) << (8 * i);
      h = MixHashBits(h ^ word) + 0x9E3779B97F4A7C15ull;
    }
    uint64_t tail = 0;
    for (size_t i = 0; i < left; ++i)
      tail |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return MixHashBits(h ^ tail);
  };
  std::mt19937 random(11);
  for (size_t length = 0; length <= 40; ++length) {
    std::string key(length, ' ');
    for (char& c : key)
      c = static_cast<char>(random() % 256);
    EXPECT_EQ(HashText(key), bytewiseHash(key)) << "length " << length;
    std::string same = key;
    EXPECT_TRUE(SameText(key, same));
    EXPECT_FALSE(SameText(key, key + "x"));
    for (size_t at = 0; at < length; ++at) {
      std::string other = key;
      other[at] = static_cast<char>(other[at] ^ 0x20);
      EXPECT_FALSE(SameText(key, other)) << "length " << length << ", differing at " << at;
    }
  }
}

}  // namespace
}  // namespace vexor
