// What the passes read from a line before they apply it: the kind of line, the event word, the
// names of kills and obituaries without their colour codes, and the custom variables that match.
// None of it needs the document, so it runs on the reading thread (ReadAhead); the passes then
// find the players' records and change them, line by line in the order of the file.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "customvars/CustomVariables.h"
#include "log/LineBatch.h"
#include "log/LineText.h"
#include "log/VariableMatch.h"

namespace vexor {

// False for a server log line whose event word is of no kind (KindOfEventWord), told from the
// word's first characters: "Item:" and "say:" lines, most of a log, need no more look. *start
// receives the word's start (EventWordStart). Inline: every line of a server log asks.
inline bool MayBeOfAKind(std::string_view line, int* start) {
  *start = EventWordStart(line);
  size_t at = static_cast<size_t>(*start);
  if (at >= line.size()) return false;
  switch (line[at]) {
    case 'C':
    case 'K':
    case 'S':
      return true;
    case 'I':
      return at + 1 < line.size() && line[at + 1] == 'n';
    default:
      return false;
  }
}
inline bool MayBeOfAKind(std::string_view line) {
  int start;
  return MayBeOfAKind(line, &start);
}

class ServerLineParser : public LineParser {
 public:
  // The discovery pass needs only the event words; the statistics pass also the kills and the
  // server variables 1 to count.
  ServerLineParser(bool statistics, const ServerVariableSet& variables, int32_t count);
  void Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const override;
  void ParseBatch(LineBatch* batch) const override;

 private:
  // Parse() inline, for the batch's loop: most lines are told apart by a glance at their word.
  void ParseLine(std::string_view line, LineBatch* batch, LineFacts* facts) const {
    // The line lies in the batch's own text, which the parser of the batch may change.
    if (!line.empty() && line[0] == '[') ParseWallClock(line, batch, facts);
    int start;
    if (!MayBeOfAKind(line, &start) && m_index.Empty()) return;  // nothing to find
    ParseEvent(line, start, batch, facts);
  }
  void ParseWallClock(std::string_view line, LineBatch* batch, LineFacts* facts) const;
  void ParseEvent(std::string_view line, int wordStart, LineBatch* batch, LineFacts* facts) const;
  void ParseKill(std::string_view line, LineBatch* batch, LineFacts* facts) const;
  void MatchVariables(std::string_view word, std::string_view line, LineBatch* batch,
                      LineFacts* facts) const;

  bool m_statistics;
  ServerVariableSet m_variables;
  ServerVariableIndex m_index;
};

// The names a batch's lines of one game have named, each stripped of its colour codes and
// looked up once: a game's few players are named on most of its lines. Kept by their raw text
// (in the batch's text) for one batch and one game; full, it keeps no more and names are
// stripped and looked up as they come.
class GameNameMemo {
 public:
  struct Kept {
    TextSpan name;                      // without colour codes (LineBatch::Name)
    int32_t number = kNameNotLookedUp;  // among the discovery pass's names, when looked up
    bool marked = false;                // an obituary or suicide named it in this game
  };
  // A game start: the names of earlier lines are no longer this game's.
  void NewGame() {
    ++m_game;
    m_used = 0;
  }
  // The kept name of the raw text (which lies in the batch's text), stripped (and numbered,
  // with numbers) the first time; nullptr when the memo is full or the text empty.
  Kept* Find(std::string_view raw, LineBatch* batch, const LineParser::NameNumbers* numbers);

 private:
  struct Entry {
    uint32_t game = 0;
    uint32_t hash = 0;
    TextSpan raw;
    Kept kept;
  };
  static constexpr size_t kSlots = 64;
  static constexpr size_t kMostUsed = 48;
  std::array<Entry, kSlots> m_entries{};
  uint32_t m_game = 1;
  size_t m_used = 0;
};

// A discovery pass's obituary or suicide name that an earlier line of the same game and batch
// already named (LineNames::nameNumbers): the pass found and marked it then.
inline constexpr int32_t kNameSeenInGame = -3;

// Which reading of a client log a parser serves: the discovery pass's, the statistics pass's,
// or the one reading that does both passes' work line by line (ClientLogPass::ReadOnce).
enum class ClientReading { kDiscovery, kStatistics, kOnce };

class ClientLineParser : public LineParser {
 public:
  // Client variables 1 to count. A discovery pass's parser matches the variables only on the
  // lines that pass reads them on (DiscoveryReadsVariables); the other readings on every line.
  // The discovery and the single reading mark the obituary and suicide names seen before in
  // the game (kNameSeenInGame). With numbers, every name the parser keeps gets its number.
  ClientLineParser(const ClientVariableSet& variables, int32_t count, ClientReading reading,
                   const NameNumbers* numbers = nullptr);
  void Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const override;
  // A batch's names are stripped and looked up once a game (GameNameMemo), and marked when
  // the reading marks them.
  void ParseBatch(LineBatch* batch) const override;

 private:
  void ParseLine(std::string_view line, LineBatch* batch, LineFacts* facts,
                 GameNameMemo* memo) const;
  void ParseMessage(std::string_view line, LineBatch* batch, LineFacts* facts,
                    GameNameMemo* memo) const;
  // Fills name i of the line's names from its raw text: stripped, and numbered or marked.
  void KeepName(std::string_view raw, bool marks, LineBatch* batch, LineNames* names, int i,
                GameNameMemo* memo) const;
  void MatchVariables(std::string_view line, LineBatch* batch, LineFacts* facts) const;
  int32_t NumberOf(const LineBatch& batch, TextSpan name) const;
  // The number of a name a variable's match names on the line.
  int32_t LineNameNumber(const LineBatch& batch, const LineFacts& facts, TextSpan name) const;

  std::vector<ClientPattern> m_patterns;  // index = client variable
  // The first variable with the same pattern (a set often counts one message several ways):
  // it matches the same lines with the same names.
  std::vector<uint8_t> m_sameAs;
  ClientPatternFilter m_filter;
  bool m_allVariables = true;  // every line's variables, not only the discovery pass's
  bool m_marks = false;        // marks the names seen before in the game
  const NameNumbers* m_numbers = nullptr;
};

// The discovery pass over a client log reads a line's variables only when the line is none of
// those that name their players themselves: a game start, an obituary, a suicide, an entry
// with a name.
bool DiscoveryReadsVariables(const LineBatch& batch, const LineFacts& facts);

// The parts of a "Kill:" line: the client numbers of killer and victim and their raw names (views
// into the line; empty where the line does not have them).
struct KillLineText {
  std::string_view killerNumber;
  std::string_view victimNumber;
  std::string_view killer;
  std::string_view victim;
  std::string_view meansOfDeath;  // "-1" when the line names none
};
KillLineText CutKillLine(std::string_view line);

// The kind of server log line an event word announces.
LineKind KindOfEventWord(std::string_view word);
// The name without colour codes (StripColourCodes), kept in the batch.
TextSpan KeepWithoutColourCodes(std::string_view text, LineBatch* batch);

}  // namespace vexor
