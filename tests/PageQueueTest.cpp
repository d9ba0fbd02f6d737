#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/FileSystem.h"
#include "report/PageQueue.h"

namespace vexor {
namespace {

std::string Block(char c, size_t n) {
  return std::string(n, c);
}

// Two pages open at once, blocks handed over in turns, one page that cannot be created between
// two that can, and blocks reused: with the writing thread and without, the pages that could be
// written are complete, the failed one left nothing, and the message names the first failure
// in the order handed over.
TEST(PageQueueTest, PagesAreWrittenInTheOrderHandedOver) {
  for (PageQueue::Threading threading :
       {PageQueue::Threading::kWritingThread, PageQueue::Threading::kNone}) {
    test::TempFolder folder;
    std::string index = folder.File("index.htm");
    std::string missing = folder.File("no/such/folder/page1.htm");
    std::string page2 = folder.File("page2.htm");
    std::string expectedIndex;
    std::string expectedPage;
    {
      PageQueue queue(threading);
      queue.Open(0, index);
      queue.Open(1, missing);
      for (int i = 0; i < 40; ++i) {
        std::string block = queue.SpareBlock();
        EXPECT_TRUE(block.empty());
        block = Block(static_cast<char>('a' + i % 26), 1000 + static_cast<size_t>(i));
        expectedIndex += block;
        queue.Write(0, std::move(block));
        queue.Write(1, Block('x', 10));  // to the page that could not be created: dropped
      }
      queue.Close(1);
      queue.Open(1, page2);
      for (int i = 0; i < 3; ++i) {
        expectedPage += Block('p', 70000);
        queue.Write(1, Block('p', 70000));
      }
      queue.Close(1);
      queue.Close(0);
      std::string error = queue.Finish();
      EXPECT_NE(error.find("\"" + missing + "\""), std::string::npos) << error;
      EXPECT_NE(error.find("cannot be created"), std::string::npos) << error;
    }
    EXPECT_EQ(test::ReadFile(index), expectedIndex);
    EXPECT_EQ(test::ReadFile(page2), expectedPage);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
      ++files;
    EXPECT_EQ(files, 2u) << "a temporary file was left";
  }
}

// A report written again keeps the file of every page whose bytes did not change, and writes
// the others whole, wherever they first differ and whatever their length.
TEST(PageQueueTest, UnchangedPagesKeepTheirFilesWhenAsked) {
  const std::string old = Block('a', 3000) + Block('b', 3000);
  struct Case {
    const char* name;
    bool oldThere;
    std::vector<std::string> blocks;
  };
  const Case cases[] = {
      {"the same bytes in other blocks",
       true,
       {Block('a', 2000), Block('a', 1000) + Block('b', 3000)}},
      {"a change in the first block", true, {Block('c', 1) + Block('a', 2999), Block('b', 3000)}},
      {"a change in the last block", true, {Block('a', 3000), Block('b', 2999) + "c"}},
      {"longer", true, {old, "more"}},
      {"shorter", true, {Block('a', 3000)}},
      {"empty", true, {}},
      {"no file before", false, {old}},
  };
  for (PageQueue::Threading threading :
       {PageQueue::Threading::kWritingThread, PageQueue::Threading::kNone}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      test::TempFolder folder;
      std::string path = folder.File("game1.htm");
      if (c.oldThere) folder.Write("game1.htm", old);
      FileStatus before = StatusOf(path);
      std::string expected;
      {
        PageQueue queue(threading);
        queue.KeepUnchangedPages();
        queue.Open(1, path);
        for (const std::string& block : c.blocks) {
          expected += block;
          queue.Write(1, std::string(block));
        }
        queue.Close(1);
        EXPECT_EQ(queue.Finish(), "");
      }
      EXPECT_EQ(test::ReadFile(path), expected);
      EXPECT_EQ(StatusOf(path).inode == before.inode, expected == old && c.oldThere);
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                              std::filesystem::directory_iterator()),
                1);
    }
  }
}

}  // namespace
}  // namespace vexor
