// Matching log lines against custom-variable definitions, without the document: which players a
// line names for a definition. Applying the match (finding the players' records and changing
// their counters) is LogAnalysis's part.
//
// A client variable's search string is cut into its parts once per pass (ClientPattern), so that
// matching a line costs a few searches; server variables are grouped by the event word they wait
// for (ServerVariableIndex), so that a line meets only the definitions of its own event word.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextHash.h"
#include "customvars/CustomVariables.h"

namespace vexor {

// A client variable's search string in parts. p is the position of the last "PLAYER1"; a is the
// text before it less the blank before it; m the text between "PLAYER1 " and the last
// " PLAYER2"; t the text after "PLAYER1 " (forms 0 and 2) or after "PLAYER2 " (forms 4 and 6).
// A search string without "PLAYER1" is read as if it began with "PLAYER1 ".
struct ClientPattern {
  int32_t form = 0;  // 0 to 6, the StringType told from the text itself
  size_t p = 0;
  std::string a;
  std::string m;
  std::string mBlank;  // m followed by a blank
  std::string t;

  bool operator==(const ClientPattern&) const = default;
};

ClientPattern PrepareClientPattern(std::string_view searchString);

// The texts a line must hold to match the pattern (each searched for in it); none for a pattern
// of no form, which matches nothing.
std::vector<std::string_view> SearchedTexts(const ClientPattern& pattern);

// The client variables a line may match, found in one pass over the line. Every variable is
// known by one four-byte piece of a text it searches for, the piece the fewest variables share;
// a line without that piece cannot match it. A variable whose texts are all shorter than four
// bytes is always tried. Most lines of a client log then meet a variable or two of 49.
class ClientPatternFilter {
 public:
  // patterns[v] is variable v (0 unused).
  void Build(const std::vector<ClientPattern>& patterns);
  static_assert(kMaxVariables < 64, "a variable is a bit of the candidates");
  // Bit v set for every variable v the line may match.
  uint64_t Candidates(std::string_view line) const;

 private:
  static constexpr int kTableBits = 10;
  static size_t Slot(const char* piece);
  std::array<uint64_t, size_t{1} << kTableBits> m_table{};
  uint64_t m_always = 0;
  // The line is looked at every m_stride positions: each variable's table holds that many
  // pieces of its text one after the other, so that one of them starts at a looked-at place
  // wherever the text stands in the line.
  size_t m_stride = 1;
};

// The raw names (colour codes included) a line gives for a definition; player 2 is empty for the
// one-player forms 0 to 2. The views point into the line.
struct PatternMatch {
  bool matched = false;
  std::string_view player1;
  std::string_view player2;
};

PatternMatch MatchClientPattern(const ClientPattern& pattern, std::string_view line);

// What a server line gives for a definition: the client-number tokens of player 1 and player 2
// (empty when the definition names no such player). word is the line's event word.
//
// The definition takes part when id1 is not -2 and its modstring and idstring are set, and the
// idstring is the event word. The tokens after the event word are read for the ids in use; the
// line's last word must be the modstring; with three ids the third token (less its ':') must be
// id3. An id of -1 marks a token that carries a client (player 1 for id1, player 2 for id2); any
// other id is a fixed number that its token must carry.
struct ServerMatch {
  bool matched = false;
  std::string_view client1;
  std::string_view client2;
};

ServerMatch MatchServerLine(const ServerVariable& definition, std::string_view word,
                            std::string_view line);

// The tokens a server line carries after its event word, cut once for every definition that
// may match the line: from 7 characters after the clock's colon to the next blank, then blank by
// blank. Only tokens that end at a blank count: count tells how many of the three did.
struct ServerLineTokens {
  std::string_view word;
  std::string_view lastWord;  // ServerLineLastWord
  std::array<std::string_view, 3> tokens;
  int count = 0;
};
ServerLineTokens CutServerLineTokens(std::string_view word, std::string_view line,
                                     std::string_view lastWord);
ServerMatch MatchServerTokens(const ServerVariable& definition, const ServerLineTokens& cut);
// The same for a definition known to take part with the line's event word and last word (one
// that ServerVariableIndex gives for the line): only its ids are checked.
ServerMatch MatchServerIds(const ServerVariable& definition, const ServerLineTokens& cut);

// True when a server variable can match at all (id1 set, modstring and idstring not empty).
bool ServerVariableTakesPart(const ServerVariable& definition);

// The last word of a server line as a definition's modstring is compared with it: the text after
// the line's last blank, without the line's final character (its line feed).
std::string_view ServerLineLastWord(std::string_view line);

// The server variables 1 to count that take part, grouped by their idstring and their modstring,
// each group in index order. A definition can match a line only when its idstring is the line's
// event word and its modstring the line's last word, so a line meets only the definitions that
// may match it: on a log of millions of "Kill:" and "Item:" lines, one or two of 49.
class ServerVariableIndex {
 public:
  void Build(const ServerVariableSet& variables, int32_t count);
  void Clear() { m_groups.clear(); }
  // True when some variable waits for this event word.
  bool Waits(std::string_view word) const { return Group(word) != nullptr; }
  // True when no variable waits for any word.
  bool Empty() const { return m_groups.empty(); }
  // The variables waiting for this event word and this last word; empty when there are none.
  const std::vector<int32_t>& For(std::string_view word, std::string_view lastWord) const;
  // The variables that may match a line with this event word; the line's last word is only
  // looked for when some variable waits for the event word. *lastWord receives it.
  const std::vector<int32_t>& ForLine(std::string_view word, std::string_view line,
                                      std::string_view* lastWord) const;

 private:
  // The variables of one modstring.
  struct Modstring {
    std::string text;
    std::vector<int32_t> variables;
  };
  // An event word's modstrings, found through an open-addressed table of their hashes: every
  // "Kill:" and "Item:" line of a log asks it.
  struct WordGroup {
    std::string idstring;
    std::vector<Modstring> modstrings;
    std::vector<int32_t> slots;  // index into modstrings, or -1; a power of two long
    int32_t sameLength = -1;     // the next group whose idstring has the same length, or -1
  };
  const WordGroup* Group(std::string_view word) const;
  static const std::vector<int32_t>& InGroup(const WordGroup* group, std::string_view lastWord);
  static void IndexModstrings(WordGroup* group);
  static uint64_t ModstringHash(std::string_view text);

  std::vector<WordGroup> m_groups;  // a few event words
  // By idstring length (63 for longer ones): the first group of that length, or -1. Read only
  // while there are groups (Build fills it).
  std::array<int32_t, 64> m_byLength{};
};

}  // namespace vexor
