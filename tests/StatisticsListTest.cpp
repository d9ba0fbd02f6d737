// The statistics lists: headings, cell texts and stored derived values, the rank order of every
// column in both directions, the column-click rule and the selection table.
#include "ui/StatisticsList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>

#include "TestSupport.h"
#include "stats/DerivedValues.h"

namespace vexor {
namespace {

using Cells = std::vector<std::string>;

class StatisticsListTest : public ::testing::Test {
 public:
  PlayerRecord& Record(int32_t p) { return doc.players[static_cast<size_t>(p)]; }
  static Cells Row(const StatisticsList& list, int row) {
    Cells cells;
    for (int c = 0; c < list.ColumnCount(); ++c) {
      cells.push_back(list.Cell(row, c));
    }
    return cells;
  }
  // The names of the rows, top to bottom, and their players.
  static Cells Names(const StatisticsList& list) {
    Cells names;
    for (int r = 0; r < list.RowCount(); ++r) {
      names.push_back(list.Cell(r, 0));
    }
    return names;
  }
  static std::vector<int32_t> Players(const StatisticsList& list) {
    std::vector<int32_t> players;
    for (int r = 0; r < list.RowCount(); ++r) {
      players.push_back(list.PlayerAt(r));
    }
    return players;
  }

  VexoriumDoc doc;
  StatisticsList main{StatList::kMain};
  StatisticsList weapons{StatList::kWeapon};
};

TEST_F(StatisticsListTest, HeadingsAndWeaponCellsFollowTheDisplayFlagsAndVisibleVariables) {
  main.Fill(doc);
  EXPECT_EQ(main.Headings(),
            (Cells{"Player Name", "Frags", "Deaths", "Suicides", "Skill", "Total Time", "No Games",
                   "Frags PH", "Deaths PH", "Suicides PH"}));
  EXPECT_EQ(main.RowCount(), 0);

  // Display flags: machinegun, shotgun, rocket, grenade, lightning, plasma, railgun, BFG,
  // gauntlet; shotgun, lightning and BFG off.
  doc.options.weaponDisplay = {1, 0, 1, 1, 0, 1, 1, 0, 1};
  test::DefineClientVariables(doc, 3, "Cv", {2});
  test::DefineServerVariables(doc, 2, "Sv", {1});
  int32_t p = test::AddPlayer(doc, "Bob");
  for (int w = 0; w < kWeaponCount; ++w) {
    Record(p).weaponFrags[static_cast<size_t>(w)] = 10 + w;
  }
  Record(p).clientVarTotals = {0, 41, 42, 43};
  Record(p).serverVarTotals = {0, 51};  // variable 2 has no entry: 0
  weapons.Fill(doc);
  EXPECT_EQ(weapons.Headings(), (Cells{"Player Name", "MG Frags", "RL Frags", "GL Frags",
                                       "PG Frags", "RG Frags", "GT Frags", "Cv1", "Cv3", "Sv2"}));
  // Weapon index: gauntlet 0, machinegun 1, shotgun 2, rocket 3, grenade 4, lightning 5,
  // plasma 6, railgun 7, BFG 8.
  EXPECT_EQ(Row(weapons, 0), (Cells{"Bob", "11", "13", "14", "16", "17", "10", "41", "43", "0"}));
  EXPECT_EQ(weapons.PlayerAt(0), p);
}

TEST_F(StatisticsListTest, MainCellsShowTotalsTimeAndTheStoredSkillAndRates) {
  struct Case {
    int32_t frags, deaths, suicides, seconds;
    Cells cells;  // after the name
  };
  const Case cases[] = {
      {10, 0, 3, 0, {"10", "0", "3", "10.00", "0h 0m 0s", "0", "0.0000", "0.0000", "0.0000"}},
      {10, 4, 1, 0, {"10", "4", "1", "2.00", "0h 0m 0s", "0", "0.0000", "0.0000", "0.0000"}},
      {12, 0, 2, 3600, {"12", "0", "2", "12.00", "1h 0m 0s", "0", "10.0000", "0.0000", "2.0000"}},
      {7, 3, 0, 1845, {"7", "3", "0", "2.33", "0h 30m 45s", "0", "13.6585", "5.8537", "0.0000"}},
  };
  for (const Case& c : cases) {
    test::AddPlayer(doc, "P" + std::to_string(doc.nameCount + 1), c.frags, c.deaths, c.suicides,
                    c.seconds);
  }
  Record(2).gamesPlayed = 3;
  main.Fill(doc);
  ASSERT_EQ(main.RowCount(), 4);
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    Cells expected = cases[r].cells;
    if (r == 1) expected[5] = "3";
    expected.insert(expected.begin(), "P" + std::to_string(r + 1));
    EXPECT_EQ(Row(main, r), expected);
    const PlayerRecord& player = Record(r + 1);
    EXPECT_EQ(player.skill, Skill(player.frags, player.deaths, player.suicides));
    EXPECT_EQ(player.fragsPerHour, HourlyRatesOf(player).frags);
    EXPECT_EQ(player.suicidesPerHour, HourlyRatesOf(player).suicides);
  }

  // Client logs carry no times: the rates are not shown. The list shows the stored skill and
  // writes nothing into the records.
  doc.clientLogSeen = true;
  Record(1).fragsPerHour = 99;
  Record(1).skill = 0.5f;
  main.Fill(doc);
  main.Sort(doc);
  EXPECT_EQ(Row(main, 0),
            (Cells{"P1", "10", "0", "3", "0.50", "N / A", "0", "N / A", "N / A", "N / A"}));
  EXPECT_EQ(Record(1).fragsPerHour, 99);
  EXPECT_EQ(Record(1).skill, 0.5f);
}

// The order taken literally: rank(i) counts the players j that i must precede; rows from the
// largest rank down, the higher player number first among equal ranks. Keys compare in their own
// type (an int or a float, both exact as doubles), with every quirk of a comparison with NaN.
std::vector<int32_t> QuadraticRankOrder(const VexoriumDoc& doc, const std::vector<double>* keys,
                                        bool defaultOrder) {
  auto less = [&doc](int32_t a, int32_t b) {  // names as unsigned bytes
    const std::string& x = doc.players[static_cast<size_t>(a)].name;
    const std::string& y = doc.players[static_cast<size_t>(b)].name;
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char l, char r) {
      return static_cast<unsigned char>(l) < static_cast<unsigned char>(r);
    });
  };
  std::vector<std::pair<int, int32_t>> ranked;
  for (int32_t i = 1; i <= doc.nameCount; ++i) {
    int rank = 0;
    for (int32_t j = 1; j <= doc.nameCount; ++j) {
      if (j == i) continue;
      if (keys == nullptr) {
        rank += defaultOrder ? less(i, j) : less(j, i);
        continue;
      }
      double ki = (*keys)[static_cast<size_t>(i)], kj = (*keys)[static_cast<size_t>(j)];
      rank += (defaultOrder ? kj < ki : kj > ki) || (kj == ki && less(i, j));
    }
    ranked.emplace_back(rank, i);
  }
  std::sort(ranked.rbegin(), ranked.rend());
  std::vector<int32_t> order;
  for (const auto& entry : ranked) {
    order.push_back(entry.second);
  }
  return order;
}

// The key of a column as the rank rule reads it: the main list's from the records (after a fill
// stored the derived values), the weapon list's from the cells it shows. A column past the last
// keys every player alike.
double KeyOf(const StatisticsList& list, const PlayerRecord& r, const Cells& cells, int column) {
  if (list.Kind() == StatList::kMain) {
    const double keys[] = {0,
                           1.0 * r.frags,
                           1.0 * r.deaths,
                           1.0 * r.suicides,
                           r.skill,
                           1.0 * r.totalSeconds,
                           1.0 * r.gamesPlayed,
                           r.fragsPerHour,
                           r.deathsPerHour,
                           r.suicidesPerHour,
                           0};
    return keys[column];
  }
  return column > 0 && column < list.ColumnCount() ? std::stod(cells[static_cast<size_t>(column)])
                                                   : 0;
}

// Sorts the filled list on every column and one past the last, both ways, and compares with the
// rank rule; the rows must keep the texts of the fill.
void ExpectEverySortFollowsTheRankRule(VexoriumDoc& doc, StatisticsList& list) {
  std::map<int32_t, Cells> filled;
  for (int r = 0; r < list.RowCount(); ++r) {
    filled[list.PlayerAt(r)] = StatisticsListTest::Row(list, r);
  }
  for (int column = 0; column <= list.ColumnCount(); ++column) {
    std::vector<double> keys(static_cast<size_t>(doc.nameCount) + 1);
    for (int32_t p = 1; p <= doc.nameCount; ++p) {
      keys[static_cast<size_t>(p)] =
          KeyOf(list, doc.players[static_cast<size_t>(p)], filled[p], column);
    }
    for (bool defaultOrder : {true, false}) {
      SCOPED_TRACE(testing::Message() << "column " << column << " default " << defaultOrder);
      list.SetSortState(column, defaultOrder);
      list.Sort(doc);
      ASSERT_EQ(StatisticsListTest::Players(list),
                QuadraticRankOrder(doc, column == 0 ? nullptr : &keys, defaultOrder));
      EXPECT_EQ(list.SortColumn(), column);
      EXPECT_EQ(list.DefaultOrder(), defaultOrder);
      for (int r = 0; r < list.RowCount(); ++r) {
        ASSERT_EQ(StatisticsListTest::Row(list, r), filled[list.PlayerAt(r)]) << "row " << r;
      }
    }
  }
}

// Random players with few distinct values, so that keys and names tie often (names include
// bytes above 127 and the empty name). A second round reads as a client log: the rates are the
// stored ones, set to every awkward float an edited data file could hold.
TEST_F(StatisticsListTest, EverySortGivesTheRankOrderOfItsColumnInBothDirections) {
  std::mt19937 random(11);
  auto pick = [&random](int n) {
    return static_cast<int32_t>(random() % static_cast<unsigned>(n));
  };
  const std::string letters = "aAb\x80";
  doc.options.weaponDisplay = {1, 1, 0, 1, 0, 0, 1, 0, 1};
  test::DefineClientVariables(doc, 3, "Cv", {2});
  test::DefineServerVariables(doc, 2, "Sv");
  for (int i = 0; i < 160; ++i) {
    std::string name;
    for (int n = pick(3); n > 0; --n) {
      name.push_back(letters[static_cast<size_t>(pick(4))]);
    }
    int32_t p = test::AddPlayer(doc, name, pick(4), pick(4), pick(3), 1800 * pick(3));
    Record(p).gamesPlayed = pick(3);
    for (int32_t& frags : Record(p).weaponFrags) {
      frags = pick(3);
    }
    Record(p).clientVarTotals = {0, pick(3), pick(3), pick(3)};
    Record(p).serverVarTotals = {0, pick(2), pick(3)};
  }
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const float oddRates[] = {kNaN, -kNaN, kInf, -kInf, 0.0f, -0.0f, 1.5f, 1.5f, -2.0f};
  for (bool clientLog : {false, true}) {
    doc.clientLogSeen = clientLog;
    for (int32_t p = 1; p <= doc.nameCount && clientLog; ++p) {
      Record(p).fragsPerHour = oddRates[pick(9)];
      Record(p).deathsPerHour = oddRates[pick(9)];
      Record(p).suicidesPerHour = oddRates[pick(9)];
    }
    for (StatisticsList* list : {&main, &weapons}) {
      SCOPED_TRACE(testing::Message() << "client log " << clientLog << ", list "
                                      << (list == &main ? "main" : "weapon"));
      list->Fill(doc);
      ExpectEverySortFollowsTheRankRule(doc, *list);
    }
  }
}

TEST_F(StatisticsListTest, ColumnClicksReverseOnlyARepeatedClickOnTheSortColumn) {
  test::AddPlayer(doc, "Alice", 5, 1);
  test::AddPlayer(doc, "Carl", 2, 2);
  test::AddPlayer(doc, "Bob", 5, 3);
  main.Fill(doc);
  EXPECT_FALSE(main.Sorted());  // rows in player order: no column's order to show
  struct Click {
    int column;
    Cells names;
    bool ascending;
  };
  const Click clicks[] = {
      {0, {"Carl", "Bob", "Alice"}, false},  // the first click on the name column: Z to A
      {0, {"Alice", "Bob", "Carl"}, true},
      {1, {"Alice", "Bob", "Carl"}, false},  // most frags first; equal frags by name
      {1, {"Carl", "Alice", "Bob"}, true},   // fewest first; equal frags still by name A to Z
      {2, {"Bob", "Carl", "Alice"}, false},  // another column: most deaths first
  };
  for (const Click& click : clicks) {
    main.ColumnClick(doc, click.column);
    EXPECT_EQ(Names(main), click.names) << click.column;
    EXPECT_TRUE(main.Sorted());
    EXPECT_EQ(main.Ascending(), click.ascending) << click.column;
  }
  EXPECT_EQ(main.SortColumn(), 2);
  EXPECT_TRUE(main.DefaultOrder());
  // A fill (a resize, or OK in Options, with auto-sort off) puts the rows back in player order.
  main.Fill(doc);
  EXPECT_FALSE(main.Sorted());
  main.Sort(doc);
  EXPECT_TRUE(main.Sorted());
  main.Clear();
  EXPECT_FALSE(main.Sorted());
}

TEST_F(StatisticsListTest, WithEveryWeaponFlagOffColumnOneSortsByTheFirstVisibleVariable) {
  doc.options.weaponDisplay.fill(0);
  test::DefineClientVariables(doc, 2, "Cv", {1});
  test::DefineServerVariables(doc, 1, "Sv");
  const std::pair<const char*, int32_t> players[] = {{"Ann", 1}, {"Bob", 7}, {"Cid", 3}};
  for (const auto& [name, total] : players) {
    int32_t p = test::AddPlayer(doc, name);
    Record(p).clientVarTotals = {0, 100 - total, total};
    Record(p).serverVarTotals = {0, total};
  }
  weapons.Fill(doc);
  EXPECT_EQ(weapons.Headings(), (Cells{"Player Name", "Cv2", "Sv1"}));
  weapons.ColumnClick(doc, 1);
  EXPECT_EQ(Names(weapons), (Cells{"Bob", "Cid", "Ann"}));
}

TEST_F(StatisticsListTest, SelectionTableMarksTheFirstPlayerOfEachSelectedName) {
  test::AddPlayer(doc, "Bob");
  test::AddPlayer(doc, "Ann");
  test::AddPlayer(doc, "Bob");  // equal names come only from edited data files
  main.Sort(doc);               // Ann (2), Bob (3), Bob (1)
  ASSERT_EQ(Players(main), (std::vector<int32_t>{2, 3, 1}));

  std::vector<int32_t> table = SelectionTable(doc, main, {1});
  ASSERT_EQ(table.size(), static_cast<size_t>(VexoriumDoc::kPlayerSlots));
  std::vector<int32_t> expected(VexoriumDoc::kPlayerSlots, 0);
  expected[1] = 1;  // the row of player 3 selects player 1, the first "Bob"
  EXPECT_EQ(table, expected);

  expected[2] = 1;  // rows outside the list are passed over
  EXPECT_EQ(SelectionTable(doc, main, {-1, 2, 0, 3, 1}), expected);
  EXPECT_EQ(SelectionTable(doc, main, {}), std::vector<int32_t>(VexoriumDoc::kPlayerSlots, 0));
}

// An update of a followed log numbers players anew and adds some: each list keeps its order (a
// list in player order stays so) and its selected players by name.
TEST_F(StatisticsListTest, AnUpdateKeepsEachListsOrderAndItsSelectedNames) {
  test::AddPlayer(doc, "Bob", 1);
  test::AddPlayer(doc, "Ann", 3);
  test::AddPlayer(doc, "Cid", 2);
  main.Fill(doc);
  main.ColumnClick(doc, 1);  // most frags first: Ann, Cid, Bob
  weapons.Fill(doc);         // player order
  KeptList keptMain = KeepList(main, {1, 2, 7});
  KeptList keptWeapons = KeepList(weapons, {0});
  EXPECT_EQ(keptMain.selectedNames, (Cells{"Cid", "Bob"}));

  VexoriumDoc updated;
  test::AddPlayer(updated, "Dan", 9);
  test::AddPlayer(updated, "Cid", 2);
  test::AddPlayer(updated, "Bob", 4);
  test::AddPlayer(updated, "Ann", 3);
  main.Fill(updated);
  weapons.Fill(updated);
  EXPECT_EQ(RestoreList(updated, main, keptMain), (std::vector<int>{1, 3}));
  EXPECT_EQ(Names(main), (Cells{"Dan", "Bob", "Ann", "Cid"}));
  EXPECT_EQ(main.SortColumn(), 1);
  EXPECT_EQ(RestoreList(updated, weapons, keptWeapons), (std::vector<int>{2}));
  EXPECT_EQ(Names(weapons), (Cells{"Dan", "Cid", "Bob", "Ann"}));
  EXPECT_FALSE(weapons.Sorted());
}

}  // namespace
}  // namespace vexor
