#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/LogLineReader.h"

namespace vexor {
namespace {

// Every line an opened reader gives, to its end.
std::vector<std::string> RemainingLines(LogLineReader& reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line))
    lines.emplace_back(line);
  return lines;
}

std::vector<std::string> ReadAll(std::string_view bytes) {
  LogLineReader reader;
  reader.OpenBytes(bytes);
  return RemainingLines(reader);
}

TEST(LogLineReaderTest, LongLinesArriveInPiecesOf1022) {
  std::string bytes(2999, 'x');
  bytes += '\n';
  std::vector<std::string> lines = ReadAll(bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 1022u);
  EXPECT_EQ(lines[1].size(), 1022u);
  EXPECT_EQ(lines[2].size(), 956u);
  EXPECT_EQ(lines[2].back(), '\n');
}

TEST(LogLineReaderTest, CarriageReturnBeforeLineFeedIsDropped) {
  EXPECT_EQ(ReadAll("a\r\nb\r\n"), (std::vector<std::string>{"a\n", "b\n"}));
  EXPECT_EQ(ReadAll("a\rb\n"), (std::vector<std::string>{"a\rb\n"}));
  // 1021 characters, CR LF: one line of 1022 after the CR is dropped.
  std::string exact(1021, 'y');
  std::vector<std::string> lines = ReadAll(exact + "\r\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], exact + "\n");
  // 1022 characters and a line feed: the line feed arrives on its own.
  std::string full(1022, 'z');
  EXPECT_EQ(ReadAll(full + "\r\n"), (std::vector<std::string>{full, "\n"}));
}

TEST(LogLineReaderTest, LastLineOnceWithOrWithoutLineFeed) {
  EXPECT_EQ(ReadAll("a\nb\n"), (std::vector<std::string>{"a\n", "b\n"}));
  EXPECT_EQ(ReadAll("a\nb"), (std::vector<std::string>{"a\n", "b"}));
  EXPECT_TRUE(ReadAll("").empty());
  EXPECT_EQ(ReadAll("\n\n"), (std::vector<std::string>{"\n", "\n"}));
}

TEST(LogLineReaderTest, KeepsOrdinaryBytesIncludingNulAndCtrlZ) {
  std::string bytes(
      "a\0b\x1a"
      "c\n",
      6);
  std::vector<std::string> lines = ReadAll(bytes);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], bytes);
}

TEST(LogLineReaderTest, MissingFileCannotBeOpened) {
  LogLineReader reader;
  EXPECT_FALSE(reader.Open("/nonexistent/vexor/games.log"));
  EXPECT_FALSE(reader.Open("/"));
}

}  // namespace
}  // namespace vexor

#include "TestSupport.h"

namespace vexor {
namespace {

TEST(LogLineReaderTest, FileReadsLikeMemoryAcrossBufferRefills) {
  // Lines of many lengths, CR LF among them, so that pairs straddle the 1 MB buffer.
  std::string bytes;
  for (int i = 0; bytes.size() < 3u << 20; ++i) {
    bytes.append(static_cast<size_t>(i * 37 % 1500), static_cast<char>('a' + i % 26));
    bytes += i % 3 == 0 ? "\r\n" : "\n";
  }
  test::TempFolder folder;
  std::string path = folder.Write("big.log", bytes);
  LogLineReader file;
  ASSERT_TRUE(file.Open(path));
  std::vector<std::string> fromFile = RemainingLines(file);
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(file.BytesRead(), bytes.size());
  EXPECT_EQ(fromFile, ReadAll(bytes));
}

// A small log gets a small buffer; a server still writing it makes it grow after the open.
TEST(LogLineReaderTest, FileThatGrowsAfterTheOpenIsReadToItsEnd) {
  std::string first = "  0:00 InitGame: \\g_gametype\\0\n";
  std::string later;
  for (int i = 0; later.size() < 300000; ++i) {
    later.append(static_cast<size_t>(i * 53 % 1400), static_cast<char>('a' + i % 26));
    later += i % 4 == 0 ? "\r\n" : "\n";
  }
  test::TempFolder folder;
  std::string path = folder.Write("growing.log", first);
  LogLineReader file;
  ASSERT_TRUE(file.Open(path));
  folder.Write("growing.log", first + later);
  std::vector<std::string> fromFile = RemainingLines(file);
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(fromFile, ReadAll(first + later));
}

}  // namespace
}  // namespace vexor
