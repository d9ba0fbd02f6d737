// vexor --follow run as an admin runs it beside a game server: a log written line by line and
// rotated is followed until SIGTERM, and every output ends as a fresh load of the log writes it;
// SIGTERM in the middle of an update leaves complete files of one update or the other.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace vexor {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const std::vector<std::string> kOutputs = {"--json", "stats.json", "--csv", "stats.csv",
                                           "--game-lines"};

// vexor running in a folder, standard output and error going to files there. A run the test
// has not finished is killed when the test ends.
class Vexor {
 public:
  Vexor(const std::string& folder, const std::vector<std::string>& arguments) {
    std::vector<char*> argv = {const_cast<char*>(VEXOR_CLI_PATH)};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::string out = folder + "/stdout.txt";
    std::string err = folder + "/stderr.txt";
    m_pid = ::fork();
    if (m_pid != 0) return;
    int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::chdir(folder.c_str()) != 0 || outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 ||
        ::dup2(errFd, 2) < 0) {
      ::_exit(127);
    }
    ::execv(VEXOR_CLI_PATH, argv.data());
    ::_exit(127);
  }
  ~Vexor() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    Finish();
  }
  void Signal(int signal) { ::kill(m_pid, signal); }
  // The exit status once the process has ended; -1 when a signal ended it.
  int Finish() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t m_pid = 0;
};

// What a run leaves in its folder besides the logs and its standard output and error. A
// follower may be writing meanwhile (whileWriting): its temporary files come and go and are
// left out, and a file or folder that vanishes during the listing only makes the listing differ
// from what is awaited. Once the run has ended, a temporary file left behind is listed.
std::map<std::string, std::string> Outputs(const std::string& folder, bool whileWriting = false) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().lexically_relative(folder).string();
    std::error_code typeError;
    if (!it->is_regular_file(typeError) || name.find(".log") != std::string::npos ||
        (whileWriting && name.find(".tmp-") != std::string::npos) || name.starts_with("std")) {
      continue;
    }
    files[name] = test::ReadFile(it->path().string());
  }
  return files;
}

// The outputs of a fresh run over a copy of the log.
std::map<std::string, std::string> FreshOutputs(const std::string& logBytes) {
  test::TempFolder fresh;
  fresh.Write("games.log", logBytes);
  std::vector<std::string> arguments = kOutputs;
  arguments.push_back("games.log");
  EXPECT_EQ(Vexor(fresh.Path(), arguments).Finish(), 0);
  return Outputs(fresh.Path());
}

// Waits up to half a minute for the folder's outputs to become the expected ones.
bool BecomeWithin(const std::string& folder, const std::map<std::string, std::string>& expected) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < end) {
    if (Outputs(folder, true) == expected) return true;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return false;
}

void Append(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::vector<std::string> FollowArguments() {
  std::vector<std::string> arguments = {"--follow", "--interval", "0.2"};
  arguments.insert(arguments.end(), kOutputs.begin(), kOutputs.end());
  arguments.push_back("games.log");
  return arguments;
}

TEST(CliFollowTest, ALogWrittenLineByLineAndRotatedIsFollowedUntilSigterm) {
  test::TempFolder folder;
  std::string log = folder.Write("games.log", test::DuelGame(1));
  Vexor vexor(folder.Path(), FollowArguments());
  ASSERT_TRUE(BecomeWithin(folder.Path(), FreshOutputs(test::DuelGame(1))));

  // The server writes the next game a line at a time; its fourth line is cut by a pause longer
  // than the writer's pause that an update waits for.
  std::string next = test::DuelGame(3);
  size_t line = 0;
  for (size_t at = 0; at < next.size(); ++line) {
    size_t end = next.find('\n', at) + 1;
    size_t piece = line == 3 ? 20 : end - at;
    Append(log, next.substr(at, piece));
    std::this_thread::sleep_for(milliseconds(piece < end - at ? 600 : 10));
    at += piece;
  }
  EXPECT_TRUE(BecomeWithin(folder.Path(), FreshOutputs(test::DuelGame(1) + next)));

  // Rotation: the log is moved away and the server starts a new one.
  fs::rename(log, folder.File("games.log.1"));
  folder.Write("games.log", test::DuelGame(4));
  EXPECT_TRUE(BecomeWithin(folder.Path(), FreshOutputs(test::DuelGame(4))));

  vexor.Signal(SIGTERM);
  EXPECT_EQ(vexor.Finish(), 0);
  std::string out = test::ReadFile(folder.File("stdout.txt"));
  EXPECT_EQ(out.rfind("Loaded    2 players and    1 games from  1 log file.\n", 0), 0u) << out;
  EXPECT_NE(out.find(": 2 games, 2 players in "), std::string::npos) << out;
  EXPECT_NE(out.find(": 1 games, 2 players in "), std::string::npos) << out;
  EXPECT_EQ(test::ReadFile(folder.File("stderr.txt")).find("Warning!"), std::string::npos);
}

TEST(CliFollowTest, SigtermDuringAnUpdateLeavesTheCompleteFilesOfOneUpdate) {
  std::string before;
  for (int game = 0; game < 300; ++game)
    before += test::DuelGame(game % 7);
  std::string after = before + test::DuelGame(9);
  std::map<std::string, std::string> expected[] = {FreshOutputs(before), FreshOutputs(after)};
  // The update begins once the writer has paused for a quarter of a second.
  for (int delay : {0, 260, 300}) {
    SCOPED_TRACE(delay);
    test::TempFolder folder;
    std::string log = folder.Write("games.log", before);
    Vexor vexor(folder.Path(), FollowArguments());
    ASSERT_TRUE(BecomeWithin(folder.Path(), expected[0]));
    Append(log, test::DuelGame(9));
    std::this_thread::sleep_for(milliseconds(delay));
    vexor.Signal(SIGTERM);
    EXPECT_EQ(vexor.Finish(), 0);
    std::map<std::string, std::string> left = Outputs(folder.Path());
    EXPECT_TRUE(left == expected[0] || left == expected[1]);
  }
}

}  // namespace
}  // namespace vexor
