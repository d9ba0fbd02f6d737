// The values derived from a player's totals: skill and the three hourly rates. The statistics
// views and the printed tables compute them from the totals and store them into the player
// record, where sorting and the graphs read them.
#pragma once

#include <cstdint>

namespace vexor {

struct PlayerRecord;

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

// Computes skill from the totals and stores it into the record; returns it.
float StoreSkill(PlayerRecord& player);
// Computes the hourly rates from the totals and stores them into the record; returns them.
HourlyRates StoreHourlyRates(PlayerRecord& player);

}  // namespace vexor
