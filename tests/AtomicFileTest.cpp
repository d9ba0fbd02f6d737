#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vexor
