#include "stats/JsonExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "base/Archive.h"
#include "base/AtomicFile.h"
#include "base/StringPrintf.h"
#include "stats/Awards.h"
#include "stats/DerivedValues.h"
#include "stats/GameFamily.h"
#include "stats/GamePlayers.h"
#include "stats/Rating.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {
namespace {

constexpr size_t kFlushSize = 64 * 1024;
constexpr int kFormatVersion = 1;

// Keys of the change-slot fields, in the order of kSlotsInRecordOrder.
struct SlotKeys {
  const char* change;
  const char* target;
  const char* value;
};
constexpr std::array<SlotKeys, 4> kSlotKeys = {{
    {"p1Change", "p1Target", "p1Value"},
    {"p2Change", "p2Target", "p2Value"},
    {"p1Change2", "p1Target2", "p1Value2"},
    {"p2Change2", "p2Target2", "p2Value2"},
}};

// A JSON writer that places the commas itself and hands its text to the sink in large pieces.
class JsonOut {
 public:
  explicit JsonOut(ByteSink& sink) : m_sink(sink) { m_text.reserve(kFlushSize + 4096); }
  ~JsonOut() { Flush(); }
  JsonOut(const JsonOut&) = delete;
  JsonOut& operator=(const JsonOut&) = delete;

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Starts the next element of a list on a line of its own.
  void NewLine() { m_newLine = true; }

  void Key(std::string_view key) {
    Separate();
    AppendJsonString(&m_text, key);
    m_text.push_back(':');
    m_afterKey = true;
  }
  void Int(int64_t value) {
    Separate();
    StringAppendF(&m_text, "%lld", static_cast<long long>(value));
  }
  void Float(float value) {
    Separate();
    if (std::isfinite(value)) {
      StringAppendF(&m_text, "%.9g", static_cast<double>(value));
    } else {
      m_text.append("null");
    }
  }
  // A number with a fixed count of decimals (ratings), or null when not finite.
  void Fixed(double value, int decimals) {
    Separate();
    if (std::isfinite(value)) {
      StringAppendF(&m_text, "%.*f", decimals, value);
    } else {
      m_text.append("null");
    }
  }
  void Null() {
    Separate();
    m_text.append("null");
  }
  void Bool(bool value) {
    Separate();
    m_text.append(value ? "true" : "false");
  }
  void String(std::string_view bytes) {
    Separate();
    AppendJsonString(&m_text, bytes);
  }

  void Field(std::string_view key, int64_t value) {
    Key(key);
    Int(value);
  }
  void Field(std::string_view key, float value) {
    Key(key);
    Float(value);
  }
  void Field(std::string_view key, double value, int decimals) {
    Key(key);
    Fixed(value, decimals);
  }
  void Field(std::string_view key, bool value) {
    Key(key);
    Bool(value);
  }
  void Field(std::string_view key, std::string_view value) {
    Key(key);
    String(value);
  }
  void Field(std::string_view key, const char* value) {
    Key(key);
    String(value);
  }
  void Field(std::string_view key, const std::string& value) {
    Key(key);
    String(value);
  }

  void Flush() {
    m_sink.Write(m_text.data(), m_text.size());
    m_text.clear();
  }

 private:
  void Separate() {
    if (m_afterKey) {
      m_afterKey = false;
      return;
    }
    if (!m_hasElement.empty()) {
      if (m_hasElement.back()) m_text.push_back(',');
      m_hasElement.back() = true;
    }
    if (m_newLine) m_text.push_back('\n');
    m_newLine = false;
    if (m_text.size() >= kFlushSize) Flush();
  }
  void Open(char bracket) {
    Separate();
    m_text.push_back(bracket);
    m_hasElement.push_back(false);
  }
  void Close(char bracket) {
    m_hasElement.pop_back();
    if (m_newLine) m_text.push_back('\n');
    m_newLine = false;
    m_text.push_back(bracket);
  }

  ByteSink& m_sink;
  std::string m_text;
  std::vector<bool> m_hasElement;  // per open object or list: something written in it
  bool m_afterKey = false;
  bool m_newLine = false;
};

int32_t EntryAt(const std::vector<int32_t>& values, int32_t v) {
  return v >= 0 && static_cast<size_t>(v) < values.size() ? values[static_cast<size_t>(v)] : 0;
}

std::string NumberKey(int32_t number) {
  return StringPrintf("%d", number);
}

void WriteLoad(JsonOut& out, const VexoriumDoc& doc) {
  out.Key("load");
  out.BeginObject();
  out.Field("nameCount", int64_t{doc.nameCount});
  out.Field("playerCount", int64_t{doc.playerCount});
  out.Field("gameCount", int64_t{doc.gameCount});
  out.Field("displayedGameCount", int64_t{doc.displayedGameCount});
  out.Field("clientVarCount", int64_t{doc.clientVarCount});
  out.Field("serverVarCount", int64_t{doc.serverVarCount});
  out.Field("clientLogSeen", doc.clientLogSeen);
  out.Field("serverLogAbsent", doc.serverLogAbsent);
  out.Field("teamArenaSet", doc.teamArenaSet);
  out.EndObject();
}

void WriteSlots(JsonOut& out, const ChangeSlots& slots) {
  for (size_t s = 0; s < kSlotsInRecordOrder.size(); ++s) {
    const SlotFields& fields = kSlotsInRecordOrder[s];
    out.Field(kSlotKeys[s].change, int64_t{slots.*fields.change});
    out.Field(kSlotKeys[s].target, int64_t{slots.*fields.target});
    out.Field(kSlotKeys[s].value, int64_t{slots.*fields.value});
  }
}

void WriteClientVariable(JsonOut& out, int32_t number, const ClientVariable& variable) {
  out.BeginObject();
  out.Field("number", int64_t{number});
  out.Field("name", variable.name);
  out.Field("stringType", int64_t{variable.stringType});
  out.Field("ordinal", int64_t{variable.ordinal});
  out.Field("searchString", variable.searchString);
  WriteSlots(out, variable);
  out.Field("visible", int64_t{variable.visible});
  out.EndObject();
}

void WriteServerVariable(JsonOut& out, int32_t number, const ServerVariable& variable) {
  out.BeginObject();
  out.Field("number", int64_t{number});
  out.Field("name", variable.name);
  out.Field("ordinal", int64_t{variable.ordinal});
  out.Field("id1", int64_t{variable.id1});
  out.Field("id2", int64_t{variable.id2});
  out.Field("id3", int64_t{variable.id3});
  out.Field("modstring", variable.modstring);
  out.Field("idstring", variable.idstring);
  WriteSlots(out, variable);
  out.Field("visible", int64_t{variable.visible});
  out.Field("reserved", int64_t{variable.reserved});
  out.EndObject();
}

template <typename Set, typename WriteOne>
void WriteDefinitions(JsonOut& out, std::string_view key, const Set& set, int32_t count,
                      WriteOne writeOne) {
  out.Key(key);
  out.BeginArray();
  for (int32_t v = 1; v <= count; ++v) {
    out.NewLine();
    writeOne(out, v, set[static_cast<size_t>(v)]);
  }
  out.NewLine();
  out.EndArray();
}

// Weapon counts by weapon key, for the load's weapons; with onlyNonZero, weapons without frags
// are left out.
template <typename Record>
void WriteWeapons(JsonOut& out, const Record& record, const std::vector<WeaponId>& weapons,
                  bool onlyNonZero) {
  out.Key("weapons");
  out.BeginObject();
  for (WeaponId w : weapons) {
    int32_t frags = record.WeaponFrags(w);
    if (!onlyNonZero || frags != 0) out.Field(WeaponInfoOf(w).key, int64_t{frags});
  }
  out.EndObject();
}

// Variable counts 1 to count keyed by number; with onlyNonZero, zero counts are left out.
void WriteVariableCounts(JsonOut& out, std::string_view key, const std::vector<int32_t>& counts,
                         int32_t count, bool onlyNonZero) {
  out.Key(key);
  out.BeginObject();
  for (int32_t v = 1; v <= count; ++v) {
    int32_t value = EntryAt(counts, v);
    if (!onlyNonZero || value != 0) out.Field(NumberKey(v), int64_t{value});
  }
  out.EndObject();
}

// What every player's and game's entry is written with.
struct VariableCounts {
  int32_t client;
  int32_t server;
  std::vector<WeaponId> weapons;  // the load's weapons (WeaponsInLoad)
};

void WritePlayerGame(JsonOut& out, int32_t game, const PlayerGame& values,
                     const VariableCounts& vars, const RatingPoint* rated) {
  out.Key(NumberKey(game));
  out.BeginObject();
  out.Field("frags", int64_t{values.frags});
  out.Field("deaths", int64_t{values.deaths});
  out.Field("suicides", int64_t{values.suicides});
  out.Field("seconds", int64_t{values.seconds});
  out.Field("team", int64_t{values.team});
  out.Field("fragsPerHour", values.fragsPerHour);
  out.Field("deathsPerHour", values.deathsPerHour);
  out.Field("suicidesPerHour", values.suicidesPerHour);
  WriteWeapons(out, values, vars.weapons, true);
  WriteVariableCounts(out, "clientVariables", values.clientVarCounts, vars.client, true);
  WriteVariableCounts(out, "serverVariables", values.serverVarCounts, vars.server, true);
  if (rated != nullptr) out.Field("rating", rated->rating, 1);
  out.EndObject();
}

void WriteRating(JsonOut& out, const PlayerRating& rating) {
  out.Key("rating");
  out.BeginObject();
  out.Field("value", rating.value.rating, 1);
  out.Field("deviation", rating.value.deviation, 1);
  out.Field("lower", rating.Conservative(), 1);
  out.Field("volatility", rating.value.volatility, 6);
  out.Field("ratedGames", int64_t{rating.ratedGames});
  out.Field("rank", int64_t{rating.rank});
  out.EndObject();
}

void WritePlayer(JsonOut& out, int32_t number, const PlayerRecord& player, int32_t gameCount,
                 const VariableCounts& vars, const Ratings& ratings) {
  out.BeginObject();
  out.Field("number", int64_t{number});
  out.Field("name", player.name);
  out.Field("rawName", player.rawName);
  out.Field("frags", int64_t{player.frags});
  out.Field("deaths", int64_t{player.deaths});
  out.Field("suicides", int64_t{player.suicides});
  out.Field("gamesPlayed", int64_t{player.gamesPlayed});
  out.Field("totalSeconds", int64_t{player.totalSeconds});
  out.Field("timeText", player.timeText);
  // Derived from the totals here, so they are right whether or not a view has shown them.
  HourlyRates rates = HourlyRatesOf(player);
  out.Field("skill", Skill(player.frags, player.deaths, player.suicides));
  out.Field("fragsPerHour", rates.frags);
  out.Field("deathsPerHour", rates.deaths);
  out.Field("suicidesPerHour", rates.suicides);
  WriteWeapons(out, player, vars.weapons, false);
  WriteVariableCounts(out, "clientVariables", player.clientVarTotals, vars.client, false);
  WriteVariableCounts(out, "serverVariables", player.serverVarTotals, vars.server, false);
  WriteRating(out, ratings.Of(number));
  out.Key("games");
  out.BeginObject();
  const GameSeries& series = player.games;
  std::span<const RatingPoint> history = ratings.History(number);
  size_t next = 0;  // both run in game order
  for (size_t e = 0; e < series.EntryCount(); ++e) {
    int32_t game = series.GameAt(e);
    while (next < history.size() && history[next].game < game)
      ++next;
    const RatingPoint* rated =
        next < history.size() && history[next].game == game ? &history[next] : nullptr;
    if (game >= 1 && game <= gameCount) WritePlayerGame(out, game, series.ValueAt(e), vars, rated);
  }
  out.EndObject();
  out.EndObject();
}

// The non-zero cells of one kill table as [killer, victim, count] in row order.
void WriteKillTable(JsonOut& out, const KillTables& kills, int table) {
  out.BeginArray();
  for (int32_t k = 0; k < kills.Size(); ++k) {
    for (int32_t v = 0; v < kills.Size(); ++v) {
      int32_t count = kills.Get(table, k, v);
      if (count == 0) continue;
      out.BeginArray();
      out.Int(k);
      out.Int(v);
      out.Int(count);
      out.EndArray();
    }
  }
  out.EndArray();
}

void WriteGame(JsonOut& out, int32_t number, const GameRecord& game,
               std::span<const int32_t> present, const std::vector<WeaponId>& weapons) {
  out.BeginObject();
  out.Field("number", int64_t{number});
  out.Field("map", game.mapName);
  out.Field("type", game.gameTypeName);
  // Games of Quake III Arena and its kin say nothing, as before other games were read.
  if (game.family != GameFamily::kQuake3) out.Field("family", FamilyName(game.family));
  out.Field("fragLimit", int64_t{game.fragLimit});
  out.Field("timeLimit", int64_t{game.timeLimit});
  out.Field("serverLog", game.serverLogGame != 0);
  out.Field("short", game.shortGame);
  out.Field("playerNumber", int64_t{game.playerNumber});
  out.Key("players");
  out.BeginArray();
  for (int32_t p : present) {
    out.Int(p);
  }
  out.EndArray();
  out.Key("kills");
  out.BeginObject();
  out.Key("all");
  WriteKillTable(out, game.kills, KillTables::kAllWeapons);
  for (WeaponId w : weapons) {
    out.Key(WeaponInfoOf(w).key);
    WriteKillTable(out, game.kills, KillTables::TableOfWeapon(w));
  }
  out.EndObject();
  out.EndObject();
}

void WriteAwards(JsonOut& out, const std::vector<Award>& awards) {
  out.Key("awards");
  out.BeginArray();
  for (const Award& award : awards) {
    out.NewLine();
    out.BeginObject();
    out.Field("title", award.title);
    out.Field("rule", award.rule);
    out.Key("player");
    if (award.player != 0) {
      out.Int(award.player);
    } else {
      out.Null();
    }
    out.Field("value", award.value);
    out.EndObject();
  }
  out.NewLine();
  out.EndArray();
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte; later ones are 0x80 to 0xBF
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // no overlong forms
      if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (n - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

void AppendJsonString(std::string* out, std::string_view bytes) {
  const bool utf8 = IsValidUtf8(bytes);
  out->push_back('"');
  for (char ch : bytes) {
    auto byte = static_cast<unsigned char>(ch);
    switch (byte) {
      case '"':
        out->append("\\\"");
        continue;
      case '\\':
        out->append("\\\\");
        continue;
      case '\n':
        out->append("\\n");
        continue;
      case '\r':
        out->append("\\r");
        continue;
      case '\t':
        out->append("\\t");
        continue;
      default:
        break;
    }
    if (byte < 0x20 || (!utf8 && byte >= 0x80)) {
      StringAppendF(out, "\\u%04X", static_cast<unsigned>(byte));
    } else {
      out->push_back(ch);
    }
  }
  out->push_back('"');
}

void WriteJson(const VexoriumDoc& doc, ByteSink& sink) {
  const int32_t players = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  const int32_t games = std::clamp(doc.gameCount, 0, VexoriumDoc::kMaxGames);
  const VariableCounts vars{std::clamp(doc.clientVarCount, 0, kMaxVariables),
                            std::clamp(doc.serverVarCount, 0, kMaxVariables),
                            WeaponsInLoad(doc, kPerGameOrder)};
  JsonOut out(sink);
  out.BeginObject();
  out.Field("format", "vexor statistics");
  out.Field("version", int64_t{kFormatVersion});
  out.NewLine();
  WriteLoad(out, doc);
  out.NewLine();
  WriteDefinitions(out, "clientVariables", doc.clientVars, vars.client, WriteClientVariable);
  out.NewLine();
  WriteDefinitions(out, "serverVariables", doc.serverVars, vars.server, WriteServerVariable);
  out.NewLine();
  const Ratings ratings(doc);
  out.Key("players");
  out.BeginArray();
  for (int32_t p = 1; p <= players; ++p) {
    out.NewLine();
    WritePlayer(out, p, doc.players[static_cast<size_t>(p)], games, vars, ratings);
  }
  out.NewLine();
  out.EndArray();
  out.NewLine();
  out.Key("games");
  out.BeginArray();
  GamePlayers present(doc);
  for (int32_t g = 1; g <= games; ++g) {
    out.NewLine();
    WriteGame(out, g, doc.games[static_cast<size_t>(g)], present.In(g), vars.weapons);
  }
  out.NewLine();
  out.EndArray();
  out.NewLine();
  WriteAwards(out, ComputeAwards(doc, ratings));
  out.NewLine();
  out.EndObject();
  out.Flush();
  sink.Write("\n", 1);
}

bool ExportJson(const VexoriumDoc& doc, const std::string& path, std::string* error) {
  AtomicFile file(/*durable=*/true);
  bool ok = file.Open(path);
  if (ok) {
    WriteJson(doc, file);
    ok = file.Commit();
  }
  if (!ok && error != nullptr) *error = file.Error();
  return ok;
}

}  // namespace vexor
