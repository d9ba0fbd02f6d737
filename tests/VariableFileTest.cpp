// The variable files: exact bytes of both layouts, round trips, bad and damaged files, and the
// Team Arena file name.
#include <gtest/gtest.h>

#include <climits>

#include "base/Archive.h"
#include "customvars/VariableFile.h"

namespace vexor {
namespace {

std::string Int(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  }
  return bytes;
}

std::string Text(const std::string& text) {  // short texts only
  return std::string(1, static_cast<char>(text.size())) + text;
}

template <typename Set>
std::string Encode(int32_t count, const Set& slots) {
  StringSink sink;
  ArchiveWriter writer(sink);
  WriteVariableSet(writer, count, slots);
  return sink.Bytes();
}

template <typename Set>
bool Decode(const std::string& bytes, int32_t* count, Set* slots) {
  MemorySource source(bytes);
  ArchiveReader reader(source);
  return ReadVariableSet(reader, count, slots);
}

ClientVariable Quads() {
  ClientVariable v;
  v.name = "Quads";
  v.stringType = 0;
  v.ordinal = 1;
  v.searchString = "PLAYER1 got the Quad";
  v.p1Change = 1;
  v.p1Target = 1;
  v.p1Value = 2;
  v.p2Change2 = 1;
  v.p2Target2 = 3;
  v.p2Value2 = -4;
  v.visible = 0;
  return v;
}

ServerVariable Rails() {
  ServerVariable v;
  v.name = "Rails";
  v.ordinal = 2;
  v.id1 = -1;
  v.id2 = -1;
  v.id3 = 10;
  v.modstring = "MOD_RAILGUN";
  v.idstring = "Kill:";
  v.p1Change = 1;
  v.p1Target = 2;
  v.p1Value = 1;
  v.reserved = 99;  // not in variable files
  return v;
}

TEST(VariableFileTest, ClientLayoutIsExact) {
  ClientVariableSet slots;
  slots[1] = Quads();
  std::string expected = Int(1) + Text("Quads") + Int(0) + Int(1) + Text("PLAYER1 got the Quad") +
                         Int(1) + Int(1) + Int(2) +  // player 1
                         Int(0) + Int(0) + Int(0) +  // player 2
                         Int(0) + Int(0) + Int(0) +  // player 1 second
                         Int(1) + Int(3) + Int(-4) +  // player 2 second
                         Int(0);                      // visible
  EXPECT_EQ(Encode(1, slots), expected);
}

TEST(VariableFileTest, ServerLayoutIsExactAndLeavesOutReserved) {
  ServerVariableSet slots;
  slots[1] = Rails();
  std::string expected = Int(1) + Text("Rails") + Int(2) + Int(1) + Int(2) + Int(1) +
                         std::string(9 * 4, '\0') + Int(1) + Text("MOD_RAILGUN") + Int(-1) +
                         Int(-1) + Int(10) + Text("Kill:");
  EXPECT_EQ(Encode(1, slots), expected);
}

TEST(VariableFileTest, BothLayoutsRoundTripAndLeaveLaterSlotsAlone) {
  ClientVariableSet client;
  client[1] = Quads();
  client[2] = Quads();
  client[2].name = std::string(300, 'n');  // longer than a form allows: still data
  client[2].p1Target = 999;
  client[2].p1Value = INT32_MIN;
  ClientVariableSet clientRead;
  clientRead[3].name = "old";
  int32_t count = -5;
  ASSERT_TRUE(Decode(Encode(2, client), &count, &clientRead));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(clientRead[1], client[1]);
  EXPECT_EQ(clientRead[2], client[2]);
  EXPECT_EQ(clientRead[3].name, "old");

  ServerVariableSet server;
  server[1] = Rails();
  ServerVariableSet serverRead;
  ASSERT_TRUE(Decode(Encode(1, server), &count, &serverRead));
  server[1].reserved = 0;
  EXPECT_EQ(serverRead[1], server[1]);
}

TEST(VariableFileTest, LongSearchStringTakesTheThreeBytePrefix) {
  ClientVariableSet slots;
  slots[1] = Quads();
  slots[1].searchString = std::string(300, 's');
  std::string bytes = Encode(1, slots);
  size_t at = 4 + 1 + 5 + 4 + 4;  // count, name, stringType, ordinal
  EXPECT_EQ(bytes.substr(at, 3), "\xFF\x2C\x01");
  EXPECT_EQ(bytes.substr(at + 3, 300), std::string(300, 's'));
  EXPECT_EQ(bytes.size(), at + 3 + 300 + 13 * 4);
}

TEST(VariableFileTest, CountOutsideTheSetOrShortDataIsBadAndChangesNothing) {
  ClientVariableSet slots;
  slots[1] = Quads();
  std::string whole = Encode(1, slots);
  const struct {
    const char* what;
    std::string bytes;
  } bad[] = {
      {"count 50", Int(50)},
      {"count -1", Int(-1)},
      {"no count", ""},
      {"half a count", Int(0).substr(0, 2)},
      {"record cut short", whole.substr(0, whole.size() - 1)},
      {"count promises more records", Int(2) + whole.substr(4)},
      {"text longer than the file", Int(1) + "\xFF\xFF\xFF" + Int(INT32_MAX)},
  };
  for (const auto& c : bad) {
    ClientVariableSet read;
    read[1].name = "kept";
    int32_t count = 7;
    EXPECT_FALSE(Decode(c.bytes, &count, &read)) << c.what;
    EXPECT_EQ(count, 7) << c.what;
    EXPECT_EQ(read[1].name, "kept") << c.what;
  }
  ClientVariableSet read;
  int32_t count = 7;
  EXPECT_TRUE(Decode(Int(0), &count, &read));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(Decode(Encode(49, ClientVariableSet{}), &count, &read));
  EXPECT_EQ(count, 49);
}

TEST(VariableFileTest, TeamArenaFileIsToldByTheLastTwentyCharacters) {
  EXPECT_TRUE(IsTeamArenaPath("/home/q3/teamarena_server.var"));
  EXPECT_TRUE(IsTeamArenaPath("teamarena_server.var"));
  EXPECT_TRUE(IsTeamArenaPath("/x/myteamarena_server.var"));
  EXPECT_FALSE(IsTeamArenaPath("/home/q3/teamarena_server.var.bak"));
  EXPECT_FALSE(IsTeamArenaPath("/home/q3/TeamArena_server.var"));
  EXPECT_FALSE(IsTeamArenaPath("eamarena_server.var"));
  EXPECT_FALSE(IsTeamArenaPath(""));
}

}  // namespace
}  // namespace vexor
