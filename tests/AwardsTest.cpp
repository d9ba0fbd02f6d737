// The awards' rules: who wins each, ties to the player seen first, minimums, nobody without a
// value, one award per weapon.
#include "stats/Awards.h"

#include <gtest/gtest.h>

#include <map>

#include "TestSupport.h"
#include "stats/Rating.h"

namespace vexor {
namespace {

class AwardsTest : public ::testing::Test {
 protected:
  // A player with totals; gamesPlayed and one listed game with frags as given.
  int32_t Player(const std::string& name, int32_t frags, int32_t deaths, int32_t suicides,
                 int32_t seconds, int32_t games, int32_t bestGame) {
    int32_t p = test::AddPlayer(doc, name, frags, deaths, suicides, seconds);
    PlayerRecord& record = doc.players[static_cast<size_t>(p)];
    record.gamesPlayed = games;
    record.games.At(1).frags = bestGame;
    record.games.At(1).seconds = 60;
    return p;
  }
  std::map<std::string, Award> Awards() {
    Ratings ratings(doc);
    std::map<std::string, Award> byTitle;
    for (const Award& award : ComputeAwards(doc, ratings))
      byTitle[award.title] = award;
    return byTitle;
  }
  VexoriumDoc doc;
};

TEST_F(AwardsTest, EachRuleFindsItsWinner) {
  doc.gameCount = 2;
  // name, frags, deaths, suicides, seconds, games, frags in game 1
  int32_t ann = Player("Ann", 40, 10, 0, 7200, 6, 12);
  int32_t bob = Player("Bob", 50, 40, 9, 3000, 4, 30);  // too few games and too little time
  int32_t cy = Player("Cy", 40, 8, 9, 9000, 9, 10);     // ties Ann's frags, seen later
  int32_t dee = Player("Dee", 0, 60, 9, 100, 1, 0);     // ties Bob's and Cy's suicides, seen last
  doc.players[static_cast<size_t>(bob)].weaponFrags[Index(Weapon::kRailgun)] = 7;
  doc.players[static_cast<size_t>(cy)].weaponFrags[Index(Weapon::kRailgun)] = 7;
  doc.players[static_cast<size_t>(ann)].weaponFrags[Index(Weapon::kRocket)] = 3;
  // Game 2 is short: its frags count for no one-game record.
  doc.games[2].shortGame = true;
  PlayerGame& hidden = doc.players[static_cast<size_t>(dee)].games.At(2);
  hidden.frags = 99;
  hidden.seconds = 60;

  std::map<std::string, Award> awards = Awards();
  struct Case {
    const char* title;
    int32_t winner;
    const char* value;
  };
  const Case cases[] = {
      {"Fragmaster", bob, "50 frags"},
      {"Sharpshooter", ann, "skill 4.00"},      // Cy's 40 / 17 is less; Bob has 4 games
      {"Rampage", bob, "30 frags"},             // Dee's 99 are in a short game
      {"Frag Machine", ann, "20.00 per hour"},  // Bob played less than an hour
      {"Marathon", cy, "2h 30m 0s"},
      {"Regular", cy, "9 games"},
      {"Cannon Fodder", dee, "60 deaths"},
      {"Kamikaze", bob, "9 suicides"},  // Bob, Cy and Dee tie: Bob was seen first
      {"Railgun Master", bob, "7 frags"},
      {"Rocket Launcher Master", ann, "3 frags"},
      {"BFG10K Master", 0, ""},  // nobody fragged with it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ASSERT_EQ(awards.count(c.title), 1u);
    EXPECT_EQ(awards[c.title].player, c.winner);
    EXPECT_EQ(awards[c.title].value, c.value);
    EXPECT_FALSE(awards[c.title].rule.empty());
  }
  EXPECT_EQ(awards["Railgun Master"].rule, "Most frags with the Railgun");
  // Every weapon has its award, and the overall ones come first.
  Ratings ratings(doc);
  std::vector<Award> all = ComputeAwards(doc, ratings);
  EXPECT_EQ(all.size(), 9u + kWeaponCount);
  EXPECT_EQ(all.front().title, "Top Gun");
}

TEST_F(AwardsTest, TopGunNeedsARatedGameAndAnEmptyLoadHasNoWinners) {
  for (const auto& [title, award] : Awards()) {
    EXPECT_EQ(award.player, 0) << title;
    EXPECT_EQ(award.value, "") << title;
  }
  Player("Ann", 1, 0, 0, 60, 1, 1);
  Player("Bob", 0, 1, 0, 60, 1, 0);
  doc.gameCount = 1;
  std::map<std::string, Award> awards = Awards();
  EXPECT_EQ(awards["Top Gun"].player, 1);
  EXPECT_EQ(awards["Top Gun"].value, "1662.3 \xC2\xB1 290.3");
}

}  // namespace
}  // namespace vexor
