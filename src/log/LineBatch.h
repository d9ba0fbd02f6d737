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
  // Client logs.
  kGameStart,
  kEntry,
  kObituary,
  kSuicide,
};

inline constexpr int8_t kNoWeapon = -1;

struct LineFacts {
  TextSpan line;           // the line itself (LineBatch::Line)
  uint64_t bytesRead = 0;  // the bytes of the file read up to the end of this line
  LineKind kind = LineKind::kOther;
  // A kill's means of death, or an obituary's verb: its weapon's index, or kNoWeapon.
  int8_t weapon = kNoWeapon;
  bool mapLoad = false;  // client logs: the line names the map of the next game
  uint8_t verb = 0;      // obituaries: the row of the obituary tables the line matched
  // Server logs: the word end (FindEventWord) of lines of the kinds above.
  int32_t wordEnd = 0;
  // Kills: the client numbers of killer and victim (in the line). Obituaries: the raw names of
  // killer and victim (in the line); suicides and entries: the raw name in raw[0].
  TextSpan numbers[2];
  TextSpan raw[2];
  // The names of kills, obituaries, suicides and entries without colour codes
  // (LineBatch::Name).
  TextSpan names[2];
  // The custom variables that match the line: hits[firstHit] onwards.
  uint32_t firstHit = 0;
  uint32_t hitCount = 0;
};

// A custom variable that matches a line, and the players it names: raw texts or client numbers
// in the line; without colour codes in the batch's names (client variables).
struct VariableHit {
  int32_t variable = 0;
  TextSpan raw[2];
  TextSpan names[2];
};

struct LineBatch {
  std::vector<char> text;  // the bytes read, where the lines lie (its size only grows)
  std::string names;       // names without colour codes
  std::vector<LineFacts> lines;
  std::vector<VariableHit> hits;

  void Clear() {
    names.clear();
    lines.clear();
    hits.clear();
  }
  std::string_view Line(const LineFacts& facts) const { return Text(facts.line); }
  std::string_view Text(TextSpan span) const {
    return std::string_view(text.data() + span.at, span.size);
  }
  std::string_view Name(TextSpan span) const {
    return std::string_view(names).substr(span.at, span.size);
  }
  // The span of a piece of a line, which must lie in the text.
  TextSpan SpanIn(std::string_view piece) const {
    if (piece.empty()) return {};
    return {static_cast<uint32_t>(piece.data() - text.data()), static_cast<uint32_t>(piece.size())};
  }
  // Keeps a name; the span to read it back with Name().
  TextSpan KeepName(std::string_view name) {
    TextSpan span{static_cast<uint32_t>(names.size()), static_cast<uint32_t>(name.size())};
    names.append(name);
    return span;
  }
};

// The pure part of a pass: reads a line (a view into batch->text) and fills its facts, adding
// names and variable hits to the batch. Runs on the reading thread: it must not touch anything
// the pass changes.
class LineParser {
 public:
  virtual ~LineParser() = default;
  virtual void Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const = 0;
};

}  // namespace vexor
