// The rating: Glicko-2's own published example, hand-computed games of new players (the worked
// example of docs/RATING.md), team games, absence, short games and the rank order.
#include "stats/Rating.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSupport.h"

namespace vexor {
namespace {

// A player's values in a game: frags, suicides, team; present for ten minutes.
struct Result {
  int32_t player;
  int32_t frags;
  int32_t suicides = 0;
  int32_t team = 0;
};

class RatingTest : public ::testing::Test {
 protected:
  void Players(int n) {
    for (int i = 1; i <= n; ++i)
      test::AddPlayer(doc, "P" + std::to_string(i));
  }
  // Adds a game with the players' results; short games are hidden from the views.
  void Game(std::initializer_list<Result> results, bool shortGame = false) {
    int32_t g = ++doc.gameCount;
    doc.games[static_cast<size_t>(g)].shortGame = shortGame;
    for (const Result& r : results) {
      PlayerGame& values = doc.players[static_cast<size_t>(r.player)].games.At(g);
      values.frags = r.frags;
      values.suicides = r.suicides;
      values.team = r.team;
      values.seconds = 600;
    }
  }

  VexoriumDoc doc;
};

TEST(Glicko2Test, ReproducesThePublishedExample) {
  // Glickman's example: 1500 +- 200 beats 1400 +- 30, loses to 1550 +- 100 and 1700 +- 300.
  std::vector<RatingResult> results = {{1400, 30, 1}, {1550, 100, 0}, {1700, 300, 0}};
  Glicko after = Glicko2Update({1500, 200, 0.06}, results);
  EXPECT_NEAR(after.rating, 1464.06, 0.01);
  EXPECT_NEAR(after.deviation, 151.52, 0.01);
  EXPECT_NEAR(after.volatility, 0.05999, 0.00001);
  // Without a game only the deviation grows, never beyond a new player's.
  Glicko idle = Glicko2Update({1500, 200, 0.06}, {});
  EXPECT_EQ(idle.rating, 1500);
  EXPECT_NEAR(idle.deviation, std::sqrt(200.0 * 200 + 0.06 * 173.7178 * 0.06 * 173.7178), 1e-9);
  EXPECT_EQ(Glicko2Update({1500, 349.9, 0.06}, {}).deviation, kRatingMaxDeviation);
}

TEST_F(RatingTest, FreeForAllOfNewPlayersMatchesTheWorkedExample) {
  Players(3);
  Game({{1, 5}, {2, 4, 1}, {3, 1}});  // scores 5, 3, 1
  Ratings ratings(doc);
  struct Expected {
    int32_t player;
    double rating;
    int32_t rank;
  };
  for (Expected e : {Expected{1, 1747.32, 1}, Expected{2, 1500.00, 2}, Expected{3, 1252.68, 3}}) {
    SCOPED_TRACE(e.player);
    EXPECT_NEAR(ratings.Of(e.player).value.rating, e.rating, 0.005);
    EXPECT_NEAR(ratings.Of(e.player).value.deviation, 253.40, 0.005);
    EXPECT_EQ(ratings.Of(e.player).rank, e.rank);
    EXPECT_EQ(ratings.Of(e.player).ratedGames, 1);
    ASSERT_EQ(ratings.History(e.player).size(), 1u);
    EXPECT_EQ(ratings.History(e.player)[0].game, 1);
  }
  EXPECT_EQ(ratings.RankOrder(), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(RatingTest, TeamGamesRateEachTeamAgainstTheOtherBySummedScores) {
  Players(5);
  // Blue's 3 + 3 beat red's 5 + 0 although red has the best player; player 5 has no team.
  Game({{1, 3, 0, 1}, {2, 3, 0, 1}, {3, 5, 0, 2}, {4, 0, 0, 2}, {5, 9, 0, 0}});
  Ratings ratings(doc);
  for (int32_t p : {1, 2})
    EXPECT_NEAR(ratings.Of(p).value.rating, 1662.31, 0.005);
  for (int32_t p : {3, 4})
    EXPECT_NEAR(ratings.Of(p).value.rating, 1337.69, 0.005);
  for (int32_t p : {1, 4})
    EXPECT_NEAR(ratings.Of(p).value.deviation, 290.32, 0.005);
  EXPECT_EQ(ratings.Of(5).ratedGames, 0);
  EXPECT_EQ(ratings.Of(5).value.rating, 1500);
  EXPECT_EQ(ratings.Of(5).value.deviation, kRatingMaxDeviation);
}

TEST_F(RatingTest, ShortGamesAreSkippedAndAbsenceWidensTheDeviation) {
  Players(4);
  Game({{1, 5}, {2, 3}, {3, 1}});
  Game({{1, 0}, {2, 9}}, /*shortGame=*/true);  // hidden: not rated
  Game({{2, 2}, {4, 1}});
  Game({{2, 2}, {4, 1}});
  Ratings ratings(doc);
  EXPECT_EQ(ratings.Of(1).ratedGames, 1);
  EXPECT_EQ(ratings.Of(2).ratedGames, 3);
  // Player 1 played the first of three rated games: two periods of absence since.
  EXPECT_NEAR(ratings.Of(1).value.rating, 1747.32, 0.005);
  double step = ratings.Of(1).value.volatility * 173.7178;
  EXPECT_NEAR(ratings.Of(1).value.deviation, std::sqrt(253.4046 * 253.4046 + 2 * step * step),
              0.001);
  // Player 2 took game 3 after one period away: the history shows each rated game in order.
  std::vector<int32_t> games;
  for (const RatingPoint& point : ratings.History(2))
    games.push_back(point.game);
  EXPECT_EQ(games, (std::vector<int32_t>{1, 3, 4}));
  EXPECT_GT(ratings.History(2)[2].rating, ratings.History(2)[1].rating);
  EXPECT_LT(ratings.History(2)[2].deviation, ratings.History(2)[1].deviation);
}

TEST_F(RatingTest, EqualPlayersRankByNumberAndTheSameLoadGivesTheSameBits) {
  Players(4);
  Game({{3, 2}, {4, 2}});  // a draw between equals
  Game({{1, 1}, {2, 1}});
  Ratings first(doc);
  Ratings second(doc);
  EXPECT_EQ(first.RankOrder(), (std::vector<int32_t>{1, 2, 3, 4}));
  for (int32_t p = 1; p <= 4; ++p) {
    EXPECT_EQ(first.Of(p).value.rating, second.Of(p).value.rating);
    EXPECT_EQ(first.Of(p).value.deviation, second.Of(p).value.deviation);
    EXPECT_EQ(first.Of(p).value.rating, 1500);
  }
  // Players 3 and 4 are one period further from their game: a wider deviation, a lower bound.
  EXPECT_GT(first.Of(3).value.deviation, first.Of(1).value.deviation);
  EXPECT_EQ(first.Of(99).rank, 0);
  EXPECT_TRUE(first.History(99).empty());
}

}  // namespace
}  // namespace vexor
