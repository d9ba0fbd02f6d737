#include "site/SiteData.h"

#include <algorithm>
#include <tuple>

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

struct KillCount {
  int32_t killer;
  int32_t victim;
  int64_t count;
};

// Keeps the most frequent rivals of each player: candidates arrive grouped by player.
void KeepTop(std::vector<Rival>& rivals, Rival candidate) {
  rivals.push_back(candidate);
  std::sort(rivals.begin(), rivals.end(), [](const Rival& a, const Rival& b) {
    return std::tie(b.count, a.player) < std::tie(a.count, b.player);
  });
  if (rivals.size() > kRivalsShown) rivals.pop_back();
}

}  // namespace

SiteData::SiteData(const VexoriumDoc& document)
    : doc(document),
      playerCount(std::clamp(document.nameCount, 0, VexoriumDoc::kMaxPlayers)),
      gameCount(std::clamp(document.gameCount, 0, VexoriumDoc::kMaxGames)),
      ratings(document),
      awards(ComputeAwards(document, ratings)),
      present(document) {
  m_listedNumber.assign(static_cast<size_t>(gameCount) + 1, 0);
  m_gameSeconds.assign(static_cast<size_t>(gameCount) + 1, 0);
  for (int32_t g = 1; g <= gameCount; ++g) {
    if (doc.games[static_cast<size_t>(g)].shortGame) continue;
    listedGames.push_back(g);
    m_listedNumber[static_cast<size_t>(g)] = static_cast<int32_t>(listedGames.size());
  }
  for (int32_t p = 1; p <= playerCount; ++p) {
    const GameSeries& series = doc.players[static_cast<size_t>(p)].games;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      if (g < 1 || g > gameCount) continue;
      int32_t& longest = m_gameSeconds[static_cast<size_t>(g)];
      longest = std::max(longest, series.ValueAt(e).seconds);
    }
  }
  FindRivals();
}

int32_t SiteData::ListedNumber(int32_t game) const {
  return game >= 1 && game <= gameCount ? m_listedNumber[static_cast<size_t>(game)] : 0;
}

int32_t SiteData::GameSeconds(int32_t game) const {
  return game >= 1 && game <= gameCount ? m_gameSeconds[static_cast<size_t>(game)] : 0;
}

int32_t SiteData::PlayerAt(int32_t game, int32_t position) const {
  std::span<const int32_t> players = present.In(game);
  if (position < 0 || static_cast<size_t>(position) >= players.size()) return 0;
  return players[static_cast<size_t>(position)];
}

const std::vector<Rival>& SiteData::Victims(int32_t player) const {
  static const std::vector<Rival> kNone;
  return player >= 1 && player <= playerCount ? m_victims[static_cast<size_t>(player)] : kNone;
}

const std::vector<Rival>& SiteData::Killers(int32_t player) const {
  static const std::vector<Rival> kNone;
  return player >= 1 && player <= playerCount ? m_killers[static_cast<size_t>(player)] : kNone;
}

// Every frag of one player on another in the listed games' all-weapons tables, added up per
// pair: the cells are collected, sorted by pair and summed, then each player keeps the largest.
void SiteData::FindRivals() {
  std::vector<KillCount> kills;
  for (int32_t g : listedGames) {
    const KillTables& tables = doc.games[static_cast<size_t>(g)].kills;
    tables.ForEachCell([&](int32_t killerAt, int32_t victimAt, const auto& counts) {
      int32_t killer = PlayerAt(g, killerAt);
      int32_t victim = PlayerAt(g, victimAt);
      int32_t count = counts[KillTables::kAllWeapons];
      if (killer == 0 || victim == 0 || killer == victim || count <= 0) return;
      kills.push_back({killer, victim, count});
    });
  }
  std::sort(kills.begin(), kills.end(), [](const KillCount& a, const KillCount& b) {
    return std::tie(a.killer, a.victim) < std::tie(b.killer, b.victim);
  });
  m_victims.assign(static_cast<size_t>(playerCount) + 1, {});
  m_killers.assign(static_cast<size_t>(playerCount) + 1, {});
  for (size_t i = 0; i < kills.size();) {
    KillCount pair = kills[i];
    pair.count = 0;
    for (; i < kills.size() && kills[i].killer == pair.killer && kills[i].victim == pair.victim;
         ++i) {
      pair.count += kills[i].count;
    }
    KeepTop(m_victims[static_cast<size_t>(pair.killer)], {pair.victim, pair.count});
    KeepTop(m_killers[static_cast<size_t>(pair.victim)], {pair.killer, pair.count});
  }
}

}  // namespace vexor
