// Who is connected under which client number in the game being read, and who left it: the same
// account in both passes of a server log, the discovery pass keeping it by name number and the
// statistics pass by player record (record k is name k), so that both find the same players.
//
// A player leaves when his client number disconnects. One who left may come back under his name
// on any client number and is the same player again (a dropped connection, a map vote); two
// clients connected at once under one name stay two players (Bob and Bob_1).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "log/ClientNumberTable.h"

namespace vexor {

class GameConnections {
 public:
  // A new game: nobody is connected, nobody has left.
  void Clear() {
    m_in.Clear();
    for (int32_t id : m_leftIds)
      m_left[static_cast<size_t>(id)] = 0;
    m_leftIds.clear();
  }
  // A connect took the player under the number.
  void Connected(std::string_view number, int32_t id) {
    m_in.Set(number, id);
    if (IsLeft(id)) m_left[static_cast<size_t>(id)] = 0;
  }
  // A connect under the number named nobody: whoever was there is no longer known there.
  void NobodyIn(std::string_view number) { m_in.Erase(number); }
  // The number disconnected: the player connected under it has left the game.
  void Disconnected(std::string_view number) {
    int32_t id = m_in.Find(number);
    if (id == ClientNumberTable::kNobody) return;
    m_in.Erase(number);
    if (id < 0) return;
    if (static_cast<size_t>(id) >= m_left.size()) m_left.resize(static_cast<size_t>(id) + 1, 0);
    if (m_left[static_cast<size_t>(id)] == 0) m_leftIds.push_back(id);
    m_left[static_cast<size_t>(id)] = 1;
  }
  // The game ended ("ShutdownGame:"): nobody is connected any more, and nobody has left.
  void GameEnded() { m_in.Clear(); }

  // The player connected under the number; ClientNumberTable::kNobody when none is.
  int32_t In(std::string_view number) const { return m_in.Find(number); }
  bool IsLeft(int32_t id) const {
    return id >= 0 && static_cast<size_t>(id) < m_left.size() && m_left[static_cast<size_t>(id)];
  }

 private:
  ClientNumberTable m_in;
  std::vector<uint8_t> m_left;  // by id
  std::vector<int32_t> m_leftIds;
};

}  // namespace vexor
