// Custom-variable sets that count what generated logs hold, for measuring a load with as many
// definitions as a user can make (49 a side). Every definition is one a user could store in the
// dialogs, and every one matches lines the generator writes.
//
// Client variables read the client console's messages: obituaries (victim as player 1, killer
// as player 2 where the killer's name ends the line), suicide and world messages, entries,
// connections, departures and renames. Server variables read "Kill:" lines by means of death and
// "Item:" lines by item.
#pragma once

#include <cstdint>
#include <string>

#include "customvars/CustomVariables.h"

namespace vexor::bench {

// The largest number of definitions each builder has to offer (the most a set holds).
constexpr int32_t kMostVariables = kMaxVariables;

// How the definitions are laid over the log's texts.
enum class VariableStyle {
  kSpread,            // each definition on a message or means of death of its own
  kCrowdedClientLog,  // the second workload: 49 client definitions on nine obituaries, five
                      // of two players ("PLAYER1 was railed by PLAYER2") and four of one
  kCrowdedServerLog,  // the second workload beside a server log: client definitions
                      // "PLAYER1 picked up itemN" (no line holds one)
};

// Fills slots 1 to count of the set (count clamped to 0 to 49) with definitions as the dialog
// stores them; returns the count. Client definitions also add to variables 1 to 3 (frags,
// deaths, suicides), which a set of fewer than 3 ignores; server definitions count for
// themselves.
int32_t BuildClientVariables(int32_t count, ClientVariableSet* set,
                             VariableStyle style = VariableStyle::kSpread);
// Crowded: every definition on "Kill:" lines of one means of death, killer +1, victim -1.
int32_t BuildServerVariables(int32_t count, ServerVariableSet* set,
                             VariableStyle style = VariableStyle::kSpread);

// Writes a variable file of the first count definitions of each builder; false with a message
// when the file cannot be written.
bool WriteClientVariableFile(const std::string& path, int32_t count, std::string* error,
                             VariableStyle style = VariableStyle::kSpread);
bool WriteServerVariableFile(const std::string& path, int32_t count, std::string* error,
                             VariableStyle style = VariableStyle::kSpread);

}  // namespace vexor::bench
