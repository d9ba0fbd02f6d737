#include "stats/GameSumming.h"

#include <algorithm>
#include <vector>

#include "base/TextNumbers.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Where the games go: game g (from 1) becomes entry GroupOf(g) of the summed series.
struct Grouping {
  int32_t start;  // first grouped game
  int32_t size;   // games per group
  int32_t gameCount;
  int32_t groupCount;

  int32_t GroupOf(int32_t g) const { return g < start ? g : start + (g - start) / size; }
  // The last game of the entry's group, and how many games it holds.
  int32_t LastGameOf(int32_t u) const {
    return u < start ? u : std::min(start + (u - start + 1) * size - 1, gameCount);
  }
  int32_t GamesIn(int32_t u) const {
    return u < start ? 1 : LastGameOf(u) - (start + (u - start) * size) + 1;
  }
};

void AddCounts(std::vector<int32_t>& into, const std::vector<int32_t>& from) {
  if (into.size() < from.size()) into.resize(from.size(), 0);
  for (size_t v = 0; v < from.size(); ++v)
    AddWrapping(&into[v], from[v]);
}

// The player's per-game values summed by group; games played recounted as the groups in which
// the player played.
void SumPlayer(PlayerRecord& player, const Grouping& grouping) {
  GameSeries summed;
  int32_t gamesPlayed = 0;
  int32_t lastCountedGroup = -1;
  // Per-hour values are the mean over every game of the group (absent games count as 0).
  std::vector<float> fph, dph, sph;
  const GameSeries& series = player.games;
  for (size_t e = 0; e < series.EntryCount(); ++e) {
    int32_t g = series.GameAt(e);
    if (g < 1 || g > grouping.gameCount) continue;
    const PlayerGame& game = series.ValueAt(e);
    int32_t u = grouping.GroupOf(g);
    PlayerGame& group = summed.At(u);
    for (int w = 0; w < kWeaponCount; ++w) {
      AddWrapping(&group.weaponFrags[static_cast<size_t>(w)],
                  game.weaponFrags[static_cast<size_t>(w)]);
    }
    if (!game.otherWeaponFrags.Empty()) {
      for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w) {
        int32_t frags = game.otherWeaponFrags.Get(w);
        if (frags != 0) AddWrapping(&group.otherWeaponFrags.At(w), frags);
      }
    }
    AddWrapping(&group.frags, game.frags);
    AddWrapping(&group.deaths, game.deaths);
    AddWrapping(&group.suicides, game.suicides);
    group.seconds = SaturatingAdd(group.seconds, game.seconds);
    AddCounts(group.clientVarCounts, game.clientVarCounts);
    AddCounts(group.serverVarCounts, game.serverVarCounts);
    if (g == grouping.LastGameOf(u)) group.team = game.team;
    group.fragsPerHour += game.fragsPerHour;
    group.deathsPerHour += game.deathsPerHour;
    group.suicidesPerHour += game.suicidesPerHour;
    if (game.seconds > 0 && lastCountedGroup != u) {
      ++gamesPlayed;
      lastCountedGroup = u;
    }
  }
  for (size_t e = 0; e < summed.EntryCount(); ++e) {
    PlayerGame& group = summed.ValueAt(e);
    float games = static_cast<float>(grouping.GamesIn(summed.GameAt(e)));
    group.fragsPerHour /= games;
    group.deathsPerHour /= games;
    group.suicidesPerHour /= games;
  }
  player.games = std::move(summed);
  player.gamesPlayed = gamesPlayed;
}

void SumGameRecords(VexoriumDoc& doc, const Grouping& grouping) {
  std::vector<GameRecord> groups(static_cast<size_t>(grouping.groupCount) + 1);
  for (int32_t g = 1; g <= grouping.gameCount; ++g) {
    const GameRecord& game = doc.games[static_cast<size_t>(g)];
    int32_t u = grouping.GroupOf(g);
    GameRecord& group = groups[static_cast<size_t>(u)];
    bool first = g == u || g == grouping.start + (u - grouping.start) * grouping.size;
    group.playerNumber =
        first ? game.playerNumber : std::max(group.playerNumber, game.playerNumber);
    group.fragLimit = first ? game.fragLimit : std::max(group.fragLimit, game.fragLimit);
    group.timeLimit = first ? game.timeLimit : std::max(group.timeLimit, game.timeLimit);
    group.serverLogGame = game.serverLogGame;
    group.mapName = game.mapName;
    group.gameTypeName = game.gameTypeName;
    group.family = game.family;
  }
  doc.displayedGameCount = 0;
  for (int32_t u = 1; u <= grouping.groupCount; ++u) {
    GameRecord& game = doc.games[static_cast<size_t>(u)];
    GameRecord& group = groups[static_cast<size_t>(u)];
    game.playerNumber = group.playerNumber;
    game.fragLimit = group.fragLimit;
    game.timeLimit = group.timeLimit;
    game.serverLogGame = group.serverLogGame;
    game.mapName = std::move(group.mapName);
    game.gameTypeName = std::move(group.gameTypeName);
    game.family = group.family;
    // The kills of a group's games cannot be combined: positions differ from game to game.
    // Games before the group start keep theirs.
    if (u >= grouping.start) game.kills.Allocate(game.playerNumber);
    game.shortGame = game.playerNumber < 1;
    if (!game.shortGame) ++doc.displayedGameCount;
  }
  for (int32_t g = grouping.groupCount + 1; g < VexoriumDoc::kGameSlots; ++g) {
    doc.games[static_cast<size_t>(g)].kills.Clear();
  }
}

}  // namespace

void SumGames(VexoriumDoc& doc) {
  Options& options = doc.options;
  if (options.groupSize <= 1 || options.sumGames != 1 || doc.gameCount < 1) return;
  if (options.groupSize > doc.gameCount) options.groupSize = doc.gameCount;
  Grouping grouping;
  grouping.start = std::max(options.groupStart, 1);
  grouping.size = options.groupSize;
  grouping.gameCount = std::min(doc.gameCount, VexoriumDoc::kMaxGames);
  if (grouping.start > grouping.gameCount || grouping.size <= 1) return;
  grouping.groupCount = grouping.GroupOf(grouping.gameCount);

  doc.players[0].games.Clear();
  for (int32_t p = 1; p <= doc.nameCount; ++p)
    SumPlayer(doc.players[static_cast<size_t>(p)], grouping);
  SumGameRecords(doc, grouping);
  doc.gameCount = grouping.groupCount;
}

}  // namespace vexor
