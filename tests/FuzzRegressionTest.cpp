// Every saved fuzz input, the seeds and the inputs that once broke a rule, replayed through its
// harness: each must run to its end (a broken rule aborts the test program).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"
#include "VariableDefinitions.h"
#include "stats/VexoriumDoc.h"

namespace vexor::fuzz {
namespace {

std::vector<std::filesystem::path> InputsOf(const std::string& harness) {
  std::vector<std::filesystem::path> inputs;
  for (const char* kind : {"corpus", "regressions"}) {
    std::filesystem::path folder = std::filesystem::path(VEXOR_FUZZ_INPUTS) / kind / harness;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  return inputs;
}

std::string Contents(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressionTest, EverySavedInputRunsThroughItsHarness) {
  size_t replayed = 0;
  for (const Harness& harness : Harnesses()) {
    std::vector<std::filesystem::path> inputs = InputsOf(harness.name);
    EXPECT_FALSE(inputs.empty()) << "no seed for " << harness.name;
    for (const auto& input : inputs) {
      SCOPED_TRACE(input.string());
      std::string bytes = Contents(input);
      harness.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0u);
}

TEST(FuzzRegressionTest, EmptyAndTinyInputsAreHandledByEveryHarness) {
  const std::string tiny[] = {"", "\n", std::string(1, '\0'), "\xff\xff\xff\xff", "--\n--\n"};
  for (const Harness& harness : Harnesses()) {
    for (const std::string& bytes : tiny) {
      harness.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
  }
}

// The definition lines must reach the document, or the variables harness fuzzes nothing but
// the log.
TEST(FuzzRegressionTest, DefinitionLinesBecomeStoredVariablesWhenTheFormCheckAcceptsThem) {
  VexoriumDoc doc;
  DefineVariables(
      "C Rails|PLAYER1 was railed by PLAYER2|3|1,0,1|1,0,2|0,0,0|0,0,0|1\n"
      "C No search string||0|1,0,1|0,0,0|0,0,0|0,0,0|1\n"
      "S Rockets|Kill:|-1|-1|7|MOD_ROCKET|1,0,1|1,1,-1|0,0,0|0,0,0|0\n"
      "S Three clients|Kill:|-1|-1|-1|MOD_ROCKET|1,0,1|0,0,0|0,0,0|0,0,0|1\n"
      "X not a definition\n",
      doc);
  ASSERT_EQ(doc.clientVarCount, 1);
  EXPECT_EQ(doc.clientVars[1].name, "Rails");
  EXPECT_EQ(doc.clientVars[1].stringType, 3);
  EXPECT_EQ(doc.clientVars[1].p2Value, 2);
  ASSERT_EQ(doc.serverVarCount, 1);
  EXPECT_EQ(doc.serverVars[1].modstring, "MOD_ROCKET");
  EXPECT_EQ(doc.serverVars[1].id3, 7);
  EXPECT_EQ(doc.serverVars[1].p2Target, 1);
  EXPECT_EQ(doc.serverVars[1].p2Value, -1);
  EXPECT_EQ(doc.serverVars[1].visible, 0);

  Options options;
  EXPECT_FALSE(OptionsLine("C x|y\n", &options));
  ASSERT_TRUE(OptionsLine("C x|y\nO 1|3|2|0|40\n", &options));
  EXPECT_EQ(options.sumGames, 1);
  EXPECT_EQ(options.groupSize, 3);
  EXPECT_EQ(options.groupStart, 2);
  EXPECT_EQ(options.hideShortGames, 0);
  EXPECT_EQ(options.shortGameThreshold, 40);
}

}  // namespace
}  // namespace vexor::fuzz
