// The binary encoding of the program's files: little-endian numbers and length-prefixed texts.
#include <gtest/gtest.h>

#include <limits>

#include "base/Archive.h"

namespace vexor {
namespace {

std::string Encode(std::string_view text) {
  StringSink sink;
  {
    ArchiveWriter writer(sink);
    writer.WriteString(text);
  }
  return sink.Bytes();
}

TEST(ArchiveTest, TextLengthPrefixes) {
  EXPECT_EQ(Encode("").size(), 1u);
  EXPECT_EQ(Encode(std::string(254, 'a')).substr(0, 1), "\xFE");
  EXPECT_EQ(Encode(std::string(255, 'a')).substr(0, 3), std::string("\xFF\xFF\x00", 3));
  EXPECT_EQ(Encode(std::string(300, 'a')).substr(0, 3), "\xFF\x2C\x01");
  EXPECT_EQ(Encode(std::string(65533, 'a')).substr(0, 3), "\xFF\xFD\xFF");
  EXPECT_EQ(Encode(std::string(65534, 'a')).substr(0, 7),
            std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
}

TEST(ArchiveTest, RoundTripOfEveryFieldKind) {
  StringSink sink;
  {
    ArchiveWriter writer(sink);
    writer.WriteInt32(-2);
    writer.WriteInt32(std::numeric_limits<int32_t>::min());
    writer.WriteFloat(1.5f);
    for (size_t n : {0u, 254u, 255u, 65533u, 65534u, 70000u}) writer.WriteString(std::string(n, 'q'));
  }
  EXPECT_EQ(sink.Bytes().substr(0, 4), "\xFE\xFF\xFF\xFF");
  MemorySource source(sink.Bytes());
  ArchiveReader reader(source);
  int32_t a = 0, b = 0;
  float f = 0;
  ASSERT_TRUE(reader.ReadInt32(&a));
  ASSERT_TRUE(reader.ReadInt32(&b));
  ASSERT_TRUE(reader.ReadFloat(&f));
  EXPECT_EQ(a, -2);
  EXPECT_EQ(b, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(f, 1.5f);
  for (size_t n : {0u, 254u, 255u, 65533u, 65534u, 70000u}) {
    std::string text;
    ASSERT_TRUE(reader.ReadString(&text));
    EXPECT_EQ(text, std::string(n, 'q'));
  }
  EXPECT_TRUE(reader.AtEnd());
  int32_t more = 7;
  EXPECT_FALSE(reader.ReadInt32(&more));
  EXPECT_EQ(more, 7);
}

TEST(ArchiveTest, TextLongerThanTheDataIsRefusedBeforeAllocating) {
  // A prefix announcing 4 GB with 3 bytes behind it.
  std::string bytes("\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abc", 10);
  MemorySource source(bytes);
  ArchiveReader reader(source);
  std::string text = "kept";
  EXPECT_FALSE(reader.ReadString(&text));
  EXPECT_EQ(text, "kept");
  EXPECT_FALSE(reader.ok());
  int32_t value;
  EXPECT_FALSE(reader.ReadInt32(&value));  // failures are sticky
}

TEST(ArchiveTest, ManyValuesAtOnceAreCheckedAgainstWhatIsLeft) {
  std::string bytes(8, '\x01');
  MemorySource source(bytes);
  ArchiveReader reader(source);
  std::vector<int32_t> values(3);
  EXPECT_FALSE(reader.ReadInt32s(values.data(), values.size()));
}

TEST(ArchiveTest, BulkValuesAndZerosCrossTheBufferInOrder) {
  // More than the writer's buffer, so runs are split between flushes, mixed with single fields.
  std::vector<int32_t> values(100000);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int32_t>(i * 2654435761u);
  StringSink sink;
  {
    ArchiveWriter writer(sink);
    writer.WriteString("a");
    writer.WriteInt32s(values.data(), values.size());
    writer.WriteZeroInt32s(70000);
    writer.WriteInt32(-7);
    writer.WriteInt32s(values.data(), values.size());
  }
  ASSERT_EQ(sink.Bytes().size(), 2 + 4 * (2 * values.size() + 70000 + 1));
  MemorySource source(sink.Bytes());
  ArchiveReader reader(source);
  std::string text;
  std::vector<int32_t> first(values.size()), zeros(70000, 1), second(values.size());
  int32_t single = 0;
  ASSERT_TRUE(reader.ReadString(&text));
  ASSERT_TRUE(reader.ReadInt32s(first.data(), first.size()));
  ASSERT_TRUE(reader.ReadInt32s(zeros.data(), zeros.size()));
  ASSERT_TRUE(reader.ReadInt32(&single));
  ASSERT_TRUE(reader.ReadInt32s(second.data(), second.size()));
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(first, values);
  EXPECT_EQ(zeros, std::vector<int32_t>(70000, 0));
  EXPECT_EQ(single, -7);
  EXPECT_EQ(second, values);
}

}  // namespace
}  // namespace vexor
