// Lines of a log read ahead, together with what a line parser found in them (LineFacts): the
// pure part of a pass, which needs nothing of the document, is done for a batch of lines at a
// time on the reading thread (ReadAhead), and the pass applies the facts in the order of the
// lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexor {

// A piece of a batch's texts: its lines (LineBatch::Line) or the names it keeps
// (LineBatch::Name).
struct TextSpan {
  uint32_t at = 0;
  uint32_t size = 0;
};

// What a line is to the passes. Server log lines are told by their event word, client log lines
// by the messages the client prints.
enum class LineKind : uint8_t {
  kOther,
  // Server logs.
  kInitGame,
  kConnect,
  kUserInfo,
  kDisconnect,
  kShutdown,
  kKill,
  // "ClientUserinfo:" (Urban Terror: the whole user information, before the change that names
  // the player).
  kUserInfoWhole,
  // Client logs.
  kGameStart,
  kEntry,
  kObituary,
  kSuicide,
};

inline constexpr int8_t kNoWeapon = -1;

inline constexpr uint32_t kNoNames = UINT32_MAX;

// A name's number among the names the discovery pass found, when the parser was not asked for
// it (LineParser's NameNumbers).
inline constexpr int32_t kNameNotLookedUp = -2;

// Client logs: the line names the map of the next game.
inline constexpr uint8_t kMapLoad = 1;
// Server logs: the line was stamped with the wall clock, rewritten as a game clock
// (RewriteWallClock).
inline constexpr uint8_t kWallClock = 2;

// What a line is, kept small: millions of lines pass from one thread to the other.
struct LineFacts {
  uint32_t at = 0;  // the line in the batch's text (LineBatch::Line)
  uint16_t size = 0;
  LineKind kind = LineKind::kOther;
  // A kill's means of death, or an obituary's verb: its weapon's index, or kNoWeapon.
  int8_t weapon = kNoWeapon;
  // Where the line's bytes end in the text (a carriage return that was dropped included): the
  // progress of the file up to this line is LineBatch::BytesReadAfter.
  uint32_t end = 0;
  // Server logs: the word end (FindEventWord) of lines of the kinds above.
  int16_t wordEnd = 0;
  uint8_t flags = 0;     // kMapLoad, kWallClock
  uint8_t hitCount = 0;  // the custom variables that match: hits[firstHit] onwards
  uint32_t firstHit = 0;
  uint32_t names = kNoNames;  // the line's names (LineBatch::NamesOf), or kNoNames
};

// The players a kill, obituary, suicide or entry names.
struct LineNames {
  // Kills: the client numbers of killer and victim (in the line). Obituaries: the raw names of
  // killer and victim (in the line); suicides and entries: the raw name in raw[0].
  TextSpan numbers[2];
  TextSpan raw[2];
  // The same names without colour codes (LineBatch::Name), and their numbers among the names
  // (client logs' statistics pass; else kNameNotLookedUp). Not kept for kills: a kill's
  // players are found by client number, and the pass strips the few names it needs itself.
  TextSpan names[2];
  int32_t nameNumbers[2] = {kNameNotLookedUp, kNameNotLookedUp};
  // Kills: the means of death's id (MeansOfDeathId, GameFamilies.h), 0 when unknown.
  uint8_t meansOfDeath = 0;
  // Kills: bit i is set when name i is colour codes alone, that is no name (OnlyColourCodes).
  uint8_t nameless = 0;
};

// A custom variable that matches a line, and the players it names: raw texts or client numbers
// in the line; without colour codes in the batch's names (client variables).
struct VariableHit {
  int32_t variable = 0;
  TextSpan raw[2];
  TextSpan names[2];
  int32_t nameNumbers[2] = {kNameNotLookedUp, kNameNotLookedUp};
};

struct LineBatch {
  std::vector<char> text;  // the bytes read, where the lines lie (its size only grows)
  std::string names;       // names that had colour codes, without them
  std::vector<LineFacts> lines;
  std::vector<LineNames> lineNames;
  std::vector<VariableHit> hits;
  // The lines of a kind or with variable hits, in order (ReadAhead lists them once parsed).
  std::vector<uint32_t> events;
  uint64_t firstByte = 0;  // the position in the file of the text's first byte

  void Clear() {
    names.clear();
    lines.clear();
    lineNames.clear();
    hits.clear();
    events.clear();
  }
  std::string_view Line(const LineFacts& facts) const {
    return std::string_view(text.data() + facts.at, facts.size);
  }
  uint64_t BytesReadAfter(const LineFacts& facts) const { return firstByte + facts.end; }
  // The names of a line whose facts have some.
  const LineNames& NamesOf(const LineFacts& facts) const { return lineNames[facts.names]; }
  // Gives the line names to fill.
  LineNames& AddNames(LineFacts* facts) {
    facts->names = static_cast<uint32_t>(lineNames.size());
    return lineNames.emplace_back();
  }
  std::string_view Text(TextSpan span) const {
    return std::string_view(text.data() + span.at, span.size);
  }
  // A name's span: in the names, or (kInText set) in the text, for a name that had no colour
  // code to take out.
  static constexpr uint32_t kInText = uint32_t{1} << 31;
  std::string_view Name(TextSpan span) const {
    if ((span.at & kInText) != 0) {
      return std::string_view(text.data() + (span.at & ~kInText), span.size);
    }
    return std::string_view(names).substr(span.at, span.size);
  }
  // The span of a piece of a line, which must lie in the text.
  // Which of the line's names (0 or 1) the kept name is, by its span; -1 when neither (or the
  // line has none). A variable's match mostly names the line's own names.
  int LineNameIndex(const LineFacts& facts, TextSpan name) const {
    if (facts.names == kNoNames) return -1;
    const LineNames& line = NamesOf(facts);
    for (int i = 0; i < 2; ++i) {
      if (line.names[i].at == name.at && line.names[i].size == name.size) return i;
    }
    return -1;
  }
  TextSpan SpanIn(std::string_view piece) const {
    if (piece.empty()) return {};
    return {static_cast<uint32_t>(piece.data() - text.data()), static_cast<uint32_t>(piece.size())};
  }
};

// The pure part of a pass: reads a line (a view into batch->text) and fills its facts, adding
// names and variable hits to the batch. Runs on the reading thread: it must not touch anything
// the pass changes.
class LineParser {
 public:
  // The numbers of names among those a discovery pass found, for a parser of a pass during
  // which they do not change: read from the reading thread while the pass runs.
  class NameNumbers {
   public:
    virtual ~NameNumbers() = default;
    // -1 when the name is none of them.
    virtual int32_t NumberOf(std::string_view name) const = 0;
  };

  virtual ~LineParser() = default;
  virtual void Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const = 0;
  // Every line of the batch, in order: what Parse() does line by line.
  virtual void ParseBatch(LineBatch* batch) const;
};

}  // namespace vexor
