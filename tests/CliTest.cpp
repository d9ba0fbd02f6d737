// End-to-end: the vexor program run as a user runs it, its output, files and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
 protected:
  RunResult Run(const std::vector<std::string>& arguments) {
    std::string command = "cd " + Quote(folder.Path()) + " && " + Quote(VEXOR_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    command += " >" + Quote(folder.File("stdout.txt")) + " 2>" + Quote(folder.File("stderr.txt"));
    int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = test::ReadFile(folder.File("stdout.txt"));
    result.err = test::ReadFile(folder.File("stderr.txt"));
    return result;
  }
  std::string ServerLog(const std::string& name) {
    return folder.Write(name, Lines({InitGame("0:00"), Connect("0:00", 1, "^1Alice"),
                                     Connect("0:00", 2, "Bob"),
                                     At("0:30", "Kill: 1 2 10: ^1Alice killed Bob by MOD_RAILGUN"),
                                     At("2:00", "ShutdownGame:")}));
  }

  test::TempFolder folder;
};

TEST_F(CliTest, LoadsALogWritesTheReportAndPrintsTheSummary) {
  ServerLog("games.log");
  RunResult result = Run({"games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Loaded    2 players and    1 games from  1 log file.\n");
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(std::filesystem::exists(folder.File("html/games.htm")));
  EXPECT_TRUE(std::filesystem::exists(folder.File("html/games/game1.htm")));
}

TEST_F(CliTest, SeveralLogsAndAnotherStartDirectory) {
  ServerLog("a.log");
  ServerLog("b.log");
  std::filesystem::create_directory(folder.File("start"));
  RunResult result = Run({"-C", "start", "a.log", "b.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Loaded    2 players and    2 games from  2 log files.\n");
  EXPECT_TRUE(std::filesystem::exists(folder.File("start/html/games.htm")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("html")));
}

TEST_F(CliTest, QuietAndNoReportWriteNothingButTheStatistics) {
  ServerLog("games.log");
  RunResult result = Run({"-q", "--no-report", "games.log"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_FALSE(std::filesystem::exists(folder.File("html/games.htm")));
}

TEST_F(CliTest, MissingLogFailsWithAMessageNamingIt) {
  RunResult result = Run({"nothere.log"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Warning!: The log file \"nothere.log\" cannot be read.\n");
}

TEST_F(CliTest, PathWithoutThreeLetterExtensionGetsCfg) {
  ServerLog("games.cfg");
  RunResult result = Run({"games"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(CliTest, BadUsageExitsWithTwoAndPointsToHelp) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"--frobnicate", "x.log"}, {"-C"}, {"--quiet=yes", "x.log"},
        std::vector<std::string>(31, "x.log")}) {
    RunResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_NE(result.err.find("Try 'vexor --help'"), std::string::npos);
  }
}

TEST_F(CliTest, HelpAndVersion) {
  RunResult help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: vexor"), std::string::npos);
  EXPECT_NE(help.out.find("--no-report"), std::string::npos);
  RunResult version = Run({"-V"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("vexor 1.40", 0), 0u);
}

}  // namespace
}  // namespace vexor
