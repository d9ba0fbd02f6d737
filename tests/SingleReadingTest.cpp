// A client log loaded alone is read once, both passes' work done line by line: it must load the
// document its two passes load, and show the load as one step.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "stats/DataFile.h"

namespace vexor {
namespace {

using test::ClientLog;

struct Variable {
  const char* searchString;
  bool secondPlayer;  // counts for player 2 as well
};

// Every form a search string takes, obituary phrasings among them, and one that reads an
// obituary's victim with a word of its verb ("Alice was" of "Alice^7 was railed by Bob^7").
constexpr Variable kVariables[] = {
    {"PLAYER1 was railed by PLAYER2", true},
    {"PLAYER1 railed by PLAYER2", false},
    {"PLAYER1 entered the game", false},
    {"PLAYER1 cratered.", false},
    {"PLAYER1 almost dodged PLAYER2 's rocket", true},
    {"^5 PLAYER1", false},
    {"(PLAYER1 )^Y: ^5gg", false},
};

class SingleReadingTest : public ::testing::Test {
 protected:
  // Loads the log through the driver with the variables above, read once or in two passes;
  // the saved data file, or "" when the load failed.
  static std::string Load(const std::string& log, bool single, std::vector<WorkStep>* steps) {
    test::DriverLoad load;
    load.onFileStarted = [steps](WorkStep step, int) { steps->push_back(step); };
    load.doc.clientVarCount = static_cast<int32_t>(std::size(kVariables));
    for (size_t v = 0; v < std::size(kVariables); ++v) {
      ClientVariable& variable = load.doc.clientVars[v + 1];
      variable.name = "v" + std::to_string(v + 1);
      variable.searchString = kVariables[v].searchString;
      variable.p1Change = 1;
      variable.p1Target = static_cast<int32_t>(v + 1);
      variable.p1Value = 1;
      variable.p2Change = kVariables[v].secondPlayer ? 1 : 0;
      variable.p2Target = 1;
      variable.p2Value = -1;
    }
    load.driver.SetSingleReading(single);
    if (!load.LoadFiles({load.Write("client.log", log)})) return "";
    std::string error;
    std::string path = load.folder.File("saved.dat");
    load.doc.reportIndexPath = "games.htm";  // the folders differ
    EXPECT_TRUE(SaveDataFile(load.doc, path, &error)) << error;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(SingleReadingTest, LoadsWhatTheTwoPassesLoad) {
  const std::string sample = test::ReadFile(std::string(VEXOR_SAMPLES) + "/client-console.log");
  const std::string openArena =
      test::ReadFile(std::string(VEXOR_SAMPLES) + "/openarena-client.log");
  const std::string lateName = ClientLog({
      "CL_InitCGame: 1203 msec",
      "Alice^7 was railed by Bob^7",
      "Alice was^7 entered the game",
      "Alice^7 cratered.",
  });
  // Lines before the first game, names of colour codes alone, "Default", a team kill's mark,
  // kills of names that entered no game, several games and the names they share.
  const std::string edges = ClientLog({
      "Carl^7 entered the game",
      "Carl^7 was railed by Dora^7",
      "trying to load maps/q3dm17.bsp",
      "CL_InitCGame: 1203 msec",
      "^7^7 entered the game",
      "Default^7 was railed by Eve^7",
      "Eve^7 almost dodged ^1TEAMMATE^7 Carl^7's rocket",
      "(Eve^7)^Y: ^5gg",
      "CL_InitCGame: 1203 msec",
      "Fay^7 entered the game",
      "Carl^7 was railed by Fay^7",
      "Fay^7 cratered.",
      "CL_InitCGame: 1203 msec",
  });
  const std::vector<WorkStep> twoPasses = {WorkStep::kDiscovery, WorkStep::kStatistics};
  const struct {
    const std::string& log;
    bool readAgain;  // in two passes, after the single reading
  } cases[] = {{sample, false}, {openArena, false}, {lateName, true}, {edges, false}};
  for (const auto& c : cases) {
    std::vector<WorkStep> once;
    std::vector<WorkStep> twice;
    std::string single = Load(c.log, true, &once);
    ASSERT_FALSE(single.empty());
    EXPECT_EQ(single, Load(c.log, false, &twice)) << c.log;
    EXPECT_EQ(twice, twoPasses);
    std::vector<WorkStep> expected = {WorkStep::kReading};
    if (c.readAgain) expected.insert(expected.end(), twoPasses.begin(), twoPasses.end());
    EXPECT_EQ(once, expected) << c.log;
  }
}

// "Alice was" is named by a variable on the obituary's line and by the log only on the next
// line: the two passes count him there, so the single reading must give way to them.
TEST_F(SingleReadingTest, AVariableNamingAPlayerBeforeTheLogDoesCountsHim) {
  test::DriverLoad load;
  load.doc.clientVarCount = 1;
  ClientVariable& railed = load.doc.clientVars[1];
  railed.name = "railed";
  railed.searchString = "PLAYER1 railed by PLAYER2";
  railed.p1Change = 1;
  railed.p1Target = 1;
  railed.p1Value = 1;
  ASSERT_TRUE(load.LoadFiles(
      {load.Write("client.log", ClientLog({"CL_InitCGame: 1203 msec", "Alice^7 was railed by Bob^7",
                                           "Alice was^7 entered the game"}))}));
  ASSERT_EQ(load.doc.nameCount, 3);
  EXPECT_EQ(load.doc.players[3].name, "Alice was");
  EXPECT_EQ(load.doc.players[3].clientVarTotals.at(1), 1);
}

}  // namespace
}  // namespace vexor
