#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
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

}  // namespace
}  // namespace vexor
