// The benchmark's custom-variable sets: definitions a user could store, that count what
// generated logs hold without inventing players.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "LogGenerator.h"
#include "TestSupport.h"
#include "VariableSets.h"
#include "base/Archive.h"
#include "customvars/SearchString.h"
#include "customvars/VariableFile.h"
#include "log/VariableMatch.h"

namespace vexor {
namespace {

bench::GeneratorOptions Log(bench::LogKind kind) {
  bench::GeneratorOptions options;
  options.kind = kind;
  options.games = 20;
  options.players = 30;
  options.perGame = 8;
  options.kills = 60;
  options.seed = 21;
  options.renames = 0;  // in a client log a new name is a new player
  return options;
}

using test::Generate;

// Every target of a set points into it and every used slot adds something.
template <typename Set>
void ExpectSlotsInside(const Set& set, int32_t count) {
  for (int32_t v = 1; v <= count; ++v) {
    const auto& variable = set[static_cast<size_t>(v)];
    SCOPED_TRACE(variable.name);
    EXPECT_LE(variable.name.size(), 15u);
    EXPECT_EQ(variable.ordinal, v);
    int used = 0;
    for (const SlotFields& slot : kSlotsInRecordOrder) {
      if (variable.*slot.change == 0) continue;
      ++used;
      EXPECT_GE(variable.*slot.target, 1);
      EXPECT_LE(variable.*slot.target, count);
      EXPECT_NE(variable.*slot.value, 0);
    }
    EXPECT_GT(used, 0);
  }
}

// Both styles: the spread sets and the second workload's crowded ones.
TEST(VariableSetsTest, FullSetsHoldDefinitionsAUserCouldStore) {
  using bench::VariableStyle;
  for (VariableStyle style : {VariableStyle::kSpread, VariableStyle::kCrowdedClientLog,
                              VariableStyle::kCrowdedServerLog}) {
    SCOPED_TRACE(static_cast<int>(style));
    ClientVariableSet client{};
    ServerVariableSet server{};
    ASSERT_EQ(bench::BuildClientVariables(99, &client, style), 49);
    ASSERT_EQ(bench::BuildServerVariables(49, &server, style), 49);
    ExpectSlotsInside(client, 49);
    ExpectSlotsInside(server, 49);
    std::set<std::string> texts;
    for (int32_t v = 1; v <= 49; ++v) {
      const ClientVariable& c = client[static_cast<size_t>(v)];
      EXPECT_TRUE(MatchesStringType(c.searchString, c.stringType)) << c.searchString;
      EXPECT_TRUE(ServerVariableTakesPart(server[static_cast<size_t>(v)]));
      texts.insert(c.searchString);
    }
    // Crowded: five definitions or so on each of nine obituaries.
    if (style == VariableStyle::kCrowdedClientLog) {
      EXPECT_EQ(texts.size(), 9u);
    }
  }
  ClientVariableSet client{};
  bench::BuildClientVariables(49, &client);
  ClientVariableSet small{};
  EXPECT_EQ(bench::BuildClientVariables(10, &small), 10);
  EXPECT_EQ(small[10], client[10]);
  EXPECT_EQ(small[11], ClientVariable{});
}

TEST(VariableSetsTest, FilesReadBackAsBuilt) {
  test::TempFolder folder;
  std::string error;
  ASSERT_TRUE(bench::WriteClientVariableFile(folder.File("c.var"), 12, &error)) << error;
  ASSERT_TRUE(bench::WriteServerVariableFile(folder.File("s.var"), 49, &error)) << error;
  ClientVariableSet built{};
  bench::BuildClientVariables(12, &built);
  std::string bytes = test::ReadFile(folder.File("c.var"));
  MemorySource source(bytes);
  ArchiveReader archive(source);
  ClientVariableSet read{};
  int32_t count = 0;
  ASSERT_TRUE(ReadVariableSet(archive, &count, &read));
  EXPECT_EQ(count, 12);
  EXPECT_EQ(read, built);
  EXPECT_FALSE(bench::WriteServerVariableFile(folder.File("missing/s.var"), 49, &error));
  EXPECT_NE(error, "");
}

// A definition that cut names wrongly would add players in the discovery pass: the client log
// must load with the same names, and the totals must count what the log holds.
TEST(VariableSetsTest, ClientSetCountsWithoutAddingNames) {
  bench::GeneratorSummary summary;
  std::string log = Generate(Log(bench::LogKind::kClient), &summary);
  test::LoadFixture plain;
  ASSERT_TRUE(plain.LoadText(log));
  test::LoadFixture counted;
  counted.doc.clientVarCount = bench::BuildClientVariables(49, &counted.doc.clientVars);
  ASSERT_TRUE(counted.LoadText(log));
  EXPECT_EQ(counted.doc.nameCount, plain.doc.nameCount);
  EXPECT_EQ(counted.doc.playerCount, plain.doc.playerCount);
  int64_t entered = 0;
  int64_t suicides = 0;
  for (int32_t p = 1; p <= counted.doc.playerCount; ++p) {
    const PlayerRecord& player = counted.doc.players[static_cast<size_t>(p)];
    entered += player.clientVarTotals[4];  // "PLAYER1 entered the game"
    suicides += player.clientVarTotals[3];
  }
  EXPECT_EQ(entered, summary.Get("entries"));
  EXPECT_EQ(suicides, summary.Get("suicides"));
}

// Every "Kill:" line counts once for the player its definition names: the killer of a frag,
// the victim of a death by the world or by his own hand.
TEST(VariableSetsTest, ServerSetCountsEveryKillByItsMeansOfDeath) {
  bench::GeneratorSummary summary;
  std::string log = Generate(Log(bench::LogKind::kServer), &summary);
  test::LoadFixture load;
  load.doc.serverVarCount = bench::BuildServerVariables(49, &load.doc.serverVars);
  ASSERT_TRUE(load.LoadText(log));
  int64_t items = 0;
  for (int32_t v = 1; v <= load.doc.serverVarCount; ++v) {
    const ServerVariable& variable = load.doc.serverVars[static_cast<size_t>(v)];
    int64_t total = 0;
    for (int32_t p = 1; p <= load.doc.playerCount; ++p) {
      total += load.doc.players[static_cast<size_t>(p)].serverVarTotals[static_cast<size_t>(v)];
    }
    if (variable.idstring == "Kill:") {
      EXPECT_EQ(total, summary.Get("mod." + variable.modstring)) << variable.modstring;
    } else {
      items += total;
    }
  }
  EXPECT_GT(items, 0);
}

}  // namespace
}  // namespace vexor
