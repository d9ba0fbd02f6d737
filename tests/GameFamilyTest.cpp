// Urban Terror and Jedi Academy/Outcast server logs read by their own rules: short logs of each
// rule, the hand-made samples against the tables counted by hand, generated logs against what
// their generator says a reader must find, a data file of such a load saved and opened again,
// and the screens, prints and graphs showing the games' own weapons.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "LogGenerator.h"
#include "TestSupport.h"
#include "stats/DataFile.h"
#include "stats/GameFamily.h"
#include "stats/LogSelection.h"
#include "stats/Settings.h"
#include "stats/VexoriumDoc.h"
#include "ui/GraphChoice.h"
#include "ui/OptionsForm.h"
#include "ui/PrintTables.h"
#include "ui/StatisticsList.h"
#include "ui/ViewScreens.h"

namespace vexor {
namespace {

using test::LoadFixture;

struct Expected {
  const char* name;
  int32_t frags, deaths, suicides, games, seconds;  // seconds < 0: not checked
  std::map<std::string, int32_t> weapons;           // by key; others 0
};

void ExpectPlayers(const LoadFixture& load, const std::vector<Expected>& players) {
  EXPECT_EQ(load.doc.nameCount, static_cast<int32_t>(players.size()));
  for (const Expected& e : players) {
    SCOPED_TRACE(e.name);
    const PlayerRecord& p = load.Player(e.name);
    EXPECT_EQ(p.frags, e.frags);
    EXPECT_EQ(p.deaths, e.deaths);
    EXPECT_EQ(p.suicides, e.suicides);
    EXPECT_EQ(p.gamesPlayed, e.games);
    if (e.seconds >= 0) {
      EXPECT_EQ(p.totalSeconds, e.seconds);
    }
    for (WeaponId w = 0; w < kAllWeaponCount; ++w) {
      auto found = e.weapons.find(WeaponKey(w));
      EXPECT_EQ(p.WeaponFrags(w), found == e.weapons.end() ? 0 : found->second) << WeaponKey(w);
    }
  }
}

constexpr const char* kUrtInit =
    R"(InitGame: \sv_hostname\x\g_gametype\%s\fraglimit\0\timelimit\20\version\ioQ3 1.35 urt 4.3.4 linux\mapname\ut4_abbey\gamename\q3urt43\auth\0)";

std::string UrtGame(const char* gameType, const std::string& body) {
  char init[512];
  std::snprintf(init, sizeof init, kUrtInit, gameType);
  return "  0:00 ------------------------------------------------------------\n  0:00 " +
         std::string(init) + "\n  0:00 Warmup:\n" + body;
}

std::string UrtConnect(const char* clock, int client, const char* name, int team) {
  std::string n = std::to_string(client);
  std::string c = std::string("  ") + clock + " ";
  std::string info = c + "ClientUserinfo: " + n + R"( \ip\192.0.2.1:27960\name\)" + name +
                     R"(\rate\25000\cl_guid\ABC)" + "\n";
  return c + "ClientConnect: " + n + "\n" + info + info + c + "ClientUserinfoChanged: " + n +
         " n\\" + name + "\\t\\" + std::to_string(team) + "\\r\\0\n" + c +
         "AccountValidated: " + n + " -  - 0 - \"0\"\n" + c + "ClientBegin: " + n + "\n";
}

struct RuleCase {
  const char* name;
  std::string log;
  std::vector<const char*> gameTypes;
  std::vector<Expected> players;
};

std::vector<RuleCase> RuleCases() {
  std::vector<RuleCase> cases;
  cases.push_back(
      {"Urban Terror: user information before the name, its weapons, a team change, rounds",
       UrtGame("4", UrtConnect("0:01", 0, "^1Red^7Fox", 1) + UrtConnect("0:02", 1, "Blue", 2) +
                        "  0:10 InitRound: \\g_gametype\\4\n  0:10 ClientSpawn: 0\n"
                        "  0:20 Hit: 1 0 1 8: RedFox hit Blue in the Head\n"
                        "  0:21 Kill: 0 1 19: ^1Red^7Fox killed Blue by UT_MOD_LR300\n"
                        "  0:30 Kill: 1 1 10: Blue killed Blue by MOD_CHANGE_TEAM\n"
                        "  0:30 ClientUserinfoChanged: 1 n\\Blue\\t\\1\\r\\0\n"
                        "  0:30 ClientBegin: 1\n"
                        "  0:40 Kill: 1 0 35: Blue killed ^1Red^7Fox by UT_MOD_BLED\n"
                        "  0:50 Kill: 1022 1 6: <world> killed Blue by MOD_FALLING\n"
                        "  0:55 Flag: 0 2: team_CTF_blueflag\n  0:58 InitAuth: \\auth\\0\n"
                        "  1:00 Kill: 0 0 37: ^1Red^7Fox killed ^1Red^7Fox by UT_MOD_SUICIDE\n"
                        "  1:40 ShutdownGame:\n"),
       {"Team Survivor"},
       {{"RedFox", 1, 1, 1, 1, 99, {{"lr300", 1}}}, {"Blue", 1, 1, 1, 1, 98, {{"bleeding", 1}}}}});
  cases.push_back({"Urban Terror: the game types past 9",
                   UrtGame("11", UrtConnect("0:01", 0, "A", 0) + "  1:00 ShutdownGame:\n") +
                       UrtGame("10", UrtConnect("0:01", 0, "A", 0) + "  1:00 ShutdownGame:\n") +
                       UrtGame("2", UrtConnect("0:01", 0, "A", 0) + "  1:00 ShutdownGame:\n"),
                   {"Gun Game", "Freeze Tag", "Unknown"},
                   {{"A", 0, 0, 0, 3, 177, {}}}});
  const std::string jaInit =
      R"(InitGame: \version\JAmp: v1.0.1.0 win-x86 Oct 24 2003\fraglimit\20\timelimit\30\g_gametype\7\mapname\mp/siege_hoth\gamename\basejka)";
  cases.push_back(
      {"Jedi Academy: wall clock across midnight, names in the connect lines, characters",
       "[2017-05-07] [23:59:00] " + jaInit +
           "\n[2017-05-07] [23:59:10] ClientConnect: 0 (^1Dark^7Lord^7) [IP: 192.0.2.5:29070^7]\n"
           "[2017-05-07] [23:59:10] ClientBegin: 0\n"
           "[2017-05-07] [23:59:20] ClientUserinfoChanged: 1 n\\Mara\\t\\0\\model\\jan\n"
           "[2017-05-07] [23:59:20] ClientConnect: 1 (Mara^7) [IP: 192.0.2.6:29070^7]\n"
           "[2017-05-07] [23:59:20] ClientUserinfoChanged: 1 <no change>\n"
           "[2017-05-08] [00:00:30] Kill: 0 1 3: ^1Dark^7Lord killed Mara by MOD_SABER\n"
           "[2017-05-08] [00:00:40] Kill: 0 40 3: ^1Dark^7Lord killed jawa () by MOD_SABER\n"
           "[2017-05-08] [00:00:50] Kill: 41 0 12: reborn () killed ^1Dark^7Lord by MOD_SABER\n"
           "[2017-05-08] [00:01:00] Kill: 1 0 37: Mara killed ^1Dark^7Lord by MOD_FORCE_DARK\n"
           "[2017-05-08] [00:01:10] Kill: 1 1 39: Mara killed Mara by MOD_THERMAL_SPLASH\n"
           "[2017-05-08] [00:02:00] ShutdownGame:\n",
       {"Siege"},
       {{"DarkLord", 1, 2, 0, 1, 170, {{"saber", 1}}}, {"Mara", 1, 1, 1, 1, 160, {{"force", 1}}}}});
  cases.push_back(
      {"Jedi Outcast: ctime stamps, players named only by the kill lines",
       "[Sun Jan 03 19:25:52 2016]  InitGame: \\version\\JK2MP: v1.04 win-x86\\g_gametype\\6"
       "\\mapname\\ffa_bespin\\gamename\\basejk\n"
       "[Sun Jan 03 19:26:52 2016]  Kill: 2 3 3: Kyle killed Jan by MOD_SABER\n"
       "[Sun Jan 03 19:27:52 2016]  Kill: 3 2 5: Jan killed Kyle by MOD_DISRUPTOR_SNIPER\n"
       "[Sun Jan 03 19:28:52 2016]  Kill: 3 2 5: Jan killed Kyle by MOD_DISRUPTOR_SNIPER\n"
       "[Sun Jan 03 19:30:52 2016]  ShutdownGame:\n",
       {"Saga"},
       {{"Kyle", 1, 2, 0, 1, -1, {{"saber", 1}}}, {"Jan", 2, 1, 0, 1, -1, {{"disruptor", 2}}}}});
  return cases;
}

TEST(GameFamilyTest, EachFamilysLinesAreReadByItsRules) {
  for (const RuleCase& c : RuleCases()) {
    SCOPED_TRACE(c.name);
    LoadFixture load;
    ASSERT_TRUE(load.LoadText(c.log));
    ASSERT_EQ(load.doc.gameCount, static_cast<int32_t>(c.gameTypes.size()));
    for (size_t g = 0; g < c.gameTypes.size(); ++g) {
      EXPECT_EQ(load.Game(static_cast<int32_t>(g) + 1).gameTypeName, c.gameTypes[g]);
    }
    ExpectPlayers(load, c.players);
  }
}

// The samples' README counts these by hand from the kill lines.
TEST(GameFamilyTest, HandMadeSamplesGiveTheirTables) {
  struct SampleCase {
    const char* file;
    GameFamily family;
    std::vector<const char*> gameTypes;
    std::vector<Expected> players;
  };
  const std::vector<SampleCase> cases = {
      {"urt-server.log",
       GameFamily::kUrbanTerror,
       {"Team Survivor", "Capture The Flag", "Free For All"},
       // Kilo leaves game 1 after 86 seconds and comes back for 99 more on another number.
       {{"RedFox",
         7,
         2,
         1,
         3,
         -1,
         {{"lr300", 2}, {"m4", 1}, {"hegrenade", 1}, {"sr8", 1}, {"knife", 1}, {"boot", 1}}},
        {"DonodaBola", 2, 4, 1, 2, -1, {{"ump45", 1}, {"bleeding", 1}}},
        {"BlueBird", 2, 1, 1, 1, -1, {{"bleeding", 1}, {"ak103", 1}}},
        {"Kilo", 1, 4, 0, 2, 86 + 99 + 599, {{"ak103", 1}}},
        {"Zed", 0, 1, 2, 2, -1, {}},
        {"Mr.Pink", 1, 1, 1, 1, -1, {{"g36", 1}}}}},
      {"jka-server.log",
       GameFamily::kJediAcademy,
       {"Free For All", "Capture The Flag", "Duel"},
       {{"DarkLord", 4, 7, 0, 3, -1, {{"saber", 4}}},
        {"Padawan (02)", 0, 2, 1, 1, -1, {}},
        {"Kyle", 1, 1, 1, 2, -1, {{"launcher", 1}}},
        {"Mara Jade",
         6,
         2,
         1,
         3,
         -1,
         {{"saber", 2}, {"disruptor", 1}, {"force", 1}, {"bowcaster", 1}, {"melee", 1}}},
        {"Rook", 1, 3, 1, 2, -1, {{"thermal", 1}}}}},
  };
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(c.file);
    LoadFixture load;
    ASSERT_TRUE(load.Load({std::string(VEXOR_SAMPLES) + "/" + c.file}));
    ASSERT_EQ(load.doc.gameCount, static_cast<int32_t>(c.gameTypes.size()));
    for (size_t g = 0; g < c.gameTypes.size(); ++g) {
      EXPECT_EQ(load.Game(static_cast<int32_t>(g) + 1).gameTypeName, c.gameTypes[g]);
      EXPECT_EQ(load.Game(static_cast<int32_t>(g) + 1).family, c.family);
    }
    ExpectPlayers(load, c.players);
  }
}

// The generator names the weapons by the reference tables' long names; the lists use the names
// players call them by.
std::string OurWeaponName(const std::string& generators) {
  static const std::map<std::string, std::string> kShorter = {
      {".44 Magnum", "Magnum"},
      {"Benelli M4", "Benelli"},
      {"Beretta 92G", "Beretta"},
      {"Explosion", "Bomb"},
      {"E-11 Blaster", "Blaster"},
      {"Force (dark side)", "Force"},
      {"Force (light side)", "Force"},
      {"Golan Arms Flechette", "Flechette"},
      {"Heavy Repeater", "Repeater"},
      {"Lightsaber", "Saber"},
      {"M4A1", "M4"},
      {"Rocket Launcher", "Merr-Sonn Launcher"},
      {"SPAS-12", "SPAS"},
      {"Sentry gun", "Sentry"}};
  auto found = kShorter.find(generators);
  return found == kShorter.end() ? generators : found->second;
}

// Larger logs with returns, renames of colours, characters and every weapon: the reader finds
// each player the generator wrote, with what the generator credited him.
TEST(GameFamilyTest, GeneratedLogsGiveWhatTheirGeneratorCounted) {
  struct GeneratedCase {
    bench::Flavour flavour;
    bool noUserinfo;
  };
  for (GeneratedCase c : {GeneratedCase{bench::Flavour::kUrbanTerror, false},
                          GeneratedCase{bench::Flavour::kJediAcademy, false},
                          GeneratedCase{bench::Flavour::kJediAcademy, true}}) {
    SCOPED_TRACE(static_cast<int>(c.flavour) * 10 + c.noUserinfo);
    bench::GeneratorOptions options;
    options.flavour = c.flavour;
    options.noUserinfo = c.noUserinfo;
    options.games = 12;
    options.players = 24;
    options.perGame = 8;
    options.kills = 60;
    options.churn = 0.4;
    options.seed = 5;
    bench::GeneratorSummary summary;
    LoadFixture load;
    ASSERT_TRUE(load.LoadText(test::Generate(options, &summary)));
    ASSERT_EQ(load.doc.gameCount, options.games);
    for (int32_t g = 1; g <= load.doc.gameCount; ++g) {
      EXPECT_EQ(load.Game(g).gameTypeName, summary.GameTypes()[static_cast<size_t>(g - 1)]);
    }
    EXPECT_EQ(load.doc.nameCount, static_cast<int32_t>(summary.Players().size()));
    for (const auto& [name, tally] : summary.Players()) {
      SCOPED_TRACE(name);
      const PlayerRecord& p = load.Player(name);
      EXPECT_EQ(p.frags, tally.frags);
      EXPECT_EQ(p.deaths, tally.deaths);
      EXPECT_EQ(p.suicides, tally.suicides);
      std::map<std::string, int64_t> expected;  // by our name of the weapon
      for (const auto& [weapon, frags] : tally.fragsByWeapon)
        expected[OurWeaponName(weapon)] += frags;
      for (WeaponId w = kWeaponCount; w < kAllWeaponCount; ++w) {
        std::string ours(WeaponInfoOf(w).name);
        EXPECT_EQ(p.WeaponFrags(w), expected.count(ours) ? expected[ours] : 0) << ours;
      }
    }
  }
}

std::string Sample(const char* file) {
  return std::string(VEXOR_SAMPLES) + "/" + file;
}

// A Quake III load looks as it always did; a load of other games shows their weapons, after
// Quake III's when it has those too, on every screen and print.
TEST(GameFamilyTest, ScreensAndPrintsShowTheLoadsWeapons) {
  struct ScreenCase {
    std::vector<const char*> files;
    size_t weaponColumns;     // the weapon list's, after the name
    const char* firstWeapon;  // its heading
    size_t slots;             // graph boxes after the fixed ones
    int firstSlotY;           // where the first goes (135 where Quake III's are shown)
    size_t printBlocks;       // of the printed weapon table
  };
  const ScreenCase cases[] = {
      {{"server-ffa-ctf.log"}, 9, "MG Frags", 0, 0, 1},
      {{"urt-server.log"}, 28, "Knife Frags", 28, 56, 4},
      {{"server-ffa-ctf.log", "jka-server.log"}, 9 + 19, "MG Frags", 19, 135, 4},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(c.files.back());
    LoadFixture load;
    std::vector<std::string> paths;
    for (const char* file : c.files)
      paths.push_back(Sample(file));
    ASSERT_TRUE(load.Load(paths));
    StatisticsList weapons(StatList::kWeapon);
    weapons.Fill(load.doc);
    ASSERT_EQ(weapons.Headings().size(), 1 + c.weaponColumns);
    EXPECT_EQ(weapons.Headings()[1], c.firstWeapon);
    EXPECT_EQ(OptionsControlsFor(load.doc).size(), kOptionsControls.size() + c.slots);

    ViewInputs in;
    in.currentScreen = 2;
    in.dataAvailable = true;
    ViewLayout layout = LayoutView(load.doc, in, 1000, 740);
    ASSERT_EQ(layout.variableBoxes.size(), c.slots);
    bool quake3 = std::string(c.firstWeapon) == "MG Frags";
    EXPECT_EQ(layout.fixedBoxes[6].box.Collapsed(), !quake3);  // Gauntlet Frags
    if (c.slots > 0) {
      EXPECT_EQ(layout.variableBoxes[0].box.y, c.firstSlotY);
    }

    PrintTable table;
    ASSERT_TRUE(BuildPrintTable(load.doc, kPrintWeaponStats, &table));
    EXPECT_EQ(table.headings.size(), c.weaponColumns);
    std::vector<PrintTable> blocks = PrintBlocks(table);
    EXPECT_EQ(blocks.size(), c.printBlocks);
    for (const PrintTable& block : blocks) {
      ASSERT_EQ(block.rows.size(), table.rows.size());
      EXPECT_EQ(block.rows[0].cells.size(), block.headings.size());
    }
  }
}

TEST(GameFamilyTest, AnotherGamesWeaponIsChosenHiddenAndGraphedLikeQuake3s) {
  LoadFixture load;
  ASSERT_TRUE(load.Load({Sample("urt-server.log")}));
  const WeaponId lr300 = WeaponOfKey("lr300");
  // On the command line by its key; a weapon of a game the load did not read is no statistic.
  GraphChoice choice;
  std::string error;
  ASSERT_TRUE(ChoiceFromNames(load.doc, {"RedFox"}, {"lr300", "frags"}, &choice, &error));
  ASSERT_EQ(choice.statistics.size(), 2u);
  EXPECT_EQ(choice.statistics[1].weapon, lr300);  // after the fixed statistics
  EXPECT_EQ(choice.statistics[1].suffix, " : LR300 Frags");
  EXPECT_EQ(choice.statistics[1].Total(load.Player("RedFox")), 2);
  GraphChoice refused;
  EXPECT_FALSE(ChoiceFromNames(load.doc, {"RedFox"}, {"saber"}, &refused, &error));

  // On the screen by its slot, the same statistic.
  int slot = lr300 - WeaponsOf(WeaponSet::kUrbanTerror).first + 1;
  GraphChoice onScreen = ChoiceFromView(
      load.doc, std::vector<int32_t>(VexoriumDoc::kPlayerSlots, 1), {},
      [](int id) { return id == 1004 || id == 1011; },  // frags; machinegun is not shown
      [slot](int j) { return j == slot; });
  ASSERT_EQ(onScreen.statistics.size(), 2u);
  EXPECT_EQ(onScreen.statistics[1].weapon, lr300);

  // Hidden in Options: gone from the weapon list and the graph boxes, kept in the settings.
  test::TempFolder start;
  OptionsForm form;
  form.Open(load.doc);
  form.SetChecked(kOptionsFirstOtherWeaponId + lr300 - kWeaponCount, false);
  ASSERT_TRUE(form.Accept(load.doc, start.Path()).ok);
  EXPECT_FALSE(load.doc.options.Shows(lr300));
  StatisticsList weapons(StatList::kWeapon);
  weapons.Fill(load.doc);
  EXPECT_EQ(std::count(weapons.Headings().begin(), weapons.Headings().end(), "LR300 Frags"), 0);
  EXPECT_EQ(GraphSlots(load.doc).size(), 27u);
  VexoriumDoc read;
  LoadSettings(read, start.Path());
  EXPECT_FALSE(read.options.Shows(lr300));
  EXPECT_TRUE(read.options.Shows(WeaponOfKey("m4")));
}

// A mixed load saved and opened again: the same bytes, the other games' weapons and families.
TEST(GameFamilyTest, DataFileOfAMixedLoadOpensWithItsWeaponsAndFamilies) {
  LoadFixture load;
  ASSERT_TRUE(load.Load(
      {Sample("server-ffa-ctf.log"), Sample("urt-server.log"), Sample("jka-server.log")}));
  std::string saved = load.folder.File("mixed.vdf");
  std::string error;
  ASSERT_TRUE(SaveDataFile(load.doc, saved, &error)) << error;
  VexoriumDoc opened;
  LogSelection selection;
  ScriptedPrompter prompter;
  ASSERT_TRUE(OpenDataFile(opened, selection, prompter, load.folder.Path(), saved));
  for (int32_t g = 1; g <= load.doc.gameCount; ++g) {
    EXPECT_EQ(opened.games[static_cast<size_t>(g)].family, load.Game(g).family) << g;
  }
  const PlayerRecord& mara = load.Player("Mara Jade");
  int32_t number = load.PlayerNumber("Mara Jade");
  const PlayerRecord& reopened = opened.players[static_cast<size_t>(number)];
  for (WeaponId w = 0; w < kAllWeaponCount; ++w) {
    EXPECT_EQ(reopened.WeaponFrags(w), mara.WeaponFrags(w)) << WeaponKey(w);
  }
  std::string again = load.folder.File("again.vdf");
  opened.reportIndexPath = load.doc.reportIndexPath;  // the one field an open does not take
  ASSERT_TRUE(SaveDataFile(opened, again, &error)) << error;
  std::string bytes = test::ReadFile(saved);
  EXPECT_TRUE(test::ReadFile(again) == bytes);
  // Cut inside the section: refused, as any damaged file.
  std::string cut = load.folder.Write("cut.vdf", bytes.substr(0, bytes.size() - 5));
  VexoriumDoc refused;
  EXPECT_FALSE(OpenDataFile(refused, selection, prompter, load.folder.Path(), cut));
}

}  // namespace
}  // namespace vexor
