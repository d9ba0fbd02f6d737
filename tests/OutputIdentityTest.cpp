// Everything Vexor writes for a season of generated logs stays byte for byte what it was when
// the digests below were recorded: the report pages, the CSV export with game lines, the data
// file, the JSON export and a printed table, for a load of server logs and one of a client log
// with custom variables, and for the data file opened again. Work on speed must keep every
// output as it is; a mismatch names the output that changed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "LogGenerator.h"
#include "TestSupport.h"
#include "VariableSets.h"
#include "base/StringPrintf.h"

namespace vexor {
namespace {

// FNV-1a, 64 bits: enough to tell any change, and the same on every machine.
uint64_t Digest(std::string_view bytes, uint64_t hash = 14695981039346656037ull) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(uint64_t value) {
  return StringPrintf("%016llx", static_cast<unsigned long long>(value));
}

class OutputIdentityTest : public ::testing::Test {
 protected:
  void WriteLog(const std::string& name, bench::LogKind kind, int32_t games, uint64_t seed) {
    bench::GeneratorOptions options;
    options.kind = kind;
    options.games = games;
    options.players = 40;
    options.perGame = 8;
    options.kills = 50;
    options.seed = seed;
    options.poolSeed = 77;  // one server's players in every log
    options.renames = kind == bench::LogKind::kClient ? 0.02 : 0.05;
    StringSink sink;
    bench::GeneratorSummary summary;
    bench::GenerateLog(options, sink, &summary);
    folder.Write(name, sink.Bytes());
  }

  // Runs vexor in the scratch folder; standard output goes to the file named out.
  void Run(const std::vector<std::string>& arguments, const std::string& out) {
    std::string command = "cd '" + folder.Path() + "' && '" + VEXOR_CLI_PATH + "'";
    for (const std::string& argument : arguments)
      command += " '" + argument + "'";
    command += " >'" + folder.File(out) + "' 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << test::ReadFile(folder.File(out));
  }

  // One digest over every file below a folder of the scratch folder, in path order, names
  // included.
  std::string FolderDigest(const std::string& name) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.File(name))) {
      if (entry.is_regular_file()) {
        files.push_back(std::filesystem::relative(entry.path(), folder.Path()).string());
      }
    }
    std::sort(files.begin(), files.end());
    uint64_t hash = Digest("");
    for (const std::string& file : files) {
      hash = Digest(file, hash);
      hash = Digest(test::ReadFile(folder.File(file)), hash);
    }
    return Hex(hash) + " (" + std::to_string(files.size()) + " files)";
  }

  std::string FileDigest(const std::string& name) {
    return Hex(Digest(test::ReadFile(folder.File(name))));
  }

  void ExpectDigests(const std::map<std::string, std::string>& expected) {
    for (const auto& [output, digest] : expected) {
      std::string actual =
          output.find('.') == std::string::npos ? FolderDigest(output) : FileDigest(output);
      EXPECT_EQ(actual, digest) << output << " is no longer what it was";
    }
  }

  test::TempFolder folder;
};

TEST_F(OutputIdentityTest, ASeasonOfServerLogsWritesTheSameFiles) {
  WriteLog("a.log", bench::LogKind::kServer, 25, 1);
  WriteLog("b.log", bench::LogKind::kServer, 25, 2);
  WriteLog("c.log", bench::LogKind::kServer, 20, 3);
  std::string error;
  ASSERT_TRUE(bench::WriteClientVariableFile(folder.File("client.var"), 10, &error)) << error;
  ASSERT_TRUE(bench::WriteServerVariableFile(folder.File("server.var"), 49, &error)) << error;
  std::filesystem::create_directories(folder.File("start"));
  std::filesystem::create_directories(folder.File("again"));
  Run({"-C", "start", "--client-vars", "client.var", "--server-vars", "server.var", "--table",
       "server1", "--csv", "season.csv", "--game-lines", "--save", "season.dat", "--json",
       "season.json", "a.log", "b.log", "c.log"},
      "season.txt");
  Run({"-C", "again", "--open", "season.dat", "--table", "main", "--json", "again.json"},
      "again.txt");
  // Recorded again when renamed players kept their kills: these logs hold renames (logs
  // without any give the bytes they gave before). Recorded again when a player who leaves a game
  // and comes back to it stayed one player: these logs hold such returns, which made Bob_1
  // records before and zeroed the game's values of a return under the same number. The JSON
  // digests were recorded again when the export gained each player's rating and the awards:
  // members added, nothing before them changed.
  ExpectDigests({
      {"start", "fd261fb4f6590dda (69 files)"},
      {"season.txt", "a937d08710adbb6b"},
      {"season.csv", "081c609cdb54d14f"},
      {"season.dat", "301388778d2d3715"},
      {"season.json", "6610a0cf6489886b"},
      {"again", "0942dbf079011c62 (69 files)"},
      {"again.txt", "d4aa37f5df468717"},
      {"again.json", "78efc8f1fa8a702a"},
  });
}

TEST_F(OutputIdentityTest, AClientLogWithEveryClientVariableWritesTheSameFiles) {
  WriteLog("qconsole.log", bench::LogKind::kClient, 40, 5);
  std::string error;
  ASSERT_TRUE(bench::WriteClientVariableFile(folder.File("client.var"), 49, &error)) << error;
  std::filesystem::create_directories(folder.File("start"));
  Run({"-C", "start", "--client-vars", "client.var", "--table", "client6", "--csv", "client.csv",
       "--game-lines", "--save", "client.dat", "--json", "client.json", "qconsole.log"},
      "client.txt");
  // client.json recorded again with the players' ratings and the awards added.
  ExpectDigests({
      {"start", "d2a491adb80746cc (41 files)"},
      {"client.txt", "8f93448868015618"},
      {"client.csv", "29549ae2ce86537d"},
      {"client.dat", "6de5a5d10da9fb14"},
      {"client.json", "23433b1f9e6f85f8"},
  });
}

}  // namespace
}  // namespace vexor
