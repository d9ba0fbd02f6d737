// The variable files of "Save Vars" and "Load Vars": one set of definitions each, the count then
// the records 1 to count, without a header, magic number or version (layouts in
// docs/FORMATS.md). A client file and a server file differ only in the record layout; nothing
// in a file tells which kind it is.
//
// What a file holds is kept as read (see CustomVariables.h): targets outside the set, huge
// values and long texts are data, not errors.
#pragma once

#include <cstdint>
#include <string_view>

#include "customvars/CustomVariables.h"

namespace vexor {

class ArchiveReader;
class ArchiveWriter;

// How an attempt to read a variable file ended.
enum class VarFileStatus {
  kLoaded,      // the set was read
  kBad,         // a count outside 0 to 49, or the file ended before the last record
  kCannotOpen,  // the file is missing or cannot be read; nothing was read
  kNotChosen,   // no file was chosen (or the load was abandoned); nothing was read
};

// The box shown for a bad file, after which the working copy is emptied.
inline constexpr const char* kBadVariableFileText =
    "Sorry, that file was not opened properly. All variables are cleared.";
inline constexpr const char* kBadVariableFileCaption = "Info";

// One record in file layout.
void WriteVariable(ArchiveWriter& archive, const ClientVariable& variable);
void WriteVariable(ArchiveWriter& archive, const ServerVariable& variable);
// Reads one record in file layout into *variable (fields not in the file keep their values).
// False when the data ends first; *variable is then partly overwritten.
bool ReadVariable(ArchiveReader& archive, ClientVariable* variable);
bool ReadVariable(ArchiveReader& archive, ServerVariable* variable);

// A whole file: count (clamped to 0 to 49), then slots 1 to count.
void WriteVariableSet(ArchiveWriter& archive, int32_t count, const ClientVariableSet& slots);
void WriteVariableSet(ArchiveWriter& archive, int32_t count, const ServerVariableSet& slots);

// Reads a whole file: on success *count is the file's count and slots 1 to count hold its
// records (later slots are untouched). False for a bad file (count outside 0 to 49, or the data
// ends before the last record); *count and *slots are then untouched.
bool ReadVariableSet(ArchiveReader& archive, int32_t* count, ClientVariableSet* slots);
bool ReadVariableSet(ArchiveReader& archive, int32_t* count, ServerVariableSet* slots);

// True when the last 20 characters of the path are exactly "teamarena_server.var": a server set
// read from such a file switches the game type names to Team Arena's.
bool IsTeamArenaPath(std::string_view path);

}  // namespace vexor
