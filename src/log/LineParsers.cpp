#include "log/LineParsers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <optional>

#include "base/TextHash.h"
#include "log/ClientLogForms.h"
#include "log/GameFamilies.h"
#include "log/LineText.h"

namespace vexor {
namespace {

uint32_t Size32(size_t size) {
  return static_cast<uint32_t>(size);
}

// --- Kill lines: "<clock> Kill: <killer number> <victim number> <means>: <killer> killed
// <victim> by <MOD_...>".

// The first position of c at or after from, or npos: a plain loop, as the fields of a kill
// line are a few characters long and a library call would cost more than the search.
size_t NextOf(std::string_view line, char c, size_t from) {
  for (size_t i = from; i < line.size(); ++i) {
    if (line[i] == c) return i;
  }
  return std::string_view::npos;
}

// The text between the blank at `blank` and the next blank (or the end of the line); *next
// receives the position of that next blank.
std::string_view FieldAfter(std::string_view line, size_t blank, size_t* next) {
  if (blank == std::string_view::npos || blank >= line.size()) {
    *next = std::string_view::npos;
    return {};
  }
  size_t end = NextOf(line, ' ', blank + 1);
  *next = end;
  if (end == std::string_view::npos) end = line.size();
  return line.substr(blank + 1, end - blank - 1);
}

// Text from first through the character before `end` (a position past first), else empty.
std::string_view Between(std::string_view line, size_t first, size_t end) {
  if (first == std::string_view::npos || end == std::string_view::npos || end <= first) return {};
  return line.substr(first, end - first);
}

// Where the last "by " of a kill line starts, found once for both the victim's name and the
// means of death: when it begins the line's last "by MOD", it is where both searches end.
struct LastBy {
  size_t at = std::string_view::npos;
  bool ofMeans = false;  // the text there is "by MOD"
};

LastBy FindLastBy(std::string_view line) {
  LastBy last;
  last.at = LastMatchBefore(line, "by ", 0, line.size());
  last.ofMeans = last.at != std::string_view::npos && TextAt(line, last.at, "by MOD");
  return last;
}

// The last "by " that starts among positions from to before limit (LastMatchBefore), taken
// from the line's last "by " where it tells.
size_t LastByBefore(std::string_view line, const LastBy& last, size_t from, size_t limit) {
  if (last.at == std::string_view::npos) return last.at;
  if (last.at < limit) return last.at >= from ? last.at : std::string_view::npos;
  return LastMatchBefore(line, "by ", from, limit);
}

// The raw names of a kill line: "<killer> killed <victim> by <means of death>" after the third
// ':' (at `third`). The last "killed" splits them, so a killer whose name contains the word is
// still read whole. Empty when the line does not say so.
void CutKillNames(std::string_view line, size_t third, const LastBy& last, std::string_view* killer,
                  std::string_view* victim) {
  size_t limit = line.size() >= 9 ? line.size() - 9 : 0;
  if (third == std::string_view::npos) return;
  size_t killerStart = third + 2;
  size_t killed = LastMatchBefore(line, "killed", killerStart, limit);
  if (killed == std::string_view::npos) return;
  *killer = Between(line, killerStart, killed - 1);
  size_t victimStart = killed + 7;
  size_t by = LastByBefore(line, last, victimStart, limit);
  if (by != std::string_view::npos) *victim = Between(line, victimStart, by - 1);
}

// The means-of-death name: after the last "by MOD" (Urban Terror's own: "by UT_MOD"), without
// the line's final character.
std::string_view MeansOfDeath(std::string_view line, const LastBy& last) {
  size_t at = last.ofMeans ? last.at : LastMatchBefore(line, "by MOD", 0, line.size());
  if (at == std::string_view::npos) at = LastMatchBefore(line, "by UT_MOD", 0, line.size());
  if (at == std::string_view::npos) return "-1";
  return Between(line, at + 3, line.size() - 1);
}

// The names of one line already kept without colour codes, by the raw text they came from.
// A variable's match often takes a name with the colour code the client ends it with, where
// the obituary stopped before it: from the same start, a longer raw text whose rest is codes
// alone gives the same name, unless the shorter one ends in a caret (which would take the next
// character with it).
class StrippedNames {
 public:
  void Note(TextSpan raw, TextSpan name) {
    if (raw.size == 0 || m_count == kKept) return;
    m_raw[m_count] = Pack(raw);
    m_names[m_count++] = Pack(name);
  }
  TextSpan Keep(TextSpan raw, std::string_view text, LineBatch* batch) {
    for (size_t i = 0; i < m_count; ++i) {
      TextSpan noted = Unpack(m_raw[i]);
      if (noted.at != raw.at || noted.size > raw.size) continue;
      if (noted.size == raw.size) return Unpack(m_names[i]);
      if (text[noted.size - 1] != '^' && OnlyColourCodes(text.substr(noted.size))) {
        return Unpack(m_names[i]);
      }
    }
    TextSpan name = KeepWithoutColourCodes(text, batch);
    Note(raw, name);
    return name;
  }

 private:
  // Spans packed in one word each, left uninitialised past the count: a line rarely notes more
  // than two, and clearing the rest cost more than the notes.
  static constexpr size_t kKept = 6;
  static uint64_t Pack(TextSpan span) { return uint64_t{span.at} << 32 | span.size; }
  static TextSpan Unpack(uint64_t packed) {
    return {static_cast<uint32_t>(packed >> 32), static_cast<uint32_t>(packed)};
  }
  uint64_t m_raw[kKept];
  uint64_t m_names[kKept];
  size_t m_count = 0;
};

int8_t WeaponIndex(std::optional<Weapon> weapon) {
  return weapon ? static_cast<int8_t>(Index(*weapon)) : kNoWeapon;
}

struct EventWordKind {
  std::string_view word;
  LineKind kind = LineKind::kOther;
};

constexpr EventWordKind kEventWords[] = {
    {"Kill:", LineKind::kKill},
    {"InitGame:", LineKind::kInitGame},
    {"ClientConnect:", LineKind::kConnect},
    {"ClientUserinfoChanged:", LineKind::kUserInfo},
    {"ClientDisconnect:", LineKind::kDisconnect},
    {"ShutdownGame:", LineKind::kShutdown},
    {"ClientUserinfo:", LineKind::kUserInfoWhole},
};

// The same by their lengths, which differ: every line asks, and its word's length leaves one
// word to compare it with.
constexpr size_t kLongestEventWord = 22;
constexpr std::array<EventWordKind, kLongestEventWord + 1> kEventWordsByLength = [] {
  std::array<EventWordKind, kLongestEventWord + 1> byLength{};
  for (const EventWordKind& entry : kEventWords)
    byLength[entry.word.size()] = entry;
  return byLength;
}();

}  // namespace

LineKind KindOfEventWord(std::string_view word) {
  if (word.empty() || word.size() > kLongestEventWord) return LineKind::kOther;
  const EventWordKind& entry = kEventWordsByLength[word.size()];
  bool same = !entry.word.empty() && TextAt(word, 0, entry.word);
  return same ? entry.kind : LineKind::kOther;
}

KillLineText CutKillLine(std::string_view line) {
  KillLineText kill;
  size_t first = 0;
  while (first < line.size() && line[first] == ' ')
    ++first;
  // The game clock's colon, the event word's and the one after the numbers: the names follow.
  size_t clock = NextOf(line, ':', first);
  size_t third = std::string_view::npos;
  if (clock != std::string_view::npos) {
    size_t next;
    kill.killerNumber = FieldAfter(line, NextOf(line, ' ', clock + 7), &next);
    kill.victimNumber = FieldAfter(line, next, &next);
    size_t second = NextOf(line, ':', clock + 1);
    if (second != std::string_view::npos) third = NextOf(line, ':', second + 1);
  }
  LastBy last = FindLastBy(line);
  CutKillNames(line, third, last, &kill.killer, &kill.victim);
  kill.meansOfDeath = MeansOfDeath(line, last);
  return kill;
}

TextSpan KeepWithoutColourCodes(std::string_view text, LineBatch* batch) {
  // Most names have no code: they stay where they are in the line.
  bool inText = text.data() >= batch->text.data() &&
                text.data() + text.size() <= batch->text.data() + batch->text.size();
  if (inText && std::memchr(text.data(), '^', text.size()) == nullptr) {
    if (text.empty()) return {};
    TextSpan span = batch->SpanIn(text);
    return {span.at | LineBatch::kInText, span.size};
  }
  std::string& names = batch->names;
  size_t start = names.size();
  // Copied whole, then the codes taken out in place.
  names.append(text);
  char* out = names.data() + start;
  size_t kept = 0;
  // A caret and the character after it go; without branches, as carets come at random. Every
  // character is written, and kept only when it is no caret: the writing never passes the
  // reading.
  for (size_t i = 0; i < text.size();) {
    char c = out[i];
    out[kept] = c;
    size_t caret = static_cast<size_t>(c == '^');
    kept += 1 - caret;
    i += 1 + caret;
  }
  if (kept < text.size()) names.resize(start + kept);
  return {Size32(start), Size32(kept)};
}

void LineParser::ParseBatch(LineBatch* batch) const {
  for (LineFacts& facts : batch->lines)
    Parse(batch->Line(facts), batch, &facts);
}

// --- Server logs.

ServerLineParser::ServerLineParser(bool statistics, const ServerVariableSet& variables,
                                   int32_t count)
    : m_statistics(statistics), m_variables(variables) {
  if (statistics) m_index.Build(m_variables, count);
}

void ServerLineParser::Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const {
  ParseLine(line, batch, facts);
}

void ServerLineParser::ParseBatch(LineBatch* batch) const {
  for (LineFacts& facts : batch->lines)
    ParseLine(batch->Line(facts), batch, &facts);
}

void ServerLineParser::ParseWallClock(std::string_view line, LineBatch* batch,
                                      LineFacts* facts) const {
  if (RewriteWallClock(batch->text.data() + (line.data() - batch->text.data()), line.size())) {
    facts->flags |= kWallClock;
  }
}

void ServerLineParser::ParseEvent(std::string_view line, int wordStart, LineBatch* batch,
                                  LineFacts* facts) const {
  // A third of a server log is kill lines: their word is told by one comparison.
  EventWord event;
  if (TextAt(line, static_cast<size_t>(wordStart), "Kill: ")) {
    event.word = line.substr(static_cast<size_t>(wordStart), 5);
    event.end = wordStart + 5;
    facts->kind = LineKind::kKill;
  } else {
    event = FindEventWordFrom(line, wordStart);
    facts->kind = KindOfEventWord(event.word);
  }
  facts->wordEnd = static_cast<int16_t>(event.end);
  if (!m_statistics) return;
  if (facts->kind == LineKind::kKill) ParseKill(line, batch, facts);
  if (!m_index.Empty()) MatchVariables(event.word, line, batch, facts);
}

void ServerLineParser::ParseKill(std::string_view line, LineBatch* batch, LineFacts* facts) const {
  LineNames& names = batch->AddNames(facts);
  KillLineText kill = CutKillLine(line);
  names.numbers[0] = batch->SpanIn(kill.killerNumber);
  names.numbers[1] = batch->SpanIn(kill.victimNumber);
  names.raw[0] = batch->SpanIn(kill.killer);
  names.raw[1] = batch->SpanIn(kill.victim);
  names.nameless = static_cast<uint8_t>((OnlyColourCodes(kill.killer) ? 1 : 0) |
                                        (OnlyColourCodes(kill.victim) ? 2 : 0));
  names.meansOfDeath = MeansOfDeathId(kill.meansOfDeath);
}

void ServerLineParser::MatchVariables(std::string_view word, std::string_view line,
                                      LineBatch* batch, LineFacts* facts) const {
  // Only the definitions of the line's event word and last word can match it.
  std::string_view lastWord;
  const std::vector<int32_t>& candidates = m_index.ForLine(word, line, &lastWord);
  if (candidates.empty()) return;
  ServerLineTokens cut = CutServerLineTokens(word, line, lastWord);
  facts->firstHit = Size32(batch->hits.size());
  for (int32_t v : candidates) {
    ServerMatch match = MatchServerIds(m_variables[static_cast<size_t>(v)], cut);
    if (!match.matched) continue;
    VariableHit& hit = batch->hits.emplace_back();
    hit.variable = v;
    hit.raw[0] = batch->SpanIn(match.client1);
    hit.raw[1] = batch->SpanIn(match.client2);
  }
  facts->hitCount = static_cast<uint8_t>(batch->hits.size() - facts->firstHit);
}

// --- Client logs.

bool DiscoveryReadsVariables(const LineBatch& batch, const LineFacts& facts) {
  switch (facts.kind) {
    case LineKind::kGameStart:
    case LineKind::kObituary:
    case LineKind::kSuicide:
      return false;
    case LineKind::kEntry:
      return batch.NamesOf(facts).raw[0].size == 0;
    default:
      return true;
  }
}

ClientLineParser::ClientLineParser(const ClientVariableSet& variables, int32_t count,
                                   ClientReading reading, const NameNumbers* numbers)
    : m_allVariables(reading != ClientReading::kDiscovery),
      m_marks(reading != ClientReading::kStatistics),
      m_numbers(numbers) {
  int32_t usable = UsableVariableCount(count);
  m_patterns.assign(static_cast<size_t>(usable) + 1, ClientPattern{});
  for (int32_t v = 1; v <= usable; ++v) {
    m_patterns[static_cast<size_t>(v)] =
        PrepareClientPattern(variables[static_cast<size_t>(v)].searchString);
  }
  m_filter.Build(m_patterns);
  m_sameAs.assign(m_patterns.size(), 0);
  for (size_t v = 1; v < m_patterns.size(); ++v) {
    size_t first = 1;
    while (m_patterns[first] != m_patterns[v])
      ++first;
    m_sameAs[v] = static_cast<uint8_t>(first);
  }
}

GameNameMemo::Kept* GameNameMemo::Find(std::string_view raw, LineBatch* batch,
                                       const LineParser::NameNumbers* numbers) {
  if (raw.empty()) return nullptr;
  uint64_t hash = HashText(raw);
  uint32_t tag = static_cast<uint32_t>(hash >> 32);
  for (size_t slot = static_cast<size_t>(hash) % kSlots;; slot = (slot + 1) % kSlots) {
    Entry& entry = m_entries[slot];
    if (entry.game != m_game) {
      if (m_used == kMostUsed) return nullptr;
      ++m_used;
      entry.game = m_game;
      entry.hash = tag;
      entry.raw = batch->SpanIn(raw);
      entry.kept = Kept{};
      entry.kept.name = KeepWithoutColourCodes(raw, batch);
      if (numbers != nullptr && entry.kept.name.size != 0) {
        entry.kept.number = numbers->NumberOf(batch->Name(entry.kept.name));
      }
      return &entry.kept;
    }
    if (entry.hash == tag && SameText(batch->Text(entry.raw), raw)) return &entry.kept;
  }
}

void ClientLineParser::Parse(std::string_view line, LineBatch* batch, LineFacts* facts) const {
  ParseLine(line, batch, facts, nullptr);
}

void ClientLineParser::ParseBatch(LineBatch* batch) const {
  GameNameMemo memo;
  for (LineFacts& facts : batch->lines)
    ParseLine(batch->Line(facts), batch, &facts, &memo);
}

void ClientLineParser::ParseLine(std::string_view line, LineBatch* batch, LineFacts* facts,
                                 GameNameMemo* memo) const {
  ParseMessage(line, batch, facts, memo);
  if (!m_allVariables && !DiscoveryReadsVariables(*batch, *facts)) return;
  MatchVariables(line, batch, facts);
}

void ClientLineParser::KeepName(std::string_view raw, bool marks, LineBatch* batch,
                                LineNames* names, int i, GameNameMemo* memo) const {
  names->raw[i] = batch->SpanIn(raw);
  GameNameMemo::Kept* kept = memo != nullptr ? memo->Find(raw, batch, m_numbers) : nullptr;
  if (kept == nullptr) {
    names->names[i] = KeepWithoutColourCodes(raw, batch);
    if (m_numbers != nullptr) names->nameNumbers[i] = NumberOf(*batch, names->names[i]);
    return;
  }
  names->names[i] = kept->name;
  if (m_numbers != nullptr) names->nameNumbers[i] = kept->number;
  if (m_marks && marks) {
    if (kept->marked) names->nameNumbers[i] = kNameSeenInGame;
    kept->marked = true;
  }
}

void ClientLineParser::ParseMessage(std::string_view line, LineBatch* batch, LineFacts* facts,
                                    GameNameMemo* memo) const {
  if (IsGameStart(line)) {
    facts->kind = LineKind::kGameStart;
    if (memo != nullptr) memo->NewGame();
    return;
  }
  if (IsMapLoad(line)) facts->flags |= kMapLoad;
  if (IsPlayerEntry(line)) {
    facts->kind = LineKind::kEntry;
    // An entry does not mark its name in every case (not before the file's first game).
    KeepName(EntryRawName(line), false, batch, &batch->AddNames(facts), 0, memo);
    return;
  }
  std::optional<ObituaryText> obituary = CutObituary(line);
  if (obituary && !obituary->killer.empty() && !obituary->victim.empty()) {
    facts->kind = LineKind::kObituary;
    LineNames& names = batch->AddNames(facts);
    KeepName(obituary->killer, true, batch, &names, 0, memo);
    KeepName(obituary->victim, true, batch, &names, 1, memo);
    facts->weapon = WeaponIndex(obituary->weapon);
    return;
  }
  if (std::optional<SuicideText> suicide = CutSuicide(line)) {
    facts->kind = LineKind::kSuicide;
    KeepName(suicide->victim, true, batch, &batch->AddNames(facts), 0, memo);
  }
}

int32_t ClientLineParser::NumberOf(const LineBatch& batch, TextSpan name) const {
  return name.size == 0 ? kNameNotLookedUp : m_numbers->NumberOf(batch.Name(name));
}

int32_t ClientLineParser::LineNameNumber(const LineBatch& batch, const LineFacts& facts,
                                         TextSpan name) const {
  // A variable's names are mostly the line's own, kept once (StrippedNames).
  int i = batch.LineNameIndex(facts, name);
  return i >= 0 ? batch.NamesOf(facts).nameNumbers[i] : NumberOf(batch, name);
}

void ClientLineParser::MatchVariables(std::string_view line, LineBatch* batch,
                                      LineFacts* facts) const {
  if (m_patterns.size() < 2) return;
  // Only the variables whose texts the line may hold are searched, in the order of the set.
  uint64_t candidates = m_filter.Candidates(line);
  if (candidates == 0) return;
  // The names of a line are mostly those its obituary named: each is stripped once.
  StrippedNames stripped;
  if (facts->names != kNoNames) {
    const LineNames& names = batch->NamesOf(*facts);
    for (int i = 0; i < 2; ++i)
      stripped.Note(names.raw[i], names.names[i]);
  }
  facts->firstHit = Size32(batch->hits.size());
  // The matches of the patterns tried so far on this line, for the variables that share them;
  // left unset past the count, as clearing them cost more than most lines' search.
  union TriedMatch {
    TriedMatch() {}
    PatternMatch match;
  };
  std::array<TriedMatch, 4> tried;
  std::array<size_t, 4> triedFor{};
  size_t triedCount = 0;
  for (; candidates != 0; candidates &= candidates - 1) {
    size_t v = static_cast<size_t>(std::countr_zero(candidates));
    if (v >= m_patterns.size()) break;
    size_t first = m_sameAs[v];
    size_t t = 0;
    while (t < triedCount && triedFor[t] != first)
      ++t;
    if (t == triedCount) {
      t = triedCount < tried.size() ? triedCount++ : tried.size() - 1;
      // Made in place: a copy of the returned match would be read back before its stores land.
      ::new (&tried[t].match) PatternMatch(MatchClientPattern(m_patterns[first], line));
      triedFor[t] = first;
    }
    const PatternMatch& match = tried[t].match;
    if (!match.matched) continue;
    VariableHit& hit = batch->hits.emplace_back();
    hit.variable = static_cast<int32_t>(v);
    std::string_view players[2] = {match.player1, match.player2};
    for (int i = 0; i < 2; ++i) {
      TextSpan raw = batch->SpanIn(players[i]);
      TextSpan name = stripped.Keep(raw, players[i], batch);
      hit.raw[i] = raw;
      hit.names[i] = name;
      if (m_numbers != nullptr) hit.nameNumbers[i] = LineNameNumber(*batch, *facts, name);
    }
  }
  facts->hitCount = static_cast<uint8_t>(batch->hits.size() - facts->firstHit);
}

}  // namespace vexor
