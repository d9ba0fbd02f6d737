// Custom variables on log lines: the seven search-string forms, server variables by event word,
// ids, tokens and last word, and the change slots applied to the players' counters.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "log/LineParsers.h"
#include "log/LineText.h"
#include "log/VariableMatch.h"

namespace vexor {
namespace {

using test::At;
using test::KillVariable;
using test::Lines;

TEST(ClientPatternTest, EveryFormCutsThePlayersRawNames) {
  struct Case {
    const char* searchString;
    const char* line;
    int32_t form;
    const char* player1;
    const char* player2;
  };
  const Case cases[] = {
      {"PLAYER1 picked up the Quad Damage", "Bob^7 picked up the Quad Damage\n", 0, "Bob", ""},
      {"picked up the Quad Damage", "Bob^7 picked up the Quad Damage\n", 0, "Bob", ""},
      {"Suddenly PLAYER1", "Suddenly Bob^7\n", 1, "Bob^7", ""},
      {"Suddenly PLAYER1 died", "Suddenly Bob^7 died\n", 2, "Bob^7", ""},
      {"PLAYER1 fragged PLAYER2", "Bob^7 fragged Alice^7\n", 3, "Bob^7", "Alice^7"},
      {"PLAYER1 hit PLAYER2 hard", "Bob^7 hit Alice^7 hard\n", 4, "Bob^7", "Alice^7"},
      {"Info: PLAYER1 hit PLAYER2", "Info: Bob^7 hit Alice^7\n", 5, "Bob^7", "Alice^7"},
      {"Info: PLAYER1 hit PLAYER2 hard", "Info: Bob^7 hit Alice^7 hard\n", 6, "Bob^7", "Alice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.searchString);
    ClientPattern pattern = PrepareClientPattern(c.searchString);
    EXPECT_EQ(pattern.form, c.form);
    PatternMatch match = MatchClientPattern(pattern, c.line);
    ASSERT_TRUE(match.matched);
    EXPECT_EQ(match.player1, c.player1);
    EXPECT_EQ(match.player2, c.player2);
  }
}

TEST(ClientPatternTest, LinesWithoutTheTextsDoNotMatch) {
  struct Case {
    const char* searchString;
    const char* line;
  };
  const Case cases[] = {
      {"PLAYER1 picked up the Quad Damage", "Bob^7 picked up the Quad Damage!\n"},
      {"Suddenly PLAYER1", "Bob^7 suddenly\n"},
      {"Suddenly PLAYER1 died", "Suddenly Bob^7 lived\n"},
      {"PLAYER1 fragged PLAYER2", "Bob^7 killed Alice^7\n"},
      {"PLAYER1 hit PLAYER2 hard", "hard: Bob^7 hit Alice^7\n"},  // the end text before the middle
      {"Info: PLAYER1 hit PLAYER2", "Info: Bob^7 hitAlice^7\n"},  // the middle needs its blank
      {"Info: PLAYER1 hit PLAYER2 hard", "Info: Bob^7 hit Alice^7 soft\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_FALSE(MatchClientPattern(PrepareClientPattern(c.searchString), c.line).matched);
  }
}

TEST(ClientPatternTest, ShortAndOddLinesCutNoTextOutsideTheLine) {
  const char* searchStrings[] = {"PLAYER1 x",
                                 "abcdefgh PLAYER1",
                                 "abcdefgh PLAYER1 x",
                                 "PLAYER1 x PLAYER2",
                                 "PLAYER1 x PLAYER2 y",
                                 "abcdefgh PLAYER1 x PLAYER2",
                                 "abcdefgh PLAYER1 x PLAYER2 y",
                                 "PLAYER1 PLAYER2",
                                 "a PLAYER2 b PLAYER1 c",
                                 "PLAYER1"};
  const char* lines[] = {"x\n", "x", "\n", "x y\n", "abcdefgh x y\n", "y x\n", "PLAYER1"};
  for (const char* searchString : searchStrings) {
    ClientPattern pattern = PrepareClientPattern(searchString);
    for (const char* line : lines) {
      std::string_view text = line;
      PatternMatch match = MatchClientPattern(pattern, text);
      // Every name is a piece of the line itself.
      for (std::string_view name : {match.player1, match.player2}) {
        if (name.empty()) continue;
        EXPECT_GE(name.data(), text.data()) << searchString << " / " << line;
        EXPECT_LE(name.data() + name.size(), text.data() + text.size());
      }
    }
  }
}

// The filter runs before every search of a client log line: it must let every line through that
// the search would match, and it must keep out lines that lack a searched text.
// A set whose texts are all long looks at every fourth place of a line only; a set with a short
// text at every place.
size_t CheckFilterPassesEveryMatch(const std::vector<std::string>& searchStrings) {
  const std::string names[] = {"Bob", "^1B^2o^3b^7", "", "a", "x y", "\xff\x80^", "PLAYER2"};
  const std::string noise = test::RandomBytes(4000, 11);
  std::vector<ClientPattern> patterns(1);
  for (const std::string& searchString : searchStrings) {
    patterns.push_back(PrepareClientPattern(searchString));
  }
  ClientPatternFilter filter;
  filter.Build(patterns);
  size_t matched = 0;
  for (size_t v = 1; v < patterns.size(); ++v) {
    const std::string& searchString = searchStrings[v - 1];
    const ClientPattern& pattern = patterns[v];
    std::vector<std::string> lines;
    for (const std::string& one : names) {
      for (const std::string& two : names) {
        std::string line = searchString;
        for (auto [token, name] : {std::pair{"PLAYER1", &one}, std::pair{"PLAYER2", &two}}) {
          size_t at = line.find(token);
          if (at != std::string::npos) line.replace(at, 7, *name);
        }
        lines.push_back(line + "\n");
        lines.push_back("prefix " + line + "\n");
      }
    }
    for (size_t i = 0; i + 40 <= noise.size(); i += 40)
      lines.push_back(noise.substr(i, 40));
    for (const std::string& line : lines) {
      // At every offset, so that the text meets the looked-at places every way.
      for (std::string_view prefix : {"", "a", "ab", "abc", "abcd"}) {
        std::string shifted = std::string(prefix) + line;
        if (!MatchClientPattern(pattern, shifted).matched) continue;
        ++matched;
        EXPECT_TRUE(filter.Candidates(shifted) >> v & 1) << searchString << " / " << line;
      }
    }
  }
  return matched;
}

TEST(ClientPatternTest, FilterPassesEveryLineThatMatches) {
  const std::vector<std::string> searchStrings = {
      "PLAYER1 picked up the Quad Damage", "Suddenly PLAYER1",         "Suddenly PLAYER1 died",
      "PLAYER1 was railed by PLAYER2",     "PLAYER1 hit PLAYER2 hard", "Info: PLAYER1 hit PLAYER2",
      "Info: PLAYER1 hit PLAYER2 hard",    "x PLAYER1 y PLAYER2 z",    "PLAYER1 PLAYER2",
      "PLAYER1 \xff\x01\x80 PLAYER2 ^7!",
  };
  EXPECT_GT(CheckFilterPassesEveryMatch(searchStrings), 100u);
  const std::vector<std::string> longTexts = {
      "PLAYER1 picked up the Quad Damage", "Suddenly PLAYER1 died",
      "PLAYER1 was railed by PLAYER2",     "PLAYER1 cratered.",
      "Info: PLAYER1 hit PLAYER2 hard",    "PLAYER1 sank like a rock.",
  };
  EXPECT_GT(CheckFilterPassesEveryMatch(longTexts), 100u);
  ClientPatternFilter filter;

  std::vector<ClientPattern> three = {{},
                                      PrepareClientPattern("PLAYER1 was railed by PLAYER2"),
                                      PrepareClientPattern("PLAYER1 hit the fraglimit."),
                                      PrepareClientPattern("PLAYER1 entered the game")};
  filter.Build(three);
  EXPECT_EQ(filter.Candidates("^1Bob^7 entered the game\n"), uint64_t{1} << 3);
  EXPECT_EQ(filter.Candidates("Bob^7 was railed by Al^7\n"), uint64_t{1} << 1);
  EXPECT_EQ(filter.Candidates("Bob\n"), 0u);
}

// The client parser strips a name once per line and gives a variable's match the obituary's
// name when the match only adds colour codes: every name must still be its raw text without
// codes, and both passes' parsers must find the same obituaries.
TEST(ClientLineParserTest, EveryNameIsItsRawTextWithoutColourCodes) {
  ClientVariableSet variables{};
  const char* searchStrings[] = {"PLAYER1 was railed by PLAYER2", "PLAYER1 almost dodged PLAYER2",
                                 "PLAYER1 almost dodged PLAYER2 's rocket", "PLAYER1 blew"};
  for (size_t v = 1; v <= std::size(searchStrings); ++v) {
    variables[v].searchString = searchStrings[v - 1];
  }
  auto count = static_cast<int32_t>(std::size(searchStrings));
  ClientLineParser statistics(variables, count, ClientReading::kStatistics);
  ClientLineParser discovery(variables, count, ClientReading::kDiscovery);
  const std::string names[] = {"Bob", "^1B^2o^3b", "Lehoo^", "x^^", "^^7y", "a^7^", "^", "Al ^7Bo"};
  const char* forms[] = {"%1^7 was railed by %2^7\n", "%1^7 almost dodged %2^7's rocket\n",
                         "%1^7 blew herself up.\n", "%1 was railed by %2\n"};
  size_t hits = 0;
  for (const char* form : forms) {
    for (const std::string& one : names) {
      for (const std::string& two : names) {
        std::string line = form;
        line.replace(line.find("%1"), 2, one);
        if (size_t at = line.find("%2"); at != std::string::npos) line.replace(at, 2, two);
        LineBatch batch;
        batch.text.assign(line.begin(), line.end());
        LineFacts facts;
        std::string_view text(batch.text.data(), line.size() - 1);  // without its line feed
        statistics.Parse(text, &batch, &facts);
        LineFacts scanned;
        LineBatch scanBatch;
        scanBatch.text = batch.text;
        discovery.Parse(std::string_view(scanBatch.text.data(), text.size()), &scanBatch, &scanned);
        EXPECT_EQ(scanned.kind, facts.kind) << line;
        // Lines that name their players themselves are not matched in the discovery pass.
        bool read = DiscoveryReadsVariables(scanBatch, scanned);
        EXPECT_EQ(scanned.hitCount, read ? facts.hitCount : 0) << line;
        if (facts.names != kNoNames) {
          for (int i = 0; i < 2; ++i) {
            TextSpan raw = batch.NamesOf(facts).raw[i];
            EXPECT_EQ(batch.Name(batch.NamesOf(facts).names[i]), StripColourCodes(batch.Text(raw)))
                << line;
          }
        }
        for (uint32_t h = facts.firstHit; h < facts.firstHit + facts.hitCount; ++h, ++hits) {
          for (int i = 0; i < 2; ++i) {
            const VariableHit& hit = batch.hits[h];
            EXPECT_EQ(batch.Name(hit.names[i]), StripColourCodes(batch.Text(hit.raw[i])))
                << line << " / " << searchStrings[hit.variable - 1];
          }
        }
      }
    }
  }
  EXPECT_GT(hits, 150u);
}

// A batch's parser strips and looks up a game's names once: every line must read as it reads
// parsed alone, and a discovery parser may mark a name as seen only when an obituary or suicide
// of the same game earlier in the batch named it (the pass found it then). Games of more names
// than the memo keeps, names before a batch's first game start and names with codes included.
TEST(ClientLineParserTest, ABatchReadsAsItsLinesReadAlone) {
  class Numbers : public LineParser::NameNumbers {
   public:
    int32_t NumberOf(std::string_view name) const override {
      return static_cast<int32_t>(std::hash<std::string_view>{}(name) % 1000);
    }
  } numbers;
  ClientVariableSet variables{};
  variables[1].searchString = "PLAYER1 was railed by PLAYER2";
  variables[2].searchString = "PLAYER1 entered the game";
  std::mt19937 random(5);
  std::string text;
  for (int line = 0; line < 4000; ++line) {
    // Few names in most games, sixty in some, a few spelled with colour codes.
    int pool = line % 700 < 300 ? 60 : 6;
    auto name = [&] {
      int n = static_cast<int>(random() % static_cast<uint32_t>(pool));
      return n % 5 == 0 ? "^" + std::to_string(n % 10) + "P" + std::to_string(n)
                        : "P" + std::to_string(n);
    };
    switch (random() % 9) {
      case 0:
        text += line % 5 == 0 ? "CL_InitCGame: 4 msec\n" : "Default^7 entered the game\n";
        break;
      case 1:
        text += name() + "^7 entered the game\n";
        break;
      case 2:
        text += name() + "^7 cratered.\n";
        break;
      case 3:
        text += name() + "^7 ate " + name() + "^7's rocket\n";
        break;
      case 4:
        text += name() + ": ^2gg\n";
        break;
      default:
        text += name() + "^7 was railed by " + name() + "^7\n";
    }
  }
  for (bool discovery : {false, true}) {
    ClientLineParser parser(variables, 2,
                            discovery ? ClientReading::kDiscovery : ClientReading::kStatistics,
                            discovery ? nullptr : &numbers);
    LineBatch batch;
    batch.text.assign(text.begin(), text.end());
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at) + 1;
      batch.lines.push_back({static_cast<uint32_t>(at), static_cast<uint16_t>(end - at)});
      at = end;
    }
    parser.ParseBatch(&batch);
    std::set<std::string> gameNames;  // what this game's obituaries and suicides named so far
    size_t seen = 0;
    for (const LineFacts& facts : batch.lines) {
      LineBatch alone;
      alone.text = batch.text;
      LineFacts own{facts.at, facts.size};
      parser.Parse(alone.Line(own), &alone, &own);
      std::string_view line = batch.Line(facts);
      ASSERT_EQ(facts.kind, own.kind) << line;
      EXPECT_EQ(facts.weapon, own.weapon) << line;
      EXPECT_EQ(facts.hitCount, own.hitCount) << line;
      if (facts.kind == LineKind::kGameStart) gameNames.clear();
      if (facts.names == kNoNames) continue;
      bool marks = facts.kind == LineKind::kObituary || facts.kind == LineKind::kSuicide;
      for (int i = 0; i < 2; ++i) {
        std::string key(batch.Name(batch.NamesOf(facts).names[i]));
        EXPECT_EQ(key, alone.Name(alone.NamesOf(own).names[i])) << line;
        int32_t number = batch.NamesOf(facts).nameNumbers[i];
        if (number == kNameSeenInGame) {
          ++seen;
          EXPECT_TRUE(discovery && marks && gameNames.count(key) == 1) << line;
        } else {
          EXPECT_EQ(number, alone.NamesOf(own).nameNumbers[i]) << line;
        }
        if (marks && !key.empty()) gameNames.insert(key);
      }
    }
    EXPECT_EQ(seen > 1000, discovery);
  }
}

TEST(ServerLineTest, IdsTokensAndLastWordDecideTheMatchAndItsClients) {
  const std::string kill = At("0:30", "Kill: 2 3 10: A killed B by MOD_RAILGUN") + "\n";
  struct Case {
    const char* what;
    ServerVariable definition;
    const char* word;
    bool matched;
    const char* client1;
    const char* client2;
  };
  ServerVariable otherMod = KillVariable(-1, -1, 10);
  otherMod.modstring = "MOD_ROCKET";
  ServerVariable noId = KillVariable(-2, -1, 10);
  const Case cases[] = {
      {"two clients and the means of death", KillVariable(-1, -1, 10), "Kill:", true, "2", "3"},
      {"two clients, no third id", KillVariable(-1, -1, -2), "Kill:", true, "2", "3"},
      {"another means of death number", KillVariable(-1, -1, 7), "Kill:", false, "", ""},
      {"the idstring is not the event word", KillVariable(-1, -1, 10), "Item:", false, "", ""},
      {"another last word", otherMod, "Kill:", false, "", ""},
      {"no first id", noId, "Kill:", false, "", ""},
      {"fixed victim number", KillVariable(-1, 3, 10), "Kill:", true, "2", ""},
      {"fixed victim number differs", KillVariable(-1, 4, 10), "Kill:", false, "", ""},
      {"fixed killer number", KillVariable(2, -1, -2), "Kill:", true, "", "3"},
      {"second id absent counts as -2", KillVariable(-1, -2, 10), "Kill:", false, "", ""},
      {"one id", KillVariable(-1, -2, -2), "Kill:", true, "2", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerMatch match = MatchServerLine(c.definition, c.word, kill);
    EXPECT_EQ(match.matched, c.matched);
    EXPECT_EQ(match.client1, c.client1);
    EXPECT_EQ(match.client2, c.client2);
  }
}

TEST(ServerLineTest, ATokenWithoutAWordAfterItDoesNotMatch) {
  ServerVariable v = KillVariable(-1, -1, 10);
  EXPECT_FALSE(MatchServerLine(v, "Kill:", At("0:30", "Kill: 2 3") + "\n").matched);
  EXPECT_FALSE(MatchServerLine(v, "Kill:", "Kill:\n").matched);
  EXPECT_FALSE(MatchServerLine(v, "Kill:", "").matched);
}

// A line meets only the definitions of its event word and last word; the rest could not match.
TEST(ServerVariableIndexTest, GroupsByEventWordAndLastWord) {
  EXPECT_EQ(ServerLineLastWord("  1:02 Item: 3 item_quad\n"), "item_quad");
  EXPECT_EQ(ServerLineLastWord("nothing\n"), "nothing");
  EXPECT_EQ(ServerLineLastWord("ends with a blank \n"), "");
  EXPECT_EQ(ServerLineLastWord(""), "");
  // Last words longer than a step of the search, and blanks at a step's edges.
  EXPECT_EQ(ServerLineLastWord("  0:01 Item: 3 weapon_rocketlauncher\n"), "weapon_rocketlauncher");
  EXPECT_EQ(ServerLineLastWord("a weapon_rocketlaunch\n"), "weapon_rocketlaunch");
  EXPECT_EQ(ServerLineLastWord(" 1234567\n"), "1234567");
  EXPECT_EQ(ServerLineLastWord("x 123456\n"), "123456");
  EXPECT_EQ(ServerLineLastWord("abcdefghijklmnopqrstuvwxyz\n"), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(ServerLineLastWord("weapon\xa0 \xe9t\xa0\xa0\xa0\xa0\xa0\xa0\xa0\n"),
            "\xe9t\xa0\xa0\xa0\xa0\xa0\xa0\xa0");
  ServerVariableSet set{};
  auto define = [&set](int v, const char* idstring, const char* modstring) {
    set[static_cast<size_t>(v)].idstring = idstring;
    set[static_cast<size_t>(v)].modstring = modstring;
    set[static_cast<size_t>(v)].id1 = -1;
  };
  define(1, "Kill:", "MOD_RAILGUN");
  define(2, "Item:", "item_quad");
  define(3, "Kill:", "MOD_RAILGUN");
  define(4, "Kill:", "MOD_ROCKET");
  define(5, "", "MOD_ROCKET");  // takes no part
  ServerVariableIndex index;
  index.Build(set, 5);
  EXPECT_TRUE(index.Waits("Kill:"));
  EXPECT_FALSE(index.Waits("Kill"));
  EXPECT_EQ(index.For("Kill:", "MOD_RAILGUN"), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(index.For("Kill:", "MOD_ROCKET"), (std::vector<int32_t>{4}));
  EXPECT_TRUE(index.For("Kill:", "item_quad").empty());
  EXPECT_EQ(index.For("Item:", "item_quad"), (std::vector<int32_t>{2}));
  std::string_view lastWord;
  EXPECT_EQ(index.ForLine("Kill:", "  1:02 Kill: 2 3 10: a killed b by MOD_RAILGUN\n", &lastWord),
            (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(lastWord, "MOD_RAILGUN");
  EXPECT_TRUE(index.ForLine("say:", "  1:02 say: a MOD_RAILGUN\n", &lastWord).empty());
  index.Build(set, 2);
  EXPECT_TRUE(index.For("Kill:", "MOD_ROCKET").empty());
}

}  // namespace
}  // namespace vexor
