// The custom variables that the statistics show as columns: those whose "Visible in Statistics"
// flag is set. The weapon statistics list, the graph selection screen's variable boxes and the
// printed variable blocks all number them the same way: the client variables first, then the
// server variables, each side in number order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexor {

class VexoriumDoc;
struct PlayerRecord;

struct VisibleVariable {
  bool server = false;                // a server-side variable; a client-side one otherwise
  int32_t number = 0;                 // within its set, from 1
  const std::string* name = nullptr;  // the definition's name, owned by the document

  // The player's total of the variable; 0 when the player's totals do not reach it.
  int32_t TotalOf(const PlayerRecord& player) const;
};

// Variables 1 to the side's count (held to the set's size) whose flag is set, in number order.
// The names point into the document: the lists are valid until its definitions change.
std::vector<VisibleVariable> VisibleClientVariables(const VexoriumDoc& doc);
std::vector<VisibleVariable> VisibleServerVariables(const VexoriumDoc& doc);
// The client side's, then the server side's.
std::vector<VisibleVariable> VisibleVariables(const VexoriumDoc& doc);

int32_t VisibleClientVariableCount(const VexoriumDoc& doc);
int32_t VisibleServerVariableCount(const VexoriumDoc& doc);

}  // namespace vexor
