#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "log/LineParsers.h"
#include "log/LogLineReader.h"
#include "log/ReadAhead.h"

namespace vexor {
namespace {

// Marks every line with its length and keeps its first word as a name, so that the test sees
// that each line was parsed once, with its own facts, whichever thread parsed it.
class MarkingParser : public LineParser {
 public:
  void Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const override {
    facts->wordEnd = static_cast<int32_t>(line.size());
    batch->AddNames(facts).names[0] = KeepWithoutColourCodes(line.substr(0, line.find(' ')), batch);
  }
};

struct ReadLine {
  std::string text;
  uint64_t bytesRead;
  bool operator==(const ReadLine&) const = default;
};

std::vector<ReadLine> ThroughLineReader(const std::string& path, uint64_t limit = kWholeLog) {
  std::vector<ReadLine> lines;
  LogLineReader reader;
  EXPECT_TRUE(reader.Open(path, limit));
  std::string_view line;
  while (reader.Next(&line))
    lines.push_back({std::string(line), reader.BytesRead()});
  return lines;
}

std::vector<ReadLine> ThroughReadAhead(const std::string& path, ReadAhead::Threading threading,
                                       uint64_t limit = kWholeLog) {
  std::vector<ReadLine> lines;
  MarkingParser parser;
  ReadAhead reader(threading);
  EXPECT_TRUE(reader.Open(path, &parser, limit));
  std::string_view line;
  std::string_view previous;
  std::string previousCopy;
  const LineFacts* facts = nullptr;
  const LineBatch* batch = nullptr;
  while (reader.Next(&line, &facts, &batch)) {
    // The line before stays readable while the next one is read (a connect reads on).
    EXPECT_EQ(previous, previousCopy);
    EXPECT_EQ(facts->wordEnd, static_cast<int32_t>(line.size()));
    EXPECT_EQ(batch->Name(batch->NamesOf(*facts).names[0]), line.substr(0, line.find(' ')));
    lines.push_back({std::string(line), reader.BytesRead()});
    previous = line;
    previousCopy = line;
  }
  EXPECT_FALSE(reader.Failed());
  return lines;
}

// Lines of every length up to past the 1022-character split, CR LF and LF, many batches long.
std::string ManyLines(size_t total, int seed) {
  std::string bytes;
  for (int i = 0; bytes.size() < total; ++i) {
    bytes += "w" + std::to_string(i) + ' ';
    bytes.append(static_cast<size_t>((i * 37 + seed) % 1500), static_cast<char>('a' + i % 26));
    bytes += i % 3 == 0 ? "\r\n" : "\n";
  }
  return bytes;
}

TEST(ReadAheadTest, GivesTheLinesAndProgressOfTheLineReader) {
  const std::string inputs[] = {
      "",
      "one line without a line feed",
      "a\r\nb\n\nc\r\n",
      std::string(3000, 'x') + "\n" + std::string(1022, 'y') + "\r\n" + std::string(1023, 'z'),
      ManyLines(3u << 20, 0),
      ManyLines((2u << 20) + 777, 5) + "tail without a line feed",
  };
  test::TempFolder folder;
  for (size_t i = 0; i < std::size(inputs); ++i) {
    std::string path = folder.Write("log" + std::to_string(i), inputs[i]);
    std::vector<ReadLine> expected = ThroughLineReader(path);
    for (ReadAhead::Threading threading :
         {ReadAhead::Threading::kReadingThread, ReadAhead::Threading::kNone}) {
      EXPECT_EQ(ThroughReadAhead(path, threading), expected) << "input " << i;
    }
  }
}

// A log still being written is read only up to a limit: exactly as the file cut there reads.
TEST(ReadAheadTest, ALimitReadsWhatTheFileCutThereReads) {
  test::TempFolder folder;
  std::string bytes = ManyLines((1u << 20) + 5000, 7);
  std::string path = folder.Write("growing.log", bytes);
  size_t lineEnd = bytes.find('\n', 300000) + 1;
  const uint64_t limits[] = {
      0, 1, 1500, lineEnd, lineEnd + 10, bytes.size() - 1, bytes.size(), bytes.size() + 100};
  for (uint64_t limit : limits) {
    SCOPED_TRACE(limit);
    std::string cut = folder.Write("cut.log", bytes.substr(0, limit));
    std::vector<ReadLine> expected = ThroughLineReader(cut);
    EXPECT_EQ(ThroughLineReader(path, limit), expected);
    for (ReadAhead::Threading threading :
         {ReadAhead::Threading::kReadingThread, ReadAhead::Threading::kNone}) {
      EXPECT_EQ(ThroughReadAhead(path, threading, limit), expected);
    }
  }
}

TEST(ReadAheadTest, StopsInTheMiddleAndOpensAgain) {
  test::TempFolder folder;
  std::string path = folder.Write("big.log", ManyLines(8u << 20, 3));
  MarkingParser parser;
  ReadAhead reader;
  EXPECT_FALSE(reader.Open(folder.File("missing.log"), &parser));
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(reader.Open(path, &parser));
    std::string_view line;
    const LineFacts* facts = nullptr;
    const LineBatch* batch = nullptr;
    for (int i = 0; i < 100 * round; ++i)
      ASSERT_TRUE(reader.Next(&line, &facts, &batch));
    reader.Close();  // the reading thread waits on a full queue: it must end
    EXPECT_FALSE(reader.Next(&line, &facts, &batch));
  }
}

// Gives lines a kind by their first letter ('K' kill, 'C' connect) and a variable hit to those
// that begin with 'H'; every other line is of no kind.
class KindParser : public LineParser {
 public:
  void Parse(std::string_view line, LineBatch*, LineFacts* facts) const override {
    char first = line.empty() ? ' ' : line[0];
    facts->kind = first == 'K'   ? LineKind::kKill
                  : first == 'C' ? LineKind::kConnect
                                 : LineKind::kOther;
    facts->hitCount = first == 'H' ? 1 : 0;
  }
};

// NextEvent() passes over the lines of no kind, no hit (and of the kind asked to pass too), up
// to the first line that ends at or past the stop; a connect reads its next line with Next().
TEST(ReadAheadTest, NextEventStopsAtEventsAndAtTheProgressStop) {
  std::string bytes;
  const char kFirsts[] = "xKxxKHxxxxCxxxKKxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";
  for (size_t i = 0; bytes.size() < (2u << 20) + 333; ++i) {
    bytes += kFirsts[(i * 7 + i / 50) % (sizeof kFirsts - 1)];
    bytes.append(i * 13 % 90, 'a');
    bytes += '\n';
  }
  test::TempFolder folder;
  std::string path = folder.Write("events.log", bytes);
  std::vector<ReadLine> all = ThroughLineReader(path);
  KindParser parser;
  for (LineKind alsoPass : {LineKind::kOther, LineKind::kKill}) {
    auto passable = [alsoPass](const std::string& text) {
      return text[0] != 'H' && (text[0] != 'K' || alsoPass == LineKind::kKill) && text[0] != 'C';
    };
    for (uint64_t every : {uint64_t{1}, uint64_t{5000}, uint64_t{1} << 19, kWholeLog / 2}) {
      SCOPED_TRACE(testing::Message() << "every " << every << " pass " << int(alsoPass));
      ReadAhead reader;
      ASSERT_TRUE(reader.Open(path, &parser));
      std::string_view line;
      const LineFacts* facts = nullptr;
      const LineBatch* batch = nullptr;
      uint64_t lastStop = 0;
      for (size_t k = 0;;) {
        size_t expected = k;
        while (expected < all.size() && passable(all[expected].text) &&
               all[expected].bytesRead < lastStop + every) {
          ++expected;
        }
        bool passed = false;
        bool read = reader.NextEvent(&line, &facts, &batch, lastStop + every, &passed, alsoPass);
        ASSERT_EQ(read, expected < all.size());
        if (!read) break;
        ASSERT_EQ(line, all[expected].text);
        ASSERT_EQ(reader.BytesRead(), all[expected].bytesRead);
        ASSERT_EQ(passed, expected > k);
        k = expected + 1;
        if (reader.BytesRead() - lastStop >= every) lastStop = reader.BytesRead();
        if (line[0] == 'C' && k < all.size()) {
          ASSERT_TRUE(reader.Next(&line, &facts, &batch));
          ASSERT_EQ(line, all[k++].text);
        }
      }
    }
  }
}

}  // namespace
}  // namespace vexor
