// The lines of one game in time order, before they are written: connections, renames, kills,
// disconnections, and the noise of real logs (item pick-ups, chat).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "GamePlan.h"
#include "LineBuffer.h"
#include "Random.h"

namespace vexor::bench {

enum class EventType : uint8_t { kConnect, kRename, kItem, kSay, kKill, kDisconnect, kTeamChange };

struct GameEvent {
  uint64_t key = 0;  // time, then departures, arrivals and renames, then the rest
  EventType type = EventType::kConnect;
  int16_t participant = -1;  // -1 only for a kill that names no player (PlannedKill::Subject)
  int32_t value = 0;         // stint, item, chat text or kill index, by type
  int32_t Time() const { return static_cast<int32_t>(key >> 32); }
};

// Chat texts that no log reader can mistake for an event, an obituary or a suicide.
std::span<const char* const> ChatTexts();
// Appends the text of a chat event (GameEvents' value): one of ChatTexts() or a line longer than
// a log reader takes in one piece.
void AppendChat(LineBuffer& out, int32_t text);
// Item names of "Item:" lines of the flavour's family, with the flags or without.
std::span<const char* const> ItemNames(Flavour flavour, bool flags);
// Whether the game's players pick up flags: in Quake 3 logs every team game, in the other
// families' the games with a capture limit.
bool FlagsInPlay(const GamePlan& plan, Flavour flavour);

class GameEvents {
 public:
  // items: whether to add item pick-ups (server logs only); noise as in the options.
  GameEvents(int32_t noise, bool items, Flavour flavour, uint64_t seed)
      : m_noise(noise), m_items(items), m_flavour(flavour), m_random(seed) {}

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
  Flavour m_flavour;
  Random m_random;
  uint32_t m_sequence = 0;
  std::vector<GameEvent> m_events;
};

}  // namespace vexor::bench
