#include "log/VariableMatch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

#include "base/TextNumbers.h"
#include "customvars/SearchString.h"
#include "log/LineText.h"

namespace vexor {
namespace {

constexpr std::string_view kPlayer1 = "PLAYER1";
constexpr std::string_view kPlayer2 = " PLAYER2";
constexpr size_t kNone = std::string_view::npos;

// count characters of the line from start; what lies outside the line is left out, and a
// negative start or count gives nothing. Positions are signed: the cuts of the search forms
// may reach before the line's start on short lines.
std::string_view Mid(std::string_view line, int64_t start, int64_t count) {
  int64_t size = static_cast<int64_t>(line.size());
  if (start < 0 || start >= size || count <= 0) return {};
  count = std::min(count, size - start);
  return line.substr(static_cast<size_t>(start), static_cast<size_t>(count));
}

// From start up to, not including, the line's last character (its line feed).
std::string_view ToLineEnd(std::string_view line, int64_t start) {
  return Mid(line, start, static_cast<int64_t>(line.size()) - 1 - start);
}

int64_t Signed(size_t value) {
  return static_cast<int64_t>(value);
}

// The first position at or after from whose character is c (or, with notC, is not c); npos
// when there is none or from is npos.
size_t FirstOf(std::string_view line, char c, size_t from, bool notC) {
  if (from == kNone) return kNone;
  for (size_t i = from; i < line.size(); ++i) {
    if ((line[i] == c) != notC) return i;
  }
  return kNone;
}

std::string_view TextFrom(std::string_view text, size_t from) {
  return from <= text.size() ? text.substr(from) : std::string_view();
}

// The texts each form searches for in the line (MatchClientPattern), by form.
using PatternText = std::string ClientPattern::*;
constexpr PatternText kSearchedTexts[][3] = {
    {&ClientPattern::t, nullptr, nullptr},                 // PLAYER1 string
    {&ClientPattern::a, nullptr, nullptr},                 // string PLAYER1
    {&ClientPattern::a, &ClientPattern::t, nullptr},       // string PLAYER1 string
    {&ClientPattern::m, nullptr, nullptr},                 // PLAYER1 string PLAYER2
    {&ClientPattern::m, &ClientPattern::t, nullptr},       // ... PLAYER2 string
    {&ClientPattern::mBlank, &ClientPattern::a, nullptr},  // string PLAYER1 string PLAYER2
    {&ClientPattern::mBlank, &ClientPattern::t, &ClientPattern::a},  // ... PLAYER2 string
};

}  // namespace

ClientPattern PrepareClientPattern(std::string_view searchString) {
  ClientPattern pattern;
  pattern.form = ClassifySearchString(searchString, SearchStringRule::kMatching);
  std::string text(searchString);
  if (text.find(kPlayer1) == kNone) text.insert(0, "PLAYER1 ");
  std::string_view s = text;
  size_t p = s.rfind(kPlayer1);
  pattern.p = p;
  pattern.a = p >= 1 ? s.substr(0, p - 1) : std::string_view();
  size_t last2 = s.rfind(kPlayer2);
  size_t middle = p + kPlayer1.size() + 1;  // after "PLAYER1 "
  if (last2 != kNone && last2 >= middle) pattern.m = s.substr(middle, last2 - middle);
  pattern.mBlank = pattern.m + " ";
  switch (pattern.form) {
    case kPlayer1String:
    case kStringPlayer1String:
      pattern.t = TextFrom(s, middle);
      break;
    case kPlayer1StringPlayer2String:
    case kStringPlayer1StringPlayer2String:
      if (last2 != kNone) pattern.t = TextFrom(s, last2 + kPlayer2.size() + 1);
      break;
    default:
      break;
  }
  return pattern;
}

std::vector<std::string_view> SearchedTexts(const ClientPattern& pattern) {
  std::vector<std::string_view> texts;
  if (pattern.form < 0 || pattern.form >= static_cast<int32_t>(std::size(kSearchedTexts))) {
    return texts;
  }
  for (PatternText searched : kSearchedTexts[pattern.form]) {
    if (searched != nullptr) texts.emplace_back(pattern.*searched);
  }
  return texts;
}

constexpr size_t kPiece = 4;
constexpr size_t kLongestStride = 4;

size_t ClientPatternFilter::Slot(const char* piece) {
  uint32_t bytes;
  std::memcpy(&bytes, piece, kPiece);
  return (bytes * 2654435761u) >> (32 - kTableBits);  // the top bits of a multiplicative hash
}

void ClientPatternFilter::Build(const std::vector<ClientPattern>& patterns) {
  m_table.fill(0);
  m_always = 0;
  m_stride = kLongestStride;
  // How many variables hold each piece: the rarest pieces of a variable tell it best.
  std::map<std::string_view, int> holders;
  std::vector<std::vector<std::string_view>> texts(patterns.size());
  for (size_t v = 1; v < patterns.size(); ++v) {
    if (v >= 64) break;
    std::set<std::string_view> pieces;
    size_t longest = 0;
    for (std::string_view text : SearchedTexts(patterns[v])) {
      texts[v].push_back(text);
      longest = std::max(longest, text.size());
      for (size_t i = 0; i + kPiece <= text.size(); ++i)
        pieces.insert(text.substr(i, kPiece));
    }
    for (std::string_view piece : pieces)
      ++holders[piece];
    // The stride is as long as the shortest variable's longest text allows.
    if (longest >= kPiece) m_stride = std::min(m_stride, longest - kPiece + 1);
  }
  for (size_t v = 1; v < patterns.size() && v < 64; ++v) {
    if (texts[v].empty()) continue;  // matches nothing
    // The stride's pieces in a row in one text, the rarest such row.
    std::string_view best;
    size_t bestHolders = 0;
    for (std::string_view text : texts[v]) {
      for (size_t o = 0; o + kPiece + m_stride - 1 <= text.size(); ++o) {
        size_t sum = 0;
        for (size_t k = 0; k < m_stride; ++k)
          sum += static_cast<size_t>(holders[text.substr(o + k, kPiece)]);
        if (best.empty() || sum < bestHolders) {
          best = text.substr(o, kPiece + m_stride - 1);
          bestHolders = sum;
        }
      }
    }
    if (best.empty()) {
      m_always |= uint64_t{1} << v;
      continue;
    }
    for (size_t k = 0; k < m_stride; ++k)
      m_table[Slot(best.data() + k)] |= uint64_t{1} << v;
  }
}

uint64_t ClientPatternFilter::Candidates(std::string_view line) const {
  uint64_t candidates = m_always;
  for (size_t i = 0; i + kPiece <= line.size(); i += m_stride)
    candidates |= m_table[Slot(line.data() + i)];
  return candidates;
}

PatternMatch MatchClientPattern(const ClientPattern& pattern, std::string_view line) {
  const int64_t n = Signed(line.size());
  const int64_t lenA = Signed(pattern.a.size());
  const int64_t lenM = Signed(pattern.m.size());
  const int64_t lenT = Signed(pattern.t.size());
  PatternMatch match;
  switch (pattern.form) {
    case kPlayer1String:
      if (!EndsBefore(line, pattern.t, 1)) return match;
      match.player1 = Mid(line, 0, n - lenT - 4);
      break;
    case kStringPlayer1:
      if (line.find(pattern.a) == kNone) return match;
      match.player1 = ToLineEnd(line, Signed(pattern.p));
      break;
    case kStringPlayer1String:
      if (line.find(pattern.a) == kNone || !EndsBefore(line, pattern.t, 1)) return match;
      match.player1 = Mid(line, Signed(pattern.p), n - lenA - lenT - 3);
      break;
    case kPlayer1StringPlayer2: {
      size_t f = line.find(pattern.m);
      if (f == kNone) return match;
      match.player1 = Mid(line, 0, Signed(f) - 1);
      match.player2 = ToLineEnd(line, Signed(f) + lenM + 1);
      break;
    }
    case kPlayer1StringPlayer2String: {
      size_t f = line.find(pattern.m);
      size_t g = f == kNone ? kNone : line.find(pattern.t);
      if (g == kNone || f >= g) return match;
      match.player1 = Mid(line, 0, Signed(f) - 1);
      match.player2 = Mid(line, Signed(f) + lenM + 1, Signed(g) - lenM - Signed(f) - 2);
      break;
    }
    case kStringPlayer1StringPlayer2: {
      size_t r = line.find(pattern.mBlank);
      if (r == kNone || line.find(pattern.a) == kNone) return match;
      match.player1 = Mid(line, lenA + 1, Signed(r) - lenA - 2);
      match.player2 = ToLineEnd(line, Signed(r) + lenM + 1);
      break;
    }
    case kStringPlayer1StringPlayer2String: {
      size_t r = line.find(pattern.mBlank);
      size_t g = r == kNone ? kNone : line.find(pattern.t);
      if (g == kNone || r >= g || line.find(pattern.a) == kNone) return match;
      match.player1 = Mid(line, lenA + 1, Signed(r) - lenA - 2);
      match.player2 = Mid(line, Signed(r) + lenM + 1, Signed(g) - lenM - Signed(r) - 4);
      break;
    }
    default:
      return match;
  }
  match.matched = true;
  return match;
}

bool ServerVariableTakesPart(const ServerVariable& definition) {
  return definition.id1 != -2 && !definition.modstring.empty() && !definition.idstring.empty();
}

ServerMatch MatchServerLine(const ServerVariable& definition, std::string_view word,
                            std::string_view line) {
  return MatchServerTokens(definition, CutServerLineTokens(word, line, ServerLineLastWord(line)));
}

ServerLineTokens CutServerLineTokens(std::string_view word, std::string_view line,
                                     std::string_view lastWord) {
  ServerLineTokens cut;
  cut.word = word;
  cut.lastWord = lastWord;
  // Each token read must end at a blank, or the line has no last word after it. The distances
  // are a few characters: plain loops beat library searches here.
  size_t colon = FirstOf(line, ':', FirstOf(line, ' ', 0, true), false);
  if (colon == kNone) {
    cut.count = -1;  // no clock: no definition matches
    return cut;
  }
  size_t blank = FirstOf(line, ' ', colon + 7, false);
  for (size_t i = 0; i < cut.tokens.size(); ++i) {
    if (blank == kNone) break;
    size_t end = FirstOf(line, ' ', blank + 1, false);
    if (end == kNone) break;
    cut.tokens[i] = line.substr(blank + 1, end - blank - 1);
    ++cut.count;
    blank = end;
  }
  return cut;
}

ServerMatch MatchServerTokens(const ServerVariable& definition, const ServerLineTokens& cut) {
  if (!ServerVariableTakesPart(definition) || definition.idstring != cut.word) return {};
  // The line's last blank is at or after the blank that ended the last token.
  if (cut.lastWord != definition.modstring) return {};
  return MatchServerIds(definition, cut);
}

ServerMatch MatchServerIds(const ServerVariable& definition, const ServerLineTokens& cut) {
  ServerMatch match;
  int idsInUse = 2;
  if (definition.id2 == -2 && definition.id3 == -2) idsInUse = 1;
  if (definition.id2 != -2 && definition.id3 != -2) idsInUse = 3;
  if (cut.count < idsInUse) return match;
  const std::array<std::string_view, 3>& tokens = cut.tokens;
  if (idsInUse == 3) {
    std::string_view third = tokens[2].substr(0, tokens[2].empty() ? 0 : tokens[2].size() - 1);
    if (WholeNumber(third) != definition.id3) return match;
  }
  const std::array<int32_t, 2> ids = {definition.id1, definition.id2};
  std::array<std::string_view*, 2> clients = {&match.client1, &match.client2};
  for (int i = 0; i < std::min(idsInUse, 2); ++i) {
    size_t k = static_cast<size_t>(i);
    if (ids[k] == -1) {
      *clients[k] = tokens[k];
    } else if (WholeNumber(tokens[k]) != ids[k]) {
      return ServerMatch{};
    }
  }
  match.matched = true;
  return match;
}

std::string_view ServerLineLastWord(std::string_view line) {
  int64_t after = Signed(OnePastLastOf(line, ' '));  // 0 when there is no blank
  return Mid(line, after, Signed(line.size()) - after - 1);
}

void ServerVariableIndex::Build(const ServerVariableSet& variables, int32_t count) {
  m_groups.clear();
  m_byLength.fill(-1);
  int32_t last = UsableVariableCount(count);
  for (int32_t v = 1; v <= last; ++v) {
    const ServerVariable& definition = variables[static_cast<size_t>(v)];
    if (!ServerVariableTakesPart(definition)) continue;
    auto group = std::find_if(m_groups.begin(), m_groups.end(), [&](const WordGroup& g) {
      return g.idstring == definition.idstring;
    });
    if (group == m_groups.end())
      group = m_groups.insert(group, WordGroup{definition.idstring, {}, {}, -1});
    auto modstring =
        std::find_if(group->modstrings.begin(), group->modstrings.end(),
                     [&](const Modstring& m) { return m.text == definition.modstring; });
    if (modstring == group->modstrings.end()) {
      modstring = group->modstrings.insert(modstring, Modstring{definition.modstring, {}});
    }
    modstring->variables.push_back(v);
  }
  // Words of one length are few ("Kill:" and "Item:"): chained from a table by length.
  for (size_t g = 0; g < m_groups.size(); ++g) {
    WordGroup& group = m_groups[g];
    IndexModstrings(&group);
    size_t length = std::min(group.idstring.size(), m_byLength.size() - 1);
    group.sameLength = m_byLength[length];
    m_byLength[length] = static_cast<int32_t>(g);
  }
}

uint64_t ServerVariableIndex::ModstringHash(std::string_view text) {
  // The length and the first and last eight bytes: modstrings ("weapon_railgun",
  // "MOD_RAILGUN_SPLASH") differ there, and a collision only costs a comparison.
  uint64_t first = 0;
  uint64_t last = 0;
  size_t n = std::min<size_t>(text.size(), 8);
  if (n > 0) {
    std::memcpy(&first, text.data(), n);
    std::memcpy(&last, text.data() + text.size() - n, n);
  }
  return MixHashBits(first * 0x9E3779B97F4A7C15ull ^ last ^ text.size());
}

void ServerVariableIndex::IndexModstrings(WordGroup* group) {
  size_t size = 8;
  while (size < 2 * group->modstrings.size())
    size *= 2;
  group->slots.assign(size, -1);
  for (size_t m = 0; m < group->modstrings.size(); ++m) {
    size_t slot = ModstringHash(group->modstrings[m].text) & (size - 1);
    while (group->slots[slot] >= 0)
      slot = (slot + 1) & (size - 1);
    group->slots[slot] = static_cast<int32_t>(m);
  }
}

const ServerVariableIndex::WordGroup* ServerVariableIndex::Group(std::string_view word) const {
  if (word.empty() || m_groups.empty()) return nullptr;  // no idstring is empty
  size_t length = std::min(word.size(), m_byLength.size() - 1);
  for (int32_t g = m_byLength[length]; g >= 0;) {
    const WordGroup& group = m_groups[static_cast<size_t>(g)];
    // First characters tell most words of a length apart ("Kill:" and "Item:") without a call.
    const std::string& id = group.idstring;
    if (id.size() == word.size() && id[0] == word[0] && std::string_view(id) == word) {
      return &group;
    }
    g = group.sameLength;
  }
  return nullptr;
}

const std::vector<int32_t>& ServerVariableIndex::InGroup(const WordGroup* group,
                                                         std::string_view lastWord) {
  static const std::vector<int32_t> kNoVariables;
  if (group == nullptr) return kNoVariables;
  size_t mask = group->slots.size() - 1;
  for (size_t slot = ModstringHash(lastWord) & mask;; slot = (slot + 1) & mask) {
    int32_t m = group->slots[slot];
    if (m < 0) return kNoVariables;  // the table is never full
    const Modstring& modstring = group->modstrings[static_cast<size_t>(m)];
    if (modstring.text == lastWord) return modstring.variables;
  }
}

const std::vector<int32_t>& ServerVariableIndex::For(std::string_view word,
                                                     std::string_view lastWord) const {
  return InGroup(Group(word), lastWord);
}

const std::vector<int32_t>& ServerVariableIndex::ForLine(std::string_view word,
                                                         std::string_view line,
                                                         std::string_view* lastWord) const {
  const WordGroup* group = Group(word);
  *lastWord = group == nullptr ? std::string_view() : ServerLineLastWord(line);
  return InGroup(group, *lastWord);
}

}  // namespace vexor
