// The players' skill rating: Glicko-2, updated game by game from the order of the players' scores
// in each listed game. docs/RATING.md explains the rules with a worked example.
//
// Every listed game (not hidden as short) is one rating period, in game order. A free-for-all
// game is a set of pairwise matches between every two players present (per-game seconds above
// 0), won by the higher score (frags minus suicides) and drawn on equal scores. A team game (two
// teams among the players present) is a match of each team against the other, decided by the
// teams' summed scores; each player meets the other team as one opponent with the team's mean
// rating and the root mean square of its deviations. A player absent from a period grows more
// uncertain, as Glicko-2 prescribes, up to the deviation of a new player.
//
// The computation is deterministic: players and games are visited in number order and every
// sum is taken in that order, so the same document gives the same bits on every run.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vexor {

class VexoriumDoc;

// A rating on the familiar scale (new players 1500 with deviation 350) and its volatility.
struct Glicko {
  double rating = 1500;
  double deviation = 350;
  double volatility = 0.06;
};

constexpr double kRatingTau = 0.5;           // how fast volatility may change
constexpr double kRatingMaxDeviation = 350;  // a new player's deviation, never exceeded

// One result of a rating period: an opponent's rating before the period and the score against
// them (1 a win, 0.5 a draw, 0 a loss).
struct RatingResult {
  double rating = 1500;
  double deviation = 350;
  double score = 0;
};

// One Glicko-2 rating period of a player who played the given results, all against the
// opponents' ratings from before the period. With no results only the deviation grows.
Glicko Glicko2Update(const Glicko& player, std::span<const RatingResult> results);

// The deviation after `periods` rating periods without a game: sqrt(RD^2 + periods x (volatility
// x 173.7178)^2), at most kRatingMaxDeviation.
double DeviationAfterAbsence(const Glicko& player, int32_t periods);

// A player's rating after a rated game.
struct RatingPoint {
  int32_t game = 0;
  double rating = 0;
  double deviation = 0;
};

struct PlayerRating {
  Glicko value;            // at the end of the load (the deviation grown since the last game)
  int32_t ratedGames = 0;  // games in which the player met at least one opponent
  int32_t rank = 0;        // 1 for the best (see Ratings::RankOrder)
  // The rating's lower bound, by which players are ranked: rating - 2 x deviation.
  double Conservative() const { return value.rating - 2 * value.deviation; }
};

class Ratings {
 public:
  // Rates the players 1 to the name count over the document's games 1 to the game count.
  explicit Ratings(const VexoriumDoc& doc);

  int32_t PlayerCount() const { return static_cast<int32_t>(m_players.size()) - 1; }
  // Player p (1 to PlayerCount()); a player outside them reads as a new player.
  const PlayerRating& Of(int32_t player) const;
  // The player's rating after each rated game, in game order.
  std::span<const RatingPoint> History(int32_t player) const;
  // Players 1 to PlayerCount(), best first: by the conservative rating, higher first; equal
  // ones by the lower player number.
  const std::vector<int32_t>& RankOrder() const { return m_order; }

 private:
  void Apply(int32_t player, int32_t game, int32_t period, const Glicko& updated);

  std::vector<PlayerRating> m_players;  // entry 0 unused
  std::vector<int32_t> m_lastPeriod;    // the period of each player's last rated game
  std::vector<std::vector<RatingPoint>> m_history;
  std::vector<int32_t> m_order;
};

}  // namespace vexor
