// The log generator: the same seed gives the same bytes, and what it says a log holds is what
// a reader finds in it (server logs through the engine's passes, client logs by their lines).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include <set>

#include "CommandLine.h"
#include "GamePlan.h"
#include "LineBuffer.h"
#include "LogGenerator.h"
#include "PlayerPool.h"
#include "TestSupport.h"
#include "base/Archive.h"

namespace vexor {
namespace {

using bench::GeneratorOptions;
using bench::GeneratorSummary;
using bench::LogKind;

// Small logs: every means of death and message appears, and a test stays fast under the
// sanitizers.
GeneratorOptions SmallLog(LogKind kind, uint64_t seed = 11) {
  GeneratorOptions options;
  options.kind = kind;
  options.games = 14;
  options.players = 30;
  options.perGame = 8;
  options.kills = 45;
  options.seed = seed;
  return options;
}

using test::Generate;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    if (end == std::string_view::npos) end = text.size() - 1;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Seconds of a server line's game clock; -1 when the line does not start with one ("  0:07 ",
// minutes right-aligned in at least three characters).
int64_t ClockOf(std::string_view line) {
  size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon < 3 || line.size() < colon + 4 ||
      line[colon + 3] != ' ')
    return -1;
  int64_t minutes = 0;
  bool digits = false;
  for (size_t i = 0; i < colon; ++i) {
    char c = line[i];
    if (c == ' ' && !digits) continue;
    if (c < '0' || c > '9') return -1;
    minutes = minutes * 10 + (c - '0');
    digits = true;
  }
  char tens = line[colon + 1];
  char ones = line[colon + 2];
  if (!digits || tens < '0' || tens > '5' || ones < '0' || ones > '9') return -1;
  return minutes * 60 + (tens - '0') * 10 + (ones - '0');
}

TEST(LogGeneratorTest, SameSeedGivesSameBytesAndAnotherSeedOthers) {
  for (LogKind kind : {LogKind::kServer, LogKind::kClient}) {
    GeneratorSummary a, b, c;
    std::string first = Generate(SmallLog(kind, 5), &a);
    std::string again = Generate(SmallLog(kind, 5), &b);
    std::string other = Generate(SmallLog(kind, 6), &c);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, again);
    EXPECT_EQ(a.Text(), b.Text());
    EXPECT_NE(first, other);
    EXPECT_EQ(a.Get("bytes"), static_cast<int64_t>(first.size()));
  }
}

TEST(LogGeneratorTest, ServerLinesCarryARunningClockAndConnectsTheirUserInformation) {
  GeneratorOptions options = SmallLog(LogKind::kServer);
  options.noise = 2;
  options.clock = bench::ClockMode::kContinue;
  GeneratorSummary summary;
  std::string log = Generate(options, &summary);
  std::vector<std::string_view> lines = SplitLines(log);
  ASSERT_EQ(static_cast<int64_t>(lines.size()), summary.Get("lines"));
  int64_t previous = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    int64_t clock = ClockOf(line);
    ASSERT_GE(clock, 0) << "line " << i + 1 << ": " << line.substr(0, 80);
    EXPECT_GE(clock, previous) << "line " << i + 1 << " goes back in time";
    previous = clock;
    std::string_view event = line.substr(line.find(':') + 4);
    if (event.starts_with("ClientConnect: ")) {
      ASSERT_LT(i + 1, lines.size());
      std::string expected = "ClientUserinfoChanged: " + std::string(event.substr(15)) + " n\\";
      EXPECT_EQ(lines[i + 1].substr(lines[i + 1].find(':') + 4, expected.size()), expected);
    }
  }
  EXPECT_GT(previous, 99 * 60) << "the minutes should pass 99 in a log that never restarts";
}

struct ServerCase {
  const char* name;
  void (*adjust)(GeneratorOptions*);
};

const ServerCase kServerCases[] = {
    {"defaults", [](GeneratorOptions*) {}},
    {"busy",
     [](GeneratorOptions* o) {
       o->churn = 0.6;
       o->collide = 0.5;
       o->renames = 0.4;
       o->beginRenames = 0.3;
       o->noShutdown = 0.2;
       o->shortGames = 0.2;
     }},
    {"lowest free numbers",
     [](GeneratorOptions* o) {
       o->slots = bench::SlotMode::kLowest;
       o->churn = 0.6;
       o->collide = 0.5;
     }},
    {"bare lines, clock reset",
     [](GeneratorOptions* o) {
       o->noise = 0;
       o->clock = bench::ClockMode::kReset;
     }},
    {"heavy noise, CR LF",
     [](GeneratorOptions* o) {
       o->noise = 2;
       o->crlf = true;
       o->gameTypes = {3, 4, 5};
     }},
    // Bots log their user information before they connect.
    {"OpenArena",
     [](GeneratorOptions* o) {
       o->flavour = bench::Flavour::kOpenArena;
       o->gameTypes = {0, 3};
       o->collide = 0.3;
     }},
    {"OpenArena, bare lines",
     [](GeneratorOptions* o) {
       o->flavour = bench::Flavour::kOpenArena;
       o->noise = 0;
       o->slots = bench::SlotMode::kLowest;
     }},
};

int64_t SumOver(const VexoriumDoc& doc, int64_t (*value)(const PlayerRecord&)) {
  int64_t sum = 0;
  for (int32_t p = 1; p <= doc.playerCount; ++p)
    sum += value(doc.players[static_cast<size_t>(p)]);
  return sum;
}

int64_t TableSum(const VexoriumDoc& doc, int table) {
  int64_t sum = 0;
  for (int32_t g = 1; g <= doc.gameCount; ++g) {
    const KillTables& kills = doc.games[static_cast<size_t>(g)].kills;
    for (int32_t k = 0; k < kills.Size(); ++k) {
      for (int32_t v = 0; v < kills.Size(); ++v)
        sum += kills.Get(table, k, v);
    }
  }
  return sum;
}

TEST(LogGeneratorTest, ServerLogLoadsWithTheGamesPlayersAndKillsItHolds) {
  for (const ServerCase& c : kServerCases) {
    SCOPED_TRACE(c.name);
    GeneratorOptions options = SmallLog(LogKind::kServer);
    c.adjust(&options);
    GeneratorSummary summary;
    test::LoadFixture load;
    ASSERT_TRUE(load.LoadText(Generate(options, &summary)));
    const VexoriumDoc& doc = load.doc;
    EXPECT_EQ(doc.gameCount, options.games);
    EXPECT_EQ(summary.Get("games"), options.games);
    EXPECT_EQ(doc.nameCount, summary.Get("names"));
    EXPECT_EQ(doc.playerCount, summary.Get("names"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.frags; }),
              summary.Get("expected.frags"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.deaths; }),
              summary.Get("expected.deaths"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.suicides; }),
              summary.Get("expected.suicides"));
    EXPECT_EQ(SumOver(doc,
                      [](const PlayerRecord& p) -> int64_t {
                        int64_t sum = 0;
                        for (int32_t frags : p.weaponFrags)
                          sum += frags;
                        return sum;
                      }),
              summary.Get("expected.weaponFrags"));
    EXPECT_EQ(TableSum(doc, KillTables::kAllWeapons),
              summary.Get("expected.tableFrags") + summary.Get("expected.suicides"));
    int64_t weaponTables = 0;
    for (int t = 1; t < KillTables::kTableCount; ++t)
      weaponTables += TableSum(doc, t);
    EXPECT_EQ(weaponTables, summary.Get("expected.weaponFrags"));
    int64_t presence = 0;
    for (int32_t g = 1; g <= doc.gameCount; ++g)
      presence += load.Game(g).playerNumber;
    EXPECT_EQ(presence, summary.Get("expected.presence"));
    if (options.slots == bench::SlotMode::kSticky) {
      EXPECT_EQ(doc.displayedGameCount, options.games - summary.Get("hiddenGames"));
    }
  }
}

TEST(LogGeneratorTest, WholePoolPlaysAndEveryMeansOfDeathAppears) {
  for (bench::Flavour flavour : {bench::Flavour::kQuake3, bench::Flavour::kOpenArena}) {
    GeneratorOptions options = SmallLog(LogKind::kServer);
    options.flavour = flavour;
    GeneratorSummary summary;
    Generate(options, &summary);
    EXPECT_EQ(summary.Get("poolPlayersUsed"), 30);
    for (bench::KillKind kind :
         {bench::KillKind::kFrag, bench::KillKind::kWorld, bench::KillKind::kSelf}) {
      for (const bench::MeansOfDeath& mod : bench::MeansOfDeathOf(kind, flavour)) {
        if (!mod.LoggedIn(flavour)) continue;
        EXPECT_GT(summary.Get(std::string("mod.") + mod.name), 0) << mod.name;
      }
    }
  }
  // Numbers OpenArena gives to Team Arena's weapons are only Quake 3's made-up splash means.
  GeneratorOptions options = SmallLog(LogKind::kServer);
  options.flavour = bench::Flavour::kOpenArena;
  GeneratorSummary summary;
  Generate(options, &summary);
  EXPECT_EQ(summary.Get("mod.MOD_RAILGUN_SPLASH"), 0);
  EXPECT_EQ(summary.Get("mod.MOD_GRAPPLE"), 0);
}

// A client message by the part in the middle and the end of the line (without "\n").
struct ClientForm {
  const char* key;
  const char* middle;
  const char* end;
};

const ClientForm kClientForms[] = {
    {"obituary.was_machinegunned_by", "^7 was machinegunned by ", "^7"},
    {"obituary.was_pummeled_by", "^7 was pummeled by ", "^7"},
    {"obituary.was_gunned_down_by", "^7 was gunned down by ", "^7"},
    {"obituary.was_melted_by.plasmagun", "^7 was melted by ", "^7's plasmagun"},
    {"obituary.was_railed_by", "^7 was railed by ", "^7"},
    {"obituary.was_caught_by", "^7 was caught by ", "^7"},
    {"obituary.was_shredded_by.shrapnel", "^7 was shredded by ", "^7's shrapnel"},
    {"obituary.was_electrocuted_by", "^7 was electrocuted by ", "^7"},
    {"obituary.was_blasted_by.BFG", "^7 was blasted by ", "^7's BFG"},
    {"obituary.was_killed_by", "^7 was killed by ", "^7"},
    {"obituary.ate.rocket", "^7 ate ", "^7's rocket"},
    {"obituary.almost_dodged.rocket", "^7 almost dodged ", "^7's rocket"},
    {"obituary.ate.grenade", "^7 ate ", "^7's grenade"},
    {"obituary.tried_to_invade.personal_space", "^7 tried to invade ", "^7's personal space"},
    {"suicide.suicides", "", "^7 suicides."},
    {"suicide.cratered", "", "^7 cratered."},
    {"suicide.was_squished", "", "^7 was squished."},
    {"suicide.sank_like_a_rock", "", "^7 sank like a rock."},
    {"suicide.melted", "", "^7 melted."},
    {"suicide.does_a_back_flip_into_the_lava", "", "^7 does a back flip into the lava."},
    {"suicide.saw_the_light", "", "^7 saw the light."},
    {"suicide.was_in_the_wrong_place", "", "^7 was in the wrong place."},
    {"suicide.tripped_on_her_own_grenade", "", "^7 tripped on her own grenade."},
    {"suicide.tripped_on_his_own_grenade", "", "^7 tripped on his own grenade."},
    {"suicide.tripped_on_its_own_grenade", "", "^7 tripped on its own grenade."},
    {"suicide.blew_herself_up", "", "^7 blew herself up."},
    {"suicide.blew_himself_up", "", "^7 blew himself up."},
    {"suicide.blew_itself_up", "", "^7 blew itself up."},
    {"suicide.melted_herself", "", "^7 melted herself."},
    {"suicide.melted_himself", "", "^7 melted himself."},
    {"suicide.melted_itself", "", "^7 melted itself."},
    {"suicide.killed_herself", "", "^7 killed herself."},
    {"suicide.killed_himself", "", "^7 killed himself."},
    {"suicide.killed_itself", "", "^7 killed itself."},
    {"suicide.should_have_used_a_smaller_gun", "", "^7 should have used a smaller gun."},
};

TEST(LogGeneratorTest, ClientLogShowsEveryMessageAndTheLinesItCounts) {
  for (int32_t noise : {0, 1, 2}) {
    SCOPED_TRACE(noise);
    GeneratorOptions options = SmallLog(LogKind::kClient);
    options.noise = noise;
    GeneratorSummary summary;
    std::string log = Generate(options, &summary);
    std::vector<std::string_view> lines = SplitLines(log);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].starts_with("logfile opened on "));
    std::vector<int64_t> forms(std::size(kClientForms), 0);
    int64_t starts = 0, mapLoads = 0, entries = 0, killLines = 0;
    bool mapSinceStart = false;
    for (std::string_view line : lines) {
      if (line.starts_with("CL_InitCGame:")) {
        ++starts;
        EXPECT_TRUE(mapSinceStart) << "game " << starts << " starts without a map load";
        mapSinceStart = false;
      } else if (line.starts_with("trying to load maps/")) {
        EXPECT_TRUE(line.ends_with(".bsp"));
        ++mapLoads;
        mapSinceStart = true;
      } else if (line.ends_with("^7 entered the game")) {
        ++entries;
      }
      int matches = 0;
      for (size_t f = 0; f < std::size(kClientForms); ++f) {
        // A name, the middle, a name and the end (suicides: a name and the end).
        std::string_view middle = kClientForms[f].middle;
        std::string_view end = kClientForms[f].end;
        size_t at = middle.empty() ? 0 : line.find(middle);
        bool names = middle.empty() ? line.size() > end.size()
                                    : at != std::string_view::npos && at > 0 &&
                                          line.size() > at + middle.size() + end.size();
        if (names && line.ends_with(end)) {
          ++forms[f];
          ++matches;
        }
      }
      EXPECT_LE(matches, 1) << line;
      killLines += matches;
    }
    EXPECT_EQ(starts, summary.Get("games"));
    EXPECT_EQ(starts, options.games);
    EXPECT_EQ(mapLoads, summary.Get("mapLoads"));
    EXPECT_EQ(entries, summary.Get("entries"));
    EXPECT_EQ(killLines, summary.Get("obituaries") + summary.Get("suicides"));
    for (size_t f = 0; f < std::size(kClientForms); ++f) {
      EXPECT_EQ(forms[f], summary.Get(kClientForms[f].key)) << kClientForms[f].key;
      EXPECT_GT(forms[f], 0) << kClientForms[f].key;
    }
  }
}

// OpenArena's client messages by the part in the middle and the end of the line.
const ClientForm kOpenArenaForms[] = {
    {"obituary.was_nailed_by", "^7 was nailed by ", "^7"},
    {"obituary.got_lead_poisoning_from.Chaingun", "^7 got lead poisoning from ", "^7's Chaingun"},
    {"obituary.was_too_close_to.Prox_Mine", "^7 was too close to ", "^7's Prox Mine"},
    {"obituary.falls_to.Kamikaze_blast", "^7 falls to ", "^7's Kamikaze blast"},
    {"obituary.was_juiced_by", "^7 was juiced by ", "^7"},
    {"obituary.was_given_a_hot_bath_by", "^7 was given a hot bath by ", "^7"},
    {"obituary.was_given_a_acid_bath_by", "^7 was given a acid bath by ", "^7"},
    {"obituary.was_given_a_small_push_by", "^7 was given a small push by ", "^7"},
    {"obituary.was_helped_on_the_way_by", "^7 was helped on the way by ", "^7"},
    {"obituary.was_crushed_in.trap", "^7 was crushed in ", "^7's trap"},
    {"suicide.found_his_prox_mine", "", "^7 found his prox mine."},
    {"suicide.found_her_prox_mine", "", "^7 found her prox mine."},
    {"suicide.found_it's_prox_mine", "", "^7 found it's prox mine."},
    {"suicide.goes_out_with_a_bang", "", "^7 goes out with a bang."},
};

// A client log loaded through both passes counts every obituary as one frag and one death and
// every suicide message as one suicide, and finds the names the log shows: team kills' marks
// are no names.
TEST(LogGeneratorTest, ClientLogLoadsWithEveryObituaryAndSuicideItHolds) {
  for (bench::Flavour flavour : {bench::Flavour::kQuake3, bench::Flavour::kOpenArena}) {
    SCOPED_TRACE(flavour == bench::Flavour::kQuake3 ? "Quake 3" : "OpenArena");
    GeneratorOptions options = SmallLog(LogKind::kClient);
    options.flavour = flavour;
    options.gameTypes = {0, 3, 4};
    GeneratorSummary summary;
    std::string log = Generate(options, &summary);
    test::LoadFixture load;
    ASSERT_TRUE(load.LoadText(log));
    const VexoriumDoc& doc = load.doc;
    EXPECT_EQ(doc.gameCount, options.games);
    EXPECT_EQ(doc.nameCount, summary.Get("names"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.frags; }),
              summary.Get("obituaries"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.deaths; }),
              summary.Get("obituaries"));
    EXPECT_EQ(SumOver(doc, [](const PlayerRecord& p) -> int64_t { return p.suicides; }),
              summary.Get("suicides"));
    if (flavour == bench::Flavour::kQuake3) {
      EXPECT_EQ(log.find("TEAMMATE"), std::string::npos);
      continue;
    }
    EXPECT_GT(summary.Get("teamKills"), 0);
    EXPECT_LT(summary.Get("teamKills") * 5, summary.Get("obituaries"));
    for (const ClientForm& form : kOpenArenaForms) {
      EXPECT_GT(summary.Get(form.key), 0) << form.key;
      std::string end = std::string(form.end) + "\n";
      EXPECT_NE(log.find(form.middle), std::string::npos) << form.key;
      EXPECT_NE(log.find(end), std::string::npos) << form.key;
    }
  }
}

TEST(LogGeneratorTest, GameClocksAreRightAlignedAndLinesSurviveSmallBlocks) {
  StringSink sink;
  {
    bench::LineBuffer out(sink, true, 64);
    for (int64_t seconds : {0, 7, 754, 99 * 60 + 59, 100 * 60, 123456 * 60 + 5}) {
      out.AppendClock(seconds);
      out.EndLine();
    }
    out.Append(std::string(100, 'x'));  // larger than the block
    out.AppendPadded(-5, 4);
    out.AppendInt(1022);
    out.EndLine();
    EXPECT_EQ(out.Lines(), 7u);
  }
  EXPECT_EQ(sink.Bytes(), "  0:00\r\n  0:07\r\n 12:34\r\n 99:59\r\n100:00\r\n123456:05\r\n" +
                              std::string(100, 'x') + "  -51022\r\n");
}

struct CommandLineCase {
  std::vector<const char*> args;
  bench::CommandLineResult result;
};

TEST(LogGeneratorTest, CommandLineTakesEveryOptionAndRefusesWhatItCannotUse) {
  const CommandLineCase kCases[] = {
      {{"client",    "--out",     "a.log",         "--games=3",
        "--players", "7",         "--per-game",    "4",
        "--kills",   "9",         "--seed",        "18446744073709551615",
        "--types",   "ctf,tdm,0", "--maps",        "q3dm6,q3ctf1",
        "--noise",   "2",         "--no-shutdown", "0.5",
        "--churn",   "1",         "--collide",     "0",
        "--short",   "0.1",       "--world",       "0.2",
        "--self",    "0.3",       "--renames",     "0.25",
        "--clock",   "reset",     "--slots",       "lowest",
        "--crlf",    "--quiet",   "--summary",     "a.sum",
        "--flavour", "openarena"},
       bench::CommandLineResult::kRun},
      {{"server", "--out", "a.log", "--help"}, bench::CommandLineResult::kHelp},
      {{"--out", "a.log"}, bench::CommandLineResult::kError},  // no kind
      {{"server"}, bench::CommandLineResult::kError},          // nowhere to write
      {{"server", "--out", "a.log", "--bogus"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--games"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--games", "12x"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--players", "0"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--per-game", "49"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--churn", "1.5"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--world", "0.6", "--self", "0.6"},
       bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--types", "ffa,deathmatch"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--maps", "q3dm6,my map"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--clock", "sometimes"}, bench::CommandLineResult::kError},
      {{"server", "--out", "a.log", "--flavour", "quake4"}, bench::CommandLineResult::kError},
  };
  for (const CommandLineCase& c : kCases) {
    GeneratorOptions options;
    std::string error;
    bench::CommandLineResult result =
        bench::ParseCommandLine(static_cast<int>(c.args.size()), c.args.data(), &options, &error);
    EXPECT_EQ(result, c.result) << c.args.back() << ": " << error;
    EXPECT_EQ(error.empty(), result != bench::CommandLineResult::kError) << error;
  }
  GeneratorOptions options;
  std::string error;
  const std::vector<const char*>& all = kCases[0].args;
  ASSERT_EQ(bench::ParseCommandLine(static_cast<int>(all.size()), all.data(), &options, &error),
            bench::CommandLineResult::kRun);
  EXPECT_EQ(options.kind, LogKind::kClient);
  EXPECT_EQ(options.games, 3);
  EXPECT_EQ(options.seed, 18446744073709551615ULL);
  EXPECT_EQ(options.gameTypes, (std::vector<int>{4, 3, 0}));
  EXPECT_EQ(options.maps, (std::vector<std::string>{"q3dm6", "q3ctf1"}));
  EXPECT_DOUBLE_EQ(options.renames, 0.25);
  EXPECT_EQ(options.slots, bench::SlotMode::kLowest);
  EXPECT_TRUE(options.crlf);
  EXPECT_EQ(options.summary, "a.sum");
  EXPECT_EQ(options.flavour, bench::Flavour::kOpenArena);
}

TEST(LogGeneratorTest, PoolNamesAreUniqueAndNeverLookLikePartOfALine) {
  bench::Random random(3);
  bench::PlayerPool pool(2495, random);
  ASSERT_EQ(pool.Size(), 2495);
  std::set<std::string> keys;
  int coloured = 0;
  int bots = 0;
  for (int32_t i = 0; i < pool.Size(); ++i) {
    const bench::PoolPlayer& player = pool[i];
    EXPECT_TRUE(keys.insert(player.key).second) << player.key;
    EXPECT_EQ(player.key, bench::StripColours(player.raw));
    for (const char* bad : {" was ", " by ", " ate ", "killed", "\\", "\n"}) {
      EXPECT_EQ(player.raw.find(bad), std::string::npos) << player.raw;
    }
    // A name like Bob_1 is what a reader calls a second Bob in one game.
    size_t n = player.key.size();
    EXPECT_FALSE(n >= 2 && player.key[n - 2] == '_' && player.key[n - 1] >= '0' &&
                 player.key[n - 1] <= '9');
    if (player.raw != player.key) ++coloured;
    if (player.bot) ++bots;
  }
  EXPECT_GT(coloured, 2495 / 5);
  EXPECT_GT(bots, 20);
  EXPECT_EQ(pool[1].gender, bench::Gender::kFemale);
  EXPECT_EQ(pool[2].gender, bench::Gender::kNeuter);
}

// Over many busy games: a kill happens only between players connected at its time, and no two
// players connected at once share a client number.
TEST(LogGeneratorTest, PlansKeepKillsToConnectedPlayersAndNumbersApart) {
  for (bench::SlotMode slots : {bench::SlotMode::kSticky, bench::SlotMode::kLowest}) {
    GeneratorOptions options = SmallLog(LogKind::kServer);
    options.games = 200;
    options.slots = slots;
    options.churn = 0.7;
    options.collide = 0.5;
    options.renames = 0.3;
    bench::Random random(9);
    bench::PlayerPool pool(options.players, random);
    bench::GamePlanner planner(options, pool, 4);
    bench::GamePlan plan;
    for (int32_t g = 1; g <= options.games; ++g) {
      planner.Plan(g, &plan);
      ASSERT_FALSE(plan.participants.empty());
      for (const bench::PlannedKill& kill : plan.kills) {
        ASSERT_GT(kill.time, 0);
        ASSERT_LT(kill.time, plan.duration);
        EXPECT_GE(plan.participants[static_cast<size_t>(kill.victim)].StintAt(kill.time), 0);
        if (kill.killer >= 0) {
          EXPECT_GE(plan.participants[static_cast<size_t>(kill.killer)].StintAt(kill.time), 0);
        }
        EXPECT_EQ(kill.killer == kill.victim, kill.kind == bench::KillKind::kSelf);
      }
      for (int32_t t = 1; t < plan.duration; t += 7) {
        std::set<int32_t> numbers;
        for (const bench::Participant& p : plan.participants) {
          int32_t s = p.StintAt(t);
          if (s < 0) continue;
          EXPECT_TRUE(numbers.insert(p.stints[static_cast<size_t>(s)].slot).second) << "game " << g;
        }
      }
    }
  }
}

TEST(LogGeneratorTest, WindowsLineEndsEndEveryLine) {
  GeneratorOptions options = SmallLog(LogKind::kServer);
  options.crlf = true;
  GeneratorSummary summary;
  std::string log = Generate(options, &summary);
  size_t lineFeeds = 0;
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i] != '\n') continue;
    ++lineFeeds;
    ASSERT_TRUE(i > 0 && log[i - 1] == '\r') << "at byte " << i;
  }
  EXPECT_EQ(static_cast<int64_t>(lineFeeds), summary.Get("lines"));
}

}  // namespace
}  // namespace vexor
