#include "stats/Rating.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "stats/GamePlayers.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Glicko-2 works on its own scale: mu = (rating - 1500) / 173.7178, phi = deviation / 173.7178.
constexpr double kScale = 173.7178;
constexpr double kBase = 1500;
constexpr double kConvergence = 0.000001;
constexpr int kMaxIterations = 100;  // the volatility search converges in a handful

double G(double phi) {
  return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (std::numbers::pi * std::numbers::pi));
}

// The new volatility (step 5 of Glicko-2, the Illinois method).
double NewVolatility(double phi, double sigma, double v, double delta) {
  const double a = std::log(sigma * sigma);
  const double tau2 = kRatingTau * kRatingTau;
  auto f = [&](double x) {
    double ex = std::exp(x);
    double d = phi * phi + v + ex;
    return ex * (delta * delta - phi * phi - v - ex) / (2 * d * d) - (x - a) / tau2;
  };
  double big = a;
  double small;
  if (delta * delta > phi * phi + v) {
    small = std::log(delta * delta - phi * phi - v);
  } else {
    int k = 1;
    while (f(a - k * kRatingTau) < 0 && k < kMaxIterations)
      ++k;
    small = a - k * kRatingTau;
  }
  double fA = f(big);
  double fB = f(small);
  double lower = big;
  double upper = small;
  for (int i = 0; i < kMaxIterations && std::fabs(upper - lower) > kConvergence; ++i) {
    double c = lower + (lower - upper) * fA / (fB - fA);
    double fC = f(c);
    if (fC * fB <= 0) {
      lower = upper;
      fA = fB;
    } else {
      fA /= 2;
    }
    upper = c;
    fB = fC;
  }
  return std::exp(lower / 2);
}

// A player of one game: who, their score, their team and their rating before the game.
struct Entrant {
  int32_t player;
  int64_t score;
  int32_t team;
  Glicko before;
};

double Outcome(int64_t mine, int64_t theirs) {
  return mine > theirs ? 1.0 : mine < theirs ? 0.0 : 0.5;
}

// A team as one opponent: the mean rating and the root mean square of the deviations.
RatingResult TeamOpponent(const std::vector<Entrant>& entrants, int32_t team) {
  double ratings = 0;
  double squares = 0;
  int count = 0;
  for (const Entrant& e : entrants) {
    if (e.team != team) continue;
    ratings += e.before.rating;
    squares += e.before.deviation * e.before.deviation;
    ++count;
  }
  return {ratings / count, std::sqrt(squares / count), 0};
}

// The players' ratings after one game, aligned with the entrants that remain rated (players
// without a team in a team game are taken out); none when fewer than two remain.
std::vector<Glicko> RateGame(std::vector<Entrant>& entrants) {
  bool blue = false;
  bool red = false;
  for (const Entrant& e : entrants) {
    blue = blue || e.team == 1;
    red = red || e.team == 2;
  }
  const bool teams = blue && red;
  if (teams) {
    // Players without a team in a team game (spectators) are not rated in it.
    std::erase_if(entrants, [](const Entrant& e) { return e.team != 1 && e.team != 2; });
  }
  std::vector<Glicko> updated;
  if (entrants.size() < 2) return updated;
  int64_t teamScore[3] = {0, 0, 0};
  for (const Entrant& e : entrants)
    teamScore[e.team == 2 ? 2 : 1] += e.score;
  const RatingResult teamOf[3] = {{}, TeamOpponent(entrants, 1), TeamOpponent(entrants, 2)};

  updated.reserve(entrants.size());
  std::vector<RatingResult> results;
  for (const Entrant& me : entrants) {
    results.clear();
    if (teams) {
      int other = me.team == 1 ? 2 : 1;
      RatingResult opponent = teamOf[other];
      opponent.score = Outcome(teamScore[me.team], teamScore[other]);
      results.push_back(opponent);
    } else {
      for (const Entrant& them : entrants) {
        if (them.player == me.player) continue;
        results.push_back(
            {them.before.rating, them.before.deviation, Outcome(me.score, them.score)});
      }
    }
    updated.push_back(Glicko2Update(me.before, results));
  }
  return updated;
}

}  // namespace

Glicko Glicko2Update(const Glicko& player, std::span<const RatingResult> results) {
  const double mu = (player.rating - kBase) / kScale;
  const double phi = player.deviation / kScale;
  if (results.empty()) {
    double grown = std::sqrt(phi * phi + player.volatility * player.volatility) * kScale;
    return {player.rating, std::min(grown, kRatingMaxDeviation), player.volatility};
  }
  double inverseV = 0;
  double sum = 0;
  for (const RatingResult& r : results) {
    double muJ = (r.rating - kBase) / kScale;
    double g = G(r.deviation / kScale);
    double expected = 1.0 / (1.0 + std::exp(-g * (mu - muJ)));
    inverseV += g * g * expected * (1 - expected);
    sum += g * (r.score - expected);
  }
  // Opponents so far apart that no result could tell anything: the period passes unplayed.
  if (!(inverseV > 0)) return Glicko2Update(player, {});
  const double v = 1.0 / inverseV;
  const double sigma = NewVolatility(phi, player.volatility, v, v * sum);
  const double phiStar = std::sqrt(phi * phi + sigma * sigma);
  const double phiNew = 1.0 / std::sqrt(1.0 / (phiStar * phiStar) + 1.0 / v);
  const double muNew = mu + phiNew * phiNew * sum;
  return {muNew * kScale + kBase, std::min(phiNew * kScale, kRatingMaxDeviation), sigma};
}

double DeviationAfterAbsence(const Glicko& player, int32_t periods) {
  if (periods <= 0) return player.deviation;
  double step = player.volatility * kScale;
  double grown = std::sqrt(player.deviation * player.deviation + periods * step * step);
  return std::min(grown, kRatingMaxDeviation);
}

Ratings::Ratings(const VexoriumDoc& doc) {
  const int32_t players = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  const int32_t games = std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames);
  m_players.resize(static_cast<size_t>(players) + 1);
  m_lastPeriod.assign(static_cast<size_t>(players) + 1, 0);
  m_history.resize(static_cast<size_t>(players) + 1);
  GamePlayers present(doc);
  int32_t period = 0;
  std::vector<Entrant> entrants;
  for (int32_t g = 1; g <= games; ++g) {
    if (doc.games[static_cast<size_t>(g)].shortGame) continue;
    ++period;
    entrants.clear();
    for (int32_t p : present.In(g)) {
      if (p < 1 || p > players) continue;
      const PlayerGame& values = doc.players[static_cast<size_t>(p)].games.Get(g);
      PlayerRating& rating = m_players[static_cast<size_t>(p)];
      Glicko before = rating.value;
      if (rating.ratedGames > 0) {
        before.deviation =
            DeviationAfterAbsence(before, period - m_lastPeriod[static_cast<size_t>(p)] - 1);
      }
      entrants.push_back({p, int64_t{values.frags} - values.suicides, values.team, before});
    }
    std::vector<Glicko> updated = RateGame(entrants);
    for (size_t i = 0; i < updated.size(); ++i)
      Apply(entrants[i].player, g, period, updated[i]);
  }
  for (int32_t p = 1; p <= players; ++p) {
    PlayerRating& rating = m_players[static_cast<size_t>(p)];
    if (rating.ratedGames > 0) {
      rating.value.deviation =
          DeviationAfterAbsence(rating.value, period - m_lastPeriod[static_cast<size_t>(p)]);
    }
    m_order.push_back(p);
  }
  std::stable_sort(m_order.begin(), m_order.end(), [this](int32_t a, int32_t b) {
    return Of(a).Conservative() > Of(b).Conservative();
  });
  for (size_t i = 0; i < m_order.size(); ++i) {
    m_players[static_cast<size_t>(m_order[i])].rank = static_cast<int32_t>(i) + 1;
  }
}

void Ratings::Apply(int32_t player, int32_t game, int32_t period, const Glicko& updated) {
  auto index = static_cast<size_t>(player);
  m_players[index].value = updated;
  ++m_players[index].ratedGames;
  m_lastPeriod[index] = period;
  m_history[index].push_back({game, updated.rating, updated.deviation});
}

const PlayerRating& Ratings::Of(int32_t player) const {
  static const PlayerRating kNewPlayer;
  if (player < 1 || player > PlayerCount()) return kNewPlayer;
  return m_players[static_cast<size_t>(player)];
}

std::span<const RatingPoint> Ratings::History(int32_t player) const {
  if (player < 1 || player > PlayerCount()) return {};
  return m_history[static_cast<size_t>(player)];
}

}  // namespace vexor
