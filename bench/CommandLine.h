// The generator's command line.
#pragma once

#include <string>

#include "GeneratorOptions.h"

namespace vexor::bench {

enum class CommandLineResult { kRun, kHelp, kError };

// Reads the arguments (without the program name) into options. kError comes with a message
// naming the argument that could not be used.
CommandLineResult ParseCommandLine(int argc, const char* const* argv, GeneratorOptions* options,
                                   std::string* error);

std::string HelpText();

}  // namespace vexor::bench
