// The printed statistics tables: rows in name order, labels, cells, stored derived values, the
// custom-variable blocks, the print-choice dialog's enabling and the text layout.
#include "ui/PrintTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "TestSupport.h"
#include "stats/DerivedValues.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;

using Cells = std::vector<std::string>;

class PrintTablesTest : public test::LoadFixture, public ::testing::Test {
 protected:
  int32_t AddPlayer(const std::string& name, int32_t frags = 0, int32_t deaths = 0,
                    int32_t suicides = 0, int32_t seconds = 0) {
    return test::AddPlayer(doc, name, frags, deaths, suicides, seconds);
  }
  PlayerRecord& Record(int32_t p) { return doc.players[static_cast<size_t>(p)]; }

  PrintTable Table(int code) {
    PrintTable table;
    EXPECT_TRUE(BuildPrintTable(doc, code, &table));
    return table;
  }
  static std::vector<std::string> Labels(const PrintTable& table) {
    std::vector<std::string> labels;
    for (const PrintRow& row : table.rows) {
      labels.push_back(row.label);
    }
    return labels;
  }
  void DefineClientVariables(int32_t n, std::initializer_list<int32_t> hidden = {}) {
    test::DefineClientVariables(doc, n, "Name", hidden);
  }
  void DefineServerVariables(int32_t n) { test::DefineServerVariables(doc, n, "Srv"); }
};

TEST_F(PrintTablesTest, MainCellsComputeSkillAndHourlyRatesAndStoreThem) {
  struct Case {
    int32_t frags, deaths, suicides, seconds;
    Cells cells;  // FRGS to SPH
  };
  const Case cases[] = {
      {10, 0, 3, 0, {"10", "0", "3", "10.00", "0", "0h 0m", "0.00", "0.00", "0.00"}},
      {10, 4, 1, 3600, {"10", "4", "1", "2.00", "0", "1h 0m", "9.00", "4.00", "1.00"}},
      {12, 0, 2, 3600, {"12", "0", "2", "12.00", "0", "1h 0m", "10.00", "0.00", "2.00"}},
      // The play-time text loses its last three characters, a blank included.
      {7, 3, 0, 1845, {"7", "3", "0", "2.33", "0", "0h 30m ", "13.66", "5.85", "0.00"}},
      // Fewer suicides than frags is not required: the frag rate goes negative.
      {1, 1, 3, 7200, {"1", "1", "3", "0.25", "0", "2h 0m", "-1.00", "0.50", "1.50"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frags * 1000 + c.deaths * 100 + c.suicides);
    doc.nameCount = 0;
    int32_t p = AddPlayer("Bob", c.frags, c.deaths, c.suicides, c.seconds);
    PrintTable table = Table(kPrintMainStats);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].cells, c.cells);
    EXPECT_EQ(table.rows[0].player, p);
  }
  EXPECT_EQ(Table(kPrintMainStats).headings,
            (Cells{"FRGS", "DTHS", "SCDS", "SKLL", "GAPL", "TIME", "FPH", "DPH", "SPH"}));
}

TEST_F(PrintTablesTest, ClientLogShowsNotAvailableForTimesAndLeavesTheRatesAlone) {
  int32_t p = AddPlayer("Bob", 6, 2, 1, 0);
  Record(p).fragsPerHour = 99;
  doc.clientLogSeen = true;
  EXPECT_EQ(Table(kPrintMainStats).rows[0].cells,
            (Cells{"6", "2", "1", "2.00", "0", "N / A", "N / A", "N / A", "N / A"}));
  EXPECT_EQ(Record(p).skill, 2.0f);
  EXPECT_EQ(Record(p).fragsPerHour, 99);
}

TEST_F(PrintTablesTest, ShortOrMissingPlayTimeTextGivesAnEmptyCell) {
  int32_t p = AddPlayer("Bob");
  const std::pair<const char*, const char*> texts[] = {
      {"", ""}, {"1", ""}, {"12s", ""}, {"1h 2m 3s", "1h 2m"}};
  for (const auto& [text, cell] : texts) {
    Record(p).timeText = text;
    EXPECT_EQ(Table(kPrintMainStats).rows[0].cells[5], cell) << text;
  }
}

TEST_F(PrintTablesTest, SkillNeverDividesByZero) {
  // Deaths above 0 cancelled by a negative suicide count (an edited data file).
  EXPECT_EQ(Skill(5, 2, -2), 5.0f);
  EXPECT_EQ(Skill(5, 0, 0), 5.0f);
  EXPECT_EQ(Skill(-3, 0, 4), -3.0f);
}

TEST_F(PrintTablesTest, NamesAreCutToFifteenInTheMainAndWeaponTablesOnly) {
  AddPlayer("ABCDEFGHIJKLMNOPQR");
  AddPlayer("100%s %d");
  DefineClientVariables(1);
  EXPECT_EQ(Labels(Table(kPrintMainStats)), (Cells{"1. 100%s %d", "2. ABCDEFGHIJKLMNO"}));
  EXPECT_EQ(Labels(Table(kPrintWeaponStats))[1], "2. ABCDEFGHIJKLMNO");
  EXPECT_EQ(Labels(Table(kPrintFirstClientBlock))[1], "2. ABCDEFGHIJKLMNOPQR");
}

// Names of bytes above 127 and many equal names (ties go to the higher player number).
TEST_F(PrintTablesTest, OrderMatchesTheRankRuleOnManyEqualNames) {
  std::mt19937 random(7);
  const std::string letters = "aAb\x80\xFF";
  for (int i = 0; i < 300; ++i) {
    std::string name;
    for (size_t n = random() % 3; n > 0; --n) {
      name.push_back(letters[random() % letters.size()]);
    }
    AddPlayer(name);
  }
  // The rank rule taken literally: rank = the players whose name compares greater; emitted from
  // the largest rank down, the higher player number first among equal ranks. Bytes compare as
  // unsigned values.
  auto greater = [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  };
  std::vector<std::pair<int, int32_t>> ranked;
  for (int32_t i = 1; i <= doc.nameCount; ++i) {
    int rank = 0;
    for (int32_t j = 1; j <= doc.nameCount; ++j) {
      if (j != i && greater(Record(j).name, Record(i).name)) ++rank;
    }
    ranked.emplace_back(rank, i);
  }
  std::sort(ranked.rbegin(), ranked.rend());
  std::vector<int32_t> expected;
  for (const auto& entry : ranked) {
    expected.push_back(entry.second);
  }
  EXPECT_EQ(PrintOrder(doc), expected);
}

TEST_F(PrintTablesTest, WeaponColumnsComeInTheirPrintedOrderFromARealLoad) {
  std::string log = InitGame("0:00") + "\n" + Connect("0:00", 2, "Alice") + "\n" +
                    Connect("0:00", 3, "Bob") + "\n";
  const std::pair<const char*, int> kills[] = {{"MOD_GAUNTLET", 1}, {"MOD_SHOTGUN", 2},
                                               {"MOD_RAILGUN", 3},  {"MOD_LIGHTNING", 4},
                                               {"MOD_BFG", 5},      {"MOD_PLASMA", 6}};
  for (const auto& [mod, times] : kills) {
    for (int i = 0; i < times; ++i) {
      log += At("1:00", std::string("Kill: 2 3 1: Alice killed Bob by ") + mod) + "\n";
    }
  }
  log += At("5:00", "ShutdownGame:") + "\n";
  ASSERT_TRUE(LoadText(log));
  PrintTable weapons = Table(kPrintWeaponStats);
  EXPECT_EQ(weapons.headings,
            (Cells{"GAUN", "MACG", "SHTG", "ROCK", "GREN", "PLAS", "RAIL", "LIGT", "BFG!"}));
  ASSERT_EQ(weapons.rows.size(), 2u);
  EXPECT_EQ(weapons.rows[0].label, "1. Alice");
  EXPECT_EQ(weapons.rows[0].cells, (Cells{"1", "0", "2", "0", "0", "6", "3", "4", "5"}));
  EXPECT_EQ(Table(kPrintMainStats).rows[0].cells,
            (Cells{"21", "0", "0", "21.00", "1", "0h 5m", "252.00", "0.00", "0.00"}));
  EXPECT_EQ(Player("Alice").fragsPerHour, HourlyRatesOf(Player("Alice")).frags);
}

TEST_F(PrintTablesTest, ClientBlocksWalkTheVisibleVariablesNineAtATime) {
  DefineClientVariables(14, {3, 7});  // 12 visible
  doc.clientVars[1].name = "Flag Captures";
  int32_t p = AddPlayer("A long player name here");
  Record(p).clientVarTotals.assign(15, 0);
  for (int32_t v = 1; v <= 14; ++v) {
    Record(p).clientVarTotals[static_cast<size_t>(v)] = 100 + v;
  }

  PrintTable first = Table(kPrintFirstClientBlock);
  EXPECT_EQ(first.headings, (Cells{"Flag ", "Name2", "Name4", "Name5", "Name6", "Name8", "Name9",
                                   "Name1", "Name1"}));
  EXPECT_EQ(first.rows[0].cells,
            (Cells{"101", "102", "104", "105", "106", "108", "109", "110", "111"}));
  PrintTable second = Table(kPrintFirstClientBlock + 1);
  EXPECT_EQ(second.headings, (Cells{"Name1", "Name1", "Name1"}));
  EXPECT_EQ(second.rows[0].cells, (Cells{"112", "113", "114"}));
  EXPECT_EQ(second.rows[0].label, "1. A long player name here");
  PrintTable beyond = Table(kPrintFirstClientBlock + 2);
  EXPECT_TRUE(beyond.headings.empty());
  ASSERT_EQ(beyond.rows.size(), 1u);
  EXPECT_TRUE(beyond.rows[0].cells.empty());
}

TEST_F(PrintTablesTest, ServerBlocksReadTheServerTotalsAndMissingTotalsReadZero) {
  DefineServerVariables(12);
  DefineClientVariables(12);
  int32_t p = AddPlayer("Bob");
  Record(p).serverVarTotals.assign(12, 7);  // entries 0 to 11: variable 12 has none
  Record(p).clientVarTotals.assign(13, 1);
  PrintTable table = Table(kPrintFirstServerBlock + 1);
  EXPECT_EQ(table.headings, (Cells{"Srv10", "Srv11", "Srv12"}));
  EXPECT_EQ(table.rows[0].cells, (Cells{"7", "7", "0"}));
}

TEST_F(PrintTablesTest, BlocksAreEnabledOnceTheVisibleCountReachesTheirFirstNumber) {
  struct Case {
    int32_t clientCount;
    std::initializer_list<int32_t> clientHidden;
    int32_t serverCount;
    std::string enabled;  // codes 0 to 13
  };
  const Case cases[] = {
      {0,
       {},
       0,
       "11"
       "000000"
       "000000"},
      {3,
       {1, 2, 3},
       1,
       "11"
       "000000"
       "100000"},
      {10,
       {},
       9,
       "11"
       "110000"
       "100000"},
      {12,
       {2, 5, 8},
       19,
       "11"
       "100000"
       "111000"},
      {49,
       {},
       46,
       "11"
       "111111"
       "111111"},
  };
  for (const Case& c : cases) {
    DefineClientVariables(c.clientCount, c.clientHidden);
    DefineServerVariables(c.serverCount);
    std::string enabled;
    for (bool on : EnabledPrintChoices(doc)) {
      enabled += on ? '1' : '0';
    }
    EXPECT_EQ(enabled, c.enabled) << c.clientCount << " " << c.serverCount;
  }
  doc.clientVarCount = 60;  // an impossible count is held to the set's size
  EXPECT_EQ(VisibleClientVariableCount(doc), 49);
}

TEST_F(PrintTablesTest, TableNamesMapToTheDialogsChoices) {
  int code = -1;
  EXPECT_TRUE(PrintChoiceFromTableName("client1", &code) && code == 2);
  EXPECT_TRUE(PrintChoiceFromTableName("server6", &code) && code == 13);
  for (const PrintChoiceInfo& choice : kPrintChoices) {
    EXPECT_TRUE(PrintChoiceFromTableName(choice.tableName, &code) && code == choice.code);
  }
  for (const char* bad : {"", "Main", "client0", "client7", "server", "weapon"}) {
    EXPECT_FALSE(PrintChoiceFromTableName(bad, &code)) << bad;
  }
  PrintTable table;
  EXPECT_FALSE(BuildPrintTable(doc, -1, &table));
  EXPECT_FALSE(BuildPrintTable(doc, kPrintChoiceCount, &table));
}

TEST(FormatTextTableTest, PadsTheLabelsLeftAndTheCellsRightWithTwoBlanksBetween) {
  PrintTable table;
  table.headings = {"FRGS", "TIME"};
  table.rows.push_back({1, "1. Al", {"12345", "0h 5m "}});
  table.rows.push_back({2, "2. Barbarella", {"7", "N / A"}});
  EXPECT_EQ(FormatTextTable(table),
            "NAME            FRGS   TIME\n"
            "1. Al          12345  0h 5m\n"
            "2. Barbarella      7  N / A\n");

  table.rows = {{1, "1. A", {"1", "2"}}};  // "NAME" is wider than every label
  EXPECT_EQ(FormatTextTable(table),
            "NAME  FRGS  TIME\n"
            "1. A     1     2\n");

  table.headings.clear();  // a block beyond the visible variables
  table.rows = {{1, "1. Al", {}}, {2, "2. Barbarella", {}}};
  EXPECT_EQ(FormatTextTable(table), "NAME\n1. Al\n2. Barbarella\n");
}

// The characters a terminal shows for a line: UTF-8 characters when the line is valid UTF-8,
// otherwise bytes.
std::vector<std::string> ShownCharacters(const std::string& line) {
  std::vector<std::string> shown;
  bool utf8 = TextColumns(line) != line.size() || std::all_of(line.begin(), line.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x80;
              });
  for (char c : line) {
    bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    if (utf8 && continuation && !shown.empty()) {
      shown.back() += c;
    } else {
      shown.push_back(std::string(1, c));
    }
  }
  return shown;
}

TEST_F(PrintTablesTest, TextTableColumnsLineUpForEveryNameAndRank) {
  // Names that fill the name column: UTF-8 (counted by characters), Latin-1 (by bytes), a UTF-8
  // name whose 15-byte cut falls inside a character, and players up to the largest rank, 2500.
  const std::string names[] = {"J\xc3\xbcrgen", "J\xfcrgen",
                               "\xc3\x89\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9x",
                               "Bob%s", "A very long name indeed"};
  for (const std::string& name : names)
    AddPlayer(name, 12, 3, 1, 1845);
  for (int i = 5; i < VexoriumDoc::kMaxPlayers; ++i)
    AddPlayer("P" + std::to_string(i), i, i % 7, 0, i * 61);
  for (int code : {kPrintMainStats, kPrintWeaponStats}) {
    PrintTable table = Table(code);
    // The cut keeps whole characters: seven of the 2-byte ones, 14 bytes.
    auto cut = std::find_if(table.rows.begin(), table.rows.end(), [](const PrintRow& row) {
      return row.label.find("\xc3\x89") != std::string::npos;
    });
    ASSERT_NE(cut, table.rows.end());
    EXPECT_EQ(cut->label.substr(cut->label.find(' ') + 1),
              "\xc3\x89\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");

    std::string text = FormatTextTable(table);
    std::vector<std::vector<std::string>> lines;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
      lines.push_back(ShownCharacters(text.substr(start, end - start)));
    }
    ASSERT_EQ(lines.size(), table.rows.size() + 1);
    // Where each right-aligned heading ends, every row's cell ends: a character before, a blank
    // (or the line's end) after.
    const std::vector<std::string>& heading = lines.front();
    for (size_t at = 4; at < heading.size(); ++at) {
      bool columnEnd = heading[at] != " " && (at + 1 == heading.size() || heading[at + 1] == " ");
      if (!columnEnd) continue;
      for (size_t l = 1; l < lines.size(); ++l) {
        ASSERT_EQ(lines[l].size(), heading.size()) << "line " << l;
        ASSERT_NE(lines[l][at], " ") << "line " << l << " column ending at " << at;
        if (at + 1 < heading.size()) {
          ASSERT_EQ(lines[l][at + 1], " ") << "line " << l;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vexor
