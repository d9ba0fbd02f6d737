// Cleaning of log files: end-of-file markers and carriage returns out, CR LF line ends in, the
// messages, and a log that is never lost or touched needlessly.
#include "stats/LogCleaner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"

namespace vexor {
namespace {

class LogCleanerTest : public ::testing::Test {
 protected:
  // Cleans the chosen path; the message shown must be the only one.
  CleanResult Clean(const std::string& chosenPath) {
    prompter.Clear();
    CleanResult result = CleanLogFile(chosenPath, prompter);
    EXPECT_EQ(prompter.Messages().size(), 1u);
    if (!prompter.Messages().empty()) {
      EXPECT_EQ(prompter.Messages()[0].text, result.message);
      EXPECT_EQ(prompter.Messages()[0].caption, result.caption);
      EXPECT_EQ(prompter.Messages()[0].buttons, MessageButtons::kOk);
    }
    return result;
  }

  // The names of the files in the scratch folder.
  std::vector<std::string> FolderFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static ino_t Inode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
  }

  test::TempFolder folder;
  ScriptedPrompter prompter;
};

constexpr const char* kRemoved = "End Of File Markers removed.";
constexpr const char* kNothing = "No End Of File Markers to remove.";

TEST_F(LogCleanerTest, MarkersAndCarriageReturnsAreDroppedAndLineFeedsBecomeCrLf) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
    const char* message;
  };
  const Case cases[] = {
      {"Ctrl-Z at the end", "a\nb\n\x1A", "a\r\nb\r\n", kRemoved},
      {"bare line feeds, no marker", "a\nb\n", "a\nb\n", kNothing},
      {"bare line feeds and a marker", "a\nb\nc\x1A", "a\r\nb\r\nc", kRemoved},
      {"CR LF line ends", "a\r\nb\r\n", "a\r\nb\r\n", kRemoved},
      {"lone carriage returns", "a\rb\r", "ab", kRemoved},
      {"the last byte once", "x\x1Ay", "xy", kRemoved},
      {"markers only", "\x1A\r\x1A", "", kRemoved},
      {"empty file", "", "", kNothing},
      {"other control bytes", std::string("\0\t\x1B\x7F\xFF", 5), std::string("\0\t\x1B\x7F\xFF", 5),
       kNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string log = folder.Write("games.log", c.before);
    ino_t before = Inode(log);
    CleanResult result = Clean(log);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(result.caption, "Info");
    EXPECT_EQ(result.logPath, log);
    EXPECT_EQ(test::ReadFile(log), c.after);
    bool cleaned = result.status == CleanStatus::kCleaned;
    EXPECT_EQ(cleaned, c.message == kRemoved);
    // A log with nothing to remove is not rewritten at all.
    if (!cleaned) {
      EXPECT_EQ(Inode(log), before);
    }
    // Neither a work file nor a temporary file is left behind.
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"games.log"});
  }
}

TEST_F(LogCleanerTest, APathWithoutAThreeLetterExtensionGetsLog) {
  const std::pair<std::string, std::string> cases[] = {
      {"games.log", "games.log"}, {"games.txt", "games.txt"}, {"server", "server.log"},
      {"a.b", "a.b.log"},         {"x.gz", "x.gz.log"},       {"dir.d/server", "dir.d/server.log"},
      {"", ".log"},
  };
  for (const auto& [chosen, cleaned] : cases) EXPECT_EQ(CleanLogPath(chosen), cleaned) << chosen;

  std::string log = folder.Write("server.log", "a\n\x1A");
  CleanResult result = Clean(folder.File("server"));
  EXPECT_EQ(result.status, CleanStatus::kCleaned);
  EXPECT_EQ(result.logPath, log);
  EXPECT_EQ(test::ReadFile(log), "a\r\n");
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"server.log"});
}

TEST_F(LogCleanerTest, ALogThatCannotBeReadIsReportedByName) {
  std::string missing = folder.File("gone.log");
  CleanResult result = Clean(missing);
  EXPECT_EQ(result.status, CleanStatus::kOpenFailed);
  EXPECT_EQ(result.caption, "Warning!");
  EXPECT_NE(result.message.find("\"" + missing + "\""), std::string::npos) << result.message;
  EXPECT_TRUE(FolderFiles().empty());

  // A folder opens but cannot be read.
  std::string notAFile = folder.File("folder.log");
  std::filesystem::create_directory(notAFile);
  result = Clean(notAFile);
  EXPECT_NE(result.status, CleanStatus::kCleaned);
  EXPECT_NE(result.status, CleanStatus::kNothingFound);
  EXPECT_EQ(result.caption, "Warning!");
  EXPECT_NE(result.message.find(notAFile), std::string::npos) << result.message;
}

TEST_F(LogCleanerTest, ACleanedLogThatCannotBeWrittenLeavesTheLogAsItWas) {
  // A name so long that no temporary file can be made beside it.
  std::string log = folder.Write(std::string(250, 'g') + ".log", "a\r\nb\x1A");
  CleanResult result = Clean(log);
  EXPECT_EQ(result.status, CleanStatus::kWriteFailed);
  EXPECT_EQ(result.caption, "Warning!");
  EXPECT_NE(result.message.find(log), std::string::npos) << result.message;
  EXPECT_EQ(test::ReadFile(log), "a\r\nb\x1A");
  EXPECT_EQ(FolderFiles().size(), 1u);
}

TEST_F(LogCleanerTest, TheCleanedLogKeepsItsPermissions) {
  std::string log = folder.Write("games.log", "a\r\n");
  ASSERT_EQ(::chmod(log.c_str(), 0640), 0);
  ASSERT_EQ(Clean(log).status, CleanStatus::kCleaned);
  struct stat info {};
  ASSERT_EQ(::stat(log.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Several megabytes, so that reading and writing cross many buffer boundaries, with a CR LF
// pair split by the first boundary and markers scattered through the file.
TEST_F(LogCleanerTest, LargeLogsAreCleanedAcrossBufferBoundaries) {
  std::string before(1024 * 1024 - 1, 'x');
  std::string after = before;
  before += "\r\n";
  after += "\r\n";
  for (int line = 0; before.size() < 4 * 1024 * 1024; ++line) {
    std::string text = " 1:23 Kill: 2 3 10: Alice killed Bob by MOD_RAILGUN " + std::to_string(line);
    before += text + (line % 3 == 0 ? "\n" : "\r\n");
    after += text + "\r\n";
    if (line % 1000 == 999) before += '\x1A';
  }
  before += "end";
  after += "end";
  std::string log = folder.Write("big.log", before);
  EXPECT_EQ(Clean(log).status, CleanStatus::kCleaned);
  EXPECT_TRUE(test::ReadFile(log) == after);

  // Bare line feeds all the way, and one marker in the last byte: found after many buffers.
  std::string bare;
  std::string crlf;
  while (bare.size() < 3 * 1024 * 1024) {
    bare += "0:00 ShutdownGame:\n";
    crlf += "0:00 ShutdownGame:\r\n";
  }
  log = folder.Write("bare.log", bare);
  EXPECT_EQ(Clean(log).status, CleanStatus::kNothingFound);
  EXPECT_TRUE(test::ReadFile(log) == bare);
  folder.Write("bare.log", bare + '\x1A');
  EXPECT_EQ(Clean(log).status, CleanStatus::kCleaned);
  EXPECT_TRUE(test::ReadFile(log) == crlf);
}

}  // namespace
}  // namespace vexor
