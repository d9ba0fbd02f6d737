// The log generator's Urban Terror and Jedi Academy server logs: the same seed gives the same
// bytes, every line has one of the shapes those servers write and each shape appears, and what
// the summary says a reader should find is what the kill lines hold.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "LogGenerator.h"
#include "PlayerPool.h"
#include "TestSupport.h"
#include "WallClock.h"
#include "base/Archive.h"

namespace vexor {
namespace {

using bench::Flavour;
using bench::GeneratorOptions;
using bench::GeneratorSummary;

GeneratorOptions FamilyLog(Flavour flavour, uint64_t seed = 11) {
  GeneratorOptions options;
  options.flavour = flavour;
  options.games = 14;
  options.players = 30;
  options.perGame = 8;
  options.kills = 45;
  options.churn = 0.4;
  options.renames = 0.2;
  options.seed = seed;
  return options;
}

using test::Generate;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

struct Shape {
  const char* name;
  const char* pattern;  // of the line after its stamp
};

// Every shape of line an Urban Terror 4.3 server writes that the generator writes too.
const Shape kUrbanTerrorShapes[] = {
    {"separator", "-{60}"},
    {"InitGame", R"(InitGame: (?=.*\\g_gametype\\(?:[013-9]|1[01])\\)(?=.*\\gamename\\q3urt43\\))"
                 R"((?=.*\\version\\ioQ3 1\.35 urt 4\.3\.4 )(?=.*\\mapname\\ut4_\w+\\))"
                 R"((?=.*\\timelimit\\\d+\\)(?=.*\\fraglimit\\\d+\\).*)"},
    {"InitRound", R"(InitRound: \\.*\\gamename\\q3urt43\\.*)"},
    {"Warmup", "Warmup:"},
    {"InitAuth", R"(InitAuth: \\auth\\.*)"},
    {"session", R"(Session data initialised for client on slot \d+ at \d+)"},
    {"ClientConnect", R"(ClientConnect: \d+)"},
    {"ClientUserinfo", R"(ClientUserinfo: \d+ \\ip\\[\d.]+:\d+\\.*\\name\\[^\\]+\\.*)"},
    {"ClientUserinfoChanged",
     R"(ClientUserinfoChanged: \d+ n\\[^\\ ]+\\t\\[0-3]\\r\\[0-3]\\tl\\0\\f0\\\\f1\\\\f2)"
     R"(\\\\a0\\0\\a1\\0\\a2\\0)"},
    {"AccountValidated", R"(AccountValidated: \d+ -  - 0 - "0")"},
    {"ClientBegin", R"(ClientBegin: \d+)"},
    {"ClientSpawn", R"(ClientSpawn: \d+)"},
    {"ClientDisconnect", R"(ClientDisconnect: \d+)"},
    {"Hit", R"(Hit: \d+ \d+ (?:[1-9]|1[0-4]) \d+: \S+ hit \S+ in the (?:Head|Helmet|Torso|Vest|)"
            R"((?:Left|Right) (?:Arm|Upper Leg|Lower Leg|Foot)|Groin|Butt))"},
    {"frag", R"(Kill: (\d+) (?!\1 )\d+ \d+: \S+ killed \S+ by UT_MOD_[A-Z0-9_]+)"},
    {"bled", R"(Kill: \d+ \d+ 23: \S+ killed \S+ by UT_MOD_BLED)"},
    {"world kill", R"(Kill: 1022 \d+ \d+: <world> killed \S+ by (?:UT_)?MOD_[A-Z_]+)"},
    {"suicide", R"(Kill: (\d+) \1 \d+: (\S+) killed \2 by (?:UT_)?MOD_(?!CHANGE_TEAM)[A-Z0-9_]+)"},
    {"team change", R"(Kill: (\d+) \1 10: (\S+) killed \2 by MOD_CHANGE_TEAM)"},
    {"Assist", R"(Assist: \d+ \d+ \d+: \S+ assisted \S+ to kill \S+)"},
    {"Item", R"(Item: \d+ ut_(?:weapon|item)_\w+)"},
    {"Flag", R"(Flag: \d+ [0-2]: team_CTF_(?:red|blue)flag)"},
    {"say", R"(say: \d+ \S+: .*)"},
    {"sayteam", R"(sayteam: \d+ \S+: .*)"},
    {"SurvivorWinner", "SurvivorWinner: (?:Red|Blue)"},
    {"Exit", "Exit: (?:Time|Frag|Capture|Round)limit hit\\."},
    {"team scores", R"(red:\d+  blue:\d+)"},
    {"score", R"(score: -?\d+  ping: \d+  client: \d+ \S+)"},
    {"ShutdownGame", "ShutdownGame:"},
};

// Every shape of line a Jedi Academy server with JA++ writes that the generator writes too.
const Shape kJediAcademyShapes[] = {
    {"separator", "-{60}"},
    {"InitGame", R"(InitGame: (?=.*\\version\\JAmp: v1\.0\.1\.0 win-x86 Oct 24 2003\\))"
                 R"((?=.*\\g_gametype\\[0-9]\\)(?=.*\\mapname\\mp/\w+\\)(?=.*\\timelimit\\\d+\\))"
                 R"((?=.*\\fraglimit\\\d+\\).*)"},
    {"empty", ""},
    {"cjp_client", R"(cjp_client: .* final csf 0x[05])"},
    {"ClientConnect", R"(ClientConnect: \d+ \(.+\^7\) \[IP: (?:[\d.]+:\d+|Bot)\^7\])"},
    {"ClientUserinfoChanged", R"(ClientUserinfoChanged: \d+ n\\[^\\]+\\t\\[0-3]\\model\\.*)"},
    {"no change", R"(ClientUserinfoChanged: \d+ <no change>)"},
    {"ClientBegin", R"(ClientBegin: \d+)"},
    {"setteam", R"(setteam:  \d+ (?:FREE|RED|BLUE|SPECTATOR) (?:FREE|RED|BLUE))"},
    {"ClientRename", R"(ClientRename: \d+ \[[\d.]+:\d+\] "(.+)\^7" -> "(.+)\^7")"},
    {"ClientDisconnect", R"(ClientDisconnect: \d+)"},
    {"frag", R"(Kill: ([12]?\d|3[01]) (?!\1 )(?:[12]?\d|3[01]) \d+: .+ killed .+ by MOD_\w+)"},
    {"suicide", R"(Kill: (\d+) \1 \d+: (.+) killed \2 by MOD_\w+)"},
    {"world kill", R"(Kill: 1022 (?:[12]?\d|3[01]) \d+: <world> killed .+ by MOD_\w+)"},
    {"character dies",
     R"(Kill: \d+ (?:3[2-9]|[4-9]\d) \d+: .+ killed [A-Za-z0-9]+ \(\) by MOD_\w+)"},
    {"character kills",
     R"(Kill: (?:3[2-9]|[4-9]\d) \d+ \d+: [A-Za-z0-9]+ \(\) killed .+ by MOD_\w+)"},
    {"Item", R"(Item: \d+ .+ \w+)"},
    {"say", "say: .+ says: .*"},
    {"OOC", R"(OOC: \(OOC\) .+: .*)"},
    {"Exit", "Exit: (?:Time|Frag|Capture)limit hit\\."},
    {"score", R"(score: -?\d+  ping: \d+  client: \d+ .+)"},
    {"ShutdownGame", "ShutdownGame:"},
};

const char* const kGameClock = R"( *\d+:\d\d )";
const char* const kIsoStamp = R"(\[\d{4}-\d\d-\d\d\] \[\d\d:\d\d:\d\d\] )";
const char* const kCtimeStamp =
    R"(\[(?:Sun|Mon|Tue|Wed|Thu|Fri|Sat) (?:Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec))"
    R"( \d\d \d\d:\d\d:\d\d \d{4}\]  )";

// Checks that every line is a stamp and one of the shapes (or one of the unstamped lines) and
// returns how often each shape matched.
std::map<std::string, int> MatchShapes(const std::vector<std::string>& lines, const char* stamp,
                                       std::span<const Shape> shapes,
                                       std::span<const Shape> unstamped = {}) {
  std::vector<std::pair<std::string, std::regex>> patterns;
  for (const Shape& shape : shapes)
    patterns.emplace_back(shape.name, std::string(stamp) + "(?:" + shape.pattern + ")");
  for (const Shape& shape : unstamped)
    patterns.emplace_back(shape.name, shape.pattern);
  std::map<std::string, int> counts;
  for (size_t i = 0; i < lines.size(); ++i) {
    bool matched = false;
    for (const auto& [name, pattern] : patterns) {
      if (!std::regex_match(lines[i], pattern)) continue;
      ++counts[name];
      matched = true;
    }
    EXPECT_TRUE(matched) << "line " << i + 1 << ": " << lines[i].substr(0, 120);
  }
  return counts;
}

void ExpectEveryShape(const std::map<std::string, int>& counts, std::span<const Shape> shapes) {
  for (const Shape& shape : shapes)
    EXPECT_GT(counts.count(shape.name), 0u) << shape.name;
}

TEST(FamilyLogGeneratorTest, SameSeedGivesSameBytesAndAnotherSeedOthers) {
  for (Flavour flavour : {Flavour::kUrbanTerror, Flavour::kJediAcademy}) {
    GeneratorSummary a, b, c;
    std::string first = Generate(FamilyLog(flavour, 5), &a);
    std::string again = Generate(FamilyLog(flavour, 5), &b);
    std::string other = Generate(FamilyLog(flavour, 6), &c);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, again);
    EXPECT_EQ(a.Text(), b.Text());
    EXPECT_NE(first, other);
    EXPECT_EQ(a.Get("bytes"), static_cast<int64_t>(first.size()));
    EXPECT_EQ(static_cast<int64_t>(a.GameTypes().size()), a.Get("games"));
  }
}

TEST(FamilyLogGeneratorTest, UrbanTerrorLinesHaveTheServersShapesAndShowEveryOne) {
  GeneratorOptions options = FamilyLog(Flavour::kUrbanTerror);
  options.gameTypes = {4, 7, 0, 1};
  GeneratorSummary summary;
  std::vector<std::string> lines = SplitLines(Generate(options, &summary));
  ASSERT_EQ(static_cast<int64_t>(lines.size()), summary.Get("lines"));
  std::map<std::string, int> counts = MatchShapes(lines, kGameClock, kUrbanTerrorShapes);
  ExpectEveryShape(counts, kUrbanTerrorShapes);
  EXPECT_EQ(counts["team change"], summary.Get("teamChanges"));
  // Every means of death of the family, in a log of this size.
  for (bench::KillKind kind :
       {bench::KillKind::kFrag, bench::KillKind::kWorld, bench::KillKind::kSelf}) {
    for (const bench::MeansOfDeath& mod : bench::MeansOfDeathOf(kind, Flavour::kUrbanTerror))
      EXPECT_GT(summary.Get(std::string("mod.") + mod.name), 0) << mod.name;
  }
}

TEST(FamilyLogGeneratorTest, JediAcademyLinesHaveTheServersShapesInBothStamps) {
  const Shape kUnstamped[] = {{"unstamped empty", ""}, {"Mod version", R"(Mod version: JA\+\+.*)"}};
  for (bench::WallClockStyle style : {bench::WallClockStyle::kIso, bench::WallClockStyle::kCtime}) {
    GeneratorOptions options = FamilyLog(Flavour::kJediAcademy);
    options.wallClock = style;
    options.gameTypes = {0, 3, 6, 8};
    GeneratorSummary summary;
    std::vector<std::string> lines = SplitLines(Generate(options, &summary));
    bool iso = style == bench::WallClockStyle::kIso;
    std::map<std::string, int> counts =
        MatchShapes(lines, iso ? kIsoStamp : kCtimeStamp, kJediAcademyShapes, kUnstamped);
    ExpectEveryShape(counts, kJediAcademyShapes);
    ExpectEveryShape(counts, kUnstamped);
    EXPECT_EQ(counts["character dies"] + counts["character kills"], summary.Get("characterKills"));
  }
}

// Seconds from 1970 of a date and time, by the inverse of the generator's calendar arithmetic.
int64_t SecondsOf(int64_t year, int64_t month, int64_t day, int64_t hms) {
  year -= month <= 2 ? 1 : 0;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t yearOfEra = year - era * 400;
  int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return (era * 146097 + dayOfEra - 719468) * 86400 + hms;
}

TEST(FamilyLogGeneratorTest, WallClockStampsDatesAndWeekdays) {
  struct Case {
    int64_t year, month, day, hms;
    const char* iso;
    const char* ctime;
  };
  const Case kCases[] = {
      {1970, 1, 1, 0, "[1970-01-01] [00:00:00] ", "[Thu Jan 01 00:00:00 1970]  "},
      {2000, 2, 29, 86399, "[2000-02-29] [23:59:59] ", "[Tue Feb 29 23:59:59 2000]  "},
      {2016, 1, 3, 19 * 3600 + 25 * 60 + 52, "[2016-01-03] [19:25:52] ",
       "[Sun Jan 03 19:25:52 2016]  "},
      {2017, 5, 7, 18 * 3600 + 42 * 60 + 3, "[2017-05-07] [18:42:03] ",
       "[Sun May 07 18:42:03 2017]  "},
      {2019, 12, 31, 3723, "[2019-12-31] [01:02:03] ", "[Tue Dec 31 01:02:03 2019]  "},
  };
  bench::WallClock iso(bench::WallClockStyle::kIso);
  bench::WallClock ctime(bench::WallClockStyle::kCtime);
  for (const Case& c : kCases) {
    int64_t second = SecondsOf(c.year, c.month, c.day, c.hms);
    EXPECT_EQ(iso.Stamp(second), c.iso);
    EXPECT_EQ(ctime.Stamp(second), c.ctime);
  }
}

TEST(FamilyLogGeneratorTest, JediAcademyClockNeverGoesBackAndAGamePassesMidnight) {
  GeneratorSummary summary;
  std::vector<std::string> lines = SplitLines(Generate(FamilyLog(Flavour::kJediAcademy), &summary));
  std::regex stamp(R"(\[(\d{4})-(\d\d)-(\d\d)\] \[(\d\d):(\d\d):(\d\d)\] (.*))");
  int64_t previous = 0, start = 0;
  int pastMidnight = 0;
  for (const std::string& line : lines) {
    std::smatch m;
    if (!std::regex_match(line, m, stamp)) continue;
    int64_t seconds = SecondsOf(std::stoll(m[1]), std::stoll(m[2]), std::stoll(m[3]),
                                std::stoll(m[4]) * 3600 + std::stoll(m[5]) * 60 + std::stoll(m[6]));
    EXPECT_GE(seconds, previous) << line;
    previous = seconds;
    std::string event = m[7];
    if (event.starts_with("InitGame:")) start = seconds;
    if (event.starts_with("ShutdownGame:") && seconds / 86400 != start / 86400) ++pastMidnight;
  }
  EXPECT_GE(pastMidnight, 1);
}

// A reader's counts from the kill lines alone: players 0 to 31 are players, 32 and up
// non-player characters, 1022 the world; a team change counts for nobody.
struct KillCounts {
  std::map<std::string, bench::PlayerTally> players;
};

KillCounts CountKills(const std::vector<std::string>& lines) {
  std::regex kill(R"(.*?Kill: (\d+) (\d+) \d+: (.+) killed (.+) by (\w+))");
  KillCounts counts;
  for (const std::string& line : lines) {
    std::smatch m;
    if (!std::regex_match(line, m, kill) || m[5] == "MOD_CHANGE_TEAM") continue;
    int killer = std::stoi(m[1]);
    int victim = std::stoi(m[2]);
    std::string killerName = bench::StripColours(m[3].str());
    std::string victimName = bench::StripColours(m[4].str());
    if (killer < 32) counts.players[killerName];
    if (victim < 32) counts.players[victimName];
    if (victim >= 32) continue;
    bench::PlayerTally& dead = counts.players[victimName];
    if (killer >= 32 && killer != 1022) {
      ++dead.deaths;
    } else if (killer == 1022 || killer == victim) {
      ++dead.suicides;
    } else {
      bench::PlayerTally& winner = counts.players[killerName];
      ++winner.frags;
      ++winner.fragsByMeans[m[5]];
      ++dead.deaths;
    }
  }
  return counts;
}

struct CountCase {
  const char* name;
  void (*adjust)(GeneratorOptions*);
};

const CountCase kCountCases[] = {
    {"Urban Terror", [](GeneratorOptions* o) { o->flavour = Flavour::kUrbanTerror; }},
    {"Urban Terror, lowest numbers, bare lines",
     [](GeneratorOptions* o) {
       o->flavour = Flavour::kUrbanTerror;
       o->slots = bench::SlotMode::kLowest;
       o->noise = 0;
     }},
    {"Jedi Academy", [](GeneratorOptions* o) { o->flavour = Flavour::kJediAcademy; }},
    {"Jedi Academy, heavy noise, lowest numbers",
     [](GeneratorOptions* o) {
       o->flavour = Flavour::kJediAcademy;
       o->noise = 2;
       o->slots = bench::SlotMode::kLowest;
     }},
    {"Jedi Academy, no user information",
     [](GeneratorOptions* o) {
       o->flavour = Flavour::kJediAcademy;
       o->noUserinfo = true;
     }},
};

TEST(FamilyLogGeneratorTest, SummaryCreditsEveryPlayerWithWhatTheKillLinesHold) {
  for (const CountCase& c : kCountCases) {
    SCOPED_TRACE(c.name);
    GeneratorOptions options = FamilyLog(Flavour::kQuake3);
    c.adjust(&options);
    GeneratorSummary summary;
    std::string log = Generate(options, &summary);
    KillCounts counts = CountKills(SplitLines(log));
    // With user information, players who never kill nor die are found by their connects.
    EXPECT_GE(static_cast<int64_t>(summary.Players().size()),
              static_cast<int64_t>(counts.players.size()));
    EXPECT_EQ(static_cast<int64_t>(summary.Players().size()), summary.Get("names"));
    if (options.noUserinfo) {
      EXPECT_EQ(summary.Players().size(), counts.players.size());
      EXPECT_EQ(log.find("ClientConnect:"), std::string::npos);
      EXPECT_EQ(log.find("Item:"), std::string::npos);
      EXPECT_EQ(log.find("score:"), std::string::npos);
    }
    for (const auto& [name, expected] : counts.players) {
      const bench::PlayerTally& tally = summary.Player(name);
      EXPECT_EQ(summary.Players().count(name), 1u) << name;
      EXPECT_EQ(tally.frags, expected.frags) << name;
      EXPECT_EQ(tally.deaths, expected.deaths) << name;
      EXPECT_EQ(tally.suicides, expected.suicides) << name;
      EXPECT_EQ(tally.fragsByMeans, expected.fragsByMeans) << name;
    }
    EXPECT_EQ(summary.Get("games"), options.games);
  }
}

TEST(FamilyLogGeneratorTest, WeaponsGatherTheirMeansOfDeath) {
  struct WeaponCase {
    Flavour flavour;
    const char* weapon;
    std::vector<const char*> means;
  };
  const WeaponCase kCases[] = {
      {Flavour::kUrbanTerror, "Knife", {"UT_MOD_KNIFE", "UT_MOD_KNIFE_THROWN"}},
      {Flavour::kUrbanTerror, "HK69", {"UT_MOD_HK69", "UT_MOD_HK69_HIT"}},
      {Flavour::kUrbanTerror, "Bleeding", {"UT_MOD_BLED"}},
      {Flavour::kUrbanTerror, "Explosion", {"UT_MOD_SPLODED", "UT_MOD_BOMBED"}},
      {Flavour::kJediAcademy,
       "Disruptor",
       {"MOD_DISRUPTOR", "MOD_DISRUPTOR_SPLASH", "MOD_DISRUPTOR_SNIPER"}},
      {Flavour::kJediAcademy, "Lightsaber", {"MOD_SABER"}},
  };
  std::map<Flavour, GeneratorSummary> summaries;
  for (Flavour flavour : {Flavour::kUrbanTerror, Flavour::kJediAcademy}) {
    GeneratorOptions options = FamilyLog(flavour);
    options.games = 40;
    Generate(options, &summaries[flavour]);
  }
  for (const WeaponCase& c : kCases) {
    int64_t total = 0;
    for (const auto& [name, tally] : summaries[c.flavour].Players()) {
      int64_t sum = 0;
      for (const char* means : c.means)
        sum += tally.FragsBy(means);
      EXPECT_EQ(tally.FragsBy(c.weapon), sum) << name << ", " << c.weapon;
      total += sum;
    }
    EXPECT_GT(total, 0) << c.weapon;
  }
  // A telefrag is a frag with no weapon.
  for (const auto& [name, tally] : summaries[Flavour::kUrbanTerror].Players()) {
    int64_t weapons = 0;
    for (const auto& [weapon, frags] : tally.fragsByWeapon)
      weapons += frags;
    EXPECT_EQ(weapons, tally.frags - tally.FragsBy("UT_MOD_TELEFRAG")) << name;
  }
}

// The game types by their "g_gametype" codes, as the games' players name them.
const std::map<int, std::string>& TypeNames(Flavour flavour) {
  static const std::map<int, std::string> kUrbanTerror = {
      {0, "Free For All"},     {1, "Last Man Standing"}, {3, "Team Deathmatch"},
      {4, "Team Survivor"},    {5, "Follow the Leader"}, {6, "Capture and Hold"},
      {7, "Capture The Flag"}, {8, "Bomb Mode"},         {9, "Jump"},
      {10, "Freeze Tag"},      {11, "Gun Game"}};
  static const std::map<int, std::string> kJediAcademy = {
      {0, "Free For All"},     {1, "Holocron FFA"},         {2, "Jedi Master"}, {3, "Duel"},
      {4, "Power Duel"},       {5, "Single Player"},        {6, "Team FFA"},    {7, "Siege"},
      {8, "Capture The Flag"}, {9, "Capture The Ysalamiri"}};
  return flavour == Flavour::kUrbanTerror ? kUrbanTerror : kJediAcademy;
}

// The type of every game of a log, by its "InitGame:" line.
std::vector<std::string> GameTypesOf(const std::vector<std::string>& lines, Flavour flavour) {
  std::regex type(R"(.*InitGame: .*\\g_gametype\\(\d+)\\.*)");
  std::vector<std::string> types;
  for (const std::string& line : lines) {
    std::smatch m;
    if (!std::regex_match(line, m, type)) continue;
    auto name = TypeNames(flavour).find(std::stoi(m[1]));
    types.push_back(name == TypeNames(flavour).end() ? "?" : name->second);
  }
  return types;
}

TEST(FamilyLogGeneratorTest, GameTypesHaveTheNamesTheirPlayersKnow) {
  for (Flavour flavour : {Flavour::kUrbanTerror, Flavour::kJediAcademy}) {
    const std::map<int, std::string>& names = TypeNames(flavour);
    GeneratorOptions options = FamilyLog(flavour);
    options.games = 120;
    options.kills = 2;
    GeneratorSummary summary;
    std::vector<std::string> lines = SplitLines(Generate(options, &summary));
    std::vector<std::string> expected = GameTypesOf(lines, flavour);
    EXPECT_EQ(summary.GameTypes(), expected);
    EXPECT_EQ(std::set<std::string>(expected.begin(), expected.end()).size(), names.size())
        << "the usual mix shows every type";
  }
}

// The hand-made samples: every line has a shape the generator's logs have too, every shape
// appears, and the kill lines give the counts samples/README.md lists.
TEST(FamilyLogGeneratorTest, HandMadeSamplesHoldWhatTheirReadmeSays) {
  struct Player {
    const char* name;
    int64_t frags, deaths, suicides;
  };
  struct Sample {
    const char* file;
    Flavour flavour;
    const char* stamp;
    std::span<const Shape> shapes;
    std::vector<Player> players;
    std::vector<std::string> types;
  };
  const Shape kUnstamped[] = {{"unstamped empty", ""}, {"Mod version", R"(Mod version: JA\+\+.*)"}};
  const Sample kSamples[] = {
      {"urt-server.log",
       Flavour::kUrbanTerror,
       kGameClock,
       kUrbanTerrorShapes,
       {{"RedFox", 7, 2, 1},
        {"DonodaBola", 2, 4, 1},
        {"BlueBird", 2, 1, 1},
        {"Kilo", 1, 4, 0},
        {"Zed", 0, 1, 2},
        {"Mr.Pink", 1, 1, 1}},
       {"Team Survivor", "Capture The Flag", "Free For All"}},
      {"jka-server.log",
       Flavour::kJediAcademy,
       kIsoStamp,
       kJediAcademyShapes,
       {{"DarkLord", 4, 7, 0},
        {"Padawan (02)", 0, 2, 1},
        {"Kyle", 1, 1, 1},
        {"Mara Jade", 6, 2, 1},
        {"Rook", 1, 3, 1}},
       {"Free For All", "Capture The Flag", "Duel"}},
  };
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.file);
    std::string log = test::ReadFile(std::string(VEXOR_SAMPLES) + "/" + sample.file);
    EXPECT_LT(log.size(), 15000u);
    std::vector<std::string> lines = SplitLines(log);
    bool jedi = sample.flavour == Flavour::kJediAcademy;
    std::map<std::string, int> counts =
        MatchShapes(lines, sample.stamp, sample.shapes,
                    jedi ? std::span<const Shape>(kUnstamped) : std::span<const Shape>());
    ExpectEveryShape(counts, sample.shapes);
    KillCounts kills = CountKills(lines);
    EXPECT_EQ(kills.players.size(), sample.players.size());
    for (const Player& player : sample.players) {
      const bench::PlayerTally& found = kills.players[player.name];
      EXPECT_EQ(found.frags, player.frags) << player.name;
      EXPECT_EQ(found.deaths, player.deaths) << player.name;
      EXPECT_EQ(found.suicides, player.suicides) << player.name;
    }
    EXPECT_EQ(GameTypesOf(lines, sample.flavour), sample.types);
  }
}

TEST(FamilyLogGeneratorTest, CommandLineChecksWhatEachFamilyTakes) {
  struct Case {
    std::vector<const char*> args;
    bool runs;
    std::vector<int> types;
  };
  const Case kCases[] = {
      {{"server", "--out", "a", "--types", "ts,ctf,0", "--flavour", "urt"}, true, {4, 7, 0}},
      {{"server", "--out", "a", "--flavour", "jka", "--types", "powerduel,9"}, true, {4, 9}},
      {{"server", "--out", "a", "--flavour", "jka", "--wall-clock-style", "ctime", "--no-userinfo"},
       true,
       {}},
      {{"server", "--out", "a", "--flavour", "urt", "--types", "tourney"}, false, {}},
      {{"server", "--out", "a", "--flavour", "jka", "--types", "2,12"}, false, {}},
      {{"server", "--out", "a", "--types", "ts"}, false, {}},
      {{"client", "--out", "a", "--flavour", "urt"}, false, {}},
      {{"client", "--out", "a", "--flavour", "jka"}, false, {}},
      {{"server", "--out", "a", "--flavour", "urt", "--no-userinfo"}, false, {}},
      {{"server", "--out", "a", "--wall-clock-style", "iso"}, false, {}},
      {{"server", "--out", "a", "--flavour", "jka", "--wall-clock-style", "unix"}, false, {}},
  };
  for (const Case& c : kCases) {
    GeneratorOptions options;
    std::string error;
    bench::CommandLineResult result =
        bench::ParseCommandLine(static_cast<int>(c.args.size()), c.args.data(), &options, &error);
    EXPECT_EQ(result == bench::CommandLineResult::kRun, c.runs) << c.args[4] << ": " << error;
    if (c.runs) {
      EXPECT_EQ(options.gameTypes, c.types);
    }
  }
}

}  // namespace
}  // namespace vexor
