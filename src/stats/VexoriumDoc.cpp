#include "stats/VexoriumDoc.h"

#include <algorithm>
#include <atomic>

namespace vexor {

VexoriumDoc::VexoriumDoc()
    : players(kPlayerSlots),
      games(kGameSlots),
      m_names(kPlayerSlots),
      m_nameSlots(kPlayerSlots, kNoSlot) {}

// --- Names -----------------------------------------------------------------------------------

int32_t VexoriumDoc::FindName(std::string_view key) const {
  if (key.empty()) return 0;  // name 0 is always empty
  const int32_t* n = m_nameIndex.Find(key);
  if (n == nullptr || *n > nameCount) return -1;
  return *n;
}

int32_t VexoriumDoc::AddName(std::string_view key, std::string_view slot) {
  if (nameCount >= kMaxPlayers) return -1;
  int32_t n = ++nameCount;
  m_names[static_cast<size_t>(n)] = key;
  m_nameIndex.Insert(key) = n;
  SetNameSlot(n, slot);
  return n;
}

void VexoriumDoc::SetNameSlot(int32_t n, std::string_view slot) {
  std::string& current = m_nameSlots[static_cast<size_t>(n)];
  if (current == kNoSlot && slot != kNoSlot) m_namesInSlots.push_back(n);
  current = slot;
}

void VexoriumDoc::ResetNameSlots() {
  for (int32_t n : m_namesInSlots) {
    if (n >= 1) m_nameSlots[static_cast<size_t>(n)] = kNoSlot;
  }
  m_namesInSlots.erase(std::remove_if(m_namesInSlots.begin(), m_namesInSlots.end(),
                                      [](int32_t n) { return n >= 1; }),
                       m_namesInSlots.end());
}

void VexoriumDoc::ClearNames() {
  for (std::string& name : m_names)
    name.clear();
  m_nameIndex.Clear();
}

// --- Player records --------------------------------------------------------------------------

namespace {

uint64_t NextPlayerIndexVersion() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

}  // namespace

void VexoriumDoc::NameHolders::Add(int32_t p) {
  if (m_all.empty()) {
    if (m_one < 0) {
      m_one = p;
      return;
    }
    m_all.push_back(m_one);
  }
  m_all.insert(std::upper_bound(m_all.begin(), m_all.end(), p), p);
}

void VexoriumDoc::NameHolders::Remove(int32_t p) {
  if (m_all.empty()) {
    if (m_one == p) m_one = -1;
    return;
  }
  m_all.erase(std::remove(m_all.begin(), m_all.end(), p), m_all.end());
  if (m_all.size() <= 1) {
    m_one = m_all.empty() ? -1 : m_all.front();
    m_all.clear();
  }
}

int32_t VexoriumDoc::NameHolders::LastIn(int32_t first, int32_t last) const {
  if (m_all.empty()) return m_one >= first && m_one <= last ? m_one : -1;
  auto past = std::upper_bound(m_all.begin(), m_all.end(), last);
  if (past == m_all.begin() || *(past - 1) < first) return -1;
  return *(past - 1);
}

void VexoriumDoc::IndexPlayerName(int32_t p) {
  const std::string& name = players[static_cast<size_t>(p)].name;
  if (name.empty()) return;
  m_playerIndexVersion = NextPlayerIndexVersion();
  m_playerIndex.Insert(name).Add(p);
}

void VexoriumDoc::UnindexPlayerName(int32_t p) {
  const std::string& name = players[static_cast<size_t>(p)].name;
  if (name.empty()) return;
  NameHolders* holders = m_playerIndex.Find(name);
  if (holders == nullptr) return;
  m_playerIndexVersion = NextPlayerIndexVersion();
  holders->Remove(p);
  if (holders->Empty()) m_playerIndex.Erase(name);
}

int32_t VexoriumDoc::FindPlayer(std::string_view name, int32_t first, int32_t last) const {
  last = std::min(last, kPlayerSlots - 1);
  if (first > last) return -1;
  if (name.empty()) {
    // Empty names are not indexed: only records without a name match.
    for (int32_t p = last; p >= std::max(first, 0); --p) {
      if (players[static_cast<size_t>(p)].name.empty()) return p;
    }
    return -1;
  }
  const NameHolders* holders = m_playerIndex.Find(name);
  return holders == nullptr ? -1 : holders->LastIn(first, last);
}

void VexoriumDoc::SetPlayerName(int32_t p, std::string name) {
  UnindexPlayerName(p);
  players[static_cast<size_t>(p)].name = std::move(name);
  IndexPlayerName(p);
}

void VexoriumDoc::SetClientSlot(int32_t p, std::string_view slot) {
  std::string& current = players[static_cast<size_t>(p)].clientSlot;
  if (current == slot) return;
  // Records connected nowhere are not indexed: every game's start moves all to "-99".
  if (current != kNoSlot) {
    auto old = m_slotIndex.find(current);
    if (old != m_slotIndex.end()) {
      old->second.erase(p);
      if (old->second.empty()) m_slotIndex.erase(old);
    }
  }
  current = slot;
  if (slot == kNoSlot) return;
  auto it = m_slotIndex.find(slot);
  if (it == m_slotIndex.end())
    it = m_slotIndex.emplace(std::string(slot), std::set<int32_t>{}).first;
  it->second.insert(p);
}

template <typename Visit>
void VexoriumDoc::VisitSlotHolders(std::string_view slot, int32_t first, int32_t last,
                                   Visit visit) const {
  first = std::max(first, 0);
  if (slot == kNoSlot) {
    for (int32_t p = first; p <= last && p < kPlayerSlots; ++p) {
      if (players[static_cast<size_t>(p)].clientSlot == kNoSlot && !visit(p)) return;
    }
    return;
  }
  auto it = m_slotIndex.find(slot);
  if (it == m_slotIndex.end()) return;
  for (auto h = it->second.lower_bound(first); h != it->second.end() && *h <= last; ++h) {
    if (!visit(*h)) return;
  }
}

int32_t VexoriumDoc::FirstPlayerInSlot(std::string_view slot, int32_t last) const {
  int32_t found = -1;
  VisitSlotHolders(slot, 0, last, [&found](int32_t p) {
    found = p;
    return false;
  });
  return found;
}

int32_t VexoriumDoc::LastPlayerInSlot(std::string_view slot, int32_t first, int32_t last) const {
  int32_t found = -1;
  VisitSlotHolders(slot, first, last, [&found](int32_t p) {
    found = p;
    return true;
  });
  return found;
}

int32_t VexoriumDoc::ConnectedPlayerInSlot(std::string_view slot, int32_t first, int32_t last,
                                           bool lastOne) const {
  int32_t holder = -1;
  int32_t connected = -1;
  VisitSlotHolders(slot, first, last, [&](int32_t p) {
    bool open = players[static_cast<size_t>(p)].HasOpenConnection();
    if (holder < 0 || lastOne) holder = p;
    if (open && (connected < 0 || lastOne)) connected = p;
    return lastOne || connected < 0;
  });
  return connected >= 0 ? connected : holder;
}

void VexoriumDoc::ResetClientSlots(int32_t first) {
  std::vector<int32_t> moving;
  for (auto& [slot, holders] : m_slotIndex) {
    for (auto it = holders.lower_bound(first); it != holders.end(); ++it)
      moving.push_back(*it);
  }
  for (int32_t p : moving)
    SetClientSlot(p, kNoSlot);
}

int32_t VexoriumDoc::CreatePlayer(std::string name, std::string rawName, std::string_view slot) {
  if (playerCount >= kMaxPlayers) return -1;
  int32_t p = ++playerCount;
  PlayerRecord& player = players[static_cast<size_t>(p)];
  SetPlayerName(p, std::string());
  SetClientSlot(p, kNoSlot);
  player = PlayerRecord{};
  SizeVariableTotals(player);
  player.rawName = std::move(rawName);
  SetPlayerName(p, std::move(name));
  SetClientSlot(p, slot);
  return p;
}

void VexoriumDoc::RebuildPlayerIndexes() {
  m_playerIndex.Clear();
  m_playerIndexVersion = NextPlayerIndexVersion();
  m_slotIndex.clear();
  for (int32_t p = 0; p < kPlayerSlots; ++p) {
    IndexPlayerName(p);
    const std::string& slot = players[static_cast<size_t>(p)].clientSlot;
    if (slot != kNoSlot) m_slotIndex[slot].insert(p);
  }
}

void VexoriumDoc::NamesFromPlayers() {
  ClearNames();
  for (std::string& slot : m_nameSlots)
    slot = kNoSlot;
  m_namesInSlots.clear();
  int32_t last = std::clamp(nameCount, 0, kMaxPlayers);
  for (int32_t n = 1; n <= last; ++n) {
    const std::string& key = players[static_cast<size_t>(n)].name;
    m_names[static_cast<size_t>(n)] = key;
    if (!key.empty()) m_nameIndex.Insert(key) = n;
  }
}

// --- Load steps ------------------------------------------------------------------------------

void VexoriumDoc::ResetForLoad() {
  gameCount = 0;
  displayedGameCount = 0;
  nameCount = 0;
  clientLogSeen = false;
  serverLogAbsent = true;
  familiesRead.fill(false);
  if (!startupPending) {
    presence.Allocate(kGameSlots, kPlayerSlots);
    ClearNames();
    for (int32_t p = 0; p < kPlayerSlots; ++p)
      SetPlayerName(p, std::string());
  }
  for (GameRecord& game : games) {
    game.playerNumber = 0;
    game.fragLimit = 0;
    game.timeLimit = 0;
    game.serverLogGame = 0;
    game.mapName.clear();
    game.family = GameFamily::kQuake3;
  }
}

void VexoriumDoc::SizeVariableTotals(PlayerRecord& player) const {
  auto entries = [](int32_t count) { return static_cast<size_t>(UsableVariableCount(count)) + 1; };
  player.clientVarTotals.assign(entries(clientVarCount), 0);
  player.serverVarTotals.assign(entries(serverVarCount), 0);
}

void VexoriumDoc::ResetPlayerRecords() {
  // Every record is reset, not only those the load will use, so nothing of an earlier load
  // survives in a record that a later pass creates.
  for (int32_t p = 0; p < kPlayerSlots; ++p) {
    PlayerRecord& player = players[static_cast<size_t>(p)];
    SetPlayerName(p, std::string());
    SetClientSlot(p, kNoSlot);
    player = PlayerRecord{};  // an empty name and slot "-99", as indexed above
    SizeVariableTotals(player);
  }
}

void VexoriumDoc::PrepareStatistics() {
  presence.Shrink(gameCount + 1, nameCount + 1);
  PrepareSingleReading();
  int32_t lastGame = std::min(gameCount, kMaxGames);
  for (int32_t g = 1; g <= lastGame; ++g) {
    games[static_cast<size_t>(g)].playerNumber = presence.CountPresent(g, nameCount);
  }
  SizeKillTables(0, kGameSlots - 1);
}

void VexoriumDoc::PrepareSingleReading() {
  ResetPlayerRecords();
  playerCount = 0;
  currentGame = 0;
  clientGameCounter = 0;
}

void VexoriumDoc::FinishSingleReading() {
  presence.Shrink(gameCount + 1, nameCount + 1);
  SizeKillTables(0, 0);
  SizeKillTables(std::min(gameCount, kMaxGames) + 1, kGameSlots - 1);
}

void VexoriumDoc::SizeKillTables(int32_t first, int32_t last) {
  int32_t lastGame = std::min(gameCount, kMaxGames);
  for (int32_t g = first; g <= last; ++g) {
    GameRecord& game = games[static_cast<size_t>(g)];
    if (g <= lastGame) {
      game.kills.Allocate(game.playerNumber);
    } else {
      game.kills.Clear();
    }
  }
}

}  // namespace vexor
