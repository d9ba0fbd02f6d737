#pragma once

#include <string>

namespace vexor {

class VexoriumDoc;

// The game type name for the code character of "g_gametype". Names are given only while no
// server custom variables are loaded or the Team Arena set is; otherwise every game is "Unknown".
std::string GameTypeName(const VexoriumDoc& doc, char code);

}  // namespace vexor
