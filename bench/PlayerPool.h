// The players a generated log draws from: unique names (some colour-coded, some bots), with the
// model, gender and settings that their user-information lines carry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "MeansOfDeath.h"
#include "Random.h"

namespace vexor::bench {

struct PoolPlayer {
  std::string raw;    // the name as logged, colour codes included
  std::string key;    // the name without colour codes; unique in the pool
  std::string model;  // "sarge/krusade"
  Gender gender = Gender::kMale;
  bool bot = false;
  int32_t skill = 0;  // bots: 1 to 5
  int32_t handicap = 100;
  int32_t colour1 = 4;
};

class PlayerPool {
 public:
  // Players 1 to kTwinCount are the only ones that may appear twice in one game (two clients
  // with one name), which bounds the extra names such games add.
  static constexpr int32_t kTwinCount = 5;

  // size players (at least 1). Player 0 is a human (the owner of a client log), player 1 a
  // female and player 2 a neuter one when the pool has them, so that small logs show every
  // gendered message.
  PlayerPool(int32_t size, Random& random);

  int32_t Size() const { return static_cast<int32_t>(m_players.size()); }
  const PoolPlayer& operator[](int32_t i) const { return m_players[static_cast<size_t>(i)]; }
  bool IsTwin(int32_t i) const { return i >= 1 && i <= kTwinCount; }

 private:
  std::vector<PoolPlayer> m_players;
};

// The name with each "^" and the character after it removed.
std::string StripColours(std::string_view raw);

// The same name in other colours (the key stays the same).
std::string Recoloured(std::string_view raw, Random& random);

}  // namespace vexor::bench
