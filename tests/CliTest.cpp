// End-to-end: the vexor program run as a user runs it, its output, files and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "VariableSets.h"
#include "ui/PrintTables.h"

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
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
 protected:
  // In the sanitizer build the program is built with the sanitizers too: a report of theirs
  // (an error or a leak) ends it with kSanitizerExit, or with SIGABRT under abort_on_error,
  // and fails the test whatever exit status the test expects.
  RunResult Run(const std::vector<std::string>& arguments) {
    std::string command = "cd " + Quote(folder.Path()) + " && " + shellPrefix +
                          kSanitizerExitOptions + " " + Quote(VEXOR_CLI_PATH);
    for (const std::string& argument : arguments)
      command += " " + Quote(argument);
    std::string out = outputTo.empty() ? folder.File("stdout.txt") : outputTo;
    command += " >" + Quote(out) + " 2>" + Quote(folder.File("stderr.txt"));
    int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (outputTo.empty()) result.out = test::ReadFile(out);
    result.err = test::ReadFile(folder.File("stderr.txt"));
    bool sanitizerReport = result.err.find("Sanitizer") != std::string::npos ||
                           result.err.find("runtime error:") != std::string::npos;
    if (sanitizerReport || result.exitCode == kSanitizerExit || result.exitCode < 0 ||
        result.exitCode >= 128) {
      ADD_FAILURE() << "vexor ended by a sanitizer or a signal (status " << result.exitCode
                    << "):\n"
                    << result.err;
    }
    return result;
  }
  static constexpr int kSanitizerExit = 86;
  static constexpr const char* kSanitizerExitOptions =
      "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=86\" "
      "UBSAN_OPTIONS=\"${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}exitcode=86\"";
  std::string ServerLog(const std::string& name) {
    return folder.Write(
        name, Lines({InitGame("0:00"), Connect("0:00", 1, "^1Alice"), Connect("0:00", 2, "Bob"),
                     At("0:30", "Kill: 1 2 10: ^1Alice killed Bob by MOD_RAILGUN"),
                     At("2:00", "ShutdownGame:")}));
  }

  test::TempFolder folder;
  std::string shellPrefix;  // shell commands run before the program, such as "ulimit -f 1; "
  std::string outputTo;     // where standard output goes instead of a file read back
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
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"--frobnicate", "x.log"},
                                                    {"-C"},
                                                    {"--quiet=yes", "x.log"},
                                                    std::vector<std::string>(31, "x.log"),
                                                    {"--interval", "2", "x.log"},
                                                    {"--follow", "--open", "x.dat"},
                                                    {"--follow", "--table", "main", "x.log"},
                                                    {"--follow", "--interval", "0.05", "x.log"},
                                                    {"--follow", "--interval=1e3", "x.log"},
                                                    {"--follow", "--interval", "86401", "x.log"}}) {
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

namespace vexor {
namespace {

TEST_F(CliTest, CsvExportAfterTheLoad) {
  ServerLog("games.log");
  RunResult result = Run({"-q", "--csv", "out.csv", "--game-lines", "games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  std::string csv = test::ReadFile(folder.File("out.csv"));
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
            "Alice, 1, 0, 0, 120, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0\r\n");
  EXPECT_NE(csv.find("Alice: Game 1, 1, 0, 0, 1, "), std::string::npos);

  EXPECT_EQ(Run({"--game-lines", "games.log"}).exitCode, 2);
  RunResult failed = Run({"-q", "--csv", "no/such/folder/out.csv", "games.log"});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.err.find("no/such/folder/out.csv"), std::string::npos);
}

TEST_F(CliTest, CleanRewritesALogAndReportsTheOutcome) {
  folder.Write("server.log", "a\nb\x1a");
  RunResult result = Run({"--clean", "server"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "Info: End Of File Markers removed.\n");
  EXPECT_EQ(test::ReadFile(folder.File("server.log")), "a\r\nb");

  folder.Write("plain.log", "a\nb\n");
  EXPECT_EQ(Run({"-q", "--clean", "plain.log"}).err, "");
  EXPECT_EQ(test::ReadFile(folder.File("plain.log")), "a\nb\n");

  RunResult missing = Run({"-q", "--clean", "missing.log"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("missing.log"), std::string::npos);
  EXPECT_EQ(Run({"--clean", "a.log", "b.log"}).exitCode, 2);
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

TEST_F(CliTest, SaveThenOpenGivesTheSameStatisticsAndTables) {
  ServerLog("games.log");
  RunResult saved = Run({"-q", "--save", "stats.dat", "--table", "main", "games.log"});
  EXPECT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_EQ(saved.out.substr(0, saved.out.find('\n')),
            "NAME      FRGS  DTHS  SCDS  SKLL  GAPL   TIME    FPH    DPH   SPH");
  std::filesystem::remove_all(folder.File("html"));
  RunResult opened = Run({"--open", "stats.dat", "--table", "main", "--save", "again.dat"});
  EXPECT_EQ(opened.exitCode, 0) << opened.err;
  EXPECT_EQ(opened.out, "Loaded    2 players and    1 games from  1 log file.\n" + saved.out);
  EXPECT_TRUE(std::filesystem::exists(folder.File("html/games.htm")));  // rewritten
  EXPECT_EQ(test::ReadFile(folder.File("again.dat")), test::ReadFile(folder.File("stats.dat")));
}

TEST_F(CliTest, DamagedDataFileFailsAndTablesAndJsonNeedValidInput) {
  folder.Write("bad.dat", "\x05junk");
  RunResult result = Run({"--open", "bad.dat"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("bad.dat"), std::string::npos);
  EXPECT_EQ(Run({"--table", "nosuch", "x.log"}).exitCode, 2);
  EXPECT_EQ(Run({"--open", "x.dat", "x.log"}).exitCode, 2);
  EXPECT_EQ(Run({"--open", "x.dat", "--client-vars", "v.var"}).exitCode, 2);
}

TEST_F(CliTest, JsonExportAndTheExportOrderStopsAtAFailure) {
  ServerLog("games.log");
  RunResult result = Run({"-q", "--json", "out.json", "games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  std::string json = test::ReadFile(folder.File("out.json"));
  EXPECT_EQ(json.front(), '{');
  EXPECT_NE(json.find("\"Alice\""), std::string::npos);
  // A failing CSV export stops the data file and JSON that follow it.
  RunResult failed = Run(
      {"-q", "--csv", "no/dir/x.csv", "--save", "late.dat", "--json", "late.json", "games.log"});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(folder.File("late.dat")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("late.json")));
}

// Compares a file the program wrote with tests/data/graph/NAME; on a mismatch writes
// NAME.actual beside it. VEXOR_UPDATE_GOLDEN=1 rewrites the golden file.
void ExpectGoldenGraph(const std::string& actual, const std::string& name) {
  std::string path = std::string(VEXOR_TEST_DATA) + "/graph/" + name;
  if (std::getenv("VEXOR_UPDATE_GOLDEN") != nullptr)
    std::ofstream(path, std::ios::binary) << actual;
  std::filesystem::remove(path + ".actual");
  if (actual == test::ReadFile(path)) return;
  std::ofstream(path + ".actual", std::ios::binary) << actual;
  ADD_FAILURE() << "the graph differs from " << path << "; see " << path << ".actual";
}

TEST_F(CliTest, GraphIsWrittenAsSvgAndABadChoiceIsRefused) {
  folder.Write("games.log",
               Lines({InitGame("0:00"), Connect("0:00", 1, "^1Alice"), Connect("0:00", 2, "B<o>b"),
                      At("0:30", "Kill: 1 2 10: ^1Alice killed B<o>b by MOD_RAILGUN"),
                      At("0:40", "Kill: 2 1 7: B<o>b killed ^1Alice by MOD_ROCKET_SPLASH"),
                      At("1:00", "Kill: 1 2 10: ^1Alice killed B<o>b by MOD_RAILGUN"),
                      At("9:00", "ShutdownGame:"), InitGame("9:10"), Connect("9:10", 1, "^1Alice"),
                      Connect("9:10", 2, "B<o>b"),
                      At("9:30", "Kill: 1 2 10: ^1Alice killed B<o>b by MOD_RAILGUN"),
                      At("19:00", "ShutdownGame:")}));
  // Classic unless asked otherwise, so that scripts keep their pictures.
  const std::pair<const char*, const char*> kStyles[] = {
      {"", "cumulative-frags-deaths.svg"},
      {"classic", "cumulative-frags-deaths.svg"},
      {"modern", "cumulative-frags-deaths-modern.svg"}};
  for (const auto& [style, golden] : kStyles) {
    SCOPED_TRACE(style);
    std::vector<std::string> arguments = {"-q",      "--no-report",  "--graph",
                                          "g.svg",   "--players",    "B<o>b,Alice",
                                          "--stats", "deaths,frags", "--cumulative"};
    if (*style) arguments.insert(arguments.end(), {"--graph-style", style});
    arguments.push_back("games.log");
    RunResult result = Run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    ExpectGoldenGraph(test::ReadFile(folder.File("g.svg")), golden);
  }

  struct Refusal {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  } refusals[] = {
      {{"--players", "Carol", "--stats", "frags"},
       1,
       "vexor: --graph: no player is named \"Carol\""},
      {{"--players", "Alice", "--stats", ","},
       1,
       "Warning!: There are no variables selected to graph!"},
      {{"--players", "Alice,B<o>b", "--stats",
        "frags,deaths,suicides,fph,dph,sph,gauntlet,machinegun,shotgun"},
       1,
       "Warning!: You are trying to graph 18 variables. Thats too many! You should delete some."},
      {{"--players", "Alice"}, 2, "--graph needs --players NAME,NAME... and --stats LIST"},
      {{"--players", "Alice", "--stats", "frags", "--graph-style", "fancy"},
       2,
       "unknown graph style 'fancy' (classic or modern)"},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> arguments = {"-q", "--no-report", "--graph", "bad.svg"};
    arguments.insert(arguments.end(), refusal.arguments.begin(), refusal.arguments.end());
    arguments.push_back("games.log");
    RunResult refused = Run(arguments);
    EXPECT_EQ(refused.exitCode, refusal.exitCode) << refusal.message;
    EXPECT_NE(refused.err.find(refusal.message), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("bad.svg")));
  }
  EXPECT_EQ(Run({"--cumulative", "games.log"}).exitCode, 2);
  EXPECT_EQ(Run({"--graph-style", "modern", "games.log"}).exitCode, 2);
}

// FNV-1a over the data file and every report page under start (paths in byte order), each
// with its path: one number that changes when any byte of them does.
uint64_t LoadFingerprint(const std::string& start) {
  std::vector<std::string> files = {"d.dat"};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(start + "/html")) {
    if (entry.is_regular_file()) {
      files.push_back(std::filesystem::relative(entry.path(), start).string());
    }
  }
  std::sort(files.begin() + 1, files.end());
  uint64_t hash = 0xcbf29ce484222325ULL;
  auto add = [&hash](std::string_view bytes) {
    for (char c : bytes) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 0x100000001b3ULL;
    }
  };
  for (const std::string& file : files) {
    add(file);
    add(std::string_view("\0", 1));
    add(test::ReadFile(start + "/" + file));
  }
  return hash;
}

// Reading OpenArena logs changed nothing for the classic logs: the samples give the data files
// and reports they gave before, to the byte.
TEST_F(CliTest, ClassicSamplesGiveTheSameDataFilesAndReportsAsBefore) {
  struct Sample {
    const char* log;
    uint64_t fingerprint;
    size_t files;
  };
  const Sample kSamples[] = {
      // Its renamed players keep their kills since the kill lines' client numbers name them;
      // its players who leave a game and come back to it stay one player.
      {"server-ffa-ctf.log", 0x40d7184e61c74314ULL, 10},
      {"client-console.log", 0xacb56f6774cabed0ULL, 9},
  };
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.log);
    // The data file holds the report's path: a start directory named alike on every run.
    std::string relative = std::string(sample.log) + ".out";
    std::string start = folder.File(relative);
    std::filesystem::create_directory(start);
    RunResult result = Run({"-q", "-C", relative, "--save", relative + "/d.dat",
                            std::string(VEXOR_SAMPLES) + "/" + sample.log});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    size_t pages = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(start + "/html")) {
      if (entry.is_regular_file()) ++pages;
    }
    EXPECT_EQ(pages + 1, sample.files);
    EXPECT_EQ(LoadFingerprint(start), sample.fingerprint)
        << std::hex << "now 0x" << LoadFingerprint(start)
        << ": the statistics of a classic log changed; if that is meant, say why in the commit "
           "and record the new number";
  }
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

// Variable files before the load: their names head the tables of their side and the load
// counts with them. A damaged file shows its message, a missing one is named; both stop the run.
TEST_F(CliTest, VariableFilesAreInstalledBeforeTheLoad) {
  ServerLog("games.log");
  std::string error;
  ASSERT_TRUE(bench::WriteClientVariableFile(folder.File("c.var"), 12, &error)) << error;
  ASSERT_TRUE(bench::WriteServerVariableFile(folder.File("s.var"), 12, &error)) << error;
  ServerVariableSet server{};
  bench::BuildServerVariables(12, &server);
  ClientVariableSet client{};
  bench::BuildClientVariables(12, &client);
  const std::pair<const char*, std::string> kSides[] = {{"--server-vars", server[1].name},
                                                        {"--client-vars", client[1].name}};
  for (const auto& [option, firstName] : kSides) {
    SCOPED_TRACE(option);
    std::string file = std::string(option) == "--server-vars" ? "s.var" : "c.var";
    std::string table = std::string(option) == "--server-vars" ? "server1" : "client1";
    RunResult result = Run({"-q", "--no-report", option, file, "--table", table, "games.log"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::string heading = result.out.substr(0, result.out.find('\n'));
    EXPECT_EQ(heading.rfind("NAME", 0), 0u) << heading;
    EXPECT_NE(heading.find(firstName.substr(0, kPrintVariableHeadingCut)), std::string::npos)
        << heading;
    EXPECT_NE(result.out.find("Alice"), std::string::npos);
  }
  folder.Write("bad.var", "\x05junk");
  // A good server file after the bad client file changes nothing: the run stops at the first.
  for (bool withServer : {false, true}) {
    SCOPED_TRACE(withServer ? "with a good server file" : "alone");
    std::vector<std::string> arguments = {"-q", "--client-vars", "bad.var", "games.log"};
    if (withServer) arguments.insert(arguments.begin() + 1, {"--server-vars", "s.var"});
    RunResult bad = Run(arguments);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err,
              "Info: Sorry, that file was not opened properly. All variables are cleared.\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("html/games.htm")));
  }
  RunResult missing = Run({"-q", "--server-vars", "none.var", "games.log"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Warning!: The variable file \"none.var\" cannot be opened.\n");
}

// Every table name prints a table headed "NAME" with a row per player.
TEST_F(CliTest, EveryTableNamePrintsItsTable) {
  ServerLog("games.log");
  for (const char* name :
       {"main", "weapons", "client1", "client2", "client3", "client4", "client5", "client6",
        "server1", "server2", "server3", "server4", "server5", "server6"}) {
    RunResult result = Run({"-q", "--no-report", "--table", name, "games.log"});
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    EXPECT_EQ(result.out.rfind("NAME", 0), 0u) << name;
    EXPECT_NE(result.out.find("1. Alice"), std::string::npos) << name << "\n" << result.out;
    EXPECT_NE(result.out.find("2. Bob"), std::string::npos) << name << "\n" << result.out;
  }
}

// The rating table beside the print choices: Alice beat Bob in the only game, both new.
TEST_F(CliTest, RatingTableListsThePlayersBestFirst) {
  ServerLog("games.log");
  RunResult result = Run({"-q", "--no-report", "--table", "rating", "games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "NAME      RATING  DEVIATION   LOWER  VOLATILITY  GAMES\n"
            "1. Alice  1662.3      290.3  1081.7    0.060000      1\n"
            "2. Bob    1337.7      290.3   757.1    0.060000      1\n");
  EXPECT_EQ(Run({"--table", "ratings", "games.log"}).exitCode, 2);
}

// --site writes the web site after the other exports; a folder that is not a site is refused
// with the desktop program's message and no file of it is touched.
TEST_F(CliTest, SiteIsWrittenAndAForeignFolderIsRefused) {
  ServerLog("games.log");
  RunResult result = Run({"-q", "--json", "stats.json", "--site", "web", "games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(folder.File("web/players/p2.html")));
  EXPECT_TRUE(std::filesystem::exists(folder.File("stats.json")));
  // The report lies beside the site's folder: the game links to its page.
  std::string game = test::ReadFile(folder.File("web/games/g1.html"));
  EXPECT_NE(game.find("href=\"../../html/games/game1.htm\""), std::string::npos);
  EXPECT_EQ(Run({"-q", "--site", "web", "games.log"}).exitCode, 0);  // replaced whole

  std::filesystem::create_directory(folder.File("mine"));
  folder.Write("mine/notes.txt", "keep");
  RunResult refused = Run({"-q", "--site", "mine", "games.log"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err.rfind("Warning!: The web site cannot be written into mine", 0), 0u)
      << refused.err;
  EXPECT_EQ(test::ReadFile(folder.File("mine/notes.txt")), "keep");
}

// Progress on a standard error that is no terminal, erased when done; the long option names.
TEST_F(CliTest, ProgressAndLongOptionNames) {
  ServerLog("games.log");
  std::filesystem::create_directory(folder.File("start"));
  RunResult result = Run({"--progress", "--directory", "start", "games.log"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Loaded    2 players and    1 games from  1 log file.\n");
  EXPECT_NE(result.err.find("Reading games and players: file 1 of 1, 100%"), std::string::npos);
  EXPECT_NE(result.err.find("Writing the report"), std::string::npos);
  EXPECT_EQ(result.err.back(), '\r');  // the line is blanked at the end
  EXPECT_TRUE(std::filesystem::exists(folder.File("start/html/games.htm")));
  RunResult quiet = Run({"--quiet", "--progress", "--no-report", "games.log"});
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, "");
  RunResult version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("vexor 1.40 (build ", 0), 0u) << version.out;
  EXPECT_EQ(Run({"-h"}).out, Run({"--help"}).out);
}

// The OpenArena samples load as their README says, and the exports all run after one load.
TEST_F(CliTest, OpenArenaSamplesAndEveryExportInOneRun) {
  const std::pair<const char*, const char*> kSamples[] = {
      {"openarena-server.log", "Loaded   10 players and    5 games from  1 log file.\n"},
      {"openarena-client.log", "Loaded   10 players and    5 games from  1 log file.\n"}};
  for (const auto& [log, summary] : kSamples) {
    SCOPED_TRACE(log);
    std::filesystem::remove_all(folder.File("html"));
    RunResult result = Run({"--csv", "o.csv", "--game-lines", "--save", "o.dat", "--json", "o.json",
                            std::string(VEXOR_SAMPLES) + "/" + log});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, summary);
    EXPECT_EQ(result.err, "");
    EXPECT_NE(test::ReadFile(folder.File("o.csv")).find(": Game 1, "), std::string::npos);
    EXPECT_EQ(test::ReadFile(folder.File("o.json")).front(), '{');
    EXPECT_GT(test::ReadFile(folder.File("o.dat")).size(), 0u);
    EXPECT_TRUE(std::filesystem::exists(folder.File("html/games/game5.htm")));
  }
}

}  // namespace
}  // namespace vexor

namespace vexor {
namespace {

// A report page that cannot be written fails the run and is named; the summary still shows.
// Past a file size limit the exports fail with a message instead of the program being killed
// half-way: the previous file stays and no temporary file is left.
TEST_F(CliTest, WritesThatFailFailTheRunAndKeepThePreviousFiles) {
  ServerLog("games.log");
  std::filesystem::create_directories(folder.File("html"));
  folder.Write("html/games", "in the way");
  RunResult blocked = Run({"games.log"});
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_EQ(blocked.out, "Loaded    2 players and    1 games from  1 log file.\n");
  EXPECT_NE(blocked.err.find("html/games\" cannot be created"), std::string::npos) << blocked.err;
  EXPECT_EQ(test::ReadFile(folder.File("html/games")), "in the way");

  folder.Write("big.json", "previous");
  shellPrefix = "ulimit -f 1; ";  // 512 bytes
  RunResult limited = Run({"-q", "--no-report", "--json", "big.json",
                           std::string(VEXOR_SAMPLES) + "/server-ffa-ctf.log"});
  shellPrefix.clear();
  EXPECT_EQ(limited.exitCode, 1);
  EXPECT_NE(limited.err.find("\"big.json\" cannot be written"), std::string::npos) << limited.err;
  EXPECT_EQ(test::ReadFile(folder.File("big.json")), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

#if defined(__SANITIZE_ADDRESS__)
// In the sanitizer build the program run by these tests is built with the sanitizers too.
TEST_F(CliTest, TheProgramRunIsTheSanitizedOne) {
  std::string flags = folder.File("flags.txt");
  std::string command =
      "ASAN_OPTIONS=help=1 " + Quote(VEXOR_CLI_PATH) + " --version >" + Quote(flags) + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(test::ReadFile(flags).find("Available flags for AddressSanitizer"), std::string::npos);
}
#endif

// Standard output on a full disk: the table and the help are lost, and the run says so.
TEST_F(CliTest, OutputThatCannotBeWrittenFailsTheRun) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ServerLog("games.log");
  outputTo = "/dev/full";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--no-report", "--table", "main", "games.log"},
        std::vector<std::string>{"--help"}, std::vector<std::string>{"--version"}}) {
    RunResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 1) << arguments[0];
    EXPECT_EQ(result.err,
              "vexor: the standard output cannot be written: No space left on device\n");
  }
  EXPECT_EQ(Run({"--bogus"}).exitCode, 2);  // a usage error keeps its status
}

}  // namespace
}  // namespace vexor
