// The sample logs: the generator's commands in samples/README.md still write them, and they
// load as the README says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"
#include "LogGenerator.h"
#include "TestSupport.h"
#include "base/Archive.h"

namespace vexor {
namespace {

using bench::GeneratorOptions;
using bench::GeneratorSummary;

using test::Generate;

// The commands of samples/README.md.
struct Sample {
  const char* file;
  std::vector<const char*> args;
};

TEST(SampleLogsTest, SamplesAreWhatTheirCommandsWrite) {
  const Sample kSamples[] = {
      {"server-ffa-ctf.log",
       {"server",
        "--games",
        "9",
        "--players",
        "16",
        "--per-game",
        "7",
        "--kills",
        "45",
        "--seed",
        "70",
        "--types",
        "ffa,ffa,ffa,ctf,ctf,tdm,tourney",
        "--short",
        "0.15",
        "--churn",
        "0.3",
        "--collide",
        "0.15",
        "--no-shutdown",
        "0.1",
        "--renames",
        "0.1",
        "--out",
        "samples/server-ffa-ctf.log"}},
      {"client-console.log",
       {"client", "--games", "7", "--players", "14", "--per-game", "7", "--kills", "50", "--seed",
        "17", "--types", "ffa,ffa,ffa,ctf,tdm,tourney", "--churn", "0.3", "--renames", "0.1",
        "--out", "samples/client-console.log"}},
      {"openarena-server.log",
       {"server", "--flavour", "openarena", "--games", "5", "--players", "10", "--per-game", "6",
        "--kills", "45", "--self", "0.1", "--seed", "88", "--types", "ffa,ffa,tdm", "--maps",
        "oasago2,aggressor,oa_dm1,oa_dm4,wrackdm17", "--churn", "0.3", "--out",
        "samples/openarena-server.log"}},
      {"openarena-client.log",
       {"client", "--flavour", "openarena", "--games", "5", "--players", "10", "--per-game", "6",
        "--kills", "50", "--self", "0.12", "--seed", "88", "--types", "ffa,ffa,tdm", "--maps",
        "oasago2,aggressor,oa_dm1,oa_dm4,wrackdm17", "--out", "samples/openarena-client.log"}},
      {"server-renames.log",
       {"server", "--games", "3", "--players", "8", "--per-game", "6", "--kills", "30", "--seed",
        "11", "--begin-renames", "0.3", "--renames", "0.25", "--out",
        "samples/server-renames.log"}},
  };
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.file);
    GeneratorOptions options;
    std::string error;
    ASSERT_EQ(bench::ParseCommandLine(static_cast<int>(sample.args.size()), sample.args.data(),
                                      &options, &error),
              bench::CommandLineResult::kRun)
        << error;
    GeneratorSummary summary;
    std::string expected = test::ReadFile(std::string(VEXOR_SAMPLES) + "/" + sample.file);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(Generate(options, &summary) == expected)
        << "the generator no longer writes this sample; write it again and update "
           "samples/README.md";
  }
  // What samples/README.md says the server sample shows.
  test::LoadFixture load;
  ASSERT_TRUE(load.Load({std::string(VEXOR_SAMPLES) + "/server-ffa-ctf.log"}));
  EXPECT_EQ(load.doc.gameCount, 9);
  EXPECT_EQ(load.doc.nameCount, 19);
  EXPECT_EQ(load.doc.displayedGameCount, 8);
  EXPECT_TRUE(load.Game(6).shortGame);
  EXPECT_EQ(load.Game(9).gameTypeName, "Tournament");
  EXPECT_GT(load.PlayerNumber("MajorTom_1"), 0);
  // The OpenArena samples: the bots (Anarki, Angel, Orbb) are players with frags, weapons, play
  // time and kill-table entries; the client log's team kills credit the killer by name.
  test::LoadFixture openArena;
  ASSERT_TRUE(openArena.Load({std::string(VEXOR_SAMPLES) + "/openarena-server.log"}));
  EXPECT_EQ(openArena.doc.gameCount, 5);
  EXPECT_EQ(openArena.doc.nameCount, 10);
  EXPECT_EQ(openArena.doc.displayedGameCount, 5);
  for (const char* bot : {"Anarki", "Angel", "Orbb"}) {
    SCOPED_TRACE(bot);
    const PlayerRecord& player = openArena.Player(bot);
    EXPECT_GT(player.frags, 0);
    EXPECT_GT(player.totalSeconds, 600);
    int32_t weaponFrags = 0;
    for (int32_t frags : player.weaponFrags) weaponFrags += frags;
    EXPECT_GT(weaponFrags, 0);
  }
  // Renamed players keep their kills: every kill line counts for the players connected in its
  // client numbers, and the tables hold them all.
  for (const char* log : {"server-renames.log", "openarena-renames.log"}) {
    SCOPED_TRACE(log);
    test::LoadFixture renames;
    ASSERT_TRUE(renames.Load({std::string(VEXOR_SAMPLES) + "/" + log}));
    std::string text = test::ReadFile(std::string(VEXOR_SAMPLES) + "/" + log);
    int64_t killLines = 0;
    for (size_t at = text.find(" Kill: "); at != std::string::npos;
         at = text.find(" Kill: ", at + 1)) {
      ++killLines;
    }
    int64_t counted = 0;
    int64_t inTables = 0;
    for (int32_t p = 1; p <= renames.doc.playerCount; ++p) {
      const PlayerRecord& player = renames.doc.players[static_cast<size_t>(p)];
      counted += player.frags + player.suicides;
    }
    for (int32_t g = 1; g <= renames.doc.gameCount; ++g) {
      const KillTables& kills = renames.Game(g).kills;
      for (int32_t k = 0; k < kills.Size(); ++k) {
        for (int32_t v = 0; v < kills.Size(); ++v) {
          inTables += kills.Get(KillTables::kAllWeapons, k, v);
        }
      }
    }
    EXPECT_EQ(counted, killLines);
    EXPECT_EQ(inTables, killLines);
  }
  test::LoadFixture named;
  ASSERT_TRUE(named.Load({std::string(VEXOR_SAMPLES) + "/openarena-renames.log"}));
  EXPECT_EQ(named.doc.nameCount, 3);  // Angel, RedSarge and the connect's UnnamedPlayer
  EXPECT_EQ(named.Player("UnnamedPlayer").frags, 3);
  EXPECT_EQ(named.Player("UnnamedPlayer").suicides, 2);
  EXPECT_EQ(named.Player("Angel").frags, 4);
  EXPECT_EQ(named.Player("Angel").deaths, 3);
  EXPECT_EQ(named.Player("RedSarge").deaths, 3);
  ASSERT_TRUE(openArena.Load({std::string(VEXOR_SAMPLES) + "/openarena-client.log"}));
  EXPECT_EQ(openArena.doc.gameCount, 5);
  EXPECT_EQ(openArena.doc.nameCount, 10);
  EXPECT_LT(openArena.PlayerNumber("TEAMMATE Vexor"), 0);
}

}  // namespace
}  // namespace vexor
