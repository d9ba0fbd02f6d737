#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "log/ClientNumberTable.h"
#include "log/LineParsers.h"
#include "log/LineText.h"
#include "log/PlayTime.h"

namespace vexor {
namespace {

TEST(EventWordTest, FollowsTheGameClock) {
  EXPECT_EQ(FindEventWord("  0:00 InitGame: \\x\\y\n").word, "InitGame:");
  EXPECT_EQ(FindEventWord(" 20:34 ClientConnect: 2\n").word, "ClientConnect:");
  EXPECT_EQ(FindEventWord(" 20:34 ClientConnect: 2\n").end, 21);
  EXPECT_EQ(FindEventWord("123:45 Kill: 1 2 3: a killed b by MOD_X\n").word, "Kill:");
  // Without a blank after it, the word runs to the last character (the line feed).
  EXPECT_EQ(FindEventWord(" 20:37 ShutdownGame:\n").word, "ShutdownGame:");
}

TEST(EventWordTest, OddLinesGiveNoWordAndNoOverrun) {
  EXPECT_EQ(FindEventWord("").word, "");
  EXPECT_EQ(FindEventWord("\n").word, "");
  EXPECT_EQ(FindEventWord("a:\n").word, "");
  EXPECT_EQ(FindEventWord(":InitGame:\n").word, "");  // a colon at 0 does not count
  EXPECT_EQ(FindEventWord("x:abInitGame:\n").word, "InitGame:");
  EXPECT_EQ(FindEventWord("no clock here\n").word, "no");
}

// The kinds of server lines, and the quick look that passes over lines of no kind: it may let
// a line through that has none, never keep one out that has one.
TEST(EventWordTest, KindsAndTheQuickLookAgree) {
  struct Case {
    const char* line;
    LineKind kind;
  };
  const Case cases[] = {
      {"  0:00 InitGame: \\g_gametype\\0\n", LineKind::kInitGame},
      {"  1:02 Item: 3 item_quad\n", LineKind::kOther},
      {"  1:02 Kill: 1 2 7: a killed b by MOD_ROCKET\n", LineKind::kKill},
      {"12:34 ClientConnect: 3\n", LineKind::kConnect},
      {"  1:02 ClientUserinfoChanged: 3 n\\Bob\\t\\0\n", LineKind::kUserInfo},
      {"  1:02 ClientDisconnect: 3\n", LineKind::kDisconnect},
      {"  1:02  ClientDisconnect: 3\n", LineKind::kOther},  // two blanks: no word
      {"  9:59 ShutdownGame:\n", LineKind::kShutdown},
      {"  9:59 Kill:\n", LineKind::kKill},
      {"  9:59 Kill:x 1\n", LineKind::kOther},
      {"  9:59 Info: ClientConnect: 3\n", LineKind::kOther},
      {"Kill: 1 2 3\n", LineKind::kOther},
      {"  1:02 Init\n", LineKind::kOther},
      {"  1:02 ", LineKind::kOther},
      {"", LineKind::kOther},
  };
  for (const Case& c : cases) {
    LineKind kind = KindOfEventWord(FindEventWord(c.line).word);
    EXPECT_EQ(kind, c.kind) << c.line;
    if (kind != LineKind::kOther) {
      EXPECT_TRUE(MayBeOfAKind(c.line)) << c.line;
    }
  }
  EXPECT_FALSE(MayBeOfAKind("  1:02 Item: 3 item_quad\n"));
  EXPECT_FALSE(MayBeOfAKind("  1:02 say: Bob: hi\n"));
}

TEST(RestOfLineTest, CutsTheFinalCharacter) {
  EXPECT_EQ(RestOfLine(" 20:34 ClientConnect: 2\n", 21), "2");
  EXPECT_EQ(RestOfLine(" 20:34 ClientConnect: 2", 21), "");  // no line feed: the digit goes
  EXPECT_EQ(RestOfLine(" 20:34 ClientConnect:\n", 21), "");
}

TEST(StripColourCodesTest, DropsCaretAndFollowingCharacter) {
  EXPECT_EQ(StripColourCodes("^1Bob^7"), "Bob");
  EXPECT_EQ(StripColourCodes("Bo^^b"), "Bob");
  EXPECT_EQ(StripColourCodes("Bob^"), "Bob");
  EXPECT_EQ(StripColourCodes("^7"), "");
  // The view form: the text itself without codes, else the scratch text, reused line by line.
  std::string scratch = "a much longer name left by the line before";
  EXPECT_EQ(StripColourCodes("^1B^2o^3b^", &scratch), "Bob");
  EXPECT_EQ(StripColourCodes("x^^^yz", &scratch), "xz");
  std::string_view plain = "Bob";
  EXPECT_EQ(StripColourCodes(plain, &scratch).data(), plain.data());
}

TEST(DisambiguateTest, NumbersSecondAndLaterClients) {
  EXPECT_EQ(Disambiguate("Bob", 1), "Bob_1");
  EXPECT_EQ(Disambiguate("Bob_1", 2), "Bob_2");
  EXPECT_EQ(Disambiguate("Bob_9", 10), "Bob_10");
  EXPECT_EQ(Disambiguate("Bob_10", 11), "Bob__11");
  EXPECT_EQ(Disambiguate("B", 2), "_2");
}

TEST(ServerLineFieldsTest, ClockAndClientNumber) {
  EXPECT_EQ(ClockTime(" 20:34 ClientDisconnect: 2\n"), "20:34");
  EXPECT_EQ(ClockTime("  0:05 ShutdownGame:\n"), "0:05");
  EXPECT_EQ(ClockTime("      \n"), "");
  EXPECT_EQ(TrailingClientNumber(" 20:34 ClientDisconnect: 12\n"), "12");
  EXPECT_EQ(TrailingClientNumber("ab\n"), "b");  // no blank: the text after position 0
  EXPECT_EQ(TrailingClientNumber(""), "");
}

TEST(UserInfoTest, NameBetweenKeysAndTeamFromModel) {
  std::string info = " 20:34 ClientUserinfoChanged: 2 n\\^1Isg^7\\t\\0\\model\\conni/red\\hmodel\n";
  EXPECT_EQ(UserInfoRawName(info, 21), "^1Isg^7");
  EXPECT_EQ(UserInfoTeam(info), 2);
  EXPECT_EQ(UserInfoTeam("x model\\xaero/blue\\h\n"), 1);
  EXPECT_EQ(UserInfoTeam("x model\\sarge\\h\n"), 0);
  EXPECT_EQ(UserInfoRawName(" 20:34 Item: 2 weapon_rocketlauncher\n", 21), "");
  EXPECT_EQ(UserInfoRawName("n\\Bob\\t", 0), "");  // the keys must end before the last 3
}

// The searches every line passes through stop only where a chosen character stands; on lines
// made of few characters (so that near matches abound) they must find what a plain search finds.
TEST(LineSearchTest, QuickSearchesFindWhatPlainSearchesFind) {
  const std::string_view alphabet = " bywas/redlu\\nt";
  const std::string_view texts[] = {" by ", " was ", "by", "/red\\", "n\\", "\\t\\", "b", ""};
  uint32_t seed = 7;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    for (size_t n = next() % 24; n > 0; --n)
      line += alphabet[next() % alphabet.size()];
    for (std::string_view text : texts) {
      for (size_t anchor = 0; anchor <= text.size(); ++anchor) {
        ASSERT_EQ(FindByAnchor(line, text, anchor), line.find(text)) << line << " / " << text;
      }
      size_t from = next() % 8;
      size_t limit = next() % 26;
      size_t plain = std::string_view::npos;
      for (size_t i = from; i < std::min(limit, line.size()) && plain == std::string_view::npos;
           ++i) {
        if (line.compare(i, text.size(), text) == 0 && line.size() - i >= text.size()) plain = i;
      }
      ASSERT_EQ(FirstMatchBefore(line, text, from, limit), plain) << line << " / " << text;
    }
    int32_t team = 0;
    for (size_t i = 0; i + 4 <= line.size() && team == 0; ++i) {
      if (line.compare(i, 5, "/red\\") == 0) team = 2;
      if (line.compare(i, 6, "/blue\\") == 0) team = 1;
    }
    ASSERT_EQ(UserInfoTeam(line), team) << line;
  }
}

TEST(PlayTimeTest, ClockSecondsAndHourlyRates) {
  EXPECT_EQ(ClockSeconds("1:10"), 70);
  EXPECT_EQ(ClockSeconds("12:34"), 754);
  EXPECT_EQ(ClockSeconds(""), 0);
  EXPECT_EQ(ClockSeconds("5"), 5);
  EXPECT_FLOAT_EQ(PerHour(3600, 10), 10.0f);
  EXPECT_EQ(PerHour(0, 10), 0.0f);
  EXPECT_EQ(PerHour(100, 0), 0.0f);
  // Single precision with the rounded constant: 1 per 1800 s is not exactly 2.
  float rate = PerHour(1800, 1);
  EXPECT_EQ(rate, 1.0f / (1800.0f * 0.00027777778f));
}

TEST(ClientNumberTableTest, NumbersAreTextWhateverTheirStorage) {
  ClientNumberTable table;
  // Plain numbers below 100 sit in the array, every other text in the text table: both kinds
  // are set, found, replaced and erased alike, and "7" and "07" stay different numbers.
  const char* numbers[] = {"0", "7", "07", "42", "99", "100", "-1", "abc", "", "4 "};
  for (int32_t i = 0; i < 10; ++i)
    EXPECT_EQ(table.Find(numbers[i]), ClientNumberTable::kNobody);
  for (int32_t i = 0; i < 10; ++i)
    table.Set(numbers[i], i + 1);
  for (int32_t i = 0; i < 10; ++i)
    EXPECT_EQ(table.Find(numbers[i]), i + 1) << numbers[i];
  table.Set("7", 50);
  table.Erase("07");
  table.Erase("abc");
  EXPECT_EQ(table.Find("7"), 50);
  EXPECT_EQ(table.Find("07"), ClientNumberTable::kNobody);
  EXPECT_EQ(table.Find("abc"), ClientNumberTable::kNobody);
  EXPECT_EQ(table.Find("100"), 6);
  table.Clear();
  for (const char* number : numbers)
    EXPECT_EQ(table.Find(number), ClientNumberTable::kNobody);
}

}  // namespace
}  // namespace vexor
