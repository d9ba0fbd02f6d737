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

}  // namespace
}  // namespace vexor
