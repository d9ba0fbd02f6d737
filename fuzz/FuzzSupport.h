// What the harnesses share: a scratch folder of the process, the check that aborts, and the
// work every loaded or opened document is put through (exports, tables, report).
#pragma once

#include <string>
#include <string_view>

namespace vexor {
class VexoriumDoc;
}

namespace vexor::fuzz {

// Aborts with the message when a rule that must always hold is broken.
void Require(bool condition, const char* rule);

// The process's own empty folder, removed when the process ends; the start directory of every
// load (settings, report).
const std::string& ScratchFolder();

// Writes bytes to a file of the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

// Reports of more games than this are left out: a page per game would make each input slow
// without reaching more code.
inline constexpr int kMaxReportedGames = 40;

// Puts a loaded document through what a user would do next: the JSON and CSV exports, every
// printed table, and the HTML report when it is small. Each must succeed.
void ExerciseDocument(VexoriumDoc& doc);

}  // namespace vexor::fuzz
