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
#include <map>

#include "TestSupport.h"
#include "base/Archive.h"
#include "log/PlayTime.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;

// A parsed JSON value. Numbers keep their text so floats can be read back exactly.
struct Json {
  enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
  bool boolean = false;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> members;

  const Json& operator[](const std::string& key) const {
    static const Json kMissing;
    auto it = members.find(key);
    EXPECT_TRUE(it != members.end()) << "no member " << key;
    return it == members.end() ? kMissing : it->second;
  }
  const Json& operator[](size_t i) const {
    static const Json kMissing;
    EXPECT_LT(i, items.size());
    return i < items.size() ? items[i] : kMissing;
  }
  long long Int() const { return std::strtoll(text.c_str(), nullptr, 10); }
};

// A strict reader of the JSON grammar: no trailing commas, no duplicate keys, no raw control
// characters in strings, numbers in JSON's form only (no NaN or infinity).
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : m_text(text) {}
  bool Read(Json* value) {
    if (!Value(value, 0)) return false;
    Blanks();
    return m_at == m_text.size();
  }

 private:
  void Blanks() {
    while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) != nullptr)
      ++m_at;
  }
  bool Take(char c) {
    Blanks();
    if (m_at >= m_text.size() || m_text[m_at] != c) return false;
    ++m_at;
    return true;
  }
  bool Word(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return false;
    m_at += word.size();
    return true;
  }
  bool Value(Json* value, int depth) {
    Blanks();
    if (depth > 64 || m_at >= m_text.size()) return false;
    char c = m_text[m_at];
    if (c == '{') return Object(value, depth);
    if (c == '[') return Array(value, depth);
    if (c == '"') {
      value->kind = Json::kString;
      return String(&value->text);
    }
    if (Word("true") || Word("false")) {
      value->kind = Json::kBool;
      value->boolean = m_text[m_at - 1] == 'e' && m_text[m_at - 2] == 'u';
      return true;
    }
    if (Word("null")) return true;
    value->kind = Json::kNumber;
    return Number(&value->text);
  }
  bool Object(Json* value, int depth) {
    value->kind = Json::kObject;
    ++m_at;
    if (Take('}')) return true;
    do {
      std::string key;
      Json member;
      Blanks();
      if (m_at >= m_text.size() || m_text[m_at] != '"') return false;
      if (!String(&key) || !Take(':') || !Value(&member, depth + 1)) return false;
      if (!value->members.emplace(key, std::move(member)).second) return false;
    } while (Take(','));
    return Take('}');
  }
  bool Array(Json* value, int depth) {
    value->kind = Json::kArray;
    ++m_at;
    if (Take(']')) return true;
    do {
      value->items.emplace_back();
      if (!Value(&value->items.back(), depth + 1)) return false;
    } while (Take(','));
    return Take(']');
  }
  bool Number(std::string* text) {
    size_t start = m_at;
    auto digits = [&] {
      size_t from = m_at;
      while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at])))
        ++m_at;
      return m_at > from;
    };
    Word("-");
    if (!Word("0") && !digits()) return false;
    if (Word(".") && !digits()) return false;
    if (Word("e") || Word("E")) {
      if (!Word("+")) Word("-");
      if (!digits()) return false;
    }
    *text = m_text.substr(start, m_at - start);
    return true;
  }
  // Reads a string literal; \u escapes become UTF-8 (no surrogate pairs are written).
  bool String(std::string* out) {
    ++m_at;
    while (m_at < m_text.size()) {
      auto c = static_cast<unsigned char>(m_text[m_at++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out->push_back(static_cast<char>(c));
        continue;
      }
      if (m_at >= m_text.size()) return false;
      char e = m_text[m_at++];
      const char* plain = std::strchr("\"\\/bfnrt", e);
      if (plain != nullptr && e != '\0') {
        out->push_back("\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"]);
      } else if (e == 'u' && m_at + 4 <= m_text.size()) {
        unsigned code = std::stoul(std::string(m_text.substr(m_at, 4)), nullptr, 16);
        m_at += 4;
        if (code >= 0xD800 && code < 0xE000) return false;
        if (code < 0x80) {
          out->push_back(static_cast<char>(code));
        } else if (code < 0x800) {
          out->push_back(static_cast<char>(0xC0 | code >> 6));
          out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
          out->push_back(static_cast<char>(0xE0 | code >> 12));
          out->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
          out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
      } else {
        return false;
      }
    }
    return false;
  }

  std::string_view m_text;
  size_t m_at = 0;
};

std::string JsonOf(const CVexoriumDoc& doc) {
  StringSink sink;
  WriteJson(doc, sink);
  return sink.Bytes();
}

Json Parse(const std::string& text) {
  Json value;
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_TRUE(JsonReader(text).Read(&value)) << text;
  return value;
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
  for (int i = 0; i < 2; ++i)
    first.kills.Add(KillTables::kAllWeapons, 0, 1);
  for (int i = 0; i < 2; ++i)
    first.kills.Add(KillTables::TableOf(Weapon::kRocket), 0, 1);
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
  inFirst = PlayerGame{2, 1, 0, 300, 2, PerHour(300, 2), PerHour(300, 1), 0, {}, {}, {}};
  inFirst.weaponFrags[Index(Weapon::kRocket)] = 2;
  inFirst.ClientVarRef(1) = 4;
  q.games.At(2).fragsPerHour = INFINITY;  // never written as a number
  q.games.At(3).frags = 9;                // beyond the game count: left out
  PlayerRecord& c = Record(cafe);
  c.suicides = 1;
  c.deaths = 2;
  c.totalSeconds = 7;
  c.UpdateTimeText();
  c.games.At(1) = PlayerGame{0, 2, 1, 7, 1, 0, PerHour(7, 2), PerHour(7, 1), {}, {}, {}};

  std::string json = JsonOf(doc);
  Parse(json);
  ExpectGolden(json, "small.json");
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

  Json root = Parse(JsonOf(doc));
  EXPECT_EQ(root["load"]["gameCount"].Int(), 1);
  EXPECT_FALSE(root["load"]["clientLogSeen"].boolean);
  ASSERT_EQ(root["clientVariables"].items.size(), 2u);
  EXPECT_EQ(root["clientVariables"][1]["name"].text, "Two");
  ASSERT_EQ(root["players"].items.size(), 2u);

  const Json& al = root["players"][0];
  EXPECT_EQ(al["name"].text, "Al\xC3\xA9");  // Latin-1 read back as UTF-8
  EXPECT_EQ(al["rawName"].text, "^1Al\xC3\xA9");
  EXPECT_EQ(al["frags"].Int(), 2);
  EXPECT_EQ(al["weapons"]["rocket"].Int(), 1);
  EXPECT_EQ(al["weapons"]["railgun"].Int(), 1);
  EXPECT_EQ(al["clientVariables"]["2"].Int(), 5);
  const Json& alGame = al["games"]["1"];
  EXPECT_EQ(alGame["seconds"].Int(), 107);
  EXPECT_EQ(alGame["clientVariables"]["2"].Int(), 5);
  EXPECT_EQ(alGame["weapons"].members.size(), 2u);  // only weapons with frags
  // Floats read back to the very value the document holds.
  float stored = Player(std::string("Al\xE9")).games.Get(1).fragsPerHour;
  EXPECT_EQ(std::strtof(alGame["fragsPerHour"].text.c_str(), nullptr), stored);
  EXPECT_EQ(std::strtof(al["fragsPerHour"].text.c_str(), nullptr), PerHour(107, 2));

  const Json& game = root["games"][0];
  EXPECT_EQ(game["map"].text, "q3dm6");
  EXPECT_EQ(game["fragLimit"].Int(), 10);
  EXPECT_TRUE(game["serverLog"].boolean);
  ASSERT_EQ(game["players"].items.size(), 2u);
  const Json& all = game["kills"]["all"];
  ASSERT_EQ(all.items.size(), 2u);  // Al on Bob twice, Bob's suicide
  EXPECT_EQ(all[0][0].Int() * 100 + all[0][1].Int() * 10 + all[0][2].Int(), 12);
  EXPECT_EQ(all[1][0].Int() * 100 + all[1][1].Int() * 10 + all[1][2].Int(), 111);
  EXPECT_EQ(game["kills"]["railgun"].items.size(), 1u);
  EXPECT_TRUE(game["kills"]["bfg"].items.empty());
}

TEST_F(JsonExportTest, ExportReplacesTheFileWholeOrLeavesItAlone) {
  AddPlayer("Bob", "Bob");
  std::string path = folder.Write("stats.json", "old");
  std::string error;
  ASSERT_TRUE(ExportJson(doc, path, &error)) << error;
  EXPECT_EQ(test::ReadFile(path), JsonOf(doc));

  std::string missing = folder.File("no/such/folder/stats.json");
  EXPECT_FALSE(ExportJson(doc, missing, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
}  // namespace vexor
