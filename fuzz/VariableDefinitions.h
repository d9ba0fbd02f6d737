// Custom-variable definitions written as text lines, so that a fuzzer (and a person writing a
// seed) can state them before a log:
//
//   C name|search string|type|change,target,value|change,target,value|...|visible
//   S name|idstring|id1|id2|id3|modstring|change,target,value|...|visible
//
// The four slots are in the record's order (player 1, player 2, player 1 second, player 2
// second); a target is the form's selection (0 "This Variable", j variable j, -1 none). Missing
// fields keep a blank form's values; numbers are read as far as they go. Every line becomes a
// form that is stored only when the form check accepts it, as the dialogs do. A line starting
// "O " sets the options of the load instead.
#pragma once

#include <string_view>

#include "stats/Options.h"

namespace vexor {
class VexoriumDoc;
}

namespace vexor::fuzz {

// The options of a line "O sum games|group size|group start|hide short games|threshold", or
// false when the lines have none (the load then runs with the default options).
bool OptionsLine(std::string_view lines, Options* options);

// Stores the definitions of the lines into the document's two sets through the working copies.
void DefineVariables(std::string_view lines, VexoriumDoc& doc);

}  // namespace vexor::fuzz
