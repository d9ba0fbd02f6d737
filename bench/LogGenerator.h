// The log generator: writes a server log or a client console log of the size and mix the
// options ask for. The same options and seed give the same bytes on every machine.
#pragma once

#include "GeneratorOptions.h"
#include "LogWriter.h"
#include "base/Archive.h"

namespace vexor::bench {

// Writes the whole log into sink and adds the counts of what it holds to summary, including
// "lines" and "bytes".
void GenerateLog(const GeneratorOptions& options, ByteSink& sink, GeneratorSummary* summary);

}  // namespace vexor::bench
