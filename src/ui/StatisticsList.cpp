#include "ui/StatisticsList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <string_view>
#include <unordered_set>

#include "base/StringPrintf.h"
#include "stats/DerivedValues.h"
#include "stats/GameFamily.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"
#include "ui/VisibleVariables.h"

namespace vexor {

// A column: its heading and where its key comes from. Column 0 (the name) has no number.
struct StatisticsList::Column {
  std::string heading;
  const int32_t PlayerRecord::*count = nullptr;  // a total of the record
  const float PlayerRecord::*derived = nullptr;  // a stored derived value
  WeaponId weapon = -1;                          // a weapon's frags
  bool isVariable = false;                       // a visible variable's total
  VisibleVariable variable;

  bool IsName() const { return !count && !derived && weapon < 0 && !isVariable; }
  double Key(const PlayerRecord& player) const {
    if (count) return player.*count;
    if (derived) return player.*derived;
    if (weapon >= 0) return player.WeaponFrags(weapon);
    return isVariable ? variable.TotalOf(player) : 0;
  }
};

namespace {

constexpr const char* kNotAvailable = "N / A";

struct MainColumnInfo {
  const char* heading;
  const int32_t PlayerRecord::*count;
  const float PlayerRecord::*derived;
};

constexpr std::array<MainColumnInfo, 10> kMainColumns = {{
    {"Player Name", nullptr, nullptr},
    {"Frags", &PlayerRecord::frags, nullptr},
    {"Deaths", &PlayerRecord::deaths, nullptr},
    {"Suicides", &PlayerRecord::suicides, nullptr},
    {"Skill", nullptr, &PlayerRecord::skill},
    {"Total Time", &PlayerRecord::totalSeconds, nullptr},
    {"No Games", &PlayerRecord::gamesPlayed, nullptr},
    {"Frags PH", nullptr, &PlayerRecord::fragsPerHour},
    {"Deaths PH", nullptr, &PlayerRecord::deathsPerHour},
    {"Suicides PH", nullptr, &PlayerRecord::suicidesPerHour},
}};

// Headings of the weapon columns in the order of the display flags (kDisplayOrder).
constexpr std::array<const char*, kWeaponCount> kWeaponHeadings = {
    "MG Frags", "SG Frags", "RL Frags",  "GL Frags", "LG Frags",
    "PG Frags", "RG Frags", "BFG Frags", "GT Frags"};

int32_t LastPlayer(const VexoriumDoc& doc) {
  int32_t records = static_cast<int32_t>(doc.players.size()) - 1;
  return std::clamp(doc.nameCount, 0, std::min(VexoriumDoc::kMaxPlayers, records));
}

// 1 to last.
std::vector<int32_t> PlayerNumbers(int32_t last) {
  std::vector<int32_t> players(static_cast<size_t>(last));
  std::iota(players.begin(), players.end(), 1);
  return players;
}

// Players 1 to last in the rank order of the program: each player's rank is the number of
// players it must precede, and the rows are taken from the largest rank down, the higher player
// number first among equal ranks. That order is produced here by one sort; see Sort in the header
// for the rules it comes to. keys is null for the name column.
std::vector<int32_t> RankOrder(const VexoriumDoc& doc, int32_t last,
                               const std::vector<double>* keys, bool defaultOrder) {
  std::vector<int32_t> order = PlayerNumbers(last);
  auto name = [&doc](int32_t p) -> const std::string& {
    return doc.players[static_cast<size_t>(p)].name;
  };
  if (keys == nullptr) {
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
      int compared = name(a).compare(name(b));  // as unsigned bytes
      if (compared != 0) return defaultOrder ? compared < 0 : compared > 0;
      return a > b;
    });
    return order;
  }
  auto key = [keys](int32_t p) { return (*keys)[static_cast<size_t>(p)]; };
  // A key that is not a number compares neither below, above nor equal to any key: its player
  // counts nobody and is counted by nobody, rank 0. Those players are kept out of the sort (the
  // comparison below would not be a strict weak order with them) and join the players of rank 0
  // among the others: the last run of equal key and name.
  auto numbers =
      std::partition(order.begin(), order.end(), [&](int32_t p) { return !std::isnan(key(p)); });
  std::sort(order.begin(), numbers, [&](int32_t a, int32_t b) {
    double ka = key(a), kb = key(b);
    if (ka != kb) return defaultOrder ? ka > kb : ka < kb;
    int compared = name(a).compare(name(b));
    return compared != 0 ? compared < 0 : a > b;
  });
  auto lastRank = numbers;
  if (numbers != order.begin()) {
    int32_t back = *(numbers - 1);
    lastRank = numbers - 1;
    while (lastRank != order.begin() && key(*(lastRank - 1)) == key(back) &&
           name(*(lastRank - 1)) == name(back)) {
      --lastRank;
    }
  }
  std::sort(lastRank, order.end(), std::greater<int32_t>());
  return order;
}

}  // namespace

StatisticsList::StatisticsList(StatList kind) : m_kind(kind) {}

std::vector<StatisticsList::Column> StatisticsList::Columns(const VexoriumDoc& doc) const {
  std::vector<Column> columns;
  if (m_kind == StatList::kMain) {
    for (const MainColumnInfo& info : kMainColumns) {
      Column column;
      column.heading = info.heading;
      column.count = info.count;
      column.derived = info.derived;
      columns.push_back(std::move(column));
    }
    return columns;
  }
  Column name;
  name.heading = kMainColumns[0].heading;
  columns.push_back(std::move(name));
  // Quake III's nine under their short headings, where the load has them; then the other games'
  // weapons of the load under their names.
  bool quake3 = WeaponSetsInLoad(doc)[static_cast<size_t>(WeaponSet::kQuake3)];
  for (size_t flag = 0; quake3 && flag < kDisplayOrder.size(); ++flag) {
    if (doc.options.weaponDisplay[flag] == 0) continue;
    Column column;
    column.heading = kWeaponHeadings[flag];
    column.weapon = Index(kDisplayOrder[flag]);
    columns.push_back(std::move(column));
  }
  for (WeaponId weapon : OtherWeaponsInLoad(doc)) {
    if (!doc.options.Shows(weapon)) continue;
    Column column;
    column.heading = std::string(WeaponInfoOf(weapon).name) + " Frags";
    column.weapon = weapon;
    columns.push_back(std::move(column));
  }
  for (const VisibleVariable& variable : VisibleVariables(doc)) {
    Column column;
    column.heading = *variable.name;
    column.isVariable = true;
    column.variable = variable;
    columns.push_back(std::move(column));
  }
  return columns;
}

void StatisticsList::Fill(const VexoriumDoc& doc) {
  Rebuild(doc, PlayerNumbers(LastPlayer(doc)));
  m_sorted = false;
}

void StatisticsList::Sort(const VexoriumDoc& doc) {
  Rebuild(doc, SortedPlayers(doc));
  m_sorted = true;
}

std::vector<int32_t> StatisticsList::SortedPlayers(const VexoriumDoc& doc) const {
  int32_t last = LastPlayer(doc);
  std::vector<Column> columns = Columns(doc);
  bool known = m_sortColumn >= 0 && static_cast<size_t>(m_sortColumn) < columns.size();
  if (known && columns[static_cast<size_t>(m_sortColumn)].IsName()) {
    return RankOrder(doc, last, nullptr, m_defaultOrder);
  }
  std::vector<double> keys(static_cast<size_t>(last) + 1, 0.0);
  if (known) {
    const Column& column = columns[static_cast<size_t>(m_sortColumn)];
    for (int32_t p = 1; p <= last; ++p) {
      keys[static_cast<size_t>(p)] = column.Key(doc.players[static_cast<size_t>(p)]);
    }
  }
  return RankOrder(doc, last, &keys, m_defaultOrder);
}

void StatisticsList::ColumnClick(const VexoriumDoc& doc, int column) {
  m_defaultOrder = !(m_defaultOrder && column == m_sortColumn);
  m_sortColumn = column;
  Sort(doc);
}

void StatisticsList::SetSortState(int column, bool defaultOrder) {
  m_sortColumn = column;
  m_defaultOrder = defaultOrder;
}

void StatisticsList::Clear() {
  m_cells.clear();
  m_players.clear();
  m_sorted = false;
}

const std::string& StatisticsList::Cell(int row, int column) const {
  return m_cells[static_cast<size_t>(row) * m_headings.size() + static_cast<size_t>(column)];
}

void StatisticsList::Rebuild(const VexoriumDoc& doc, const std::vector<int32_t>& order) {
  std::vector<Column> columns = Columns(doc);
  m_headings.clear();
  for (const Column& column : columns) {
    m_headings.push_back(column.heading);
  }
  Clear();
  m_players = order;
  m_cells.reserve(order.size() * columns.size());
  for (int32_t p : order) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    m_cells.push_back(player.name);
    if (m_kind == StatList::kMain) {
      AppendMainCells(player, doc.clientLogSeen);
    } else {
      AppendWeaponCells(player, columns);
    }
  }
}

void StatisticsList::AppendMainCells(const PlayerRecord& player, bool clientLog) {
  auto number = [this](int32_t value) {
    m_scratch.clear();
    AppendDecimal(&m_scratch, value);
    m_cells.push_back(m_scratch);
  };
  auto fixed = [this](float value, int decimals) {
    m_scratch.clear();
    AppendFixed(&m_scratch, value, decimals);
    m_cells.push_back(m_scratch);
  };
  number(player.frags);
  number(player.deaths);
  number(player.suicides);
  fixed(player.skill, 2);
  m_cells.push_back(clientLog ? kNotAvailable : player.timeText);
  number(player.gamesPlayed);
  for (float rate : {player.fragsPerHour, player.deathsPerHour, player.suicidesPerHour}) {
    if (clientLog) {
      m_cells.push_back(kNotAvailable);
    } else {
      fixed(rate, 4);
    }
  }
}

void StatisticsList::AppendWeaponCells(const PlayerRecord& player,
                                       const std::vector<Column>& columns) {
  for (size_t c = 1; c < columns.size(); ++c) {
    m_scratch.clear();
    AppendDecimal(&m_scratch, static_cast<long long>(columns[c].Key(player)));
    m_cells.push_back(m_scratch);
  }
}

std::vector<int32_t> SelectionTable(const VexoriumDoc& doc, const StatisticsList& list,
                                    const std::vector<int>& selectedRows) {
  std::vector<int32_t> table(VexoriumDoc::kPlayerSlots, 0);
  std::unordered_set<std::string_view> wanted;
  for (int row : selectedRows) {
    if (row >= 0 && row < list.RowCount()) wanted.insert(list.Cell(row, 0));
  }
  // Each wanted name selects the first player that bears it; player 0 is searched too.
  int32_t last = LastPlayer(doc);
  for (int32_t q = 0; q <= last && !wanted.empty(); ++q) {
    if (wanted.erase(doc.players[static_cast<size_t>(q)].name) != 0) {
      table[static_cast<size_t>(q)] = 1;
    }
  }
  return table;
}

KeptList KeepList(const StatisticsList& list, const std::vector<int>& selectedRows) {
  KeptList kept;
  kept.sorted = list.Sorted();
  for (int row : selectedRows) {
    if (row >= 0 && row < list.RowCount()) kept.selectedNames.push_back(list.Cell(row, 0));
  }
  return kept;
}

std::vector<int> RestoreList(VexoriumDoc& doc, StatisticsList& list, const KeptList& kept) {
  if (kept.sorted && !list.Sorted()) list.Sort(doc);
  std::unordered_set<std::string_view> names(kept.selectedNames.begin(), kept.selectedNames.end());
  std::vector<int> rows;
  for (int row = 0; row < list.RowCount() && !names.empty(); ++row) {
    if (names.count(list.Cell(row, 0)) > 0) rows.push_back(row);
  }
  return rows;
}

}  // namespace vexor
