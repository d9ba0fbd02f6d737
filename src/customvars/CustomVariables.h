// The two kinds of custom-variable definitions. A definition counts nothing by itself: its four
// change slots each add a fixed amount to the counter of some variable of the same set, for the
// player matched as player 1 or player 2 of a log line.
//
// Definitions come from variable files and data files that anyone can edit, and they are kept
// as read: a target outside 0 to the set's count, a huge or negative value, a long name or
// search string are data, not errors. Code that uses a definition must check a target against
// the count before indexing by it (a target outside the set counts nothing) and add values with
// wrapping int32 arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vexor {

// The four change slots shared by both kinds of definition. A slot is the triple
// (flag, target, value); target is a variable number of the same set (0: no target).
struct ChangeSlots {
  int32_t p1Change = 0;
  int32_t p1Target = 0;
  int32_t p1Value = 0;
  int32_t p2Change = 0;
  int32_t p2Target = 0;
  int32_t p2Value = 0;
  int32_t p1Change2 = 0;
  int32_t p1Target2 = 0;
  int32_t p1Value2 = 0;
  int32_t p2Change2 = 0;
  int32_t p2Target2 = 0;
  int32_t p2Value2 = 0;

  bool operator==(const ChangeSlots&) const = default;
};

// One change slot as member pointers, so the four can be walked as a table.
struct SlotFields {
  int32_t ChangeSlots::*change;
  int32_t ChangeSlots::*target;
  int32_t ChangeSlots::*value;
  int player;  // 1 or 2
};

// The slots in the order a match applies them: player 1, player 1 second, player 2,
// player 2 second.
inline constexpr std::array<SlotFields, 4> kSlotsInApplyOrder = {{
    {&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, 1},
    {&ChangeSlots::p1Change2, &ChangeSlots::p1Target2, &ChangeSlots::p1Value2, 1},
    {&ChangeSlots::p2Change, &ChangeSlots::p2Target, &ChangeSlots::p2Value, 2},
    {&ChangeSlots::p2Change2, &ChangeSlots::p2Target2, &ChangeSlots::p2Value2, 2},
}};

// The slots in the order the record (and every file) lists them: player 1, player 2,
// player 1 second, player 2 second.
inline constexpr std::array<SlotFields, 4> kSlotsInRecordOrder = {{
    {&ChangeSlots::p1Change, &ChangeSlots::p1Target, &ChangeSlots::p1Value, 1},
    {&ChangeSlots::p2Change, &ChangeSlots::p2Target, &ChangeSlots::p2Value, 2},
    {&ChangeSlots::p1Change2, &ChangeSlots::p1Target2, &ChangeSlots::p1Value2, 1},
    {&ChangeSlots::p2Change2, &ChangeSlots::p2Target2, &ChangeSlots::p2Value2, 2},
}};

// A client-side variable: matched against client console log lines through a search string in
// which "PLAYER1" and "PLAYER2" stand for player names. A default record is a cleared one.
struct ClientVariable : ChangeSlots {
  std::string name;
  int32_t stringType = 0;  // the search string's form, 0 to 6
  int32_t ordinal = 0;
  std::string searchString;
  int32_t visible = 1;

  bool operator==(const ClientVariable&) const = default;
};

// A server-side variable: matched against server log lines by their event word (idstring), up
// to three numeric fields and the line's last word (modstring). An id of -2 means no field, -1 a
// field that carries a client number, any other value a field that must carry that number.
struct ServerVariable : ChangeSlots {
  std::string name;
  int32_t ordinal = 0;
  int32_t id1 = -2;
  int32_t id2 = -2;
  int32_t id3 = -2;
  std::string modstring;
  std::string idstring;
  int32_t visible = 1;
  int32_t reserved = 0;  // carried by the data file only

  bool operator==(const ServerVariable&) const = default;
};

// Slot 0 of a set is never a variable; a set holds at most 49.
constexpr int kMaxVariables = 49;
constexpr int kVariableSlots = 50;

// A set's count as the variables 1 to it are read: a count from a file may lie outside 0 to 49.
inline int32_t UsableVariableCount(int32_t count) {
  return count < 0 ? 0 : (count > kMaxVariables ? kMaxVariables : count);
}

using ClientVariableSet = std::array<ClientVariable, kVariableSlots>;
using ServerVariableSet = std::array<ServerVariable, kVariableSlots>;

}  // namespace vexor
