// Cleaning of log files: end-of-file markers and carriage returns out, CR LF line ends in, the
// messages, and a log that is never lost or rewritten needlessly.
#include "stats/LogCleaner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestSupport.h"

namespace vexor {
namespace {

constexpr const char* kRemoved = "End Of File Markers removed.";
constexpr const char* kNothing = "No End Of File Markers to remove.";

class LogCleanerTest : public ::testing::Test {
 protected:
  // Cleans the chosen path; the result's message must be the one message shown.
  CleanResult Clean(const std::string& chosenPath) {
    prompter.Clear();
    CleanResult result = CleanLogFile(chosenPath, prompter);
    EXPECT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages().back().text, result.message);
    EXPECT_EQ(prompter.Messages().back().caption, result.caption);
    return result;
  }
  size_t FileCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder.Path()), {}));
  }
  static struct stat Stat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
  }

  test::TempFolder folder;
  ScriptedPrompter prompter;
};

TEST_F(LogCleanerTest, MarkersAndCarriageReturnsAreDroppedAndLineFeedsBecomeCrLf) {
  struct Case {
    std::string before, after;
    const char* message;
  };
  const Case cases[] = {
      {"a\nb\n\x1A", "a\r\nb\r\n", kRemoved},
      {"a\nb\n", "a\nb\n", kNothing},  // bare line feeds alone are left as they are
      {"a\nb\nc\x1A", "a\r\nb\r\nc", kRemoved},
      {"a\r\nb\r\n", "a\r\nb\r\n", kRemoved},  // carriage returns count as markers
      {"a\rb\r", "ab", kRemoved},
      {"x\x1Ay", "xy", kRemoved},  // the last byte once
      {"\x1A\r\x1A", "", kRemoved},
      {"", "", kNothing},
      {std::string("\0\t\x1B\xFF", 4), std::string("\0\t\x1B\xFF", 4), kNothing},
  };
  for (const Case& c : cases) {
    std::string log = folder.Write("games.log", c.before);
    ino_t inode = Stat(log).st_ino;
    CleanResult result = Clean(log);
    EXPECT_EQ(result.message, c.message) << c.before;
    EXPECT_EQ(result.caption, "Info");
    EXPECT_EQ(test::ReadFile(log), c.after) << c.before;
    EXPECT_EQ(result.status == CleanStatus::kCleaned, c.message == kRemoved);
    // A log with nothing to remove is not rewritten at all.
    if (c.message == kNothing) {
      EXPECT_EQ(Stat(log).st_ino, inode) << c.before;
    }
    EXPECT_EQ(FileCount(), 1u) << "a work or temporary file was left";
  }
}

TEST_F(LogCleanerTest, APathWithoutAThreeLetterExtensionGetsLog) {
  const std::pair<std::string, std::string> cases[] = {
      {"games.log", "games.log"}, {"games.txt", "games.txt"}, {"server", "server.log"},
      {"x.gz", "x.gz.log"},       {"a.b", "a.b.log"},         {"dir.d/log", "dir.d/log.log"}};
  for (const auto& [chosen, cleaned] : cases) EXPECT_EQ(CleanLogPath(chosen), cleaned) << chosen;

  std::string log = folder.Write("server.log", "a\n\x1A");
  ASSERT_EQ(::chmod(log.c_str(), 0640), 0);
  CleanResult result = Clean(folder.File("server"));
  EXPECT_EQ(result.status, CleanStatus::kCleaned);
  EXPECT_EQ(result.logPath, log);
  EXPECT_EQ(test::ReadFile(log), "a\r\n");
  EXPECT_EQ(Stat(log).st_mode & 07777, 0640u);
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(LogCleanerTest, FailuresNameTheFileAndLeaveTheLogAsItWas) {
  std::string missing = folder.File("gone.log");
  std::string directory = folder.File("folder.log");  // opens, but cannot be read
  std::filesystem::create_directory(directory);
  // A name so long that no temporary file can be made beside it.
  std::string longName = folder.Write(std::string(250, 'g') + ".log", "a\r\nb\x1A");
  const std::pair<std::string, CleanStatus> cases[] = {
      {missing, CleanStatus::kOpenFailed},
      {directory, CleanStatus::kReadFailed},
      {longName, CleanStatus::kWriteFailed}};
  for (const auto& [path, status] : cases) {
    CleanResult result = Clean(path);
    EXPECT_EQ(result.status, status) << path;
    EXPECT_EQ(result.caption, "Warning!");
    EXPECT_NE(result.message.find("\"" + path + "\""), std::string::npos) << result.message;
  }
  EXPECT_EQ(test::ReadFile(longName), "a\r\nb\x1A");
  EXPECT_EQ(FileCount(), 2u);
}

// Several megabytes, so that reading and writing cross many buffer boundaries; a CR LF pair is
// split by the first boundary and markers are scattered through the file.
TEST_F(LogCleanerTest, LargeLogsAreCleanedAcrossBufferBoundaries) {
  std::string before = std::string(1024 * 1024 - 1, 'x') + "\r\n";
  std::string after = std::string(1024 * 1024 - 1, 'x') + "\r\n";
  for (int line = 0; before.size() < 4 * 1024 * 1024; ++line) {
    std::string text = "1:23 Kill: 2 3 10: Alice killed Bob by MOD_RAILGUN " + std::to_string(line);
    before += text + (line % 3 == 0 ? "\n" : "\r\n") + (line % 1000 == 999 ? "\x1A" : "");
    after += text + "\r\n";
  }
  std::string log = folder.Write("big.log", before + "end");
  EXPECT_EQ(Clean(log).status, CleanStatus::kCleaned);
  EXPECT_TRUE(test::ReadFile(log) == after + "end");

  // Bare line feeds only: nothing to remove, until a marker appears in the very last byte.
  std::string bare, crlf;
  while (bare.size() < 3 * 1024 * 1024) {
    bare += "0:00 ShutdownGame:\n";
    crlf += "0:00 ShutdownGame:\r\n";
  }
  log = folder.Write("bare.log", bare);
  EXPECT_EQ(Clean(log).status, CleanStatus::kNothingFound);
  folder.Write("bare.log", bare + '\x1A');
  EXPECT_EQ(Clean(log).status, CleanStatus::kCleaned);
  EXPECT_TRUE(test::ReadFile(log) == crlf);
}

}  // namespace
}  // namespace vexor
