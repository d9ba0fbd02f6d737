// The values derived from a player's totals: skill and the three hourly rates. They are computed
// once where a document is made (at the end of a load, when a data file is opened) and stored
// into the player records, where the statistics lists, their sorting and the printed tables read
// them.
#pragma once

#include <cstdint>

namespace vexor {

struct PlayerRecord;
class VexoriumDoc;

// count per hour of play: count / (seconds x 1/3600) in single precision; 0 when either is 0.
float PerHour(int32_t seconds, int32_t count);

// frags / (deaths + suicides) when deaths is above 0; otherwise frags (suicides are then
// ignored). Single precision. Never infinite: a sum of 0 (only possible with a negative suicide
// count from an edited data file) gives frags.
float Skill(int32_t frags, int32_t deaths, int32_t suicides);

struct HourlyRates {
  float frags = 0;  // of frags minus suicides
  float deaths = 0;
  float suicides = 0;
};

// The hourly rates of the player's totals over the player's total seconds.
HourlyRates HourlyRatesOf(const PlayerRecord& player);

// Stores skill and the hourly rates of players 1 to the name count into their records, from
// their totals. A load that read a client log knows no play time: its rates are 0 (the views
// show "N / A" for them).
void StoreDerivedValues(VexoriumDoc& doc);

}  // namespace vexor
