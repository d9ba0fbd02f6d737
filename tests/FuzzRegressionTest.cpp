// Every saved fuzz input, the seeds and the inputs that once broke a rule, replayed through its
// harness: each must run to its end (a broken rule aborts the test program).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"

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

}  // namespace
}  // namespace vexor::fuzz
