// The JSON export: string escaping, the exact bytes of a small document, a real load read back
// by a strict JSON reader, and the file written safely.
#include "stats/JsonExport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "TestSupport.h"
#include "base/Archive.h"
#include "log/PlayTime.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;

// A strict check of the JSON grammar: one value and nothing after it, no trailing commas, no
// duplicate keys, no raw control characters in strings, numbers in JSON's form only (so no NaN
// or infinity).
class JsonChecker {
 public:
  explicit JsonChecker(std::string_view text) : m_text(text) {}
  bool Check() {
    bool ok = Value(0);
    Blanks();
    return ok && m_at == m_text.size();
  }

 private:
  void Blanks() {
    while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) != nullptr)
      ++m_at;
  }
  bool Word(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return false;
    m_at += word.size();
    return true;
  }
  bool Take(char c) {
    Blanks();
    return Word(std::string_view(&c, 1));
  }
  bool Value(int depth) {
    Blanks();
    if (depth > 64 || m_at >= m_text.size()) return false;
    if (Take('{')) return Members(depth);
    if (Take('[')) return Items(depth);
    if (m_text[m_at] == '"') return String(nullptr);
    return Word("true") || Word("false") || Word("null") || Number();
  }
  bool Members(int depth) {
    if (Take('}')) return true;
    std::set<std::string> keys;
    do {
      std::string key;
      Blanks();
      if (!String(&key) || !keys.insert(key).second) return false;
      if (!Take(':') || !Value(depth + 1)) return false;
    } while (Take(','));
    return Take('}');
  }
  bool Items(int depth) {
    if (Take(']')) return true;
    do {
      if (!Value(depth + 1)) return false;
    } while (Take(','));
    return Take(']');
  }
  bool Digits() {
    size_t from = m_at;
    while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at])))
      ++m_at;
    return m_at > from;
  }
  bool Number() {
    Word("-");
    if (!Word("0") && !Digits()) return false;
    if (Word(".") && !Digits()) return false;
    if (Word("e") || Word("E")) {
      if (!Word("+")) Word("-");
      return Digits();
    }
    return true;
  }
  // A string literal; its text as written (escapes not decoded) goes to raw.
  bool String(std::string* raw) {
    if (!Word("\"")) return false;
    size_t start = m_at;
    while (m_at < m_text.size()) {
      auto c = static_cast<unsigned char>(m_text[m_at++]);
      if (c == '"') {
        if (raw != nullptr) *raw = m_text.substr(start, m_at - 1 - start);
        return true;
      }
      if (c < 0x20) return false;
      if (c != '\\') continue;
      if (m_at >= m_text.size()) return false;
      char e = m_text[m_at++];
      if (e == 'u') {
        for (int i = 0; i < 4; ++i, ++m_at) {
          if (m_at >= m_text.size() || !std::isxdigit(static_cast<unsigned char>(m_text[m_at]))) {
            return false;
          }
        }
      } else if (e == '\0' || std::strchr("\"\\/bfnrt", e) == nullptr) {
        return false;
      }
    }
    return false;
  }

  std::string_view m_text;
  size_t m_at = 0;
};

std::string JsonOf(const VexoriumDoc& doc) {
  StringSink sink;
  WriteJson(doc, sink);
  std::string json = sink.Bytes();
  EXPECT_TRUE(IsValidUtf8(json));
  EXPECT_TRUE(JsonChecker(json).Check()) << json;
  return json;
}

// The text of the number that follows `"key":` at or after from.
std::string NumberAfter(const std::string& json, const std::string& key, size_t from) {
  size_t at = json.find("\"" + key + "\":", from);
  if (at == std::string::npos) return "";
  at += key.size() + 3;
  return json.substr(at, json.find_first_of(",}", at) - at);
}

TEST(JsonStringTest, EscapesAndCarriesNonUtf8TextAsLatin1) {
  const std::pair<std::string, std::string> cases[] = {
      {"Bob", "\"Bob\""},
      {"100%s \"x\" a\\b", "\"100%s \\\"x\\\" a\\\\b\""},
      {std::string("\x01\n\r\t\x1F\x7F", 6) + std::string(1, '\0'),
       "\"\\u0001\\n\\r\\t\\u001F\x7F\\u0000\""},
      {"Zo\xC3\xAB \xF0\x9F\x98\x80", "\"Zo\xC3\xAB \xF0\x9F\x98\x80\""},  // valid UTF-8 as is
      {"Caf\xE9", "\"Caf\\u00E9\""},
      // One bad byte makes the whole text Latin-1, its valid-looking pairs included.
      {"\xC3\xA9\xFF", "\"\\u00C3\\u00A9\\u00FF\""},
      {"\xC0\xAF", "\"\\u00C0\\u00AF\""},                        // overlong
      {"\xED\xA0\x80", "\"\\u00ED\\u00A0\\u0080\""},             // surrogate
      {"\xF4\x90\x80\x80", "\"\\u00F4\\u0090\\u0080\\u0080\""},  // above U+10FFFF
      {"\xE2\x82", "\"\\u00E2\\u0082\""},                        // cut short
  };
  for (const auto& [bytes, literal] : cases) {
    std::string out;
    AppendJsonString(&out, bytes);
    EXPECT_EQ(out, literal);
  }
}

class JsonExportTest : public test::LoadFixture, public ::testing::Test {
 protected:
  int32_t AddPlayer(const std::string& name, const std::string& rawName) {
    int32_t p = ++doc.nameCount;
    doc.playerCount = p;
    Record(p).rawName = rawName;
    Record(p).clientVarTotals.assign(static_cast<size_t>(doc.clientVarCount) + 1, 0);
    Record(p).serverVarTotals.assign(static_cast<size_t>(doc.serverVarCount) + 1, 0);
    doc.SetPlayerName(p, name);
    return p;
  }
  PlayerRecord& Record(int32_t p) { return doc.players[static_cast<size_t>(p)]; }
  GameRecord& GameAt(int32_t g) { return doc.games[static_cast<size_t>(g)]; }

  // Compares with tests/data/json/NAME; on a mismatch writes NAME.actual beside it.
  // VEXOR_UPDATE_GOLDEN=1 rewrites the golden file.
  void ExpectGolden(const std::string& actual, const std::string& name) {
    std::string path = std::string(VEXOR_TEST_DATA) + "/json/" + name;
    if (std::getenv("VEXOR_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(path, std::ios::binary) << actual;
      return;
    }
    if (actual == test::ReadFile(path)) {
      std::filesystem::remove(path + ".actual");
      return;
    }
    std::ofstream(path + ".actual", std::ios::binary) << actual;
    ADD_FAILURE() << "differs from " << path << "; see " << path << ".actual";
  }
};

// Two games, three players with awkward names, one variable of each kind.
TEST_F(JsonExportTest, SmallDocumentMatchesTheGoldenFile) {
  doc.teamArenaSet = true;
  doc.clientVarCount = 1;
  ClientVariable& taunts = doc.clientVars[1];
  taunts.name = "Taunts \"x\"";
  taunts.stringType = 2;
  taunts.ordinal = 1;
  taunts.searchString = "PLAYER1 taunts";
  taunts.p1Change = taunts.p1Target = taunts.p1Value = 1;
  doc.serverVarCount = 1;
  ServerVariable& caps = doc.serverVars[1];
  caps.name = "Caps";
  caps.idstring = "Item:";
  caps.modstring = "team_CTF_redflag";
  caps.id1 = -1;
  caps.visible = 0;

  int32_t quote = AddPlayer("Q\"uote\\back\x01\tctl", "^1Q\"uote\\back\x01\tctl");
  int32_t cafe = AddPlayer("Caf\xE9", "^2Caf\xE9");
  AddPlayer("Zo\xC3\xAB", "Zo\xC3\xAB");
  doc.gameCount = 2;
  doc.displayedGameCount = 1;
  GameRecord& first = GameAt(1);
  first = GameRecord{2, 20, 15, 1, "q3dm17", "Free For All", {}, false};
  first.kills.Allocate(2);
  for (int i = 0; i < 2; ++i) {
    first.kills.Add(KillTables::kAllWeapons, 0, 1);
  }
  for (int i = 0; i < 2; ++i) {
    first.kills.Add(KillTables::TableOf(Weapon::kRocket), 0, 1);
  }
  first.kills.Add(KillTables::kAllWeapons, 1, 1);
  GameAt(2) = GameRecord{1, 0, 0, 0, "q3\"dm", "Unknown", {}, true};

  PlayerRecord& q = Record(quote);
  q.frags = 2;
  q.deaths = 1;
  q.suicides = 0;
  q.totalSeconds = 300;
  q.UpdateTimeText();
  q.weaponFrags[Index(Weapon::kRocket)] = 2;
  q.clientVarTotals[1] = 4;
  PlayerGame& inFirst = q.games.At(1);
  inFirst = PlayerGame{2, 1, 0, 300, 2, PerHour(300, 2), PerHour(300, 1), 0, {}, {}, {}, {}};
  inFirst.weaponFrags[Index(Weapon::kRocket)] = 2;
  inFirst.ClientVarRef(1) = 4;
  q.games.At(2).fragsPerHour = INFINITY;  // never written as a number
  q.games.At(3).frags = 9;                // beyond the game count: left out
  PlayerRecord& c = Record(cafe);
  c.suicides = 1;
  c.deaths = 2;
  c.totalSeconds = 7;
  c.UpdateTimeText();
  c.games.At(1) = PlayerGame{0, 2, 1, 7, 1, 0, PerHour(7, 2), PerHour(7, 1), {}, {}, {}, {}};

  ExpectGolden(JsonOf(doc), "small.json");
}

TEST_F(JsonExportTest, RealLoadReadsBackWithItsValues) {
  ASSERT_TRUE(LoadText(test::Lines({
      InitGame("0:00", "q3dm6", 0, 10, 5),
      Connect("0:00", 2, "^1Al\xE9"),
      Connect("0:00", 3, "Bob"),
      At("0:20", "Kill: 2 3 7: ^1Al\xE9 killed Bob by MOD_ROCKET_SPLASH"),
      At("0:30", "Kill: 2 3 10: ^1Al\xE9 killed Bob by MOD_RAILGUN"),
      At("0:40", "Kill: 3 3 7: Bob killed Bob by MOD_ROCKET_SPLASH"),
      At("1:47", "ShutdownGame:"),
  })));
  doc.clientVarCount = 2;
  doc.clientVars[2].name = "Two";
  Record(1).clientVarTotals.assign(3, 0);
  Record(1).clientVarTotals[2] = 5;
  Record(1).games.At(1).ClientVarRef(2) = 5;

  std::string json = JsonOf(doc);
  auto contains = [&json](const std::string& part) {
    return json.find(part) != std::string::npos ? ::testing::AssertionSuccess()
                                                : ::testing::AssertionFailure() << part;
  };
  EXPECT_TRUE(contains("\"gameCount\":1,"));
  EXPECT_TRUE(contains("{\"number\":2,\"name\":\"Two\","));
  // Al's name is not UTF-8: it comes out as Latin-1.
  EXPECT_TRUE(
      contains("{\"number\":1,\"name\":\"Al\\u00E9\",\"rawName\":\"^1Al\\u00E9\",\"frags\":2,"
               "\"deaths\":0,\"suicides\":0,\"gamesPlayed\":1,\"totalSeconds\":107,"));
  EXPECT_TRUE(
      contains("\"clientVariables\":{\"1\":0,\"2\":5},\"serverVariables\":{},\"rating\":{"));
  // Al won the only game against Bob: rank 1, rated once, the rating after the game in it.
  EXPECT_TRUE(
      contains("\"rating\":{\"value\":1662.3,\"deviation\":290.3,\"lower\":1081.7,"
               "\"volatility\":0.060000,\"ratedGames\":1,\"rank\":1},\"games\":{\"1\":"));
  EXPECT_TRUE(contains("\"clientVariables\":{\"2\":5},\"serverVariables\":{},\"rating\":1662.3}"));
  EXPECT_TRUE(contains("\n\"awards\":[\n{\"title\":\"Top Gun\",\"rule\":"));
  // Per game only the weapons and variables with counts.
  EXPECT_TRUE(contains("\"weapons\":{\"rocket\":1,\"railgun\":1},\"clientVariables\":{\"2\":5}"));
  // Floats read back to the very value the document holds.
  size_t game = json.find("\"games\":{\"1\":");
  float stored = Player(std::string("Al\xE9")).games.Get(1).fragsPerHour;
  EXPECT_EQ(std::strtof(NumberAfter(json, "fragsPerHour", game).c_str(), nullptr), stored);
  EXPECT_EQ(std::strtof(NumberAfter(json, "fragsPerHour", 0).c_str(), nullptr), PerHour(107, 2));
  // Al is position 0 and Bob position 1: two frags of Al on Bob, Bob's suicide.
  EXPECT_TRUE(
      contains("\"map\":\"q3dm6\",\"type\":\"Free For All\",\"fragLimit\":10,\"timeLimit\":5,"
               "\"serverLog\":true,\"short\":false,\"playerNumber\":2,\"players\":[1,2],"
               "\"kills\":{\"all\":[[0,1,2],[1,1,1]],"));
  EXPECT_TRUE(contains("\"railgun\":[[0,1,1]],\"bfg\":[]}"));
}

TEST_F(JsonExportTest, ExportReplacesTheFileWholeOrLeavesWhatIsThere) {
  AddPlayer("Bob", "Bob");
  std::string path = folder.Write("stats.json", "old");
  std::string error;
  ASSERT_TRUE(ExportJson(doc, path, &error)) << error;
  EXPECT_EQ(test::ReadFile(path), JsonOf(doc));

  // A folder in the way: the rename fails, the folder keeps its file, no temporary file stays.
  std::string taken = folder.File("taken");
  std::filesystem::create_directory(taken);
  folder.Write("taken/keep", "x");
  EXPECT_FALSE(ExportJson(doc, taken, &error));
  EXPECT_NE(error.find(taken), std::string::npos) << error;
  EXPECT_EQ(test::ReadFile(taken + "/keep"), "x");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
  EXPECT_FALSE(ExportJson(doc, folder.File("no/such/folder/stats.json"), &error));
}

}  // namespace
}  // namespace vexor
