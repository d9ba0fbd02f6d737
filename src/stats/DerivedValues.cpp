#include "stats/DerivedValues.h"

#include <algorithm>

#include "stats/PlayerRecord.h"
#include "stats/VexoriumDoc.h"

namespace vexor {

float PerHour(int32_t seconds, int32_t count) {
  if (seconds == 0 || count == 0) return 0;
  return static_cast<float>(count) / (static_cast<float>(seconds) * 0.00027777778f);
}

float Skill(int32_t frags, int32_t deaths, int32_t suicides) {
  if (deaths <= 0) return static_cast<float>(frags);
  int64_t lives = int64_t{deaths} + suicides;
  if (lives == 0) return static_cast<float>(frags);
  return static_cast<float>(frags) / static_cast<float>(lives);
}

HourlyRates HourlyRatesOf(const PlayerRecord& player) {
  // Totals wrap like the counters that make them; the difference wraps the same way.
  auto score = static_cast<int32_t>(static_cast<uint32_t>(player.frags) -
                                    static_cast<uint32_t>(player.suicides));
  HourlyRates rates;
  rates.frags = PerHour(player.totalSeconds, score);
  rates.deaths = PerHour(player.totalSeconds, player.deaths);
  rates.suicides = PerHour(player.totalSeconds, player.suicides);
  return rates;
}

void StoreDerivedValues(VexoriumDoc& doc) {
  int32_t records = static_cast<int32_t>(doc.players.size()) - 1;
  int32_t last = std::clamp(doc.nameCount, 0, std::min(VexoriumDoc::kMaxPlayers, records));
  for (int32_t p = 1; p <= last; ++p) {
    PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    player.skill = Skill(player.frags, player.deaths, player.suicides);
    HourlyRates rates = doc.clientLogSeen ? HourlyRates{} : HourlyRatesOf(player);
    player.fragsPerHour = rates.frags;
    player.deathsPerHour = rates.deaths;
    player.suicidesPerHour = rates.suicides;
  }
}

}  // namespace vexor
