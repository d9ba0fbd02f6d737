#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TestSupport.h"
#include "base/AtomicFile.h"

namespace vexor {
namespace {

size_t FilesIn(const std::string& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(AtomicFileTest, CommitReplacesTheTargetAtOnce) {
  test::TempFolder folder;
  std::string path = folder.Write("data.dat", "old");
  AtomicFile file;
  ASSERT_TRUE(file.Open(path));
  file.Write("new contents");
  EXPECT_EQ(test::ReadFile(path), "old");  // nothing changes before the commit
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(test::ReadFile(path), "new contents");
  EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

TEST(AtomicFileTest, DiscardOrDestructionLeavesThePreviousFile) {
  test::TempFolder folder;
  std::string path = folder.Write("data.dat", "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Open(path));
    file.Write("half");
  }
  EXPECT_EQ(test::ReadFile(path), "old");
  EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

TEST(AtomicFileTest, MissingFolderFailsWithAMessageNamingTheFile) {
  test::TempFolder folder;
  AtomicFile file;
  std::string path = folder.File("no/such/folder/out.csv");
  EXPECT_FALSE(file.Open(path));
  EXPECT_NE(file.Error().find(path), std::string::npos);
  file.Write("ignored");
  EXPECT_FALSE(file.Commit());
}

TEST(AtomicFileTest, FailedRenameRemovesTheTemporaryFile) {
  test::TempFolder folder;
  std::string path = folder.File("report");
  std::filesystem::create_directory(path);  // a folder cannot be replaced by a file
  std::filesystem::create_directory(path + "/inside");
  AtomicFile file(false);
  ASSERT_TRUE(file.Open(path));
  file.Write("new");
  EXPECT_FALSE(file.Commit());
  EXPECT_NE(file.Error().find(path), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
  EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

// A new file gets what the umask allows, a replaced file keeps its own permissions whatever the
// umask; the umask itself is left as it was.
TEST(AtomicFileTest, PermissionsOfNewAndReplacedFiles) {
  struct Case {
    mode_t umask;
    int replacedMode;  // -1: no file there before
    mode_t expected;
  };
  const Case cases[] = {{022, -1, 0644}, {027, -1, 0640}, {077, 0604, 0604}, {022, 0666, 0666}};
  test::TempFolder folder;
  for (const Case& c : cases) {
    std::string path = folder.File("out-" + std::to_string(&c - cases));
    if (c.replacedMode >= 0) {
      folder.Write("out-" + std::to_string(&c - cases), "old");
      ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(c.replacedMode)), 0);
    }
    mode_t saved = ::umask(c.umask);
    AtomicFile file(false);
    bool written = file.Open(path) && (file.Write("new"), file.Commit());
    mode_t during = ::umask(saved);
    ASSERT_TRUE(written) << file.Error();
    EXPECT_EQ(during, c.umask);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.expected) << "case " << (&c - cases);
  }
  EXPECT_EQ(FilesIn(folder.Path()), std::size(cases));
}

}  // namespace
}  // namespace vexor
