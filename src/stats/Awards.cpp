#include "stats/Awards.h"
#include "stats/GameFamily.h"

#include <algorithm>
#include <optional>

#include "base/StringPrintf.h"
#include "stats/DerivedValues.h"
#include "stats/Rating.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {
namespace {

// What the rules read: the document, the ratings and each player's best listed game.
struct AwardContext {
  const VexoriumDoc& doc;
  const Ratings& ratings;
  std::vector<int32_t> bestGameFrags;

  const PlayerRecord& Player(int32_t p) const { return doc.players[static_cast<size_t>(p)]; }
};

// A player's value for an award; none when the player does not qualify.
using Metric = std::optional<double> (*)(const AwardContext&, int32_t player);
using Format = std::string (*)(const AwardContext&, int32_t player, double value);

struct AwardRule {
  const char* title;
  const char* rule;
  Metric metric;
  Format format;
};

std::optional<double> Positive(double value) {
  return value > 0 ? std::optional<double>(value) : std::nullopt;
}

// "1 frag", "42 frags".
std::string Count(const char* unit, double value) {
  return StringPrintf("%.0f %s%s", value, unit, value == 1 ? "" : "s");
}

const AwardRule kRules[] = {
    {"Top Gun", "Best rating lower bound (rating minus twice its deviation), among rated players",
     [](const AwardContext& c, int32_t p) {
       const PlayerRating& r = c.ratings.Of(p);
       return r.ratedGames > 0 ? std::optional<double>(r.Conservative()) : std::nullopt;
     },
     [](const AwardContext& c, int32_t p, double) {
       const PlayerRating& r = c.ratings.Of(p);
       return StringPrintf("%.1f \xC2\xB1 %.1f", r.value.rating, r.value.deviation);
     }},
    {"Fragmaster", "Most frags",
     [](const AwardContext& c, int32_t p) { return Positive(c.Player(p).frags); },
     [](const AwardContext&, int32_t, double v) { return Count("frag", v); }},
    {"Sharpshooter", "Best skill (frags / (deaths + suicides)) over at least 5 games played",
     [](const AwardContext& c, int32_t p) {
       const PlayerRecord& player = c.Player(p);
       if (player.gamesPlayed < kAwardMinimumGames) return std::optional<double>();
       return Positive(Skill(player.frags, player.deaths, player.suicides));
     },
     [](const AwardContext&, int32_t, double v) { return StringPrintf("skill %.2f", v); }},
    {"Rampage", "Most frags in one game",
     [](const AwardContext& c, int32_t p) {
       return Positive(c.bestGameFrags[static_cast<size_t>(p)]);
     },
     [](const AwardContext&, int32_t, double v) { return Count("frag", v); }},
    {"Frag Machine", "Most frags (less suicides) per hour over at least an hour of play",
     [](const AwardContext& c, int32_t p) {
       const PlayerRecord& player = c.Player(p);
       if (player.totalSeconds < kAwardMinimumSeconds) return std::optional<double>();
       return Positive(HourlyRatesOf(player).frags);
     },
     [](const AwardContext&, int32_t, double v) { return StringPrintf("%.2f per hour", v); }},
    {"Marathon", "Longest play time",
     [](const AwardContext& c, int32_t p) { return Positive(c.Player(p).totalSeconds); },
     [](const AwardContext& c, int32_t p, double) { return c.Player(p).timeText; }},
    {"Regular", "Most games played",
     [](const AwardContext& c, int32_t p) { return Positive(c.Player(p).gamesPlayed); },
     [](const AwardContext&, int32_t, double v) { return Count("game", v); }},
    {"Cannon Fodder", "Most deaths",
     [](const AwardContext& c, int32_t p) { return Positive(c.Player(p).deaths); },
     [](const AwardContext&, int32_t, double v) { return Count("death", v); }},
    {"Kamikaze", "Most suicides",
     [](const AwardContext& c, int32_t p) { return Positive(c.Player(p).suicides); },
     [](const AwardContext&, int32_t, double v) { return Count("suicide", v); }},
};

// The player with the highest value (the lower number on equal values); 0 when nobody has one.
template <typename ValueOf>
int32_t Winner(int32_t players, ValueOf valueOf, double* best) {
  int32_t winner = 0;
  for (int32_t p = 1; p <= players; ++p) {
    std::optional<double> value = valueOf(p);
    if (value && (winner == 0 || *value > *best)) {
      winner = p;
      *best = *value;
    }
  }
  return winner;
}

std::vector<int32_t> BestGameFrags(const VexoriumDoc& doc, int32_t players, int32_t games) {
  std::vector<int32_t> best(static_cast<size_t>(players) + 1, 0);
  for (int32_t p = 1; p <= players; ++p) {
    const GameSeries& series = doc.players[static_cast<size_t>(p)].games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      if (g < 1 || g > games || doc.games[static_cast<size_t>(g)].shortGame) continue;
      best[static_cast<size_t>(p)] =
          std::max(best[static_cast<size_t>(p)], series.ValueAt(e).frags);
    }
  }
  return best;
}

}  // namespace

std::vector<Award> ComputeAwards(const VexoriumDoc& doc, const Ratings& ratings) {
  const int32_t players = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  const int32_t games = std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames);
  AwardContext context{doc, ratings, BestGameFrags(doc, players, games)};
  std::vector<Award> awards;
  for (const AwardRule& rule : kRules) {
    Award award{rule.title, rule.rule, 0, ""};
    double best = 0;
    award.player = Winner(
        players, [&](int32_t p) { return rule.metric(context, p); }, &best);
    if (award.player != 0) award.value = rule.format(context, award.player, best);
    awards.push_back(std::move(award));
  }
  for (WeaponId w : WeaponsInLoad(doc, kPerGameOrder)) {
    Award award{StringPrintf("%s Master", WeaponName(w)),
                StringPrintf("Most frags with the %s", WeaponName(w)), 0, ""};
    double best = 0;
    award.player = Winner(
        players, [&](int32_t p) { return Positive(context.Player(p).WeaponFrags(w)); }, &best);
    if (award.player != 0) award.value = Count("frag", best);
    awards.push_back(std::move(award));
  }
  return awards;
}

}  // namespace vexor
