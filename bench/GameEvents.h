// The lines of one game in time order, before they are written: connections, renames, kills,
// disconnections, and the noise of real logs (item pick-ups, chat).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "GamePlan.h"
#include "Random.h"

namespace vexor::bench {

enum class EventType : uint8_t { kConnect, kRename, kItem, kSay, kKill, kDisconnect };

struct GameEvent {
  uint64_t key = 0;  // time, then departures, arrivals and renames, then the rest
  EventType type = EventType::kConnect;
  int16_t participant = -1;
  int32_t value = 0;  // stint, item, chat text or kill index, by type
  int32_t Time() const { return static_cast<int32_t>(key >> 32); }
};

// Chat texts that no log reader can mistake for an event, an obituary or a suicide.
std::span<const char* const> ChatTexts();
// Item names of "Item:" lines; team games add the flags.
std::span<const char* const> ItemNames(bool teamGame);

class GameEvents {
 public:
  // items: whether to add item pick-ups (server logs only); noise as in the options.
  GameEvents(int32_t noise, bool items, uint64_t seed)
      : m_noise(noise), m_items(items), m_random(seed) {}

  // The events of the game, sorted by time.
  const std::vector<GameEvent>& Build(const GamePlan& plan);

  // The value of a chat event whose line is longer than a log reader takes in one piece.
  static constexpr int32_t kLongChat = -1;

 private:
  void Add(int32_t time, int32_t phase, EventType type, int32_t participant, int32_t value);
  // A participant connected at the time, or -1 after a few tries.
  int32_t SomeoneConnected(const GamePlan& plan, int32_t time);
  void AddNoise(const GamePlan& plan);

  int32_t m_noise;
  bool m_items;
  Random m_random;
  uint32_t m_sequence = 0;
  std::vector<GameEvent> m_events;
};

}  // namespace vexor::bench
