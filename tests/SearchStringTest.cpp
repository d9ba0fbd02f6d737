#include <gtest/gtest.h>

#include "customvars/SearchString.h"

namespace vexor {
namespace {

struct Case {
  const char* searchString;
  int32_t definition;
  int32_t matching;
};

TEST(SearchStringTest, FormsFollowThePlaceholders) {
  const Case cases[] = {
      {"PLAYER1 fragged PLAYER2", 3, 3},
      {"PLAYER1 fragged PLAYER2 twice", 4, 4},
      {"Oh PLAYER1 fragged PLAYER2", 5, 5},
      {"Oh PLAYER1 fragged PLAYER2 twice", 6, 6},
      {"PLAYER1", 1, 0},  // alone: the check reads "string PLAYER1", matching the leading form
      {"PLAYER1 picked up the Quad Damage", 0, 0},
      {"hello PLAYER1", 1, 1},
      {"hello PLAYER1 there", 2, 2},
      {"PLAYER1 fraggedPLAYER2", 0, 0},  // PLAYER2 counts only after a blank
      {"no placeholder", -1, 0},
      {"no placeholder PLAYER2", 5, 3},
      {"player1 lower case", -1, 0},
      {"", -1, 0},
      {"PLAYER1 a PLAYER1 b", 2, 2},  // the last PLAYER1 decides
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifySearchString(c.searchString, SearchStringRule::kDefinition), c.definition)
        << c.searchString;
    EXPECT_EQ(ClassifySearchString(c.searchString, SearchStringRule::kMatching), c.matching)
        << c.searchString;
  }
  EXPECT_TRUE(MatchesStringType("PLAYER1 fragged PLAYER2", 3));
  EXPECT_FALSE(MatchesStringType("PLAYER1 fragged PLAYER2", 4));
}

}  // namespace
}  // namespace vexor
